// Page 1: the link to the recorder — port and rate selectors, the upload of stored data, the
// online-mode button, the communication tests and the log ComStat. Owns the port pul_com and
// the link; the upload (UploadController) works through link(). The main window is the
// link's host: it holds the control lock that spans the pages.
#pragma once

#include <QComboBox>
#include <QCoroTask>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QFileSystemWatcher>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "device/comm_tests.h"
#include "device/link.h"
#include "device/port_names.h"
#include "device/serial_port.h"

class QWidget;

namespace pulvitra {

class TMain;

// CB_MaxBaud as the link's rate selector.
class ComboBaudSelector final : public BaudSelector {
 public:
  explicit ComboBaudSelector(QComboBox*& combo) : combo_(combo) {}
  void clear() override;
  void add(const QString& item) override;
  int count() const override;
  QString item(int index) const override;
  QString text() const override;
  void set_text(const QString& text) override;
  void select(int index) override;

 private:
  QComboBox*& combo_;
};

// CB_Comport: looks for ports again each time its list is opened.
class PortComboBox final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> before_popup;
  void showPopup() override {
    if (before_popup) before_popup();
    QComboBox::showPopup();
  }
};

class DevicePage : public QObject {
  Q_OBJECT
 public:
  DevicePage(TMain& main, QWidget* page);
  ~DevicePage() override;

  void init_controls();         // creation steps 2 and 3
  void find_ports_and_rates();  // creation steps 10 to 14
  void close_port();            // the main window closes

  Link& link() { return *link_; }
  TComPortN& pul_com() { return *pul_com_; }
  BaudSelector& baud_selector() { return baud_selector_; }

  // The page's controls; the main window's control lock reaches them here.
  PortComboBox* CB_Comport = nullptr;
  QComboBox* CB_MaxBaud = nullptr;
  QPushButton* Test_button = nullptr;
  QPushButton* Max_Baud_button = nullptr;
  QPushButton* RAM_Test = nullptr;
  QPushButton* Button3 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* Button4 = nullptr;
  QLabel* Panel6 = nullptr;
  QPlainTextEdit* ComStat = nullptr;

  // The handlers behind the page's controls; tests run them to their end with QCoro::waitFor.
  QCoro::Task<> Test_buttonClick();
  QCoro::Task<> Max_Baud_buttonClick();
  QCoro::Task<> CB_ComportChange(const QString& text);

  // Ports that come and go: lists the ports there are now; a window that had none takes the
  // first that appeared, with its rates, and unlocks what needs a port. Also runs when a
  // device is added and when CB_Comport's list is opened.
  QCoro::Task<> look_for_ports();

 private:
  void build(QWidget* page);
  void connect_controls();
  void watch_for_devices();
  QCoro::Task<> find_ports_and_rates_steps();
  std::map<int, bool> existing_ports() const;
  void list_ports(const std::map<int, bool>& exists);
  QCoro::Task<> probe_rates();
  void lock_without_port(bool locked);
  // The controls that need a port; a window without one keeps them disabled.
  std::vector<QWidget*> controls_needing_a_port() const;

  TMain& main_;
  ComboBaudSelector baud_selector_{CB_MaxBaud};
  PortMap port_map_;
  TComPortN* pul_com_ = nullptr;
  Link* link_ = nullptr;
  std::unique_ptr<CommTests> comm_tests_;
  QFileSystemWatcher device_watcher_;
  bool looking_for_ports_ = false;
};

}  // namespace pulvitra
