#include "conditions/core/value_pages.h"

#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "conditions/core/wizard_page_support.h"
#include "conditions/core/wizard_pages.h"
#include "foundation/messages/message_numbers.h"

namespace {

using wizard_page::InRangeOr;
using wizard_page::PositionOr0;
using wizard_page::StoreObject;
using wizard_page::StorePoint;

constexpr char kContextBlank = '\x04';
constexpr int kTypeBits = (1 << (kMaskOtherClass + 1)) - 1;
constexpr int kExactBits = (1 << kMaskExact) | (1 << kMaskInexact);

int ModesOf(int quantity) {
  if (quantity == kQuantityLongitude) return 2;
  if (quantity == kQuantityDate) return 3;
  return 0;
}

// A staged bound as the edits show it: numbers within the edits, buttons and sign within theirs.
QuantityBound PresetBound(const QuantityBound& b) {
  constexpr int kLimit = QuantityPageBase::kValueLimit;
  return {InRangeOr(b.first, 0, kLimit, 0), InRangeOr(b.second, 0, kLimit, 0),
          InRangeOr(b.third, 0, kLimit, 0), InRangeOr(b.flag, 0, 1, 0),
          InRangeOr(b.sign, 0, 11, 0)};
}

// A bound as the record holds it: an edit the mode hides holds 0, except the month of a date by
// day only, which still limits the day when it is one.
QuantityBound StoredBound(int quantity, int mode, QuantityBound b) {
  const QuantityLayout layout = LayoutOfQuantity(quantity, mode);
  if (!layout.thirdValue) b.third = 0;
  if (!layout.secondValue && !(b.second >= 1 && b.second <= 12)) b.second = 0;
  return b;
}

// Bits 7 and 8 of the class mask: ticked as the boxes say while they are enabled, both set when
// they are disabled; one of each pair stays ticked.
int PresetMask(int staged) {
  int mask = staged & kMaskAll;
  if ((mask & ((1 << kMaskMajor) | (1 << kMaskMinor))) == 0) mask |= 1 << kMaskMajor;
  if ((mask & kExactBits) == 0) mask |= 1 << kMaskExact;
  return mask;
}

}  // namespace

// --- MORE/LESS and INTERV ---

QuantityLayout LayoutOfQuantity(int quantity, int mode) {
  QuantityLayout l;
  l.modes = ModesOf(quantity);
  l.objectList = IsObjectQuantity(quantity);
  l.signBox = quantity == kQuantityLongitude && mode == kModeAbsolute;
  const bool date = quantity == kQuantityDate;
  l.secondValue = !(date && mode == kDateDayOnly);
  l.thirdValue = date && mode == kDateWhole;
  l.sides = date ? mode == kDateWhole : quantity != kQuantityLongitude && quantity != kQuantityTime;
  return l;
}

QuantityPageBase::QuantityPageBase(const Groups& groups) : groups_(groups) { BuildObjects(); }

void QuantityPageBase::BuildObjects() {
  const bool moving = quantity == kQuantitySpeed || quantity == kQuantityEclipticLat;
  objects_ = BuildObjectList(groups_, moving ? kMovingObjectMask : kObjectMask, false);
}

void QuantityPageBase::SetQuantity(int q) {
  const int code = objects_.ObjectCodeOfPosition(object);
  const std::string label =
      IsGroupCode(code) ? objects_.names.at(static_cast<std::size_t>(object)) : std::string();
  if (q != quantity) mode = 0;  // the modes of one quantity mean nothing to another
  quantity = q;
  BuildObjects();
  object = PositionOr0(objects_, code, label);
}

void QuantityPageBase::PresetQuantity(const QueryCondition& staged) {
  quantity = InRangeOr(staged.w[3], kQuantityLongitude, kQuantityEclipticLat, kQuantityLongitude);
  BuildObjects();
  object = PositionOr0(objects_, staged.w[2], staged.text1);
  mode = ModesOf(quantity) > 0 ? InRangeOr(staged.w[15], 0, ModesOf(quantity) - 1, 0) : 0;
}

void QuantityPageBase::StoreQuantity(QueryCondition& c) const {
  StoreObject(objects_, object, c.w[2], c.text1);
  c.w[3] = quantity;
  c.w[15] = mode;
}

MoreLessPageModel::MoreLessPageModel(const Groups& groups) : QuantityPageBase(groups) {}

void MoreLessPageModel::Preset(const QueryCondition& staged) {
  PresetQuantity(staged);
  sense = InRangeOr(staged.w[4], 0, 1, 0);
  value = PresetBound(FirstBound(staged));
}

int MoreLessPageModel::Check() const { return CheckQuantityValues(quantity, mode, value); }

