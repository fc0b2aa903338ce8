#include "astro/ephemeris/apparent.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/moon_theory.h"
#include "astro/ephemeris/planet_theory.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr double kRadToDeg = 180.0 / M_PI;
constexpr double kLightAuPerDay = 173.1446326846693;
constexpr double kLightKmPerDay = 299792.458 * 86400.0;
// 2 GM(Sun) / c^2 in au: the light deflection scale.
constexpr double kSchwarzschildAu = 1.97412574336e-8;
constexpr double kDeflectionFloor = 1e-6;
// Half step of the central difference for the speeds, days.
constexpr double kSpeedHalfStep = 0.01;

Vector3 Unit(const Vector3& v) { return v / v.Length(); }

// The direction of a body seen from the Earth's centre: light-time, deflection by the Sun and
// annual aberration, ecliptic and equinox J2000 (a unit vector).
Vector3 ApparentDirection(const std::function<Vector3(double)>& heliocentric, double jdTt,
                          bool deflection = true) {
  Vector3 earth, earthVelocity;
  HeliocentricState(Planet::Earth, jdTt, earth, earthVelocity);
  Vector3 body = heliocentric(jdTt);
  double lightTime = (body - earth).Length() / kLightAuPerDay;
  for (int i = 0; i < 3; ++i) {
    body = heliocentric(jdTt - lightTime);
    lightTime = (body - earth).Length() / kLightAuPerDay;
  }
  Vector3 p = Unit(body - earth);
  const double bodyDistance = body.Length();
  if (deflection && bodyDistance > 1e-6) {  // no deflection of the Sun's own light
    const Vector3 q = body / bodyDistance;
    const double earthDistance = earth.Length();
    const Vector3 e = earth / earthDistance;
    // Behind the Sun the formula diverges: the denominator is kept above 1e-6 (a body within
    // about 0.08 degrees of the Sun's centre), as is customary.
    const double factor =
        kSchwarzschildAu / earthDistance / std::max(1.0 + Dot(q, e), kDeflectionFloor);
    p = Unit(p + factor * (Dot(p, q) * e - Dot(e, p) * q));
  }
  const Vector3 v = earthVelocity / kLightAuPerDay;
  return Unit(p + v - Dot(p, v) * p);
}

Vector3 PlanetHeliocentric(Planet planet, double jdTt) {
  Vector3 p, v;
  HeliocentricState(planet, jdTt, p, v);
  return p;
}

}  // namespace

PointPosition EclipticOfDate(const Vector3& directionJ2000, double jdTt) {
  const JdTt tt{jdTt};
  const Vector3 d = PrecessionFromJ2000(tt) * directionJ2000;
  PointPosition out;
  out.longitude = Wrap360(std::atan2(d.y, d.x) * kRadToDeg + NutationAt(tt).longitudeDeg);
  out.latitude = std::atan2(d.z, std::hypot(d.x, d.y)) * kRadToDeg;
  return out;
}

PointPosition EclipticOfDate(const DateFrame& frame, const Vector3& directionJ2000,
                             const Vector3& directionRateJ2000) {
  const Vector3 d = frame.precession * directionJ2000;
  const Vector3 rate =
      frame.precession * directionRateJ2000 + frame.precessionRate * directionJ2000;
  const double xy2 = d.x * d.x + d.y * d.y;
  PointPosition out;
  out.longitude = Wrap360(std::atan2(d.y, d.x) * kRadToDeg + frame.nutationDeg);
  out.latitude = std::atan2(d.z, std::sqrt(xy2)) * kRadToDeg;
  out.speed = (d.x * rate.y - d.y * rate.x) / xy2 * kRadToDeg + frame.nutationRateDegPerDay;
  return out;
}

double LongitudeRate(const std::function<PointPosition(double)>& position, double jdTt,
                     double halfStepDays) {
  double diff = position(jdTt + halfStepDays).longitude - position(jdTt - halfStepDays).longitude;
  if (diff > 180.0) diff -= 360.0;
  if (diff < -180.0) diff += 360.0;
  return diff / (2.0 * halfStepDays);
}

