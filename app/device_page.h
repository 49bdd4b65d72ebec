// Page 1: the link to the recorder — port and rate selectors, the upload of stored data, the
// online-mode button, the communication tests and the log ComStat. Owns the port pul_com and
// the link; the upload (UploadController) works through link().
#pragma once

#include <QComboBox>
#include <QCoroTask>
#include <QFileSystemWatcher>
#include <QObject>
#include <functional>
#include <map>
#include <memory>

#include "device/comm_tests.h"
#include "device/link.h"
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
  bool upload_running() const { return is_upload_running && is_upload_running(); }
  // Set by the upload: whether a transfer is in progress.
  std::function<bool()> is_upload_running;

  Link& link() { return *link_; }
  TComPortN& pul_com() { return *pul_com_; }
  BaudSelector& baud_selector() { return baud_selector_; }

  // The control lock around every dialogue with the recorder.
  void ComPortOpen();
  void ComPortClose();

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
  void set_enabled(const char* name, bool enabled);

  TMain& main_;
  QComboBox* CB_MaxBaud = nullptr;
  ComboBaudSelector baud_selector_{CB_MaxBaud};
  TComPortN* pul_com_ = nullptr;
  Link* link_ = nullptr;
  std::unique_ptr<CommTests> comm_tests_;
  QFileSystemWatcher device_watcher_;
  bool looking_for_ports_ = false;
};

}  // namespace pulvitra
