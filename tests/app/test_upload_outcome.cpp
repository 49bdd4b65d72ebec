// What the window does with a complete upload: the recording counts as unsaved, and the
// views never show the previous recording's figures.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <memory>
#include <string>

#include "shell/language.h"
#include "tests/support/scripted_dialogs.h"
#include "app/image_control.h"
#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/upload_controller.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

struct UploadOutcomeTest : ::testing::Test {
  UploadOutcomeTest() {
    qputenv("PULVITRA_HOME", home.path().toUtf8());
    cur_lang = kGerman;
    window = std::make_unique<TMain>(settings);
    dialogs.calls.clear();
  }
  ~UploadOutcomeTest() override { qunsetenv("PULVITRA_HOME"); }

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

  QTemporaryDir home;
  ScriptedDialogs dialogs;
  Settings settings;
  std::unique_ptr<TMain> window;
};

TEKG recording_with_beats() {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 3;
  TEKG ekg;
  copy_generated_image(generate_recording(options), ekg);
  return ekg;
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
