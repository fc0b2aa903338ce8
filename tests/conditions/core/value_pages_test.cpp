// The wizard pages of the value kinds without their windows: what the value edits show, the value
// checks and the order of an interval's ends, the words of MORE/LESS, INTERV, BEFORE/AFTER,
// CONTEXT and QUANT, their enabling rules and their preset from the words they stored.
#include "conditions/core/value_pages.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "conditions/core/wizard_pages.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::ExpectWords;
using condition_test::kExactBits;
using condition_test::MakeAspect;
using condition_test::ValidAsAdded;
using condition_test::Words;

class ValuePages : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    AddSystem("Trad", {MakeAspect(120.0)});
    AddGroup('P', "Lights", {0, 1});
    AddGroup('S', "Fire", {0});
    AddGroup('H', "Angles", {0});
  }

  // The position of a group entry of `list` (code 500..505) by its label's start.
  static int GroupPosition(const ObjectList& list, int code) {
    for (int p = 0; p < list.Count(); ++p)
      if (list.ObjectCodeOfPosition(p) == code) return p;
    return -1;
  }

  Groups& groups_ = set_.groups;
};

TEST(ValuePageLayout, EditsShownByQuantityAndMode) {
  const struct {
    int quantity, mode, modes;
    bool object, sign, second, third, sides;
  } rows[] = {
      {kQuantityLongitude, kModeAbsolute, 2, true, true, true, false, false},
      {kQuantityLongitude, kModeInSign, 2, true, false, true, false, false},
      {kQuantityDate, kDateWhole, 3, false, false, true, true, true},
      {kQuantityDate, kDateDayMonth, 3, false, false, true, false, false},
      {kQuantityDate, kDateDayOnly, 3, false, false, false, false, false},
      {kQuantityTime, 0, 0, false, false, true, false, false},
      {kQuantityLatitude, 0, 0, false, false, true, false, true},
      {kQuantityLongitudeGeo, 0, 0, false, false, true, false, true},
      {kQuantitySpeed, 0, 0, true, false, true, false, true},
      {kQuantityEclipticLat, 0, 0, true, false, true, false, true},
  };
  for (const auto& r : rows) {
    const QuantityLayout l = LayoutOfQuantity(r.quantity, r.mode);
    const std::string at = std::to_string(r.quantity) + "/" + std::to_string(r.mode);
    EXPECT_EQ(l.modes, r.modes) << at;
    EXPECT_EQ(l.objectList, r.object) << at;
    EXPECT_EQ(l.signBox, r.sign) << at;
    EXPECT_EQ(l.secondValue, r.second) << at;
    EXPECT_EQ(l.thirdValue, r.third) << at;
    EXPECT_EQ(l.sides, r.sides) << at;
  }
}

