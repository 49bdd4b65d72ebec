#include "app/view_pages.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QSlider>

#include "app/core/language.h"
#include "app/image_control.h"
#include "app/radio_group.h"
#include "app/tmain.h"

namespace pulvitra {

namespace {

template <typename T>
T* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new T(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, int x, int y) {
  auto* l = make<QLabel>(parent, name, x, y, 150, 16);
  l->setText(QString::fromUtf8(caption));
  return l;
}

}  // namespace

ViewPages::ViewPages(TMain& main) : QObject(&main), main_(main) { build(); }

void ViewPages::build() {
  QWidget* overview = make<QWidget>(main_.page(kPageOverview), "Panel3", 0, 0, 625, 420);
  (new ImageControl(QStringLiteral("Image2"), 545, 398, overview))->move(8, 8);
  make<QScrollBar>(overview, "ScrollBar1", 597, 8, 21, 398);

  QWidget* zoom = make<QWidget>(main_.page(kPageZoom), "Panel4", 0, 0, 625, 420);
  (new ImageControl(QStringLiteral("Image1"), 550, 313, zoom))->move(19, 0);
  auto* zoom_bar = make<QScrollBar>(zoom, "ScrollBar2", 19, 320, 550, 17);
  zoom_bar->setOrientation(Qt::Horizontal);
  auto* factor_box = make<QGroupBox>(zoom, "GroupBox6", 19, 340, 90, 50);
  factor_box->setTitle(QStringLiteral("&Zoom"));
  auto* factor = make<QComboBox>(factor_box, "ComboBox1", 8, 20, 55, 21);
  factor->setEditable(true);
  factor->addItems({"300", "200", "150", "100", "50", "33", "25"});
  label(factor_box, "Label24", "%", 68, 22);
  auto* scale = new RadioGroup(QStringLiteral("RadioGroup3"), QStringLiteral("&Scala"),
                               {QStringLiteral("P&ulsperiodendauer ( ms )"), QStringLiteral("H&erzfrequenz ( 1 / min ) ")},
                               zoom);
  scale->setGeometry(115, 340, 200, 60);
  auto* axis = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("&X"),
                              {QStringLiteral("Zeit"), QStringLiteral("Seiten")}, zoom);
  axis->setGeometry(320, 340, 90, 60);
  label(zoom, "Label25", "Rot:", 420, 340);
  label(zoom, "Label28", "Marker", 460, 340);
  label(zoom, "Label26", "Blau:", 420, 356);
  label(zoom, "Label29", "Pace-Marken", 460, 356);
  label(zoom, "Label27", "Grün:", 420, 372);
  label(zoom, "Label30", "Beginn/End-Marken", 460, 372);

  QWidget* histogram = make<QWidget>(main_.page(kPageHistogram), "Panel5", 0, 0, 625, 420);
  label(histogram, "Label5", "Unterer Grenzwert ->", 24, 22);
  auto* lower = make<QSlider>(histogram, "TrackBar1", 24, 40, 545, 30);
  lower->setOrientation(Qt::Horizontal);
  (new ImageControl(QStringLiteral("Image4"), 590, 289, histogram))->move(0, 72);
  auto* upper = make<QSlider>(histogram, "TrackBar2", 24, 361, 545, 30);
  upper->setOrientation(Qt::Horizontal);
  label(histogram, "Label12", "<- Oberer Grenzwert", 440, 392);
  auto* hint = label(histogram, "Label16", "Mit den Grenzwertgebern können kleine, nicht signifikante Werte herausgefiltert werden.", 24, 4);
  hint->resize(560, 16);

  QWidget* trend = make<QWidget>(main_.page(kPageTrend), "Panel7", 0, 0, 625, 420);
  new ImageControl(QStringLiteral("Image3"), 595, 366, trend);
  label(trend, "Label33", "Rot:", 8, 372);
  label(trend, "Label34", "Marker", 48, 372);
  label(trend, "Label31", "Grün:", 160, 372);
  label(trend, "Label37", "Beginn/End-Marken", 200, 372);

  QWidget* lorenz = make<QWidget>(main_.page(kPageLorenz), "Panel8", 0, 0, 625, 420);
  (new ImageControl(QStringLiteral("Image5"), 452, 412, lorenz))->move(69, 0);
}

void ViewPages::init_controls() {
  auto* axis = main_.control<RadioGroup>("RadioGroup1");
  axis->setItems({lang_text(QStringLiteral("Zeit"), QStringLiteral("Time")),
                  lang_text(QStringLiteral("Seiten"), QStringLiteral("Pages"))});
  main_.control<QComboBox>("ComboBox1")->setCurrentIndex(1);
}

void ViewPages::derive_zoom_position() {}

void ViewPages::redraw_views(int) {}

void ViewPages::TabbedNotebook1Change(int) {}

void ViewPages::focus_overview() {
  if (auto* bar = main_.control<QScrollBar>("ScrollBar1")) bar->setFocus();
}

}  // namespace pulvitra
