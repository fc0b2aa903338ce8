#include "forecast/core/lunar_trans_settings.h"

#include "foundation/config/settings_blocks.h"
#include "foundation/text/text_helpers.h"

namespace {

using L = cfg::LunarTransSettings;

}  // namespace

LunarTransSettings LunarTransSettings::FromBlock(const cfg::ByteBlock& b) {
  LunarTransSettings s;
  s.target = b.Get(L::kTarget);
  s.planets = b.Get(L::kPlanets);
  s.houses = b.Get(L::kHouses);
  s.nodes = b.Get(L::kNodes);
  s.entering = b.Get(L::kEntering);
  s.exact = b.Get(L::kExact);
  s.leaving = b.Get(L::kLeaving);
  s.periodKind = b.Get(L::kPeriodKind);
  s.yearsBefore = b.Get(L::kYearsBefore);
  s.daysBefore = b.Get(L::kDaysBefore);
  s.yearsAfter = b.Get(L::kYearsAfter);
  s.daysAfter = b.Get(L::kDaysAfter);
  s.from = b.Get(L::kFrom);
  s.to = b.Get(L::kTo);
  s.signs = b.Get(L::kSigns);
  s.aspectSystem = TrimmedRight(b.Get(L::kAspectSystem));
  s.houseOrbGroup = b.Get(L::kHouseOrbGroup);
  s.planetOrbs = b.Get(L::kPlanetOrbs);
  s.planetOrbGroup = b.Get(L::kPlanetOrbGroup);
  s.aspects = b.Get(L::kAspects);
  s.screenLineSpacing = b.Get(L::kScreenLineSpacing);
  s.printLineSpacing = b.Get(L::kPrintLineSpacing);
  s.ingresses = b.Get(L::kIngresses);
  s.screenFontSize = b.Get(L::kScreenFontSize);
  s.printFontSize = b.Get(L::kPrintFontSize);
  s.printColumns = b.Get(L::kPrintColumns);
  s.printOrder = b.Get(L::kPrintOrder);
  return s;
}

void LunarTransSettings::ToBlock(cfg::ByteBlock& b) const {
  b.Set(L::kTarget, target);
  b.Set(L::kPlanets, planets);
  b.Set(L::kHouses, houses);
  b.Set(L::kNodes, nodes);
  b.Set(L::kEntering, entering);
  b.Set(L::kExact, exact);
  b.Set(L::kLeaving, leaving);
  b.Set(L::kPeriodKind, periodKind);
  b.Set(L::kYearsBefore, yearsBefore);
  b.Set(L::kDaysBefore, daysBefore);
  b.Set(L::kYearsAfter, yearsAfter);
  b.Set(L::kDaysAfter, daysAfter);
  b.Set(L::kFrom, from);
  b.Set(L::kTo, to);
  b.Set(L::kSigns, signs);
  b.Set(L::kAspectSystem, TrimmedRight(aspectSystem));
  b.Set(L::kHouseOrbGroup, houseOrbGroup);
  b.Set(L::kPlanetOrbs, planetOrbs);
  b.Set(L::kPlanetOrbGroup, planetOrbGroup);
  b.Set(L::kAspects, aspects);
  b.Set(L::kScreenLineSpacing, screenLineSpacing);
  b.Set(L::kPrintLineSpacing, printLineSpacing);
  b.Set(L::kIngresses, ingresses);
  b.Set(L::kScreenFontSize, screenFontSize);
  b.Set(L::kPrintFontSize, printFontSize);
  b.Set(L::kPrintColumns, printColumns);
  b.Set(L::kPrintOrder, printOrder);
}
