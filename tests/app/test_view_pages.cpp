// The view pages as a user drives them: the overview selection under the mouse and the
// scroll bar, the double-click between overview and zoom, the zoom factor, the limit bars.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <memory>
#include <random>
#include <set>

#include "shell/language.h"
#include "tests/support/main_window_harness.h"
#include "app/image_control.h"
#include "app/patient_page.h"
#include "files/recording_file.h"
#include "analysis/hrv.h"
#include "app/radio_group.h"
#include "app/tmain.h"
#include "app/track_bar.h"
#include "app/view_pages.h"
#include "recording/decoder.h"
#include "recording/recording_generator.h"
#include "views/canvas.h"
#include "views/evaluation_text.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

struct ViewPagesTest : ::testing::Test, MainWindowInOwnFolder {
  ViewPagesTest() { start(); }

  TEKG& ekg() { return window->ekg; }
  ViewPages& views() { return *window->views; }
  ViewState& state() { return window->views->state(); }
  QScrollBar* bar1() { return window->control<QScrollBar>("ScrollBar1"); }
  QScrollBar* bar2() { return window->control<QScrollBar>("ScrollBar2"); }
  QComboBox* factor() { return window->control<QComboBox>("ComboBox1"); }
  QImage& overview() { return window->control<ImageControl>("Image2")->picture(); }
  QImage& zoom() { return window->control<ImageControl>("Image1")->picture(); }
  void show_page(int page) { window->TabbedNotebook1->setCurrentIndex(page); }
  void choose_factor(const QString& text) {
    factor()->setEditText(text);
    views().ComboBox1Change();
  }
};

}  // namespace

TEST_F(ViewPagesTest, the_mouse_moves_the_selection_to_the_pages_around_it) {
  struct Case {
    int x, y, column, row;
  } cases[] = {
      {0, 50, 0, 0},    {545, 50, 6, 0},   {90, 50, 0, 0},   {124, 50, 0, 0}, {125, 50, 1, 0},
      {215, 103, 2, 1}, {300, 397, 3, 3},  {300, 0, 3, 0},   {460, 290, 6, 3},
  };
  for (const Case& c : cases) {
    views().Image1MouseDown(c.x, c.y);
    EXPECT_EQ(state().SelColumn, c.column) << "x " << c.x;
    EXPECT_EQ(state().SelRow, c.row) << "y " << c.y;
  }
}

TEST_F(ViewPagesTest, the_selection_moves_with_the_mouse_without_redrawing) {
  show_page(kPageOverview);
  const QColor face = screen_colours().face;
  const QImage before = overview().copy();
  views().Image1MouseDown(545, 50);  // column 6 of row 0
  // The old rectangle is gone, the new one and its continuation at the start of row 1 show.
  EXPECT_EQ(overview().pixelColor(100, 3), face);
  EXPECT_NE(overview().pixelColor(400, 3), face);
  EXPECT_NE(overview().pixelColor(30, 101), face);
  views().Image1MouseDown(0, 103);  // column 0 of row 1: one page at the ninth column of row 0
  EXPECT_NE(overview().pixelColor(500, 3), face);
  EXPECT_EQ(overview().pixelColor(400, 3), face);
  views().Image1MouseDown(0, 0);
  EXPECT_EQ(overview(), before);
}

TEST_F(ViewPagesTest, double_click_on_the_overview_opens_the_selection_at_100_percent) {
  show_page(kPageOverview);
  views().Image1MouseDown(215, 103);  // column 2, row 1
  views().Image1DblClick();
  EXPECT_EQ(window->TabbedNotebook1->currentIndex(), kPageZoom);
  EXPECT_EQ(bar2()->value(), 11);
  EXPECT_EQ(factor()->currentText(), "100");
  EXPECT_EQ(views().last_reading().CurPage, 14) << "the zoom drew pages 11..13";
  EXPECT_FALSE(views().DblClickNav);
  EXPECT_EQ(state().SelColumn, 2) << "the page change left the selection alone";
}

