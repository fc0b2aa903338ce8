// Chart services: rise, set and culmination moments against the reference table, the nearest and
// same-date searches, lunar aspects, the luminary search, Arabic parts and the lunar day.
#include "astro/chart/chart_services.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_math.h"
#include "astro/chart/rise_set.h"
#include "astro/ephemeris/bodies.h"
#include "foundation/config/configuration.h"
#include "support/riseset_reference.h"

namespace {

using testing_support::LoadRiseSet;
using testing_support::RiseSetRow;

// A natal chart at a Universal Time (zone +00:00) and a place rounded to whole minutes.
Chart ChartAt(double ut, double latitude, double eastLongitude) {
  Chart c;
  Source& s = c.definition.sources[0];
  EXPECT_TRUE(s.SetUniversalTime(ut).ok());
  const int lat = static_cast<int>(std::lround(std::fabs(latitude) * 60.0));
  const int lon = static_cast<int>(std::lround(std::fabs(eastLongitude) * 60.0));
  EXPECT_TRUE(s.place
                  .SetPlace(lat / 60, lat % 60, latitude < 0 ? 'S' : 'N', lon / 60, lon % 60,
                            eastLongitude < 0 ? 'W' : 'E', "", "")
                  .ok());
  c.definition.SetKind(kChartNatal);
  return c;
}

int SelectorOf(const std::string& event) {
  if (event == "rise") return 0;
  if (event == "set") return 1;
  if (event == "upper_transit") return 2;
  return 3;
}

TEST(ChartRiseSet, SunEventsMatchTheReferenceMoments) {
  // The Sun's longitude on an angle is its centre on the horizon or the meridian without
  // refraction (its latitude stays below a second of arc). The place is held to whole minutes of
  // arc: half a minute of longitude is 2 s of time, of latitude a few seconds more at 50 deg.
  int compared = 0;
  for (const RiseSetRow& r : LoadRiseSet()) {
    if (r.body != "sun" || r.mode == "upper_limb_refraction") continue;
    const Chart c = ChartAt(r.startUt, r.latitude, r.eastLongitude);
    Moment found;
    ASSERT_TRUE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, SelectorOf(r.event),
                                    true, found))
        << r.id << " " << r.event;
    EXPECT_NEAR(found.JulianDay(), r.eventUt, 20.0 / 86400.0) << r.id << " " << r.event;
    ++compared;
  }
  EXPECT_GE(compared, 20);
}

TEST(ChartRiseSet, PrecedingNearestAndSameDateEvents) {
  for (const RiseSetRow& r : LoadRiseSet()) {
    if (r.body != "sun" || r.mode != "centre_geometric" || r.event != "rise") continue;
    // One hour after the reference rising: it is the preceding and the nearest event, and the
    // event of the chart's date when it falls on the same UT date.
    const Chart c = ChartAt(r.eventUt + 1.0 / 24.0, r.latitude, r.eastLongitude);
    Moment before, nearest, onDate;
    ASSERT_TRUE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, 0, false, before))
        << r.id;
    EXPECT_NEAR(before.JulianDay(), r.eventUt, 20.0 / 86400.0) << r.id;
    ASSERT_TRUE(c.FindNearestRiseSet(ChartContext::FromCurrentSettings(), 0, 0, nearest)) << r.id;
    EXPECT_NEAR(nearest.JulianDay(), r.eventUt, 20.0 / 86400.0) << r.id;
    const bool sameDate = std::floor(r.eventUt + 0.5) == std::floor(r.eventUt + 1.0 / 24.0 + 0.5);
    if (sameDate) {
      ASSERT_TRUE(c.FindRiseSetOnDate(ChartContext::FromCurrentSettings(), 0, 0, onDate)) << r.id;
      EXPECT_NEAR(onDate.JulianDay(), r.eventUt, 20.0 / 86400.0) << r.id;
    }
  }
}

TEST(ChartRiseSet, GivenLongitudeOnTheMidheavenRecursEverySiderealDay) {
  const Chart c = ChartAt(2451545.0, 55.75, 37.62);
  Moment first, second;
  ASSERT_TRUE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), -1, 2, true, first, 100.0));
  Chart later = ChartAt(first.JulianDay() + 0.01, 55.75, 37.62);
  ASSERT_TRUE(
      later.FindRiseSetMoment(ChartContext::FromCurrentSettings(), -1, 2, true, second, 100.0));
  // 23 h 56 min 4.1 s of mean solar time (nutation changes it by far less than a second).
  EXPECT_NEAR(second.JulianDay() - first.JulianDay(), 0.99726957, 2.0 / 86400.0);
  EXPECT_FALSE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), -1, 7, true, first,
                                   100.0));  // no such angle
}

