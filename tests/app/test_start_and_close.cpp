// The start sequence (language choice), the English captions it leads to, closing, help and
// the general error report, as a user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <deque>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

#include "app/captions.h"
#include "shell/application.h"
#include "shell/language.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/watchdog.h"
#include "app/error_report.h"
#include "app/qt_dialogs.h"
#include "app/radio_group.h"
#include "app/tmain.h"
#include "app/tstart.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

// A program folder of its own for each test, with or without help files.
struct ProgramHome : TemporaryProgramFolder {
  explicit ProgramHome(bool with_help = true) {
    if (!with_help) return;
    for (const char* name : {"pulvitra_de.hlp", "pulvitra_en.hlp"}) {
      write_all(path(name), QByteArray("<html>") + name + "</html>");
    }
  }
};

}  // namespace

TEST(StartWindow, stored_language_is_clamped_and_settles_by_itself_on_the_21st_tick) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  for (auto [stored, expected] : {std::pair{0, 1}, {1, 1}, {2, 2}, {7, 2}}) {
    Settings settings;
    settings.Language = static_cast<std::uint8_t>(stored);
    TStart start(settings);
    EXPECT_EQ(cur_lang, expected) << stored;
    EXPECT_TRUE(TStart::is_highlighted(expected == 1 ? start.ll1 : start.ll2));
    for (int tick = 1; tick <= 20; ++tick) start.Timer2Timer();
    EXPECT_FALSE(start.lang_chosen);
    start.Timer2Timer();  // 21 ticks of 100 ms: about 2.1 s
    EXPECT_TRUE(start.lang_chosen);
    EXPECT_EQ(start.ll1->text(), expected == 1 ? "deutsch" : "english");
    EXPECT_FALSE(start.isEnabled());
  }
  EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST(StartWindow, hovering_pushes_the_choice_without_changing_the_language) {
  ProgramHome home;
  Settings settings;
  TStart start(settings);
  for (int tick = 1; tick <= 15; ++tick) start.Timer2Timer();
  start.ll2MouseMove();
  EXPECT_TRUE(TStart::is_highlighted(start.ll2));
  EXPECT_FALSE(TStart::is_highlighted(start.ll1));
  for (int tick = 1; tick <= 10; ++tick) start.Timer2Timer();
  EXPECT_FALSE(start.lang_chosen);  // 1.1 s after the last movement, not before
  start.Timer2Timer();
  EXPECT_TRUE(start.lang_chosen);
  EXPECT_EQ(cur_lang, kGerman);
}

TEST(StartWindow, choosing_a_language_copies_its_help_file) {
  ProgramHome home;
  Settings settings;
  TStart start(settings);
  start.ll2Click();
  EXPECT_EQ(cur_lang, kEnglish);
  EXPECT_TRUE(start.lang_chosen);
  EXPECT_EQ(read_all(home.path("pulvitra.hlp")), "<html>pulvitra_en.hlp</html>");
  cur_lang = kGerman;
}

// A press alone chooses nothing; the choice is a press and a release on the same label.
TEST(StartWindow, a_language_label_acts_on_a_full_click) {
  ProgramHome home;
  Settings settings;
  TStart start(settings);
  start.show();
  QTest::mousePress(start.ll2, Qt::LeftButton);
  EXPECT_FALSE(start.lang_chosen);
  QTest::mouseRelease(start.ll2, Qt::LeftButton, {}, QPoint(-20, -20));  // released off the label
  EXPECT_FALSE(start.lang_chosen);
  EXPECT_EQ(cur_lang, kGerman);
  QTest::mousePress(start.ll2, Qt::LeftButton);
  QTest::mouseRelease(start.ll2, Qt::LeftButton);
  EXPECT_TRUE(start.lang_chosen);
  EXPECT_EQ(cur_lang, kEnglish);
  cur_lang = kGerman;
}

