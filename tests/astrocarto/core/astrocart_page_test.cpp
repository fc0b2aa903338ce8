#include "astrocarto/core/astrocart_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "astrocarto/core/astrocart_map.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/palette.h"

namespace {

using A = cfg::AstroCartSettings;

TEST(AstroCartPage, ValuesOutOfRangeAreBroughtIn) {
  struct Case {
    const char* what;
    std::int16_t orb, limit;
    std::int32_t speed, choice;
    int expectOrb, expectLimit, expectSpeed, expectChoice;
  };
  const std::vector<Case> cases = {
      {"in range", 60, 70, 2, 0, 60, 70, 2, 0},
      {"ends", 1, 0, 3, 2, 1, 0, 3, 2},
      {"upper ends", 5400, 90, 0, 1, 5400, 90, 0, 1},
      {"orb 0 and negative limit", 0, -3, -1, 3, 1, 0, 1, 1},
      {"beyond the ends", 6000, 95, 4, -1, 5400, 90, 1, 1},
  };
  for (const Case& c : cases) {
    cfg::ByteBlock block(A::kSize);
    block.Set(A::kCrossingOrb, c.orb);
    block.Set(A::kCrossingLatitudeLimit, c.limit);
    block.Set(A::kSpeed, c.speed);
    block.Set(A::kLineChoice, c.choice);
    const AstroCartPage p = ReadAstroCartPage(block);
    EXPECT_EQ(p.crossingOrb, c.expectOrb) << c.what;
    EXPECT_EQ(p.crossingLatitudeLimit, c.expectLimit) << c.what;
    EXPECT_EQ(p.speed, c.expectSpeed) << c.what;
    EXPECT_EQ(p.lineChoice, c.expectChoice) << c.what;
  }
}

TEST(AstroCartPage, WritesItsFieldsAndKeepsTheOthers) {
  cfg::ByteBlock block(A::kSize);
  for (std::size_t i = 0; i < A::kSize; ++i) block.CopyIn(i, "\x05");
  const cfg::ByteBlock before = block;
  AstroCartPage p;
  p.grid = false;
  p.nodes = true;
  p.lineChoice = 2;
  p.printBackground = 2;
  p.lineSystem = 1;
  p.townFontSize = 2;
  p.crossingOrb = 5400;
  p.crossingLatitudeLimit = 0;
  for (int i = 0; i < 8; ++i) p.mapColours[static_cast<std::size_t>(i)] = 50 + i;
  for (int i = 0; i < 12; ++i) p.lineColours[static_cast<std::size_t>(i)] = i + 1;
  WriteAstroCartPage(p, block);
  EXPECT_EQ(ReadAstroCartPage(block), p);
  EXPECT_EQ(block.Get(A::kMapColour[7]), 57);
  EXPECT_EQ(block.Get(A::kLineColour[11]), 12);
  // The int32 after the crossing band and the six words after the map colours are not the
  // pages' to change.
  EXPECT_EQ(block.Bytes().substr(36, 4), before.Bytes().substr(36, 4));
  EXPECT_EQ(block.Bytes().substr(64, 12), before.Bytes().substr(64, 12));
}

TEST(AstroCartPage, LineColourOfABody) {
  cfg::ByteBlock block(A::kSize);
  for (int i = 0; i < 12; ++i)
    block.Set(A::kLineColour[static_cast<std::size_t>(i)], static_cast<std::int16_t>(20 + i));
  const int cases[][2] = {{0, 20},  {9, 29},  {16, 30}, {17, 30}, {10, 31},
                          {15, 31}, {18, 31}, {29, 31}, {-1, 31}};
  for (const auto& c : cases) EXPECT_EQ(LineColourOfBody(block, c[0]), c[1]) << c[0];
}

// The contrast ratio of two colours by the web accessibility guidelines' relative luminance.
double ContrastRatio(platform::Color a, platform::Color b) {
  const auto luminance = [](platform::Color c) {
    const auto linear = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every default line colour has a contrast of at least 3:1 against the default land and sea, on
// the screen and printed in colour with each choice of background.
TEST(AstroCartPage, DefaultLineColoursStandOutFromLandAndSea) {
  EXPECT_NEAR(ContrastRatio(platform::kBlack, platform::kWhite), 21.0, 1e-9);
  const Configuration config;
  AstroCartPage page = ReadAstroCartPage(config.astroCart);
  for (const int background : {0, 1, 2}) {
    page.printBackground = background;
    const MapColours map = AstroCartMap::PrintColours(page, true);
    for (std::size_t i = 0; i < page.lineColours.size(); ++i) {
      const platform::Color line = ColorByIndex(page.lineColours[i]);
      for (const platform::Color ground : {map.land, map.sea})
        EXPECT_GE(ContrastRatio(line, ground), 3.0) << "line colour " << i << ", " << background;
    }
  }
}

}  // namespace
