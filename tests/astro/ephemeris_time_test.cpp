// Time scales and the Earth's orientation against the reference instants and hand values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/instant.h"
#include "astro/ephemeris/time_scales.h"
#include "ephemeris_reference.h"

namespace {

struct JdCase {
  const char* name;
  int year, month, day;
  double hours, jd;
};

// Julian days from the standard tables of the calendar (Meeus, chapter 7).
const JdCase kJdCases[] = {
    {"j2000_noon", 2000, 1, 1, 12.0, 2451545.0},
    {"j1900_epoch", 1899, 12, 31, 12.0, 2415020.0},
    {"reform_last_julian_day", 1582, 10, 4, 0.0, 2299159.5},
    {"reform_first_gregorian_day", 1582, 10, 15, 0.0, 2299160.5},
    {"sputnik", 1957, 10, 4, 19.0 + 26.0 / 60.0 + 24.0 / 3600.0, 2436116.31},
    {"year_1600_leap", 1600, 12, 31, 0.0, 2305812.5},
    {"year_1_bc_leap", 0, 1, 1, 0.0, 1721057.5},
    {"julian_era_start", -4712, 1, 1, 12.0, 0.0},
    {"bc_1000", -1000, 7, 12, 12.0, 1356001.0},
};

TEST(EphemerisTime, JulianDayOfCalendarDates) {
  for (const JdCase& c : kJdCases)
    EXPECT_NEAR(JUL_DAY(c.year, c.month, c.day, c.hours), c.jd, 1e-6) << c.name;
}

TEST(EphemerisTime, JulianCenturiesSince1900CountsFromTheEpoch) {
  EXPECT_DOUBLE_EQ(JulianCenturiesSince1900(2415020.0), 0.0);
  EXPECT_DOUBLE_EQ(JulianCenturiesSince1900(2451545.0), 1.0);
  EXPECT_DOUBLE_EQ(JulianCenturiesSince1900(2378495.0), -1.0);
}

// Worst |Delta T - reference| over the rows of a span of years; the row count goes with it so
// that an empty span cannot pass.
struct Worst {
  double value = 0.0;
  int rows = 0;
  void Add(double v) {
    value = std::max(value, v);
    ++rows;
  }
};

TEST(EphemerisTime, DeltaTWithinGoalsAgainstReference) {
  Worst modern, nineteenth;
  for (const RefInstant& r : LoadReferenceInstants()) {
    const double year = ReferenceYear(r.jdUt);
    const double error = std::fabs(DeltaTSeconds(JdUt{r.jdUt}) - r.deltaTSeconds);
    if (year >= 1955.0 && year <= 2023.0) modern.Add(error);
    if (year >= 1800.0 && year < 1955.0) nineteenth.Add(error);
  }
  std::printf("Delta T worst: 1955-2023 %.3f s (%d rows), 1800-1955 %.3f s (%d rows)\n",
              modern.value, modern.rows, nineteenth.value, nineteenth.rows);
  ASSERT_GT(modern.rows, 0);
  ASSERT_GT(nineteenth.rows, 0);
  EXPECT_LE(modern.value, 1.0);
  EXPECT_LE(nineteenth.value, 7.0);
}

TEST(EphemerisTime, DeltaTIsContinuousAndFiniteOverTheAcceptedDates) {
  // -3000..3000 by 10 days: no jump larger than a table step could make, never NaN.
  const double first = JUL_DAY(-3000, 1, 1, 0.0), last = JUL_DAY(3000, 12, 31, 0.0);
  double previous = DeltaTSeconds(JdUt{first});
  for (double jd = first + 10.0; jd <= last; jd += 10.0) {
    const double dt = DeltaTSeconds(JdUt{jd});
    ASSERT_TRUE(std::isfinite(dt)) << std::fixed << jd;
    ASSERT_LT(std::fabs(dt - previous), 2.0) << std::fixed << jd;
    previous = dt;
  }
}

TEST(EphemerisTime, DeltaTBeforeTheTableIsTheEclipseReconstruction) {
  // Published values of the spline of Stephenson, Morrison and Hohenkerk (2016), table S15: its
  // knots at 400, 1000, 1500 and 1600 (6604.404, 1467.654, 292.635 and 89.380 s) and -500
  // (16 796 s, within its first span). Before -720 the parabola -20 + 32 u^2 stays (at -1000:
  // 25 427.68 s); the table from 1657 on is not touched (1657.0: 44 s).
  struct Row {
    int year;
    double seconds, tolerance;
  };
  const Row rows[] = {
      {-1000, 25427.68, 0.5}, {-500, 16796.2, 0.5}, {400, 6604.404, 0.5}, {1000, 1467.654, 0.1},
      {1500, 292.635, 0.1},   {1600, 89.380, 0.1},  {1657, 44.0, 0.01},
  };
  for (const Row& r : rows)
    EXPECT_NEAR(DeltaTSeconds(JdUt{JUL_DAY(r.year, 1, 1, 0.0)}), r.seconds, r.tolerance) << r.year;
  // No jump where the reconstruction meets the parabola and the table: a day either side of the
  // joins differs by no more than a day of the steepest slope there (under 0.1 s).
  for (const double join : {JUL_DAY(-720, 1, 1, 0.0), JUL_DAY(1657, 1, 1, 0.0)}) {
    EXPECT_LT(std::fabs(DeltaTSeconds(JdUt{join + 1.0}) - DeltaTSeconds(JdUt{join - 1.0})), 0.1)
        << join;
  }
}

TEST(EphemerisTime, DeltaTOfADayThatIsNoNumberStaysInsideTheTable) {
  // The table search must not run off the table's end (seen by the address sanitizer).
  EXPECT_TRUE(std::isnan(DeltaTSeconds(JdUt{std::nan("")})));
  EXPECT_TRUE(std::isnan(ToUt(JdTt{std::nan("")}).days));
}

TEST(EphemerisTime, UtAndTtRoundTrip) {
  for (double jd : {1000000.5, 2305812.5, 2451545.0, 2460000.25, 2816787.5}) {
    const JdTt tt = ToTt(JdUt{jd});
    EXPECT_NEAR(ToUt(tt).days, jd, 1e-9) << std::fixed << jd;
  }
}

TEST(EphemerisTime, SiderealTimeAndNutationAgainstReference) {
  Worst gastSeconds, nutationArcsec, obliquityArcsec;
  for (const RefInstant& r : LoadReferenceInstants()) {
    const double year = ReferenceYear(r.jdUt);
    const JdUt ut{r.jdUt};
    const JdTt tt{r.jdTt};
    if (year >= 1850.0 && year <= 2050.0) {
      double d = GreenwichApparentSiderealDeg(ut, tt) / 15.0 - r.gastHours;
      d -= 24.0 * std::round(d / 24.0);
      gastSeconds.Add(std::fabs(d) * 3600.0);
    }
    if (year >= 1800.0 && year <= 2200.0) {
      const Nutation n = NutationAt(tt);
      nutationArcsec.Add(std::fabs(n.longitudeDeg - r.nutationLongitudeDeg) * 3600.0);
      nutationArcsec.Add(std::fabs(n.obliquityDeg - r.nutationObliquityDeg) * 3600.0);
      obliquityArcsec.Add(std::fabs(MeanObliquityDeg(tt) - r.meanObliquityDeg) * 3600.0);
      const Instant when = MakeInstantTt(tt);
      obliquityArcsec.Add(std::fabs(when.trueObliquityDeg - r.trueObliquityDeg) * 3600.0);
    }
  }
  std::printf("GAST worst %.5f s; nutation worst %.4f\"; obliquity worst %.4f\"\n",
              gastSeconds.value, nutationArcsec.value, obliquityArcsec.value);
  ASSERT_GT(gastSeconds.rows, 0);
  EXPECT_LE(gastSeconds.value, 0.001);
  EXPECT_LE(nutationArcsec.value, 0.005);
  EXPECT_LE(obliquityArcsec.value, 0.01);
}

TEST(EphemerisTime, SiderealTimeAtMidnightOfTheDay) {
  // 1987-04-10 0h UT: apparent sidereal time 13h10m46.1351s (Meeus, example 12.a).
  const double hours = SiderealTime0h(JUL_DAY(1987, 4, 10, 15.5));
  EXPECT_NEAR(hours, 13.0 + 10.0 / 60.0 + 46.1351 / 3600.0, 0.02 / 3600.0);
}

}  // namespace
