#include "app/hrv_panel.h"

#include <QLabel>
#include <string>

#include "analysis/evaluation.h"
#include "app/control_factory.h"
#include "shell/language.h"
#include "views/evaluation_text.h"
#include "views/variability_figures.h"

namespace pulvitra {

namespace {

constexpr int kFirstLabel = 40;  // the rows' labels are Label40.., their values Label60..
constexpr int kFirstValue = 60;
constexpr int kTop = 18;
constexpr int kRowHeight = 17;
constexpr int kLeft = 4;
constexpr int kLabelWidth = 54;
// A label longer than this does not fit beside its value and gets a line of its own.
constexpr qsizetype kLabelColumnCharacters = 10;

std::string numbered(const char* stem, std::size_t number) { return stem + std::to_string(number); }

bool label_on_own_line(const VariabilityFigure& figure) {
  return QString::fromUtf8(figure.german).size() > kLabelColumnCharacters ||
         QString::fromUtf8(figure.english).size() > kLabelColumnCharacters;
}

}  // namespace

HrvPanel::HrvPanel(QWidget* parent, int x, int y, int w, int h) : QGroupBox(parent) {
  setObjectName(QStringLiteral("GroupBox7"));
  setGeometry(x, y, w, h);
  setTitle(QStringLiteral("HRV"));
  int top = kTop;
  const auto figures = variability_figures();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const bool below = label_on_own_line(figures[i]);
    QLabel* label = make_label(this, numbered("Label", kFirstLabel + i).c_str(), "", kLeft, top,
                               below ? w - 2 * kLeft : kLabelWidth);
    label->setText(lang_text(QString::fromUtf8(figures[i].german), QString::fromUtf8(figures[i].english)));
    if (below) top += kRowHeight;
    const int value_x = below ? kLeft : kLeft + kLabelWidth;
    QLabel* value = make_label(this, numbered("Label", kFirstValue + i).c_str(), "", value_x, top, w - kLeft - value_x);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    values_.push_back(value);
    top += kRowHeight;
  }
  auto* note = make_label(this, "Label53", "Schläge zwischen den Grenzwerten des Histogramms", kLeft, top + 6, w - 2 * kLeft, 44);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void HrvPanel::clear() {
  for (QLabel* value : values_) value->clear();
}

void HrvPanel::show_figures(const TEKG& ekg, int limit1, int limit2) {
  if (ekg.BeatCount == 0) {
    clear();
    return;
  }
  const HeartRateVariability hrv = evaluate(ekg, limit1, limit2).variability;
  // New leaves one beat of rate 0 behind, which no limits select: no beats, no figures.
  if (hrv.n == 0) {
    clear();
    return;
  }
  const auto figures = variability_figures();
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const auto figure = figures[i].value(hrv);
    values_[i]->setText(figure ? QString::fromStdString(figure_text(figures[i], *figure)) : QString());
  }
}

}  // namespace pulvitra
