// The general error report: an error that no operation handles ends its event handler, the
// user sees its text in a message box, and the program goes on with the next event.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace pulvitra {

// The text as the report shows it: a full stop is appended when the last character has a
// higher code than ".".
QString error_report_text(const QString& text);

// Shows the report (application title as caption, error icon, OK).
void show_error_report(const QString& text);

// Runs an event handler; an exception that escapes it is reported and false returned.
bool run_reporting_errors(const std::function<bool()>& handler);

// The application object: catches what escapes an event handler and reports it.
class PulvitraApplication : public QApplication {
 public:
  PulvitraApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace pulvitra
