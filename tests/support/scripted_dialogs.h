// A Dialogs implementation for tests: records every call with its exact
// caption and text, and answers from queues (an empty queue answers No/Cancel/"", or what
// the message preselects).
#pragma once

#include <QList>
#include <QString>
#include <deque>
#include <optional>

#include "shell/dialogs.h"

namespace pulvitra::test {

struct DialogCall {
  QString kind;  // "message", "open", "save", "help", "print"
  DlgIcon icon = DlgIcon::None;
  DlgButtons buttons = DlgButtons::Ok;
  QString caption;
  QString text;  // the message text, the filter of a file dialog, or the help topic number
  QString folder;
  std::optional<DlgAnswer> preselected;  // a message's button that Enter chooses, when named
};

class ScriptedDialogs final : public Dialogs {
 public:
  ScriptedDialogs() { set_dialogs(this); }
  ~ScriptedDialogs() override { set_dialogs(nullptr); }

  DlgAnswer message(DlgIcon icon, DlgButtons buttons, const QString& caption,
                    const QString& text) override;
  // Records the preselected answer; an empty queue answers with it, as Enter would.
  DlgAnswer message_preselecting(DlgIcon icon, DlgButtons buttons, const QString& caption,
                                 const QString& text, DlgAnswer preselected) override;
  QString open_file_name(const QString& caption, const QString& folder, const QString& filter) override;
  // Answers like the real dialog: the queued name completed with the default suffix.
  QString save_file_name(const QString& caption, const QString& folder, const QString& filter,
                         const QString& suggested, const QString& default_suffix) override;
  void show_help(int topic) override;
  // Answers from print_choices; an empty queue cancels.
  PrintChoice choose_printer(const QString& caption) override;

  std::deque<DlgAnswer> answers;
  std::deque<QString> file_names;
  std::deque<PrintChoice> print_choices;
  QList<DialogCall> calls;

  // The messages shown so far (kind "message" only).
  QList<DialogCall> messages() const;
};

}  // namespace pulvitra::test
