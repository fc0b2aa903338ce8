// Measures what cutting the series costs: the terms kept per body and the worst error the cut
// adds to the geometric geocentric direction (arcseconds) and to the rate of the geocentric
// longitude (degrees per day) over `samples` random instants of 3000 BC-3000 AD, against the full
// series; for the Moon also the node and the apocentre of its osculating orbit. Without thresholds
// it measures the fast path's cut (FastPathCut), also over 1600-2400 and in each band nearer
// J2000 (kCutBands) over the dates within its reach; with them, each threshold
// (radians) for every planet at once and, divided by 20 and in arcseconds, for the Moon.
//
//   ephemeris_series_cut [samples [thresholds...]]      (default 4000)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/fast_theory.h"
#include "astro/ephemeris/planet_theory.h"
#include "astro/ephemeris/series_sets.h"

namespace {

constexpr double kRadToArcsec = 180.0 / M_PI * 3600.0;
constexpr double kRadToDeg = 180.0 / M_PI;
constexpr double kFirstJd = 625673.5, kLastJd = 2817151.5;  // -3000-01-01, 3000-12-31
const char* const kNames[] = {"mercury", "venus",  "sun",    "mars",
                              "jupiter", "saturn", "uranus", "neptune"};

double Angle(const Vector3& a, const Vector3& b) {
  return std::atan2(Cross(a, b).Length(), Dot(a, b));
}
double LongitudeRate(const Vector3& p, const Vector3& v) {
  return (p.x * v.y - p.y * v.x) / (p.x * p.x + p.y * p.y) * kRadToDeg;
}

struct Worst {
  double angle = 0.0, rate = 0.0;
  void Add(double a, double r) {
    angle = std::max(angle, a);
    rate = std::max(rate, r);
  }
};

void MeasurePlanets(const SeriesCut& cut, const char* title, const std::vector<double>& dates) {
  const SeriesSet set(cut);
  Worst worst[8];
  for (double jd : dates) {
    Vector3 earthFull, earthFullV, earthCut, earthCutV;
    FullSeries().PlanetState(Planet::Earth, jd, earthFull, earthFullV);
    set.PlanetState(Planet::Earth, jd, earthCut, earthCutV);
    for (int p = 0; p < 8; ++p) {
      Vector3 full, fullV, part, partV;
      if (p == 2) {  // the Sun seen from the Earth
        full = -earthFull, fullV = -earthFullV, part = -earthCut, partV = -earthCutV;
      } else {
        FullSeries().PlanetState(static_cast<Planet>(p), jd, full, fullV);
        set.PlanetState(static_cast<Planet>(p), jd, part, partV);
        full -= earthFull, fullV -= earthFullV, part -= earthCut, partV -= earthCutV;
      }
      worst[p].Add(Angle(full, part) * kRadToArcsec,
                   std::fabs(LongitudeRate(full, fullV) - LongitudeRate(part, partV)));
    }
  }
  std::printf("%s:\n", title);
  for (int p = 0; p < 8; ++p)
    std::printf(
        "  %-8s %.1e rad, terms %5zu of %5zu  direction %7.4f\"  rate %.2e deg/day\n", kNames[p],
        cut.planetRad[static_cast<std::size_t>(p)], set.PlanetTermCount(static_cast<Planet>(p)),
        FullSeries().PlanetTermCount(static_cast<Planet>(p)), worst[p].angle, worst[p].rate);
}

// The node (h = r x v) and the apocentre (-e) of the osculating geocentric orbit.
void Orbit(const MoonMotion& m, Vector3& h, Vector3& apocentre) {
  constexpr double kGm = (398600.4356 + 4902.8001) * 86400.0 * 86400.0;
  h = Cross(m.position, m.velocity);
  apocentre = m.position / m.position.Length() - Cross(m.velocity, h) / kGm;
}

void MeasureMoon(const SeriesCut& cut, const std::vector<double>& dates) {
  const SeriesSet set(cut);
  Worst moon, node, apocentre;
  for (double jd : dates) {
    const MoonMotion full = FullSeries().Moon(jd), part = set.Moon(jd);
    moon.Add(Angle(full.position, part.position) * kRadToArcsec,
             std::fabs(LongitudeRate(full.position, full.velocity) -
                       LongitudeRate(part.position, part.velocity)));
    Vector3 hFull, hPart, aFull, aPart;
    Orbit(full, hFull, aFull);
    Orbit(part, hPart, aPart);
    const Vector3 nodeFull{-hFull.y, hFull.x, 0.0}, nodePart{-hPart.y, hPart.x, 0.0};
    node.Add(Angle(nodeFull, nodePart) * kRadToArcsec, 0.0);
    apocentre.Add(Angle(aFull, aPart) * kRadToArcsec, 0.0);
  }
  std::printf(
      "moon %.0e\": terms %5zu of %5zu  direction %7.4f\"  rate %.2e deg/day  node %7.4f\"  "
      "apocentre %7.4f\"\n",
      cut.moonArcsec, set.MoonTermCount(), FullSeries().MoonTermCount(), moon.angle, moon.rate,
      node.angle, apocentre.angle);
}

// The perturbers' cut: the worst heliocentric position error per planet, au.
void MeasurePerturbers(const std::vector<double>& dates) {
  std::printf("perturbers (heliocentric position, au):");
  for (int p = 0; p < 8; ++p) {
    double worst = 0.0;
    for (double jd : dates) {
      Vector3 full, fullV, part, partV;
      FullSeries().PlanetState(static_cast<Planet>(p), jd, full, fullV);
      PerturberSeries().PlanetState(static_cast<Planet>(p), jd, part, partV);
      worst = std::max(worst, (full - part).Length());
    }
    std::printf(" %s %.1e (%zu terms)", kNames[p], worst,
                PerturberSeries().PlanetTermCount(static_cast<Planet>(p)));
  }
  std::printf("\n");
}

double LonDiffArcsec(double a, double b) {
  return std::fabs(std::remainder(a - b, 360.0)) * 3600.0;
}

// The apparent places of every point, variant by variant: the fast path on the cut series against
// `reference` (the fast path on the full series, or the full theory).
template <typename Reference, typename Fast = PointPosition (*)(int, LunarVariant, double)>
void MeasurePoints(const char* title, const std::vector<double>& dates, Reference reference,
                   Fast fast = FastTheoryPosition) {
  std::printf("%s: worst longitude, latitude (arcseconds), speed (degrees per day)\n", title);
  for (int point = 0; point < kBodyCount; ++point)
    for (LunarVariant variant : {LunarVariant::True, LunarVariant::Mean}) {
      if (variant == LunarVariant::Mean && (point < kNorthNode || point > kLunarPerigee)) continue;
      double lon = 0.0, lat = 0.0, speed = 0.0;
      for (double jd : dates) {
        const PointPosition a = fast(point, variant, jd);
        const PointPosition b = reference(point, variant, jd);
        lon = std::max(lon, LonDiffArcsec(a.longitude, b.longitude));
        lat = std::max(lat, std::fabs(a.latitude - b.latitude) * 3600.0);
        speed = std::max(speed, std::fabs(a.speed - b.speed));
      }
      std::printf("  point %2d%s  %8.4f\"  %8.4f\"  %.1e\n", point,
                  variant == LunarVariant::Mean ? " mean" : "     ", lon, lat, speed);
    }
}

std::vector<double> RandomDates(int samples, double first, double last) {
  std::mt19937_64 random(20240601);
  std::uniform_real_distribution<double> day(first, last);
  std::vector<double> dates(static_cast<std::size_t>(std::max(samples, 1)));
  for (double& jd : dates) jd = day(random);
  return dates;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::atoi(argv[1]) : 4000;
  const std::vector<double> dates = RandomDates(samples, kFirstJd, kLastJd);
  if (argc <= 2) {
    const std::vector<double> tables = RandomDates(samples, 2305447.5, 2597641.5);
    MeasurePlanets(FastPathCut(), "fast path, 3000 BC-3000 AD", dates);
    MeasureMoon(FastPathCut(), dates);
    MeasurePlanets(FastPathCut(), "fast path, 1600-2400", tables);
    MeasureMoon(FastPathCut(), tables);
    // The bands nearer J2000, each over the dates within its reach.
    for (const double reach : kCutBands) {
      if (reach >= SeriesCut{}.tauReach) continue;
      const std::vector<double> band =
          RandomDates(samples, 2451545.0 - reach * 365250.0, 2451545.0 + reach * 365250.0);
      char title[80];
      std::snprintf(title, sizeof title, "fast path within %.2f millennia of J2000", reach);
      MeasurePlanets(FastPathCut(reach), title, band);
      MeasureMoon(FastPathCut(reach), band);
    }
    MeasurePerturbers(dates);
    MeasurePoints("fast path against the full series, 3000 BC-3000 AD", dates,
                  [](int point, LunarVariant variant, double jd) {
                    return FastTheoryPosition(point, variant, jd, FullSeries());
                  });
    MeasurePoints("fast path against the full theory, 3000 BC-3000 AD",
                  RandomDates(samples / 20, kFirstJd, kLastJd), TheoryPosition);
    MeasurePoints("fast path on the full series against the full theory, 3000 BC-3000 AD",
                  RandomDates(samples / 20, kFirstJd, kLastJd), TheoryPosition,
                  [](int point, LunarVariant variant, double jd) {
                    return FastTheoryPosition(point, variant, jd, FullSeries());
                  });
    return 0;
  }
  for (int i = 2; i < argc; ++i) {
    SeriesCut cut;
    cut.planetRad.fill(std::atof(argv[i]));
    cut.moonArcsec = std::atof(argv[i]) * kRadToArcsec / 20.0;
    MeasurePlanets(cut, argv[i], dates);
    MeasureMoon(cut, dates);
  }
  return 0;
}
