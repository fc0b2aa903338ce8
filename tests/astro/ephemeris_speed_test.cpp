// The motion bounds and the transit search periods, against a dense scan of the tables and
// well-known facts of the bodies' motion.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "astro/ephemeris/ephemeris.h"
#include "astro/ephemeris/speed_limits.h"
#include "support/test_support.h"

namespace {

const Ephemeris& Tables() {
  static const Ephemeris e = [] {
    Ephemeris loaded;
    EXPECT_TRUE(loaded.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

TEST(EphemerisSpeed, BoundsAreNeverExceededOnADenseScan) {
  // 1990-2010 in steps of 0.13 day (a step the generator's daily scan never used), both
  // variants of the lunar points.
  const Ephemeris& e = Tables();
  for (int body = 0; body < kBodyCount; ++body) {
    for (LunarVariant v : {LunarVariant::True, LunarVariant::Mean}) {
      if (v == LunarVariant::Mean && (body < kNorthNode || body > kLunarPerigee)) continue;
      for (double jd = 2447892.5; jd < 2455197.5; jd += 0.13) {
        const double speed = e.Position(body, JdTt{jd}, v).speed;
        ASSERT_LE(speed, GetPlanetMaxSpeed(body)) << "body " << body << " jd " << std::fixed << jd;
        ASSERT_LE(-speed, GetPlanetMaxBackSpeed(body)) << "body " << body << " jd " << jd;
      }
    }
  }
}

TEST(EphemerisSpeed, RetrogradeArcsStayWithinTheirBounds) {
  // Retrograde runs of Mercury .. Chiron over 1900-2000, measured at 0.1-day steps.
  const Ephemeris& e = Tables();
  for (int body = 2; body <= 10; ++body) {
    double run = 0.0, previousLon = e.Position(body, JdTt{2415020.5}).longitude;
    bool retrograde = false;
    int runs = 0;
    for (double jd = 2415020.6; jd < 2451545.0; jd += 0.1) {
      const BodyPosition p = e.Position(body, JdTt{jd});
      double step = p.longitude - previousLon;
      step -= 360.0 * std::round(step / 360.0);
      previousLon = p.longitude;
      if ((p.speed < 0.0) != retrograde) {
        if (retrograde) {
          EXPECT_LE(-run, GetPlanetMaxBackArc(body) + 0.01) << "body " << body;
          ++runs;
        }
        retrograde = p.speed < 0.0;
        run = 0.0;
      }
      run += step;
    }
    EXPECT_GT(runs, 0) << "body " << body;
  }
}

struct Fact {
  const char* name;
  double value, low, high;
};

TEST(EphemerisSpeed, BoundsAgreeWithTheKnownMotionOfTheBodies) {
  const Fact facts[] = {
      {"sun_max_speed", GetPlanetMaxSpeed(0), 1.019, 1.08},
      {"sun_never_retrograde", GetPlanetMaxBackSpeed(0), 0.0, 0.0},
      {"sun_no_back_arc", GetPlanetMaxBackArc(0), 0.0, 0.0},
      {"sun_never_stations", GetPlanetMaxDirectArc(0), 360.0, 360.0},
      {"moon_max_speed", GetPlanetMaxSpeed(1), 15.3, 16.3},
      {"moon_never_retrograde", GetPlanetMaxBackSpeed(1), 0.0, 0.0},
      {"mercury_max_speed", GetPlanetMaxSpeed(2), 2.15, 2.4},
      {"mercury_back_arc", GetPlanetMaxBackArc(2), 13.0, 17.0},
      {"mars_back_arc", GetPlanetMaxBackArc(4), 15.0, 22.0},
      {"jupiter_back_speed", GetPlanetMaxBackSpeed(5), 0.13, 0.15},
      {"sun_turn", GetPlanetTurn(0), 0.999, 1.001},
      {"jupiter_turn", GetPlanetTurn(5), 11.7, 12.0},
      {"saturn_turn", GetPlanetTurn(6), 29.0, 30.0},
      {"node_turn", GetPlanetTurn(16), 18.5, 18.7},
      {"mean_node_back_speed", GetPlanetMaxBackSpeed(16), 0.0529, 0.5},
  };
  for (const Fact& f : facts) {
    EXPECT_GE(f.value, f.low) << f.name;
    EXPECT_LE(f.value, f.high) << f.name;
  }
}

TEST(EphemerisSpeed, AnIndexOutsideTheBodiesGetsTheMostPermissiveBound) {
  for (int bad : {-1, 30, 1000}) {
    for (int body = 0; body < kBodyCount; ++body) {
      EXPECT_GE(GetPlanetMaxSpeed(bad), GetPlanetMaxSpeed(body));
      EXPECT_GE(GetPlanetMaxBackSpeed(bad), GetPlanetMaxBackSpeed(body));
      EXPECT_GE(GetPlanetMaxDirectArc(bad), GetPlanetMaxDirectArc(body));
      EXPECT_GE(GetPlanetMaxBackArc(bad), GetPlanetMaxBackArc(body));
      EXPECT_LE(GetPlanetTurn(bad), GetPlanetTurn(body));
    }
  }
}

TEST(EphemerisSpeed, TransitPeriodTableHoldsSynodicCyclesAndReturnsAndIsCompiledIn) {
  std::ifstream in(testing_support::SourceDir() / "data" / "velm.tri");
  std::vector<long> t;
  for (long v; in >> v;) t.push_back(v);
  ASSERT_EQ(t.size(), 169u);
  constexpr int kRowBody[13] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 18, 21};
  for (int i = 0; i < 13; ++i) {
    // With itself: the longest wait for a return to one longitude, about its period of
    // revolution (the inner planets' loops make theirs up to an eighth longer).
    const double turnDays = GetPlanetTurn(kRowBody[i]) * 365.25;
    EXPECT_GE(t[i * 13 + i], 0.95 * turnDays) << i;
    EXPECT_LE(t[i * 13 + i], 1.15 * turnDays) << i;
    for (int j = 0; j < 13; ++j) {
      EXPECT_GT(t[i * 13 + j], 0);
      EXPECT_EQ(t[i * 13 + j], t[j * 13 + i]) << i << " " << j;  // the cycle is the pair's
      EXPECT_EQ(TransitPeriodsTable()[i * 13 + j], t[i * 13 + j]) << i << " " << j;
    }
  }
  // The longest synodic month is about 29.8 days; Jupiter meets the Sun every 399 days or so.
  EXPECT_GE(t[0 * 13 + 1], 29);
  EXPECT_LE(t[0 * 13 + 1], 31);
  EXPECT_GE(t[0 * 13 + 5], 395);
  EXPECT_LE(t[0 * 13 + 5], 420);
}

}  // namespace
