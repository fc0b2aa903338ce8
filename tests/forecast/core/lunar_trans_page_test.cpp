#include "forecast/core/lunar_trans_page.h"

#include <gtest/gtest.h>

#include <tuple>

#include "astro/aspects/aspectarium.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

// The shipped aspect systems.
const Aspectarium& Systems() {
  static const Aspectarium systems = [] {
    Aspectarium a;
    a.LoadAll(testing_support::SourceDir() / "data");
    return a;
  }();
  return systems;
}

LunarTransSettings ByTime(int yearsBefore, int daysBefore, int yearsAfter, int daysAfter) {
  LunarTransSettings s;
  s.periodKind = 0;
  s.yearsBefore = static_cast<std::int16_t>(yearsBefore);
  s.daysBefore = static_cast<std::int16_t>(daysBefore);
  s.yearsAfter = static_cast<std::int16_t>(yearsAfter);
  s.daysAfter = static_cast<std::int16_t>(daysAfter);
  s.aspectSystem = Systems().GetSystem(0).GetName();
  return s;
}

TEST(LunarTransPage, NatalTargetOnlyWhereANatalChartStandsBehind) {
  struct Row {
    int kind;
    int chosen, shownTarget, message;
  };
  const Row rows[] = {
      {0, 1, 0, kMsgNatalTargetRefused},  // natal
      {1, 1, 0, kMsgNatalTargetRefused},  // horary
      {0, 0, 0, 0},
      {3, 1, 1, 0},  // a transit chart
      {4, 1, 1, 0},  // a progressed chart
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    LunarTransChartInput chart;
    chart.natalTargetAllowed = NatalTargetAllowed(r.kind);
    LunarTransPage page(LunarTransSettings{}, chart);
    EXPECT_EQ(page.ChooseTarget(r.chosen), r.message);
    EXPECT_EQ(page.Values().target, r.shownTarget);
    EXPECT_EQ(page.HouseChoicesEnabled(), r.shownTarget == 1);
  }
  // A stored natal target opens as 0 on a natal chart.
  LunarTransSettings stored;
  stored.target = 1;
  EXPECT_EQ(LunarTransPage(stored, LunarTransChartInput{}).Values().target, 0);
}

TEST(LunarTransPage, PeriodAndAspectSystemChecks) {
  ASSERT_GT(Systems().Count(), 0);
  struct Row {
    const char* name;
    LunarTransSettings values;
    double arc;
    int message;
  };
  LunarTransSettings byDistance = ByTime(30, 999, 30, 999);
  byDistance.periodKind = 1;
  LunarTransSettings unknown = ByTime(0, 1, 0, 1);
  unknown.aspectSystem = "NOSUCH";
  const Row rows[] = {
      {"transit_20_days_is_240", ByTime(0, 10, 0, 10), 12.0, 0},
      {"transit_21_days_is_252", ByTime(0, 10, 0, 11), 12.0, kMsgPeriodTooLong},
      // A secondary progression: 12 / 365.2422 degrees a day; 5 + 5 years come to 120 degrees.
      {"progressed_ten_years", ByTime(5, 0, 5, 0), 12.0 / 365.2422, 0},
      {"progressed_twenty_one_years", ByTime(10, 0, 11, 0), 12.0 / 365.2422, kMsgPeriodTooLong},
      {"by_distance_needs_no_period", byDistance, 12.0, 0},
      {"unknown_system", unknown, 12.0, kMsgNoSuchAspectSystem},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    LunarTransChartInput chart;
    chart.dailyArc = r.arc;
    chart.natalTargetAllowed = true;
    EXPECT_EQ(LunarTransPage(r.values, chart).CheckForRun(Systems()), r.message);
  }
  // Names are found without regard to letter case.
  LunarTransSettings lower = ByTime(0, 1, 0, 1);
  for (char& c : lower.aspectSystem)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(LunarTransPage(lower, LunarTransChartInput{}).CheckForRun(Systems()), 0);
}

TEST(LunarTransPage, EnablingFollowsPeriodKindAndOrbChoice) {
  struct Row {
    int periodKind, to, planetOrbs;
    bool period, signRange, signCount, orbGroup;
  };
  const Row rows[] = {
      {0, 1, 0, true, false, false, true},
      {1, 0, 1, false, true, false, false},
      {1, 1, 1, false, true, true, false},
  };
  for (const Row& r : rows) {
    LunarTransSettings s;
    s.periodKind = r.periodKind;
    s.to = r.to;
    s.planetOrbs = r.planetOrbs;
    const LunarTransPage page(s, LunarTransChartInput{});
    EXPECT_EQ(page.PeriodFieldsEnabled(), r.period);
    EXPECT_EQ(page.SignRangeEnabled(), r.signRange);
    EXPECT_EQ(page.SignCountEnabled(), r.signCount);
    EXPECT_EQ(page.PlanetOrbGroupEnabled(), r.orbGroup);
  }
}

TEST(LunarTransPage, DamagedValuesOpenInsideTheirRanges) {
  LunarTransSettings s;
  std::tie(s.planets, s.houses, s.yearsBefore, s.daysAfter, s.signs, s.houseOrbGroup,
           s.planetOrbGroup, s.aspects) = std::make_tuple(9, -1, 500, -4, 0, 77, 0, 3);
  const LunarTransSettings v = LunarTransPage(s, LunarTransChartInput{}).Values();
  EXPECT_EQ(std::tie(v.planets, v.houses, v.yearsBefore, v.daysAfter, v.signs, v.houseOrbGroup,
                     v.planetOrbGroup, v.aspects),
            std::make_tuple(1, 3, 30, 0, 1, 5, 1, 1));
}

TEST(LunarTransPage, TheSheetOpensOnTheChartsAspectSystem) {
  LunarTransSettings stored;
  stored.aspectSystem = "STORED";
  LunarTransChartInput chart;
  EXPECT_EQ(LunarTransPage::Preset(stored, chart).aspectSystem, "STORED");
  chart.aspectSystem = "CHART";
  EXPECT_EQ(LunarTransPage::Preset(stored, chart).aspectSystem, "CHART");
}

}  // namespace
