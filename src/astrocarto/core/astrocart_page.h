// The values of the astrocartography settings sheet (the configuration's AstroCartSettings
// block): what to calculate and show, the map colours and the line colours. The pages edit a copy;
// the block takes it only when the sheet is accepted.
#pragma once

#include <array>
#include <cstdint>

#include "foundation/config/byte_block.h"

struct AstroCartPage {
  static constexpr int kMinOrb = 1, kMaxOrb = 5400;                    // minutes of arc
  static constexpr int kMinLatitudeLimit = 0, kMaxLatitudeLimit = 90;  // degrees

  bool grid = true;
  int lineChoice = 1;  // 0 none, 1 Sun-Pluto, 2 the bodies shown on the chart
  bool nodes = false;
  bool showEveryTime = true;
  bool countryNames = true;
  int speed = 1;            // 0 high .. 3 minimal
  int printBackground = 0;  // 0 colour, 1 white land, 2 white always
  int lineSystem = 0;       // 0 ecliptic, 1 real
  int crossingBand = 0;     // shown, not edited
  int townFontSize = 1;     // 0 large, 1 medium, 2 small
  int glyphFontSize = 1;
  int crossingOrb = 60;            // kMinOrb..kMaxOrb
  int crossingLatitudeLimit = 70;  // kMinLatitudeLimit..kMaxLatitudeLimit
  // Land, sea, borders, country names, towns, town names, grid, grid degrees.
  std::array<int, 8> mapColours{};
  // Sun..Pluto, nodes, others.
  std::array<int, 12> lineColours{};

  friend bool operator==(const AstroCartPage&, const AstroCartPage&) = default;
};

// The block's values, each brought into its range (a choice out of range to its default).
AstroCartPage ReadAstroCartPage(const cfg::ByteBlock& block);
// Writes the page's values into the block; the fields the pages do not edit stay as they are.
void WriteAstroCartPage(const AstroCartPage& page, cfg::ByteBlock& block);

// The colour number of the lines of chart point `body`: Sun..Pluto (0..9) their own, the lunar
// nodes (16, 17) the nodes' colour, every other point the others' colour.
int LineColourOfBody(const cfg::ByteBlock& block, int body);
