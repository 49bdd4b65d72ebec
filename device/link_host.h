// What a dialogue with the recorder needs from the window around it: the control lock that
// keeps a second dialogue from being started, the one way an error is shown, how the dialogue
// ended (the host words and shows it), and the wait timer's tick. The main window implements it; without a window the headless host stands in,
// so an error always reaches someone.
#pragma once

#include <QString>

#include "device/dialogue_notice.h"

namespace pulvitra {

class LinkHost {
 public:
  virtual ~LinkHost() = default;
  // A dialogue starts: lock the controls that would start another one.
  virtual void lock() = 0;
  // The dialogue has ended: the window is idle again.
  virtual void unlock() = 0;
  // An error that ended a dialogue or a handler (a failing port).
  virtual void report(const QString& text) = 0;
  // How a dialogue ended, while it still holds the controls: the host tells the user and
  // returns once the user has taken note.
  virtual void notify(DialogueNotice notice) = 0;
  // Every tick of the link's wait timer.
  virtual void tick() {}
};

// No controls to lock; errors and notices go to the program's warning output.
class HeadlessLinkHost final : public LinkHost {
 public:
  void lock() override {}
  void unlock() override {}
  void report(const QString& text) override;
  void notify(DialogueNotice notice) override;
};

}  // namespace pulvitra
