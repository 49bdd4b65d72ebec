#include "tools/cli/header_json.h"

#include "tools/cli/json_writer.h"

namespace pulvitra::cli {

std::string header_json(const RecordingHeader& header) {
  JsonWriter json(JsonWriter::Layout::kIndented);
  json.begin_object().key("magic_ok").value(header.magic_ok);
  if (header.magic_ok) {
    const PatientFields& f = header.fields;
    json.key("surname").value(f.surname);
    json.key("first_name").value(f.first_name);
    json.key("date").value(f.date);
    json.key("address").value(f.address);
    json.key("clinic").value(f.clinic);
    json.key("patient_id").value(f.patient_id);
    json.key("age").value(f.age);
    json.key("sex");
    if (f.sex == kSexFemale) json.value(std::string_view("female"));
    else if (f.sex == kSexMale) json.value(std::string_view("male"));
    else json.null();
    json.key("comment").value(f.comment);
    json.key("fixed_interval").value(static_cast<int>(header.fixed_interval));
  }
  return json.end_object().finish();
}

}  // namespace pulvitra::cli
