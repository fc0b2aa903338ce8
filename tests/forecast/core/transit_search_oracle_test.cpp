// Every member of the transit search against the brute-force oracle, on real motion: random
// moments of 1800-2200 and an aspect that the pair really reaches within the row's window; the
// first event after the start must be the oracle's first crossing, within the member's tolerance
// for the precision factors 1, 5 and 10.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "transit_members.h"
#include "transit_oracle.h"

namespace {

using namespace members;

struct Row {
  const char* name;
  Search search;
  int a, b;  // b = -1: a fixed target
  LunarVariant variant;
  double windowDays;  // the aspect is one the pair reaches within this many days of the start
  double grid;        // the oracle's step
  // The member's tolerance at P = 1, degrees and days; `scales` when both grow with P.
  double toleranceDeg, toleranceDays;
  bool scales;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

constexpr double kArcsec = 1.0 / 3600.0, kMinute = 1.0 / 1440.0, kSecond = 1.0 / 86400.0;
constexpr LunarVariant kTrue = LunarVariant::True, kMean = LunarVariant::Mean;
constexpr double kHour = oracle::kHour;

// Tolerances from the table of the members: 1" for the natal targets; P/1440 degree for the Sun
// and P/420 for the lunar points against a moving body, with one-minute steps; P/600 degree with
// P/3600-day steps for the Sun with Mercury or Venus; a bracket of P minutes for Mercury or Venus
// with a moving body; P/600 degree and P minutes for Mars, the outer planets and the lunar points.
const Row kRows[] = {
    {"sun_natal", DirectNatal, 0, -1, kTrue, 400, kHour, kArcsec, kSecond, false},
    {"moon_natal", DirectNatal, 1, -1, kTrue, 30, oracle::kTenMinutes, kArcsec, kSecond, false},
    {"true_black_moon_natal", DirectNatal, 18, -1, kTrue, 120, kHour, kArcsec, kSecond, false},
    {"mean_black_moon_natal", DirectNatal, 18, -1, kMean, 400, kHour, kArcsec, kSecond, false},
    {"white_moon_natal", DirectNatal, 21, -1, kTrue, 300, kHour, kArcsec, kSecond, false},
    {"mercury_natal", PlanetNatal, 2, -1, kTrue, 400, kHour, kArcsec, kSecond, false},
    {"venus_natal", PlanetNatal, 3, -1, kTrue, 400, kHour, kArcsec, kSecond, false},
    {"mars_natal", PlanetNatal, 4, -1, kTrue, 400, kHour, kArcsec, kSecond, false},
    {"jupiter_natal", PlanetNatal, 5, -1, kTrue, 300, kHour, kArcsec, kSecond, false},
    {"pluto_natal", PlanetNatal, 9, -1, kTrue, 300, kHour, kArcsec, kSecond, false},
    {"chiron_natal", PlanetNatal, 10, -1, kTrue, 300, kHour, kArcsec, kSecond, false},
    {"true_node_natal", PlanetNatal, 16, -1, kTrue, 200, kHour, kArcsec, kSecond, false},
    {"sun_to_mars", FastPoint, 0, 4, kTrue, 400, kHour, 1.0 / 1440, kMinute, true},
    {"sun_to_saturn", FastPoint, 0, 6, kTrue, 300, kHour, 1.0 / 1440, kMinute, true},
    {"true_black_moon_to_uranus", FastPoint, 18, 7, kTrue, 120, kHour, 1.0 / 420, kMinute, true},
    {"white_moon_to_neptune", FastPoint, 21, 8, kTrue, 300, kHour, 1.0 / 420, kMinute, true},
    {"sun_with_mercury", SunInner, 0, 2, kTrue, 300, kHour, 1.0 / 600, 1.0 / 3600, true},
    {"sun_with_venus", SunInner, 0, 3, kTrue, 400, kHour, 1.0 / 600, 1.0 / 3600, true},
    {"mercury_with_venus", MercuryVenus, 2, 3, kTrue, 300, kHour, 0.0, kMinute, true},
    {"mercury_to_mars", InnerToSlow, 2, 4, kTrue, 300, kHour, 0.0, kMinute, true},
    {"venus_to_jupiter", InnerToSlow, 3, 5, kTrue, 300, kHour, 0.0, kMinute, true},
    {"mars_to_saturn", MarsToSlow, 4, 6, kTrue, 300, kHour, 1.0 / 600, kMinute, true},
    {"jupiter_to_saturn", Outer, 5, 6, kTrue, 300, kHour, 1.0 / 600, kMinute, true},
    {"uranus_to_pluto", Outer, 7, 9, kTrue, 300, kHour, 1.0 / 600, kMinute, true},
    {"true_black_moon_to_jupiter", LunarPoint, 18, 5, kTrue, 120, kHour, 1.0 / 600, kMinute, true},
    {"white_moon_to_jupiter", LunarPoint, 21, 5, kTrue, 300, kHour, 1.0 / 600, kMinute, true},
};

constexpr double kFirstJd = 2378496.5;  // 1800-01-01
constexpr double kLastJd = 2524593.5;   // 2200-01-01
constexpr int kSamples = 8;
constexpr double kAspects[] = {0.0, 60.0, 90.0, 120.0, 180.0, 270.0};

// A fixed sequence of numbers in [0, 1): the same samples on every platform.
class Sequence {
 public:
  explicit Sequence(std::uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ / 4294967296.0;
  }

