#include "files/header_json.h"

#include <QString>

namespace pulvitra {

namespace {

QByteArray json_string(const QString& text) {
  QByteArray out = "\"";
  for (const char c : text.toUtf8()) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20)
          out += "\\u00" + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
        else
          out += c;
    }
  }
  return out + '"';
}

QByteArray sex_value(int sex) {
  if (sex == kSexFemale) return "\"female\"";
  if (sex == kSexMale) return "\"male\"";
  return "null";
}

}  // namespace

QByteArray header_json(const RecordingHeader& header) {
  if (!header.magic_ok) return "{\n  \"magic_ok\": false\n}\n";
  const PatientFields& f = header.fields;
  const std::pair<const char*, QByteArray> members[] = {
      {"magic_ok", "true"},
      {"surname", json_string(f.surname)},
      {"first_name", json_string(f.first_name)},
      {"date", json_string(f.date)},
      {"address", json_string(f.address)},
      {"clinic", json_string(f.clinic)},
      {"patient_id", json_string(f.patient_id)},
      {"age", QByteArray::number(f.age)},
      {"sex", sex_value(f.sex)},
      {"comment", json_string(f.comment)},
      {"fixed_interval", QByteArray::number(header.fixed_interval)},
  };
  QByteArray out = "{";
  bool first = true;
  for (const auto& [key, value] : members) {
    out += first ? "\n  \"" : ",\n  \"";
    out += key;
    out += "\": ";
    out += value;
    first = false;
  }
  return out + "\n}\n";
}

}  // namespace pulvitra
