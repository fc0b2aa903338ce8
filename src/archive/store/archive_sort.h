// The order of the archive sort without files: the choices of the last sort (kept in the
// configuration's block cfg::ArchiveSortParams), the class of a record by a key (the first key
// splits the records into classes), the comparison of two records by up to three keys, and the
// resulting order of record numbers. Keys 11..13 use values taken from each record's chart.
#pragma once

#include <array>
#include <vector>

#include "foundation/config/byte_block.h"

class Chart;
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

// The choices of a sort. Bodies 0..29 are the chart's points, 30..41 the cusps of houses 1..12.
struct ArchiveSortParams {
  static constexpr int kKeys = 3;
  static constexpr int kBodies = 42;
  static constexpr int kSpeedBodies = 30;

  std::array<int, kKeys> keys{kSortName, kSortNone, kSortNone};
  std::array<int, kKeys> bodies{0, 0, 0};
  bool descending = false;
  bool newArchive = false;

  // Values no sort can take are read as the nearest sound choice: a first key outside 1..13 as the
  // name, a later key outside 0..13 (and the third after an unused second) as not used, a body
  // outside the list, or a cusp for the speed, as the Sun.
  static ArchiveSortParams FromBlock(const cfg::ByteBlock& block);
  void ToBlock(cfg::ByteBlock& block) const;
  // True when a key in use is taken from each record's chart (keys 11..13).
  bool NeedsCharts() const;
};

// The value of a computed key (11..13) for body `body` of a chart: the longitude of the point or
// cusp, or the point's speed; -777.0 when the chart does not hold it.
ArchiveSortValue ArchiveSortValueOf(const Chart& chart, int key, int body);

// The number of classes of a key (98, 72001, ...); 0 for no key.
int ArchiveSortClassCount(int key);
// The class of a record by `key`, always within 0 .. count - 1: a value beyond the key's range
// (zone +12:00, latitude 90 N, longitude 180 E, year 3000 AD, day 0, a speed of 15 degrees a day
// or more, a value not computed) goes into the nearest class, so that no record is lost.
int ArchiveSortClass(int key, const ArchiveIndexEntry& entry, const ArchiveSortValue& value);
// Compares two records by one key: '<', '=' or '>'.
char CompareArchiveRecords(int key, const ArchiveIndexEntry& a, const ArchiveSortValue& va,
                           const ArchiveIndexEntry& b, const ArchiveSortValue& vb);

// The class array of a sort: the class of every record by the first key, the values of the
// computed keys, and the record numbers grouped class by class.
struct ArchiveSortClasses {
  int count = 0;                                        // classes of the first key
  std::vector<int> classOf;                             // per record
  std::array<std::vector<ArchiveSortValue>, 3> values;  // per key in use that is computed
  std::vector<int> grouped;  // record numbers, class by class, in record order
  std::vector<int> start;    // class c holds grouped[start[c] .. start[c + 1])

  ArchiveSortValue Value(int key, int record) const;
};

// Classifies every record by the first key. `values[k]` holds the values of key k per record when
// the key is computed (else it may be empty).
ArchiveSortClasses BreakToClasses(const std::vector<ArchiveIndexEntry>& index,
                                  const ArchiveSortParams& params,
                                  std::array<std::vector<ArchiveSortValue>, 3> values);

// The records of one class ordered by every key in use: the unit of work of the sort.
class ArcSort {
 public:
  ArcSort(const std::vector<ArchiveIndexEntry>& index, const ArchiveSortParams& params,
          const ArchiveSortClasses& classes)
      : index_(index), params_(params), classes_(classes) {}
  // Collects the records of class `cls`: their number, 0 for an empty class.
  int Init(int cls);
  // Orders them (descending: reversed), records equal by every key keeping their order.
  void Sort();
  const std::vector<int>& Records() const { return records_; }

 private:
  char Compare(int a, int b) const;

  const std::vector<ArchiveIndexEntry>& index_;
  const ArchiveSortParams& params_;
  const ArchiveSortClasses& classes_;
  std::vector<int> records_;
};

// The record numbers in the order of the classes (upward; descending: downward), each class
// ordered by ArcSort.
std::vector<int> OrderClasses(const std::vector<ArchiveIndexEntry>& index,
                              const ArchiveSortParams& params, const ArchiveSortClasses& classes);

// The record numbers in sorted order: classes by the first key walked upward (descending:
// downward), each class sorted by the keys in turn (descending: reversed), records equal by every
// key keeping their order. `values[k]` holds the computed values of key k (0..2) per record,
// empty when the key is not computed.
std::vector<int> ArchiveSortOrder(const std::vector<ArchiveIndexEntry>& index,
                                  const std::array<int, 3>& keys,
                                  const std::array<std::vector<ArchiveSortValue>, 3>& values,
                                  bool descending);
