// Computations that run at once on worker threads, each under its own settings snapshot over the
// one shared ephemeris, give the events they give one after the other, and (under
// ThreadSanitizer) touch nothing another run writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/ephemeris.h"
#include "conditions/core/groups.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/transit_calculation.h"
#include "foundation/config/configuration.h"
#include "support/ephemeris_tables.h"
#include "support/test_support.h"

namespace {

using testing_support::SharedTables;
using testing_support::SourceDir;

class ConcurrentRuns : public ::testing::Test {
 protected:
  ConcurrentRuns() {
    std::filesystem::copy_file(SourceDir() / "data" / "VELM.asp", folder_ / "VELM.asp");
    EXPECT_TRUE(systems_.LoadAll(folder_.Path()).empty());
  }

  // Every run takes a snapshot of its own, as a command takes the published settings.
  ChartContext Context() const { return ChartContext(config_, systems_, SharedTables()); }

  Chart NatalAt(double ut) const {
    Chart c;
    Source& s = c.definition.sources[0];
    EXPECT_TRUE(s.SetUniversalTime(ut).ok());
    EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    c.definition.SetKind(kChartNatal);
    EXPECT_TRUE(ChartCalculate(Context(), c).ok());
    return c;
  }

  // The transits of the year 2000 to `natal`: the exact aspects of every pair.
  std::vector<double> Transits(const Chart& natal) const {
    TransitSettings s = TransitSettings::FromBlock(config_.transit);
    s.aspectSystem = "VELM";
    s.mode = 0;
    s.exact = 1;
    s.entering = s.leaving = 0;
    s.orbSource = 1;
    s.classMask = 0x1FF;
    s.precision = 1;
    s.startDay = s.startMonth = 1;
    s.startYear = 2000;
    s.endDay = 31;
    s.endMonth = 12;
    s.endYear = 2000;
    s.startEra = s.endEra = 'A';
    const Groups groups;
    TransitCalculation calc(s, natal, groups, SourceDir() / "data" / "velm.tri");
    platform::NullProgress progress;
    EXPECT_EQ(calc.Run(Context(), &progress), 1);
    std::vector<double> days;
    for (const TransitEventRecord& e : calc.Events()) days.push_back(e.julianDay);
    return days;
  }

  // The Moon's transits of the month after `natal`'s moment over its points and cusps.
  std::vector<double> LunarTransits(const Chart& natal) const {
    LunarTransSettings s = LunarTransSettings::FromBlock(config_.lunarTransit);
    s.aspectSystem = "VELM";
    s.planets = s.aspects = s.ingresses = 1;
    s.entering = s.exact = s.leaving = 1;
    s.target = 1;
    s.houses = 3;
    s.periodKind = 0;
    s.yearsBefore = s.yearsAfter = s.daysBefore = 0;
    s.daysAfter = 30;
    CLunarTrans run(s, natal);
    platform::NullProgress progress;
    EXPECT_GT(run.Compute(Context(), &progress), 0);
    std::vector<double> days;
    for (const LunarTransitEvent& e : run.Events()) days.push_back(e.julianDay);
    return days;
  }

  testing_support::TempFolder folder_;
  Configuration config_;
  Aspectarium systems_;
};

TEST_F(ConcurrentRuns, RunsAtOnceGiveTheEventsOfRunsOneAfterTheOther) {
  const Chart first = NatalAt(2451545.0), second = NatalAt(2447000.25);
  const std::vector<std::function<std::vector<double>()>> runs = {
      [&] { return Transits(first); },
      [&] { return Transits(second); },
      [&] { return LunarTransits(first); },
  };
  std::vector<std::vector<double>> alone;
  for (const auto& run : runs) alone.push_back(run());
  for (const auto& events : alone) EXPECT_FALSE(events.empty());

  std::vector<std::vector<double>> together(runs.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < runs.size(); ++i)
    threads.emplace_back([&, i] { together[i] = runs[i](); });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(together, alone);
}

// Runs at once on tables just loaded: the first of them to reach a block of segments decodes it,
// the others wait for it or read it after it is written, and all see the same positions.
TEST(ConcurrentTables, BlocksDecodedOnFirstUseByThreadsAtOnce) {
  Ephemeris tables;
  ASSERT_TRUE(tables.Load(SourceDir() / "data" / "velm.str").ok());
  constexpr int kThreads = 3;
  std::vector<std::vector<double>> longitudes(kThreads);
  std::vector<std::thread> threads;
  for (int n = 0; n < kThreads; ++n)
    threads.emplace_back([&, n] {
      for (double jd = tables.FirstJdTt(); jd < tables.LastJdTt(); jd += 3001.7) {
        tables.PrefetchSegments(JdTt{jd});
        for (int point = 0; point < kBodyCount; ++point)
          longitudes[n].push_back(tables.Position(point, JdTt{jd}).longitude);
      }
    });
  for (std::thread& t : threads) t.join();
  for (int n = 1; n < kThreads; ++n) EXPECT_EQ(longitudes[n], longitudes[0]);
}

}  // namespace
