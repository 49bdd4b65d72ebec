// The nine patient controls as the patient page and the wizard both name them (Edit1 surname,
// Edit2 first name, MaskEdit1 date, Edit3 address, Edit4 clinic, Edit5 patient ID, SpinEdit4
// age, RadioGroup2 sex, Edit6 comment), read into the file's patient fields and filled from
// them through one table.
#pragma once

#include <QLineEdit>
#include <QSpinBox>
#include <array>

#include "app/radio_group.h"
#include "files/recording_file.h"

namespace pulvitra {

// The patient fields on a form with these nine controls (the patient page, the wizard).
template <class Form>
struct PatientControls {
  // A text field of the patient and the line edit that holds it.
  struct TextControl {
    QString PatientFields::*field;
    QLineEdit* Form::*control;
  };
  static constexpr std::array<TextControl, 7> kTextControls{{
      {&PatientFields::surname, &Form::Edit1},
      {&PatientFields::first_name, &Form::Edit2},
      {&PatientFields::date, &Form::MaskEdit1},
      {&PatientFields::address, &Form::Edit3},
      {&PatientFields::clinic, &Form::Edit4},
      {&PatientFields::patient_id, &Form::Edit5},
      {&PatientFields::comment, &Form::Edit6},
  }};

  static PatientFields read(const Form& form) {
    PatientFields f;
    for (const auto& [field, control] : kTextControls) f.*field = (form.*control)->text();
    f.age = form.SpinEdit4->value();
    f.sex = form.RadioGroup2->itemIndex();
    return f;
  }

  // A sex byte that is neither shows neither.
  static void show(Form& form, const PatientFields& f) {
    for (const auto& [field, control] : kTextControls) (form.*control)->setText(f.*field);
    form.SpinEdit4->setValue(f.age);
    form.RadioGroup2->setItemIndex(f.sex);
  }
};

}  // namespace pulvitra
