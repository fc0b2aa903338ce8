// Two-body motion, the integrator against two-body motion over long arcs, the fallback and its
// joins to the integration, continuity, speeds and finiteness of every minor body.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/minor/trajectory.h"
#include "support/test_support.h"

namespace {

using minor::KeplerElements;
using minor::StateVector;

constexpr double kPi = std::numbers::pi;
constexpr double kJ2000 = 2451545.0;

double LonDiffDeg(double a, double b) { return std::remainder(a - b, 360.0); }

KeplerElements Orbit(double a, double e, double iDeg, double nodeDeg, double periDeg,
                     double meanDeg) {
  KeplerElements el;
  el.epochJd = kJ2000;
  el.semiMajorAxisAu = a;
  el.eccentricity = e;
  el.inclinationRad = iDeg * kPi / 180;
  el.nodeRad = nodeDeg * kPi / 180;
  el.perihelionArgumentRad = periDeg * kPi / 180;
  el.meanAnomalyRad = meanDeg * kPi / 180;
  return el;
}

// Hand values: a circular orbit of radius a in the ecliptic has speed k / sqrt(a); an orbit at
// perihelion sits at a (1 - e) along the line of apsides, moving at k sqrt((1 + e) / (a (1 - e))).
TEST(KeplerOrbit, StatesAtHandComputedPoints) {
  const double k = minor::kGaussK;
  struct Case {
    const char* name;
    KeplerElements el;
    Vector3 r, v;
  } cases[] = {
      {"circular_quarter", Orbit(4, 0, 0, 0, 0, 90), {0, 4, 0}, {-k / 2, 0, 0}},
      {"perihelion_on_x", Orbit(2, 0.5, 0, 0, 0, 0), {1, 0, 0}, {0, k * std::sqrt(1.5), 0}},
      {"polar_node_on_y", Orbit(1, 0, 90, 90, 90, 0), {0, 0, 1}, {0, -k, 0}},
  };
  for (const Case& c : cases) {
    const StateVector s = minor::StateFromElements(c.el, kJ2000);
    EXPECT_NEAR((s.position - c.r).Length(), 0.0, 1e-12) << c.name;
    EXPECT_NEAR((s.velocity - c.v).Length(), 0.0, 1e-14) << c.name;
  }
}

TEST(KeplerOrbit, ElementsFromStateGiveBackTheOrbit) {
  const KeplerElements orbits[] = {
      Orbit(2.77, 0.0786, 10.6, 80.3, 73.5, 334.3), Orbit(13.7, 0.376, 6.9, 209.3, 339.5, 188.8),
      Orbit(39.5, 0.25, 17.1, 110.3, 113.8, 14.9), Orbit(1.0, 0.9, 150.0, 300.0, 10.0, 179.0),
      Orbit(5.0, 0.0, 0.0, 0.0, 0.0, 42.0)};
  for (const KeplerElements& el : orbits) {
    const StateVector s = minor::StateFromElements(el, kJ2000);
    const KeplerElements back = minor::ElementsFromState(s, minor::kSunGm, kJ2000);
    EXPECT_NEAR(back.semiMajorAxisAu, el.semiMajorAxisAu, 1e-9 * el.semiMajorAxisAu);
    EXPECT_NEAR(back.eccentricity, el.eccentricity, 1e-10);
    // Angles can trade between node, perihelion and anomaly in degenerate orbits: compare the
    // states a third of a period later instead.
    const double later = kJ2000 + 2 * kPi / el.MeanMotionRadPerDay() / 3;
    const StateVector a = minor::StateFromElements(el, later);
    const StateVector b = minor::StateFromElements(back, later);
    EXPECT_LT((a.position - b.position).Length(), 1e-9 * el.semiMajorAxisAu);
  }
}

TEST(KeplerOrbit, KeplerEquationSolvedForEveryEccentricity) {
  for (const double e : {0.0, 0.1, 0.5, 0.8, 0.95, 0.999})
    for (double m = -7.0; m <= 7.0; m += 0.37) {
      const double bigE = minor::SolveKepler(m, e);
      EXPECT_NEAR(bigE - e * std::sin(bigE), m, 1e-12) << "e " << e << " M " << m;
    }
}

// Mean elements with rates: with no rates and Kepler's mean motion they are the plain ellipse; the
// node, perihelion and mean longitude rates turn the matching elements (perihelion argument =
// perihelion longitude - node, mean anomaly = mean longitude - perihelion longitude), and the
// eccentricity and inclination rates change those.
TEST(KeplerOrbit, SecularElementsFollowTheirRates) {
  const KeplerElements base = Orbit(2.77, 0.0786, 10.6, 80.3, 73.5, 334.3);
  minor::SecularElements plain{base, base.MeanMotionRadPerDay()};
  for (const double dt : {-40000.0, -3.5, 0.0, 1234.5, 90000.0})
    EXPECT_LT((minor::SecularPosition(plain, kJ2000 + dt) -
               minor::StateFromElements(base, kJ2000 + dt).position)
                  .Length(),
              1e-12)
        << dt;

  minor::SecularElements turning = plain;
  turning.nodeRateRadPerDay = 1e-5;
  turning.perihelionRateRadPerDay = 3e-5;
  turning.meanMotionRadPerDay = 0.0037;
  turning.eccentricityRatePerDay = 1e-7;
  turning.inclinationRateRadPerDay = -2e-7;
  const double dt = 1000.0;
  KeplerElements expected = base;
  expected.epochJd = kJ2000 + dt;
  expected.nodeRad += 1e-5 * dt;
  expected.perihelionArgumentRad += (3e-5 - 1e-5) * dt;
  expected.meanAnomalyRad += (0.0037 - 3e-5) * dt;
  expected.eccentricity += 1e-7 * dt;
  expected.inclinationRad -= 2e-7 * dt;
  EXPECT_LT((minor::SecularPosition(turning, kJ2000 + dt) -
             minor::StateFromElements(expected, kJ2000 + dt).position)
                .Length(),
            1e-12);
}

// Sun-only gravity: the integrator and its dense output must follow two-body motion over 300
// years in both directions, at times between the steps, and keep the energy.
TEST(BulirschStoerIntegrator, FollowsTwoBodyMotionOverCenturies) {
  const auto sunOnly = [](double, std::span<const Vector3> r, std::span<Vector3> out) {
    for (std::size_t i = 0; i < r.size(); ++i) {
      const double d = r[i].Length();
      out[i] = r[i] * (-minor::kSunGm / (d * d * d));
    }
  };
  const KeplerElements bodies[] = {Orbit(2.77, 0.23, 34.9, 172.9, 310.8, 315.1),  // Pallas-like
                                   Orbit(2.67, 0.26, 13.0, 169.8, 247.8, 306.6),  // Juno-like
                                   Orbit(13.7, 0.38, 6.9, 209.3, 339.5, 188.8)};  // Chiron-like
  std::vector<StateVector> initial;
  for (const KeplerElements& el : bodies) initial.push_back(minor::StateFromElements(el, kJ2000));
  minor::Trajectory path(sunOnly, kJ2000, initial, 8.0, 6);
  const double span = 300 * 365.25;
  path.ExtendTo(kJ2000 + span);
  path.ExtendTo(kJ2000 - span);
  for (double t = kJ2000 - span; t <= kJ2000 + span; t += 3001.7) {
    for (int b = 0; b < 3; ++b) {
      const StateVector got = path.StateAt(b, t);
      const StateVector want = minor::StateFromElements(bodies[b], t);
      ASSERT_LT((got.position - want.position).Length(), 1e-8) << "body " << b << " at " << t;
      ASSERT_LT((got.velocity - want.velocity).Length(), 1e-10) << "body " << b << " at " << t;
      const double energy =
          Dot(got.velocity, got.velocity) / 2 - minor::kSunGm / got.position.Length();
      const double expected = -minor::kSunGm / (2 * bodies[b].semiMajorAxisAu);
      EXPECT_NEAR(energy, expected, 1e-9 * std::abs(expected));
    }
  }
}

TEST(MinorBodies, PointSets) {
  for (int p = -1; p <= 40; ++p) {
    const bool minorPoint = (p >= 9 && p <= 15) || (p >= 20 && p <= 29);
    EXPECT_EQ(IsMinorBody(p), minorPoint) << p;
    EXPECT_EQ(IsIntegratedMinorBody(p), p >= 9 && p <= 15) << p;
    Vector3 r;
    EXPECT_EQ(MinorBodyHeliocentric(p, kJ2000, r), minorPoint && p != 21) << p;
  }
  EXPECT_EQ(MinorBodyApparent(16, kJ2000).longitude, 0.0);
}

// Hand values from the conventional elements: Apollon and Proserpina move on circles, so their
// distance is the semi-major axis; Apollon's orbit is fixed in space, so it comes back to the
// same J2000 position after one period 2 pi a^1.5 / k = 215291.403 days.
TEST(MinorBodies, ConventionalOrbitsKeepTheirShape) {
  Vector3 a, b, c;
  ASSERT_TRUE(MinorBodyHeliocentric(26, 2415020.0, a));
  ASSERT_TRUE(MinorBodyHeliocentric(26, 2415020.0 + 215291.403, b));
  EXPECT_NEAR(a.Length(), 70.29949, 1e-9);
  EXPECT_LT((a - b).Length(), 1e-4);
  // 1900 longitude 138.0533 plus the precession of a century, about 1.397 degrees.
  EXPECT_NEAR(std::atan2(a.y, a.x) * 180 / kPi, 138.0533 + 1.397, 0.01);
  for (double t = 1'000'000.0; t < 3'000'000.0; t += 123'456.7) {
    ASSERT_TRUE(MinorBodyHeliocentric(20, t, c));
    EXPECT_NEAR(c.Length(), 79.225630, 1e-9) << t;
  }
}

// Inside the integrated range the path must be smooth: the change of the heliocentric position
// over a day agrees with the velocity (for Pluto at its start and far from it).
TEST(MinorBodies, IntegratedPathIsContinuous) {
  const double plutoJoins[] = {kJ2000, kJ2000 + 29200, kJ2000 - 58400};
  for (int point = 9; point <= 15; ++point) {
    std::vector<double> times = {2378496.5, 2415020.0, 2524592.5};
    if (point == 9) times.assign(std::begin(plutoJoins), std::end(plutoJoins));
    for (const double t : times) {
      Vector3 r0, r1, rm, v0, v1, vm;  // Simpson's rule over one day: error ~ r^(5) / 2880
      ASSERT_TRUE(MinorBodyState(point, t - 0.5, r0, v0));
      ASSERT_TRUE(MinorBodyState(point, t, rm, vm));
      ASSERT_TRUE(MinorBodyState(point, t + 0.5, r1, v1));
      EXPECT_LT(((r1 - r0) - (v0 + vm * 4.0 + v1) / 6.0).Length(), 1e-8) << point << " at " << t;
    }
  }
}

// Pluto's start was fitted to the positions in tools/ephemeris_minor/pluto_positions.tsv with the
// program's own forces and step: its integration must pass within the fit's residual (0.6") of
// every one of them. A change of the forces, the step or the start that the fit did not see fails
// here.
TEST(MinorBodies, PlutoFollowsThePositionsItWasFittedTo) {
  std::ifstream in(testing_support::SourceDir() / "tools" / "ephemeris_minor" /
                   "pluto_positions.tsv");
  ASSERT_TRUE(in.good());
  std::string line;
  int rows = 0;
  double worst = 0.0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double jd = 0;
    Vector3 want;
    ASSERT_TRUE(fields >> jd >> want.x >> want.y >> want.z) << line;
    Vector3 got;
    ASSERT_TRUE(MinorBodyHeliocentric(9, jd, got));
    worst = std::max(worst, (got - want).Length() / want.Length() * 206264.806);
    ++rows;
  }
  EXPECT_GT(rows, 700);
  EXPECT_LT(worst, 1.0);
}

