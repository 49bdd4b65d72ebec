// A framed group of radio buttons addressed by item index, as the pages use them
// (sex, zoom scale, zoom axis). No item is checked until one is set or clicked.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>
#include <QStringList>

namespace pulvitra {

class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(const QString& name, const QString& caption, const QStringList& items, QWidget* parent);

  int itemIndex() const;          // -1 when none is checked
  void setItemIndex(int index);   // -1 clears; emits nothing
  void setItems(const QStringList& captions);
  QStringList items() const;
  QRadioButton* button(int index) const { return buttons_.value(index); }
  // Items fill the columns top to bottom, then left to right; one column unless set.
  void setColumns(int columns);
  int columns() const { return columns_; }

 signals:
  void clicked(int index);  // a click of the user on an item

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layout_items();
  QButtonGroup group_;
  QList<QRadioButton*> buttons_;
  int columns_ = 1;
};

}  // namespace pulvitra
