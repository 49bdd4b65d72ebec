// The drawing conventions every view shares: the system colours of the view background and
// its frames, the canvas font, a pen that keeps its position and draws lines without their
// end point (as the recorder's screen views always have), and the bevel frame.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <vector>

namespace pulvitra {

// The desktop's button colours: the view background and the two edges of a bevel.
struct ViewColours {
  QColor face;   // view background (button face)
  QColor light;  // light bevel edge (button highlight)
  QColor dark;   // dark bevel edge and etched lines (button shadow)
};

// Taken from the application palette; on the printer every frame is black instead.
ViewColours screen_colours();

// The font the views write with on the screen: the window's sans-serif 8 pt.
QFont screen_font();

// A painter with a current pen position, as the views walk their curves: move_to, then
// line_to from point to point. Each line leaves out its end point, so consecutive lines
// meet without drawing a joint twice (this matters for exclusive-or drawing and for the
// exact last pixel of a frame edge).
class Canvas {
 public:
  explicit Canvas(QPainter& painter);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  QPainter& painter() { return painter_; }
  void set_pen_colour(const QColor& colour);
  void move_to(int x, int y) { pos_ = QPoint(x, y); }
  void move_to(QPoint p) { pos_ = p; }
  void line_to(int x, int y);
  QPoint pen_pos() const { return pos_; }

  // Fills the pixels x1..x2 - 1 by y1..y2 - 1 (right and bottom edge excluded).
  void fill_rect(int x1, int y1, int x2, int y2, const QColor& colour);

  // Puts the lines drawn so far on the device; call before drawing on the painter directly.
  void flush();

 private:
  QPainter& painter_;
  QColor colour_;
  QPoint pos_;
  std::vector<QPoint> pending_;  // pixels of lines not yet on the device, all in colour_
};

// The bevel frame: light edge from (x1, y2) up to (x1, y1) and across to (x2, y1), dark edge
// down to (x2, y2) and back to (x1, y2). With x1 < x2 and y1 < y2 the frame is raised; with
// the corners swapped it is sunken. On the printer both edges are black.
void bevel(Canvas& canvas, int x1, int y1, int x2, int y2, bool printer);
void bevel(QPainter& painter, int x1, int y1, int x2, int y2, bool printer);

}  // namespace pulvitra
