// A paint device that keeps where texts, lines and points land and draws nothing. A text's box
// is the one the reader sees: from the pen, its advance wide and one line high, measured with
// QFontMetrics in its own font at the device's resolution (96 dpi like the screen, or a printer's).
#pragma once

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QTextItem>
#include <algorithm>
#include <vector>

namespace pulvitra::test {

struct DrawnText {
  QString text;
  QRectF box;
};

class DrawnTextDevice : public QPaintDevice {
 public:
  DrawnTextDevice(int width, int height, int dpi) : width_(width), height_(height), dpi_(dpi), engine_(*this) {}
  QPaintEngine* paintEngine() const override { return &engine_; }

  std::vector<DrawnText> texts;
  std::vector<QLineF> lines;
  std::vector<QPointF> points;

  // The first text drawn exactly so (an empty box at 0, 0 when there is none).
  QRectF box(const QString& text) const {
    const auto it = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == text; });
    return it == texts.end() ? QRectF() : it->box;
  }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return width_;
      case PdmHeight: return height_;
      case PdmWidthMM: return width_ * 254 / (10 * dpi_);
      case PdmHeightMM: return height_ * 254 / (10 * dpi_);
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return dpi_;
      case PdmDepth: return 32;
      case PdmNumColors: return 256;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  // The views draw without a transform, so positions arrive as they are on the page.
  struct Engine : QPaintEngine {
    explicit Engine(DrawnTextDevice& d) : QPaintEngine(AllFeatures), device(d) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawLines(const QLineF* l, int n) override { device.lines.insert(device.lines.end(), l, l + n); }
    void drawPoints(const QPointF* p, int n) override { device.points.insert(device.points.end(), p, p + n); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      const QFontMetricsF fm(item.font(), &device);
      device.texts.push_back({item.text(), QRectF(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(item.text()), fm.height())});
    }
    Type type() const override { return User; }
    DrawnTextDevice& device;
  };

  int width_, height_, dpi_;
  mutable Engine engine_;
};

}  // namespace pulvitra::test
