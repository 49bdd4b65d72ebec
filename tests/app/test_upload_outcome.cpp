// What the window does with a complete upload: the recording counts as unsaved, Save does not
// silently put it into another patient's file, and the views never show the previous
// recording's figures.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include "shell/language.h"
#include "tests/support/file_bytes.h"
#include "tests/support/main_window_harness.h"
#include "app/image_control.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/upload_controller.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

struct UploadOutcomeTest : ::testing::Test, MainWindowInOwnFolder {
  UploadOutcomeTest() { start(); }

  // The end of a complete upload: the received image is in the recording and decoded, then
  // the upload hands over to the window.
  void complete_upload(const TEKG& received) {
    std::copy(received.Image.begin(), received.Image.end(), window->ekg.Image.begin());
    DecodeRecording(window->ekg, window->decoder);
    auto* controller = window->findChild<UploadController*>();
    ASSERT_NE(controller, nullptr);
    controller->decoded();
  }
  QImage picture(const char* name) { return window->control<ImageControl>(name)->picture().copy(); }
};

TEKG recording_with_beats() {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 3;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  return ekg;
}

TEKG other_patients_recording() {
  GeneratorOptions options;
  options.seed = 99;
  options.rate = 60;
  options.minutes = 2;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  return ekg;
}

QByteArray image_bytes(const TEKG& ekg) {
  return QByteArray(reinterpret_cast<const char*>(ekg.Image.data() + 1), kImageSize);
}

TEKG beatless_recording() {
  TEKG ekg;
  ekg.Image.fill(125);  // an erased memory: no measurement, no beat
  return ekg;
}

}  // namespace

TEST_F(UploadOutcomeTest, an_uploaded_recording_is_guarded_by_the_discard_question) {
  complete_upload(recording_with_beats());
  EXPECT_TRUE(window->data_changed);
  window->patient->Button1Click();  // New
  ASSERT_EQ(dialogs.messages().size(), 1);
  EXPECT_EQ(dialogs.messages()[0].caption, "Das aktuelle Projekt ist nicht gesichert");
  EXPECT_EQ(dialogs.messages()[0].buttons, DlgButtons::YesNo);
  EXPECT_GT(window->ekg.BeatCount, 100) << "No keeps the uploaded recording";
}

TEST_F(UploadOutcomeTest, a_beatless_upload_leaves_the_beat_views_as_new_does) {
  const char* beat_views[] = {"Image3", "Image4", "Image5"};  // trend, histogram, Lorenz
  std::map<std::string, QImage> as_new;
  for (const char* name : beat_views) as_new[name] = picture(name);

  complete_upload(recording_with_beats());
  for (const char* name : beat_views) ASSERT_NE(picture(name), as_new[name]) << name << " shows the beats";
  window->data_changed = false;

  complete_upload(beatless_recording());
  ASSERT_EQ(window->ekg.BeatCount, 0);
  for (const char* name : beat_views) EXPECT_EQ(picture(name), as_new[name]) << name;
}

// Müller's file is open, another patient's recorder is read, Save is pressed: the file only
// changes without a word when it holds nothing to lose.
TEST_F(UploadOutcomeTest, save_after_an_upload_asks_before_it_replaces_a_different_recording) {
  const TEKG uploaded = recording_with_beats();
  const TEKG mueller = other_patients_recording();
  TEKG prepared;
  clear_recording(prepared);  // a patient file made before the recording: every image byte 125
  PatientFields stored;
  stored.surname = QString::fromUtf8("Müller");
  stored.first_name = QString::fromUtf8("Jürgen");
  stored.date = QStringLiteral("01.02.99");
  const QString file = home.filePath("mueller.pul");
  const QString other_de = QString::fromUtf8(
      "Die Datei %1 enthält eine andere Aufzeichnung (Patient: Müller, Jürgen, 01.02.99). "
      "Soll sie durch die übertragene Aufzeichnung ersetzt werden?").arg(file);
  enum Meddle { kNone, kCutShort, kRemoved };  // what happens to the file between upload and Save
  struct Case {
    const char* name;
    std::uint8_t language;
    const TEKG* in_file;
    bool upload;
    Meddle meddle;
    std::deque<DlgAnswer> answers;  // none queued: Enter, the preselected button
    QString caption, question;      // "" = no question
    bool written;
  } cases[] = {
      {"other recording, Enter", kGerman, &mueller, true, kNone, {}, "Aufzeichnung ersetzen?", other_de, false},
      {"other recording, Yes", kEnglish, &mueller, true, kNone, {DlgAnswer::Yes}, "Replace recording?",
       QString::fromUtf8("The file %1 holds a different recording (patient: Müller, Jürgen, 01.02.99). "
                         "Replace it with the transferred recording?").arg(file), true},
      {"file cut short, No", kGerman, &mueller, true, kCutShort, {DlgAnswer::No}, "Aufzeichnung ersetzen?",
       QString::fromUtf8("Die Datei %1 lässt sich nicht als Aufzeichnung lesen. "
                         "Soll sie durch die übertragene Aufzeichnung ersetzt werden?").arg(file), false},
      {"prepared patient file", kGerman, &prepared, true, kNone, {}, "", "", true},
      {"same recording", kGerman, &uploaded, true, kNone, {}, "", "", true},
      {"file removed meanwhile", kGerman, &mueller, true, kRemoved, {}, "", "", true},
      {"no upload since Open", kGerman, &mueller, false, kNone, {}, "", "", true},
  };
  for (const Case& c : cases) {
    cur_lang = c.language;
    ASSERT_TRUE(save_recording_file(file, stored, 0, *c.in_file).ok);
    window->data_changed = false;
    window->patient->open_named_file(file);
    if (c.upload) complete_upload(uploaded);
    if (!c.upload) window->patient->set_fields(PatientFields{});  // an edit instead
    if (c.meddle == kCutShort) QFile::resize(file, 20000);
    if (c.meddle == kRemoved) QFile::remove(file);
    const QByteArray before = read_all(file);
    dialogs.calls.clear();
    dialogs.answers = c.answers;
    window->patient->Button7Click();

    const auto asked = dialogs.messages();
    if (c.question.isEmpty()) {
      EXPECT_TRUE(asked.isEmpty()) << c.name;
    } else {
      ASSERT_EQ(asked.size(), 1) << c.name;
      EXPECT_EQ(asked[0].caption, c.caption) << c.name;
      EXPECT_EQ(asked[0].text, c.question) << c.name;
      EXPECT_EQ(asked[0].buttons, DlgButtons::YesNo) << c.name;
      EXPECT_EQ(asked[0].preselected, DlgAnswer::No) << c.name;
    }
    if (c.written) {
      EXPECT_EQ(read_all(file).mid(kHeaderSize), image_bytes(window->ekg)) << c.name;
    } else {
      EXPECT_EQ(read_all(file), before) << c.name;
    }
    EXPECT_EQ(window->data_changed, !c.written) << c.name;
  }
  cur_lang = kGerman;
}
