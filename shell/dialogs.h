// The one seam for everything modal: message boxes, file dialogs, the print dialog and help. The program
// installs the Qt implementation; tests install ScriptedDialogs, which records every call
// and answers from a queue. Nothing else in the program opens a modal window itself.
#pragma once

#include <QSizeF>
#include <QString>

namespace pulvitra {

enum class DlgIcon { None, Information, Exclamation, Warning, Error, Question };
enum class DlgButtons { Ok, Cancel, YesNo, OkCancel };
enum class DlgAnswer { Ok, Cancel, Yes, No };

// What the user chose in the print dialog: a system printer, or a PDF file (what a machine
// without any printer prints to), with the paper and resolution chosen there.
struct PrintChoice {
  enum Kind { kCancelled, kPrinter, kPdfFile };
  Kind kind = kCancelled;
  QString printer_name;   // kPrinter
  QString file_name;      // kPdfFile
  QSizeF paper_mm{210.0, 297.0};  // portrait width and height
  int resolution = 600;   // dots per inch
  int copies = 1;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual DlgAnswer message(DlgIcon icon, DlgButtons buttons, const QString& caption,
                            const QString& text) = 0;
  // The same box with the button that Enter chooses named: a question whose Yes would
  // replace or throw away something preselects No, so that a hurried Enter keeps it. An
  // implementation that cannot preselect shows the plain box.
  virtual DlgAnswer message_preselecting(DlgIcon icon, DlgButtons buttons, const QString& caption,
                                         const QString& text, DlgAnswer preselected) {
    (void)preselected;
    return message(icon, buttons, caption, text);
  }
  // The chosen file's path, or "" when the user cancelled.
  virtual QString open_file_name(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
  // A typed name without an extension gets default_suffix from the dialog itself, before
  // it asks whether to replace an existing file, so the name returned is the one asked about.
  // Among several filters the chosen filter's extension takes default_suffix's place.
  virtual QString save_file_name(const QString& caption, const QString& folder,
                                 const QString& filter, const QString& suggested,
                                 const QString& default_suffix = QString()) = 0;
  // Shows the help file's topic of that context number.
  virtual void show_help(int topic) = 0;
  // The print dialog, titled with caption. Without a print dialog nothing is printed.
  virtual PrintChoice choose_printer(const QString& caption) {
    (void)caption;
    return {};
  }
};

// A file name as the save dialog completes it: "foo" and "foo." become "foo.<suffix>",
// a name with an extension ("foo.bak") stays. An empty suffix changes nothing.
QString with_default_suffix(const QString& name, const QString& suffix);

// The installed implementation. Until one is installed, a silent one answers Cancel/"".
Dialogs& dialogs();
// Installs an implementation (not owned); nullptr restores the silent one.
void set_dialogs(Dialogs* implementation);

}  // namespace pulvitra