TEST_F(ViewPagesTest, double_click_on_the_zoom_shows_its_place_in_the_overview) {
  show_page(kPageZoom);
  bar2()->setValue(100);  // pages 100..102 at 100 %
  views().Image1DblClick();
  EXPECT_EQ(window->TabbedNotebook1->currentIndex(), kPageOverview);
  // Page 100 is column 3 of strip 12; the overview scrolls so that strip is row 2.
  EXPECT_EQ(state().SelColumn, 3);
  EXPECT_EQ(state().SelRow, 2);
  EXPECT_EQ(bar1()->value(), 10);
  EXPECT_FALSE(views().DblClickNav);
}

TEST_F(ViewPagesTest, scrolling_keeps_the_selection_on_its_pages) {
  struct Case {
    int row, from, to, row_after;
  } cases[] = {{2, 0, 1, 1}, {2, 0, 2, 0}, {0, 0, 1, 0}, {1, 3, 2, 2}, {3, 3, 1, 3}, {0, 17, 0, 3}};
  for (const Case& c : cases) {
    bar1()->setValue(c.from);
    state().SelRow = c.row;
    bar1()->setValue(c.to);
    EXPECT_EQ(state().SelRow, c.row_after) << c.row << " from " << c.from << " to " << c.to;
    EXPECT_EQ(state().LastOverviewPos, c.to);
  }
}

TEST_F(ViewPagesTest, scroll_bars_redraw_on_a_change_but_not_during_an_upload) {
  bar2()->setValue(20);
  zoom().fill(Qt::white);
  bar2()->setValue(20);
  EXPECT_EQ(zoom().pixelColor(100, 100), QColor(Qt::white)) << "no change, no redraw";
  bar2()->setValue(21);
  EXPECT_NE(zoom().pixelColor(100, 100), QColor(Qt::white));


  views().upload_running = true;
  overview().fill(Qt::white);
  state().SelRow = 2;
  bar1()->setValue(1);
  EXPECT_EQ(overview().pixelColor(100, 100), QColor(Qt::white));
  EXPECT_EQ(state().SelRow, 1);
  views().upload_running = false;
  bar1()->setValue(2);
  EXPECT_NE(overview().pixelColor(100, 100), QColor(Qt::white));
}

TEST_F(ViewPagesTest, the_overview_shows_the_zoom_place) {
  struct Case {
    int zoom_page, position;
    int column, row, position_after;
  } cases[] = {
      {1, 0, 0, 0, 0},
      {11, 0, 2, 1, 0},
      {1, 5, 0, 0, 0},     // the overview scrolls back to show the first strip
      {8, 0, 6, 0, 0},     // page 8 ends its strip: the selection 7..9 holds it
      {9, 0, 0, 1, 0},
      {100, 0, 3, 2, 10},  // strip 12 comes into view as row 2
      {100, 15, 3, 0, 12},
      {166, 0, 5, 3, 17},  // the overview cannot scroll past 17
      {170, 0, 6, 3, 17},
      {171, 3, 6, 3, 17},
  };
  for (const Case& c : cases) {
    bar2()->setValue(c.zoom_page);
    bar1()->setValue(c.position);
    views().zoom_to_overview();
    EXPECT_EQ(state().SelColumn, c.column) << "zoom at " << c.zoom_page;
    EXPECT_EQ(state().SelRow, c.row) << "zoom at " << c.zoom_page;
    EXPECT_EQ(bar1()->value(), c.position_after) << "zoom at " << c.zoom_page;
  }
}

TEST_F(ViewPagesTest, the_overview_shows_the_zoom_place_at_every_factor) {
  for (const char* factor_text : {"300", "200", "100", "50", "25"}) {
    show_page(kPageZoom);
    choose_factor(QString::fromLatin1(factor_text));
    bar2()->setValue(42);
    show_page(kPageOverview);
    // Page 42: strip 5, column 1.
    EXPECT_EQ((state().SelRow + bar1()->value()) * 8 + state().SelColumn + 1, 42) << factor_text << " %";
    bar2()->setValue(1);
  }
}

