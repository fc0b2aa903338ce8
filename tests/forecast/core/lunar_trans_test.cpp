// The lunar-transit search against a brute-force Moon oracle (the separation sampled every hour,
// each change of side bisected to a second): the same events, each within a minute, for the
// chart's own moving points and for the natal points and cusps behind a transit chart, for a
// period by time and a period by distance across 0 degrees Aries; the phases in time order, the
// ingresses as single exact events, and the refusals.
#include "forecast/core/lunar_trans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "support/ephemeris_tables.h"
#include "support/test_support.h"
#include "transit_oracle.h"

namespace {

using testing_support::ScriptedPrompter;
using testing_support::TempFolder;

constexpr double kMinute = 1.0 / 1440.0;

using testing_support::SharedTables;

class LunarTransTest : public ::testing::Test {
 protected:
  LunarTransTest() {
    std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                               folder_ / "VELM.asp");
    EXPECT_TRUE(systems_.LoadAll(folder_.Path()).empty());
    settings_ = LunarTransSettings::FromBlock(config_.lunarTransit);
    settings_.aspectSystem = "VELM";
    settings_.planets = 1;
    settings_.nodes = 0;
    settings_.aspects = 1;
    settings_.planetOrbs = 0;
    settings_.planetOrbGroup = 2;
    settings_.houseOrbGroup = 3;
    settings_.entering = settings_.exact = settings_.leaving = 1;
    settings_.ingresses = 1;
    settings_.periodKind = 0;
    settings_.yearsBefore = settings_.yearsAfter = 0;
  }

  ChartContext Context() const { return ChartContext(config_, systems_, SharedTables()); }

  // A natal chart at a Universal Time, zone +00:00, at 55N45 37E37.
  Chart NatalAt(double ut) const {
    Chart c;
    Source& s = c.definition.sources[0];
    EXPECT_TRUE(s.SetUniversalTime(ut).ok());
    EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    c.definition.SetKind(kChartNatal);
    EXPECT_TRUE(ChartCalculate(Context(), c).ok());
    return c;
  }

