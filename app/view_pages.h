// Pages 2 to 6: the overview, zoom, histogram, trend and Lorenz views with their controls,
// the view state and the redraw of the screen views.
#pragma once

#include <QObject>

#include "views/redraw.h"

class QComboBox;
class QScrollBar;

namespace pulvitra {

class TMain;
class ImageControl;
class RadioGroup;
class TrackBar;

class ViewPages : public QObject {
  Q_OBJECT
 public:
  explicit ViewPages(TMain& main);

  void init_controls();         // creation steps 1, 6 and 8
  void derive_zoom_position();  // creation step 15
  void redraw_views(int kind);  // on the screen
  void TabbedNotebook1Change(int index);
  void focus_overview();        // the focus rule of Timer2

  // Set by the upload while it runs: scrolling the overview then does not redraw it.
  bool upload_running = false;
  // Set by a double-click that switches the page itself, so that the page change leaves
  // the selection alone once.
  bool DblClickNav = false;

  // The view handlers. Setting ScrollBar1 or ScrollBar2 from the program runs their change
  // handler whenever the position actually changes, exactly as a move by the user does.
  void ScrollBar1Change();
  void Image1MouseDown(int x, int y);  // on the overview image
  void Image1DblClick();               // on the overview or the zoom image
  void ScrollBar2Change();
  void ComboBox1Change();
  void RadioGroup3Click();  // the scale and the time axis
  void TrackBarChange();

  // Turns the zoom's place (its first page) into the overview selection and position.
  void zoom_to_overview();
  // The control values the drawing reads.
  ViewSettings view_settings() const;

 private:
  void build();
  void connect_handlers();
  void select_zoom_100();
  int overview_position() const;
  void set_overview_position(int position);
  void toggle_selection_on_screen();

  TMain& main_;
  ImageControl* Image1 = nullptr;  // zoom
  ImageControl* Image2 = nullptr;  // overview
  ImageControl* Image3 = nullptr;  // trend
  ImageControl* Image4 = nullptr;  // histogram
  ImageControl* Image5 = nullptr;  // Lorenz
  QScrollBar* ScrollBar1 = nullptr;
  QScrollBar* ScrollBar2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  RadioGroup* RadioGroup1 = nullptr;
  RadioGroup* RadioGroup3 = nullptr;
  TrackBar* TrackBar1 = nullptr;
  TrackBar* TrackBar2 = nullptr;
  int shown_page_ = 0;     // the notebook page shown before the current change
  int zoom_factor_ = 200;  // the last factor chosen, while the combo box text is being edited
};

}  // namespace pulvitra
