#include "rectification/core/hermes_trutine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/tab_fields.h"
#include "hermes_answer.h"
#include "rectification/core/morav_number.h"
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
      {"one_minute_more", Row(15, 6, 1985, 2, 0), Row(15, 6, 1985, 14, 1), kMsgIntervalTooLong},
      {"end_equals_start", Row(15, 6, 1985, 8, 0), Row(15, 6, 1985, 8, 0), kMsgIntervalReversed},
      {"end_before_start", Row(15, 6, 1985, 9, 0), Row(15, 6, 1985, 8, 0), kMsgIntervalReversed},
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
  // Half a day about the chart's noon: the longest interval the check accepts.
  const HermesInput input = HermesInput::FromChart(bc);
  EXPECT_EQ(input.from, Row(15, 3, -44, 6, 0));
  EXPECT_EQ(input.to, Row(15, 3, -44, 18, 0));
  EXPECT_EQ(input.Months(), 9);
  EXPECT_EQ(input.Check(bc), 0);
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
  EXPECT_EQ(t.Search(f.Context(), progress).MessageNumber(), kMsgRectificationCancelled);
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

// The two conditions solved independently of the trutine's search: the birth moment b runs over
// the interval on a three-minute grid; for each b the conception c of every lunar pass near the
// estimate is where the Moon stands on the birth Ascendant (Descendant); a pair is where the
// conception's Ascendant (Descendant) meets the birth Moon, found by a sign change and refined by
// bisection.
struct ScanPair {
  double birth, conception;
};

class IndependentScan {
 public:
  IndependentScan(const HermesFixture& f, double shift) : ctx_(f.Context()), chart_(f.chart) {
    chart_.houseSystem = 0;
    shift_ = shift;
  }

  // Every pair with the birth inside (start, end) and the conception within `reach` days of e.
  std::vector<ScanPair> Pairs(double start, double end, double e, double reach) {
    std::vector<ScanPair> pairs;
    constexpr double kStep = 3.0 / 1440.0;
    const int steps = static_cast<int>(std::ceil((end - start) / kStep));
    // One track of conception moments per lunar pass within reach of e.
    for (int pass = -1; pass <= 1; ++pass) {
      double guess = e + pass * 27.32;
      double prevB = start, prevF = 0.0, prevC = 0.0;
      for (int i = 0; i <= steps; ++i) {
        const double b = std::min(end, start + i * kStep);
        double c = guess;
        const double fb = Mismatch(b, c);
        guess = c;
        if (i > 0 && Crosses(prevF, fb) && (std::fabs(prevC - e) < reach + 2.0)) {
          // Bisection on the birth moment.
          double lo = prevB, hi = b, flo = prevF, clo = prevC;
          for (int k = 0; k < 30; ++k) {
            const double mid = 0.5 * (lo + hi);
            double cm = clo;
            const double fm = Mismatch(mid, cm);
            if (Crosses(flo, fm)) {
              hi = mid;
            } else {
              lo = mid;
              flo = fm;
              clo = cm;
            }
          }
          double cr = clo;
          (void)Mismatch(0.5 * (lo + hi), cr);
          if (std::fabs(cr - e) < reach) pairs.push_back({0.5 * (lo + hi), cr});
        }
        prevB = b;
        prevF = fb;
        prevC = c;
      }
    }
    return pairs;
  }

  // The birth Ascendant (Descendant) and Moon, and the conception's, at UT Julian days.
  void At(double jd, double& angle, double& moon, double* moonSpeed = nullptr) {
    Chart c = chart_;
    EXPECT_TRUE(c.definition.sources[0].SetUniversalTime(jd).ok());
    EXPECT_TRUE(ChartCalculate(ctx_, c, 0).ok());
    angle = NormalizeDegrees(c.ascendant.Get() + shift_);
    moon = c.GetPointLongitude(1).Get();
    if (moonSpeed != nullptr) *moonSpeed = c.points[1].speed;
  }

 private:
  static double Wrap(double d) {
    d = NormalizeDegrees(d);
    return d > 180.0 ? d - 360.0 : d;
  }
  static bool Crosses(double a, double b) {
    return (a <= 0.0) != (b <= 0.0) && std::fabs(a - b) < 180.0;
  }
  // For a birth at b: c moved to where the Moon stands on b's angle (from c as a guess), and the
  // conception's angle less b's Moon.
  double Mismatch(double b, double& c) {
    double angleB, moonB;
    At(b, angleB, moonB);
    double angleC = 0.0, moonC = 0.0;
    for (int k = 0; k < 20; ++k) {
      double speed = 0.0;
      At(c, angleC, moonC, &speed);
      const double d = Wrap(angleB - moonC);
      if (std::fabs(d) < 1e-5) break;
      c += d / (speed > 1.0 ? speed : 13.2);
    }
    return Wrap(angleC - moonB);
  }

