// What the transit search refuses, where it stops, and the edge cases of its members: pairs and
// aspects that cannot occur cost no position at all; every search ends at its window's end.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "foundation/numbers/angles.h"
#include "transit_members.h"
#include "transit_oracle.h"

namespace {

constexpr double kStart = 2458849.5;  // 2020-01-01 0h UT
constexpr double kYear = 365.25;

using namespace members;

struct Refusal {
  const char* name;
  double alpha;
  Search search;
  int a, b;
  double natal = 10.0;
  double endDays = 10 * kYear;  // after the start
};
void PrintTo(const Refusal& r, std::ostream* out) { *out << r.name; }

const Refusal kRefusals[] = {
    {"sun_to_moon", 0, FastPoint, 0, 1},
    {"sun_to_mercury_as_fast_point", 0, FastPoint, 0, 2},
    {"sun_to_venus_as_fast_point", 0, FastPoint, 0, 3},
    {"white_moon_to_mars", 0, FastPoint, 21, 4},
    {"white_moon_to_jupiter_as_fast_point", 0, FastPoint, 21, 5},
    {"white_moon_to_vesta", 0, FastPoint, 21, 11},
    {"black_moon_to_saturn_as_fast_point", 0, FastPoint, 18, 6},
    {"black_moon_to_ceres", 0, FastPoint, 18, 12},
    {"black_moon_to_white_moon", 0, FastPoint, 18, 21},
    {"mars_as_fast_point", 0, FastPoint, 4, 7},
    // Mercury never stands 29 degrees or more from the Sun, Venus never 48 or more.
    {"sun_mercury_29", 29, SunInner, 0, 2},
    {"sun_mercury_331", 331, SunInner, 0, 2},
    {"sun_mercury_minus_30", -30, SunInner, 0, 2},
    {"sun_venus_48", 48, SunInner, 0, 3},
    {"sun_venus_90", 90, SunInner, 0, 3},
    {"sun_venus_312", 312, SunInner, 0, 3},
    {"sun_with_mars_as_inner", 0, SunInner, 0, 4},
    {"mercury_venus_90", 90, MercuryVenus, 2, 3},
    {"mercury_venus_270", 270, MercuryVenus, 2, 3},
    {"mercury_to_sun_ungated", 90, InnerToSlow, 2, 0},
    {"venus_to_mercury_ungated", 150, InnerToSlow, 3, 2},
    {"mars_to_venus", 0, MarsToSlow, 4, 3},
    {"outer_from_mars", 0, Outer, 4, 6},
    {"outer_to_itself", 0, Outer, 6, 6},
    {"black_moon_to_uranus_as_lunar_point", 0, LunarPoint, 18, 7},
    {"white_moon_to_saturn_as_lunar_point", 0, LunarPoint, 21, 6},
    // Absent or impossible input.
    {"absent_natal_longitude", 0, PlanetNatal, 4, -1, kAbsent},
    {"absent_natal_longitude_direct", 0, DirectNatal, 0, -1, kAbsent},
    {"alpha_not_a_number", std::numeric_limits<double>::infinity(), PlanetNatal, 4, -1},
    {"point_without_position", 0, PlanetNatal, 30, -1},
    {"moving_target_without_position", 0, MarsToSlow, 4, 33},
    {"end_before_start", 0, PlanetNatal, 4, -1, 10.0, -1.0},
};

class RefusedSearch : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedSearch, FindsNothingAndComputesNoPosition) {
  const Refusal& row = GetParam();
  const TransitSearchContext context{oracle::Tables(), row.alpha, 1};
  const TransitResult r =
      row.search(context, row.a, row.b, row.natal, JdUt{kStart}, JdUt{kStart + row.endDays});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.evaluations, 0);
}

