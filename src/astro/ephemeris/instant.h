// Everything that depends only on the moment, computed once and passed to every routine.
#pragma once

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/time_scales.h"

struct Instant {
  JdUt ut;
  JdTt tt;
  double meanObliquityDeg;
  double trueObliquityDeg;
  double nutationInLongitudeDeg;
  double nutationInObliquityDeg;
  double meanSiderealTimeDeg;      // Greenwich, IAU 2006
  double apparentSiderealTimeDeg;  // Greenwich, IAU 2006, with the equation of the equinoxes
  Matrix3 precession;              // ecliptic J2000 -> mean ecliptic and equinox of date
};

Instant MakeInstant(JdUt ut);
// For a moment given in TT (positions are computed and compared at TT).
Instant MakeInstantTt(JdTt tt);
