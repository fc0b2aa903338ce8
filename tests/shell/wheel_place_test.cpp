// Glyph placement: crowds spread along the ring in order, centred on their true positions.
#include "shell/wheel/place.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct PlaceCase {
  const char* name;
  std::vector<double> angles;
  double spacing;
  std::vector<double> placed;  // expected, in input order
  double spacingKept;
};

const PlaceCase kCases[] = {
    {"apart: untouched", {10.0, 100.0, 200.0}, 8.0, {10.0, 100.0, 200.0}, 8.0},
    {"exactly one spacing apart: untouched", {10.0, 18.0}, 8.0, {10.0, 18.0}, 8.0},
    {"a pair centred on its mean", {10.0, 12.0}, 8.0, {7.0, 15.0}, 8.0},
    {"order kept whatever the input order", {12.0, 10.0}, 8.0, {15.0, 7.0}, 8.0},
    // Six within 10 degrees about 15, seven apart: 15 -/+ 2.5 x 7, the first across 0 Aries.
    {"a stellium spreads across 0",
     {10.0, 12.0, 14.0, 16.0, 18.0, 20.0},
     7.0,
     {357.5, 4.5, 11.5, 18.5, 25.5, 32.5},
     7.0},
    // {0, 5} spreads to -1.5 and 6.5, which comes too near 14: all three about their mean 19/3.
    {"a spread crowd swallows its neighbour",
     {0.0, 5.0, 14.0},
     8.0,
     {19.0 / 3.0 - 8.0 + 360.0, 19.0 / 3.0, 19.0 / 3.0 + 8.0},
     8.0},
    {"a crowd on 0 Aries", {358.0, 2.0}, 10.0, {355.0, 5.0}, 10.0},
    {"more than the circle holds: 360 / n", {0.0, 0.0, 0.0, 0.0}, 100.0, {225.0, 315.0, 45.0, 135.0}, 90.0},
    {"one glyph stays", {123.0}, 50.0, {123.0}, 50.0},
};

// b - a folded into (-180, 180].
double Difference(double a, double b) {
  double d = b - a;
  while (d > 180.0) d -= 360.0;
  while (d <= -180.0) d += 360.0;
  return d;
}

double Gap(double a, double b) {  // from a forward to b, in [0, 360)
  double d = b - a;
  while (d < 0.0) d += 360.0;
  while (d >= 360.0) d -= 360.0;
  return d;
}

TEST(Place, SpreadsCrowdsAlongTheRing) {
  for (const PlaceCase& c : kCases) {
    PLACE place;
    for (const double a : c.angles) place.Add(a);
    EXPECT_DOUBLE_EQ(place.Spread(c.spacing), c.spacingKept) << c.name;
    for (int i = 0; i < place.Count(); ++i) {
      EXPECT_NEAR(Difference(c.placed[static_cast<std::size_t>(i)], place.PlacedAngle(i)), 0.0, 1e-9)
          << c.name << " glyph " << i;
    }
  }
}

// Thirty-four glyphs in three tight crowds, two of them on both sides of 0: every two neighbours
// end at least the spacing apart and in their true order, the crowd across the cut included.
TEST(Place, NeighboursKeepTheSpacingAndTheirOrder) {
  PLACE place;
  std::vector<double> angles;
  for (int i = 0; i < 12; ++i) angles.push_back(355.0 + i * 0.8);  // 355 .. 3.8
  for (int i = 0; i < 12; ++i) angles.push_back(130.0 + i * 0.5);
  for (int i = 0; i < 10; ++i) angles.push_back(250.0 - i * 0.3);  // added in reverse
  for (const double a : angles) place.Add(a);
  const double spacing = place.Spread(9.0);
  ASSERT_DOUBLE_EQ(spacing, 9.0);

  // Walk the glyphs by placed angle; the true angles must come in the same circular order.
  std::vector<int> byPlace(angles.size());
  for (std::size_t i = 0; i < byPlace.size(); ++i) byPlace[i] = static_cast<int>(i);
  std::sort(byPlace.begin(), byPlace.end(),
            [&](int a, int b) { return place.PlacedAngle(a) < place.PlacedAngle(b); });
  int orderBreaks = 0;
  for (std::size_t k = 0; k < byPlace.size(); ++k) {
    const int a = byPlace[k];
    const int b = byPlace[(k + 1) % byPlace.size()];
    EXPECT_GE(Gap(place.PlacedAngle(a), place.PlacedAngle(b)), spacing - 1e-9) << k;
    if (Gap(place.TrueAngle(a), place.TrueAngle(b)) > 180.0) ++orderBreaks;
  }
  EXPECT_EQ(orderBreaks, 0);
  // Each crowd stays centred on its true mean: the middle crowd's mean is 132.75.
  double sum = 0.0;
  for (int i = 12; i < 24; ++i) sum += place.PlacedAngle(i);
  EXPECT_NEAR(sum / 12.0, 132.75, 1e-9);
}

TEST(Place, ShiftIsTheSignedMoveAcrossZero) {
  PLACE place;
  place.Add(1.0);
  place.Add(3.0);
  place.Spread(10.0);  // 357 and 7
  EXPECT_NEAR(place.Shift(0), -4.0, 1e-9);
  EXPECT_NEAR(place.Shift(1), 4.0, 1e-9);
}

}  // namespace
