#include "views/selection.h"

#include <QPainter>
#include <QPolygon>

namespace pulvitra {

namespace {

// Screen pitches of the overview: a page column is 60 pixels wide, a strip 98 pixels high.
constexpr int kColumnPitch = 60;
constexpr int kStripPitch = 98;

void outline(QPainter& painter, int column, int row, int width) {
  const int left = kColumnPitch * column + 3;
  const int right = kColumnPitch * (column + width) + 7;
  const int top = kStripPitch * row + 3;
  const int bottom = kStripPitch * row + 99;
  painter.drawPolygon(QPolygon({QPoint(left, top), QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom)}));
}

}  // namespace

void toggle_selection(QImage& overview, const ViewState& state) {
  QPainter painter(&overview);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(QColor(0, 255, 255));
  pen.setWidth(2);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const int column = state.SelColumn;
  const int row = state.SelRow;
  outline(painter, column, row, 3);
  if (column == kSelectionLastColumn && row < kOverviewRows - 1) outline(painter, 0, row + 1, 1);
  if (column == 0 && row > 0) outline(painter, 8, row - 1, 1);
}

}  // namespace pulvitra
