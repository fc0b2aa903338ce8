// Minor bodies of the program's own ephemeris: Pluto, Chiron, Vesta, Ceres, Pallas, Juno and
// Psyche by numerical integration (the Sun and the eight major planets as perturbers), and
// Proserpina, the White Moon and the eight hypothetical points 22..29 from their conventional
// elements. Conventions and sources: docs/decisions.md, "Minor bodies".
//
// Every function is safe to call from several threads. The integrated bodies are integrated once
// per process, on first use, and kept as dense output: the first call that needs a new stretch of
// time costs seconds, later calls cost microseconds.
#pragma once

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/vector3.h"

// Chart points 9..15 and 20..29.
bool IsMinorBody(int point);
// Points 9..15: positions come from the numerical integration inside the integrated range.
bool IsIntegratedMinorBody(int point);

// The integrated range, TT Julian days: 1599-01-01 0h to 2401-01-01 0h (Gregorian).
inline constexpr double kMinorIntegratedFirstJd = 2305082.5;
inline constexpr double kMinorIntegratedLastJd = 2598007.5;
bool InMinorIntegratedRange(double jdTt);

// Geometric heliocentric position, au, ecliptic and equinox J2000, at TT Julian day `jdTt`, for
// the points that are heliocentric bodies: 9..15 (integrated inside the range, MinorBodyFallback's
// motion outside),
// Proserpina 20 and the hypothetical points 22..29. Returns false (and leaves the output alone)
// for any other point, the White Moon 21 included, which is a geocentric construction.
bool MinorBodyHeliocentric(int point, double jdTt, Vector3& positionAuJ2000);

// Heliocentric position (au) and velocity (au per day), ecliptic and equinox J2000, of an
// integrated body (9..15) from the integration; false outside the integrated range (give or take
// two days) and for other points.
bool MinorBodyState(int point, double jdTt, Vector3& positionAu, Vector3& velocityAuPerDay);

// Apparent geocentric ecliptic of date (longitude, latitude in degrees, longitude speed in
// degrees per day) for every point 9..15 and 20..29 at TT Julian day `jdTt`. Points 9..15 use the
// integration inside the integrated range and MinorBodyFallback outside it; the other points are
// computed from their conventional elements at any date. Never NaN for -3000..3000.
// Any other point gives all zeros.
PointPosition MinorBodyApparent(int point, double jdTt);

// The fallback outside the integrated range, for points 9..15: Pluto on its course fitted to its
// integration from the tabulated state nearest in time (PlutoFarIntegrated), the asteroids by
// two-body motion on their mean elements with secular rates. The caller marks such positions
// approximate. Points 20..29 give the same as MinorBodyApparent.
PointPosition MinorBodyFallback(int point, double jdTt);

// Heliocentric position (au) and velocity (au per day), ecliptic and equinox J2000, of the points
// that are heliocentric bodies (as MinorBodyHeliocentric): from the integration inside the
// integrated range, from Pluto's fitted course outside it, and for the bodies on two-body motion
// the velocity from positions 0.1 day apart. False for the other points.
bool MinorBodyHeliocentricState(int point, double jdTt, Vector3& positionAu,
                                Vector3& velocityAuPerDay);

// Pluto outside the integrated range straight from its integration out of the tabulated state
// nearest in time (years 0..4000 every 80 years, and from the first one back to -3077), which its
// fitted course follows (tools/ephemeris_minor/fit_pluto_far.cpp). Slow: the first position in a
// new 80-year stretch integrates it. False before kPlutoFarFirstJd and from kPlutoFarEndJd on,
// where Pluto moves on its mean elements.
inline constexpr double kPlutoFarFirstJd = 597345.0;  // year -3077, on the fitted segments
inline constexpr double kPlutoFarEndJd = 3196145.0;   // the last state + 40 years
bool PlutoFarIntegrated(double jdTt, Vector3& positionAu);
