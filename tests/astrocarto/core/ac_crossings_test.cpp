#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/ephemeris/coordinates.h"
#include "astrocarto/core/ac_lines.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"

namespace {

Configuration Shown(std::initializer_list<int> shown) {
  Configuration config;
  for (int i = 0; i < ACLines::kPointFlagCount; ++i)
    EXPECT_TRUE(config.SetObjectFlags(i, false, false, false, 1));
  for (int i : shown) EXPECT_TRUE(config.SetObjectFlags(i, true, false, false, 1));
  return config;
}

AstroCartPage Settings(int orb, int limit, int band) {
  AstroCartPage page;
  page.crossingOrb = orb;
  page.crossingLatitudeLimit = limit;
  page.crossingBand = band;
  return page;
}

// 5 samples per degree: sample s at longitude s / 5 - 180, 1805 samples.
constexpr int kDensity = 5;
constexpr int kSamples = 361 * kDensity;

std::vector<double> Line(const std::function<double(int s)>& f) {
  std::vector<double> v;
  for (int s = 0; s < kSamples; ++s) v.push_back(f(s));
  return v;
}
double Lon(int s) { return s / 5.0 - 180.0; }
// Crosses zero between -180 and -179.8, and between 0 and 0.2 degrees.
std::vector<double> Wave() {
  return Line([](int s) { return 10.0 * std::sin((Lon(s) + 179.9) * M_PI / 180.0); });
}
std::vector<double> Flat(double lat) {
  return Line([lat](int) { return lat; });
}

struct Where {
  int longitude, latitude, upper, lower;
  friend bool operator==(const Where&, const Where&) = default;
};
std::vector<Where> Places(const ACLines& lines) {
  std::vector<Where> out;
  for (const Crossing& c : lines.Crossings())
    out.push_back({c.longitude, c.latitude, c.upper, c.lower});
  return out;
}

// The Sun's line `first` and the Moon's line `second`, crossed within one chart.
ACLines SunAndMoon(const std::vector<double>& first, const std::vector<double>& second,
                   const AstroCartPage& page) {
  ACLines lines;
  lines.Init(2, false, kDensity, Shown({0, 1}));
  lines.SetLine(0, first, kAbsent, 10.0);
  lines.SetLine(1, second, kAbsent, 20.0);
  lines.FindCrossings(ACLines::kFirstChart, page);
  return lines;
}

TEST(Crossings, WhereTwoHorizonLinesCross) {
  struct Case {
    const char* name;
    std::vector<double> first, second;
    int limit;
    std::size_t count;
    std::vector<Where> expected;  // not checked when empty
  };
  const Case cases[] = {
      // The wave is zero at -179.9 and 0.1 E, half way between two samples either time; the
      // repeated degree past 180 does not give the first one again. Latitude 0, band +- 60'
      // (3600"). Arc-seconds.
      {"wave", Flat(0.0), Wave(), 70, 2, {{-647640, 0, 3600, -3600}, {360, 0, 3600, -3600}}},
      // Zero difference at one sample: one crossing; identical lines never change sign.
      {"touch", Flat(0.0), Line([](int s) { return s == 100 ? 0.0 : 5.0; }), 70, 1, {}},
      {"identical", Flat(0.0), Flat(0.0), 70, 0, {}},
      {"parallel", Flat(0.0), Flat(3.0), 70, 0, {}},
      // The crossing between samples 199 and 200 lies at 80 N and is skipped. Between samples
      // 399 (difference -80) and 400 (+5) the lines, straight between samples, meet 80/85 of
      // the way: at sample 399.941176, -100.011765 E (-360042.35"), 10 N.
      {"beyond_the_limit",
       Line([](int s) { return s < 300 ? 80.0 : 10.0; }),
       Line([](int s) { return s < 200   ? 70.0
                               : s < 400 ? 90.0
                                         : 5.0; }),
       70,
       1,
       {{-360042, 36000, 39600, 32400}}},
      // Half way between samples 399 and 400 (-100.1 E); the band is cut at the poles.
      {"north_pole",
       Flat(89.5),
       Line([](int s) { return s < 400 ? 89.0 : 90.0; }),
       90,
       1,
       {{-360360, 322200, 324000, 318600}}},
      {"south_pole",
       Flat(-89.5),
       Line([](int s) { return s < 400 ? -90.0 : -89.0; }),
       90,
       1,
       {{-360360, -322200, -318600, -324000}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ACLines lines = SunAndMoon(c.first, c.second, Settings(60, c.limit, 0));
    EXPECT_EQ(lines.Crossings().size(), c.count);
    if (!c.expected.empty()) {
      EXPECT_EQ(Places(lines), c.expected);
    }
  }
}

TEST(Crossings, NodeLinesCrossOnlyBetweenCharts) {
  ACLines lines;
  lines.Init(0, true, kDensity, Shown({}));
  lines.SetLine(0, Wave(), kAbsent, 10.0);      // North node
  lines.SetLine(1, Flat(0.0), kAbsent, 190.0);  // South node
  lines.SetLine(2, Wave(), kAbsent, 10.0);
  lines.SetLine(3, Flat(0.0), kAbsent, 190.0);
  lines.FindCrossings(ACLines::kSecondChart, Settings(60, 70, 0));
  EXPECT_EQ(lines.CrossingCount(), 0);  // no second chart yet
  lines.SetTwoCharts(true);
  for (const int mode : {ACLines::kFirstChart, ACLines::kSecondChart}) {
    lines.FindCrossings(mode, Settings(60, 70, 0));
    EXPECT_EQ(lines.CrossingCount(), 0) << mode;
  }
  lines.FindCrossings(ACLines::kBetweenCharts, Settings(60, 70, 0));
  // North with the other South and South with the other North, twice round each; the
  // identical lines of the same node never change sign.
  ASSERT_EQ(lines.CrossingCount(), 4);
  EXPECT_EQ(lines.Crossings()[0].firstBody, 16);
  EXPECT_EQ(lines.Crossings()[0].secondBody, 17);
  EXPECT_EQ(lines.Crossings()[2].firstBody, 17);
  EXPECT_EQ(lines.Crossings()[2].secondBody, 16);
  lines.DeleteLastCrossing();
  EXPECT_EQ(lines.CrossingCount(), 3);
}

TEST(Crossings, HorizonWithMeridian) {
  ACLines lines;
  lines.Init(2, false, kDensity, Shown({2, 3}));
  lines.SetLine(0, Line([](int s) { return s / 100.0; }), kAbsent, 10.0);
  lines.SetLine(1, Flat(50.0), 0.1, 20.0);  // MC at 0.1 E, IC at -179.9 E
  lines.FindCrossings(ACLines::kFirstChart, Settings(60, 70, 0));
  // The first line at the MC's own longitude 0.1 E, half way between samples 900 (9.00 N) and
  // 901 (9.01 N): 9.005 N = 32418"; at the IC, -179.9 E, half way between samples 0 and 1:
  // 0.005 N = 18". Then the second body's own line at 50 N with its MC and IC.
  const std::vector<Where> expected = {{360, 32418, 36018, 28818},
                                       {-647640, 18, 3618, -3582},
                                       {360, 180000, 183600, 176400},
                                       {-647640, 180000, 183600, 176400}};
  EXPECT_EQ(Places(lines), expected);
  const std::vector<char> kinds = {'M', 'I', 'M', 'I'};
  const std::vector<int> first = {2, 2, 3, 3};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(lines.Crossings()[i].secondAngle, kinds[i]);
    EXPECT_EQ(lines.Crossings()[i].firstBody, first[i]);
    EXPECT_EQ(lines.Crossings()[i].secondBody, 3);
  }
  // Beyond the limit: none.
  lines.FindCrossings(ACLines::kFirstChart, Settings(60, 40, 0));
  EXPECT_EQ(lines.CrossingCount(), 2);
}

TEST(Crossings, BandWalkedAlongBothLines) {
  struct Case {
    double slope0, slope1;
    int upper, lower;
  };
  // Straight lines through 0 E at 0 N. Opposite slopes +-0.4: the lines are 1 degree (the orb)
  // apart from 0.2 N; the walk stops at the sample pair 1.2 degrees apart, 0.24 N (864").
  // Slopes 0.4 and 0.2: 2.5 x latitude apart, 1 degree from 0.4 N (1440").
  for (const Case c : {Case{0.4, -0.4, 864, -864}, Case{0.4, 0.2, 1440, -1440}}) {
    SCOPED_TRACE(c.slope1);
    const ACLines lines =
        SunAndMoon(Line([&c](int s) { return c.slope0 * (s - 900) / 5.0; }),
                   Line([&c](int s) { return c.slope1 * (s - 900) / 5.0; }), Settings(60, 90, 1));
    ASSERT_GE(lines.CrossingCount(), 1);
    const Crossing& x = lines.Crossings()[0];
    EXPECT_EQ(x.longitude, 0);
    EXPECT_EQ(x.upper, c.upper);
    EXPECT_EQ(x.lower, c.lower);
  }
}

// The Sun and the Moon of 2000-01-01 12:00 UT (reference positions). At the place a crossing
// gives (whole arc-seconds) both bodies are on their angles: the horizon body's degree at
// altitude 0, rising east of the meridian ('A') or setting west of it ('D'); the other one too,
// or at hour angle 0 ('M') or 180 ('I'). Worked out here from the reference sidereal time and
// obliquity (instants F000), to 2".
TEST(Crossings, BothBodiesAreOnTheirAnglesAtTheCrossing) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  ASSERT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
  ASSERT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  chart.points[0].longitude.Set(280.368918699);
  chart.points[1].longitude.Set(223.323751219);
  ACLines lines;
  lines.Init(2, false, 10, Shown({0, 1}));
  platform::NullProgress progress;
  ASSERT_TRUE(lines.Calculate(chart, false, 0, progress));
  lines.FindCrossings(ACLines::kFirstChart, Settings(60, 89, 0));
  constexpr double kArcsec = 1.0 / 3600.0, kRad = M_PI / 180.0;
  constexpr double kSidereal = 18.6971381625 * 15.0, kObliquity = 23.4376767161 * kRad;
  int meridian = 0;
  bool wasMeridian = false;
  for (const Crossing& c : lines.Crossings()) {
    const double lon = c.longitude * kArcsec, lat = c.latitude * kArcsec * kRad;
    SCOPED_TRACE(testing::Message() << lon << " " << c.latitude * kArcsec << " " << c.secondAngle);
    // Hour angle and altitude of a body's ecliptic degree at the place, degrees.
    const auto place = [&](int body, double& hourAngle, double& altitude) {
      const double l = chart.points[static_cast<std::size_t>(body)].longitude.Get() * kRad;
      const double ra = std::atan2(std::sin(l) * std::cos(kObliquity), std::cos(l));
      const double dec = std::asin(std::sin(kObliquity) * std::sin(l));
      const double h = (kSidereal + lon) * kRad - ra;
      hourAngle = std::remainder(h / kRad, 360.0);
      altitude =
          std::asin(std::sin(lat) * std::sin(dec) + std::cos(lat) * std::cos(dec) * std::cos(h)) /
          kRad;
    };
    const auto check = [&](int body, char angle) {
      double hourAngle = 0.0, altitude = 0.0;
      place(body, hourAngle, altitude);
      if (angle == 'A' || angle == 'D') {
        EXPECT_LT(std::fabs(altitude), 2 * kArcsec) << body;
        // Rising or setting, unless the degree grazes the horizon on the meridian, or the
        // place lies where the whole ecliptic can lie in the horizon (90 degrees less the
        // obliquity), where either word fits.
        const bool grazing = std::fabs(std::remainder(hourAngle, 180.0)) < 1.0;
        const bool eclipticInHorizon = std::fabs(std::fabs(lat) - (M_PI / 2 - kObliquity)) < 1e-3;
        if (!grazing && !eclipticInHorizon) {
          EXPECT_EQ(hourAngle < 0.0, angle == 'A') << body;
        }
      } else {
        EXPECT_LT(std::fabs(std::remainder(hourAngle - (angle == 'M' ? 0.0 : 180.0), 360.0)),
                  2 * kArcsec)
            << body;
      }
    };
    const bool onMeridian = c.secondAngle == 'M' || c.secondAngle == 'I';
    meridian += onMeridian;
    EXPECT_FALSE(wasMeridian && !onMeridian);  // horizon pairs come first
    wasMeridian = onMeridian;
    check(c.firstBody, c.firstAngle);
    check(c.secondBody, c.secondAngle);
    EXPECT_EQ(c.upper - c.latitude, 3600);
    EXPECT_EQ(c.latitude - c.lower, 3600);
  }
  // Each horizon line meets each of the four meridians (its own too) once within 89 degrees; the
  // two horizon lines meet only where the ecliptic lies in the horizon, which is no crossing.
  EXPECT_EQ(meridian, 8);
  EXPECT_EQ(lines.CrossingCount(), meridian);
}

// Two lines of ecliptic degrees of one moment meet only where the whole ecliptic lies in the
// horizon (a horizon through two points of the ecliptic is the ecliptic): at RAMC 270, 66.5623 N,
// and RAMC 90, 66.5623 S, every line passes, so no pair of bodies crosses there. Lines with the
// bodies' latitudes cross at the poles of the great circle through both bodies, and lines of two
// moments cross where they cross: those are kept. The Sun and the Moon of 2000-01-01 12:00 UT;
// the poles of the circle through their reference places are at RA 105.5999, dec -66.9088 (and
// opposite), on the Earth 174.8572 W 66.9088 S and 5.1428 E 66.9088 N.
TEST(Crossings, TheEclipticInTheHorizonIsNoCrossing) {
  constexpr double kSidereal = 18.6971381625 * 15.0, kEclipticPole = 90.0 - 23.4376767161;
  struct Case {
    const char* name;
    bool withLatitude;
    double secondChartHour;  // UT of the second chart on the same day; < 0 for none
    int mode;
    int horizonCrossings;                       // -1: some
    std::vector<std::array<double, 2>> places;  // longitude, latitude; not checked when empty
  };
  const Case cases[] = {
      {"ecliptic", false, -1.0, ACLines::kFirstChart, 0, {}},
      {"ecliptic_same_moment_twice", false, 12.0, ACLines::kBetweenCharts, 0, {}},
      {"ecliptic_two_moments", false, 18.0, ACLines::kBetweenCharts, -1, {}},
      {"with_latitude",
       true,
       -1.0,
       ACLines::kFirstChart,
       2,
       {{-174.8572, -66.9088}, {5.1428, 66.9088}}},
  };
  const auto makeChart = [](double hour) {
    Chart chart;
    Source& s = chart.definition.sources[0];
    EXPECT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
    EXPECT_TRUE(s.moment.time.SetTime(static_cast<int>(hour), 0, 0).ok());
    chart.points[0].longitude.Set(280.368918699);
    chart.points[0].latitude = 0.000227411;
    chart.points[1].longitude.Set(223.323751219);
    chart.points[1].latitude = 5.170740644;
    return chart;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ACLines lines;
    lines.Init(2, false, 10, Shown({0, 1}));
    platform::NullProgress progress;
    ASSERT_TRUE(lines.Calculate(makeChart(12.0), c.withLatitude, 0, progress));
    if (c.secondChartHour >= 0.0) {
      ASSERT_TRUE(lines.Calculate(makeChart(c.secondChartHour), c.withLatitude, 1, progress));
    }
    lines.FindCrossings(c.mode, Settings(60, 89, 0));
    std::vector<std::array<double, 2>> places;
    for (const Crossing& x : lines.Crossings()) {
      if (x.secondAngle == 'M' || x.secondAngle == 'I') continue;
      const double lon = x.longitude / 3600.0, lat = x.latitude / 3600.0;
      places.push_back({lon, lat});
      // Not at the first chart's ecliptic-in-horizon places.
      const double offNorth = std::remainder(lon - (270.0 - kSidereal), 360.0);
      const double offSouth = std::remainder(lon - (90.0 - kSidereal), 360.0);
      EXPECT_FALSE(std::fabs(offNorth) < 0.01 && std::fabs(lat - kEclipticPole) < 0.01) << lon;
      EXPECT_FALSE(std::fabs(offSouth) < 0.01 && std::fabs(lat + kEclipticPole) < 0.01) << lon;
    }
    if (c.horizonCrossings < 0) {
      EXPECT_GT(places.size(), 0U);
    } else {
      EXPECT_EQ(places.size(), static_cast<std::size_t>(c.horizonCrossings));
    }
    for (std::size_t k = 0; k < c.places.size() && k < places.size(); ++k) {
      EXPECT_NEAR(places[k][0], c.places[k][0], 10.0 / 3600.0) << k;
      EXPECT_NEAR(places[k][1], c.places[k][1], 10.0 / 3600.0) << k;
    }
  }
}

}  // namespace

