// pulvitra-cli info: prints the patient header of a recording file as one JSON object, the
// texts exactly as the program would show them after opening the file.
#include <cstdio>

#include "shell/language.h"
#include "files/header_json.h"
#include "files/recording_file.h"
#include "tools/cli/command.h"

namespace pulvitra::cli {

namespace {

int run_info(const QStringList& args) {
  if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')))
    return usage_error(QStringLiteral("info: give exactly one recording file"));
  cur_lang = kEnglish;  // messages of the tools are for scripts and logs
  const QString& path = args.first();
  const RecordingFile file = read_recording_file(path);
  QString failure;
  switch (file.status) {
    case ReadStatus::Ok:
    case ReadStatus::NotARecording: {
      const QByteArray json = header_json(file.header);
      std::fwrite(json.constData(), 1, json.size(), stdout);
      return 0;
    }
    case ReadStatus::CannotOpen:
      failure = QStringLiteral("cannot open %1: %2").arg(path, file.system_error);
      break;
    case ReadStatus::TooShort:
    case ReadStatus::ReadError:
      // The program refuses such a file as a whole, so there is nothing it would show.
      failure = read_failure_text(file, path);
      break;
  }
  std::fprintf(stderr, "pulvitra-cli: %s\n", failure.toLocal8Bit().constData());
  return 1;
}

const Command kInfo("info", "FILE.pul",
                    "Prints the patient data of the recording file's header as JSON, as the "
                    "program would load it",
                    run_info);

}  // namespace

}  // namespace pulvitra::cli