// The keys settle the language as a click on it does (its help file copied, the window
// done); an offer moved with the arrow keys settles by itself about a second later.
TEST(StartWindow, the_keyboard_chooses_the_language) {
  struct Case {
    std::uint8_t stored;
    std::vector<Qt::Key> keys;
    int ticks;  // countdown ticks until the choice settles; 0: at once
    std::uint8_t chosen;
  } cases[] = {
      {kGerman, {Qt::Key_E}, 0, kEnglish},
      {kEnglish, {Qt::Key_D}, 0, kGerman},
      {kGerman, {Qt::Key_2}, 0, kEnglish},
      {kEnglish, {Qt::Key_Return}, 0, kEnglish},
      {kGerman, {Qt::Key_Down, Qt::Key_Space}, 0, kEnglish},
      {kEnglish, {Qt::Key_Up, Qt::Key_Return}, 0, kGerman},
      {kGerman, {Qt::Key_Down}, 11, kEnglish},
      {kGerman, {Qt::Key_Down, Qt::Key_Up}, 11, kGerman},
  };
  for (const Case& c : cases) {
    ProgramHome home;
    Settings settings;
    settings.Language = c.stored;
    TStart start(settings);
    for (Qt::Key key : c.keys) QTest::keyClick(&start, key);
    for (int tick = 1; tick < c.ticks; ++tick) start.Timer2Timer();
    EXPECT_EQ(start.lang_chosen, c.ticks == 0) << c.keys.size() << " keys";
    if (c.ticks > 0) start.Timer2Timer();
    EXPECT_TRUE(start.lang_chosen);
    EXPECT_EQ(cur_lang, c.chosen);
    EXPECT_FALSE(start.isEnabled());
    EXPECT_EQ(read_all(home.path("pulvitra.hlp")),
              c.chosen == kGerman ? "<html>pulvitra_de.hlp</html>" : "<html>pulvitra_en.hlp</html>");
  }
  cur_lang = kGerman;
}

