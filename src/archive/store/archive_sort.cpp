#include "archive/store/archive_sort.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "archive/store/archive_index_entry.h"
#include "astro/chart/chart.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr double kNotComputed = -777.0;

int TextClass(const std::string& text) {
  const char first = text.empty() ? ' ' : CharToUpper(text[0]);
  return CollationPosition(first, Collation::kLatinFirst);
}

char CompareText(const std::string& a, const std::string& b, int width) {
  const std::string_view blank = " ";
  return CompareStrings(a.empty() ? blank : std::string_view(a),
                        b.empty() ? blank : std::string_view(b), width, true,
                        Collation::kLatinFirst);
}

template <typename T>
char CompareValues(T a, T b) {
  return a < b ? kCompareLess : (b < a ? kCompareGreater : kCompareEqual);
}

int SignedArc(int degrees, int minutes, bool negative) {
  const int v = degrees * 60 + minutes;
  return negative ? -v : v;
}

// A stored value a chart can hold: not computed (-777.0), a longitude in [0, 360], a speed below a
// turn a day. Anything else comes from a damaged record, and is never converted to an integer.
bool InRange(const ArchiveSortValue& v, int key) {
  if (!v.readable) return false;
  if (v.value == kNotComputed) return true;
  if (key == kSortBodySpeed) return std::fabs(v.value) < 360.0;  // false for NaN too
  return v.value >= 0.0 && v.value <= 360.0;
}

// The whole value x 1000 toward zero, as the comparison of computed keys takes it; an unreadable
// record, or one whose value is out of range, sorts first.
long long Thousandths(const ArchiveSortValue& v, int key, bool withinSign) {
  if (!InRange(v, key)) return -2000000000LL;
  double value = v.value;
  if (withinSign && value != kNotComputed) value = std::fmod(value, 30.0);
  return static_cast<long long>(std::trunc(value * 1000.0));
}

bool IsComputedKey(int key) { return key >= kSortBodyLongitude && key <= kSortBodySpeed; }

}  // namespace

int ArchiveSortClassCount(int key) {
  switch (key) {
    case kSortName:
    case kSortType:
    case kSortPlace:
      return 98;
    case kSortDate:
      return 72001;
    case kSortDayMonth:
      return 372;
    case kSortDay:
      return 31;
    case kSortTime:
      return 1500;
    case kSortZone:
      return 1440;
    case kSortLatitude:
      return 10800;
    case kSortLongitude:
      return 21600;
    case kSortBodyLongitude:
      return 362;
    case kSortBodyDegree:
      return 32;
    case kSortBodySpeed:
      return 30;
    default:
      return 0;
  }
}

int ArchiveSortClass(int key, const ArchiveIndexEntry& e, const ArchiveSortValue& v) {
  long long c = 0;
  switch (key) {
    case kSortName:
      c = TextClass(e.name);
      break;
    case kSortType:
      c = TextClass(e.title);
      break;
    case kSortPlace:
      c = TextClass(e.town);
      break;
    case kSortDate:
      if (e.year >= 1 && e.year <= 3000) {
        const int y = e.era == 'B' ? 3000 - e.year : e.year + 3000;
        c = static_cast<long long>(y) * 12 + e.month - 1;
      } else {
        c = 72000;
      }
      break;
    case kSortDayMonth:
      c = e.month * 31 + e.day - 32;
      break;
    case kSortDay:
      c = e.day - 1;
      break;
    case kSortTime:
      c = e.hours * 60 + e.minutes;
      break;
    case kSortZone:
      c = e.zoneSign == '-' ? (12 - e.zoneHours) * 60 - e.zoneMinutes
                            : (e.zoneHours + 12) * 60 + e.zoneMinutes;
      break;
    case kSortLatitude:
      c = e.latLetter == 'S' ? (90 - e.latDegrees) * 60 - e.latMinutes
                             : (e.latDegrees + 90) * 60 + e.latMinutes;
      break;
    case kSortLongitude:
      c = e.lonLetter == 'W' ? (180 - e.lonDegrees) * 60 - e.lonMinutes
                             : (e.lonDegrees + 180) * 60 + e.lonMinutes;
      break;
    case kSortBodyLongitude:
    case kSortBodyDegree:
      if (!InRange(v, key)) {
        c = 0;
      } else if (v.value == kNotComputed || !std::isfinite(v.value)) {
        c = ArchiveSortClassCount(key) - 1;
      } else {
        const long long degrees = static_cast<long long>(std::floor(v.value));
        c = (key == kSortBodyLongitude ? degrees : ((degrees % 30) + 30) % 30) + 1;
      }
      break;
    case kSortBodySpeed:
      c = !InRange(v, key) ? 0 : static_cast<long long>(std::trunc(v.value)) + 15;
      break;
    default:
      return 0;
  }
  const long long last = std::max(ArchiveSortClassCount(key) - 1, 0);
  return static_cast<int>(std::clamp(c, 0LL, last));
}

