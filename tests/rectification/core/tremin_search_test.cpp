#include "rectification/core/tremin_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/tremin_fixture.h"
#include "support/test_support.h"

namespace {

constexpr std::int16_t X = kTmImpossible;

TEST(TreminSearch, StepCodes) {
  const std::pair<int, int> rows[] = {{0, 2},  {1, 5},  {2, 10},  {3, 20},
                                      {4, 30}, {5, 60}, {-1, 60}, {9, 60}};
  for (const auto& [code, seconds] : rows) EXPECT_EQ(TmStepSeconds(code), seconds) << code;
}

TEST(TreminSearch, IntervalsAreRunsOfEqualPossibility) {
  struct Row {
    const char* name;
    std::vector<std::int16_t> possibility;
    std::vector<TmPossibleInterval> expected;
  };
  const Row rows[] = {
      {"impossible_between", {5, 5, X, 7}, {{0, 1, 5}, {3, 3, 7}}},
      {"ends_impossible", {5, 5, X, X}, {{0, 1, 5}}},
      {"begins_impossible", {X, 9, 9, 8}, {{1, 2, 9}, {3, 3, 8}}},
      {"none_possible", {X, X}, {}},
      {"one_moment", {40}, {{0, 0, 40}}},
      // A computed -1 is a possibility like any other, not an impossible moment.
      {"computed_minus_one", {5, -1, -1, X}, {{0, 0, 5}, {1, 2, -1}}},
  };
  for (const Row& r : rows) {
    PossInt p;
    p.PossMomInit(Moment(), static_cast<int>(r.possibility.size()), 2);
    p.possibility = r.possibility;
    EXPECT_EQ(p.CountIntervals(), static_cast<int>(r.expected.size())) << r.name;
    p.FillPositiveInts();
    EXPECT_EQ(p.intervals, r.expected) << r.name;
  }
}

TEST(TreminSearch, MomentsCarrySecondsIntoTheNextDay) {
  PossInt p;
  Moment begin;
  ASSERT_TRUE(begin.date.SetDate(31, 12, 1999, 'A').ok());
  ASSERT_TRUE(begin.time.SetTime(23, 59, 50).ok());
  p.PossMomInit(begin, 5, 20);
  const Moment m1 = p.GetMoment(1);
  EXPECT_EQ((std::array{m1.date.Day(), m1.date.Month(), m1.date.Year()}), (std::array{1, 1, 2000}));
  EXPECT_EQ(m1.time.SecondsOfDay(), 10);
  EXPECT_EQ(p.GetMoment(4).time.SecondsOfDay(), 70);
  EXPECT_EQ(p.GetMoment(0), begin);
}

TEST(TreminSearch, SelectionByThresholdAndOrder) {
  struct Row {
    const char* name;
    int minimumScore, order;
    std::vector<int> expected;
  };
  // Moment: directions, progressions (tenths): 0: 812/812, 1: 900/900, 2: 800/824 (half 812),
  // 3: -1/950 (not kept), 4: 0/0, 5: 499/700.
  const Row rows[] = {
      {"chronological_min_0", 0, 0, {0, 1, 2, 4, 5}},
      {"by_score_equal_halves_in_moment_order", 0, 1, {1, 0, 2, 5, 4}},
      {"threshold_50_points", 50, 1, {1, 0, 2}},
      {"threshold_above_all", 95, 0, {}},
  };
  for (const Row& r : rows) {
    PossInt p;
    p.PossMomInit(Moment(), 6, 60);
    p.directions = {812, 900, 800, -1, 0, 499};
    p.progressions = {812, 900, 824, 950, 0, 700};
    p.SelectResults(r.minimumScore, r.order);
    EXPECT_EQ(p.selected, r.expected) << r.name;
    EXPECT_EQ(p.SelectItemsWithPositiveKoef(r.minimumScore), static_cast<int>(r.expected.size()))
        << r.name;
  }
}

RectInterval Interval(std::array<int, 5> begin, std::array<int, 5> end) {
  RectInterval r;
  r.start = begin;
  r.end = end;
  return r;
}

TEST(TreminSearch, PrepareRefusesWhatCannotRun) {
  struct Row {
    const char* name;
    std::string applying;
    bool eventsOn;
    RectInterval interval;
    int message;  // 0: prepared
    int count;
  };
  const RectInterval ten = Interval({1985, 6, 15, 10, 0}, {1985, 6, 15, 10, 1});
  const Row rows[] = {
      // One minute at 20 s: 10:00:00, :20, :40 and 10:01:00, the end itself.
      {"one_minute", "VELM", true, ten, 0, 4},
      {"begin_equals_end", "VELM", true, Interval({1985, 6, 15, 10, 0}, {1985, 6, 15, 10, 0}), 0,
       1},
      // 1.4 days = 2016 minutes, 3 moments a minute.
      {"longest_span", "VELM", true, Interval({1985, 6, 15, 0, 0}, {1985, 6, 16, 9, 36}), 0,
       2016 * 3 + 1},
      {"span_too_long", "VELM", true, Interval({1985, 6, 15, 0, 0}, {1985, 6, 16, 9, 37}), 90, 0},
      {"end_before_begin", "VELM", true, Interval({1985, 6, 15, 10, 1}, {1985, 6, 15, 10, 0}), 89,
       0},
      {"no_such_day", "VELM", true, Interval({1985, 2, 30, 10, 0}, {1985, 6, 15, 10, 0}), 775, 0},
      {"bad_hour", "VELM", true, Interval({1985, 6, 15, 24, 0}, {1985, 6, 15, 10, 0}), 659, 0},
      {"system_not_loaded", "NOPE", true, ten, kMsgAspectSystemNotFound, 0},
      {"no_event_in_use", "VELM", false, ten, kMsgNoEventInUse, 0},
  };
  for (const Row& r : rows) {
    SearchFixture f;
    if (!r.eventsOn)
      for (int i = 0; i < f.events.Count(); ++i) f.events.Event(i).status = kLifeEventLeftOut;
    f.settings.applyingSystem = r.applying;
    const ChartContext ctx(f.config, f.aspectarium);
    TmSearch search;
    const Status st = search.Prepare(ctx, f.chart, f.events, f.settings, r.interval);
    EXPECT_EQ(st.MessageNumber(), r.message) << r.name;
    EXPECT_EQ(search.Moments().Count(), r.count) << r.name;
  }
}

TEST(TreminSearch, MomentsRunInUniversalTimeAndShowInLocalTime) {
  SearchFixture f;
  const ChartContext ctx(f.config, f.aspectarium);
  TmSearch search;
  ASSERT_TRUE(search
                  .Prepare(ctx, f.chart, f.events, f.settings,
                           Interval({1985, 6, 15, 1, 0}, {1985, 6, 15, 1, 1}))
                  .ok());
  EXPECT_DOUBLE_EQ(search.GetZoneDays(), 0.125);
  // 01:00 at +03:00 is 22:00 of the day before in universal time.
  const Moment first = search.Moments().GetMoment(0);
  EXPECT_EQ(first.date.Day(), 14);
  EXPECT_EQ(first.time.SecondsOfDay(), 22 * 3600);
  EXPECT_EQ(search.LocalMoment(3).date.Day(), 15);
  EXPECT_EQ(search.LocalMoment(3).time.SecondsOfDay(), 3600 + 60);
  Chart trial;
  ASSERT_TRUE(search.TrialChart(ctx, 0, trial).ok());
  EXPECT_EQ(trial.definition.sources[0].zone.GetCorrectionHours(), 0.0);
  EXPECT_TRUE(trial.cusps[0].IsSet());
}

TEST(TreminSearch, RunWithChooserCancelAndProgress) {
  SearchFixture f;
  const ChartContext ctx(f.config, f.aspectarium);
  const RectInterval interval = Interval({1985, 6, 15, 8, 0}, {1985, 6, 15, 8, 3});  // 10 moments

  {  // The chooser sees the intervals of the first pass; Cancel scores nothing.
    TmSearch search;
    ASSERT_TRUE(search.Prepare(ctx, f.chart, f.events, f.settings, interval).ok());
    testing_support::RecordingProgress progress;
    int seen = -1;
    Status problem;
    const int result = search.Search(
        ctx, progress,
        [&](const TmSearch& s, int& minimum) {
          seen = static_cast<int>(s.Moments().intervals.size());
          EXPECT_EQ(minimum, f.settings.minimumPossibility);
          return false;
        },
        problem);
    EXPECT_EQ(result, kTmSearchCancelled);
    EXPECT_TRUE(problem.ok());
    EXPECT_EQ(seen, search.Moments().CountIntervals());
    EXPECT_EQ(progress.positions, std::vector<int>{0});  // every tenth moment of 10
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(search.Moments().directions[static_cast<std::size_t>(i)], -1);
    EXPECT_TRUE(search.Moments().selected.empty());
  }
  {  // Cancel of the progress in the first pass: message 1980, the chooser never asked.
    TmSearch search;
    ASSERT_TRUE(search.Prepare(ctx, f.chart, f.events, f.settings, interval).ok());
    testing_support::RecordingProgress progress;
    progress.cancelAt = 1;
    bool asked = false;
    Status problem;
    EXPECT_EQ(search.Search(
                  ctx, progress, [&](const TmSearch&, int&) { return asked = true; }, problem),
              kTmSearchCancelled);
    EXPECT_EQ(problem.MessageNumber(), kMsgRectificationCancelled);
    EXPECT_FALSE(asked);
    EXPECT_EQ(progress.ended, 1);
  }
  {  // The chooser lowers the minimum possibility to 0; the minimum score 0
     // keeps every moment whose two scores are not negative. A minimum above 100 is held at 100.
    TmSearch search;
    f.settings.minimumScore = 0;
    ASSERT_TRUE(search.Prepare(ctx, f.chart, f.events, f.settings, interval).ok());
    platform::NullProgress quiet;
    Status problem;
    ASSERT_EQ(search.Search(
                  ctx, quiet,
                  [](const TmSearch&, int& minimum) {
                    minimum = 0;
                    return true;
                  },
                  problem),
              kTmSearchDone);
    ASSERT_TRUE(problem.ok());
    const PossInt& p = search.Moments();
    for (int i = 0; i < p.Count(); ++i) {
      const auto k = static_cast<std::size_t>(i);
      const bool scored = p.possibility[k] != kTmImpossible && p.possibility[k] >= 0;
      if (!scored) {
        EXPECT_EQ(p.directions[k], kTmNoScore) << i;
      }
      const bool kept = p.directions[k] >= 0 && p.progressions[k] >= 0;
      EXPECT_EQ(std::count(p.selected.begin(), p.selected.end(), i), kept ? 1 : 0) << i;
    }
    search.SetMinimumPossibility(250);
    EXPECT_EQ(search.MinimumPossibility(), 100);
  }
}

TEST(TreminSearch, SettingsBlockHoldsTheMinimaInRange) {
  Configuration config;
  config.treminSettings.Set(cfg::TreminSettings::kApplyingSystem, "AAA");
  config.treminSettings.Set(cfg::TreminSettings::kStep, std::int16_t{4});
  config.treminSettings.Set(cfg::TreminSettings::kMinimumScore, std::int16_t{130});
  WriteTmMinimumPossibility(config, 77);
  const TmSearchSettings s = ReadTmSearchSettings(config);
  EXPECT_EQ(s.applyingSystem, "AAA");
  EXPECT_EQ(s.step, 4);
  EXPECT_EQ(s.minimumScore, 100);  // held to 0..100
  EXPECT_EQ(s.minimumPossibility, 77);
  WriteTmMinimumPossibility(config, -5);
  EXPECT_EQ(ReadTmSearchSettings(config).minimumPossibility, 0);
}

}  // namespace
