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

// The table joined to the parabola after its end: the offset between them at the table's end
// fades linearly over this many years.
constexpr double kBlendYears = 100.0;

// Delta T from -720 to the table's start: the cubic spline fitted to the historical eclipses and
// occultations by Stephenson, Morrison and Hohenkerk (2016, Proc. R. Soc. A 472: 20160404, table
// S15 of its supplement). Over each span Delta T = a0 + a1 t + a2 t^2 + a3 t^3 seconds, t the
// fraction of the span elapsed.
struct SplineSpan {
  double from, to, a0, a1, a2, a3;
};
constexpr SplineSpan kEclipseSpline[] = {
    {-720.0, 400.0, 20550.593, -21268.478, 11863.418, -4541.129},
    {400.0, 1000.0, 6604.404, -5981.266, -505.093, 1349.609},
    {1000.0, 1500.0, 1467.654, -2452.187, 2460.927, -1183.759},
    {1500.0, 1600.0, 292.635, -216.322, -43.614, 56.681},
    {1600.0, 1650.0, 89.380, -66.754, 31.607, -10.497},
    {1650.0, 1720.0, 43.736, -49.043, 0.227, 15.811},
};
// The spline is joined to the parabola at -720 and to the table at its start: the offset at the
// join fades linearly over this many years inside the spline's range, so that Delta T has no
// jump and the parabola before -720 and the table stay as they are.
constexpr double kSplineJoinYears = 50.0;

double EclipseSpline(double year) {
  const SplineSpan* span = &kEclipseSpline[0];
  for (const SplineSpan& s : kEclipseSpline)
    if (s.from <= year) span = &s;
  const double t = (year - span->from) / (span->to - span->from);
  return span->a0 + t * (span->a1 + t * (span->a2 + t * span->a3));
}

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
  const double splineStart = kEclipseSpline[0].from;
  if (year < splineStart) return Parabola(year);
  if (year <= first.year) {
    const double fromStart = std::max(0.0, 1.0 - (year - splineStart) / kSplineJoinYears);
    const double toTable = std::max(0.0, 1.0 - (first.year - year) / kSplineJoinYears);
    return EclipseSpline(year) + (Parabola(splineStart) - EclipseSpline(splineStart)) * fromStart +
           (first.seconds - EclipseSpline(first.year)) * toTable;
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
