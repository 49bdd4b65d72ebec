// The page reader as the views walk a page: which samples come back, which marks they see,
// and that a page always ends inside its 300 columns.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

#include "recording/page_reader.h"

namespace pulvitra {
namespace {

// One returned sample with the marks seen on the way to it.
struct Read {
  int sample;
  std::string marks;  // "b<value>" beat mark, "p" 253, "e" 254 0, "s" start record
  bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Read& r) { return os << r.sample << r.marks; }

std::vector<Read> read_page(const TEKG& ekg, int page) {
  PageReader reader;
  reader.start_page(page);
  std::vector<Read> reads;
  for (int calls = 0; calls < 400; ++calls) {
    const int sample = NextPageSample(ekg, reader);
    std::string marks;
    if (reader.PageBeatSeen) marks += "b" + std::to_string(reader.PageBeatValue);
    if (reader.marks.SawCode253) marks += "p";
    if (reader.marks.SawCode254) marks += "e";
    if (reader.marks.SawStartRecord) marks += "s";
    reader.PageBeatSeen = false;
    reader.marks = {};
    if (reader.PageEnd) {
      EXPECT_EQ(sample, 0);
      EXPECT_TRUE(marks.empty()) << marks;
      return reads;
    }
    reads.push_back({sample, marks});
  }
  ADD_FAILURE() << "page " << page << " never ended";
  return reads;
}

std::unique_ptr<TEKG> page_with(const std::vector<std::uint8_t>& bytes, std::uint8_t filler = 254) {
  auto ekg = std::make_unique<TEKG>();
  ekg->Pages[1].fill(filler);
  for (std::size_t i = 0; i < bytes.size(); ++i) ekg->Pages[1][i + 1] = bytes[i];
  if (filler == 254 && bytes.size() < kPageBytes) ekg->Pages[1][bytes.size() + 2] = 255;  // end mark after the bytes
  return ekg;
}

TEST(PageReaderTest, CodesAtTheStartOfAPage) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<Read> reads;
  };
  const Case cases[] = {
      {"beat mark", {100, 254, 77, 101}, {{100, ""}, {101, "b77"}}},
      {"event mark", {254, 0, 102}, {{102, "e"}}},
      {"pace code", {253, 103}, {{103, "p"}}},
      {"start record", {255, 0, 9, 9, 104}, {{104, "s"}}},
      {"lone 255", {255, 7, 105}, {{7, ""}, {105, ""}}},
      {"rate marker", {252, 200, 106}, {{106, ""}}},
      {"251", {251, 107}, {{107, ""}}},
      {"codes in a row", {253, 252, 80, 254, 0, 254, 90, 108}, {{108, "b90pe"}}},
      {"end mark", {110, 254, 255, 111}, {{110, ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto ekg = page_with(c.bytes);
    EXPECT_EQ(read_page(*ekg, 1), c.reads);
  }
}

TEST(PageReaderTest, FromColumn269CodesReadAsSamples) {
  std::vector<std::uint8_t> bytes(300, 100);
  bytes[267 - 1] = 251;  // before column 269: skipped
  bytes[270 - 1] = 251;  // consumed, but the 251 after it comes back as a sample
  bytes[271 - 1] = 251;
  bytes[280 - 1] = 253;  // consumed and seen
  auto ekg = page_with(bytes, 100);
  const std::vector<Read> reads = read_page(*ekg, 1);

  ASSERT_EQ(reads.size(), 297u);  // 300 columns less the three consumed codes
  EXPECT_EQ(reads[265].sample, 100);  // column 266
  EXPECT_EQ(reads[266].sample, 100);  // column 268
  EXPECT_EQ(reads[268], (Read{251, ""}));  // column 271
  EXPECT_EQ(reads[277], (Read{100, "p"}));  // column 281
}

// Two codes in a row: the second is passed over only while the reader stands before column
// 269; from there on it comes back as a sample, so the page keeps one more column.
TEST(PageReaderTest, ChainedCodesArePassedOverOnlyBeforeColumn269) {
  const struct {
    int first_code_column;
    std::size_t reads;
    std::size_t index_of_code_read;  // where the second 251 shows as a sample (0: nowhere)
  } cases[] = {{267, 298, 0}, {268, 299, 267}, {269, 299, 268}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first_code_column);
    std::vector<std::uint8_t> bytes(300, 100);
    bytes[c.first_code_column - 1] = 251;
    bytes[c.first_code_column] = 251;
    auto ekg = page_with(bytes, 100);
    const std::vector<Read> reads = read_page(*ekg, 1);
    ASSERT_EQ(reads.size(), c.reads);
    if (c.index_of_code_read > 0) {
      EXPECT_EQ(reads[c.index_of_code_read].sample, 251);
    }
    EXPECT_EQ(std::count_if(reads.begin(), reads.end(), [](const Read& r) { return r.sample == 251; }),
              c.index_of_code_read > 0 ? 1 : 0);
  }
}

TEST(PageReaderTest, ACodeInTheLastColumnEndsThePage) {
  struct Case {
    std::uint8_t last;
    std::size_t samples;
  };
  // The argument of a code in column 300 would lie beyond the page: the page ends there.
  for (const Case& c : {Case{254, 299}, Case{255, 299}, Case{251, 299}, Case{100, 300}}) {
    SCOPED_TRACE(int{c.last});
    std::vector<std::uint8_t> bytes(300, 100);
    bytes[299] = c.last;
    auto ekg = page_with(bytes, 100);
    EXPECT_EQ(read_page(*ekg, 1).size(), c.samples);
  }
}

TEST(PageReaderTest, PagesOutsideTheTableAreEmpty) {
  auto ekg = std::make_unique<TEKG>();
  for (auto& page : ekg->Pages) page.fill(100);
  for (int page : {0, 181, 300}) EXPECT_TRUE(read_page(*ekg, page).empty()) << page;
  EXPECT_EQ(read_page(*ekg, 180).size(), 300u);
}

}  // namespace
}  // namespace pulvitra
