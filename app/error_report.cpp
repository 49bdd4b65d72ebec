#include "app/error_report.h"

#include <exception>

#include "shell/dialogs.h"
#include "shell/application.h"

namespace pulvitra {

QString error_report_text(const QString& text) {
  if (!text.isEmpty() && text.back().unicode() > u'.') return text + QLatin1Char('.');
  return text;
}

void show_error_report(const QString& text) {
  dialogs().message(DlgIcon::Error, DlgButtons::Ok, QLatin1String(kApplicationTitle), error_report_text(text));
}

PulvitraApplication::PulvitraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool run_reporting_errors(const std::function<bool()>& handler) {
  try {
    return handler();
  } catch (const std::exception& e) {
    show_error_report(QString::fromUtf8(e.what()));
  } catch (...) {
    show_error_report(QStringLiteral("Unknown error"));
  }
  return false;
}

bool PulvitraApplication::notify(QObject* receiver, QEvent* event) {
  return run_reporting_errors([&] { return QApplication::notify(receiver, event); });
}

}  // namespace pulvitra
