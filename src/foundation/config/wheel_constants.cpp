#include "foundation/config/wheel_constants.h"

namespace {

using cfg::WheelSet;

// One chart on the wheel: signs outside, houses inside them, planets inside the houses and the
// aspect circle in the centre. The print sets draw the same wheel with somewhat larger glyphs
// relative to the radius (the printed wheel is smaller than a screen window); the small print
// form larger still, so that glyphs stay legible at half the size.
cfg::ByteBlock SingleChart(double glyphScale) {
  cfg::ByteBlock set(WheelSet::kSize);
  set.Set(WheelSet::kZodiacOuter, 1.0);
  set.Set(WheelSet::kZodiacInner, 0.86);
  set.Set(WheelSet::kTickOneDegree, 0.015);
  set.Set(WheelSet::kTickFiveDegrees, 0.03);
  set.Set(WheelSet::kTickTenDegrees, 0.045);
  set.Set(WheelSet::kSignGlyphRadius, 0.93);
  set.Set(WheelSet::kSignGlyphSize, 0.07 * glyphScale);
  set.Set(WheelSet::kHouseRingOuter, 0.86);
  set.Set(WheelSet::kHouseRingInner, 0.78);
  set.Set(WheelSet::kHouseNumberRadius, 0.82);
  set.Set(WheelSet::kHouseNumberSize, 0.04 * glyphScale);
  set.Set(WheelSet::kPlanetGlyphRadius, 0.68);
  set.Set(WheelSet::kPlanetGlyphSize, 0.065 * glyphScale);
  set.Set(WheelSet::kPlanetTickLength, 0.03);
  set.Set(WheelSet::kDegreeTextRadius, 0.59);
  set.Set(WheelSet::kOuterPlanetGlyphRadius, 0.0);
  set.Set(WheelSet::kOuterPlanetTickLength, 0.0);
  set.Set(WheelSet::kCentreCircleRadius, 0.50);
  set.Set(WheelSet::kMinimumGlyphSpacing, 6.0 * glyphScale);
  set.Set(WheelSet::kAngleArrowLength, 0.12);
  set.Set(WheelSet::kDegreeTextSize, 0.035 * glyphScale);
  return set;
}

// Two charts: the second chart's planets on a ring between the signs and the houses, their
// degrees in a band under them.
cfg::ByteBlock Overlay(double glyphScale) {
  cfg::ByteBlock set = SingleChart(glyphScale);
  set.Set(WheelSet::kOuterPlanetGlyphRadius, 0.81);
  set.Set(WheelSet::kOuterPlanetTickLength, 0.025);
  set.Set(WheelSet::kHouseRingOuter, 0.70);
  set.Set(WheelSet::kHouseRingInner, 0.64);
  set.Set(WheelSet::kHouseNumberRadius, 0.67);
  set.Set(WheelSet::kPlanetGlyphRadius, 0.56);
  set.Set(WheelSet::kDegreeTextRadius, 0.48);
  set.Set(WheelSet::kCentreCircleRadius, 0.42);
  return set;
}

// The aspect lines take a larger centre circle; planets move outwards towards the houses.
cfg::ByteBlock WithAspects(double glyphScale) {
  cfg::ByteBlock set = SingleChart(glyphScale);
  set.Set(WheelSet::kPlanetGlyphRadius, 0.71);
  set.Set(WheelSet::kDegreeTextRadius, 0.64);
  set.Set(WheelSet::kCentreCircleRadius, 0.58);
  return set;
}

// Local Space: directions instead of signs, no house ring.
cfg::ByteBlock LocalSpace(double glyphScale) {
  cfg::ByteBlock set = SingleChart(glyphScale);
  set.Set(WheelSet::kHouseRingOuter, 0.86);
  set.Set(WheelSet::kHouseRingInner, 0.86);
  set.Set(WheelSet::kHouseNumberSize, 0.0);
  set.Set(WheelSet::kPlanetGlyphRadius, 0.76);
  set.Set(WheelSet::kDegreeTextRadius, 0.67);
  set.Set(WheelSet::kCentreCircleRadius, 0.60);
  return set;
}

// Equal houses: the house ring is wider, the house numbers sit in the middle of it.
cfg::ByteBlock EqualHouses(double glyphScale) {
  cfg::ByteBlock set = SingleChart(glyphScale);
  set.Set(WheelSet::kHouseRingInner, 0.74);
  set.Set(WheelSet::kHouseNumberRadius, 0.80);
  set.Set(WheelSet::kPlanetGlyphRadius, 0.65);
  set.Set(WheelSet::kDegreeTextRadius, 0.56);
  set.Set(WheelSet::kCentreCircleRadius, 0.47);
  return set;
}

constexpr double kScreen = 1.0;
constexpr double kPrintLarge = 1.1;
constexpr double kPrintSmall = 1.25;

}  // namespace

WheelConstants::WheelConstants()
    : sets_{SingleChart(kScreen),     SingleChart(kPrintLarge), SingleChart(kPrintSmall),
            Overlay(kScreen),         Overlay(kPrintLarge),     Overlay(kPrintSmall),
            WithAspects(kScreen),     WithAspects(kPrintLarge), WithAspects(kPrintSmall),
            LocalSpace(kScreen),      LocalSpace(kPrintLarge),  EqualHouses(kScreen),
            EqualHouses(kPrintLarge), SingleChart(kScreen)} {}

const cfg::ByteBlock& WheelConstants::GetSet(int k) const {
  return sets_[k >= 0 && k <= 12 ? k : kFallback];
}

cfg::ByteBlock& WheelConstants::Set(int k) { return sets_[k >= 0 && k <= 12 ? k : kFallback]; }
