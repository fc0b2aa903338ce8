// The graphic ephemeris computation: the period table, the correction of a first date that does
// not exist, the graph's set-up from the settings block, the blend of the two Pluto sources across
// 1840-1851, and the sampled longitudes against the reference positions.
#include "views/core/graph_ephem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "astro/ephemeris/chart_routines.h"
#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "support/test_support.h"

namespace {

using E = cfg::GraphicEphemerisSettings;

// Julian days (UT) at 0h of 1840-01-01 and 1851-01-01: 2000-01-01 is 2451544.5, and 58439 and
// 54421 days lie between (39 and 36 leap days).
constexpr double kJd1840 = 2393105.5;
constexpr double kJd1851 = 2397123.5;

const Ephemeris& TablesEphemeris() {
  static const Ephemeris e = [] {
    Ephemeris loaded;
    EXPECT_TRUE(loaded.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

Moment At(int day, int month, int year) {
  FDate date;
  EXPECT_TRUE(date.SetDate(day, month, year).ok());
  return Moment(date, FTime{});
}

void SetFirstDate(cfg::ByteBlock& block, int day, int month, int year, int period) {
  block.Set(E::kDay, static_cast<std::int16_t>(day));
  block.Set(E::kMonth, static_cast<std::int16_t>(month));
  block.Set(E::kYear, static_cast<std::int16_t>(year));
  block.Set(E::kPeriod, static_cast<std::int16_t>(period));
}

// The graph alone, pointed at a settings block of its own.
struct Graph : RGraphEphem {
  cfg::ByteBlock block{E::kSize};
  Graph() { settings = &block; }
};

TEST(EphemPeriods, PointsStepsMoonAndScrollOfEachCode) {
  struct Row {
    const char* name;
    int day, month, year, code;
    int points;
    double step;
    int moon, scroll;
  } const rows[] = {
      {"month_leap_february", 10, 2, 2024, 0, 59, 0.5, 1, 15},  // 29 x 2 + 1
      {"month_common_february", 10, 2, 2023, 0, 57, 0.5, 1, 15},
      {"month_january", 1, 1, 2023, 0, 63, 0.5, 1, 15},
      {"month_julian_leap_1500", 1, 2, 1500, 0, 59, 0.5, 1, 15},  // leap by the Julian rule
      {"two_months", 1, 1, 2023, 1, 61, 1.0, 1, 30},
      {"three_months", 1, 1, 2023, 2, 47, 2.0, 1, 45},
      {"six_months", 1, 1, 2023, 3, 61, 3.0, 1, 91},
      {"one_year", 1, 1, 2023, 4, 53, 7.0, 0, 182},
      {"two_years", 1, 1, 2023, 5, 105, 7.0, 0, 365},
      // Outside 0..5 the scale stays as it was (the graph below starts at 7 points, step 0.25).
      {"code_6", 1, 1, 2023, 6, 7, 0.25, 9, 9},
      {"code_minus_1", 1, 1, 2023, -1, 7, 0.25, 9, 9},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Graph g;
    g.pointCount = 7, g.timeStep = 0.25, g.moonFlag = 9, g.scrollDays = 9;
    SetFirstDate(g.block, r.day, r.month, r.year, r.code);
    g.DefineScale();
    EXPECT_EQ(std::tuple(g.pointCount, g.timeStep, g.moonFlag, g.scrollDays),
              std::tuple(r.points, r.step, r.moon, r.scroll));
  }
}

TEST(EphemFirstDate, DatesThatDoNotExistAreBroughtToTheNearest) {
  struct Row {
    const char* name;
    int day, month, year;
    int eDay, eMonth, eYear;
    char eEra;
    bool corrected;
  } const rows[] = {
      {"exists", 15, 6, 1990, 15, 6, 1990, 'A', false},
      {"bc", 15, 3, -44, 15, 3, 44, 'B', false},
      {"thirty_first_february", 31, 2, 2023, 28, 2, 2023, 'A', true},
      {"thirtieth_february_leap", 30, 2, 2024, 29, 2, 2024, 'A', true},
      {"year_zero", 10, 5, 0, 10, 5, 1, 'A', true},
      {"month_13", 1, 13, 2000, 1, 12, 2000, 'A', true},
      {"month_0", 5, 0, 2000, 5, 1, 2000, 'A', true},
      {"day_0", 0, 7, 2000, 1, 7, 2000, 'A', true},
      {"calendar_reform_gap", 7, 10, 1582, 15, 10, 1582, 'A', true},
      {"before_3000_bc", 1, 1, -4000, 1, 1, 3000, 'B', true},
      {"after_3000", 1, 1, 3500, 1, 1, 3000, 'A', true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const ephem::FirstDate first = ephem::MakeFirstDate(r.day, r.month, r.year);
    const FDate& d = first.date;
    EXPECT_EQ(std::tuple(d.Day(), d.Month(), d.Year(), d.Era(), first.corrected),
              std::tuple(r.eDay, r.eMonth, r.eYear, r.eEra, r.corrected));
  }
  // The period of a corrected month follows the corrected date: February 2023 has 28 days.
  Graph g;
  SetFirstDate(g.block, 31, 2, 2023, 0);
  g.DefineScale();
  EXPECT_EQ(g.pointCount, 57);
  EXPECT_EQ(g.FirstMoment(), At(28, 2, 2023));
}

TEST(EphemSetUp, GraphLaidOutFromTheSettings) {
  struct Row {
    const char* name;
    std::uint16_t rotationCorrection;
    int rotation;
  } const rows[] = {{"upright_glyphs", 0, 90}, {"turned_glyphs", 1, 270}, {"any_above_0", 7, 270}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Configuration config;
    config.print.marginLeft = 2000;
    config.colourPrinting = 1;
    cfg::ByteBlock& block = config.graphicEphemeris;
    SetFirstDate(block, 1, 3, 2024, 1);
    for (int i = 0; i < 10; ++i) block.Set(E::kCurveColour[i], static_cast<std::uint16_t>(20 + i));
    block.Set(E::kRotationCorrection, r.rotationCorrection);
    RGraphEphem g;
    g.SetUp(config, 20000, -10000);
    EXPECT_EQ(g.settings, &block);
    EXPECT_EQ(g.landscapeRotation, r.rotation);
    EXPECT_EQ(g.valueMax, 360.0);
    EXPECT_EQ(g.pageOffset, 1700);
    EXPECT_EQ(g.pageMargins[0], 2000);
    EXPECT_EQ(g.colourPrinting, 1);
    EXPECT_EQ(g.pointCount, 61);
    // 20000 x 10000 with margins 5 %, 5 %, 5 %, 8 %: 18000 / 60.
    EXPECT_EQ(g.screen.xStep, 300);
    ASSERT_EQ(g.curveCount, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(g.curveColour[static_cast<std::size_t>(i)], 20 + i);
  }
}

TEST(EphemPluto, SourceByYearAndTheBlendBetween) {
  using ephem::PlutoSource;
  for (auto [year, source] : {std::pair{1839, PlutoSource::Table},
                              {-500, PlutoSource::Table},
                              {1840, PlutoSource::Blend},
                              {1850, PlutoSource::Blend},
                              {1851, PlutoSource::Theory}})
    EXPECT_EQ(ephem::PlutoSourceOfYear(year), source) << year;
  struct Row {
    const char* name;
    double table, theory, jd, expected;
  } const rows[] = {
      {"at_1840", 10.0, 20.0, kJd1840, 10.0},
      {"at_1851", 10.0, 20.0, kJd1851, 20.0},
      {"half_way", 10.0, 20.0, (kJd1840 + kJd1851) / 2, 15.0},
      {"quarter_way", 10.0, 30.0, kJd1840 + (kJd1851 - kJd1840) / 4, 15.0},
      // The shorter arc over 0: from 359 to 3 half way is 1.
      {"over_zero", 359.0, 3.0, (kJd1840 + kJd1851) / 2, 1.0},
      {"over_zero_back", 3.0, 359.0, (kJd1840 + kJd1851) / 2, 1.0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_NEAR(ephem::BlendPlutoLongitude(r.table, r.theory, r.jd), r.expected, 1e-9);
  }
}

// Reference rows of points 0..9 at the fixed instants.
std::map<std::string, std::map<int, double>> FixedReference() {
  std::map<std::string, std::map<int, double>> rows;
  std::ifstream in(testing_support::ReferencePath("positions.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] != 'F') continue;
    std::istringstream fields(line);
    std::string idx, jd, body;
    int p = -1;
    double lon = 0.0;
    fields >> idx >> jd >> body >> p >> lon;
    // The first row of a point is the body itself (the node and apogee rows come after).
    if (p >= 0 && p <= 9 && !rows[idx].count(p)) rows[idx][p] = lon;
  }
  return rows;
}

double ArcBetween(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360.0 - d);
}

TEST(EphemSampling, LongitudesAgainstTheReference) {
  // Instants at 0h or 12h UT (the reference rows of these instants are at the TT of that UT).
  // The Sun is the apparent one, as the charts show it, to 2".
  struct Instant {
    const char* idx;
    Moment first;
    double step;
    int index;
  } const instants[] = {
      {"F000", At(1, 1, 2000), 0.5, 1},    // 2000-01-01 12h
      {"F007", At(1, 1, 1800), 1.0, 0},    // Pluto from the table alone
      {"F002", At(31, 12, 1840), 1.0, 0},  // the blend
      {"F003", At(2, 7, 1845), 1.0, 0},    // the blend, half way
      {"F005", At(2, 1, 1852), 1.0, 0},    // the theory alone
  };
  const double tolerance[10] = {2.0 / 3600, 0.02, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01, 0.01};
  const auto reference = FixedReference();
  for (const Instant& in : instants) {
    SCOPED_TRACE(in.idx);
    const auto ref = reference.find(in.idx);
    ASSERT_NE(ref, reference.end());
    const ephem::Longitudes v =
        ephem::SampleLongitudes(TablesEphemeris(), in.first, in.step, in.index + 1);
    for (int body = 0; body < 10; ++body) {
      ASSERT_EQ(v[body].size(), static_cast<std::size_t>(in.index + 1));
      EXPECT_LE(ArcBetween(v[body][in.index], ref->second.at(body)), tolerance[body]) << body;
    }
  }
}

TEST(EphemSampling, PlutoContinuousWhereTheSourcesChange) {
  // Pluto moves less than 0.04 degree a day: no step where the table gives way to the blend and
  // the blend to the theory.
  for (const Moment& first : {At(28, 12, 1839), At(28, 12, 1850)}) {
    const ephem::Longitudes v = ephem::SampleLongitudes(TablesEphemeris(), first, 0.5, 12);
    for (std::size_t i = 1; i < v[9].size(); ++i)
      EXPECT_LT(ArcBetween(v[9][i], v[9][i - 1]), 0.02) << i;
  }
}

TEST(EphemSampling, PeriodSampledIntoTheCurves) {
  Configuration config;
  SetFirstDate(config.graphicEphemeris, 1, 2, 2024, 0);  // 59 points, half days
  RGraphEphem g;
  g.SetUp(config, 20000, -10000);
  g.Calculate(TablesEphemeris());
  ASSERT_EQ(g.pointCount, 59);
  for (int body = 0; body < 10; ++body) {
    SCOPED_TRACE(body);
    ASSERT_EQ(g.Values()[body].size(), 59u);
    EXPECT_EQ(g.curveValues[static_cast<std::size_t>(body)], g.Values()[body].data());
    const auto [low, high] = std::minmax_element(g.Values()[body].begin(), g.Values()[body].end());
    EXPECT_GE(*low, 0.0);
    EXPECT_LT(*high, 360.0);
  }

  // Without points nothing is sampled and the curves have no values.
  g.pointCount = 0;
  g.Calculate(TablesEphemeris());
  for (int body = 0; body < 10; ++body) {
    EXPECT_TRUE(g.Values()[body].empty());
    EXPECT_EQ(g.curveValues[static_cast<std::size_t>(body)], nullptr);
  }
}

TEST(EphemSampling, BcDatesTakeTheAstronomicalYear) {
  // Julian days at 0h (Julian calendar): 1 January AD 1 is 1721423.5; 1 BC, a leap year, began
  // 366 days earlier, and 2 BC 365 days before that. The Sun of each date is the quick formula's
  // apparent one at that Julian day, to 0.3 degree (the formula is 0.1 degree off two thousand
  // years back; a day off would be a degree).
  struct Row {
    const char* name;
    int year;
    double jd;
  } const rows[] = {{"ad_1", 1, 1721423.5}, {"1_bc", -1, 1721057.5}, {"2_bc", -2, 1720692.5}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const ephem::Longitudes v =
        ephem::SampleLongitudes(TablesEphemeris(), At(1, 1, r.year), 1.0, 1);
    ASSERT_EQ(v[0].size(), 1u);
    EXPECT_NEAR(v[0][0], SunQuickElements((r.jd - 2415020.0) / 36525.0).apparentLongitude, 0.3);
  }
}

}  // namespace
