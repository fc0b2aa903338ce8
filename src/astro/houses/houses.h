// House cusps of the 19 house systems and their geodetic variants.
//
// A house-system code is the system number 0..18 of the calculation settings; a chart's own code
// adds 100 when its houses are geodetic (only systems 0, 1, 2, 5, 6 and 7 have a geodetic variant).
// Input: ARMC, geographic latitude and true obliquity in degrees (plus the Sun's or the Moon's
// longitude for the systems drawn from them). Output: 12 cusps on the ecliptic of date, in
// [0, 360), with the Ascendant, MC, Vertex and East point. No cusp is ever NaN: a quadrant system
// that cannot be cast inside the polar circles falls back to Porphyry and the result says so.
// The definitions chosen for the systems without a settled one are in docs/decisions.md.
#pragma once

#include <array>
#include <optional>

#include "foundation/numbers/angles.h"

enum HouseSystem : int {
  kHousePlacidus = 0,
  kHouseTopocentric = 1,
  kHouseRegiomontanus = 2,
  kHouseEqualFromMc = 3,
  kHouseEqualFromAsc = 4,
  kHouseCampanus = 5,
  kHouseKoch = 6,
  kHousePorphyry = 7,
  kHouseMeridian = 8,      // axial rotation: the equator divided from ARMC, hour circles
  kHouseMorinus = 9,       // the equator divided from ARMC, circles of ecliptic longitude
  kHouseSolar = 10,        // equal houses from the Sun
  kHouseBrahmagupta = 11,  // Porphyry points as house middles (the Indian bhava method)
  kHouseMedical = 12,      // Alcabitius: the Ascendant's diurnal semi-arc divided in thirds
  kHouseEarth = 13,        // equal houses from 0 Aries
  kHouseSun = 14,          // equal houses from the Sun
  kHouseMoon = 15,         // equal houses from the Moon
  kHouseSignHouse = 16,    // whole signs from the Ascendant's sign
  kHouseHorizontal = 17,   // azimuths divided from the meridian; cusp 1 at the Vertex
  kHouseNatural = 18,      // equal houses from 0 Aries
};

inline constexpr int kHouseSystemCount = 19;
inline constexpr int kGeodeticHouseOffset = 100;

// True for 0..18 and for 100 plus a system that has a geodetic variant.
bool IsKnownHouseSystem(int code);
// True for the systems 0, 1, 2, 5, 6, 7 (the code without the geodetic 100).
bool HasGeodeticVariant(int system);
constexpr bool IsGeodeticHouseCode(int code) { return code >= kGeodeticHouseOffset; }
constexpr int BaseHouseSystem(int code) { return code % kGeodeticHouseOffset; }
// The systems drawn from a body's longitude (10 and 14 the Sun, 15 the Moon).
bool HouseSystemNeedsSun(int code);
bool HouseSystemNeedsMoon(int code);
// The quadrant systems that cannot be cast inside the polar circles (Placidus, Koch, the medical
// system) and fall back to Porphyry there.
bool HouseSystemHasPolarFallback(int code);

// The ARMC the houses of a place are cast for: the local sidereal time (Greenwich apparent
// sidereal time plus the east longitude) or, for a geodetic code, the east longitude itself
// (the zodiac laid on the Earth: 0 Aries of right ascension on the Greenwich meridian).
double HouseArmcDeg(double greenwichSiderealDeg, double eastLongitudeDeg, int code);

struct HouseInput {
  double armcDeg = 0.0;       // see HouseArmcDeg
  double latitudeDeg = 0.0;   // geographic, north positive, -90..90
  double obliquityDeg = 0.0;  // true obliquity of date
  int system = kHousePlacidus;
  double sunDeg = kAbsent;   // apparent longitude of the Sun (systems 10 and 14)
  double moonDeg = kAbsent;  // apparent longitude of the Moon (system 15)
};

struct Houses {
  std::array<double, 12> cusps{};  // cusps[i] begins house i + 1
  double ascendantDeg = 0.0;
  double mcDeg = 0.0;
  double vertexDeg = 0.0;
  double eastPointDeg = 0.0;
  bool porphyryFallback = false;  // the system could not be cast here: Porphyry cusps instead
};

// The houses, or nothing when the code is unknown, the latitude lies outside -90..90, an input is
// not finite, or the system needs the Sun's or the Moon's longitude and it is absent.
std::optional<Houses> HouseCusps(const HouseInput& input);
