// The chart points that take part in transit searches (the Black Moon, point 18, is the
// ephemeris's kBlackMoon).
#pragma once

#include "astro/ephemeris/bodies.h"

namespace transit_body {
inline constexpr int kSun = 0, kMoon = 1, kMercury = 2, kVenus = 3, kMars = 4, kJupiter = 5,
                     kSaturn = 6, kChiron = 10, kWhiteMoon = 21;
}  // namespace transit_body
