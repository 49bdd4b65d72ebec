// pulvitra-cli export: the recording's beat list (CSV) or its samples and beats as an EDF+
// file, the same files the window's Export writes.
#include <cstdio>

#include "files/export_file.h"
#include "shell/language.h"
#include "tools/cli/command.h"
#include "tools/cli/options.h"
#include "tools/cli/recording_input.h"

namespace pulvitra::cli {

namespace {

constexpr int kLowestLimit = 15;
constexpr int kHighestLimit = 90;

void print_error(const QString& text) { std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData()); }

int run_export(const QStringList& args) {
  int format = -1;  // from the output name's extension unless given
  int limit1 = kLowestLimit;
  int limit2 = kHighestLimit;
  QString out;
  QString error;
  const auto line = parse_command_line(QStringLiteral("export"), args,
                                       {{"--format", 1, one_of({QStringLiteral("csv"), QStringLiteral("edf")}, format)},
                                        {"--limits", 2, whole_numbers(kLowestLimit, kHighestLimit, limit1, limit2)},
                                        {"-o", 1, text_into(out)}},
                                       1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("export: no recording file given"));
  if (out.isEmpty()) return usage_error(QStringLiteral("export: no output file given (-o OUT.csv or -o OUT.edf)"));

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  const DecodeResult decoded = decode(*input);
  fill_language_table();
  if (input->ekg->BeatCount < 2) {
    print_error(table_text(QStringLiteral("txt_no_print_data")));
    return 1;
  }
  const ExportFormat chosen = format < 0   ? export_format_for(out)
                              : format == 1 ? ExportFormat::kEdf
                                            : ExportFormat::kBeatList;
  const ExportTimeline timeline = export_timeline(*input->ekg, input->decoder.FixedInterval, decoded);
  const WriteResult written = write_export(out, chosen, timeline, input->file.header.fields, limit1, limit2);
  if (!written.ok) {
    print_error(lang_text(QStringLiteral("%1 lässt sich nicht schreiben: %2"), QStringLiteral("cannot write %1: %2"))
                    .arg(out, written.system_error));
    return 1;
  }
  return 0;
}

const Command kExport("export", "FILE.pul [--format csv|edf] [--limits P1 P2] -o OUT",
                      "Writes the beat list as CSV (one row per beat, in_limits between the limit positions P1 "
                      "and P2, default 15 90) or the samples, beats and marks as an EDF+ file; the format "
                      "follows OUT's extension unless --format is given",
                      run_export);

}  // namespace

}  // namespace pulvitra::cli
