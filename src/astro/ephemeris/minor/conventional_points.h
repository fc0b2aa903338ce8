// Proserpina (20), the White Moon (21) and the hypothetical points 22..29 from their
// conventional elements (docs/decisions.md, "Minor bodies", names each set and its source).
#pragma once

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/vector3.h"

namespace minor {

// Proserpina and the points 22..29 are heliocentric bodies: position in au, ecliptic and
// equinox J2000. False for any other point.
bool ConventionalHeliocentric(int point, double jdTt, Vector3& positionAuJ2000);

// The points 22..29 with their velocity (au per day, of their two-body motion). False for any
// other point.
bool HypotheticalHeliocentricState(int point, double jdTt, Vector3& positionAuJ2000,
                                   Vector3& velocityAuPerDay);

// The White Moon: a geocentric mean longitude of date, nutation and light-time applied,
// latitude zero; the speed its mean motion plus the nutation's rate. `frame` is DateFrameAt(jdTt).
PointPosition WhiteMoonApparent(double jdTt);
PointPosition WhiteMoonApparent(double jdTt, const DateFrame& frame);

}  // namespace minor
