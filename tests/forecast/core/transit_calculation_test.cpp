// The transit calculation: the pair list built from the settings (sides, event kinds, orbs and
// their kinds, codes, refusals with their messages), the period with its cut, and the events of
// whole runs against the brute-force oracle (transit_oracle.h) for the chart's own moving bodies,
// for the natal points behind a transit chart, through a progression and in closed form for a
// direction; the moments in the chart's zone, in time order, with the motion letters.
#include "forecast/core/transit_calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/ephemeris/bodies.h"
#include "conditions/condition_test_support.h"
#include "conditions/core/group_editor.h"
#include "conditions/core/groups.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/transit_calc_page.h"
#include "forecast/core/transits_listing.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "support/test_support.h"
#include "transit_oracle.h"

namespace {

using condition_test::Group;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kYear = 365.2422;

std::shared_ptr<const Ephemeris> SharedTables() {
  static const std::shared_ptr<const Ephemeris> tables = [] {
    auto e = std::make_shared<Ephemeris>();
    EXPECT_TRUE(e->Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return e;
  }();
  return tables;
}

// A pair item as the test writes it down: transiting, target, event, side, orb kind, angle, code.
using Item = std::tuple<int, int, char, char, char, double, int>;

class TransitCalculationTest : public ::testing::Test {
 protected:
  TransitCalculationTest() {
    std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                               folder_ / "VELM.asp");
    EXPECT_TRUE(systems_.LoadAll(folder_.Path()).empty());
    periods_ = testing_support::SourceDir() / "data" / "velm.tri";
    s_ = TransitSettings::FromBlock(config_.transit);
    s_.aspectSystem = "VELM";
    s_.mode = 0;
    s_.exact = 1;
    s_.entering = s_.leaving = 0;
    s_.orbSource = 1;
    s_.classMask = 0x1FF;
    s_.precision = 1;
  }

  // The position of the aspect of `angle` in the shipped system.
  int PositionOf(double angle) const {
    const AspectSystem& system = systems_.GetSystem(0);
    for (int p = 0; p < system.Count(); ++p)
      if (std::fabs(system.GetAspect(p).angle - angle) < 1e-6) return p;
    ADD_FAILURE() << "no aspect of " << angle;
    return 0;
  }

  static Moment MomentOn(int day, int month, int year) {
    FDate date;
    EXPECT_TRUE(date.SetDate(day, month, year).ok());
    return Moment(date, FTime());
  }

  ChartContext Context() const { return ChartContext(config_, systems_, SharedTables()); }

  // A natal chart at a Universal Time at 55N45 37E37, in the zone `zoneHours` east.
  Chart NatalAt(double ut, int zoneHours = 0) const {
    Chart c;
    Source& s = c.definition.sources[0];
    EXPECT_TRUE(s.SetUniversalTime(ut).ok());
    if (zoneHours != 0) {
      Source zoned;
      EXPECT_TRUE(zoned.zone.SetTime(std::abs(zoneHours), 0, zoneHours < 0 ? '-' : '+').ok());
      EXPECT_TRUE(s.ConvertToZoneOf(zoned).ok());
    }
    EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    c.definition.SetKind(kChartNatal);
    EXPECT_TRUE(ChartCalculate(Context(), c).ok());
    return c;
  }

  void SetPeriod(int d1, int m1, int y1, int d2, int m2, int y2) {
    std::tie(s_.startDay, s_.startMonth, s_.startYear) = std::make_tuple(d1, m1, y1);
    std::tie(s_.endDay, s_.endMonth, s_.endYear) = std::make_tuple(d2, m2, y2);
    s_.startEra = s_.endEra = 'A';
  }

  std::vector<Item> BuildItems(const Chart& chart) {
    TransitCalculation calc(s_, chart, groups_, periods_);
    EXPECT_TRUE(calc.PrepareCharts(Context()).ok());
    calc.CreatePointsListGeneral(Context());
    std::vector<Item> items;
    for (const TransitPairItem& p : calc.PairItems())
      items.emplace_back(p.transiting, p.target, p.event, p.side, p.orbKind,
                         std::round(p.angle * 1e6) / 1e6, p.code);
    return items;
  }

  // The events' Julian days (the chart's time) of a run that must succeed.
  std::vector<double> RunDays(const Chart& chart, TransitCalculation** keep = nullptr) {
    calc_ = std::make_unique<TransitCalculation>(s_, chart, groups_, periods_);
    EXPECT_EQ(calc_->Run(Context()), 1);
    if (keep) *keep = calc_.get();
    std::vector<double> days;
    for (const TransitEventRecord& e : calc_->Events()) days.push_back(e.julianDay);
    return days;
  }

  // The tolerance in time of a search of two moving bodies at P = 1: a separation of 1/600 degree
  // (the widest of the members) at the pair's rate, or two minutes of the bracketed members.
  static double PairTolerance(const oracle::Pair& pair, double when) {
    return std::max(2 * kMinute, (1.0 / 600.0) / std::fabs(oracle::SeparationRate(pair, when)));
  }

  static void ExpectNear(const std::vector<double>& got, std::vector<double> want, double tol) {
    std::sort(want.begin(), want.end());
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(got[i], want[i], tol) << "event " << i;
  }

  TempFolder folder_;
  Configuration config_;
  Aspectarium systems_;
  Groups groups_;
  std::filesystem::path periods_;
  TransitSettings s_;
  ScriptedPrompter prompts_;
  std::unique_ptr<TransitCalculation> calc_;
};

// ---- the pair list ----------------------------------------------------------------------------

// VELM's conjunction: orbs 10 9 8 7 6 by class, exact orb 1; the Sun with Mars takes the orb of
// the smaller of their orb classes.
TEST_F(TransitCalculationTest, ItemsOfOneAspectFollowSidesPhasesAndOrbKinds) {
  const Chart natal = NatalAt(2451545.0);
  s_.transiting = 0;
  s_.target = 4;
  s_.entering = s_.leaving = 1;
  const int orbClass = config_.GetPairOrbClass(0, 4);
  const double classOrb =
      systems_.GetSystem(0).GetAspect(PositionOf(0.0)).Orb(OrbColumnOfClass(orbClass));
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  // A conjunction: one side; exact, then each orb entering and leaving.
  EXPECT_EQ(BuildItems(natal), (std::vector<Item>{{0, 4, 'E', 'L', 'X', 0.0, 0},
                                                  {0, 4, 'I', 'L', 'E', 359.0, 0},
                                                  {0, 4, 'O', 'L', 'E', 1.0, 0},
                                                  {0, 4, 'I', 'L', 'N', 360.0 - classOrb, 0},
                                                  {0, 4, 'O', 'L', 'N', classOrb, 0}}));
  // Without the inexact class only the exact orb; without the exact class only the class orb.
  s_.SetMaskBit(kTransitMaskInexact, false);
  EXPECT_EQ(BuildItems(natal).size(), 3u);
  s_.SetMaskBit(kTransitMaskInexact, true);
  s_.SetMaskBit(kTransitMaskExact, false);
  EXPECT_EQ(std::get<4>(BuildItems(natal).back()), 'N');
  EXPECT_EQ(BuildItems(natal).size(), 3u);
}

TEST_F(TransitCalculationTest, OwnAngleTakesBothSidesAndTheConstantOrbWithoutOrbKind) {
  const Chart natal = NatalAt(2451545.0);
  s_.transiting = 5;
  s_.target = 6;
  s_.entering = s_.leaving = 1;
  s_.aspectChoice = kTransitOwnAngle;
  s_.angleDegrees = 10;
  s_.angleMinutes = 30;
  s_.orbSource = 0;
  s_.orbDegrees = 2;
  s_.orbMinutes = 0;
  EXPECT_EQ(BuildItems(natal), (std::vector<Item>{{5, 6, 'E', 'L', 'X', 10.5, -630},
                                                  {5, 6, 'E', 'R', 'X', 349.5, -630},
                                                  {5, 6, 'I', 'L', 'X', 8.5, -630},
                                                  {5, 6, 'I', 'R', 'X', 347.5, -630},
                                                  {5, 6, 'O', 'L', 'X', 12.5, -630},
                                                  {5, 6, 'O', 'R', 'X', 351.5, -630}}));
}

// Any aspect: the majors of VELM are the conjunction (other), opposition and square (tense),
// trine and sextile (harmonious); the mask's natures and strengths choose among them.
TEST_F(TransitCalculationTest, AnyAspectPassesTheClassFilter) {
  const Chart natal = NatalAt(2451545.0);
  s_.transiting = 4;
  s_.target = 5;
  s_.aspectChoice = kTransitAnyAspect;
  const auto codes = [&] {
    std::vector<int> c;
    for (const Item& i : BuildItems(natal))
      if (std::get<3>(i) == 'L') c.push_back(std::get<6>(i));
    std::sort(c.begin(), c.end());
    return c;
  };
  struct Case {
    const char* name;
    int mask;
    std::vector<int> codes;  // aspect indices: 0 conj, 1 opp, 2 square, 3 trine, 4 sextile
  } const cases[] = {
      {"major_harmonious", (1 << 0) | (1 << 5), {3, 4}},
      {"major_tense", (1 << 1) | (1 << 5), {1, 2}},
      {"major_other", (1 << 4) | (1 << 5), {0}},
      {"minor_creative", (1 << 2) | (1 << 6), {9, 12}},  // 72 and 144 degrees
      {"no_strength", 0x1F, {}},
  };
  for (const Case& c : cases) {
    s_.classMask = c.mask;
    EXPECT_EQ(codes(), c.codes) << c.name;
  }
}

TEST_F(TransitCalculationTest, RefusedPairsShowTheirMessagesAndAddNothing) {
  const Chart natal = NatalAt(2451545.0);
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  ASSERT_EQ(groups_.AddGroup('P', Group("solo", {0})), 0);
  ASSERT_EQ(groups_.AddGroup('P', Group("none", {})), 1);
  // The Ascendant and the MC: no body for a transit.
  ASSERT_EQ(groups_.AddGroup('P', Group("angles", {30, 31})), 2);
  struct Case {
    const char* name;
    int transiting, transitingGroup, target;
    const char* groupName;
    int message;
  } const cases[] = {
      {"same_body", 3, -1, 3, "", kMsgTransitToItself},
      {"target_group_only_itself", 0, -1, kTransitPlanetGroup, "solo", kMsgGroupWithoutPlanets},
      {"transiting_group_empty", kTransitPlanetGroup, 1, 4, "", kMsgGroupNeedsMember},
      {"transiting_group_no_body", kTransitPlanetGroup, 2, 4, "", kMsgGroupWithoutPlanets},
      {"target_group_unknown", 0, -1, kTransitPlanetGroup, "nowhere", kMsgGroupNotFound},
  };
  for (const Case& c : cases) {
    prompts_.shown.clear();
    s_.transiting = c.transiting;
    s_.transitingGroup = c.transitingGroup;
    s_.target = c.target;
    s_.groupName = c.groupName;
    EXPECT_TRUE(BuildItems(natal).empty()) << c.name;
    EXPECT_TRUE(prompts_.WasShown(c.message)) << c.name;
  }
}

// To the natal chart: a house group gives cusp targets 34 + n with the house orb group; a planet
// group member equal to the transiting body is a target (its natal place).
TEST_F(TransitCalculationTest, NatalModeTakesHouseGroupsAndTheBodyItself) {
  const Chart natal = NatalAt(2451545.0);
  Chart transit;
  ASSERT_TRUE(MakeTransit(Context(), transit, natal, MomentOn(1, 1, 2003)).ok());
  ASSERT_EQ(groups_.AddGroup('H', Group("angles", {0, 9})), 0);
  s_.mode = 1;
  s_.transiting = 4;
  s_.target = kTransitHouseGroup;
  s_.groupName = "angles";
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  s_.exact = 0;
  s_.entering = 1;
  s_.houseOrbGroup = 3;  // class 3 of the conjunction: 8 degrees
  s_.SetMaskBit(kTransitMaskExact, false);
  EXPECT_EQ(BuildItems(transit), (std::vector<Item>{{4, 34, 'I', 'L', 'N', 352.0, 0},
                                                    {4, 43, 'I', 'L', 'N', 352.0, 0}}));
  s_.target = 4;
  EXPECT_EQ(BuildItems(transit).size(), 1u);
}

// ---- the period file --------------------------------------------------------------------------

TEST_F(TransitCalculationTest, PeriodFileReadsItsNumbersAndRefusesDamage) {
  TransitPeriodTable table{};
  ASSERT_TRUE(LoadTransitPeriods(periods_, table).ok());
  EXPECT_EQ(table[0 * 13 + 4], 804);     // Sun, Mars
  EXPECT_EQ(table[1 * 13 + 0], 30);      // Moon, Sun
  EXPECT_EQ(table[12 * 13 + 12], 2557);  // the White Moon's return: seven years
  const auto write = [&](const std::string& text) {
    std::ofstream(folder_ / "t.tri") << text;
    return LoadTransitPeriods(folder_ / "t.tri", table);
  };
  std::string full;
  for (int i = 0; i < 169; ++i) full += std::to_string(i) + (i % 13 == 12 ? "\n" : " ");
  EXPECT_TRUE(write(full).ok());
  EXPECT_EQ(table[168], 168);
  EXPECT_EQ(write("1 2 3").ErrorCode(), kErrFormat);       // too few
  EXPECT_EQ(write(full + " 5").ErrorCode(), kErrFormat);   // one too many
  EXPECT_EQ(write("x" + full).ErrorCode(), kErrFormat);    // not a number
  EXPECT_EQ(write("-1 " + full).ErrorCode(), kErrFormat);  // negative
  EXPECT_EQ(LoadTransitPeriods(folder_ / "missing.tri", table).ErrorCode(), kErrCannotOpen);
}

// ---- whole runs -------------------------------------------------------------------------------

// The chart's own bodies: the Sun with Mars, conjunction and square on both sides, over 2001;
// each event within a minute of the oracle's, in the chart's zone (+03:00), in time order, with
// the Sun's motion not judged and Mars's from its path.
TEST_F(TransitCalculationTest, MovingPairEventsMatchTheOracleInTheChartsZone) {
  const Chart natal = NatalAt(2451545.0, 3);
  s_.transiting = 0;
  s_.target = 4;
  s_.aspectChoice = kTransitAnyAspect;
  s_.classMask = (1 << 1) | (1 << 4) | (1 << 5);  // conjunction, opposition, square
  SetPeriod(1, 1, 2001, 31, 12, 2001);
  TransitCalculation* calc = nullptr;
  const std::vector<double> days = RunDays(natal, &calc);
  const double lo = 2451910.5, hi = 2452274.5;  // 1 Jan 2001 and 31 Dec 2001, 0h UT
  std::vector<std::pair<double, double>> want;  // moment in the zone, tolerance
  for (double angle : {0.0, 180.0, 90.0, 270.0}) {
    const oracle::Pair pair{0, 4, 0.0, angle};
    for (double t : oracle::Crossings(pair, lo, hi, oracle::kHour))
      want.emplace_back(t + 3.0 / 24.0, PairTolerance(pair, t));
  }
  std::sort(want.begin(), want.end());
  ASSERT_EQ(days.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(days[i], want[i].first, want[i].second) << "event " << i;
  EXPECT_TRUE(calc->ShowTimeOfDay());
  for (const TransitEventRecord& e : calc->Events()) {
    EXPECT_EQ(e.transiting, 0);
    EXPECT_EQ(e.transitingMotion, '0');
    EXPECT_NE(e.targetMotion, '0');
    EXPECT_NEAR(std::fabs(e.moment.JulianDay() - e.julianDay), 0.0, 1.0 / 86400.0);
  }
}

// Whichever body the settings make transiting, the faster one is listed as transiting, and each
// pair is found like the oracle finds it: the Moon's pairs by the lunar aspect search (its
// tolerance P x 0.25'), Mercury and Venus (the Sun's mean period) by their own searches, over a
// period the table cuts to 70, 298 and 297 days.
TEST_F(TransitCalculationTest, TheFasterBodyIsListedAsTransiting) {
  const Chart natal = NatalAt(2451545.0);
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  struct Case {
    int transiting, target, faster, slower;
    double lo, hi;  // the oracle's window; 0 for the search's (cut) period over 2001
  } const cases[] = {
      {0, 1, 1, 0, 2452334.5, 2452358.5},  // 1 to 25 March 2002
      {0, 2, 2, 0, 0, 0},
      {3, 2, 2, 3, 0, 0},
      {0, 3, 3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    s_.transiting = c.transiting;
    s_.target = c.target;
    const bool moon = c.faster == 1;
    if (moon)
      SetPeriod(1, 3, 2002, 25, 3, 2002);
    else
      SetPeriod(1, 1, 2001, 31, 12, 2001);
    TransitCalculation* calc = nullptr;
    const std::vector<double> days = RunDays(natal, &calc);
    const oracle::Pair pair{c.faster, c.slower, 0.0, 0.0};
    const std::vector<double> want = oracle::Crossings(pair, c.lo != 0 ? c.lo : calc->SearchStart(),
                                                       c.hi != 0 ? c.hi : calc->SearchEnd(),
                                                       moon ? oracle::kTenMinutes : oracle::kHour);
    ASSERT_FALSE(want.empty()) << c.transiting << " " << c.target;
    ASSERT_EQ(days.size(), want.size()) << c.transiting << " " << c.target;
    for (std::size_t i = 0; i < want.size(); ++i)
      EXPECT_NEAR(days[i], want[i], moon ? 2 * kMinute : PairTolerance(pair, want[i])) << i;
    EXPECT_EQ(std::make_pair(int{calc->Events()[0].transiting}, int{calc->Events()[0].target}),
              std::make_pair(c.faster, c.slower));
  }
}

// Each event's side says which way round the aspect stands: the transiting body's longitude
// minus the target's is the aspect (side L) or 360 less it (side R). Venus and the Sun are
// searched from the Sun's side, the Moon and Mars from the faster body's.
TEST_F(TransitCalculationTest, TheSideOfAnEventIsTheWayTheAspectStands) {
  const Chart natal = NatalAt(2451545.0);
  const struct {
    int transiting, target;
    double aspect;
  } cases[] = {{0, 3, 45.0}, {4, 0, 90.0}};
  for (const auto& c : cases) {
    s_.transiting = c.transiting;
    s_.target = c.target;
    s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(c.aspect));
    SetPeriod(1, 1, 2001, 31, 12, 2001);
    TransitCalculation* calc = nullptr;
    RunDays(natal, &calc);
    ASSERT_FALSE(calc->Events().empty()) << c.transiting << " " << c.target;
    for (const TransitEventRecord& e : calc->Events()) {
      const double stands = NormalizeDegrees(e.transitingLongitude - e.targetLongitude);
      EXPECT_NEAR(stands, e.side == 'L' ? c.aspect : 360.0 - c.aspect, 0.01)
          << c.transiting << " " << c.target << " side " << e.side;
    }
  }
}

// A transit chart to its natal chart: Mars 55 degrees from the natal Sun (about 280 degrees), on
// both sides; 335 degrees lies inside the retrograde loop Mars made in 2003, so it is crossed
// three times, once retrograde ('R'); the natal target is not judged.
TEST_F(TransitCalculationTest, NatalTargetsIncludeRetrogradeRecrossings) {
  const Chart natal = NatalAt(2451545.0);
  Chart transit;
  ASSERT_TRUE(MakeTransit(Context(), transit, natal, MomentOn(1, 1, 2003)).ok());
  s_.mode = 1;
  s_.transiting = 4;
  s_.target = 0;
  s_.aspectChoice = kTransitOwnAngle;
  s_.orbSource = 0;
  s_.orbDegrees = s_.orbMinutes = 0;
  s_.angleDegrees = 55;
  SetPeriod(1, 1, 2003, 31, 3, 2004);
  const double sun = natal.points[0].longitude.Get();
  TransitCalculation* calc = nullptr;
  const std::vector<double> days = RunDays(transit, &calc);
  const double lo = 2452640.5, hi = 2453095.5;
  std::vector<double> want;
  for (double angle : {55.0, -55.0})
    for (double t : oracle::Crossings({4, -1, sun, angle}, lo, hi, oracle::kHour))
      want.push_back(t);
  ExpectNear(days, want, kMinute);
  int retrograde = 0;
  for (const TransitEventRecord& e : calc->Events()) {
    EXPECT_EQ(e.targetMotion, '0');
    retrograde += e.transitingMotion == 'R';
  }
  EXPECT_EQ(retrograde, 1);
}

// A secondary progression: an event of the progressed clock t is listed at the moment of life
// birth + (t - birth) x 365.2422 (the inverse of the rate of a day for a year).
TEST_F(TransitCalculationTest, ProgressedEventsAreCarriedBackToTheTimeOfLife) {
  const double birth = 2447892.5;  // 1 Jan 1990
  const Chart natal = NatalAt(birth);
  Chart progressed;
  ASSERT_TRUE(MakeProgressed(Context(), progressed, natal, MomentOn(1, 1, 2040)).ok());
  ASSERT_TRUE(ChartCalculate(Context(), progressed).ok());
  s_.mode = 1;
  s_.transiting = 0;
  s_.target = 0;
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(60.0));  // the sextile
  SetPeriod(1, 1, 2030, 31, 12, 2070);
  const double sun = natal.points[0].longitude.Get();
  const double lo = birth + (2462502.5 - birth) / kYear;  // 1 Jan 2030 on the progressed clock
  const double hi = birth + (2477198.5 - birth) / kYear;  // 31 Dec 2070
  std::vector<double> want;
  for (double angle : {60.0, 300.0})
    for (double t : oracle::Crossings({0, -1, sun, angle}, lo, hi, oracle::kHour))
      want.push_back(birth + (t - birth) * kYear);
  ASSERT_EQ(want.size(), 1u);
  ExpectNear(RunDays(progressed), want, 1.0);  // a minute of progressed time is a day of life
}

// Symbolic directions (a degree a year): the directed Sun meets a natal planet at birth + arc x
// 365.2422 days, arc the natal distance from the Sun forward to the planet; found in closed form,
// once.
TEST_F(TransitCalculationTest, DirectionsAreTimedInClosedForm) {
  const double birth = 2447892.5;
  const Chart natal = NatalAt(birth);
  Chart directed;
  ASSERT_TRUE(MakeDirected(Context(), directed, natal, MomentOn(1, 1, 2000)).ok());
  ASSERT_TRUE(ChartCalculate(Context(), directed).ok());
  s_.mode = 1;
  s_.transiting = 0;
  // The first planet between 1 and 150 degrees ahead of the Sun.
  double arc = 0.0;
  for (int p = 2; p <= 9 && arc == 0.0; ++p) {
    const double a =
        NormalizeDegrees(natal.points[p].longitude.Get() - natal.points[0].longitude.Get());
    if (a > 1.0 && a < 150.0) {
      arc = a;
      s_.target = p;
    }
  }
  ASSERT_GT(arc, 0.0);
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  SetPeriod(2, 1, 1990, 31, 12, 2200);
  TransitCalculation* calc = nullptr;
  const std::vector<double> days = RunDays(directed, &calc);
  ASSERT_EQ(days.size(), 1u);
  EXPECT_NEAR(days[0], birth + arc * kYear, 1.0);
  EXPECT_EQ(calc->Events()[0].transitingMotion, 'D');
  EXPECT_EQ(calc->Events()[0].targetMotion, '0');
  EXPECT_FALSE(calc->ShowTimeOfDay());
}

// The Moon near both ends of Chiron's known years: the transit list's Moon-Chiron conjunctions,
// squares and oppositions over a period across an end, and the lunar transits (conjunctions to
// all points, 30 days each side) of a chart at noon near it. No event of a body whose place is
// unknown at its moment; the Moon-Chiron events inside the years are the oracle's.
TEST_F(TransitCalculationTest, MoonSearchesAcrossAnEndOfTheKnownYearsListTheEventsInside) {
  double first = 0.0, until = 0.0;
  ASSERT_TRUE(BodyKnownSpan(10, first, until));
  const double knownLo = ToUt(JdTt{first}).days, knownHi = ToUt(JdTt{until}).days;
  const struct {
    const char* name;
    bool list;
    int d1, m1, y1, d2, m2, y2;
  } rows[] = {
      {"list_from_1029", true, 24, 12, 1029, 12, 1, 1030},
      {"list_into_3001", true, 20, 12, 3000, 9, 1, 3001},
      {"lunar_chart_of_1000", false, 6, 1, 1000, 0, 0, 0},  // Chiron not yet known
      {"lunar_chart_of_1030", false, 6, 1, 1030, 0, 0, 0},
      {"lunar_chart_of_3000", false, 27, 12, 3000, 0, 0, 0},
  };
  const Chart natal = NatalAt(2451545.0);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<std::pair<int, double>> events;  // target, moment (UT)
    std::vector<double> offsets{0.0};
    double lo = 0.0, hi = 0.0;
    if (r.list) {
      s_.transiting = 1;
      s_.target = 10;
      s_.aspectChoice = kTransitAnyAspect;
      s_.classMask = (1 << 1) | (1 << 4) | (1 << 5);  // conjunction, opposition, square
      SetPeriod(r.d1, r.m1, r.y1, r.d2, r.m2, r.y2);
      RunDays(natal);
      for (const TransitEventRecord& e : calc_->Events())
        events.emplace_back(e.target, e.julianDay);
      offsets = {0.0, 180.0, 90.0, 270.0};
      lo = calc_->SearchStart();
      hi = calc_->SearchEnd();
    } else {
      LunarTransSettings lunar;
      lunar.aspectSystem = "VELM";
      lunar.planets = 3;
      lunar.exact = 1;
      lunar.planetOrbGroup = 2;
      lunar.daysBefore = lunar.daysAfter = 30;
      const double ut = MomentOn(r.d1, r.m1, r.y1).JulianDay() + 0.5;
      const Chart chart = NatalAt(ut);
      CLunarTrans run(lunar, chart);
      run.Compute(Context());
      for (const LunarTransitEvent& e : run.Events()) events.emplace_back(e.target, e.julianDay);
      lo = ut - 30.0;
      hi = ut + 30.0;
    }
    std::vector<double> got, want;
    for (const auto& [target, t] : events) {
      if (target < kBodyCount) {
        EXPECT_TRUE(BodyKnownAt(target, ToTt(JdUt{t}).days)) << target << " " << t;
      }
      if (target == 10) got.push_back(t);
    }
    for (double offset : offsets)
      for (double t : oracle::Crossings({1, 10, 0.0, offset}, std::max(lo, knownLo),
                                        std::min(hi, knownHi), oracle::kTenMinutes))
        want.push_back(t);
    EXPECT_EQ(want.empty(), hi <= knownLo || lo >= knownHi);
    ExpectNear(got, want, 2 * kMinute);
  }
}

