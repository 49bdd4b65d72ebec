// Export in the views' pop-up menu: its place after Print, the save dialog it asks, the files
// it writes, and that a failure or an empty recording harms nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <memory>

#include "app/export_action.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "shell/language.h"
#include "tests/support/file_bytes.h"
#include "tests/support/main_window_harness.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

struct ExportWindowTest : ::testing::Test, MainWindowInOwnFolder {
  ExportWindowTest() { QDir(home.path()).mkdir(QStringLiteral("data")); }
  void load_beats() {
    PatientFields fields;
    fields.surname = QStringLiteral("Meier");
    fields.sex = kSexFemale;
    open_generated_recording(fields);
  }
  QString data(const char* name) const { return path(QStringLiteral("data/") + QLatin1String(name)); }
};

TEST_F(ExportWindowTest, writes_the_beat_list_or_the_edf_file_chosen_in_the_dialog) {
  start();
  QStringList menu;
  for (QAction* action : window->PopupMenu2->actions()) menu << action->text();
  EXPECT_EQ(menu, QStringList({"Drucken", "Exportieren...", "Hilfe"}));
  load_beats();
  dialogs.file_names = {data("list"), data("signal.edf")};
  export_recording(*window);
  export_recording(*window);
  ASSERT_EQ(dialogs.calls.size(), 2);  // two save dialogs, no message
  const DialogCall& asked = dialogs.calls[0];
  EXPECT_EQ(asked.kind, "save");
  EXPECT_EQ(asked.caption, "Exportieren");
  EXPECT_EQ(asked.text, "Schlagliste|*.csv|EDF+|*.edf");
  EXPECT_EQ(QDir(asked.folder).canonicalPath(), QDir(home.filePath("data")).canonicalPath());

  const QList<QByteArray> rows = read_all(data("list.csv")).split('\n');
  EXPECT_EQ(rows.size(), window->ekg.BeatCount + 2);  // header, beats, the empty end
  const QByteArray edf = read_all(data("signal.edf"));
  EXPECT_EQ(edf.mid(192, 5), "EDF+C");
  EXPECT_EQ(edf.mid(8, 20), "X F X Meier         ");
}

TEST_F(ExportWindowTest, a_failed_write_or_a_recording_as_target_says_so_and_keeps_the_old_file) {
  start();
  load_beats();
  const struct {
    const char* name;
    QByteArray previous;
    rlim_t size_limit;
  } rows[] = {{"old.csv", "an earlier export", 4096},
              {"old.edf", "an earlier export", 4096},
              // A recording typed as the export's name is never written over, whatever room there is.
              {"patient.pul", QByteArray("KORDAMAT File\0 the patient's recording", 39), RLIM_INFINITY}};
  for (const auto& [name, previous, size_limit] : rows) {
    QFile old(data(name));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(previous) == previous.size());
    old.close();
    dialogs.calls.clear();
    dialogs.file_names = {data(name)};
    with_file_size_limit(size_limit, [&] { export_recording(*window); });

    ASSERT_EQ(dialogs.messages().size(), 1) << name;
    EXPECT_EQ(dialogs.messages()[0].caption, "Dateifehler");
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QString::fromUtf8("Beim Speichern der Datei ist ein Fehler")));
    EXPECT_TRUE(dialogs.messages()[0].text.contains("\r\n\r\nMeldung des Systems: ")) << "with the system's reason";
    EXPECT_EQ(read_all(data(name)), previous) << name;
  }
}

TEST_F(ExportWindowTest, fewer_than_two_beats_only_says_there_is_nothing) {
  start(kEnglish);
  QStringList menu;
  for (QAction* action : window->PopupMenu2->actions()) menu << action->text();
  EXPECT_EQ(menu, QStringList({"Print", "Export...", "Help"}));
  dialogs.file_names = {data("empty.csv")};
  export_recording(*window);
  ASSERT_EQ(dialogs.calls.size(), 1);
  EXPECT_EQ(dialogs.calls[0].kind, "message");
  EXPECT_EQ(dialogs.calls[0].text, "No printable data available!");
  EXPECT_FALSE(QFile::exists(data("empty.csv")));
}

}  // namespace
