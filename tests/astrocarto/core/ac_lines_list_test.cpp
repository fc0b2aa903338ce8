#include "astrocarto/core/ac_lines_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"
#include "map_test_support.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::RecordedCall;
using platform::RecordingDc;
using testing_support::TempFolder;

struct DistanceCase {
  const char* name;
  double angle, body;
  double d;  // by hand
};

class CuspDistance : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(CuspDistance, IsPositiveWhenTheAngleLiesAhead) {
  const DistanceCase& c = GetParam();
  EXPECT_DOUBLE_EQ(SignedCuspDistance(c.angle, c.body), c.d);
}

const DistanceCase kDistances[] = {
    {"on_the_angle", 100, 100, 0},
    {"angle_ahead", 101, 100, 1},
    {"angle_behind", 99, 100, -1},
    {"ahead_across_aries", 10, 350, 20},
    {"behind_across_aries", 350, 10, -20},
    {"opposite_counts_behind", 280, 100, -180},
    {"just_short_of_opposite", 279, 100, 179},
};
INSTANTIATE_TEST_SUITE_P(TownList, CuspDistance, ::testing::ValuesIn(kDistances),
                         [](const auto& info) { return std::string(info.param.name); });

struct OrbCase {
  const char* name;
  double d;
  int orbBefore, orbAfter;
  std::optional<int> listed;  // arc-minutes: negative before the cusp, positive after it
};

class Orbs : public ::testing::TestWithParam<OrbCase> {};

TEST_P(Orbs, AreStrictOnBothSides) {
  const OrbCase& c = GetParam();
  EXPECT_EQ(ListedDistance(c.d, c.orbBefore, c.orbAfter), c.listed);
}

const OrbCase kOrbs[] = {
    {"exactly_on_the_angle", 0.0, 60, 60, 0},
    {"before_inside", 0.5, 60, 60, -30},
    {"before_equal_to_the_orb", 1.0, 60, 60, std::nullopt},
    {"before_beyond", 1.5, 60, 60, std::nullopt},
    {"after_inside", -0.5, 60, 60, 30},
    {"after_equal_to_the_orb", -1.0, 60, 60, std::nullopt},
    {"after_with_the_larger_after_orb", -1.0, 10, 61, 60},
    {"before_beyond_the_smaller_before_orb", 0.2, 10, 61, std::nullopt},
    {"minutes_truncated", 0.999, 60, 60, -59},
};
INSTANTIATE_TEST_SUITE_P(TownList, Orbs, ::testing::ValuesIn(kOrbs),
                         [](const auto& info) { return std::string(info.param.name); });

ACLinesListPage OnlyLines(std::array<bool, 4> lines, int orb) {
  ACLinesListPage page;
  page.lines = lines;
  page.orbBefore = page.orbAfter = orb;
  return page;
}

double Wrap180(double longitude) { return std::remainder(longitude, 360.0); }

TEST(TownList, TownsOnTheBodysMeridiansAreListedOnTheirLines) {
  // At J2000.0 a body at 123.4 degrees culminates on the meridian the map's MC line takes; towns
  // there (to the atlas's whole minute) and on the opposite meridian, and one a quarter turn
  // away.
  const LineMoment moment = MakeLineMoment(JdUt{2451545.0});
  const double mc = MidheavenLongitude(moment, 123.4);
  TempFolder dir;
  TOWNS towns;
  const double toMinute = 60.0;
  map_test::LoadAtlas(towns, dir.Path(),
                      {{"OnMc", 45.0, std::round(mc * toMinute) / toMinute},
                       {"OnIc", -20.0, std::round(Wrap180(mc + 180) * toMinute) / toMinute},
                       {"Aside", 45.0, std::round(Wrap180(mc + 90) * toMinute) / toMinute}});

  ACLinesList list;
  list.Reset(ACLinesList::Mode::kLines, 3 * 2);
  list.FillLines(towns, moment, 5, 123.4, OnlyLines({false, true, false, true}, 2));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Entries()[0].town, 0);
  EXPECT_EQ(list.Entries()[0].line, 'M');
  EXPECT_EQ(list.Entries()[0].body, 5);
  EXPECT_LE(std::abs(list.Entries()[0].distance), 1);  // half a minute of longitude off
  EXPECT_EQ(list.Entries()[1].town, 1);
  EXPECT_EQ(list.Entries()[1].line, 'I');
  EXPECT_FALSE(list.Dropped());

  // Only the lines chosen are listed; a body without a longitude lists nothing.
  list.Reset(ACLinesList::Mode::kLines, 3);
  list.FillLines(towns, moment, 5, 123.4, OnlyLines({false, true, false, false}, 2));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Entries()[0].line, 'I');
  list.Reset(ACLinesList::Mode::kLines, 12);
  list.FillLines(towns, moment, 5, -777.0, OnlyLines({true, true, true, true}, 1000));
  EXPECT_EQ(list.Count(), 0);
}

