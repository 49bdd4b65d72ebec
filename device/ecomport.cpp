#include "device/ecomport.h"

#include "shell/system_error.h"

namespace pulvitra {

namespace {

// The step that failed, then what the system said: "WriteFile function failed (Input/output
// error, errno 5)".
std::string message_of(int code, int system_error) {
  const QString text = EComPort::code_text(code) + QStringLiteral(" (%1)").arg(system_error_text(system_error));
  return text.toStdString();
}

}  // namespace

EComPort::EComPort(int code, int system_error)
    : std::runtime_error(message_of(code, system_error)), code_(code), system_error_(system_error) {}

QString EComPort::code_text(int code) {
  switch (code) {
    case kErrOpen: return QStringLiteral("Unable to open com port");
    case kErrWrite: return QStringLiteral("WriteFile function failed");
    case kErrRead: return QStringLiteral("ReadFile function failed");
    case kErrPurge: return QStringLiteral("PurgeComm function failed");
    case kErrAsyncStatus: return QStringLiteral("Unable to get async status");
    case kErrSetState: return QStringLiteral("SetCommState function failed");
    case kErrSetTimeouts: return QStringLiteral("SetCommTimeouts failed");
    case kErrSetup: return QStringLiteral("SetupComm function failed");
    case kErrClearError: return QStringLiteral("ClearCommError function failed");
    case kErrModemStatus: return QStringLiteral("GetCommModemStatus function failed");
    case kErrEscape: return QStringLiteral("EscapeCommFunction function failed");
    default: return QString();
  }
}

}  // namespace pulvitra
