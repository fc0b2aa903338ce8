// The one search under every transit search: the next moment at which a moving body A reaches a
// target longitude, either a fixed ecliptic longitude or the longitude of a second moving body B,
// each plus an aspect offset. Qt-free and re-entrant: the ephemeris is read-only and every
// search keeps its state on the stack.
//
// The separation s(t) = longitude of A - target, folded into [-180, 180], falls at most by A's
// largest backward speed plus B's largest forward speed a day, and rises at most by A's largest
// forward speed plus B's largest backward speed (the bodies' motion bounds). A step over which
// neither the fall nor the rise can reach the target (s itself one way, 360 - |s| round the circle
// the other) can therefore never pass a crossing, whichever body turns retrograde on the way: a
// body that never runs backwards leaves a target it has just passed for most of a revolution. No
// step moves the separation by 180 degrees or more. Where |s| is small the step is held at a short
// floor (an hour, less for the fast bodies) and a crossing is a change of side between two
// samples. Against a moving target the slower body is taken from a short fitted track while the
// search approaches (its own speeds then bound the steps where the track covers them); a sample
// within the track's error of the target is computed again on the bodies' own positions, and the
// crossing found is confirmed on positions computed at the moment. Where the separation turns
// within a step held at the floor, near the target (a relative station), the turn's deepest point
// is sought on the bodies' own positions (the cubic through the samples' separations and rates),
// so that an aspect reached by a hair and left again is found however close its two crossings.
// The bracket is then narrowed
// until the separation at its far end is within the tolerance in degrees, or the bracket is
// shorter than the tolerance in days: by Newton steps on the ephemeris speeds (aimed half the
// tolerance in degrees past the crossing), by halving where they do not shrink it; a step that
// would land within half the time tolerance of the last moment is taken just past it, so that the
// bracket closes. Every search ends at `end` and after a bounded number of positions.
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

// How a moving target's slower body is taken while the search approaches a crossing: from a short
// fitted track (cubic pieces through its positions and speeds a few days apart, so that a step
// computes one position instead of two), or from the ephemeris at every step. Either way the
// crossing is confirmed and solved on positions computed at the moment itself.
enum class TargetTrack { Fitted, Direct };

// The first change of side of A against its target after `start`, at or before `end`, within the
// years in which the places of both are known (ClipToKnownSpan). Not found when there is none, when
// end is before start, when a moment is not a finite number, or when a body lies outside 0..29 or
// the fixed longitude is absent (-777.0) or not finite.
CrossingResult FindNextCrossing(const Ephemeris& ephemeris, const CrossingPair& pair, JdUt start,
                                JdUt end, CrossingTolerance tolerance,
                                TargetTrack track = TargetTrack::Fitted);

// The largest rate of change of the separation, degrees per day: A's largest forward or backward
// speed against a fixed target; against a moving one, A forward with B backward or the reverse.
double MaxRelativeSpeed(const CrossingPair& pair);

// The signed separation of a longitude from a target, folded into [-180, 180]: positive when the
// longitude lies past the target (ahead of it in the order of the signs).
double SignedSeparation(double longitude, double target);
