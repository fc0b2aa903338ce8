// The set-up pages of the three rectifications open on an interval their own OK accepts: a day
// around the recorded birth for the rectification by events and the Tremin method, half a day for
// the trutine of Hermes, whatever the birth moment (midnight, the turn of a year, a leap day, a
// date before Christ, the last day the pages can hold).
#include <gtest/gtest.h>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "rectification/core/hermes_trutine.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/core/tremin_conf_page.h"

namespace {

struct Birth {
  const char* name;
  int day, month, year, hour, minute;     // a negative year is before Christ
  std::array<int, 5> dayStart, dayEnd;    // the day around it: year, month, day, hour, minute
  std::array<int, 5> halfStart, halfEnd;  // half a day around it
};

const Birth kBirths[] = {
    {"morning",
     15,
     6,
     1985,
     8,
     0,
     {1985, 6, 14, 20, 0},
     {1985, 6, 15, 20, 0},
     {1985, 6, 15, 2, 0},
     {1985, 6, 15, 14, 0}},
    {"just after midnight",
     1,
     1,
     2000,
     0,
     5,
     {1999, 12, 31, 12, 5},
     {2000, 1, 1, 12, 5},
     {1999, 12, 31, 18, 5},
     {2000, 1, 1, 6, 5}},
    {"leap day evening",
     29,
     2,
     2024,
     23,
     59,
     {2024, 2, 29, 11, 59},
     {2024, 3, 1, 11, 59},
     {2024, 2, 29, 17, 59},
     {2024, 3, 1, 5, 59}},
    {"first of 1 AD",
     1,
     1,
     1,
     6,
     0,
     {-1, 12, 31, 18, 0},
     {1, 1, 1, 18, 0},
     {1, 1, 1, 0, 0},
     {1, 1, 1, 12, 0}},
    // The first morning they hold: it begins at the birth.
    {"first morning",
     1,
     1,
     -3000,
     3,
     0,
     {-3000, 1, 1, 3, 0},
     {-3000, 1, 2, 3, 0},
     {-3000, 1, 1, 3, 0},
     {-3000, 1, 1, 15, 0}},
};

Moment MomentOf(const Birth& b) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(b.day, b.month, std::abs(b.year), b.year < 0 ? 'B' : 'A').ok());
  EXPECT_TRUE(m.time.SetTime(b.hour, b.minute, 0).ok());
  return m;
}

HermesRow RowOf(const std::array<int, 5>& w) { return HermesRow{w[2], w[1], w[0], w[3], w[4]}; }

TEST(SetUpDefaults, EveryPageAcceptsTheIntervalItOpensWith) {
  for (const Birth& b : kBirths) {
    SCOPED_TRACE(b.name);
    const Moment birth = MomentOf(b);
    // One event in use, with a house and a planet, well after every birth of the table.
    LifeEventList events;
    ASSERT_TRUE(events.Add("move", 1, 6, 3000, "Y", "NNNY").ok());

    const RectConfPage byEvents(Configuration{}, birth);
    EXPECT_EQ(byEvents.interval.start, b.dayStart);
    EXPECT_EQ(byEvents.interval.end, b.dayEnd);
    EXPECT_EQ(byEvents.CheckRun(events), 0);

    const TreminConfPage tremin(Configuration{}, birth);
    EXPECT_EQ(tremin.interval.start, b.dayStart);
    EXPECT_EQ(tremin.interval.end, b.dayEnd);
    EXPECT_EQ(tremin.CheckRun(events, birth), 0);

    Chart chart;
    chart.definition.sources[0].moment = birth;
    const HermesInput hermes = HermesInput::FromChart(chart);
    EXPECT_EQ(hermes.from, RowOf(b.halfStart));
    EXPECT_EQ(hermes.to, RowOf(b.halfEnd));
    EXPECT_EQ(hermes.Check(chart), 0);
  }
}

TEST(SetUpDefaults, IntervalAroundAMoment) {
  Moment birth;
  ASSERT_TRUE(birth.date.SetDate(15, 6, 1985).ok());
  ASSERT_TRUE(birth.time.SetTime(8, 0, 59).ok());  // the seconds are dropped
  RectInterval around = RectIntervalAround(birth, 90, 30);
  EXPECT_EQ(around.start, (std::array<int, 5>{1985, 6, 15, 6, 30}));
  EXPECT_EQ(around.end, (std::array<int, 5>{1985, 6, 15, 8, 30}));

  // The last evening the pages hold: the interval ends at the birth instead, still accepted.
  ASSERT_TRUE(birth.date.SetDate(31, 12, 3000).ok());
  ASSERT_TRUE(birth.time.SetTime(20, 0, 0).ok());
  around = RectIntervalAround(birth, kRectDefaultHalfSpanMinutes, kRectDefaultHalfSpanMinutes);
  EXPECT_EQ(around.start, (std::array<int, 5>{3000, 12, 30, 20, 0}));
  EXPECT_EQ(around.end, (std::array<int, 5>{3000, 12, 31, 20, 0}));
  EXPECT_EQ(CheckRectInterval(around), 0);
  Chart chart;
  chart.definition.sources[0].moment = birth;
  const HermesInput hermes = HermesInput::FromChart(chart);
  EXPECT_EQ(hermes.from, RowOf({3000, 12, 31, 8, 0}));
  EXPECT_EQ(hermes.to, RowOf({3000, 12, 31, 20, 0}));
  EXPECT_EQ(hermes.Check(chart), 0);
}

}  // namespace
