#include "astro/ephemeris/star_places.h"

#include <cmath>

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/longitudes.h"

namespace {

constexpr double kDeg = M_PI / 180.0;
// The constant of annual aberration, degrees.
constexpr double kAberrationDeg = 20.49552 / 3600.0;

// Mean equator and equinox of `jdTt` -> ecliptic and equinox J2000.
Matrix3 EquatorialToJ2000Ecliptic(double jdTt) {
  const JdTt tt{jdTt};
  return PrecessionFromJ2000(tt).Transposed() * RotationX(MeanObliquityDeg(tt) * kDeg);
}

}  // namespace

Vector3 DirectionOf(double rightAscension, double declination) {
  const double a = rightAscension * kDeg, d = declination * kDeg;
  return Vector3{std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
}

StarSpaceMotion SpaceMotionOf(double rightAscension, double declination, double pmRaCosDec,
                              double pmDec, double parallax, double radialVelocity) {
  const double a = rightAscension * kDeg, d = declination * kDeg;
  const Vector3 towardsEast{-std::sin(a), std::cos(a), 0.0};
  const Vector3 towardsNorth{-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
  const double arcsec = kDeg / 3600.0;
  StarSpaceMotion motion;
  motion.position = DirectionOf(rightAscension, declination);
  motion.velocity = (pmRaCosDec * arcsec) * towardsEast + (pmDec * arcsec) * towardsNorth;
  // The radial velocity in distances a year: km/s -> AU a year, times the parallax in radians
  // (one distance is 1 / parallax AU).
  if (parallax > 0.0)
    motion.velocity +=
        (radialVelocity * kAuPerYearPerKmPerSecond * parallax * arcsec) * motion.position;
  return motion;
}

Equatorial EquatorialOf(const Vector3& v) {
  return Equatorial{NormalizeDegrees(std::atan2(v.y, v.x) / kDeg),
                    std::atan2(v.z, std::hypot(v.x, v.y)) / kDeg};
}

Matrix3 EquatorialPrecession(double fromJdTt, double toJdTt) {
  return EquatorialToJ2000Ecliptic(toJdTt).Transposed() * EquatorialToJ2000Ecliptic(fromJdTt);
}

Equatorial PrecessMeanPlace(const Equatorial& place, double fromJdTt, double toJdTt) {
  return EquatorialOf(EquatorialPrecession(fromJdTt, toJdTt) *
                      DirectionOf(place.rightAscension, place.declination));
}

StarPlaceFrame::StarPlaceFrame(double equinoxJdTt, double dateJdTt) {
  const JdTt date{dateJdTt};
  toMeanEclipticOfDate_ = PrecessionFromJ2000(date) * EquatorialToJ2000Ecliptic(equinoxJdTt);
  const Nutation nutation = NutationAt(date);
  nutationDeg_ = nutation.longitudeDeg;
  trueObliquityDeg_ = MeanObliquityDeg(date) + nutation.obliquityDeg;
  sunLongitudeDeg_ = ApparentSunPlace(dateJdTt).longitude;
}

Ecliptic StarPlaceFrame::ApparentEcliptic(double rightAscension, double declination) const {
  const Vector3 d = toMeanEclipticOfDate_ * DirectionOf(rightAscension, declination);
  double lon = std::atan2(d.y, d.x) / kDeg + nutationDeg_;
  double lat = std::atan2(d.z, std::hypot(d.x, d.y)) / kDeg;
  // Annual aberration (the circular orbit's terms; the eccentricity's add at most 0.34").
  const double h = (sunLongitudeDeg_ - lon) * kDeg, b = lat * kDeg;
  lon -= kAberrationDeg * std::cos(h) / std::cos(b);
  lat -= kAberrationDeg * std::sin(h) * std::sin(b);
  return Ecliptic{NormalizeDegrees(lon), lat};
}

Equatorial StarPlaceFrame::ApparentEquatorial(const Ecliptic& place) const {
  return EclipticToEquatorial(place.longitude, place.latitude, trueObliquityDeg_);
}