TEST_F(ValuePages, MoreLessChecksItsValue) {
  const struct {
    const char* name;
    int quantity, mode;
    QuantityBound value;
    int message;
  } rows[] = {
      {"sign mode 30 00", kQuantityLongitude, kModeInSign, {30, 0, 0, 0, 0}, 0},
      {"sign mode 30 01", kQuantityLongitude, kModeInSign, {30, 1, 0, 0, 0}, 658},
      {"absolute 359 59", kQuantityLongitude, kModeAbsolute, {359, 59, 0, 0, 11}, 0},
      {"absolute 360", kQuantityLongitude, kModeAbsolute, {360, 0, 0, 0, 0}, 658},
      {"whole date", kQuantityDate, kDateWhole, {15, 3, 1990, 1, 0}, 0},
      {"31 April", kQuantityDate, kDateWhole, {31, 4, 1990, 1, 0}, 655},
      {"year zero", kQuantityDate, kDateWhole, {1, 1, 0, 1, 0}, 655},
      {"3001 AD", kQuantityDate, kDateWhole, {1, 1, 3001, 1, 0}, 655},
      {"month 13", kQuantityDate, kDateDayMonth, {1, 13, 0, 0, 0}, 656},
      {"30 February", kQuantityDate, kDateDayMonth, {30, 2, 0, 0, 0}, 657},
      {"31 November", kQuantityDate, kDateDayMonth, {31, 11, 0, 0, 0}, 657},
      {"day 32", kQuantityDate, kDateDayOnly, {32, 0, 0, 0, 0}, 657},
      {"23:59", kQuantityTime, 0, {23, 59, 0, 0, 0}, 0},
      {"24:00", kQuantityTime, 0, {24, 0, 0, 0, 0}, 659},
      {"latitude 90 00", kQuantityLatitude, 0, {90, 0, 0, 1, 0}, 0},
      {"latitude 90 01", kQuantityLatitude, 0, {90, 1, 0, 0, 0}, 660},
      {"longitude 180 00", kQuantityLongitudeGeo, 0, {180, 0, 0, 1, 0}, 0},
      {"longitude 179 60", kQuantityLongitudeGeo, 0, {179, 60, 0, 0, 0}, 660},
      {"speed 50 59", kQuantitySpeed, 0, {50, 59, 0, 1, 0}, 0},
      {"speed 51", kQuantitySpeed, 0, {51, 0, 0, 0, 0}, 846},
      {"ecliptic latitude 91", kQuantityEclipticLat, 0, {91, 0, 0, 0, 0}, 660},
  };
  for (const auto& r : rows) {
    MoreLessPageModel page(groups_);
    page.SetQuantity(r.quantity);
    page.mode = r.mode;
    page.value = r.value;
    EXPECT_EQ(page.Check(), r.message) << r.name;
    if (r.message == 0) {
      EXPECT_TRUE(ValidAsAdded(page.Words())) << r.name;
    }
  }
}

TEST_F(ValuePages, MoreLessWordsAndPreset) {
  MoreLessPageModel page(groups_);
  page.SetQuantity(kQuantitySpeed);
  page.object = GroupPosition(page.Objects(), kPlanetGroupEach);
  ASSERT_GE(page.object, 0);
  page.sense = 1;
  page.value = {12, 30, 77, 1, 5};  // the hidden third edit is not kept
  const QueryCondition c = page.Words();
  ExpectWords(c, {{1, 4},
                  {2, kPlanetGroupEach},
                  {3, kQuantitySpeed},
                  {4, 1},
                  {8, -1},
                  {9, -1},
                  {10, -1},
                  {11, 12},
                  {12, 30},
                  {13, 0},
                  {14, 1},
                  {15, 0},
                  {16, 5},
                  {17, -1},
                  {18, -1}});
  EXPECT_EQ(c.text1, page.Objects().names[static_cast<std::size_t>(page.object)]);
  EXPECT_TRUE(c.text2.empty());
  EXPECT_TRUE(ValidAsAdded(c));

  MoreLessPageModel again(groups_);
  again.Preset(c);
  EXPECT_EQ(again.quantity, kQuantitySpeed);
  EXPECT_EQ(again.object, page.object);
  EXPECT_EQ(again.Words().w, c.w);
  EXPECT_EQ(again.Words().text1, c.text1);
}

TEST_F(ValuePages, QuantityChangeRebuildsTheObjectsAndMode) {
  MoreLessPageModel page(groups_);
  EXPECT_EQ(page.Objects().first[kCatHouses], 34);
  page.object = 34 + 3;  // the fourth house
  page.SetQuantity(kQuantityDate);
  EXPECT_EQ(page.Objects().ObjectCodeOfPosition(page.object), kHouseBase + 3);
  page.mode = kDateDayOnly;
  // Speeds belong to planets, rulers and planet groups: the house gives way to the first entry.
  page.SetQuantity(kQuantitySpeed);
  EXPECT_EQ(page.object, 0);
  EXPECT_EQ(page.mode, 0);
  EXPECT_EQ(page.Objects().first[kCatHouses], -1);
  EXPECT_GE(page.Objects().first[kCatRulers], 0);
  page.object = page.Objects().first[kCatRulers] + 1;
  page.SetQuantity(kQuantityLongitude);
  EXPECT_EQ(page.Objects().ObjectCodeOfPosition(page.object), kRulerBase + 1);
}

