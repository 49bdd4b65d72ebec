// Draws the program's icon once from one description and writes it as SVG and as PNGs, so the
// scalable and the pixel icons of an install can never drift apart.
// Usage: make-icon OUT_DIR  (writes pulvitra.svg, pulvitra-48.png, pulvitra-256.png)
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

constexpr int kDesignSize = 256;  // every coordinate below is on a 256 x 256 canvas

// One heartbeat across the recorder's screen: baseline, P wave, QRS, T wave.
const QPolygonF& trace() {
  static const QPolygonF points{{32, 140},  {70, 140},  {82, 128},  {94, 140},  {108, 140},
                                {118, 154}, {132, 64},  {146, 170}, {158, 140}, {178, 140},
                                {194, 122}, {210, 140}, {224, 140}};
  return points;
}

const QColor kCase{0x1f, 0x4e, 0x79};
const QColor kPaper{0xfd, 0xf3, 0xf0};
const QColor kGrid{0xf2, 0xb8, 0xad};
const QColor kTrace{0xc0, 0x28, 0x2d};
const QColor kLamp{0x7f, 0xd3, 0x6b};
const int kGridLines[] = {85, 122, 159};
const int kGridColumns[] = {80, 128, 176};

void draw(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kCase);
  p.drawRoundedRect(QRectF(16, 28, 224, 200), 28, 28);
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(32, 48, 192, 148), 12, 12);
  p.setPen(QPen(kGrid, 2));
  for (int y : kGridLines) p.drawLine(32, y, 224, y);
  for (int x : kGridColumns) p.drawLine(x, 48, x, 196);
  p.setPen(QPen(kTrace, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(trace());
  p.setPen(Qt::NoPen);
  p.setBrush(kLamp);
  p.drawEllipse(QPointF(208, 212), 6, 6);
}

QString svg() {
  QString points;
  for (const QPointF& pt : trace()) points += QStringLiteral("%1,%2 ").arg(pt.x()).arg(pt.y());
  QString grid;
  for (int y : kGridLines) grid += QStringLiteral("    <line x1=\"32\" y1=\"%1\" x2=\"224\" y2=\"%1\"/>\n").arg(y);
  for (int x : kGridColumns) grid += QStringLiteral("    <line x1=\"%1\" y1=\"48\" x2=\"%1\" y2=\"196\"/>\n").arg(x);
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
             "  <rect x=\"16\" y=\"28\" width=\"224\" height=\"200\" rx=\"28\" ry=\"28\" fill=\"%1\"/>\n"
             "  <rect x=\"32\" y=\"48\" width=\"192\" height=\"148\" rx=\"12\" ry=\"12\" fill=\"%2\"/>\n"
             "  <g stroke=\"%3\" stroke-width=\"2\">\n%4  </g>\n"
             "  <polyline points=\"%5\" fill=\"none\" stroke=\"%6\" stroke-width=\"9\" "
             "stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n"
             "  <circle cx=\"208\" cy=\"212\" r=\"6\" fill=\"%7\"/>\n"
             "</svg>\n")
      .arg(kCase.name(), kPaper.name(), kGrid.name(), grid, points.trimmed(), kTrace.name(), kLamp.name());
}

bool write_png(const QString& path, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.scale(double(size) / kDesignSize, double(size) / kDesignSize);
  draw(p);
  p.end();
  return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fputs("Usage: make-icon OUT_DIR\n", stderr);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(QStringLiteral("."))) return 1;
  QFile file(out.filePath(QStringLiteral("pulvitra.svg")));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(svg().toUtf8()) < 0) {
    std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(file.fileName()));
    return 1;
  }
  for (int size : {48, 256}) {
    const QString path = out.filePath(QStringLiteral("pulvitra-%1.png").arg(size));
    if (!write_png(path, size)) {
      std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
