// Hosts for the link and the upload that write down what a window would be told; the link's
// host shows a dialogue's end through the dialogs seam as the window words it.
#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "device/link_host.h"
#include "device/upload.h"
#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra::test {

class LoggingLinkHost final : public LinkHost {
 public:
  void lock() override {
    events << "open";
    locked = true;
  }
  void unlock() override {
    events << "close";
    locked = false;
  }
  void report(const QString& text) override { reports << text; }
  void notify(DialogueNotice notice) override {
    const NoticeMessage box = notice_message(notice, cur_lang);
    dialogs().message(box.icon, box.buttons, box.caption, box.text);
  }

  QStringList events;  // "open" and "close" in their order
  bool locked = false;
  QStringList reports;
};

class LoggingUploadHost final : public UploadHost {
 public:
  void progress(int position) override {
    positions << position;
    if (on_progress) on_progress(position);
  }
  void decoded() override {
    if (on_decoded) on_decoded();
  }
  void succeeded() override {
    if (on_succeeded) on_succeeded();
  }

  QList<int> positions;
  std::function<void(int)> on_progress;
  std::function<void()> on_decoded;
  std::function<void()> on_succeeded;
};

}  // namespace pulvitra::test
