#include "views/view_state.h"

#include <algorithm>

namespace pulvitra {

namespace {

// Screen geometry of the overview that a press is measured in: page columns 60 pixels wide
// from x = 5, strips 91 pixels apart for the pointer (the strip pitch is 98, but the lowest
// pixel rows still count as the last strip).
constexpr int kPressLeft = 90;
constexpr int kPressRight = 460;
constexpr int kColumnOrigin = 65;
constexpr int kColumnPitch = 60;
constexpr int kRowOrigin = 2;
constexpr int kRowPitch = 91;

// From the zoom's first page on, the last strips: the overview can scroll no further.
constexpr int kLastStripsPage = 167;

}  // namespace

void ViewState::press(int x, int y) {
  // The three-page window is centred on the pointer.
  SelColumn = (std::clamp(x, kPressLeft, kPressRight) - kColumnOrigin) / kColumnPitch;
  SelRow = std::clamp((y - kRowOrigin) / kRowPitch, 0, kOverviewRows - 1);
}

void ViewState::scroll_overview(int position) {
  SelRow = std::clamp(SelRow + LastOverviewPos - position, 0, kOverviewRows - 1);
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
  // that reads pages moves it, and the zoom itself moves it on by 1 to 12 pages.)
  const int a = std::clamp(zoom_pos, 1, kZoomLastPage);
  const auto scroll_to = [this](int position) {
    if (position != overview_pos) scroll_overview(position);
  };
  if (a >= kLastStripsPage) {
    // The last strips: the overview at its end, the selection at its last place. The
    // position goes first, as moving it shifts the selection row.
    scroll_to(kOverviewLastPosition);
    SelColumn = kSelectionLastColumn;
    SelRow = kOverviewRows - 1;
    return;
  }
  // Page a lies in strip (a - 1) div 8 at column (a - 1) mod 8; the selection cannot begin
  // in the eighth column, so there it begins one column earlier and still holds page a.
  const int strip = (a - 1) / kOverviewPagesPerStrip;
  SelColumn = std::min((a - 1) % kOverviewPagesPerStrip, kSelectionLastColumn);
  const int row = strip - overview_pos;
  if (row < 0) {
    scroll_to(strip);
  } else if (row > kOverviewRows - 1) {
    scroll_to(std::min(overview_pos + row - 2, kOverviewLastPosition));
  }
  SelRow = std::clamp(strip - overview_pos, 0, kOverviewRows - 1);
}

QString ViewState::choose_factor(const QString& typed) {
  bool is_number = false;
  const int factor = typed.trimmed().toInt(&is_number);
  // Text that is no number leaves the factor as it was.
  if (is_number) zoom_factor = std::clamp(factor, kZoomFactorMin, kZoomFactorMax);
  return QString::number(zoom_factor);
}

}  // namespace pulvitra
