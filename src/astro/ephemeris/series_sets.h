// The series of the theories (VSOP87B for the planets, ELP/MPP02 for the Moon) held as one block
// of terms per planet or coordinate and power of time, and evaluated with their analytic
// derivatives. Three sets exist per process, each built once on first use (thread-safely) and then
// read-only: the full series, the series cut to the terms whose amplitude matters for the
// accuracy kept outside the tables (thresholds and the errors they add: docs/decisions.md,
// "Ephemeris"), and the planets cut further for the minor bodies' perturbers.
//
// The sines and cosines of a block are computed a few hundred at a time by a polynomial kernel the
// compiler vectorises (within 4e-15 of the library's functions), with AVX2 and FMA where the
// processor has them.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "astro/ephemeris/series_data.h"
#include "astro/ephemeris/vector3.h"

enum class Planet;

// Where the series are cut. A VSOP87B term A cos(B + C tau) of power k is kept when
// |A| kTauReach^k reaches the planet's threshold (radians for L and B; for R the threshold times
// the planet's mean distance, so that each stands for the same angle seen from the Sun); an ELP
// term A sin(...) T^k when |A| kCenturyReach^k reaches the Moon's threshold (arcseconds for the
// longitude and latitude; for the distance the threshold times the Moon's mean distance).
// Zero keeps every term.
struct SeriesCut {
  static constexpr double kTauReach = 5.0;       // millennia from J2000: 3000 BC
  static constexpr double kCenturyReach = 50.0;  // centuries from J2000
  std::array<double, 8> planetRad{};             // Mercury .. Neptune
  double moonArcsec = 0.0;
};

// The thresholds of the fast path (docs/decisions.md).
SeriesCut FastPathCut();
// The thresholds of the planets as perturbers of the minor bodies: 1e-6 radian, errors far below
// those of the perturbers' interpolation (minor/perturbers.h).
SeriesCut PerturberCut();

// The Moon's geometric geocentric motion: km, km per day, km per day^2, ecliptic and equinox
// J2000.
struct MoonMotion {
  Vector3 position, velocity, acceleration;
};

class SeriesSet {
 public:
  explicit SeriesSet(const SeriesCut& cut);

  // Heliocentric position (au) and velocity (au per day) at TT Julian day `jdTt`, rectangular,
  // ecliptic and equinox J2000; the velocity is the derivative of the series.
  void PlanetState(Planet planet, double jdTt, Vector3& positionAu,
                   Vector3& velocityAuPerDay) const;
  // The Moon with the first derivative of the series and, when `acceleration`, the second (else
  // the Earth's pull alone, which leaves out the Sun's 1 %). The rotation from the mean ecliptic of
  // date onto the J2000 ecliptic is taken as fixed over the derivatives (its rate moves the
  // velocity by a part in 10^7).
  MoonMotion Moon(double jdTt, bool acceleration = true) const;

  std::size_t PlanetTermCount(Planet planet) const;
  std::size_t MoonTermCount() const;

  // The terms of one block, column by column.
  struct VsopBlock {
    int power = 0;
    std::vector<double> a, b, c;
  };
  struct ElpBlock {
    int power = 0;
    std::vector<double> a, phase, f1, f2, f3, f4;
  };

 private:
  // [planet][coordinate 0 L, 1 B, 2 R], blocks in increasing power.
  std::array<std::array<std::vector<VsopBlock>, 3>, 8> planets_;
  // [coordinate 0 longitude, 1 latitude, 2 distance], blocks in increasing power.
  std::array<std::vector<ElpBlock>, 3> moon_;
};

// Every term of the theories.
const SeriesSet& FullSeries();
// The terms kept by FastPathCut().
const SeriesSet& CutSeries();
// The terms kept by PerturberCut().
const SeriesSet& PerturberSeries();
