// The computations clear the upper halves of the vector registers before they start: left in use
// by the window's painting (or by code compiled for AVX), they make every call of the C library's
// mathematics costly.
#include <gtest/gtest.h>

#include <functional>

#include "astro/ephemeris/ephemeris.h"
#include "astro/houses/houses.h"
#include "foundation/numbers/vector_state.h"
#include "support/test_support.h"

namespace {

TEST(VectorState, ComputationsLeaveTheUpperHalvesUnused) {
  if (!testing_support::DirtyVectorUpperHalves())
    GTEST_SKIP() << "the processor does not show its vector state";
  Ephemeris tables;
  ASSERT_TRUE(tables.Load(testing_support::SourceDir() / "data" / "velm.str").ok());
  HouseInput moscow;
  moscow.armcDeg = 123.4;
  moscow.latitudeDeg = 55.75;
  moscow.obliquityDeg = 23.44;
  const struct {
    const char* what;
    std::function<void()> run;
  } cases[] = {
      {"the cleaning itself", [] { CleanVectorState(); }},
      {"the Moon from the tables", [&] { (void)tables.Position(1, JdTt{2451545.0}); }},
      {"Placidus cusps", [&] { (void)HouseCusps(moscow); }},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(testing_support::DirtyVectorUpperHalves());
    c.run();
    EXPECT_FALSE(VectorUpperStateInUse()) << c.what;
  }
}

}  // namespace
