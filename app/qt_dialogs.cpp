#include "app/qt_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <optional>

#include "shell/bounded_read.h"
#include "shell/language.h"
#include "shell/program_folder.h"
#include "app/qt_translation.h"

namespace pulvitra {

namespace {

QMessageBox::Icon qt_icon(DlgIcon icon) {
  switch (icon) {
    case DlgIcon::Information: return QMessageBox::Information;
    case DlgIcon::Exclamation:
    case DlgIcon::Warning: return QMessageBox::Warning;
    case DlgIcon::Error: return QMessageBox::Critical;
    case DlgIcon::Question: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButton qt_button(DlgAnswer answer) {
  switch (answer) {
    case DlgAnswer::Ok: return QMessageBox::Ok;
    case DlgAnswer::Cancel: return QMessageBox::Cancel;
    case DlgAnswer::Yes: return QMessageBox::Yes;
    case DlgAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

// Without a preselection the box chooses its own default button (Yes, OK).
DlgAnswer show_message(DlgIcon icon, DlgButtons buttons, const QString& caption, const QString& text,
                       std::optional<DlgAnswer> preselected) {
  apply_qt_translation(cur_lang);  // "Ja"/"Nein" where the German text asks for "Ja"
  QMessageBox box(qt_icon(icon), caption, QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                  QMessageBox::NoButton, QApplication::activeWindow());
  switch (buttons) {
    case DlgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case DlgButtons::Cancel: box.setStandardButtons(QMessageBox::Cancel); break;
    case DlgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case DlgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
  }
  if (preselected) box.setDefaultButton(qt_button(*preselected));
  switch (box.exec()) {
    case QMessageBox::Ok: return DlgAnswer::Ok;
    case QMessageBox::Yes: return DlgAnswer::Yes;
    case QMessageBox::No: return DlgAnswer::No;
    default: return DlgAnswer::Cancel;
  }
}

// Qt wants the file filter as "Text (*.x);;Other (*.y)"; the program writes "Text|*.x|Other|*.y".
QString qt_filter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
  return out.join(QLatin1String(";;"));
}

// The extension of a filter that names exactly one ("Beat list (*.csv)" -> "csv"), else "".
QString filter_suffix(const QString& qt_filter_entry) {
  static const QRegularExpression kOnePattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
  return kOnePattern.match(qt_filter_entry).captured(1);
}

// The save dialog completes a typed name with the default suffix itself and only then asks
// before replacing; it also takes "foo." as "foo" so that it becomes "foo.pul". With several
// filters the suffix is the chosen filter's, so "foo" under "EDF+ (*.edf)" becomes "foo.edf".
class SaveDialog final : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const QString chosen = filter_suffix(selectedNameFilter());
    if (!chosen.isEmpty() && !defaultSuffix().isEmpty()) setDefaultSuffix(chosen);
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
      const QString completed = with_default_suffix(files.first(), defaultSuffix());
      if (completed != files.first()) {
        // selectFile leaves the name field alone while it has the focus, as it has when the
        // user pressed Enter in it.
        if (auto* name_field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name_field->clearFocus();
        selectFile(completed);
      }
    }
    QFileDialog::accept();
  }
};

// Qt's own file dialog, not the desktop's, so that it speaks the program's language.
QString run_file_dialog(QFileDialog& dialog, const QString& filter) {
  apply_qt_translation(cur_lang);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilter(qt_filter(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

DlgAnswer QtDialogs::message(DlgIcon icon, DlgButtons buttons, const QString& caption, const QString& text) {
  return show_message(icon, buttons, caption, text, std::nullopt);
}

DlgAnswer QtDialogs::message_preselecting(DlgIcon icon, DlgButtons buttons, const QString& caption,
                                          const QString& text, DlgAnswer preselected) {
  return show_message(icon, buttons, caption, text, preselected);
}

QString QtDialogs::open_file_name(const QString& caption, const QString& folder, const QString& filter) {
  QFileDialog dialog(QApplication::activeWindow(), caption, folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return run_file_dialog(dialog, filter);
}

QString QtDialogs::save_file_name(const QString& caption, const QString& folder, const QString& filter,
                                  const QString& suggested, const QString& default_suffix) {
  SaveDialog dialog(QApplication::activeWindow(), caption, folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(default_suffix);
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  return run_file_dialog(dialog, filter);
}

void QtDialogs::show_help(int topic) {
  if (!help_) {
    help_ = new QTextBrowser;
    help_->setAttribute(Qt::WA_DeleteOnClose);
    help_->resize(560, 460);
    help_->setWindowTitle(lang_text(QStringLiteral("Pulvitra Hilfe"), QStringLiteral("Pulvitra help")));
  }
  // The copy made at the language choice; where it could not be made, the shipped file. Only
  // a regular file of sensible size is read: a named pipe would stop the program here.
  const ProgramFolders folders = program_folders();
  BoundedRead help = read_bounded(help_copy_file(folders), kHelpFileLimit);
  if (!help.read()) {
    BoundedRead shipped = read_bounded(shipped_help_file(folders, cur_lang == kGerman), kHelpFileLimit);
    // Of two that fail, the one that is there tells more than the one that is missing.
    if (shipped.read() || help.refusal == ReadRefusal::Missing) help = shipped;
  }
  if (help.read()) {
    help_->setHtml(QString::fromUtf8(help.bytes));
  } else if (help.refusal == ReadRefusal::Missing) {
    help_->setPlainText(lang_text(QStringLiteral("Die Hilfedatei fehlt: "), QStringLiteral("The help file is missing: ")) +
                        help_copy_file(folders));
  } else {
    help_->setPlainText(lang_text(QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gelesen: %2."),
                                  QStringLiteral("The help file \"%1\" was not read: %2."))
                            .arg(help.path, refusal_reason(help)));
  }
  help_->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
  help_->show();
  help_->raise();
}

PrintChoice QtDialogs::choose_printer(const QString& caption) {
  apply_qt_translation(cur_lang);  // the print dialog speaks the program's language too
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  dialog.setWindowTitle(caption);
  // No page range, selection or current page: a job is always the ticked reports whole. The
  // file choice stays, since a machine without a printer prints to a PDF file.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  PrintChoice choice;
  if (dialog.exec() != QDialog::Accepted) return choice;
  const bool to_file = printer.outputFormat() == QPrinter::PdfFormat;
  choice.kind = to_file ? PrintChoice::kPdfFile : PrintChoice::kPrinter;
  choice.printer_name = printer.printerName();
  choice.file_name = printer.outputFileName();
  choice.paper_mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
  choice.resolution = printer.resolution();
  choice.copies = printer.copyCount();
  if (to_file && choice.file_name.isEmpty()) choice.kind = PrintChoice::kCancelled;
  return choice;
}

}  // namespace pulvitra
