// pulvitra-cli decode: decodes the image of a recording file and prints what the decoder
// found as one JSON object, for users, scripts and the tests.
#include <cstdio>
#include <string>

#include "tools/cli/command.h"
#include "tools/cli/standard_output.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/options.h"
#include "tools/cli/recording_input.h"

namespace pulvitra::cli {

namespace {

// A beat's rate as single precision exactly: the shortest decimal that reads back as the very
// value the float holds, written as the double it widens to.
void beat(JsonWriter& json, const TEKG& ekg, int k) {
  json.begin_object();
  json.key("rate").value(static_cast<double>(ekg.BeatRate[k]));
  json.key("flags").value(static_cast<int>(ekg.BeatFlags[k]));
  json.end_object();
}

std::string page_bytes(const std::array<std::uint8_t, kPageBytes + 1>& page) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (int col = 1; col <= kPageBytes; ++col) {
    hex += kDigits[page[col] >> 4];
    hex += kDigits[page[col] & 0x0F];
  }
  return hex;
}

void pages(JsonWriter& json, const TEKG& ekg) {
  json.key("pages").begin_array_of_lines();
  for (int p = 1; p <= kPageCount; ++p) {
    json.begin_object();
    json.key("start_block").value(static_cast<int>(ekg.PageStartBlock[p]));
    json.key("rate").value(static_cast<int>(ekg.PageRate[p]));
    json.key("time").value(static_cast<double>(ekg.PageTime[p]));
    json.key("bytes").value(page_bytes(ekg.Pages[p]));
    json.end_object();
  }
  json.end_array();
}

std::string decode_json(const TEKG& ekg, std::uint8_t time_step, const DecodeResult& result, int measurements) {
  JsonWriter json;
  json.begin_object();
  json.key("beat_count").value(static_cast<int>(ekg.BeatCount));
  json.key("time_step").value(static_cast<int>(time_step));
  json.key("read_pos").value(static_cast<int>(result.end_position));
  json.key("count_measurements").value(measurements);
  json.key("beats").begin_array();
  for (int k = 1; k <= ekg.BeatCount; ++k) beat(json, ekg, k);
  json.end_array();
  // Two or more kept beats leave the last one kept but uncounted.
  json.key("last_uncounted");
  if (static_cast<int>(result.kept_positions.size()) > ekg.BeatCount) beat(json, ekg, ekg.BeatCount + 1);
  else json.null();
  json.key("beat_positions").begin_array();
  for (int k = 0; k < ekg.BeatCount && k < static_cast<int>(result.kept_positions.size()); ++k)
    json.value(static_cast<long long>(result.kept_positions[k]));
  json.end_array();
  pages(json, ekg);
  return json.end_object().finish();
}

int run_decode(const QStringList& args) {
  bool twice = false;
  QString error;
  const auto line = parse_command_line(QStringLiteral("decode"), args, {{"--twice", 0, switch_on(twice)}}, 1, error);
  if (!line) return usage_error(error);
  if (line->files.isEmpty()) return usage_error(QStringLiteral("decode: no recording file given"));

  auto input = open_recording(line->files.first());
  if (!input) return 1;
  const int measurements = CountMeasurements(*input->ekg);
  DecodeResult result = decode(*input);
  if (twice) result = decode(*input);
  const std::string json = decode_json(*input->ekg, input->decoder.TimeStep, result, measurements);
  write_standard_output(json);
  return 0;
}

const Command kDecode("decode", "FILE.pul [--twice]",
                      "Decodes the recording's image and prints its beats and pages as JSON "
                      "(--twice: decodes the same image a second time and prints that)",
                      run_decode);

}  // namespace

}  // namespace pulvitra::cli
