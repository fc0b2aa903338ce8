// The fourteen event scorers on synthetic charts. Every expected value is worked out by hand from
// the weighting table of the methods (the working is in each row's comment).
//
// The natal chart: cusp h at 10 + 30h degrees (cusp I at 10 Aries, so house h holds the sign h);
// natal Mars (4) at 100 (house IV, index 3), natal Pluto (9) at 200 (house VII, index 6), natal
// Venus (3) at 280; every other point absent. Rulers: Aries Mars with Pluto second, Taurus Venus
// with no second ruler, Gemini Pluto. Dignity planets Sun, Moon, Mars, Pluto. Every point has orb
// class 1. The aspect system: conjunction, opposition, square (major) and semi-sextile (minor),
// orbs 6 degrees in column 0, exact orb 0.5.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "foundation/messages/message_numbers.h"
#include "rectification/core/chart_rect.h"
#include "rectification/core/life_event_list.h"
#include "rectification/rect_birth.h"
#include "support/test_support.h"

namespace {

constexpr int kSun = 0, kMoon = 1, kVenus = 3, kMars = 4, kPluto = 9;

Aspect MakeAspect(double angle, bool major) {
  Aspect a;
  a.angle = angle;
  a.orbs = {6, 5, 4, 3, 2, 0.5};
  a.major = major ? 1 : 0;
  return a;
}

RectScoringSetup TestSetup() {
  RectScoringSetup setup;
  AspectSystem system("TEST", {});
  for (const Aspect& a :
       {MakeAspect(0, true), MakeAspect(180, true), MakeAspect(90, true), MakeAspect(30, false)})
    EXPECT_EQ(system.AddAspect(a), 0);
  for (int g = 0; g < kRectGroupCount; ++g) setup.SetSystem(g, system);
  setup.rulers.fill(-1);
  setup.rulers[0] = kMars;
  setup.rulers[12 + 0] = kPluto;
  setup.rulers[1] = kVenus;
  setup.rulers[2] = kPluto;
  setup.dignityPlanets = {kSun, kMoon, kMars, kPluto};
  setup.orbClasses.fill(1);
  return setup;
}

Chart NatalChart() {
  Chart c;
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(10.0 + 30.0 * h);
  c.points[kMars].longitude.Set(100.0);
  c.points[kPluto].longitude.Set(200.0);
  c.points[kVenus].longitude.Set(280.0);
  return c;
}

// A point of the moving chart at a longitude and speed; kAsc and kMc stand for its cusps I and X.
struct At {
  int point;
  double longitude, speed = 0.0;
};
constexpr int kAsc = 100, kMc = 109;

void Put(Chart& c, const At& at) {
  if (at.point >= kAsc) {
    c.cusps[at.point - kAsc].Set(at.longitude);
    return;
  }
  c.points[static_cast<std::size_t>(at.point)].longitude.Set(at.longitude);
  c.points[static_cast<std::size_t>(at.point)].speed = at.speed;
}

LifeEvent Event(std::vector<std::uint16_t> houses, std::vector<std::uint16_t> planets) {
  LifeEvent e;
  e.houses = std::move(houses);
  e.planets = std::move(planets);
  return e;
}

struct ScoreCase {
  const char* name;
  int method;
  std::uint16_t setting;
  std::vector<std::uint16_t> houses, planets;  // of the event
  std::vector<At> moving;                      // the moving chart's positions
  double expected;
  double lifePoint = kAbsent;
};

double Score(const ScoreCase& c) {
  RectScoringSetup setup = TestSetup();
  setup.methods.fill(kMethodOff);
  setup.methods[static_cast<std::size_t>(c.method)] = c.setting;
  const ChartRect natal(NatalChart());
  Chart moving;
  for (const At& at : c.moving) Put(moving, at);
  EventCharts charts{&natal, &moving, &moving, &moving, c.lifePoint};
  return ScoreMethod(c.method, charts, Event(c.houses, c.planets), setup);
}

TEST(EventScorers, HandComputedScorePerMethod) {
  const ScoreCase cases[] = {
      // Progressed Moon exactly on cusp I: a major conjunction, side 1: 8 x 2 x 1.25.
      {"m0_exact_conjunction", 0, 0, {0}, {}, {{kMoon, 10}}, 20},
      {"m0_additional_weight", 0, 1, {0}, {}, {{kMoon, 10}}, 10},
      // Moon at 43: semi-sextile to cusp I (minor, 3 above: side 2) 8 x 0.5 x 2 = 8; conjunction
      // with cusp II 3 past it (side 2) 8 x 2 x 1.25 = 20.
      {"m0_two_houses", 0, 0, {0, 1}, {}, {{kMoon, 43}}, 28},
      // Moon 3 before cusp I: 3 past the conjunction's angle all the same (side 2).
      {"m0_conjunction_before", 0, 0, {0}, {}, {{kMoon, 7}}, 20},
      // Moon 87 past cusp I: 3 short of a square (side 0): 8.
      {"m0_below_the_angle", 0, 0, {0}, {}, {{kMoon, 97}}, 8},
      // Cusp I in Aries: Moon on natal Mars (the ruler, marked): 5 x 2 x 1.25 x 1.3; Pluto (second
      // ruler) 100 away: nothing.
      {"m1_marked_ruler", 1, 0, {0}, {kMars}, {{kMoon, 100}}, 16.25},
      // Cusp II in Taurus: Moon opposite natal Venus, 5 x 2; Taurus has no second ruler.
      {"m1_no_second_ruler", 1, 0, {1}, {}, {{kMoon, 100}}, 10},
      // Moon on natal Pluto, the second ruler of Aries: 2 x 2 x 1.25 x 1.3 (marked).
      {"m1_second_ruler", 1, 0, {0}, {kPluto}, {{kMoon, 200}}, 6.5},
      // Progressed Moon at 100 stands in house index 3.
      {"m2_in_house", 2, 0, {3}, {}, {{kMoon, 100}}, 30},
      {"m2_once_for_two_houses", 2, 0, {3, 4}, {}, {{kMoon, 100}}, 30},
      {"m2_additional", 2, 1, {3}, {}, {{kMoon, 100}}, 15},
      {"m2_other_house", 2, 0, {5}, {}, {{kMoon, 100}}, 0},
      // Progressed Mars (marked, a dignity planet) on cusp I: 0.5 x 2 x 1.5 x 6.25 = 9.375; square
      // to natal Mars (ruler of Aries), exact: 0.5 x 2 x 6.25 = 6.25; 100 from Pluto: nothing.
      {"m3_cusp_and_ruler", 3, 0, {0}, {kMars}, {{kMars, 10}}, 15.625},
      {"m3_additional", 3, 1, {0}, {kMars}, {{kMars, 10}}, 7.8125},
      {"m3_unmarked_planet", 3, 0, {0}, {kPluto}, {{kMars, 10}}, 0},
      // Transiting Sun on cusp I at 1 degree a day (fast, quick): 1.8 x 1.2 x 1.25 x 0.4 x 0.9 =
      // 0.972; Pluto opposite cusp I (slow, marked): 1.8 x 1.2 x 1.3 = 2.808; the Moon is left
      // out.
      {"m4_transits_to_cusp",
       4,
       0,
       {0},
       {kPluto},
       {{kSun, 10, 1.0}, {kPluto, 190, 0.01}, {kMoon, 10, 13.0}},
       3.78},
      // Retrograde Mars is never quick: 1.8 x 1.2 x 1.25 x 0.4.
      {"m4_retrograde", 4, 0, {0}, {}, {{kMars, 10, -0.3}}, 1.08},
      // Sun on natal Mars (ruler): 2 x 1.3 x 1.5 x 0.4 x 0.9 = 1.404; Pluto opposite natal Pluto
      // (second ruler): 1.6 x 1.3 x 1.5 = 3.12.
      {"m5_transits_to_rulers", 5, 0, {0}, {}, {{kSun, 100, 1.0}, {kPluto, 20, 0.01}}, 4.524},
      // Within the transit chart: Sun on Mars (ruler) 1.2 x 1.5 x 0.5 = 0.9; Sun square Pluto
      // (second ruler) 0.8 x 0.5 = 0.4; Mars square Pluto 0.8 x 0.5 = 0.4; Pluto square Mars
      // 1.2 x 0.5 = 0.6; Mars with itself and Pluto with itself are skipped.
      {"m6_within_transit_chart", 6, 0, {0}, {}, {{kSun, 50}, {kMars, 50}, {kPluto, 140}}, 2.3},
      // The Moon for the Sun: on Mars 1.2 x 1.5 x 0.5 x 0.1 = 0.09, square Pluto
      // 0.8 x 0.5 x 0.1 = 0.04; Mars square Pluto 0.4 and Pluto square Mars 0.6 as before.
      {"m6_moon", 6, 0, {0}, {}, {{kMoon, 50}, {kMars, 50}, {kPluto, 140}}, 1.13},
      // Natal Mars is in house index 3. Transiting Pluto on it: 0.5 x 1.3 x 1.3 x 1.3 (index 7 or
      // more) = 1.0985; transiting Sun square it: 0.5 x 1.3 x 0.5 (fast) = 0.325.
      {"m7_one_house", 7, 0, {3}, {}, {{kSun, 10}, {kPluto, 100}}, 1.4235},
      // Natal Pluto (house index 6) has no aspect: the same sum, counted once per house.
      {"m7_counts_per_house", 7, 0, {3, 6}, {}, {{kSun, 10}, {kPluto, 100}}, 2.847},
      // Natal Mars on the directed Ascendant: 16 x 1.3 x 1.5 = 31.2; square the directed MC:
      // 16 x 1.3 = 20.8; no houses needed.
      {"m8_directed_angles", 8, 0, {}, {kMars}, {{kAsc, 100}, {kMc, 10}}, 52},
      {"m8_additional", 8, 1, {}, {kMars}, {{kAsc, 100}, {kMc, 10}}, 26},
      // Directed Mars on cusp I (marked): 3 x 1.3 x 1.5 x 1.3 = 7.605; directed Pluto
      // semi-sextile to it, exact: 3 x 0.3 x 1.3 = 1.17.
      {"m9_directed_to_cusps", 9, 0, {0}, {kMars}, {{kMars, 10}, {kPluto, 40}}, 8.775},
      // Directed Sun 3 past natal Mars (wide, side 2): 3.8 x 1.3 x 1.5 x 0.3 = 2.223; directed
      // Moon opposite natal Pluto: 1.6 x 1.3 x 1.5 = 3.12.
      {"m10_directed_to_rulers", 10, 0, {0}, {}, {{kSun, 103}, {kMoon, 20}}, 5.343},
      // The life point (the last value) on cusp I: 5 x 2 x 1.5; 3 before it (wide, side 2):
      // 5 x 2 x 1.5 x 0.8; 3 short of a square (wide, side 0): 5 x 0.8.
      {"m11_exact", 11, 0, {0}, {}, {}, 15, 10},
      {"m11_wide", 11, 0, {0}, {}, {}, 12, 7},
      {"m11_short_of_square", 11, 0, {0}, {}, {}, 4, 97},
      {"m11_absent", 11, 0, {0}, {}, {}, 0, kAbsent},
      // On natal Mars (ruler of Aries): 10 x 2 x 1.5.
      {"m12_ruler", 12, 0, {0}, {}, {}, 30, 100},
      // Opposite natal Venus (ruler of Taurus, no second): 10 x 2.
      {"m12_no_second_ruler", 12, 0, {1}, {}, {}, 20, 100},
      // On natal Pluto (ruler of Gemini, index 9): 10 x 2 x 1.5 x 1.5.
      {"m12_slow_ruler", 12, 0, {2}, {}, {}, 45, 200},
      // In house index 3: 8; on natal Mars (house 3), a major conjunction: 14 x 1.5.
      {"m13_house_and_planet", 13, 0, {3}, {}, {}, 29, 100},
      {"m13_additional", 13, 1, {3}, {}, {}, 14.5, 100},
      // Semi-sextile (minor) to Mars from house index 4: neither counts.
      {"m13_minor_aspect", 13, 0, {3}, {}, {}, 0, 130},
  };
  for (const ScoreCase& c : cases) EXPECT_NEAR(Score(c), c.expected, 1e-9) << c.name;
}

// A moving chart and life point that give something in every method for an event with houses.
Chart BusyMovingChart() {
  Chart m = NatalChart();
  for (const At& at : {At{kSun, 10, 0.5}, At{kMoon, 100, 0.5}, At{kMars, 130, 0.5},
                       At{kPluto, 280, 0.01}, At{kAsc, 100}, At{kMc, 200}})
    Put(m, at);
  return m;
}

TEST(EventScorers, EventsWithoutHousesOrPlanets) {
  RectScoringSetup setup = TestSetup();
  const ChartRect natal(NatalChart());
  const Chart moving = BusyMovingChart();
  const EventCharts charts{&natal, &moving, &moving, &moving, 100.0};
  const LifeEvent noHouses = Event({}, {kMars, kPluto});
  const LifeEvent noPlanets = Event({0, 1, 2, 3, 6}, {});
  const LifeEvent both = Event({0, 1, 2, 3, 6}, {kMars, kPluto});
  for (int m = 0; m < kRectMethodCount; ++m) {
    const double full = ScoreMethod(m, charts, both, setup);
    EXPECT_GT(full, 0.0) << "method " << m << " finds something in the busy charts";
    const double withoutHouses = m == 8 ? full : 0.0;  // method 8 needs no houses
    EXPECT_EQ(ScoreMethod(m, charts, noHouses, setup), withoutHouses) << "method " << m;
    if (m == 3 || m == 8) {
      EXPECT_EQ(ScoreMethod(m, charts, noPlanets, setup), 0.0) << "method " << m;
    }
  }
}

TEST(EventScorers, NothingWithoutDignityPlanetsSystemsOrMethods) {
  const ChartRect natal(NatalChart());
  const Chart moving = BusyMovingChart();
  const EventCharts charts{&natal, &moving, &moving, &moving, 100.0};
  const LifeEvent event = Event({0, 1, 2, 3, 6}, {kMars, kPluto});

  RectScoringSetup noDignity = TestSetup();
  noDignity.dignityPlanets.clear();
  // Methods that walk the dignity planets score 0; the others do not need them.
  for (int m : {3, 4, 5, 6, 7, 9, 10}) EXPECT_EQ(ScoreMethod(m, charts, event, noDignity), 0.0);
  EXPECT_GT(ScoreMethod(0, charts, event, noDignity), 0.0);

  RectScoringSetup noSystem = TestSetup();
  noSystem.systems[kGroupTransits] = AspectSystem();
  noSystem.aspectIndices[kGroupTransits].clear();
  for (int m = 4; m <= 7; ++m) EXPECT_EQ(ScoreMethod(m, charts, event, noSystem), 0.0) << m;

  RectScoringSetup off = TestSetup();
  off.methods[0] = kMethodOff;
  EXPECT_EQ(ScoreMethod(0, charts, event, off), 0.0);
}

TEST(EventScorers, GroupsFillOneSlotPerMethodOnInMethodOrder) {
  RectScoringSetup setup = TestSetup();
  setup.methods.fill(kMethodOff);
  setup.methods[11] = kMethodMain;
  setup.methods[13] = kMethodAdditional;
  // No derived chart is needed: the life point by signs from Aries, 7 years a sign, stands at
  // 45 degrees (house index 1) 10.5 years after birth.
  Chart trial = NatalChart();
  ASSERT_TRUE(trial.definition.sources[0].moment.date.SetDate(1, 1, 1980).ok());
  ChartRect natal(trial);
  LifeEvent event = Event({1}, {});
  ASSERT_TRUE(event.moment.date.SetDate(2, 7, 1990).ok());  // 10.5 years later
  EXPECT_NEAR(LifePointAtEvent(natal, event, setup), 45.0, 0.01);
  std::vector<double> slots(2, -1.0);
  ASSERT_TRUE(ScoreEvent(natal, event, setup, slots).ok());
  // Method 11: 45 is 5 past cusp II at 40: conjunction, wide, side 2: 5 x 2 x 1.5 x 0.8 = 12.
  // Method 13 (additional): the house counts 4.
  EXPECT_NEAR(slots[0], 12.0, 1e-9);
  EXPECT_NEAR(slots[1], 4.0, 1e-9);

  // An event before the birth: the life point is absent, with no message.
  testing_support::ScriptedPrompter prompts;
  ASSERT_TRUE(event.moment.date.SetDate(1, 1, 1970).ok());
  EXPECT_EQ(LifePointAtEvent(natal, event, setup), kAbsent);
  ASSERT_TRUE(ScoreEvent(natal, event, setup, slots).ok());
  EXPECT_EQ(slots, (std::vector<double>{0.0, 0.0}));
  EXPECT_TRUE(prompts.shown.empty());

  // Slots that cannot hold the scores are refused, nothing written past them.
  std::vector<double> one(1, -1.0);
  int counter = 0;
  EXPECT_EQ(ScoreLifePoint(natal, event, setup, one, counter).ErrorCode(), kErrParameter);
  EXPECT_EQ(counter, 0);
}

TEST(EventScorers, ChecksBeforeARunGiveEachMessageOnce) {
  RectScoringSetup setup = TestSetup();
  const std::array<std::string, kRectGroupCount> names{"P", "T", "D", "L"};
  LifeEventList events;
  ASSERT_TRUE(events.Add("a", 1, 1, 1990, "", "Y").ok());
  ASSERT_TRUE(events.Add("b", 1, 1, 1991, "", "Y").ok());
  Moment birth;
  ASSERT_TRUE(birth.date.SetDate(1, 1, 1980).ok());
  EXPECT_TRUE(CheckBeforeRun(setup, names, events, birth).empty());

  setup.dignityPlanets.clear();
  setup.systems[kGroupDirections] = AspectSystem();
  ASSERT_TRUE(birth.date.SetDate(1, 1, 2000).ok());  // after both events
  const std::vector<Status> found = CheckBeforeRun(setup, names, events, birth);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].MessageNumber(), kMsgNoDignityPlanets);
  EXPECT_EQ(found[1].MessageNumber(), kMsgAspectSystemNotFound);
  EXPECT_EQ(found[1].Where(), "D");
  EXPECT_EQ(found[2].MessageNumber(), kMsgLifePointBirthLater);

  // Events left out and groups switched off are not checked.
  for (int m = 8; m < kRectMethodCount; ++m) setup.methods[static_cast<std::size_t>(m)] = 2;
  EXPECT_EQ(CheckBeforeRun(setup, names, events, birth).size(), 1u);
}

