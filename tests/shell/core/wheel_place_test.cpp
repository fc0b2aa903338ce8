// Glyph placement: crowds spread along the ring in order, centred on their true positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "shell/core/wheel/place.h"

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
    {"more than the circle holds: 360 / n",
     {0.0, 0.0, 0.0, 0.0},
     100.0,
     {225.0, 315.0, 45.0, 135.0},
     90.0},
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
      EXPECT_NEAR(Difference(c.placed[static_cast<std::size_t>(i)], place.PlacedAngle(i)), 0.0,
                  1e-9)
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

namespace {

// Boxes that need 4 degrees side by side vertically (at the sides of the ring) and 10 degrees
// side by side horizontally (at the top and bottom).
double SpacingByDirection(double angle) {
  return 4.0 + 6.0 * std::fabs(std::sin(angle * 3.14159265358979323846 / 180.0));
}

TEST(Place, SpacingFollowsTheDirectionOfTheRing) {
  struct Case {
    double first, second;
    double spacing;  // expected: 4 + 6 |sin| at the pair's middle, which stays at their mean
  };
  // sin 0.5° = 0.00872654, sin 90.5° = 0.99996192, sin 45.5° = 0.71325045.
  const Case cases[] = {{0.0, 1.0, 4.0 + 6.0 * 0.00872654},
                        {90.0, 91.0, 4.0 + 6.0 * 0.99996192},
                        {45.0, 46.0, 4.0 + 6.0 * 0.71325045}};
  for (const Case& c : cases) {
    PLACE place;
    place.Add(c.first);
    place.Add(c.second);
    EXPECT_TRUE(place.Spread(SpacingByDirection));
    const double mean = (c.first + c.second) / 2.0;
    EXPECT_NEAR(Difference(mean - c.spacing / 2.0, place.PlacedAngle(0)), 0.0, 1e-6) << c.first;
    EXPECT_NEAR(Difference(mean + c.spacing / 2.0, place.PlacedAngle(1)), 0.0, 1e-6) << c.first;
  }
}

TEST(Place, EveryPairKeepsTheSpacingOfItsMiddle) {
  PLACE place;
  const double angles[] = {80.0,  81.0,  83.0,  85.0, 86.0, 88.0, 89.5,  90.0,  92.0,  95.0,
                           350.0, 352.0, 355.0, 1.0,  3.0,  7.0,  175.0, 176.0, 180.0, 181.0};
  for (const double a : angles) place.Add(a);
  ASSERT_TRUE(place.Spread(SpacingByDirection));
  std::vector<int> byPlace(std::size(angles));
  for (std::size_t i = 0; i < byPlace.size(); ++i) byPlace[i] = static_cast<int>(i);
  std::sort(byPlace.begin(), byPlace.end(),
            [&](int a, int b) { return place.PlacedAngle(a) < place.PlacedAngle(b); });
  for (std::size_t k = 0; k < byPlace.size(); ++k) {
    const double a = place.PlacedAngle(byPlace[k]);
    const double gap = Gap(a, place.PlacedAngle(byPlace[(k + 1) % byPlace.size()]));
    EXPECT_GE(gap, SpacingByDirection(a + gap / 2.0) - 1e-6) << k;
    EXPECT_LT(Gap(place.TrueAngle(byPlace[k]), place.TrueAngle(byPlace[(k + 1) % byPlace.size()])),
              180.0);
  }
  // Forty glyphs at 10 degrees apart anywhere cannot keep it: spread evenly at 9 instead.
  PLACE full;
  for (int i = 0; i < 40; ++i) full.Add(0.0);
  EXPECT_FALSE(full.Spread([](double) { return 10.0; }));
  for (int i = 0; i + 1 < 40; ++i)
    EXPECT_NEAR(Gap(full.PlacedAngle(i), full.PlacedAngle(i + 1)), 9.0, 1e-9);
}

}  // namespace