TEST(StartWindow, without_the_background_it_is_centred_on_the_screen) {
  ProgramHome home;
  Settings settings;
  settings.BackGround = false;
  TStart start(settings);
  const QRect screen = start.screen()->availableGeometry();
  EXPECT_EQ(start.size(), QSize(650, 543));
  EXPECT_LE(std::abs(start.geometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(start.geometry().center().y() - screen.center().y()), 1);
}

// A copy that fails part way (here a file size limit, as a full disk) keeps the help of the
// last run instead of leaving a cut or no help at all.
TEST(StartWindow, a_failed_help_copy_keeps_the_previous_help) {
  ProgramHome home;
  const QByteArray previous = "<html>the help of the last run</html>";
  for (auto [name, bytes] : {std::pair{"pulvitra.hlp", previous}, {"pulvitra_de.hlp", QByteArray(64 * 1024, 'h')}}) {
    QFile f(home.path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  Settings settings;
  TStart start(settings);
  with_file_size_limit(4096, [&] { start.ll1Click(); });
  EXPECT_TRUE(start.lang_chosen);
  EXPECT_EQ(read_all(home.path("pulvitra.hlp")), previous);
}

TEST(StartWindow, a_missing_help_file_is_reported_and_start_goes_on) {
  ScriptedDialogs dialogs;
  for (auto [click_english, text] :
       {std::pair{false, "PULVITRA Hilfedatei (de) existiert nicht !"}, {true, "PULVITRA helpfile does not exist !"}}) {
    ProgramHome home(false);
    Settings settings;
    TStart start(settings);
    dialogs.calls.clear();
    click_english ? start.ll2Click() : start.ll1Click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, text);
    EXPECT_EQ(dialogs.messages()[0].buttons, DlgButtons::Cancel);
    EXPECT_TRUE(start.lang_chosen);
  }
  cur_lang = kGerman;
}

// Whatever lies where the settings or the help should be, the start goes on: the main window
// is up within 5 s with the default settings, and a settings file the program could not use
// is explained once, when the start has ended. A help that is a named pipe is not copied; the
// help window says why it shows nothing.
TEST(StartWindow, settings_and_help_that_are_no_files_do_not_hold_up_the_start) {
  const QString kept = "Es gelten die Standardeinstellungen; die Datei bleibt, wie sie ist.";
  struct Case {
    const char* what;
    std::vector<const char*> fifos;  // files made named pipes
    const char* link_to_dev_zero;
    QString note;       // the one message, "" for none; %1 the program folder
    QString help_text;  // what the help window shows, "" when not looked at
  };
  const Case cases[] = {
      {"settings a named pipe", {"Pulvitra.ini"}, nullptr,
       "Die Einstellungsdatei \"%1/Pulvitra.ini\" wurde nicht gelesen: sie ist eine benannte Pipe (FIFO), keine "
       "gewöhnliche Datei. " + kept, ""},
      {"settings a link to /dev/zero", {}, "Pulvitra.ini",
       "Die Einstellungsdatei \"%1/Pulvitra.ini\" wurde nicht gelesen: sie ist ein Gerät, keine gewöhnliche Datei. " +
           kept, ""},
      {"help files named pipes", {"pulvitra_de.hlp", "pulvitra_en.hlp"}, nullptr, "",
       "Die Hilfedatei \"%1/pulvitra_de.hlp\" wurde nicht gelesen: sie ist eine benannte Pipe (FIFO), keine gewöhnliche "
       "Datei."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramHome home(c.help_text.isEmpty());
    const QString folder = home.home.path();
    for (const char* name : c.fifos) {
      ASSERT_EQ(mkfifo(QFile::encodeName(home.path(name)).constData(), 0644), 0);
    }
    if (c.link_to_dev_zero) {
      ASSERT_TRUE(QFile::link("/dev/zero", home.path(c.link_to_dev_zero)));
    }
    ScriptedDialogs dialogs;
    Watchdog watchdog(std::chrono::seconds(5), std::string("the start with ") + c.what);

    Settings settings = read_settings(settings_path());
    TStart start(settings);
    for (int tick = 1; tick <= 21; ++tick) start.Timer2Timer();
    ASSERT_TRUE(start.lang_chosen);
    TMain main_window(settings);
    start.main_window = &main_window;
    start.forms_created = true;
    start.Timer1Timer();
    EXPECT_TRUE(main_window.isVisible());
    for (int tick = 2; tick <= 20; ++tick) start.Timer1Timer();

    EXPECT_EQ(cur_lang, kGerman);
    EXPECT_TRUE(main_window.isEnabled()) << "Assist holds it back only for the wizard";
    EXPECT_TRUE(main_window.control<QCheckBox>("CheckBox1")->isChecked()) << "BackGround by default";
    EXPECT_EQ(main_window.control<QComboBox>("CB_MaxBaud")->currentText(), "12800");
    QStringList shown;
    for (const DialogCall& m : dialogs.messages()) {
      shown << m.text;
      EXPECT_EQ(m.icon, DlgIcon::Information);
    }
    EXPECT_EQ(shown, c.note.isEmpty() ? QStringList() : QStringList{c.note.arg(folder)});
    if (c.help_text.isEmpty()) continue;
    EXPECT_FALSE(QFile::exists(home.path("pulvitra.hlp")));
    QtDialogs qt_dialogs;
    qt_dialogs.show_help(7);
    QTextBrowser* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* browser = qobject_cast<QTextBrowser*>(w); browser && browser->isVisible()) help = browser;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->toPlainText(), c.help_text.arg(folder));
    help->close();
  }
}

TEST(MainWindow, english_captions_after_clicking_english) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  Settings settings;
  TStart start(settings);
  start.ll2Click();
  TMain main_window(settings);
  EXPECT_EQ(main_window.control<QPushButton>("Button1")->text(), "&New");
  EXPECT_EQ(main_window.control<QPushButton>("Button1")->toolTip(), "Reset all data");
  EXPECT_EQ(main_window.control<QPushButton>("Button9")->text(), "P&rint");
  EXPECT_EQ(main_window.control<QLabel>("Label16")->text(),
            "Small, non significant values could be filtered out using the limit bars.");
  EXPECT_EQ(main_window.control<RadioGroup>("RadioGroup2")->items(), (QStringList{"fema&le", "&male"}));
  EXPECT_EQ(main_window.control<RadioGroup>("RadioGroup1")->items(), (QStringList{"Time", "Pages"}));
  EXPECT_EQ(main_window.control<QCheckBox>("CheckBox1")->text(), "Background");
  EXPECT_EQ(main_window.TabbedNotebook1->tabText(2), "O&verview");
  EXPECT_EQ(main_window.TabbedNotebook1->tabText(4), "&Histogram");
  EXPECT_EQ(main_window.TabbedNotebook1->tabText(3), "Z&oom");
  EXPECT_EQ(main_window.windowTitle(), "Pulvitra 2.4-5");  // the one place the title is spelled out
  EXPECT_EQ(main_window.size(), QSize(603, 444));
  cur_lang = kGerman;
}

