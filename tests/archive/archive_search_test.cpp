// The archive search: the criteria block, the record matcher on index entries and comment pages.
#include "archive/store/archive_search.h"

#include <gtest/gtest.h>

#include "archive/archive_fixture.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::MakeChart;
using C = ArchiveSearchCriteria;

ArchiveIndexEntry Entry(const std::string& name = "Ivanov", int day = 1, int month = 1,
                        int year = 50, char era = 'B') {
  ArchiveIndexEntry e;
  e.name = name;
  e.title = "natal";
  e.town = "Moskva";
  e.day = static_cast<std::uint16_t>(day);
  e.month = static_cast<std::uint16_t>(month);
  e.year = static_cast<std::uint16_t>(year);
  e.era = era;
  e.latDegrees = 0, e.latMinutes = 30, e.latLetter = 'S';
  e.lonDegrees = 179, e.lonMinutes = 59, e.lonLetter = 'W';
  return e;
}

C DateRange(C::Date from, C::Date to) {
  C c;
  c.dateOn = c.dateRange = true;
  c.date1 = from;
  c.date2 = to;
  return c;
}

class ArchiveSearch : public ArchiveTest {
 protected:
  bool Match(const C& c, const ArchiveIndexEntry& e) const {
    return ArchiveMatcher(archive_.Index(), archive_.Comments(), c).MatchesEntry(e, -1);
  }
};

TEST_F(ArchiveSearch, DatesAndCoordinatesFollowEraAndHemisphere) {
  struct Case {
    const char* name;
    C criteria;
    ArchiveIndexEntry entry;
    bool matches;
  };
  C exact;
  exact.dateOn = true;
  exact.date1 = {1, 1, 50, 'B'};
  C exactAd = exact;
  exactAd.date1.era = 'A';
  C lat;
  lat.latOn = lat.latRange = true;
  lat.lat1 = {10, 0, 'S'};
  lat.lat2 = {10, 0, 'N'};
  C latOutside = lat;
  latOutside.lat2 = {0, 31, 'S'};  // ends south of 0°30' S
  C latExact;
  latExact.latOn = true;
  latExact.lat1 = {0, 30, 'S'};
  C lon;
  lon.lonOn = lon.lonRange = true;
  lon.lon1 = {180, 0, 'W'};
  lon.lon2 = {179, 0, 'W'};
  C lonEast = lon;
  lonEast.lon1 = {0, 0, 'E'};
  lonEast.lon2 = {180, 0, 'E'};
  const Case cases[] = {
      {"bc_range_holds_50_bc", DateRange({10, 5, 100, 'B'}, {1, 1, 1, 'A'}), Entry(), true},
      {"range_ends_included", DateRange({1, 1, 50, 'B'}, {1, 1, 50, 'B'}), Entry(), true},
      {"range_before_record", DateRange({10, 5, 100, 'B'}, {31, 12, 51, 'B'}), Entry(), false},
      {"reversed_range_nothing", DateRange({1, 1, 1, 'A'}, {10, 5, 100, 'B'}), Entry(), false},
      {"reversed_range_same_year", DateRange({2, 1, 1990, 'A'}, {1, 1, 1990, 'A'}),
       Entry("x", 1, 1, 1990, 'A'), false},
      {"range_of_no_date_nothing", DateRange({31, 2, 1990, 'A'}, {1, 1, 2000, 'A'}),
       Entry("x", 1, 1, 1995, 'A'), false},
      {"range_year_0_nothing", DateRange({1, 1, 0, 'A'}, {1, 1, 2000, 'A'}),
       Entry("x", 1, 1, 1995, 'A'), false},
      {"record_of_no_date_outside", DateRange({1, 1, 1, 'A'}, {1, 1, 2000, 'A'}),
       Entry("x", 31, 2, 1995, 'A'), false},
      {"exact_date", exact, Entry(), true},
      {"exact_date_other_era", exactAd, Entry(), false},
      {"lat_10s_10n_holds_0_30s", lat, Entry(), true},
      {"lat_range_above_record", latOutside, Entry(), false},
      {"lat_exact", latExact, Entry(), true},
      {"lon_west_range", lon, Entry(), true},
      {"lon_east_range", lonEast, Entry(), false},
      {"nothing_on_everything", C{}, Entry(), true},
  };
  for (const Case& c : cases) EXPECT_EQ(Match(c.criteria, c.entry), c.matches) << c.name;
}

