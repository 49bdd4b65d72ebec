// Every input kept in tests/regressions/<target>/ (crashes the fuzzer once found, and the
// seeds) goes through its fuzz target again, so a mended fault stays mended.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "fuzz/fuzz_targets.h"

namespace pulvitra::fuzz {
namespace {

struct Target {
  const char* folder;
  int (*run)(const std::uint8_t*, std::size_t);
};

constexpr Target kTargets[] = {
    {"recording_file", fuzz_recording_file},
    {"image_decode", fuzz_image_decode},
    {"settings_file", fuzz_settings_file},
    {"recorder_answers", fuzz_recorder_answers},
};

TEST(FuzzRegressions, EveryKeptInputHoldsTheTargetsRules) {
  int argc = 0;
  char** argv = nullptr;
  init_fuzz_environment(&argc, &argv);
  for (const Target& target : kTargets) {
    const QDir folder(QStringLiteral(PULVITRA_SOURCE_DIR "/tests/regressions/") + QLatin1String(target.folder));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    // Each target keeps at least its seeds, so an emptied folder shows.
    EXPECT_GE(names.size(), 3) << target.folder;
    for (const QString& name : names) {
      SCOPED_TRACE(QStringLiteral("%1/%2").arg(QLatin1String(target.folder), name).toStdString());
      QFile file(folder.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray bytes = file.readAll();
      EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()), 0);
    }
  }
}

}  // namespace
}  // namespace pulvitra::fuzz
