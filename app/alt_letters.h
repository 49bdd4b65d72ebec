// The underlined letters (Alt+letter) of a window. Two controls may show the same letter; Qt
// would then only move the focus from one to the next on each press. Here one rule picks the
// control, every time the same: a push button first, then a field, check box or frame of the
// page shown, and a notebook tab only when nothing on the page claims the letter. Among equals
// the one higher up, then further left, wins. A disabled control keeps its letter and does
// nothing, so that a locked button never hands its key to another page.
#pragma once

#include <QKeySequence>

class QWidget;

namespace pulvitra {

// The control that Alt+letter reaches in window now (for a tab bar: tab is the tab's index),
// or none.
struct AltTarget {
  QWidget* control = nullptr;
  int tab = -1;
  bool enabled = false;
};
AltTarget alt_letter_target(QWidget* window, const QKeySequence& key);

// From now on the Alt letters of window follow the rule above.
void resolve_alt_letters(QWidget* window);

}  // namespace pulvitra
