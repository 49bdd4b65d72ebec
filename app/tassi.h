// The wizard: a fixed dialog that leads a user in five steps from the start of the program to
// an evaluation — welcome, the kind of transmission (offline upload, online mode or an existing
// file), the patient, and the instructions with the serial port. Finishing hands over to the
// main window: the offline choice copies the patient and starts the very upload of the device
// page, the online choice copies the patient and asks the IEC 950 question, the file choice
// runs the main window's Open. Created once after the main window; afterwards only shown and
// hidden. The main window stays disabled while the wizard is up.
#pragma once

#include <QDialog>
#include <QCoroTask>
#include <cstdint>
#include <optional>

#include "app/tassi_pages.h"
#include "files/recording_file.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace pulvitra {

class TMain;

class TAssi : public QDialog, public WizardPages {
  Q_OBJECT
 public:
  explicit TAssi(TMain& main);

  // 0: not running (initialised when it is next shown); 1..5: the step shown.
  std::int8_t wizard_step = 0;

  QLabel* Image1 = nullptr;        // the picture on the left
  QPushButton* Button1 = nullptr;  // cancel
  QPushButton* Button2 = nullptr;  // next / finish
  QPushButton* Button3 = nullptr;  // help
  QPushButton* Button4 = nullptr;  // back

  // Shows the wizard in front of the disabled main window.
  void show_wizard();

  // The panel of the step now shown (the one in front).
  QFrame* front_panel() const { return front_panel_; }
  static int help_topic(int step);

  PatientFields fields() const;
  void set_fields(const PatientFields& fields);

  // The upload the last offline finish started; it ends with the transfer.
  std::optional<QCoro::Task<>> upload;

  // Handlers.
  void Button1Click();  // cancel
  void Button2Click();  // next / finish
  void Button3Click();  // help
  void Button4Click();  // back
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton3Click();
  void CheckBox1Click();
  void CheckBox2Click();
  QCoro::Task<> ComboBox1Change(const QString& text);
  QCoro::Task<> ComboBox2Change(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and a close through the window manager act as Cancel, so the main window is never
  // left disabled behind a hidden wizard.
  void reject() override;

 private:
  void build_window();
  void build_buttons();
  void connect_controls();
  void FormShow();
  void initialise();
  void show_step();
  void bring_to_front(QFrame* panel);
  QFrame* panel_of_step(int step) const;
  void close_wizard();
  void return_to_main_window();
  void finish();
  void finish_open_file();
  void finish_offline();
  void finish_online();
  QCoro::Task<> port_changed(QComboBox* other, const QString& text);
  void list_ports();

  TMain& main_;
  QFrame* front_panel_ = nullptr;
};

}  // namespace pulvitra
