#include "archive/store/archive_sort.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "archive/store/archive_index_entry.h"
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

// The whole value x 1000 toward zero, as the comparison of computed keys takes it; an unreadable
// record sorts first.
long long Thousandths(const ArchiveSortValue& v, bool withinSign) {
  if (!v.readable) return -2000000000LL;
  double value = v.value;
  if (withinSign && value != kNotComputed) value = std::fmod(value, 30.0);
  return static_cast<long long>(std::trunc(value * 1000.0));
}

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
      if (!v.readable) {
        c = 0;
      } else if (v.value == kNotComputed || !std::isfinite(v.value)) {
        c = ArchiveSortClassCount(key) - 1;
      } else {
        const long long degrees = static_cast<long long>(std::floor(v.value));
        c = (key == kSortBodyLongitude ? degrees : ((degrees % 30) + 30) % 30) + 1;
      }
      break;
    case kSortBodySpeed:
      c = !v.readable || !std::isfinite(v.value) ? 0
                                                 : static_cast<long long>(std::trunc(v.value)) + 15;
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
      return CompareValues(Thousandths(va, false), Thousandths(vb, false));
    case kSortBodyDegree:
      return CompareValues(Thousandths(va, true), Thousandths(vb, true));
    default:
      return kCompareEqual;
  }
}

std::vector<int> ArchiveSortOrder(const std::vector<ArchiveIndexEntry>& index,
                                  const std::array<int, 3>& keys,
                                  const std::array<std::vector<ArchiveSortValue>, 3>& values,
                                  bool descending) {
  const int count = static_cast<int>(index.size());
  auto valueOf = [&](int k, int n) {
    const auto& v = values[static_cast<std::size_t>(k)];
    return static_cast<std::size_t>(n) < v.size() ? v[static_cast<std::size_t>(n)]
                                                  : ArchiveSortValue{};
  };
  const int classes = std::max(ArchiveSortClassCount(keys[0]), 1);
  std::vector<std::vector<int>> byClass(static_cast<std::size_t>(classes));
  for (int n = 0; n < count; ++n)
    byClass[static_cast<std::size_t>(
                ArchiveSortClass(keys[0], index[static_cast<std::size_t>(n)], valueOf(0, n)))]
        .push_back(n);
  auto compare = [&](int a, int b) {
    for (int k = 0; k < 3; ++k) {
      if (keys[static_cast<std::size_t>(k)] == kSortNone) continue;
      const char c = CompareArchiveRecords(keys[static_cast<std::size_t>(k)],
                                           index[static_cast<std::size_t>(a)], valueOf(k, a),
                                           index[static_cast<std::size_t>(b)], valueOf(k, b));
      if (c != kCompareEqual) return c;
    }
    return kCompareEqual;
  };
  std::vector<int> order;
  order.reserve(index.size());
  for (int i = 0; i < classes; ++i) {
    auto& records = byClass[static_cast<std::size_t>(descending ? classes - 1 - i : i)];
    std::stable_sort(records.begin(), records.end(), [&](int a, int b) {
      return compare(a, b) == (descending ? kCompareGreater : kCompareLess);
    });
    order.insert(order.end(), records.begin(), records.end());
  }
  return order;
}
