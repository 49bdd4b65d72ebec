#include "app/radio_group.h"

#include <algorithm>

namespace pulvitra {

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items,
                       QWidget* parent)
    : QGroupBox(caption, parent) {
  setObjectName(name);
  group_.setExclusive(false);  // so that "none checked" can be restored
  setItems(items);
  connect(&group_, &QButtonGroup::idClicked, this, [this](int id) {
    setItemIndex(id);
    emit clicked(id);
  });
}

void RadioGroup::setItems(const QStringList& captions) {
  while (buttons_.size() > captions.size()) {
    QRadioButton* b = buttons_.takeLast();
    group_.removeButton(b);
    delete b;
  }
  for (int i = 0; i < captions.size(); ++i) {
    if (i >= buttons_.size()) {
      auto* b = new QRadioButton(this);
      b->setObjectName(objectName() + QStringLiteral("_item%1").arg(i));
      group_.addButton(b, i);
      buttons_.append(b);
    }
    buttons_[i]->setText(captions[i]);
  }
  layout_items();
}

QStringList RadioGroup::items() const {
  QStringList out;
  for (auto* b : buttons_) out << b->text();
  return out;
}

int RadioGroup::itemIndex() const {
  for (int i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->isChecked()) return i;
  return -1;
}

void RadioGroup::setItemIndex(int index) {
  for (int i = 0; i < buttons_.size(); ++i) {
    QSignalBlocker block(buttons_[i]);
    buttons_[i]->setChecked(i == index);
  }
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  layout_items();
}

void RadioGroup::setColumns(int columns) {
  columns_ = std::max(1, columns);
  layout_items();
}

void RadioGroup::layout_items() {
  const int top = 16, pitch = 18, left = 8;
  const int count = static_cast<int>(buttons_.size());
  const int rows = std::max(1, (count + columns_ - 1) / columns_);
  const int column_width = (width() - left - 4) / columns_;
  for (int i = 0; i < count; ++i) {
    const int column = i / rows, row = i % rows;
    buttons_[i]->setGeometry(left + column * column_width, top + row * pitch, column_width, pitch);
  }
}

}  // namespace pulvitra
