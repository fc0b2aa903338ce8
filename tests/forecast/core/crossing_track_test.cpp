// The crossing search with the slower body on its fitted track against the same search computing
// both bodies at every step: over pairs of moving bodies, through stations and retrograde passes,
// every event of the window is found by both, at the same moment to a second, and the track
// spends fewer positions.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "forecast/core/crossing_search.h"
#include "transit_oracle.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr CrossingTolerance kToASecond{0.0, kSecond};

struct PairRow {
  const char* name;
  int body, target;
  LunarVariant variant;
  double start;  // Julian day, UT
  double days;
};
void PrintTo(const PairRow& r, std::ostream* out) { *out << r.name; }

const PairRow kPairs[] = {
    // Mars retrograde from 9 September to 14 November 2020, opposite the Sun on 13 October.
    {"sun_mars_2020_loop", 0, 4, LunarVariant::True, 2459040.5, 150},
    // Mercury retrograde from 18 June to 12 July 2020.
    {"mercury_jupiter_2020", 2, 5, LunarVariant::True, 2458990.5, 90},
    // Venus retrograde from 13 May to 25 June 2020.
    {"venus_saturn_2020", 3, 6, LunarVariant::True, 2458960.5, 90},
    {"mars_jupiter_2020", 4, 5, LunarVariant::True, 2459060.5, 150},
    // Both retrograde in mid-2020, the great conjunction on 21 December.
    {"jupiter_saturn_2020", 5, 6, LunarVariant::True, 2458849.5, 366},
    // The slower body is the one that moves: the Sun's track against Mercury.
    {"sun_mercury_2020", 0, 2, LunarVariant::True, 2458849.5, 200},
    {"mercury_venus_2020", 2, 3, LunarVariant::True, 2458930.5, 120},
    {"moon_saturn_2020", 1, 6, LunarVariant::True, 2459000.5, 60},
    {"true_black_moon_jupiter", 18, 5, LunarVariant::True, 2459215.5, 120},
    {"white_moon_neptune", 21, 8, LunarVariant::True, 2459215.5, 400},
};

// Offsets the pair reaches in the window: the separation where its rate is least (a station of
// the pair, shifted a little so that it is crossed twice around it) and at three quarters.
std::vector<double> OffsetsOf(const PairRow& row) {
  const oracle::Pair zero{row.body, row.target, 0.0, 0.0, row.variant};
  double station = row.start, least = HUGE_VAL;
  for (double t = row.start + 1.0; t < row.start + row.days - 1.0; t += 0.5) {
    const double rate = std::fabs(oracle::SeparationRate(zero, t));
    if (rate < least) {
      least = rate;
      station = t;
    }
  }
  // A maximum of the separation (the rate falling through zero) is met from below.
  const bool maximum = oracle::SeparationRate(zero, station - 2.0) > 0.0;
  std::vector<double> offsets{oracle::Separation(zero, station) + (maximum ? -0.2 : 0.2)};
  for (double q : {0.25, 0.5, 0.75})
    offsets.push_back(oracle::Separation(zero, row.start + q * row.days));
  return offsets;
}

// Every crossing of the window, each search starting at the moment the previous one reported.
std::vector<double> Events(const CrossingPair& pair, const PairRow& row, TargetTrack track,
                           long& positions) {
  std::vector<double> moments;
  JdUt from{row.start};
  const JdUt end{row.start + row.days};
  for (int guard = 0; guard < 100; ++guard) {
    const CrossingResult r = FindNextCrossing(oracle::Tables(), pair, from, end, kToASecond, track);
    positions += r.evaluations;
    if (!r.found) break;
    moments.push_back(r.moment.days);
    from = r.moment;
  }
  return moments;
}

class FittedTrack : public ::testing::TestWithParam<PairRow> {};

TEST_P(FittedTrack, FindsTheDirectSearchsEventsToASecond) {
  const PairRow& row = GetParam();
  long fittedPositions = 0, directPositions = 0;
  int events = 0;
  for (double offset : OffsetsOf(row)) {
    CrossingPair pair;
    pair.body = row.body;
    pair.target = row.target;
    pair.offset = offset;
    pair.lunarPoints = row.variant;
    const std::vector<double> direct = Events(pair, row, TargetTrack::Direct, directPositions);
    const std::vector<double> fitted = Events(pair, row, TargetTrack::Fitted, fittedPositions);
    ASSERT_EQ(fitted.size(), direct.size()) << row.name << " offset " << offset;
    for (std::size_t i = 0; i < direct.size(); ++i)
      EXPECT_NEAR(fitted[i], direct[i], kSecond) << row.name << " offset " << offset << " #" << i;
    events += static_cast<int>(direct.size());
  }
  EXPECT_GE(events, 4) << row.name;
  EXPECT_LT(fittedPositions, directPositions) << row.name;
}

INSTANTIATE_TEST_SUITE_P(Pairs, FittedTrack, ::testing::ValuesIn(kPairs),
                         [](const auto& info) { return std::string(info.param.name); });

