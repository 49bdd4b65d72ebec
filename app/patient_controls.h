// The nine patient controls as the patient page and the wizard both name them (Edit1 surname,
// Edit2 first name, MaskEdit1 date, Edit3 address, Edit4 clinic, Edit5 patient ID, SpinEdit4
// age, RadioGroup2 sex, Edit6 comment), read into the file's patient fields.
#pragma once

#include <QLineEdit>
#include <QSpinBox>

#include "app/radio_group.h"
#include "files/recording_file.h"

namespace pulvitra {

template <class Form>
PatientFields patient_fields_of(const Form& form) {
  PatientFields f;
  f.surname = form.Edit1->text();
  f.first_name = form.Edit2->text();
  f.date = form.MaskEdit1->text();
  f.address = form.Edit3->text();
  f.clinic = form.Edit4->text();
  f.patient_id = form.Edit5->text();
  f.age = form.SpinEdit4->value();
  f.sex = form.RadioGroup2->itemIndex();
  f.comment = form.Edit6->text();
  return f;
}

}  // namespace pulvitra
