// The fast path of the theories: the cut series against the full ones at random instants of
// 3000 BC-3000 AD within the bounds docs/decisions.md gives per body, the fast path's own steps
// (light-time, analytic speeds) against the full theory, positions that do not depend on what was
// asked before, and Pluto's fitted course against its integration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "astro/ephemeris/bodies.h"
#include "astro/ephemeris/fast_theory.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/series_sets.h"

namespace {

constexpr double kFirstJd = 625673.5, kLastJd = 2817151.5;  // -3000-01-01, 3000-12-31

double LonArcsec(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)) * 3600.0; }

struct Bound {
  const char* name;
  int point;
  LunarVariant variant;
  double lonArcsec, latArcsec, speedDegPerDay;
};
// What the cut may add (docs/decisions.md, "Ephemeris"): 0.1" for the Sun, the Moon and the
// planets; the bodies whose series are not cut take the Earth's cut alone; the true node and the
// osculating apogee follow the Moon's velocity and acceleration (most in the bands within a
// millennium of J2000). The mean lunar points and the White Moon use no series.
const Bound kBounds[] = {
    {"sun", 0, LunarVariant::True, 0.02, 0.02, 1e-6},
    {"moon", 1, LunarVariant::True, 0.05, 0.04, 1e-5},
    {"mercury", 2, LunarVariant::True, 0.06, 0.04, 3e-6},
    {"venus", 3, LunarVariant::True, 0.085, 0.05, 3e-6},
    {"mars", 4, LunarVariant::True, 0.085, 0.04, 2e-6},
    {"jupiter", 5, LunarVariant::True, 0.075, 0.04, 1e-6},
    {"saturn", 6, LunarVariant::True, 0.09, 0.04, 1e-6},
    {"uranus", 7, LunarVariant::True, 0.085, 0.04, 1e-6},
    {"neptune", 8, LunarVariant::True, 0.095, 0.055, 1e-6},
    {"pluto", 9, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"chiron", 10, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"vesta", 11, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"ceres", 12, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"pallas", 13, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"juno", 14, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"psyche", 15, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"node_true", 16, LunarVariant::True, 1.2, 0.0, 3e-4},
    {"node_mean", 16, LunarVariant::Mean, 0.0, 0.0, 0.0},
    {"snode_true", 17, LunarVariant::True, 1.2, 0.0, 3e-4},
    {"apogee_oscu", 18, LunarVariant::True, 5.0, 0.45, 1.3e-3},
    {"apogee_mean", 18, LunarVariant::Mean, 0.0, 0.0, 0.0},
    {"perigee_oscu", 19, LunarVariant::True, 5.0, 0.45, 1.3e-3},
    {"proserpina", 20, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"white_moon", 21, LunarVariant::True, 0.0, 0.0, 0.0},
    {"cupido", 22, LunarVariant::True, 0.025, 0.015, 2e-6},
    {"poseidon", 29, LunarVariant::True, 0.025, 0.015, 2e-6},
};

// Instants spread at random over 3000 BC-3000 AD outside the integrated years (the integration
// is tested in minor_integration_test.cpp); the same ones on every run.
std::vector<double> RandomInstants(int count) {
  std::mt19937_64 random(39);
  std::uniform_real_distribution<double> day(kFirstJd, kLastJd);
  std::vector<double> out;
  while (static_cast<int>(out.size()) < count) {
    const double jd = day(random);
    if (!InMinorIntegratedRange(jd)) out.push_back(jd);
  }
  return out;
}

TEST(FastTheory, TheCutAddsNoMoreThanItsBoundPerBody) {
  struct Worst {
    double lon = 0.0, lat = 0.0, speed = 0.0;
  };
  std::vector<Worst> worst(std::size(kBounds));
  for (const double jd : RandomInstants(300)) {
    // All bodies at one instant on one series, then on the other, as a chart asks for them.
    std::vector<PointPosition> cut, full;
    for (const Bound& b : kBounds) cut.push_back(FastTheoryPosition(b.point, b.variant, jd));
    for (const Bound& b : kBounds)
      full.push_back(FastTheoryPosition(b.point, b.variant, jd, FullSeries()));
    for (std::size_t i = 0; i < std::size(kBounds); ++i) {
      ASSERT_TRUE(std::isfinite(cut[i].longitude) && std::isfinite(cut[i].speed))
          << kBounds[i].name << " at " << jd;
      worst[i].lon = std::max(worst[i].lon, LonArcsec(cut[i].longitude, full[i].longitude));
      worst[i].lat = std::max(worst[i].lat, std::fabs(cut[i].latitude - full[i].latitude) * 3600);
      worst[i].speed = std::max(worst[i].speed, std::fabs(cut[i].speed - full[i].speed));
    }
  }
  for (std::size_t i = 0; i < std::size(kBounds); ++i) {
    const Bound& b = kBounds[i];
    EXPECT_LE(worst[i].lon, b.lonArcsec) << b.name;
    EXPECT_LE(worst[i].lat, b.latArcsec) << b.name;
    EXPECT_LE(worst[i].speed, b.speedDegPerDay) << b.name;
  }
  // The cut is in effect: the Sun moves by more than rounding.
  EXPECT_GT(worst[0].lon, 1e-4);
}