TEST(MainWindow, german_captions_stay_as_designed) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  cur_lang = kGerman;
  Settings settings;
  TMain main_window(settings);
  for (const CaptionEntry& e : main_window_captions()) {
    if (QString(e.control).startsWith("page:")) {
      EXPECT_EQ(main_window.TabbedNotebook1->tabText(QString(e.control).mid(5).toInt()), e.german);
      continue;
    }
    QWidget* w = main_window.findChild<QWidget*>(e.control);
    // Without a serial port the link controls stay locked, with the upload button's stop caption.
    if (w && !w->isEnabled()) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_EQ(b->text(), e.german) << e.control;
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(l->text(), e.german) << e.control;
    }
  }
  EXPECT_FALSE(main_window.control<QPushButton>("RAM_Test")->isEnabled());
}

TEST(MainWindow, close_question_has_its_exact_blanks_in_both_languages) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  for (auto [lang, question] : {std::pair{kGerman, "           Beenden ?         "},
                                 {kEnglish, "            Close ?          "}}) {
    cur_lang = lang;
    Settings settings;
    TMain main_window(settings);
    bool closed = false;
    main_window.on_closed = [&closed] { closed = true; };
    main_window.show();
    dialogs.calls.clear();
    dialogs.answers = {DlgAnswer::No};
    main_window.close();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, question);
    EXPECT_EQ(dialogs.messages()[0].text.size(), 29);
    EXPECT_EQ(dialogs.messages()[0].caption, kApplicationTitle);
    EXPECT_EQ(dialogs.messages()[0].buttons, DlgButtons::YesNo);
    EXPECT_EQ(dialogs.messages()[0].icon, DlgIcon::None);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(main_window.isVisible());
    dialogs.answers = {DlgAnswer::Yes};
    main_window.close();
    EXPECT_TRUE(closed);
  }
  cur_lang = kGerman;
}

