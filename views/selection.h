// The overview's three-page selection: a cyan rectangle combined with the picture by
// exclusive-or, so drawing it twice restores the picture.
#pragma once

#include <QImage>

#include "views/screen_image.h"
#include "views/view_state.h"

namespace pulvitra {

// Draws (or, the second time, removes) the selection rectangle for SelColumn and SelRow of
// the view state on the screen overview image of that scale, around the page columns of the
// overview's strips. A selection that begins in column 6 continues with one page at the start
// of the next strip; one that begins in column 0 below the first strip also marks the ninth
// column of the strip above, which repeats that page.
void toggle_selection(QImage& overview, const ViewState& state, const ScreenScale& scale);

}  // namespace pulvitra
