// Places of the fixed stars: mean places carried from one equinox to another by rigorous
// precession (IAU 2006, through the ecliptic of J2000), and the apparent ecliptic place of date
// of a star given by its mean equatorial place: precession, nutation and annual aberration.
#pragma once

#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/earth_orientation.h"

// Julian day of 1 January 1950, 0h: the equinox of the star catalogue and the origin of its
// proper motions.
inline constexpr double kStarCatalogueEpoch = 2433282.5;

// A direction from right ascension and declination (degrees) and back.
Vector3 DirectionOf(double rightAscension, double declination);
Equatorial EquatorialOf(const Vector3& direction);

// The rotation from the mean equator and equinox of `fromJdTt` to those of `toJdTt`.
Matrix3 EquatorialPrecession(double fromJdTt, double toJdTt);
// A mean place (degrees) of the equinox `fromJdTt` referred to the equinox `toJdTt`.
Equatorial PrecessMeanPlace(const Equatorial& place, double fromJdTt, double toJdTt);

// What turns mean places of one equinox into apparent places of one moment: computed once per
// moment, used for every star.
class StarPlaceFrame {
 public:
  StarPlaceFrame(double equinoxJdTt, double dateJdTt);
  // The apparent ecliptic longitude [0, 360) and latitude of date of a mean place (degrees) of the
  // frame's equinox.
  Ecliptic ApparentEcliptic(double rightAscension, double declination) const;
  // The apparent right ascension [0, 360) and declination of an apparent ecliptic place.
  Equatorial ApparentEquatorial(const Ecliptic& place) const;

 private:
  Matrix3 toMeanEclipticOfDate_;
  double nutationDeg_ = 0.0;
  double trueObliquityDeg_ = 0.0;
  double sunLongitudeDeg_ = 0.0;
};
