#include "astro/ephemeris/chart_routines.h"

#include <cmath>

#include "astro/ephemeris/fast_theory.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/datetime/moment.h"

namespace {

constexpr double kDeg = M_PI / 180.0;

JdUt FromCenturies1900(double t) { return JdUt{kJ1900 + t * kDaysPerCentury}; }

double LongitudeAt(const Ephemeris& ephemeris, int body, JdUt ut, LunarVariant variant) {
  return ephemeris.Position(body, ToTt(ut), variant).longitude;
}

}  // namespace

SunElements SunQuickElements(double t) {
  const double meanLongitude = 279.69668 + 36000.76892 * t + 0.0003025 * t * t;
  const double m =
      NormalizeDegrees(358.47583 + 35999.04975 * t - 0.000150 * t * t - 0.0000033 * t * t * t);
  const double e = 0.01675104 - 0.0000418 * t - 0.000000126 * t * t;
  const double mr = m * kDeg;
  const double centre = (1.919460 - 0.004789 * t - 0.000014 * t * t) * std::sin(mr) +
                        (0.020094 - 0.000100 * t) * std::sin(2.0 * mr) +
                        0.000293 * std::sin(3.0 * mr);
  const double trueAnomaly = (m + centre) * kDeg;
  SunElements s;
  s.trueLongitude = NormalizeDegrees(meanLongitude + centre);
  s.radiusVector = 1.0000002 * (1.0 - e * e) / (1.0 + e * std::cos(trueAnomaly));
  s.apparentLongitude = NormalizeDegrees(s.trueLongitude - 0.00569 -
                                         0.00479 * std::sin((259.18 - 1934.142 * t) * kDeg));
  s.meanAnomaly = m;
  return s;
}

double SunApparentLongitude(double julianCenturies1900, double& radiusVector,
                            double& apparentLongitude) {
  const SunElements s = SunQuickElements(julianCenturies1900);
  radiusVector = s.radiusVector;
  apparentLongitude = s.apparentLongitude;
  return s.trueLongitude;
}

SunAtDateResult SunAtDate(int year, int month, int day, double hours) {
  SunAtDateResult r;
  r.julianDay = JUL_DAY(year, month, day, hours);
  r.julianCenturies1900 = JulianCenturiesSince1900(r.julianDay);
  r.sun = SunQuickElements(r.julianCenturies1900);
  return r;
}

MoonPositionResult MoonPosition(const Ephemeris& ephemeris, double julianCenturies1900,
                                char nodeFlag, char apogeeFlag) {
  const JdUt ut = FromCenturies1900(julianCenturies1900);
  MoonPositionResult r;
  r.moonLongitude = LongitudeAt(ephemeris, 1, ut, LunarVariant::True);
  r.nodeLongitude = LongitudeAt(ephemeris, kNorthNode, ut,
                                nodeFlag == 'T' ? LunarVariant::True : LunarVariant::Mean);
  r.apogeeLongitude = LongitudeAt(ephemeris, kBlackMoon, ut,
                                  apogeeFlag == 'M' ? LunarVariant::Mean : LunarVariant::True);
  return r;
}

double AnalyticPlanetPosition(int body, double julianCenturies1900) {
  if (body < 2 || body > 9) return kAbsent;
  const JdTt tt = ToTt(FromCenturies1900(julianCenturies1900));
  return FastTheoryPosition(body, LunarVariant::True, tt.days).longitude;
}

double PlutoTablePosition(const Ephemeris& ephemeris, int year, int month, int day, double hours) {
  return LongitudeAt(ephemeris, 9, JdUt{JUL_DAY(year, month, day, hours)}, LunarVariant::True);
}

double GetBodyLongitudeAtMoment(const Ephemeris& ephemeris, int body, JdUt moment, double offset,
                                LunarVariant variant) {
  if (!IsBody(body)) return kAbsent;
  const BodyPosition p = ephemeris.Position(body, ToTt(moment), variant);
  return p.known ? ShiftLongitude(p.longitude, offset) : kAbsent;
}

double GetBodyLongitudeAtMoment(const Ephemeris& ephemeris, int body, const Moment& moment,
                                double offset, LunarVariant variant) {
  return GetBodyLongitudeAtMoment(ephemeris, body, JdUt{moment.JulianDay()}, offset, variant);
}
