#include "app/patient_page.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <cstring>

#include "shell/dialogs.h"
#include "shell/language.h"
#include "shell/native_name.h"
#include "shell/application.h"
#include "shell/program_folder.h"
#include "app/patient_controls.h"
#include "app/error_report.h"
#include "app/radio_group.h"
#include "app/control_factory.h"
#include "app/tassi.h"
#include "app/tmain.h"
#include "app/tselprinter.h"
#include "app/view_pages.h"
#include "files/patient_text.h"
#include "recording/decoder.h"

namespace pulvitra {

namespace {

constexpr int kCaptionTail = 51;  // characters of a long file name kept in the caption


QPushButton* button(QWidget* parent, const char* name, const char* caption, int x, int y) {
  auto* b = make_control<QPushButton>(parent, name, x, y, 120, 25);
  b->setText(QString::fromUtf8(caption));
  return b;
}

// A label whose accelerator focuses its field.
void label_for(QWidget* frame, QWidget* field, const char* name, const char* caption, int y) {
  auto* label = make_control<QLabel>(frame, name, 12, y + 3, 90, 16);
  label->setText(QString::fromUtf8(caption));
  label->setBuddy(field);
}

void show_file_message(const char* text_key, const QString& system_reason = QString()) {
  dialogs().message(DlgIcon::Exclamation, DlgButtons::Ok, table_text(QStringLiteral("txt_file_error")),
                    with_system_reason(table_text(QLatin1String(text_key)), system_reason));
}

// Every byte as New leaves it: a prepared patient file that has not yet received a recording.
bool is_empty_image(const QByteArray& image) {
  return std::all_of(image.begin(), image.end(), [](char b) { return static_cast<unsigned char>(b) == 125; });
}

bool same_image(const QByteArray& image, const TEKG& ekg) {
  return image.size() == kImageSize &&
         std::memcmp(image.constData(), ekg.Image.data() + 1, kImageSize) == 0;
}

// "Müller, Jürgen, 01.02.99": the stored texts without the blanks the file pads them with.
QString patient_named(const PatientFields& f) {
  QStringList parts;
  for (const QString& part : {f.surname, f.first_name, f.date})
    if (!part.trimmed().isEmpty()) parts << part.trimmed();
  return parts.join(QStringLiteral(", "));
}

}  // namespace

PatientPage::PatientPage(TMain& main, QWidget* page) : QObject(&main), main_(main) { build(page); }

void PatientPage::build(QWidget* page) {
  auto* frame = make_control<QGroupBox>(page, "GroupBox2", 8, 8, 440, 380);
  frame->setTitle(QStringLiteral("Patientendaten"));
  build_fields(frame);
  build_buttons(page);
  connect_changes();
}

void PatientPage::build_fields(QWidget* frame) {
  Edit1 = make_control<QLineEdit>(frame, "Edit1", 110, 24, 310, 21);
  label_for(frame, Edit1, "Label3", "Na&chname", 24);
  Edit2 = make_control<QLineEdit>(frame, "Edit2", 110, 56, 310, 21);
  label_for(frame, Edit2, "Label6", "&Vorname", 56);
  MaskEdit1 = make_control<QLineEdit>(frame, "MaskEdit1", 110, 88, 80, 21);
  // Day and month may have one digit; the year needs two; "." stays in the text.
  MaskEdit1->setInputMask(QStringLiteral("09.09.99;_"));
  MaskEdit1->setText(QStringLiteral("04.10.99"));
  label_for(frame, MaskEdit1, "Label9", "Dat&um", 88);
  Edit3 = make_control<QLineEdit>(frame, "Edit3", 110, 120, 310, 21);
  label_for(frame, Edit3, "Label7", "&Anschrift", 120);
  Edit4 = make_control<QLineEdit>(frame, "Edit4", 110, 152, 310, 21);
  label_for(frame, Edit4, "Label4", "&Klinik", 152);
  Edit5 = make_control<QLineEdit>(frame, "Edit5", 110, 184, 150, 21);
  label_for(frame, Edit5, "Label10", "Patienten &ID", 184);
  SpinEdit4 = make_control<QSpinBox>(frame, "SpinEdit4", 110, 216, 70, 21);
  SpinEdit4->setRange(INT_MIN, INT_MAX);  // the field itself sets no bounds
  SpinEdit4->setValue(0);
  label_for(frame, SpinEdit4, "Label8", "A&lter", 216);
  RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("Geschle&cht"),
                               {QStringLiteral("weiblich"), QString::fromUtf8("männlich")}, frame);
  RadioGroup2->setGeometry(270, 200, 150, 60);
  Edit6 = make_control<QLineEdit>(frame, "Edit6", 110, 280, 310, 21);
  label_for(frame, Edit6, "Label11", "Kommen&tar", 280);

