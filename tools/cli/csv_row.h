// One line of a comma-separated file as spreadsheets and scripts read it: UTF-8, fields that
// hold a comma or a quote in quotes with their quotes doubled, "\n" at the end.
// A text cell (a patient's name, a file name, a message) never runs as a formula when a
// spreadsheet opens the file: its control bytes are dropped, and one that would begin with
// "=", "+", "-" or "@" gets an apostrophe in front, inside quotes, which spreadsheets take as
// "this is text". Numbers, negative ones too, stay as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pulvitra::cli {

struct CsvCell {
  std::string value;
  bool text = true;
};

inline CsvCell number_cell(std::string value) { return {std::move(value), false}; }

std::string csv_row(const std::vector<CsvCell>& cells);

}  // namespace pulvitra::cli
