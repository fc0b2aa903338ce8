// The one search under every transit search: the next moment at which a moving body A reaches a
// target longitude, either a fixed ecliptic longitude or the longitude of a second moving body B,
// each plus an aspect offset. Qt-free and re-entrant: the ephemeris is read-only and every
// search keeps its state on the stack.
//
// The separation s(t) = longitude of A - target, folded into [-180, 180], changes by at most
// V days x the pair's largest relative speed V (the bodies' motion bounds). Stepping by |s| / V
// can therefore never pass a crossing, whichever body turns retrograde on the way; where |s| is
// small the step is held at a short floor (an hour, less for the fast bodies) and a crossing is a
// change of side between two samples. The bracket is then halved until the separation at its
// far end is within the tolerance in degrees, or the bracket is shorter than the tolerance in
// days. Every search ends at `end` and after a bounded number of positions.
#pragma once

#include "astro/ephemeris/ephemeris.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/numbers/angles.h"

// A moving body A against its target.
struct CrossingPair {
  int body = 0;                     // A, chart point 0..29
  int target = -1;                  // B, chart point 0..29, or -1 for a fixed longitude
  double fixedLongitude = kAbsent;  // degrees, the target when `target` is -1
  double offset = 0.0;              // aspect offset added to the target, degrees
  LunarVariant lunarPoints = LunarVariant::True;  // the variant of points 16..19
};

struct CrossingTolerance {
  double degrees = 1.0 / 3600.0;  // separation at the reported moment
  double days = 1.0 / 86400.0;    // or the length of the last bracket (at least one second)
};

struct CrossingResult {
  bool found = false;
  // Universal Time: the first moment found on the far side of the crossing, so a search that
  // starts there finds the next crossing, not this one again.
  JdUt moment{0.0};
  int evaluations = 0;  // ephemeris positions computed
};

// The first change of side of A against its target after `start`, at or before `end`. Not found
// when there is none, when end is before start, when a moment is not a finite number, or when a
// body lies outside 0..29 or the fixed longitude is absent (-777.0) or not finite.
CrossingResult FindNextCrossing(const Ephemeris& ephemeris, const CrossingPair& pair, JdUt start,
                                JdUt end, CrossingTolerance tolerance);

// The largest rate of change of the separation, degrees per day: A's largest forward or backward
// speed against a fixed target; against a moving one, A forward with B backward or the reverse.
double MaxRelativeSpeed(const CrossingPair& pair);

// The signed separation of a longitude from a target, folded into [-180, 180]: positive when the
// longitude lies past the target (ahead of it in the order of the signs).
double SignedSeparation(double longitude, double target);
