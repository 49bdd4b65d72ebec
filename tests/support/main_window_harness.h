// The main window as the window tests drive it: a program folder of its own, scripted dialogs,
// the settings it starts with, its controls by name. Header only: it needs the app library,
// which only the window tests link.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/patient_page.h"
#include "app/tmain.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "shell/language.h"
#include "shell/settings.h"
#include "tests/support/program_folder.h"
#include "tests/support/scripted_dialogs.h"

namespace pulvitra::test {

// The main window with scripted dialogs, in whatever program folder is current. The language
// goes back to German afterwards, as every other test expects it.
struct MainWindow {
  ~MainWindow() {
    window.reset();
    cur_lang = kGerman;
  }
  // Builds the window in the language; what its construction asked is forgotten.
  void start(std::uint8_t language = kGerman) {
    window.reset();
    cur_lang = language;
    window = std::make_unique<TMain>(settings);
    dialogs.calls.clear();
  }
  // An erased memory: every image byte 125.
  bool recording_is_empty() const {
    return std::all_of(window->ekg.Image.begin() + 1, window->ekg.Image.end(), [](auto b) { return b == 125; });
  }
  template <typename T = QWidget>
  T* control(const char* name) const {
    return window->control<T>(name);
  }

  ScriptedDialogs dialogs;
  Settings settings;
  std::unique_ptr<TMain> window;
};

// The main window in a program folder of its own; the folder outlives the window.
struct MainWindowInOwnFolder : TemporaryProgramFolder, MainWindow {
  // Saves a generated recording as FILE in the folder and opens it.
  void open_generated_recording(const PatientFields& patient = PatientFields{}, const char* file = "ecg.pul") {
    TEKG ekg;
    clear_recording(ekg);
    copy_generated_image(generate_recording(GeneratorOptions{}), ekg);
    ASSERT_TRUE(save_recording_file(path(file), patient, 0, ekg).ok);
    ASSERT_TRUE(window->patient->load_recording(path(file)));
    dialogs.calls.clear();
  }
};

}  // namespace pulvitra::test
