#include "forecast/core/lunar_trans_page.h"

#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr double kDaysPerYear = 365.2422;

// A choice stored as a number: outside its values it becomes `fallback`.
template <typename T>
T Choice(T value, int last, int fallback) {
  return static_cast<T>(value >= 0 && value <= last ? value : fallback);
}

template <typename T>
T Within(T value, int low, int high) {
  return static_cast<T>(std::clamp<int>(value, low, high));
}

}  // namespace

bool NatalTargetAllowed(int chartKind) { return chartKind != 0 && chartKind != 1; }

LunarTransPage::LunarTransPage(const LunarTransSettings& settings,
                               const LunarTransChartInput& chart)
    : values_(settings), chart_(chart) {
  LunarTransSettings& v = values_;
  v.target = Choice(v.target, 1, 0);
  if (!chart_.natalTargetAllowed) v.target = 0;
  v.planets = Choice(v.planets, 3, 1);
  v.houses = Choice(v.houses, 4, 3);
  v.nodes = v.nodes != 0;
  v.entering = v.entering != 0;
  v.exact = v.exact != 0;
  v.leaving = v.leaving != 0;
  v.periodKind = Choice(v.periodKind, 1, 0);
  v.yearsBefore = Within(v.yearsBefore, 0, kMaxYears);
  v.daysBefore = Within(v.daysBefore, 0, kMaxDays);
  v.yearsAfter = Within(v.yearsAfter, 0, kMaxYears);
  v.daysAfter = Within(v.daysAfter, 0, kMaxDays);
  v.from = Choice(v.from, 1, 0);
  v.to = Choice(v.to, 1, 0);
  v.signs = Within(v.signs, kMinSigns, kMaxSigns);
  v.houseOrbGroup = Within(v.houseOrbGroup, kMinOrbGroup, kMaxOrbGroup);
  v.planetOrbs = Choice(v.planetOrbs, 1, 1);
  v.planetOrbGroup = Within(v.planetOrbGroup, kMinOrbGroup, kMaxOrbGroup);
  v.aspects = Choice(v.aspects, 2, 1);
  v.ingresses = v.ingresses == 1 ? 1 : 0;
}

LunarTransSettings LunarTransPage::Preset(const LunarTransSettings& stored,
                                          const LunarTransChartInput& chart) {
  LunarTransSettings pending = stored;
  if (!chart.aspectSystem.empty()) pending.aspectSystem = chart.aspectSystem;
  return pending;
}

int LunarTransPage::ChooseTarget(int target) {
  if (target == 1 && !chart_.natalTargetAllowed) {
    values_.target = 0;
    return kMsgNatalTargetRefused;
  }
  values_.target = target == 1 ? 1 : 0;
  return 0;
}

double LunarTransPage::PeriodDays() const {
  const LunarTransSettings& v = values_;
  return v.yearsAfter * kDaysPerYear + v.daysAfter + v.yearsBefore * kDaysPerYear + v.daysBefore;
}

int LunarTransPage::CheckForRun(const Aspectarium& systems) const {
  if (values_.periodKind == 0 && PeriodDays() * chart_.dailyArc > kMaxLunarPeriodArc)
    return kMsgPeriodTooLong;
  if (systems.HasSystem(values_.aspectSystem) == 0) return kMsgNoSuchAspectSystem;
  return 0;
}
