// The main window: the notebook with its seven pages, the one recording, and the frame
// around the pages (creation order, help, background, closing). Each page group has its own
// controller: PatientPage (page 0), DevicePage (page 1), ViewPages (pages 2 to 6).
#pragma once

#include <QString>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "shell/settings.h"
#include "recording/tekg.h"

class QMenu;
class QAction;

namespace pulvitra {

class PatientPage;
class DevicePage;
class ViewPages;
class TSelPrinter;

inline constexpr int kPagePatient = 0;
inline constexpr int kPageDevice = 1;
inline constexpr int kPageOverview = 2;
inline constexpr int kPageZoom = 3;
inline constexpr int kPageHistogram = 4;
inline constexpr int kPageTrend = 5;
inline constexpr int kPageLorenz = 6;

class TMain : public QWidget {
  Q_OBJECT
 public:
  explicit TMain(Settings& settings, QWidget* parent = nullptr);
  ~TMain() override;

  TEKG ekg;
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
  void CheckBox1Click();   // background picture
  void Timer2Timer();

  // Called with the checked state of the background box; the start window acts on it.
  std::function<void(bool)> on_background_changed;
  // Called once the main window has closed; the program then terminates.
  std::function<void()> on_closed;

  int help_topic = 0;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();
  void build_notebook();
  void attach_context_menus();

  bool close_confirmed_ = false;  // the user said yes; the link is winding down
};

}  // namespace pulvitra
