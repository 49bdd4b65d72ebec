// The heart-rate variability beside the Lorenz diagram: a label and a value per figure, for
// the beats between the histogram's limits. Empty while no beat lies between them.
#pragma once

#include <QGroupBox>
#include <vector>

#include "recording/tekg.h"

class QLabel;

namespace pulvitra {

class HrvPanel : public QGroupBox {
  Q_OBJECT
 public:
  // One row per variability figure (GroupBox7, labels Label40.., values Label60..), labelled
  // in the language chosen at the start.
  HrvPanel(QWidget* parent, int x, int y, int w, int h);

  // The figures of the recording's beats between the limit positions.
  void show_figures(const TEKG& ekg, int limit1, int limit2);

 private:
  void clear();
  std::vector<QLabel*> values_;
};

}  // namespace pulvitra
