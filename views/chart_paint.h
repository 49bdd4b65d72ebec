// Small drawing helpers shared by the histogram, trend and Lorenz views, on top of the
// common conventions of views/bevel.h: the colours of the target, a pen that also changes
// width and style, text placed by its top-left corner, the printed page units and titles.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

#include "views/redraw.h"

namespace pulvitra::chart {

// Screen colours follow the desktop scheme; on paper the frames are black on white.
struct Colours {
  QColor face;    // view background
  QColor light;   // bevel light edge
  QColor shadow;  // bevel dark edge, etched lines
  bool printer = false;
};
Colours colours_for(const ViewTarget& target);

inline const QColor kBlack{0, 0, 0};
inline const QColor kWhite{255, 255, 255};
inline const QColor kGrid{128, 128, 128};
inline const QColor kBlue{0, 0, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kGreen{0, 128, 0};

// A pen position as on a drawing canvas: line_to draws from the position to the point,
// leaving out the point itself, and moves there; so a polyline paints every corner once.
class Pen {
 public:
  explicit Pen(QPainter& painter) : painter_(painter) {}
  void move_to(int x, int y) { x_ = x; y_ = y; }
  void line_to(int x, int y);
  void colour(const QColor& c);
  void solid();
  void dotted_grey();
  void width(int w);

 private:
  QPainter& painter_;
  int x_ = 0;
  int y_ = 0;
};

// The bevel frame of views/bevel.h in the target's colours.
void bevel(QPainter& painter, int x1, int y1, int x2, int y2, const Colours& colours);

// Fills the rectangle from (x1, y1) up to, not including, (x2, y2).
void fill_rect(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour);

int text_width(const QPainter& painter, const QString& text);
int text_height(const QPainter& painter, const QString& text);  // TH: line height of the font
// Writes text with its top-left corner at (x, y); with a background, on that colour.
void text_out(QPainter& painter, int x, int y, const QString& text);
void text_out(QPainter& painter, int x, int y, const QString& text, const QColor& background);

void set_font(QPainter& painter, int point_size, bool bold);

// Height of "X" in the main window's own screen font (sans-serif 8 pt).
int screen_font_height();

// On the screen the views write in the window's font, so every renderer shows the same.
void use_screen_font(QPainter& painter);

// Layout units of a printed page, in printer pixels.
struct PrintUnits {
  int print_top = 0;
  int print_row = 0;
  int print_left = 0;
  int print_gap = 0;
};
PrintUnits print_units(int page_width, int page_height);

// Printed view title: 10 pt bold, hung TW("XXX") left of print_left; then normal 7 pt.
void print_title(QPainter& painter, const QString& title, int print_left, int y);
void print_title(QPainter& painter, const QString& title, const PrinterPage& page, int y);

// Screen: fills the whole image with the face colour and draws the sunken frame with its
// far corner at (width - inset, height - inset).
void screen_background(QPainter& painter, const Colours& colours, int inset);

}  // namespace pulvitra::chart
