// The wizard as a user meets it: its steps forward and back, the captions of its buttons,
// finishing with each choice, cancelling, the port boxes, and the window itself in both
// languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QGuiApplication>
#include <QProcess>
#include <QDir>
#include <QFile>
#include <memory>

#include "app/captions.h"
#include "app/device_page.h"
#include "app/patient_page.h"
#include "app/radio_group.h"
#include "app/tassi.h"
#include "app/tassi_captions.h"
#include "app/tmain.h"
#include "app/tstart.h"
#include "app/upload_controller.h"
#include "tests/support/recorder_process.h"
#include "shell/application.h"
#include "shell/language.h"
#include "tests/support/main_window_harness.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

const QString kNext = u("&Weiter >");
const QString kFinish = u("&Fertigstellen");
const QString kDone = u("&Fertig");

// Runs the steps of a script: n next, b back, 1..3 the radio buttons of page 2.
void play_script(TAssi& wizard, const char* script) {
  for (const char* c = script; *c; ++c) {
    if (*c == 'n') wizard.Button2->click();
    if (*c == 'b') wizard.Button4->click();
    if (*c == '1') wizard.RadioButton1->click();
    if (*c == '2') wizard.RadioButton2->click();
    if (*c == '3') wizard.RadioButton3->click();
  }
}

// A main window and its wizard in a program folder of their own; COM1 leads nowhere unless
// a test gives other ports.
struct Wizard : ProgramFolderWithPorts, MainWindow {
  explicit Wizard(std::uint8_t language = kGerman, const QStringList& ports = {"COM1=/dev/no-such-adapter"}) {
    write_ini(ports);
    settings = read_settings(settings_path());  // the program reads the file, [Ports] with it
    start(language);
    wizard = std::make_unique<TAssi>(*window);
    dialogs.calls.clear();
  }
  ~Wizard() { wizard.reset(); }
  TAssi& w() { return *wizard; }
  QString main_text(const char* name) { return control<QLineEdit>(name)->text(); }

  void play(const char* script) { play_script(w(), script); }

  std::unique_ptr<TAssi> wizard;
};

PatientFields patient(const char* surname) {
  PatientFields f;
  f.surname = u(surname);
  f.first_name = u("Jürgen");
  f.date = u("01.02.99");
  f.address = u("Hauptstraße 5");
  f.clinic = u("Klinik Süd");
  f.patient_id = u("P-77");
  f.age = 58;
  f.sex = kSexMale;
  f.comment = u("Belastung");
  return f;
}

TEST(WizardSteps, next_and_back_follow_the_choice_of_page_two) {
  struct Case {
    const char* script;
    int step;
    const char* panel;
    QString caption;
    bool back_enabled;
  };
  const Case cases[] = {
      {"", 1, "Panel1", kNext, false},
      {"b", 1, "Panel1", kNext, false},
      {"n", 2, "Panel3", kNext, true},
      {"n3", 2, "Panel3", kDone, true},       // right after the click
      {"n3bn", 2, "Panel3", kFinish, true},   // shown again with that choice
      {"n32", 2, "Panel3", kNext, true},
      {"nn", 3, "Panel2", kNext, true},
      {"nnn", 4, "Panel4", kFinish, true},
      {"n1nn", 5, "Panel5", kFinish, true},
      {"n1nnb", 3, "Panel2", kNext, true},     // online page back to the patient, not to page 4
      {"nnnb", 3, "Panel2", kNext, true},
      {"nnnbb", 2, "Panel3", kNext, true},
      {"nnnbbb", 1, "Panel1", kNext, false},
      {"n3n", 0, "Panel1", kDone, false},      // open a file: finished at once
      {"n1nnn", 0, "Panel1", kFinish, false},  // online finished
  };
  for (const Case& c : cases) {
    Wizard t;
    t.w().show_wizard();
    t.play(c.script);
    EXPECT_EQ(t.w().wizard_step, c.step) << c.script;
    EXPECT_EQ(t.w().front_panel()->objectName(), c.panel) << c.script;
    EXPECT_TRUE(t.w().front_panel()->isVisible() || c.step == 0) << c.script;
    EXPECT_EQ(t.w().Button2->text(), c.caption) << c.script;
    EXPECT_EQ(t.w().Button4->isEnabled(), c.back_enabled) << c.script;
    EXPECT_EQ(t.w().isVisible(), c.step != 0) << c.script;
    EXPECT_EQ(t.window->isEnabled(), c.step == 0) << c.script << ": the main window waits while the wizard is up";
  }
}

