// "pulvitra FILE.pul", as a file manager starts it on a double click: the file is opened once
// the start sequence has ended, through Open's path and with Open's messages.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "app/image_control.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/tstart.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "shell/application.h"
#include "shell/language.h"
#include "shell/native_name.h"
#include "tests/support/main_window_harness.h"

using namespace pulvitra;
using namespace pulvitra::test;

namespace {

constexpr int kLastStartTick = 20;
const QString kTitle = QString::fromUtf8(kApplicationTitle);

// The program started in English with FILE as its argument, the start ticks driven by hand.
struct StartedWith : MainWindowInOwnFolder {
  explicit StartedWith(const QString& argument) {
    settings.Assist = false;
    start_window = std::make_unique<TStart>(settings);
    start_window->ll2Click();
    window = std::make_unique<TMain>(settings);
    start_window->main_window = window.get();
    start_window->file_argument = argument;
    start_window->forms_created = true;
    dialogs.calls.clear();
  }
  void tick(int count) {
    for (int i = 0; i < count; ++i) start_window->Timer1Timer();
  }
  QImage overview() {
    window->TabbedNotebook1->setCurrentIndex(2);
    return window->control<ImageControl>("Image2")->picture().copy();
  }

  std::unique_ptr<TStart> start_window;
};

QString write_recording(const QString& path) {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 5;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  PatientFields patient;
  patient.surname = QStringLiteral("Weber");
  patient.first_name = QStringLiteral("Anna");
  patient.patient_id = QStringLiteral("P-18");
  EXPECT_TRUE(save_recording_file(path, patient, 0, ekg).ok);
  return path;
}

}  // namespace

TEST(FileArgument, a_recording_shows_its_patient_and_overview_after_the_start_sequence) {
  QTemporaryDir files;
  const QString path = write_recording(files.filePath("weber.pul"));
  StartedWith empty{QString()};
  empty.tick(kLastStartTick);
  const QImage empty_overview = empty.overview();

  StartedWith program(path);
  program.tick(kLastStartTick - 1);
  EXPECT_EQ(program.window->control<QLineEdit>("Edit1")->text(), "") << "not before the sequence has ended";
  program.tick(1);
  EXPECT_TRUE(program.dialogs.messages().isEmpty());
  // The file keeps its texts padded with blanks to their field widths.
  for (auto [field, text] : {std::pair{"Edit1", "Weber"}, {"Edit2", "Anna"}, {"Edit5", "P-18"}}) {
    EXPECT_EQ(program.window->control<QLineEdit>(field)->text().trimmed(), text) << field;
  }
  EXPECT_EQ(program.window->windowTitle(), kTitle + "   " + path);
  EXPECT_TRUE(program.window->patient->save_allowed());
  EXPECT_GT(program.window->ekg.BeatCount, 300);
  EXPECT_NE(program.overview(), empty_overview) << "the overview shows the recording";
  EXPECT_FALSE(program.window->data_changed);
}

TEST(FileArgument, a_file_that_cannot_be_opened_gives_opens_message_and_an_empty_recording) {
  QTemporaryDir files;
  QFile foreign(files.filePath("letter.pul"));
  ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
  foreign.write(QByteArray(33280, 'x'));
  foreign.close();
  const struct {
    QString file, text;
  } cases[] = {
      {files.filePath("letter.pul"), "The opened file is not a Pulvitra file!\r\n\r\nPlease choose another file."},
      {files.filePath("missing.pul"),
       "An error has occurred while opening the file!\r\n\r\nThe file is possibly used by another program.\r\n\r\n"
       "System message: No such file or directory"},
  };
  for (const auto& c : cases) {
    StartedWith program(c.file);
    program.tick(kLastStartTick);
    const auto messages = program.dialogs.messages();
    ASSERT_FALSE(messages.isEmpty()) << c.file.toStdString();
    EXPECT_EQ(messages.back().caption, "File error");
    EXPECT_EQ(messages.back().text, c.text);
    EXPECT_TRUE(program.recording_is_empty());
    EXPECT_FALSE(program.window->patient->save_allowed());
    EXPECT_EQ(program.window->windowTitle(), kTitle + "   " + c.file);
  }
}

TEST(FileArgument, without_an_argument_the_start_opens_nothing) {
  StartedWith program{QString()};
  program.tick(kLastStartTick + 5);
  EXPECT_TRUE(program.dialogs.messages().isEmpty());
  EXPECT_EQ(program.window->windowTitle(), kTitle);
  EXPECT_TRUE(program.recording_is_empty());
}

// A name with a byte that is no UTF-8 (0xFF, as a file manager passes it on) opens its file;
// the caption shows a replacement character, and Save stays off: the Unicode name is another file.
TEST(FileArgument, a_name_that_is_no_utf8_opens_its_file_and_is_never_saved_to) {
  QTemporaryDir files;
  const QByteArray bytes = QFile::encodeName(files.path()) + "/weber\xFF.pul";
  ASSERT_EQ(std::rename(QFile::encodeName(write_recording(files.filePath("weber.pul"))).constData(), bytes.constData()), 0);
  StartedWith program(readable_name(bytes));
  program.tick(kLastStartTick);
  EXPECT_TRUE(program.dialogs.messages().isEmpty());
  EXPECT_EQ(program.window->control<QLineEdit>("Edit1")->text().trimmed(), "Weber");
  EXPECT_TRUE(program.window->windowTitle().endsWith(QString::fromUtf8("/weber\xEF\xBF\xBD.pul")))
      << program.window->windowTitle().toStdString();
  EXPECT_FALSE(program.window->patient->save_allowed());
  EXPECT_GT(program.window->ekg.BeatCount, 300);
  ::unlink(bytes.constData());  // Qt cannot name it to clean up
}
