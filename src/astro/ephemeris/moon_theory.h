// The Moon from the ELP/MPP02 series (fitted to DE405), coefficient tables in
// series_elp_data.cpp.
#pragma once

#include "astro/ephemeris/vector3.h"

inline constexpr double kKmPerAu = 149597870.700;

// Geometric geocentric position (km) and velocity (km per day) at TT Julian day `jdTt`,
// rectangular, ecliptic and equinox J2000.
void MoonGeocentricState(double jdTt, Vector3& positionKm, Vector3& velocityKmPerDay);
