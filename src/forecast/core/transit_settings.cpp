#include "forecast/core/transit_settings.h"

#include "foundation/config/settings_blocks.h"
#include "foundation/text/text_helpers.h"

namespace {

using T = cfg::TransitSettings;

}  // namespace

TransitSettings TransitSettings::FromBlock(const cfg::ByteBlock& b) {
  TransitSettings s;
  s.mode = b.Get(T::kMode);
  s.transiting = b.Get(T::kTransiting);
  s.target = b.Get(T::kTarget);
  s.startDay = b.Get(T::kStartDay);
  s.startMonth = b.Get(T::kStartMonth);
  s.startYear = b.Get(T::kStartYear);
  s.startEra = b.Get(T::kStartEra);
  s.groupName = TrimmedRight(b.Get(T::kGroupName));
  s.exact = b.Get(T::kExact);
  s.entering = b.Get(T::kEntering);
  s.leaving = b.Get(T::kLeaving);
  s.orbSource = b.Get(T::kOrbSource);
  s.orbDegrees = b.Get(T::kOrbDegrees);
  s.orbMinutes = b.Get(T::kOrbMinutes);
  s.aspectSystem = TrimmedRight(b.Get(T::kAspectSystem));
  s.aspectChoice = b.Get(T::kAspectChoice);
  s.angleDegrees = b.Get(T::kAngleDegrees);
  s.angleMinutes = b.Get(T::kAngleMinutes);
  s.classMask = b.Get(T::kClassMask);
  s.sortByTime = b.Get(T::kSortByTime);
  s.transitingGroup = b.Get(T::kTransitingGroup);
  s.endDay = b.Get(T::kEndDay);
  s.endMonth = b.Get(T::kEndMonth);
  s.endYear = b.Get(T::kEndYear);
  s.endEra = b.Get(T::kEndEra);
  s.houseOrbGroup = b.Get(T::kHouseOrbGroup);
  s.precision = b.Get(T::kPrecision);
  s.screenFontSize = b.Get(T::kScreenFontSize);
  s.printFontSize = b.Get(T::kPrintFontSize);
  s.printColumns = b.Get(T::kPrintColumns);
  s.printOrder = b.Get(T::kPrintOrder);
  s.printLineSpacing = b.Get(T::kPrintLineSpacing);
  s.screenLineSpacing = b.Get(T::kScreenLineSpacing);
  return s;
}

void TransitSettings::ToBlock(cfg::ByteBlock& b) const {
  b.Set(T::kMode, mode);
  b.Set(T::kTransiting, transiting);
  b.Set(T::kTarget, target);
  b.Set(T::kStartDay, startDay);
  b.Set(T::kStartMonth, startMonth);
  b.Set(T::kStartYear, startYear);
  b.Set(T::kStartEra, startEra);
  b.Set(T::kGroupName, TrimmedRight(groupName));
  b.Set(T::kExact, exact);
  b.Set(T::kEntering, entering);
  b.Set(T::kLeaving, leaving);
  b.Set(T::kOrbSource, orbSource);
  b.Set(T::kOrbDegrees, orbDegrees);
  b.Set(T::kOrbMinutes, orbMinutes);
  b.Set(T::kAspectSystem, TrimmedRight(aspectSystem));
  b.Set(T::kAspectChoice, aspectChoice);
  b.Set(T::kAngleDegrees, angleDegrees);
  b.Set(T::kAngleMinutes, angleMinutes);
  b.Set(T::kClassMask, classMask);
  b.Set(T::kSortByTime, sortByTime);
  b.Set(T::kTransitingGroup, transitingGroup);
  b.Set(T::kEndDay, endDay);
  b.Set(T::kEndMonth, endMonth);
  b.Set(T::kEndYear, endYear);
  b.Set(T::kEndEra, endEra);
  b.Set(T::kHouseOrbGroup, houseOrbGroup);
  b.Set(T::kPrecision, precision);
  b.Set(T::kScreenFontSize, screenFontSize);
  b.Set(T::kPrintFontSize, printFontSize);
  b.Set(T::kPrintColumns, printColumns);
  b.Set(T::kPrintOrder, printOrder);
  b.Set(T::kPrintLineSpacing, printLineSpacing);
  b.Set(T::kScreenLineSpacing, screenLineSpacing);
}
