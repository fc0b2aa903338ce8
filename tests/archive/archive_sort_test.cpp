// The order of the archive sort: classes of the keys at their boundaries, the comparisons and
// the whole order, ascending and descending.
#include "archive/store/archive_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "archive/store/archive_index_entry.h"
#include "archive_fixture.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/text/collation.h"
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

// Damaged records: values a chart never holds sort as records that could not be read, both in
// the class of the first key and in the comparison of the others.
TEST(ArchiveSortOrder, OutOfRangeStoredValuesSortAsUnreadableRecords) {
  struct Case {
    const char* name;
    int key, body;
    double stored;
  } const cases[] = {
      {"huge_longitude", kSortBodyLongitude, 0, 1e300},
      {"huge_negative_longitude", kSortBodyLongitude, 1, -1e300},
      {"longitude_not_a_number", kSortBodyDegree, 2, std::nan("")},
      {"longitude_infinite", kSortBodyDegree, 2, HUGE_VAL},
      {"cusp_past_a_turn", kSortBodyLongitude, 30, 720.0},
      {"huge_speed", kSortBodySpeed, 1, 1e300},
      {"huge_negative_speed", kSortBodySpeed, 9, -1e19},
  };
  const ArchiveSortValue unreadable{false, 0.0};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Chart chart;
    for (PointRecord& p : chart.points) p.longitude.Set(10.0);
    if (c.body < ArchiveSortParams::kSpeedBodies) {
      if (c.key == kSortBodySpeed)
        chart.points[static_cast<std::size_t>(c.body)].speed = c.stored;
      else
        chart.points[static_cast<std::size_t>(c.body)].longitude.Set(c.stored);
    } else {
      chart.cusps[static_cast<std::size_t>(c.body - ArchiveSortParams::kSpeedBodies)].Set(c.stored);
    }
    const ArchiveSortValue v = ArchiveSortValueOf(chart, c.key, c.body);
    EXPECT_FALSE(v.readable);
    // Even when handed over as readable, the value is never converted.
    const ArchiveSortValue raw{true, c.stored};
    EXPECT_EQ(ArchiveSortClass(c.key, Entry(), raw), 0);
    EXPECT_EQ(CompareArchiveRecords(c.key, Entry(), raw, Entry(), unreadable), kCompareEqual);
    EXPECT_EQ(CompareArchiveRecords(c.key, Entry(), raw, Entry(), {true, 0.0}), kCompareLess);
  }
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

