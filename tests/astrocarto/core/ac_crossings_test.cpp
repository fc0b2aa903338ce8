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
      // At -179.8 and 0.2 E; the repeated degree past 180 does not give the first one again.
      // Latitude: the flat line's; band: sample s of the first line +- 60'.
      {"wave", Flat(0.0), Wave(), 70, 2, {{-10788, 0, 60, -60}, {12, 0, 60, -60}}},
      // Zero difference at one sample: one crossing; identical lines never change sign.
      {"touch", Flat(0.0), Line([](int s) { return s == 100 ? 0.0 : 5.0; }), 70, 1, {}},
      {"identical", Flat(0.0), Flat(0.0), 70, 0, {}},
      {"parallel", Flat(0.0), Flat(3.0), 70, 0, {}},
      // The crossing at sample 200 lies at 80 N and is skipped; the one at sample 400 (-100 E)
      // at 10 N is kept.
      {"beyond_the_limit", Line([](int s) { return s < 300 ? 80.0 : 10.0; }),
       Line([](int s) { return s < 200 ? 70.0 : s < 400 ? 90.0 : 5.0; }), 70, 1,
       {{-6000, 600, 660, 540}}},
      // The band is cut at the poles.
      {"north_pole", Flat(89.5), Line([](int s) { return s < 400 ? 89.0 : 90.0; }), 90, 1,
       {{-6000, 5370, 5400, 5310}}},
      {"south_pole", Flat(-89.5), Line([](int s) { return s < 400 ? -90.0 : -89.0; }), 90, 1,
       {{-6000, -5370, -5310, -5400}}},
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
  lines.SetLine(0, Wave(), kAbsent, 10.0);     // North node
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
  // MC: sample round(180.1 x 5) = 901 (halves up), latitude (9.00 + 9.01) / 2 = 9.005;
  // IC at -179.9: latitude 0 (sample 0 or the mean 0.005 of samples 0 and 1); then the second
  // body's own line at 50 N with its MC and IC.
  const std::vector<Where> expected = {
      {6, 540, 600, 480}, {-10794, 0, 60, -60}, {6, 3000, 3060, 2940}, {-10794, 3000, 3060, 2940}};
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
  // apart from 0.2 N; the walk stops at the sample pair 1.2 degrees apart, 0.24 N (14').
  // Slopes 0.4 and 0.2: 2.5 x latitude apart, 1 degree from 0.4 N (24').
  for (const Case c : {Case{0.4, -0.4, 14, -14}, Case{0.4, 0.2, 24, -24}}) {
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

// The Sun and the Moon of 2000-01-01 12:00 UT (reference positions).
TEST(Crossings, AnglesOfARealChart) {
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
  int meridian = 0;
  bool wasMeridian = false;
  for (const Crossing& c : lines.Crossings()) {
    // The horizon body (line 0 the Sun, line 1 the Moon) stands on the horizon at the sample of
    // the crossing: rising when nearer the ascendant than the descendant.
    const bool onMeridian = c.secondAngle == 'M' || c.secondAngle == 'I';
    double x = c.longitude / 60.0;
    if (onMeridian) {
      const double mc = lines.Mc(c.secondBody);
      x = c.secondAngle == 'M' ? mc : (mc <= 0 ? mc + 180 : mc - 180);
      ++meridian;
    } else {
      EXPECT_TRUE(c.secondAngle == 'A' || c.secondAngle == 'D');
    }
    EXPECT_FALSE(wasMeridian && !onMeridian);  // horizon pairs come first
    wasMeridian = onMeridian;
    const int sample = RoundToNearest(Wrap360(x + 180.0) * 10.0);
    const double lon = Wrap360(sample / 10.0) - 180.0;
    const double lat = lines.Sample(c.firstBody, sample);
    std::array<double, 4> angles{};
    CalcAngles(2451544.5, 12.0, lon, lat, angles);
    const double lambda = chart.points[c.firstBody].longitude.Get();
    const double toAsc = AngleDifference180(angles[0], lambda);
    const double toDsc = AngleDifference180(angles[2], lambda);
    EXPECT_LT(std::min(toAsc, toDsc), 1e-6) << lon << " " << lat;
    EXPECT_EQ(c.firstAngle, toAsc < toDsc ? 'A' : 'D');
  }
  // Each horizon line meets each of the four meridians (its own too) once within 89 degrees.
  EXPECT_EQ(meridian, 8);
  EXPECT_GT(lines.CrossingCount(), meridian);
}

}  // namespace
