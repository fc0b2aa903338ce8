#include "forecast/core/life_point_settings.h"

#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace {

using P = cfg::LifePointSettings;
using cfg::Bind;

constexpr cfg::FieldTable kFields{
    Bind(&LifePointSettings::aspectSystemName, P::kAspectSystem, cfg::Trimmed{}),
    Bind(&LifePointSettings::houseTargets, P::kHouseTargets),
    Bind(&LifePointSettings::pointTargets, P::kPointTargets),
    Bind(&LifePointSettings::withNodes, P::kWithNodes),
    Bind(&LifePointSettings::withIngresses, P::kWithIngresses),
    Bind(&LifePointSettings::aspectChoice, P::kAspectChoice),
    Bind(&LifePointSettings::exact, P::kExact),
    Bind(&LifePointSettings::entering, P::kEntering),
    Bind(&LifePointSettings::leaving, P::kLeaving),
    Bind(&LifePointSettings::orbMode, P::kOrbMode),
    Bind(&LifePointSettings::planetOrbGroup, P::kPlanetOrbGroup),
    Bind(&LifePointSettings::houseOrbGroup, P::kHouseOrbGroup),
    Bind(&LifePointSettings::toThisChart, P::kToThisChart),
    Bind(&LifePointSettings::typeIndex, P::kTypeIndex),
    Bind(&LifePointSettings::beginAge, P::kBeginAge),
    Bind(&LifePointSettings::interval, P::kInterval),
    Bind(&LifePointSettings::printInterval, P::kPrintInterval),
    Bind(&LifePointSettings::fontSize, P::kFontSize),
    Bind(&LifePointSettings::printFontSize, P::kPrintFontSize),
    Bind(&LifePointSettings::maxColumns, P::kMaxColumns),
    Bind(&LifePointSettings::printOrder, P::kPrintOrder)};

}  // namespace

LifePointSettings LifePointSettings::FromBlock(const cfg::ByteBlock& b) {
  LifePointSettings s;
  kFields.Read(b, s);
  return s;
}

void LifePointSettings::ToBlock(cfg::ByteBlock& b) const { kFields.Write(*this, b); }