TEST_F(ArchiveSearch, TextsByContextCaseAndTrailingBlanks) {
  struct Case {
    const char* name;
    std::string field;  // "name", "type" or "place"
    std::string wanted;
    bool context, caseSensitive;
    std::string recordText;
    bool matches;
  };
  const std::string korolyov = Cp1251("Королёв Сергей");
  const Case cases[] = {
      {"empty_ignores", "name", "", false, false, "anything", true},
      {"part_any_case", "name", "van", true, false, "IVANOV", true},
      {"part_needs_context", "name", "van", false, false, "IVANOV", false},
      {"trailing_blanks_cut", "name", "Ivanov", false, true, "Ivanov   ", true},
      {"case_sensitive_differs", "name", "ivanov", false, true, "Ivanov", false},
      {"cyrillic_lower_finds_upper", "name", Cp1251("королев"), true, false, korolyov, true},
      {"yo_and_e_alike", "name", Cp1251("КОРОЛЁВ СЕРГЕЙ"), false, false, Cp1251("Королев Сергей"),
       true},
      {"case_sensitive_cyrillic", "name", Cp1251("королёв"), true, true, korolyov, false},
      {"type_against_second_text", "type", "NAT", true, false, "natal", true},
      {"place_exact", "place", "moskva", false, false, "Moskva ", true},
      {"place_other", "place", "kiev", true, false, "Moskva", false},
  };
  for (const Case& c : cases) {
    C criteria;
    criteria.caseSensitive = c.caseSensitive;
    ArchiveIndexEntry e = Entry();
    std::string* target = &e.name;
    if (c.field == "name") criteria.name = c.wanted, criteria.nameContext = c.context;
    if (c.field == "type") {
      criteria.type = c.wanted, criteria.typeContext = c.context;
      target = &e.title;
    }
    if (c.field == "place") {
      criteria.place = c.wanted, criteria.placeContext = c.context;
      target = &e.town;
    }
    *target = c.recordText;
    EXPECT_EQ(Match(criteria, e), c.matches) << c.name;
  }
}

TEST_F(ArchiveSearch, CommentTextIsSoughtOnTheChosenPages) {
  OpenArchive("c.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")});
  archive_.saveTargetMode = 0;
  archive_.Comments().SetCommentText(Cp1251("Встреча у ЁЛКИ"));
  ASSERT_EQ(archive_.Comments().SaveComment(0, 3), 0);
  archive_.Comments().SetCommentText("nothing here");
  ASSERT_EQ(archive_.Comments().SaveComment(1, 3), 0);
  archive_.Comments().SetCommentText(Cp1251("ёлки"));
  ASSERT_EQ(archive_.Comments().SaveComment(2, 5), 0);
  struct Case {
    const char* name;
    int page;
    bool caseSensitive;
    std::vector<bool> matches;
  };
  const Case cases[] = {
      {"all_pages", C::kAllPages, false, {true, false, true}},
      {"page_3_only", 3, false, {true, false, false}},
      {"page_5_only", 5, false, {false, false, true}},
      {"case_sensitive", C::kAllPages, true, {false, false, true}},
  };
  for (const Case& c : cases) {
    C criteria;
    criteria.comment = Cp1251("ёлки");
    criteria.commentPage = c.page;
    criteria.caseSensitive = c.caseSensitive;
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(archive_.Query().MatchRecord(n, criteria), c.matches[static_cast<std::size_t>(n)])
          << c.name << " record " << n;
  }
}

TEST_F(ArchiveSearch, CriteriaRoundTripThroughTheConfigurationBlock) {
  C c;
  c.caseSensitive = true;
  c.dateOn = c.dateRange = true;
  c.date1 = {10, 5, 100, 'B'};
  c.date2 = {3, 4, 1990, 'A'};
  c.latOn = true;
  c.lat1 = {55, 45, 'S'};
  c.lonOn = c.lonRange = true;
  c.lon2 = {37, 37, 'W'};
  c.name = Cp1251("Иванов");
  c.nameContext = true;
  c.place = "Moskva";
  c.type = "natal";
  c.typeContext = true;
  c.comment = "text";
  c.commentPage = 4;
  cfg::ByteBlock block(cfg::ArchiveSearchCriteria::kSize);
  c.ToBlock(block);
  EXPECT_EQ(block.Get(cfg::ArchiveSearchCriteria::kDate1Era), 'B');
  EXPECT_EQ(block.Get(cfg::ArchiveSearchCriteria::kLat1Letter), 'S');
  const C back = C::FromBlock(block);
  EXPECT_EQ(back.date1.year, 100);
  EXPECT_EQ(back.date1.era, 'B');
  EXPECT_EQ(back.lat1.letter, 'S');
  EXPECT_EQ(back.lon2.letter, 'W');
  EXPECT_EQ(back.name, c.name);
  EXPECT_EQ(back.commentPage, 4);
  EXPECT_TRUE(back.caseSensitive && back.nameContext && back.typeContext && !back.placeContext);
  // The search in the settings of the context is the one MatchRecord applies.
  OpenArchive("m.arc", kLayout4400, {MakeChart("Ivanov"), MakeChart("Petrov")});
  Configuration config;
  C byName;
  byName.name = "petrov";
  byName.ToBlock(config.archiveSearch);
  const ChartContext context(config);
  EXPECT_FALSE(archive_.Query().MatchRecord(0, context));
  EXPECT_TRUE(archive_.Query().MatchRecord(1, context));
  EXPECT_FALSE(archive_.Query().MatchRecord(2, context));
}

}  // namespace
