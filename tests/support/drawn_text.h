// A paint device that keeps where every text and line lands and draws nothing: each drawText
// with its box as the reader sees it, measured with QFontMetrics in the font it was drawn in,
// at the device's resolution (96 dpi like the screen, or a printer's), and each line as a line
// or as its points. For the tests that keep texts off each other and off the lines beside them.
#pragma once

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>
#include <algorithm>
#include <vector>

namespace pulvitra::test {

struct DrawnText {
  QString text;
  QRectF box;  // left at the pen, width the advance, top ascent above the baseline, one line high
};

// Horizontal gap between two boxes (negative when they overlap horizontally).
inline double horizontal_gap(const QRectF& left, const QRectF& right) { return right.left() - left.right(); }
// Vertical gap between a box and one below it.
inline double vertical_gap(const QRectF& upper, const QRectF& lower) { return lower.top() - upper.bottom(); }

class DrawnTextDevice : public QPaintDevice {
 public:
  DrawnTextDevice(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi), engine_(*this) {}

  QPaintEngine* paintEngine() const override { return &engine_; }
  const std::vector<DrawnText>& texts() const { return texts_; }
  const std::vector<QLineF>& lines() const { return lines_; }
  const std::vector<QPointF>& points() const { return points_; }

  // The first text drawn exactly so; an empty one at (0, 0) when there is none (the test then
  // fails on its position).
  DrawnText text(const QString& text) const {
    const auto it = std::find_if(texts_.begin(), texts_.end(), [&](const DrawnText& t) { return t.text == text; });
    return it == texts_.end() ? DrawnText{} : *it;
  }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return width_;
      case PdmHeight: return height_;
      case PdmWidthMM: return width_ * 254 / (10 * dpi_);
      case PdmHeightMM: return height_ * 254 / (10 * dpi_);
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return dpi_;
      case PdmNumColors: return 256;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    explicit Engine(DrawnTextDevice& device) : QPaintEngine(AllFeatures), device_(device) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
      if (state.state() & DirtyTransform) transform_ = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawLines(const QLine* lines, int count) override {
      for (int i = 0; i < count; ++i) device_.lines_.push_back(transform_.map(QLineF(lines[i])));
    }
    void drawLines(const QLineF* lines, int count) override {
      for (int i = 0; i < count; ++i) device_.lines_.push_back(transform_.map(lines[i]));
    }
    void drawPoints(const QPointF* points, int count) override {
      for (int i = 0; i < count; ++i) device_.points_.push_back(transform_.map(points[i]));
    }
    void drawPoints(const QPoint* points, int count) override {
      for (int i = 0; i < count; ++i) device_.points_.push_back(transform_.map(QPointF(points[i])));
    }
    void drawRects(const QRect*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawPath(const QPainterPath&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      const QFontMetricsF fm(item.font(), &device_);
      const QString text = item.text();
      const QRectF box(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(text), fm.height());
      device_.texts_.push_back({text, transform_.mapRect(box)});
    }
    Type type() const override { return User; }

   private:
    DrawnTextDevice& device_;
    QTransform transform_;
  };

  int width_;
  int height_;
  int dpi_;
  mutable Engine engine_;
  std::vector<DrawnText> texts_;
  std::vector<QLineF> lines_;
  std::vector<QPointF> points_;
};

}  // namespace pulvitra::test