TEST(WizardSteps, help_topic_follows_the_step) {
  const std::pair<const char*, int> cases[] = {{"", 17}, {"n", 18}, {"nn", 14}, {"nnn", 4}, {"n1nn", 3}};
  for (const auto& [script, topic] : cases) {
    Wizard t;
    t.w().show_wizard();
    t.play(script);
    t.w().Button3->click();
    ASSERT_EQ(t.dialogs.calls.size(), 1) << script;
    EXPECT_EQ(t.dialogs.calls[0].kind, "help");
    EXPECT_EQ(t.dialogs.calls[0].text, QString::number(topic)) << script;
  }
}

// The patient step waits with the cursor in the surname; the wizard's buttons keep their
// letters before the page's fields (English &Cancel before &Clinic, German &Hilfe before
// Geschlec&ht).
TEST(WizardKeys, the_patient_step_takes_the_cursor_and_the_buttons_keep_their_letters) {
  struct Case {
    std::uint8_t language;
    Qt::Key key;
    bool still_shown;
    QStringList calls;
  } cases[] = {
      {kEnglish, Qt::Key_C, false, {}},
      {kGerman, Qt::Key_H, true, {"help 14"}},
  };
  for (const Case& c : cases) {
    Wizard t(c.language);
    t.w().show_wizard();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&t.w()));
    t.play("nn");
    EXPECT_EQ(QApplication::focusWidget(), t.w().Edit1);
    QTest::keyClick(t.w().Edit1, c.key, Qt::AltModifier);
    QTest::qWait(150);
    QStringList calls;
    for (const DialogCall& call : t.dialogs.calls) calls << call.kind + ' ' + call.text;
    EXPECT_EQ(t.w().isVisible(), c.still_shown) << c.language;
    EXPECT_EQ(calls.join(" / ").toStdString(), c.calls.join(" / ").toStdString()) << c.language;
  }
}

TEST(WizardCancel, at_any_step_clears_unsaved_data_and_copies_nothing_back) {
  for (const char* script : {"", "n", "nn", "nnn", "n1nn"}) {
    Wizard t;
    t.window->patient->set_fields(patient("Meier"));
    t.window->data_changed = true;  // edited before the wizard was opened
    t.w().show_wizard();
    t.play(script);
    t.w().Edit1->setText(u("Typed in the wizard"));
    t.w().CheckBox1->click();  // Assist off
    t.w().Button1->click();
    EXPECT_FALSE(t.window->data_changed) << script;
    EXPECT_EQ(t.main_text("Edit1"), u("Meier")) << script;
    EXPECT_EQ(t.w().wizard_step, 0) << script;
    EXPECT_FALSE(t.w().isVisible()) << script;
    EXPECT_TRUE(t.window->isEnabled()) << script;
    EXPECT_EQ(t.w().front_panel(), t.w().Panel1) << script;
    EXPECT_FALSE(t.w().Button4->isEnabled()) << script;
    EXPECT_EQ(t.w().Button2->text(), kNext) << script;
    EXPECT_FALSE(t.settings.Assist) << script;
    EXPECT_TRUE(t.dialogs.calls.isEmpty()) << script;
  }
}

TEST(WizardCancel, closing_through_the_window_manager_or_escape_is_cancel) {
  Wizard t;
  t.w().show_wizard();
  t.play("nn");
  t.window->data_changed = true;
  t.w().close();  // Alt+F4
  EXPECT_FALSE(t.w().isVisible());
  EXPECT_TRUE(t.window->isEnabled()) << "the main window is never left disabled behind a hidden wizard";
  EXPECT_EQ(t.w().wizard_step, 0);
  EXPECT_FALSE(t.window->data_changed);

  t.w().show_wizard();
  t.play("n");
  QTest::keyClick(&t.w(), Qt::Key_Escape);
  EXPECT_FALSE(t.w().isVisible());
  EXPECT_TRUE(t.window->isEnabled());
  EXPECT_EQ(t.w().wizard_step, 0);
}

