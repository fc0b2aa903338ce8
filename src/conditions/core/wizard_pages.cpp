#include "conditions/core/wizard_pages.h"

#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "conditions/core/groups.h"
#include "conditions/core/wizard_page_support.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

using wizard_page::InRangeOr;
using wizard_page::PositionOr0;
using wizard_page::StoreObject;
using wizard_page::StorePoint;

}  // namespace

int wizard_page::FindAspectSystem(const Aspectarium& aspects, const std::string& name) {
  const std::string key = SearchKey(name.substr(0, 12));
  for (int i = 0; i < aspects.Count(); ++i)
    if (SearchKey(aspects.GetSystem(i).GetName().substr(0, 12)) == key) return i;
  return -1;
}

// --- The flow ---

bool WizardKindAvailable(int kind, bool twoChart) {
  if (twoChart) return kind == kCondAsp || kind == kCondIn;
  return kind >= kCondAsp && kind <= kCondQuant;
}

int WizardInitialChoice(int remembered, bool twoChart) {
  return WizardKindAvailable(remembered, twoChart) ? remembered : kCondAsp;
}

void ClearStagedWords(QueryCondition& staged) {
  for (int i = 1; i < QueryCondition::kWords - 1; ++i) staged.w[static_cast<std::size_t>(i)] = 0;
  staged.text1.clear();
  staged.text2.clear();
  staged.text3.clear();
}

void PresetStagedWords(QueryCondition& staged, int choice, bool twoChart) {
  switch (choice) {
    case kCondAsp:
      if (twoChart) staged.w[11] = staged.w[15] = staged.w[16] = 1;
      break;
    case kCondIn:
    case kCondIncl:
      staged.w[3] = kHouseBase;
      break;
    case kCondContext:
      staged.text1.clear();
      break;
    case kCondConf:
      staged.w[17] = 1;
      break;
    default:
      if (choice >= kCondQuant) {
        staged.w[2] = 1;
        staged.w[15] = 1;
      }
      break;
  }
}

int WizardPageOfKind(int kind) {
  if (kind == kCondPairAsp) return kCondAsp;
  if (kind == kCondPairIn) return kCondIn;
  return kind >= kCondAsp && kind <= kCondQuant ? kind : -1;
}

QueryCondition UnsetPageWords() {
  QueryCondition c;
  for (int i = 1; i < QueryCondition::kWords - 1; ++i) c.w[static_cast<std::size_t>(i)] = -1;
  c.w[0] = 0;
  c.w[19] = 0;
  return c;
}

// --- Aspect page enabling ---

int AspectChoiceOfEntry(int entry, int count) {
  if (count <= 0) return kArbitraryAngle;
  if (entry >= 0 && entry < count) return entry;
  return entry == count ? kAnyAspectOfClasses : kArbitraryAngle;
}

int AspectEntryOfChoice(int choice, int count) {
  if (count <= 0) return 0;
  if (choice == kAnyAspectOfClasses) return count;
  if (choice >= count) return count + 1;
  return std::max(choice, 0);
}

bool EnableAspectFilter(int choice) { return choice == kAnyAspectOfClasses; }

bool EnableAspectAngle(int choice) { return choice == kArbitraryAngle; }

int TickPair(int mask, int a, int b, int changed, bool on) {
  mask = on ? mask | (1 << changed) : mask & ~(1 << changed);
  if ((mask & ((1 << a) | (1 << b))) == 0) mask |= 1 << (changed == a ? b : a);
  return mask;
}

int TickAspectClass(int mask, int bit, bool on) {
  if (bit == kMaskMajor || bit == kMaskMinor)
    return TickPair(mask, kMaskMajor, kMaskMinor, bit, on);
  if (bit == kMaskExact || bit == kMaskInexact)
    return TickPair(mask, kMaskExact, kMaskInexact, bit, on);
  return on ? mask | (1 << bit) : mask & ~(1 << bit);
}

// --- ASP ---

AspPageModel::AspPageModel(const Groups& groups, const Aspectarium& aspects, bool twoChart)
    : groups_(groups),
      aspects_(aspects),
      twoChart_(twoChart),
      firstList_(BuildObjectList(groups, twoChart ? kPairMask : kFirstMask, false)),
      secondList_(BuildObjectList(groups, twoChart ? kPairMask : kSecondMask, false)) {
  if (aspects_.Count() > 0) systemName = aspects_.GetSystem(0).GetName();
}

