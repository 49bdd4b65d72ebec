// One line of a comma-separated file as spreadsheets and scripts read it: UTF-8, fields that
// hold a comma, a quote or a line break in quotes with their quotes doubled, "\n" at the end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pulvitra::cli {

std::string csv_field(std::string_view text);
std::string csv_row(const std::vector<std::string>& fields);

}  // namespace pulvitra::cli
