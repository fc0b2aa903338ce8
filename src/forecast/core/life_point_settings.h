// The settings of the life-point calculation and its listing, kept in the configuration as one
// tagged block (layout in foundation/config/settings_blocks.h, cfg::LifePointSettings). The fields
// hold the stored widths, so a block read and written again comes back byte for byte. Default
// values come from the configuration's block (docs/decisions.md, "Configuration").
#pragma once

#include <cstdint>
#include <string>

#include "foundation/config/byte_block.h"

struct LifePointSettings {
  std::string aspectSystemName;    // at most 11 bytes
  std::int32_t houseTargets = 0;   // 0 none, 1 Ascendant, 2 MC, 3 angles, 4 all
  std::int32_t pointTargets = 0;   // 0 none, 1 Sun to Pluto, 2 those on the wheel, 3 all
  std::int32_t withNodes = 0;      // 0/1
  std::int32_t withIngresses = 0;  // 0/1
  std::int32_t aspectChoice = 0;   // 0 conjunctions, 1 majors, 2 all
  std::int32_t exact = 0;          // 0/1 the phases listed
  std::int32_t entering = 0;
  std::int32_t leaving = 0;
  std::int32_t orbMode = 0;         // 0 the planets' orb group, 1 each planet's own
  std::int16_t planetOrbGroup = 0;  // 1..5
  std::int16_t houseOrbGroup = 0;   // 1..5
  std::int32_t toThisChart = 0;     // 0 the natal chart's points, 1 the document chart's
  std::int16_t typeIndex = 0;       // into the life-point types
  std::int16_t beginAge = 0;        // -200..200 years
  std::int16_t interval = 0;        // screen line spacing, thousandths
  std::int16_t printInterval = 0;   // print line spacing, thousandths
  std::int16_t fontSize = 0;        // tenths of a point
  std::int16_t printFontSize = 0;
  std::int16_t maxColumns = 0;  // 1..20
  std::int16_t printOrder = 0;  // 1 down each column first, 0 across each row first

  static LifePointSettings FromBlock(const cfg::ByteBlock& block);
  // Writes every field at its offset (the name without trailing blanks); bytes no
  // field names are kept as they are.
  void ToBlock(cfg::ByteBlock& block) const;

  bool operator==(const LifePointSettings&) const = default;
};