TEST(WizardStart, each_start_begins_at_step_one_with_the_main_windows_patient) {
  Wizard t;
  t.window->patient->set_fields(patient("Meier"));
  t.settings.Assist = false;
  t.w().show_wizard();
  EXPECT_EQ(t.w().wizard_step, 1);
  EXPECT_EQ(t.w().fields(), patient("Meier"));
  EXPECT_FALSE(t.w().CheckBox1->isChecked()) << "the box shows Assist";
  t.play("nn");
  t.w().Button1->click();

  t.window->patient->set_fields(patient("Schulz"));
  t.settings.Assist = true;
  t.w().show_wizard();
  EXPECT_EQ(t.w().wizard_step, 1);
  EXPECT_EQ(t.w().front_panel(), t.w().Panel1);
  EXPECT_EQ(t.w().fields(), patient("Schulz"));
  EXPECT_TRUE(t.w().CheckBox1->isChecked());
}

TEST(WizardStart, the_choice_of_page_two_is_kept_between_starts) {
  Wizard t;
  EXPECT_TRUE(t.w().RadioButton2->isChecked()) << "offline is the choice at creation";
  t.w().show_wizard();
  t.play("n1");
  t.w().Button1->click();
  t.w().show_wizard();
  EXPECT_TRUE(t.w().RadioButton1->isChecked());
  EXPECT_FALSE(t.w().RadioButton2->isChecked());
  EXPECT_FALSE(t.w().RadioButton3->isChecked());
}

TEST(WizardStart, patient_page_button_shows_it_only_after_the_discard_question_allows) {
  const std::pair<DlgAnswer, bool> cases[] = {{DlgAnswer::No, false}, {DlgAnswer::Yes, true}};
  for (const auto& [answer, shown] : cases) {
    Wizard t;
    t.window->show();
    t.control<QLineEdit>("Edit1")->setText("Anna");  // unsaved data
    t.dialogs.answers = {answer};
    t.control<QPushButton>("Button2")->click();
    ASSERT_EQ(t.dialogs.messages().size(), 1);
    EXPECT_EQ(t.dialogs.messages()[0].caption, table_text("txt_discard_caption"));
    EXPECT_EQ(t.w().isVisible(), shown);
    EXPECT_EQ(t.window->isEnabled(), !shown);
  }
}

TEST(WizardStart, start_tick_five_shows_it_over_the_disabled_main_window_when_assist_is_on) {
  for (bool assist : {true, false}) {
    Wizard t;
    t.settings.Assist = assist;
    TStart start(t.settings);
    start.main_window = t.window.get();
    start.show_wizard = [&] { t.w().show_wizard(); };
    start.forms_created = true;
    for (int tick = 0; tick < 5; ++tick) start.Timer1Timer();
    EXPECT_EQ(t.w().isVisible(), assist);
    EXPECT_EQ(t.window->isEnabled(), !assist);
    EXPECT_TRUE(t.window->isVisible());
    start.Timer1->stop();
  }
}

TEST(WizardFinish, online_asks_the_iec_950_question_and_starts_no_transfer) {
  for (DlgAnswer answer : {DlgAnswer::Yes, DlgAnswer::No}) {
    Wizard t;
    t.w().show_wizard();
    t.play("n1n");
    t.w().set_fields(patient("Online"));
    t.dialogs.answers = {answer};
    t.play("nn");
    const auto messages = t.dialogs.messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].icon, DlgIcon::Exclamation);
    EXPECT_EQ(messages[0].buttons, DlgButtons::YesNo);
    EXPECT_EQ(messages[0].caption, "Achtung!");
    EXPECT_EQ(messages[0].text, u("Die Nutzung des Online Modus am Patienten, ist nur unter\r\n\r\n"
                                  "Verwendung eines PCs nach Norm IEC 950 erlaubt!\r\n\r\n"
                                  "Möchten Sie dennoch fortsetzen, wählen Sie bitte Ja."));
    EXPECT_EQ(t.window->TabbedNotebook1->currentIndex(), kPageOverview);
    EXPECT_FALSE(t.w().upload.has_value());
    EXPECT_FALSE(t.window->device->link().busy());
    EXPECT_EQ(t.window->findChild<UploadController*>()->upload().UploadRunning, 0);
    EXPECT_EQ(t.window->patient->fields(), patient("Online"));
    EXPECT_TRUE(t.window->data_changed);
    EXPECT_TRUE(t.window->isEnabled());
    EXPECT_EQ(t.w().wizard_step, 0);
  }
}