// A band from 50 N to 51 N around a crossing at 50 30 N, in arc-seconds.
Crossing BandCrossing() {
  Crossing c;
  c.firstBody = 0;
  c.firstAngle = 'A';
  c.secondBody = 1;
  c.secondAngle = 'M';
  c.latitude = 50 * 3600 + 30 * 60;
  c.longitude = -(10 * 3600);
  c.upper = 51 * 3600;
  c.lower = 50 * 3600;
  return c;
}

class CrossingList : public ::testing::Test {
 protected:
  void SetUp() override {
    map_test::LoadAtlas(towns_, dir_.Path(),
                        {{"Below", 49.0 + 59.0 / 60, 0},
                         {"Lower", 50.0, 5},
                         {"Inside", 50.75, -120},
                         {"Upper", 51.0, 30},
                         {"Above", 51.0 + 1.0 / 60, 0}});
  }
  TempFolder dir_;
  TOWNS towns_;
};

TEST_F(CrossingList, ListsTheTownsOfTheBandBothEdgesIncluded) {
  ACLinesList list;
  list.Reset(ACLinesList::Mode::kCrossing, towns_.Count());
  list.FillCrossing(towns_, BandCrossing());
  const std::vector<ACLinesEntry> expected{{1, 0, '0', -30}, {2, 0, '0', 15}, {3, 0, '0', 30}};
  EXPECT_EQ(list.Entries(), expected);
  EXPECT_FALSE(list.Dropped());
}

TEST_F(CrossingList, AFullListIsNoFaultOnlyADroppedRowIs) {
  ACLinesList list;
  // Exactly as many rows as towns in the band: full, nothing dropped.
  list.Reset(ACLinesList::Mode::kCrossing, 3);
  list.FillCrossing(towns_, BandCrossing());
  EXPECT_EQ(list.Count(), 3);
  EXPECT_FALSE(list.Dropped());
  // One row short: the third is dropped and the fill ends.
  list.Reset(ACLinesList::Mode::kCrossing, 2);
  list.FillCrossing(towns_, BandCrossing());
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.Dropped());
  EXPECT_FALSE(list.AddEvent({4, 0, '0', 0}));
}

TEST(TownList, TownNumbersBeyondSixteenBitsStay) {
  // 40 000 towns at the equator and the last one in the band.
  std::vector<map_test::Town> atlas(40000, {"T", 0.0, 0.0});
  atlas.back() = {"Last", 50.5, 1.0};
  TempFolder dir;
  TOWNS towns;
  map_test::LoadAtlas(towns, dir.Path(), atlas);
  ACLinesList list;
  list.Reset(ACLinesList::Mode::kCrossing, 40000);
  list.FillCrossing(towns, BandCrossing());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Entries()[0].town, 39999);
}

