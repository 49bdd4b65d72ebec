// The patient page as a user meets it: New, the discard question, Save, Save as and Open
// with their messages, and what a saved file gives back when it is opened again.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/core/language.h"
#include "app/core/scripted_dialogs.h"
#include "app/patient_page.h"
#include "app/radio_group.h"
#include "app/tmain.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A main window in a program folder of its own, with scripted dialogs.
struct PatientPageTest : ::testing::Test {
  PatientPageTest() {
    qputenv("PULVITRA_HOME", home.path().toUtf8());
    cur_lang = kGerman;
    window = std::make_unique<TMain>(settings);
    dialogs.calls.clear();
  }
  ~PatientPageTest() override { qunsetenv("PULVITRA_HOME"); }

  PatientPage& page() { return *window->patient; }
  QLineEdit* edit(const char* name) { return window->control<QLineEdit>(name); }
  QSpinBox* age() { return window->control<QSpinBox>("SpinEdit4"); }
  RadioGroup* sex() { return window->control<RadioGroup>("RadioGroup2"); }
  QPushButton* save_button() { return window->control<QPushButton>("Button7"); }
  QString path(const char* name) { return home.filePath(name); }

  void type_patient() {
    edit("Edit1")->setText(u("Müller"));
    edit("Edit2")->setText(u("Jürgen"));
    edit("MaskEdit1")->setText(u("1.2.99"));
    edit("Edit3")->setText(u("Hauptstraße 5, 10115 Berlin"));
    edit("Edit4")->setText(u("Klinik Süd"));
    edit("Edit5")->setText(u("P-77"));
    age()->setValue(58);
    edit("Edit6")->setText(u("Belastung ÄÖÜ"));
  }

  void save_as(const QString& file) {
    dialogs.file_names = {file};
    page().Button8Click();
  }
  void open(const QString& file) {
    dialogs.file_names = {file};
    page().Button6Click();
  }

  QTemporaryDir home;
  ScriptedDialogs dialogs;
  Settings settings;
  std::unique_ptr<TMain> window;
};

QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

bool image_is_empty(const TEKG& ekg) {
  for (int i = 1; i <= kImageSize; ++i)
    if (ekg.Image[i] != 125) return false;
  return true;
}

}  // namespace

TEST_F(PatientPageTest, starts_new_with_todays_date_and_nothing_to_save) {
  EXPECT_EQ(edit("MaskEdit1")->text(), QDate::currentDate().toString("dd.MM.yy"));
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"}) EXPECT_EQ(edit(name)->text(), "") << name;
  EXPECT_EQ(age()->value(), 0);
  EXPECT_EQ(sex()->itemIndex(), kSexNone);
  EXPECT_FALSE(save_button()->isEnabled());
  EXPECT_FALSE(page().save_allowed());
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(window->ekg.FileName, "default.pul");
  EXPECT_EQ(window->windowTitle(), "Pulvitra 2.4-5");
}

