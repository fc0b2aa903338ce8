#include "forecast/core/transit_settings.h"

#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"

namespace {

using T = cfg::TransitSettings;
using cfg::Bind;

constexpr cfg::FieldTable kFields{
    Bind(&TransitSettings::mode, T::kMode),
    Bind(&TransitSettings::transiting, T::kTransiting),
    Bind(&TransitSettings::target, T::kTarget),
    Bind(&TransitSettings::startDay, T::kStartDay),
    Bind(&TransitSettings::startMonth, T::kStartMonth),
    Bind(&TransitSettings::startYear, T::kStartYear),
    Bind(&TransitSettings::startEra, T::kStartEra),
    Bind(&TransitSettings::groupName, T::kGroupName, cfg::Trimmed{}),
    Bind(&TransitSettings::exact, T::kExact),
    Bind(&TransitSettings::entering, T::kEntering),
    Bind(&TransitSettings::leaving, T::kLeaving),
    Bind(&TransitSettings::orbSource, T::kOrbSource),
    Bind(&TransitSettings::orbDegrees, T::kOrbDegrees),
    Bind(&TransitSettings::orbMinutes, T::kOrbMinutes),
    Bind(&TransitSettings::aspectSystem, T::kAspectSystem, cfg::Trimmed{}),
    Bind(&TransitSettings::aspectChoice, T::kAspectChoice),
    Bind(&TransitSettings::angleDegrees, T::kAngleDegrees),
    Bind(&TransitSettings::angleMinutes, T::kAngleMinutes),
    Bind(&TransitSettings::classMask, T::kClassMask),
    Bind(&TransitSettings::sortByTime, T::kSortByTime),
    Bind(&TransitSettings::transitingGroup, T::kTransitingGroup),
    Bind(&TransitSettings::endDay, T::kEndDay),
    Bind(&TransitSettings::endMonth, T::kEndMonth),
    Bind(&TransitSettings::endYear, T::kEndYear),
    Bind(&TransitSettings::endEra, T::kEndEra),
    Bind(&TransitSettings::houseOrbGroup, T::kHouseOrbGroup),
    Bind(&TransitSettings::precision, T::kPrecision),
    Bind(&TransitSettings::screenFontSize, T::kScreenFontSize),
    Bind(&TransitSettings::printFontSize, T::kPrintFontSize),
    Bind(&TransitSettings::printColumns, T::kPrintColumns),
    Bind(&TransitSettings::printOrder, T::kPrintOrder),
    Bind(&TransitSettings::printLineSpacing, T::kPrintLineSpacing),
    Bind(&TransitSettings::screenLineSpacing, T::kScreenLineSpacing)};

}  // namespace

TransitSettings TransitSettings::FromBlock(const cfg::ByteBlock& b) {
  TransitSettings s;
  kFields.Read(b, s);
  return s;
}

void TransitSettings::ToBlock(cfg::ByteBlock& b) const { kFields.Write(*this, b); }
