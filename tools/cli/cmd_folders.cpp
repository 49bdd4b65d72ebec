// pulvitra-cli folders: where this installation keeps the settings, reads its help and starts
// its file dialogs, as the program decides it for the user who runs the command.
#include <cstdio>

#include "shell/program_folder.h"
#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/options.h"

namespace pulvitra::cli {

namespace {

int run_folders(const QStringList& args) {
  QString error;
  const auto line = parse_command_line(QStringLiteral("folders"), args, {}, 0, error);
  if (!line) return usage_error(error);
  const ProgramFolders folders = program_folders();
  JsonWriter json;
  json.begin_object();
  json.key("portable").value(folders.portable);
  json.key("settings").value(folders.settings_file);
  json.key("help").value(folders.help_source);
  json.key("help_copy").value(help_copy_file(folders));
  json.key("documents").value(folders.documents);
  json.end_object();
  const std::string text = json.finish();
  write_standard_output(text);
  return 0;
}

const Command kFolders("folders", "",
                       "Prints where the settings file, the help files and the dialogs' start "
                       "folder are for this user, as JSON",
                       run_folders);

}  // namespace

}  // namespace pulvitra::cli
