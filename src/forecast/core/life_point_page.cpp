#include "forecast/core/life_point_page.h"

#include <algorithm>

#include "forecast/core/life_point_events.h"

namespace {

template <typename T>
T Clamped(T value, int low, int high) {
  return static_cast<T>(std::clamp(static_cast<int>(value), low, high));
}

// A choice outside 0..high becomes `fallback`.
std::int32_t Choice(std::int32_t value, int high, std::int32_t fallback) {
  return value >= 0 && value <= high ? value : fallback;
}

}  // namespace

LifePointPage::LifePointPage(const LifePointSettings& stored, int chartKind, int typeCount)
    : values_(stored), thisChartEnabled_(HasNatalBehind(chartKind)) {
  LifePointSettings& v = values_;
  if (v.typeIndex < 0 || v.typeIndex >= typeCount) v.typeIndex = 0;
  v.houseTargets = Choice(v.houseTargets, 4, 0);
  v.pointTargets = Choice(v.pointTargets, 3, 1);
  v.aspectChoice = Choice(v.aspectChoice, 2, 1);
  v.orbMode = Choice(v.orbMode, 1, 0);
  v.toThisChart = Choice(v.toThisChart, 1, 0);
  for (std::int32_t* flag : {&v.withNodes, &v.withIngresses, &v.exact, &v.entering, &v.leaving})
    *flag = *flag != 0 ? 1 : 0;
  v.planetOrbGroup = Clamped(v.planetOrbGroup, kMinOrbGroup, kMaxOrbGroup);
  v.houseOrbGroup = Clamped(v.houseOrbGroup, kMinOrbGroup, kMaxOrbGroup);
  v.beginAge = Clamped(v.beginAge, kMinBeginAge, kMaxBeginAge);
  SetSystemName(v.aspectSystemName);
}

void LifePointPage::SetSystemName(const std::string& name) {
  std::string cut = name.substr(0, std::min(name.size(), kMaxSystemName));
  while (!cut.empty() && cut.back() == ' ') cut.pop_back();
  values_.aspectSystemName = cut;
}
