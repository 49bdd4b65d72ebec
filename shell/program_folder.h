// Where the program keeps its files: the settings file, the help files and their copy in the
// chosen language, and the folder its file dialogs start in.
//
// A portable program (PULVITRA_HOME, or an executable's folder that holds Pulvitra.ini or is
// writable) keeps all of them in that one folder, the dialogs starting in its data/. An
// installed program, whose folder is shared and read-only, keeps them per user:
// $XDG_CONFIG_HOME/pulvitra/Pulvitra.ini, the help from <prefix>/share/pulvitra/ with the copy
// in $XDG_DATA_HOME/pulvitra/, and the dialogs in the documents folder's Pulvitra/.
#pragma once

#include <QString>

namespace pulvitra {

// What the choice depends on, as plain values, so it can be decided without a real home.
struct FolderInputs {
  QString pulvitra_home;  // PULVITRA_HOME, "" when unset
  QString program_dir;    // the executable's folder
  QString shared_dir;     // <prefix>/share/pulvitra beside the executable's bin/
  bool program_dir_has_ini = false;
  bool program_dir_writable = false;
  bool program_dir_has_help = false;  // pulvitra_de.hlp or pulvitra_en.hlp beside the executable
  bool shared_dir_has_help = false;
  QString home;             // the user's home folder
  QString xdg_config_home;  // as in the environment, "" when unset
  QString xdg_data_home;
  QString documents_dir;  // the user's documents folder, "" when there is none
};

struct ProgramFolders {
  bool portable = true;
  QString settings_file;  // the full name of Pulvitra.ini
  QString help_source;    // the folder of pulvitra_de.hlp and pulvitra_en.hlp, ends with "/"
  QString help_copy;      // the folder of the language's copy pulvitra.hlp, ends with "/"
  QString documents;      // the folder the file dialogs start in
  // An installed program makes its per-user folders when it first needs them; a portable one
  // leaves its folder as the user arranged it.
  bool create_on_use = false;
};

ProgramFolders decide_program_folders(const FolderInputs& in);

// The help of a language as it is shipped (pulvitra_de.hlp, pulvitra_en.hlp in help_source),
// and the copy of the chosen language that the help window shows (pulvitra.hlp in help_copy).
QString shipped_help_file(const ProgramFolders& folders, bool german);
QString help_copy_file(const ProgramFolders& folders);

// $XDG_CONFIG_HOME when it is an absolute path, otherwise ~/.config (a relative value does not
// count). The same for $XDG_DATA_HOME and ~/.local/share.
QString config_home(const QString& xdg_config_home, const QString& home);
QString data_home(const QString& xdg_data_home, const QString& home);

// The documents folder as the session names it: the variable XDG_DOCUMENTS_DIR when set,
// otherwise its line in the text of user-dirs.dirs ("$HOME/..." or an absolute path). "" when
// neither names one, or when it names the home folder itself.
QString documents_dir_from(const QString& environment_value, const QString& user_dirs_text, const QString& home);

// The inputs of this process: the environment, the executable's folder and what lies there.
FolderInputs current_folder_inputs();

// decide_program_folders(current_folder_inputs()).
ProgramFolders program_folders();

// Makes a folder with the folders above it. Returns "" or the error text, which names the
// folder and the system's reason.
QString make_folder(const QString& folder);

}  // namespace pulvitra