std::vector<std::string> AspPageModel::SystemNames() const { return aspects_.Names(); }

int AspPageModel::SystemIndex() const {
  return wizard_page::FindAspectSystem(aspects_, systemName);
}

int AspPageModel::AspectCount() const {
  const int s = SystemIndex();
  return s < 0 ? 0 : aspects_.GetSystem(s).Count();
}

std::vector<std::string> AspPageModel::AspectNames() const {
  std::vector<std::string> names;
  const int s = SystemIndex();
  if (s >= 0)
    for (const Aspect& a : aspects_.GetSystem(s).Aspects()) names.push_back(a.name);
  if (!names.empty()) names.push_back(GetMessageText(kMsgAnyAspect));
  names.push_back(GetMessageText(kMsgGivenAngle));
  return names;
}

void AspPageModel::Preset(const QueryCondition& staged) {
  const auto& w = staged.w;
  first = PositionOr0(firstList_, w[2], staged.text1);
  second = PositionOr0(secondList_, w[3], staged.text2);
  if (PointEnabled()) {
    pointDegrees = InRangeOr(w[8], 0, 29, 0);
    pointSign = InRangeOr(w[9], 0, 11, 0);
    pointMinutes = InRangeOr(w[10], 0, 59, 0);
  }
  const int staged3 = wizard_page::FindAspectSystem(aspects_, staged.text3);
  systemName =
      aspects_.Count() > 0 ? aspects_.GetSystem(std::max(staged3, 0)).GetName() : std::string();
  aspect = AspectEntryOfChoice(w[4], AspectCount());
  // The constant orb's edit takes 0..20 degrees: a staged orb outside it starts at 0.
  orbDegrees = InRangeOr(w[12], 0, 20, 0);
  orbMinutes = InRangeOr(w[13], 0, 59, 0);
  houseOrbGroup = InRangeOr(w[15], 1, 5, 1);
  signOrbGroup = InRangeOr(w[16], 1, 5, 1);
  givenDegrees = InRangeOr(w[17], 0, 180, 0);
  givenMinutes = InRangeOr(w[18], 0, 59, 0);
  orbFromSystem = w[11] == 1 && AspectCount() > 0 && !EnableAspectAngle(Choice());
  mask = w[14] & kMaskAll;
  if ((mask & ((1 << kMaskMajor) | (1 << kMaskMinor))) == 0) mask |= 1 << kMaskMajor;
  if ((mask & ((1 << kMaskExact) | (1 << kMaskInexact))) == 0) mask |= 1 << kMaskExact;
}

void AspPageModel::SetSystem(const std::string& name) {
  systemName = name;
  aspect = 0;
  orbFromSystem = false;
}

void AspPageModel::SetAspect(int entry) {
  aspect = entry;
  if (EnableAspectAngle(Choice())) orbFromSystem = false;
}

void AspPageModel::SetClassBit(int bit, bool on) { mask = TickAspectClass(mask, bit, on); }

bool AspPageModel::PointEnabled() const {
  return !twoChart_ && firstList_.ObjectCodeOfPosition(first) == kFixedDegree;
}

AspectControls AspPageModel::Controls() const {
  AspectControls c;
  const int choice = Choice();
  c.classBoxes = EnableAspectFilter(choice);
  c.givenAngle = EnableAspectAngle(choice);
  c.systemOrbChoice = AspectCount() > 0 && !c.givenAngle;
  const bool fromSystem = orbFromSystem && c.systemOrbChoice;
  c.ownOrb = !fromSystem;
  c.orbGroups = fromSystem;
  c.exactBoxes = c.classBoxes && fromSystem;
  return c;
}

int AspPageModel::Check() const {
  if (SystemIndex() < 0) return kMsgAspectSystemNotFound;
  constexpr int kTypes = (1 << (kMaskOtherClass + 1)) - 1;
  if (EnableAspectFilter(Choice()) && (mask & kTypes) == 0) return kMsgNoAspectType;
  return 0;
}