// The Sun with the Moon may be searched 30 days at most: a longer period is cut with message
// 1042 and the events up to the cut are still listed.
TEST_F(TransitCalculationTest, APeriodBeyondTheTableIsCutWithItsMessage) {
  s_.transiting = 1;
  s_.target = 0;
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  SetPeriod(1, 1, 2001, 31, 12, 2001);
  // The message names the period used, thirty days from the start, with the days the list's
  // heading names: in the chart's time, a day earlier west of Greenwich.
  struct Case {
    int zone;
    const char *first, *last;
  } const cases[] = {{0, "01:01:2001", "31:01:2001"}, {-5, "31:12:2000", "30:01:2001"}};
  const std::string ad = " " + GetMessageText(kMsgEraAd);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zone);
    prompts_.shown.clear();
    const Chart natal = NatalAt(2451545.0, c.zone);
    const std::vector<double> days = RunDays(natal);
    ASSERT_TRUE(prompts_.WasShown(kMsgTransitPeriodCut));
    EXPECT_EQ(prompts_.shown.back().text, GetMessageText(kMsgTransitPeriodCut) + "\n" +
                                              GetMessageText(kMsgPeriodWord) + " " + c.first + ad +
                                              " - " + c.last + ad);
    EXPECT_EQ(forecast::HeadingOf(*calc_).end.date.ToText(), c.last + ad);
    std::vector<double> want =
        oracle::Crossings({1, 0, 0.0, 0.0}, 2451910.5, 2451940.5, oracle::kTenMinutes);
    for (double& t : want) t += c.zone / 24.0;
    ExpectNear(days, want, 2 * kMinute);
    EXPECT_NEAR(calc_->SearchEnd() - calc_->SearchStart(), 30.0, 1e-9);
  }
}

