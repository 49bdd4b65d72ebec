// Page 0: the patient data, the file buttons (New, Open, Save, Save as), Print, wizard,
// help, background and Exit.
#pragma once

#include <QObject>

class QWidget;

namespace pulvitra {

class TMain;

class PatientPage : public QObject {
  Q_OBJECT
 public:
  PatientPage(TMain& main, QWidget* page);

  void init_dialog_folders();  // creation step 7
  void reset_recording();      // New; creation step 16
  // Asks before the current project is lost; true when the action may go on.
  bool discard_check();

 private:
  void build(QWidget* page);
  TMain& main_;
};

}  // namespace pulvitra