// A target the separation reaches by a hair at a turn (a station of the body against a natal
// point, or of a pair): w^2 / 8 degrees inside the extreme (a its acceleration, from the parabola
// through three separations), so that it is passed twice about w = 10 minutes apart, within one
// hourly step. The search lists the first (reporting a moment between the two), then the second.
// Rows: target -1 for a natal point at the body's station; start and days span the turn.
const PairRow kTurns[] = {
    {"mercury_station_2020_07_12", 2, -1, LunarVariant::True, 2459039.85, 6},
    {"venus_station_2020_05_13", 3, -1, LunarVariant::True, 2458979.8, 6},
    {"mars_station_2020_11_14", 4, -1, LunarVariant::True, 2459164.5, 6},
    {"mars_jupiter_turn_1901_04", 4, 5, LunarVariant::True, 2415481.3, 6},
};

class TurnWithinAStep : public ::testing::TestWithParam<PairRow> {};

TEST_P(TurnWithinAStep, BothCrossingsOfAGrazingPassAreFound) {
  const PairRow& row = GetParam();
  const oracle::Pair zero{row.body, row.target, 0.0, 0.0, LunarVariant::True};
  const auto rate = [&](double t) { return oracle::SeparationRate(zero, t); };
  double lo = row.start, hi = lo + 0.25;
  while (hi < row.start + row.days && (rate(lo) > 0.0) == (rate(hi) > 0.0)) {
    lo = hi;
    hi += 0.25;
  }
  ASSERT_LT(hi, row.start + row.days) << "no turn";
  const double turn = 0.5 * (lo + hi), h = 0.1;
  const double s0 = oracle::Separation(zero, turn), sBefore = oracle::Separation(zero, turn - h),
               sAfter = oracle::Separation(zero, turn + h);
  const double a = (sAfter - 2.0 * s0 + sBefore) / (h * h), b = (sAfter - sBefore) / (2.0 * h);
  const double width = 10.0 / 1440.0, depth = std::fabs(a) * width * width / 8.0;
  const double inside = s0 - b * b / (2.0 * a) + (a < 0.0 ? -depth : depth);
  const oracle::Pair aspect{row.body, row.target, row.target < 0 ? inside : 0.0,
                            row.target < 0 ? 0.0 : inside, LunarVariant::True};
  const std::vector<double> exact = oracle::Crossings(aspect, turn - 1.0, turn + 1.0, 60 * kSecond);
  ASSERT_EQ(exact.size(), 2u);
  EXPECT_LT(exact[1] - exact[0], 3.0 * width) << "not within one step";

  const CrossingPair pair{row.body, row.target, aspect.fixedLongitude, aspect.offset};
  const CrossingTolerance tolerance{1.0 / 3600.0, kSecond};
  const JdUt end{turn + 3.0};
  const CrossingResult first =
      FindNextCrossing(oracle::Tables(), pair, JdUt{turn - 3.0}, end, tolerance);
  ASSERT_TRUE(first.found);
  EXPECT_GE(first.moment.days, exact[0] - kSecond);
  EXPECT_LT(first.moment.days, exact[1]);
  const CrossingResult second =
      FindNextCrossing(oracle::Tables(), pair, first.moment, end, tolerance);
  ASSERT_TRUE(second.found);
  EXPECT_GE(second.moment.days, exact[1] - kSecond);
  EXPECT_LE(std::fabs(oracle::Separation(aspect, second.moment.days)), tolerance.degrees);
}

INSTANTIATE_TEST_SUITE_P(Turns, TurnWithinAStep, ::testing::ValuesIn(kTurns),
                         [](const auto& info) { return std::string(info.param.name); });

// The Sun never runs backwards: after a crossing of a natal point the search takes it most of the
// way round in a few steps, and still finds the next crossing a year later.
TEST(CrossingSteps, ABodyThatNeverRunsBackLeavesAPassedTargetInLongSteps) {
  CrossingPair pair;
  pair.body = 0;
  pair.fixedLongitude = 100.0;
  const double start = 2458849.5;
  const CrossingResult first =
      FindNextCrossing(oracle::Tables(), pair, JdUt{start}, JdUt{start + 800.0}, kToASecond);
  ASSERT_TRUE(first.found);
  const CrossingResult next =
      FindNextCrossing(oracle::Tables(), pair, first.moment, JdUt{start + 800.0}, kToASecond);
  ASSERT_TRUE(next.found);
  const oracle::Pair sun{0, -1, 100.0, 0.0, LunarVariant::True};
  const std::optional<double> expected =
      oracle::FirstCrossing(sun, first.moment.days + 1.0, start + 800.0, oracle::kHour);
  ASSERT_TRUE(expected.has_value());
  EXPECT_NEAR(next.moment.days, *expected, 2.0 * kSecond);
  EXPECT_LT(next.evaluations, 15);
}

}  // namespace
