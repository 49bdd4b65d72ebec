// Page 0: the patient data, the file buttons (New, Open, Save, Save as), Print, wizard,
// help, background and Exit. The patient data lives only in this page's fields; the file
// code gets it as PatientFields.
#pragma once

#include <QObject>
#include <QString>

#include "files/recording_file.h"

class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace pulvitra {

class RadioGroup;
class TMain;

class PatientPage : public QObject {
  Q_OBJECT
 public:
  PatientPage(TMain& main, QWidget* page);

  void init_dialog_folders();  // creation step 7
  // Where the file dialogs start: the program's data/ folder, or the user's documents folder
  // of an installed program, made on first use.
  const QString& dialog_folder() const { return dialog_folder_; }
  QString dialog_folder();
  // New: today's date, empty fields, empty recording, views redrawn, plain caption,
  // nothing to save. Creation step 16 and the first step of Open.
  void reset_recording();
  // Asks before the current project is lost; true when the action may go on.
  bool discard_check();

  // Whether Save may write to the recording's FileName: after Save as or a successful Open,
  // not after New or an Open that failed (the name may then be any foreign file). Whoever
  // locks and unlocks Button7 restores it from this.
  bool save_allowed() const { return save_allowed_; }
  void update_save_button();

  // The page's fields as plain data and back; a sex of kSexNone selects neither item.
  PatientFields fields() const;
  void set_fields(const PatientFields& fields);

  // The main window's caption for an opened file: the title, three blanks and the name,
  // long names shortened to "..." and their tail from a folder separator on.
  static QString window_caption(const QString& file_name);

  bool save_recording(const QString& file_name);  // false after a failure, which it has shown
  // A complete upload replaced the recording: until the next New, Open or successful save,
  // Save checks what the file it would write holds.
  void recording_uploaded() { uploaded_since_file_ = true; }
  bool load_recording(const QString& file_name);  // false when nothing was taken from the file

  // Open once the discard question allowed it: the file dialog and, when a file was
  // chosen, New, the file's name in the caption and the file loaded. Also the wizard's Open.
  void open_file();
  // Open of a file already named (the dialog's choice, or the file the program was started
  // with): New, the name in the caption and the file loaded, with Open's messages.
  void open_named_file(const QString& name);

  // Handlers.
  void Change();        // any edit of a field: unsaved data
  void Button1Click();  // New
  void Button2Click();  // the wizard
  void Button6Click();  // Open
  void Button7Click();  // Save
  void Button8Click();  // Save as
  void Button9Click();  // Print: reports 1, 2 and 4 preselected

 private:
  template <class Form>
  friend struct PatientControls;  // reads and fills the nine controls

  void build(QWidget* page);
  void build_fields(QWidget* frame);
  void build_buttons(QWidget* page);
  void connect_changes();
  void set_file_name(const QString& file_name);
  QString file_name() const;
  // Save after an upload: the file may hold another patient's recording (the one opened
  // before the transfer). Asks, No preselected, before a different recording, or a file that
  // cannot be read as one, is replaced; an absent file, a prepared one (empty image) or the
  // same image need no question. True when Save may go on.
  bool may_replace_with_upload(const QString& file_name);

  TMain& main_;
  QString dialog_folder_;
  bool create_dialog_folder_ = false;
  bool save_allowed_ = false;
  bool uploaded_since_file_ = false;

  QLineEdit* Edit1 = nullptr;  // surname
  QLineEdit* Edit2 = nullptr;  // first name
  QLineEdit* Edit3 = nullptr;  // address
  QLineEdit* Edit4 = nullptr;  // clinic
  QLineEdit* Edit5 = nullptr;  // patient ID
  QLineEdit* Edit6 = nullptr;  // comment
  QLineEdit* MaskEdit1 = nullptr;  // date dd.mm.yy
  QSpinBox* SpinEdit4 = nullptr;   // age
  RadioGroup* RadioGroup2 = nullptr;  // sex
  QPushButton* Button1 = nullptr;  // New
  QPushButton* Button6 = nullptr;  // Open
  QPushButton* Button7 = nullptr;  // Save
  QPushButton* Button8 = nullptr;  // Save as
};

}  // namespace pulvitra
