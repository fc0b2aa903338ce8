// The tables file: its format checks, the Chebyshev evaluation, and the tables against the
// theories they were fitted to.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/ephemeris.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/numbers/angles.h"
#include "support/test_support.h"

namespace {

// One table of id 0 over [1000, 1020] in two 10-day segments: longitude 350 + 20 x in the
// first (crossing 360), 10 + 5 x in the second; latitude 1 - x^2 = 0.5 T0 - 0.5 T2 in both.
ChebyshevFile HandTables() {
  ChebyshevTable t;
  t.id = 0;
  t.firstJd = 1000.0;
  t.segmentDays = 10.0;
  t.lonDegree = 1;
  t.latDegree = 2;
  t.quantum = 1e-7;
  t.coefficients = {350.0, 20.0, 0.5, 0.0, -0.5, 10.0, 5.0, 0.5, 0.0, -0.5};
  ChebyshevFile f;
  f.firstJd = 1000.0;
  f.lastJd = 1020.0;
  f.tables.push_back(t);
  return f;
}

struct EvalCase {
  const char* name;
  double jd, lon, lat, speed;
};
// Worked out by hand from the polynomials above (speed = d lon / dx x 2 / 10 days).
const EvalCase kEvalCases[] = {
    {"first_segment_start", 1000.0, 330.0, 0.0, 4.0},
    {"first_segment_middle", 1005.0, 350.0, 1.0, 4.0},
    {"crossing_zero_aries", 1007.5, 0.0, 0.75, 4.0},
    {"first_segment_end_wraps", 1009.999999, 9.999996, 0.0, 4.0},
    {"second_segment_middle", 1015.0, 10.0, 1.0, 1.0},
    {"last_day", 1020.0, 15.0, 0.0, 1.0},
};

TEST(EphemerisTables, ChebyshevSegmentsEvaluateAsWorkedOut) {
  const ChebyshevFile f = HandTables();
  for (const EvalCase& c : kEvalCases) {
    double lon, lat, speed;
    f.tables[0].Evaluate(c.jd, lon, lat, speed);
    EXPECT_NEAR(lon, c.lon, 1e-5) << c.name;
    EXPECT_NEAR(lat, c.lat, 1e-5) << c.name;
    EXPECT_NEAR(speed, c.speed, 1e-9) << c.name;
  }
}

TEST(EphemerisTables, InterpolationAtNodesRecoversAPolynomial) {
  // 3 + 2x + x^2 = 3.5 T0 + 2 T1 + 0.5 T2.
  std::vector<double> values;
  for (int k = 0; k <= 2; ++k) {
    const double x = ChebyshevNode(k, 2);
    values.push_back(3.0 + 2.0 * x + x * x);
  }
  const std::vector<double> c = ChebyshevFromNodeValues(values);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_NEAR(c[0], 3.5, 1e-12);
  EXPECT_NEAR(c[1], 2.0, 1e-12);
  EXPECT_NEAR(c[2], 0.5, 1e-12);
}

TEST(EphemerisTables, FileRoundTripKeepsTheValues) {
  const std::string bytes = SerializeTables(HandTables());
  Ephemeris e;
  ASSERT_TRUE(e.LoadBytes(bytes, "hand").ok());
  EXPECT_TRUE(e.HasTable(0));
  EXPECT_FALSE(e.HasTable(1));
  EXPECT_DOUBLE_EQ(e.FirstJdTt(), 1000.0);
  EXPECT_DOUBLE_EQ(e.LastJdTt(), 1020.0);
}

// Every coefficient comes back as written: varints of one to seven bytes either side of zero (the
// zigzag code's edges), first coefficients of any size, over two tables of several segments.
TEST(EphemerisTables, FileRoundTripKeepsEveryCoefficient) {
  const std::int64_t quanta[] = {0, 1, -1, 63, -64, 64, 8191, -8192, 1LL << 20, -(1LL << 40)};
  ChebyshevFile f;
  f.firstJd = 0.0;
  f.lastJd = 30.0;
  for (int id : {3, 30}) {
    ChebyshevTable t;
    t.id = id;
    t.segmentDays = 10.0;
    t.lonDegree = 3;
    t.latDegree = 2;
    t.quantum = id == 3 ? 1e-6 : 1e-7;
    for (int segment = 0; segment < 3; ++segment) {
      t.coefficients.push_back(segment == 1 ? -1.5e300 : 359.123456789 * (segment + id));
      for (int k = 1; k < 7; ++k)
        t.coefficients.push_back(static_cast<double>(quanta[(segment * 7 + k + id) % 10]) *
                                 t.quantum);
    }
    f.tables.push_back(t);
  }
  ChebyshevFile back;
  ASSERT_TRUE(ParseTables(SerializeTables(f), "round trip", back).ok());
  ASSERT_EQ(back.tables.size(), 2u);
  for (std::size_t n = 0; n < 2; ++n) {
    ASSERT_EQ(back.tables[n].id, f.tables[n].id);
    EXPECT_EQ(back.tables[n].coefficients, f.tables[n].coefficients) << "table " << n;
  }
}

// Damaged files: each must be refused with error 106 and leave the loaded tables alone.
struct DamageCase {
  const char* name;
  std::string (*damage)(std::string);
};
const DamageCase kDamage[] = {
    {"empty", [](std::string) { return std::string(); }},
    {"wrong_magic",
     [](std::string b) {
       b[0] = 'X';
       return b;
     }},
    {"wrong_version",
     [](std::string b) {
       b[4] = 9;
       return b;
     }},
    {"truncated_coefficients",
     [](std::string b) {
       b.resize(b.size() - 3);
       return b;
     }},
    {"trailing_bytes", [](std::string b) { return b + "junk"; }},
    {"varint_of_eleven_bytes",
     [](std::string b) {  // the second coefficient (after the header and the first f64)
       return b.insert(24 + 26 + 8, std::string(10, '\x80'));
     }},
    {"last_before_first",
     [](std::string b) {  // last day (offset 14) set to 0.0
       for (int i = 14; i < 22; ++i) b[i] = 0;
       return b;
     }},
    {"infinite_segment_length",
     [](std::string b) {  // the table's segment length (offset 2 in the table)
       BinaryWriter w;
       w.F64(HUGE_VAL);
       return b.replace(24 + 2, 8, w.Data());
     }},
    {"unknown_table_id",
     [](std::string b) {
       b[24] = 99;
       return b;
     }},
    {"nan_coefficient",
     [](std::string b) {  // first coefficient (after the 26-byte header)
       BinaryWriter w;
       w.F64(std::nan(""));
       return b.replace(24 + 26, 8, w.Data());
     }},
    {"table_twice",
     [](std::string b) {
       const std::string table = b.substr(24);
       b[22] = 2;
       return b + table;
     }},
};

TEST(EphemerisTables, DamagedFilesAreRefusedWithFormatError) {
  const std::string good = SerializeTables(HandTables());
  for (const DamageCase& d : kDamage) {
    Ephemeris e;
    ASSERT_TRUE(e.LoadBytes(good, "good").ok());
    const Status st = e.LoadBytes(d.damage(good), "damaged");
    EXPECT_FALSE(st.ok()) << d.name;
    EXPECT_EQ(st.ErrorCode(), kErrFormat) << d.name;
    EXPECT_EQ(st.Where(), "damaged") << d.name;
    EXPECT_TRUE(e.HasTable(0)) << d.name << ": the loaded tables were lost";
  }
}

// The hand tables with a nutation table of a constant `nutationDeg`.
std::string HandTablesWithNutation(double nutationDeg) {
  ChebyshevFile f = HandTables();
  ChebyshevTable n;
  n.id = kTableNutation;
  n.firstJd = f.firstJd;
  n.segmentDays = 20.0;
  n.coefficients = {nutationDeg, 0.0};
  f.tables.push_back(n);
  return SerializeTables(f);
}

// Positions at one instant from tables loaded one after the other, into two ephemerides and
// again into the first: each answers with its own nutation, none with what another kept.
TEST(EphemerisTables, EveryLoadingAnswersWithItsOwnTablesAtTheSameInstant) {
  const JdTt when{1015.0};  // the Sun's hand longitude 10 degrees there
  Ephemeris a, b;
  struct Step {
    Ephemeris* e;
    double loadNutation;  // NaN: no new loading
    double expectedLon;
  };
  const double none = std::nan("");
  const Step steps[] = {{&a, 0.5, 10.5}, {&b, 1.5, 11.5},  {&a, none, 10.5},
                        {&a, 2.0, 12.0}, {&b, none, 11.5}, {&a, none, 12.0}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    if (!std::isnan(s.loadNutation)) {
      ASSERT_TRUE(s.e->LoadBytes(HandTablesWithNutation(s.loadNutation), "hand").ok());
    }
    EXPECT_NEAR(s.e->Position(0, when).longitude, s.expectedLon, 1e-9) << "step " << i;
  }
}

// A varint may take ten bytes, nine of them continued; one more continued byte makes the file
// damaged. Continued bytes put in before one coefficient of a long segment (zeros, a byte each),
// wherever the run falls among the eight-byte words the check reads at once.
TEST(EphemerisTables, VarintsOfTenBytesAreReadAndLongerOnesRefused) {
  ChebyshevFile f = HandTables();
  ChebyshevTable& t = f.tables[0];
  t.lonDegree = 30;
  t.latDegree = 20;
  t.coefficients.assign(2 * 52, 0.0);
  t.coefficients[0] = t.coefficients[52] = 10.0;
  const std::string good = SerializeTables(f);
  const std::size_t firstVarint = 24 + 26 + 8;
  for (std::size_t at = firstVarint; at < firstVarint + 24; ++at) {
    for (const int run : {9, 10, 17}) {
      std::string damaged = good;
      damaged.insert(at, std::string(run, '\x80'));
      Ephemeris e;
      const Status st = e.LoadBytes(damaged, "runs");
      EXPECT_EQ(st.ok(), run < 10) << "a run of " << run << " at byte " << at;
      if (!st.ok()) {
        EXPECT_EQ(st.ErrorCode(), kErrFormat) << "a run of " << run << " at byte " << at;
      }
    }
  }
}

TEST(EphemerisTables, MissingFileIsReportedAndTheTheoriesServe) {
  testing_support::TempFolder folder;
  Ephemeris e;
  const Status st = e.Load(folder / "velm.str");
  EXPECT_EQ(st.ErrorCode(), kErrCannotOpen);
  EXPECT_FALSE(e.HasTables());
  const BodyPosition sun = e.Position(0, JdTt{2451545.0});
  EXPECT_TRUE(sun.approximate);
  EXPECT_NEAR(sun.longitude, 280.3689, 0.001);  // the reference row of J2000
}

// The fit error allowed to the tables, arcseconds: the asteroids' goals are arcminutes, the true
// node's and the osculating apogee's tens of arcseconds; the other bodies keep well below 1".
double FitTolerance(int point) {
  if (point >= 10 && point <= 15) return 10.0;
  if (point >= kNorthNode && point <= kLunarPerigee) return 2.0;
  return 1.0;
}

const Ephemeris& ShippedTables() {
  static const Ephemeris e = [] {
    Ephemeris loaded;
    EXPECT_TRUE(loaded.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

TEST(EphemerisTables, ShippedTablesCoverTheRequiredYearsForEveryBody) {
  const Ephemeris& e = ShippedTables();
  EXPECT_LE(e.FirstJdTt(), JUL_DAY(1600, 1, 1, 0.0));
  EXPECT_GE(e.LastJdTt(), JUL_DAY(2400, 1, 1, 0.0));
  for (int id = 0; id < kTableIdCount; ++id) EXPECT_TRUE(e.HasTable(id)) << "table " << id;
}

// Dates spread over the span, at odd fractions of the segments, and its last day: one test each,
// since the minor bodies' integration must reach each of them.
class TablesAgreeWithTheTheories : public ::testing::TestWithParam<int> {};

TEST_P(TablesAgreeWithTheTheories, AtADateOfTheSpan) {
  const Ephemeris& e = ShippedTables();
  const double first = e.FirstJdTt(), last = e.LastJdTt();
  const int i = GetParam();
  const double jd = i == 4 ? last : first + (last - first) * (i + 0.3137) / 4.0;
  for (int point = 0; point < kBodyCount; ++point) {
    for (LunarVariant v : {LunarVariant::True, LunarVariant::Mean}) {
      if (v == LunarVariant::Mean && (point < kNorthNode || point > kLunarPerigee)) continue;
      const BodyPosition t = e.Position(point, JdTt{jd}, v);
      const PointPosition s = TheoryPosition(point, v, jd);
      const double tolerance = FitTolerance(point);
      double d = std::fabs(t.longitude - s.longitude);
      if (d > 180.0) d = 360.0 - d;
      EXPECT_FALSE(t.approximate);
      EXPECT_LT(d * 3600.0, tolerance) << "point " << point << " jd " << std::fixed << jd;
      EXPECT_LT(std::fabs(t.latitude - s.latitude) * 3600.0, tolerance) << "point " << point;
      EXPECT_LT(std::fabs(t.speed - s.speed), 0.001) << "point " << point;
    }
  }
}
INSTANTIATE_TEST_SUITE_P(EphemerisTables, TablesAgreeWithTheTheories, ::testing::Range(0, 5));

// Tables decoded block by block on first use, by several threads asking for the same fresh blocks
// at once, give what the whole file decoded at once gives (the Sun and the Moon: the table plus
// the nutation table).
TEST(EphemerisTables, TablesDecodedOnFirstUseAgreeWithTheWholeFileFromManyThreads) {
  const std::filesystem::path path = testing_support::SourceDir() / "data" / "velm.str";
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes).ok());
  ChebyshevFile whole;
  ASSERT_TRUE(ParseTables(bytes, "velm.str", whole).ok());
  const auto tableOf = [&whole](int id) -> const ChebyshevTable& {
    for (const ChebyshevTable& t : whole.tables)
      if (t.id == id) return t;
    return whole.tables.front();
  };
  std::vector<double> dates;
  for (double jd = whole.firstJd; jd < whole.lastJd; jd += 997.3) dates.push_back(jd);
  dates.push_back(whole.lastJd);

  Ephemeris lazy;
  ASSERT_TRUE(lazy.LoadBytes(bytes, "velm.str").ok());
  constexpr int kThreads = 4;
  std::vector<std::vector<BodyPosition>> got(kThreads);
  std::vector<std::thread> threads;
  for (int n = 0; n < kThreads; ++n)
    threads.emplace_back([&, n] {
      for (const double jd : dates)
        for (const int point : {0, 1}) got[n].push_back(lazy.Position(point, JdTt{jd}));
    });
  for (std::thread& thread : threads) thread.join();

  for (int n = 0; n < kThreads; ++n) {
    std::size_t k = 0;
    for (const double jd : dates) {
      double nutation, unused, nutationRate;
      tableOf(kTableNutation).Evaluate(jd, nutation, unused, nutationRate);
      if (nutation > 180.0) nutation -= 360.0;
      for (const int point : {0, 1}) {
        double lon, lat, speed;
        tableOf(point).Evaluate(jd, lon, lat, speed);
        const BodyPosition& p = got[n][k++];
        EXPECT_NEAR(p.longitude, NormalizeDegrees(lon + nutation), 1e-9) << point << " at " << jd;
        EXPECT_EQ(p.latitude, lat) << point << " at " << jd;
        EXPECT_EQ(p.speed, speed + nutationRate) << point << " at " << jd;
      }
    }
  }
}

TEST(EphemerisTables, PositionsAreContinuousAcrossSegmentEnds) {
  const Ephemeris& e = ShippedTables();
  // Every segment length is a multiple of 16 days, so every segment end of the first 400 days
  // is among these dates.
  for (double jd = e.FirstJdTt() + 16.0; jd < e.FirstJdTt() + 400.0; jd += 16.0) {
    for (int point = 0; point < kBodyCount; ++point) {
      const BodyPosition before = e.Position(point, JdTt{jd - 1e-6});
      const BodyPosition after = e.Position(point, JdTt{jd + 1e-6});
      double d = std::fabs(after.longitude - before.longitude);
      if (d > 180.0) d = 360.0 - d;
      // Two neighbouring fits may each miss by the fit tolerance, besides 2e-6 day of motion.
      EXPECT_LT(d * 3600.0, 2.0 * FitTolerance(point) + 2e-6 * std::fabs(before.speed) * 3600.0)
          << "point " << point << " jd " << std::fixed << jd;
    }
  }
}

TEST(EphemerisTables, OppositePointsAreExactlyOpposite) {
  const Ephemeris& e = ShippedTables();
  for (LunarVariant v : {LunarVariant::True, LunarVariant::Mean}) {
    const JdTt when{2460000.25};
    const BodyPosition node = e.Position(kNorthNode, when, v);
    const BodyPosition south = e.Position(kSouthNode, when, v);
    const BodyPosition apogee = e.Position(kBlackMoon, when, v);
    const BodyPosition perigee = e.Position(kLunarPerigee, when, v);
    EXPECT_NEAR(std::fmod(node.longitude + 180.0, 360.0), south.longitude, 1e-9);
    EXPECT_NEAR(std::fmod(apogee.longitude + 180.0, 360.0), perigee.longitude, 1e-9);
    EXPECT_NEAR(apogee.latitude, -perigee.latitude, 1e-12);
    EXPECT_EQ(node.speed, south.speed);
  }
}

TEST(EphemerisTables, OutsideTheTablesTheTheoriesServeMarkedApproximate) {
  const Ephemeris& e = ShippedTables();
  const double dates[] = {JUL_DAY(-3000, 1, 1, 0.0), JUL_DAY(1599, 12, 31, 0.0),
                          JUL_DAY(3000, 12, 31, 0.0)};
  for (double jd : dates) {
    for (int point = 0; point < kBodyCount; ++point) {
      const BodyPosition p = e.Position(point, JdTt{jd});
      EXPECT_TRUE(p.approximate) << point;
      EXPECT_TRUE(std::isfinite(p.longitude) && std::isfinite(p.latitude) && std::isfinite(p.speed))
          << "point " << point << " jd " << std::fixed << jd;
      EXPECT_GE(p.longitude, 0.0);
      EXPECT_LT(p.longitude, 360.0);
    }
  }
}

TEST(EphemerisTables, PointsOutsideTheBodiesGiveZerosMarkedApproximate) {
  const Ephemeris& e = ShippedTables();
  for (int point : {-1, 30, 49}) {
    const BodyPosition p = e.Position(point, JdTt{2451545.0});
    EXPECT_TRUE(p.approximate);
    EXPECT_EQ(p.longitude, 0.0);
  }
  EXPECT_TRUE(e.Position(0, JdTt{std::nan("")}).approximate);
}

}  // namespace
