// What the views show, apart from the recording: the overview position and selection, the
// zoom page and factor, the zoom's labels and the two histogram limits, with the operations
// the user performs on them. A plain value: the window mirrors it to its controls, and a
// printed report draws from a copy of it.
#pragma once

#include <QString>

#include "views/screen_sizes.h"

namespace pulvitra {

inline constexpr int kOverviewStrips = 21;        // strips of 8 pages that a recording fills
inline constexpr int kSelectionLastColumn = 6;    // SelColumn 0..6: three pages of eight
inline constexpr int kOverviewPagesPerStrip = 8;
inline constexpr int kOverviewMargin = 5;         // window pixels left of and above the strips
inline constexpr int kOverviewStripPitch = 98;    // window pixels a strip takes, at least
inline constexpr int kZoomLastPage = 171;         // ScrollBar2: first zoom page 1..171
inline constexpr int kZoomFactorMin = 20;         // percent, as a typed factor is clamped
inline constexpr int kZoomFactorMax = 400;
inline constexpr int kZoomFactorOpening = 100;    // the zoom that a selection opens with
inline constexpr int kLimitMin = 15;              // limit bars, units of 2 beats per minute
inline constexpr int kLimitMax = 90;

// The strips an overview image of that height in window pixels shows: as many as fit at the
// pitch of the first size, so a taller window shows more of them (4 at 398, 8 at 790), 1 to 21.
int overview_rows(int image_height);

// ScrollBar1's last position, the first visible strip when the last strip is in view: 17 at 4 rows.
constexpr int overview_last_position(int rows) { return kOverviewStrips - rows; }

struct ViewState {
  ImageSize overview_size = kOverviewImageSize;  // the overview image in window pixels
  int overview_pos = 0;     // ScrollBar1, first visible strip 0..overview_last_position(rows())
  int SelColumn = 0;        // page column 0..6 at which the three-page selection begins
  int SelRow = 0;           // its strip 0..rows() - 1, counted from the first visible one
  int LastOverviewPos = 0;  // the overview position before the last scroll
  int zoom_pos = 1;         // ScrollBar2, first zoom page 1..171
  int zoom_factor = 200;    // ComboBox1, percent
  int scale = 0;            // RadioGroup3: 0 pulse period in ms, 1 heart rate per minute
  int axis = 0;             // RadioGroup1: 0 time, 1 device pages
  int limit1 = kLimitMin;   // TrackBar1 position
  int limit2 = kLimitMax;   // TrackBar2 position

  // The strips the overview image shows.
  int rows() const { return overview_rows(overview_size.height); }

  // The overview image resized (the window grew or shrank): the position stays within range
  // and the selected pages stay in view, on the same strip.
  void resize_overview(ImageSize size);

  // A mouse press at (x, y) in window pixels on the overview image: the three-page selection
  // centred on the pointer, in the strip under it.
  void press(int x, int y);

  // The overview scrolled to `position`: the selection stays on the same pages, so
  // scrolling down one strip moves it up one row (never out of the visible rows).
  void scroll_overview(int position);

  // The first page of the selection: what the zoom opens at.
  int selected_first_page() const;

  // The zoom opened at the selection: its first page, at 100 %.
  void open_selection_in_zoom();

  // The zoom's place (its first page) as the overview selection, the overview scrolled so
  // that it shows.
  void zoom_to_overview();

  // A typed zoom factor: a number clamped to 20..400; other text keeps the factor as it
  // was. Returns the factor as the zoom box shows it afterwards.
  QString choose_factor(const QString& typed);
};

}  // namespace pulvitra
