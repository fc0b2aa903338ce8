// The calculation page of the life-point settings (DLPConf): the values it opens with, the rule
// that enables the choice of the document chart's points, and what it writes back.
#pragma once

#include <string>
#include <vector>

#include "forecast/core/life_point_settings.h"

class LifePointPage {
 public:
  static constexpr int kMinOrbGroup = 1, kMaxOrbGroup = 5;
  static constexpr int kMinBeginAge = -200, kMaxBeginAge = 200;
  static constexpr std::size_t kMaxSystemName = 11;

  // The page over the stored values for a chart of `chartKind` with `typeCount` life-point types:
  // a type index outside the types becomes 0, choices outside their ranges their default, numbers
  // are brought into their ranges.
  LifePointPage(const LifePointSettings& stored, int chartKind, int typeCount);

  const LifePointSettings& Values() const { return values_; }
  LifePointSettings& Values() { return values_; }

  // "Aspects to the points of this chart" only for charts with a natal chart behind them
  // (transit, progressed, directed, return); the stored choice is still shown.
  bool ThisChartEnabled() const { return thisChartEnabled_; }

  // The aspect-system name as entered: at most 11 characters, trailing blanks cut.
  void SetSystemName(const std::string& name);
  // The values written back into a block.
  void Store(cfg::ByteBlock& block) const { values_.ToBlock(block); }

 private:
  LifePointSettings values_;
  bool thisChartEnabled_ = false;
};
