#include <gtest/gtest.h>

#include "foundation/numbers/vector_state.h"

namespace {

#if defined(__x86_64__)
// Puts ones into the upper half of ymm0, as code compiled for AVX leaves it (written in assembly,
// so that the compiler adds no vzeroupper of its own).
[[gnu::target("avx")]] void FillUpperHalf() {
  __asm__ volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}

TEST(VectorState, CleaningLeavesTheUpperHalvesUnused) {
  if (!VectorStateVisible()) GTEST_SKIP() << "the processor does not show its vector state";
  FillUpperHalf();
  ASSERT_TRUE(VectorUpperStateInUse());
  CleanVectorState();
  EXPECT_FALSE(VectorUpperStateInUse());
}
#endif

}  // namespace
