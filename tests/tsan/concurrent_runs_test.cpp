// Computations that run at once on worker threads, each under its own settings snapshot over the
// one shared ephemeris, give the events they give one after the other, and (under
// ThreadSanitizer) touch nothing another run writes: transit runs, an archive query, a synastry
// run and a rectification search, while the settings are published again and again and one run
// is cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "astro/ephemeris/ephemeris.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/groups.h"
#include "conditions/core/query_run.h"
#include "conditions/core/synastry_run.h"
#include "forecast/core/lunar_trans.h"
#include "forecast/core/transit_calculation.h"
#include "foundation/config/configuration.h"
#include "rectification/core/hermes_trutine.h"
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

  // The transits of the year 2000 to `natal`: the exact aspects of every pair; `progress` may
  // cancel the run.
  std::vector<double> Transits(const Chart& natal, platform::ProgressSink* cancel = nullptr,
                               bool published = false) const {
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
    const int result = calc.Run(published ? Published() : Context(), cancel ? cancel : &progress);
    if (!cancel) {
      EXPECT_EQ(result, 1);
    }
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

  // The published settings as a command takes them when it starts.
  static ChartContext Published() { return ChartContext(GetPublishedSettings(), SharedTables()); }

  // Twelve charts a month apart written as the archive `name`; its path.
  std::string WriteArchive(const std::string& name) const {
    const std::string path = (folder_ / name).string();
    CommentSlotTable slots;
    Archive archive(slots);
    archive.SetPath(path);
    for (int i = 0; i < 12; ++i) {
      Chart chart = NatalAt(2451545.0 + 30.5 * i);
      chart.definition.sources[0].SetName("R" + std::to_string(i));
      if (i == 0) {
        EXPECT_EQ(archive.Saving().SaveToNewArchive(chart, true), 0);
      } else {
        CommentRefBlock block;
        EXPECT_EQ(archive.Saving().InsertToArchive(chart, i, block), 0);
        EXPECT_EQ(archive.Saving().InsertIndexEntry(chart, i, block), 0);
      }
    }
    return path;
  }

  // One condition line (the Sun and the Moon, of one chart or of the pair's two, within 90
  // degrees of their conjunction) as a set of the shipped system.
  CFunc Set(bool synastry) const {
    CFunc set;
    set.SetEnvironment(&config_, &systems_);
    set.synastry = synastry;
    const std::string line = std::string("1 + ") + (synastry ? "100" : "0") +
                             " 0 1 1001 \x03 \x03 VELM 0 0 0 0 90 0 0 0 0 0 0\n";
    EXPECT_GT(set.ParseFuncs(line, CFunc::kCapacity).count, 0);
    return set;
  }

  // The records of the archive at `path` on which the query holds.
  std::vector<double> Query(const std::string& path) const {
    CommentSlotTable slots;
    Archive archive(slots);
    EXPECT_GE(archive.SetPath(path), 0);
    EXPECT_EQ(archive.CreateIndex(), 0);
    const CFunc set = Set(false);
    platform::NullProgress progress;
    const QueryRunResult r = RunQuery(archive, set, Published(), QueryRunRequest{}, progress);
    EXPECT_EQ(r.end, QueryRunEnd::kCompleted);
    std::vector<double> held;
    for (int n = 0; n < archive.RecordCount(); ++n)
      if (archive.Entry(n).IsSelected()) held.push_back(n);
    return held;
  }

  // Every ordered pair of two charts of the archive at `path` on which the synastry set holds.
  std::vector<double> Synastry(const std::string& path) const {
    const CFunc set = Set(true);
    SynastryRequest request;
    request.mode = kSynEveryPair;
    request.archive = path;
    CSynAnalResults results;
    platform::NullProgress progress;
    EXPECT_EQ(RunSynastry(set, Published(), request, results, progress).end,
              SynastryRunEnd::kCompleted);
    std::vector<double> pairs;
    for (const SynAnalResult& r : results.CopyToArray())
      pairs.push_back(r.record1 * 100 + r.record2);
    return pairs;
  }

  // The Hermes trutine of a New York birth, its birth moments.
  std::vector<double> Rectification() const {
    Chart chart;
    Source& s = chart.definition.sources[0];
    EXPECT_TRUE(s.moment.date.SetDate(12, 3, 2000).ok());
    EXPECT_TRUE(s.moment.time.SetTime(15, 30, 0).ok());
    EXPECT_TRUE(s.zone.SetTime(5, 0, '-').ok());
    EXPECT_TRUE(s.place.SetPlace(40, 0, 'N', 74, 0, 'W', "", "").ok());
    EXPECT_TRUE(ChartCalculate(Published(), chart, 0).ok());
    HermesInput input = HermesInput::FromChart(chart);
    input.from = HermesRow{12, 3, 2000, 10, 0};
    input.to = HermesRow{12, 3, 2000, 22, 0};
    HermesTrutine trutine;
    trutine.Prepare(chart, input);
    platform::NullProgress progress;
    EXPECT_TRUE(trutine.Search(Published(), progress).ok());
    std::vector<double> births;
    for (const HermesVariant& v : trutine.Variants()) births.push_back(v.birth.JulianDay());
    return births;
  }

  testing_support::TempFolder folder_;
  Configuration config_;
  Aspectarium systems_;
};

// Cancels from the `at`-th time the run asks.
struct CancelOnAsking final : platform::ProgressSink {
  void Begin() override {}
  void SetPos(int) override {}
  void End() override {}
  bool Cancelled() const override { return ++asked >= at; }
  int at = 1;
  mutable std::atomic<int> asked{0};
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

TEST_F(ConcurrentRuns, EveryKindOfRunGoesOnUnderItsOwnSettingsWhileTheyArePublished) {
  // The program-wide settings are the runs' own; every run takes them as published at its start.
  GetConfiguration() = config_;
  ASSERT_TRUE(GetAspectarium().LoadAll(folder_.Path()).empty());
  PublishSettings();
  const Chart first = NatalAt(2451545.0), second = NatalAt(2447000.25);
  const std::string query = WriteArchive("query.arc"), synastry = WriteArchive("synastry.arc");
  const std::vector<std::function<std::vector<double>()>> runs = {
      [&] { return Transits(first, nullptr, true); },
      [&] { return LunarTransits(first); },
      [&] { return Query(query); },
      [&] { return Synastry(synastry); },
      [&] { return Rectification(); },
  };
  std::vector<std::vector<double>> alone;
  for (const auto& run : runs) alone.push_back(run());
  for (const auto& found : alone) EXPECT_FALSE(found.empty());
  const std::size_t uncancelled = Transits(second).size();

  std::atomic<bool> running{true};
  std::atomic<int> publishes{0};
  // The settings dialog's OK, again and again: the same settings published anew.
  std::thread publisher([&] {
    while (running) {
      ChangeSettings([&](Configuration& config, Aspectarium&) { config = config_; });
      ++publishes;
      std::this_thread::yield();
    }
  });
  std::vector<std::vector<double>> together(runs.size());
  std::vector<double> cancelled;
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < runs.size(); ++i)
    threads.emplace_back([&, i] { together[i] = runs[i](); });
  threads.emplace_back([&] {
    CancelOnAsking cancel;
    cancel.at = 4;
    cancelled = Transits(second, &cancel, true);
  });
  for (std::thread& t : threads) t.join();
  running = false;
  publisher.join();
  EXPECT_GT(publishes.load(), 0);
  EXPECT_EQ(together, alone);
  EXPECT_LT(cancelled.size(), uncancelled);
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
