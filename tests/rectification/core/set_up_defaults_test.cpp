// The set-up pages of the three rectifications open on an interval their own OK accepts: a day
// around the recorded birth by events and by the Tremin method, half a day for the trutine of
// Hermes, whatever the birth (midnight, a leap day, before Christ, the first and last day held).
#include <gtest/gtest.h>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "rectification/core/hermes_trutine.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/core/tremin_conf_page.h"

namespace {

using At = std::array<int, 5>;  // year (negative before Christ), month, day, hour, minute

Moment MomentOf(const At& at, int second = 0) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(at[2], at[1], std::abs(at[0]), at[0] < 0 ? 'B' : 'A').ok());
  EXPECT_TRUE(m.time.SetTime(at[3], at[4], second).ok());
  return m;
}

void ExpectHermesOpensOn(const Moment& birth, const At& from, const At& to) {
  Chart chart;
  chart.definition.sources[0].moment = birth;
  const HermesInput hermes = HermesInput::FromChart(chart);
  EXPECT_EQ(hermes.from, (HermesRow{from[2], from[1], from[0], from[3], from[4]}));
  EXPECT_EQ(hermes.to, (HermesRow{to[2], to[1], to[0], to[3], to[4]}));
  EXPECT_EQ(hermes.Check(chart), 0);
}

TEST(SetUpDefaults, EveryPageAcceptsTheIntervalItOpensWith) {
  const struct {
    const char* name;
    At birth, dayStart, dayEnd, halfStart, halfEnd;  // a day around it, half a day around it
  } births[] = {
      {"morning", At{1985, 6, 15, 8, 0}, At{1985, 6, 14, 20, 0}, At{1985, 6, 15, 20, 0},
       At{1985, 6, 15, 2, 0}, At{1985, 6, 15, 14, 0}},
      {"just after midnight", At{2000, 1, 1, 0, 5}, At{1999, 12, 31, 12, 5}, At{2000, 1, 1, 12, 5},
       At{1999, 12, 31, 18, 5}, At{2000, 1, 1, 6, 5}},
      {"leap day evening", At{2024, 2, 29, 23, 59}, At{2024, 2, 29, 11, 59}, At{2024, 3, 1, 11, 59},
       At{2024, 2, 29, 17, 59}, At{2024, 3, 1, 5, 59}},
      {"first of 1 AD", At{1, 1, 1, 6, 0}, At{-1, 12, 31, 18, 0}, At{1, 1, 1, 18, 0},
       At{1, 1, 1, 0, 0}, At{1, 1, 1, 12, 0}},
      // The first morning they hold: it begins at the birth.
      {"first morning", At{-3000, 1, 1, 3, 0}, At{-3000, 1, 1, 3, 0}, At{-3000, 1, 2, 3, 0},
       At{-3000, 1, 1, 3, 0}, At{-3000, 1, 1, 15, 0}},
  };
  // One event in use, with a house and a planet, well after every birth of the table.
  LifeEventList events;
  ASSERT_TRUE(events.Add("move", 1, 6, 3000, "Y", "NNNY").ok());
  for (const auto& b : births) {
    SCOPED_TRACE(b.name);
    const Moment birth = MomentOf(b.birth);
    const RectConfPage byEvents(Configuration{}, birth);
    const TreminConfPage tremin(Configuration{}, birth);
    for (const RectInterval& opened : {byEvents.interval, tremin.interval})
      EXPECT_EQ(std::pair(opened.start, opened.end), std::pair(b.dayStart, b.dayEnd));
    EXPECT_EQ(byEvents.CheckRun(events), 0);
    EXPECT_EQ(tremin.CheckRun(events, birth), 0);
    ExpectHermesOpensOn(birth, b.halfStart, b.halfEnd);
  }
}

TEST(SetUpDefaults, IntervalAroundAMoment) {
  const Moment birth = MomentOf({1985, 6, 15, 8, 0}, 59);  // the seconds are dropped
  const RectInterval around = RectIntervalAround(birth, 90, 30);
  EXPECT_EQ(std::pair(around.start, around.end),
            std::pair(At{1985, 6, 15, 6, 30}, At{1985, 6, 15, 8, 30}));
  // The last evening the pages hold: the interval ends at the birth instead, still accepted.
  const Moment last = MomentOf({3000, 12, 31, 20, 0});
  const RectInterval day =
      RectIntervalAround(last, kRectDefaultHalfSpanMinutes, kRectDefaultHalfSpanMinutes);
  EXPECT_EQ(std::pair(day.start, day.end),
            std::pair(At{3000, 12, 30, 20, 0}, At{3000, 12, 31, 20, 0}));
  EXPECT_EQ(CheckRectInterval(day), 0);
  ExpectHermesOpensOn(last, {3000, 12, 31, 8, 0}, {3000, 12, 31, 20, 0});
}

}  // namespace
