#include "app/patient_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/radio_group.h"
#include "app/tmain.h"

namespace pulvitra {

namespace {

template <typename T>
T* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* widget = new T(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int x, int y) {
  auto* b = make<QPushButton>(parent, name, x, y, 120, 25);
  b->setText(QString::fromUtf8(caption));
  return b;
}

}  // namespace

PatientPage::PatientPage(TMain& main, QWidget* page) : QObject(&main), main_(main) { build(page); }

void PatientPage::build(QWidget* page) {
  auto* frame = make<QGroupBox>(page, "GroupBox2", 8, 8, 440, 360);
  frame->setTitle(QStringLiteral("Patientendaten"));
  struct Field {
    const char* label;
    const char* caption;
    const char* edit;
  };
  const Field fields[] = {{"Label3", "Na&chname", "Edit1"}, {"Label6", "&Vorname", "Edit2"},
                          {"Label7", "&Anschrift", "Edit3"}, {"Label9", "Dat&um", "MaskEdit1"},
                          {"Label4", "&Klinik", "Edit4"},    {"Label10", "Patienten &ID", "Edit5"},
                          {"Label11", "Kommen&tar", "Edit6"}};
  int y = 24;
  for (const Field& f : fields) {
    auto* label = make<QLabel>(frame, f.label, 12, y, 90, 21);
    label->setText(QString::fromUtf8(f.caption));
    auto* edit = make<QLineEdit>(frame, f.edit, 110, y, 300, 21);
    label->setBuddy(edit);
    y += 30;
  }
  auto* age_label = make<QLabel>(frame, "Label8", 12, y, 90, 21);
  age_label->setText(QStringLiteral("A&lter"));
  auto* age = make<QSpinBox>(frame, "SpinEdit4", 110, y, 60, 21);
  age_label->setBuddy(age);
  auto* sex = new RadioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("Geschle&cht"),
                             {QStringLiteral("weiblich"), QStringLiteral("männlich")}, frame);
  sex->setGeometry(200, y, 150, 60);

  button(page, "Button1", "&Neu", 464, 16)->setToolTip(QStringLiteral("Alle Daten zurücksetzen"));
  button(page, "Button6", "Ö&ffnen", 464, 48)->setToolTip(QStringLiteral("EKG-Daten öffnen"));
  button(page, "Button7", "&Speichern", 464, 80);
  button(page, "Button8", "Speichern &unter...", 464, 112);
  button(page, "Button9", "&D&rucken", 464, 152);
  button(page, "Button2", "Pulvitra&-Assistent", 464, 192);
  button(page, "Button5", "&Hilfe", 464, 232);
  button(page, "Button10", "E&xit", 464, 340);
  auto* background = make<QCheckBox>(page, "CheckBox1", 464, 272, 120, 21);
  background->setText(QStringLiteral("Hintergrund"));
}

void PatientPage::init_dialog_folders() {}

void PatientPage::reset_recording() {
  clear_recording(main_.ekg);
  main_.data_changed = false;
}

bool PatientPage::discard_check() { return true; }

}  // namespace pulvitra
