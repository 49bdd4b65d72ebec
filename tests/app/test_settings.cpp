#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/core/settings.h"

using namespace pulvitra;

TEST(Settings, placeholder_defaults) {
  QTemporaryDir dir;
  Settings s = read_settings(dir.filePath("Pulvitra.ini"));
  EXPECT_TRUE(s.Assist);
  EXPECT_EQ(s.MaxBaud, 12800);
}
