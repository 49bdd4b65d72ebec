#include "views/selection.h"

#include <QPainter>
#include <QPolygon>

#include "views/overview_view.h"

namespace pulvitra {

namespace {

// The outline of `width` page columns from `column` on in visible strip `row`: 2 window pixels
// outside the columns' left and right edges and above the strip's frame, its bottom edge 4
// above the next strip's frame (at the first size from (60c + 3, 98r + 3) to
// (60(c + w) + 7, 98r + 99)).
void outline(QPainter& painter, const OverviewPlacement& pl, const ScreenScale& scale, int column, int row,
             int width) {
  const int columns = pl.pages_per_strip + 1;
  const auto column_edge = [&](int c) { return c * pl.width / columns + pl.left; };
  const auto strip_top = [&](int r) { return r * pl.height / pl.strips + pl.top; };
  const int left = column_edge(column) - scale.px(2);
  const int right = column_edge(column + width) + scale.px(2);
  const int top = strip_top(row) - scale.px(2);
  const int bottom = strip_top(row + 1) - scale.px(4);
  painter.drawPolygon(QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)}));
}

}  // namespace

void toggle_selection(QImage& overview, const ViewState& state, const ScreenScale& scale) {
  const OverviewPlacement pl = screen_overview_placement(scale);
  QPainter painter(&overview);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(QColor(0, 255, 255));
  pen.setWidth(2 * scale.line_width());
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const int column = state.SelColumn;
  const int row = state.SelRow;
  outline(painter, pl, scale, column, row, 3);
  if (column == kSelectionLastColumn && row < pl.strips - 1) outline(painter, pl, scale, 0, row + 1, 1);
  if (column == 0 && row > 0) outline(painter, pl, scale, pl.pages_per_strip, row - 1, 1);
}

}  // namespace pulvitra
