#include <gtest/gtest.h>

#include <cmath>

#include "astro/houses/angles.h"
#include "astro/houses/ascendant_table.h"

namespace {

double ArcDifference(double a, double b) {
  double d = std::fabs(a - b);
  return d > 180.0 ? 360.0 - d : d;
}

TEST(AscendantTable, LookUpFollowsTheFormulaBetweenItsNodes) {
  AscendantTable table;
  EXPECT_EQ(table.Lookup(50.0, 3.0), -777.0);
  const double obliquity = 23.44;
  table.Compute(obliquity);
  // At the equator and sidereal time 0h the point of right ascension 90 rises: 0 Cancer.
  EXPECT_NEAR(table.Lookup(0.0, 0.0), 90.0, 1e-9);
  // At its nodes the table is the closed formula.
  for (double lat = -66.0; lat <= 66.0; lat += 1.0)
    for (int column = 0; column < 360; column += 7)
      ASSERT_LT(ArcDifference(table.Lookup(lat, column / 15.0),
                              AscendantDeg(column * 4.0 / 60.0 * 15.0, lat, obliquity)),
                1e-9)
          << lat << " " << column;
  // Between the nodes the table stays within a few minutes of arc of the closed formula, except
  // where the Ascendant races near the polar circles.
  double worst = 0.0;
  for (double lat = -60.0; lat <= 60.0; lat += 7.3) {
    for (double hours = 0.0; hours < 24.0; hours += 0.37) {
      worst = std::max(worst, ArcDifference(table.Lookup(lat, hours),
                                            AscendantDeg(hours * 15.0, lat, obliquity)));
    }
  }
  EXPECT_LT(worst * 60.0, 6.0) << "worst " << worst * 60.0 << " arcmin";
  // Sidereal time wraps, latitude is clamped to the table.
  EXPECT_NEAR(table.Lookup(40.0, 27.5), table.Lookup(40.0, 3.5), 1e-9);
  EXPECT_NEAR(table.Lookup(80.0, 5.0), table.Lookup(66.0, 5.0), 1e-9);
}

}  // namespace
