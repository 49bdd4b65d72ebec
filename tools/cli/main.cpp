// pulvitra-cli: the program's headless tools on the same libraries as the window.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "shell/language.h"
#include "shell/native_name.h"
#include "shell/version.h"
#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"

namespace pulvitra::cli {

namespace {

struct Entry {
  const char* usage;
  const char* summary;
  std::function<int(const QStringList&)> run;
  Command::Needs needs;
};

std::map<std::string, Entry>& registry() {
  static std::map<std::string, Entry> commands;
  return commands;
}

void print_help() {
  std::printf("Usage: pulvitra-cli COMMAND [ARGS]\n\nCommands:\n");
  for (const auto& [name, e] : registry()) std::printf("  %s %s\n      %s\n", name.c_str(), e.usage, e.summary);
  std::printf("\nEvery command takes --language de|en for its messages (English when not given).\n");
  std::printf("pulvitra-cli --version prints the version.\n");
}

// Without a session (a script, a service, ssh) the offscreen platform warns that it has no
// runtime folder and makes one itself; that is no news to the user of a command line tool.
QtMessageHandler default_handler = nullptr;

void quiet_about_runtime_folder(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: ")) && message.contains(QLatin1String("XDG_RUNTIME_DIR")))
    return;
  default_handler(type, context, message);
}

// The arguments as the application object would give them, before there is one; a file name
// with bytes that are no UTF-8 becomes a name that still reaches that file.
QStringList arguments_of(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << pulvitra::readable_name(QByteArray(argv[i]));
  return args;
}

std::unique_ptr<QCoreApplication> application_for(Command::Needs needs, int& argc, char** argv) {
  if (needs == Command::kCoreOnly) return std::make_unique<QCoreApplication>(argc, argv);
  // Drawing needs a QGuiApplication; without a display it draws offscreen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  default_handler = qInstallMessageHandler(quiet_about_runtime_folder);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

Command::Command(const char* name, const char* usage, const char* summary,
                 std::function<int(const QStringList&)> run, Needs needs) {
  registry()[name] = Entry{usage, summary, std::move(run), needs};
}

int usage_error(const QString& text) {
  std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData());
  return 2;
}

}  // namespace pulvitra::cli

int main(int argc, char** argv) {
  using namespace pulvitra::cli;
  pulvitra::cur_lang = pulvitra::kEnglish;  // the messages, unless --language says otherwise
  QStringList args = arguments_of(argc, argv);
  if (!args.isEmpty() && args.first() == "--version") {
    std::printf("pulvitra-cli %s\n", PULVITRA_VERSION);
    return checked_standard_output(0);
  }
  if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
    print_help();
    return checked_standard_output(args.isEmpty() ? 2 : 0);
  }
  const std::string name = args.takeFirst().toStdString();
  auto it = registry().find(name);
  if (it == registry().end()) return usage_error(QStringLiteral("unknown command '%1' (see --help)").arg(QString::fromStdString(name)));
  if (args.contains("--help")) {
    std::printf("Usage: pulvitra-cli %s %s\n  %s\n", name.c_str(), it->second.usage, it->second.summary);
    return checked_standard_output(0);
  }
  const auto app = application_for(it->second.needs, argc, argv);
  return checked_standard_output(it->second.run(args));
}
