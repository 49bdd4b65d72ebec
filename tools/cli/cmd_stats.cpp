// pulvitra-cli stats: the histogram counts and beat statistics of a recording file, as the
// histogram page shows them for the given limits, printed as one JSON object.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>

#include "files/recording_file.h"
#include "recording/decoder.h"
#include "tools/cli/command.h"
#include "views/statistics.h"

namespace pulvitra::cli {

namespace {

constexpr int kLowestLimit = 15;
constexpr int kHighestLimit = 90;

// The shortest decimal that reads back as exactly this single-precision value.
void append_float(std::string& out, float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void append_text(std::string& out, const std::string& text) {
  out += '"';
  out += text;  // digits, blanks and a point only
  out += '"';
}

std::string stats_json(const BeatStatistics& stats) {
  std::string out = "{\"hist\": [";
  for (int k = kFirstBin; k <= kLastBin; ++k) {
    if (k > kFirstBin) out += ", ";
    out += std::to_string(stats.HistCount[k]);
  }
  out += "],\n\"n\": " + std::to_string(stats.n);
  auto number = [&](const char* name, float value) {
    out += std::string(",\n\"") + name + "\": ";
    if (stats.present) append_float(out, value); else out += "null";
  };
  auto text = [&](const char* name, const std::string& value) {
    out += std::string(",\n\"") + name + "\": ";
    if (stats.present && !value.empty()) append_text(out, value); else out += "null";
  };
  number("M", stats.M);
  number("SDr", stats.SDr);
  number("SDp", stats.SDp);
  text("mean_rate_text", stats.mean_rate_text);
  text("sd_rate_text", stats.sd_rate_text);
  text("vc_text", stats.vc_text);
  text("mean_period_text", stats.mean_period_text);
  text("sd_period_text", stats.sd_period_text);
  out += "}\n";
  return out;
}

bool parse_limit(const QString& text, int& limit) {
  bool ok = false;
  limit = text.toInt(&ok);
  return ok && limit >= kLowestLimit && limit <= kHighestLimit;
}

int file_error(const RecordingFile& file, const QString& path) {
  QString text;
  if (file.status == ReadStatus::CannotOpen) {
    text = QStringLiteral("cannot open %1: %2").arg(path, file.system_error);
  } else if (file.status == ReadStatus::NotARecording) {
    text = QStringLiteral("%1 is not a recording file (no \"KORDAMAT File\" header)").arg(path);
  } else {
    text = read_failure_text(file, path);
  }
  std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData());
  return 1;
}

int run_stats(const QStringList& args) {
  QString path;
  int limit1 = kLowestLimit;
  int limit2 = kHighestLimit;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--limits") {
      if (i + 2 >= args.size())
        return usage_error(QStringLiteral("stats: --limits needs two positions"));
      if (!parse_limit(args[i + 1], limit1) || !parse_limit(args[i + 2], limit2))
        return usage_error(QStringLiteral("stats: limits are track bar positions 15..90, got '%1 %2'")
                               .arg(args[i + 1], args[i + 2]));
      i += 2;
    } else if (args[i].startsWith("--") || !path.isEmpty()) {
      return usage_error(QStringLiteral("stats: unexpected argument '%1'").arg(args[i]));
    } else {
      path = args[i];
    }
  }
  if (path.isEmpty()) return usage_error(QStringLiteral("stats: no recording file given"));

  const RecordingFile file = read_recording_file(path);
  if (file.status != ReadStatus::Ok) return file_error(file, path);
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_image(file.image, *ekg);
  FixedInterval = file.header.fixed_interval;
  DecodeRecording(*ekg);

  const int count = std::min<int>(ekg->BeatCount, kMaxBeats);
  const BeatStatistics stats =
      beat_statistics(std::span<const float>(ekg->BeatRate).subspan(1, count), limit1, limit2);
  const std::string json = stats_json(stats);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}

const Command kStats("stats", "FILE.pul [--limits P1 P2]",
                     "Prints the histogram counts (bins 15..95) and the beat statistics between "
                     "the limit positions P1 and P2 (default 15 90, either order) as JSON",
                     run_stats);

}  // namespace

}  // namespace pulvitra::cli