// The asteroids' fallback starts from elements taken from the integration at the ends of the
// range, so the two agree there; Pluto's is integrated from the nearest tabulated state of another
// ephemeris, about a year away. One end per test: each integrates four centuries.
void ExpectTheFallbackJoinsTheIntegrationAt(double end) {
  for (int point = 9; point <= 15; ++point) {
    const double limitArcsec = point == 9 ? 90.0 : 1.0;  // Pluto: 45" now
    const PointPosition in = MinorBodyApparent(point, end);
    const PointPosition out = MinorBodyFallback(point, end);
    EXPECT_LT(std::abs(LonDiffDeg(in.longitude, out.longitude)) * 3600, limitArcsec)
        << point << " at " << end;
    EXPECT_LT(std::abs(in.latitude - out.latitude) * 3600, limitArcsec) << point;
  }
}

TEST(MinorBodies, FallbackJoinsTheIntegrationAtItsFirstDay) {
  ExpectTheFallbackJoinsTheIntegrationAt(kMinorIntegratedFirstJd);
  EXPECT_TRUE(InMinorIntegratedRange(kMinorIntegratedFirstJd));
  EXPECT_FALSE(InMinorIntegratedRange(kMinorIntegratedFirstJd - 1));
}

TEST(MinorBodies, FallbackJoinsTheIntegrationAtItsLastDay) {
  ExpectTheFallbackJoinsTheIntegrationAt(kMinorIntegratedLastJd);
  EXPECT_TRUE(InMinorIntegratedRange(kMinorIntegratedLastJd));
  EXPECT_FALSE(InMinorIntegratedRange(kMinorIntegratedLastJd + 1));
}

