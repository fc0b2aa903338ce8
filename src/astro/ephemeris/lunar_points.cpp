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

// The derivative of Poly by t.
double PolyRate(double t, double c1, double c2, double c3, double c4) {
  return c1 + t * (2.0 * c2 + t * (3.0 * c3 + t * 4.0 * c4));
}

// Mean longitudes of date (mean equinox), degrees, and their rates, degrees per century.
double MeanNodeOfDateDeg(double t) {
  return Poly(t, 125.0445479, -1934.1362891, 0.0020754, 1.0 / 467441.0, -1.0 / 60616000.0);
}
double MeanNodeRate(double t) {
  return PolyRate(t, -1934.1362891, 0.0020754, 1.0 / 467441.0, -1.0 / 60616000.0);
}
double MeanPerigeeOfDateDeg(double t) {
  return Poly(t, 83.3532465, 4069.0137287, -0.0103200, -1.0 / 80053.0, 1.0 / 18999000.0);
}
double MeanPerigeeRate(double t) {
  return PolyRate(t, 4069.0137287, -0.0103200, -1.0 / 80053.0, 1.0 / 18999000.0);
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

PointPosition MeanLunarNode(double jdTt) { return MeanLunarNode(jdTt, DateFrameAt(JdTt{jdTt})); }
PointPosition TrueLunarNode(double jdTt) { return WithSpeed(TrueLunarNodePlace, jdTt); }
PointPosition MeanLunarApogee(double jdTt) {
  return MeanLunarApogee(jdTt, DateFrameAt(JdTt{jdTt}));
}
PointPosition OsculatingLunarApogee(double jdTt) {
  return WithSpeed(OsculatingLunarApogeePlace, jdTt);
}

PointPosition MeanLunarNode(double jdTt, const DateFrame& frame) {
  const double t = (jdTt - 2451545.0) / 36525.0;
  PointPosition p;
  p.longitude = Wrap360(MeanNodeOfDateDeg(t) + frame.nutationDeg);
  p.speed = MeanNodeRate(t) / 36525.0 + frame.nutationRateDegPerDay;
  return p;
}

PointPosition MeanLunarApogee(double jdTt, const DateFrame& frame) {
  const double t = (jdTt - 2451545.0) / 36525.0;
  const double node = MeanNodeOfDateDeg(t);
  const double u = (MeanPerigeeOfDateDeg(t) + 180.0 - node) * kDegToRad;  // from the node
  const double uRate = (MeanPerigeeRate(t) - MeanNodeRate(t)) / 36525.0;  // degrees per day
  const double inc = kMeanInclinationDeg * kDegToRad;
  const double cu = std::cos(u), su = std::sin(u), ci = std::cos(inc);
  PointPosition p;
  p.longitude = Wrap360(node + std::atan2(ci * su, cu) * kRadToDeg + frame.nutationDeg);
  p.latitude = std::asin(std::sin(inc) * su) * kRadToDeg;
  // d/du atan2(cos i sin u, cos u) = cos i / (cos^2 u + cos^2 i sin^2 u).
  p.speed = MeanNodeRate(t) / 36525.0 + ci / (cu * cu + ci * ci * su * su) * uRate +
            frame.nutationRateDegPerDay;
  return p;
}

PointPosition TrueLunarNode(const MoonMotion& moon, const DateFrame& frame) {
  // The node of date lies along z x (P h) = P ((P^T z) x h), h the orbit's angular momentum.
  const Vector3 h = Cross(moon.position, moon.velocity);
  const Vector3 hRate = Cross(moon.position, moon.acceleration);
  const Vector3 pole{frame.precession.m[2][0], frame.precession.m[2][1], frame.precession.m[2][2]};
  const Vector3 poleRate{frame.precessionRate.m[2][0], frame.precessionRate.m[2][1],
                         frame.precessionRate.m[2][2]};
  PointPosition p = EclipticOfDate(frame, Cross(pole, h), Cross(poleRate, h) + Cross(pole, hRate));
  p.latitude = 0.0;
  return p;
}

PointPosition OsculatingLunarApogee(const MoonMotion& moon, const DateFrame& frame) {
  const Vector3 &r = moon.position, &v = moon.velocity, &a = moon.acceleration;
  const Vector3 h = Cross(r, v), hRate = Cross(r, a);
  const double d = r.Length();
  const Vector3 unit = r / d;
  // The apocentre lies along -e, e = v x h / GM - r / |r| the eccentricity vector.
  const Vector3 e = Cross(v, h) / kGmEarthMoon - unit;
  const Vector3 eRate =
      (Cross(a, h) + Cross(v, hRate)) / kGmEarthMoon - (v - unit * Dot(unit, v)) / d;
  return EclipticOfDate(frame, -e, -eRate);
}

PointPosition OppositePoint(const PointPosition& p) {
  return PointPosition{Wrap360(p.longitude + 180.0), -p.latitude, p.speed};
}
