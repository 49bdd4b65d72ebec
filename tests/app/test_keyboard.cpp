// The main window with the keyboard alone: the underlined letters of the patient page in both
// languages, the standard keys, and the menu key on the views.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/focus_style.h"
#include "app/tmain.h"
#include "shell/language.h"
#include "tests/support/main_window_harness.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A main window shown and active, in a program folder of its own.
struct KeyboardTest : ::testing::Test, MainWindowInOwnFolder {
  void start_shown(std::uint8_t language) {
    start(language);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dialogs.calls.clear();
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
    if (c.language != language) start_shown(language = c.language);
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

// The keys click the buttons: the same questions, and nothing where the button is off.
TEST_F(KeyboardTest, standard_keys_act_as_the_buttons_from_any_page) {
  start_shown(kGerman);
  struct Case {
    QKeyCombination key;
    int page;
    bool unsaved;
    QString call;
  } cases[] = {
      {Qt::CTRL | Qt::Key_O, kPageTrend, false, "open Pulvitra Daten|*.pul|Alle Dateien|*.*"},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_S, kPageDevice, false, "save Pulvitra Daten|*.pul"},
      {Qt::CTRL | Qt::Key_S, kPagePatient, true, ""},  // no file yet: Save is off
      {Qt::CTRL | Qt::Key_N, kPageZoom, true, "message " + table_text(QStringLiteral("txt_discard_question"))},
      {Qt::CTRL | Qt::Key_P, kPageLorenz, false, u("message Keine druckbaren Daten verfügbar!")},
      {Qt::Key_F1, kPagePatient, false, "help 7"},
      {Qt::Key_F1, kPageDevice, false, "help 4"},
      {Qt::Key_F1, kPageTrend, false, "help 10"},
  };
  for (const Case& c : cases) {
    window->TabbedNotebook1->setCurrentIndex(c.page);
    window->data_changed = c.unsaved;
    dialogs.calls.clear();
    press(c.key.key(), c.key.keyboardModifiers());
    EXPECT_EQ(calls().join(" / ").toStdString(), c.call.toStdString());
  }
  // Locked for a transfer, or disabled behind another window: the keys do nothing.
  window->data_changed = false;
  dialogs.calls.clear();
  window->ComPortOpen();
  press(Qt::Key_O, Qt::ControlModifier);
  window->ComPortClose();
  window->setEnabled(false);
  press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(calls().join(" / ").toStdString(), "");
}

// Shown disabled at the start and enabled later, or enabled again behind the wizard or the
// report choice: the tabs have the focus, so Ctrl+Tab and Tab go on from there.
TEST_F(KeyboardTest, the_window_enabled_again_has_its_tabs_focused) {
  start_shown(kGerman);
  for (auto leave : {std::function<void()>([&] { window->setEnabled(true); }),
                     std::function<void()>([&] { window->setEnabled(true); window->setFocus(); })}) {
    window->TabbedNotebook1->setCurrentIndex(kPagePatient);
    window->setEnabled(false);
    leave();
    EXPECT_EQ(QApplication::focusWidget(), window->TabbedNotebook1->tabBar());
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(window->TabbedNotebook1->currentIndex(), kPageDevice);
  }
}

// On a view page the menu key (and Shift+F10) opens the view's menu wherever the focus is
// on that page; elsewhere the control's own menu.
TEST_F(KeyboardTest, the_menu_key_opens_the_menu_of_the_view_shown) {
  start_shown(kEnglish);
  for (int page = kPagePatient; page <= kPageLorenz; ++page) {
    for (bool menu_key : {true, false}) {
      window->TabbedNotebook1->setCurrentIndex(page);
      if (page == kPagePatient) window->control<QWidget>("Edit1")->setFocus();
      QWidget* focus = QApplication::focusWidget();
      ASSERT_TRUE(focus);
      if (menu_key) {  // what the system sends for the menu key
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2), focus->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(focus, &request);
      } else {
        QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
      }
      QMenu* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_TRUE(shown) << page;
      QStringList items;
      for (QAction* a : shown->actions()) items << a->text();
      EXPECT_EQ(items, page < kPageOverview ? QStringList{"Help"} : QStringList({"Print", "Export...", "Help"}))
          << page << (menu_key ? " menu key" : " Shift+F10");
      shown->hide();
    }
  }
}

// The focus must be seen at a glance: a frame in the highlight colour, not a faint tint.
TEST(FocusFrame, a_focused_button_and_check_box_show_a_frame_in_the_highlight_colour) {
  FocusFrameStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
  QWidget window;
  window.resize(200, 80);
  QPushButton button(QStringLiteral("&Neu"), &window);
  button.setGeometry(8, 8, 120, 25);
  QCheckBox box(QStringLiteral("Hintergrund"), &window);
  box.setGeometry(8, 40, 120, 21);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  for (QWidget* control : std::initializer_list<QWidget*>{&button, &box}) {
    control->setStyle(&style);
    auto frame_pixels = [&] {
      const QImage image = control->grab().toImage();
      const QRgb frame = FocusFrameStyle::frame_colour(control->palette()).rgb();
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == frame;
      return n;
    };
    control->clearFocus();
    EXPECT_EQ(frame_pixels(), 0) << control->metaObject()->className();
    control->setFocus(Qt::TabFocusReason);
    EXPECT_GT(frame_pixels(), 100) << control->metaObject()->className();
  }
}

}  // namespace
