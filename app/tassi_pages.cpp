#include "app/tassi_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <climits>

#include "app/control_factory.h"
#include "app/radio_group.h"
#include "app/tassi_captions.h"

namespace pulvitra {

namespace {

constexpr int kTextLeft = 10;   // left edge of the texts on a page
constexpr int kTextWidth = 328; // up to the panel's inner right edge
constexpr int kLinePitch = 16;  // one text line below the other
constexpr int kFirstLine = 36;  // the first line below a page title

QFrame* make_panel(QWidget* window, const char* name) {
  auto* panel = make_control<QFrame>(window, name, kWizardPanelLeft, kWizardPanelTop, kWizardPanelWidth,
                                     kWizardPanelHeight);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);  // a lowered inner bevel
  panel->setLineWidth(1);
  panel->setAutoFillBackground(true);
  panel->setFont(wizard_text_font());
  return panel;
}

QLabel* text(QWidget* panel, const char* name, int x, int y, int w = kTextWidth) {
  auto* label = make_control<QLabel>(panel, name, x, y, w, kLinePitch);
  label->setText(wizard_german_caption(name));
  return label;
}

void title(QWidget* panel, const char* name) {
  auto* label = make_control<QLabel>(panel, name, kTextLeft, 8, kTextWidth, 22);
  label->setText(wizard_german_caption(name));
  label->setFont(wizard_title_font());
}

// Text lines one below the other from y on.
void lines(QWidget* panel, std::initializer_list<const char*> names, int y, int x = kTextLeft) {
  for (const char* name : names) {
    text(panel, name, x, y, kTextWidth - (x - kTextLeft));
    y += kLinePitch;
  }
}

template <typename T>
T* captioned(QWidget* panel, const char* name, int x, int y, int w, int h = 19) {
  auto* control = make_control<T>(panel, name, x, y, w, h);
  control->setText(wizard_german_caption(name));
  return control;
}

QComboBox* port_box(QWidget* panel, const char* label_name, const char* combo_name) {
  text(panel, label_name, kTextLeft, 158, 70);
  auto* combo = make_control<QComboBox>(panel, combo_name, 84, 156, 90, 21);
  // Editable only so that it can show a port outside its list (or "xxxx"); typing is not.
  combo->setEditable(true);
  combo->lineEdit()->setReadOnly(true);
  return combo;
}

void build_welcome(WizardPages& p, QWidget* window) {
  p.Panel1 = make_panel(window, "Panel1");
  title(p.Panel1, "Label1");
  lines(p.Panel1, {"Label2", "Label3", "Label4", "Label6", "Label7", "Label5"}, kFirstLine + 4);
  p.CheckBox1 = captioned<QCheckBox>(p.Panel1, "CheckBox1", kTextLeft, 156, 300);
  p.CheckBox2 = captioned<QCheckBox>(p.Panel1, "CheckBox2", kTextLeft, 180, 300);
}

void build_transmission(WizardPages& p, QWidget* window) {
  p.Panel3 = make_panel(window, "Panel3");
  title(p.Panel3, "Label17");
  text(p.Panel3, "Label18", kTextLeft, kFirstLine + 4);
  p.RadioButton1 = captioned<QRadioButton>(p.Panel3, "RadioButton1", 20, 64, 300);
  text(p.Panel3, "Label20", 38, 83);
  p.RadioButton2 = captioned<QRadioButton>(p.Panel3, "RadioButton2", 20, 106, 300);
  lines(p.Panel3, {"Label19", "Label23"}, 125, 38);
  p.RadioButton3 = captioned<QRadioButton>(p.Panel3, "RadioButton3", 20, 166, 300);
  p.RadioButton2->setChecked(true);
}

// A field with its label to the left; the label's accelerator focuses the field.
template <typename T>
T* field(QWidget* panel, const char* label_name, const char* name, int y, int w) {
  constexpr int kFieldLeft = 96;
  auto* control = make_control<T>(panel, name, kFieldLeft, y, w, 19);
  text(panel, label_name, kTextLeft, y + 2, kFieldLeft - kTextLeft - 4)->setBuddy(control);
  return control;
}

void build_patient(WizardPages& p, QWidget* window) {
  p.Panel2 = make_panel(window, "Panel2");
  title(p.Panel2, "Label8");
  constexpr int kTop = 31, kPitch = 19, kWide = 238;
  p.Edit1 = field<QLineEdit>(p.Panel2, "Label9", "Edit1", kTop, kWide);
  p.Edit2 = field<QLineEdit>(p.Panel2, "Label10", "Edit2", kTop + kPitch, kWide);
  p.MaskEdit1 = field<QLineEdit>(p.Panel2, "Label11", "MaskEdit1", kTop + 2 * kPitch, 70);
  // The same date mask as the patient page, so the date goes back and forth unchanged.
  p.MaskEdit1->setInputMask(QStringLiteral("09.09.99;_"));
  p.Edit3 = field<QLineEdit>(p.Panel2, "Label12", "Edit3", kTop + 3 * kPitch, kWide);
  p.Edit4 = field<QLineEdit>(p.Panel2, "Label13", "Edit4", kTop + 4 * kPitch, kWide);
  p.Edit5 = field<QLineEdit>(p.Panel2, "Label14", "Edit5", kTop + 5 * kPitch, 140);
  p.SpinEdit4 = field<QSpinBox>(p.Panel2, "Label15", "SpinEdit4", kTop + 6 * kPitch, 70);
  p.SpinEdit4->setRange(INT_MIN, INT_MAX);  // as on the patient page: the field sets no bounds
  p.Edit6 = field<QLineEdit>(p.Panel2, "Label16", "Edit6", kTop + 7 * kPitch, kWide);
  p.RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"), wizard_german_caption("RadioGroup2"),
                                 {QStringLiteral("weiblich"), QString::fromUtf8("männlich")}, p.Panel2);
  p.RadioGroup2->setColumns(2);
  p.RadioGroup2->setGeometry(kTextLeft, kTop + 8 * kPitch + 1, 324, 36);
}

