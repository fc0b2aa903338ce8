// The six display values of a line list (screen and print font, line spacings, print columns and
// order), edited on one settings page for five blocks of the configuration that store them each in
// their own way: 0 the lunar transits, 1 the life point, 2 the astrocartography tables, 3 the
// Tremin rectification, 4 the planet transits.
#pragma once

#include "foundation/config/byte_block.h"

class Configuration;

enum class DisplayBlock {
  kLunarTransits = 0,
  kLifePoint,
  kAstroCartography,
  kTremin,
  kPlanetTransits
};

struct ListDisplaySettings {
  static constexpr int kMinFontSize = 1, kMaxFontSize = 20000;  // tenths of a point
  static constexpr double kMinSpacing = 0.1, kMaxSpacing = 20.0;
  static constexpr int kMinColumns = 1, kMaxColumns = 20;

  int printFontSize = 0;
  double printLineSpacing = 0;  // the character height times this
  int printColumns = 0;
  int printOrder = 0;  // 0 left to right, 1 top to bottom
  int screenFontSize = 0;
  double screenLineSpacing = 0;

  // Every value brought into its range (order: anything but 1 is 0); a spacing that is not a
  // number becomes the smallest.
  ListDisplaySettings Clamped() const;
  bool operator==(const ListDisplaySettings&) const = default;
};

// A spacing stored in thousandths (1.15 is 1150: rounded, so that no spacing loses a thousandth).
int SpacingToThousandths(double spacing);
double ThousandthsToSpacing(int thousandths);

// The values as `kind`'s block holds them (not clamped), and written back into it.
ListDisplaySettings ReadDisplaySettings(DisplayBlock kind, const cfg::ByteBlock& block);
void WriteDisplaySettings(DisplayBlock kind, const ListDisplaySettings& values,
                          cfg::ByteBlock& block);

// The configuration's block of `kind`.
cfg::ByteBlock& DisplayBlockOf(Configuration& config, DisplayBlock kind);
