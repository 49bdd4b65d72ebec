#include "device/dialogue_notice.h"

#include "shell/application.h"

namespace pulvitra {

namespace {

// The upload's exclamation boxes, worded by the language table.
NoticeMessage table_box(Language language, const char* caption_key, const char* text_key) {
  return {DlgIcon::Exclamation, DlgButtons::Ok, table_text(language, QLatin1String(caption_key)),
          table_text(language, QLatin1String(text_key))};
}

// The boxes titled with the program's name.
NoticeMessage titled_box(DlgIcon icon, DlgButtons buttons, const QString& text) {
  return {icon, buttons, QLatin1String(kApplicationTitle), text};
}

}  // namespace

NoticeMessage notice_message(DialogueNotice notice, Language language) {
  switch (notice) {
    case DialogueNotice::DeviceAnswered:
      return titled_box(DlgIcon::Information, DlgButtons::Ok,
                        lang_text(language, QStringLiteral("Kommunikation - Kordamat erfolgreich !"),
                                  QStringLiteral("communication - Kordamat successful !")));
    case DialogueNotice::DeviceSilent:
      return titled_box(DlgIcon::Error, DlgButtons::Cancel,
                        lang_text(language, QStringLiteral("Kommunikation - Kordamat Fehler !"),
                                  QStringLiteral("communication - Kordamat Error !")));
    case DialogueNotice::UploadCommError:
      return titled_box(DlgIcon::Warning, DlgButtons::Cancel,
                        lang_text(language, QStringLiteral("Fehler Kommunikation"), QStringLiteral("error communication")));
    case DialogueNotice::UploadNoDevice: return table_box(language, "txt_connection_error", "txt_no_device");
    case DialogueNotice::UploadStopped: return table_box(language, "txt_upload_failed_caption", "txt_upload_failed");
    case DialogueNotice::UploadLinkLost: return table_box(language, "txt_connection_error", "txt_link_lost");
    case DialogueNotice::UploadComplete: return table_box(language, "txt_upload_ok_caption", "txt_upload_ok");
  }
  return {};
}

}  // namespace pulvitra
