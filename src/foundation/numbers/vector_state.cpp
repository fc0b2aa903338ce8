#include "foundation/numbers/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>

#include <cstdint>

namespace {

// The processor runs AVX and the system saves its registers (the compiler's check covers both).
bool HasAvx() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
  }();
  return has;
}

[[gnu::target("avx")]] void ZeroUpper() { _mm256_zeroupper(); }

// The extended state's components in use (XGETBV with ECX = 1), where the processor has it.
std::uint64_t StateInUse() {
  std::uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

constexpr std::uint64_t kUpperHalves = 1u << 2;  // component 2: the upper halves of YMM0-15

}  // namespace

void CleanVectorState() {
  if (HasAvx()) ZeroUpper();
}

bool VectorStateVisible() {
  static const bool visible = [] {
    unsigned a = 0, b = 0, c = 0, d = 0;
    // CPUID leaf 0Dh, sub-leaf 1, EAX bit 2: XGETBV takes ECX = 1.
    return HasAvx() && __get_cpuid_count(0x0D, 1, &a, &b, &c, &d) != 0 && (a & (1u << 2)) != 0;
  }();
  return visible;
}

bool VectorUpperStateInUse() { return VectorStateVisible() && (StateInUse() & kUpperHalves) != 0; }

#else

void CleanVectorState() {}
bool VectorUpperStateInUse() { return false; }
bool VectorStateVisible() { return false; }

#endif
