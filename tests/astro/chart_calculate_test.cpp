// Chart computation: a natal chart against almanac values, progressions, directions, converse
// charts, returns, lunar phases, every kind free of NaN, and stepping in place.
#include "astro/chart/chart_calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/chart/chart.h"
#include "astro/chart/chart_definition.h"
#include "foundation/numbers/angles.h"

namespace {

struct SourceData {
  int day, month, year, hours, minutes;
  int zoneHours;
  char zoneSign;
  int latDeg, latMin;
  char latLetter;
  int lonDeg, lonMin;
  char lonLetter;
};

Source MakeSource(const SourceData& s) {
  Source src;
  EXPECT_TRUE(src.moment.date.SetDate(s.day, s.month, s.year, 'A').ok());
  EXPECT_TRUE(src.moment.time.SetTime(s.hours, s.minutes, 0).ok());
  EXPECT_TRUE(src.zone.SetTime(s.zoneHours, 0, s.zoneSign).ok());
  EXPECT_TRUE(
      src.place.SetPlace(s.latDeg, s.latMin, s.latLetter, s.lonDeg, s.lonMin, s.lonLetter, "", "")
          .ok());
  return src;
}

// 2000-01-01 12:00 UT at Greenwich (51N29 000E00).
const SourceData kJ2000Greenwich{1, 1, 2000, 12, 0, 0, '+', 51, 29, 'N', 0, 0, 'E'};
// A birth in Moscow, 1985-06-15 08:30 at +03:00.
const SourceData kMoscowBirth{15, 6, 1985, 8, 30, 3, '+', 55, 45, 'N', 37, 37, 'E'};

Chart ChartOfKind(std::uint16_t kind, const SourceData& natal, const SourceData& target) {
  Chart c;
  c.definition.sources[0] = MakeSource(natal);
  c.definition.sources[1] = MakeSource(target);
  c.definition.sources[2] = c.definition.sources[1];
  c.definition.SetKind(kind);
  c.definition.keyKind = 0;
  return c;
}

double Lon(const Chart& c, int i) { return c.GetPointLongitude(i).Get(); }

// Degrees from a to b the shorter way, signed.
double Delta(double a, double b) {
  double d = std::fmod(b - a, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

TEST(ChartNatal, SunAndAngleMatchTheAlmanacAtJ2000) {
  Chart c = ChartOfKind(kChartNatal, kJ2000Greenwich, kJ2000Greenwich);
  c.houseSystem = 0;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 0).ok());
  // The Sun's apparent longitude at 2000-01-01 12:00 TT+64 s (reference positions, row F000).
  EXPECT_NEAR(Lon(c, 0), 280.368919, 0.0005);
  // Ascendant and MC by hand: GAST 18.6971381625 h, true obliquity 23.4376767161 (reference
  // instants, row F000), latitude 51.48333: atan2(cos t, -(sin t cos e + tan p sin e)).
  EXPECT_NEAR(c.GetCusp(0).Get(), 24.271375, 0.003);
  EXPECT_NEAR(c.GetCusp(9).Get(), 279.611088, 0.003);
  EXPECT_EQ(c.points[0].status, 'D');
  EXPECT_NEAR(c.points[0].speed, 1.0194, 0.0005);
}

TEST(ChartNatal, PointsThirtyToThirtyThreeFromTheAscendantAtJ2000) {
  // By hand from the same GAST, obliquity and latitude: East point = the ecliptic degree of right
  // ascension ARMC + 90; Vertex = the Ascendant of the colatitude at ARMC + 180. The Sun
  // (280.368919) and the Moon (223.323751, reference row F000) stand by day (the Sun in house X):
  // Fortune = Asc + Moon - Sun, the cross of misfortune Asc + Sun - Moon. With whole-sign houses
  // cusp I is 0 Aries, not the Ascendant: the points must still come from the Ascendant.
  for (int system : {0, 16}) {
    Chart c = ChartOfKind(kChartNatal, kJ2000Greenwich, kJ2000Greenwich);
    c.houseSystem = system;
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 0).ok());
    EXPECT_NEAR(Lon(c, kPointEast), 11.373900, 0.003) << system;
    EXPECT_NEAR(Lon(c, kPointVertex), 188.469811, 0.003) << system;
    EXPECT_NEAR(Lon(c, kPointFortune), 327.226208, 0.003) << system;
    EXPECT_NEAR(Lon(c, kPointMisfortune), 81.316543, 0.003) << system;
    EXPECT_TRUE(c.IsDayChart()) << system;
  }
  // Twelve hours later the Sun is below the horizon: with the day-and-night rule (the default
  // setting) the two formulas change places.
  SourceData midnight = kJ2000Greenwich;
  midnight.day = 2;
  midnight.hours = 0;
  Chart night = ChartOfKind(kChartNatal, midnight, midnight);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), night, 1).ok());
  ASSERT_FALSE(night.IsDayChart());
  const double asc = night.ascendant.Get();
  EXPECT_NEAR(Delta(Lon(night, kPointFortune), asc + Lon(night, 0) - Lon(night, 1)), 0.0, 1e-9);
  EXPECT_NEAR(Delta(Lon(night, kPointMisfortune), asc + Lon(night, 1) - Lon(night, 0)), 0.0, 1e-9);
}

