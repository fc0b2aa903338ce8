#include "rectification/core/tremin_conf_page.h"

#include <algorithm>

#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/core/tremin_search.h"

namespace {

using Block = cfg::TreminSettings;
using P = TreminConfPage;
using cfg::Bind;

// Any step code outside the list means the minute, the list's last entry; written into the list.
struct StepCode {
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = stored >= 0 && stored < kTreminStepCount ? stored : kTreminStepCount - 1;
  }
  template <typename V, typename M>
  V Write(const M& member) const {
    return static_cast<V>(std::clamp(member, 0, kTreminStepCount - 1));
  }
};

constexpr cfg::FieldTable kFields{
    Bind(&P::step, Block::kStep, StepCode{}),
    Bind(&P::applying, Block::kApplyingSystem),
    Bind(&P::separating, Block::kSeparatingSystem),
    Bind(&P::sortByDate, Block::kSortByDate, cfg::OnlyOne{}),
    Bind(&P::sortByText, Block::kSortByText, cfg::OnlyOne{}),
    Bind(&P::oneRulerOnly, Block::kOneRulerOnly),
    Bind(&P::resultOrder, Block::kResultOrder, cfg::NonZero{}),
    Bind(&P::minimumScore, Block::kMinimumScore, cfg::ClampBoth{0, P::kMinimumScoreMax})};

bool SameName(std::string a, std::string b) {
  StringToUpper(a);
  StringToUpper(b);
  return a == b;
}

}  // namespace

std::vector<std::string> SortedSystemNames(std::vector<std::string> names) {
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareStrings(a, b, static_cast<int>(kSystemNameReadWidth), true,
                          Collation::kLatinFirst) == kCompareLess;
  });
  return names;
}

bool CheckTmSystemName(std::string& name, const std::vector<std::string>& sortedNames,
                       std::string& told) {
  told.clear();
  const std::string typed = name.substr(0, kSystemNameReadWidth);
  if (sortedNames.empty()) {
    told = GetMessageText(kMsgAspectSystemNotFound) + " " + typed;
    return false;
  }
  const bool known = typed.size() <= kSystemNameWidth &&
                     std::any_of(sortedNames.begin(), sortedNames.end(),
                                 [&](const std::string& s) { return SameName(s, typed); });
  if (known) {
    name = typed;
    return true;
  }
  name = sortedNames.front().substr(0, kSystemNameWidth);
  told = GetMessageText(kMsgAspectSystemNotFound) + " " + typed + "\n" +
         GetMessageText(kMsgSystemInstead) + " " + name;
  return true;
}

TreminConfPage::TreminConfPage(const Configuration& config, const Moment& birth) {
  interval = RectIntervalAround(birth, kRectDefaultHalfSpanMinutes, kRectDefaultHalfSpanMinutes);
  kFields.Read(config.treminSettings, *this);
  sortByText = sortByText && !sortByDate;
}

void TreminConfPage::ClickSortByDate(bool checked) {
  sortByDate = checked;
  if (checked) sortByText = false;
}

void TreminConfPage::ClickSortByText(bool checked) {
  sortByText = checked;
  if (checked) sortByDate = false;
}

bool TreminConfPage::CheckSystems(const std::vector<std::string>& sortedNames,
                                  std::vector<std::string>& told) {
  told.clear();
  for (std::string* name : {&separating, &applying}) {
    std::string text;
    const bool usable = CheckTmSystemName(*name, sortedNames, text);
    if (!text.empty()) told.push_back(text);
    if (!usable) return false;
  }
  return true;
}

int TreminConfPage::CheckRun(const LifeEventList& events, const Moment& birth) const {
  std::int64_t minutes = 0;
  if (const int fault = SpanMinutes(interval, minutes); fault != 0) return fault;
  if (minutes <= 0) return kMsgIntervalReversed;
  if (minutes > kTmMaxSpanMinutes) return kMsgIntervalTooLong;

  bool anyInUse = false;
  for (int k = 0; k < events.Count(); ++k) anyInUse = anyInUse || events.AtDisplay(k)->InUse();
  if (!anyInUse) return kMsgNoEventInUse;
  for (int k = 0; k < events.Count(); ++k) {
    const LifeEvent& e = *events.AtDisplay(k);
    if (e.InUse() && e.moment.JulianDay() <= birth.JulianDay()) return kAskEventsBeforeBirth;
  }
  return 0;
}

const LifeEvent* TreminConfPage::EventWithoutHouses(const LifeEventList& events) {
  for (int k = 0; k < events.Count(); ++k)
    if (const LifeEvent* e = events.AtDisplay(k); e->InUse() && e->houses.empty()) return e;
  return nullptr;
}

std::string TreminConfPage::WithoutHousesText(const LifeEvent& event) {
  return GetMessageText(kMsgTreminEventWithoutHouses) + "\n" + event.text;
}

void TreminConfPage::Store(Configuration& config) const {
  kFields.Write(*this, config.treminSettings);
  for (int i = 0; i < 5; ++i) {
    const auto w = static_cast<std::size_t>(i);
    config.treminInterval.Set(cfg::TreminInterval::kBegin[w],
                              static_cast<std::int16_t>(interval.start[w]));
    config.treminInterval.Set(cfg::TreminInterval::kEnd[w],
                              static_cast<std::int16_t>(interval.end[w]));
  }
}
