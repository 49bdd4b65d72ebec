#include "tests/support/scripted_dialogs.h"

namespace pulvitra::test {

DlgAnswer ScriptedDialogs::message(DlgIcon icon, DlgButtons buttons, const QString& caption,
                                   const QString& text) {
  calls.append({QStringLiteral("message"), icon, buttons, caption, text, {}, {}});
  if (!answers.empty()) {
    DlgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (buttons) {
    case DlgButtons::Ok: return DlgAnswer::Ok;
    case DlgButtons::YesNo: return DlgAnswer::No;
    default: return DlgAnswer::Cancel;
  }
}

DlgAnswer ScriptedDialogs::message_preselecting(DlgIcon icon, DlgButtons buttons, const QString& caption,
                                                const QString& text, DlgAnswer preselected) {
  const bool scripted = !answers.empty();
  const DlgAnswer answer = message(icon, buttons, caption, text);
  calls.last().preselected = preselected;
  return scripted ? answer : preselected;
}

QString ScriptedDialogs::open_file_name(const QString& caption, const QString& folder,
                                        const QString& filter) {
  calls.append({QStringLiteral("open"), DlgIcon::None, DlgButtons::Ok, caption, filter, folder, {}});
  if (file_names.empty()) return {};
  QString name = file_names.front();
  file_names.pop_front();
  return name;
}

QString ScriptedDialogs::save_file_name(const QString& caption, const QString& folder,
                                        const QString& filter, const QString&,
                                        const QString& default_suffix) {
  calls.append({QStringLiteral("save"), DlgIcon::None, DlgButtons::Ok, caption, filter, folder, {}});
  if (file_names.empty()) return {};
  QString name = file_names.front();
  file_names.pop_front();
  return with_default_suffix(name, default_suffix);
}

void ScriptedDialogs::show_help(int topic) {
  calls.append({QStringLiteral("help"), DlgIcon::None, DlgButtons::Ok, {}, QString::number(topic), {}, {}});
}

PrintChoice ScriptedDialogs::choose_printer(const QString& caption) {
  calls.append({QStringLiteral("print"), DlgIcon::None, DlgButtons::Ok, caption, {}, {}, {}});
  if (print_choices.empty()) return {};
  PrintChoice choice = print_choices.front();
  print_choices.pop_front();
  return choice;
}

QList<DialogCall> ScriptedDialogs::messages() const {
  QList<DialogCall> out;
  for (const auto& c : calls)
    if (c.kind == QLatin1String("message")) out.append(c);
  return out;
}

}  // namespace pulvitra::test
