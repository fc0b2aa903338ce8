#include "astro/ephemeris/minor/perturbers.h"

#include <cmath>

#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/planet_theory.h"
#include "astro/ephemeris/series_sets.h"

namespace minor {
namespace {

// Grid step per planet, days: the cubic Hermite error is about (n h)^4 / 384 of the orbit's
// radius (n the mean motion): 5e-4 au for Mercury, below 1e-5 au for every other planet.
constexpr std::array<double, kPlanetCount> kGridStep = {8.0,  8.0,  8.0,   16.0,
                                                        32.0, 64.0, 128.0, 128.0};
constexpr long kNodesPerBlock = 256;
constexpr double kGridOrigin = 2451545.0;

long FloorDiv(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

const std::array<double, kPlanetCount> kPlanetMassRatio = {
    1.0 / 6023600.0,   1.0 / 408523.71, 1.0 / 328900.5614, 1.0 / 3098703.59,
    1.0 / 1047.348644, 1.0 / 3497.9018, 1.0 / 22902.944,   1.0 / 19412.26};

PlanetGrid::PlanetGrid(std::bitset<kPlanetCount> used, int stepScale, int innerDivisor)
    : used_(used) {
  for (int p = 0; p < kPlanetCount; ++p)
    step_[p] = kGridStep[p] * stepScale / (p < 4 ? innerDivisor : 1);
}

const PlanetGrid::Node& PlanetGrid::NodeOf(int planet, long index) {
  const long block = FloorDiv(index, kNodesPerBlock);
  if (lastNodes_[planet] != nullptr && lastBlock_[planet] == block)
    return (*lastNodes_[planet])[index - block * kNodesPerBlock];
  std::vector<Node>& nodes = blocks_[planet][block];
  if (nodes.empty()) {
    nodes.resize(kNodesPerBlock);
    for (long i = 0; i < kNodesPerBlock; ++i) {
      const double jd =
          kGridOrigin + static_cast<double>(block * kNodesPerBlock + i) * step_[planet];
      PerturberSeries().PlanetState(static_cast<Planet>(planet), jd, nodes[i].position,
                                    nodes[i].velocity);
    }
  }
  lastBlock_[planet] = block;
  lastNodes_[planet] = &nodes;
  return nodes[index - block * kNodesPerBlock];
}

void PlanetGrid::PositionsAt(double jd, Positions& out) {
  for (int p = 0; p < kPlanetCount; ++p) {
    if (!used_[p]) {
      out[p] = Vector3{};
      continue;
    }
    const double h = step_[p];
    const double u = (jd - kGridOrigin) / h;
    const long index = static_cast<long>(std::floor(u));
    const double s = u - static_cast<double>(index);
    const Node& a = NodeOf(p, index);
    const Node& b = NodeOf(p, index + 1);
    // Cubic Hermite basis on [0, 1].
    const double s2 = s * s, s3 = s2 * s;
    const double h00 = 2 * s3 - 3 * s2 + 1, h10 = s3 - 2 * s2 + s;
    const double h01 = -2 * s3 + 3 * s2, h11 = s3 - s2;
    out[p] = a.position * h00 + a.velocity * (h10 * h) + b.position * h01 + b.velocity * (h11 * h);
  }
}

Vector3 SunAndPlanetsAcceleration(double t, const Vector3& r, PlanetGrid& planets) {
  PlanetGrid::Positions at;
  planets.PositionsAt(t, at);
  const double rr = r.Length();
  Vector3 a = r * (-kSunGm / (rr * rr * rr));
  for (int p = 0; p < kPlanetCount; ++p) {
    const Vector3& planet = at[static_cast<std::size_t>(p)];
    const double pr = planet.Length();
    if (pr == 0.0) continue;  // a planet left out of the grid
    const Vector3 d = planet - r;
    const double dd = d.Length();
    a += (d / (dd * dd * dd) - planet / (pr * pr * pr)) *
         (kSunGm * kPlanetMassRatio[static_cast<std::size_t>(p)]);
  }
  return a;
}

}  // namespace minor
