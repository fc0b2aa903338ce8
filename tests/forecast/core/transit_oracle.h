// A brute-force oracle for the transit searches: the separation of a body from its target sampled
// on a fixed grid (an hour; ten minutes for the Moon), every change of side through the target
// bisected to one second. Slow and simple on purpose: it shares nothing with the search but the
// ephemeris.
#pragma once

#include <optional>
#include <vector>

#include "astro/ephemeris/ephemeris.h"

namespace oracle {

// The program's ephemeris tables, loaded once for the test program.
const Ephemeris& Tables();

struct Pair {
  int body = 0;
  int target = -1;              // a moving target, or -1 for `fixedLongitude`
  double fixedLongitude = 0.0;  // degrees
  double offset = 0.0;          // added to the target, degrees
  LunarVariant variant = LunarVariant::True;
};

inline constexpr double kHour = 1.0 / 24.0;
inline constexpr double kTenMinutes = 1.0 / 144.0;
inline constexpr double kSecond = 1.0 / 86400.0;

// Longitude of the body minus the target's, folded into [-180, 180), at a Julian day of UT.
double Separation(const Pair& pair, double jdUt);
// The rate of the separation, degrees per day, from the ephemeris speeds.
double SeparationRate(const Pair& pair, double jdUt);
// The first crossing after `start` and not after `limit` (Julian days of UT), or none.
std::optional<double> FirstCrossing(const Pair& pair, double start, double limit, double grid);
// Every crossing within (start, limit], or only the first.
std::vector<double> Crossings(const Pair& pair, double start, double limit, double grid,
                              bool firstOnly = false);

}  // namespace oracle
