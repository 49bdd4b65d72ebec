// Pages 2 to 6: the overview, zoom, histogram, trend and Lorenz views with their controls,
// and the redraw of the screen views. The view state itself (views/view_state.h) is a plain
// value held here; the controls only mirror it and report the user's moves to it.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

#include "views/redraw.h"

class QComboBox;
class QLabel;
class QScrollBar;

namespace pulvitra {

class TMain;
class HrvPanel;
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
  ScreenImages screen_images() const;  // the views' pictures on their pages
  void refresh_images();               // shows what was drawn into them
  void TabbedNotebook1Change(int index);
  void focus_overview();        // the focus rule of Timer2
  // The main window now has that size (at least its first size) on a screen of that device
  // pixel ratio: the view images grow by what the window has grown, the controls below and
  // beside them move along, and the views are drawn again at the new size.
  void fit_to_window(QSize window, double pixel_ratio);

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

  // After Image2's picture was resized: the overview shows as many strips as now fit, with the
  // selection kept in view, and is drawn again.
  void overview_resized();
  // Turns the zoom's place (its first page) into the overview selection and position.
  void zoom_to_overview();
  // What the views show; a printed report draws from a copy of it.
  const ViewState& state() const { return state_; }
  ViewState& state() { return state_; }
  // The page reader as the last redraw left it: which page it read last.
  const PageReader& last_reading() const { return last_reading_; }

 private:
  void build();
  void connect_handlers();
  void open_selection_in_zoom();
  void show_overview_position();
  void toggle_selection_on_screen();
  void show_hrv();
  void show_recording_note();

  // A control beside or below a view image: how it follows the window's growth.
  struct Anchor {
    QWidget* control;
    QRect first;     // its geometry at the window's first size
    int follows;     // kMoveX | kMoveY | kGrowWidth | kGrowHeight
  };
  ImageControl* image_control(int kind) const;
  void anchor_controls();
  void redraw_resized_view(int kind);

  TMain& main_;
  std::vector<Anchor> anchors_;
  ImageControl* Image1 = nullptr;  // zoom
  ImageControl* Image2 = nullptr;  // overview
  ImageControl* Image3 = nullptr;  // trend
  ImageControl* Image4 = nullptr;  // histogram
  ImageControl* Image5 = nullptr;  // Lorenz
  HrvPanel* hrv_panel_ = nullptr;  // beside it
  QLabel* Label38 = nullptr;       // the overview's note on a recording with hardly any beats
  QScrollBar* ScrollBar1 = nullptr;
  QScrollBar* ScrollBar2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  RadioGroup* RadioGroup1 = nullptr;
  RadioGroup* RadioGroup3 = nullptr;
  TrackBar* TrackBar1 = nullptr;
  TrackBar* TrackBar2 = nullptr;
  ViewState state_;
  PageReader last_reading_;
  int shown_page_ = 0;  // the notebook page shown before the current change
};

}  // namespace pulvitra
