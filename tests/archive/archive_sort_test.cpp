// The order of the archive sort: classes of the keys at their boundaries, the comparisons and
// the whole order, ascending and descending.
#include "archive/store/archive_sort.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "archive/store/archive_index_entry.h"
#include "foundation/text/cp1251.h"

namespace {

ArchiveIndexEntry Entry() {
  ArchiveIndexEntry e;
  e.name = "A";
  e.day = 15, e.month = 6, e.year = 1990, e.era = 'A';
  e.hours = 12, e.minutes = 30;
  e.zoneHours = 3, e.zoneSign = '+';
  e.latDegrees = 55, e.latLetter = 'N';
  e.lonDegrees = 37, e.lonLetter = 'E';
  return e;
}

TEST(ArchiveSortClass, EveryRecordGetsAClassInsideTheKeysRange) {
  struct Case {
    const char* name;
    int key;
    void (*edit)(ArchiveIndexEntry&);
    ArchiveSortValue value;
    int expected;
  };
  const Case cases[] = {
      {"name_blank_first", kSortName, [](ArchiveIndexEntry& e) { e.name = " x"; }, {}, 0},
      {"name_empty_as_blank", kSortName, [](ArchiveIndexEntry& e) { e.name.clear(); }, {}, 0},
      {"name_latin_lower", kSortName, [](ArchiveIndexEntry& e) { e.name = "b"; }, {}, 14},
      {"name_yo_after_ye", kSortName, [](ArchiveIndexEntry& e) { e.name = Cp1251("ё"); }, {}, 45},
      {"name_outside", kSortName, [](ArchiveIndexEntry& e) { e.name = "{"; }, {}, 97},
      {"date_1990_june", kSortDate, [](ArchiveIndexEntry&) {}, {}, (1990 + 3000) * 12 + 5},
      {"date_1_bc_january",
       kSortDate,
       [](ArchiveIndexEntry& e) { e.year = 1, e.era = 'B', e.month = 1; },
       {},
       2999 * 12},
      {"date_3000_ad_clamped", kSortDate, [](ArchiveIndexEntry& e) { e.year = 3000; }, {}, 72000},
      {"date_year_0", kSortDate, [](ArchiveIndexEntry& e) { e.year = 0; }, {}, 72000},
      {"day_month_day_0",
       kSortDayMonth,
       [](ArchiveIndexEntry& e) { e.month = 1, e.day = 0; },
       {},
       0},
      {"day_0", kSortDay, [](ArchiveIndexEntry& e) { e.day = 0; }, {}, 0},
      {"zone_plus_12", kSortZone, [](ArchiveIndexEntry& e) { e.zoneHours = 12; }, {}, 1439},
      {"zone_minus_12",
       kSortZone,
       [](ArchiveIndexEntry& e) { e.zoneHours = 12, e.zoneSign = '-'; },
       {},
       0},
      {"lat_90_n", kSortLatitude, [](ArchiveIndexEntry& e) { e.latDegrees = 90; }, {}, 10799},
      {"lat_90_s",
       kSortLatitude,
       [](ArchiveIndexEntry& e) { e.latDegrees = 90, e.latLetter = 'S'; },
       {},
       0},
      {"lon_180_e", kSortLongitude, [](ArchiveIndexEntry& e) { e.lonDegrees = 180; }, {}, 21599},
      {"lon_0", kSortLongitude, [](ArchiveIndexEntry& e) { e.lonDegrees = 0; }, {}, 10800},
      {"longitude_359_9", kSortBodyLongitude, [](ArchiveIndexEntry&) {}, {true, 359.9}, 360},
      {"longitude_not_computed",
       kSortBodyLongitude,
       [](ArchiveIndexEntry&) {},
       {true, -777.0},
       361},
      {"longitude_unreadable", kSortBodyLongitude, [](ArchiveIndexEntry&) {}, {false, 10.0}, 0},
      {"degree_of_sign", kSortBodyDegree, [](ArchiveIndexEntry&) {}, {true, 45.5}, 16},
      {"degree_not_computed", kSortBodyDegree, [](ArchiveIndexEntry&) {}, {true, -777.0}, 31},
      {"speed_moon_15", kSortBodySpeed, [](ArchiveIndexEntry&) {}, {true, 15.2}, 29},
      {"speed_retrograde", kSortBodySpeed, [](ArchiveIndexEntry&) {}, {true, -1.5}, 14},
      {"speed_not_computed", kSortBodySpeed, [](ArchiveIndexEntry&) {}, {true, -777.0}, 0},
  };
  for (const Case& c : cases) {
    ArchiveIndexEntry e = Entry();
    c.edit(e);
    const int cls = ArchiveSortClass(c.key, e, c.value);
    EXPECT_EQ(cls, c.expected) << c.name;
    EXPECT_GE(cls, 0) << c.name;
    EXPECT_LT(cls, ArchiveSortClassCount(c.key)) << c.name;
  }
}

TEST(ArchiveSortOrder, NamesDatesAndDescendingMirror) {
  std::vector<ArchiveIndexEntry> index;
  for (const char* name : {"Zed", "-x", "Abc", "_y", "7", "{", "abd", "Ж", "Ё", "Е", "!"}) {
    ArchiveIndexEntry e = Entry();
    e.name = Cp1251(name);
    index.push_back(e);
  }
  const std::vector<int> up = ArchiveSortOrder(index, {kSortName, 0, 0}, {}, false);
  // Blank, '_', '-', digits, Latin, Cyrillic with Ё between Е and Ж, punctuation, then the rest.
  EXPECT_EQ(up, (std::vector<int>{3, 1, 4, 2, 6, 0, 9, 8, 7, 10, 5}));
  std::vector<int> down = ArchiveSortOrder(index, {kSortName, 0, 0}, {}, true);
  std::reverse(down.begin(), down.end());
  EXPECT_EQ(down, up);

  std::vector<ArchiveIndexEntry> dates;
  for (auto [year, era] : {std::pair{1, 'A'}, std::pair{1, 'B'}, std::pair{2, 'B'},
                           std::pair{3000, 'A'}, std::pair{0, 'A'}}) {
    ArchiveIndexEntry e = Entry();
    e.year = static_cast<std::uint16_t>(year);
    e.era = era;
    dates.push_back(e);
  }
  const std::vector<int> byDate = ArchiveSortOrder(dates, {kSortDate, 0, 0}, {}, false);
  ASSERT_EQ(byDate.size(), dates.size()) << "no record lost";
  // 2 BC, 1 BC, AD 1; year 3000 and year 0 share the last class, ordered within it.
  EXPECT_EQ(byDate, (std::vector<int>{2, 1, 0, 4, 3}));
}

TEST(ArchiveSortOrder, SecondKeyOrdersWithinTheFirstAndValuesAreUsed) {
  std::vector<ArchiveIndexEntry> index(4, Entry());
  index[0].name = "B", index[0].hours = 5;
  index[1].name = "A", index[1].hours = 9;
  index[2].name = "A", index[2].hours = 1;
  index[3].name = "B", index[3].hours = 0;
  EXPECT_EQ(ArchiveSortOrder(index, {kSortName, kSortTime, 0}, {}, false),
            (std::vector<int>{2, 1, 3, 0}));
  const std::array<std::vector<ArchiveSortValue>, 3> values = {
      std::vector<ArchiveSortValue>{{true, 200.5}, {true, -777.0}, {false, 0}, {true, 10.25}}};
  EXPECT_EQ(ArchiveSortOrder(index, {kSortBodyLongitude, 0, 0}, values, false),
            (std::vector<int>{2, 3, 0, 1}));
}

}  // namespace
