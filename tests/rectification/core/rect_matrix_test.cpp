// The score matrix: its cells and projections, the trial minutes of the birth interval, and the
// run over trials and events against a direct recomputation of every score.
#include "rectification/core/rect_matrix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/body_track.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "rectification/core/chart_rect.h"
#include "rectification/core/life_event_list.h"
#include "rectification/rect_birth.h"
#include "support/test_support.h"

namespace {

using Block = cfg::RectificationSettings;
using rect::kProjectByEvents;
using rect::kProjectByMethods;
using rect::Matrix2;
using rect::Matrix3;
using rect::Matrix3Projected;

TEST(Matrix3, ProjectionsSumTheOtherAxis) {
  // 2 trials x 3 events x 2 methods, cell (i, j, k) = 6i + 2j + k + 1, so 1..12 in storage order.
  // By methods a cell is 18i + 3k + 9, by events 12i + 4j + 3; the total 78 over 2 trials is a
  // mean of 39.
  Matrix3Projected m;
  ASSERT_TRUE(m.Init(2, 3, 2));
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 2; ++k) m.Add(6 * i + 2 * j + k + 1, i, j, k);
  m.Add(0.5, 1, 2, 1);  // Add adds: cell (1,2,1) is 12.5, then 12 again
  m.Add(-0.5, 1, 2, 1);
  struct Case {
    char mode;
    int columns;
    std::vector<double> cells, rowSums, columnSums;
  };
  for (const Case& c :
       {Case{kProjectByMethods, 2, {9, 12, 27, 30}, {21, 57}, {36, 42}},
        Case{kProjectByEvents, 3, {3, 7, 11, 15, 19, 23}, {21, 57}, {18, 26, 34}}}) {
    m.Project(c.mode);
    ASSERT_EQ(m.Projected().Rows(), 2) << c.mode;
    ASSERT_EQ(m.Projected().Columns(), c.columns) << c.mode;
    std::vector<double> cells;
    for (int i = 0; i < 2; ++i)
      for (int col = 0; col < c.columns; ++col) cells.push_back(m.Projected().Get2(i, col));
    EXPECT_EQ(cells, c.cells) << c.mode;
    EXPECT_EQ(m.RowSums(), c.rowSums) << c.mode;
    EXPECT_EQ(m.ColumnSums(), c.columnSums) << c.mode;
    EXPECT_EQ(m.Mean(), 39.0) << c.mode;
  }
}

TEST(Matrix3, SizesAndIndices) {
  Matrix3 m;
  EXPECT_FALSE(m.Init(-1, 2, 2));
  EXPECT_EQ(m.A() + m.B() + m.C(), 0);
  ASSERT_TRUE(m.Init(2, 0, 3));  // no events: no cells
  EXPECT_EQ(m.B(), 0);
  Matrix2 two;
  EXPECT_FALSE(two.Init2(3, -2));
  ASSERT_TRUE(two.Init2(2, 3));
  two.Put2(1.5, 1, 2);
  two.Put2(1.0, 1, 2);
  EXPECT_EQ(two.Get2(1, 2), 2.5);
  EXPECT_EQ(two.Get2(0, 2), 0.0);
  ASSERT_TRUE(m.Init(2, 2, 2));
  EXPECT_DEBUG_DEATH(m.Add(1.0, 2, 0, 0), "Illegal index");
  EXPECT_DEBUG_DEATH((void)two.Get2(2, 0), "Illegal index");
}

// A configuration whose interval runs from `start` to `end` (year, month, day, hour, minute).
Configuration WithInterval(std::array<int, 5> start, std::array<int, 5> end) {
  Configuration config;
  WriteRectInterval(config, RectInterval{start, end});
  return config;
}

LifeEventList OneEvent() {
  LifeEventList events;
  EXPECT_TRUE(events.Add("move", 15, 6, 2015, "YNNNY", "NNNYNNYNNNYN").ok());
  return events;
}

