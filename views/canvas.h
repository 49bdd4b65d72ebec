// The one drawing vocabulary of the five views: the colours of the target (screen or
// printer), a pen that keeps its position and leaves out the end point of every line, fills,
// the bevel frame, text placed by its top-left corner, the recorder's device marks, and the
// frame that every chart view (histogram, trend, Lorenz) is drawn in.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <functional>
#include <vector>

#include "recording/page_reader.h"
#include "views/screen_image.h"
#include "views/view_target.h"

namespace pulvitra {

// The fixed colours of the views.
inline const QColor kBlack{0, 0, 0};
inline const QColor kWhite{255, 255, 255};
inline const QColor kGrid{128, 128, 128};   // dotted grid lines
inline const QColor kBlue{0, 0, 255};       // pace marks, first and last page of a strip, bars outside the limits
inline const QColor kRed{255, 0, 0};        // event marks, bars within the limits
inline const QColor kGreen{0, 128, 0};      // begin/end marks

// The colours that depend on the target: on the screen the desktop's button colours, on
// paper black frames on white.
struct ViewColours {
  QColor face;   // view background (button face); white on paper
  QColor light;  // light bevel edge (button highlight)
  QColor dark;   // dark bevel edge and etched lines (button shadow)
};

ViewColours screen_colours();  // taken from the application palette
ViewColours view_colours(bool printer);

// The window's font: sans-serif 8 pt. The program, and the command line where it draws as
// the window does, set it as the application's font.
QFont window_font();
// The font the views write with on the screen: the window's font, unsmoothed.
QFont screen_font();
// Keeps the painter's font and changes only its size, as the printed pages do between their
// parts.
void set_point_size(QPainter& painter, int points);
// Height of "X" in that font.
int screen_font_height();
// What the printed titles hang by: the height of "X" in the window's font, at the printer's
// resolution on paper (the screen's pixel count would be far too little at 600 dpi).
int title_hang_height(QPainter& painter, bool printer);

// How a canvas walks a solid one-pixel line. Both leave out the end point, so consecutive
// lines meet without painting a joint twice.
enum class LineWalk {
  // Steps along the longer axis, rounding the other to the nearest pixel: the ECG traces,
  // whose every point is a sample, and everything drawn by exclusive-or.
  kNearestStep,
  // The painter's own aliased line, which steps differently on most slopes: the chart views
  // have always been drawn with it, and their pictures must not change.
  kPainter,
};

class Canvas {
 public:
  explicit Canvas(QPainter& painter, bool printer = false, LineWalk walk = LineWalk::kNearestStep);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool printer() const { return printer_; }
  const ViewColours& colours() const { return colours_; }
  // The painter, with every line drawn so far already on the device.
  QPainter& painter();

  // The pen. Colour changes keep the style and width; solid() and dotted_grey() set both
  // style and colour. Dotted and wide lines are always the painter's.
  void set_pen_colour(const QColor& colour);
  void set_pen_solid();  // solid black
  void set_pen_dotted_grey();
  void set_pen_width(int width);
  void move_to(int x, int y) { pos_ = QPoint(x, y); }
  void move_to(QPoint p) { pos_ = p; }
  void line_to(int x, int y);
  QPoint pen_pos() const { return pos_; }

  // How many device pixels wide the bevel frames and the recorder's marks are: on a scaled
  // screen one window pixel's worth, so they look as they do at scale 1 (default 1).
  void set_frame_width(int device_pixels) { frame_width_ = std::max(device_pixels, 1); }

  // Fills the pixels x1..x2 - 1 by y1..y2 - 1 (right and bottom edge excluded).
  void fill_rect(int x1, int y1, int x2, int y2, const QColor& colour);

  // The bevel frame: light edge from (x1, y2) up to (x1, y1) and across to (x2, y1), dark
  // edge down to (x2, y2) and back to (x1, y2); the pen is left in the dark colour. With
  // x1 < x2 and y1 < y2 the frame is raised; with the corners swapped it is sunken. On the
  // printer both edges are black. A wider frame adds edges inwards, towards the other corner.
  void bevel(int x1, int y1, int x2, int y2);

  // Screen: fills the whole image with the face colour and draws the sunken border with
  // its far corner at (width - inset, height - inset), the frame width wide inwards.
  void screen_background(int inset);

  // Text, always black, with its top-left corner at (x, y); with a background, on a
  // rectangle of that colour as wide as the text and one line high.
  void set_font(int point_size, bool bold);
  void use_screen_font();
  int text_width(const QString& text);
  int text_height();  // TH: the line height of the current font
  void text_out(int x, int y, const QString& text);
  void text_out(int x, int y, const QString& text, const QColor& background);

  // The device marks that the page reader has seen since the last point, as one-pixel-wide
  // lines (frame width) from x on, from top to bottom - 1: pace (code 253) blue, event (254) red, begin/end
  // (start record) green, in this order. Each flag is cleared once its mark is drawn.
  // Returns whether a begin/end mark was drawn: a new measurement starts there.
  bool device_marks(DeviceMarks& marks, int x, int top, int bottom);

  // Puts the lines drawn so far on the device.
  void flush();

 private:
  void walk_to(int x, int y);
  void bevel_edges(int x1, int y1, int x2, int y2);
  bool plot_directly();
  void painter_line_to(int x, int y);
  void update_line_pen();

  QPainter& painter_;
  const QPen painter_pen_;  // given back when the canvas is done
  const bool printer_;
  const LineWalk walk_;
  const ViewColours colours_;
  QColor colour_;
  Qt::PenStyle style_ = Qt::SolidLine;
  int width_ = 1;
  int frame_width_ = 1;
  QPen line_pen_;  // the painter's pen for colour_, style_ and width_
  bool painter_has_line_pen_ = false;
  QPoint pos_;
  std::vector<QPoint> pending_;  // pixels of walked lines not yet on the device, all in colour_
};

// The frame of a chart view: its printed title (none when empty) with the top of the text
// at title_y, and on the screen the inset of the sunken border's far corner.
struct ChartFrame {
  QString title;
  int title_y = 0;
  int border_inset = 1;
};

// The scale a chart draws at: its screen image's, or on paper one pixel as the finest line.
ScreenScale chart_scale(QPainter& painter, const ViewTarget& target);

// The raised frame of a plot or panel from (x1, y1) to (x2, y2), `line` device pixels wide: at the far
// edges it reaches outwards, so that it covers the window pixels at both edges.
void plot_frame(Canvas& canvas, int x1, int y1, int x2, int y2, int line);

// A line from `from` to `to` (end point left out) drawn `width` times side by side, each copy
// one device pixel further across the line's longer axis (right of a steep line, below a flat
// one): the ticks of a chart, as wide as a window pixel on a scaled screen. The pen is left
// at `to`.
void wide_line(Canvas& canvas, QPoint from, QPoint to, int width);

// Draws a chart view on the target: on the screen in the window's font on the background
// with its sunken border, its frames as wide as a window pixel (views/screen_image.h), on the
// printer below its title. The painter is restored afterwards, except that on the printer the
// font stays as the view left it, since the next printed view measures its placement in it.
void draw_chart(QPainter& painter, const ViewTarget& target, const ChartFrame& frame,
                const std::function<void(Canvas&)>& body);

}  // namespace pulvitra
