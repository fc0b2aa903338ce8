// The settings of the lunar-transit search and its listing, kept in the configuration as one
// block of 92 bytes (layout in foundation/config/settings_blocks.h, cfg::LunarTransSettings).
// The fields hold the stored widths, so a block read and written again comes back byte for byte.
// Default values come from the configuration's block (docs/decisions.md, "Configuration").
#pragma once

#include <cstdint>
#include <string>

#include "foundation/config/byte_block.h"

struct LunarTransSettings {
  static constexpr std::size_t kSize = 92;

  std::int32_t target = 0;    // 0 the points of this chart, 1 the natal points and houses
  std::int32_t planets = 0;   // 0 none, 1 Sun to Pluto, 2 those on the wheel, 3 all
  std::int32_t houses = 0;    // 0 none, 1 Ascendant, 2 MC, 3 angles, 4 all
  std::int32_t nodes = 0;     // 0/1: the lunar nodes too
  std::int32_t entering = 0;  // 0/1 the phases listed
  std::int32_t exact = 0;
  std::int32_t leaving = 0;
  std::int32_t periodKind = 0;  // 0 by time, 1 by distance
  std::int16_t yearsBefore = 0, daysBefore = 0, yearsAfter = 0, daysAfter = 0;
  std::int32_t from = 0;     // 0 the current moment, 1 the beginning of the sign
  std::int32_t to = 0;       // 0 the end of the sign, 1 `signs` signs ahead
  std::int16_t signs = 0;    // 1..8
  std::string aspectSystem;  // at most 11 bytes
  std::int16_t houseOrbGroup = 0;
  std::int32_t planetOrbs = 0;  // 0 the fixed group, 1 each planet's own orb class
  std::int16_t planetOrbGroup = 0;
  std::int32_t aspects = 0;            // 0 conjunctions, 1 majors, 2 all
  std::int16_t screenLineSpacing = 0;  // thousandths
  std::int16_t printLineSpacing = 0;
  std::uint16_t ingresses = 0;
  std::uint16_t screenFontSize = 0;  // tenths of a point
  std::uint16_t printFontSize = 0;
  std::uint16_t printColumns = 0;
  std::int16_t printOrder = 0;  // 0 left to right, 1 top to bottom

  // A block of another size reads as far as it reaches; the fields past it are zero.
  static LunarTransSettings FromBlock(const cfg::ByteBlock& block);
  // Writes every field at its offset (the aspect-system name without trailing blanks); the
  // padding bytes are kept as they are.
  void ToBlock(cfg::ByteBlock& block) const;

  bool operator==(const LunarTransSettings&) const = default;
};
