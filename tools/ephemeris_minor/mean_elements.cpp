// Writes src/astro/ephemeris/minor/minor_mean_elements_data.cpp: for every integrated body, two
// sets of mean elements with secular rates (a, e, i, node, longitude of perihelion and mean
// longitude at the epoch, and the rates of all but a), one at each end of the body's integrated
// course, fitted by least squares to its heliocentric positions: the asteroids over the integrated
// range (every 20 days), Pluto over the years of its tabulated states (every 100 days; outside the
// integrated range from its integration out of the nearest state). Each fit starts on a short
// stretch from its end and doubles it, so that the mean motion is known well enough at each
// widening for Gauss-Newton to converge. Also writes the osculating elements of the asteroids at
// the ends of the integrated range, on which the fallback joins the integration. Run from the
// repository root after extract_minor_elements.py (Release build; about two minutes):
//   build/tools/ephemeris_minor/minor_mean_elements
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/minor/minor_elements_data.h"
#include "least_squares.h"

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kPluto = 9;

struct Sample {
  double jd;
  Vector3 position;
};

// Parameters: a (au), e, i, node, longitude of perihelion, mean longitude (radians, at the epoch),
// then the rates (per day) of the mean longitude, the node, the perihelion longitude, the
// eccentricity and the inclination.
minor::SecularElements ToSecular(const fit::Parameters& p, double epochJd) {
  minor::SecularElements s;
  s.elements.epochJd = epochJd;
  s.elements.semiMajorAxisAu = p[0];
  s.elements.eccentricity = std::clamp(p[1], 0.0, 0.99);
  s.elements.inclinationRad = p[2];
  s.elements.nodeRad = p[3];
  s.elements.perihelionArgumentRad = p[4] - p[3];
  s.elements.meanAnomalyRad = p[5] - p[4];
  s.meanMotionRadPerDay = p[6];
  s.nodeRateRadPerDay = p[7];
  s.perihelionRateRadPerDay = p[8];
  s.eccentricityRatePerDay = p[9];
  s.inclinationRateRadPerDay = p[10];
  return s;
}

// Residuals in radians as seen from the Sun, three per sample.
std::vector<double> Residuals(const fit::Parameters& p, double epochJd,
                              const std::vector<Sample>& samples) {
  const minor::SecularElements s = ToSecular(p, epochJd);
  std::vector<double> out;
  out.reserve(samples.size() * 3);
  for (const Sample& sample : samples) {
    const Vector3 d = sample.position - minor::SecularPosition(s, sample.jd);
    const double r = sample.position.Length();
    out.insert(out.end(), {d.x / r, d.y / r, d.z / r});
  }
  return out;
}

double WorstDegrees(const fit::Parameters& p, double epochJd, const std::vector<Sample>& samples) {
  const std::vector<double> res = Residuals(p, epochJd, samples);
  double worst = 0.0;
  for (std::size_t i = 0; i < res.size(); i += 3)
    worst = std::max(
        worst, std::sqrt(res[i] * res[i] + res[i + 1] * res[i + 1] + res[i + 2] * res[i + 2]));
  return worst * kRadToDeg;
}

// Mean elements at `epochJd`, one end of the samples, fitted to the samples within a stretch from
// that end: the stretch doubles from half an orbit while the worst residual stays within
// kMostResidualDeg (a body whose orbit changes, as Chiron's does at its passages by Saturn, keeps a
// short stretch), up to all the samples.
constexpr double kMostResidualDeg = 10.0;

