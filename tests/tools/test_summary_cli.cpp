// pulvitra-cli summary: the CSV a clinic reads a month of recordings from.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <memory>

#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "tests/support/run_cli.h"

namespace pulvitra {
namespace {

using test::run_cli;

// The rows of a CSV text, read as a spreadsheet reads them (quoted fields may hold commas,
// doubled quotes and line breaks).
std::vector<QStringList> parse_csv(const QString& text) {
  std::vector<QStringList> rows;
  QStringList row;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += c, ++i;
      else if (c == '"') quoted = false;
      else field += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row << field, field.clear();
    } else if (c == '\n') {
      row << field, field.clear();
      rows.push_back(row), row.clear();
    } else {
      field += c;
    }
  }
  return rows;
}

TEST(SummaryCommand, OneRowPerFileWithPatientStatisticsAndErrors) {
  QTemporaryDir dir;
  PatientFields patient;
  patient.surname = QString::fromUtf8("Müller, \"Jo\"\nB");  // the surname is stored unfiltered
  patient.first_name = QStringLiteral("Anna");
  patient.patient_id = QStringLiteral("12,5");
  patient.date = QStringLiteral("07.03.05");
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  GeneratorOptions options;
  options.rate = 75.0;
  options.second_measurement = true;
  copy_generated_image(generate_recording(options), *ekg);
  const QString good = dir.filePath("good.pul");
  ASSERT_TRUE(save_recording_file(good, patient, 0, *ekg).ok);
  QFile broken(dir.filePath("broken.pul"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a recording");
  broken.close();

  const QString out = dir.filePath("month.csv");
  const auto run = run_cli({"summary", good, broken.fileName(), good, "--limits", "30", "45", "-o", out});
  EXPECT_EQ(run.exit_code, 1);  // one file failed, the others were still summed up
  QFile csv(out);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const auto rows = parse_csv(QString::fromUtf8(csv.readAll()));
  ASSERT_EQ(rows.size(), 4u);
  const QStringList& header = rows[0];
  ASSERT_EQ(header.size(), 24);
  EXPECT_EQ(header.mid(0, 11).join(' '),
            "file patient_id surname first_name date measurements beats mean_rate sd_rate vc_percent hrv_n");
  EXPECT_EQ(header.last(), "error");
  for (const auto& row : rows) EXPECT_EQ(row.size(), 24);

  const QStringList& first = rows[1];
  EXPECT_EQ(first[0], good);
  // The texts exactly as the program loads them (fixed-width fields keep their blanks).
  const QJsonObject info = QJsonDocument::fromJson(run_cli({"info", good}).out).object();
  EXPECT_TRUE(first[1].startsWith("12,5"));
  // A line break is a control byte: dropped from the cell, the rest of the text kept.
  EXPECT_TRUE(first[2].startsWith(QString::fromUtf8("Müller, \"Jo\"B")));
  EXPECT_EQ(first[1], info["patient_id"].toString());
  EXPECT_EQ(first[2], info["surname"].toString().remove('\n'));
  EXPECT_EQ(first[3], info["first_name"].toString());
  EXPECT_EQ(first[4], "07.03.05");
  EXPECT_EQ(first[5], "2");
  EXPECT_EQ(first.last(), "");
  EXPECT_EQ(rows[3], first);

  // The same figures as pulvitra-cli stats gives for that file and those limits.
  const QJsonObject stats =
      QJsonDocument::fromJson(run_cli({"stats", good, "--limits", "30", "45"}).out).object();
  EXPECT_GT(stats["n"].toInt(), 100);
  EXPECT_EQ(first[7].toDouble(), stats["M"].toDouble());
  const QJsonObject hrv = stats["hrv"].toObject();
  for (int column = 10; column < 23; ++column) {
    const QString key = header[column].mid(4);
    EXPECT_EQ(first[column].toDouble(), hrv[key].toDouble()) << key.toStdString();
  }

  const QStringList& failed = rows[2];
  EXPECT_EQ(failed[0], broken.fileName());
  EXPECT_TRUE(failed.last().contains("is not a recording file")) << failed.last().toStdString();
  for (int column = 1; column < 23; ++column) EXPECT_EQ(failed[column], "");
  EXPECT_TRUE(run.err.contains("is not a recording file"));

  EXPECT_EQ(run_cli({"summary", good, "-o", out}).exit_code, 0);
  EXPECT_EQ(run_cli({"summary"}).exit_code, 2);
}

// A patient text or a file name that a spreadsheet would run as a formula is shown as text: an
// apostrophe in front, control bytes dropped. Surnames are stored unfiltered, so they can hold
// anything; a surname shorter than its field comes back with one blank.
TEST(SummaryCommand, NoTextCellRunsAsAFormula) {
  QTemporaryDir dir;
  auto ekg = std::make_unique<TEKG>();
  clear_recording(*ekg);
  copy_generated_image(generate_recording(GeneratorOptions{}), *ekg);
  const std::vector<std::pair<QString, QString>> surnames = {
      {"=cmd|'/c calc'!A1", "'=cmd|'/c calc'!A1 "}, {"\t=1+1", "'=1+1 "}, {"\r@SUM(A1)", "'@SUM(A1) "},
      {"-2+3", "'-2+3 "},  {"+41 79", "'+41 79 "},     {"Meier", "Meier "}};
  QStringList files;
  for (std::size_t k = 0; k < surnames.size(); ++k) {
    PatientFields patient;
    patient.surname = surnames[k].first;
    patient.first_name = QStringLiteral("-Anna");  // kept by the text filter
    files << dir.filePath(QString("p%1.pul").arg(k));
    ASSERT_TRUE(save_recording_file(files.last(), patient, 0, *ekg).ok);
  }
  const auto run = run_cli(QStringList{"summary"} << files);
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  const auto rows = parse_csv(QString::fromUtf8(run.out));
  ASSERT_EQ(rows.size(), surnames.size() + 1);
  for (std::size_t k = 0; k < surnames.size(); ++k) {
    EXPECT_EQ(rows[k + 1][2], surnames[k].second);
    EXPECT_EQ(rows[k + 1][3], "'-Anna  ");  // the filter keeps two blanks
  }
  for (const QStringList& row : rows)
    for (const QString& cell : row)
      EXPECT_FALSE(!cell.isEmpty() && QString("=+-@\t\r").contains(cell.front())) << cell.toStdString();
}

}  // namespace
}  // namespace pulvitra
