// The settings of the planet-transit search and its listing, kept in the configuration as one
// block of 240 bytes (layout in foundation/config/settings_blocks.h, cfg::TransitSettings). The
// fields hold the stored widths, so a block read and written again comes back byte for byte.
// Default values come from the configuration's block (docs/decisions.md, "Configuration").
#pragma once

#include <cstdint>
#include <string>

#include "conditions/core/query_condition.h"
#include "foundation/config/byte_block.h"

// Object codes of the transit settings besides the bodies 0..10, 18 and 21.
inline constexpr int kTransitCuspTarget = 34;  // 34 + n: the cusp of house n (0..11)
inline constexpr int kTransitPlanetGroup = 500;
inline constexpr int kTransitHouseGroup = 504;
// Aspect choices besides the position of one aspect in the system, as the conditions have them.
inline constexpr int kTransitAnyAspect = kAnyAspectOfClasses;
inline constexpr int kTransitOwnAngle = kArbitraryAngle;
// Class mask bits: 0..4 the natures, then major, minor, exact, inexact.
inline constexpr int kTransitMaskMajor = 5, kTransitMaskMinor = 6;
inline constexpr int kTransitMaskExact = 7, kTransitMaskInexact = 8;

struct TransitSettings {
  static constexpr std::size_t kSize = 240;

  // No field holds a default: a value default-constructed is what an empty block reads as. The
  // defaults are the configuration's default block's (foundation/config/configuration_defaults).
  std::int32_t mode = 0;        // 0 between the chart's moving bodies, 1 to the natal chart
  std::int32_t transiting = 0;  // a body, or 500 a planet group
  std::int32_t target = 0;      // a body, 34 + house, 500 a planet group, 504 a house group
  std::int32_t startDay = 0, startMonth = 0, startYear = 0;
  char startEra = '\0';
  std::string groupName;  // of the target group; at most 30 bytes
  std::int32_t exact = 0, entering = 0, leaving = 0;
  std::uint16_t orbSource = 0;  // 0 constant, 1 the aspect system's orbs
  std::uint16_t orbDegrees = 0, orbMinutes = 0;
  std::string aspectSystem;        // at most 12 bytes
  std::uint16_t aspectChoice = 0;  // position in the system, 1000 any, 1001 the own angle
  std::uint16_t angleDegrees = 0, angleMinutes = 0;
  std::int32_t classMask = 0;
  std::int32_t sortByTime = 0;
  std::int32_t transitingGroup = 0;  // the planet group when transiting is 500 (-1 none)
  std::int32_t endDay = 0, endMonth = 0, endYear = 0;
  char endEra = '\0';
  std::uint16_t houseOrbGroup = 0;  // 1..5
  std::uint16_t precision = 0;      // 1 high, 5 medium, 10 low
  std::uint16_t screenFontSize = 0, printFontSize = 0;
  std::uint16_t printColumns = 0, printOrder = 0;
  double printLineSpacing = 0.0, screenLineSpacing = 0.0;

  // A block of another size reads as far as it reaches; the fields past it are zero.
  static TransitSettings FromBlock(const cfg::ByteBlock& block);
  // Writes every field at its offset (texts without trailing blanks); the padding
  // bytes are kept as they are.
  void ToBlock(cfg::ByteBlock& block) const;

  bool MaskBit(int bit) const { return (classMask >> bit) & 1; }
  void SetMaskBit(int bit, bool on) {
    classMask = on ? (classMask | (1 << bit)) : (classMask & ~(1 << bit));
  }

  bool operator==(const TransitSettings&) const = default;
};
