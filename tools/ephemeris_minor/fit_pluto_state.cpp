// Fits the start of Pluto's integration to published heliocentric positions: the state at J2000.0
// whose integration (the same forces, integrator and step as the program's) comes nearest, by
// least squares over every position, to the rows of the input. The result does not depend on the
// state the program starts from now: the fit starts from the tabulated state at J2000.0. Writes
// src/astro/ephemeris/minor/minor_pluto_start_data.cpp. Run from the repository root after
// tools/ephemeris_minor/pluto_positions.js has written the positions:
//   build/tools/ephemeris_minor/minor_fit_pluto_state tools/ephemeris_minor/pluto_positions.tsv
// Input rows: TT Julian day, x, y, z (au, heliocentric, ecliptic and equinox J2000); lines
// starting with '#' are comments.
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_elements_data.h"
#include "astro/ephemeris/minor/perturbers.h"
#include "astro/ephemeris/minor/trajectory.h"

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kStepDays = 8.0;  // as the program integrates Pluto
constexpr int kColumns = 6;
constexpr double kArcsecPerRad = 206264.80624709636;

struct Row {
  double jd;
  Vector3 position;
};

using Parameters = std::array<double, 6>;  // position (au), velocity (au per day)

// The integrated positions at the rows' times from the state `p` at J2000.0.
std::vector<Vector3> Integrate(const Parameters& p, const std::vector<Row>& rows) {
  minor::PlanetGrid planets(0xFF);
  minor::Trajectory path(
      [&planets](double t, std::span<const Vector3> r, std::span<Vector3> out) {
        out[0] = minor::SunAndPlanetsAcceleration(t, r[0], planets);
      },
      kJ2000,
      std::vector<minor::StateVector>{
          minor::StateVector{Vector3{p[0], p[1], p[2]}, Vector3{p[3], p[4], p[5]}}},
      kStepDays, kColumns);
  std::vector<Vector3> out;
  for (const Row& row : rows) {
    path.ExtendTo(row.jd);
    out.push_back(path.StateAt(0, row.jd).position);
  }
  return out;
}

// Residuals (au), three per row.
std::vector<double> Residuals(const Parameters& p, const std::vector<Row>& rows) {
  const std::vector<Vector3> got = Integrate(p, rows);
  std::vector<double> res;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Vector3 d = rows[i].position - got[i];
    res.insert(res.end(), {d.x, d.y, d.z});
  }
  return res;
}

// Solves the 6 x 6 system a x = b by Gaussian elimination with partial pivoting.
Parameters Solve(std::array<std::array<double, 6>, 6> a, Parameters b) {
  for (int c = 0; c < 6; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 6; ++r)
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    std::swap(b[c], b[pivot]);
    for (int r = c + 1; r < 6; ++r) {
      const double f = a[r][c] / a[c][c];
      for (int k = c; k < 6; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  Parameters x{};
  for (int r = 5; r >= 0; --r) {
    double s = b[r];
    for (int k = r + 1; k < 6; ++k) s -= a[r][k] * x[k];
    x[r] = s / a[r][r];
  }
  return x;
}

void Report(const Parameters& p, const std::vector<Row>& rows) {
  const std::vector<Vector3> got = Integrate(p, rows);
  double worst = 0.0, sum = 0.0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double angle = (rows[i].position - got[i]).Length() / rows[i].position.Length();
    worst = std::max(worst, angle * kArcsecPerRad);
    sum += angle * angle;
  }
  std::printf("rms %.3f\", worst %.3f\" (heliocentric, over %zu rows)\n",
              std::sqrt(sum / static_cast<double>(rows.size())) * kArcsecPerRad, worst,
              rows.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s POSITIONS.tsv [OUTPUT.cpp]\n", argv[0]);
    return 2;
  }
  const std::string output =
      argc > 2 ? argv[2] : "src/astro/ephemeris/minor/minor_pluto_start_data.cpp";
  std::ifstream in(argv[1]);
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row r{};
    if (fields >> r.jd >> r.position.x >> r.position.y >> r.position.z) rows.push_back(r);
  }
  if (rows.size() < 10) {
    std::fprintf(stderr, "%s: too few positions (%zu)\n", argv[1], rows.size());
    return 1;
  }
  // Start from the tabulated state at J2000.0, turned from the equator to the ecliptic.
  const TabulatedState* start = &kPlutoStates[0];
  for (const TabulatedState& t : kPlutoStates)
    if (std::abs(t.daysFromJ2000) < std::abs(start->daysFromJ2000)) start = &t;
  const double eps = 84381.406 / 3600.0 * std::numbers::pi / 180.0, c = std::cos(eps),
               s = std::sin(eps);
  const double* r0 = start->position;
  const double* v0 = start->velocity;
  Parameters p = {r0[0], c * r0[1] + s * r0[2], -s * r0[1] + c * r0[2],
                  v0[0], c * v0[1] + s * v0[2], -s * v0[1] + c * v0[2]};
  const Parameters delta = {1e-6, 1e-6, 1e-6, 1e-10, 1e-10, 1e-10};
  Report(p, rows);
  // The problem is nearly linear: three Gauss-Newton steps converge.
  for (int iteration = 0; iteration < 3; ++iteration) {
    const std::vector<double> base = Residuals(p, rows);
    std::array<std::vector<double>, 6> jacobian;
    std::vector<std::thread> workers;  // one integration per parameter, three at a time
    for (int k = 0; k < 6; ++k) {
      workers.emplace_back([&, k] {
        Parameters q = p;
        q[k] += delta[k];
        const std::vector<double> moved = Residuals(q, rows);
        jacobian[k].resize(base.size());
        for (std::size_t i = 0; i < base.size(); ++i)
          jacobian[k][i] = (base[i] - moved[i]) / delta[k];  // d(model) / d(parameter)
      });
      if (workers.size() == 3) {
        for (std::thread& w : workers) w.join();
        workers.clear();
      }
    }
    std::array<std::array<double, 6>, 6> normal{};
    Parameters rhs{};
    for (int a = 0; a < 6; ++a) {
      for (int b = 0; b < 6; ++b)
        for (std::size_t i = 0; i < base.size(); ++i)
          normal[a][b] += jacobian[a][i] * jacobian[b][i];
      for (std::size_t i = 0; i < base.size(); ++i) rhs[a] += jacobian[a][i] * base[i];
    }
    const Parameters step = Solve(normal, rhs);
    for (int k = 0; k < 6; ++k) p[k] += step[k];
    Report(p, rows);
  }
  std::FILE* out = std::fopen(output.c_str(), "w");
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", output.c_str());
    return 1;
  }
  std::fprintf(out,
               "// Generated by tools/ephemeris_minor/fit_pluto_state.cpp from "
               "tools/ephemeris_minor/pluto_positions.tsv. Do not edit.\n"
               "#include \"astro/ephemeris/minor/minor_elements_data.h\"\n\n"
               "const PlutoStartState kPlutoStart = {%.1f, {%.17g, %.17g, %.17g}, "
               "{%.17g, %.17g, %.17g}};\n",
               kJ2000, p[0], p[1], p[2], p[3], p[4], p[5]);
  return std::fclose(out) == 0 ? 0 : 1;
}
