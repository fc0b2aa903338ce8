// Page models of the settings dialogs: the fields each dialog edits, taken from the configuration
// when it opens and written back on OK, with the dialogs' enabling rules and checks. No window is
// needed to use them; the dialogs in settings/ui are thin over them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/config/configuration.h"

namespace settings {

// --- Aspect filter ---

inline constexpr int kFilterSwitchCount = 9;  // harmonious .. inexact

struct AspectFilterPage {
  std::array<bool, kFilterSwitchCount> shows{};  // in the order of the dialog
  int overlay = 0;                               // 0 inner, 1 outer, 2 between the two charts
  bool alwaysAsk = false;
  bool dashedScreen = false, dashedPrinter = false;
  bool thickScreen = false, thickPrinter = false;

  static AspectFilterPage From(const cfg::AspectFilter& filter);
  // The bit sets are screen bit + 2 x printer bit; an overlay outside 0..2 becomes 2.
  void To(cfg::AspectFilter& filter) const;
};

// --- Line types ---

struct LineTypesPage {
  // Per table entry (5 x strength + type): style 0..3 and thickness 0 thin, 1 thick.
  std::array<int, Configuration::kLineTypeCount> style{};
  std::array<int, Configuration::kLineTypeCount> thickness{};
  bool applyToAll = false;

  // Every byte outside 0..3 and 10..13 is first reset to 0 in `table`.
  static LineTypesPage From(std::array<std::uint8_t, Configuration::kLineTypeCount>& table);
  // Each byte becomes 10 x thickness + style (values out of range are taken as 0).
  void To(std::array<std::uint8_t, Configuration::kLineTypeCount>& table) const;
};

// --- Planets ---

struct PlanetsPage {
  std::array<cfg::ObjectFlags, Configuration::kObjectCount> objects{};

  static PlanetsPage From(const Configuration& config);
  // The first object whose orb group lies outside 1..5, or -1 when all are good.
  int FirstBadOrbGroup() const;
  // Stores every object; false (nothing stored) when an orb group is out of range.
  bool To(Configuration& config) const;
};

// --- Calculations ---

inline constexpr int kHouseSystemCount = 19;

struct CalculationsPage {
  int houseSystem = 0;  // radio index 0..18
  int lunarNodes = 0;   // 0 true, 1 mean
  int blackMoon = 0;    // 0 true, 1 mean
  bool dayNight = false;
  bool geodetic = false;

  static CalculationsPage From(const cfg::CalculationSettings& settings);
  // The rule of OK: geodetic houses exist only for Placidus, topocentric, Regiomontanus,
  // Campanus, Koch and Porphyry.
  bool GeodeticAllowed() const;
  void To(cfg::CalculationSettings& settings) const;
};

// --- Wheel ---

struct WheelPage {
  int direction = 0, wheelType = 0, division = 0, orientation = 0;
  bool centreCircle = true;  // the box; the configuration keeps it inverted
  int degreesShown = 0, angleMarking = 0, localSpaceDrawing = 0, localSpaceOrientation = 0;

  static WheelPage From(const cfg::WheelSettings& settings);
  void To(cfg::WheelSettings& settings) const;
};

// --- Print ---

// Rows of the offset table in the order of the dialog; the last two rows have the overlay column
// only.
inline constexpr int kPrintOffsetRows = 10;
inline constexpr int kPrintMarginMax = 5000;
inline constexpr int kPrintOffsetMax = 29700;

struct PrintPage {
  cfg::PrintSettings values;

  static PrintPage From(const cfg::PrintSettings& settings) { return {settings}; }
  void To(cfg::PrintSettings& settings) const { settings = values; }

  // The enabling rules: which margin edits and offset rows are open for input.
  bool MarginsEnabled() const { return values.pageFrame != 0; }
  bool RowEnabled(int row) const;
  // The index into PrintSettings::offsets of row 0..9 and column 0 large, 1 overlay, 2 small;
  // -1 where the row has no such column.
  static int OffsetIndex(int row, int column);
  // The first refused value: 0 when all are in range, else the message to show (1947 margins
  // outside 0..5000, 1948 offsets outside 0..29700).
  int Check() const;
};

// --- Rulers ---

inline constexpr int kRulerBodyCount = 30;

struct RulersPage {
  // Combo box selection per table entry: body number + 1, 0 for none.
  std::array<int, Configuration::kRulerCount> selection{};

  // Values outside -1..29 are shown as none.
  static RulersPage From(const std::array<std::int16_t, Configuration::kRulerCount>& rulers);
  void To(std::array<std::int16_t, Configuration::kRulerCount>& rulers) const;
};

}  // namespace settings

namespace settings {

// --- Wheel constant sets ---

inline constexpr int kWheelSetValues = 21;
inline constexpr double kWheelValueMax = 360.0;

struct WheelSetsPage {
  WheelConstants sets;

  // The 21 values of set k, in their order.
  std::array<double, kWheelSetValues> Values(int k) const;
  // Stores the values of set k: false (nothing stored) when one is not a number or lies outside
  // 0..360 (a negative radius or size would turn the wheel inside out).
  bool SetValues(int k, const std::array<double, kWheelSetValues>& values);
};

}  // namespace settings
