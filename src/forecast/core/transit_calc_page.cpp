#include "forecast/core/transit_calc_page.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspectarium.h"
#include "conditions/core/groups.h"
#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"

namespace {

constexpr int kBodies[TransitCalcPage::kBodyEntries] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 18, 21};
constexpr std::size_t kSystemNameLength = 12;

bool SameSystemName(const std::string& a, const std::string& b) {
  return a.substr(0, kSystemNameLength) == b.substr(0, kSystemNameLength);
}

}  // namespace

int TransitCalcPage::BodyOfEntry(int i) { return i >= 0 && i < kBodyEntries ? kBodies[i] : 0; }

int TransitCalcPage::EntryOfBody(int body) {
  for (int i = 0; i < kBodyEntries; ++i)
    if (kBodies[i] == body) return i;
  return -1;
}

TransitCalcPage::TransitCalcPage(const TransitSettings& stored, const TransitChartInput& chart,
                                 const Groups& groups, const Aspectarium& systems)
    : values_(stored), groups_(groups), systems_(systems) {
  TransitSettings& v = values_;
  // The transiting object.
  if (v.transiting == kTransitPlanetGroup) {
    if (v.transitingGroup >= 0 && v.transitingGroup < groups_.Count('P')) {
      transitingIndex_ = kBodyEntries + v.transitingGroup;
    } else {
      transitingIndex_ = 0;
      v.transitingGroup = 0;
    }
  } else {
    transitingIndex_ = std::max(0, EntryOfBody(v.transiting));
  }
  ChooseTransiting(transitingIndex_);
  // The modes the chart allows: a directed chart only to the natal chart; a chart that is its own
  // natal chart only between its bodies.
  v.mode = v.mode == 1 ? 1 : 0;
  if (chart.kind == 5) {
    modeEnabled_[0] = false;
    v.mode = 1;
  } else if (chart.kind == 0 || chart.kind == 1 || chart.kind == 6) {
    modeEnabled_[1] = false;
    v.mode = 0;
  }
  if (v.mode == 0 && v.target >= kTransitCuspTarget && v.target != kTransitPlanetGroup)
    v.target = 0;
  FillTargets();
  // The aspect system and the aspect.
  systemIndex_ = 0;
  for (int i = 0; i < systems_.Count(); ++i)
    if (SameSystemName(systems_.GetSystem(i).GetName(), v.aspectSystem)) {
      systemIndex_ = i;
      break;
    }
  FillAspects(true);
  // Orbs.
  v.orbSource = v.orbSource == 0 ? 0 : 1;
  if (givenAngle_) v.orbSource = 0;
  if (v.orbDegrees > kMaxConstantOrb || v.orbMinutes > 59) v.orbDegrees = v.orbMinutes = 0;
  if (v.angleDegrees > kMaxGivenAngle || v.angleMinutes > 59) v.angleDegrees = v.angleMinutes = 0;
  v.houseOrbGroup =
      static_cast<std::uint16_t>(std::clamp<int>(v.houseOrbGroup, kMinOrbGroup, kMaxOrbGroup));
  // Classes: at least one strength and one of exact and inexact.
  v.classMask &= 0x1FF;
  if (!v.MaskBit(kTransitMaskMajor) && !v.MaskBit(kTransitMaskMinor))
    v.SetMaskBit(kTransitMaskMajor, true);
  if (!v.MaskBit(kTransitMaskExact) && !v.MaskBit(kTransitMaskInexact))
    v.SetMaskBit(kTransitMaskExact, true);
  v.exact = v.exact != 0;
  v.entering = v.entering != 0;
  v.leaving = v.leaving != 0;
  v.precision = v.precision == 1 ? 1 : v.precision == 5 ? 5 : 10;
  // The period starts at the chart's date.
  v.startDay = chart.day;
  v.startMonth = chart.month;
  v.startYear = chart.year;
  v.startEra = chart.era == 'B' ? 'B' : 'A';
  v.endEra = v.endEra == 'B' ? 'B' : 'A';
  OpenEnd(v, chart.typedPeriod
                 ? std::numeric_limits<double>::infinity()
                 : TransitLongestPeriod(v, chart.kind, chart.timeFactor, groups_, chart.periods));
}

namespace {
// Longer than any period the dates can hold.
constexpr double kBeyondEveryPeriod = 1e7;
}  // namespace

