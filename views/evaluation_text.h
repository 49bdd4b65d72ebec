// The texts of the evaluation's numbers, made in one place for the histogram page, the printed
// statistics, the Lorenz page's panel and pulvitra-cli.
#pragma once

#include <string>

#include "analysis/statistics.h"
#include "views/variability_figures.h"

namespace pulvitra {

// The histogram's statistics as shown; all empty while the statistics are absent.
struct StatisticsTexts {
  std::string mean_rate;    // "%4.1f" of M
  std::string sd_rate;      // "%4.1f" of SDr
  std::string vc;           // "%4.1f" of 100 SDr / M
  std::string mean_period;  // 60000 / M to the nearest ms
  std::string sd_period;    // SDp to the nearest ms
};

StatisticsTexts statistics_texts(const BeatStatistics& stats);

// Fixed notation with one decimal, right-justified to four characters, never cut.
std::string format_one_decimal(double value);

// A variability figure with its decimals and unit ("12.3 ms", "4", "0.57"); exact halves go to
// the even neighbour.
std::string figure_text(const VariabilityFigure& figure, double value);

}  // namespace pulvitra