// The sheet opens on a period the search covers whole: from a natal chart (whose shipped end,
// 31.12.2000, lies fifteen years after the birth) and from a transit chart (whose search to the
// natal chart covers three quarters of the Sun's year): the run cuts nothing and says nothing.
TEST_F(TransitCalculationTest, ThePeriodTheSheetOpensWithIsSearchedWhole) {
  const Chart natal = NatalAt(2446231.5);  // 15 June 1985, 0h
  Chart transit;
  ASSERT_TRUE(MakeTransit(Context(), transit, natal, MomentOn(7, 12, 2026)).ok());
  ASSERT_TRUE(ChartCalculate(Context(), transit).ok());
  struct Case {
    const char* name;
    const Chart* chart;
    int mode, transiting, target;
    double days;
  } const cases[] = {
      {"natal, the Sun with Jupiter", &natal, 0, 0, 5, 365},
      {"natal, the Moon with the Sun", &natal, 0, 1, 0, 30},
      {"transit, the Sun to the natal Jupiter", &transit, 1, 0, 5, 273},
      {"transit, the Sun with Jupiter", &transit, 0, 0, 5, 365},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TransitSettings stored = TransitSettings::FromBlock(Configuration().transit);
    stored.mode = c.mode;
    stored.transiting = c.transiting;
    stored.target = c.target;
    const SuperSource& def = c.chart->definition;
    const FDate& date = ComputingSource(def).moment.date;
    const TransitChartInput input{def.Kind(),  date.Day(), date.Month(),
                                  date.Year(), date.Era(), TransitTimeFactor(Context(), def)};
    s_ = TransitCalcPage(stored, input, groups_, systems_).Values();
    prompts_.shown.clear();
    RunDays(*c.chart);
    EXPECT_FALSE(prompts_.WasShown(kMsgTransitPeriodCut));
    EXPECT_NEAR(calc_->SearchEnd() - calc_->SearchStart(), c.days, 1e-6);
  }
}

