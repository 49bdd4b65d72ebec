// pulvitra-cli generate: writes a synthetic recording file, for the demo, the simulated
// recorder and trying the program without a recorder.
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "shell/language.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "tools/cli/command.h"
#include "tools/cli/options.h"
#include "tools/cli/output_check.h"

namespace pulvitra::cli {

namespace {

struct NumberOption {
  double low;
  double high;
  std::function<void(GeneratorOptions&, double)> apply;
};

const std::map<QString, NumberOption>& number_options() {
  static const std::map<QString, NumberOption> options = {
      {"--seed", {0, 4294967295.0, [](GeneratorOptions& o, double v) { o.seed = static_cast<std::uint32_t>(v); }}},
      {"--rate", {30, 250, [](GeneratorOptions& o, double v) { o.rate = v; }}},
      {"--min-rate", {30, 250, [](GeneratorOptions& o, double v) { o.min_rate = v; }}},
      {"--max-rate", {30, 250, [](GeneratorOptions& o, double v) { o.max_rate = v; }}},
      {"--interval", {2, 30, [](GeneratorOptions& o, double v) { o.interval_ms = static_cast<int>(v); }}},
      {"--minutes", {0.01, 1000, [](GeneratorOptions& o, double v) { o.minutes = v; }}},
      {"--marker-every", {0, 1000, [](GeneratorOptions& o, double v) { o.rate_marker_every = static_cast<int>(v); }}},
      {"--events", {1, 10000, [](GeneratorOptions& o, double v) { o.event_every_s = v; }}},
      {"--pace", {1, 1000, [](GeneratorOptions& o, double v) { o.pace_every = static_cast<int>(v); }}},
      {"--noise", {0, 20, [](GeneratorOptions& o, double v) { o.noise = v; }}},
  };
  return options;
}

bool is_whole(const QString& name) { return name != "--rate" && name != "--min-rate" && name != "--max-rate" && name != "--minutes" && name != "--events" && name != "--noise"; }

Option::Take number(const QString& name, const NumberOption& option, GeneratorOptions& options) {
  return [name, option, &options](const QStringList& values) {
    bool ok = false;
    const double value = values.first().toDouble(&ok);
    if (!ok || value < option.low || value > option.high || (is_whole(name) && value != static_cast<long long>(value))) {
      return QStringLiteral("takes a %1 from %2 to %3, not '%4'")
          .arg(is_whole(name) ? "whole number" : "number")
          .arg(option.low)
          .arg(static_cast<qulonglong>(option.high))
          .arg(values.first());
    }
    option.apply(options, value);
    return QString();
  };
}

int run_generate(const QStringList& args) {
  GeneratorOptions options;
  bool fixed_interval = false;
  bool force = false;
  std::vector<Option> table = {{"--second", 0, switch_on(options.second_measurement)},
                               {"--fixed-interval", 0, switch_on(fixed_interval)},
                               {"--force", 0, switch_on(force)}};
  for (const auto& [name, option] : number_options()) table.push_back({name, 1, number(name, option, options)});
  QString error;
  const auto line = parse_command_line(QStringLiteral("generate"), args, table, 1, error);
  if (!line) return usage_error(error);
  const QString path = line->files.value(0);
  if (path.isEmpty()) return usage_error(QStringLiteral("generate: no output file given"));
  if (options.min_rate > options.max_rate) return usage_error(QStringLiteral("generate: --min-rate is above --max-rate"));
  // A made-up ECG must never take a patient's recording's place unasked.
  if (!output_acceptable(path, {}, force ? OverRecording::kForced : OverRecording::kNeedsForce)) return 2;

  const GeneratedRecording recording = generate_recording(options);
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_generated_image(recording, *ekg);
  const auto interval = static_cast<std::uint8_t>(fixed_interval ? options.interval_ms : 0);
  const WriteResult written = save_recording_file(path, PatientFields{}, interval, *ekg);
  if (!written.ok) {
    print_write_error(path, written.system_error);
    return 1;
  }
  std::printf("%s: %zu beats, %d ms interval\n", path.toLocal8Bit().constData(), recording.beat_positions.size(),
              options.interval_ms);
  return 0;
}

const Command kGenerate(
    "generate",
    "OUT.pul [--seed N] [--rate BPM] [--min-rate BPM] [--max-rate BPM] [--interval MS] [--minutes M] "
    "[--marker-every BEATS] [--events SECONDS] [--pace EVERY_NTH_BEAT] [--second] [--noise SD] [--fixed-interval] "
    "[--force]",
    "Writes a synthetic recording: a 10 ms ECG whose rate drifts within 60..140/min (or stays at --rate), "
    "rate markers every 8 beats, optional event marks, pace codes and a second measurement; "
    "--fixed-interval stores the interval in the file instead of letting the decoder estimate it; "
    "an existing recording is replaced only with --force",
    run_generate);

}  // namespace

}  // namespace pulvitra::cli