void TransitCalcPage::OpenEnd(TransitSettings& v, double longestDays) {
  // The stored end belongs to the last search, made for another chart's date.
  FDate start, end;
  if (!start.SetDate(v.startDay, v.startMonth, v.startYear, v.startEra).ok()) return;
  const double from = start.ToJulianDay();
  const double last = from + std::clamp(std::floor(longestDays), 0.0, kBeyondEveryPeriod);
  if (end.SetDate(v.endDay, v.endMonth, v.endYear, v.endEra).ok() && end.ToJulianDay() >= from &&
      end.ToJulianDay() <= last)
    return;
  const int next = start.AstronomicalYear() + 1;
  const int written = next > 0 ? next : next - 1;  // astronomical 0 is 1 BC
  FDate until;
  if ((!until.SetDate(start.Day(), start.Month(), written).ok() &&
       !until.SetDate(start.Day() - 1, start.Month(), written).ok()) ||  // 29 February
      until.ToJulianDay() > last) {
    until = start;
    until.AddDays(static_cast<std::int64_t>(last - from));
  }
  if (until.Year() > kMaxYear && until.Era() == 'A' && !until.SetDate(31, 12, kMaxYear).ok())
    return;
  v.endDay = until.Day();
  v.endMonth = until.Month();
  v.endYear = until.Year();
  v.endEra = until.Era();
}

int TransitCalcPage::TransitingCount() const { return kBodyEntries + groups_.Count('P'); }

void TransitCalcPage::ChooseTransiting(int index) {
  transitingIndex_ = std::clamp(index, 0, std::max(0, TransitingCount() - 1));
  if (transitingIndex_ < kBodyEntries) {
    values_.transiting = BodyOfEntry(transitingIndex_);
    values_.transitingGroup = -1;
  } else {
    values_.transiting = kTransitPlanetGroup;
    values_.transitingGroup = transitingIndex_ - kBodyEntries;
  }
}

void TransitCalcPage::FillTargets() {
  const bool toNatal = values_.mode == 1;
  targets_.clear();
  for (int i = 0; i < kBodyEntries; ++i) targets_.push_back({BodyOfEntry(i), {}});
  if (toNatal)
    for (int h = 0; h < 12; ++h) targets_.push_back({kTransitCuspTarget + h, {}});
  for (int g = 0; g < groups_.Count('P'); ++g)
    targets_.push_back({kTransitPlanetGroup, groups_.Group('P', g).name});
  if (toNatal)
    for (int g = 0; g < groups_.Count('H'); ++g)
      targets_.push_back({kTransitHouseGroup, groups_.Group('H', g).name});
  const bool group = values_.target == kTransitPlanetGroup || values_.target == kTransitHouseGroup;
  int found = 0;
  for (std::size_t i = 0; i < targets_.size(); ++i)
    if (targets_[i].code == values_.target &&
        (!group || targets_[i].groupName == values_.groupName)) {
      found = static_cast<int>(i);
      break;
    }
  ChooseTarget(found);
}

void TransitCalcPage::ChooseTarget(int index) {
  if (targets_.empty()) return;
  targetIndex_ = std::clamp(index, 0, static_cast<int>(targets_.size()) - 1);
  values_.target = targets_[static_cast<std::size_t>(targetIndex_)].code;
  values_.groupName = targets_[static_cast<std::size_t>(targetIndex_)].groupName;
}

void TransitCalcPage::ChooseMode(int mode) {
  mode = mode == 1 ? 1 : 0;
  if (!ModeEnabled(mode)) return;
  values_.mode = mode;
  // Mode 0 offers no cusp or house group: such a target becomes the Sun.
  if (mode == 0 && values_.target >= kTransitCuspTarget && values_.target != kTransitPlanetGroup)
    values_.target = 0;
  FillTargets();
}

const AspectSystem* TransitCalcPage::System() const {
  return systemIndex_ >= 0 && systemIndex_ < systems_.Count() ? &systems_.GetSystem(systemIndex_)
                                                              : nullptr;
}

int TransitCalcPage::AspectCount() const {
  const AspectSystem* system = System();
  return system ? system->Count() : 0;
}

int TransitCalcPage::AspectEntryCount() const { return AspectCount() == 0 ? 1 : AspectCount() + 2; }

