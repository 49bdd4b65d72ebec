// The patient page as a user meets it: New, the discard question, Save, Save as and Open
// with their messages, and what a saved file gives back when it is opened again.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/language.h"
#include "tests/support/file_bytes.h"
#include "tests/support/main_window_harness.h"
#include "app/patient_page.h"
#include "app/radio_group.h"
#include "app/tmain.h"
#include "shell/application.h"
#include "recording/recording_generator.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

const QString kTitle = QString::fromUtf8(kApplicationTitle);
const QString kFileError = QStringLiteral("Dateifehler");

// A main window in a program folder of its own, with scripted dialogs.
struct PatientPageTest : ::testing::Test, MainWindowInOwnFolder {
  PatientPageTest() { start(); }

  PatientPage& page() { return *window->patient; }
  QLineEdit* edit(const char* name) { return window->control<QLineEdit>(name); }
  QSpinBox* age() { return window->control<QSpinBox>("SpinEdit4"); }
  RadioGroup* sex() { return window->control<RadioGroup>("RadioGroup2"); }
  bool save_enabled() { return window->control<QPushButton>("Button7")->isEnabled(); }
  QList<DialogCall> messages() { return dialogs.messages(); }

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
  void expect_message(int index, const QString& caption, const QString& text) {
    ASSERT_GT(messages().size(), index);
    EXPECT_EQ(messages()[index].caption, caption);
    EXPECT_EQ(messages()[index].text, text);
  }
};

}  // namespace

TEST_F(PatientPageTest, starts_new_with_todays_date_and_nothing_to_save) {
  EXPECT_EQ(edit("MaskEdit1")->text(), QDate::currentDate().toString("dd.MM.yy"));
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"}) EXPECT_EQ(edit(name)->text(), "") << name;
  EXPECT_EQ(age()->value(), 0);
  EXPECT_EQ(sex()->itemIndex(), kSexNone);
  EXPECT_FALSE(save_enabled());
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(window->ekg.FileName, "default.pul");
  EXPECT_EQ(window->windowTitle(), kTitle);
}

TEST_F(PatientPageTest, fields_have_their_tab_order_accelerators_mask_and_unbounded_age) {
  const QStringList fields = {"RadioGroup2_item0", "Edit1", "Edit2",     "MaskEdit1", "Edit3",
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
  edit("MaskEdit1")->clear();
  EXPECT_EQ(edit("MaskEdit1")->displayText(), "__.__.__");
  for (int value : {-12, 1000}) {
    age()->setValue(value);
    EXPECT_EQ(age()->value(), value);
  }
}

TEST_F(PatientPageTest, any_field_change_marks_unsaved_data) {
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"Edit1", [&] { edit("Edit1")->setText("a"); }}, {"Edit2", [&] { edit("Edit2")->setText("a"); }},
      {"Edit3", [&] { edit("Edit3")->setText("a"); }}, {"Edit4", [&] { edit("Edit4")->setText("a"); }},
      {"Edit5", [&] { edit("Edit5")->setText("a"); }}, {"Edit6", [&] { edit("Edit6")->setText("a"); }},
      {"MaskEdit1", [&] { edit("MaskEdit1")->setText("01.01.01"); }},
      {"SpinEdit4", [&] { age()->setValue(33); }},     {"RadioGroup2", [&] { sex()->button(1)->click(); }},
  };
  for (const auto& [name, change] : changes) {
    window->data_changed = false;
    change();
    EXPECT_TRUE(window->data_changed) << name;
  }
}