// The fast path's own steps on the full series against the full theory (light-time by iteration,
// speeds by a central difference): the same places; speeds within the central difference's own
// error. Pluto may differ by a few hundredths of an arcsecond where its light-time crosses from one
// integrated stretch into the next, which the fast path does not.
TEST(FastTheory, OnTheFullSeriesItGivesTheFullTheory) {
  const double dates[] = {kFirstJd + 0.3, 1000000.77, 1721057.5,
                          2290000.25,     2700000.6,  kLastJd - 0.4};
  for (const double jd : dates)
    for (const Bound& b : kBounds) {
      const PointPosition fast = FastTheoryPosition(b.point, b.variant, jd, FullSeries());
      const PointPosition full = TheoryPosition(b.point, b.variant, jd);
      const double arcsec = b.point == 9 ? 0.05 : 0.002;
      EXPECT_LE(LonArcsec(fast.longitude, full.longitude), arcsec) << b.name << " at " << jd;
      EXPECT_LE(std::fabs(fast.latitude - full.latitude) * 3600, arcsec) << b.name;
      EXPECT_LE(std::fabs(fast.speed - full.speed), 3e-5) << b.name << " at " << jd;
    }
}

// Each thread keeps the last instant it computed: a position must not depend on what the thread
// asked before, nor on the other threads.
TEST(FastTheory, PositionsDoNotDependOnWhatWasAskedBefore) {
  const std::vector<double> dates = RandomInstants(4);
  std::vector<PointPosition> byDate;  // every body at one date, date after date
  for (const double jd : dates)
    for (int point = 0; point < kBodyCount; ++point)
      byDate.push_back(FastTheoryPosition(point, LunarVariant::True, jd));
  const auto checkByBody = [&](std::vector<int>& mismatches) {
    for (int point = kBodyCount - 1; point >= 0; --point)  // one body at every date in turn
      for (std::size_t d = 0; d < dates.size(); ++d) {
        const PointPosition p = FastTheoryPosition(point, LunarVariant::True, dates[d]);
        const PointPosition& q = byDate[d * kBodyCount + static_cast<std::size_t>(point)];
        if (p.longitude != q.longitude || p.latitude != q.latitude || p.speed != q.speed)
          mismatches.push_back(point);
      }
  };
  std::vector<int> mismatches;
  checkByBody(mismatches);
  EXPECT_TRUE(mismatches.empty()) << "first point differing: " << mismatches.front();
  std::vector<std::vector<int>> threadMismatches(3);
  std::vector<std::thread> threads;
  for (std::vector<int>& m : threadMismatches) threads.emplace_back(checkByBody, std::ref(m));
  for (std::thread& t : threads) t.join();
  for (const std::vector<int>& m : threadMismatches) EXPECT_TRUE(m.empty());
}

// Pluto outside the integrated range follows its integration from the tabulated states within the
// fit's 0.06", between the fitted nodes, on either side of year 0 and in two stretches of the
// Middle Ages.
TEST(FastTheory, PlutoFittedCourseFollowsItsIntegration) {
  for (const double jd : {1710000.3, 1725432.1, 2011111.1, 2022222.2, 2039876.5}) {
    Vector3 fitted, integrated, velocity;
    ASSERT_TRUE(MinorBodyHeliocentricState(9, jd, fitted, velocity));
    ASSERT_TRUE(PlutoFarIntegrated(jd, integrated));
    EXPECT_LT((fitted - integrated).Length() / integrated.Length() * 206264.8, 0.06) << jd;
  }
}

}  // namespace