// The reported speed against the difference of positions a day apart.
TEST(MinorBodies, SpeedMatchesDifferenceOfPositions) {
  for (const int point : {9, 10, 11, 12, 13, 14, 15, 20, 21, 22, 25, 29})
    for (const double t : {2400000.5, kJ2000, 2500000.5, 1000000.5, 2900000.5}) {
      const PointPosition mid = MinorBodyApparent(point, t);
      const double diff = LonDiffDeg(MinorBodyApparent(point, t + 0.5).longitude,
                                     MinorBodyApparent(point, t - 0.5).longitude);
      EXPECT_NEAR(mid.speed, diff, 0.001) << point << " at " << t;
    }
}

// The velocities given with the places outside the integrated range (mean elements with their
// rates, the passage from the osculating orbit, the hypothetical points) are the rates of those
// places: against a central difference of 0.01 day, to a part in 10^7.
TEST(MinorBodies, StateVelocitiesAreTheRatesOfTheirPlaces) {
  minor::SecularElements turning{
      Orbit(2.77, 0.0786, 10.6, 80.3, 73.5, 334.3), 0.0037, 1e-5, 3e-5, 1e-7, -2e-7};
  const auto secular = [&](double jd) { return minor::SecularState(turning, jd); };
  const auto body = [](int point) {
    return [point](double jd) {
      StateVector s;
      EXPECT_TRUE(MinorBodyHeliocentricState(point, jd, s.position, s.velocity)) << point;
      return s;
    };
  };
  const double before = kMinorIntegratedFirstJd - 400.0, after = kMinorIntegratedLastJd + 3000.0;
  const struct {
    const char* what;
    std::function<StateVector(double)> state;
    double jd;
  } rows[] = {{"secular", secular, kJ2000 + 1000.0}, {"secular", secular, kJ2000 - 90000.0},
              {"Ceres leaving", body(11), before},   {"Ceres far", body(11), 1000000.5},
              {"Vesta leaving", body(14), after},    {"Chiron far", body(10), 2900000.5},
              {"Cupido", body(22), 2086307.5},       {"Poseidon", body(29), 2816787.5}};
  for (const auto& row : rows) {
    const StateVector s = row.state(row.jd);
    const Vector3 rate =
        (row.state(row.jd + 0.01).position - row.state(row.jd - 0.01).position) / 0.02;
    EXPECT_LT((s.velocity - rate).Length(), 1e-7 * s.velocity.Length())
        << row.what << " " << row.jd;
  }
}

