// The bodies the ephemeris computes: chart points 0..29 (0 Sun, 1 Moon, 2..9 Mercury..Pluto,
// 10 Chiron, 11 Vesta, 12 Ceres, 13 Pallas, 14 Juno, 15 Psyche, 16 North node, 17 South node,
// 18 Black Moon (lunar apogee), 19 lunar perigee, 20 Proserpina, 21 White Moon, 22..29 the
// hypothetical points Cupido, Hades, Zeus, Kronos, Apollon, Admetos, Vulkanus, Poseidon).
#pragma once

#include <initializer_list>

#include "astro/ephemeris/apparent.h"
#include "astro/ephemeris/time_scales.h"

inline constexpr int kBodyCount = 30;
inline constexpr int kNorthNode = 16, kSouthNode = 17, kBlackMoon = 18, kLunarPerigee = 19;

// Apparent geocentric ecliptic of date (mean ecliptic, true equinox), tropical: degrees
// [0, 360), degrees, degrees per day.
struct BodyPosition {
  double longitude = 0.0, latitude = 0.0, speed = 0.0;
  bool approximate = false;  // computed outside the tables' span
  // False where the body's place cannot be known (BodyKnownAt): the values are then no more than
  // a rough guess, degrees off, that no chart, table or search shows.
  bool known = true;
  char Status() const { return speed < 0.0 ? 'R' : 'D'; }
};

// Points 16..19 come as the true (osculating) or the mean variant.
enum class LunarVariant { True, Mean };

enum class Planet;
// Points 2..8 as planets of the theory.
Planet PlanetOfPoint(int point);

// True for 0..29.
constexpr bool IsBody(int point) { return point >= 0 && point < kBodyCount; }

// Whether the place of body `point` (0..29) can be known at TT Julian day `jdTt`: false for
// Chiron and the asteroids outside the years 1000..3000 and for Pluto outside its fitted course
// (the years and why: docs/decisions.md, "Minor bodies"), for a point outside 0..29 and for a date
// that is not finite; true otherwise. The charts, their tables and the searches leave a body out
// where this is false.
bool BodyKnownAt(int point, double jdTt);
// The first and the last calendar year (astronomical numbering) in which the place of `point` is
// known; false for a body known at every date.
bool BodyKnownYears(int point, int& firstYear, int& lastYear);
// The TT Julian days from which and until which the place of `point` is known; false for a body
// known at every date.
bool BodyKnownSpan(int point, double& firstJdTt, double& endJdTt);
// Narrows the Universal Time interval [start, end] to the moments at which the places of all
// `points` are known (BodyKnownSpan, carried from TT to UT, a second inside each end, so that a
// moment found within it is known whichever way it is rounded); false when nothing is left. A
// search clips its window with it instead of asking at its start alone, so that a window that
// crosses an end of the known years still gives the events inside them.
bool ClipToKnownSpan(std::initializer_list<int> points, JdUt& start, JdUt& end);

// The apparent geocentric ecliptic of date of a body straight from the theories (the full
// series, formulas, the minor bodies' integration or two-body motion), without the tables:
// light-time by iteration, speeds by a central difference. What the tables were fitted to and
// what the fast path (fast_theory.h, which serves charts outside the tables) is measured against.
// Slow (a fraction of a millisecond). Zeros for a point outside 0..29.
PointPosition TheoryPosition(int point, LunarVariant variant, double jdTt);
// The same without the speed (left 0) where that saves work: the Sun, the Moon, the planets
// and the lunar points.
PointPosition TheoryPlace(int point, LunarVariant variant, double jdTt);