TEST(RectMatrix, TrialsAreTheWholeMinutesWithTheEnd) {
  struct Case {
    std::array<int, 5> start, end;
    int trials;  // 0: refused with `message`
    int message;
  };
  const Case cases[] = {
      {{2000, 1, 1, 10, 0}, {2000, 1, 1, 10, 0}, 1, 0},  // start = end: the start alone
      {{2000, 1, 1, 10, 0}, {2000, 1, 1, 10, 59}, 60, 0},
      {{2000, 1, 1, 10, 7}, {2000, 1, 1, 12, 7}, 121, 0},   // two hours and the end minute
      {{2000, 1, 31, 23, 30}, {2000, 2, 1, 0, 30}, 61, 0},  // over midnight and month end
      {{1999, 12, 31, 23, 59}, {2000, 1, 1, 0, 0}, 2, 0},   // over the year's end
      {{2000, 2, 28, 0, 0}, {2000, 3, 1, 0, 0}, 2881, 0},   // two days (a leap day)
      {{-44, 3, 14, 6, 0}, {-44, 3, 14, 7, 0}, 61, 0},      // before Christ
      {{2000, 1, 1, 10, 0}, {2000, 1, 1, 9, 59}, 0, 89},
      {{2000, 2, 28, 0, 0}, {2000, 3, 1, 0, 1}, 0, 90},     // two days and a minute
      {{0, 1, 1, 10, 0}, {0, 1, 1, 11, 0}, 0, 777},         // no year 0
      {{2001, 2, 31, 10, 0}, {2001, 3, 1, 10, 0}, 0, 775},  // no 31 February
      {{2001, 2, 1, 24, 0}, {2001, 2, 2, 10, 0}, 0, 659},
  };
  const Aspectarium none;
  const LifeEventList events = OneEvent();
  for (const Case& c : cases) {
    RectMatrix m;
    const Status st = m.Prepare(WithInterval(c.start, c.end), none, events);
    if (c.trials == 0) {
      EXPECT_EQ(st.MessageNumber(), c.message) << c.start[2] << "." << c.start[1];
      continue;
    }
    ASSERT_TRUE(st.ok()) << c.start[2] << "." << c.start[1];
    EXPECT_EQ(m.TrialCount(), c.trials) << c.start[2] << "." << c.start[1];
    // The last trial is the end itself.
    const Moment last = m.TrialMoment(m.TrialCount() - 1);
    EXPECT_EQ(last.date.Day(), c.end[2]);
    EXPECT_EQ(last.time.SecondsOfDay(), c.end[3] * 3600 + c.end[4] * 60);
  }
}

// Events in use that name no planet and no house would give an all-zero table: the run is refused
// with its message; one event naming a house is enough.
TEST(RectMatrix, EventsWithoutPlanetsOrHousesAreRefusedWithAReason) {
  struct Case {
    const char* name;
    const char* planets;
    const char* houses;
    int message;
  } const cases[] = {
      {"all_N", "NNNNN", "NNNNNNNNNNNN", kMsgEventsNameNoPoints},
      {"a_house", "", "NNNY", 0},
      {"a_planet", "Y", "", 0},
  };
  const Aspectarium none;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LifeEventList events;
    ASSERT_TRUE(events.Add("first", 15, 6, 2015, "", "").ok());
    ASSERT_TRUE(events.Add("second", 1, 3, 2018, c.planets, c.houses).ok());
    RectMatrix m;
    const Status st =
        m.Prepare(WithInterval({2000, 1, 1, 10, 0}, {2000, 1, 1, 10, 5}), none, events);
    EXPECT_EQ(st.MessageNumber(), c.message);
  }
}

TEST(RectMatrix, OnlyTheFourteenMethodsCount) {
  Configuration config = WithInterval({2000, 1, 1, 10, 0}, {2000, 1, 1, 10, 1});
  for (std::size_t i = 0; i < 50; ++i)
    config.rectification.Set(Block::kMethod[i], static_cast<std::uint16_t>(i < 14 ? 2 : 0));
  config.rectification.Set(Block::kMethod[3], std::uint16_t{1});
  config.rectification.Set(Block::kMethod[7], std::uint16_t{0});
  LifeEventList events = OneEvent();
  ASSERT_TRUE(events.Add("left out", 1, 1, 2010, "", "Y").ok());
  events.Event(1).status = kLifeEventLeftOut;
  ASSERT_TRUE(events.Add("wedding", 1, 1, 2012, "", "Y").ok());

  RectMatrix m;
  ASSERT_TRUE(m.Prepare(config, Aspectarium(), events).ok());
  EXPECT_EQ(m.Methods(), (std::vector<int>{3, 7}));
  EXPECT_EQ(m.MethodNames(), (std::vector<std::string>{GetMessageText(kMsgMethodNameFirst + 3),
                                                       GetMessageText(kMsgMethodNameFirst + 7)}));
  EXPECT_EQ(m.MethodCount(), 2);
  ASSERT_EQ(m.EventCount(), 2);  // the events in use only
  EXPECT_EQ(m.TrialCount(), 2);
}

// A run over real charts: Moscow, 15 June 1985 from 08:00, the shipped aspect system.
struct RunFixture {
  testing_support::TempFolder folder;
  Aspectarium aspectarium;
  Configuration config = WithInterval({1985, 6, 15, 8, 0}, {1985, 6, 15, 8, 2});
  LifeEventList events;
  Chart chart;

