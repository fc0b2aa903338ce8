#include "foundation/numbers/bit_mask.h"

namespace {

constexpr bool IsBitNumber(int n) { return n >= 0 && n < 32; }

}  // namespace

int BitIsSet(int n, int mask) {
  if (!IsBitNumber(n)) return 0;
  return (static_cast<unsigned>(mask) >> n) & 1u;
}

void SetMaskBit(int n, int& mask, int flag) {
  if (!IsBitNumber(n)) return;
  const unsigned bit = 1u << n;
  unsigned bits = static_cast<unsigned>(mask);
  bits = flag != 0 ? (bits | bit) : (bits & ~bit);
  mask = static_cast<int>(bits);
}
