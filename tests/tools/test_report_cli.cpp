// pulvitra-cli report as a clinic files its reports: one PDF, read back with pdftotext and
// pdfinfo, with the header lines, page marks, statistics and page orientations of a print job.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "shell/application.h"

QString blanks_out(QString text) { return text.remove(' '); }

namespace pulvitra {
namespace {

struct ProcessRun {
  int exit_code = -1;
  QString out;
  QString err;
};

ProcessRun run(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

ProcessRun cli(const QStringList& args) { return run(QStringLiteral(PULVITRA_BIN_DIR "/pulvitra-cli"), args); }

PatientFields patient(int age) {
  PatientFields f;
  f.surname = "Muster";
  f.first_name = "Max";
  f.date = "07.03.05";
  f.address = "Weg 1";
  f.clinic = "Klinik Nord";
  f.patient_id = "A-42";
  f.age = age;
  f.comment = "Belastung: 2_min";
  return f;
}

class ReportCommand : public ::testing::Test {
 protected:
  QString write_recording(const QString& name, const PatientFields& fields, bool with_beats = true) {
    auto ekg = std::make_unique<TEKG>();
    clear_recording(*ekg);
    if (with_beats) copy_generated_image(generate_recording(GeneratorOptions{}), *ekg);
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(save_recording_file(path, fields, 0, *ekg).ok);
    return path;
  }

  // The report's PDF for those options, or "" when the command failed.
  QString report(const QString& recording, const QStringList& options) {
    const QString out = dir_.filePath("report.pdf");
    QFile::remove(out);
    const ProcessRun r = cli(QStringList{"report", recording} + options + QStringList{"-o", out});
    EXPECT_EQ(r.exit_code, 0) << r.err.toStdString();
    return r.exit_code == 0 ? out : QString();
  }

  // The text lines of one page, empty ones left out. pdftotext guesses blanks from the gaps
  // between glyphs (it sees one between "d" and "-"), so the lines are compared without
  // blanks here; the exact blanks of the header are the header's own test.
  static QStringList page_lines(const QString& pdf, int page) {
    const ProcessRun r = run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-raw", pdf, "-"});
    QStringList lines;
    for (const QString& line : r.out.split('\n')) {
      // The font's ligatures ("ffi") come back as one character.
      const QString text = line.normalized(QString::NormalizationForm_KC).remove(' ');
      if (!text.isEmpty()) lines << text;
    }
    return lines;
  }

  static QString pdf_info(const QString& pdf) { return run("pdfinfo", {"-f", "1", "-l", "4", pdf}).out; }

  QTemporaryDir dir_;
};

TEST_F(ReportCommand, header_lines_carry_page_marks_in_index_order_only_with_several_reports) {
  const QString recording = write_recording("rec_1.pul", patient(2));
  struct Case {
    QStringList options;
    QStringList first_lines;  // line 1 of each page, in page order
  } cases[] = {
      {{"--reports", "3"}, {"-Klinik Nord- -07.03.05- " + recording}},
      {{"--reports", "4,1"}, {"-Klinik Nord- -Seite 1/2- -07.03.05- " + recording,
                              "-Klinik Nord- -Seite 2/2- -07.03.05- " + recording}},
      {{"--reports", "3,1,2"}, {"-Klinik Nord- -Seite 1/3- -07.03.05- " + recording,
                                "-Klinik Nord- -Seite 2/3- -07.03.05- " + recording,
                                "-Klinik Nord- -Seite 3/3- -07.03.05- " + recording}},
      {{"--reports", "1", "--language", "en"}, {"-Klinik Nord- -07.03.05- " + recording}},
      {{"--reports", "2,4", "--language", "en"}, {"-Klinik Nord- -page 1/2- -07.03.05- " + recording,
                                                  "-Klinik Nord- -page 2/2- -07.03.05- " + recording}},
  };
  for (const Case& c : cases) {
    const QString pdf = report(recording, c.options);
    const QString scope = c.options.join(' ');
    ASSERT_FALSE(pdf.isEmpty()) << scope.toStdString();
    for (int page = 1; page <= c.first_lines.size(); ++page) {
      const QStringList lines = page_lines(pdf, page);
      ASSERT_GE(lines.size(), 4) << scope.toStdString();
      EXPECT_EQ(lines[0].toStdString(), blanks_out(c.first_lines[page - 1]).toStdString()) << scope.toStdString() << " page " << page;
      const bool english = c.options.contains("en");
      EXPECT_EQ(lines[1].toStdString(), english ? "ECGevaluationreport---------------Pulvitra2.4-5"
                                                : "EKG-Auswertungsbericht---------------Pulvitra2.4-5");
      EXPECT_EQ(lines[2].toStdString(), english ? "PatientMuster,Max/Weg1/IDA-42/Age2Years"
                                                : "PatientMuster,Max/Weg1/IDA-42/Alter2Jahre");
      EXPECT_EQ(lines[3].toStdString(), "Belastung2min");  // the comment, ":" and "_" filtered out
    }
    EXPECT_EQ(pdf_info(pdf).count(QRegularExpression("Page +\\d+ size")), c.first_lines.size());
  }
}

TEST_F(ReportCommand, the_age_part_follows_the_age) {
  struct Case {
    int age;
    const char* language;
    const char* patient_line;
  } cases[] = {
      {0, "de", "Patient Muster, Max / Weg 1 / ID A-42"},
      {1, "de", "Patient Muster, Max / Weg 1 / ID A-42 / Alter1Jahr"},
      {2, "de", "Patient Muster, Max / Weg 1 / ID A-42 / Alter2Jahre"},
      {1, "en", "Patient Muster, Max / Weg 1 / ID A-42 / Age1Year"},
      {57, "en", "Patient Muster, Max / Weg 1 / ID A-42 / Age57Years"},
  };
  for (const Case& c : cases) {
    const QString recording = write_recording(QString("age%1.pul").arg(c.age), patient(c.age));
    const QStringList lines = page_lines(report(recording, {"--reports", "3", "--language", c.language}), 1);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[2].toStdString(), blanks_out(c.patient_line).toStdString()) << c.age << " " << c.language;
  }
}

TEST_F(ReportCommand, statistics_rows_show_the_figures_of_stats_for_the_same_limits) {
  const QString recording = write_recording("stats.pul", patient(0));
  const QJsonObject stats =
      QJsonDocument::fromJson(cli({"stats", recording, "--limits", "40", "30"}).out.toUtf8()).object();
  ASSERT_GT(stats["n"].toInt(), 1);
  const QString rows[] = {
      "Average value: " + stats["mean_rate_text"].toString().trimmed() + "/min " +
          stats["mean_period_text"].toString() + " ms",
      "Standard deviation: " + stats["sd_rate_text"].toString().trimmed() + "/min " +
          stats["sd_period_text"].toString() + " ms",
      "Variational coefficient: " + stats["vc_text"].toString().trimmed() + " %",
      "at following limits:",
      "Lower limit value: 60/min 1000 ms",  // 2 x 30, 60000 / 60
      "Upper limit value: 80/min 750 ms",   // 2 x 40, 60000 / 80 = 750
  };
  const QString pdf = report(recording, {"--reports", "1,2", "--limits", "40", "30", "--language", "en"});
  for (int page : {1, 2}) {
    const QStringList lines = page_lines(pdf, page);
    const qsizetype title = lines.indexOf("Statistik");  // the same word in both languages
    ASSERT_GE(title, 0) << "page " << page;
    ASSERT_GE(lines.size(), title + 7);
    for (int n = 0; n < 6; ++n)
      EXPECT_EQ(lines[title + 1 + n].toStdString(), blanks_out(rows[n]).toStdString()) << "page " << page;
  }
}

TEST_F(ReportCommand, no_statistics_block_with_at_most_one_beat_inside_the_limits) {
  // The generated rates stay above 60 per minute: limits 30..32 per minute hold no beat.
  const QString recording = write_recording("nostats.pul", patient(0));
  const QString pdf = report(recording, {"--reports", "1,2", "--limits", "15", "16"});
  for (int page : {1, 2}) {
    EXPECT_FALSE(page_lines(pdf, page).contains("Statistik")) << "page " << page;
  }
  EXPECT_TRUE(page_lines(pdf, 2).contains("Lorenz-Diagramm"));
}

TEST_F(ReportCommand, the_zoom_page_alone_is_landscape_and_the_document_names_the_program) {
  const QString pdf = report(write_recording("pages.pul", patient(0)), {"--reports", "1,2,3,4"});
  const QString info = pdf_info(pdf);
  for (int page : {1, 2, 3}) EXPECT_TRUE(info.contains(QString("Page    %1 size:  595 x 842 pts (A4)").arg(page))) << info.toStdString();
  EXPECT_TRUE(info.contains("Page    4 size:  842 x 595 pts (A4)")) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Title: +" + QRegularExpression::escape(kApplicationTitle) + "\n")));
  EXPECT_TRUE(info.contains(QRegularExpression("Creator: +Pulvitra 2.4.5\n")));
  // Without --reports: the preselection of the patient page's Print, reports 1, 2 and 4.
  const QString preselected = report(write_recording("default.pul", patient(0)), {});
  EXPECT_TRUE(pdf_info(preselected).contains(QRegularExpression("Pages: +3\n")));
  EXPECT_TRUE(page_lines(preselected, 3).contains("EKG-Zoom"));
}

TEST_F(ReportCommand, refusals_leave_no_file) {
  const QString empty = write_recording("empty.pul", patient(0), false);
  const QString out = dir_.filePath("refused.pdf");
  struct Case {
    QStringList args;
    int exit_code;
    const char* says;
  } cases[] = {
      {{"report", empty, "-o", out}, 1, "No printable data available!"},
      {{"report", empty, "--language", "de", "-o", out}, 1, "Keine druckbaren Daten verfügbar!"},
      {{"report", write_recording("ok.pul", patient(0)), "-o", dir_.filePath("missing/folder/r.pdf")}, 1,
       "cannot be written"},
      {{"report", empty, "--reports", "5", "-o", out}, 2, "--reports"},
      {{"report", empty, "--reports", "1,1", "-o", out}, 2, "--reports"},
      {{"report", empty}, 2, "-o"},
      {{"report", empty, "--printer", "reports", "-o", out}, 2, "exclude each other"},
      {{"report", empty, "--copies", "2", "-o", out}, 2, "--copies goes with --printer"},
  };
  for (const Case& c : cases) {
    const ProcessRun r = cli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir_.filePath("missing")));
  }
}

}  // namespace
}  // namespace pulvitra
