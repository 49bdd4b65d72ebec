#include "app/patient_controls.h"
#include "app/tassi.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QWindow>

#include "app/alt_letters.h"
#include "app/captions.h"
#include "app/radio_group.h"
#include "app/tassi_captions.h"
#include "app/tassi_picture.h"
#include "app/tmain.h"
#include "app/wizard_handover.h"
#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra {

namespace {

constexpr int kClientWidth = 506;
constexpr int kClientHeight = 257;
constexpr int kButtonTop = 229;

QString txt(const char* key) { return table_text(QLatin1String(key)); }

}  // namespace

TAssi::TAssi(TMain& main) : main_(main) {
  setObjectName(QStringLiteral("TAssi"));
  build_window();
  main_.WizardForm = this;
  connect_controls();
  list_ports();
  CheckBox2->setChecked(main_.settings.BackGround);
  CheckBox2->setText(lang_text(QStringLiteral("Hintergrund"), QStringLiteral("Background")));
  if (cur_lang == kEnglish) {
    apply_english_captions(this, wizard_captions());
    setWindowTitle(wizard_captions().front().english);
  }
  resolve_alt_letters(this);
  setEnabled(false);
}

void TAssi::build_window() {
  // A dialog border without any title-bar button: the user leaves through the buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(wizard_german_caption("window"));
  setFixedSize(kClientWidth, kClientHeight);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(5, 8, kWizardPictureWidth, kWizardPictureHeight);
  Image1->setScaledContents(true);  // stretched
  Image1->setPixmap(QPixmap::fromImage(wizard_picture()));

  static_cast<WizardPages&>(*this) = build_wizard_pages(this);
  // The pages take the button face colour; only the window around them is white. (The
  // colour is set, not the whole application palette: that one would count as inherited.)
  for (QFrame* panel : {Panel1, Panel2, Panel3, Panel4, Panel5}) {
    QPalette face = panel->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    panel->setPalette(face);
  }
  build_buttons();
  bring_to_front(Panel1);
  if (QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

void TAssi::build_buttons() {
  auto make = [this](const char* name, int x) {
    auto* b = new QPushButton(wizard_german_caption(name), this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, kButtonTop, 80, 25);
    return b;
  };
  Button4 = make("Button4", 161);
  Button2 = make("Button2", 240);
  Button1 = make("Button1", 336);
  Button3 = make("Button3", 424);
  Button4->setEnabled(false);
  // Return presses the focused button and nothing else: Next is focused after every step
  // but the patient's, where the cursor goes to the first field.
  for (QPushButton* b : {Button1, Button2, Button3, Button4}) b->setAutoDefault(false);
}

void TAssi::connect_controls() {
  connect(Button1, &QPushButton::clicked, this, &TAssi::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TAssi::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TAssi::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TAssi::Button4Click);
  connect(RadioButton1, &QRadioButton::clicked, this, &TAssi::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::clicked, this, &TAssi::RadioButton2Click);
  connect(RadioButton3, &QRadioButton::clicked, this, &TAssi::RadioButton3Click);
  connect(CheckBox1, &QCheckBox::clicked, this, &TAssi::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::clicked, this, &TAssi::CheckBox2Click);
  connect(ComboBox1, &QComboBox::textActivated, this, [this](const QString& text) { ComboBox1Change(text); });
  connect(ComboBox2, &QComboBox::textActivated, this, [this](const QString& text) { ComboBox2Change(text); });
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, Button3, &QAbstractButton::click);
}

void TAssi::list_ports() {
  const QStringList items = wizard_handover::port_items(main_);
  for (QComboBox* combo : {ComboBox1, ComboBox2}) {
    combo->clear();
    combo->addItems(items);
    combo->setEditText(main_.port_name);
  }
}

void TAssi::show_wizard() {
  main_.setEnabled(false);
  setEnabled(true);
  show();
  // In front of the main window also where the window manager stacks by owner.
  if (windowHandle() && main_.windowHandle()) windowHandle()->setTransientParent(main_.windowHandle());
  raise();
  activateWindow();
  setFocus();
}

void TAssi::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
  if (wizard_step == 0) initialise();
}

void TAssi::FormShow() {
  if (auto* background = main_.control<QCheckBox>("CheckBox1")) CheckBox2->setChecked(background->isChecked());
  // The main window may have found other ports or chosen another one meanwhile; the page
  // must name the port the transfer will use.
  list_ports();
}

void TAssi::initialise() {
  wizard_step = 1;
  Button2->setText(txt("txt_wiz_next"));
  CheckBox1->setChecked(main_.settings.Assist);
  set_fields(wizard_handover::patient_fields(main_));
}

QFrame* TAssi::panel_of_step(int step) const {
  switch (step) {
    case 2: return Panel3;
    case 3: return Panel2;
    case 4: return Panel4;
    case 5: return Panel5;
    default: return Panel1;
  }
}

