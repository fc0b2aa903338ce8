#include "rectification/core/tremin_forecast_page.h"

#include <algorithm>

#include "astro/chart/chart.h"
#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/collation.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/tremin_conf_page.h"

namespace {

int YearFault(int year) { return DateFault(1, 1, year, year < 0 ? 'B' : 'A', true); }

bool SameEventText(std::string_view a, std::string_view b) {
  return CompareStrings(a, b, static_cast<int>(kTmForecastEventWidth), false,
                        Collation::kCyrillicFirst) == kCompareEqual;
}

}  // namespace

TmForecastPage::TmForecastPage(const TmForecastSettings& settings, const Chart& chart)
    : values(settings), eventChoice(settings.event) {
  values.year = TmForecastYearOf(chart, settings.year);
}

bool TmForecastPage::Enabled(Control control, const LifeEventList& events) const {
  const bool yearMode = values.mode == 0;
  switch (control) {
    case kYear:
    case kYearLabel:
    case kOrderGroup:
    case kOrderList:
    case kOrderText:
    case kOrderProbability:
    case kFontLabel:
    case kFont:
    case kFill:
      return yearMode;
    case kPeriodFrom:
    case kPeriodTo:
    case kPeriodLabel:
    case kPeriodGroup:
    case kEventLabel:
      return !yearMode;
    case kEventChoice:
      return !yearMode && events.Count() > 0;
    case kEventList:
    case kEventEdit:
    case kEventRemove:
    case kEventSwitch:
    case kEventExport:
      return events.Count() > 0;
  }
  return false;
}

std::vector<std::string> TmForecastPage::EventTexts(const LifeEventList& events) {
  std::vector<std::string> texts;
  for (int k = 0; k < events.Count(); ++k) texts.push_back(events.AtDisplay(k)->text);
  return texts;
}

int TmForecastPage::ChosenEvent(const LifeEventList& events, std::string_view text) {
  for (int k = 0; k < events.Count(); ++k)
    if (SameEventText(events.AtDisplay(k)->text, text)) return k;
  return 0;
}

bool TmForecastPage::CheckSystems(const std::vector<std::string>& sortedNames,
                                  std::vector<std::string>& told) {
  told.clear();
  for (std::string* name : {&values.separating, &values.applying}) {
    std::string text;
    const bool usable = CheckTmSystemName(*name, sortedNames, text);
    if (!text.empty()) told.push_back(text);
    if (!usable) return false;
  }
  return true;
}

int TmForecastPage::CheckOk(const LifeEventList& events) const {
  if (values.mode == 0) {
    if (const int fault = YearFault(values.year); fault != 0) return fault;
  } else {
    for (int year : {values.periodFrom, values.periodTo})
      if (const int fault = YearFault(year); fault != 0) return fault;
  }
  if (events.Count() == 0) return kMsgForecastNeedsEvent;
  if (values.mode == 0) {
    bool anyInUse = false;
    for (int k = 0; k < events.Count(); ++k) anyInUse = anyInUse || events.AtDisplay(k)->InUse();
    return anyInUse ? 0 : kMsgForecastNeedsEvent;
  }
  // The event choice is shown in mode 1 only; in mode 0 it is not the user's to check.
  for (int k = 0; k < events.Count(); ++k)
    if (SameEventText(events.AtDisplay(k)->text, eventChoice)) return 0;
  return kMsgForecastEventMissing;
}

void TmForecastPage::Store(Configuration& config) const {
  TmForecastSettings s = values;
  s.event = eventChoice.substr(0, kTmForecastEventWidth - 1);
  WriteTmForecastSettings(config, s);
}
