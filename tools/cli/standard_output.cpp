#include "tools/cli/standard_output.h"

#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "shell/language.h"

namespace pulvitra::cli {

namespace {

int first_failure = 0;  // errno of the first write that failed

}  // namespace

void write_standard_output(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() && first_failure == 0)
    first_failure = errno != 0 ? errno : EIO;
}

int checked_standard_output(int exit_code) {
  if (std::fflush(stdout) != 0 && first_failure == 0) first_failure = errno;
  if (first_failure == 0 && std::ferror(stdout) != 0) first_failure = EIO;
  if (first_failure == 0) return exit_code;
  std::fprintf(stderr, "pulvitra-cli: %s\n",
               lang_text(QStringLiteral("die Standardausgabe lässt sich nicht schreiben: %1"),
                         QStringLiteral("cannot write standard output: %1"))
                   .arg(QString::fromLocal8Bit(std::strerror(first_failure)))
                   .toLocal8Bit()
                   .constData());
  return exit_code == 0 ? 1 : exit_code;
}

}  // namespace pulvitra::cli