void TAssi::bring_to_front(QFrame* panel) {
  // The pages behind are hidden, not only covered, so that Tab and the accelerators reach
  // only the controls the user sees.
  for (QFrame* p : {Panel1, Panel2, Panel3, Panel4, Panel5}) p->setVisible(p == panel);
  panel->raise();
  front_panel_ = panel;
}

void TAssi::show_step() {
  Button2->setFocus();
  bring_to_front(panel_of_step(wizard_step));
  if (wizard_step == 1) Button4->setEnabled(false);
  if (wizard_step == 2) Button4->setEnabled(true);
  const bool last = wizard_step >= 4 || (wizard_step == 2 && RadioButton3->isChecked());
  Button2->setText(txt(last ? "txt_wiz_finish" : "txt_wiz_next"));
  // The patient page is filled in: the cursor waits in its first field.
  if (wizard_step == 3) Edit1->setFocus(Qt::OtherFocusReason);
}

void TAssi::Button2Click() {
  const bool open_file_chosen = wizard_step == 2 && RadioButton3->isChecked();
  if (wizard_step <= 3 && !open_file_chosen) {
    if (wizard_step == 3) wizard_step = RadioButton1->isChecked() ? 5 : 4;
    else ++wizard_step;
    show_step();
    return;
  }
  finish();
}

void TAssi::Button4Click() {
  if (wizard_step <= 1) return;
  if (wizard_step == 5) wizard_step = 4;  // both instruction pages lead back to the patient
  --wizard_step;
  show_step();
}

void TAssi::close_wizard() {
  setEnabled(false);
  hide();
  bring_to_front(Panel1);
  Button4->setEnabled(false);
}

void TAssi::return_to_main_window() {
  main_.setEnabled(true);
  main_.show();
  main_.raise();
  main_.activateWindow();
  main_.setFocus();
}

void TAssi::finish() {
  const int step = wizard_step;
  // Not running from here on: a message box of the hand-over must not find it half done.
  wizard_step = 0;
  close_wizard();
  return_to_main_window();
  main_.settings.Assist = CheckBox1->isChecked();
  if (step == 2) finish_open_file();
  if (step == 4) finish_offline();
  if (step == 5) finish_online();
}

void TAssi::finish_open_file() {
  wizard_handover::open_file(main_);
  main_.TabbedNotebook1->setCurrentIndex(kPagePatient);
}

void TAssi::finish_offline() {
  main_.TabbedNotebook1->setCurrentIndex(kPageDevice);
  wizard_handover::set_patient_fields(main_, fields());
  upload.emplace(wizard_handover::start_upload(main_));
  main_.data_changed = true;
}

void TAssi::finish_online() {
  main_.TabbedNotebook1->setCurrentIndex(kPageOverview);
  wizard_handover::set_patient_fields(main_, fields());
  // Either answer ends here: the program has no online transfer to start.
  dialogs().message(DlgIcon::Exclamation, DlgButtons::YesNo, txt("txt_online_warning_caption"),
                    txt("txt_online_warning"));
  main_.data_changed = true;
}

void TAssi::Button1Click() {
  main_.data_changed = false;
  close_wizard();
  main_.settings.Assist = CheckBox1->isChecked();
  wizard_step = 0;
  Button2->setText(txt("txt_wiz_next"));
  return_to_main_window();
}

void TAssi::reject() {
  if (isVisible()) Button1Click();
}

int TAssi::help_topic(int step) {
  static const int topics[] = {0, 17, 18, 14, 4, 3};
  return step >= 1 && step <= 5 ? topics[step] : 0;
}

void TAssi::Button3Click() {
  if (const int topic = help_topic(wizard_step); topic > 0) dialogs().show_help(topic);
}

void TAssi::RadioButton1Click() { Button2->setText(txt("txt_wiz_next")); }

void TAssi::RadioButton2Click() { Button2->setText(txt("txt_wiz_next")); }

void TAssi::RadioButton3Click() {
  Button2->setText(txt("txt_wiz_done"));
  main_.settings.Assist = CheckBox1->isChecked();
}

void TAssi::CheckBox1Click() { main_.settings.Assist = CheckBox1->isChecked(); }

void TAssi::CheckBox2Click() {
  const bool on = CheckBox2->isChecked();
  main_.settings.BackGround = on;
  if (auto* background = main_.control<QCheckBox>("CheckBox1")) background->setChecked(on);
  // The start window fills the screen behind the main window, or goes.
  if (main_.on_background_changed) main_.on_background_changed(on);
  if (on) {
    main_.raise();
    raise();
    activateWindow();
  }
}

QCoro::Task<> TAssi::ComboBox1Change(const QString& text) { co_await port_changed(ComboBox2, text); }

QCoro::Task<> TAssi::ComboBox2Change(const QString& text) { co_await port_changed(ComboBox1, text); }

QCoro::Task<> TAssi::port_changed(QComboBox* other, const QString& text) {
  other->setEditText(text);
  co_await wizard_handover::select_port(main_, text);
}

PatientFields TAssi::fields() const { return PatientControls<TAssi>::read(*this); }

void TAssi::set_fields(const PatientFields& f) { PatientControls<TAssi>::show(*this, f); }

}  // namespace pulvitra