// The integrations are shared by the whole process: threads that extend them at the same time
// must all get the positions a single thread gets.
TEST(MinorBodies, ThreadsShareTheIntegrations) {
  const std::vector<double> dates = {2440000.5, 2430000.5, 2460000.5, 2420000.5, 2470000.5};
  std::vector<std::vector<Vector3>> seen(4);
  std::vector<std::thread> threads;
  for (int k = 0; k < 4; ++k)
    threads.emplace_back([&, k] {
      for (std::size_t i = 0; i < dates.size(); ++i)
        for (int point = 9; point <= 15; ++point) {
          Vector3 r;
          MinorBodyHeliocentric(point, dates[(i + k) % dates.size()], r);
          seen[k].push_back(r);
        }
    });
  for (std::thread& t : threads) t.join();
  for (int k = 0; k < 4; ++k)
    for (std::size_t i = 0; i < dates.size(); ++i)
      for (int point = 9; point <= 15; ++point) {
        Vector3 r;
        MinorBodyHeliocentric(point, dates[(i + k) % dates.size()], r);
        const Vector3& other = seen[k][i * 7 + static_cast<std::size_t>(point - 9)];
        EXPECT_EQ(r.x, other.x) << point;
        EXPECT_EQ(r.y, other.y) << point;
        EXPECT_EQ(r.z, other.z) << point;
      }
}