void build_offline(WizardPages& p, QWidget* window) {
  p.Panel4 = make_panel(window, "Panel4");
  title(p.Panel4, "Label21");
  lines(p.Panel4, {"Label22", "Label24"}, kFirstLine + 4);
  lines(p.Panel4, {"Label25", "Label26", "Label27"}, kFirstLine + 4 + 3 * kLinePitch);
  p.ComboBox1 = port_box(p.Panel4, "Label28", "ComboBox1");
}

void build_online(WizardPages& p, QWidget* window) {
  p.Panel5 = make_panel(window, "Panel5");
  title(p.Panel5, "Label29");
  lines(p.Panel5, {"Label30", "Label31", "Label36", "Label32", "Label34"}, kFirstLine + 4);
  p.ComboBox2 = port_box(p.Panel5, "Label35", "ComboBox2");
}

}  // namespace

QFont wizard_text_font() {
  // The window font, narrowed: the page texts are long lines that must fit the page as
  // designed, whatever sans-serif face the desktop has.
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  font.setStretch(QFont::SemiCondensed);
  return font;
}

QFont wizard_title_font() {
  QFont font;
  font.setStyleHint(QFont::Serif);
  const QString wanted = QStringLiteral("Times New Roman");
  font.setFamily(QFontDatabase::hasFamily(wanted) ? wanted : font.defaultFamily());
  font.setPixelSize(16);
  font.setBold(true);
  font.setUnderline(true);
  return font;
}

WizardPages build_wizard_pages(QWidget* window) {
  WizardPages pages;
  build_welcome(pages, window);
  build_transmission(pages, window);
  build_patient(pages, window);
  build_offline(pages, window);
  build_online(pages, window);
  return pages;
}

}  // namespace pulvitra