TEST(WizardFinish, online_question_in_english) {
  Wizard t(kEnglish);
  t.w().show_wizard();
  t.play("n1nnn");
  ASSERT_EQ(t.dialogs.messages().size(), 1);
  EXPECT_EQ(t.dialogs.messages()[0].caption, "Attention!");
  EXPECT_EQ(t.dialogs.messages()[0].text, u("Using the online mode at the patient is allowed by using\r\n\r\n"
                                            "a PC which fulfills guideline IEC 950 only!\r\n\r\n"
                                            "If you would like to continue, please choose Yes."));
}

TEST(WizardFinish, open_file_with_the_dialog_cancelled_shows_the_patient_page_and_loads_nothing) {
  Wizard t;
  t.window->patient->set_fields(patient("Meier"));
  t.window->TabbedNotebook1->setCurrentIndex(kPageTrend);
  t.w().show_wizard();
  t.play("n3");
  t.w().Edit1->setText("Typed");
  t.play("n");
  ASSERT_EQ(t.dialogs.calls.size(), 1);
  EXPECT_EQ(t.dialogs.calls[0].kind, "open");
  EXPECT_EQ(t.dialogs.calls[0].text, u("Pulvitra Daten|*.pul|Alle Dateien|*.*"));
  EXPECT_EQ(t.window->TabbedNotebook1->currentIndex(), kPagePatient);
  EXPECT_EQ(t.window->ekg.FileName, "default.pul");
  EXPECT_EQ(t.main_text("Edit1"), u("Meier")) << "nothing is copied back";
  EXPECT_EQ(t.window->windowTitle(), kApplicationTitle);
  EXPECT_FALSE(t.w().isVisible());
  EXPECT_TRUE(t.window->isEnabled());
}

TEST(WizardFinish, open_file_loads_through_the_main_windows_open_with_its_caption_rule) {
  Wizard t;
  const QString folder = t.home.filePath("a_rather_long_folder_name_for_the_recordings/of_this_clinic");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString good = folder + "/patient_recording.pul";
  t.window->patient->set_fields(patient("Stored"));
  ASSERT_TRUE(t.window->patient->save_recording(good));
  const QString foreign = folder + "/letter.pul";
  QFile letter(foreign);
  ASSERT_TRUE(letter.open(QIODevice::WriteOnly));
  letter.write(QByteArray(33280, 'x'));
  letter.close();
  t.window->patient->reset_recording();

  t.dialogs.file_names = {good};
  t.w().show_wizard();
  t.play("n3n");
  EXPECT_EQ(t.window->ekg.FileName, good.toStdString());
  // The title, three blanks and the last 51 characters from their first folder separator on.
  EXPECT_EQ(t.window->windowTitle(), QString(kApplicationTitle) + "   .../of_this_clinic/patient_recording.pul");
  EXPECT_EQ(t.main_text("Edit1").trimmed(), "Stored");
  EXPECT_TRUE(t.control<QPushButton>("Button7")->isEnabled());
  EXPECT_FALSE(t.window->data_changed);
  EXPECT_EQ(t.window->TabbedNotebook1->currentIndex(), kPagePatient);

  t.dialogs.file_names = {foreign};
  t.w().show_wizard();
  t.play("n3n");
  EXPECT_FALSE(t.control<QPushButton>("Button7")->isEnabled()) << "a foreign file is never overwritten";
  EXPECT_EQ(t.dialogs.messages().last().text, table_text("txt_not_a_file"));
}

TEST(WizardFinish, offline_uploads_from_the_recorder_and_shows_the_overview_with_the_typed_patient) {
  RecorderSim sim({});
  ASSERT_TRUE(sim.started);
  cur_lang = kGerman;
  ScriptedDialogs dialogs;
  Settings settings = read_settings(settings_path());
  settings.MaxBaud = 62500;
  TMain main(settings);
  TAssi wizard(main);
  ASSERT_EQ(main.port_name, "COM1");
  wizard.show_wizard();
  play_script(wizard, "nn");
  wizard.set_fields(patient("Offline"));
  play_script(wizard, "n");
  ASSERT_EQ(wizard.wizard_step, 4);
  play_script(wizard, "n");
  EXPECT_FALSE(wizard.isVisible());
  EXPECT_TRUE(main.isEnabled());
  ASSERT_TRUE(wizard.upload.has_value());
  // Runs the event loop itself: a wait that sleeps between looks would hold up the pacing.
  QCoro::waitFor(*wizard.upload);

  UploadController* controller = main.findChild<UploadController*>();
  EXPECT_EQ(controller->upload().blocks_received(), 4096) << "the same upload as the device page's button";
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].text, table_text("txt_upload_ok"));
  EXPECT_GT(main.ekg.BeatCount, 0) << "decoded";
  EXPECT_EQ(main.TabbedNotebook1->currentIndex(), kPageOverview);
  EXPECT_EQ(main.patient->fields(), patient("Offline"));
  EXPECT_TRUE(main.data_changed) << "an uploaded recording is in no file yet";
  EXPECT_FALSE(main.device->link().busy());
  EXPECT_TRUE(main.control<QPushButton>("Button2")->isEnabled()) << "the wizard button is unlocked after the transfer";
}

