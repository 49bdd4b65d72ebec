// The one JSON writer of pulvitra-cli: members come out in the order they are written (the
// order scripts and the reference files rely on), numbers in their shortest exact form.
// Nested objects and arrays stay on one line; the outermost object puts each member on a
// line of its own, and an array of lines puts each item on a line of its own.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pulvitra::cli {

class JsonWriter {
 public:
  enum class Layout {
    kAtMargin,  // {"a": 1,\n"b": 2}
    kIndented,  // {\n  "a": 1,\n  "b": 2\n}
  };
  explicit JsonWriter(Layout layout = Layout::kAtMargin) : layout_(layout) {}

  JsonWriter& begin_object();
  JsonWriter& end_object();
  JsonWriter& begin_array();           // [1, 2, 3]
  JsonWriter& begin_array_of_lines();  // [\n  item,\n  item\n]
  JsonWriter& end_array();
  JsonWriter& key(std::string_view name);

  JsonWriter& value(long long number);
  JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
  JsonWriter& value(float number);   // the shortest decimal that reads back as this float
  JsonWriter& value(double number);  // the shortest decimal that reads back as this double
  JsonWriter& value(bool flag);
  JsonWriter& value(std::string_view text);  // UTF-8, escaped
  JsonWriter& value(const QString& text);
  JsonWriter& null();

  // The document with a final line break.
  std::string finish() const { return out_ + '\n'; }

 private:
  enum class Kind { kObject, kArray, kArrayOfLines };
  struct Level {
    Kind kind;
    bool empty = true;
  };
  void before_item();
  void open(Kind kind, char bracket);
  bool outermost_object() const { return levels_.size() == 1 && levels_.back().kind == Kind::kObject; }

  Layout layout_;
  std::string out_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

}  // namespace pulvitra::cli