// Outside the integrated range Pluto comes from one tabulated state up to half-way to the next:
// where two stretches meet, and before the first state, the path runs on without a jump.
TEST(MinorBodies, PlutoStretchesOutsideTheRangeJoin) {
  constexpr double kStateJd0 = 2451545.0 - 730000.0, kStateStep = 29200.0;
  for (const double meet : {kStateJd0 + 10.5 * kStateStep, kStateJd0 + 19.5 * kStateStep,
                            kStateJd0 + 31.5 * kStateStep, kStateJd0 - 0.5 * kStateStep}) {
    Vector3 before, after;
    ASSERT_TRUE(MinorBodyHeliocentric(9, meet - 0.01, before));
    ASSERT_TRUE(MinorBodyHeliocentric(9, meet + 0.01, after));
    // Pluto moves below 0.01" in 0.02 day; the states agree within an arcsecond or so.
    EXPECT_LT((after - before).Length() / before.Length() * 206264.8, 2.0) << meet;
  }
}

// -3000..3000: every point gives finite values in range, far outside the integration too.
TEST(MinorBodies, FiniteOverTheWholeDateRange) {
  for (int point = 9; point <= 29; ++point) {
    if (!IsMinorBody(point)) continue;
    for (double t = 625673.5; t <= 2817151.5; t += 7305.25) {  // -3000 .. 3000, every 20 years
      if (InMinorIntegratedRange(t)) continue;
      const PointPosition p = MinorBodyApparent(point, t);
      ASSERT_TRUE(std::isfinite(p.longitude) && std::isfinite(p.latitude) && std::isfinite(p.speed))
          << point << " at " << t;
      ASSERT_GE(p.longitude, 0.0);
      ASSERT_LT(p.longitude, 360.0);
      ASSERT_LT(std::abs(p.latitude), 90.0);
      ASSERT_LT(std::abs(p.speed), 1.0) << point << " at " << t;
    }
  }
}

}  // namespace
