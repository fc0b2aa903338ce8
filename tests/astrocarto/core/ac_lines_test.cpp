#include "astrocarto/core/ac_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/ephemeris/coordinates.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"
#include "platform/core/recording_dc.h"
#include "support/test_support.h"

namespace {

// 2000-01-01 12:00 UT: apparent sidereal time 18.6971381625 h, true obliquity 23.4376767161
// (reference instants, F000).
constexpr double kJd2000 = 2451544.5, kUt2000 = 12.0;

using Progress = testing_support::RecordingProgress;

Chart ChartAt(int day, int month, int year, int hour, int minute, int zoneHours, char zoneSign) {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hour, minute, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(zoneHours, 0, zoneSign).ok());
  return chart;
}

// The Sun and the Moon of 2000-01-01 12:00 (reference positions, F000).
Chart Chart2000() {
  Chart chart = ChartAt(1, 1, 2000, 12, 0, 0, '+');
  chart.points[0].longitude.Set(280.368918699);
  chart.points[0].latitude = 0.000227411;
  chart.points[1].longitude.Set(223.323751219);
  chart.points[1].latitude = 5.170740644;
  return chart;
}

TEST(RisingLatitude, EclipticDegreeMatchesHandValues) {
  struct Case {
    double longitude, degree, latitude;
  };
  // atan(-(cos RAMC + cos e sin RAMC tan l) / (sin e tan l)), RAMC = 280.4570724375 + longitude.
  const Case cases[] = {
      {0.0, 30.0, 55.918710},    {37.6, 100.0, 61.883223}, {-120.0, 250.0, 5.184380},
      {150.0, 340.0, 7.792123},  {10.0, 0.0, -89.836067},  // tan 0: d = 0.001
      {-60.0, 180.0, 89.924699},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degree);
    EXPECT_NEAR(CalcRisingLatitude(kJd2000, kUt2000, c.longitude, c.degree), c.latitude, 1e-3);
  }
  EXPECT_EQ(CalcRisingLatitude(kJd2000, kUt2000, 0.0, kAbsent), kAbsent);
  EXPECT_EQ(FindRisingLatitude(kJd2000, kUt2000, 0.0, 0.0, kAbsent), kAbsent);
}

TEST(LineMoment, UniversalTimeKeepsTheDay) {
  struct Case {
    int day, month, year, hour, zone;
    char sign;
    double siderealHours;  // reference apparent sidereal time of the UT moment
  };
  const Case cases[] = {
      {1, 1, 2000, 15, 3, '+', 18.6971381625},  // 12:00 UT
      {1, 1, 2000, 12, 0, '+', 18.6971381625},
      {1, 7, 1845, 20, 4, '-', 18.6594414776},  // 24:00 UT of the local date: 02.07.1845 0h
      {2, 7, 1846, 3, 3, '+', 18.6434540281},   // 0:00 UT
      {2, 7, 1846, 1, 2, '+', 18.6434540281 - 1.00273781191135448},  // 23:00 UT the day before
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year * 10000 + c.month * 100 + c.day);
    const LineMoment m =
        ChartLineMoment(ChartAt(c.day, c.month, c.year, c.hour, 0, c.zone, c.sign));
    EXPECT_NEAR(m.siderealDeg, Wrap360(c.siderealHours * 15.0), 2e-3);
  }
}

Configuration ShownOnly(const std::vector<int>& shown) {
  Configuration config;
  for (int i = 0; i < ACLines::kPointFlagCount; ++i)
    EXPECT_TRUE(config.SetObjectFlags(i, false, false, false, 1));
  for (int i : shown) EXPECT_TRUE(config.SetObjectFlags(i, true, false, false, 1));
  return config;
}

