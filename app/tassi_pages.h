// The five stacked pages of the wizard with their controls, built at their places with the
// German design captions. The wizard window (TAssi) gives them their behaviour.
#pragma once

#include <QFont>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace pulvitra {

class RadioGroup;

struct WizardPages {
  QFrame* Panel1 = nullptr;  // step 1: welcome
  QFrame* Panel2 = nullptr;  // step 3: patient
  QFrame* Panel3 = nullptr;  // step 2: kind of transmission
  QFrame* Panel4 = nullptr;  // step 4: offline instructions
  QFrame* Panel5 = nullptr;  // step 5: online instructions

  QCheckBox* CheckBox1 = nullptr;  // wizard at program start
  QCheckBox* CheckBox2 = nullptr;  // background picture
  QRadioButton* RadioButton1 = nullptr;  // online
  QRadioButton* RadioButton2 = nullptr;  // offline
  QRadioButton* RadioButton3 = nullptr;  // open an existing file

  QLineEdit* Edit1 = nullptr;  // surname
  QLineEdit* Edit2 = nullptr;  // first name
  QLineEdit* MaskEdit1 = nullptr;  // date dd.mm.yy
  QLineEdit* Edit3 = nullptr;  // address
  QLineEdit* Edit4 = nullptr;  // clinic
  QLineEdit* Edit5 = nullptr;  // patient ID
  QSpinBox* SpinEdit4 = nullptr;  // age
  QLineEdit* Edit6 = nullptr;  // comment
  RadioGroup* RadioGroup2 = nullptr;  // sex

  QComboBox* ComboBox1 = nullptr;  // port, offline page
  QComboBox* ComboBox2 = nullptr;  // port, online page
};

// Page geometry: each panel 342 x 222 at (163, 2) of the window's client area.
inline constexpr int kWizardPanelLeft = 163;
inline constexpr int kWizardPanelTop = 2;
inline constexpr int kWizardPanelWidth = 342;
inline constexpr int kWizardPanelHeight = 222;

WizardPages build_wizard_pages(QWidget* window);

// The texts of the pages: the window's sans-serif face, narrowed so the lines fit.
QFont wizard_text_font();

// The page titles: a 16-pixel serif face, bold and underlined (Times New Roman where it is
// installed).
QFont wizard_title_font();

}  // namespace pulvitra