TEST(ChartRiseSet, FoundMomentPutsTheBodyOnTheAngleNearThePolarCircle) {
  // Early December at 65 N the Sun rises for four hours and the Ascendant runs fast.
  for (int selector = 0; selector < 4; ++selector) {
    const Chart c = ChartAt(2451879.5, 65.0, 25.0);
    Moment found;
    ASSERT_TRUE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, selector, true, found))
        << selector;
    Chart at = ChartAt(found.JulianDay(), 65.0, 25.0);
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), at, 1).ok());
    const double angle = selector < 2 ? at.ascendant.Get() : at.GetCusp(9).Get();
    const double wanted = at.GetPointLongitude(0).Get() + (selector % 2 == 1 ? 180.0 : 0.0);
    EXPECT_NEAR(std::remainder(angle - wanted, 360.0), 0.0, 0.01) << selector;
    EXPECT_GT(found.JulianDay(), 2451879.5) << selector;
    EXPECT_LT(found.JulianDay(), 2451880.6) << selector;
  }
}

TEST(ChartRiseSet, NoEventInThePolarNight) {
  // 80 N in late December: the Sun (declination -23.4) neither rises nor sets; it still
  // culminates below the horizon.
  const Chart c = ChartAt(2451899.5, 80.0, 15.0);
  Moment found;
  EXPECT_FALSE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, 0, true, found));
  EXPECT_FALSE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, 1, false, found));
  EXPECT_FALSE(c.FindNearestRiseSet(ChartContext::FromCurrentSettings(), 0, 0, found));
  EXPECT_FALSE(c.FindRiseSetOnDate(ChartContext::FromCurrentSettings(), 0, 0, found));
  EXPECT_TRUE(c.FindRiseSetMoment(ChartContext::FromCurrentSettings(), 0, 2, true, found));
}

TEST(ChartSeek, LuminaryReachesTheTargetLongitude) {
  struct Row {
    const char* name;
    int body, forward;
    double target;
  };
  const Row rows[] = {
      {"moon_forward", 1, 1, 90.0}, {"moon_backward", 1, 0, 300.0}, {"sun_forward", 0, 1, 300.0}};
  for (const Row& r : rows) {
    Source s;
    ASSERT_TRUE(s.SetUniversalTime(2451545.0).ok());
    const double start = UniversalJulianDay(s);
    ASSERT_TRUE(SeekLuminaryLongitude(ChartContext::FromCurrentSettings(), s, r.body, -1, r.target,
                                      0.0, r.forward, 1.0))
        << r.name;
    Chart c;
    c.definition.sources[0] = s;
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
    const double lon = c.GetPointLongitude(r.body).Get();
    EXPECT_NEAR(std::remainder(lon - r.target, 360.0), 0.0, 1.0 / 60.0) << r.name;
    const double moved = UniversalJulianDay(s) - start;
    EXPECT_TRUE(r.forward ? moved > 0.0 : moved < 0.0) << r.name;
  }
}

// The searches of a rising and of the Moon's way to a body stop where the body's place does: after
// Chiron's last rising before its known years end the next is not found, the nearest is the last;
// the Moon reaches 5 degrees past Chiron (nine hours ahead) but not 20 (a day and a half).
TEST(ChartServicesKnownYears, SearchesStopAtTheEndOfABodysKnownYears) {
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  double first = 0.0, until = 0.0;
  ASSERT_TRUE(BodyKnownSpan(10, first, until));
  const double end = ToUt(JdTt{until}).days;
  Moment last, next, nearest;
  ASSERT_TRUE(
      ChartAt(end - 2.0 / 86400.0, 55.75, 37.62).FindRiseSetMoment(ctx, 10, 0, false, last));
  const Chart after = ChartAt(last.JulianDay() + 1.0 / 1440.0, 55.75, 37.62);
  EXPECT_FALSE(after.FindRiseSetMoment(ctx, 10, 0, true, next));
  ASSERT_TRUE(after.FindNearestRiseSet(ctx, 10, 0, nearest));
  EXPECT_NEAR(nearest.JulianDay(), last.JulianDay(), 1.0 / 86400.0);
  const double apart = chartmath::BodyAt(ctx, 1, JdUt{end - 1.0}).longitude -
                       chartmath::BodyAt(ctx, 10, JdUt{end - 1.0}).longitude;
  for (const double ahead : {5.0, 20.0}) {  // degrees past Chiron
    Source s;
    ASSERT_TRUE(s.SetUniversalTime(end - 1.0).ok());
    EXPECT_EQ(SeekLuminaryLongitude(ctx, s, 1, 10, kAbsent, apart + ahead, 1, 1.0), ahead < 10.0);
  }
}

