#include "app/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextBrowser>

#include "shell/language.h"
#include "shell/program_folder.h"

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

// Qt wants the file filter as "Text (*.x);;Other (*.y)"; the program writes "Text|*.x|Other|*.y".
QString qt_filter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
  return out.join(QLatin1String(";;"));
}

}  // namespace

DlgAnswer QtDialogs::message(DlgIcon icon, DlgButtons buttons, const QString& caption, const QString& text) {
  QMessageBox box(qt_icon(icon), caption, QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                  QMessageBox::NoButton, QApplication::activeWindow());
  switch (buttons) {
    case DlgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case DlgButtons::Cancel: box.setStandardButtons(QMessageBox::Cancel); break;
    case DlgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case DlgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return DlgAnswer::Ok;
    case QMessageBox::Yes: return DlgAnswer::Yes;
    case QMessageBox::No: return DlgAnswer::No;
    default: return DlgAnswer::Cancel;
  }
}

QString QtDialogs::open_file_name(const QString& caption, const QString& folder, const QString& filter) {
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, qt_filter(filter));
}

QString QtDialogs::save_file_name(const QString& caption, const QString& folder, const QString& filter,
                                  const QString& suggested) {
  QString start = suggested.isEmpty() ? folder : QDir(folder).filePath(suggested);
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, start, qt_filter(filter));
}

void QtDialogs::show_help(int topic) {
  if (!help_) {
    help_ = new QTextBrowser;
    help_->setAttribute(Qt::WA_DeleteOnClose);
    help_->resize(560, 460);
    help_->setWindowTitle(lang_text(QStringLiteral("Pulvitra Hilfe"), QStringLiteral("Pulvitra help")));
  }
  const QString path = program_folder() + QStringLiteral("pulvitra.hlp");
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    help_->setHtml(QString::fromUtf8(file.readAll()));
  } else {
    help_->setPlainText(lang_text(QStringLiteral("Die Hilfedatei fehlt: "), QStringLiteral("The help file is missing: ")) + path);
  }
  help_->scrollToAnchor(QStringLiteral("topic%1").arg(topic));
  help_->show();
  help_->raise();
}

}  // namespace pulvitra
