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

// House-system codes (the system numbers of the calculation settings).
inline constexpr int kHousePlacidus = 0;
inline constexpr int kHouseTopocentric = 1;
inline constexpr int kHouseRegiomontanus = 2;
inline constexpr int kHouseEqualFromMc = 3;
inline constexpr int kHouseEqualFromAsc = 4;
inline constexpr int kHouseCampanus = 5;
inline constexpr int kHouseKoch = 6;
inline constexpr int kHousePorphyry = 7;
// Axial rotation: the equator divided from ARMC, carried along hour circles.
inline constexpr int kHouseMeridian = 8;
// The equator divided from ARMC, carried along circles of ecliptic longitude.
inline constexpr int kHouseMorinus = 9;
// Equal houses from the Sun.
inline constexpr int kHouseSolar = 10;
// The Porphyry points as middles of the houses (the Indian bhava method).
inline constexpr int kHouseBrahmagupta = 11;
// Alcabitius: the Ascendant's diurnal and nocturnal semi-arcs divided in thirds.
inline constexpr int kHouseMedical = 12;
// Equal houses from 0 Aries.
inline constexpr int kHouseEarth = 13;
// Equal houses from the Sun.
inline constexpr int kHouseSun = 14;
// Equal houses from the Moon.
inline constexpr int kHouseMoon = 15;
// Whole signs from the Ascendant's sign.
inline constexpr int kHouseSignHouse = 16;
// Azimuths divided from the meridian; cusp 10 the MC, cusp 1 the Vertex, cusps against the signs.
inline constexpr int kHouseHorizontal = 17;
// Equal houses from 0 Aries.
inline constexpr int kHouseNatural = 18;

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
