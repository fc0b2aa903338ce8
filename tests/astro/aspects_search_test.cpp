#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;

Aspect MakeAspect(double angle, std::array<double, 6> orbs, int type = kAspectOther,
                  bool major = true) {
  Aspect a;
  a.angle = angle;
  a.orbs = orbs;
  a.type = static_cast<std::uint8_t>(type);
  a.major = major ? 1 : 0;
  return a;
}

// Conjunction, opposition, square, sextile and an invented 65-degree aspect that overlaps the
// sextile's orb, so that the system order decides.
AspectSystem SearchSystem() {
  AspectSystem s("TEST", {});
  EXPECT_EQ(s.AddAspect(MakeAspect(0, {8, 7, 6, 5, 4, 1})), 0);
  EXPECT_EQ(s.AddAspect(MakeAspect(180, {8, 7, 6, 5, 4, 1}, kAspectTense)), 0);
  EXPECT_EQ(s.AddAspect(MakeAspect(90, {6, 5, 4, 3, 2, 0.5}, kAspectTense)), 0);
  EXPECT_EQ(s.AddAspect(MakeAspect(60, {5, 4, 3, 2, 1, 0.5}, kAspectHarmonious)), 0);
  EXPECT_EQ(s.AddAspect(MakeAspect(65, {3, 3, 3, 3, 3, 0.2}, kAspectCreative, false)), 0);
  return s;
}

struct ClassifyCase {
  const char* name;
  double angle;
  int index;
};

