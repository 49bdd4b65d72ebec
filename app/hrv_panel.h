// The heart-rate variability beside the Lorenz diagram: a label and a value per figure, for
// the beats between the histogram's limits. Empty while no beat lies between them.
#pragma once

#include <QGroupBox>
#include <vector>

#include "recording/tekg.h"

class QLabel;

namespace pulvitra {

struct HeartRateVariability;

class HrvPanel : public QGroupBox {
  Q_OBJECT
 public:
  // Built with the German labels (GroupBox7, Label40.., Label60..); the caption table has
  // the English ones.
  HrvPanel(QWidget* parent, int x, int y, int w, int h);

  // The figures of the recording's beats between the limit positions.
  void show_figures(const TEKG& ekg, int limit1, int limit2);

 private:
  void clear();
  std::vector<QLabel*> values_;
};

}  // namespace pulvitra