char CompareArchiveRecords(int key, const ArchiveIndexEntry& a, const ArchiveSortValue& va,
                           const ArchiveIndexEntry& b, const ArchiveSortValue& vb) {
  switch (key) {
    case kSortName:
      return CompareText(a.name, b.name, 35);
    case kSortType:
      return CompareText(a.title, b.title, 30);
    case kSortPlace:
      return CompareText(a.town, b.town, 26);
    case kSortDate: {
      // The astronomers' year numbering puts 1 BC (0) after 2 BC (-1) and before AD 1.
      auto year = [](const ArchiveIndexEntry& e) { return e.era == 'B' ? 1 - e.year : e.year; };
      const char y = CompareValues(year(a), year(b));
      if (y != kCompareEqual) return y;
      [[fallthrough]];
    }
    case kSortDayMonth: {
      const char m = CompareValues(a.month, b.month);
      if (m != kCompareEqual) return m;
      [[fallthrough]];
    }
    case kSortDay:
      return CompareValues(a.day, b.day);
    case kSortTime:
      return CompareValues(a.hours * 60 + a.minutes, b.hours * 60 + b.minutes);
    case kSortZone:
      return CompareValues(SignedArc(a.zoneHours, a.zoneMinutes, a.zoneSign == '-'),
                           SignedArc(b.zoneHours, b.zoneMinutes, b.zoneSign == '-'));
    case kSortLatitude:
      return CompareValues(SignedArc(a.latDegrees, a.latMinutes, a.latLetter == 'S'),
                           SignedArc(b.latDegrees, b.latMinutes, b.latLetter == 'S'));
    case kSortLongitude:
      return CompareValues(SignedArc(a.lonDegrees, a.lonMinutes, a.lonLetter == 'W'),
                           SignedArc(b.lonDegrees, b.lonMinutes, b.lonLetter == 'W'));
    case kSortBodyLongitude:
    case kSortBodySpeed:
      return CompareValues(Thousandths(va, key, false), Thousandths(vb, key, false));
    case kSortBodyDegree:
      return CompareValues(Thousandths(va, key, true), Thousandths(vb, key, true));
    default:
      return kCompareEqual;
  }
}

namespace {

using B = cfg::ArchiveSortParams;
using cfg::Bind;
using cfg::Element;

constexpr cfg::FieldTable kFields{
    Bind(Element{&ArchiveSortParams::keys, 0}, B::kKey1),
    Bind(Element{&ArchiveSortParams::keys, 1}, B::kKey2),
    Bind(Element{&ArchiveSortParams::keys, 2}, B::kKey3),
    Bind(Element{&ArchiveSortParams::bodies, 0}, B::kBody1),
    Bind(Element{&ArchiveSortParams::bodies, 1}, B::kBody2),
    Bind(Element{&ArchiveSortParams::bodies, 2}, B::kBody3),
    Bind(&ArchiveSortParams::descending, B::kDescending, cfg::OnlyOne{}),
    Bind(&ArchiveSortParams::newArchive, B::kNewArchive, cfg::OnlyOne{})};

}  // namespace

ArchiveSortParams ArchiveSortParams::FromBlock(const cfg::ByteBlock& block) {
  ArchiveSortParams p;
  kFields.Read(block, p);
  for (std::size_t k = 0; k < kKeys; ++k) {
    const int key = p.keys[k];
    const bool usable = key >= (k == 0 ? kSortName : kSortNone) && key <= kSortBodySpeed &&
                        (k < 2 || p.keys[1] != kSortNone);
    p.keys[k] = usable ? key : (k == 0 ? kSortName : kSortNone);
    const int limit = p.keys[k] == kSortBodySpeed ? kSpeedBodies : kBodies;
    if (p.bodies[k] < 0 || p.bodies[k] >= limit) p.bodies[k] = 0;
  }
  return p;
}

void ArchiveSortParams::ToBlock(cfg::ByteBlock& block) const { kFields.Write(*this, block); }

bool ArchiveSortParams::NeedsCharts() const {
  return std::any_of(keys.begin(), keys.end(), IsComputedKey);
}

