#include "tools/cli/options.h"

#include <algorithm>

#include "shell/language.h"
#include "views/view_state.h"

namespace pulvitra::cli {

namespace {

QString count_text(int values) { return values == 1 ? QStringLiteral("a value") : QStringLiteral("%1 values").arg(values); }

bool read_whole(const QString& text, int low, int high, int& value) {
  bool ok = false;
  const int v = text.toInt(&ok);
  if (!ok || v < low || v > high) return false;
  value = v;
  return true;
}

}  // namespace

std::optional<CommandLine> parse_command_line(const QString& command, const QStringList& args,
                                              const std::vector<Option>& options, int max_files, QString& error) {
  CommandLine line;
  int language = 0;
  std::vector<Option> table = options;
  table.push_back({QStringLiteral("--language"), 1, one_of({QStringLiteral("de"), QStringLiteral("en")}, language)});
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    auto option = std::find_if(table.begin(), table.end(), [&](const Option& o) { return o.name == arg; });
    if (option == table.end()) {
      if (arg.startsWith(QLatin1Char('-')) || line.files.size() >= max_files) {
        error = QStringLiteral("%1: unexpected argument '%2'").arg(command, arg);
        return std::nullopt;
      }
      line.files << arg;
      continue;
    }
    if (i + option->values >= args.size()) {
      error = QStringLiteral("%1: %2 needs %3").arg(command, arg, count_text(option->values));
      return std::nullopt;
    }
    const QString wrong = option->take(args.mid(i + 1, option->values));
    if (!wrong.isEmpty()) {
      error = QStringLiteral("%1: %2 %3").arg(command, arg, wrong);
      return std::nullopt;
    }
    if (arg == QLatin1String("--language")) {
      line.language = language == 0 ? kGerman : kEnglish;
      cur_lang = *line.language;
    }
    i += option->values;
  }
  return line;
}

Option::Take switch_on(bool& target) {
  return [&target](const QStringList&) {
    target = true;
    return QString();
  };
}

Option::Take text_into(QString& target) {
  return [&target](const QStringList& values) {
    target = values.first();
    return QString();
  };
}

Option::Take whole_number(int low, int high, int& target) {
  return [low, high, &target](const QStringList& values) {
    if (read_whole(values.first(), low, high, target)) return QString();
    return QStringLiteral("needs a whole number from %1 to %2").arg(low).arg(high);
  };
}

Option::Take whole_numbers(int low, int high, int& first, int& second) {
  return [low, high, &first, &second](const QStringList& values) {
    int a = 0, b = 0;
    if (read_whole(values[0], low, high, a) && read_whole(values[1], low, high, b)) {
      first = a;
      second = b;
      return QString();
    }
    return QStringLiteral("needs two whole numbers from %1 to %2, not '%3'").arg(low).arg(high).arg(values.join(' '));
  };
}

Option::Take one_of(const QStringList& words, int& index) {
  return [words, &index](const QStringList& values) {
    const auto found = words.indexOf(values.first());
    if (found < 0) return QStringLiteral("needs one of %1").arg(words.join(QStringLiteral(", ")));
    index = static_cast<int>(found);
    return QString();
  };
}

Option::Take zoom_factor(int& factor) {
  return [&factor](const QStringList& values) {
    int typed = 0;
    const QString wrong = whole_number(-1000000, 1000000, typed)(values);
    factor = std::clamp(typed, kZoomFactorMin, kZoomFactorMax);
    return wrong;
  };
}

}  // namespace pulvitra::cli
