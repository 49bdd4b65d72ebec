#include "tools/cli/csv_row.h"

namespace pulvitra::cli {

namespace {

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7f; }

bool starts_a_formula(std::string_view text) {
  return !text.empty() && std::string_view("=+-@").find(text.front()) != std::string_view::npos;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string text_field(std::string_view text) {
  std::string kept;
  for (const char c : text)
    if (!is_control(static_cast<unsigned char>(c))) kept += c;
  if (starts_a_formula(kept)) return quoted("'" + kept);
  if (kept.find_first_of(",\"") != std::string::npos) return quoted(kept);
  return kept;
}

}  // namespace

std::string csv_row(const std::vector<CsvCell>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    line += cells[i].text ? text_field(cells[i].value) : cells[i].value;
  }
  line += '\n';
  return line;
}

}  // namespace pulvitra::cli
