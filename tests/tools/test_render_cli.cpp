// pulvitra-cli render as users export pictures with it: one PNG per view, the size of the
// window's image, drawn without a display; clear errors for wrong arguments.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "tests/support/run_cli.h"

using namespace pulvitra::test;

namespace {

class CliRenderTest : public ::testing::Test {
 protected:
  CliRenderTest() {
    recording_ = dir_.filePath("walk.pul");
    const CliRun run = run_cli({"generate", recording_, "--seed", "5", "--events", "30"});
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
  }

  QImage render(const QStringList& options) {
    const QString out = dir_.filePath("view.png");
    QFile::remove(out);
    const CliRun run = run_cli(QStringList{"render", recording_} + options + QStringList{"-o", out});
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    return QImage(out);
  }

  QTemporaryDir dir_;
  QString recording_;
};

}  // namespace

TEST_F(CliRenderTest, every_view_comes_out_at_the_size_of_its_window_image) {
  struct Case {
    const char* view;
    QSize size;
  } cases[] = {{"overview", {545, 398}}, {"zoom", {550, 313}}, {"histogram", {590, 289}},
               {"trend", {595, 366}},    {"lorenz", {452, 412}}};
  for (const Case& c : cases) EXPECT_EQ(render({"--view", c.view}).size(), c.size) << c.view;
}

// A grown window's picture, and one for a screen of twice or one and a half the density: the
// PNG has that many more pixels, not the first size's picture enlarged.
TEST_F(CliRenderTest, size_and_pixel_ratio_give_the_picture_of_a_grown_window_on_a_dense_screen) {
  struct Case {
    QStringList options;
    QSize size;
  } cases[] = {{{"--size", "700x500"}, {700, 500}},
               {{"--size", "700x500", "--pixel-ratio", "2"}, {1400, 1000}},
               {{"--pixel-ratio", "1.5"}, {678, 618}}};
  for (const Case& c : cases)
    EXPECT_EQ(render(QStringList{"--view", "lorenz"} + c.options).size(), c.size) << c.options.join(' ').toStdString();
  EXPECT_EQ(render({"--view", "lorenz", "--size", "452x412", "--pixel-ratio", "1"}), render({"--view", "lorenz"}));
}

TEST_F(CliRenderTest, options_reach_the_picture_as_the_window_controls_would) {
  const QImage zoom = render({"--view", "zoom", "--page", "20", "--zoom", "100"});
  for (const QStringList& other : {QStringList{"--page", "21"}, QStringList{"--zoom", "50"},
                                   QStringList{"--scale", "rate"}, QStringList{"--axis", "pages"}})
    EXPECT_NE(zoom, render(QStringList{"--view", "zoom", "--page", "20", "--zoom", "100"} + other)) << other.join(' ').toStdString();
  // As in the window a factor beyond 400 is taken as 400.
  EXPECT_EQ(render({"--view", "zoom", "--zoom", "1000"}), render({"--view", "zoom", "--zoom", "400"}));
  // The selection rectangle moves with --selection: column 3 of row 2 has its top edge at y = 199.
  const QImage overview = render({"--view", "overview"});
  EXPECT_NE(overview.pixelColor(250, 199), render({"--view", "overview", "--selection", "3", "2"}).pixelColor(250, 199));
}

TEST_F(CliRenderTest, wrong_arguments_are_refused_with_a_message) {
  struct Case {
    QStringList args;
    int exit_code;
    const char* says;
  } cases[] = {
      {{"render", "RECORDING", "--view", "pie", "-o", "x.png"}, 2, "--view"},
      {{"render", "RECORDING", "--position", "18", "-o", "x.png"}, 2, "--position"},
      {{"render", "RECORDING", "--page", "0", "-o", "x.png"}, 2, "--page"},
      {{"render", "RECORDING", "--limits", "15", "-o", "x.png"}, 2, "--limits"},
      {{"render", "RECORDING", "--view", "lorenz", "--size", "451x412", "-o", "x.png"}, 2, "at least 452x412"},
      {{"render", "RECORDING", "--size", "600", "-o", "x.png"}, 2, "--size needs WIDTHxHEIGHT"},
      {{"render", "RECORDING", "--size", "9000x9000", "--pixel-ratio", "2", "-o", "x.png"}, 2, "16384"},
      {{"render", "RECORDING", "--pixel-ratio", "0.5", "-o", "x.png"}, 2, "--pixel-ratio needs a number from 1 to 4"},
      {{"render", "RECORDING", "--size", "545x790", "--position", "14", "-o", "x.png"}, 2, "from 0 to 13"},
      {{"render", "RECORDING", "--size", "545x790", "--selection", "0", "8", "-o", "x.png"}, 2, "row from 0 to 7"},
      {{"render", "RECORDING"}, 2, "-o"},
      {{"render", "MISSING", "-o", "x.png"}, 1, "cannot open"},
  };
  for (Case& c : cases) {
    c.args.replaceInStrings("RECORDING", recording_);
    c.args.replaceInStrings("MISSING", dir_.filePath("missing.pul"));
    c.args.replaceInStrings("x.png", dir_.filePath("x.png"));
    const CliRun run = run_cli(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.says;
    EXPECT_TRUE(run.err.contains(QLatin1String(c.says))) << run.err.toStdString();
  }
}