TEST(ACLinesInit, ChoosesTheBodies) {
  struct Case {
    int choice;
    bool nodes;
    std::vector<int> shown, points;
  };
  const Case cases[] = {
      {1, false, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {1, true, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17}},
      {2, false, {}, {}},
      {2, false, {0, 4, 16, 17, 29}, {0, 4, 29}},  // the nodes only by their own switch
      {2, true, {3}, {3, 16, 17}},
      {0, true, {1, 2}, {16, 17}},
  };
  for (const Case& c : cases) {
    ACLines lines;
    lines.Init(c.choice, c.nodes, 50, ShownOnly(c.shown));
    std::vector<int> points;
    for (int k = 0; k < lines.LineCount(); ++k) points.push_back(lines.GetPointOfLine(k));
    EXPECT_EQ(points, c.points);
    EXPECT_EQ(lines.SampleCount(), 18050);
  }
}

TEST(ACLinesInit, NoBodyHoldsNothing) {
  ACLines lines;
  lines.Init(2, false, 10, ShownOnly({}));
  Progress progress;
  EXPECT_EQ(lines.LineCount(), 0);
  EXPECT_FALSE(lines.Calculate(Chart2000(), false, 0, progress));
  lines.FindCrossings(ACLines::kFirstChart, AstroCartPage{});
  EXPECT_EQ(lines.CrossingCount(), 0);
  EXPECT_TRUE(lines.CollectSegments({-180, 180, 90, -90}, 1).empty());
  EXPECT_EQ(lines.GetPointOfLine(0), -1);
}

TEST(ACLinesCalculate, SamplesLieOnTheHorizonAndMeridians) {
  const Chart chart = Chart2000();
  for (const bool withLatitude : {false, true}) {
    SCOPED_TRACE(withLatitude);
    ACLines lines;
    lines.Init(2, false, 50, ShownOnly({0, 1}));
    Progress progress;
    ASSERT_TRUE(lines.Calculate(chart, withLatitude, 0, progress));
    EXPECT_EQ(progress.positions.back(), 100);
    ASSERT_EQ(lines.LineCount(), 2);
    // The MC meridians: the right ascension of the body's degree less the sidereal time
    // (worked out from the reference sidereal time and obliquity), to 0.1', in both kinds.
    EXPECT_NEAR(lines.Mc(0), 0.8213324, 0.1 / 60);
    EXPECT_NEAR(lines.Mc(1), -59.5867718, 0.1 / 60);
    if (withLatitude) {
      EXPECT_NEAR(lines.Sample(1, 9000), 70.0255, 2e-3);  // the Moon at 0 E
    }
    for (int k = 0; k < 2; ++k) {
      // Sample s stands for longitude s / 50 - 180; on the ecliptic the body is on the horizon.
      const double lambda = chart.points[static_cast<std::size_t>(k)].longitude.Get();
      for (const int s : {0, 4321, 9000, 13000, 18049}) {
        if (withLatitude) break;
        std::array<double, 4> angles{};
        CalcAngles(kJd2000, kUt2000, s / 50.0 - 180.0, lines.Sample(k, s), angles);
        EXPECT_LT(
            std::min(AngleDifference180(angles[0], lambda), AngleDifference180(angles[2], lambda)),
            1e-6)
            << s;
      }
      // The extremes of the line over one turn.
      const auto samples = lines.Samples(k).first(18000);
      EXPECT_EQ(lines.Sample(k, lines.TopSample(k)),
                *std::max_element(samples.begin(), samples.end()));
      EXPECT_EQ(lines.Sample(k, lines.BottomSample(k)),
                *std::min_element(samples.begin(), samples.end()));
    }
  }
}