// Birth 15 June 1985 08:00 (+3) at 55 N 37 E; the event 15 June 2015.
TEST(EventScorersRealCharts, OneEventAgainstARealNatalChartAndItsDerivedCharts) {
  RectScoringSetup setup = TestSetup();
  setup.methods[1] = kMethodAdditional;
  setup.methods[6] = kMethodOff;
  ChartRect natal(rect_test::BirthChart());
  ASSERT_TRUE(natal.Compute().ok());
  ASSERT_TRUE(natal.cusps[0].IsSet());
  LifeEvent event;
  ASSERT_TRUE(event.Set("move", 15, 6, 2015, std::string(30, 'Y'), std::string(12, 'Y')).ok());

  // 30 years at 7 years a sign from 0 Aries: 30 / 7 x 30 degrees.
  EXPECT_NEAR(LifePointAtEvent(natal, event, setup), 30.0 / 7.0 * 30.0, 0.01);

  std::vector<double> slots(static_cast<std::size_t>(setup.MethodsOn()), -1.0);
  ASSERT_EQ(slots.size(), 13u);
  ASSERT_TRUE(ScoreEvent(natal, event, setup, slots).ok());

  // The same scores from the derived charts made here: progressed without speeds, transit and
  // directed with them, for the event's date at noon.
  Chart progressed, transit, directed;
  ASSERT_TRUE(
      MakeProgressed(ChartContext::FromCurrentSettings(), progressed, natal, event.moment).ok());
  ASSERT_TRUE(progressed.CalculatePositions(ChartContext::FromCurrentSettings(), 0).ok());
  ASSERT_TRUE(MakeTransit(ChartContext::FromCurrentSettings(), transit, natal, event.moment).ok());
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), transit, 0).ok());
  ASSERT_TRUE(
      MakeDirected(ChartContext::FromCurrentSettings(), directed, natal, event.moment).ok());
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), directed, 0).ok());
  const EventCharts charts{&natal, &progressed, &transit, &directed,
                           LifePointAtEvent(natal, event, setup)};
  double total = 0.0;
  std::size_t slot = 0;
  for (int m = 0; m < kRectMethodCount; ++m) {
    if (!setup.IsOn(m)) continue;
    EXPECT_DOUBLE_EQ(slots[slot], ScoreMethod(m, charts, event, setup)) << "method " << m;
    total += slots[slot++];
  }
  // Every planet and house marked: the real charts hold aspects.
  EXPECT_GT(total, 0.0);
  // A day for a year: the progressed Sun stands 30 days on, about 30 x 0.955 degrees further
  // (the Sun's motion in June and July).
  EXPECT_NEAR(progressed.points[0].longitude.Get() - natal.points[0].longitude.Get(), 28.65, 0.25);
}

}  // namespace
