// The program's Dialogs: Qt message boxes, file dialogs and the help window, with Qt's own
// texts (standard buttons, dialog labels) in the program's language.
#pragma once

#include <QPointer>

#include "shell/dialogs.h"

class QTextBrowser;

namespace pulvitra {

class QtDialogs final : public Dialogs {
 public:
  DlgAnswer message(DlgIcon icon, DlgButtons buttons, const QString& caption, const QString& text) override;
  DlgAnswer message_preselecting(DlgIcon icon, DlgButtons buttons, const QString& caption, const QString& text,
                                 DlgAnswer preselected) override;
  QString open_file_name(const QString& caption, const QString& folder, const QString& filter) override;
  QString save_file_name(const QString& caption, const QString& folder, const QString& filter,
                         const QString& suggested, const QString& default_suffix) override;
  void show_help(int topic) override;
  // The platform's print dialog: the system's printers and printing to a PDF file.
  PrintChoice choose_printer(const QString& caption) override;

 private:
  QPointer<QTextBrowser> help_;
};

}  // namespace pulvitra