 private:
  std::uint32_t state_;
};

class MemberAgainstOracle : public ::testing::TestWithParam<Row> {};

TEST_P(MemberAgainstOracle, FirstEventAfterTheStartWithinTolerance) {
  const Row& row = GetParam();
  const Ephemeris& e = oracle::Tables();
  Sequence random(static_cast<std::uint32_t>(std::hash<std::string>{}(row.name)));
  for (int sample = 0; sample < kSamples; ++sample) {
    const double start = kFirstJd + random.Next() * (kLastJd - kFirstJd - row.windowDays);
    const double meet = start + (0.05 + 0.95 * random.Next()) * row.windowDays;
    // An aspect the pair really reaches: the one it makes at `meet`.
    oracle::Pair pair{row.a, row.b, 0.0, 0.0, row.variant};
    const double lonA = e.Position(row.a, ToTt(JdUt{meet}), row.variant).longitude;
    double natal = 0.0, alpha;
    if (row.b < 0) {
      alpha = kAspects[sample % std::size(kAspects)];
      natal = lonA - alpha;
      pair.fixedLongitude = natal;
    } else {
      alpha = lonA - e.Position(row.b, ToTt(JdUt{meet}), row.variant).longitude;
    }
    alpha = std::fmod(alpha + 720.0, 360.0);
    natal = std::fmod(natal + 720.0, 360.0);
    pair.offset = alpha;
    const std::optional<double> expected = oracle::FirstCrossing(pair, start, meet + 1.0, row.grid);
    ASSERT_TRUE(expected.has_value()) << row.name << " sample " << sample;
    const double rate = std::fabs(oracle::SeparationRate(pair, *expected));
    for (int p : {1, 5, 10}) {
      const TransitSearchContext context{e, alpha, p, row.variant};
      const TransitResult r =
          row.search(context, row.a, row.b, natal, JdUt{start}, JdUt{meet + 30.0});
      const double scale = row.scales ? p : 1.0;
      const double allowed =
          1.1 * std::max(row.toleranceDays * scale,
                         row.toleranceDeg > 0.0 ? row.toleranceDeg * scale / rate : 0.0) +
          2.0 * kSecond;
      ASSERT_EQ(r.status, 1) << row.name << " sample " << sample << " P " << p;
      EXPECT_NEAR(r.moment.days, *expected, allowed)
          << row.name << " sample " << sample << " P " << p << " start " << std::fixed << start
          << " alpha " << alpha << " rate " << rate;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Members, MemberAgainstOracle, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
