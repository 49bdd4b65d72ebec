#include "views/print_layout.h"

namespace pulvitra {

PrintUnits print_units(int page_width, int page_height) {
  return PrintUnits{page_height / 10, page_height / 30, page_width / 7, (2 * page_height) / 30};
}

void print_title(Canvas& canvas, const QString& title, int print_left, int y) {
  canvas.set_font(kPrintTitlePoints, true);
  canvas.text_out(print_left - canvas.text_width(QStringLiteral("XXX")), y, title);
  canvas.set_font(kPrintChartPoints, false);
}

}  // namespace pulvitra
