// The major planets as perturbers of the minor bodies: masses, and heliocentric positions
// sampled from the planetary theory (PerturberSeries: the terms it leaves out move a planet by less
// than 1e-5 au, no more than the interpolation does) on a grid per planet and interpolated (cubic
// Hermite from the sampled positions and velocities), so that an integration over centuries
// evaluates the series only every few days. Grid steps and interpolation errors:
// docs/decisions.md.
#pragma once

#include <array>
#include <bitset>
#include <map>
#include <vector>

#include "astro/ephemeris/vector3.h"

namespace minor {

inline constexpr int kPlanetCount = 8;  // Mercury .. Neptune, in the order of enum Planet

// GM of each planet over GM of the Sun (IAU/JPL DE values). The Earth stands for the Earth and
// the Moon together, placed at the Earth's centre.
extern const std::array<double, kPlanetCount> kPlanetMassRatio;

// Not thread-safe: its owner serialises the calls.
class PlanetGrid {
 public:
  using Positions = std::array<Vector3, kPlanetCount>;
  // Only the planets set in `used` are sampled; the others stay at zero. `stepScale` multiplies
  // every planet's grid step (fewer evaluations of the series, larger interpolation errors);
  // `innerDivisor` divides the steps of Mercury..Mars (their interpolation errors, up to 1e-4 au
  // for Mercury, shift a body that passes close by a giant planet by minutes of arc within
  // centuries; a step 4 times shorter makes them 256 times smaller).
  explicit PlanetGrid(std::bitset<kPlanetCount> used, int stepScale = 1, int innerDivisor = 1);
  PlanetGrid(const PlanetGrid&) = delete;  // it points into its own blocks
  PlanetGrid& operator=(const PlanetGrid&) = delete;
  // Heliocentric positions (au, ecliptic and equinox J2000) at TT Julian day `jd`.
  void PositionsAt(double jd, Positions& out);

 private:
  struct Node {
    Vector3 position, velocity;
  };
  const Node& NodeOf(int planet, long index);

  std::bitset<kPlanetCount> used_;
  std::array<double, kPlanetCount> step_{};
  std::array<std::map<long, std::vector<Node>>, kPlanetCount> blocks_;
  // The block each planet read last (its number and nodes), since calls come in time order.
  std::array<long, kPlanetCount> lastBlock_{};
  std::array<const std::vector<Node>*, kPlanetCount> lastNodes_{};
};

// Heliocentric acceleration (au / day^2) of a massless body at `r` (au, ecliptic and equinox
// J2000) at TT Julian day `t`: the Sun, and the planets of `planets` (direct and indirect terms).
Vector3 SunAndPlanetsAcceleration(double t, const Vector3& r, PlanetGrid& planets);

}  // namespace minor