TEST_F(PatientPageTest, new_asks_only_after_changes_and_no_keeps_everything) {
  page().Button1Click();
  EXPECT_TRUE(messages().isEmpty());

  type_patient();
  sex()->button(0)->click();
  window->ekg.FileName = "/somewhere/kept.pul";
  window->ekg.Image[100] = 7;
  dialogs.answers = {DlgAnswer::No};
  page().Button1Click();
  expect_message(0, "Das aktuelle Projekt ist nicht gesichert",
                 u("Mit der nächsten Aktion wird das aktuelle Projekt verloren gehen\r\n\r\n"
                   "Möchten Sie dennoch fortsetzen, wählen Sie bitte Ja."));
  EXPECT_EQ(messages()[0].icon, DlgIcon::Exclamation);
  EXPECT_EQ(messages()[0].buttons, DlgButtons::YesNo);
  EXPECT_EQ(edit("Edit1")->text(), u("Müller"));
  EXPECT_EQ(window->ekg.FileName, "/somewhere/kept.pul");
  EXPECT_TRUE(window->data_changed);

  dialogs.answers = {DlgAnswer::Yes};
  page().Button1Click();
  EXPECT_EQ(edit("Edit1")->text(), "");
  EXPECT_EQ(sex()->itemIndex(), kSexNone);  // New clears the sex: it was the previous patient's
  EXPECT_TRUE(recording_is_empty());
  EXPECT_EQ(window->ekg.FileName, "default.pul");
  EXPECT_FALSE(window->data_changed);
}

TEST_F(PatientPageTest, open_asks_first_and_a_cancelled_dialog_keeps_the_data) {
  cur_lang = kEnglish;
  type_patient();
  dialogs.answers = {DlgAnswer::Yes};
  page().Button6Click();  // no file name queued: the dialog is cancelled
  expect_message(0, "The current project is not saved",
                 "The next action will delete the current project\r\n\r\nIf you would like to continue, please choose Yes");
  ASSERT_EQ(dialogs.calls.size(), 2);
  EXPECT_EQ(dialogs.calls[1].kind, "open");
  EXPECT_EQ(dialogs.calls[1].folder, home.path() + "/data");
  EXPECT_EQ(dialogs.calls[1].text, "Pulvitra data|*.pul|all files|*.*");
  EXPECT_EQ(edit("Edit1")->text(), u("Müller"));
  EXPECT_TRUE(window->data_changed);
}

TEST_F(PatientPageTest, save_as_then_open_gives_the_patient_back) {
  type_patient();
  save_as(path("data.pul"));
  EXPECT_EQ(dialogs.calls.last().text, "Pulvitra Daten|*.pul");
  EXPECT_EQ(read_all(path("data.pul")).size(), 33280);
  EXPECT_TRUE(save_enabled());
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(window->windowTitle(), kTitle);  // Save as leaves the caption

  page().Button1Click();
  open(path("data.pul"));
  EXPECT_TRUE(messages().isEmpty());
  const std::pair<const char*, QString> back[] = {
      {"Edit1", u("Müller ")},       {"Edit2", u("Jürgen  ")},   {"MaskEdit1", "01.02.99"},
      {"Edit3", u("Hauptstraße 5, 10115 Berlin  ")}, {"Edit4", u("Klinik Süd  ")},
      {"Edit5", u("P-77  ")},        {"Edit6", u("Belastung ÄÖÜ  ")}};
  for (const auto& [name, text] : back) EXPECT_EQ(edit(name)->text(), text) << name;
  EXPECT_EQ(age()->value(), 58);
  EXPECT_EQ(sex()->itemIndex(), kSexMale);  // neither was chosen: stored as male
  EXPECT_EQ(window->windowTitle(), kTitle + "   " + path("data.pul"));
  EXPECT_TRUE(save_enabled());
  EXPECT_FALSE(window->data_changed);
}

TEST_F(PatientPageTest, save_as_adds_the_extension_and_save_writes_that_file_again) {
  save_as(path("anna"));
  EXPECT_EQ(window->ekg.FileName, path("anna.pul").toStdString());
  edit("Edit1")->setText("Anna");
  page().Button7Click();
  EXPECT_FALSE(window->data_changed);
  EXPECT_EQ(read_all(path("anna.pul")).mid(14, 6), QByteArray("Anna \0", 6));
}