TEST_F(ViewPagesTest, the_selection_stays_when_the_user_returns_from_another_page) {
  show_page(kPageOverview);
  views().Image1MouseDown(305, 200);  // column 4, row 2
  show_page(kPagePatient);
  show_page(kPageOverview);
  EXPECT_EQ(state().SelColumn, 4);
  EXPECT_EQ(state().SelRow, 2);
}

TEST_F(ViewPagesTest, switching_pages_carries_the_place_between_overview_and_zoom) {
  bar1()->setValue(1);
  views().Image1MouseDown(245, 200);  // column 3, row 2: page (2 + 1) * 8 + 3 + 1 = 28
  show_page(kPageZoom);
  EXPECT_EQ(bar2()->value(), 28);
  EXPECT_EQ(factor()->currentText(), "100");
  EXPECT_EQ(views().last_reading().CurPage, 31);
  show_page(kPageOverview);
  EXPECT_EQ(state().SelColumn, 3);
  EXPECT_EQ(state().SelRow, 2);
  EXPECT_EQ(bar1()->value(), 1);
  EXPECT_EQ(views().last_reading().CurPage, (3 + 1) * 8 + 9) << "the overview read last";
}

TEST_F(ViewPagesTest, the_zoom_factor_is_clamped_when_chosen) {
  struct Case {
    const char* typed;
    const char* shown;
    int pages;
  } cases[] = {{"500", "400", 1}, {"10", "20", 12}, {"75", "75", 4}, {"abc", "75", 4}, {" 50 ", "50", 6}, {"100", "100", 3}};
  bar2()->setValue(5);
  for (const Case& c : cases) {
    choose_factor(QString::fromLatin1(c.typed));
    EXPECT_EQ(factor()->currentText(), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(views().last_reading().CurPage, 5 + c.pages) << c.typed;
  }
}

TEST_F(ViewPagesTest, the_limit_captions_follow_the_bar_that_holds_each_limit) {
  auto* bar_1 = window->control<TrackBar>("TrackBar1");
  auto* bar_2 = window->control<TrackBar>("TrackBar2");
  auto* label5 = window->control<QLabel>("Label5");
  auto* label12 = window->control<QLabel>("Label12");
  bar_2->setValue(40);
  bar_1->setValue(60);  // past the other bar
  EXPECT_EQ(label5->text(), u("Oberer Grenzwert ->"));
  EXPECT_EQ(label12->text(), u("<- Unterer Grenzwert"));
  EXPECT_EQ(bar_1->SelStart(), 40);
  EXPECT_EQ(bar_1->SelEnd(), 60);
  EXPECT_EQ(bar_2->SelStart(), 40);
  EXPECT_EQ(bar_2->SelEnd(), 60);
  bar_1->setValue(20);
  EXPECT_EQ(label5->text(), u("Unterer Grenzwert ->"));
  EXPECT_EQ(label12->text(), u("<- Oberer Grenzwert"));
  EXPECT_EQ(bar_1->SelStart(), 20);
  EXPECT_EQ(bar_2->SelEnd(), 40);
}

TEST_F(ViewPagesTest, the_lorenz_page_shows_the_variability_of_the_beats_between_the_limits) {
  GeneratorOptions options;
  options.rate = 75;
  options.minutes = 3;
  copy_generated_image(generate_recording(options), ekg());
  DecodeRecording(ekg(), window->decoder);
  views().redraw_views(kViewLorenz);
  auto text = [&](const char* name) { return window->control<QLabel>(name)->text(); };
  const auto rates = std::span<const float>(ekg().BeatRate).subspan(1, ekg().BeatCount);
  const auto bits = std::span<const std::uint8_t>(ekg().BeatFlags).subspan(1, ekg().BeatCount);
  const HeartRateVariability all = heart_rate_variability(rates, bits, kLimitMin, kLimitMax);
  EXPECT_EQ(text("Label60"), QString::number(all.n));
  EXPECT_EQ(text("Label61"), QString::asprintf("%.1f ms", *all.mean_rr_ms));
  EXPECT_EQ(text("Label66"), QString::asprintf("%.1f %%", *all.pnn50_percent));
  EXPECT_EQ(text("Label69"), QString::asprintf("%.2f", *all.sd1_sd2));
  EXPECT_EQ(text("Label70"), QString::asprintf("%.1f /min", *all.rate_from_mean_rr));

  // Narrowing the limits to 74..78 per minute selects fewer beats at once.
  window->control<TrackBar>("TrackBar1")->setValue(37);
  window->control<TrackBar>("TrackBar2")->setValue(39);
  const HeartRateVariability narrow = heart_rate_variability(rates, bits, 37, 39);
  ASSERT_LT(narrow.n, all.n);
  EXPECT_EQ(text("Label60"), QString::number(narrow.n));

  clear_recording(ekg());  // New: no beat left between any limits
  views().redraw_views(kViewAll);
  for (const char* name : {"Label60", "Label61", "Label66", "Label72"}) EXPECT_EQ(text(name), "") << name;
  EXPECT_EQ(text("Label41"), u("RR Mittel"));
}

namespace {

// Writes a generated recording, or noise (samples 0..250 at random, no device codes), to a file
// and opens it as the user does.
void open_recording(TMain& window, ScriptedDialogs& dialogs, const QString& path, const GeneratorOptions* generated) {
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  std::mt19937 random(7);
  if (generated) copy_generated_image(generate_recording(*generated), *ekg);
  else for (int i = 1; i <= kImageSize; ++i) ekg->Image[i] = static_cast<std::uint8_t>(random() % 251);
  ASSERT_TRUE(save_recording_file(path, PatientFields{}, 0, *ekg).ok);
  dialogs.file_names = {path};
  window.patient->Button6Click();
}

}  // namespace

TEST_F(ViewPagesTest, a_recording_without_ecg_says_so_on_the_overview_and_in_the_status_log) {
  auto* note = window->control<QLabel>("Label38");
  auto* log = window->control<QPlainTextEdit>("ComStat");
  open_recording(*window, dialogs, home.filePath("noise.pul"), nullptr);
  const QString expected = u("Kein Schlag in 5 min 27 s gefunden – Elektroden und Aufzeichnung prüfen");
  EXPECT_EQ(note->isHidden() ? QString() : note->text(), expected);
  EXPECT_TRUE(log->toPlainText().endsWith(expected));

  // One minute at 60 per minute, then empty memory: 60 beats in 1 min, not in the 5 min 27 s
  // of the whole memory. No note, nothing more in the log.
  GeneratorOptions real;
  real.rate = 60;
  real.minutes = 1;
  const QString logged = log->toPlainText();
  open_recording(*window, dialogs, home.filePath("real.pul"), &real);
  EXPECT_TRUE(note->isHidden());
  EXPECT_EQ(log->toPlainText(), logged);

  open_recording(*window, dialogs, home.filePath("noise.pul"), nullptr);
  window->patient->Button1Click();  // New
  EXPECT_TRUE(note->isHidden());
}

// A figure of the variability panel named like one of the histogram's statistics (same unit,
// same words once synonyms are set aside: "HF Mittel", "Mittelwert" and "Average value" all
// say "mean") shows its value. Rates drifting between 60 and 170 per minute make the mean of
// the rates 135.0 /min but 60000 / mean RR 119.3 /min.
TEST(ViewPagesFigures, the_variability_panel_shows_the_histograms_value_where_it_uses_its_name) {
  auto words = [](QString name) {
    std::set<QString> out;
    for (QString w : name.toLower().remove(':').remove('.').split(' ', Qt::SkipEmptyParts)) {
      if (QStringList{"mittelwert", "mittel", "average", "mean"}.contains(w)) w = "mean";
      if (!QStringList{"hf", "hr", "value"}.contains(w)) out.insert(w);
    }
    return out;
  };
  MainWindowInOwnFolder program;
  GeneratorOptions wide;
  wide.min_rate = 60;
  wide.max_rate = 170;
  wide.seed = 3;
  for (const std::uint8_t language : {kGerman, kEnglish}) {
    program.start(language);
    TMain& window = *program.window;
    copy_generated_image(generate_recording(wide), window.ekg);
    DecodeRecording(window.ekg, window.decoder);
    window.views->redraw_views(kViewAll);
    const BeatStatistics h = beat_statistics(std::span(window.ekg.BeatRate).subspan(1, window.ekg.BeatCount), 15, 90);
    ASSERT_EQ(statistics_texts(h).mean_rate, "135.0");
    const QString mean = table_text("txt_stat_mean_short");
    const std::tuple<QString, QString, double> histogram[] = {
        {mean, "/min", h.M}, {mean, "ms", 60000.0 / h.M}, {"SD:", "/min", h.SDr}, {"SD:", "ms", h.SDp}};
    int differing = 0;
    for (int row = 0; row <= 12; ++row) {
      const QString name = window.control<QLabel>(qPrintable(QString("Label%1").arg(40 + row)))->text();
      const QStringList value = window.control<QLabel>(qPrintable(QString("Label%1").arg(60 + row)))->text().split(' ');
      for (const auto& [figure, unit, number] : histogram) {
        if (value.size() != 2 || value[1] != unit) continue;
        if (words(name) == words(figure)) EXPECT_NEAR(value[0].toDouble(), number, 0.05) << name.toStdString();
        else differing += std::abs(value[0].toDouble() - number) > 1.0;
      }
    }
    EXPECT_GE(differing, 3) << "the rate, the mean RR and SDNN are figures of their own";
  }
}

// A maximised or enlarged window: each view image grows by what the window grew (397 x 256
// here), the controls below and beside it move along, and the size is kept for the next start.
// Back at the first size every picture is the one it was.
TEST_F(ViewPagesTest, the_views_grow_with_the_window_and_come_back_as_they_were) {
  open_generated_recording();
  window->show();
  const char* const images[] = {"Image1", "Image2", "Image3", "Image4", "Image5"};
  std::vector<QImage> first;
  for (const char* name : images) first.push_back(window->control<ImageControl>(name)->picture().copy());

  window->resize(1000, 700);
  struct Case {
    const char* control;
    QRect geometry;
  } cases[] = {
      {"Image2", {8, 8, 942, 654}},   {"ScrollBar1", {949, 8, 21, 654}}, {"Label38", {15, 633, 926, 20}},
      {"Image1", {19, 0, 947, 569}},  {"ScrollBar2", {19, 576, 947, 17}}, {"GroupBox6", {19, 596, 90, 50}},
      {"Image4", {0, 72, 987, 545}},  {"Label12", {837, 648, 150, 16}},
      {"TrackBar2", {24, 617, 930, 30}},  // the bins widen 5 steps of 77 px: 385 px more
      {"Image3", {0, 0, 992, 622}},   {"Label37", {200, 628, 150, 16}},
      {"Image5", {2, 0, 708, 668}},   {"GroupBox7", {715, 0, 135, 412}},  // square: 256 px wider only
  };
  for (const Case& c : cases) {
    auto* control = window->control<QWidget>(c.control);
    EXPECT_EQ(control->geometry(), c.geometry) << c.control;
    if (auto* image = qobject_cast<ImageControl*>(control)) EXPECT_EQ(image->picture().size(), c.geometry.size()) << c.control;
  }

  EXPECT_EQ(bar1()->maximum(), 15) << "6 strips of 21 in sight";

  window->resize(603, 444);
  EXPECT_EQ(bar1()->maximum(), 17);
  for (std::size_t k = 0; k < first.size(); ++k)
    EXPECT_EQ(window->control<ImageControl>(images[k])->picture(), first[k]) << images[k];

  window->resize(1000, 700);
  dialogs.answers = {DlgAnswer::Yes, DlgAnswer::Yes};  // discard the opened recording, close
  window->close();
  EXPECT_EQ(settings.Window.width, 1000);
  EXPECT_EQ(settings.Window.height, 700);
  EXPECT_FALSE(settings.Window.maximized);

  settings.Window = {700, 500, true};
  start();
  EXPECT_EQ(window->size(), QSize(700, 500));
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}