// Cancel is honoured in a run of a single pair, where no progress is shown: the search stops
// before its next pass and keeps what it found; cancelled at once, it lists nothing and never
// says that nothing was found.
TEST_F(TransitCalculationTest, ARunOfOnePairCanBeCancelled) {
  // The user's Cancel, from the `at`-th time the run asks.
  struct CancelOnAsking final : platform::ProgressSink {
    void Begin() override {}
    void SetPos(int) override {}
    void End() override {}
    bool Cancelled() const override { return ++asked >= at; }
    int at = 0;
    mutable int asked = 0;
  };
  // The Sun to the natal Mars: once a year, over six years.
  const Chart natal = NatalAt(2451545.0);
  s_.mode = 1;
  s_.transiting = 0;
  s_.target = 4;
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  SetPeriod(1, 1, 2001, 31, 12, 2006);
  const std::size_t all = RunDays(natal).size();
  ASSERT_GE(all, 3u);
  struct Case {
    int at;
    int result;
    std::size_t events;
  } const cases[] = {{1, 0, 0}, {3, 1, 1}, {4, 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.at);
    prompts_.shown.clear();
    CancelOnAsking cancel;
    cancel.at = c.at;
    TransitCalculation calc(s_, natal, groups_, periods_);
    EXPECT_EQ(calc.Run(Context(), &cancel), c.result);
    EXPECT_EQ(calc.Events().size(), c.events);
    EXPECT_FALSE(prompts_.WasShown(kMsgTransitsNotFound));
  }
}

