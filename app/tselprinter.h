// The report-choice window: four check boxes for the reports, Cancel and Print. While it is
// up the main window is disabled; Print runs the print job on the ticked reports.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pulvitra {

class TMain;

// Whether the recording can be printed (at least 2 beats); otherwise says so.
bool printable_or_say_so(const TMain& main);

class TSelPrinter : public QWidget {
  Q_OBJECT
 public:
  explicit TSelPrinter(TMain& main);

  // Disables the main window and shows the choice with the current ReportSelection.
  void show_choice();
  void Button1Click();  // cancel
  void Button2Click();  // print
  // The print job on ReportSelection: nothing without a tick, nothing when the print dialog
  // is cancelled.
  void print_job();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void leave();
  void show_selection();
  void apply_english_captions();
  // A box as wide as its text; the window wider by what the widest box needs, its buttons
  // staying at the bottom right. The window's fonts vary from one desktop to the next.
  void fit_box_texts();

  TMain& main_;
  QLabel* Label1 = nullptr;
  QCheckBox* CheckBox[5] = {};  // CheckBox1..CheckBox4 at [1..4]
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
};

}  // namespace pulvitra