QueryCondition MoreLessPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = kCondMoreLess;
  StoreQuantity(c);
  c.w[4] = sense;
  const QuantityBound v = StoredBound(quantity, mode, value);
  c.w[11] = v.first;
  c.w[12] = v.second;
  c.w[13] = v.third;
  c.w[14] = v.flag;
  c.w[16] = v.sign;
  return c;
}

IntervPageModel::IntervPageModel(const Groups& groups) : QuantityPageBase(groups) {}

void IntervPageModel::Preset(const QueryCondition& staged) {
  PresetQuantity(staged);
  const int ends = InRangeOr(staged.w[4], 0, 3, 0);
  includeBegin = (ends & 1) != 0;
  includeEnd = (ends & 2) != 0;
  from = PresetBound(FirstBound(staged));
  to = PresetBound(SecondBound(staged));
}

int IntervPageModel::Check() const {
  if (const int m = CheckQuantityValues(quantity, mode, from); m != 0) return m;
  if (const int m = CheckQuantityValues(quantity, mode, to); m != 0) return m;
  if (quantity == kQuantityDate && mode == kDateWhole && IntervalBoundsInOrder(Words()) == 0)
    return kMsgBoundsReversed;
  return 0;
}

QueryCondition IntervPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = kCondInterval;
  StoreQuantity(c);
  c.w[4] = (includeBegin ? 1 : 0) + (includeEnd ? 2 : 0);
  const QuantityBound low = StoredBound(quantity, mode, from);
  const QuantityBound high = StoredBound(quantity, mode, to);
  c.w[11] = low.first;
  c.w[12] = low.second;
  c.w[13] = low.third;
  c.w[14] = low.flag;
  c.w[16] = low.sign;
  c.w[8] = high.first;
  c.w[9] = high.second;
  c.w[10] = high.third;
  c.w[17] = high.flag;
  c.w[18] = high.sign;
  return c;
}

// --- BEFORE/AFTER ---

BeforeAfterPageModel::BeforeAfterPageModel(const Groups& groups)
    : objects_(BuildObjectList(groups, kObjectMask, false)),
      references_(BuildObjectList(groups, kReferenceMask, false)) {}

void BeforeAfterPageModel::Preset(const QueryCondition& staged) {
  const auto& w = staged.w;
  object = PositionOr0(objects_, w[2], staged.text1);
  reference = PositionOr0(references_, w[3], staged.text2);
  sense = InRangeOr(w[4], 0, 1, 0);
  sectorDegrees = InRangeOr(w[11], 0, 180, 0);
  sectorMinutes = InRangeOr(w[12], 0, 59, 0);
  if (PointEnabled()) {
    pointDegrees = InRangeOr(w[8], 0, 29, 0);
    pointSign = InRangeOr(w[9], 0, 11, 0);
    pointMinutes = InRangeOr(w[10], 0, 59, 0);
  }
}

bool BeforeAfterPageModel::PointEnabled() const {
  return references_.ObjectCodeOfPosition(reference) == kFixedDegree;
}

QueryCondition BeforeAfterPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = kCondBeforeAfter;
  StoreObject(objects_, object, c.w[2], c.text1);
  StoreObject(references_, reference, c.w[3], c.text2);
  c.w[4] = sense;
  c.w[11] = sectorDegrees;
  c.w[12] = sectorMinutes;
  if (PointEnabled()) StorePoint(c, pointDegrees, pointSign, pointMinutes);
  return c;
}

// --- CONTEXT ---

std::string StoredContextText(const std::string& shown) {
  std::string text = shown;
  // A tab would split the condition's line as a blank does.
  std::replace(text.begin(), text.end(), '\t', ' ');
  text.erase(text.find_last_not_of(' ') + 1);
  std::replace(text.begin(), text.end(), ' ', kContextBlank);
  return text;
}

std::string ShownContextText(const std::string& stored) {
  std::string text = stored;
  std::replace(text.begin(), text.end(), kContextBlank, ' ');
  return text;
}

void ContextPageModel::Preset(const QueryCondition& staged) {
  where = InRangeOr(staged.w[2], 0, kWhereComment, 0);
  test = InRangeOr(staged.w[3], 0, kAbsentOrNoComment, 0);
  page = InRangeOr(staged.w[4], 0, kAllPages, 0);
  text = ShownContextText(staged.text1);
  ignoreBlanks = staged.w[11] == 1;
  matchCase = staged.w[12] == 1;
  partial = staged.w[13] == 1;
  Fallback();
}

void ContextPageModel::SetWhere(int value) {
  where = value;
  Fallback();
}

void ContextPageModel::SetPage(int value) {
  page = value;
  Fallback();
}

void ContextPageModel::Fallback() {
  if (test == kAbsentOrNoComment && !NoCommentTestEnabled()) test = 1;
}

