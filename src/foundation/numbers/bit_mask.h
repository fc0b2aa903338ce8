// Single bits of an int mask (the dashed-line and thick-line bit sets and the like).
#pragma once

// 1 when bit n of the mask is set, else 0. A bit number outside 0..31 is never set.
int BitIsSet(int n, int mask);

// Sets (flag 1, or any non-zero flag) or clears (flag 0) bit n of the mask. A bit number outside
// 0..31 leaves the mask unchanged.
void SetMaskBit(int n, int& mask, int flag);