TEST(ACLinesCalculate, SecondChartAndCancel) {
  ACLines lines;
  lines.Init(2, false, 5, ShownOnly({0, 1}));
  Progress progress;
  ASSERT_TRUE(lines.Calculate(Chart2000(), false, 0, progress));
  EXPECT_FALSE(lines.TwoCharts());
  Chart later = Chart2000();
  later.definition.sources[0].moment.time = FTime();  // 0h: another moment
  ASSERT_TRUE(lines.Calculate(later, false, 1, progress));
  EXPECT_TRUE(lines.TwoCharts());
  EXPECT_EQ(lines.LineCount(), 4);
  EXPECT_EQ(lines.GetPointOfLine(3), 1);
  EXPECT_EQ(lines.ChartOfLine(3), 1);
  EXPECT_NE(lines.Mc(0), lines.Mc(2));  // the same body, 12 hours earlier

  Progress cancel;  // cancelled after the first line
  cancel.cancelAt = 1;
  EXPECT_FALSE(lines.Calculate(later, false, 1, cancel));
  EXPECT_FALSE(lines.TwoCharts());
  EXPECT_EQ(lines.LineCount(), 2);
  EXPECT_EQ(lines.Mc(2), kAbsent);
  EXPECT_TRUE(IsAbsent(lines.Sample(2, 0)));
}

TEST(ACLinesCalculate, AbsentBodyHasNoLine) {
  Chart chart = Chart2000();
  chart.points[1].longitude.Clear();
  ACLines lines;
  lines.Init(2, false, 5, ShownOnly({0, 1}));
  Progress progress;
  ASSERT_TRUE(lines.Calculate(chart, true, 0, progress));
  EXPECT_EQ(lines.Mc(1), kAbsent);
  EXPECT_EQ(lines.Ic(1), kAbsent);
  EXPECT_TRUE(IsAbsent(lines.Sample(1, 900)));
  for (const LineSegment& s : lines.CollectSegments({-180, 180, 90, -90}, 1)) EXPECT_EQ(s.line, 0);
}

// One first-chart line (the Sun) at one sample per degree with the given latitudes.
ACLines OneLine(const std::vector<double>& samples, double mc, int density = 1) {
  ACLines lines;
  lines.Init(2, false, density, ShownOnly({0}));
  lines.SetLine(0, samples, mc, 100.0);
  return lines;
}

std::vector<double> LatitudeIsLongitude() {
  std::vector<double> v;
  for (int s = 0; s < 361; ++s) v.push_back(s - 180.0);
  return v;
}

TEST(ACLinesGeometry, IcFollowsMc) {
  struct Case {
    double mc, ic;
  };
  for (const Case c : {Case{0.0, 180.0}, Case{10.0, -170.0}, Case{-10.0, 170.0}, Case{-180.0, 0.0},
                       Case{180.5, 0.5}}) {
    EXPECT_EQ(OneLine({}, c.mc).Ic(0), c.ic) << c.mc;
  }
}

TEST(ACLinesGeometry, SampleIndices) {
  ACLines lines = OneLine({}, 0.0, 10);
  struct Case {
    double longitude;
    bool upper;
    int toSample, findIndex;
  };
  const Case cases[] = {
      {-180.0, false, 0, 0},      {-179.95, false, 0, 0},    {-179.95, true, 1, 1},
      {-179.9, false, 0, 1},      {0.0, false, 1800, 1800},  {0.05, false, 1800, 1800},
      {0.05, true, 1801, 1801},   {181.0, true, 3609, 3609}, {-200.0, false, 0, 0},
      {10.25, false, 1902, 1902},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.longitude);
    EXPECT_EQ(lines.LongitudeToSample(c.longitude, c.upper), c.toSample);
    EXPECT_EQ(lines.FindSampleIndex(c.longitude, c.upper), c.findIndex);
  }
}

TEST(ACLinesGeometry, SegmentsAreClippedAtTheEdges) {
  const ACLines lines = OneLine(LatitudeIsLongitude(), 2.0);
  const MapWindow window{-10.5, 10.5, 5.5, -5.5};
  const std::vector<LineSegment> segments = lines.CollectSegments(window, 1);
  // Enters through the south edge between -6 and -5, 10 segments inside, leaves through the
  // north edge between 5 and 6; then the MC meridian at 2 (the IC at -178 lies outside).
  ASSERT_EQ(segments.size(), 13u);
  const auto same = [](const LineSegment& s, double a, double b, double c, double d) {
    return s.lon1 == a && s.lat1 == b && s.lon2 == c && s.lat2 == d;
  };
  EXPECT_TRUE(same(segments[0], -5.5, -5.5, -5.0, -5.0));
  EXPECT_TRUE(same(segments[1], -5.0, -5.0, -4.0, -4.0));
  EXPECT_TRUE(same(segments[11], 5.0, 5.0, 5.5, 5.5));
  EXPECT_TRUE(same(segments[12], 2.0, 5.5, 2.0, -5.5));
}

