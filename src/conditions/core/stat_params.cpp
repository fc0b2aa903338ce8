#include "conditions/core/stat_params.h"

#include "astro/chart/chart_context.h"
#include "conditions/core/statistic.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

void Append(std::vector<std::string>& names, int firstMessage, int count) {
  for (int k = 0; k < count; ++k) names.push_back(GetMessageText(firstMessage + k));
}

}  // namespace

StatEnabling StatEnablingOf(int kind) {
  switch (kind) {
    case kStatAspect:
      return {.planet2 = true, .aspectSystem = true, .minorAspects = true};
    case kStatAspectCount:
      return {.aspectSystem = true, .minorAspects = true, .planetSet = true, .nodes = true};
    case kStatPlanetsInPlace:
      return {.planetSet = true, .nodes = true};
    default:
      return {};
  }
}

std::vector<std::string> StatObjectNames(int kind) {
  std::vector<std::string> names;
  if (kind == kStatPlanetsInPlace) {
    Append(names, kMsgSignNameFirst, kStatSigns);
    Append(names, kMsgHouseNameFirst, kStatCusps);
    return names;
  }
  if (kind != kStatCuspSign) Append(names, kMsgPointNameFirst, kStatPoints);
  if (kind == kStatCuspSign || kind == kStatAspect || kind == kStatAspectCount)
    Append(names, kMsgHouseNameFirst, kStatCusps);
  return names;
}

std::vector<std::string> StatSecondObjectNames() { return StatObjectNames(kStatAspect); }

int StatListSelection(int stored, int size) { return stored >= 0 && stored < size ? stored : 0; }

int CheckStatParams(const cfg::StatisticsRecord& record, const ChartContext& context) {
  const bool needsSystem = record.kind == kStatAspect || record.kind == kStatAspectCount;
  if (needsSystem && context.FindSystem(record.aspectSystem) == nullptr)
    return kMsgAspectSystemNotFound;
  return 0;
}