INSTANTIATE_TEST_SUITE_P(Gates, RefusedSearch, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TransitGates, AspectsJustInsideTheGreatestElongationAreSearched) {
  const struct {
    int planet;
    double alpha;
  } rows[] = {{2, 28.5}, {2, 331.5}, {3, 47.5}, {3, 312.5}, {3, 45.0}, {3, 315.0}};
  for (const auto& row : rows) {
    const TransitSearchContext context{oracle::Tables(), row.alpha, 1};
    const TransitResult r =
        Sun2MercuryOrVenusNextTransit(context, row.planet, JdUt{kStart}, JdUt{kStart + kYear});
    EXPECT_GT(r.evaluations, 0) << row.planet << " " << row.alpha;
  }
}

TEST(TransitGates, SunVenusAt45DegreesIsFoundWhereTheOracleFindsIt) {
  // Venus stood 45 degrees from the Sun in 2020 (greatest elongations in March and August).
  for (double alpha : {45.0, 315.0}) {
    const oracle::Pair pair{0, 3, 0.0, alpha};
    const std::optional<double> expected =
        oracle::FirstCrossing(pair, kStart, kStart + 2 * kYear, oracle::kHour);
    ASSERT_TRUE(expected.has_value()) << alpha;
    const TransitSearchContext context{oracle::Tables(), alpha, 1};
    const TransitResult r =
        Sun2MercuryOrVenusNextTransit(context, 3, JdUt{kStart}, JdUt{kStart + 2 * kYear});
    ASSERT_EQ(r.status, 1) << alpha;
    // P/600 degree at the rate there, or P/3600 day.
    const double allowed =
        std::max(1.0 / 3600.0, (1.0 / 600.0) / std::fabs(oracle::SeparationRate(pair, *expected)));
    EXPECT_NEAR(r.moment.days, *expected, 1.1 * allowed + 2.0 / 86400.0) << alpha;
  }
}

TEST(TransitWindow, AnEventJustPastTheEndIsNotFoundAndJustBeforeItIs) {
  const oracle::Pair pair{0, -1, 123.4, 0.0};
  const std::optional<double> exact =
      oracle::FirstCrossing(pair, kStart, kStart + kYear + 1.0, oracle::kHour);
  ASSERT_TRUE(exact.has_value());
  const TransitSearchContext context{oracle::Tables(), 0.0, 1};
  const TransitResult early =
      DirectBodyNextTransit(context, 0, 123.4, JdUt{kStart}, JdUt{*exact - 0.01});
  EXPECT_EQ(early.status, 0);
  const TransitResult late =
      DirectBodyNextTransit(context, 0, 123.4, JdUt{kStart}, JdUt{*exact + 0.01});
  ASSERT_EQ(late.status, 1);
  // 1" at the Sun's rate (about 24 seconds).
  const double allowed = 1.1 / 3600.0 / oracle::SeparationRate(pair, *exact) + 2.0 / 86400.0;
  EXPECT_NEAR(late.moment.days, *exact, allowed);
}

TEST(TransitWindow, ASlowBodyFarFromItsTargetEndsAtTheWindowCheaply) {
  // Pluto moves a few degrees a year: a target 90 degrees ahead is out of reach of a year's
  // window, and the speed bound lets the search say so after a handful of positions.
  const double pluto = oracle::Tables().Position(9, ToTt(JdUt{kStart})).longitude;
  for (int p : {1, 10}) {
    const TransitSearchContext context{oracle::Tables(), 90.0, p};
    const TransitResult r =
        PlanetNextTransit(context, 9, pluto, JdUt{kStart}, JdUt{kStart + kYear});
    EXPECT_EQ(r.status, 0);
    EXPECT_LE(r.evaluations, 10);
  }
}

