// The program's palette: colours are stored in settings and files as palette numbers 1..59.
#pragma once

#include <cstdint>

#include "platform/core/dc.h"

inline constexpr int kPaletteSize = 59;

// The colour of palette number n (1..59); any other number, 0 included, gives black.
platform::Color ColorByIndex(int n);
// The same for a 16-bit palette number as the settings blocks store it.
platform::Color ColorByIndexShort(std::uint16_t n);