TEST(WizardBoxes, assist_and_background_boxes_set_the_settings_and_the_main_window) {
  Wizard t;
  bool background_asked = true;
  t.window->on_background_changed = [&](bool on) { background_asked = on; };
  t.w().show_wizard();
  EXPECT_TRUE(t.w().CheckBox2->isChecked()) << "shown with the main window's background box";
  t.w().CheckBox2->click();
  EXPECT_FALSE(t.settings.BackGround);
  EXPECT_FALSE(t.control<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_FALSE(background_asked) << "the start window is hidden";
  t.w().CheckBox2->click();
  EXPECT_TRUE(t.settings.BackGround);
  EXPECT_TRUE(background_asked);

  t.w().CheckBox1->click();
  EXPECT_FALSE(t.settings.Assist);
  t.w().CheckBox1->click();
  EXPECT_TRUE(t.settings.Assist);
  t.play("n");
  t.w().CheckBox1->setChecked(false);  // not clicked: only choosing the file stores it
  t.play("3");
  EXPECT_FALSE(t.settings.Assist);
}

TEST(WizardPorts, changing_the_port_in_the_wizard_changes_it_in_the_main_window_at_once) {
  PseudoTerminal one, two;
  ASSERT_TRUE(one.ok() && two.ok());
  Wizard t(kGerman, {"COM1=" + one.slave_path, "COM2=" + two.slave_path});
  ASSERT_EQ(t.window->port_name, "COM1");
  for (QComboBox* box : {t.w().ComboBox1, t.w().ComboBox2}) {
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(1), "COM2");
    EXPECT_EQ(box->currentText(), "COM1");
  }
  t.w().show_wizard();
  t.play("nnn");
  QCoro::waitFor(t.w().ComboBox1Change("COM2"));
  EXPECT_EQ(t.window->port_name, "COM2");
  EXPECT_EQ(t.control<QComboBox>("CB_Comport")->currentText(), "COM2");
  EXPECT_EQ(t.w().ComboBox2->currentText(), "COM2") << "the other wizard box follows";
  EXPECT_EQ(t.window->device->pul_com().custom_baud_rate(), 4800) << "reopened at the base rate";
  EXPECT_TRUE(t.window->device->pul_com().connected());

  QCoro::waitFor(t.w().ComboBox2Change("COM1"));
  EXPECT_EQ(t.window->port_name, "COM1");
  EXPECT_EQ(t.w().ComboBox1->currentText(), "COM1");
  EXPECT_FALSE(t.window->device->link().busy());
}

