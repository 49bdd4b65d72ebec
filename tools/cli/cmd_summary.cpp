// pulvitra-cli summary: one CSV row per recording file with its patient, its beat statistics
// and the heart-rate variability between the limits, for a folder of recordings at once.
// A file that cannot be read gets its error in the row and the others go on.
#include <charconv>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/evaluation.h"
#include "shell/file_replace.h"
#include "shell/language.h"
#include "shell/native_name.h"
#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/csv_row.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"
#include "tools/cli/recording_input.h"
#include "views/variability_figures.h"

namespace pulvitra::cli {

namespace {

constexpr int kLowestLimit = 15;
constexpr int kHighestLimit = 90;

template <typename Number>
std::string shortest(Number number) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

std::string utf8(const QString& text) { return text.toStdString(); }

std::vector<CsvCell> header_row() {
  std::vector<CsvCell> row;
  for (const char* name : {"file", "patient_id", "surname", "first_name", "date", "measurements", "beats", "mean_rate",
                           "sd_rate", "vc_percent"})
    row.push_back({name});
  for (const VariabilityFigure& figure : variability_figures()) row.push_back({std::string("hrv_") + figure.key});
  row.push_back({"error"});
  return row;
}

// The row of a file that could not be read: its name and the error, nothing between.
std::vector<CsvCell> error_row(const QString& path, const QString& error) {
  std::vector<CsvCell> row(header_row().size());
  row.front() = {utf8(shown_name(path))};
  row.back() = {utf8(error)};
  return row;
}

std::vector<CsvCell> recording_row(const QString& path, RecordingInput& input, int limit1, int limit2) {
  decode(input);
  const TEKG& ekg = *input.ekg;
  const PatientFields& patient = input.file.header.fields;
  const Evaluation evaluation = evaluate(ekg, limit1, limit2);
  const BeatStatistics& stats = evaluation.statistics;

  std::vector<CsvCell> row = {{utf8(shown_name(path))},
                              {utf8(patient.patient_id)},
                              {utf8(patient.surname)},
                              {utf8(patient.first_name)},
                              {utf8(patient.date)},
                              number_cell(std::to_string(CountMeasurements(ekg))),
                              number_cell(std::to_string(ekg.BeatCount))};
  // Without two beats between the limits there are no statistics: empty fields, not zeros.
  row.push_back(number_cell(stats.present ? shortest(stats.M) : ""));
  row.push_back(number_cell(stats.present ? shortest(stats.SDr) : ""));
  row.push_back(number_cell(stats.present ? shortest(100.0 * stats.SDr / stats.M) : ""));
  for (const VariabilityFigure& figure : variability_figures()) {
    const auto value = figure.value(evaluation.variability);
    row.push_back(number_cell(value ? shortest(*value) : ""));
  }
  row.push_back({""});
  return row;
}

void print_error(const QString& text) { std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData()); }

int run_summary(const QStringList& args) {
  int limit1 = kLowestLimit;
  int limit2 = kHighestLimit;
  QString out;
  QString error;
  const auto line = parse_command_line(QStringLiteral("summary"), args,
                                       {{"--limits", 2, whole_numbers(kLowestLimit, kHighestLimit, limit1, limit2)},
                                        {"-o", 1, text_into(out)}},
                                       INT_MAX, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("summary: no recording file given"));
  if (!out.isEmpty() && !output_acceptable(out, line->files, OverRecording::kRefused)) return 2;

  std::string csv = csv_row(header_row());
  bool any_failed = false;
  for (const QString& path : line->files) {
    RecordingInput input = read_recording(path);
    if (!input.ekg) {
      const QString text = file_error_text(input.file, path);
      print_error(text);
      csv += csv_row(error_row(path, text));
      any_failed = true;
      continue;
    }
    csv += csv_row(recording_row(path, input, limit1, limit2));
  }

  if (out.isEmpty() || is_standard_output(out)) {
    write_standard_output(csv);
  } else if (const WriteResult written = write_file_replacing(out, QByteArray::fromStdString(csv)); !written.ok) {
    print_write_error(out, written.system_error);
    return 1;
  }
  return any_failed ? 1 : 0;
}

const Command kSummary("summary", "FILE.pul... [--limits P1 P2] [-o OUT.csv|-]",
                       "Writes one CSV row per recording file: patient, measurements, beats, the beat "
                       "statistics and the heart-rate variability between the limit positions P1 and P2 "
                       "(default 15 90); a file that cannot be read gets its error in the last column "
                       "and makes the exit status 1",
                       run_summary);

}  // namespace

}  // namespace pulvitra::cli
