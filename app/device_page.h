// Page 1: the link to the recorder — port and rate selectors, the upload of stored data, the
// online-mode button, the communication tests and the log ComStat.
#pragma once

#include <QObject>

class QWidget;

namespace pulvitra {

class TMain;

class DevicePage : public QObject {
  Q_OBJECT
 public:
  DevicePage(TMain& main, QWidget* page);

  void init_controls();         // creation steps 2 and 3
  void find_ports_and_rates();  // creation steps 10 to 14
  void close_port();            // the main window closes
  bool upload_running() const { return false; }

 private:
  void build(QWidget* page);
  TMain& main_;
};

}  // namespace pulvitra
