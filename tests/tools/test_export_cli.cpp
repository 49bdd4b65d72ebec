// pulvitra-cli export as a script uses it: the beat list row for row against decode, the EDF+
// file chosen by option or extension, and the failures.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "tests/support/file_bytes.h"
#include "tests/support/run_cli.h"

using namespace pulvitra::test;

namespace {

TEST(CliExport, beat_list_rows_are_the_decoded_beats) {
  QTemporaryDir dir;
  const QString pul = dir.filePath("rec.pul");
  ASSERT_EQ(run_cli({"generate", pul, "--seed", "9", "--events", "30"}).exit_code, 0);
  const CliRun decoded = run_cli({"decode", pul});
  ASSERT_EQ(decoded.exit_code, 0);
  const QJsonArray beats = QJsonDocument::fromJson(decoded.out).object()["beats"].toArray();
  const QString csv = dir.filePath("beats.csv");
  const CliRun exported = run_cli({"export", pul, "--format", "csv", "--limits", "40", "35", "-o", csv});
  ASSERT_EQ(exported.exit_code, 0) << exported.err.toStdString();

  QList<QByteArray> rows = read_all(csv).split('\n');
  ASSERT_EQ(rows.takeFirst(), "beat,time_s,rr_ms,rate_per_min,start_record,event,in_limits");
  ASSERT_EQ(rows.takeLast(), "");  // the last row ends its line
  ASSERT_GT(beats.size(), 300);
  ASSERT_EQ(rows.size(), beats.size());
  int events = 0;
  for (int k = 0; k < rows.size(); ++k) {
    const QList<QByteArray> cells = rows[k].split(',');
    ASSERT_EQ(cells.size(), 7) << k;
    const QJsonObject beat = beats[k].toObject();
    const double rate = beat["rate"].toDouble();
    const int flags = beat["flags"].toInt();
    EXPECT_EQ(cells[0].toInt(), k + 1);
    EXPECT_EQ(cells[3].toDouble(), rate) << k;  // the same single-precision value, exactly
    EXPECT_EQ(cells[2].toInt(), qRound(60000.0 / rate)) << k;
    EXPECT_EQ(cells[4], (flags & 1) ? "1" : "0") << k;
    EXPECT_EQ(cells[5], (flags & 4) ? "1" : "0") << k;
    EXPECT_EQ(cells[6], (70.0 < rate && rate < 80.0) ? "1" : "0") << k;
    events += cells[5] == "1";
  }
  EXPECT_GE(events, 10);  // about one every 30 s
}

TEST(CliExport, edf_by_option_or_extension_and_failures) {
  QTemporaryDir dir;
  const QString pul = dir.filePath("rec.pul");
  ASSERT_EQ(run_cli({"generate", pul, "--seed", "4"}).exit_code, 0);
  for (const QStringList& target : {QStringList{"-o", dir.filePath("a.edf")},
                                    QStringList{"--format", "edf", "-o", dir.filePath("b.dat")}}) {
    const CliRun run = run_cli(QStringList{"export", pul} << target);
    ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
    const QByteArray edf = read_all(target.last());
    EXPECT_EQ(edf.left(8), "0       ");
    EXPECT_EQ(edf.mid(192, 5), "EDF+C");
  }
  const CliRun nowhere = run_cli({"export", pul, "-o", dir.filePath("missing/x.csv")});
  EXPECT_EQ(nowhere.exit_code, 1);
  EXPECT_TRUE(nowhere.err.contains("cannot write")) << nowhere.err.toStdString();
  EXPECT_EQ(run_cli({"export", pul}).exit_code, 2);  // no -o
  EXPECT_EQ(run_cli({"export", pul, "--format", "xls", "-o", "x"}).exit_code, 2);
  // A name that tells no format is a mistake, never a quiet CSV; EDF+ is binary, never on a terminal.
  const CliRun guessed = run_cli({"export", pul, "-o", dir.filePath("beats.txt")});
  EXPECT_EQ(guessed.exit_code, 2);
  EXPECT_TRUE(guessed.err.contains("format")) << guessed.err.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("beats.txt")));
  EXPECT_EQ(run_cli({"export", pul, "--format", "edf", "-o", "-"}).exit_code, 2);
  // "-o -" is the beat list on standard output, the same bytes as in a file.
  ASSERT_EQ(run_cli({"export", pul, "-o", dir.filePath("beats.csv")}).exit_code, 0);
  const CliRun piped = run_cli({"export", pul, "-o", "-"});
  EXPECT_EQ(piped.exit_code, 0);
  EXPECT_EQ(piped.out, read_all(dir.filePath("beats.csv")));
}

}  // namespace