namespace archive_test {
namespace {

using platform::Answer;

TEST(ArchiveSortParams, StoredChoicesThatNoSortCanTakeAreReadSoundly) {
  struct Case {
    const char* name;
    std::array<int, 3> keys, bodies;
    std::array<int, 3> expectedKeys, expectedBodies;
  };
  const Case cases[] = {
      {"kept",
       {kSortBodySpeed, kSortBodyLongitude, kSortName},
       {29, 41, 5},
       {kSortBodySpeed, kSortBodyLongitude, kSortName},
       {29, 41, 5}},
      {"first_key_none", {0, 3, 0}, {0, 0, 0}, {kSortName, kSortDate, 0}, {0, 0, 0}},
      {"key_beyond", {14, -1, 99}, {0, 0, 0}, {kSortName, 0, 0}, {0, 0, 0}},
      {"third_after_unused_second",
       {kSortName, 0, kSortTime},
       {0, 0, 0},
       {kSortName, 0, 0},
       {0, 0, 0}},
      {"cusp_for_speed",
       {kSortBodySpeed, kSortBodyDegree, 0},
       {30, 42, 0},
       {kSortBodySpeed, kSortBodyDegree, 0},
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    ArchiveSortParams written;
    written.keys = c.keys, written.bodies = c.bodies, written.descending = true;
    cfg::ByteBlock block(cfg::ArchiveSortParams::kSize);
    written.ToBlock(block);
    const ArchiveSortParams read = ArchiveSortParams::FromBlock(block);
    EXPECT_EQ(read.keys, c.expectedKeys) << c.name;
    EXPECT_EQ(read.bodies, c.expectedBodies) << c.name;
    EXPECT_TRUE(read.descending) << c.name;
  }
}

class ArchiveSortTest : public ArchiveTest {
 protected:
  // A chart whose Sun stands at `sun` (-777: not computed) with a zone of `zone` hours.
  static Chart SortChart(const std::string& name, double sun, int zone = 3) {
    Chart c = MakeChart(name);
    c.points[0].longitude.Set(sun);
    c.points[0].speed = 0.9856;
    c.cusps[0].Set(100.0);
    EXPECT_TRUE(
        c.definition.sources[0].zone.SetTime(std::abs(zone), 0, 0, zone < 0 ? '-' : '+').ok());
    return c;
  }
  int Sort(const ArchiveSortParams& params) {
    if (archive_.Sorting().BreakToClasses(params) != 0) return -1;
    const int result = archive_.Sorting().OrderClasses(params);
    archive_.Sorting().FreeClasses();
    return result;
  }
  // Pages 0 and 3 of records C and A.
  void OpenWithTexts() {
    WriteFile(PathOf("s.ar0"), "ccAA");
    WriteFile(PathOf("s.ar3"), "aaa");
    OpenArchive("s.arc", kLayout4400,
                {SortChart("C", 200.0), SortChart("B", -777.0), SortChart("A", 10.5)},
                {Block({{0, 0, 2}}), CommentRefBlock(), Block({{0, 2, 2}, {3, 0, 3}})});
  }
};

TEST_F(ArchiveSortTest, InPlaceByAComputedKeyKeepsEveryRecordAndLayout) {
  struct Case {
    const char* name;
    int layout;
    ArchiveSortParams params;
    std::vector<std::string> expected;
  };
  ArchiveSortParams bySun;
  bySun.keys = {kSortBodyLongitude, kSortName, kSortNone};
  ArchiveSortParams bySunDown = bySun;
  bySunDown.descending = true;
  ArchiveSortParams byZone;  // zones at both ends of the class range
  byZone.keys = {kSortZone, kSortNone, kSortNone};
  ArchiveSortParams byCusp;  // the cusp of the first house is equal: the name decides
  byCusp.keys = {kSortBodyDegree, kSortName, kSortNone};
  byCusp.bodies = {30, 0, 0};
  const Case cases[] = {
      {"sun_4000", kLayout4000, bySun, {"A", "D", "C", "B"}},
      {"sun_4200_descending", kLayout4200, bySunDown, {"B", "C", "D", "A"}},
      {"zone_4400", kLayout4400, byZone, {"D", "A", "C", "B"}},
      {"cusp_4000", kLayout4000, byCusp, {"A", "B", "C", "D"}},
  };
  for (const Case& c : cases) {
    OpenArchive("z.arc", c.layout,
                {SortChart("C", 200.0, 12), SortChart("B", -777.0, 12), SortChart("A", 10.5, 0),
                 SortChart("D", 10.75, -12)});
    ASSERT_EQ(Sort(c.params), 0) << c.name;
    EXPECT_EQ(Names(), c.expected) << c.name;
    // The file holds the records in that order, in its own layout (4000 stays headerless).
    Archive fresh(slots_);
    ASSERT_EQ(fresh.SetPath(PathOf("z.arc")), c.layout) << c.name;
    ASSERT_EQ(fresh.CreateIndex(), 0) << c.name;
    for (int n = 0; n < 4; ++n) EXPECT_EQ(fresh.Entry(n), archive_.Entry(n)) << c.name << n;
    EXPECT_EQ(ReadFile(PathOf("z.arc")).size(), static_cast<std::size_t>(RecordOffset(c.layout, 4)))
        << c.name;
  }
}

TEST_F(ArchiveSortTest, IntoANewArchiveTheCurrentStaysAndTheNewBecomesCurrent) {
  OpenWithTexts();
  const auto before = Snapshot(folder_.Path());
  ArchiveSortParams params;
  params.keys = {kSortName, kSortNone, kSortNone};
  params.newArchive = true;
  prompts_.ExpectFile(PathOf("sorted"));  // ".arc" is added
  ASSERT_EQ(Sort(params), 0);
  for (const auto& [name, bytes] : before) EXPECT_EQ(ReadFile(PathOf(name)), bytes) << name;
  EXPECT_EQ(archive_.GetPath(), PathOf("sorted.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames().front(), PathOf("sorted.arc"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  std::string text;
  ASSERT_EQ(archive_.Comments().LoadComment(0, 3, text), 0);
  EXPECT_EQ(text, "aaa");
  ASSERT_EQ(archive_.Comments().LoadComment(2, 0, text), 0);
  EXPECT_EQ(text, "cc");
  EXPECT_FALSE(std::filesystem::exists(PathOf("sorted.ar1")));
}

TEST_F(ArchiveSortTest, ATargetThatWouldLoseAFileIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    std::string chosen;
    std::vector<std::pair<int, Answer>> answers;
    int result;
    int message;  // shown, or 0
  };
  const Case cases[] = {
      {"cancelled", "", {}, -2, 0},
      {"current_archive", PathOf("s.arc"), {}, -1, 2121},
      {"current_archive_without_extension", PathOf("s"), {}, -1, 2121},
      // Another name whose comment files are the current archive's: "s.arC" and "S.ARC" have
      // "s.ar0" (and "S.AR0"), which would be shared and then dropped.
      {"extension_in_another_case", PathOf("s.arC"), {}, -1, 2121},
      {"name_in_capitals", PathOf("S.ARC"), {}, -1, 2121},
      {"hard_link_to_the_current", PathOf("link.arc"), {}, -1, 2121},
      {"existing_answered_no", PathOf("t.arc"), {{74, Answer::No}}, -1, 0},
  };
  for (const Case& c : cases) {
    OpenWithTexts();
    WriteFile(PathOf("t.arc"), ArchiveBytes(kLayout4400, {MakeChart("T")}, {Block({{0, 0, 1}})}));
    WriteFile(PathOf("t.ar0"), "t");
    std::filesystem::remove(PathOf("link.arc"));
    std::filesystem::create_hard_link(PathOf("s.arc"), PathOf("link.arc"));
    const auto before = Snapshot(folder_.Path());
    testing_support::ScriptedPrompter prompts;
    prompts.ExpectFile(c.chosen);
    for (const auto& [number, answer] : c.answers) prompts.Expect(number, answer);
    ArchiveSortParams params;
    params.newArchive = true;
    EXPECT_EQ(Sort(params), c.result) << c.name;
    EXPECT_EQ(Snapshot(folder_.Path()), before) << c.name;
    EXPECT_EQ(archive_.GetPath(), PathOf("s.arc")) << c.name;
    if (c.message) {
      EXPECT_TRUE(prompts.WasShown(c.message)) << c.name;
    }
    prompts.VerifyAllUsed();
  }
}

}  // namespace
}  // namespace archive_test
