// The lunar points: the Moon's ascending node and apogee (Black Moon), mean and true, apparent
// geocentric ecliptic of date (mean ecliptic, true equinox). Perigee and South node are the
// opposite points (longitude + 180, latitude negated).
#pragma once

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/series_sets.h"

// Mean node: the ELP mean elements of Chapront et al. (1998), the node's longitude of date.
PointPosition MeanLunarNode(double jdTt);
// True node: the node of the osculating geocentric orbit (from the ELP state vector of the full
// series; the speed by a central difference).
PointPosition TrueLunarNode(double jdTt);
// Mean apogee: the mean perigee + 180 on the mean lunar orbit (inclination 5.1453964 degrees on
// the ecliptic, ascending node at the mean node), projected onto the ecliptic; hence a latitude.
PointPosition MeanLunarApogee(double jdTt);
// Osculating apogee: the apocentre of the osculating geocentric orbit of the Moon (two-body,
// GM of the Earth plus the Moon; full series, speed by a central difference).
PointPosition OsculatingLunarApogee(double jdTt);

// The same without the speed (left 0), for sampling.
PointPosition MeanLunarNodePlace(double jdTt);
PointPosition TrueLunarNodePlace(double jdTt);
PointPosition MeanLunarApogeePlace(double jdTt);
PointPosition OsculatingLunarApogeePlace(double jdTt);

// The four points with their speeds from the derivatives: the mean ones from their polynomials,
// the true node and the osculating apogee from the Moon's motion (position, velocity and
// acceleration of the series) at the same moment. `frame` is DateFrameAt(jdTt).
PointPosition MeanLunarNode(double jdTt, const DateFrame& frame);
PointPosition MeanLunarApogee(double jdTt, const DateFrame& frame);
PointPosition TrueLunarNode(const MoonMotion& moon, const DateFrame& frame);
PointPosition OsculatingLunarApogee(const MoonMotion& moon, const DateFrame& frame);

// The opposite point: longitude + 180 in [0, 360), latitude negated, same speed.
PointPosition OppositePoint(const PointPosition& p);
