#include "views/redraw.h"

namespace pulvitra {

PageReader redraw_views(int kind, const ViewTarget& target, const TEKG& ekg, const ViewState& state) {
  PageReader reader;
  if (target.printer && !target.page.painter) return reader;
  if (target.marks) reader.marks = *target.marks;
  for (const ViewDescription& view : view_table()) {
    const bool chosen = kind == view.kind || (kind == kViewAll && view.page >= 0);
    if (!chosen || (view.needs_beats && ekg.BeatCount == 0)) continue;
    view.draw(target, ekg, state, reader);
  }
  if (target.marks) *target.marks = reader.marks;
  return reader;
}

}  // namespace pulvitra
