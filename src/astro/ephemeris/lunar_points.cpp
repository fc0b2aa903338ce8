#include "astro/ephemeris/lunar_points.h"

#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/moon_theory.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr double kDegToRad = M_PI / 180.0;
constexpr double kRadToDeg = 180.0 / M_PI;
constexpr double kSpeedHalfStep = 0.01;
constexpr double kMeanInclinationDeg = 5.1453964;
// GM of the Earth plus the Moon, km^3 / day^2.
constexpr double kGmEarthMoon = (398600.4356 + 4902.8001) * 86400.0 * 86400.0;

double Poly(double t, double c0, double c1, double c2, double c3, double c4) {
  return c0 + t * (c1 + t * (c2 + t * (c3 + t * c4)));
}

// Mean longitudes of date (mean equinox), degrees.
double MeanNodeOfDateDeg(double t) {
  return Poly(t, 125.0445479, -1934.1362891, 0.0020754, 1.0 / 467441.0, -1.0 / 60616000.0);
}
double MeanPerigeeOfDateDeg(double t) {
  return Poly(t, 83.3532465, 4069.0137287, -0.0103200, -1.0 / 80053.0, 1.0 / 18999000.0);
}

// The Moon's geometric state in the mean ecliptic and equinox of date, km and km per day.
void MoonStateOfDate(double jdTt, Vector3& r, Vector3& v) {
  Vector3 p, dp;
  MoonGeocentricState(jdTt, p, dp);
  const Matrix3 m = PrecessionFromJ2000(JdTt{jdTt});
  r = m * p;
  v = m * dp;
}

PointPosition WithSpeed(PointPosition (*place)(double), double jdTt) {
  PointPosition out = place(jdTt);
  out.speed = LongitudeRate([place](double t) { return place(t); }, jdTt, kSpeedHalfStep);
  return out;
}

}  // namespace

PointPosition MeanLunarNodePlace(double jdTt) {
  const double t = (jdTt - 2451545.0) / 36525.0;
  PointPosition p;
  p.longitude = Wrap360(MeanNodeOfDateDeg(t) + NutationAt(JdTt{jdTt}).longitudeDeg);
  return p;
}

PointPosition TrueLunarNodePlace(double jdTt) {
  Vector3 r, v;
  MoonStateOfDate(jdTt, r, v);
  const Vector3 h = Cross(r, v);
  PointPosition p;
  p.longitude = Wrap360(std::atan2(h.x, -h.y) * kRadToDeg + NutationAt(JdTt{jdTt}).longitudeDeg);
  return p;
}

PointPosition MeanLunarApogeePlace(double jdTt) {
  const double t = (jdTt - 2451545.0) / 36525.0;
  const double node = MeanNodeOfDateDeg(t);
  const double u = (MeanPerigeeOfDateDeg(t) + 180.0 - node) * kDegToRad;  // from the node
  const double inc = kMeanInclinationDeg * kDegToRad;
  PointPosition p;
  p.longitude = Wrap360(node + std::atan2(std::cos(inc) * std::sin(u), std::cos(u)) * kRadToDeg +
                        NutationAt(JdTt{jdTt}).longitudeDeg);
  p.latitude = std::asin(std::sin(inc) * std::sin(u)) * kRadToDeg;
  return p;
}

PointPosition OsculatingLunarApogeePlace(double jdTt) {
  Vector3 r, v;
  MoonStateOfDate(jdTt, r, v);
  const Vector3 h = Cross(r, v);
  const Vector3 e = Cross(v, h) / kGmEarthMoon - r / r.Length();
  const Vector3 apogee = -e;
  PointPosition p;
  p.longitude =
      Wrap360(std::atan2(apogee.y, apogee.x) * kRadToDeg + NutationAt(JdTt{jdTt}).longitudeDeg);
  p.latitude = std::atan2(apogee.z, std::hypot(apogee.x, apogee.y)) * kRadToDeg;
  return p;
}

PointPosition MeanLunarNode(double jdTt) { return WithSpeed(MeanLunarNodePlace, jdTt); }
PointPosition TrueLunarNode(double jdTt) { return WithSpeed(TrueLunarNodePlace, jdTt); }
PointPosition MeanLunarApogee(double jdTt) { return WithSpeed(MeanLunarApogeePlace, jdTt); }
PointPosition OsculatingLunarApogee(double jdTt) {
  return WithSpeed(OsculatingLunarApogeePlace, jdTt);
}

PointPosition OppositePoint(const PointPosition& p) {
  return PointPosition{Wrap360(p.longitude + 180.0), -p.latitude, p.speed};
}
