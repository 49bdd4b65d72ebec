// The main window with the keyboard alone: the underlined letters of the patient page in both
// languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/tmain.h"
#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A main window shown and active, in a program folder of its own.
struct KeyboardTest : ::testing::Test {
  void start(std::uint8_t language) {
    window.reset();
    cur_lang = language;
    window = std::make_unique<TMain>(settings);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dialogs.calls.clear();
  }
  KeyboardTest() { qputenv("PULVITRA_HOME", home.path().toUtf8()); }
  ~KeyboardTest() override {
    window.reset();
    qunsetenv("PULVITRA_HOME");
    cur_lang = kGerman;
  }
  // The key goes where the focus is; a button's animated click ends before this returns.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window.get(), key, modifiers);
    QTest::qWait(150);
  }
  // Each dialog the keys led to, as "kind text".
  QStringList calls() const {
    QStringList out;
    for (const DialogCall& c : dialogs.calls) out << c.kind + ' ' + c.text;
    return out;
  }
  QString focus_name() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : ""; }

  QTemporaryDir home;
  ScriptedDialogs dialogs;
  Settings settings;
  std::unique_ptr<TMain> window;
};

// Where two controls underline the same letter, the page's buttons come first, then its
// fields, and a tab only when nothing on the page has the letter.
TEST_F(KeyboardTest, each_alt_letter_of_the_patient_page_reaches_the_control_named_on_it) {
  struct Case {
    std::uint8_t language;
    Qt::Key key;
    const char* focus;  // the field that has the cursor afterwards, "" when not looked at
    int page;           // the page shown afterwards
    QString call;       // the dialog the button opened, "" for none
  } cases[] = {
      {kGerman, Qt::Key_D, "", kPagePatient, u("message Keine druckbaren Daten verfügbar!")},  // not Tren&d
      {kGerman, Qt::Key_U, "", kPagePatient, "save Pulvitra Daten|*.pul"},  // Speichern &unter, not Dat&um
      {kGerman, Qt::Key_F, "", kPagePatient, "open Pulvitra Daten|*.pul|Alle Dateien|*.*"},
      {kGerman, Qt::Key_K, "Edit4", kPagePatient, ""},  // &Klinik, not the &Kordamat tab
      {kGerman, Qt::Key_C, "Edit1", kPagePatient, ""},  // Na&chname, above Geschle&cht
      {kGerman, Qt::Key_L, "SpinEdit4", kPagePatient, ""},
      {kGerman, Qt::Key_H, "", kPagePatient, "help 7"},
      {kGerman, Qt::Key_S, "", kPagePatient, ""},  // &Speichern is off and keeps its letter
      {kGerman, Qt::Key_M, "", kPageHistogram, ""},
      {kEnglish, Qt::Key_O, "", kPagePatient, "open Pulvitra data|*.pul|all files|*.*"},  // not Z&oom
      {kEnglish, Qt::Key_V, "", kPagePatient, "save Pulvitra data|*.pul"},  // Sa&ve as, not O&verview
      {kEnglish, Qt::Key_D, "MaskEdit1", kPagePatient, ""},  // &Date, not Tren&d
      {kEnglish, Qt::Key_C, "Edit4", kPagePatient, ""},
      {kEnglish, Qt::Key_E, "Edit1", kPagePatient, ""},
      {kEnglish, Qt::Key_P, "", kPagePatient, "help 7"},  // Hel&p
      {kEnglish, Qt::Key_R, "", kPagePatient, "message No printable data available!"},
      {kEnglish, Qt::Key_Z, "", kPageLorenz, ""},
  };
  std::uint8_t language = 0;
  for (const Case& c : cases) {
    if (c.language != language) start(language = c.language);
    window->TabbedNotebook1->setCurrentIndex(kPagePatient);
    window->TabbedNotebook1->tabBar()->setFocus();
    dialogs.calls.clear();
    press(c.key, Qt::AltModifier);
    const std::string row = (language == kGerman ? "Alt+" : "English Alt+") + QKeySequence(c.key).toString().toStdString();
    EXPECT_EQ(window->TabbedNotebook1->currentIndex(), c.page) << row;
    EXPECT_EQ(calls().join(" / ").toStdString(), c.call.toStdString()) << row;
    if (*c.focus) EXPECT_EQ(focus_name().toStdString(), c.focus) << row;
  }
}

}  // namespace
