// pulvitra-cli export: the recording's beat list (CSV) or its samples and beats as an EDF+
// file, the same files the window's Export writes.
#include <cstdio>
#include <optional>

#include "files/beat_list.h"
#include "files/export_file.h"
#include "shell/language.h"
#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"
#include "tools/cli/recording_input.h"

namespace pulvitra::cli {

namespace {

constexpr int kLowestLimit = 15;
constexpr int kHighestLimit = 90;

void print_error(const QString& text) { std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData()); }

// --format wins; otherwise the name's extension (".csv" or ".edf") or "-" for a beat list on
// standard output. Any other name without --format is a mistake, not a quiet CSV.
std::optional<ExportFormat> chosen_format(int format_option, const QString& out) {
  if (format_option >= 0) return format_option == 1 ? ExportFormat::kEdf : ExportFormat::kBeatList;
  if (is_standard_output(out)) return ExportFormat::kBeatList;
  return export_format_for(out);
}

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
  if (out.isEmpty()) return usage_error(QStringLiteral("export: no output file given (-o OUT.csv, -o OUT.edf or -o -)"));
  const auto chosen = chosen_format(format, out);
  if (!chosen)
    return usage_error(QStringLiteral("export: the format of %1 is unknown; name it .csv or .edf or give --format csv|edf").arg(out));
  if (*chosen == ExportFormat::kEdf && is_standard_output(out))
    return usage_error(QStringLiteral("export: an EDF+ file is binary and goes to a file, not to standard output"));
  if (!output_acceptable(out, line->files, OverRecording::kRefused)) return 2;

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  const DecodeResult decoded = decode(*input);
  if (input->ekg->BeatCount < 2) {
    print_error(table_text(QStringLiteral("txt_no_print_data")));
    return 1;
  }
  const ExportTimeline timeline = export_timeline(*input->ekg, input->decoder.FixedInterval, decoded);
  if (is_standard_output(out)) {
    const QByteArray csv = beat_list_csv(timeline, limit1, limit2);
    write_standard_output(std::string_view(csv.constData(), static_cast<std::size_t>(csv.size())));
    return 0;
  }
  const WriteResult written = write_export(out, *chosen, timeline, input->file.header.fields, limit1, limit2);
  if (!written.ok) {
    print_write_error(out, written.system_error);
    return 1;
  }
  return 0;
}

const Command kExport("export", "FILE.pul [--format csv|edf] [--limits P1 P2] -o OUT|-",
                      "Writes the beat list as CSV (one row per beat, in_limits between the limit positions P1 "
                      "and P2, default 15 90) or the samples, beats and marks as an EDF+ file; the format "
                      "follows OUT's extension (.csv or .edf) unless --format is given; -o - writes the "
                      "beat list to standard output; never over an input, a recording or a non-file",
                      run_export);

}  // namespace

}  // namespace pulvitra::cli
