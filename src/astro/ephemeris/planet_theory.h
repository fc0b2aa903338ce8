// The major planets from the full VSOP87B series (heliocentric spherical coordinates, ecliptic
// and equinox J2000), evaluated from the coefficient tables in series_vsop87b_data.cpp.
#pragma once

#include "astro/ephemeris/vector3.h"

enum class Planet { Mercury, Venus, Earth, Mars, Jupiter, Saturn, Uranus, Neptune };

// Heliocentric position (au) and velocity (au per day) at TT Julian day `jdTt`, rectangular,
// ecliptic and equinox J2000. Earth is the Earth itself, not the Earth-Moon barycentre.
void HeliocentricState(Planet p, double jdTt, Vector3& positionAu, Vector3& velocityAuPerDay);
