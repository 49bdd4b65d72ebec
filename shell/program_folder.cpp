#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "shell/bounded_read.h"
#include "shell/language.h"
#include "shell/settings.h"

#ifndef PULVITRA_SHARED_FROM_BIN
#define PULVITRA_SHARED_FROM_BIN "../share/pulvitra"
#endif

namespace pulvitra {

namespace {

QString with_slash(const QString& folder) {
  QString f = QDir::cleanPath(folder);
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

QString base_folder(const QString& value, const QString& home, const char* fallback) {
  if (QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
  return QDir::cleanPath(home + QLatin1Char('/') + QLatin1String(fallback));
}

// "$HOME/x" or "${HOME}/x" with the home folder put in; an absolute path as it is; anything
// else is no folder.
QString expand_home(const QString& value, const QString& home) {
  for (QLatin1String var : {QLatin1String("$HOME"), QLatin1String("${HOME}")}) {
    if (value == var || value.startsWith(var + QLatin1Char('/')))
      return QDir::cleanPath(home + value.mid(var.size()));
  }
  return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

bool has_help(const QString& folder) {
  return QFileInfo::exists(folder + QStringLiteral("/pulvitra_de.hlp")) ||
         QFileInfo::exists(folder + QStringLiteral("/pulvitra_en.hlp"));
}

// The desktop's list of user folders: a few lines. Anything else there (a named pipe would
// stop the start for good) leaves the dialogs in the home folder.
QByteArray user_dirs_bytes(const QString& path) { return read_bounded(path, 64 * 1024).bytes; }

}  // namespace

QString config_home(const QString& xdg_config_home, const QString& home) {
  return base_folder(xdg_config_home, home, ".config");
}

QString data_home(const QString& xdg_data_home, const QString& home) {
  return base_folder(xdg_data_home, home, ".local/share");
}

QString documents_dir_from(const QString& environment_value, const QString& user_dirs_text, const QString& home) {
  QString value = environment_value;
  if (value.isEmpty()) {
    static const QRegularExpression line(QStringLiteral(R"(^\s*XDG_DOCUMENTS_DIR\s*=\s*"((?:[^"\\]|\\.)*)\"\s*$)"));
    for (const QString& text : user_dirs_text.split(QLatin1Char('\n'))) {
      const auto match = line.match(text.trimmed());
      if (!match.hasMatch()) continue;
      value.clear();
      const QString quoted = match.captured(1);
      for (qsizetype i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == QLatin1Char('\\') && i + 1 < quoted.size()) ++i;
        value += quoted[i];
      }
    }
  }
  const QString folder = expand_home(value, home);
  return folder == QDir::cleanPath(home) ? QString() : folder;
}

ProgramFolders decide_program_folders(const FolderInputs& in) {
  ProgramFolders out;
  if (!in.pulvitra_home.isEmpty()) {
    const QString folder = with_slash(in.pulvitra_home);
    out.settings_file = folder + QLatin1String(kSettingsFileName);
    out.help_source = out.help_copy = folder;
    out.documents = folder + QStringLiteral("data");
    return out;
  }
  const QString program = with_slash(in.program_dir);
  const QString shared = with_slash(in.shared_dir);
  // A bin/ folder whose help lies in share/pulvitra/ is an install, even where this user may
  // write to it (an administrator): settings left there would hold every user's.
  const bool installed_layout = in.shared_dir_has_help && !in.program_dir_has_help;
  out.portable = in.program_dir_has_ini || (in.program_dir_writable && !installed_layout);
  if (out.portable) {
    out.settings_file = program + QLatin1String(kSettingsFileName);
    out.help_source = installed_layout ? shared : program;
    out.help_copy = program;
    out.documents = program + QStringLiteral("data");
    return out;
  }
  out.create_on_use = true;
  out.settings_file = with_slash(config_home(in.xdg_config_home, in.home)) + QStringLiteral("pulvitra/") +
                      QLatin1String(kSettingsFileName);
  out.help_source = shared;
  out.help_copy = with_slash(data_home(in.xdg_data_home, in.home)) + QStringLiteral("pulvitra/");
  const QString documents = in.documents_dir.isEmpty() ? in.home : in.documents_dir;
  out.documents = with_slash(documents) + QStringLiteral("Pulvitra");
  return out;
}

QString shipped_help_file(const ProgramFolders& folders, bool german) {
  return folders.help_source + (german ? QStringLiteral("pulvitra_de.hlp") : QStringLiteral("pulvitra_en.hlp"));
}

QString help_copy_file(const ProgramFolders& folders) { return folders.help_copy + QStringLiteral("pulvitra.hlp"); }

FolderInputs current_folder_inputs() {
  FolderInputs in;
  in.pulvitra_home = qEnvironmentVariable("PULVITRA_HOME");
  if (!in.pulvitra_home.isEmpty()) {
    in.pulvitra_home = QDir(in.pulvitra_home).absolutePath();
    return in;  // nothing else counts
  }
  in.program_dir = QDir::cleanPath(QCoreApplication::applicationDirPath());
  in.shared_dir = QDir::cleanPath(in.program_dir + QStringLiteral("/" PULVITRA_SHARED_FROM_BIN));
  in.program_dir_has_ini = QFileInfo::exists(in.program_dir + QLatin1Char('/') + QLatin1String(kSettingsFileName));
  // access() also knows read-only mounts, which the permission bits do not show.
  in.program_dir_writable = ::access(QFile::encodeName(in.program_dir).constData(), W_OK | X_OK) == 0;
  in.program_dir_has_help = has_help(in.program_dir);
  in.shared_dir_has_help = has_help(in.shared_dir);
  in.home = QDir::homePath();
  in.xdg_config_home = qEnvironmentVariable("XDG_CONFIG_HOME");
  in.xdg_data_home = qEnvironmentVariable("XDG_DATA_HOME");
  const QString user_dirs = config_home(in.xdg_config_home, in.home) + QStringLiteral("/user-dirs.dirs");
  in.documents_dir = documents_dir_from(qEnvironmentVariable("XDG_DOCUMENTS_DIR"),
                                        QString::fromUtf8(user_dirs_bytes(user_dirs)), in.home);
  return in;
}

ProgramFolders program_folders() { return decide_program_folders(current_folder_inputs()); }

QString make_folder(const QString& folder) {
  std::error_code error;
  const std::filesystem::path path(QFile::encodeName(folder).toStdString());
  std::filesystem::create_directories(path, error);
  if (!error && !std::filesystem::is_directory(path, error)) error = std::make_error_code(std::errc::not_a_directory);
  if (!error) return {};
  return lang_text(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden: %2"),
                   QStringLiteral("The folder \"%1\" could not be created: %2"))
      .arg(folder, QString::fromStdString(error.message()));
}

}  // namespace pulvitra
