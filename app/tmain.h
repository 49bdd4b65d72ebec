// The main window: the notebook with its seven pages, the one recording, and the frame
// around the pages (creation order, help, background, closing). Each page group has its own
// controller: PatientPage (page 0), DevicePage (page 1), ViewPages (pages 2 to 6).
// It is the link's host: the control lock around a dialogue with the recorder spans the
// patient page and the device page, so it lives here.
#pragma once

#include <QString>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "shell/settings.h"
#include "device/link_host.h"
#include "recording/decoder.h"
#include "recording/tekg.h"
#include "reports/print_job.h"

class QMenu;
class QAction;
class QPushButton;

namespace pulvitra {

class PatientPage;
class DevicePage;
class ViewPages;
class TSelPrinter;
class TAssi;

inline constexpr int kPagePatient = 0;
inline constexpr int kPageDevice = 1;
inline constexpr int kPageOverview = 2;
inline constexpr int kPageZoom = 3;
inline constexpr int kPageHistogram = 4;
inline constexpr int kPageTrend = 5;
inline constexpr int kPageLorenz = 6;

class TMain : public QWidget, public LinkHost {
  Q_OBJECT
 public:
  explicit TMain(Settings& settings, QWidget* parent = nullptr);
  ~TMain() override;

  TEKG ekg;
  DecoderState decoder;  // carried from one decode of ekg to the next
  Settings& settings;
  QString port_name = QStringLiteral("xxxx");
  bool data_changed = false;

  QTabWidget* TabbedNotebook1 = nullptr;
  QTimer* Timer1 = nullptr;  // wait timer of the link, 50 ms, started by the start sequence
  QTimer* Timer2 = nullptr;  // keeps the focus on the overview scroll bar
  QMenu* PopupMenu1 = nullptr;
  QMenu* PopupMenu2 = nullptr;

  PatientPage* patient = nullptr;
  DevicePage* device = nullptr;
  ViewPages* views = nullptr;
  TSelPrinter* SelPrinter = nullptr;  // the report choice, a window of its own
  TAssi* WizardForm = nullptr;        // the wizard, once it exists (it registers itself)
  // Which reports the next print job prints; kept for the life of the program.
  ReportFlags ReportSelection{};

  QWidget* page(int index) const { return TabbedNotebook1->widget(index); }
  template <typename T>
  T* control(const char* name) const { return findChild<T*>(QLatin1String(name)); }

  // Help: the context number of a control (0 = none), as the context menu uses it.
  static int help_context(const QString& control_name);
  void ButtonContextPopup(QWidget* control);
  void Help1Click();
  void P2C2Click();
  void P2C1Click();  // print the report of the view page shown
  void Button5Click();
  void Button4Click();     // online mode: only says it is not supported
  void Button10Click();    // Exit
  void help_of_page();     // F1: the patient page's Help, the upload's topic, a view's topic
  // The pop-up menu of the view page shown, at its image, as the keyboard opens it; false on
  // the patient and device pages.
  bool show_view_menu();
  void CheckBox1Click();   // background picture
  void Timer2Timer();

  // The control lock around every dialogue with the recorder: ComPortOpen disables what
  // would start another dialogue or replace the recording and makes Button3 the stop
  // button; ComPortClose returns the window to its idle state.
  void ComPortOpen();
  void ComPortClose();

  // LinkHost: the lock, the general error report, a dialogue's end as a message box, and
  // the wait timer's tick.
  void lock() override { ComPortOpen(); }
  void unlock() override { ComPortClose(); }
  void report(const QString& text) override;
  void notify(DialogueNotice notice) override;
  void tick() override { Timer2Timer(); }

  // Called with the checked state of the background box; the start window acts on it.
  std::function<void(bool)> on_background_changed;
  // Called once the main window has closed; the program then terminates.
  std::function<void()> on_closed;

  int help_topic = 0;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enabled again (after the start, the wizard, the report choice) with nothing focused: the
  // tabs take the focus, so that the keyboard can go on from there.
  void changeEvent(QEvent* event) override;
  // The notebook fills the window, and the view pages grow with it.
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void FormCreate();
  bool FormCloseQuery();  // the discard question when data is unsaved, then "Close ?"
  void FormClose();
  void restore_window_geometry();  // from the settings
  void keep_window_geometry();     // into the settings, written at exit
  void fit_pages();
  void build_notebook();
  void attach_context_menus();
  // Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S and Ctrl+P click the patient page's buttons, so
  // they ask and refuse exactly as the buttons do; F1 and Shift+F10 (the menu key's twin).
  void add_standard_keys();
  void find_file_buttons();
  // The controls the lock disables, in their order on the pages.
  std::vector<QWidget*> controls_locked_by_link() const;

  bool close_confirmed_ = false;  // the user said yes; the link is winding down
  // New, Open, Save, Save as, Print and the wizard of the patient page.
  QPushButton* Button1 = nullptr;
  QPushButton* Button6 = nullptr;
  QPushButton* Button7 = nullptr;
  QPushButton* Button8 = nullptr;
  QPushButton* Button9 = nullptr;
  QPushButton* Button2 = nullptr;
};

}  // namespace pulvitra