  // Tab order: sex, surname, first name, date, address, clinic, ID, age, comment.
  QWidget* order[] = {RadioGroup2->button(0), RadioGroup2->button(1), Edit1, Edit2, MaskEdit1,
                      Edit3, Edit4, Edit5, SpinEdit4, Edit6};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void PatientPage::build_buttons(QWidget* page) {
  Button1 = button(page, "Button1", "&Neu", 464, 16);
  Button1->setToolTip(QStringLiteral("Alle Daten zurücksetzen"));
  Button6 = button(page, "Button6", "Ö&ffnen", 464, 48);
  Button6->setToolTip(QStringLiteral("EKG-Daten öffnen"));
  Button7 = button(page, "Button7", "&Speichern", 464, 80);
  Button7->setEnabled(false);  // a new recording is written with Save as first
  Button8 = button(page, "Button8", "Speichern &unter...", 464, 112);
  auto* print = button(page, "Button9", "&D&rucken", 464, 152);
  connect(print, &QPushButton::clicked, this, &PatientPage::Button9Click);
  auto* wizard = button(page, "Button2", "Pulvitra&-Assistent", 464, 192);
  button(page, "Button5", "&Hilfe", 464, 232);
  button(page, "Button10", "E&xit", 464, 363);
  auto* background = make_control<QCheckBox>(page, "CheckBox1", 464, 272, 120, 21);
  background->setText(QStringLiteral("Hintergrund"));

  connect(Button1, &QPushButton::clicked, this, &PatientPage::Button1Click);
  connect(wizard, &QPushButton::clicked, this, &PatientPage::Button2Click);
  connect(Button6, &QPushButton::clicked, this, &PatientPage::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &PatientPage::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &PatientPage::Button8Click);
}

void PatientPage::connect_changes() {
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, MaskEdit1})
    connect(edit, &QLineEdit::textChanged, this, &PatientPage::Change);
  connect(SpinEdit4, &QSpinBox::valueChanged, this, &PatientPage::Change);
  connect(RadioGroup2, &RadioGroup::clicked, this, &PatientPage::Change);
}

void PatientPage::Change() { main_.data_changed = true; }

void PatientPage::init_dialog_folders() {
  const ProgramFolders folders = program_folders();
  dialog_folder_ = folders.documents;
  create_dialog_folder_ = folders.create_on_use;
}

QString PatientPage::dialog_folder() {
  if (!create_dialog_folder_ || QFileInfo(dialog_folder_).isDir()) return dialog_folder_;
  const QString error = make_folder(dialog_folder_);
  if (error.isEmpty()) return dialog_folder_;
  // The dialog still opens, in the home folder, so the file can go elsewhere.
  dialogs().message(DlgIcon::Warning, DlgButtons::Ok, QLatin1String(kApplicationTitle), error);
  return QDir::homePath();
}

void PatientPage::update_save_button() { Button7->setEnabled(save_allowed_); }

QString PatientPage::file_name() const { return QString::fromStdString(main_.ekg.FileName); }

void PatientPage::set_file_name(const QString& name) { main_.ekg.FileName = name.toStdString(); }

PatientFields PatientPage::fields() const { return PatientControls<PatientPage>::read(*this); }

void PatientPage::set_fields(const PatientFields& f) {
  // A byte that is neither sex shows neither, so no earlier choice stays with this patient.
  PatientControls<PatientPage>::show(*this, f);
  if (f.sex != kSexNone) Change();  // setting the group counts like a click
}

QString PatientPage::window_caption(const QString& name) {
  QString shown = name;
  if (shown.size() > kCaptionTail) {
    shown = shown.right(kCaptionTail);
    const qsizetype separator = shown.indexOf(QLatin1Char('/'));
    shown = QStringLiteral("...") + (separator >= 0 ? shown.mid(separator) : shown);
  }
  return QLatin1String(kApplicationTitle) + QStringLiteral("   ") + shown;
}

void PatientPage::reset_recording() {
  MaskEdit1->setText(date_text(QDate::currentDate()));
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) edit->clear();
  SpinEdit4->setValue(0);
  // The previous patient's sex must not reach the next patient's file.
  RadioGroup2->setItemIndex(kSexNone);
  clear_recording(main_.ekg);  // also FileName := "default.pul"
  uploaded_since_file_ = false;
  save_allowed_ = false;
  update_save_button();
  main_.views->redraw_views(0);
  main_.setWindowTitle(QLatin1String(kApplicationTitle));
  main_.data_changed = false;
}

bool PatientPage::discard_check() {
  if (!main_.data_changed) return true;
  return dialogs().message(DlgIcon::Exclamation, DlgButtons::YesNo, table_text(QStringLiteral("txt_discard_caption")),
                           table_text(QStringLiteral("txt_discard_question"))) == DlgAnswer::Yes;
}

bool PatientPage::save_recording(const QString& name) {
  const WriteResult written = save_recording_file(name, fields(), main_.decoder.FixedInterval, main_.ekg);
  if (written.ok) {
    uploaded_since_file_ = false;  // the transferred recording is now in that file
    return true;
  }
  show_file_message("txt_save_error", written.system_error);
  return false;
}

