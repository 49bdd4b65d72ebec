// A track bar: a horizontal slider that also shows a selection range, the band between the
// two histogram limits.
#pragma once

#include <QSlider>

namespace pulvitra {

class TrackBar : public QSlider {
  Q_OBJECT
 public:
  TrackBar(const QString& name, QWidget* parent);

  void setSelection(int start, int end);
  int SelStart() const { return sel_start_; }
  int SelEnd() const { return sel_end_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int position_x(int value) const;
  int sel_start_ = 0;
  int sel_end_ = 0;
};

}  // namespace pulvitra
