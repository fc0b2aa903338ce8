#include "rectification/core/morav_number.h"

#include <gtest/gtest.h>

#include "foundation/numbers/angles.h"
#include "platform/core/recording_dc.h"

namespace {

TEST(MoravNumber, MeanOfSaturnMoonAndSun) {
  struct Case {
    double sun, moon, saturn, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 0},
      {10, 100, 200, 115},
      {350, 350, 350, 350},  // the plain mean above 360 is reduced
      {300, 300, 340, 315},  // (1020 + 900 + 600) / 8
      {kAbsent, 10, 10, kAbsent},
      {10, 10, kAbsent, kAbsent},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(MoravNumber(c.sun, c.moon, c.saturn), c.expected);
}

TEST(MoravNumber, DrawnInTheLargestGlyphSizeThatFitsAThirdOfTheHeight) {
  platform::RecordingDc dc(96.0);
  // 600 x 300 pixels at 96 dpi are 1587 x 793 units of 0.1 mm. A third of the height is 264
  // units: the glyph face's em (size x 96 / 720) stays below it up to size 1900 (253 units).
  DrawMoravNumber(dc, {600, 300}, 115.5);
  ASSERT_FALSE(dc.Calls().empty());
  const platform::RecordedCall& first = dc.Calls().front();
  EXPECT_EQ(first.font.pointSize, 1900);
  // Centred for six characters of 253 units, a fifth of the height below the top.
  EXPECT_NEAR(first.points[0].x, (1587 - 6 * 253) / 2, 2);
  EXPECT_NEAR(first.points[0].y, -793 / 5, 2);
  EXPECT_EQ(first.bkMode, platform::BkMode::Transparent);
  EXPECT_EQ(dc.GetMapMode(), platform::MapMode::Text);

  platform::RecordingDc none(96.0);
  DrawMoravNumber(none, {600, 300}, kAbsent);
  DrawMoravNumber(none, {0, 0}, 10.0);  // a minimised window
  EXPECT_TRUE(none.Calls().empty());
}

}  // namespace