ArchiveSortValue ArchiveSortValueOf(const Chart& chart, int key, int body) {
  ArchiveSortValue v;
  if (key == kSortBodySpeed) {
    if (body >= 0 && body < ArchiveSortParams::kSpeedBodies)
      v.value = chart.points[static_cast<std::size_t>(body)].speed;
  } else if (body >= 0 && body < ArchiveSortParams::kSpeedBodies) {
    v.value = chart.GetPointLongitude(body).Get();
  } else if (body < ArchiveSortParams::kBodies) {
    v.value = chart.GetCusp(body - ArchiveSortParams::kSpeedBodies).Get();
  }
  // A damaged record's value sorts as the record could not be read.
  v.readable = InRange(v, key);
  return v;
}

ArchiveSortValue ArchiveSortClasses::Value(int key, int record) const {
  const auto& v = values[static_cast<std::size_t>(key)];
  return static_cast<std::size_t>(record) < v.size() ? v[static_cast<std::size_t>(record)]
                                                     : ArchiveSortValue{};
}

ArchiveSortClasses BreakToClasses(const std::vector<ArchiveIndexEntry>& index,
                                  const ArchiveSortParams& params,
                                  std::array<std::vector<ArchiveSortValue>, 3> values) {
  ArchiveSortClasses c;
  c.values = std::move(values);
  c.count = std::max(ArchiveSortClassCount(params.keys[0]), 1);
  const int records = static_cast<int>(index.size());
  c.classOf.resize(index.size());
  c.start.assign(static_cast<std::size_t>(c.count) + 1, 0);
  for (int n = 0; n < records; ++n) {
    const int cls =
        ArchiveSortClass(params.keys[0], index[static_cast<std::size_t>(n)], c.Value(0, n));
    c.classOf[static_cast<std::size_t>(n)] = cls;
    ++c.start[static_cast<std::size_t>(cls) + 1];
  }
  // A counting sort: each class's records follow one another, in record order.
  for (int k = 0; k < c.count; ++k)
    c.start[static_cast<std::size_t>(k) + 1] += c.start[static_cast<std::size_t>(k)];
  std::vector<int> next(c.start.begin(), c.start.end() - 1);
  c.grouped.resize(index.size());
  for (int n = 0; n < records; ++n)
    c.grouped[static_cast<std::size_t>(
        next[static_cast<std::size_t>(c.classOf[static_cast<std::size_t>(n)])]++)] = n;
  return c;
}

int ArcSort::Init(int cls) {
  records_.clear();
  if (cls < 0 || cls >= classes_.count) return 0;
  const auto first = classes_.grouped.begin() + classes_.start[static_cast<std::size_t>(cls)];
  const auto last = classes_.grouped.begin() + classes_.start[static_cast<std::size_t>(cls) + 1];
  records_.assign(first, last);
  return static_cast<int>(records_.size());
}

char ArcSort::Compare(int a, int b) const {
  for (int k = 0; k < ArchiveSortParams::kKeys; ++k) {
    const int key = params_.keys[static_cast<std::size_t>(k)];
    if (key == kSortNone) continue;
    const char c =
        CompareArchiveRecords(key, index_[static_cast<std::size_t>(a)], classes_.Value(k, a),
                              index_[static_cast<std::size_t>(b)], classes_.Value(k, b));
    if (c != kCompareEqual) return c;
  }
  return kCompareEqual;
}

void ArcSort::Sort() {
  const char before = params_.descending ? kCompareGreater : kCompareLess;
  std::stable_sort(records_.begin(), records_.end(),
                   [&](int a, int b) { return Compare(a, b) == before; });
}

std::vector<int> OrderClasses(const std::vector<ArchiveIndexEntry>& index,
                              const ArchiveSortParams& params, const ArchiveSortClasses& classes) {
  std::vector<int> order;
  order.reserve(index.size());
  ArcSort sort(index, params, classes);
  for (int i = 0; i < classes.count; ++i) {
    if (sort.Init(params.descending ? classes.count - 1 - i : i) == 0) continue;
    sort.Sort();
    order.insert(order.end(), sort.Records().begin(), sort.Records().end());
  }
  return order;
}

std::vector<int> ArchiveSortOrder(const std::vector<ArchiveIndexEntry>& index,
                                  const std::array<int, 3>& keys,
                                  const std::array<std::vector<ArchiveSortValue>, 3>& values,
                                  bool descending) {
  ArchiveSortParams params;
  params.keys = keys;
  params.descending = descending;
  return OrderClasses(index, params, BreakToClasses(index, params, values));
}
