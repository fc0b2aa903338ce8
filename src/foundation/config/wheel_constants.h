// The geometry of the chart wheel: 14 constant sets of 168 bytes (21 doubles), one per wheel form.
// Radii and sizes are fractions of the wheel's outer radius; spacings are degrees of the circle.
#pragma once

#include <array>
#include <cstddef>

#include "foundation/config/byte_block.h"

namespace cfg {

// The 21 values of a set, in their order.
struct WheelSet {
  static constexpr std::size_t kSize = 168;
  static constexpr Field<double> kZodiacOuter{0};     // outer circle of the sign ring
  static constexpr Field<double> kZodiacInner{8};     // inner circle of the sign ring
  static constexpr Field<double> kTickOneDegree{16};  // length of the 1-degree ticks
  static constexpr Field<double> kTickFiveDegrees{24};
  static constexpr Field<double> kTickTenDegrees{32};
  static constexpr Field<double> kSignGlyphRadius{40};
  static constexpr Field<double> kSignGlyphSize{48};
  static constexpr Field<double> kHouseRingOuter{56};
  static constexpr Field<double> kHouseRingInner{64};
  static constexpr Field<double> kHouseNumberRadius{72};
  static constexpr Field<double> kHouseNumberSize{80};
  static constexpr Field<double> kPlanetGlyphRadius{88};  // the inner (or only) chart
  static constexpr Field<double> kPlanetGlyphSize{96};
  static constexpr Field<double> kPlanetTickLength{104};
  static constexpr Field<double> kDegreeTextRadius{112};
  static constexpr Field<double> kOuterPlanetGlyphRadius{120};  // the second chart of an overlay
  static constexpr Field<double> kOuterPlanetTickLength{128};
  static constexpr Field<double> kCentreCircleRadius{136};   // the aspect circle
  static constexpr Field<double> kMinimumGlyphSpacing{144};  // degrees between glyph centres
  static constexpr Field<double> kAngleArrowLength{152};
  static constexpr Field<double> kDegreeTextSize{160};
};

}  // namespace cfg

class WheelConstants {
 public:
  static constexpr int kSetCount = 14;
  // The wheel forms of sets 0..12; set 13 serves every other number.
  enum Form {
    kSingleScreen = 0,
    kSinglePrintLarge = 1,
    kSinglePrintSmall = 2,
    kOverlayScreen = 3,
    kOverlayPrintLarge = 4,
    kOverlayPrintSmall = 5,
    kAspectsScreen = 6,
    kAspectsPrintLarge = 7,
    kAspectsPrintSmall = 8,
    kLocalSpaceScreen = 9,
    kLocalSpacePrint = 10,
    kEqualHousesScreen = 11,
    kEqualHousesPrint = 12,
    kFallback = 13,
  };

  // The shipped geometry.
  WheelConstants();

  // Set k; k outside 0..12 gives set 13.
  const cfg::ByteBlock& GetSet(int k) const;
  cfg::ByteBlock& Set(int k);

  bool operator==(const WheelConstants&) const = default;

 private:
  std::array<cfg::ByteBlock, kSetCount> sets_;
};
