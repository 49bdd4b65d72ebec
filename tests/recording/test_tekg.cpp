// The emptied recording that New leaves and the views draw before anything is loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "recording/tekg.h"

namespace pulvitra {
namespace {

TEST(RecordingTest, NewLeavesAnEmptyRecording) {
  auto ekg = std::make_unique<TEKG>();
  ekg->Image.fill(7);
  for (auto& page : ekg->Pages) page.fill(7);
  ekg->BeatRate.fill(99.0f);
  ekg->PageRate.fill(7);
  ekg->BeatFlags.fill(5);
  ekg->BeatCount = 900;
  ekg->FileName = "/data/patient.pul";

  clear_recording(*ekg);
  auto all = [](const auto& array, auto value) { return std::all_of(array.begin() + 1, array.end(), [&](auto v) { return v == value; }); };
  EXPECT_TRUE(all(ekg->Image, 125));
  for (int page = 1; page <= kPageCount; ++page) EXPECT_TRUE(all(ekg->Pages[page], 125)) << page;
  EXPECT_TRUE(all(ekg->BeatRate, 0.0f));
  EXPECT_TRUE(all(ekg->PageRate, 0));
  EXPECT_TRUE(all(ekg->BeatFlags, 0));
  // One beat counted with rate 0.0: the state the views must draw after New.
  EXPECT_EQ(ekg->BeatCount, 1);
  EXPECT_EQ(ekg->FileName, "default.pul");
}

}  // namespace
}  // namespace pulvitra