TEST_F(PatientPageTest, fields_follow_in_tab_order_with_their_accelerators_and_mask) {
  const QStringList fields = {"RadioGroup2_item0", "Edit1", "Edit2", "MaskEdit1", "Edit3",
                               "Edit4",             "Edit5", "SpinEdit4", "Edit6"};
  QStringList chain;  // the fields in the order Tab reaches them
  QWidget* w = sex()->button(0);
  do {
    if (fields.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
    w = w->nextInFocusChain();
  } while (w != sex()->button(0));
  EXPECT_EQ(chain, fields);
  const std::pair<const char*, const char*> buddies[] = {
      {"Label3", "Edit1"}, {"Label6", "Edit2"}, {"Label9", "MaskEdit1"}, {"Label7", "Edit3"},
      {"Label4", "Edit4"}, {"Label10", "Edit5"}, {"Label8", "SpinEdit4"}, {"Label11", "Edit6"}};
  for (auto [label, field] : buddies)
    EXPECT_EQ(window->control<QLabel>(label)->buddy(), window->control<QWidget>(field)) << label;
  QLineEdit* date = edit("MaskEdit1");
  date->clear();
  EXPECT_EQ(date->displayText(), "__.__.__");
  date->setText("7.3.05");
  EXPECT_EQ(date->displayText(), "7_.3_.05");
  age()->setValue(-12);  // the age field sets no bounds of its own
  EXPECT_EQ(age()->value(), -12);
  age()->setValue(1000);
  EXPECT_EQ(age()->value(), 1000);
}

TEST_F(PatientPageTest, any_field_change_marks_unsaved_data) {
  auto changes = std::vector<std::pair<const char*, std::function<void()>>>{
      {"Edit1", [&] { edit("Edit1")->setText("a"); }},     {"Edit2", [&] { edit("Edit2")->setText("a"); }},
      {"Edit3", [&] { edit("Edit3")->setText("a"); }},     {"Edit4", [&] { edit("Edit4")->setText("a"); }},
      {"Edit5", [&] { edit("Edit5")->setText("a"); }},     {"Edit6", [&] { edit("Edit6")->setText("a"); }},
      {"MaskEdit1", [&] { edit("MaskEdit1")->setText("01.01.01"); }},
      {"SpinEdit4", [&] { age()->setValue(33); }},
      {"RadioGroup2", [&] { sex()->button(1)->click(); }},
  };
  for (auto& [name, change] : changes) {
    window->data_changed = false;
    change();
    EXPECT_TRUE(window->data_changed) << name;
  }
}

TEST_F(PatientPageTest, new_asks_only_when_data_changed_and_no_keeps_everything) {
  page().Button1Click();
  EXPECT_TRUE(dialogs.messages().isEmpty());

  type_patient();
  window->ekg.FileName = "/somewhere/kept.pul";
  dialogs.answers = {DlgAnswer::No};
  page().Button1Click();
  ASSERT_EQ(dialogs.messages().size(), 1);
  const DialogCall question = dialogs.messages()[0];
  EXPECT_EQ(question.caption, "Das aktuelle Projekt ist nicht gesichert");
  EXPECT_EQ(question.text, u("Mit der nächsten Aktion wird das aktuelle Projekt verloren gehen\r\n\r\n"
                             "Möchten Sie dennoch fortsetzen, wählen Sie bitte Ja."));
  EXPECT_EQ(question.icon, DlgIcon::Exclamation);
  EXPECT_EQ(question.buttons, DlgButtons::YesNo);
  EXPECT_EQ(edit("Edit1")->text(), u("Müller"));
  EXPECT_EQ(window->ekg.FileName, "/somewhere/kept.pul");
  EXPECT_TRUE(window->data_changed);

  dialogs.answers = {DlgAnswer::Yes};
  page().Button1Click();
  EXPECT_EQ(edit("Edit1")->text(), "");
  EXPECT_EQ(window->ekg.FileName, "default.pul");
  EXPECT_FALSE(window->data_changed);
}

TEST_F(PatientPageTest, new_keeps_the_sex_and_empties_the_recording) {
  sex()->button(0)->click();
  window->ekg.Image[100] = 7;
  window->ekg.BeatCount = 300;
  dialogs.answers = {DlgAnswer::Yes};
  page().Button1Click();
  EXPECT_EQ(sex()->itemIndex(), kSexFemale);
  EXPECT_TRUE(image_is_empty(window->ekg));
  EXPECT_EQ(window->ekg.BeatCount, 1);
}

TEST_F(PatientPageTest, open_asks_first_and_a_cancelled_dialog_keeps_the_data) {
  type_patient();
  dialogs.answers = {DlgAnswer::Yes};
  page().Button6Click();  // no file name queued: the dialog is cancelled
  ASSERT_EQ(dialogs.calls.size(), 2);
  EXPECT_EQ(dialogs.calls[0].kind, "message");
  EXPECT_EQ(dialogs.calls[1].kind, "open");
  EXPECT_EQ(dialogs.calls[1].folder, home.path() + "/data");
  EXPECT_EQ(dialogs.calls[1].text, "Pulvitra Daten|*.pul|Alle Dateien|*.*");
  EXPECT_EQ(edit("Edit1")->text(), u("Müller"));
  EXPECT_TRUE(window->data_changed);
}

TEST_F(PatientPageTest, english_discard_question_has_no_final_full_stop) {
  cur_lang = kEnglish;
  window->data_changed = true;
  EXPECT_FALSE(page().discard_check());
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].caption, "The current project is not saved");
  EXPECT_EQ(dialogs.messages()[0].text,
            "The next action will delete the current project\r\n\r\nIf you would like to continue, please choose Yes");
  cur_lang = kGerman;
}