// Whole dates must be in order (BC is the era button 0, AD the button 1); the other quantities
// may wrap, the order word telling whether they do.
TEST_F(ValuePages, IntervalEndsAreCheckedAndOrdered) {
  const struct {
    const char* name;
    int quantity, mode;
    QuantityBound from, to;
    int message, order;  // order -1: not looked at
  } rows[] = {
      {"10 BC to 5 BC", kQuantityDate, kDateWhole, {1, 1, 10, 0, 0}, {1, 1, 5, 0, 0}, 0, -1},
      {"5 BC to 10 BC", kQuantityDate, kDateWhole, {1, 1, 5, 0, 0}, {1, 1, 10, 0, 0}, 661, -1},
      {"1 AD to 1 BC", kQuantityDate, kDateWhole, {1, 1, 1, 1, 0}, {1, 1, 1, 0, 0}, 661, -1},
      {"1 BC to 1 AD", kQuantityDate, kDateWhole, {1, 1, 1, 0, 0}, {1, 1, 1, 1, 0}, 0, -1},
      {"January to December of 10 BC",
       kQuantityDate,
       kDateWhole,
       {1, 1, 10, 0, 0},
       {31, 12, 10, 0, 0},
       0,
       -1},
      {"the same day", kQuantityDate, kDateWhole, {7, 7, 1977, 1, 0}, {7, 7, 1977, 1, 0}, 0, -1},
      {"a bad beginning", kQuantityDate, kDateWhole, {30, 2, 1977, 1, 0}, {1, 1, 1, 0, 0}, 655, -1},
      {"a bad end", kQuantityDate, kDateWhole, {1, 1, 1977, 1, 0}, {1, 13, 1978, 1, 0}, 655, -1},
      {"350 to 10 degrees",
       kQuantityLongitude,
       kModeAbsolute,
       {20, 0, 0, 0, 11},
       {10, 0, 0, 0, 0},
       0,
       0},
      {"times 10:30 to 11:00", kQuantityTime, 0, {10, 30, 0, 0, 0}, {11, 0, 0, 0, 0}, 0, 1},
      {"times 23:00 to 01:00", kQuantityTime, 0, {23, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, 0, 0},
      {"day and month", kQuantityDate, kDateDayMonth, {1, 12, 0, 0, 0}, {31, 1, 0, 0, 0}, 0, 0},
      {"time 25:00", kQuantityTime, 0, {1, 0, 0, 0, 0}, {25, 0, 0, 0, 0}, 659, -1},
  };
  for (const auto& r : rows) {
    IntervPageModel page(groups_);
    page.SetQuantity(r.quantity);
    page.mode = r.mode;
    page.from = r.from;
    page.to = r.to;
    EXPECT_EQ(page.Check(), r.message) << r.name;
    if (r.order >= 0) {
      EXPECT_EQ(IntervalBoundsInOrder(page.Words()), r.order) << r.name;
    }
  }
}

TEST_F(ValuePages, IntervalWordsAndPreset) {
  const struct {
    bool begin, end;
    int w4;
  } ends[] = {{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 3}};
  for (const auto& e : ends) {
    IntervPageModel page(groups_);
    page.SetQuantity(kQuantityLatitude);
    page.from = {10, 5, 0, 1, 0};
    page.to = {20, 6, 0, 0, 0};
    page.includeBegin = e.begin;
    page.includeEnd = e.end;
    ASSERT_EQ(page.Check(), 0);
    const QueryCondition c = page.Words();
    ExpectWords(c, {{1, 3},
                    {3, kQuantityLatitude},
                    {4, e.w4},
                    {8, 20},
                    {9, 6},
                    {10, 0},
                    {11, 10},
                    {12, 5},
                    {13, 0},
                    {14, 1},
                    {15, 0},
                    {16, 0},
                    {17, 0},
                    {18, 0}});
    EXPECT_TRUE(ValidAsAdded(c));
    IntervPageModel again(groups_);
    again.Preset(c);
    EXPECT_EQ(again.includeBegin, e.begin);
    EXPECT_EQ(again.includeEnd, e.end);
    EXPECT_EQ(again.Words().w, c.w);
  }
  // A date by day only keeps a month that limits the day and drops one that cannot.
  IntervPageModel page(groups_);
  page.SetQuantity(kQuantityDate);
  page.mode = kDateDayOnly;
  page.from = {3, 2, 1990, 1, 0};
  page.to = {9, 400, 0, 0, 0};
  ExpectWords(page.Words(), {{11, 3}, {12, 2}, {13, 0}, {8, 9}, {9, 0}, {10, 0}});
  EXPECT_TRUE(ValidAsAdded(page.Words()));
}

TEST_F(ValuePages, BeforeAfterWordsAndThePoint) {
  BeforeAfterPageModel page(groups_);
  // The reference list: points, cusps, rulers, signs, groups one-of and the arbitrary point.
  const ObjectList& refs = page.References();
  EXPECT_EQ(refs.first[kCatSigns], 34 + 12 + 12);
  EXPECT_EQ(refs.first[kCatPlanetGroupsEach], -1);
  EXPECT_EQ(refs.first[kCatSignGroupsEach], -1);
  EXPECT_EQ(page.Objects().first[kCatSigns], -1);
  EXPECT_EQ(page.Objects().first[kCatFixedDegree], -1);

  page.object = 4;
  page.reference = refs.PositionOfObjectCode(kSignBase + 2);
  page.sense = 1;
  page.sectorDegrees = 180;
  page.sectorMinutes = 59;
  page.pointDegrees = 5;
  EXPECT_FALSE(page.PointEnabled());
  QueryCondition c = page.Words();
  ExpectWords(c,
              {{1, 5}, {2, 4}, {3, 102}, {4, 1}, {8, -1}, {9, -1}, {10, -1}, {11, 180}, {12, 59}});
  EXPECT_TRUE(ValidAsAdded(c));

  page.reference = refs.first[kCatFixedDegree];
  page.pointSign = 11;
  page.pointDegrees = 29;
  page.pointMinutes = 59;
  ASSERT_TRUE(page.PointEnabled());
  page.object = GroupPosition(page.Objects(), kHouseGroupEach);
  c = page.Words();
  ExpectWords(c, {{2, kHouseGroupEach}, {3, kFixedDegree}, {8, 29}, {9, 11}, {10, 59}});
  EXPECT_FALSE(c.text1.empty());
  EXPECT_TRUE(c.text2.empty());
  EXPECT_TRUE(ValidAsAdded(c));
  BeforeAfterPageModel again(groups_);
  again.Preset(c);
  EXPECT_EQ(again.Words().w, c.w);
  EXPECT_EQ(again.Words().text1, c.text1);
}

TEST(ContextText, BlanksAreStoredAsCode4) {
  const struct {
    const char* shown;
    const char* stored;
  } rows[] = {
      {"a  b ",
       "a\x04\x04"
       "b"},
      {" x", "\x04x"},
      {"   ", ""},
      {"", ""},
      {"a\tb",
       "a\x04"
       "b"},
  };
  for (const auto& r : rows) EXPECT_EQ(StoredContextText(r.shown), r.stored) << r.shown;
  EXPECT_EQ(ShownContextText("a\x04\x04"
                             "b"),
            "a  b");
}

TEST(ContextPage, TheNoCommentTestNeedsOneCommentPage) {
  ContextPageModel page;
  page.SetWhere(ContextPageModel::kWhereComment);
  EXPECT_TRUE(page.PageShown());
  EXPECT_TRUE(page.NoCommentTestEnabled());
  page.test = ContextPageModel::kAbsentOrNoComment;
  page.SetWhere(0);  // "Имя"
  EXPECT_EQ(page.test, 1);
  EXPECT_FALSE(page.PageShown());

  page.SetWhere(ContextPageModel::kWhereComment);
  page.test = ContextPageModel::kAbsentOrNoComment;
  page.SetPage(ContextPageModel::kAllPages);
  EXPECT_FALSE(page.NoCommentTestEnabled());
  EXPECT_EQ(page.test, 1);

  // Staged words that the page cannot show fall back the same way.
  page.Preset(Words({{2, 1}, {3, 2}, {4, 4}}));
  EXPECT_EQ(page.test, 1);
  page.Preset(Words({{2, 3}, {3, 2}, {4, 4}}));
  EXPECT_EQ(page.test, 2);
}

TEST(ContextPage, WordsAndPreset) {
  ContextPageModel page;
  page.SetWhere(ContextPageModel::kWhereComment);
  page.SetPage(7);
  page.test = 2;
  page.text = "one  two ";
  page.matchCase = true;
  page.partial = true;
  QueryCondition c = page.Words();
  ExpectWords(c, {{1, 6}, {2, 3}, {3, 2}, {4, 7}, {8, -1}, {11, 0}, {12, 1}, {13, 1}, {14, -1}});
  EXPECT_EQ(c.text1, "one\x04\x04two");
  EXPECT_TRUE(ValidAsAdded(c));
  ContextPageModel again;
  again.Preset(c);
  EXPECT_EQ(again.text, "one  two");
  EXPECT_EQ(again.Words().w, c.w);
  // A text longer than a condition can hold is cut to its length.
  page.text = std::string(150, 'x');
  EXPECT_EQ(page.Words().text1.size(), QueryCondition::kMaxTextLength);
  EXPECT_TRUE(ValidAsAdded(page.Words()));
}

TEST_F(ValuePages, QuantListsAndControlsFollowTheCount) {
  QuantPageModel page(groups_, aspects_);
  page.Preset(Words({{2, 1}, {15, 1}}));  // as the wizard stages a new QUANT
  EXPECT_EQ(page.count, QuantPageModel::kCountInSignOf);
  const struct {
    int count;
    int points, houses, rulers, signs, signGroupsEach;
    bool objectList, aspects;
  } rows[] = {
      {0, -1, 0, -1, 12, 1, true, false},  {1, 0, -1, 34, -1, -1, true, false},
      {2, 0, -1, 34, -1, -1, true, false}, {3, -1, -1, -1, -1, -1, false, true},
      {4, 0, 34, 46, -1, -1, true, true},
  };
  for (const auto& r : rows) {
    page.SetCount(r.count);
    const ObjectList& l = page.Objects();
    EXPECT_EQ(l.first[kCatPoints], r.points) << r.count;
    EXPECT_EQ(l.first[kCatHouses], r.houses) << r.count;
    EXPECT_EQ(l.first[kCatRulers], r.rulers) << r.count;
    EXPECT_EQ(l.first[kCatSigns], r.signs) << r.count;
    EXPECT_EQ(l.size[kCatSignGroupsEach], r.signGroupsEach < 0 ? 0 : r.signGroupsEach) << r.count;
    const QuantControls c = page.Controls();
    EXPECT_EQ(c.objectList, r.objectList) << r.count;
    EXPECT_EQ(c.aspects, r.aspects) << r.count;
    EXPECT_EQ(page.object, 0);
  }
  // "Суммировать" is offered for an each group only.
  page.SetCount(QuantPageModel::kCountAspectsOf);
  page.object = GroupPosition(page.Objects(), kPlanetGroupOneOf);
  EXPECT_FALSE(page.Controls().addUp);
  page.object = GroupPosition(page.Objects(), kPlanetGroupEach);
  EXPECT_TRUE(page.Controls().addUp);
  EXPECT_FALSE(page.Controls().secondNumber);
  page.comparison = QuantPageModel::kBetween;
  EXPECT_TRUE(page.Controls().secondNumber);
}

TEST_F(ValuePages, QuantWordsAndChecks) {
  QuantPageModel page(groups_, aspects_);
  page.Preset(Words({{2, 1}, {15, 1}}));
  const std::string trad = aspects_.GetSystem(0).GetName();  // as the system file names it
  EXPECT_EQ(page.systemName, trad);
  EXPECT_EQ(page.houseOrbGroup, 1);
  EXPECT_EQ(page.mask, (1 << kMaskMajor) | (1 << kMaskExact));
  // Counting planets: the aspect controls are disabled and not checked.
  page.object = 2;
  page.comparison = 1;
  page.number1 = 3;
  page.systemName = "Nothing";
  page.mask = 1 << kMaskMajor;
  page.addUp = true;  // not offered for a planet
  EXPECT_EQ(page.Check(), 0);
  QueryCondition c = page.Words();
  ExpectWords(c, {{1, 8},
                  {2, 1},
                  {3, 2},
                  {4, 1},
                  {8, 3},
                  {9, 0},
                  {10, 0},
                  {11, 0},
                  {14, 32 | kExactBits},
                  {15, 1}});
  EXPECT_TRUE(c.text2.empty());
  EXPECT_TRUE(c.text3.empty());
  EXPECT_TRUE(ValidAsAdded(c));

  // Aspects in the whole chart: no object, a system that exists and a type.
  page.SetCount(QuantPageModel::kCountChartAspects);
  EXPECT_EQ(page.Check(), kMsgAspectSystemNotFound);
  page.systemName = "trad";
  EXPECT_EQ(page.Check(), kMsgNoAspectType);
  page.SetClassBit(1, true);
  EXPECT_EQ(page.Check(), 0);
  page.comparison = QuantPageModel::kBetween;
  page.number2 = 1000;
  page.inclusive = true;
  page.orbFromSystem = true;
  page.houseOrbGroup = 5;
  page.nodes = true;
  page.planets = 2;
  page.houses = 1;
  page.SetClassBit(kMaskExact, false);  // the last of its pair: the other one is ticked
  c = page.Words();
  ExpectWords(c, {{2, 3},
                  {3, -1},
                  {4, 3},
                  {9, 1000},
                  {10, 1},
                  {11, 1},
                  {14, 2 | 32 | 256},
                  {15, 5},
                  {16, 1},
                  {17, 2},
                  {18, 1}});
  EXPECT_EQ(c.text3, trad);
  EXPECT_TRUE(c.text1.empty());
  EXPECT_TRUE(ValidAsAdded(c));

  QuantPageModel again(groups_, aspects_);
  again.Preset(c);
  EXPECT_EQ(again.Words().w, c.w);
  EXPECT_EQ(again.Words().text3, c.text3);

  // Aspects of an each group, added up.
  page.SetCount(QuantPageModel::kCountAspectsOf);
  page.object = GroupPosition(page.Objects(), kHouseGroupEach);
  page.addUp = true;
  c = page.Words();
  ExpectWords(c, {{3, kHouseGroupEach}});
  EXPECT_EQ(c.text2, "\x01");
  EXPECT_FALSE(c.text1.empty());
  EXPECT_TRUE(ValidAsAdded(c));
  again.Preset(c);
  EXPECT_TRUE(again.addUp);
  EXPECT_EQ(again.Objects().ObjectCodeOfPosition(again.object), kHouseGroupEach);
}

}  // namespace
