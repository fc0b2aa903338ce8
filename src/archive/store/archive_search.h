// The search of the archive browser: the criteria of the last search (kept in the configuration's
// block cfg::ArchiveSearchCriteria), the record matcher, and the find steps over the browser's
// list of rows.
#pragma once

#include <string>
#include <vector>

#include "foundation/config/byte_block.h"

class ArchiveBrowserList;
class ArchiveComments;
class ArchiveIndex;
class ListLock;
struct ArchiveIndexEntry;

struct ArchiveSearchCriteria {
  struct Date {
    int day = 1, month = 1, year = 1;
    char era = 'A';  // 'A' or 'B'
  };
  struct Angle {
    int degrees = 0, minutes = 0;
    char letter = 'N';  // 'N' or 'S' for latitudes, 'E' or 'W' for longitudes
  };
  static constexpr int kAllPages = 10;

  bool caseSensitive = false;
  bool dateOn = false, dateRange = false;
  Date date1, date2;
  bool latOn = false, latRange = false;
  Angle lat1, lat2;
  bool lonOn = false, lonRange = false;
  Angle lon1{0, 0, 'E'}, lon2{0, 0, 'E'};
  std::string name, place, type, comment;
  bool nameContext = false, placeContext = false, typeContext = false;
  int commentPage = kAllPages;  // 0..9 one page, 10 every page

  static ArchiveSearchCriteria FromBlock(const cfg::ByteBlock& block);
  void ToBlock(cfg::ByteBlock& block) const;
  // The cleared query: no criterion on, no range, both dates 1.1.1 AD, every text empty; the
  // hemisphere letters and the page are kept.
  void Clear();
};

// Tests index entries against one set of criteria; the criteria texts are folded once. Texts are
// compared as they are with the case-sensitive flag, otherwise in their search form (SearchKey:
// upper case, Ё as Е). A date range whose dates do not exist, and a record date that does not
// exist, match nothing.
// `index` holds the records, `comments` their texts; both must outlive the matcher.
class ArchiveMatcher {
 public:
  ArchiveMatcher(const ArchiveIndex& index, const ArchiveComments& comments,
                 const ArchiveSearchCriteria& criteria);
  // Record `record` of the list, its texts read under the caller's checked `lock`.
  bool Matches(int record, const ListLock& lock) const;
  // An entry; without a lock (or a record number) it has no texts.
  bool MatchesEntry(const ArchiveIndexEntry& entry, int record,
                    const ListLock* lock = nullptr) const;
  // The criteria ask for the records' texts.
  bool ReadsTexts() const { return !c_.comment.empty(); }

 private:
  bool MatchText(const std::string& recordText, const std::string& wanted, bool context) const;
  bool MatchComment(int record, const ListLock* lock) const;

  const ArchiveIndex& index_;
  const ArchiveComments& comments_;
  ArchiveSearchCriteria c_;
  bool datesValid_ = false;
  long long day1_ = 0, day2_ = 0;
  int lat1_ = 0, lat2_ = 0, lon1_ = 0, lon2_ = 0;  // signed minutes of arc
};

// The find steps over the browser's rows. "Taking" a row selects it, scrolls it to the top of the
// list, marks its record 'Y' and makes it the result; rows already selected stay selected.
enum class ArchiveFindMode { kFirst = 0, kLast = 1, kPrevious = 2, kNext = 3, kAll = 4 };
struct ArchiveFindResult {
  int row = -1;        // the row taken; for a failed previous/next step the remembered match
  bool found = false;  // false: nothing found (message 487)
  int count = 0;       // rows taken
};
ArchiveFindResult ArchiveFind(ArchiveIndex& index, ArchiveBrowserList& list,
                              const ArchiveMatcher& matcher, ArchiveFindMode mode, int remembered,
                              int visibleRows);
