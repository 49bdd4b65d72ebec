// pulvitra-cli: the program's headless tools on the same libraries as the window.
#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <string>

#include "tools/cli/command.h"

namespace pulvitra::cli {

namespace {

struct Entry {
  const char* usage;
  const char* summary;
  std::function<int(const QStringList&)> run;
};

std::map<std::string, Entry>& registry() {
  static std::map<std::string, Entry> commands;
  return commands;
}

void print_help() {
  std::printf("Usage: pulvitra-cli COMMAND [ARGS]\n\nCommands:\n");
  for (const auto& [name, e] : registry()) std::printf("  %s %s\n      %s\n", name.c_str(), e.usage, e.summary);
}

}  // namespace

Command::Command(const char* name, const char* usage, const char* summary,
                 std::function<int(const QStringList&)> run) {
  registry()[name] = Entry{usage, summary, std::move(run)};
}

int usage_error(const QString& text) {
  std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData());
  return 2;
}

}  // namespace pulvitra::cli

int main(int argc, char** argv) {
  using namespace pulvitra::cli;
  // Drawing needs a QGuiApplication; without a display it draws offscreen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
    print_help();
    return args.isEmpty() ? 2 : 0;
  }
  const std::string name = args.takeFirst().toStdString();
  auto it = registry().find(name);
  if (it == registry().end()) return usage_error(QStringLiteral("unknown command '%1' (see --help)").arg(QString::fromStdString(name)));
  if (args.contains("--help")) {
    std::printf("Usage: pulvitra-cli %s %s\n  %s\n", name.c_str(), it->second.usage, it->second.summary);
    return 0;
  }
  return it->second.run(args);
}