TEST(AspectIndex, AnglesWithinTheirToleranceGetTheirIndex) {
  const ClassifyCase cases[] = {
      {"conjunction", 0.0, 0},
      {"conjunction_edge", 0.01, 0},
      {"past_conjunction_edge", 0.011, -1},
      {"full_circle_is_conjunction", 360.0, 0},
      {"just_below_full_circle", 359.995, 0},
      {"opposition_low_edge", 179.99, 1},
      {"square", 90.005, 2},
      {"trine_written_as_240", 240.0, 3},
      {"quintile", 72.0, 9},
      {"decile", 36.0, 10},
      {"vigintile", 20.0, 15},
      {"septile_as_listed", 51.43, 17},
      {"septile_exact", 360.0 / 7.0, 17},
      {"septile_upper_edge_004", 51.47, 17},
      {"septile_lower_edge_004", 51.39, 17},
      {"past_septile_upper", 51.475, -1},
      {"past_septile_lower", 51.385, -1},
      {"biseptile", 102.86, 18},
      {"biseptile_only_001", 102.875, -1},
      {"triseptile", 154.28, 19},
      {"no_aspect", 17.0, -1},
      {"not_a_number", std::numeric_limits<double>::quiet_NaN(), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyAspectAngle(c.angle), c.index) << c.name;
}

struct FindCase {
  const char* name;
  double a, b;
  int column;
  int result, position;
  double separation, deviation;
  int side;
};

TEST(AspectSearch, FindsTheFirstAspectInSystemOrderWithinItsOrb) {
  const AspectSystem system = SearchSystem();
  const FindCase cases[] = {
      {"conjunction_across_0_360", 359, 3, 0, 0, 0, 4, 4, 2},
      {"exact_conjunction_across_0_360", 359.6, 0.2, 0, 2, 0, 0.6, 0.6, 1},
      {"opposition_below_angle", 10, 188, 0, 0, 1, 178, -2, 0},
      {"opposition_other_way_round", 350, 172, 0, 0, 1, 178, -2, 0},
      {"square_at_column_orb_inclusive", 0, 96, 0, 0, 2, 96, 6, 2},
      {"square_past_column_1_orb", 0, 95.5, 1, -1, -1, 0, 0, 0},
      {"square_outside_narrow_column_4", 0, 93, 4, -1, -1, 0, 0, 0},
      {"square_inside_column_2", 0, 93, 2, 0, 2, 93, 3, 2},
      {"first_in_order_not_nearest", 0, 63, 0, 0, 3, 63, 3, 2},
      {"later_aspect_when_earlier_out_of_orb", 0, 66, 0, 0, 4, 66, 1, 2},
      {"exact_sextile", 100, 160.4, 4, 2, 3, 60.4, 0.4, 1},
      {"exact_column_used_as_orb", 0, 90.4, OrbColumn::kExact, 2, 2, 90.4, 0.4, 1},
      {"absent_longitude", -777.0, 10, 0, -1, -1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const AspectMatch m = system.FindAspect(c.a, c.b, OrbColumn{c.column});
    EXPECT_EQ(m.result, c.result) << c.name;
    EXPECT_EQ(m.position, c.position) << c.name;
    if (c.result < 0) continue;
    EXPECT_NEAR(m.separation, c.separation, 1e-9) << c.name;
    EXPECT_NEAR(m.deviation, c.deviation, 1e-9) << c.name;
    const AspectMatch between = system.FindAspectBetween(c.a, c.b, OrbColumn{c.column});
    EXPECT_EQ(between.side, c.side) << c.name;
    EXPECT_EQ(between.type, system.GetAspect(c.position).type) << c.name;
    EXPECT_EQ(between.major, c.position == 4 ? 0 : 1) << c.name;
  }
}

TEST(AspectSearch, OrbClassesOneToFiveSelectColumnsZeroToFour) {
  const int classes[][2] = {{1, 0}, {3, 2}, {5, 4}, {0, 0}, {9, 4}};
  for (const auto& c : classes) EXPECT_EQ(OrbColumnOfClass(c[0]).index, c[1]) << c[0];
}

struct MotionCase {
  const char* name;
  double a, speedA, b, speedB;
  int column;
  int result, position;
};

TEST(AspectSearch, MotionTellsFormingFromSeparating) {
  const AspectSystem system = SearchSystem();
  const MotionCase cases[] = {
      {"moon_applying_to_sun", 10, 1, 5, 13, 0, 3, 0},
      {"moon_past_sun", 10, 1, 15, 13, 0, 4, 0},
      {"moon_applying_across_0", 2, 1, 357, 13, 0, 3, 0},
      {"square_from_below", 0, 0, 85, 1, 0, 3, 2},
      {"square_from_above_retrograde", 0, 0, 95, -1, 0, 3, 2},
      {"square_from_above_direct", 0, 0, 95, 1, 0, 4, 2},
      {"opposition_approached", 0, 0, 175, 1, 0, 3, 1},
      {"opposition_passed", 0, 0, 185, 1, 0, 4, 1},
      {"exact_is_separating", 0, 0, 90, 1, 0, 4, 2},
      {"equal_speeds_separating", 0, 1, 93, 1, 0, 4, 2},
      {"orb_plus_0033_inside", 0, 0, 96.03, 1, 0, 4, 2},
      {"orb_plus_0033_outside", 0, 0, 96.04, 1, 0, -1, -1},
      {"narrow_column", 0, 0, 93, 1, 4, -1, -1},
  };
  for (const auto& c : cases) {
    const AspectMatch m =
        system.FindAspectMotion(c.a, c.speedA, c.b, c.speedB, OrbColumn{c.column});
    EXPECT_EQ(m.result, c.result) << c.name;
    EXPECT_EQ(m.position, c.position) << c.name;
  }
}

TEST(AspectTests, FixedOrbConjunctionAndOpposition) {
  const Aspect square = MakeAspect(90, {});
  EXPECT_EQ(square.TestFixedOrb(0, 91.033), 0);
  EXPECT_EQ(square.TestFixedOrb(0, 91.04), -1);
  EXPECT_EQ(square.TestFixedOrb(359, 88), 0);  // 89 across 0
  EXPECT_EQ(square.TestFixedOrb(10, 281), 0);  // 271 folds to 89
  EXPECT_EQ(square.TestFixedOrb(0, 180), -1);
  // -777 would fold like 303 degrees: 303 + 90 = 33.
  EXPECT_EQ(square.TestFixedOrb(-777.0, 33), -1);
  EXPECT_EQ(square.TestFixedOrb(33, -777.0), -1);

  const struct {
    double angle;
    int conjunction, conjunctionOrOpposition;
  } cases[] = {{0, 0, 0}, {360, 0, 0}, {180, -1, 0}, {0.02, -1, -1}, {90, -1, -1}};
  for (const auto& c : cases) {
    const Aspect a = MakeAspect(c.angle, {});
    EXPECT_EQ(a.TestConjunction(), c.conjunction) << c.angle;
    EXPECT_EQ(a.TestConjunctionOrOpposition(), c.conjunctionOrOpposition) << c.angle;
  }
}

TEST(AspectSearch, ByClassAndByMajorCountInSystemOrder) {
  AspectSystem s("ORDER", {});
  ASSERT_EQ(s.AddAspect(MakeAspect(180, {}, kAspectTense, true)), 0);
  ASSERT_EQ(s.AddAspect(MakeAspect(0, {}, kAspectOther, false)), 0);
  ASSERT_EQ(s.AddAspect(MakeAspect(360.0 / 7.0, {}, kAspectKarmic, true)), 0);
  ASSERT_EQ(s.AddAspect(MakeAspect(0, {}, kAspectOther, false)), 0);
  ASSERT_EQ(s.AddAspect(MakeAspect(72, {}, kAspectCreative, true)), 0);

  const int byClass[][2] = {{0, 1}, {1, 0}, {17, 2}, {9, 4}, {2, -1}, {-1, -1}};
  for (const auto& c : byClass) EXPECT_EQ(s.FindAspectByClass(c[0]), c[1]) << c[0];
  const int byMajor[][2] = {{0, 0}, {1, 2}, {2, 4}, {3, -1}, {-1, -1}};
  for (const auto& c : byMajor) EXPECT_EQ(s.FindMajorAspect(c[0]), c[1]) << c[0];

  ScriptedPrompter prompts;
  EXPECT_EQ(s.IsMajorAspect(0), 0);
  EXPECT_EQ(s.IsMajorAspect(1), -1);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(s.IsMajorAspect(5), -1);
  EXPECT_TRUE(prompts.WasShown(AspectMessageNumber(kAspMsgBadPosition)));
}

TEST(AspectTexts, AngleOrbsTypeAndStrength) {
  Aspect a = MakeAspect(51.43, {1.5, 2, 0.25, 10, 0, 0.5}, kAspectKarmic, false);
  a.abbreviation = "Sp";
  EXPECT_EQ(a.GetAngleMinutes(), 26);  // 0.43 x 60 = 25.8
  const AspectTexts t = a.GetTexts();
  EXPECT_EQ(t.abbreviation, "Sp ");
  EXPECT_EQ(t.angle, "051:26");
  const char* orbs[] = {"01:30", "02:00", "00:15", "10:00", "00:00", "00:30"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(t.orbs[static_cast<std::size_t>(i)], orbs[i]) << i;
  EXPECT_EQ(Utf8(t.typeName), "КАРМИЧЕСКИЙ");
  EXPECT_EQ(Utf8(t.strengthLabel), "МИНОРНЫЙ");

  a.type = 7;
  a.major = 1;
  EXPECT_EQ(Utf8(a.GetTexts().typeName), "ПРОЧИЙ");
  EXPECT_EQ(Utf8(a.GetTexts().strengthLabel), "МАЖОРНЫЙ");

  const double minutes[][2] = {{45, 0}, {30.5, 30}, {360.0 / 7.0, 26}, {150.2, 12}};
  for (const auto& m : minutes) EXPECT_EQ(MakeAspect(m[0], {}).GetAngleMinutes(), m[1]) << m[0];
}

TEST(AspectStyle, LineTypeTableEntryByStrengthAndType) {
  // Entry 5 x strength + type; value 10 x thickness + style; 7 is no valid entry.
  const std::array<std::uint8_t, 10> table = {0, 1, 2, 3, 10, 11, 12, 13, 7, 3};
  const struct {
    int type, major, style, thickness;
  } cases[] = {
      {1, 1, 1, 0},  // major tense: entry 1
      {4, 1, 0, 1},  // major other: entry 4
      {9, 1, 0, 1},  // types above 3 are "other"
      {0, 0, 1, 1},  // minor harmonious: entry 5
      {3, 0, 0, 0},  // minor karmic: entry 8 holds 7, taken as solid thin
      {2, 2, 3, 1},  // a major flag other than 1 is minor: entry 7
  };
  for (const auto& c : cases) {
    Aspect a = MakeAspect(90, {});
    a.type = static_cast<std::uint8_t>(c.type);
    a.major = static_cast<std::uint8_t>(c.major);
    a.lineStyle = 2;
    a.thickness = 1;
    a.SetStyleByType(table);
    EXPECT_EQ(a.lineStyle, c.style) << c.type << "/" << c.major;
    EXPECT_EQ(a.thickness, c.thickness) << c.type << "/" << c.major;
  }
}

}  // namespace
