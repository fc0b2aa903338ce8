// The upper halves of this thread's vector registers. The numeric code is compiled for SSE2
// without the VEX encoding, while the C library's mathematics (sin, cos, atan2, exp, pow) run
// VEX-encoded routines on processors with AVX. Once code has left the upper halves in use (the
// window system's creation, painting and time zones do), every passage between the two encodings
// costs the processor a save or a restore of those halves: a sine then takes thirty times as
// long, and a chart three to eight times, though every result stays the same. The state is per
// thread, and kept across calls until something clears it.
#pragma once

// Marks the upper halves of this thread's vector registers unused (vzeroupper) on processors with
// AVX; nothing on others. A few cycles: every top-level computation calls it on entry, and every
// thread that computes when it starts, so that whatever ran before leaves it no cost.
void CleanVectorState();

// Whether the processor reports the upper halves of this thread's vector registers in use (the
// extended state's "in use" bits); false where it cannot tell (VectorStateVisible).
bool VectorUpperStateInUse();
bool VectorStateVisible();