// Edits or a transfer not yet saved are asked about before "Close ?", whether the close box
// or the Exit button closes the window; a No to either question keeps the window and the data.
TEST(MainWindow, a_close_request_asks_about_unsaved_data_first) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  const QString discard_question = "Das aktuelle Projekt ist nicht gesichert";
  const QString close_question = kApplicationTitle;  // "Close ?" has the title as caption
  struct Case {
    const char* name;
    bool unsaved;
    bool exit_button;
    std::deque<DlgAnswer> answers;
    QStringList asked;  // captions, in order
    bool closes;
  } cases[] = {
      {"nothing unsaved", false, false, {DlgAnswer::Yes}, {close_question}, true},
      {"unsaved, discard No", true, false, {DlgAnswer::No}, {discard_question}, false},
      {"unsaved, discard Yes, Close No", true, false, {DlgAnswer::Yes, DlgAnswer::No}, {discard_question, close_question}, false},
      {"unsaved, discard Yes, Close Yes", true, false, {DlgAnswer::Yes, DlgAnswer::Yes}, {discard_question, close_question}, true},
      {"Exit button, unsaved", true, true, {DlgAnswer::Yes, DlgAnswer::Yes}, {discard_question, close_question}, true},
      {"Exit button, nothing unsaved", false, true, {DlgAnswer::Yes}, {close_question}, true},
  };
  for (const Case& c : cases) {
    Settings settings;
    TMain main_window(settings);
    bool closed = false;
    main_window.on_closed = [&closed] { closed = true; };
    main_window.show();
    main_window.data_changed = c.unsaved;
    dialogs.calls.clear();
    dialogs.answers = c.answers;
    if (c.exit_button) {
      main_window.control<QPushButton>("Button10")->click();
    } else {
      main_window.close();
    }
    QStringList asked;
    for (const DialogCall& m : dialogs.messages()) asked << m.caption;
    EXPECT_EQ(asked, c.asked) << c.name;
    EXPECT_EQ(closed, c.closes) << c.name;
    EXPECT_EQ(main_window.isVisible(), !c.closes) << c.name;
    EXPECT_EQ(main_window.data_changed, c.unsaved) << c.name;
  }
}

TEST(MainWindow, help_opens_the_topic_of_the_button_or_the_view_page) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  Settings settings;
  TMain main_window(settings);
  auto topics = [&dialogs] {
    QStringList out;
    for (const auto& c : dialogs.calls)
      if (c.kind == "help") out << c.text;
    return out;
  };
  main_window.Button5Click();
  for (int page : {0, 2, 3, 4, 5, 6}) {
    main_window.TabbedNotebook1->setCurrentIndex(page);
    main_window.P2C2Click();
  }
  main_window.ButtonContextPopup(main_window.control<QWidget>("Button9"));
  main_window.Help1Click();
  main_window.Help1Click();  // the stored number was used up
  main_window.ButtonContextPopup(main_window.control<QWidget>("Label3"));
  main_window.Help1Click();  // labels carry no number
  EXPECT_EQ(topics(), (QStringList{"7", "12", "11", "9", "10", "8", "6"}));
}

TEST(MainWindow, online_mode_only_says_it_is_not_supported) {
  ProgramHome home;
  ScriptedDialogs dialogs;
  cur_lang = kEnglish;
  Settings settings;
  TMain main_window(settings);
  dialogs.calls.clear();
  main_window.Button4Click();
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].text, " Online mode not supported !\r\n Please call the manufacturer !");
  EXPECT_EQ(dialogs.messages()[0].icon, DlgIcon::Warning);
  EXPECT_EQ(dialogs.messages()[0].buttons, DlgButtons::Cancel);
  cur_lang = kGerman;
}

TEST(ErrorReport, full_stop_appended_only_after_characters_above_the_full_stop) {
  EXPECT_EQ(error_report_text("Disk full"), "Disk full.");
  EXPECT_EQ(error_report_text("Disk full."), "Disk full.");
  EXPECT_EQ(error_report_text("Disk full!"), "Disk full!");   // '!' lies below '.'
  EXPECT_EQ(error_report_text("Error (5)"), "Error (5)");     // ')' lies below '.'
  EXPECT_EQ(error_report_text("Code 5"), "Code 5.");          // '5' lies above '.'
  EXPECT_EQ(error_report_text(""), "");
}

TEST(ErrorReport, an_exception_in_an_event_handler_is_reported_and_the_program_goes_on) {
  ScriptedDialogs dialogs;
  EXPECT_FALSE(run_reporting_errors([]() -> bool { throw std::runtime_error("Datei nicht lesbar"); }));
  EXPECT_TRUE(run_reporting_errors([] { return true; }));
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].text, "Datei nicht lesbar.");
  EXPECT_EQ(dialogs.messages()[0].caption, kApplicationTitle);
  EXPECT_EQ(dialogs.messages()[0].icon, DlgIcon::Error);
  EXPECT_EQ(dialogs.messages()[0].buttons, DlgButtons::Ok);
}
