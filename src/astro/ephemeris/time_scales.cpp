#include "astro/ephemeris/time_scales.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/series_data.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;

double Parabola(double year) {
  const double u = (year - 1820.0) / 100.0;
  return -20.0 + 32.0 * u * u;
}

// The table joined to the parabola: the offset between them at the table's end fades linearly
// over this many years.
constexpr double kBlendYears = 100.0;

}  // namespace

double JUL_DAY(int year, int month, int day, double hours) {
  int y = year;
  int m = month;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  const bool gregorian =
      year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
  int b = 0;
  if (gregorian) {
    const int a = static_cast<int>(std::floor(y / 100.0));
    b = 2 - a + static_cast<int>(std::floor(a / 4.0));
  }
  return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + day + b - 1524.5 +
         hours / 24.0;
}

double JulianCenturiesSince1900(double jd) { return (jd - kJ1900) / kDaysPerCentury; }

double DecimalYear(double jd) { return 2000.0 + (jd - 2451544.5) / 365.2425; }

double DeltaTSeconds(JdUt ut) {
  const auto table = DeltaTTable();
  const double year = DecimalYear(ut.days);
  const DeltaTRow& first = table.front();
  const DeltaTRow& last = table.back();
  if (year <= first.year) {
    const double fade = std::max(0.0, 1.0 - (first.year - year) / kBlendYears);
    return Parabola(year) + (first.seconds - Parabola(first.year)) * fade;
  }
  // Written so that a day that is not a number takes this branch too, never the table search.
  if (!(year < last.year)) {
    const double fade = std::max(0.0, 1.0 - (year - last.year) / kBlendYears);
    return Parabola(year) + (last.seconds - Parabola(last.year)) * fade;
  }
  const auto it = std::upper_bound(table.begin(), table.end(), year,
                                   [](double y, const DeltaTRow& r) { return y < r.year; });
  const DeltaTRow& hi = *it;
  const DeltaTRow& lo = *(it - 1);
  return lo.seconds + (hi.seconds - lo.seconds) * (year - lo.year) / (hi.year - lo.year);
}

JdTt ToTt(JdUt ut) { return JdTt{ut.days + DeltaTSeconds(ut) / kSecondsPerDay}; }

JdUt ToUt(JdTt tt) {
  JdUt ut{tt.days};
  for (int i = 0; i < 3; ++i) ut.days = tt.days - DeltaTSeconds(ut) / kSecondsPerDay;
  return ut;
}

double EarthRotationAngleDeg(JdUt ut) {
  const double du = ut.days - kJ2000;
  // The fraction of the day is kept apart to keep the precision of the large product.
  const double dayFraction = std::fmod(ut.days, 1.0);
  return Wrap360(360.0 * (dayFraction + 0.7790572732640 + 0.00273781191135448 * du));
}

double GreenwichMeanSiderealDeg(JdUt ut, JdTt tt) {
  const double t = CenturiesSinceJ2000(tt);
  const double arcsec =
      0.014506 + t * (4612.156534 +
                      t * (1.3915817 + t * (-0.00000044 + t * (-0.000029956 + t * -0.0000000368))));
  return Wrap360(EarthRotationAngleDeg(ut) + arcsec / 3600.0);
}

double GreenwichApparentSiderealDeg(JdUt ut, JdTt tt, double nutationInLongitudeDeg,
                                    double meanObliquityDeg) {
  const double eps = meanObliquityDeg * M_PI / 180.0;
  const double equationOfEquinoxes =
      nutationInLongitudeDeg * std::cos(eps) + EquationOfEquinoxesComplementaryDeg(tt);
  return Wrap360(GreenwichMeanSiderealDeg(ut, tt) + equationOfEquinoxes);
}

double GreenwichApparentSiderealDeg(JdUt ut, JdTt tt) {
  return GreenwichApparentSiderealDeg(ut, tt, NutationAt(tt).longitudeDeg, MeanObliquityDeg(tt));
}

double GreenwichApparentSiderealDeg(JdUt ut) { return GreenwichApparentSiderealDeg(ut, ToTt(ut)); }

double SiderealTime0h(double jd) {
  const JdUt midnight{std::floor(jd - 0.5) + 0.5};
  return GreenwichApparentSiderealDeg(midnight) / 15.0;
}