TEST(ChartLunarAspect, MoonReachesThePointPlusTheAngle) {
  Chart c = ChartAt(2451545.0, 55.75, 37.62);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
  Moment m = c.definition.sources[0].moment;
  const double target =
      c.FindLunarAspectMoment(ChartContext::FromCurrentSettings(), m, 0, 90.0, 0.0, 1, 1.0);
  ASSERT_FALSE(IsAbsent(target));
  EXPECT_GT(m.JulianDay(), 2451545.0);
  EXPECT_LT(m.JulianDay(), 2451545.0 + 30.0);
  Chart at = ChartAt(m.JulianDay(), 55.75, 37.62);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), at, 1).ok());
  const double sun = at.GetPointLongitude(0).Get(), moon = at.GetPointLongitude(1).Get();
  EXPECT_NEAR(std::remainder(moon - sun - 90.0, 360.0), 0.0, 1.0 / 60.0);
  EXPECT_NEAR(std::remainder(target - moon, 360.0), 0.0, 1.0 / 60.0);
}

TEST(ChartArabicPart, OperatorsAndTheDayNightRule) {
  Chart c;
  c.points[0].longitude.Set(100.0);  // Sun
  c.points[1].longitude.Set(250.0);  // Moon
  c.points[4].longitude.Set(10.0);   // Mars
  // Sign rulers of the default settings: Aries Mars, Taurus Venus.
  // Ascendant 0 Aries: houses from 0, the Sun at 100 below the horizon (house 4): night.
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(30.0 * h);
  struct Row {
    const char* name;
    int a, b, c, op1, op2;
    bool rule;
    double expected;
  };
  const Row rows[] = {
      {"fortune_by_day_rule_off", 30, 1, 0, 0, 1, false, 150.0},  // 0 + 250 - 100
      {"add_by_day_at_night", 30, 1, 0, 2, 3, true, 210.0},       // 0 - 250 + 100
      {"reverse_without_rule", 30, 1, 0, 3, 2, false, 210.0},     // by day: 0 - 250 + 100
      {"cusp_operand", 33, 4, 0, 0, 0, false, 200.0},             // 90 + 10 + 100
      {"ruler_of_house_one_mars", 42, 0, 0, 0, 0, false, 210.0},  // 10 + 100 + 100
      {"ruler_of_house_two_venus_absent", 43, 0, 0, 0, 0, false, kAbsent},
      {"absent_point", 30, 5, 0, 0, 1, false, kAbsent},
      {"unknown_code", 30, 60, 0, 0, 1, false, kAbsent},
      {"unknown_operator", 30, 1, 0, 4, 1, false, kAbsent},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Chart::CalculateArabicPart(ChartContext::FromCurrentSettings(), c, r.a, r.b, r.c,
                                         r.op1, r.op2, r.rule),
              r.expected)
        << r.name;
  EXPECT_FALSE(c.IsDayChart());
  c.points[0].longitude.Set(200.0);  // house 7: above the horizon
  EXPECT_TRUE(c.IsDayChart());
}

TEST(ChartLunarDay, CountsMoonrisesSinceTheNewMoon) {
  // New moon 2000-01-06 18:14 UT. At Moscow the Moon rose on 7 January near 09:50 and
  // 8 January near 10:10 local (+03:00) time: on 8 January at 12:00 UT it is the third lunar
  // day; just after the new moon (6 January 20:00 UT) it is the first.
  EXPECT_EQ(ChartAt(2451552.0, 55.75, 37.62).GetLunarDay(ChartContext::FromCurrentSettings()), 3);
  EXPECT_EQ(ChartAt(2451550.33, 55.75, 37.62).GetLunarDay(ChartContext::FromCurrentSettings()), 1);
  // Ten minutes either side of the new moon: the first day starts there, after the 29th or 30th
  // (a synodic month of 29.53 days holds one moonrise fewer than days: 28 or 29 since the new
  // moon of 7 December 22:32 UT).
  const int last = ChartAt(2451550.2597 - 10.0 / 1440, 55.75, 37.62)
                       .GetLunarDay(ChartContext::FromCurrentSettings());
  EXPECT_GE(last, 29);
  EXPECT_LE(last, 30);
  EXPECT_EQ(ChartAt(2451550.2597 + 10.0 / 1440, 55.75, 37.62)
                .GetLunarDay(ChartContext::FromCurrentSettings()),
            1);
  EXPECT_EQ(ChartAt(2451552.0, 67.0, 37.62).GetLunarDay(ChartContext::FromCurrentSettings()),
            -1);  // polar latitude
}

