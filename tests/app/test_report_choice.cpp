// Printing from the window: Print on the patient page and in the views' pop-up menu, the
// report-choice window with its preselection, and the print job through the print dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/patient_page.h"
#include "app/tmain.h"
#include "app/tselprinter.h"
#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "shell/application.h"
#include "shell/language.h"
#include "tests/support/main_window_harness.h"

using namespace pulvitra::test;

using namespace pulvitra;

namespace {

using Flags = std::array<bool, 5>;

struct ReportChoiceTest : ::testing::Test, MainWindowInOwnFolder {
  void load_beats() { open_generated_recording(); }
  TSelPrinter& choice() { return *window->SelPrinter; }
  QCheckBox* box(int k) { return choice().findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(k)); }
  Flags boxes() { return {false, box(1)->isChecked(), box(2)->isChecked(), box(3)->isChecked(), box(4)->isChecked()}; }
  int print_dialogs() {
    int n = 0;
    for (const DialogCall& c : dialogs.calls) n += c.kind == QLatin1String("print");
    return n;
  }
};

TEST_F(ReportChoiceTest, without_two_beats_print_only_says_so) {
  start();
  window->patient->Button9Click();
  window->TabbedNotebook1->setCurrentIndex(kPageZoom);
  window->P2C1Click();
  ASSERT_EQ(dialogs.messages().size(), 2);
  for (const DialogCall& m : dialogs.messages()) {
    EXPECT_EQ(m.icon, DlgIcon::Exclamation);
    EXPECT_EQ(m.buttons, DlgButtons::Ok);
    EXPECT_EQ(m.caption, "Drucken");
    EXPECT_EQ(m.text, QString::fromUtf8("Keine druckbaren Daten verfügbar!"));
  }
  EXPECT_TRUE(window->isEnabled());
  EXPECT_FALSE(choice().isVisible());
}

TEST_F(ReportChoiceTest, each_entry_point_preselects_its_reports) {
  start();
  load_beats();
  window->patient->Button9Click();
  EXPECT_EQ(window->ReportSelection, (Flags{false, true, true, false, true}));
  EXPECT_EQ(boxes(), (Flags{false, true, true, false, true}));
  EXPECT_FALSE(window->isEnabled());
  EXPECT_TRUE(choice().isVisible());
  struct Case {
    int page;
    Flags selection;
  } cases[] = {
      {kPageOverview, {false, false, false, true, false}}, {kPageZoom, {false, false, false, false, true}},
      {kPageHistogram, {false, true, false, false, false}}, {kPageTrend, {false, true, false, false, false}},
      {kPageLorenz, {false, false, true, false, false}},
  };
  for (const Case& c : cases) {
    choice().Button1Click();
    window->TabbedNotebook1->setCurrentIndex(c.page);
    window->findChild<QAction*>(QStringLiteral("P2C1"))->trigger();
    EXPECT_EQ(window->ReportSelection, c.selection) << c.page;
    EXPECT_EQ(boxes(), c.selection) << c.page;
    EXPECT_FALSE(window->isEnabled());
  }
  EXPECT_EQ(print_dialogs(), 0);
}

TEST_F(ReportChoiceTest, a_tick_stays_through_repaints_and_the_next_showing_starts_from_the_selection) {
  start();
  load_beats();
  window->patient->Button9Click();
  QTest::mouseClick(box(3), Qt::LeftButton, {}, QPoint(6, 8));  // on the indicator
  choice().repaint();
  QCoreApplication::processEvents();
  EXPECT_TRUE(box(3)->isChecked());
  choice().Button1Click();
  window->patient->Button9Click();
  EXPECT_FALSE(box(3)->isChecked()) << "shown again: the preselection, not the cancelled tick";
}

TEST_F(ReportChoiceTest, cancel_close_and_no_tick_print_nothing_and_enable_the_window) {
  start();
  load_beats();
  window->patient->Button9Click();
  box(3)->setChecked(true);
  choice().Button1Click();
  EXPECT_TRUE(window->isEnabled());
  EXPECT_FALSE(choice().isVisible());
  EXPECT_EQ(window->ReportSelection, (Flags{false, true, true, false, true})) << "cancel keeps no ticks";

  window->patient->Button9Click();
  choice().close();
  EXPECT_TRUE(window->isEnabled());
  EXPECT_FALSE(choice().isVisible());

  window->patient->Button9Click();
  for (int k = 1; k <= 4; ++k) box(k)->setChecked(false);
  choice().findChild<QPushButton*>(QStringLiteral("Button2"))->click();
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(window->ReportSelection, (Flags{}));
  EXPECT_EQ(print_dialogs(), 0) << "no tick: not even the dialog";
}

