// Minor bodies of the program's own ephemeris: Pluto, Chiron, Vesta, Ceres, Pallas, Juno and
// Psyche by numerical integration (the Sun and the eight major planets as perturbers), and
// Proserpina, the White Moon and the eight hypothetical points 22..29 from their conventional
// elements. Conventions and sources: docs/decisions.md, "Minor bodies".
//
// Every function is safe to call from several threads. Inside the integrated range the
// integrated bodies are integrated once per process, on first use, and kept as dense output: the
// first call that needs a new stretch of time costs seconds, later calls cost microseconds.
// Outside it they follow courses fitted ahead of time to the same integration continued (no
// integration at run time), and beyond the years of those courses their mean elements.
#pragma once

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/vector3.h"

// Chart points 9..15 and 20..29.
bool IsMinorBody(int point);
// Points 9..15: positions come from the numerical integration inside the integrated range.
bool IsIntegratedMinorBody(int point);

// The integrated range, TT Julian days: 1600-01-01 0h to 2400-01-01 0h (Gregorian), the span of
// the tables, so that no chart outside the tables integrates.
inline constexpr double kMinorIntegratedFirstJd = 2305447.5;
inline constexpr double kMinorIntegratedLastJd = 2597641.5;
bool InMinorIntegratedRange(double jdTt);

// The years in which the places of Chiron and the asteroids 10..15 are known here, TT Julian days
// [first, end): 1000-01-01 0h (Julian calendar) to 3001-01-01 0h (Gregorian). Inside them the
// integration or the courses fitted to it serve (within 1' of the integration); outside them the
// bodies' mean elements drift by degrees (Chiron's orbit changes at its passages by Saturn), and
// the charts leave the bodies out.
inline constexpr double kMinorKnownFirstJd = 2086307.5;
inline constexpr double kMinorKnownEndJd = 2817152.5;
// Chiron's known years begin later, at 1030-01-01 0h (Julian calendar): its passage by Saturn in
// 1064 magnifies the errors of its forces some fifty times going back, and before about 1026 its
// place is more than 1' off.
inline constexpr double kChironKnownFirstJd = 2097265.5;
// False for an integrated body (9..15) at a date outside the years in which its place is known
// (Pluto: kPlutoFarFirstJd..kPlutoFarEndJd, its fitted course; the asteroids:
// kMinorKnownFirstJd..kMinorKnownEndJd; Chiron from kChironKnownFirstJd) and for a date that is not
// finite; true otherwise (the points 20..29 are formulas, known at every date).
bool MinorBodyKnownAt(int point, double jdTt);
// The TT Julian days [first, end) in which the place of an integrated body is known; false for
// the other points, known at every date.
bool MinorBodyKnownSpan(int point, double& firstJdTt, double& endJdTt);

// Geometric heliocentric position, au, ecliptic and equinox J2000, at TT Julian day `jdTt`, for
// the points that are heliocentric bodies: 9..15 (integrated inside the range, give or take two
// days, MinorBodyFallback's motion outside), Proserpina 20 and the hypothetical points 22..29.
// Returns false (and leaves the output alone) for any other point, the White Moon 21 included,
// which is a geocentric construction.
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
// integration from the tabulated state nearest in time (PlutoFarIntegrated), Chiron and the
// asteroids on their courses fitted to the integration continued (MinorBodyIntegrated) inside
// their known years, beyond them by two-body motion on their mean elements with secular rates
// (degrees off: MinorBodyKnownAt is false there). Points 20..29 give the same as
// MinorBodyApparent.
PointPosition MinorBodyFallback(int point, double jdTt);

// Heliocentric position (au) and velocity (au per day), ecliptic and equinox J2000, of the points
// that are heliocentric bodies (as MinorBodyHeliocentric): from the integration inside the
// integrated range (no margin: a date outside it never integrates), from the fitted courses
// outside it, and for the bodies on two-body motion the velocity from positions 0.1 day apart.
// False for the other points.
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

// Chiron and the asteroids (10..15) straight from their integration, continued to any date: what
// their far courses are fitted to (tools/ephemeris_minor/fit_minor_far.cpp) and what the test of
// the fit compares them with. Chiron before the integrated range follows an integration of its
// own with denser inner planets, which it reaches within 50 years of the range's start. Slow: the
// first position in a new stretch integrates it (some seconds for a century in a debug build).
// False for the other points.
bool MinorBodyIntegrated(int point, double jdTt, Vector3& positionAu);