  // Every event the oracle sees within (lo, hi]: the Moon against each admitted target, aspect,
  // side and phase, and the sign boundaries.
  std::vector<double> OracleTimes(const Chart* natalTargets, double lo, double hi) const {
    const AspectSystem& system = systems_.GetSystem(0);
    std::vector<double> times;
    const auto add = [&](int body, double fixed, int orbClass) {
      for (const Aspect& a : system.Aspects()) {
        if (!a.IsMajor()) continue;
        const bool oneSide = std::fabs(a.angle) < 0.01 || std::fabs(a.angle - 180.0) < 0.01;
        const double orb = a.orbs[static_cast<std::size_t>(orbClass - 1)];
        for (int side : {-1, 1}) {
          if (side == 1 && oneSide) continue;
          for (int phase : {-1, 0, 1}) {
            const oracle::Pair pair{1, body, fixed, side * a.angle + phase * orb,
                                    LunarVariant::True};
            for (double t : oracle::Crossings(pair, lo, hi, oracle::kHour)) times.push_back(t);
          }
        }
      }
    };
    for (int p = 0; p < 10; ++p) {
      if (p == 1 && !natalTargets) continue;
      if (natalTargets)
        add(-1, natalTargets->points[static_cast<std::size_t>(p)].longitude.Get(), 2);
      else
        add(p, 0.0, 2);
    }
    if (natalTargets)
      for (int h : {0, 3, 6, 9}) add(-1, natalTargets->cusps[static_cast<std::size_t>(h)].Get(), 3);
    for (int s = 0; s < 12; ++s) {
      const oracle::Pair pair{1, -1, 30.0 * s, 0.0, LunarVariant::True};
      for (double t : oracle::Crossings(pair, lo, hi, oracle::kHour)) times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    return times;
  }

  static void ExpectSameEvents(const CLunarTrans& run, const std::vector<double>& oracleTimes) {
    ASSERT_EQ(run.EventCount(), static_cast<int>(oracleTimes.size()));
    for (std::size_t i = 0; i < oracleTimes.size(); ++i)
      EXPECT_NEAR(run.Events()[i].julianDay, oracleTimes[i], kMinute) << "event " << i;
  }

  TempFolder folder_;
  Configuration config_;
  Aspectarium systems_;
  LunarTransSettings settings_;
  ScriptedPrompter prompts_;
};

struct PeriodRow {
  const char* name;
  double ut;  // the chart's moment
  int daysBefore, daysAfter;
};
void PrintTo(const PeriodRow& r, std::ostream* out) { *out << r.name; }

class LunarOwnPoints : public LunarTransTest, public ::testing::WithParamInterface<PeriodRow> {};

// The chart's own moving points: ten days either side; a period of almost a lunar month, where
// the window widened by the points' motion reaches round the circle; and a period longer than a
// month, in which the Moon meets some targets twice.
TEST_P(LunarOwnPoints, MatchTheOracle) {
  const PeriodRow& row = GetParam();
  settings_.target = 0;
  settings_.daysBefore = static_cast<std::int16_t>(row.daysBefore);
  settings_.daysAfter = static_cast<std::int16_t>(row.daysAfter);
  const Chart chart = NatalAt(row.ut);
  CLunarTrans run(settings_, chart);
  const int count = run.Compute(Context());
  ASSERT_GT(count, 0);
  ExpectSameEvents(run, OracleTimes(nullptr, row.ut - row.daysBefore, row.ut + row.daysAfter));
  EXPECT_TRUE(prompts_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Periods, LunarOwnPoints,
                         ::testing::Values(PeriodRow{"ten_days_either_side", 2460310.25, 10, 10},
                                           PeriodRow{"almost_a_month", 2451545.6, 13, 14},
                                           PeriodRow{"past_a_month", 2455000.1, 16, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LunarTransTest, NatalPointsAndAnglesBehindATransitChartMatchTheOracle) {
  const Chart natal = NatalAt(2447161.9);  // 1987
  Moment when;
  ASSERT_TRUE(when.SetMoment(2460400.3).ok());
  Chart transit;
  const ChartContext ctx = Context();
  ASSERT_TRUE(MakeTransit(ctx, transit, natal, when).ok());
  ASSERT_TRUE(ChartCalculate(ctx, transit).ok());
  settings_.target = 1;
  settings_.houses = 3;
  settings_.daysBefore = 9;
  settings_.daysAfter = 11;
  CLunarTrans run(settings_, transit);
  ASSERT_GT(run.Compute(ctx), 0);
  const double ut = 2460400.3;
  ExpectSameEvents(run, OracleTimes(&natal, ut - 9, ut + 11));
  // Cusps are targets 1000 + h: the four angles only.
  int cusps = 0;
  for (const LunarTransitEvent& e : run.Events()) {
    if (!e.IsCusp()) continue;
    ++cusps;
    EXPECT_EQ((e.target - kLunarCuspTarget) % 3, 0);
    EXPECT_EQ(e.orbClass, 3);
  }
  EXPECT_GT(cusps, 0);
}

TEST_F(LunarTransTest, AWindowAcrossAriesFromTheMomentToOneSignAhead) {
  // A moment at which the Moon stands at 350 degrees: the window runs to 20 degrees.
  const std::optional<double> at350 = oracle::FirstCrossing({1, -1, 350.0, 0.0, LunarVariant::True},
                                                            2460000.5, 2460031.0, oracle::kHour);
  ASSERT_TRUE(at350.has_value());
  const std::optional<double> at20 = oracle::FirstCrossing({1, -1, 20.0, 0.0, LunarVariant::True},
                                                           *at350, *at350 + 5.0, oracle::kHour);
  ASSERT_TRUE(at20.has_value());
  settings_.target = 0;
  settings_.periodKind = 1;
  settings_.from = 0;
  settings_.to = 1;
  settings_.signs = 1;
  const Chart chart = NatalAt(*at350);
  CLunarTrans run(settings_, chart);
  ASSERT_GT(run.Compute(Context()), 0);
  EXPECT_NEAR(run.FirstLongitude(), 350.0, 0.01);
  EXPECT_NEAR(run.LastLongitude(), 20.0, 0.01);
  ExpectSameEvents(run, OracleTimes(nullptr, *at350, *at20));
  // The one sign boundary inside is 0 Aries, a single exact event.
  std::vector<int> ingresses;
  for (const LunarTransitEvent& e : run.Events())
    if (e.IsIngress()) ingresses.push_back(e.target);
  EXPECT_EQ(ingresses, std::vector<int>{kLunarIngressTarget});
}

TEST_F(LunarTransTest, PhasesComeEnteringExactLeavingAndIngressesAreSingleExactEvents) {
  settings_.target = 0;
  settings_.daysBefore = settings_.daysAfter = 10;
  const Chart chart = NatalAt(2460310.25);
  CLunarTrans run(settings_, chart);
  ASSERT_GT(run.Compute(Context()), 0);
  std::map<std::tuple<int, int, char>, std::string> phases;  // in time order
  std::map<int, int> ingressesPerSign;
  for (const LunarTransitEvent& e : run.Events()) {
    if (e.IsIngress()) {
      ++ingressesPerSign[e.target];
      EXPECT_EQ(e.phase, 'E');
      EXPECT_EQ(e.orbClass, 0);
      EXPECT_DOUBLE_EQ(e.moonTarget, 30.0 * (e.target - kLunarIngressTarget));
      continue;
    }
    phases[{e.target, e.aspect, e.side}] += e.phase;
  }
  int complete = 0;
  for (const auto& [key, order] : phases) {
    if (order.size() < 3) continue;  // an orb that runs out of the period
    ++complete;
    EXPECT_EQ(order, "IEO");
  }
  EXPECT_GT(complete, 10);
  EXPECT_FALSE(ingressesPerSign.empty());
  for (const auto& [sign, n] : ingressesPerSign) EXPECT_EQ(n, 1) << sign;
  // The events run in time order.
  for (std::size_t i = 1; i < run.Events().size(); ++i)
    EXPECT_LE(run.Events()[i - 1].julianDay, run.Events()[i].julianDay);
}

TEST_F(LunarTransTest, RefusalsShowTheirMessage) {
  const Chart chart = NatalAt(2460310.25);
  // A period of 0: the window's two longitudes are equal, no point at all.
  settings_.daysBefore = settings_.daysAfter = 0;
  CLunarTrans empty(settings_, chart);
  EXPECT_EQ(empty.Compute(Context()), -1);
  EXPECT_TRUE(empty.Points().empty());
  EXPECT_TRUE(prompts_.WasShown(kMsgNoTransitInInterval));
  // Nothing chosen: no point, no ingress.
  prompts_.shown.clear();
  settings_.daysBefore = settings_.daysAfter = 5;
  settings_.planets = 0;
  settings_.ingresses = 0;
  CLunarTrans nothing(settings_, chart);
  EXPECT_EQ(nothing.Compute(Context()), -1);
  EXPECT_TRUE(prompts_.WasShown(kMsgNoTransitInInterval));
  // An aspect system that is not loaded.
  prompts_.shown.clear();
  settings_.planets = 1;
  settings_.aspectSystem = "NONE";
  CLunarTrans refused(settings_, chart);
  EXPECT_EQ(refused.Compute(Context()), -1);
  EXPECT_TRUE(prompts_.WasShown(kMsgNoSuchAspectSystem));
}

TEST_F(LunarTransTest, ReportsProgressAndStopsOnCancel) {
  settings_.daysBefore = settings_.daysAfter = 10;
  const Chart chart = NatalAt(2460310.25);
  testing_support::RecordingProgress whole;
  CLunarTrans all(settings_, chart);
  const int count = all.Compute(Context(), &whole);
  ASSERT_GT(count, 0);
  EXPECT_EQ(whole.begun, 1);
  EXPECT_EQ(whole.ended, 1);
  EXPECT_EQ(whole.positions.back(), 100);
  testing_support::RecordingProgress cancelled;
  cancelled.cancelAt = 5;
  CLunarTrans part(settings_, chart);
  part.Compute(Context(), &cancelled);
  EXPECT_LT(part.EventCount(), count);
  EXPECT_EQ(cancelled.ended, 1);
  // Cancelled before the first event: no events and no message.
  testing_support::RecordingProgress atOnce;
  atOnce.cancelAt = 0;
  CLunarTrans none(settings_, chart);
  EXPECT_EQ(none.Compute(Context(), &atOnce), -1);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST(LunarArc, TheWrappedArcRule) {
  struct Row {
    double x, a, b;
    bool in;
  };
  const Row rows[] = {
      {10, 5, 20, true},    {5, 5, 20, true},        {20, 5, 20, true},   {21, 5, 20, false},
      {355, 350, 20, true}, {0, 350, 20, true},      {20, 350, 20, true}, {200, 350, 20, false},
      {10, 10, 10, false},  {kAbsent, 0, 20, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(CLunarTrans::InArc(r.x, r.a, r.b), r.in) << r.x << " in " << r.a << ".." << r.b;
}

}  // namespace
