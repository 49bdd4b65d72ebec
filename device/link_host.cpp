#include "device/link_host.h"

#include <QDebug>

namespace pulvitra {

void HeadlessLinkHost::report(const QString& text) { qWarning().noquote() << text; }

void HeadlessLinkHost::notify(DialogueNotice notice) {
  const NoticeMessage message = notice_message(notice, cur_lang);
  qWarning().noquote() << message.caption + QStringLiteral(": ") + message.text;
}

}  // namespace pulvitra
