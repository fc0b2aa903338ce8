#include "astro/ephemeris/coordinates.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/longitudes.h"

namespace {

constexpr double kDeg = M_PI / 180.0;
constexpr double kMaxLatitude = 89.9999;

double Atan2Deg360(double y, double x) { return NormalizeDegrees(std::atan2(y, x) / kDeg); }

double TrueObliquityDeg(JdTt tt) { return MeanObliquityDeg(tt) + NutationAt(tt).obliquityDeg; }

}  // namespace

JdUt MomentOfDay(double jd, double utHours) {
  return JdUt{std::floor(jd - 0.5) + 0.5 + utHours / 24.0};
}

Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity) {
  const double l = longitude * kDeg, b = latitude * kDeg, e = obliquity * kDeg;
  const double ra = Atan2Deg360(std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e), std::cos(l));
  const double dec = std::asin(
      std::clamp(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l), -1.0, 1.0));
  return Equatorial{ra, dec / kDeg};
}

Ecliptic EquatorialToEcliptic(double rightAscension, double declination, double obliquity) {
  const double a = rightAscension * kDeg, d = declination * kDeg, e = obliquity * kDeg;
  const double lon =
      Atan2Deg360(std::sin(a) * std::cos(e) + std::tan(d) * std::sin(e), std::cos(a));
  const double lat = std::asin(
      std::clamp(std::sin(d) * std::cos(e) - std::cos(d) * std::sin(e) * std::sin(a), -1.0, 1.0));
  return Ecliptic{lon, lat / kDeg};
}

Horizontal EclipticToHorizontal(double longitude, double latitude, JdUt ut, double eastLongitude,
                                double geographicLatitude) {
  const JdTt tt = ToTt(ut);
  const Equatorial q = EclipticToEquatorial(longitude, latitude, TrueObliquityDeg(tt));
  const double hourAngle =
      (GreenwichApparentSiderealDeg(ut, tt) + eastLongitude - q.rightAscension) * kDeg;
  const double phi = geographicLatitude * kDeg, dec = q.declination * kDeg;
  // Azimuth from the south westwards is atan2(sin H, cos H sin phi - tan dec cos phi); add 180.
  const double az = std::atan2(std::sin(hourAngle),
                               std::cos(hourAngle) * std::sin(phi) - std::tan(dec) * std::cos(phi));
  const double alt = std::asin(std::clamp(
      std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(hourAngle), -1.0,
      1.0));
  return Horizontal{NormalizeDegrees(az / kDeg + 180.0), alt / kDeg};
}

double AngularDistance(double lon1, double lat1, double lon2, double lat2) {
  const double b1 = lat1 * kDeg, b2 = lat2 * kDeg, dl = (lon2 - lon1) * kDeg;
  const double x = std::cos(b1) * std::sin(b2) - std::sin(b1) * std::cos(b2) * std::cos(dl);
  const double y = std::cos(b2) * std::sin(dl);
  const double z = std::sin(b1) * std::sin(b2) + std::cos(b1) * std::cos(b2) * std::cos(dl);
  return std::atan2(std::hypot(x, y), z) / kDeg;
}

std::array<double, 4> AnglesFromRamc(double ramc, double geographicLatitude, double obliquity) {
  const double r = ramc * kDeg, eps = obliquity * kDeg;
  const double phi = std::clamp(geographicLatitude, -kMaxLatitude, kMaxLatitude) * kDeg;
  const double mc = Atan2Deg360(std::sin(r), std::cos(r) * std::cos(eps));
  const double asc =
      Atan2Deg360(std::cos(r), -(std::sin(r) * std::cos(eps) + std::tan(phi) * std::sin(eps)));
  return {asc, NormalizeDegrees(mc + 180.0), NormalizeDegrees(asc + 180.0), mc};
}

void CalcAngles(double jd, double utHours, double eastLongitude, double geographicLatitude,
                std::array<double, 4>& angles) {
  const JdUt ut = MomentOfDay(jd, utHours);
  const JdTt tt = ToTt(ut);
  const double ramc = GreenwichApparentSiderealDeg(ut, tt) + eastLongitude;
  angles = AnglesFromRamc(ramc, geographicLatitude, TrueObliquityDeg(tt));
}

double RisingLatitudeIterate(double jd, double utHours, double eastLongitude,
                             double /*startLatitude*/, double bodyLongitude, double bodyLatitude,
                             int /*attempt*/) {
  if (bodyLongitude == kAbsent || bodyLatitude == kAbsent) return kAbsent;
  const JdUt ut = MomentOfDay(jd, utHours);
  const JdTt tt = ToTt(ut);
  const Equatorial q = EclipticToEquatorial(bodyLongitude, bodyLatitude, TrueObliquityDeg(tt));
  return HorizonLatitude(GreenwichApparentSiderealDeg(ut, tt) + eastLongitude, q);
}

double HorizonLatitude(double ramc, const Equatorial& body) {
  const double hourAngle = (ramc - body.rightAscension) * kDeg;
  // sin(altitude) = sin phi sin dec + cos phi cos dec cos H = 0, so
  // tan phi = -cos H cos dec / sin dec; the angle is folded into [-90, 90].
  const double dec = body.declination * kDeg;
  double phi = std::atan2(-std::cos(hourAngle) * std::cos(dec), std::sin(dec)) / kDeg;
  if (phi > 90.0) phi -= 180.0;
  if (phi < -90.0) phi += 180.0;
  return phi;
}

AnnualPrecession StarPrecession(double julianCenturies1900, double rightAscensionHours,
                                double declinationDeg) {
  const double t = julianCenturies1900 - 1.0;  // centuries from J2000
  // Rates of zeta + z and of theta (IAU 2006), arcseconds per century.
  const double m = 4612.160408 + 2.7831694 * t;
  const double n = 2004.191903 - 0.8589868 * t;
  const double a = rightAscensionHours * 15.0 * kDeg, d = declinationDeg * kDeg;
  return AnnualPrecession{(m + n * std::sin(a) * std::tan(d)) / 15.0 / 100.0,
                          n * std::cos(a) / 100.0};
}
