#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "foundation/numbers/angles.h"
#include "foundation/numbers/bit_mask.h"

namespace {

TEST(Angles, NormalizeDegreesFoldsIntoZeroTo360) {
  struct Row {
    const char* name;
    double angle;
    double expected;
  };
  const Row rows[] = {
      {"zero", 0.0, 0.0},
      {"full_turn", 360.0, 0.0},
      {"two_turns", 720.0, 0.0},
      {"minus_full_turn", -360.0, 0.0},
      {"just_below_360", 359.5, 359.5},
      {"small_negative", -0.5, 359.5},
      {"above_360", 365.0, 5.0},
      {"two_turns_negative", -725.0, 355.0},
      {"tiny_negative_is_not_360", -1e-14, 0.0},
      {"tiny_positive", 1e-14, 1e-14},
      {"absent_passes_through", -777.0, -777.0},
      {"almost_absent_is_folded", -777.5, 302.5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const double v = NormalizeDegrees(r.angle);
    EXPECT_DOUBLE_EQ(v, r.expected);
    if (r.angle != kAbsent) {
      EXPECT_GE(v, 0.0);
      EXPECT_LT(v, 360.0);
    }
  }
  EXPECT_FALSE(std::signbit(NormalizeDegrees(-0.0)));
  EXPECT_FALSE(std::signbit(NormalizeDegrees(-360.0)));
}

TEST(Angles, DifferencesAcrossZero) {
  struct Row {
    double a;
    double b;
    double folded180;
    double ahead360;
  };
  const Row rows[] = {
      {10.0, 350.0, 20.0, 340.0},  {350.0, 10.0, 20.0, 20.0},   {0.0, 180.0, 180.0, 180.0},
      {90.0, 271.0, 179.0, 181.0}, {-10.0, 10.0, 20.0, 20.0},   {0.0, 720.0, 0.0, 0.0},
      {10.0, 730.0, 0.0, 0.0},     {0.0, 181.0, 179.0, 181.0},  {359.0, 0.0, 1.0, 1.0},
      {0.0, 0.0, 0.0, 0.0},        {90.0, -90.0, 180.0, 180.0}, {0.0, -1e-14, 1e-14, 0.0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.a) + " " + std::to_string(r.b));
    EXPECT_NEAR(AngleDifference180(r.a, r.b), r.folded180, 1e-12);
    EXPECT_NEAR(AngleDifference360(r.a, r.b), r.ahead360, 1e-12);
    EXPECT_LT(AngleDifference360(r.a, r.b), 360.0);
  }
}

TEST(Angles, TrigonometryInDegrees) {
  struct Row {
    double degrees;
    double sine;
    double cosine;
  };
  const double h = std::sqrt(0.5);
  const Row rows[] = {
      {0.0, 0.0, 1.0},
      {30.0, 0.5, std::sqrt(3.0) / 2},
      {45.0, h, h},
      {60.0, std::sqrt(3.0) / 2, 0.5},
      {90.0, 1.0, 0.0},
      {135.0, h, -h},
      {180.0, 0.0, -1.0},
      {270.0, -1.0, 0.0},
      {-90.0, -1.0, 0.0},
      {360.0, 0.0, 1.0},
      {3600030.0, 0.5, std::sqrt(3.0) / 2},
      {-330.0, 0.5, std::sqrt(3.0) / 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.degrees);
    EXPECT_NEAR(SinDeg(r.degrees), r.sine, 1e-15);
    EXPECT_NEAR(CosDeg(r.degrees), r.cosine, 1e-15);
  }
  // Whole quadrants are exact.
  EXPECT_EQ(SinDeg(180.0), 0.0);
  EXPECT_EQ(CosDeg(90.0), 0.0);
  EXPECT_EQ(CosDeg(270.0), 0.0);
  EXPECT_EQ(SinDeg(-90.0), -1.0);

  EXPECT_NEAR(TanDeg(45.0), 1.0, 1e-15);
  EXPECT_NEAR(TanDeg(135.0), -1.0, 1e-15);
  EXPECT_NEAR(TanDeg(-60.0), -std::sqrt(3.0), 1e-14);
  EXPECT_NEAR(TanDeg(405.0), 1.0, 1e-14);
  EXPECT_TRUE(std::isfinite(TanDeg(90.0)));
  EXPECT_GT(std::fabs(TanDeg(90.0)), 1e15);

  EXPECT_NEAR(AtanDeg(1.0), 45.0, 1e-13);
  EXPECT_NEAR(AtanDeg(-std::sqrt(3.0)), -60.0, 1e-13);
  EXPECT_NEAR(Atan2Deg(1.0, -1.0), 135.0, 1e-13);
  EXPECT_NEAR(Atan2Deg(0.0, -1.0), 180.0, 1e-13);
  EXPECT_NEAR(Atan2Deg(-1.0, 0.0), -90.0, 1e-13);
  EXPECT_TRUE(std::isnan(SinDeg(std::numeric_limits<double>::infinity())));
}

TEST(Numbers, RoundToNearestHalvesUp) {
  struct Row {
    double x;
    int expected;
  };
  const Row rows[] = {
      {2.5, 3},          {-2.5, -2},       {2.4999, 2}, {-2.5001, -3},    {0.49999999999999994, 0},
      {-0.5, 0},         {7.0, 7},         {-7.0, -7},  {1e300, INT_MAX}, {-1e300, INT_MIN},
      {std::nan(""), 0}, {359.5 * 2, 719},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.x);
    EXPECT_EQ(RoundToNearest(r.x), r.expected);
  }
}

TEST(Numbers, MaskBits) {
  struct Row {
    int n;
    int mask;
    int isSet;
  };
  const Row rows[] = {
      {0, 1, 1},        {1, 1, 0},   {1, 2, 1},   {31, INT_MIN, 1},
      {30, INT_MIN, 0}, {32, -1, 0}, {-1, -1, 0}, {5, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.n) + " " + std::to_string(r.mask));
    EXPECT_EQ(BitIsSet(r.n, r.mask), r.isSet);
  }
  struct SetRow {
    int n;
    int mask;
    int flag;
    int expected;
  };
  const SetRow setRows[] = {
      {0, 0, 1, 1},         {1, 3, 0, 1},  {1, 1, 0, 1},  {31, 0, 1, INT_MIN},
      {31, -1, 0, INT_MAX}, {32, 5, 1, 5}, {-1, 5, 0, 5}, {2, 0, 7, 4},
  };
  for (const SetRow& r : setRows) {
    SCOPED_TRACE(std::to_string(r.n) + " " + std::to_string(r.mask) + " " + std::to_string(r.flag));
    int mask = r.mask;
    SetMaskBit(r.n, mask, r.flag);
    EXPECT_EQ(mask, r.expected);
  }
}

}  // namespace

namespace {

TEST(Wrap360, ComputedAnglesFoldIntoTheHalfOpenCircle) {
  EXPECT_EQ(Wrap360(-1e-15), 0.0);  // a tiny negative remainder must not become 360
  EXPECT_EQ(Wrap360(360.0), 0.0);
  EXPECT_EQ(Wrap360(-777.0), 303.0);  // no special value here, unlike NormalizeDegrees
  EXPECT_DOUBLE_EQ(Wrap360(725.5), 5.5);
}

}  // namespace
