// Pages 2 to 6: the overview, zoom, histogram, trend and Lorenz views with their controls,
// the view state and the redraw of the screen views.
#pragma once

#include <QObject>

class QTabWidget;

namespace pulvitra {

class TMain;

class ViewPages : public QObject {
  Q_OBJECT
 public:
  explicit ViewPages(TMain& main);

  void init_controls();         // creation steps 1, 6 and 8
  void derive_zoom_position();  // creation step 15
  void redraw_views(int kind);  // on the screen
  void TabbedNotebook1Change(int index);
  void focus_overview();        // the focus rule of Timer2

 private:
  void build();
  TMain& main_;
};

}  // namespace pulvitra
