// The English captions of the main window, applied by control name at creation when the
// chosen language is English. The German ones are the captions the pages are built with.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace pulvitra {

struct CaptionEntry {
  const char* control;  // objectName of the control, of a menu action, or "page:N" for a tab
  QString german;
  QString english;
  QString english_hint;     // "" when the hint stays
  QStringList english_items;  // radio group items; empty when none
};

const std::vector<CaptionEntry>& main_window_captions();

// Sets every English caption of the main window's table on the controls below root.
void apply_english_captions(QWidget* root);
// The same for another window's table (the wizard's).
void apply_english_captions(QWidget* root, const std::vector<CaptionEntry>& table);

}  // namespace pulvitra
