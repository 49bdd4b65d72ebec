// pulvitra-cli decode: decodes the image of a recording file and prints what the decoder
// found as one JSON object, for users, scripts and the tests.
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>

#include "files/recording_file.h"
#include "recording/decoder.h"
#include "tools/cli/command.h"

namespace pulvitra::cli {

namespace {

// A single-precision value exactly: the shortest decimal that reads back as the very value
// the float holds (every float is a double).
void append_float(std::string& out, float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
  out.append(buffer, result.ptr);
}

void append_int(std::string& out, long value) { out += std::to_string(value); }

void append_beat(std::string& out, const TEKG& ekg, int k) {
  out += "{\"rate\": ";
  append_float(out, ekg.BeatRate[k]);
  out += ", \"flags\": ";
  append_int(out, ekg.BeatFlags[k]);
  out += '}';
}

void append_hex(std::string& out, const std::array<std::uint8_t, kPageBytes + 1>& page) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (int col = 1; col <= kPageBytes; ++col) {
    out += kDigits[page[col] >> 4];
    out += kDigits[page[col] & 0x0F];
  }
}

void append_pages(std::string& out, const TEKG& ekg) {
  out += "\"pages\": [";
  for (int p = 1; p <= kPageCount; ++p) {
    out += p > 1 ? ",\n  " : "\n  ";
    out += "{\"start_block\": ";
    append_int(out, ekg.PageStartBlock[p]);
    out += ", \"rate\": ";
    append_int(out, ekg.PageRate[p]);
    out += ", \"time\": ";
    append_float(out, ekg.PageTime[p]);
    out += ", \"bytes\": \"";
    append_hex(out, ekg.Pages[p]);
    out += "\"}";
  }
  out += "\n]";
}

std::string decode_json(const TEKG& ekg, const DecodeResult& result, int measurements) {
  std::string out = "{\"beat_count\": ";
  append_int(out, ekg.BeatCount);
  out += ",\n\"time_step\": ";
  append_int(out, TimeStep);
  out += ",\n\"read_pos\": ";
  append_int(out, ekg.ReadPos);
  out += ",\n\"count_measurements\": ";
  append_int(out, measurements);
  out += ",\n\"beats\": [";
  for (int k = 1; k <= ekg.BeatCount; ++k) {
    if (k > 1) out += ", ";
    append_beat(out, ekg, k);
  }
  out += "],\n\"last_uncounted\": ";
  // Two or more kept beats leave the last one kept but uncounted.
  if (static_cast<int>(result.kept_positions.size()) > ekg.BeatCount) {
    append_beat(out, ekg, ekg.BeatCount + 1);
  } else {
    out += "null";
  }
  out += ",\n\"beat_positions\": [";
  for (int k = 0; k < ekg.BeatCount && k < static_cast<int>(result.kept_positions.size()); ++k) {
    if (k > 0) out += ", ";
    append_int(out, result.kept_positions[k]);
  }
  out += "],\n";
  append_pages(out, ekg);
  out += "}\n";
  return out;
}

int print_file_error(const RecordingFile& file, const QString& path) {
  QString text;
  switch (file.status) {
    case ReadStatus::CannotOpen:
      text = QStringLiteral("cannot open %1: %2").arg(path, file.system_error);
      break;
    case ReadStatus::NotARecording:
      text = QStringLiteral("%1 is not a recording file (no \"KORDAMAT File\" header)").arg(path);
      break;
    default:
      text = read_failure_text(file, path);
      break;
  }
  std::fprintf(stderr, "pulvitra-cli: %s\n", text.toLocal8Bit().constData());
  return 1;
}

int run_decode(const QStringList& args) {
  QString path;
  bool twice = false;
  for (const QString& arg : args) {
    if (arg == "--twice") {
      twice = true;
    } else if (arg.startsWith("--") || !path.isEmpty()) {
      return usage_error(QStringLiteral("decode: unexpected argument '%1'").arg(arg));
    } else {
      path = arg;
    }
  }
  if (path.isEmpty()) return usage_error(QStringLiteral("decode: no recording file given"));

  const RecordingFile file = read_recording_file(path);
  if (file.status != ReadStatus::Ok) return print_file_error(file, path);

  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_image(file.image, *ekg);
  FixedInterval = file.header.fixed_interval;
  const int measurements = CountMeasurements(*ekg);
  DecodeResult result = decode_recording(*ekg);
  if (twice) result = decode_recording(*ekg);
  const std::string json = decode_json(*ekg, result, measurements);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}

const Command kDecode("decode", "FILE.pul [--twice]",
                      "Decodes the recording's image and prints its beats and pages as JSON "
                      "(--twice: decodes the same image a second time and prints that)",
                      run_decode);

}  // namespace

}  // namespace pulvitra::cli
