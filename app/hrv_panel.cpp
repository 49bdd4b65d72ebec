#include "app/hrv_panel.h"

#include <QLabel>
#include <algorithm>
#include <charconv>
#include <optional>
#include <span>

#include "app/control_factory.h"
#include "views/hrv.h"

namespace pulvitra {

namespace {

enum class Unit { kCount, kMs, kPercent, kRatio, kRate };

enum class Layout { kBeside, kBelow };  // the value beside its label, or on a line of its own

struct Row {
  const char* label_name;
  const char* value_name;
  const char* german;
  Unit unit;
  std::optional<double> (*get)(const HeartRateVariability&);
  Layout layout = Layout::kBeside;
};

std::optional<double> count(std::optional<int> value) {
  if (value) return *value;
  return std::nullopt;
}

// The order and names of the rows; the English labels are in the caption table. The figures
// that resemble the histogram's statistics are named for what they are: the mean RR is the
// mean of the intervals (the histogram's "Mittelwert" in ms is the period of the mean rate),
// and the rate here is 60000 / mean RR, a little below the histogram's mean of the rates.
constexpr Row kRows[] = {
    {"Label40", "Label60", "Schläge", Unit::kCount, [](const HeartRateVariability& h) { return count(h.n); }},
    {"Label41", "Label61", "RR Mittel", Unit::kMs, [](const HeartRateVariability& h) { return h.mean_rr_ms; }},
    {"Label42", "Label62", "SDNN", Unit::kMs, [](const HeartRateVariability& h) { return h.sdnn_ms; }},
    {"Label43", "Label63", "RMSSD", Unit::kMs, [](const HeartRateVariability& h) { return h.rmssd_ms; }},
    {"Label44", "Label64", "SDSD", Unit::kMs, [](const HeartRateVariability& h) { return h.sdsd_ms; }},
    {"Label45", "Label65", "NN50", Unit::kCount, [](const HeartRateVariability& h) { return count(h.nn50); }},
    {"Label46", "Label66", "pNN50", Unit::kPercent, [](const HeartRateVariability& h) { return h.pnn50_percent; }},
    {"Label47", "Label67", "SD1", Unit::kMs, [](const HeartRateVariability& h) { return h.sd1_ms; }},
    {"Label48", "Label68", "SD2", Unit::kMs, [](const HeartRateVariability& h) { return h.sd2_ms; }},
    {"Label49", "Label69", "SD1/SD2", Unit::kRatio, [](const HeartRateVariability& h) { return h.sd1_sd2; }},
    {"Label50", "Label70", "HF aus RR Mittel", Unit::kRate,
     [](const HeartRateVariability& h) { return h.rate_from_mean_rr; }, Layout::kBelow},
    {"Label51", "Label71", "HF min.", Unit::kRate, [](const HeartRateVariability& h) { return h.min_rate; }},
    {"Label52", "Label72", "HF max.", Unit::kRate, [](const HeartRateVariability& h) { return h.max_rate; }},
};

constexpr int kTop = 18;
constexpr int kRowHeight = 17;
constexpr int kLeft = 4;
constexpr int kLabelWidth = 54;

// Fixed notation; an exact half goes to the even neighbour.
QString fixed(double value, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString text_of(double value, Unit unit) {
  switch (unit) {
    case Unit::kCount: return QString::number(static_cast<long long>(value));
    case Unit::kMs: return fixed(value, 1) + QStringLiteral(" ms");
    case Unit::kPercent: return fixed(value, 1) + QStringLiteral(" %");
    case Unit::kRatio: return fixed(value, 2);
    case Unit::kRate: return fixed(value, 1) + QStringLiteral(" /min");
  }
  return {};
}

}  // namespace

HrvPanel::HrvPanel(QWidget* parent, int x, int y, int w, int h) : QGroupBox(parent) {
  setObjectName(QStringLiteral("GroupBox7"));
  setGeometry(x, y, w, h);
  setTitle(QStringLiteral("HRV"));
  int top = kTop;
  for (const Row& row : kRows) {
    const bool below = row.layout == Layout::kBelow;
    make_label(this, row.label_name, row.german, kLeft, top, below ? w - 2 * kLeft : kLabelWidth);
    if (below) top += kRowHeight;
    const int value_x = below ? kLeft : kLeft + kLabelWidth;
    QLabel* value = make_label(this, row.value_name, "", value_x, top, w - kLeft - value_x);
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
  const int beats = std::min<int>(ekg.BeatCount, kMaxBeats);
  const HeartRateVariability hrv =
      heart_rate_variability(std::span<const float>(ekg.BeatRate).subspan(1, beats),
                             std::span<const std::uint8_t>(ekg.BeatFlags).subspan(1, beats), limit1, limit2);
  // New leaves one beat of rate 0 behind, which no limits select: no beats, no figures.
  if (hrv.n == 0) {
    clear();
    return;
  }
  for (std::size_t i = 0; i < values_.size(); ++i) {
    const auto figure = kRows[i].get(hrv);
    values_[i]->setText(figure ? text_of(*figure, kRows[i].unit) : QString());
  }
}

}  // namespace pulvitra
