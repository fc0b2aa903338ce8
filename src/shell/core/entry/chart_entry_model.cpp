#include "shell/core/entry/chart_entry_model.h"

#include "foundation/atlas/town_search.h"

namespace {

constexpr std::uint16_t kCompositeOn = 1;
constexpr std::uint16_t kReturnKeyKind = 1;
constexpr std::uint16_t kLunarPhaseKeyKind = 0;
constexpr int kMaxProgressionMethod = 4;
constexpr int kMaxDirectionMethod = 5;

bool KeyFits(const ProgressionKey& key) {
  const auto unitOk = [](int u) { return u >= 1 && u <= kKeyUnitCount; };
  const auto countOk = [](int c) { return c >= 1 && c <= kMaxKeyCount; };
  return countOk(key.arcCount) && countOk(key.timeCount) && unitOk(key.arcUnit) &&
         unitOk(key.timeUnit);
}

}  // namespace

int EntryGroupOfKind(int kind) {
  if (kind <= kChartDraconic || kind > kChartLunarPhase) return 0;
  return kind - kChartDraconic;
}

EntryFields FieldsOfKind(int kind) {
  EntryFields f;
  switch (kind) {
    case kChartTransit:
      f.target = f.converse = true;
      break;
    case kChartProgressed:
      f.target = f.converse = f.progressionMethod = true;
      break;
    case kChartDirected:
      f.target = f.converse = f.directionMethod = true;
      break;
    case kChartSynastry:
      f.secondPerson = f.composite = true;
      break;
    case kChartHarmonic:
      f.harmonic = true;
      break;
    case kChartReturn:
      f.target = f.returnBody = true;
      break;
    case kChartLunarPhase:
      f.target = true;
      break;
    default:
      break;
  }
  return f;
}

int UserKeyMethod(int kind) {
  if (kind == kChartProgressed) return kMaxProgressionMethod;
  if (kind == kChartDirected) return kMaxDirectionMethod;
  return -1;
}

ChartEntry EntryFromDefinition(const SuperSource& d) {
  ChartEntry e;
  const int kind = d.Kind();
  e.person = kind == kChartHorary ? d.sources[1] : d.sources[0];
  e.second = e.person;
  e.target = e.person;
  e.title = d.Title();
  e.converse = d.converse == 1;
  switch (kind) {
    case kChartTransit:
    case kChartLunarPhase:
      e.target = d.sources[1];
      break;
    case kChartProgressed:
    case kChartDirected:
      e.target = d.sources[1];
      if (d.keyKind <= UserKeyMethod(kind)) e.method = d.keyKind;
      if (e.method == UserKeyMethod(kind) && KeyFits(d.key)) e.key = d.key;
      break;
    case kChartSynastry:
      e.second = d.sources[1];
      e.composite = d.keyKind == kCompositeOn;
      break;
    case kChartHarmonic:
      if (d.key.arcCount >= kMinHarmonic && d.key.arcCount <= kMaxHarmonic)
        e.harmonic = d.key.arcCount;
      break;
    case kChartReturn:
      e.target = d.sources[1];
      if (d.key.arcCount <= kLastReturnBody) e.returnBody = d.key.arcCount;
      break;
    default:
      break;
  }
  e.target.SetName(e.person.Name());
  return e;
}

bool IsDerivedKind(int kind) { return kind > kChartHorary && kind <= kChartLunarPhase; }

ChartEntry InitialEntry(const SuperSource* last, const SuperSource& fallback,
                        const SuperSource* active, int kind, const Clock& clock) {
  const bool fromActive = active != nullptr && (IsDerivedKind(kind) || kind == kChartHorary);
  ChartEntry e = EntryFromDefinition(last != nullptr ? *last : fallback);
  // A title typed for another kind of the group (a natal chart's, say) is not carried over.
  if (last != nullptr && last->Kind() != kind) e.title.clear();
  if (fromActive) {
    e.person = EntryFromDefinition(*active).person;
    if (last == nullptr) e.second = e.person;
    e.target = e.person;
    e.title.clear();
  }
  Source* now = nullptr;
  if (FieldsOfKind(kind).target && (fromActive || last == nullptr)) now = &e.target;
  // A question is asked now: a horary chart never starts at an earlier chart's moment.
  if (kind == kChartHorary) now = &e.person;
  if (now == nullptr || !clock) return e;
  const Source zoned = *now;
  // A clock that gives no usable moment leaves the moment it found.
  if (SetSourceToPresent(*now, clock()).ok() && fromActive) {
    // The same instant on the clock of the chart it comes from: the zone of its birth data, not
    // the computer's (a chart at +03:00 is not looked at in GMT). A moment that the zone would
    // carry out of the years that can be held keeps the computer's zone.
    (void)now->ConvertToZoneOf(zoned);
  }
  // At a town of the atlas, the clock that town keeps now (summer time included, a zone moved
  // since the birth).
  (void)MoveToTownClock(GetTowns(), *now);
  return e;
}

SuperSource DefinitionFromEntry(const ChartEntry& e, int kind) {
  SuperSource d;
  d.SetKind(static_cast<std::uint16_t>(kind));
  d.SetTitle(e.title);
  const EntryFields fields = FieldsOfKind(kind);
  d.sources = {e.person, e.person, e.person};
  if (fields.target) {
    Source target = e.target;
    target.SetName(e.person.Name());
    d.sources[1] = d.sources[2] = target;
  }
  if (fields.secondPerson) d.sources[1] = d.sources[2] = e.second;
  if (fields.converse) d.converse = e.converse ? 1 : 0;
  switch (kind) {
    case kChartProgressed:
    case kChartDirected:
      d.keyKind = static_cast<std::uint16_t>(e.method);
      if (e.method == UserKeyMethod(kind)) d.key = e.key;
      break;
    case kChartSynastry:
      d.keyKind = e.composite ? kCompositeOn : 0;
      break;
    case kChartHarmonic:
      d.key.arcCount = static_cast<std::uint16_t>(e.harmonic);
      break;
    case kChartReturn:
      d.keyKind = kReturnKeyKind;
      d.key.arcCount = static_cast<std::uint16_t>(e.returnBody);
      break;
    case kChartLunarPhase:
      d.keyKind = kLunarPhaseKeyKind;
      break;
    default:
      break;
  }
  return d;
}