PointPosition ApparentFromHeliocentric(const std::function<Vector3(double jdTt)>& heliocentricJ2000,
                                       double jdTt) {
  const auto place = [&](double t) {
    return EclipticOfDate(ApparentDirection(heliocentricJ2000, t), t);
  };
  PointPosition out = place(jdTt);
  out.speed = LongitudeRate(place, jdTt, kSpeedHalfStep);
  return out;
}

PointPosition ApparentPlaceWithoutDeflection(
    const std::function<Vector3(double jdTt)>& heliocentricJ2000, double jdTt) {
  return EclipticOfDate(ApparentDirection(heliocentricJ2000, jdTt, false), jdTt);
}

PointPosition PlanetPlaceWithoutDeflection(Planet planet, double jdTt) {
  return ApparentPlaceWithoutDeflection(
      [planet](double t) { return PlanetHeliocentric(planet, t); }, jdTt);
}

Deflection SunDeflection(double lon, double lat, double sunLon, double sunLat,
                         double distanceRatio) {
  constexpr double kDeg = M_PI / 180.0;
  const auto unit = [](double l, double b) {
    return Vector3{std::cos(b) * std::cos(l), std::cos(b) * std::sin(l), std::sin(b)};
  };
  const Vector3 p = unit(lon * kDeg, lat * kDeg);
  const Vector3 e = -unit(sunLon * kDeg, sunLat * kDeg);  // the Earth seen from the Sun
  const double pe = Dot(p, e);
  if (1.0 + pe < kDeflectionFloor) return Deflection{};
  // A body at infinity (its heliocentric direction that of its geocentric one):
  // p' = p + (2GM/c^2 / 1 au) (e - (e.p) p) / (1 + e.p), scaled for the body's distance.
  const Vector3 shifted = Unit(p + (distanceRatio * kSchwarzschildAu / (1.0 + pe)) * (e - pe * p));
  double dLon = std::atan2(shifted.y, shifted.x) / kDeg - lon;
  dLon -= 360.0 * std::round(dLon / 360.0);
  return Deflection{dLon, std::asin(std::clamp(shifted.z, -1.0, 1.0)) / kDeg - lat};
}

PointPosition ApparentSunPlace(double jdTt) {
  return EclipticOfDate(ApparentDirection([](double) { return Vector3{}; }, jdTt), jdTt);
}

PointPosition ApparentPlanetPlace(Planet planet, double jdTt) {
  return EclipticOfDate(
      ApparentDirection([planet](double t) { return PlanetHeliocentric(planet, t); }, jdTt), jdTt);
}

PointPosition ApparentMoonPlace(double jdTt) {
  // The annual aberration and the Earth's own motion during the light-time cancel for a
  // geocentric body: the apparent Moon is the geometric Moon of the light-time earlier.
  Vector3 p, v;
  MoonGeocentricState(jdTt, p, v);
  const double lightTime = p.Length() / kLightKmPerDay;
  return EclipticOfDate(Unit(p - v * lightTime), jdTt);
}

PointPosition ApparentSun(double jdTt) {
  PointPosition out = ApparentSunPlace(jdTt);
  out.speed = LongitudeRate(ApparentSunPlace, jdTt, kSpeedHalfStep);
  return out;
}

PointPosition ApparentPlanet(Planet planet, double jdTt) {
  const auto place = [planet](double t) { return ApparentPlanetPlace(planet, t); };
  PointPosition out = place(jdTt);
  out.speed = LongitudeRate(place, jdTt, kSpeedHalfStep);
  return out;
}

PointPosition ApparentMoon(double jdTt) {
  PointPosition out = ApparentMoonPlace(jdTt);
  out.speed = LongitudeRate(ApparentMoonPlace, jdTt, kSpeedHalfStep);
  return out;
}
