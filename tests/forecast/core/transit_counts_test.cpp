// Whole years of transits to fixed longitudes against the oracle: a year of Mercury with three
// retrograde runs, the year of a Mars retrograde loop and a year of the true Black Moon, which
// runs backwards at times. Every crossing the oracle sees is found once, at its moment.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "astro/ephemeris/bodies.h"
#include "forecast/core/transit_dispatch.h"
#include "foundation/numbers/angles.h"
#include "transit_oracle.h"

namespace {

constexpr double kYearDays = 365.25;

struct YearRow {
  const char* name;
  int body;
  LunarVariant variant;
  double start;  // Julian day, UT
  double targetStepDeg;
  int minimumCrossings;  // the retrograde loops add crossings beyond one per target
};
void PrintTo(const YearRow& r, std::ostream* out) { *out << r.name; }

const YearRow kYears[] = {
    // 2020: Mercury retrograde in February, June-July and October-November.
    {"mercury_2020", 2, LunarVariant::True, 2458849.5, 2.0, 180 + 3 * 2 * 5},
    // 2020: Mars retrograde from 9 September to 14 November, over about 15 degrees of Aries.
    {"mars_2020", 4, LunarVariant::True, 2458849.5, 1.0, 7 * 2},
    {"true_black_moon_2021", 18, LunarVariant::True, 2459215.5, 6.0, 60},
};

// The body's longitude every hour of the year, and the oracle's crossings of one target.
struct Samples {
  std::vector<double> jd, longitude;
};

Samples SampleYear(const YearRow& row) {
  Samples s;
  for (double jd = row.start; jd <= row.start + 365.0; jd += oracle::kHour) {
    s.jd.push_back(jd);
    s.longitude.push_back(
        oracle::Tables().Position(row.body, ToTt(JdUt{jd}), row.variant).longitude);
  }
  return s;
}

std::vector<double> OracleCrossings(const YearRow& row, const Samples& s, double target) {
  const oracle::Pair pair{row.body, -1, target, 0.0, row.variant};
  std::vector<double> found;
  auto side = [&](std::size_t i) { return std::remainder(s.longitude[i] - target, 360.0); };
  for (std::size_t i = 1; i < s.jd.size(); ++i) {
    const double a = side(i - 1), b = side(i);
    if ((a > 0.0) != (b > 0.0) && std::fabs(b - a) < 90.0) {
      // Only the grid cell comes from the samples; the moment from the oracle's bisection.
      const std::vector<double> inCell =
          oracle::Crossings(pair, s.jd[i - 1], s.jd[i], s.jd[i] - s.jd[i - 1]);
      found.insert(found.end(), inCell.begin(), inCell.end());
    }
  }
  return found;
}

class YearOfTransits : public ::testing::TestWithParam<YearRow> {};

TEST_P(YearOfTransits, EveryCrossingOfTheOracleIsFoundOnceAtItsMoment) {
  const YearRow& row = GetParam();
  const Samples samples = SampleYear(row);
  int total = 0;
  for (double target = 0.0; target < 360.0; target += row.targetStepDeg) {
    const std::vector<double> expected = OracleCrossings(row, samples, target);
    const std::vector<JdUt> found =
        FixedTargetTransitMoments(oracle::Tables(), row.variant, row.body, target, 0.0,
                                  JdUt{row.start}, JdUt{row.start + 365.0});
    ASSERT_EQ(found.size(), expected.size()) << row.name << " target " << target;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const oracle::Pair pair{row.body, -1, target, 0.0, row.variant};
      const double rate = std::fabs(oracle::SeparationRate(pair, expected[i]));
      EXPECT_NEAR(found[i].days, expected[i], 1.1 / 3600.0 / rate + 2.0 / 86400.0)
          << row.name << " target " << target << " crossing " << i;
    }
    total += static_cast<int>(found.size());
  }
  EXPECT_GE(total, row.minimumCrossings) << row.name;
}

INSTANTIATE_TEST_SUITE_P(Counts, YearOfTransits, ::testing::ValuesIn(kYears),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TransitMoments, AnAspectOfZeroOr180DegreesIsOneListAndOthersTwo) {
  // The Sun over one year passes every longitude once: one event for a conjunction and for an
  // opposition, two for a square (target + 90 and target - 90).
  const Ephemeris& e = oracle::Tables();
  const JdUt start{2458849.5}, end{2458849.5 + 365.0};
  EXPECT_EQ(FixedTargetTransitMoments(e, LunarVariant::True, 0, 130.0, 0.0, start, end).size(), 1u);
  EXPECT_EQ(FixedTargetTransitMoments(e, LunarVariant::True, 0, 130.0, 180.0, start, end).size(),
            1u);
  const std::vector<JdUt> square =
      FixedTargetTransitMoments(e, LunarVariant::True, 0, 130.0, 90.0, start, end);
  ASSERT_EQ(square.size(), 2u);
  EXPECT_LT(square[0].days, square[1].days);
  EXPECT_TRUE(
      FixedTargetTransitMoments(e, LunarVariant::True, 0, kAbsent, 90.0, start, end).empty());
  EXPECT_TRUE(
      FixedTargetTransitMoments(e, LunarVariant::True, 31, 130.0, 90.0, start, end).empty());
}

TEST(TransitMoments, ABodyIsSearchedOnlyInTheYearsItsPlaceIsKnown) {
  // Chiron (alone, and against Jupiter) over twenty years before and after the first day its
  // place is known: nothing before, and every moment after it.
  const Ephemeris& e = oracle::Tables();
  double first = 0.0, until = 0.0;
  ASSERT_TRUE(BodyKnownSpan(10, first, until));
  const JdUt before{first - 20 * kYearDays}, after{first + 20 * kYearDays};
  std::size_t found = 0;
  for (double target = 0.0; target < 360.0; target += 30.0) {
    EXPECT_TRUE(
        FixedTargetTransitMoments(e, LunarVariant::True, 10, target, 0.0, before, JdUt{first - 1.0})
            .empty())
        << target;
    for (const JdUt m :
         FixedTargetTransitMoments(e, LunarVariant::True, 10, target, 0.0, before, after)) {
      EXPECT_GE(m.days, first) << target;
      ++found;
    }
  }
  EXPECT_GT(found, 0u);
  EXPECT_TRUE(MovingPairTransitMoments(e, LunarVariant::True, 5, 10, 0.0, before, JdUt{first - 1.0})
                  .empty());
  const std::vector<JdUt> pair =
      MovingPairTransitMoments(e, LunarVariant::True, 5, 10, 0.0, before, after);
  EXPECT_FALSE(pair.empty());
  for (const JdUt m : pair) EXPECT_GE(m.days, first);
}

}  // namespace