TEST(ChartNatal, BelowThePolarCirclesDayIsTheSunFromDescendantThroughMcToAscendant) {
  // Charts of every latitude within 59 degrees and many moments: day exactly when the Sun lies
  // between the Descendant and the Ascendant through the MC.
  int days = 0, nights = 0;
  for (int n = 0; n < 96; ++n) {
    const int latitude = (n * 37) % 119 - 59;
    const SourceData at{1 + (n * 11) % 28,
                        1 + n % 12,
                        1950 + n,
                        (n * 7) % 24,
                        (n * 13) % 60,
                        0,
                        '+',
                        std::abs(latitude),
                        (n * 17) % 60,
                        latitude < 0 ? 'S' : 'N',
                        (n * 53) % 180,
                        0,
                        n % 2 == 0 ? 'E' : 'W'};
    Chart c = ChartOfKind(kChartNatal, at, at);
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
    const bool before = AngleDifference360(c.ascendant.Get(), Lon(c, 0)) >= 180.0;
    EXPECT_EQ(c.IsDayChart(), before) << n;
    (before ? days : nights) += 1;
  }
  EXPECT_GT(days, 30);
  EXPECT_GT(nights, 30);
}

TEST(ChartNatal, BeyondThePolarCircleDayIsTheSunAboveTheHorizon) {
  // At 75 N on the meridian of Greenwich. At midsummer midnight the Sun (dec +23.44) stands at
  // its lower culmination, 75 + 23.44 - 90 = 8.4 degrees above the horizon: day, though the MC
  // (dec -23.4) is below the horizon and the Sun lies on the far side of the Ascendant. At
  // midwinter noon it culminates 90 - 75 - 23.44 = 8.4 degrees below: night, though it stands on
  // the MC. The Part of Fortune follows: Ascendant + Moon - Sun by day, reversed by night.
  struct Case {
    const char* name;
    SourceData at;
    bool day;
  };
  const Case cases[] = {
      {"midsummer_midnight", {21, 6, 2000, 0, 0, 0, '+', 75, 0, 'N', 0, 0, 'E'}, true},
      {"midwinter_noon", {21, 12, 2000, 12, 0, 0, '+', 75, 0, 'N', 0, 0, 'E'}, false},
  };
  for (const Case& k : cases) {
    Chart c = ChartOfKind(kChartNatal, k.at, k.at);
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), c, 1).ok());
    EXPECT_EQ(c.IsDayChart(), k.day) << k.name;
    const double asc = c.ascendant.Get(), sun = Lon(c, 0), moon = Lon(c, 1);
    const double fortune = k.day ? asc + moon - sun : asc + sun - moon;
    EXPECT_NEAR(Delta(Lon(c, kPointFortune), fortune), 0.0, 1e-9) << k.name;
  }
}

TEST(ChartProgressed, SecondaryMovesTheMoonAboutOneSignInTwoAndAHalfYears) {
  // 30 months of life = 30 / 12 progressed days: the Moon's 12-15 degrees a day give 30-38 deg.
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  SourceData later = kMoscowBirth;
  later.year = 1987;
  later.month = 12;
  Chart progressed = ChartOfKind(kChartProgressed, kMoscowBirth, later);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), progressed, 1).ok());
  const double moved = Delta(Lon(natal, 1), Lon(progressed, 1));
  EXPECT_GT(moved, 28.0);
  EXPECT_LT(moved, 38.0);
  // The Sun moves about a degree a year: 2.5 degrees.
  EXPECT_NEAR(Delta(Lon(natal, 0), Lon(progressed, 0)), 2.45, 0.1);
}

