#include "device/link_host.h"

#include <QDebug>

namespace pulvitra {

void HeadlessLinkHost::report(const QString& text) { qWarning().noquote() << text; }

}  // namespace pulvitra
