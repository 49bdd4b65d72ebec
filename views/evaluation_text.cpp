#include "views/evaluation_text.h"

#include <charconv>

namespace pulvitra {

namespace {

std::string fixed(double value, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string format_one_decimal(double value) {
  std::string text = fixed(value, 1);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text;
}

StatisticsTexts statistics_texts(const BeatStatistics& stats) {
  StatisticsTexts texts;
  if (!stats.present) return texts;
  texts.mean_rate = format_one_decimal(stats.M);
  texts.sd_rate = format_one_decimal(stats.SDr);
  texts.vc = format_one_decimal(100.0 * stats.SDr / stats.M);
  if (stats.M > 0.0f) texts.mean_period = std::to_string(round_even(60000.0 / stats.M));
  texts.sd_period = std::to_string(round_even(stats.SDp));
  return texts;
}

std::string figure_text(const VariabilityFigure& figure, double value) {
  std::string text = fixed(value, figure.decimals);
  if (*figure.unit) text += std::string(" ") + figure.unit;
  return text;
}

}  // namespace pulvitra