SourceData YearsLater(const SourceData& s, int years) {
  SourceData later = s;
  later.year += years;
  return later;
}

TEST(ChartRates, KeyKindsGiveTheirRates) {
  constexpr double kYear = 365.2422;
  struct Row {
    const char* name;
    std::uint16_t kind, keyKind;
    ProgressionKey key;
    double perDay;  // progressed days or degrees of arc per day of life
  };
  const Row rows[] = {
      {"secondary", kChartProgressed, 0, {}, 1.0 / kYear},
      {"tertiary", kChartProgressed, 1, {}, 1.0 / 27.321661},
      {"minor", kChartProgressed, 2, {}, 27.321661 / kYear},
      {"mean", kChartProgressed, 3, {}, 1.0 / 29.530589},
      {"progression_key_two_days_per_seven_years",
       kChartProgressed,
       4,
       {2, 1, 7, 1},
       2.0 / (7.0 * kYear)},
      {"progression_key_six_hours_per_month",
       kChartProgressed,
       4,
       {6, 2, 1, 2},
       0.25 / (kYear / 12.0)},
      {"symbolic", kChartDirected, 0, {}, 1.0 / kYear},
      {"mean_solar_arc", kChartDirected, 1, {}, 0.98564736 / kYear},
      {"profections", kChartDirected, 4, {}, 30.0 / kYear},
      {"direction_key_one_minute_per_month",
       kChartDirected,
       5,
       {1, 2, 1, 2},
       (1.0 / 60.0) * 12.0 / kYear},
      {"direction_key_ten_seconds_per_day", kChartDirected, 5, {10, 3, 1, 3}, 10.0 / 3600.0},
  };
  for (const Row& r : rows) {
    SuperSource d;
    d.SetKind(r.kind);
    d.keyKind = r.keyKind;
    d.key = r.key;
    const double rate = r.kind == kChartProgressed
                            ? DefineProgressionKoef(d)
                            : DefineDirectionKoef(ChartContext::FromCurrentSettings(), d);
    EXPECT_NEAR(rate, r.perDay, 1e-12) << r.name;
  }
}

TEST(ChartRates, TimeFactorAndLunarDailyArcByKind) {
  SuperSource d;
  d.SetKind(kChartTransit);
  EXPECT_EQ(GetTimeFactor(d), 1.0);
  EXPECT_EQ(GetLunarDailyArc(d), 12.0);
  d.SetKind(kChartProgressed);
  d.keyKind = 0;
  EXPECT_NEAR(GetTimeFactor(d), 1.0 / 365.2422, 1e-12);
  EXPECT_NEAR(GetLunarDailyArc(d), 12.0 / 365.2422, 1e-12);
  d.converse = 1;
  EXPECT_NEAR(GetTimeFactor(d), -1.0 / 365.2422, 1e-12);
  EXPECT_NEAR(GetLunarDailyArc(d), 12.0 / 365.2422, 1e-12);
}

TEST(ChartDirected, SymbolicDirectionsMoveEverythingOneDegreeAYearAndConverseNegates) {
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  // 1985-06-15 to 1995-06-15: 3652 days (two leap days) = 9.998844 degrees.
  const double arc = 3652.0 / 365.2422;
  for (int converse = 0; converse <= 1; ++converse) {
    Chart directed = ChartOfKind(kChartDirected, kMoscowBirth, YearsLater(kMoscowBirth, 10));
    directed.definition.converse = static_cast<std::uint16_t>(converse);
    directed.houseSystem = natal.houseSystem;
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), directed, 0).ok());
    const double expected = converse ? -arc : arc;
    for (int i = 0; i <= kPointVertex; ++i)
      EXPECT_NEAR(Delta(Lon(natal, i), Lon(directed, i)), expected, 1e-6) << "point " << i;
    for (int h = 0; h < 12; ++h)
      EXPECT_NEAR(Delta(natal.GetCusp(h).Get(), directed.GetCusp(h).Get()), expected, 1e-6)
          << "cusp " << h;
    EXPECT_EQ(directed.points[2].status, converse ? 'R' : 'D');
  }
}