// Charts of many moments 1900-2100 with ten bodies spread over the ecliptic, latitudes within 8
// degrees, and the letter the nearer of the ecliptic Ascendant and Descendant gives at a place
// (the rule that holds below the polar circles).
Chart SpreadChart(int n) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(1 + (n * 7) % 28, 1 + n % 12, 1900 + n * 9, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime((n * 5) % 24, (n * 13) % 60, 0).ok());
  for (int b = 0; b < 10; ++b) {
    chart.points[static_cast<std::size_t>(b)].longitude.Set(std::fmod(37.0 * b + 61.0 * n, 360.0));
    chart.points[static_cast<std::size_t>(b)].latitude = 8.0 * std::sin(1.7 * b + n);
  }
  return chart;
}
char NearerAngle(const LineMoment& m, double lambda, double lon, double lat) {
  const std::array<double, 4> angles = AnglesFromRamc(m.siderealDeg + lon, lat, m.obliquityDeg);
  return AngleDifference180(lambda, angles[0]) < AngleDifference180(lambda, angles[2]) ? 'A' : 'D';
}

TEST(Crossings, BelowThePolarCirclesTheLetterIsTheNearerAngle) {
  // There the part of the ecliptic above the horizon runs from the Descendant through the MC to
  // the Ascendant, so the hour angle and the nearer angle agree; lines with the bodies' latitudes
  // (declinations up to 31.4 degrees) graze the horizon from 58.6 degrees on.
  int compared = 0;
  for (int n = 0; n < 24; ++n) {
    const Chart chart = SpreadChart(n);
    const LineMoment m = ChartLineMoment(chart);
    for (const bool withLatitude : {false, true}) {
      ACLines lines;
      lines.Init(1, false, 10, Shown({}));
      platform::NullProgress progress;
      ASSERT_TRUE(lines.Calculate(chart, withLatitude, 0, progress));
      lines.FindCrossings(ACLines::kFirstChart, Settings(60, withLatitude ? 58 : 60, 0));
      for (const Crossing& c : lines.Crossings()) {
        const double lon = c.longitude / 3600.0, lat = c.latitude / 3600.0;
        const auto lambda = [&](int body) {
          return chart.points[static_cast<std::size_t>(body)].longitude.Get();
        };
        EXPECT_EQ(c.firstAngle, NearerAngle(m, lambda(c.firstBody), lon, lat))
            << n << " " << withLatitude << " " << lon << " " << lat;
        if (c.secondAngle == 'A' || c.secondAngle == 'D') {
          EXPECT_EQ(c.secondAngle, NearerAngle(m, lambda(c.secondBody), lon, lat))
              << n << " " << withLatitude << " " << lon << " " << lat;
        }
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST(Crossings, BeyondThePolarCircleASettingBodyIsSetting) {
  // 2000-01-01 12:00 UT (sidereal time 280.43). The Sun at 28 Virgo (RA 178.16, dec +0.80) meets
  // the MC line of a Moon at 0.5 Capricorn (RA 270.55) at 71.5 N, with hour angle +92.4: it sets.
  // There the MC (dec -23.4) is 5 degrees below the horizon, and the ecliptic Ascendant is 28
  // Virgo itself, so the nearer angle called it rising.
  Chart chart;
  Source& s = chart.definition.sources[0];
  ASSERT_TRUE(s.moment.date.SetDate(1, 1, 2000, 'A').ok());
  ASSERT_TRUE(s.moment.time.SetTime(12, 0, 0).ok());
  chart.points[0].longitude.Set(178.0);
  chart.points[1].longitude.Set(270.5);
  ACLines lines;
  lines.Init(2, false, 10, Shown({0, 1}));
  platform::NullProgress progress;
  ASSERT_TRUE(lines.Calculate(chart, false, 0, progress));
  lines.FindCrossings(ACLines::kFirstChart, Settings(60, 80, 0));
  int found = 0;
  for (const Crossing& x : lines.Crossings()) {
    if (x.firstBody != 0 || x.secondBody != 1 || x.secondAngle != 'M') continue;
    ++found;
    EXPECT_NEAR(x.latitude / 3600.0, 71.55, 0.05);
    EXPECT_EQ(x.firstAngle, 'D');
  }
  EXPECT_EQ(found, 1);
}
