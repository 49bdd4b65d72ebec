// pulvitra-cli stats on recording files: the JSON a script reads the histogram page from.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

#include "files/recording_file.h"
#include "recording/recording_generator.h"
#include "tests/support/run_cli.h"

namespace pulvitra {
namespace {

using test::CliRun;
using test::run_cli;

class StatsCommand : public ::testing::Test {
 protected:
  QString write_recording(const QString& name, const GeneratorOptions* options) {
    auto ekg = std::make_unique<TEKG>();
    clear_recording(*ekg);  // the empty memory: every byte 125
    if (options) copy_generated_image(generate_recording(*options), *ekg);
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(save_recording_file(path, PatientFields{}, 0, *ekg).ok);
    return path;
  }
  QJsonObject stats(const QStringList& args) {
    const CliRun run = run_cli(QStringList{"stats"} + args);
    EXPECT_EQ(run.exit_code, 0);
    return QJsonDocument::fromJson(run.out).object();
  }
  QTemporaryDir dir_;
};

TEST_F(StatsCommand, SteadyRhythmGivesConsistentFiguresAndTexts) {
  GeneratorOptions options;
  options.rate = 75.0;
  const QJsonObject json = stats({write_recording("steady.pul", &options)});
  const QJsonArray hist = json["hist"].toArray();
  ASSERT_EQ(hist.size(), 81);  // bins 15..95
  int counted = 0;
  for (int i = 0; i < hist.size(); ++i) {
    counted += hist[i].toInt();
    if (hist[i].toInt() > 0) {
      EXPECT_NEAR(2 * (15 + i), 75, 4) << "bin " << 15 + i;
    }
  }
  EXPECT_GT(counted, 100);
  EXPECT_EQ(json["n"].toInt(), counted);  // 30..180 per minute: every counted beat is inside
  const float mean = static_cast<float>(json["M"].toDouble());
  EXPECT_NEAR(mean, 75.0f, 1.0f);
  EXPECT_EQ(json["mean_rate_text"].toString(), QString::asprintf("%4.1f", mean));
  EXPECT_EQ(json["mean_period_text"].toString(), QString::number(std::lrint(60000.0 / mean)));
  EXPECT_EQ(json["sd_period_text"].toString(),
            QString::number(std::lrint(static_cast<float>(json["SDp"].toDouble()))));
  // The variability of the same beats: 60000 / mean RR lies just below the mean rate.
  const QJsonObject hrv = json["hrv"].toObject();
  EXPECT_EQ(hrv["n"].toInt(), counted);
  EXPECT_NEAR(hrv["rate_from_mean_rr"].toDouble(), mean, 0.05);
}

TEST_F(StatsCommand, EmptyMemoryHasNoCountsAndNullStatistics) {
  const QJsonObject json = stats({write_recording("empty.pul", nullptr)});
  for (const QJsonValue& count : json["hist"].toArray()) EXPECT_EQ(count.toInt(), 0);
  EXPECT_EQ(json["n"].toInt(), 0);
  for (const char* key : {"M", "SDr", "SDp", "mean_rate_text", "sd_rate_text", "vc_text",
                          "mean_period_text", "sd_period_text"}) {
    EXPECT_TRUE(json[key].isNull()) << key;
  }
  const QJsonObject hrv = json["hrv"].toObject();
  EXPECT_EQ(hrv["n"].toInt(-1), 0);
  for (const char* key : {"mean_rr_ms", "sdnn_ms", "rmssd_ms", "sdsd_ms", "nn50", "pnn50_percent", "sd1_ms",
                          "sd2_ms", "sd1_sd2", "rate_from_mean_rr", "min_rate", "max_rate"}) {
    EXPECT_TRUE(hrv.contains(key) && hrv[key].isNull()) << key;
  }
}

TEST_F(StatsCommand, BadArgumentsAndFilesAreRefused) {
  const QString path = write_recording("empty.pul", nullptr);
  EXPECT_EQ(run_cli({"stats", path, "--limits", "45", "30"}).exit_code, 0);
  EXPECT_EQ(run_cli({"stats", path, "--limits", "14", "50"}).exit_code, 2);
  EXPECT_EQ(run_cli({"stats", path, "--limits", "30"}).exit_code, 2);
  EXPECT_EQ(run_cli({"stats"}).exit_code, 2);
  EXPECT_EQ(run_cli({"stats", dir_.filePath("missing.pul")}).exit_code, 1);
}

}  // namespace
}  // namespace pulvitra
