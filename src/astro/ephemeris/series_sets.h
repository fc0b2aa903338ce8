// The series of the theories (VSOP87B for the planets, ELP/MPP02 for the Moon), evaluated with
// their analytic derivatives. Three kinds of set exist per process, each built once on first use
// (thread-safely) and then read-only: the full series, the series cut to the terms whose amplitude
// matters for the accuracy kept outside the tables (thresholds and the errors they add:
// docs/decisions.md, "Ephemeris"), and the planets cut further for the minor bodies' perturbers.
// The cut series come in bands of distance from J2000: a term of power k of time is kept in a
// band when it reaches the threshold at the band's farthest date, so that nearer dates drop the
// terms that grow large only far away.
//
// The terms of one planet (or of the Moon) and one power of time are held once per frequency: the
// terms of the three coordinates that share it become the two amplitudes of its cosine and sine,
// so that each frequency's sine and cosine is computed once. These are computed a few hundred at a
// time by a polynomial kernel the compiler vectorises (within 4e-15 of the library's functions),
// with AVX2 and FMA where the processor has them.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "astro/ephemeris/series_data.h"
#include "astro/ephemeris/vector3.h"

enum class Planet;

// Where the series are cut. A VSOP87B term A cos(B + C tau) of power k is kept when
// |A| tauReach^k reaches the planet's threshold (radians for L and B; for R the threshold times
// the planet's mean distance, so that each stands for the same angle seen from the Sun); an ELP
// term A sin(...) T^k when |A| (10 tauReach)^k (T in centuries) reaches the Moon's threshold
// (arcseconds for the longitude and latitude; for the distance the threshold times the Moon's mean
// distance). Zero keeps every term.
struct SeriesCut {
  double tauReach = 5.0;              // millennia from J2000 (5: 3000 BC)
  std::array<double, 8> planetRad{};  // Mercury .. Neptune
  double moonArcsec = 0.0;
};

// The thresholds of the fast path (docs/decisions.md), for dates within `tauReach` millennia of
// J2000.
SeriesCut FastPathCut(double tauReach = 5.0);
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
  // The Moon with the first and second derivatives of the series. The rotation from the mean
  // ecliptic of date onto the J2000 ecliptic is taken as fixed over the derivatives (its rate moves
  // the velocity by a part in 10^7).
  MoonMotion Moon(double jdTt) const;

  std::size_t PlanetTermCount(Planet planet) const;
  std::size_t MoonTermCount() const;

  // The terms of one power of time, a column per frequency: the frequency (C of VSOP87, the
  // polynomial f1..f4 of ELP without its phase) and, for each coordinate (L, B, R; longitude,
  // latitude, distance), the amplitudes p of its cosine and q of its sine (zero where the
  // coordinate has no term of that frequency). The columns come in five groups by the coordinates
  // that have terms there (the latitude alone, with the longitude, all three, the longitude with
  // the distance, the distance alone), group g from column groups[g] to groups[g + 1].
  struct VsopBlock {
    int power = 0;
    std::vector<double> c;
    std::array<std::vector<double>, 3> p, q;
    std::array<std::size_t, 6> groups{};
  };
  struct ElpBlock {
    int power = 0;
    std::vector<double> f1, f2, f3, f4;
    std::array<std::vector<double>, 3> p, q;
    std::array<std::size_t, 6> groups{};
  };

 private:
  // [planet], blocks in increasing power.
  std::array<std::vector<VsopBlock>, 8> planets_;
  std::vector<ElpBlock> moon_;
  std::array<std::size_t, 8> planetTerms_{};
  std::size_t moonTerms_ = 0;
};

// Every term of the theories.
const SeriesSet& FullSeries();
// The bands of the cut series: their farthest distances from J2000, millennia (0.5: 1500-2500,
// 0.75: 1250-2750, 1: 1000-3000, 2.5: 500 BC-4500, 5: 3000 BC-7000 and beyond).
inline constexpr std::array<double, 5> kCutBands = {0.5, 0.75, 1.0, 2.5, 5.0};
// The terms kept by FastPathCut() for the nearest band that holds `jdTt`.
const SeriesSet& CutSeries(double jdTt);
// The terms kept by PerturberCut().
const SeriesSet& PerturberSeries();
