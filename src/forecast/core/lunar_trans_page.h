// The calculation page of the lunar-transit settings: its fields, the rules that enable its
// controls, the refusal of the natal target on charts that have no natal chart behind them, and
// the checks that decide whether a search may run with the values entered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forecast/core/lunar_trans_settings.h"

class Aspectarium;

// The longest period of a search by time, in degrees of the Moon's daily arc.
inline constexpr double kMaxLunarPeriodArc = 240.0;

// What the command hands to the page: the chart's aspect-system name (preset in the list of
// systems), its daily lunar arc in degrees, and whether its chart kind has a natal chart behind it.
struct LunarTransChartInput {
  std::string aspectSystem;
  double dailyArc = 12.0;
  bool natalTargetAllowed = false;
};

// Natal (0) and horary (1) charts are their own natal chart: they cannot take the natal target.
bool NatalTargetAllowed(int chartKind);

class LunarTransPage {
 public:
  // Ranges of the numeric fields.
  static constexpr int kMaxYears = 30, kMaxDays = 999;
  static constexpr int kMinSigns = 1, kMaxSigns = 8;
  static constexpr int kMinOrbGroup = 1, kMaxOrbGroup = 5;

  // The values a sheet opens with: the stored ones with the chart's aspect system chosen when it
  // names one.
  static LunarTransSettings Preset(const LunarTransSettings& stored,
                                   const LunarTransChartInput& chart);
  // The page over `settings`: every value brought into its range and choices, the target 0 when
  // the natal target is not allowed.
  LunarTransPage(const LunarTransSettings& settings, const LunarTransChartInput& chart);

  const LunarTransSettings& Values() const { return values_; }
  LunarTransSettings& Values() { return values_; }
  const LunarTransChartInput& Chart() const { return chart_; }

  // Chooses the target; the natal target on a chart that does not allow it is refused: the
  // target goes back to 0 and message 94 is to be shown (returned; 0 when accepted).
  int ChooseTarget(int target);

  // Enabling rules.
  bool HouseChoicesEnabled() const { return values_.target == 1; }
  bool PeriodFieldsEnabled() const { return values_.periodKind == 0; }
  bool SignRangeEnabled() const { return values_.periodKind == 1; }
  bool SignCountEnabled() const { return values_.periodKind == 1 && values_.to == 1; }
  bool PlanetOrbGroupEnabled() const { return values_.planetOrbs == 0; }

  // The period of a search by time in days (years of 365.2422 days).
  double PeriodDays() const;
  // The checks before a search: 0, or the message to show (95 a period by time whose days times
  // the daily arc pass 240 degrees, 96 an aspect system that is not loaded).
  int CheckForRun(const Aspectarium& systems) const;

 private:
  LunarTransSettings values_;
  LunarTransChartInput chart_;
};