  RunFixture() {
    rect_test::LoadShippedSystem(folder, aspectarium);
    for (const auto field : {Block::kDirectionsSystem, Block::kProgressionsSystem,
                             Block::kTransitsSystem, Block::kLifePointSystem})
      config.rectification.Set(field, "VELM");
    for (std::size_t i = 0; i < 14; ++i)
      config.rectification.Set(Block::kMethod[i], static_cast<std::uint16_t>(i % 3 == 2 ? 1 : 0));
    EXPECT_TRUE(events.Add("move", 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN").ok());
    EXPECT_TRUE(events.Add("wedding", 2, 9, 2010, "NNNYNNNNNN", "NNNNNNYNNNNN").ok());
    EXPECT_TRUE(events.Add("child", 11, 1, 2012, "YYNNNNNNNN", "NNNNYNNNNNNN").ok());
    chart = rect_test::BirthChart();
  }
};

TEST(RectMatrix, CachedRunMatchesADirectRecomputation) {
  RunFixture f;
  const ChartContext ctx(f.config, f.aspectarium);
  RectMatrix cached, uncached;
  ASSERT_TRUE(cached.Prepare(f.config, f.aspectarium, f.events).ok());
  ASSERT_TRUE(uncached.Prepare(f.config, f.aspectarium, f.events).ok());
  ASSERT_EQ(cached.TrialCount(), 3);
  ASSERT_EQ(cached.MethodCount(), 14);
  testing_support::RecordingProgress progress;
  ASSERT_TRUE(cached.CalculateAll(ctx, f.chart, progress, true).ok());
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 33, 66}));
  platform::NullProgress quiet;
  ASSERT_TRUE(uncached.CalculateAll(ctx, f.chart, quiet, false).ok());

  // Every score again, one trial chart and one event at a time.
  std::vector<double> trial(3, 0.0), event(3, 0.0), method(14, 0.0);
  std::vector<double> slots(14);
  double total = 0.0;
  for (int t = 0; t < 3; ++t) {
    Chart at = f.chart;
    ASSERT_TRUE(at.definition.sources[0].moment.time.SetTime(8, t, 0).ok());
    ChartRect natal(at);
    ASSERT_TRUE(natal.Compute(ctx).ok());
    for (int j = 0; j < 3; ++j) {
      ASSERT_TRUE(ScoreEvent(ctx, natal, f.events.Event(j), cached.Setup(), slots).ok());
      for (int k = 0; k < 14; ++k) {
        const double s = slots[static_cast<std::size_t>(k)];
        EXPECT_EQ(cached.Get(t, j, k), s) << t << " " << j << " " << k;
        EXPECT_EQ(uncached.Get(t, j, k), s) << t << " " << j << " " << k;
        trial[static_cast<std::size_t>(t)] += s;
        event[static_cast<std::size_t>(j)] += s;
        method[static_cast<std::size_t>(k)] += s;
        total += s;
      }
    }
  }
  EXPECT_GT(total, 0.0);  // the run scored something
  EXPECT_EQ(cached.TrialSums(), trial);
  EXPECT_EQ(cached.EventSums(), event);
  EXPECT_EQ(cached.MethodSums(), method);
  const std::vector<int> best = cached.BestTrials(2);
  ASSERT_EQ(best.size(), 2u);
  EXPECT_GE(trial[static_cast<std::size_t>(best[0])], trial[static_cast<std::size_t>(best[1])]);
}

TEST(RectMatrix, CancelStopsTheRun) {
  RunFixture f;
  const ChartContext ctx(f.config, f.aspectarium);
  RectMatrix m;
  ASSERT_TRUE(m.Prepare(f.config, f.aspectarium, f.events).ok());
  testing_support::RecordingProgress progress;
  progress.cancelAt = 2;
  EXPECT_EQ(m.CalculateAll(ctx, f.chart, progress).MessageNumber(), kMsgRectificationCancelled);
  EXPECT_FALSE(m.Calculated());
  const std::vector<double> sums = m.TrialSums();
  EXPECT_GT(sums[1], 0.0);
  EXPECT_EQ(sums[2], 0.0);  // the trial not reached
  EXPECT_EQ(progress.ended, 1);
}

