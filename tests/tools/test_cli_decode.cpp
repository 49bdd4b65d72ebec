// pulvitra-cli generate and decode as scripts use them: the files they write and the JSON
// they print.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/support/run_cli.h"

using namespace pulvitra::test;

namespace {

class CliDecodeTest : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

  QString generated(const char* name, const QStringList& options) const {
    const QString file = path(name);
    const CliRun run = run_cli(QStringList{"generate", file} << options);
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    return file;
  }

  static QJsonObject decode(const QString& file, const QStringList& options = {}) {
    const CliRun run = run_cli(QStringList{"decode", file} << options);
    EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(run.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
  }

  QTemporaryDir dir_;
};

TEST_F(CliDecodeTest, GeneratedRecordingDecodesToItsRate) {
  const QString file = generated("steady.pul", {"--rate", "72", "--seed", "3"});
  QFile stored(file);
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  const QByteArray bytes = stored.readAll();
  ASSERT_EQ(bytes.size(), 33280);
  EXPECT_EQ(bytes.left(14), QByteArray("KORDAMAT File\0", 14));
  EXPECT_EQ(bytes[511], '\0');                            // the interval is left to the decoder
  EXPECT_EQ(bytes.mid(512, 4), QByteArray("\xff\x00\xff\x00", 4));  // the measurement starts

  const QJsonObject json = decode(file);
  const int count = json["beat_count"].toInt();
  const QJsonArray beats = json["beats"].toArray();
  ASSERT_GT(count, 300);
  ASSERT_EQ(beats.size(), count);
  ASSERT_EQ(json["beat_positions"].toArray().size(), count);
  EXPECT_TRUE(json["last_uncounted"].isObject());
  EXPECT_EQ(json["time_step"].toInt(), 10);
  EXPECT_EQ(json["count_measurements"].toInt(), 1);
  EXPECT_GE(json["read_pos"].toInt(), 32760);

  double sum = 0.0;
  for (const QJsonValue& beat : beats) {
    const double rate = beat["rate"].toDouble();
    EXPECT_EQ(static_cast<double>(static_cast<float>(rate)), rate) << "not a single-precision value: " << rate;
    sum += rate;
  }
  EXPECT_NEAR(sum / count, 72.0, 3.0);

  const QJsonArray pages = json["pages"].toArray();
  ASSERT_EQ(pages.size(), 180);
  const QRegularExpression hex("^[0-9a-f]{600}$");
  for (const QJsonValue& page : pages) ASSERT_TRUE(hex.match(page["bytes"].toString()).hasMatch());
  EXPECT_EQ(pages[0]["time"].toDouble(), 0.0);
  EXPECT_EQ(pages[1]["rate"].toInt(), 10);
}

TEST_F(CliDecodeTest, OptionsReachTheFileAndTheDecode) {
  // The first decode starts from the detector's values at program start, whose rising
  // average makes a beat at the start; --twice decodes again, settled on the ECG.
  const QString steady = generated("steady.pul", {"--rate", "80", "--seed", "11"});
  EXPECT_NE(decode(steady)["beat_positions"].toArray().first().toInt(),
            decode(steady, {"--twice"})["beat_positions"].toArray().first().toInt());
  QFile a(steady), b(generated("again.pul", {"--rate", "80", "--seed", "11"}));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());  // the same seed gives the same file

  EXPECT_EQ(decode(generated("two.pul", {"--second", "--events", "40", "--pace", "3"}))["count_measurements"].toInt(), 2);
  QFile fixed(generated("fixed.pul", {"--interval", "12", "--fixed-interval", "--rate", "75"}));
  ASSERT_TRUE(fixed.open(QIODevice::ReadOnly));
  EXPECT_EQ(fixed.readAll()[511], '\x0c');
  EXPECT_EQ(decode(fixed.fileName())["time_step"].toInt(), 8);  // round(100 / 12)

  // A blank as the stored interval counts as none: the markers give 12 ms again.
  ASSERT_TRUE(fixed.seek(0));
  QByteArray blank = fixed.readAll();
  blank[511] = ' ';
  QFile padded(path("padded.pul"));
  ASSERT_TRUE(padded.open(QIODevice::WriteOnly) && padded.write(blank) == blank.size());
  padded.close();
  EXPECT_EQ(decode(padded.fileName())["time_step"].toInt(), 8);
  EXPECT_EQ(decode(padded.fileName())["beats"].toArray().size(), decode(fixed.fileName())["beats"].toArray().size());
}

TEST_F(CliDecodeTest, BadFilesAndArgumentsAreReported) {
  for (const auto& [name, bytes] : {std::pair{"notes.pul", QByteArray(33280, 'x')},
                                    std::pair{"cut.pul", QByteArray("KORDAMAT File\0", 14) + QByteArray(2000, ' ')}}) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  struct Case {
    QStringList args;
    int exit_code;
    const char* message;
  };
  const Case cases[] = {
      {{"decode", path("missing.pul")}, 1, "cannot open"},
      {{"decode", path("notes.pul")}, 1, "not a recording file"},
      {{"decode", path("cut.pul")}, 1, "cut.pul"},
      {{"decode"}, 2, "no recording file"},
      {{"decode", path("notes.pul"), "--thrice"}, 2, "--thrice"},
      {{"generate"}, 2, "no output file"},
      {{"generate", path("x.pul"), "--rate", "fast"}, 2, "--rate"},
      {{"generate", path("x.pul"), "--seed"}, 2, "needs a value"},
      {{"generate", path("no/such/folder/x.pul")}, 1, "cannot write"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const CliRun run = run_cli(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

}  // namespace