QueryCondition ContextPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  c.w[1] = kCondContext;
  c.w[2] = where;
  c.w[3] = test;
  c.w[4] = page;
  c.text1 = StoredContextText(text).substr(0, QueryCondition::kMaxTextLength);
  c.w[11] = ignoreBlanks ? 1 : 0;
  c.w[12] = matchCase ? 1 : 0;
  c.w[13] = partial ? 1 : 0;
  return c;
}

// --- QUANT ---

QuantPageModel::QuantPageModel(const Groups& groups, const Aspectarium& aspects)
    : groups_(groups), aspects_(aspects) {
  if (aspects_.Count() > 0) systemName = aspects_.GetSystem(0).GetName();
  BuildObjects();
}

void QuantPageModel::BuildObjects() {
  switch (count) {
    case kCountPlanetsIn:
      objects_ = BuildObjectList(groups_, kPlaceMask, false);
      break;
    case kCountInSignOf:
    case kCountInHouseOf:
      objects_ = BuildObjectList(groups_, kPlanetMask, false);
      break;
    case kCountAspectsOf:
      objects_ = BuildObjectList(groups_, kAspectObjectMask, false);
      break;
    default:  // aspects in the whole chart: no object
      objects_ = BuildObjectList(groups_, "", false);
      break;
  }
}

std::vector<std::string> QuantPageModel::SystemNames() const { return aspects_.Names(); }

void QuantPageModel::Preset(const QueryCondition& staged) {
  const auto& w = staged.w;
  count = InRangeOr(w[2], kCountPlanetsIn, kCountAspectsOf, kCountInSignOf);
  BuildObjects();
  object = PositionOr0(objects_, w[3], staged.text1);
  addUp = staged.text2.size() == 1 && staged.text2[0] == kAddUpMark;
  comparison = InRangeOr(w[4], 0, kBetween, 0);
  number1 = InRangeOr(w[8], 0, 1000, 0);
  number2 = InRangeOr(w[9], 0, 1000, 0);
  inclusive = w[10] == 1;
  const int system = wizard_page::FindAspectSystem(aspects_, staged.text3);
  if (aspects_.Count() > 0) systemName = aspects_.GetSystem(std::max(system, 0)).GetName();
  orbFromSystem = w[11] == 1;
  orbDegrees = InRangeOr(w[12], 0, 20, 0);
  orbMinutes = InRangeOr(w[13], 0, 59, 0);
  mask = PresetMask(w[14]);
  houseOrbGroup = InRangeOr(w[15], 1, 5, 1);
  nodes = w[16] == 1;
  planets = InRangeOr(w[17], 0, 2, 0);
  houses = InRangeOr(w[18], 0, 2, 0);
}

void QuantPageModel::SetCount(int value) {
  count = value;
  BuildObjects();
  object = 0;
}

void QuantPageModel::SetClassBit(int bit, bool on) { mask = TickAspectClass(mask, bit, on); }

QuantControls QuantPageModel::Controls() const {
  QuantControls c;
  c.objectList = count != kCountChartAspects;
  const int code = objects_.ObjectCodeOfPosition(object);
  c.addUp = c.objectList &&
            (code == kPlanetGroupEach || code == kSignGroupEach || code == kHouseGroupEach);
  c.secondNumber = comparison == kBetween;
  c.aspects = count == kCountChartAspects || count == kCountAspectsOf;
  c.ownOrb = c.aspects && !orbFromSystem;
  c.orbGroup = c.aspects && orbFromSystem;
  c.exactBoxes = c.orbGroup;
  return c;
}

int QuantPageModel::Check() const {
  if (!Controls().aspects) return 0;
  if (wizard_page::FindAspectSystem(aspects_, systemName) < 0) return kMsgAspectSystemNotFound;
  if ((mask & kTypeBits) == 0) return kMsgNoAspectType;
  return 0;
}

QueryCondition QuantPageModel::Words() const {
  QueryCondition c = UnsetPageWords();
  const QuantControls controls = Controls();
  c.w[1] = kCondQuant;
  c.w[2] = count;
  if (controls.objectList) StoreObject(objects_, object, c.w[3], c.text1);
  if (controls.addUp && addUp) c.text2 = std::string(1, kAddUpMark);
  c.w[4] = comparison;
  c.w[8] = number1;
  c.w[9] = number2;
  c.w[10] = inclusive ? 1 : 0;
  const int system = wizard_page::FindAspectSystem(aspects_, systemName);
  // A name that no system bears is refused while the aspect controls are enabled; otherwise it
  // is not kept, since it may not stand in the condition's line.
  if (system >= 0) c.text3 = aspects_.GetSystem(system).GetName();
  c.w[11] = orbFromSystem ? 1 : 0;
  c.w[12] = orbDegrees;
  c.w[13] = orbMinutes;
  c.w[14] = controls.exactBoxes ? mask : mask | kExactBits;
  c.w[15] = houseOrbGroup;
  c.w[16] = nodes ? 1 : 0;
  c.w[17] = planets;
  c.w[18] = houses;
  return c;
}
