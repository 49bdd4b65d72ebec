// The one option parser of pulvitra-cli. Each command lists its options in a table; the
// parser hands each option its values, stops at the first mistake with a message
// ("COMMAND: OPTION needs ...") and keeps the other arguments (the file names) in order.
// Every command also takes --language de|en, the language of its messages (English when
// not given), which the parser applies at once.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pulvitra::cli {

struct Option {
  // Takes the option's values; returns "" or what is wrong with them ("needs ...").
  using Take = std::function<QString(const QStringList& values)>;
  QString name;     // "--limits", "-o"
  int values = 0;   // how many arguments follow it; 0 for a switch
  Take take;
};

struct CommandLine {
  QStringList files;                     // the arguments that are no option, in order
  std::optional<std::uint8_t> language;  // --language, when given (1 German, 2 English)
};

// Parses the arguments after the command name. Returns nothing and sets error (for
// usage_error) on an unknown option, a missing or wrong value, or more than max_files files.
std::optional<CommandLine> parse_command_line(const QString& command, const QStringList& args,
                                              const std::vector<Option>& options, int max_files, QString& error);

// Takes for the tables.
Option::Take switch_on(bool& target);
Option::Take text_into(QString& target);
Option::Take whole_number(int low, int high, int& target);
Option::Take whole_numbers(int low, int high, int& first, int& second);  // two values
Option::Take one_of(const QStringList& words, int& index);
// As the window's zoom box: any whole number, a factor outside 20..400 taken as the nearest end.
Option::Take zoom_factor(int& factor);

}  // namespace pulvitra::cli
