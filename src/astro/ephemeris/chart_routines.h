// Position routines in the forms the chart views call them. The Sun's quick formula is the
// classical one (mean longitude and equation of centre, Julian centuries since 1900); the other
// bodies come from the program's ephemeris.
#pragma once

#include "astro/ephemeris/ephemeris.h"

class Moment;

// The Sun's quick elements at a Julian century T since 1900.
struct SunElements {
  double trueLongitude;      // geometric, degrees [0, 360)
  double apparentLongitude;  // true - 0.00569 - 0.00479 sin(259.18 - 1934.142 T), [0, 360)
  double radiusVector;       // au
  double meanAnomaly;        // degrees [0, 360)
};
// Returns the true geometric longitude; writes the radius vector and the apparent longitude.
double SunApparentLongitude(double julianCenturies1900, double& radiusVector,
                            double& apparentLongitude);
SunElements SunQuickElements(double julianCenturies1900);

struct SunAtDateResult {
  double julianDay;
  double julianCenturies1900;
  SunElements sun;
};
// `year` astronomical (negative for BC), `hours` decimal hours of Universal Time.
SunAtDateResult SunAtDate(int year, int month, int day, double hours);

// The Moon at a moment given in Julian centuries of UT since 1900, from the ephemeris: its
// longitude, and the node and apogee in the variants asked ('T' true node, else mean; 'M' mean
// apogee, else osculating).
struct MoonPositionResult {
  double moonLongitude, nodeLongitude, apogeeLongitude;
};
MoonPositionResult MoonPosition(const Ephemeris& ephemeris, double julianCenturies1900,
                                char nodeFlag, char apogeeFlag);

// Geocentric apparent longitude [0, 360) of Mercury..Pluto (body 2..9) straight from the
// theories (the cut series of the fast path; Pluto from its integration or its fitted course), at
// Julian centuries of UT since 1900. -777.0 for another body.
double AnalyticPlanetPosition(int body, double julianCenturies1900);

// Pluto's longitude [0, 360) from the dated tables of the ephemeris at a UT date and hours.
double PlutoTablePosition(const Ephemeris& ephemeris, int year, int month, int day, double hours);

// The longitude of a body (0..29) at a moment of UT, plus the offset, in [0, 360); -777.0 for
// a body outside 0..29 and for one whose place cannot be known then (BodyKnownAt). The lunar points
// are the true ones unless `variant` says otherwise.
double GetBodyLongitudeAtMoment(const Ephemeris& ephemeris, int body, JdUt moment, double offset,
                                LunarVariant variant = LunarVariant::True);
// The same at a Moment, whose Julian day is taken as Universal Time.
double GetBodyLongitudeAtMoment(const Ephemeris& ephemeris, int body, const Moment& moment,
                                double offset, LunarVariant variant = LunarVariant::True);
