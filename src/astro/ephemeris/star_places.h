// Places of the fixed stars: mean places carried from one equinox to another by rigorous
// precession (IAU 2006, through the ecliptic of J2000), and the apparent ecliptic place of date
// of a star given by its mean equatorial place: precession, nutation and annual aberration.
#pragma once

#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/earth_orientation.h"

// Julian day of 1 January 1950, 0h: the equinox of the star catalogue and the origin of its
// proper motions.
inline constexpr double kStarCatalogueEpoch = 2433282.5;

// One kilometre a second in astronomical units a year of 365.2422 days (the years of the star
// catalogue's proper motions).
inline constexpr double kAuPerYearPerKmPerSecond = 365.2422 * 86400.0 / 149597870.7;

// A star's place and motion in space, scaled by its distance at the epoch: `position` is the unit
// vector towards the star at the epoch, `velocity` its motion per year in the same unit (the
// proper motion across the line of sight, the radial velocity along it). The direction at a time
// is that of position + velocity x years: the star moves on a straight line at a constant speed,
// so its proper motion grows as it comes nearer (perspective acceleration) and turns with the
// line of sight.
struct StarSpaceMotion {
  Vector3 position;
  Vector3 velocity;
  Vector3 At(double years) const { return position + velocity * years; }
};
// From the place (degrees), the proper motion in right ascension (times the cosine of the
// declination) and in declination (seconds of arc a year), the parallax (seconds of arc; 0 or
// less: none known, no radial motion) and the radial velocity (km/s, positive receding).
StarSpaceMotion SpaceMotionOf(double rightAscension, double declination, double pmRaCosDec,
                              double pmDec, double parallax, double radialVelocity);

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
