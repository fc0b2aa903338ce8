#include "foundation/drawing/palette.h"

#include <array>

namespace {

// Numbers 1..16 follow the classic sixteen-colour order (1 navy, 7 grey, 12 red, 14 yellow,
// 15 white, 16 light grey); 17..59 add tints and shades for wheels, curves and maps.
constexpr std::array<platform::Color, kPaletteSize> kPalette = {{
    {0, 0, 128},      // 1 navy
    {0, 128, 0},      // 2 green
    {0, 128, 128},    // 3 teal
    {128, 0, 0},      // 4 dark red
    {128, 0, 128},    // 5 purple
    {128, 128, 0},    // 6 olive
    {128, 128, 128},  // 7 grey
    {64, 64, 64},     // 8 dark grey
    {0, 0, 255},      // 9 blue
    {0, 255, 0},      // 10 lime
    {0, 255, 255},    // 11 cyan
    {255, 0, 0},      // 12 red
    {255, 0, 255},    // 13 magenta
    {255, 255, 0},    // 14 yellow
    {255, 255, 255},  // 15 white
    {192, 192, 192},  // 16 light grey
    {255, 128, 0},    // 17 orange
    {139, 69, 19},    // 18 brown
    {255, 192, 203},  // 19 pink
    {255, 215, 0},    // 20 gold
    {135, 206, 235},  // 21 sky blue
    {65, 105, 225},   // 22 royal blue
    {25, 25, 112},    // 23 midnight blue
    {70, 130, 180},   // 24 steel blue
    {173, 216, 230},  // 25 light blue
    {0, 100, 0},      // 26 dark green
    {34, 139, 34},    // 27 forest green
    {107, 142, 35},   // 28 olive drab
    {46, 139, 87},    // 29 sea green
    {127, 255, 212},  // 30 aquamarine
    {64, 224, 208},   // 31 turquoise
    {0, 139, 139},    // 32 dark cyan
    {178, 34, 34},    // 33 firebrick
    {220, 20, 60},    // 34 crimson
    {255, 99, 71},    // 35 tomato
    {250, 128, 114},  // 36 salmon
    {240, 128, 128},  // 37 light coral
    {210, 105, 30},   // 38 chocolate
    {205, 133, 63},   // 39 peru
    {222, 184, 135},  // 40 burlywood
    {245, 222, 179},  // 41 wheat
    {255, 250, 205},  // 42 lemon chiffon
    {255, 255, 224},  // 43 light yellow
    {238, 232, 170},  // 44 pale goldenrod
    {189, 183, 107},  // 45 dark khaki
    {75, 0, 130},     // 46 indigo
    {138, 43, 226},   // 47 blue violet
    {148, 0, 211},    // 48 dark violet
    {218, 112, 214},  // 49 orchid
    {221, 160, 221},  // 50 plum
    {230, 230, 250},  // 51 lavender
    {199, 21, 133},   // 52 medium violet red
    {255, 20, 147},   // 53 deep pink
    {144, 238, 144},  // 54 light green
    {152, 251, 152},  // 55 pale green
    {224, 255, 255},  // 56 light cyan
    {105, 105, 105},  // 57 dim grey
    {211, 211, 211},  // 58 silver grey
    {245, 245, 245},  // 59 white smoke
}};

}  // namespace

platform::Color ColorByIndex(int n) {
  if (n < 1 || n > kPaletteSize) return platform::kBlack;
  return kPalette[static_cast<std::size_t>(n - 1)];
}

platform::Color ColorByIndexShort(std::uint16_t n) { return ColorByIndex(static_cast<int>(n)); }
