// Longitude to page angle for every orientation, direction and wheel type, and Local Space.
#include "shell/core/wheel/wheel_frame.h"

#include <gtest/gtest.h>

#include "wheel_test_charts.h"

namespace {

using wheel::WheelFrame;

struct MappingCase {
  const char* name;
  int orientation;
  int direction;  // 0 counter-clockwise, 1 clockwise
  bool withCusps;
  double longitude;
  double angle;  // expected page angle, counter-clockwise from the right
};

// The test chart: ASC 155.4, MC 60.2 (95.2 degrees of the zodiac before the ASC).
const MappingCase kMappings[] = {
    {"aries left: 0 Aries at the left", 0, 0, true, 0.0, 180.0},
    {"aries left: Cancer below", 0, 0, true, 90.0, 270.0},
    {"aries left clockwise: Cancer above", 0, 1, true, 90.0, 90.0},
    {"aries right: 0 Aries at the right", 1, 0, true, 0.0, 0.0},
    {"aries right: Cancer above", 1, 0, true, 90.0, 90.0},
    {"aries right clockwise: Cancer below", 1, 1, true, 90.0, 270.0},
    {"aries top: 0 Aries at the top", 2, 0, true, 0.0, 90.0},
    {"aries top: Cancer at the left", 2, 0, true, 90.0, 180.0},
    {"aries top clockwise: Cancer at the right", 2, 1, true, 90.0, 0.0},
    {"ASC left: the ascendant at the left", 3, 0, true, 155.4, 180.0},
    {"ASC left: the MC above, slightly right", 3, 0, true, 60.2, 84.8},
    {"ASC left: the IC below", 3, 0, true, 240.2, 264.8},
    {"ASC left: 0 Aries", 3, 0, true, 0.0, 24.6},
    {"ASC left clockwise: the MC below", 3, 1, true, 60.2, 275.2},
    {"ASC left clockwise: the descendant at the right", 3, 1, true, 335.4, 0.0},
    {"ASC right: the ascendant at the right", 4, 0, true, 155.4, 0.0},
    {"ASC right: the descendant at the left", 4, 0, true, 335.4, 180.0},
    {"ASC right clockwise: the MC", 4, 1, true, 60.2, 95.2},
    {"MC top: the MC at the top", 5, 0, true, 60.2, 90.0},
    {"MC top: the ascendant", 5, 0, true, 155.4, 185.2},
    {"MC top clockwise: the ascendant", 5, 1, true, 155.4, 354.8},
    {"an unknown orientation is ASC left", 7, 0, true, 155.4, 180.0},
    {"ASC left without cusps: 0 Aries at the left", 3, 0, false, 0.0, 180.0},
    {"ASC right without cusps: 0 Aries at the right", 4, 0, false, 0.0, 0.0},
    {"MC top without cusps: 0 Aries at the top", 5, 0, false, 0.0, 90.0},
    {"MC top without cusps, clockwise: Cancer at the right", 5, 1, false, 90.0, 0.0},
};

TEST(WheelFrame, LongitudeToAngleForEveryOrientationAndDirection) {
  for (const MappingCase& c : kMappings) {
    cfg::WheelSettings settings;
    settings.orientation = c.orientation;
    settings.direction = c.direction;
    const Chart chart = wheel_test::ChartWith({}, c.withCusps);
    const WheelFrame frame = WheelFrame::Zodiac(settings, chart);
    EXPECT_NEAR(frame.AngleOf(c.longitude), c.angle, 1e-9) << c.name;
    EXPECT_EQ(frame.Sense(), c.direction == 1 ? -1 : 1) << c.name;
  }
}

// The equal-house type: every house 30 degrees of the circle, counted from the first cusp.
TEST(WheelFrame, EqualHouseTypeDrawsEveryHouseThirtyDegreesWide) {
  cfg::WheelSettings settings;
  settings.wheelType = 1;
  settings.orientation = wheel::kAscLeft;
  const Chart chart = wheel_test::ChartWith({});
  const WheelFrame frame = WheelFrame::Zodiac(settings, chart);
  ASSERT_TRUE(frame.EqualHouses());
  struct {
    double longitude, angle;
  } const cases[] = {
      {155.4, 180.0},  // cusp I
      {178.0, 210.0},  // cusp II
      {240.2, 270.0},  // cusp IV
      {60.2, 90.0},    // cusp X: the MC straight above
      {166.7, 195.0},  // the middle of house I (22.6 degrees wide)
      // 0 Aries: 2 degrees into house VIII (358.0 .. 26.5, 28.5 wide).
      {0.0, 180.0 + 210.0 + 30.0 * 2.0 / 28.5 - 360.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(frame.AngleOf(c.longitude), c.angle, 1e-9) << c.longitude;

  // Cusps that do not go once round the circle leave the signs equal.
  Chart crossed = chart;
  crossed.cusps[4].Set(170.0);
  EXPECT_FALSE(WheelFrame::Zodiac(settings, crossed).EqualHouses());
  EXPECT_FALSE(WheelFrame::Zodiac(settings, wheel_test::ChartWith({}, false)).EqualHouses());
}

TEST(WheelFrame, LocalSpaceDrawsAzimuthsAsOnAMap) {
  struct {
    int orientation;
    double azimuth, angle;
  } const cases[] = {
      {wheel::kNorthUp, 0.0, 90.0},    {wheel::kNorthUp, 90.0, 0.0},
      {wheel::kNorthUp, 180.0, 270.0}, {wheel::kNorthUp, 270.0, 180.0},
      {wheel::kNorthUp, 45.0, 45.0},   {wheel::kSouthUp, 0.0, 270.0},
      {wheel::kSouthUp, 90.0, 180.0},  {wheel::kSouthUp, 180.0, 90.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(WheelFrame::LocalSpace(c.orientation).AngleOf(c.azimuth), c.angle, 1e-9)
        << c.orientation << " " << c.azimuth;
  }
}

}  // namespace
