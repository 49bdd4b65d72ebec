// Entry of every test executable: a QApplication (offscreen unless a platform is set) around
// GoogleTest, so widget, painter and timer code runs as in the program.
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The system's error texts in the messages are checked in English, whatever the machine's
  // language (the application has just taken it from the environment).
  std::setlocale(LC_MESSAGES, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