fit::Parameters Fit(int point, double epochJd, const std::vector<Sample>& all) {
  // Start from the osculating elements at the epoch, every rate but the mean motion at zero.
  minor::StateVector state;
  Vector3 before, after;
  if (!MinorBodyHeliocentric(point, epochJd, state.position) ||
      !MinorBodyHeliocentric(point, epochJd - 1.0, before) ||
      !MinorBodyHeliocentric(point, epochJd + 1.0, after))
    return {};
  state.velocity = (after - before) / 2.0;
  const minor::KeplerElements el = minor::ElementsFromState(state, minor::kSunGm, epochJd);
  const double node = el.nodeRad, perihelion = node + el.perihelionArgumentRad;
  fit::Parameters p = {el.semiMajorAxisAu,
                       el.eccentricity,
                       el.inclinationRad,
                       node,
                       perihelion,
                       perihelion + el.meanAnomalyRad,
                       el.MeanMotionRadPerDay(),
                       0.0,
                       0.0,
                       0.0,
                       0.0};
  const double widest =
      std::max(std::abs(all.front().jd - epochJd), std::abs(all.back().jd - epochJd));
  fit::Parameters kept;
  for (double width = 0.5 * kTwoPi / p[6];; width = std::min(2.0 * width, widest)) {
    std::vector<Sample> stretch;
    for (const Sample& s : all)
      if (std::abs(s.jd - epochJd) <= width) stretch.push_back(s);
    const double angle = 1e-9, rate = 1e-9 / width;
    const fit::Parameters delta = {1e-9 * p[0], 1e-9, angle, angle, angle, angle,
                                   rate,        rate, rate,  rate,  rate};
    for (int iteration = 0; iteration < 6; ++iteration)
      p = fit::GaussNewtonStep(
          [&](const fit::Parameters& q) { return Residuals(q, epochJd, stretch); }, p, delta, 3);
    const double worst = WorstDegrees(p, epochJd, stretch);
    std::printf("point %d from %.1f, %6.0f years: worst %.4f degrees over %zu positions\n", point,
                epochJd, width / 365.25, worst, stretch.size());
    if (worst > kMostResidualDeg && !kept.empty()) break;
    kept = p;
    if (width >= widest) break;
  }
  return kept;
}

double Degrees(double rad) {
  const double d = std::fmod(rad * kRadToDeg, 360.0);
  return d < 0.0 ? d + 360.0 : d;
}

// The initialiser of a SourceElements row for `elements` of `point`.
std::string OrbitRow(int point, const minor::KeplerElements& el) {
  char row[256];
  std::snprintf(row, sizeof row, "{%d, %.1f, %.17g, %.17g, %.17g, %.17g, %.17g, %.17g}", point,
                el.epochJd, el.eccentricity, el.semiMajorAxisAu, Degrees(el.inclinationRad),
                Degrees(el.nodeRad), Degrees(el.perihelionArgumentRad), Degrees(el.meanAnomalyRad));
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path =
      argc > 1 ? argv[1] : "src/astro/ephemeris/minor/minor_mean_elements_data.cpp";
  std::vector<int> points = {kPluto};
  for (const SourceElements& s : kSourceElements) points.push_back(s.point);
  std::string rows;
  for (const int point : points) {
    const bool pluto = point == kPluto;
    const double first =
        pluto ? kJ2000 + kPlutoStates.front().daysFromJ2000 : kMinorIntegratedFirstJd;
    const double last = pluto ? kJ2000 + kPlutoStates.back().daysFromJ2000 : kMinorIntegratedLastJd;
    const double step = pluto ? 100.0 : 20.0;
    std::vector<Sample> samples;
    for (double jd = first; jd <= last; jd += step) {
      Sample s{jd, {}};
      if (!MinorBodyHeliocentric(point, jd, s.position)) return 1;
      samples.push_back(s);
    }
    for (const double epoch : {first, last}) {
      const fit::Parameters p = Fit(point, epoch, samples);
      if (p.empty()) return 1;
      char rates[256];
      std::snprintf(rates, sizeof rates, "%.17g, %.17g, %.17g, %.17g, %.17g", p[6] * kRadToDeg,
                    p[7] * kRadToDeg, p[8] * kRadToDeg, p[9], p[10] * kRadToDeg);
      const std::string row =
          "    {" + OrbitRow(point, ToSecular(p, epoch).elements) + ", " + rates + "},\n";
      rows += row;
    }
  }
  // The osculating elements of the asteroids at the ends of the integrated range.
  std::string osculating;
  for (const double jd : {kMinorIntegratedFirstJd, kMinorIntegratedLastJd}) {
    for (const SourceElements& s : kSourceElements) {
      minor::StateVector state;
      if (!MinorBodyState(s.point, jd, state.position, state.velocity)) return 1;
      const minor::KeplerElements el = minor::ElementsFromState(state, minor::kSunGm, jd);
      const std::string row = "    " + OrbitRow(s.point, el) + ",\n";
      osculating += row;
    }
  }
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  std::fprintf(out,
               "// Generated by tools/ephemeris_minor/mean_elements.cpp from the integration. Do "
               "not edit.\n"
               "#include \"astro/ephemeris/minor/minor_elements_data.h\"\n\n"
               "namespace {\n\nconst MeanElements kMean[] = {\n%s};\n\n"
               "const SourceElements kBoundary[] = {\n%s};\n\n}  // namespace\n\n"
               "std::span<const MeanElements> FallbackMeanElements() { return kMean; }\n"
               "std::span<const SourceElements> BoundaryElements() { return kBoundary; }\n",
               rows.c_str(), osculating.c_str());
  return std::fclose(out) == 0 ? 0 : 1;
}
