// From a geometric heliocentric position to the apparent geocentric place: light-time, annual
// aberration, gravitational deflection by the Sun, precession (IAU 2006) and nutation, giving
// the ecliptic and true equinox of date.
#pragma once

#include <functional>

#include "astro/ephemeris/vector3.h"

// Apparent geocentric ecliptic of date: degrees [0, 360), degrees, degrees per day.
struct PointPosition {
  double longitude = 0.0, latitude = 0.0, speed = 0.0;
};

// `heliocentricJ2000(jdTt)` gives the body's geometric heliocentric position in au, ecliptic and
// equinox J2000, at any TT Julian day (it is called for the light-time iteration and for the
// speed). The speed is the rate of the apparent longitude, by a central difference.
PointPosition ApparentFromHeliocentric(const std::function<Vector3(double jdTt)>& heliocentricJ2000,
                                       double jdTt);

// The apparent places of the Sun, the Moon and the planets from the series.
enum class Planet;
PointPosition ApparentSun(double jdTt);
PointPosition ApparentMoon(double jdTt);
PointPosition ApparentPlanet(Planet planet, double jdTt);
// The same without the speed (left 0), for sampling.
PointPosition ApparentSunPlace(double jdTt);
PointPosition ApparentMoonPlace(double jdTt);
PointPosition ApparentPlanetPlace(Planet planet, double jdTt);

// The apparent place as ApparentFromHeliocentric gives it but without the deflection of light
// by the Sun (no speed), and the same for a planet; the tables hold this smoother function.
PointPosition ApparentPlaceWithoutDeflection(
    const std::function<Vector3(double jdTt)>& heliocentricJ2000, double jdTt);
PointPosition PlanetPlaceWithoutDeflection(Planet planet, double jdTt);

// The deflection of light by the Sun for a body behind it, at ecliptic longitude and latitude
// (degrees) with the Sun at sunLon, sunLat: the shifts to add, degrees. The formula of a body
// at infinity scaled by r / (r + 1 au), r the body's distance from the Sun, which is what the
// full formula gives (to 0.003" from 3 degrees off the Sun; 15 % of the shift closer in, for a
// mean r). A body in front of the Sun is hardly deflected: pass 0.
struct Deflection {
  double lonDeg = 0.0, latDeg = 0.0;
};
Deflection SunDeflection(double lon, double lat, double sunLon, double sunLat,
                         double distanceRatio);

// Longitude (degrees [0, 360)) and latitude (degrees) in the mean ecliptic and true equinox of
// date of a direction given in the ecliptic and equinox J2000.
PointPosition EclipticOfDate(const Vector3& directionJ2000, double jdTt);
// The same in a frame of date already computed, with the longitude speed from the direction's
// rate (per day, J2000; any length of the direction) and the frame's rates.
struct DateFrame;
PointPosition EclipticOfDate(const DateFrame& frame, const Vector3& directionJ2000,
                             const Vector3& directionRateJ2000);

// The rate of the longitude of `position(jdTt)` by a central difference of +-`halfStepDays`,
// in degrees per day.
double LongitudeRate(const std::function<PointPosition(double)>& position, double jdTt,
                     double halfStepDays);
