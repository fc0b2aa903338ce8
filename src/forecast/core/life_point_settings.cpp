#include "forecast/core/life_point_settings.h"

#include "foundation/config/settings_blocks.h"
#include "foundation/text/text_helpers.h"

namespace {

using P = cfg::LifePointSettings;

}  // namespace

LifePointSettings LifePointSettings::FromBlock(const cfg::ByteBlock& b) {
  LifePointSettings s;
  s.aspectSystemName = TrimmedRight(b.Get(P::kAspectSystem));
  s.houseTargets = b.Get(P::kHouseTargets);
  s.pointTargets = b.Get(P::kPointTargets);
  s.withNodes = b.Get(P::kWithNodes);
  s.withIngresses = b.Get(P::kWithIngresses);
  s.aspectChoice = b.Get(P::kAspectChoice);
  s.exact = b.Get(P::kExact);
  s.entering = b.Get(P::kEntering);
  s.leaving = b.Get(P::kLeaving);
  s.orbMode = b.Get(P::kOrbMode);
  s.planetOrbGroup = b.Get(P::kPlanetOrbGroup);
  s.houseOrbGroup = b.Get(P::kHouseOrbGroup);
  s.toThisChart = b.Get(P::kToThisChart);
  s.typeIndex = b.Get(P::kTypeIndex);
  s.beginAge = b.Get(P::kBeginAge);
  s.interval = b.Get(P::kInterval);
  s.printInterval = b.Get(P::kPrintInterval);
  s.fontSize = b.Get(P::kFontSize);
  s.printFontSize = b.Get(P::kPrintFontSize);
  s.maxColumns = b.Get(P::kMaxColumns);
  s.printOrder = b.Get(P::kPrintOrder);
  return s;
}

void LifePointSettings::ToBlock(cfg::ByteBlock& b) const {
  b.Set(P::kAspectSystem, TrimmedRight(aspectSystemName));
  b.Set(P::kHouseTargets, houseTargets);
  b.Set(P::kPointTargets, pointTargets);
  b.Set(P::kWithNodes, withNodes);
  b.Set(P::kWithIngresses, withIngresses);
  b.Set(P::kAspectChoice, aspectChoice);
  b.Set(P::kExact, exact);
  b.Set(P::kEntering, entering);
  b.Set(P::kLeaving, leaving);
  b.Set(P::kOrbMode, orbMode);
  b.Set(P::kPlanetOrbGroup, planetOrbGroup);
  b.Set(P::kHouseOrbGroup, houseOrbGroup);
  b.Set(P::kToThisChart, toThisChart);
  b.Set(P::kTypeIndex, typeIndex);
  b.Set(P::kBeginAge, beginAge);
  b.Set(P::kInterval, interval);
  b.Set(P::kPrintInterval, printInterval);
  b.Set(P::kFontSize, fontSize);
  b.Set(P::kPrintFontSize, printFontSize);
  b.Set(P::kMaxColumns, maxColumns);
  b.Set(P::kPrintOrder, printOrder);
}