  ChartContext ctx_;
  Chart chart_;
  double shift_ = 0.0;
};

// Charts whose Moon at the estimated conception already lies in the arc the angle sweeps over the
// interval: the pass around the estimate, and the passes before and after it, hold pairs. Each
// pair the independent scan finds with the conception within 20 days of the estimate is listed,
// the one nearest the estimate among them, and no pair twice.
TEST(HermesTrutine, ListsEveryPairOfTheLunarPassesNearTheEstimate) {
  struct Case {
    const char* name;
    int day, month, year, hour, minute, zone, lat;
    char ns;
    int lon;
    char ew;
    HermesRow from, to;
    int months;
  };
  const Case cases[] = {
      // Sydney: nothing was listed.
      {"sydney_1964", 21, 9, 1964, 19, 45, 10, 33, 'S', 151, 'E', Row(21, 9, 1964, 13, 45),
       Row(21, 9, 1964, 23, 59), 8},
      // Helsinki, the Ascendant rule: nothing was listed either.
      {"helsinki_1955", 18, 8, 1955, 6, 20, 2, 60, 'N', 25, 'E', Row(18, 8, 1955, 0, 20),
       Row(18, 8, 1955, 12, 20), 9},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const HermesFixture f(k.day, k.month, k.year, k.hour, k.minute, k.zone, k.lat, k.ns, k.lon,
                          k.ew);
    HermesInput input = HermesInput::FromChart(f.chart);
    input.from = k.from;
    input.to = k.to;
    input.pregnancyIndex = k.months - 7;
    ASSERT_EQ(input.Check(f.chart), 0);
    HermesTrutine t;
    t.Prepare(f.chart, input);
    platform::NullProgress progress;
    ASSERT_TRUE(t.Search(f.Context(), progress).ok());

    const double e = UniversalJulianDay(f.chart.definition.sources[0]) - k.months * 30.43;
    IndependentScan scan(f, t.Mode() == 1 ? 180.0 : 0.0);
    const std::vector<ScanPair> pairs =
        scan.Pairs(t.Start().JulianDay(), t.End().JulianDay(), e, 20.0);
    ASSERT_GE(pairs.size(), 5u);
    for (const ScanPair& p : pairs) {
      int listed = 0;
      for (const HermesVariant& v : t.Variants())
        if (std::fabs(v.birth.JulianDay() - p.birth) < 1.0 / 1440.0 &&
            std::fabs(v.conception.JulianDay() - p.conception) < 30.0 / 1440.0)
          ++listed;
      EXPECT_EQ(listed, 1) << "birth " << p.birth << " conception " << p.conception;
    }
    for (std::size_t i = 1; i < t.Variants().size(); ++i)
      EXPECT_GT(t.Variants()[i].birth.JulianDay() - t.Variants()[i - 1].birth.JulianDay(),
                1.0 / 1440.0);
  }
}

// The evaluation tool's answer to one line: refused lines give "-" and say why; the interval goes
// through the dialog's own checks.
TEST(HermesEval, RefusesWhatTheDialogRefuses) {
  const HermesFixture f(15, 6, 1985, 5, 0, 0, 55, 'N', 37, 'E');
  const double jd = UniversalJulianDay(f.chart.definition.sources[0]);
  const auto line = [jd](double from, double to, const char* months, double lat = 55.0) {
    char text[160];
    std::snprintf(text, sizeof text, "%.6f %.3f\t37 %.6f  %.6f %s", jd, lat, jd + from, jd + to,
                  months);
    return std::string(text);
  };
  struct Case {
    const char* name;
    std::string line;
    const char* why;  // nullptr: answered
  };
  const Case cases[] = {
      {"answered", line(-0.25, 0.25, "9"), nullptr},
      {"five_fields", "2446231.708333 55 37 2446231.5 2446231.9", "expected 6 fields"},
      {"not_a_number", line(-0.25, 0.25, "nine"), "not a number"},
      {"months_not_whole", line(-0.25, 0.25, "9.5"), "not a number"},
      {"months_6", line(-0.25, 0.25, "6"), "months outside"},
      {"months_11", line(-0.25, 0.25, "11"), "months outside"},
      {"latitude_91", line(-0.25, 0.25, "9", 91.0), "latitude"},
      {"end_before_start", line(0.25, -0.25, "9"), "message 89"},
      {"longer_than_half_a_day", line(-0.25, 0.26, "9"), "message 90"},
      {"far_from_the_chart", line(1.4, 1.6, "9"), "message 471"},
  };
  for (const Case& c : cases) {
    std::string why;
    const std::string answer = HermesAnswer(f.Context(), c.line, why);
    if (c.why == nullptr) {
      EXPECT_NE(answer, "-") << c.name << ": " << why;
      EXPECT_EQ(std::count(answer.begin(), answer.end(), '\t'), 2) << c.name;
    } else {
      EXPECT_EQ(answer, "-") << c.name;
      EXPECT_NE(why.find(c.why), std::string::npos) << c.name << ": " << why;
    }
  }
}