TEST(TransitEdges, MercuryJustPastATargetBeforeItsStationFindsTheRetrogradeRecrossing) {
  // Mercury turned retrograde on 2020-02-17; three days earlier it had just passed a target
  // 0.2 degree behind it. The next event is its way back over the target, days later, not the
  // next forward pass a year on.
  const Ephemeris& e = oracle::Tables();
  double station = kStart + 40.0;
  while (e.Position(2, ToTt(JdUt{station})).speed > 0.0) station += 0.25;
  ASSERT_NEAR(station, 2458896.5, 1.0);  // 2020-02-17
  const double start = station - 3.0;
  const double target = e.Position(2, ToTt(JdUt{start})).longitude - 0.2;
  const oracle::Pair pair{2, -1, target, 0.0};
  const std::optional<double> expected =
      oracle::FirstCrossing(pair, start, start + kYear, oracle::kHour);
  ASSERT_TRUE(expected.has_value());
  EXPECT_LT(*expected, station + 30.0);
  EXPECT_LT(oracle::SeparationRate(pair, *expected), 0.0);  // retrograde
  const TransitSearchContext context{e, 0.0, 1};
  const TransitResult r = PlanetNextTransit(context, 2, target, JdUt{start}, JdUt{start + kYear});
  ASSERT_EQ(r.status, 1);
  EXPECT_NEAR(r.moment.days, *expected, 1.0 / 3600.0 / 0.1 + 2.0 / 86400.0);
}

// Near a station a slow planet takes hours to move one arc-second: the search toward a natal
// point solves the moment to one second of time, whatever the speed. Each planet passes a
// target a day before it turns; the reported moment lies within a second past the crossing.
TEST(TransitEdges, SlowPlanetsNearAStationAreSolvedToOneSecondOfTime) {
  const Ephemeris& e = oracle::Tables();
  constexpr double kSecond = 1.0 / 86400.0;
  for (const int body : {5, 8, 9}) {
    SCOPED_TRACE(body);
    const auto longitude = [&](double t) { return e.Position(body, ToTt(JdUt{t})).longitude; };
    double station = kStart;
    const bool forward = e.Position(body, ToTt(JdUt{station})).speed > 0.0;
    while ((e.Position(body, ToTt(JdUt{station})).speed > 0.0) == forward) station += 0.25;
    const double target = longitude(station - 1.0);
    ASSERT_LT(std::fabs(e.Position(body, ToTt(JdUt{station - 1.0})).speed), 0.02);
    const TransitSearchContext context{e, 0.0, 1};
    const TransitResult r =
        PlanetNextTransit(context, body, target, JdUt{station - 10.0}, JdUt{station + 5.0});
    ASSERT_EQ(r.status, 1);
    EXPECT_NEAR(r.moment.days, station - 1.0, 0.2);
    const bool pastAt = std::remainder(longitude(r.moment.days) - target, 360.0) > 0.0;
    const bool pastBefore =
        std::remainder(longitude(r.moment.days - kSecond) - target, 360.0) > 0.0;
    EXPECT_NE(pastAt, pastBefore) << "the crossing is not within the second before the moment";
  }
}

TEST(TransitEdges, ASearchFromAReportedMomentFindsTheNextEventNotTheSameOne) {
  const TransitSearchContext context{oracle::Tables(), 0.0, 1};
  const double target = 200.0;
  const TransitResult first =
      DirectBodyNextTransit(context, 0, target, JdUt{kStart}, JdUt{kStart + 2 * kYear});
  ASSERT_EQ(first.status, 1);
  const TransitResult next =
      DirectBodyNextTransit(context, 0, target, first.moment, JdUt{kStart + 2 * kYear});
  ASSERT_EQ(next.status, 1);
  EXPECT_NEAR(next.moment.days - first.moment.days, kYear, 1.0);
}

TEST(TransitEdges, APrecisionBelowOneCountsAsOne) {
  const TransitSearchContext fine{oracle::Tables(), 0.0, 1};
  const TransitSearchContext zero{oracle::Tables(), 0.0, 0};
  const TransitResult a = Mars2PlanetNextTransit(fine, 6, JdUt{kStart}, JdUt{kStart + kYear});
  const TransitResult b = Mars2PlanetNextTransit(zero, 6, JdUt{kStart}, JdUt{kStart + kYear});
  ASSERT_EQ(a.status, 1);
  EXPECT_EQ(b.status, 1);
  EXPECT_EQ(b.moment.days, a.moment.days);
}

}  // namespace