QueryCondition AspPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  const AspectControls controls = Controls();
  const int choice = Choice();
  c.w[1] = twoChart_ ? kCondPairAsp : kCondAsp;
  StoreObject(firstList_, first, c.w[2], c.text1);
  StoreObject(secondList_, second, c.w[3], c.text2);
  c.w[4] = choice;
  const int s = SystemIndex();
  c.text3 = s >= 0 ? aspects_.GetSystem(s).GetName() : systemName;
  if (PointEnabled()) StorePoint(c, pointDegrees, pointSign, pointMinutes);
  const bool fromSystem = controls.orbGroups;
  c.w[11] = fromSystem ? 1 : 0;
  c.w[12] = fromSystem ? 0 : orbDegrees;
  c.w[13] = fromSystem ? 0 : orbMinutes;
  c.w[14] = EnableAspectFilter(choice) ? mask : 0;
  if (!controls.exactBoxes) c.w[14] |= (1 << kMaskExact) | (1 << kMaskInexact);
  c.w[15] = fromSystem ? houseOrbGroup : 0;
  c.w[16] = fromSystem ? signOrbGroup : 0;
  if (EnableAspectAngle(choice)) {
    c.w[17] = givenDegrees;
    c.w[18] = givenMinutes;
  } else if (EnableAspectFilter(choice)) {
    c.w[17] = 0;
    c.w[18] = 0;
  } else {
    const Aspect& a = aspects_.GetSystem(s).GetAspect(choice);
    c.w[17] = static_cast<int>(a.angle);
    c.w[18] = a.GetAngleMinutes();
  }
  return c;
}

// --- IN ---

InPageModel::InPageModel(const Groups& groups, bool twoChart)
    : groups_(groups),
      twoChart_(twoChart),
      objects_(BuildObjectList(groups, twoChart ? kPairObjectMask : kObjectMask, false)) {
  BuildPlaces();
}

void InPageModel::BuildPlaces() {
  const int code = objects_.ObjectCodeOfPosition(object);
  const char* mask = twoChart_ ? kPairPlaceMask : IsHouseLike(code) ? kHousePlaceMask : kPlaceMask;
  places_ = BuildObjectList(groups_, mask, false);
}

void InPageModel::Preset(const QueryCondition& staged) {
  const auto& w = staged.w;
  object = PositionOr0(objects_, w[2], staged.text1);
  BuildPlaces();
  int code = w[3];
  // A house stands in a sign: a staged house place gives way to Aries.
  if (!twoChart_ && IsHouseLike(objects_.ObjectCodeOfPosition(object)) && IsHouseLike(code))
    code = kSignBase;
  place = PositionOr0(places_, code, staged.text2);
  if (PointEnabled()) {
    pointDegrees = InRangeOr(w[8], 0, 29, 0);
    pointSign = InRangeOr(w[9], 0, 11, 0);
    pointMinutes = InRangeOr(w[10], 0, 59, 0);
  }
  swapped = twoChart_ && w[11] == 1;
}

void InPageModel::SetObject(int position) {
  object = position;
  BuildPlaces();
  place = 0;
  if (!PointEnabled()) pointSign = pointDegrees = pointMinutes = 0;
}

bool InPageModel::PointEnabled() const {
  return !twoChart_ && objects_.ObjectCodeOfPosition(object) == kFixedDegree;
}

QueryCondition InPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = twoChart_ ? kCondPairIn : kCondIn;
  StoreObject(objects_, object, c.w[2], c.text1);
  StoreObject(places_, place, c.w[3], c.text2);
  if (PointEnabled()) StorePoint(c, pointDegrees, pointSign, pointMinutes);
  c.w[11] = twoChart_ && swapped ? 1 : 0;
  return c;
}

// --- INCL ---

InclPageModel::InclPageModel(const Groups& groups)
    : groups_(groups), included_(BuildObjectList(groups, kIncludedMask, false)) {
  BuildContainers();
}

void InclPageModel::BuildContainers() {
  containers_ = BuildObjectList(
      groups_, included_.IsSignPosition(included) ? kHouseContainerMask : kSignContainerMask,
      false);
}

void InclPageModel::Preset(const QueryCondition& staged) {
  included = PositionOr0(included_, staged.w[2], staged.text1);
  BuildContainers();
  container = PositionOr0(containers_, staged.w[3], staged.text2);
  inclusion = InRangeOr(staged.w[4], 0, 2, 0);
}

void InclPageModel::SetIncluded(int position) {
  included = position;
  BuildContainers();
  container = 0;
}

QueryCondition InclPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = kCondIncl;
  StoreObject(included_, included, c.w[2], c.text1);
  StoreObject(containers_, container, c.w[3], c.text2);
  c.w[4] = inclusion;
  return c;
}
