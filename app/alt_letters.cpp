#include "app/alt_letters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTabBar>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

namespace pulvitra {

namespace {

enum Rank { kPushButton, kPageControl, kTab };

struct Claim {
  AltTarget target;
  Rank rank = kPageControl;
  QPoint place;  // top left in the window
};

bool claims(const QString& caption, const QKeySequence& key) {
  return !caption.isEmpty() && QKeySequence::mnemonic(caption) == key;
}

std::optional<Claim> claim_of(QWidget* w, QWidget* window, const QKeySequence& key) {
  Claim c;
  c.target.control = w;
  c.target.enabled = w->isEnabled();
  c.place = w->mapTo(window, QPoint(0, 0));
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    if (!claims(button->text(), key)) return std::nullopt;
    c.rank = qobject_cast<QPushButton*>(w) ? kPushButton : kPageControl;
    return c;
  }
  if (auto* label = qobject_cast<QLabel*>(w)) {
    // Only a label that names a field has a letter of its own.
    if (!label->buddy() || !claims(label->text(), key)) return std::nullopt;
    c.target.enabled = c.target.enabled && label->buddy()->isEnabled();
    return c;
  }
  if (auto* frame = qobject_cast<QGroupBox*>(w)) {
    if (frame->isCheckable() || !claims(frame->title(), key)) return std::nullopt;
    return c;
  }
  if (auto* bar = qobject_cast<QTabBar*>(w)) {
    for (int i = 0; i < bar->count(); ++i) {
      if (!claims(bar->tabText(i), key)) continue;
      c.target.tab = i;
      c.target.enabled = c.target.enabled && bar->isTabEnabled(i);
      c.rank = kTab;
      return c;
    }
  }
  return std::nullopt;
}

// A frame's letter goes to the item chosen in it, else to its first control that takes the
// focus by Tab.
void focus_into(QGroupBox* frame) {
  QWidget* first = nullptr;
  QWidget* w = frame;
  for (int guard = 0; guard < 1000; ++guard) {
    w = w->nextInFocusChain();
    if (w == frame) break;
    if (!frame->isAncestorOf(w) || !w->isVisibleTo(frame) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus))
      continue;
    auto* item = qobject_cast<QRadioButton*>(w);
    if (item && item->isChecked()) {
      first = w;
      break;
    }
    if (!first) first = w;
  }
  if (first) first->setFocus(Qt::ShortcutFocusReason);
}

// What the letter does to each kind of control, as when it alone had the letter.
void reach(const AltTarget& target) {
  if (!target.enabled) return;
  QWidget* w = target.control;
  if (auto* bar = qobject_cast<QTabBar*>(w)) {
    bar->setCurrentIndex(target.tab);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    QWidget* field = label->buddy();
    if (field->focusPolicy() != Qt::NoFocus) field->setFocus(Qt::ShortcutFocusReason);
    if (auto* button = qobject_cast<QAbstractButton*>(field)) button->animateClick();
  } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
    focus_into(frame);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->animateClick();
  }
}

bool is_alt_letter(const QKeySequence& key) {
  return key.count() == 1 && key[0].keyboardModifiers() == Qt::AltModifier;
}

// Sees every shortcut event of the application and answers those of the windows that follow
// the rule, whichever of the claiming controls Qt handed the event to.
class AltLetterRule : public QObject {
 public:
  explicit AltLetterRule(QObject* parent) : QObject(parent) {}

  void add(QWidget* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), nullptr), windows_.end());
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) windows_.emplace_back(window);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Shortcut || !watched->isWidgetType()) return false;
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) return false;
    const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
    if (!is_alt_letter(key)) return false;
    const AltTarget target = alt_letter_target(window, key);
    if (!target.control) return false;
    reach(target);
    return true;
  }

 private:
  std::vector<QPointer<QWidget>> windows_;
};

}  // namespace

AltTarget alt_letter_target(QWidget* window, const QKeySequence& key) {
  std::optional<Claim> best;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    const std::optional<Claim> c = claim_of(w, window, key);
    if (!c) continue;
    const auto order = [](const Claim& x) { return std::tuple(x.rank, x.place.y(), x.place.x()); };
    if (!best || order(*c) < order(*best)) best = c;
  }
  return best ? best->target : AltTarget{};
}

void resolve_alt_letters(QWidget* window) {
  static QPointer<AltLetterRule> rule;
  if (!rule) {
    rule = new AltLetterRule(qApp);
    qApp->installEventFilter(rule);
  }
  rule->add(window);
}

}  // namespace pulvitra