TEST(ChartProgressed, ConverseProgressionRunsBackFromBirth) {
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  Chart progressed = ChartOfKind(kChartProgressed, kMoscowBirth, YearsLater(kMoscowBirth, 10));
  progressed.definition.converse = 1;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), progressed, 1).ok());
  // Ten years back = about ten days before birth: the Sun 9.5-9.7 degrees earlier in June.
  EXPECT_NEAR(Delta(Lon(natal, 0), Lon(progressed, 0)), -9.6, 0.15);
  // The progressed moment: 3652 / 365.2422 days before the birth.
  EXPECT_NEAR(UniversalJulianDay(progressed.definition.sources[2]),
              UniversalJulianDay(natal.definition.sources[0]) - 3652.0 / 365.2422, 1.0 / 86400.0);
}

TEST(ChartDirected, TrueSolarArcIsTheProgressedSunsArc) {
  Chart progressed = ChartOfKind(kChartProgressed, kMoscowBirth, YearsLater(kMoscowBirth, 30));
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), progressed, 1).ok());
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  Chart directed = ChartOfKind(kChartDirected, kMoscowBirth, YearsLater(kMoscowBirth, 30));
  directed.definition.keyKind = kDirectionTrueSolarArc;
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), directed, 1).ok());
  // The directed Sun stands where the progressed Sun stands (within the second of rounding).
  EXPECT_NEAR(Delta(Lon(progressed, 0), Lon(directed, 0)), 0.0, 0.001);
  EXPECT_NEAR(Delta(Lon(natal, 4), Lon(directed, 4)), Delta(Lon(natal, 0), Lon(progressed, 0)),
              0.001);
}

TEST(ChartReturn, ReturnMomentPutsTheBodyOnItsNatalLongitude) {
  struct Row {
    const char* name;
    std::uint16_t body;
    double maxDaysAfterStart;
  };
  const Row rows[] = {{"solar", 0, 366.0}, {"lunar", 1, 28.0}};
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  for (const Row& r : rows) {
    SourceData start = kMoscowBirth;
    start.year = 2001;
    start.month = 1;
    Chart ret = ChartOfKind(kChartReturn, kMoscowBirth, start);
    ret.definition.key.arcCount = r.body;
    const double startUt = UniversalJulianDay(ret.definition.sources[1]);
    ASSERT_TRUE(CountMomentOfRevolution(ChartContext::FromCurrentSettings(), ret.definition).ok())
        << r.name;
    ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), ret, 1).ok());
    EXPECT_NEAR(Delta(Lon(natal, r.body), Lon(ret, r.body)), 0.0, 1.0 / 3600.0) << r.name;
    const double found = UniversalJulianDay(ret.definition.sources[1]);
    EXPECT_GE(found, startUt) << r.name;
    EXPECT_LE(found - startUt, r.maxDaysAfterStart) << r.name;
    EXPECT_EQ(ret.definition.sources[1].zone.GetCorrectionHours(), 3.0) << r.name;
  }
}

TEST(ChartLunarPhase, PhaseChartRepeatsTheNatalSunMoonAngle) {
  Chart natal = ChartOfKind(kChartNatal, kMoscowBirth, kMoscowBirth);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal, 1).ok());
  SourceData start = kMoscowBirth;
  start.year = 2010;
  Chart phase = ChartOfKind(kChartLunarPhase, kMoscowBirth, start);
  const double startUt = UniversalJulianDay(phase.definition.sources[1]);
  ASSERT_TRUE(CountMomentOfLunarPhase(ChartContext::FromCurrentSettings(), phase.definition).ok());
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), phase, 1).ok());
  const double natalAngle = Delta(Lon(natal, 0), Lon(natal, 1));
  const double phaseAngle = Delta(Lon(phase, 0), Lon(phase, 1));
  EXPECT_NEAR(Delta(natalAngle, phaseAngle), 0.0, 1.0 / 3600.0);
  const double found = UniversalJulianDay(phase.definition.sources[1]);
  EXPECT_GE(found, startUt);
  EXPECT_LE(found - startUt, 29.6);  // within one synodic month
}

}  // namespace
