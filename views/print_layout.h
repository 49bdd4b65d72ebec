// The layout units of a printed page and the title above a printed view.
#pragma once

#include <QString>

#include "views/canvas.h"

namespace pulvitra {

// Layout units of a printed page, in printer pixels.
struct PrintUnits {
  int print_top = 0;
  int print_row = 0;
  int print_left = 0;
  int print_gap = 0;
};
PrintUnits print_units(int page_width, int page_height);

// Font sizes on paper: the report header leaves the first view 6 pt; titles are 10 pt bold,
// and the charts write at 7 pt after their title.
inline constexpr int kPrintStartPoints = 6;
inline constexpr int kPrintTitlePoints = 10;
inline constexpr int kPrintChartPoints = 7;

// Printed view title: 10 pt bold, hung TW("XXX") left of print_left, with the top of the
// text at y; then the font is normal 7 pt, the drawing font of the printed charts.
void print_title(Canvas& canvas, const QString& title, int print_left, int y);

}  // namespace pulvitra