TEST(ACLinesGeometry, DrawingStartsOneSampleWestOfTheEdge) {
  const ACLines lines = OneLine(std::vector<double>(361, 0.0), kAbsent);
  struct Case {
    double west;
    int step;
    double firstLon;
    std::size_t count;
  };
  // Samples -11 .. 11 for the window -10.5 .. 10.5; -10 .. 10 when the edges are samples.
  for (const Case c :
       {Case{-10.5, 1, -11.0, 22}, Case{-10.0, 1, -10.0, 20}, Case{-10.5, 5, -11.0, 4}}) {
    const auto segments = lines.CollectSegments({c.west, -c.west, 5, -5}, c.step);
    ASSERT_EQ(segments.size(), c.count) << c.west;
    EXPECT_EQ(segments[0].lon1, c.firstLon);
    EXPECT_EQ(segments[0].lon2, c.firstLon + c.step);
  }
}

TEST(ACLinesGeometry, VisibleRunsLieStrictlyInside) {
  ACLines lines;
  lines.Init(2, false, 1, ShownOnly({4, 7}));
  lines.SetLine(0, LatitudeIsLongitude(), kAbsent, 10.0);
  std::vector<double> wave(361, 50.0);
  for (int s = 160; s <= 165; ++s) wave[static_cast<std::size_t>(s)] = 0.0;
  for (int s = 175; s <= 200; ++s) wave[static_cast<std::size_t>(s)] = 1.0;
  lines.SetLine(1, wave, kAbsent, 10.0);
  const std::vector<VisibleRun> runs = lines.CollectVisibleRuns({-10, 10, 5, -5});
  const std::vector<VisibleRun> expected = {
      {176, 184, 0, 4, '0'},  // latitudes -4 .. 4: -5 and 5 lie on the edges
      {175, 191, 1, 7, '0'},  // cut at the window's east sample (10 E, plus one)
  };
  EXPECT_EQ(runs, expected);
}

TEST(ACLinesDraw, OnePenPerLineInItsBodysColour) {
  ACLines lines;
  lines.Init(2, false, 1, ShownOnly({0, 1}));
  lines.SetLine(0, std::vector<double>(361, 0.0), 5.0, 10.0);
  lines.SetLine(1, std::vector<double>(361, 1.0), kAbsent, 10.0);
  lines.SetLine(2, std::vector<double>(361, 2.0), kAbsent, 10.0);
  lines.SetTwoCharts(true);
  platform::RecordingDc dc;
  const auto colour = [](int point) {
    return platform::Color{static_cast<std::uint8_t>(point == 0 ? 255 : 0), 0, 100};
  };
  const auto project = [](double lon, double lat) {
    return platform::Point{static_cast<int>(lon * 100), static_cast<int>(lat * 100)};
  };
  lines.Draw(dc, {-2, 2, 10, -10}, 1, colour, project);
  // Lines 0, 1, 2: four segments each from -2 to 2; line 0 also its MC at 5 (outside).
  ASSERT_EQ(dc.Calls().size(), 12u);
  EXPECT_EQ(dc.Calls()[0].points[0], (platform::Point{-200, 0}));
  EXPECT_EQ(dc.Calls()[0].pen.color, (platform::Color{255, 0, 100}));
  EXPECT_EQ(dc.Calls()[4].pen.color, (platform::Color{0, 0, 100}));    // the Moon
  EXPECT_EQ(dc.Calls()[8].pen.color, (platform::Color{255, 0, 100}));  // the Sun of chart 2
  EXPECT_EQ(dc.Calls()[8].points[1], (platform::Point{-100, 200}));
}

}  // namespace
