// Small helpers of the chart computation: time scales of a Source, body longitudes at a moment,
// angle folding and a bounded root search on a wrapped angle.
#pragma once

#include <functional>
#include <optional>

#include "astro/chart/chart_context.h"
#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/instant.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/datetime/source.h"
#include "foundation/status.h"

namespace chartmath {

// The angle folded into (-180, 180].
double Wrap180(double angle);

// Universal Time of a Source's moment.
inline JdUt UtOf(const Source& source) { return JdUt{UniversalJulianDay(source)}; }

// The lunar variant of a point by the calculation settings (nodes, Black Moon and perigee).
LunarVariant VariantOfPoint(const cfg::CalculationSettings& calc, int point);

// Apparent longitude, latitude and speed of body 0..29 at a Universal Time, by the context's
// ephemeris and calculation settings.
BodyPosition BodyAt(const ChartContext& ctx, int point, JdUt ut);
BodyPosition BodyAtTt(const ChartContext& ctx, int point, JdTt tt);

// Moves `source` to the Universal Time `ut`, keeping its name and place; the local moment is
// re-expressed on the clock its place had then when the place is a town of the atlas whose tz
// zone the installed database knows (MoveToTownClock), on its own clock otherwise.
Status MoveSourceToUt(Source& source, double ut);

// A zero of f(t), f given as a wrapped angle in (-180, 180] that grows with t near the zero, found
// between t0 and t1 where f(t0) < 0 <= f(t1) (both |f| below 90). Secant steps kept inside the
// bracket, falling back to halving; at most 60 steps, to `tolDays`.
double RefineRoot(const std::function<double(double)>& f, double t0, double f0, double t1,
                  double f1, double tolDays);

// The first t in (from, from + span] (span > 0) or [from + span, from) (span < 0) nearest to
// `from` where the wrapped angle f(t) passes 0 going upwards, scanned in steps of `step` days;
// nothing when there is none within the span.
std::optional<double> FindUpwardZero(const std::function<double(double)>& f, double from,
                                     double span, double step, double tolDays);

}  // namespace chartmath

namespace chartmath {

// Ecliptic (longitude, latitude) to equatorial (right ascension [0, 360), declination) with the
// obliquity `eps`; degrees.
void EclipticToEquatorial(double lon, double lat, double eps, double& ra, double& dec);
// Equatorial to horizontal for a local sidereal time (degrees) and a geographic latitude: azimuth
// from the north through the east [0, 360) and altitude; degrees.
void EquatorialToHorizontal(double ra, double dec, double lstDeg, double latitude, double& azimuth,
                            double& altitude);

}  // namespace chartmath
