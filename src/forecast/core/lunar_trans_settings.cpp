#include "forecast/core/lunar_trans_settings.h"

#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace {

using L = cfg::LunarTransSettings;
using cfg::Bind;

constexpr cfg::FieldTable kFields{
    Bind(&LunarTransSettings::target, L::kTarget),
    Bind(&LunarTransSettings::planets, L::kPlanets),
    Bind(&LunarTransSettings::houses, L::kHouses),
    Bind(&LunarTransSettings::nodes, L::kNodes),
    Bind(&LunarTransSettings::entering, L::kEntering),
    Bind(&LunarTransSettings::exact, L::kExact),
    Bind(&LunarTransSettings::leaving, L::kLeaving),
    Bind(&LunarTransSettings::periodKind, L::kPeriodKind),
    Bind(&LunarTransSettings::yearsBefore, L::kYearsBefore),
    Bind(&LunarTransSettings::daysBefore, L::kDaysBefore),
    Bind(&LunarTransSettings::yearsAfter, L::kYearsAfter),
    Bind(&LunarTransSettings::daysAfter, L::kDaysAfter),
    Bind(&LunarTransSettings::from, L::kFrom),
    Bind(&LunarTransSettings::to, L::kTo),
    Bind(&LunarTransSettings::signs, L::kSigns),
    Bind(&LunarTransSettings::aspectSystem, L::kAspectSystem, cfg::Trimmed{}),
    Bind(&LunarTransSettings::houseOrbGroup, L::kHouseOrbGroup),
    Bind(&LunarTransSettings::planetOrbs, L::kPlanetOrbs),
    Bind(&LunarTransSettings::planetOrbGroup, L::kPlanetOrbGroup),
    Bind(&LunarTransSettings::aspects, L::kAspects),
    Bind(&LunarTransSettings::screenLineSpacing, L::kScreenLineSpacing),
    Bind(&LunarTransSettings::printLineSpacing, L::kPrintLineSpacing),
    Bind(&LunarTransSettings::ingresses, L::kIngresses),
    Bind(&LunarTransSettings::screenFontSize, L::kScreenFontSize),
    Bind(&LunarTransSettings::printFontSize, L::kPrintFontSize),
    Bind(&LunarTransSettings::printColumns, L::kPrintColumns),
    Bind(&LunarTransSettings::printOrder, L::kPrintOrder)};

}  // namespace

LunarTransSettings LunarTransSettings::FromBlock(const cfg::ByteBlock& b) {
  LunarTransSettings s;
  kFields.Read(b, s);
  return s;
}

void LunarTransSettings::ToBlock(cfg::ByteBlock& b) const { kFields.Write(*this, b); }