bool PatientPage::may_replace_with_upload(const QString& name) {
  if (!uploaded_since_file_) return true;
  const RecordingFile stored = read_recording_file(name);
  if (stored.status == ReadStatus::CannotOpen && !QFileInfo::exists(name)) return true;  // nothing there to lose
  QString question;
  if (stored.status == ReadStatus::Ok) {
    if (is_empty_image(stored.image) || same_image(stored.image, main_.ekg)) return true;
    question = lang_text(QStringLiteral("Die Datei %1 enthält eine andere Aufzeichnung (Patient: %2). "
                                        "Soll sie durch die übertragene Aufzeichnung ersetzt werden?"),
                         QStringLiteral("The file %1 holds a different recording (patient: %2). "
                                        "Replace it with the transferred recording?"))
                   .arg(name, patient_named(stored.header.fields));
  } else {
    // Whatever it holds cannot be compared, so it may well be another patient's recording.
    question = lang_text(QStringLiteral("Die Datei %1 lässt sich nicht als Aufzeichnung lesen. "
                                        "Soll sie durch die übertragene Aufzeichnung ersetzt werden?"),
                         QStringLiteral("The file %1 cannot be read as a recording. "
                                        "Replace it with the transferred recording?"))
                   .arg(name);
  }
  return dialogs().message_preselecting(DlgIcon::Exclamation, DlgButtons::YesNo,
                                        lang_text(QStringLiteral("Aufzeichnung ersetzen?"),
                                                  QStringLiteral("Replace recording?")),
                                        question, DlgAnswer::No) == DlgAnswer::Yes;
}

bool PatientPage::load_recording(const QString& name) {
  const RecordingFile file = read_recording_file(name);
  switch (file.status) {
    case ReadStatus::CannotOpen:
      show_file_message("txt_open_error", file.system_error);
      return false;
    case ReadStatus::TooShort:
    case ReadStatus::ReadError:
      // Nothing of a damaged file is taken over; the recording stays as New left it.
      show_error_report(read_failure_text(file, name));
      return false;
    case ReadStatus::NotARecording:
      show_file_message("txt_not_a_file");
      break;
    case ReadStatus::Ok:
      set_fields(file.header.fields);
      main_.decoder.FixedInterval = file.header.fixed_interval;
      copy_image(file.image, main_.ekg);
      break;
  }
  if (CountMeasurements(main_.ekg) > 1)
    dialogs().message(DlgIcon::Exclamation, DlgButtons::Ok, table_text(QStringLiteral("txt_please_note")),
                      table_text(QStringLiteral("txt_file_multi")));
  if (!file.header.magic_ok) return false;
  DecodeRecording(main_.ekg, main_.decoder);
  main_.views->redraw_views(0);
  return true;
}

void PatientPage::Button1Click() {
  if (!discard_check()) return;
  reset_recording();  // also disables Save: there is no file yet
  main_.data_changed = false;
}

void PatientPage::Button2Click() {
  if (!discard_check()) return;
  if (TAssi* wizard = main_.WizardForm) wizard->show_wizard();
}

void PatientPage::Button6Click() {
  if (!discard_check()) return;
  open_file();
}

void PatientPage::open_file() {
  const QString name = dialogs().open_file_name(lang_text(QStringLiteral("Öffnen"), QStringLiteral("Open")),
                                                dialog_folder(),
                                                lang_text(QStringLiteral("Pulvitra Daten|*.pul|Alle Dateien|*.*"),
                                                          QStringLiteral("Pulvitra data|*.pul|all files|*.*")));
  if (name.isEmpty()) return;
  open_named_file(name);
}

void PatientPage::open_named_file(const QString& name) {
  reset_recording();
  // A name given as bytes that are no UTF-8 is read through its descriptor but shown and kept
  // as its Unicode form, which every write refuses: such a file is saved with Save as.
  set_file_name(shown_name(name));
  main_.setWindowTitle(window_caption(shown_name(name)));
  save_allowed_ = load_recording(name) && !is_stand_in(name);
  update_save_button();
  main_.data_changed = false;
}

void PatientPage::Button7Click() {
  if (!save_allowed_) return;  // never over a file that was not opened as a recording
  if (!may_replace_with_upload(file_name())) return;  // the file and the unsaved data stay
  // A failed save keeps the data marked unsaved, so the discard question still guards it.
  if (save_recording(file_name())) main_.data_changed = false;
}

void PatientPage::Button8Click() {
  // The dialog adds ".pul" itself, so that it asks before replacing the file it will write.
  const QString name = dialogs().save_file_name(lang_text(QStringLiteral("Speichern unter"), QStringLiteral("Save as")),
                                          dialog_folder(),
                                          lang_text(QStringLiteral("Pulvitra Daten|*.pul"),
                                                    QStringLiteral("Pulvitra data|*.pul")),
                                          QString(), QStringLiteral("pul"));
  if (name.isEmpty()) return;
  set_file_name(name);
  save_allowed_ = true;
  update_save_button();
  if (save_recording(name)) main_.data_changed = false;
}

void PatientPage::Button9Click() {
  if (!printable_or_say_so(main_)) return;
  main_.ReportSelection = preselected_reports();
  main_.SelPrinter->show_choice();
}

}  // namespace pulvitra