TEST_F(PatientPageTest, save_as_then_open_gives_the_patient_back) {
  type_patient();
  sex()->setItemIndex(kSexNone);
  save_as(path("data.pul"));
  EXPECT_EQ(dialogs.calls.last().text, "Pulvitra Daten|*.pul");
  EXPECT_EQ(file_bytes(path("data.pul")).size(), 33280);
  EXPECT_TRUE(save_button()->isEnabled());
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(window->windowTitle(), "Pulvitra 2.4-5");  // Save as leaves the caption

  page().Button1Click();
  open(path("data.pul"));
  EXPECT_EQ(edit("Edit1")->text(), u("Müller "));
  EXPECT_EQ(edit("Edit2")->text(), u("Jürgen  "));
  EXPECT_EQ(edit("MaskEdit1")->text(), "01.02.99");
  EXPECT_EQ(edit("Edit3")->text(), u("Hauptstraße 5, 10115 Berlin  "));
  EXPECT_EQ(edit("Edit4")->text(), u("Klinik Süd  "));
  EXPECT_EQ(edit("Edit5")->text(), u("P-77  "));
  EXPECT_EQ(age()->value(), 58);
  EXPECT_EQ(sex()->itemIndex(), kSexMale);  // neither was chosen: stored as male
  EXPECT_EQ(edit("Edit6")->text(), u("Belastung ÄÖÜ  "));
  EXPECT_EQ(window->windowTitle(), "Pulvitra 2.4-5   " + path("data.pul"));
  EXPECT_TRUE(save_button()->isEnabled());
  EXPECT_FALSE(window->data_changed);
}

TEST_F(PatientPageTest, save_as_adds_the_extension_and_save_writes_the_same_file_again) {
  save_as(path("anna"));
  EXPECT_EQ(window->ekg.FileName, path("anna.pul").toStdString());
  edit("Edit1")->setText("Anna");
  page().Button7Click();
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(file_bytes(path("anna.pul")).mid(14, 6), QByteArray("Anna \0", 6));
}

TEST_F(PatientPageTest, a_failed_save_says_so_and_keeps_the_data_unsaved) {
  edit("Edit1")->setText("Anna");
  save_as(path("no_such_folder/anna.pul"));
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].caption, "Dateifehler");
  EXPECT_EQ(dialogs.messages()[0].text, u("Beim Speichern der Datei ist ein Fehler aufgetreten!\r\n\r\n"
                                          "Möglicherweise ist die Datei von einer anderen Anwendung belegt."));
  EXPECT_EQ(dialogs.messages()[0].icon, DlgIcon::Exclamation);
  EXPECT_TRUE(window->data_changed);
}

TEST_F(PatientPageTest, opening_a_foreign_file_leaves_the_recording_empty_and_save_disabled) {
  const QByteArray foreign(33280, 'x');
  write_file(path("letter.pul"), foreign);
  edit("Edit1")->setText("Anna");
  dialogs.answers = {DlgAnswer::Yes};
  open(path("letter.pul"));
  ASSERT_EQ(dialogs.messages().size(), 2);
  EXPECT_EQ(dialogs.messages()[1].caption, "Dateifehler");
  EXPECT_EQ(dialogs.messages()[1].text, u("Die geöffnete Datei ist keine Pulvitra Datei!\r\n\r\n"
                                          "Wählen Sie bitte eine andere Datei aus."));
  EXPECT_TRUE(image_is_empty(window->ekg));
  EXPECT_EQ(edit("Edit1")->text(), "");
  EXPECT_EQ(window->windowTitle(), "Pulvitra 2.4-5   " + path("letter.pul"));
  EXPECT_EQ(window->ekg.FileName, path("letter.pul").toStdString());
  // Save must not be able to overwrite the foreign file with an empty recording.
  EXPECT_FALSE(save_button()->isEnabled());
  EXPECT_FALSE(page().save_allowed());
  EXPECT_EQ(file_bytes(path("letter.pul")), foreign);
}

