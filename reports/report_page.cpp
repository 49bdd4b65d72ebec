#include "reports/report_page.h"

#include "views/print_layout.h"
#include "views/redraw.h"

namespace pulvitra {

void draw_report(QPainter& painter, int page_width, int page_height, int index, PageMark mark,
                 const ReportSource& source) {
  const ReportDescription& report = report_numbered(index);
  if (!report.views[0] || !source.ekg) return;
  painter.setBrush(Qt::white);
  const PrintUnits units = print_units(page_width, page_height);
  print_header(painter, page_width, units.print_top, header_lines(source.patient, mark, source.language), source.file_name);

  ViewTarget target;
  target.printer = true;
  target.language = source.language;
  target.page = PrinterPage{&painter, page_width, page_height};
  target.marks = source.marks;
  ViewState state = source.state;
  state.overview_pos = 0;  // the printout starts with the first page of the recording
  for (const int view : report.views)
    if (view) redraw_views(view, target, *source.ekg, state);
}

}  // namespace pulvitra