// The shortcuts of a long run against the charts computed in full: the progressed bodies taken
// along a track of the event (cubic between exact positions three hours apart) within 1" of the
// exact ones, the cusps within 0.001 degree; the directed chart moved from the natal chart equal to
// the directed chart cast anew. Trials over two days, across midnight.
TEST(RectMatrix, ShortcutChartsMatchFullComputation) {
  RunFixture f;
  const ChartContext ctx(f.config, f.aspectarium);
  for (int j = 0; j < f.events.Count(); ++j) {
    const LifeEvent& event = f.events.Event(j);
    BodyTrack track(ctx);
    const BodySource bodies = track.Source();
    for (const int minutes : {0, 1, 37, 239, 960, 1441, 2880}) {
      Chart at = f.chart;
      at.definition.sources[0].moment.AddDays(minutes / 1440.0);
      ChartRect natal(at);
      ASSERT_TRUE(natal.Compute(ctx).ok());
      for (const bool speeds : {false, true}) {
        Chart exact, tracked;
        ASSERT_TRUE(MakeProgressed(ctx, exact, natal, event.moment).ok());
        ASSERT_TRUE(MakeProgressed(ctx, tracked, natal, event.moment).ok());
        ASSERT_TRUE(
            (speeds ? ChartCalculate(ctx, exact, 0) : exact.CalculatePositions(ctx, 0)).ok());
        ASSERT_TRUE(ChartCalculateWithBodies(ctx, tracked, bodies, speeds).ok());
        for (int p = 0; p < 30; ++p) {
          const auto i = static_cast<std::size_t>(p);
          EXPECT_LE(AngleDifference180(exact.points[i].longitude.Get(),
                                       tracked.points[i].longitude.Get()),
                    1.0 / 3600)
              << j << " " << minutes << " point " << p;
          EXPECT_NEAR(exact.points[i].latitude, tracked.points[i].latitude, 1.0 / 3600);
          if (speeds) {
            EXPECT_NEAR(exact.points[i].speed, tracked.points[i].speed, 1e-4) << p;
          }
        }
        for (int h = 0; h < 12; ++h)
          EXPECT_LE(AngleDifference180(exact.cusps[h].Get(), tracked.cusps[h].Get()), 0.001);
      }
      Chart cast, moved;
      ASSERT_TRUE(MakeDirected(ctx, cast, natal, event.moment).ok());
      ASSERT_TRUE(MakeDirected(ctx, moved, natal, event.moment).ok());
      ASSERT_TRUE(ChartCalculate(ctx, cast, 0).ok());
      ASSERT_TRUE(DirectFromComputedNatal(ctx, moved, natal).ok());
      for (int p = 0; p <= 33; ++p) {
        EXPECT_NEAR(cast.points[p].longitude.Get(), moved.points[p].longitude.Get(), 1e-9) << p;
        EXPECT_EQ(cast.points[p].speed, moved.points[p].speed) << p;
      }
      for (int h = 0; h < 12; ++h) EXPECT_NEAR(cast.cusps[h].Get(), moved.cusps[h].Get(), 1e-9);
    }
    EXPECT_LE(track.NodeCount(), 20);  // two days of trials: a few nodes, not a chart per trial
  }
}

// Over two hours of trials (121) the run with the shortcuts gives the very sums of the run in
// full precision, the switch read from the configuration, and three workers the very matrix of
// one.
TEST(RectMatrix, FullPrecisionSwitchAndWorkersLeaveTheSumsUnchanged) {
  RunFixture f;
  f.config = WithInterval({1985, 6, 15, 7, 0}, {1985, 6, 15, 9, 0});
  for (const auto field : {Block::kDirectionsSystem, Block::kProgressionsSystem,
                           Block::kTransitsSystem, Block::kLifePointSystem})
    f.config.rectification.Set(field, "VELM");
  const ChartContext ctx(f.config, f.aspectarium);
  platform::NullProgress quiet;
  RectMatrix fast, one, full;
  ASSERT_TRUE(fast.Prepare(f.config, f.aspectarium, f.events).ok());
  ASSERT_TRUE(one.Prepare(f.config, f.aspectarium, f.events).ok());
  EXPECT_FALSE(fast.FullPrecision());
  fast.SetThreads(3);
  one.SetThreads(1);
  full.SetThreads(1);
  f.config.rectification.Set(Block::kFullPrecision, std::int32_t{1});
  ASSERT_TRUE(full.Prepare(f.config, f.aspectarium, f.events).ok());
  EXPECT_TRUE(full.FullPrecision());
  ASSERT_TRUE(fast.CalculateAll(ctx, f.chart, quiet).ok());
  ASSERT_TRUE(full.CalculateAll(ctx, f.chart, quiet).ok());
  ASSERT_TRUE(one.CalculateAll(ctx, f.chart, quiet).ok());
  ASSERT_EQ(fast.TrialCount(), 121);
  for (int t = 0; t < fast.TrialCount(); ++t)
    for (int e = 0; e < fast.EventCount(); ++e)
      for (int k = 0; k < fast.MethodCount(); ++k)
        ASSERT_EQ(fast.Get(t, e, k), one.Get(t, e, k)) << t << " " << e << " " << k;
  EXPECT_EQ(fast.TrialSums(), full.TrialSums());
  EXPECT_EQ(fast.EventSums(), full.EventSums());
  EXPECT_EQ(fast.MethodSums(), full.MethodSums());
  EXPECT_EQ(fast.BestTrials(5), full.BestTrials(5));
}

}  // namespace