TEST(TownListSettings, RoundTripRangesAndTheLineRule) {
  ACLinesListPage page;
  page.body = 29;
  page.screenFontSize = 100;
  page.printFontSize = 10000;
  page.printInterval = 0.001;
  page.screenInterval = 100.0;
  page.lines = {true, false, false, true};
  page.orbAfter = 1;
  page.orbBefore = 1000;
  cfg::ByteBlock block{cfg::ACLinesListSettings::kSize};
  WriteACLinesListPage(page, block);
  EXPECT_EQ(ReadACLinesListPage(block), page);
  EXPECT_EQ(block.Get(cfg::ACLinesListSettings::kAscLine), 1);
  EXPECT_EQ(block.Get(cfg::ACLinesListSettings::kIcLine), 0);
  EXPECT_EQ(page.Check(), 0);

  // A damaged block is brought into range.
  using L = cfg::ACLinesListSettings;
  block.Set(L::kBody, std::int16_t{30});
  block.Set(L::kScreenFontSize, std::int16_t{0});
  block.Set(L::kPrintInterval, std::numeric_limits<double>::quiet_NaN());
  block.Set(L::kScreenInterval, 1e9);
  block.Set(L::kOrbAfter, std::int16_t{-5});
  const ACLinesListPage read = ReadACLinesListPage(block);
  EXPECT_EQ(read.body, 0);
  EXPECT_EQ(read.screenFontSize, 100);
  EXPECT_DOUBLE_EQ(read.printInterval, ACLinesListPage{}.printInterval);
  EXPECT_DOUBLE_EQ(read.screenInterval, 100.0);
  EXPECT_EQ(read.orbAfter, 1);

  page.lines = {false, false, false, false};
  EXPECT_EQ(page.Check(), 480);
}

TEST(TownListSettings, DefaultsOfTheConfiguration) {
  const ACLinesListPage p = ReadACLinesListPage(Configuration().acLinesList);
  EXPECT_EQ(p.LineCount(), 4);
  EXPECT_EQ(p.orbBefore, 60);
  EXPECT_EQ(p.orbAfter, 60);
  EXPECT_EQ(p.screenFontSize, 100);  // 10 points on the screen
  EXPECT_EQ(p.printFontSize, 2500);
  // Ten points on the screen are 10 x 2540 / 72 = 352.8 units of 0.01 mm.
  platform::Font font;
  font.pointSize = ScreenFontSizeInHiMetric(p.screenFontSize);
  EXPECT_NEAR(font.EmHeight(), 352.8, 0.2);
}

TEST_F(CrossingList, RowsPlaceTheirColumnsAfterTheWidestTown) {
  // RecordingDc: a text character half an em wide, a glyph one em; at 1500 an em is 200.
  ACLinesList list;
  list.Reset(ACLinesList::Mode::kLines, 4);
  ASSERT_TRUE(list.AddEvent({2, 3, 'D', -42}));
  ASSERT_TRUE(list.AddEvent({1, 3, 'M', 7}));
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  const TownRowMetrics m = list.Measure(dc, towns_, 1500);
  EXPECT_EQ(m.charWidth, 100);
  // "50N45  120W00  Inside  R" and "50N00  005E00  Lower  R": 24 characters are the widest.
  EXPECT_EQ(m.widest, 2400);
  list.DrawRow(dc, towns_, 0, {100, -500}, m, true);
  const auto& calls = dc.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].text, "50N45  120W00  Inside  R");
  EXPECT_EQ(calls[0].points[0], (platform::Point{100, -500}));
  EXPECT_EQ(calls[0].color, ColorByIndex(4));
  EXPECT_EQ(calls[1].text, std::string(1, 'M' + 3));  // the body's glyph
  EXPECT_EQ(calls[1].points[0].x, 2500);
  EXPECT_EQ(calls[2].text, "DS");
  EXPECT_EQ(calls[2].points[0].x, 2600);
  EXPECT_EQ(calls[3].text, "-42");
  EXPECT_EQ(calls[3].points[0].x, 3100);  // ends six characters after the widest text
  EXPECT_EQ(calls[3].align & platform::TextAlign::kHorizontalMask, platform::TextAlign::kRight);

  // Crossing mode: the distance two characters after the widest text, unselected in colour 0.
  list.Reset(ACLinesList::Mode::kCrossing, 1);
  ASSERT_TRUE(list.AddEvent({2, 0, '0', 15}));
  dc.Clear();
  list.DrawRow(dc, towns_, 0, {100, -500}, m, false);
  ASSERT_EQ(dc.Calls().size(), 2u);
  EXPECT_EQ(dc.Calls()[1].text, "15");
  EXPECT_EQ(dc.Calls()[1].points[0].x, 2700);
  EXPECT_EQ(dc.Calls()[1].color, ColorByIndex(0));
}

TEST(TownList, CrossingCaptionNamesBodiesAndLines) {
  EXPECT_EQ(CrossingCaption(BandCrossing()), Cp1251("Солнце-AS/Луна-MC"));
}

}  // namespace