// The window as designed: the places of everything and every caption in both languages.
TEST(WizardWindow, layout_of_the_window) {
  Wizard t;
  EXPECT_EQ(t.w().size(), QSize(506, 257));
  EXPECT_EQ(t.w().palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_FALSE(t.w().windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(t.w().windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(t.w().isEnabled()) << "created disabled";
  EXPECT_EQ(t.w().Image1->geometry(), QRect(5, 8, 151, 161));
  for (QFrame* panel : {t.w().Panel1, t.w().Panel2, t.w().Panel3, t.w().Panel4, t.w().Panel5}) {
    EXPECT_EQ(panel->geometry(), QRect(163, 2, 342, 222)) << panel->objectName().toStdString();
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);
  }
  const std::pair<QPushButton*, int> buttons[] = {
      {t.w().Button4, 161}, {t.w().Button2, 240}, {t.w().Button1, 336}, {t.w().Button3, 424}};
  for (const auto& [button, x] : buttons) EXPECT_EQ(button->geometry(), QRect(x, 229, 80, 25));
  EXPECT_FALSE(t.w().Button4->isEnabled());
  for (const char* title : {"Label1", "Label17", "Label8", "Label21", "Label29"}) {
    const QFont font = t.w().findChild<QLabel*>(title)->font();
    EXPECT_EQ(font.pixelSize(), 16) << title;
    EXPECT_TRUE(font.bold() && font.underline()) << title;
    EXPECT_EQ(font.styleHint(), QFont::Serif) << title;
  }
  EXPECT_EQ(t.w().MaskEdit1->inputMask(), t.control<QLineEdit>("MaskEdit1")->inputMask());
  EXPECT_EQ(t.w().RadioGroup2->columns(), 2);
  EXPECT_EQ(t.w().RadioGroup2->button(0)->y(), t.w().RadioGroup2->button(1)->y()) << "the two sexes side by side";
  EXPECT_EQ(t.window->WizardForm, &t.w());
}

TEST(WizardWindow, every_caption_in_both_languages_top_to_bottom_in_the_order_of_the_table) {
  for (std::uint8_t language : {kGerman, kEnglish}) {
    Wizard t(language);
    QWidget* previous = nullptr;
    for (const CaptionEntry& e : wizard_captions()) {
      const QString wanted = language == kEnglish ? e.english : e.german;
      const QString name = QLatin1String(e.control);
      if (name == "window") {
        EXPECT_EQ(t.w().windowTitle(), wanted);
        continue;
      }
      QWidget* control = t.w().findChild<QWidget*>(name);
      ASSERT_NE(control, nullptr) << e.control;
      QString shown;
      if (auto* group = qobject_cast<RadioGroup*>(control)) shown = group->title();
      else if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
      else if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
      EXPECT_EQ(shown, wanted) << e.control;
      // Each text fits its control, and each page reads top to bottom in the table's order.
      EXPECT_LE(control->fontMetrics().horizontalAdvance(QString(shown).remove('&')), control->width()) << e.control;
      if (previous && previous->parentWidget() == control->parentWidget() && qobject_cast<QFrame*>(control->parentWidget())) {
        EXPECT_GT(control->y(), previous->y()) << e.control;
      }
      previous = control;
    }
    const QStringList sexes = language == kEnglish ? QStringList{u("fema&le"), u("&male")}
                                                   : QStringList{u("weiblich"), u("männlich")};
    EXPECT_EQ(t.w().RadioGroup2->items(), sexes);
  }
}

TEST(WizardWindow, the_inner_quotation_marks_belong_to_the_german_texts) {
  Wizard t;
  EXPECT_EQ(t.w().findChild<QLabel*>("Label20")->text(), u("...zur \"Echtzeit\"- Auswertung am Patienten."));
  EXPECT_EQ(t.w().findChild<QLabel*>("Label32")->text(), u("nun \"ECG-OUT\" und stellen Sie sicher, daß das Kordamat"));
  EXPECT_EQ(t.w().findChild<QLabel*>("Label4")->text(), u("drücken Sie auf [ Weiter >] und folgen Sie den Anweisungen auf "));
  EXPECT_EQ(t.w().findChild<QLabel*>("Label7")->text(), u("[ Abbrechen ].  Über die [ Hilfe ] -Taste gelangen Sie zur Pulvitra"));
}

}  // namespace

namespace {

// Screenshots of all five pages in both languages on a real X display: run by
// scripts/wizard-screenshots under Xvfb, which names the folder; skipped otherwise.
TEST(WizardScreens, every_page_in_both_languages) {
  const QString folder = qEnvironmentVariable("PULVITRA_SCREENSHOT_DIR");
  if (folder.isEmpty() || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs Xvfb and a folder";
  const std::pair<const char*, const char*> pages[] = {{"1", ""}, {"2", "n"}, {"3", "n"}, {"4", "n"}, {"5", "bb1nn"}};
  for (std::uint8_t language : {kGerman, kEnglish}) {
    Wizard t(language);
    t.window->show();
    t.w().show_wizard();
    for (const auto& [page, script] : pages) {
      t.play(script);
      QTest::qWait(300);
      const QString file = folder + QStringLiteral("/wizard_%1_page%2.png").arg(language == kGerman ? "de" : "en", page);
      EXPECT_EQ(QProcess::execute("import", {"-window", "root", file}), 0) << file.toStdString();
    }
  }
}

}  // namespace
