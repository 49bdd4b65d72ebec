// pulvitra-cli info: prints the patient header of a recording file as one JSON object, the
// texts exactly as the program would show them after opening the file.
#include <cstdio>

#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/header_json.h"
#include "tools/cli/options.h"
#include "tools/cli/recording_input.h"

namespace pulvitra::cli {

namespace {

int run_info(const QStringList& args) {
  QString error;
  const auto line = parse_command_line(QStringLiteral("info"), args, {}, 1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("info: no recording file given"));
  // A file without the magic still has a header that says so; a cut or unreadable one is
  // refused as a whole, as the program does, so there is nothing it would show.
  const auto input = open_recording(line->files.first(), Accept::kHeader);
  if (!input) return 1;
  const std::string json = header_json(input->file.header);
  write_standard_output(json);
  return 0;
}

const Command kInfo("info", "FILE.pul",
                    "Prints the patient data of the recording file's header as JSON, as the "
                    "program would load it",
                    run_info);

}  // namespace

}  // namespace pulvitra::cli