// The message names what the system said, not only the possibly busy file.
TEST_F(PatientPageTest, a_failed_save_says_why_and_keeps_the_data_unsaved) {
  const QString error = u("Beim Speichern der Datei ist ein Fehler aufgetreten!\r\n\r\n"
                          "Möglicherweise ist die Datei von einer anderen Anwendung belegt.\r\n\r\n"
                          "Meldung des Systems: ");
  ASSERT_TRUE(QDir(home.path()).mkdir("locked"));
  ASSERT_TRUE(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
  ASSERT_TRUE(QDir(home.path()).mkdir("folder.pul"));
  const std::pair<const char*, QString> cases[] = {
      {"no_such_folder/anna.pul", "No such file or directory"},
      {"locked/anna.pul", "Permission denied"},  // a folder the user may not write to
      {"folder.pul", ""},                          // a folder in the file's place: whatever the system says
  };
  edit("Edit1")->setText("Anna");
  for (const auto& [file, reason] : cases) {
    if (geteuid() == 0 && QString(file).startsWith("locked")) continue;  // root writes anywhere
    dialogs.calls.clear();
    save_as(path(file));
    ASSERT_EQ(messages().size(), 1) << file;
    EXPECT_EQ(messages()[0].caption, kFileError);
    EXPECT_EQ(messages()[0].icon, DlgIcon::Exclamation);
    const QString text = messages()[0].text;
    EXPECT_TRUE(text.startsWith(error) && text.size() > error.size()) << text.toStdString();
    if (!reason.isEmpty()) {
      EXPECT_EQ(text, error + reason) << file;
    }
    EXPECT_TRUE(window->data_changed) << file;
  }
}

TEST_F(PatientPageTest, a_foreign_file_leaves_the_recording_empty_and_cannot_be_overwritten) {
  const QByteArray foreign(33280, 'x');
  write_all(path("letter.pul"), foreign);
  edit("Edit1")->setText("Anna");
  dialogs.answers = {DlgAnswer::Yes};
  open(path("letter.pul"));
  expect_message(1, kFileError, u("Die geöffnete Datei ist keine Pulvitra Datei!\r\n\r\n"
                                  "Wählen Sie bitte eine andere Datei aus."));
  EXPECT_TRUE(recording_is_empty());
  EXPECT_EQ(edit("Edit1")->text(), "");
  EXPECT_EQ(window->windowTitle(), kTitle + "   " + path("letter.pul"));
  EXPECT_FALSE(save_enabled());
  EXPECT_FALSE(page().save_allowed());
  EXPECT_EQ(read_all(path("letter.pul")), foreign);
}

TEST_F(PatientPageTest, damaged_or_missing_files_are_reported_and_nothing_is_loaded) {
  write_all(path("cut.pul"), encode_recording_file(PatientFields{}, 0, TEKG{}).left(20000));
  const QString open_error = u("Beim Öffnen der Datei ist ein Fehler aufgetreten!\r\n\r\n"
                               "Möglicherweise ist die Datei von einer anderen Anwendung belegt.\r\n\r\n"
                               "Meldung des Systems: ");
  const std::tuple<const char*, QString, QString> cases[] = {
      {"cut.pul", kTitle, u("Die Datei %1 ist unvollständig: sie hat 20000 statt 33280 Bytes.").arg(path("cut.pul"))},
      {"missing.pul", kFileError, open_error + "No such file or directory"},
      // A FIFO would block the window for ever; a folder is no file either.
      {"pipe.pul", kFileError, open_error + "not a regular file"},
      {"folder.pul", kFileError, open_error + "not a regular file"},
  };
  ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.pul")).constData(), 0600), 0);
  ASSERT_TRUE(QDir(home.path()).mkdir("folder.pul"));
  for (const auto& [file, caption, text] : cases) {
    dialogs.calls.clear();
    open(path(file));
    ASSERT_EQ(messages().size(), 1) << file;
    expect_message(0, caption, text);
    EXPECT_TRUE(recording_is_empty()) << file;
    EXPECT_FALSE(save_enabled()) << file;
  }
}

TEST_F(PatientPageTest, several_measurings_notice_needs_the_start_marker_twice) {
  for (int markers : {1, 2}) {
    TEKG ekg;
    clear_recording(ekg);
    for (int m = 0; m < markers; ++m) {
      const int at = 1000 + 5000 * m;
      ekg.Image[at] = 0xFF, ekg.Image[at + 1] = 0x00, ekg.Image[at + 2] = 0xFF, ekg.Image[at + 3] = 0x00;
    }
    ASSERT_TRUE(save_recording_file(path("markers.pul"), PatientFields{}, 0, ekg).ok);
    dialogs.calls.clear();
    open(path("markers.pul"));
    if (markers == 1) {
      EXPECT_TRUE(messages().isEmpty());
    } else {
      expect_message(0, "Bitte beachten:", u("Die geöffnete Datei enthält\r\n\r\nwahrscheinlich mehrere Messungen."));
    }
    EXPECT_TRUE(save_enabled()) << markers;  // only a notice: the file is loaded
  }
}

TEST_F(PatientPageTest, open_decodes_the_image_and_takes_the_fixed_interval) {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 2;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  ASSERT_TRUE(save_recording_file(path("ecg.pul"), PatientFields{}, 10, ekg).ok);
  open(path("ecg.pul"));
  EXPECT_TRUE(std::equal(ekg.Image.begin() + 1, ekg.Image.end(), window->ekg.Image.begin() + 1));
  EXPECT_EQ(window->decoder.FixedInterval, 10);
  EXPECT_GT(window->ekg.BeatCount, 100);
  page().Button1Click();
  EXPECT_EQ(window->decoder.FixedInterval, 10);  // New leaves it alone
}

TEST(PatientPageCaption, keeps_the_tail_of_long_file_names) {
  const QString folders = "/home/clinic/archive/2026/cardiology/patients/";  // 47 characters
  const std::pair<QString, QString> cases[] = {
      {"/data/a.pul", "/data/a.pul"},
      {QString(51, 'n'), QString(51, 'n')},
      {QString(60, 'n'), "..." + QString(51, 'n')},
      {folders + "mueller_juergen.pul", ".../2026/cardiology/patients/mueller_juergen.pul"},
  };
  for (const auto& [file, shown] : cases) EXPECT_EQ(PatientPage::window_caption(file), kTitle + "   " + shown);
}

// The sex byte at offset 223 of a file written after New, or after opening a file whose
// byte is neither 0x10 nor 0x20: never the previous patient's choice.
TEST_F(PatientPageTest, the_previous_patients_sex_never_reaches_another_file) {
  QByteArray unknown = encode_header(PatientFields{}, 0) + QByteArray(kImageSize, '\x7D');
  unknown[223] = '\x33';
  write_all(path("unknown_sex.pul"), unknown);
  struct Case {
    const char* name;
    std::function<void(PatientPageTest&)> next_patient;
  } cases[] = {
      {"after New", [](PatientPageTest& t) { t.page().Button1Click(); }},
      {"after opening an unknown byte", [](PatientPageTest& t) { t.open(t.path("unknown_sex.pul")); }},
  };
  for (const Case& c : cases) {
    sex()->setItemIndex(kSexFemale);
    window->data_changed = false;
    c.next_patient(*this);
    EXPECT_EQ(sex()->itemIndex(), kSexNone) << c.name;
    save_as(path("next.pul"));
    EXPECT_EQ(read_all(path("next.pul")).at(223), '\x20') << c.name;  // neither: stored as 0x20
  }
}

// Qt's save dialog is given ".pul" to add, so it asks before replacing the file it writes.
TEST_F(PatientPageTest, save_as_lets_the_dialog_add_the_extension) {
  save_as(path("foo."));
  EXPECT_EQ(window->ekg.FileName, path("foo.pul").toStdString());
  EXPECT_EQ(read_all(path("foo.pul")).size(), kRecordingFileSize);
  EXPECT_FALSE(QFile::exists(path("foo..pul")));
}
