#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "foundation/drawing/palette.h"

namespace {

TEST(DrawingPalette, FixedColoursAndBlackOutsideTheRange) {
  struct Case {
    int n;
    platform::Color expected;
  };
  const Case cases[] = {
      {1, {0, 0, 128}},       // navy
      {7, {128, 128, 128}},   // grey
      {12, {255, 0, 0}},      // red
      {14, {255, 255, 0}},    // yellow
      {15, {255, 255, 255}},  // white
      {16, {192, 192, 192}},  // light grey
      {54, {144, 238, 144}},  // light green
      {0, platform::kBlack}, {60, platform::kBlack}, {-1, platform::kBlack},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorByIndex(c.n), c.expected) << c.n;
  EXPECT_EQ(ColorByIndexShort(12), (platform::Color{255, 0, 0}));
  EXPECT_EQ(ColorByIndexShort(65535), platform::kBlack);
  EXPECT_EQ(ColorByIndexShort(0), platform::kBlack);
}

TEST(DrawingPalette, EveryNumberHasAColourOfItsOwn) {
  std::set<std::tuple<int, int, int>> seen;
  for (int n = 1; n <= kPaletteSize; ++n) {
    const platform::Color c = ColorByIndex(n);
    EXPECT_TRUE(seen.insert({c.r, c.g, c.b}).second) << n;
    EXPECT_FALSE(c == platform::kBlack) << n;  // black is the colour of "no number"
  }
}

}  // namespace
