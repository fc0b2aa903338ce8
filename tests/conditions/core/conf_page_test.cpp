// The configuration page without its window: enabling rules, the member checks (message 982),
// the aspect system check and the words of OK.
#include "conditions/core/conf_page.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "conditions/core/groups.h"

namespace {

class ConfPage : public ::testing::Test {
 protected:
  void SetUp() override {
    groups_.AddGroup('P', condition_test::Group("Inner"));
    groups_.AddGroup('H', condition_test::Group("Angles"));
  }
  // The list entry of an object code among members 1 and 2 ("любая планета" first).
  int Entry12(const ConfPageModel& page, int code, const std::string& label = "") const {
    const auto& names = page.MemberNames(0);
    const ObjectList list = BuildObjectList(groups_, ConfPageModel::kMemberMask, false);
    const int position = list.PositionOfObjectCode(code, Cp1251(label));
    EXPECT_GE(position, 0) << code;
    EXPECT_LT(position + 1, static_cast<int>(names.size()));
    return position + 1;
  }

  Groups groups_;
};

TEST_F(ConfPage, EnablingFollowsTheRowAndTheBoxes) {
  ConfPageModel page(groups_, {"T"});
  EXPECT_EQ(page.MemberNames(0).size(), 1u + 34 + 12 + 12 + 1 + 1);
  EXPECT_EQ(page.MemberNames(2).size(), 1u + 34 + 12);
  EXPECT_EQ(Utf8(page.MemberNames(2)[0]), "любая планета");
  EXPECT_EQ(Utf8(page.MemberNames(5)[35]), "1 дом");
  EXPECT_EQ(page.RowNames().size(), 42u);

  const struct {
    int row;
    bool apex;
    std::array<bool, 6> members;
  } rows[] = {
      {0, false, {true, true, true, false, false, false}},
      {1, true, {true, true, true, false, false, false}},
      {3, false, {true, true, true, true, false, false}},
      {19, true, {true, true, true, true, true, false}},  // five members: 5 on, 6 off
      {5, false, {true, true, true, true, true, true}},
  };
  for (const auto& r : rows) {
    page.row = r.row;
    EXPECT_EQ(page.ApexEnabled(), r.apex) << r.row;
    for (int k = 0; k < 6; ++k) EXPECT_EQ(page.MemberEnabled(k), r.members[k]) << r.row << k;
  }
  page.othersToo = true;
  EXPECT_TRUE(page.MemberEnabled(0));
  for (int k = 1; k < 6; ++k) EXPECT_FALSE(page.MemberEnabled(k)) << k;
  page.orbSource = 0;
  EXPECT_TRUE(page.OwnOrbEnabled());
  EXPECT_FALSE(page.SystemEnabled());
}

TEST_F(ConfPage, AMemberChosenTwiceIsRefused) {
  ConfPageModel page(groups_, {"T"});
  const int sun12 = Entry12(page, 0), moon12 = Entry12(page, 1), house1 = Entry12(page, 200);
  const int ruler1 = Entry12(page, 300), inner = Entry12(page, 500, "Inner[одна_из]");
  // Members 3 to 6: entry 1 + point, 35 + house.
  const int sun = 1, moon = 2, cusp1 = 35;
  const struct {
    const char* name;
    int row;
    std::array<int, 6> members;
    int message;
  } cases[] = {
      {"every member any", 5, {0, 0, 0, 0, 0, 0}, 0},
      {"sun as 1 and 3", 0, {sun12, 0, sun, 0, 0, 0}, 982},
      {"sun as 1, cusp 1 as 3", 0, {sun12, 0, cusp1, 0, 0, 0}, 0},
      {"cusp 1 as 1 and 3", 0, {house1, 0, cusp1, 0, 0, 0}, 982},
      {"cusp 1 as 2 and 3", 0, {0, house1, cusp1, 0, 0, 0}, 982},
      {"sun as 1 and 2", 0, {sun12, sun12, 0, 0, 0, 0}, 982},
      {"rulers are apart from points", 0, {ruler1, sun12, sun, 0, 0, 0}, 982},
      {"a ruler and a cusp", 0, {ruler1, house1, 0, 0, 0, 0}, 0},
      {"a group takes no part", 0, {inner, inner, 0, 0, 0, 0}, 0},
      {"member 4 against 2", 3, {0, moon12, sun, moon, 0, 0}, 982},
      {"member 4 unused in a triangle", 0, {0, moon12, sun, moon, 0, 0}, 0},
      {"member 5 against 3", 19, {0, 0, sun, moon, sun, 0}, 982},
      {"member 6 against 5", 5, {0, 0, sun, moon, cusp1, cusp1}, 982},
      {"member 6 unused in the wreath", 19, {0, 0, sun, moon, cusp1, cusp1}, 0},
      {"all different", 5, {sun12, moon12, cusp1, 4, 5, 6}, 0},
  };
  for (const auto& c : cases) {
    page.row = c.row;
    page.member = c.members;
    page.othersToo = false;
    EXPECT_EQ(page.Check(), c.message) << c.name;
    page.othersToo = true;  // "остальные - также": no member check
    EXPECT_EQ(page.Check(), 0) << c.name;
  }
}

TEST_F(ConfPage, SystemAndRangesAreChecked) {
  ConfPageModel none(groups_, {});
  EXPECT_EQ(none.Check(), 59);
  ConfPageModel page(groups_, {"T"});
  EXPECT_EQ(page.Check(), 0);
  page.orbDegrees = 21;
  EXPECT_EQ(page.Check(), 1962);
  page.orbDegrees = 20;
  page.orbClass = 0;
  EXPECT_EQ(page.Check(), 1962);
}

TEST_F(ConfPage, PresetAndWordsOfOk) {
  ConfPageModel page(groups_, {"Main", "T"});
  QueryCondition staged =
      condition_test::Words("1:7 2:1 3:1 4:2 8:1 10:1 12:5 13:30 14:500203 15:2700 16:700700 17:3");
  staged.text1 = Cp1251("Inner[одна_из]");
  staged.text3 = "t";
  page.Preset(staged);
  EXPECT_EQ(page.system, 1);  // the name compared without regard to case
  EXPECT_EQ(page.member[0], Entry12(page, 500, "Inner[одна_из]"));
  EXPECT_EQ(page.member[2], 3);
  EXPECT_EQ(page.member[3], 0);
  ASSERT_EQ(page.Check(), 0);
  const QueryCondition words = page.Words();
  QueryCondition expected = staged;
  expected.w[0] = 0;
  expected.w[9] = 0;
  expected.w[18] = -1;  // not named by the page
  expected.text3 = "T";
  EXPECT_EQ(words, expected);
  QueryCondition numbered = words;  // as the set adds it
  numbered.w[0] = 1;
  EXPECT_TRUE(ValidateCondition(numbered));

  // The apex box of a row without an apex is not stored; a fresh record presets the first
  // system, "любая планета" everywhere (not the Sun of the cleared words) and the orb class 1.
  page.row = 0;
  EXPECT_EQ(page.Words().w[8], 0);
  page.Preset(QueryCondition{});
  EXPECT_EQ(page.system, 0);
  EXPECT_EQ(page.orbClass, 1);
  condition_test::ExpectWords(page.Words(), {{14, 700700}, {16, 700700}});
  EXPECT_EQ(page.Check(), 0);
}

}  // namespace
