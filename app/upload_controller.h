// Button3 of the device page and the upload behind it: a click starts the upload or asks the
// running one to stop; the progress bar, the view redraw and the turn to the overview follow
// it (the controller is the upload's host). A close of the main window mid-upload is the
// main window's (it asks, then winds the link down).
// The wizard starts the upload through the same Button3Click (find the controller with
// main.findChild<UploadController*>()).
#pragma once

#include <QCoroTask>
#include <QObject>
#include <memory>

#include "device/upload.h"

namespace pulvitra {

class TMain;
class DevicePage;

class UploadController : public QObject, public UploadHost {
  Q_OBJECT
 public:
  // Lives as a child of the device page and connects Button3 itself.
  UploadController(TMain& main, DevicePage& page);
  ~UploadController() override;

  Upload& upload() { return *upload_; }
  QCoro::Task<> Button3Click();

  // UploadHost: ProgressBar1, the redraw of every view, the overview page.
  void progress(int position) override;
  void decoded() override;
  void succeeded() override;

 private:
  TMain& main_;
  DevicePage& page_;
  std::unique_ptr<Upload> upload_;
};

}  // namespace pulvitra
