#include "tools/cli/json_writer.h"

#include <charconv>

namespace pulvitra::cli {

namespace {

template <typename Number>
std::string shortest(Number number) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

}  // namespace

void JsonWriter::before_item() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  const bool first = level.empty;
  level.empty = false;
  if (level.kind == Kind::kArrayOfLines || (outermost_object() && layout_ == Layout::kIndented)) {
    out_ += first ? "\n  " : ",\n  ";
  } else if (!first) {
    out_ += outermost_object() ? ",\n" : ", ";
  }
}

void JsonWriter::open(Kind kind, char bracket) {
  before_item();
  out_ += bracket;
  levels_.push_back({kind});
}

JsonWriter& JsonWriter::begin_object() {
  open(Kind::kObject, '{');
  return *this;
}

JsonWriter& JsonWriter::end_object() {
  const bool line_of_its_own = outermost_object() && layout_ == Layout::kIndented && !levels_.back().empty;
  levels_.pop_back();
  out_ += line_of_its_own ? "\n}" : "}";
  return *this;
}

JsonWriter& JsonWriter::begin_array() {
  open(Kind::kArray, '[');
  return *this;
}

JsonWriter& JsonWriter::begin_array_of_lines() {
  open(Kind::kArrayOfLines, '[');
  return *this;
}

JsonWriter& JsonWriter::end_array() {
  const bool lines = levels_.back().kind == Kind::kArrayOfLines && !levels_.back().empty;
  levels_.pop_back();
  out_ += lines ? "\n]" : "]";
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  value(name);
  out_ += ": ";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::value(long long number) {
  before_item();
  out_ += std::to_string(number);
  return *this;
}

JsonWriter& JsonWriter::value(float number) {
  before_item();
  out_ += shortest(number);
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  before_item();
  out_ += shortest(number);
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  before_item();
  out_ += flag ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  before_item();
  out_ += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\n': out_ += "\\n"; break;
      case '\r': out_ += "\\r"; break;
      case '\t': out_ += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out_ += "\\u00";
          out_ += kHex[static_cast<unsigned char>(c) >> 4];
          out_ += kHex[c & 0x0F];
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
  return *this;
}

JsonWriter& JsonWriter::value(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return value(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

JsonWriter& JsonWriter::null() {
  before_item();
  out_ += "null";
  return *this;
}

}  // namespace pulvitra::cli
