// The system's own words for a failure: the text of an errno value, in the system's language,
// with its number, as the program's messages quote it ("Input/output error, errno 5").
#pragma once

#include <QString>
#include <system_error>

namespace pulvitra {

inline QString system_error_text(int error) {
  return QStringLiteral("%1, errno %2").arg(QString::fromLocal8Bit(std::system_category().message(error))).arg(error);
}

}  // namespace pulvitra