bool TransitCalcPage::IsAnyEntry(int index) const {
  return EnableAspectFilter(AspectChoiceOfEntry(index, AspectCount()));
}

bool TransitCalcPage::IsGivenEntry(int index) const {
  return EnableAspectAngle(AspectChoiceOfEntry(index, AspectCount()));
}

void TransitCalcPage::ChooseAspect(int index) {
  aspectIndex_ = std::clamp(index, 0, AspectEntryCount() - 1);
  const int choice = AspectChoiceOfEntry(aspectIndex_, AspectCount());
  classFilter_ = EnableAspectFilter(choice);
  givenAngle_ = EnableAspectAngle(choice);
  // The given angle takes the constant orb only.
  systemOrbEnabled_ = !givenAngle_;
  if (givenAngle_) values_.orbSource = 0;
}

void TransitCalcPage::FillAspects(bool keepStored) {
  // A new system starts at its first entry: the first aspect, or "заданный" without aspects.
  ChooseAspect(keepStored ? AspectEntryOfChoice(values_.aspectChoice, AspectCount()) : 0);
}

int TransitCalcPage::ChooseSystem(int index) {
  if (index < 0 || index >= systems_.Count()) return kMsgAspectSystemNotFound;
  systemIndex_ = index;
  FillAspects(false);
  values_.orbSource = 0;
  return 0;
}

void TransitCalcPage::ChooseOrbSource(int source) {
  if (source == 1 && !systemOrbEnabled_) return;
  values_.orbSource = source == 1 ? 1 : 0;
}

void TransitCalcPage::SetClassBit(int bit, bool on) {
  if (bit < 0 || bit > kTransitMaskInexact) return;
  values_.SetMaskBit(bit, on);
  if (on) return;
  const auto partner = [](int b) {
    switch (b) {
      case kTransitMaskMajor:
        return kTransitMaskMinor;
      case kTransitMaskMinor:
        return kTransitMaskMajor;
      case kTransitMaskExact:
        return kTransitMaskInexact;
      case kTransitMaskInexact:
        return kTransitMaskExact;
      default:
        return -1;
    }
  };
  const int other = partner(bit);
  if (other >= 0 && !values_.MaskBit(other)) values_.SetMaskBit(other, true);
}

int TransitCalcPage::Accept() {
  accepted_ = false;
  TransitSettings& v = values_;
  if (v.target != kTransitPlanetGroup && v.target != kTransitHouseGroup) v.groupName.clear();
  if (v.mode == 0 && v.transiting == v.target && v.transiting < 100) return kMsgAspectToItself;
  const AspectSystem* system = System();
  if (!system) return kMsgAspectSystemNotFound;
  v.aspectSystem = system->GetName().substr(0, kSystemNameLength);
  const int choice = AspectChoiceOfEntry(aspectIndex_, AspectCount());
  if (EnableAspectAngle(choice)) {
    v.aspectChoice = kTransitOwnAngle;
  } else if (EnableAspectFilter(choice)) {
    v.aspectChoice = kTransitAnyAspect;
    v.angleDegrees = v.angleMinutes = 0;
  } else {
    const Aspect& a = system->GetAspect(aspectIndex_);
    v.aspectChoice = static_cast<std::uint16_t>(aspectIndex_);
    v.angleDegrees = static_cast<std::uint16_t>(a.angle);
    v.angleMinutes = static_cast<std::uint16_t>(a.GetAngleMinutes());
  }
  if (v.orbSource == 1) {
    v.orbDegrees = v.orbMinutes = 0;
  } else {
    v.houseOrbGroup = 1;
  }
  if (!ExactClassesEnabled()) {
    v.SetMaskBit(kTransitMaskExact, true);
    v.SetMaskBit(kTransitMaskInexact, true);
  }
  if (classFilter_ && (v.classMask & 0x1F) == 0) return kMsgNoAspectType;
  FDate start, end;
  if (!start.SetDate(v.startDay, v.startMonth, v.startYear, v.startEra).ok() ||
      !end.SetDate(v.endDay, v.endMonth, v.endYear, v.endEra).ok())
    return kMsgDaysInMonth;
  if (end.ToJulianDay() < start.ToJulianDay()) return kMsgPeriodEndsBeforeStart;
  accepted_ = true;
  return 0;
}
