// The theories at any date at the speed of the tables: the apparent place of every chart point
// from the cut series (series_sets.h), each body evaluated once per position with its analytic
// derivative.
//
// What depends only on the moment (the Earth's heliocentric state, the precession, the nutation and
// their rates, the Moon's motion) is computed once per instant and series and shared by every body
// asked for at that instant: each thread keeps the last instant it computed (a per-thread memo, so
// that the ephemeris stays shareable by workers without a lock). Light-time: the body's position
// at the moment of emission from its position, velocity and the Sun's pull at the moment itself,
// no further evaluation (the neglected third-order term stays below 1e-6"). Speeds: the derivative
// of the whole chain (light-time, the Sun's deflection, aberration with the Earth's Keplerian
// acceleration, precession and nutation). Differences from TheoryPosition and from the full
// series: docs/decisions.md, "Ephemeris".
#pragma once

#include "astro/ephemeris/bodies.h"

class SeriesSet;

// Point 0..29 (the lunar points in `variant`) at TT Julian day `jdTt` from the cut series, or from
// `series` (FullSeries() to measure the cut). Zeros for a point outside 0..29.
PointPosition FastTheoryPosition(int point, LunarVariant variant, double jdTt);
PointPosition FastTheoryPosition(int point, LunarVariant variant, double jdTt,
                                 const SeriesSet& series);
