// pulvitra-cli stats: the histogram counts and beat statistics of a recording file, as the
// histogram page shows them for the given limits, printed as one JSON object.
#include <cstdio>
#include <string>

#include "analysis/evaluation.h"
#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/options.h"
#include "tools/cli/recording_input.h"
#include "views/evaluation_text.h"
#include "views/variability_figures.h"

namespace pulvitra::cli {

namespace {

constexpr int kLowestLimit = 15;
constexpr int kHighestLimit = 90;

std::string stats_json(const Evaluation& evaluation) {
  const BeatStatistics& stats = evaluation.statistics;
  const StatisticsTexts texts = statistics_texts(stats);
  JsonWriter json;
  json.begin_object().key("hist").begin_array();
  for (int k = kFirstBin; k <= kLastBin; ++k) json.value(static_cast<long long>(stats.HistCount[k]));
  json.end_array();
  json.key("n").value(static_cast<long long>(stats.n));
  // Without beats between the limits there are no figures, not zeros.
  auto number = [&](const char* name, float value) {
    json.key(name);
    if (stats.present) json.value(value);  // single precision, shortest exact form
    else json.null();
  };
  auto text = [&](const char* name, const std::string& value) {
    json.key(name);
    if (!value.empty()) json.value(std::string_view(value));
    else json.null();
  };
  number("M", stats.M);
  number("SDr", stats.SDr);
  number("SDp", stats.SDp);
  text("mean_rate_text", texts.mean_rate);
  text("sd_rate_text", texts.sd_rate);
  text("vc_text", texts.vc);
  text("mean_period_text", texts.mean_period);
  text("sd_period_text", texts.sd_period);
  json.key("hrv").begin_object();
  for (const VariabilityFigure& figure : variability_figures()) {
    json.key(figure.key);
    if (const auto value = figure.value(evaluation.variability)) json.value(*value);
    else json.null();
  }
  json.end_object();
  return json.end_object().finish();
}

int run_stats(const QStringList& args) {
  int limit1 = kLowestLimit;
  int limit2 = kHighestLimit;
  QString error;
  const auto line = parse_command_line(QStringLiteral("stats"), args,
                                       {{"--limits", 2, whole_numbers(kLowestLimit, kHighestLimit, limit1, limit2)}},
                                       1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("stats: no recording file given"));

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  decode(*input);
  write_standard_output(stats_json(evaluate(*input->ekg, limit1, limit2)));
  return 0;
}

const Command kStats("stats", "FILE.pul [--limits P1 P2]",
                     "Prints the histogram counts (bins 15..95) and the beat statistics between "
                     "the limit positions P1 and P2 (default 15 90, either order), with the heart-rate "
                     "variability of those beats, as JSON",
                     run_stats);

}  // namespace

}  // namespace pulvitra::cli
