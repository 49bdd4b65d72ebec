// Where a portable and an installed program keep the settings, the help and the dialogs'
// start folder, decided from plain inputs so no real home folder is touched.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "shell/language.h"
#include "shell/program_folder.h"
#include "shell/settings.h"

using namespace pulvitra;

namespace {

// /opt/pv/bin with its help in /opt/pv/share/pulvitra, for the user /home/ute.
FolderInputs installed() {
  FolderInputs in;
  in.program_dir = "/opt/pv/bin";
  in.shared_dir = "/opt/pv/share/pulvitra";
  in.shared_dir_has_help = true;
  in.home = "/home/ute";
  return in;
}

}  // namespace

TEST(ProgramFolder, portable_folders_keep_everything_and_installed_ones_go_per_user) {
  struct Case {
    const char* name;
    FolderInputs in;
    bool portable;
    const char* settings;
    const char* help;
    const char* copy;
    const char* documents;
  };
  FolderInputs build = installed();
  build.program_dir_writable = build.program_dir_has_help = true;
  FolderInputs with_ini = installed();
  with_ini.program_dir_has_ini = true;
  FolderInputs admin = installed();
  admin.program_dir_writable = true;
  FolderInputs xdg = installed();
  xdg.xdg_config_home = "/srv/cfg";
  xdg.xdg_data_home = "/srv/data/";
  xdg.documents_dir = "/home/ute/Dokumente";
  FolderInputs relative = installed();
  relative.xdg_config_home = "cfg";
  relative.xdg_data_home = "data";
  FolderInputs overridden = installed();
  overridden.pulvitra_home = "/tmp/pv";
  const Case cases[] = {
      {"writable with its help beside", build, true, "/opt/pv/bin/Pulvitra.ini", "/opt/pv/bin/",
       "/opt/pv/bin/pulvitra.hlp", "/opt/pv/bin/data"},
      {"read-only", installed(), false, "/home/ute/.config/pulvitra/Pulvitra.ini", "/opt/pv/share/pulvitra/",
       "/home/ute/.local/share/pulvitra/pulvitra.hlp", "/home/ute/Pulvitra"},
      {"read-only holding Pulvitra.ini", with_ini, true, "/opt/pv/bin/Pulvitra.ini", "/opt/pv/share/pulvitra/",
       "/opt/pv/bin/pulvitra.hlp", "/opt/pv/bin/data"},
      {"installed, writable for an administrator", admin, false, "/home/ute/.config/pulvitra/Pulvitra.ini",
       "/opt/pv/share/pulvitra/", "/home/ute/.local/share/pulvitra/pulvitra.hlp", "/home/ute/Pulvitra"},
      {"XDG folders set", xdg, false, "/srv/cfg/pulvitra/Pulvitra.ini", "/opt/pv/share/pulvitra/",
       "/srv/data/pulvitra/pulvitra.hlp", "/home/ute/Dokumente/Pulvitra"},
      {"relative XDG folders do not count", relative, false, "/home/ute/.config/pulvitra/Pulvitra.ini",
       "/opt/pv/share/pulvitra/", "/home/ute/.local/share/pulvitra/pulvitra.hlp", "/home/ute/Pulvitra"},
      {"PULVITRA_HOME", overridden, true, "/tmp/pv/Pulvitra.ini", "/tmp/pv/", "/tmp/pv/pulvitra.hlp", "/tmp/pv/data"},
  };
  for (const Case& c : cases) {
    const ProgramFolders f = decide_program_folders(c.in);
    EXPECT_EQ(f.portable, c.portable) << c.name;
    EXPECT_EQ(f.create_on_use, !c.portable) << c.name;
    EXPECT_EQ(f.settings_file, c.settings) << c.name;
    EXPECT_EQ(f.help_source, c.help) << c.name;
    EXPECT_EQ(help_copy_file(f), c.copy) << c.name;
    EXPECT_EQ(f.documents, c.documents) << c.name;
  }
  EXPECT_EQ(shipped_help_file(decide_program_folders(installed()), false), "/opt/pv/share/pulvitra/pulvitra_en.hlp");
}

TEST(ProgramFolder, documents_folder_from_the_environment_or_user_dirs) {
  const QString home = "/home/ute";
  const QString file = "# written by the session\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                       "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  EXPECT_EQ(documents_dir_from("/data/docs", file, home), "/data/docs");
  EXPECT_EQ(documents_dir_from("", file, home), "/home/ute/Dokumente");
  EXPECT_EQ(documents_dir_from("", "XDG_DOCUMENTS_DIR=\"/mnt/akten\"", home), "/mnt/akten");
  EXPECT_EQ(documents_dir_from("", "XDG_DOCUMENTS_DIR=\"$HOME/Meine \\\"Akten\\\"\"", home),
            "/home/ute/Meine \"Akten\"");
  // The session's way of saying there is no documents folder, and values that name none.
  for (const char* none : {"XDG_DOCUMENTS_DIR=\"$HOME/\"", "XDG_DOCUMENTS_DIR=\"Dokumente\"",
                           "#XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", ""})
    EXPECT_EQ(documents_dir_from("", none, home), QString()) << none;
}

TEST(ProgramFolder, settings_make_their_per_user_folder_or_say_why_not) {
  QTemporaryDir dir;
  const QString path = dir.filePath("config/pulvitra/Pulvitra.ini");
  EXPECT_EQ(write_settings(path, Settings{}, "COM2", 2), QString());
  EXPECT_EQ(read_settings(path).ComPort, 2);

  QFile blocker(dir.filePath("plain"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  // A folder cannot be made beneath a plain file; nothing is written, and the message says why.
  const QString blocked = dir.filePath("plain/pulvitra/Pulvitra.ini");
  cur_lang = kEnglish;
  const QString error = write_settings(blocked, Settings{}, "COM1", 2);
  cur_lang = kGerman;
  EXPECT_TRUE(error.startsWith(QString("The settings file \"%1\" could not be written: The folder \"%2\" could not "
                                       "be created: ").arg(blocked, dir.filePath("plain/pulvitra"))))
      << error.toStdString();
  EXPECT_FALSE(QFile::exists(blocked));
}