TEST_F(ReportChoiceTest, print_asks_for_the_printer_and_writes_the_ticked_reports_to_one_pdf) {
  start();
  load_beats();
  // A cancelled dialog prints nothing and keeps the ticks.
  window->patient->Button9Click();
  box(3)->setChecked(true);
  choice().Button2Click();
  EXPECT_EQ(print_dialogs(), 1);
  EXPECT_EQ(window->ReportSelection, (Flags{false, true, true, true, true}));
  EXPECT_EQ(dialogs.calls.last().caption, kApplicationTitle);

  auto* scroll = window->control<QScrollBar>("ScrollBar1");
  scroll->setValue(5);
  PrintChoice pdf;
  pdf.kind = PrintChoice::kPdfFile;
  pdf.file_name = home.filePath("reports.pdf");
  pdf.resolution = 100;
  dialogs.print_choices.push_back(pdf);
  window->patient->Button9Click();
  box(3)->setChecked(true);
  choice().Button2Click();
  EXPECT_TRUE(window->isEnabled());
  QFile file(pdf.file_name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("%PDF"));
  EXPECT_EQ(scroll->value(), 0) << "the overview report leaves the overview at its first position";
  EXPECT_TRUE(dialogs.messages().isEmpty());

  // A file that cannot be written says so.
  pdf.file_name = home.filePath("missing/reports.pdf");
  dialogs.print_choices.push_back(pdf);
  choice().print_job();
  ASSERT_EQ(dialogs.messages().size(), 1);
  // ... with the system's reason, in the words of Qt's translation when one is loaded.
  const QString text = dialogs.messages()[0].text;
  EXPECT_TRUE(text.startsWith("Die Datei " + pdf.file_name + QString::fromUtf8(" lässt sich nicht schreiben (")) &&
              text.endsWith(").") && text.size() > 70)
      << text.toStdString();
}

TEST_F(ReportChoiceTest, the_window_speaks_the_chosen_language) {
  struct Case {
    std::uint8_t language;
    const char* title;
    const char* box1;
    const char* print;
  } cases[] = {
      {kGerman, "Druckauswahl", "&Trend-Diagramm / Histogramm / Statistik", "&Drucken"},
      {kEnglish, "Choice of reports", "&Trend diagram / histogram / statistics", "&Print"},
  };
  for (const Case& c : cases) {
    start(c.language);
    EXPECT_EQ(choice().windowTitle(), c.title);
    EXPECT_EQ(box(1)->text(), QString::fromUtf8(c.box1));
    EXPECT_EQ(choice().findChild<QPushButton*>(QStringLiteral("Button2"))->text(), c.print);
    EXPECT_EQ(choice().height(), 201);
    EXPECT_GE(choice().width(), 265) << "wider only where a box's text needs it";
    EXPECT_EQ(window->SelPrinter, &choice());
  }
}

// Ctrl+P is the patient page's Print: the same preselection; Escape is the choice's Cancel.
TEST_F(ReportChoiceTest, ctrl_p_opens_the_choice_and_escape_cancels_it) {
  start();
  load_beats();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->TabbedNotebook1->setCurrentIndex(kPageTrend);
  QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
  ASSERT_TRUE(choice().isVisible());
  EXPECT_EQ(boxes(), (Flags{false, true, true, false, true}));
  EXPECT_FALSE(window->isEnabled());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&choice()));
  box(3)->setChecked(true);
  QTest::keyClick(&choice(), Qt::Key_Escape);
  EXPECT_FALSE(choice().isVisible());
  EXPECT_TRUE(window->isEnabled());
  EXPECT_EQ(window->ReportSelection, (Flags{false, true, true, false, true})) << "Escape keeps no ticks";
  EXPECT_EQ(print_dialogs(), 0);
}

TEST_F(ReportChoiceTest, every_box_shows_its_whole_text_in_both_languages) {
  for (std::uint8_t language : {kGerman, kEnglish}) {
    start(language);
    for (int k = 1; k <= 4; ++k) {
      const QStyle* style = box(k)->style();
      const int text = QFontMetrics(box(k)->font()).horizontalAdvance(QString(box(k)->text()).remove('&'));
      const int needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box(k)) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box(k)) + text;
      EXPECT_LE(needed, box(k)->width()) << box(k)->text().toStdString();
      EXPECT_LE(box(k)->geometry().right(), choice().width() - 1) << box(k)->text().toStdString();
    }
  }
}

}  // namespace
