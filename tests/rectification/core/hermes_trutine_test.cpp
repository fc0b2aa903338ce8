#include "rectification/core/hermes_trutine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"
#include "support/ephemeris_tables.h"
#include "support/test_support.h"

namespace {

double Separation(double a, double b) {
  const double d = std::fabs(NormalizeDegrees(a - b));
  return std::min(d, 360.0 - d);
}

struct HermesFixture {
  Aspectarium aspectarium;
  Configuration config;
  Chart chart;

  // A computed natal chart at a place and a local moment.
  HermesFixture(int day, int month, int year, int hour, int minute, int zoneHours, int latDeg,
                char latLetter, int lonDeg, char lonLetter, int houseSystem = 0) {
    Source& s = chart.definition.sources[0];
    EXPECT_TRUE(s.moment.date.SetDate(day, month, year).ok());
    EXPECT_TRUE(s.moment.time.SetTime(hour, minute, 0).ok());
    EXPECT_TRUE(s.zone.SetTime(std::abs(zoneHours), 0, zoneHours < 0 ? '-' : '+').ok());
    EXPECT_TRUE(s.place.SetPlace(latDeg, 0, latLetter, lonDeg, 0, lonLetter, "", "").ok());
    chart.houseSystem = houseSystem;
    EXPECT_TRUE(ChartCalculate(Context(), chart, 0).ok());
  }
  ChartContext Context() const {
    return ChartContext(config, aspectarium, testing_support::SharedTables());
  }
};

HermesRow Row(int day, int month, int year, int hour, int minute) {
  return HermesRow{day, month, year, hour, minute};
}

TEST(HermesTrutine, InputChecks) {
  // The chart: 15 June 1985 08:00 local.
  const HermesFixture f(15, 6, 1985, 8, 0, 3, 55, 'N', 37, 'E');
  struct Case {
    const char* name;
    HermesRow from, to;
    int message;
  };
  const Case cases[] = {
      {"half_a_day_exactly", Row(15, 6, 1985, 2, 0), Row(15, 6, 1985, 14, 0), 0},
      {"one_minute_more", Row(15, 6, 1985, 2, 0), Row(15, 6, 1985, 14, 1), kMsgHermesTooLong},
      {"end_equals_start", Row(15, 6, 1985, 8, 0), Row(15, 6, 1985, 8, 0), kMsgHermesBadOrder},
      {"end_before_start", Row(15, 6, 1985, 9, 0), Row(15, 6, 1985, 8, 0), kMsgHermesBadOrder},
      // 1.5 days before the chart is still near enough; a minute more is not.
      {"start_1_5_days_before", Row(13, 6, 1985, 20, 0), Row(14, 6, 1985, 2, 0), 0},
      {"start_beyond_1_5_days", Row(13, 6, 1985, 19, 59), Row(14, 6, 1985, 2, 0),
       kMsgHermesFarFromChart},
      {"end_beyond_1_5_days", Row(16, 6, 1985, 14, 0), Row(16, 6, 1985, 20, 1),
       kMsgHermesFarFromChart},
      {"31_february", Row(31, 2, 1985, 8, 0), Row(15, 6, 1985, 9, 0), kMsgDaysInMonth},
      {"year_0", Row(15, 6, 0, 8, 0), Row(15, 6, 1985, 9, 0), kMsgBadYear},
      {"hour_24", Row(15, 6, 1985, 24, 0), Row(15, 6, 1985, 9, 0), kMsgBadTime},
      {"minute_60_in_end", Row(15, 6, 1985, 8, 0), Row(15, 6, 1985, 9, 60), kMsgBadTime},
  };
  for (const Case& c : cases) {
    HermesInput input;
    input.from = c.from;
    input.to = c.to;
    EXPECT_EQ(input.Check(f.chart), c.message) << c.name;
  }
}

TEST(HermesTrutine, InputStartsFromTheChartAndTakesYearsBeforeChrist) {
  const HermesFixture f(15, 3, 44, 12, 0, 1, 41, 'N', 12, 'E');
  Chart bc = f.chart;
  ASSERT_TRUE(bc.definition.sources[0].moment.date.SetDate(15, 3, -44).ok());
  const HermesInput input = HermesInput::FromChart(bc);
  EXPECT_EQ(input.from, Row(15, 3, -44, 12, 0));
  EXPECT_EQ(input.to, input.from);
  EXPECT_EQ(input.Months(), 9);
  HermesInput later = input;
  later.to.hour = 14;
  EXPECT_EQ(later.Check(bc), 0);
  const Moment m = later.to.ToMoment();
  EXPECT_EQ(m.date.Era(), 'B');
  EXPECT_EQ(m.date.Year(), 44);
}

TEST(HermesTrutine, ModeAndHouseSystem) {
  struct Case {
    double sun, moon;
    int houseSystem;
    int mode;
    bool placidusSet;
  };
  const Case cases[] = {
      {10.0, 190.0, 0, 0, false},  // exactly 180 ahead: the Ascendant rule
      {10.0, 190.5, 1, 1, false},  // waning
      {350.0, 20.0, 2, 0, false},  // 30 ahead across 0 Aries
      {20.0, 350.0, 3, 1, true},   // 330 ahead; equal houses cannot be used
      {0.0, 90.0, 7, 0, false},   {0.0, 90.0, 4, 0, true},
      {0.0, 90.0, 100, 0, true},  // a geodetic variant is not one of the usable systems
  };
  const HermesFixture f(15, 6, 1985, 8, 0, 3, 55, 'N', 37, 'E');
  for (const Case& c : cases) {
    Chart chart = f.chart;
    chart.points[0].longitude.Set(c.sun);
    chart.points[1].longitude.Set(c.moon);
    chart.houseSystem = c.houseSystem;
    HermesTrutine t;
    EXPECT_EQ(t.Prepare(chart, HermesInput::FromChart(chart)), c.placidusSet) << c.moon;
    EXPECT_EQ(t.Mode(), c.mode) << c.sun << " " << c.moon;
  }
}

// Every variant found is checked against freshly computed charts: the Moon at conception on the
// birth Ascendant (Descendant) and the conception Ascendant (Descendant) on the birth Moon, and
// the birth inside the interval.
void ExpectGeometricallySound(const HermesFixture& f, const HermesInput& input, int expectMode,
                              HermesTrutine& t) {
  const ChartContext ctx = f.Context();
  t.Prepare(f.chart, input);
  EXPECT_EQ(t.Mode(), expectMode);
  platform::NullProgress progress;
  ASSERT_TRUE(t.Search(ctx, progress).ok());
  ASSERT_GT(t.VariantCount(), 0);
  const double shift = expectMode == 1 ? 180.0 : 0.0;
  for (const HermesVariant& v : t.Variants()) {
    Chart birth = f.chart, conception = f.chart;
    birth.houseSystem = conception.houseSystem = 0;
    ASSERT_TRUE(birth.definition.sources[0].SetUniversalTime(v.birth.JulianDay()).ok());
    ASSERT_TRUE(conception.definition.sources[0].SetUniversalTime(v.conception.JulianDay()).ok());
    ASSERT_TRUE(ChartCalculate(ctx, birth, 0).ok());
    ASSERT_TRUE(ChartCalculate(ctx, conception, 0).ok());
    EXPECT_LT(Separation(conception.GetPointLongitude(1).Get(), birth.ascendant.Get() + shift),
              0.1);
    EXPECT_LT(Separation(birth.GetPointLongitude(1).Get(), conception.ascendant.Get() + shift),
              0.1);
    EXPECT_GT(v.birth.JulianDay(), t.Start().JulianDay());
    EXPECT_LT(v.birth.JulianDay(), t.End().JulianDay());
    EXPECT_EQ(v.days, static_cast<int>(v.birth.JulianDay() - v.conception.JulianDay()));
    // About the pregnancy's length (nine months of 30.43 days) give or take a lunar month.
    EXPECT_NEAR(v.days, 9 * 30.43, 30.0);
  }
}

TEST(HermesTrutine, VariantsSatisfyBothConditionsAndAreListedOnTheChartsClock) {
  {  // New York, six days after the new moon (the Ascendant rule), west of Greenwich.
    const HermesFixture f(12, 3, 2000, 15, 30, -5, 40, 'N', 74, 'W');
    HermesInput input = HermesInput::FromChart(f.chart);
    input.from = Row(12, 3, 2000, 10, 0);
    input.to = Row(12, 3, 2000, 22, 0);
    HermesTrutine t;
    ExpectGeometricallySound(f, input, 0, t);
  }
  // Moscow, two days before the new moon: the Descendant rule.
  const HermesFixture f(15, 6, 1985, 8, 0, 3, 55, 'N', 37, 'E');
  HermesInput input = HermesInput::FromChart(f.chart);
  input.from = Row(15, 6, 1985, 2, 0);
  input.to = Row(15, 6, 1985, 14, 0);
  HermesTrutine t;
  ExpectGeometricallySound(f, input, 1, t);

  const std::string line = t.VariantLine(0);
  // Birth "15:06:1985  hh:mm", 16 blanks, conception, 14 blanks, months with one decimal.
  ASSERT_EQ(line.size(), 17 + 16 + 17 + 14 + 3u) << line;
  EXPECT_EQ(line.substr(0, 12), "15:06:1985  ");
  EXPECT_EQ(line.substr(17, 16), std::string(16, ' '));
  char months[8];
  std::snprintf(months, sizeof months, "%.1f", t.Variants()[0].days / 30.43);
  EXPECT_EQ(line.substr(64), months);

  t.SetSelection({0, 99, -1}, HermesTrutine::kBothCharts);  // indices past the list are ignored
  ASSERT_EQ(t.Selection().size(), 1u);
  Moment birth, conception;
  EXPECT_EQ(t.GetVariant(0, birth, conception), HermesTrutine::kBothCharts);
  // Local time: universal time plus three hours.
  EXPECT_NEAR(birth.JulianDay() - t.Variants()[0].birth.JulianDay(), 0.125, 1e-6);
  EXPECT_NEAR(conception.JulianDay() - t.Variants()[0].conception.JulianDay(), 0.125, 1e-6);
  EXPECT_EQ(t.GetVariant(1, birth, conception), -1);

  const Moment untouched;
  Moment b2 = untouched;
  t.SetSelection({0}, HermesTrutine::kConceptionCharts);
  EXPECT_EQ(t.GetVariant(0, b2, conception), HermesTrutine::kConceptionCharts);
  EXPECT_EQ(b2, untouched);
  t.FreeVariants();
  EXPECT_EQ(t.VariantCount(), 0);
  EXPECT_TRUE(t.Selection().empty());
}

TEST(HermesTrutine, CancelKeepsNoVariants) {
  const HermesFixture f(15, 6, 1985, 8, 0, 3, 55, 'N', 37, 'E');
  HermesInput input = HermesInput::FromChart(f.chart);
  input.from = Row(15, 6, 1985, 2, 0);
  input.to = Row(15, 6, 1985, 14, 0);
  HermesTrutine t;
  t.Prepare(f.chart, input);
  testing_support::RecordingProgress progress;
  progress.cancelAt = 1;
  EXPECT_EQ(t.Search(f.Context(), progress).MessageNumber(), kMsgHermesCancelled);
  EXPECT_EQ(t.VariantCount(), 0);
}

TEST(HermesTrutine, PolarLatitudeFindsNothingWithoutFailing) {
  // 78 N in midsummer: many degrees never rise; the search ends without a variant or a fault.
  const HermesFixture f(21, 6, 1990, 12, 0, 1, 78, 'N', 15, 'E', 0);
  HermesInput input = HermesInput::FromChart(f.chart);
  input.from = Row(21, 6, 1990, 6, 0);
  input.to = Row(21, 6, 1990, 18, 0);
  HermesTrutine t;
  t.Prepare(f.chart, input);
  platform::NullProgress progress;
  const Status st = t.Search(f.Context(), progress);
  EXPECT_TRUE(st.ok() || st.MessageNumber() == kMsgHermesNoVariant);
  EXPECT_LE(t.VariantCount(), kHermesMaxVariants);
}

}  // namespace