TEST_F(PatientPageTest, damaged_or_missing_files_are_reported_by_name_and_nothing_is_loaded) {
  PatientFields meier;
  meier.surname = u("Meier");
  const QByteArray good = encode_recording_file(meier, 0, TEKG{});
  write_file(path("cut.pul"), good.left(20000));
  write_file(path("tiny.pul"), QByteArray("KORDAMAT"));
  struct Case {
    const char* file;
    DlgIcon icon;
    QString caption, text;
  } cases[] = {
      {"cut.pul", DlgIcon::Error, "Pulvitra 2.4-5",
       u("Die Datei %1 ist unvollständig: sie hat 20000 statt 33280 Bytes.").arg(path("cut.pul"))},
      {"tiny.pul", DlgIcon::Error, "Pulvitra 2.4-5",
       u("Die Datei %1 ist unvollständig: sie hat 8 statt 33280 Bytes.").arg(path("tiny.pul"))},
      {"missing.pul", DlgIcon::Exclamation, "Dateifehler",
       u("Beim Öffnen der Datei ist ein Fehler aufgetreten!\r\n\r\n"
         "Möglicherweise ist die Datei von einer anderen Anwendung belegt.")},
  };
  for (const Case& c : cases) {
    dialogs.calls.clear();
    open(path(c.file));
    ASSERT_EQ(dialogs.messages().size(), 1) << c.file;
    EXPECT_EQ(dialogs.messages()[0].icon, c.icon) << c.file;
    EXPECT_EQ(dialogs.messages()[0].caption, c.caption) << c.file;
    EXPECT_EQ(dialogs.messages()[0].text, c.text) << c.file;
    EXPECT_EQ(edit("Edit1")->text(), "") << c.file;
    EXPECT_TRUE(image_is_empty(window->ekg)) << c.file;
    EXPECT_FALSE(save_button()->isEnabled()) << c.file;
  }
}

TEST_F(PatientPageTest, several_measurings_notice_needs_the_start_marker_twice) {
  for (int markers : {1, 2, 3}) {
    TEKG ekg;
    clear_recording(ekg);
    for (int m = 0; m < markers; ++m) {
      const int at = 1000 + 5000 * m;
      ekg.Image[at] = 0xFF, ekg.Image[at + 1] = 0x00, ekg.Image[at + 2] = 0xFF, ekg.Image[at + 3] = 0x00;
    }
    const QString file = path("markers.pul");
    ASSERT_TRUE(save_recording_file(file, PatientFields{}, 0, ekg).ok);
    dialogs.calls.clear();
    open(file);
    if (markers == 1) {
      EXPECT_TRUE(dialogs.messages().isEmpty());
    } else {
      ASSERT_EQ(dialogs.messages().size(), 1) << markers;
      EXPECT_EQ(dialogs.messages()[0].caption, "Bitte beachten:");
      EXPECT_EQ(dialogs.messages()[0].text, u("Die geöffnete Datei enthält\r\n\r\nwahrscheinlich mehrere Messungen."));
    }
    EXPECT_TRUE(save_button()->isEnabled()) << markers;  // only a notice: the file is loaded
  }
}

TEST_F(PatientPageTest, open_decodes_the_image_and_takes_the_fixed_interval) {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 2;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  ASSERT_TRUE(save_recording_file(path("ecg.pul"), PatientFields{}, 10, ekg).ok);
  FixedInterval = 0;
  open(path("ecg.pul"));
  EXPECT_TRUE(std::equal(ekg.Image.begin() + 1, ekg.Image.end(), window->ekg.Image.begin() + 1));
  EXPECT_EQ(FixedInterval, 10);
  EXPECT_GT(window->ekg.BeatCount, 100);
  page().Button1Click();
  EXPECT_EQ(FixedInterval, 10);  // New leaves it alone
  FixedInterval = 0;
}

TEST(PatientPageCaption, keeps_the_tail_of_long_file_names) {
  const QString folders = "/home/clinic/archive/2026/cardiology/patients/";  // 47 characters
  struct Case {
    QString file, caption;
  } cases[] = {
      {"/data/a.pul", "Pulvitra 2.4-5   /data/a.pul"},
      {QString(51, 'n'), "Pulvitra 2.4-5   " + QString(51, 'n')},
      {QString(60, 'n'), "Pulvitra 2.4-5   ..." + QString(51, 'n')},
      {folders + "mueller_juergen.pul", "Pulvitra 2.4-5   .../2026/cardiology/patients/mueller_juergen.pul"},
  };
  for (const Case& c : cases) EXPECT_EQ(PatientPage::window_caption(c.file), c.caption) << c.file.toStdString();
}
