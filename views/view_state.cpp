#include "views/view_state.h"

#include <algorithm>

namespace pulvitra {

namespace {

// The pointer's rows are a little closer than the strips (91 pixels at the first size against
// 98): from y = 2 on they divide the image's height less 34 pixels evenly, and the pixel rows
// below still count as the last strip. However many strips, a row is at most 31 pixels above
// its strip.
constexpr int kRowOrigin = 2;
constexpr int kRowSpanCut = 34;

// From the zoom's first page on, the last strips: the overview can scroll no further.
constexpr int kLastStripsPage = 167;

}  // namespace

int overview_rows(int image_height) {
  // The strips take all of the height but the margin above them and the border's row below.
  return std::clamp((image_height - kOverviewMargin - 1) / kOverviewStripPitch, 1, kOverviewStrips);
}

void ViewState::resize_overview(ImageSize size) {
  const int selected_strip = overview_pos + SelRow;
  overview_size = size;
  const int last_row = rows() - 1;
  int position = std::min(overview_pos, overview_last_position(rows()));
  if (selected_strip - position > last_row) position = selected_strip - last_row;
  SelRow = std::clamp(selected_strip - position, 0, last_row);
  overview_pos = position;
  LastOverviewPos = position;
}

void ViewState::press(int x, int y) {
  // The three-page window is centred on the page column under the pointer; the strips are
  // as wide as the image less the margin at their left, in nine columns.
  const int strips_width = std::max(overview_size.width - kOverviewMargin, 1);
  const int column = (x - kOverviewMargin) * (kOverviewPagesPerStrip + 1) / strips_width;
  SelColumn = std::clamp(column - 1, 0, kSelectionLastColumn);
  const int row_span = std::max(overview_size.height - kRowSpanCut, 1);
  SelRow = std::clamp((y - kRowOrigin) * rows() / row_span, 0, rows() - 1);
}

void ViewState::scroll_overview(int position) {
  SelRow = std::clamp(SelRow + LastOverviewPos - position, 0, rows() - 1);
  overview_pos = position;
  LastOverviewPos = position;
}

int ViewState::selected_first_page() const {
  return (SelRow + overview_pos) * kOverviewPagesPerStrip + SelColumn + 1;
}

void ViewState::open_selection_in_zoom() {
  zoom_pos = std::clamp(selected_first_page(), 1, kZoomLastPage);
  zoom_factor = kZoomFactorOpening;
}

void ViewState::zoom_to_overview() {
  // The zoom's place is its first page. (The page reader's page cannot tell it: every view
  // that reads pages moves it, and the zoom itself moves it on by as many pages as it shows.)
  const int a = std::clamp(zoom_pos, 1, kZoomLastPage);
  const auto scroll_to = [this](int position) {
    if (position != overview_pos) scroll_overview(position);
  };
  if (a >= kLastStripsPage) {
    // The last strips: the overview at its end, the selection at its last place. The
    // position goes first, as moving it shifts the selection row.
    scroll_to(overview_last_position(rows()));
    SelColumn = kSelectionLastColumn;
    SelRow = rows() - 1;
    return;
  }
  // Page a lies in strip (a - 1) div 8 at column (a - 1) mod 8; the selection cannot begin
  // in the eighth column, so there it begins one column earlier and still holds page a.
  const int strip = (a - 1) / kOverviewPagesPerStrip;
  SelColumn = std::min((a - 1) % kOverviewPagesPerStrip, kSelectionLastColumn);
  // A strip below the visible ones is brought onto the last row but one (row 2 of 4).
  const int row = strip - overview_pos;
  const int last_row = rows() - 1;
  if (row < 0) {
    scroll_to(strip);
  } else if (row > last_row) {
    scroll_to(std::min(strip - std::max(last_row - 1, 0), overview_last_position(rows())));
  }
  SelRow = std::clamp(strip - overview_pos, 0, last_row);
}

QString ViewState::choose_factor(const QString& typed) {
  bool is_number = false;
  const int factor = typed.trimmed().toInt(&is_number);
  // Text that is no number leaves the factor as it was.
  if (is_number) zoom_factor = std::clamp(factor, kZoomFactorMin, kZoomFactorMax);
  return QString::number(zoom_factor);
}

}  // namespace pulvitra
