// Program start: the start window settles the language, then the other windows are created
// in that language and the message loop runs until the main window has closed.
#include <QFileInfo>
#include <QStyleFactory>
#include <cstdio>
#include <string_view>

#include "shell/language.h"
#include "shell/native_name.h"
#include "shell/application.h"
#include "shell/version.h"
#include "shell/settings.h"
#include "app/error_report.h"
#include "app/focus_style.h"
#include "app/qt_dialogs.h"
#include "app/tassi.h"
#include "app/tmain.h"
#include "app/tstart.h"
#include "views/canvas.h"

using namespace pulvitra;

namespace {

// The recording named on the command line ("pulvitra FILE.pul", as a file manager starts it),
// made absolute so the caption shows where it lies; empty without one. Qt has taken its own
// options out of the arguments already. Read from the bytes, so that a name that is no UTF-8
// still reaches its file.
QString file_argument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray argument(argv[i]);
    if (argument.isEmpty()) continue;
    const QString name = readable_name(argument);
    return is_stand_in(name) ? name : QFileInfo(name).absoluteFilePath();
  }
  return QString();
}

const char kUsage[] =
    "Usage: pulvitra [FILE.pul]\n"
    "The evaluation program for the Kordamat ECG recorder: reads the recorder over a serial port,\n"
    "shows the ECG, the heart-rate histogram, trend and Lorenz diagram, and prints the reports.\n"
    "FILE.pul is opened once the start window has settled the language.\n\n"
    "  --help     this text\n"
    "  --version  the program's version\n\n"
    "The settings file Pulvitra.ini and the help files are beside the program (a portable folder)\n"
    "or, for an installed program, in $XDG_CONFIG_HOME/pulvitra/ and share/pulvitra/;\n"
    "PULVITRA_HOME names another folder for both. See pulvitra(1) and pulvitra-cli(1).\n";

// --help and --version answer on the terminal and end at once, before anything needs a display.
bool answered_on_terminal(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (argument == "--version") {
      std::printf("pulvitra %s\n", PULVITRA_VERSION);
      return true;
    }
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (answered_on_terminal(argc, argv)) return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  PulvitraApplication app(argc, argv);
  app.setApplicationName(QLatin1String(kApplicationTitle));
  app.setStyle(new FocusFrameStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
  app.setFont(window_font());
  app.setQuitOnLastWindowClosed(false);

  QtDialogs qt_dialogs;
  set_dialogs(&qt_dialogs);

  Settings settings = read_settings(settings_path());
  auto* start = new TStart(settings);
  start->show();
  while (!start->lang_chosen) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

  TMain main_window(settings);
  start->main_window = &main_window;
  main_window.on_background_changed = [start](bool on) { start->set_background(on); };
  main_window.on_closed = [&app] { app.quit(); };
  TAssi wizard(main_window);
  start->show_wizard = [&wizard] { wizard.show_wizard(); };
  start->file_argument = file_argument(argc, argv);
  start->forms_created = true;

  int rc = app.exec();
  const QString error = write_settings(settings_path(), settings, main_window.port_name, cur_lang);
  if (!error.isEmpty()) show_error_report(error);
  delete start;
  set_dialogs(nullptr);
  return rc;
}
