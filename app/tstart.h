// The start window: the splash picture and the choice of the user-interface language. It
// reads the settings first, settles the language by a click or after about two seconds,
// copies the help file of that language into place and then drives the start ticks that
// reveal the main window (and the wizard). It stays as the full-screen background picture
// when that setting is on; its destruction writes the settings.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "shell/settings.h"

namespace pulvitra {

class TMain;

class TStart : public QWidget {
  Q_OBJECT
 public:
  explicit TStart(Settings& settings, QWidget* parent = nullptr);

  Settings& settings;
  QLabel* ll1 = nullptr;
  QLabel* ll2 = nullptr;
  QWidget* Image1 = nullptr;
  QTimer* Timer1 = nullptr;  // start ticks
  QTimer* Timer2 = nullptr;  // countdown of the language choice

  bool lang_chosen = false;
  bool forms_created = false;
  int choice_countdown = 20;
  int start_ticks = 0;

  // The main window that the start ticks reveal; set before forms_created.
  TMain* main_window = nullptr;
  // Shows the wizard at tick 5 when Assist is on; without one (nullptr) the main window is
  // enabled instead.
  std::function<void()> show_wizard;
  // The file named on the command line (empty: none). It is opened through Open's path once
  // the start sequence has ended, so a double click on a recording file shows it.
  QString file_argument;

  void Timer1Timer();
  void Timer2Timer();
  void lang_goon();
  void ll1Click();
  void ll2Click();
  void ll1MouseMove();
  void ll2MouseMove();
  void Image1MouseMove();
  // The keyboard: D or 1 chooses deutsch, E or 2 english, as their clicks do; the arrow keys
  // move the offer to the other language, which then settles like a hovered one; Return or
  // Space takes the language offered.
  void key_choice(int key);
  // The background check box of the main window: hide, or maximize behind the main window.
  void set_background(bool on);

  static bool is_highlighted(const QLabel* label);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void highlight(QLabel* label, bool on);
  void fill_screen();
  void open_file_argument();
  void show_settings_note();
  void centre_on_screen();
  static bool copy_help_file(const QString& source, const QString& target);

  QLabel* pressed_label_ = nullptr;  // the label a left press began on
};

// The picture of the start window (832 x 624): an ECG trace on a teal ground.
QImage start_picture();

}  // namespace pulvitra
