// Subcommands of pulvitra-cli. Each lives in its own cmd_*.cpp and registers itself with a
// static Command object, so adding one needs no edit elsewhere.
#pragma once

#include <QStringList>
#include <functional>

namespace pulvitra::cli {

struct Command {
  // Whether the command draws: only then does it get a QGuiApplication (offscreen); the
  // others run on a QCoreApplication and need no display plugin at all.
  enum Needs { kCoreOnly, kDraws };
  // name: the subcommand; usage: its argument synopsis; summary: one line for --help.
  // run gets the arguments after the subcommand and returns the exit code.
  Command(const char* name, const char* usage, const char* summary,
          std::function<int(const QStringList& args)> run, Needs needs = kCoreOnly);
};

// Prints "pulvitra-cli: <text>" to standard error and returns 2, for argument errors.
int usage_error(const QString& text);

}  // namespace pulvitra::cli
