// How a dialogue with the recorder ended, as far as the user is told: the dialogue hands the
// notice to its host, and the host (the window, the command line) words and shows it. The
// wording is the one message box every host shows for it.
#pragma once

#include <QString>

#include "shell/dialogs.h"
#include "shell/language.h"

namespace pulvitra {

enum class DialogueNotice {
  DeviceAnswered,   // the device test: the recorder answered the identification
  DeviceSilent,     // the device or rate test: no or a wrong identification
  UploadNoDevice,   // the upload: no or a wrong identification
  UploadCommError,  // the upload: a line error or a failing port during the transfer
  UploadStopped,    // the upload: the user stopped it
  UploadLinkLost,   // the upload: a block did not come in time
  UploadComplete,   // the upload: all blocks arrived
};

struct NoticeMessage {
  DlgIcon icon;
  DlgButtons buttons;
  QString caption;
  QString text;
};

// The message box of a notice in that language.
NoticeMessage notice_message(DialogueNotice notice, Language language);

}  // namespace pulvitra
