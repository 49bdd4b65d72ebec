// The error of the serial port: a code naming the failing step, the system's error number,
// and the text the user sees in the general error report: the step's text, then the system's
// text and number in brackets.
#pragma once

#include <QString>
#include <stdexcept>

namespace pulvitra {

inline constexpr int kErrOpen = 1;
inline constexpr int kErrWrite = 2;
inline constexpr int kErrRead = 3;
inline constexpr int kErrPurge = 5;
inline constexpr int kErrAsyncStatus = 6;
inline constexpr int kErrSetState = 7;
inline constexpr int kErrSetTimeouts = 8;
inline constexpr int kErrSetup = 9;
inline constexpr int kErrClearError = 10;
inline constexpr int kErrModemStatus = 11;
inline constexpr int kErrEscape = 12;

class EComPort : public std::runtime_error {
 public:
  EComPort(int code, int system_error);

  int code() const { return code_; }
  int system_error() const { return system_error_; }

  // The text of a code without the system error number ("" for an unknown code).
  static QString code_text(int code);

 private:
  int code_;
  int system_error_;
};

}  // namespace pulvitra
