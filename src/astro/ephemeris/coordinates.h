// Conversions between ecliptic, equatorial and horizontal coordinates, the angles of a place,
// and the precession of star coordinates. Degrees throughout unless stated.
#pragma once

#include <array>

#include "astro/ephemeris/time_scales.h"

struct Equatorial {
  double rightAscension, declination;  // degrees [0, 360), degrees
};
struct Ecliptic {
  double longitude, latitude;  // degrees [0, 360), degrees
};
struct Horizontal {
  double azimuth, altitude;  // azimuth from the north through the east, [0, 360); no refraction
};

// With the obliquity of date (true obliquity for apparent places).
Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity);
Ecliptic EquatorialToEcliptic(double rightAscension, double declination, double obliquity);

// Horizontal coordinates of an ecliptic point of date for a place (east longitude, latitude)
// at a moment.
Horizontal EclipticToHorizontal(double longitude, double latitude, JdUt ut, double eastLongitude,
                                double geographicLatitude);

// The angular distance of two positions on the sphere (any pair of spherical coordinates, e.g.
// right ascension and declination), degrees [0, 180].
double AngularDistance(double lon1, double lat1, double lon2, double lat2);

// The four angles of a place: [0] ascendant, [1] IC, [2] descendant, [3] MC. `jd` is any Julian
// day of the civil day, `utHours` the Universal Time of day in hours (it may fall outside
// 0..24); the moment is 0h UT of that day plus utHours. RAMC comes from the apparent sidereal
// time of that very moment (the sidereal rate applied to the hours). Latitudes beyond +-89.9999
// are taken as +-89.9999, so the angles are always defined.
// The same four angles from RAMC (degrees), latitude and true obliquity.
std::array<double, 4> AnglesFromRamc(double ramc, double geographicLatitude, double obliquity);
void CalcAngles(double jd, double utHours, double eastLongitude, double geographicLatitude,
                std::array<double, 4>& angles);

// The moment of CalcAngles: 0h UT of the civil day that holds `jd`, plus `utHours`.
JdUt MomentOfDay(double jd, double utHours);

// The geographic latitude (-90..90) at which a body of right ascension and declination (degrees)
// stands on the horizon where the right ascension of the meridian is `ramc` (degrees). A body on
// the celestial equator gives +-90.
double HorizonLatitude(double ramc, const Equatorial& body);

inline constexpr double kAnotherAttempt = -888.0;
// The geographic latitude at which a body (ecliptic longitude and latitude of date) stands on
// the horizon at a geographic east longitude, at the moment given as in CalcAngles. The
// condition has a closed form (tan latitude = -cos H / tan declination), so the first attempt
// gives the final answer whatever the start latitude; -777.0 when the body's longitude is
// absent. Callers' loops that ask again on kAnotherAttempt end at once.
double RisingLatitudeIterate(double jd, double utHours, double eastLongitude, double startLatitude,
                             double bodyLongitude, double bodyLatitude, int attempt);

// The annual precession of a star (IAU 2006 rates at T): right ascension in seconds of time per
// year and declination in seconds of arc per year. T: Julian centuries since 1900.
struct AnnualPrecession {
  double rightAscensionSeconds, declinationArcsec;
};
AnnualPrecession StarPrecession(double julianCenturies1900, double rightAscensionHours,
                                double declinationDeg);
