// The order of the archive sort without files: the class of a record by a key (the first key
// splits the records into classes), the comparison of two records by up to three keys, and the
// resulting order of record numbers. Keys 11..13 use values computed from each record's chart,
// given by the caller.
#pragma once

#include <array>
#include <vector>

struct ArchiveIndexEntry;

enum ArchiveSortKey {
  kSortNone = 0,
  kSortName = 1,
  kSortType = 2,
  kSortDate = 3,
  kSortDayMonth = 4,
  kSortDay = 5,
  kSortTime = 6,
  kSortZone = 7,
  kSortPlace = 8,
  kSortLatitude = 9,
  kSortLongitude = 10,
  kSortBodyLongitude = 11,
  kSortBodyDegree = 12,
  kSortBodySpeed = 13,
};

// The value of a computed key for one record: -777.0 when the body's value was not computed.
struct ArchiveSortValue {
  bool readable = true;  // false: the record could not be read
  double value = -777.0;
};

// The number of classes of a key (98, 72001, ...); 0 for no key.
int ArchiveSortClassCount(int key);
// The class of a record by `key`, always within 0 .. count - 1: a value beyond the key's range
// (zone +12:00, latitude 90 N, longitude 180 E, year 3000 AD, day 0, a speed of 15 degrees a day
// or more, a value not computed) goes into the nearest class, so that no record is lost.
int ArchiveSortClass(int key, const ArchiveIndexEntry& entry, const ArchiveSortValue& value);
// Compares two records by one key: '<', '=' or '>'.
char CompareArchiveRecords(int key, const ArchiveIndexEntry& a, const ArchiveSortValue& va,
                           const ArchiveIndexEntry& b, const ArchiveSortValue& vb);

// The record numbers in sorted order: classes by the first key walked upward (descending:
// downward), each class sorted by the keys in turn (descending: reversed), records equal by every
// key keeping their order. `values[k]` holds the computed values of key k (0..2) per record,
// empty when the key is not computed.
std::vector<int> ArchiveSortOrder(const std::vector<ArchiveIndexEntry>& index,
                                  const std::array<int, 3>& keys,
                                  const std::array<std::vector<ArchiveSortValue>, 3>& values,
                                  bool descending);
