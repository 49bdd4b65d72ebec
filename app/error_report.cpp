#include "app/error_report.h"

#include <exception>

#include "app/core/dialogs.h"
#include "app/core/program_folder.h"

namespace pulvitra {

QString error_report_text(const QString& text) {
  if (!text.isEmpty() && text.back().unicode() > u'.') return text + QLatin1Char('.');
  return text;
}

void show_error_report(const QString& text) {
  dialogs().message(DlgIcon::Error, DlgButtons::Ok, QLatin1String(kApplicationTitle), error_report_text(text));
}

PulvitraApplication::PulvitraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool PulvitraApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    show_error_report(QString::fromUtf8(e.what()));
  } catch (...) {
    show_error_report(QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace pulvitra