TEST_F(TransitCalculationTest, FailedRunsShowWhyAndListNothing) {
  const Chart natal = NatalAt(2451545.0);
  // Nothing within the period: Saturn and Pluto stay apart for a year.
  s_.transiting = 6;
  s_.target = 9;
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  SetPeriod(1, 1, 2001, 31, 12, 2001);
  TransitCalculation none(s_, natal, groups_, periods_);
  EXPECT_EQ(none.Run(Context()), 0);
  EXPECT_TRUE(prompts_.WasShown(kMsgTransitsNotFound));
  // Too many: the Moon with the Sun and Mercury, every aspect with both orbs, over a year of a
  // table that allows it.
  std::string table;
  for (int i = 0; i < 169; ++i) table += "10000 ";
  std::ofstream(folder_ / "wide.tri") << table;
  ASSERT_EQ(groups_.AddGroup('P', Group("two", {0, 2})), 0);
  s_.transiting = 1;
  s_.target = kTransitPlanetGroup;
  s_.groupName = "two";
  s_.aspectChoice = kTransitAnyAspect;
  s_.entering = s_.leaving = 1;
  TransitCalculation many(s_, natal, groups_, folder_ / "wide.tri");
  EXPECT_EQ(many.Run(Context()), 0);
  EXPECT_TRUE(prompts_.WasShown(kMsgTooManyTransits));
  EXPECT_EQ(many.EventCount(), 0);
  // No period table, or a damaged one: the compiled-in copy serves; only the damage is reported.
  s_.mode = 1;  // the Sun to the natal Mars: once a year
  s_.transiting = 0;
  s_.target = 4;
  s_.aspectChoice = static_cast<std::uint16_t>(PositionOf(0.0));
  std::ofstream(folder_ / "bad.tri") << "1 2 3";
  for (const char* file : {"missing.tri", "bad.tri"}) {
    prompts_.shown.clear();
    TransitCalculation fallback(s_, natal, groups_, folder_ / file);
    EXPECT_EQ(fallback.Run(Context()), 1) << file;
    EXPECT_GT(fallback.EventCount(), 0) << file;
    EXPECT_EQ(prompts_.shown.size(), std::string(file) == "bad.tri" ? 1u : 0u) << file;
  }
}

}  // namespace
