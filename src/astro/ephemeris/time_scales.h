// Time scales: Julian days of Universal Time and of Terrestrial Time, Delta T, sidereal time.
#pragma once

struct JdUt {  // Julian day, Universal Time (UT1)
  double days;
};
struct JdTt {  // Julian day, Terrestrial Time
  double days;
};

inline constexpr double kJ2000 = 2451545.0;  // 2000-01-01 12:00 TT
inline constexpr double kJ1900 = 2415020.0;  // 1899-12-31 12:00
inline constexpr double kDaysPerCentury = 36525.0;

// Julian day of a proleptic Gregorian date after 1582-10-15 and of a Julian-calendar date
// before it; `year` is astronomical (0 = 1 BC), `hours` the decimal hours of the day.
double JUL_DAY(int year, int month, int day, double hours);
// (jd - 2415020.0) / 36525.
double JulianCenturiesSince1900(double jd);
// Julian centuries of TT since J2000.
inline double CenturiesSinceJ2000(JdTt tt) { return (tt.days - kJ2000) / kDaysPerCentury; }

// Delta T = TT - UT in seconds at a Universal Time: observed values (interpolated) for 1657 to the
// present and predictions for the next years; from -720 to 1657 the reconstruction from historical
// eclipses (Stephenson, Morrison and Hohenkerk 2016); before -720 and after the predictions the
// parabola -20 + 32 u^2 (u = (year - 1820) / 100); each joined to the next without a jump
// (docs/decisions.md).
double DeltaTSeconds(JdUt ut);
JdTt ToTt(JdUt ut);
JdUt ToUt(JdTt tt);  // the inverse of ToTt, by iteration

// Earth rotation angle (IAU 2000) in degrees [0, 360).
double EarthRotationAngleDeg(JdUt ut);
// Greenwich mean and apparent sidereal time (IAU 2006) in degrees [0, 360); the apparent one
// adds the equation of the equinoxes with its complementary terms.
double GreenwichMeanSiderealDeg(JdUt ut, JdTt tt);
double GreenwichApparentSiderealDeg(JdUt ut, JdTt tt);
// The same from the nutation in longitude and the mean obliquity of the moment, where the caller
// has them already (the series is the dearest part of the sidereal time).
double GreenwichApparentSiderealDeg(JdUt ut, JdTt tt, double nutationInLongitudeDeg,
                                    double meanObliquityDeg);
double GreenwichApparentSiderealDeg(JdUt ut);
// Apparent sidereal time in hours [0, 24) at 0h UT of the civil day that holds Julian day `jd`.
double SiderealTime0h(double jd);
// Sidereal hours per solar hour.
inline constexpr double kSiderealRate = 1.00273781191135448;

// Decimal year of a Julian day (for tables by year).
double DecimalYear(double jd);