// The lunar day as the moonrises counted one by one from the new moon give it: 1, and one more
// per moonrise (the Moon's degree on the Ascendant) at or before the chart's moment.
int LunarDayCountedRiseByRise(const ChartContext& ctx, const Chart& chart) {
  const Source& s = chart.definition.sources[0];
  const double now = chartmath::UtOf(s).days;
  const auto elongation = [&ctx](double t) {
    return chartmath::Wrap180(chartmath::BodyAt(ctx, 1, JdUt{t}).longitude -
                              chartmath::BodyAt(ctx, 0, JdUt{t}).longitude);
  };
  const std::optional<double> newMoon =
      chartmath::FindUpwardZero(elongation, now + 1.0 / 86400, -31.0, 1.0, 1.0 / 86400);
  if (!newMoon) return -1;
  int day = 1;
  double t = *newMoon;
  for (int i = 0; i < 32; ++i) {
    const std::optional<double> rise = FindAnglePassage(ctx, 1, 0, 0.0, s.place, t, 2.0).ut;
    if (!rise || *rise > now) break;
    ++day;
    t = *rise;
  }
  return day;
}

// The lunar day from the first and the last moonrise alone agrees with the count rise by rise,
// at every phase, on the equator, at middle latitudes and just below the polar circle (where a
// moonrise may follow the one before by a few hours or by a day and a half), north and south,
// inside the tables' years and outside them.
TEST(ChartLunarDay, CountFromTwoMoonrisesAgreesWithTheCountRiseByRise) {
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  const double latitudes[] = {0.0, 35.0, 55.75, 62.0, 65.5, 66.4, -40.0, -66.4};
  const double starts[] = {2451550.26, 2287184.5};  // a new moon of 2000; 1550
  for (const double start : starts) {
    for (const double latitude : latitudes) {
      for (double offset = 0.4; offset < 30.0; offset += 4.7) {
        const Chart c = ChartAt(start + offset, latitude, 37.62);
        EXPECT_EQ(c.GetLunarDay(ctx), LunarDayCountedRiseByRise(ctx, c))
            << "latitude " << latitude << " at " << std::fixed << start + offset;
      }
    }
  }
}

TEST(ChartKarmic, ShareOfKarmicAspectsAmongTheBodies) {
  Aspectarium systems;
  systems.LoadAll(testing_support::SourceDir() / "data");
  ASSERT_EQ(systems.HasSystem("VELM"), 1);
  const ChartContext ctx(Configuration(), systems);
  Chart c;
  for (int i = 0; i < 10; ++i) c.points[i].longitude.Clear();
  // The default system: quincunx karmic, square tense, sextile harmonious.
  c.points[0].longitude.Set(0.0);    // Sun
  c.points[1].longitude.Set(150.0);  // Moon: quincunx to the Sun
  c.points[2].longitude.Set(90.0);   // Mercury: square to the Sun, sextile to the Moon
  c.definition.SetAspectSystemName("VELM");
  EXPECT_EQ(c.GetKarmicCoefficient(ctx), 33);  // 1 of 3
  // Venus: square to the Sun, trine to the Moon, opposite Mercury: 1 karmic of 6, 16.7 per cent.
  c.points[3].longitude.Set(270.0);
  EXPECT_EQ(c.GetKarmicCoefficient(ctx), 17);
  // The Sun and the Moon 100 degrees apart (10 from the square, beyond its widest orb) alone.
  c.points[1].longitude.Set(100.0);
  c.points[2].longitude.Clear();
  c.points[3].longitude.Clear();
  EXPECT_EQ(c.GetKarmicCoefficient(ctx), 0);
  // The context holds its own copy of the systems: emptying the loaded one changes nothing in it.
  c.points[1].longitude.Set(150.0);
  systems.FindSystem("VELM")->SetAspects({});
  EXPECT_EQ(c.GetKarmicCoefficient(ctx), 100);
  EXPECT_EQ(c.GetKarmicCoefficient(ChartContext(Configuration(), systems)), 0);
}

TEST(ChartAspectSystemName, KeptWhenLoadedElseTheSettingsName) {
  Aspectarium systems;
  systems.LoadAll(testing_support::SourceDir() / "data");
  Configuration config;
  ASSERT_TRUE(config.SetSystemName(kChartTransit, "TRANS"));
  const ChartContext ctx(config, systems);
  SuperSource d;
  d.SetKind(kChartTransit);
  d.SetAspectSystemName("velm");
  CheckAspectSystemName(ctx, d);
  EXPECT_EQ(d.AspectSystemName(), "velm");
  d.SetAspectSystemName("NOSUCH");
  CheckAspectSystemName(ctx, d);
  EXPECT_EQ(d.AspectSystemName(), "TRANS");
}

}  // namespace