// The tool's variants agree with the independent scan, the pass around the estimate included, and
// its Morav number and rule with the chart's Sun, Moon and Saturn.
TEST(HermesEval, VariantsAgreeWithTheIndependentScan) {
  struct Case {
    const char* name;
    int day, month, year, hour, minute, lat;  // the chart in Universal Time
    char ns;
    int lon;
    char ew;
    double fromMinutes, toMinutes;  // the interval about the chart's moment
    int months, rule;
  };
  const Case cases[] = {
      {"sydney_near_the_estimate", 21, 9, 1964, 9, 45, 33, 'S', 151, 'E', -360, 254, 8, 0},
      {"new_york", 12, 3, 2000, 20, 30, 40, 'N', 74, 'W', -360, 360, 9, 0},
      {"moscow_descendant", 15, 6, 1985, 5, 0, 55, 'N', 37, 'E', -180, 540, 9, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const HermesFixture f(k.day, k.month, k.year, k.hour, k.minute, 0, k.lat, k.ns, k.lon, k.ew);
    const double jd = UniversalJulianDay(f.chart.definition.sources[0]);
    const double from = jd + k.fromMinutes / 1440.0, to = jd + k.toMinutes / 1440.0;
    char line[160];
    std::snprintf(line, sizeof line, "%.6f %d %d %.6f %.6f %d", jd, k.ns == 'S' ? -k.lat : k.lat,
                  k.ew == 'W' ? -k.lon : k.lon, from, to, k.months);
    std::string why;
    const std::string answer = HermesAnswer(f.Context(), line, why);
    ASSERT_NE(answer, "-") << why;

    const std::vector<std::string_view> fields = SplitTabs(answer);
    ASSERT_EQ(fields.size(), 3u) << answer;
    const Chart& c = f.chart;
    const double s = c.GetPointLongitude(0).Get(), m = c.GetPointLongitude(1).Get(),
                 t = c.GetPointLongitude(6).Get();
    double morav = 0.0;
    ASSERT_TRUE(ParseField(fields[0], morav));
    EXPECT_NEAR(morav, NormalizeDegrees((3 * t + 3 * m + 2 * s) / 8), 1e-5);
    EXPECT_EQ(fields[1], std::to_string(k.rule));

    std::vector<ScanPair> listed;
    std::string_view rest = fields[2];
    while (!rest.empty()) {
      const std::size_t blank = rest.find(' ');
      const std::string_view item = rest.substr(0, blank);
      const std::size_t colon = item.find(':');
      ScanPair p{};
      ASSERT_NE(colon, std::string_view::npos) << item;
      ASSERT_TRUE(ParseField(item.substr(0, colon), p.birth));
      ASSERT_TRUE(ParseField(item.substr(colon + 1), p.conception));
      listed.push_back(p);
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    const double e = jd - k.months * 30.43;
    IndependentScan scan(f, k.rule == 1 ? 180.0 : 0.0);
    const std::vector<ScanPair> pairs = scan.Pairs(from, to, e, 20.0);
    ASSERT_GE(pairs.size(), 5u);
    for (const ScanPair& p : pairs) {
      const auto same = [&p](const ScanPair& v) {
        return std::fabs(v.birth - p.birth) < 1.0 / 1440.0 &&
               std::fabs(v.conception - p.conception) < 30.0 / 1440.0;
      };
      EXPECT_EQ(std::count_if(listed.begin(), listed.end(), same), 1)
          << "birth " << p.birth << " conception " << p.conception;
    }
  }
}

}  // namespace
