// The condition wizard's pages without their windows: staged presets, the aspect page's enabling
// rules and words, the position and inclusion pages' lists and words; and the selections read by
// the interpretation texts.
#include "conditions/core/wizard_pages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "conditions/condition_test_support.h"
#include "conditions/core/groups.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

using condition_test::ExpectWords;
using condition_test::kExactBits;
using condition_test::MakeAspect;
using condition_test::ValidAsAdded;
using condition_test::Words;

class WizardPages : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    Aspect square = MakeAspect(90.0, {}, kAspectTense);
    square.major = 0;
    AddSystem("Trad", {MakeAspect(120.5), square});
    AddSystem("Empty", {});
    AddGroup('S', "Fire", {0});
    AddGroup('H', "Angles", {0});
  }

  Groups& groups_ = set_.groups;
};

TEST(WizardFlow, StagedPresetsAndPagesByKind) {
  const struct {
    int choice;
    int w2, w3, w15, w17;
  } presets[] = {
      {kCondAsp, 0, 0, 0, 0},      {kCondIn, 0, 200, 0, 0}, {kCondIncl, 0, 200, 0, 0},
      {kCondInterval, 0, 0, 0, 0}, {kCondConf, 0, 0, 0, 1}, {kCondQuant, 1, 0, 1, 0},
  };
  for (const auto& p : presets) {
    QueryCondition staged;
    staged.w.fill(7);
    staged.text1 = "x";
    ClearStagedWords(staged);
    EXPECT_EQ(staged.w[0], 7);  // the number and the enabled word are not staged
    EXPECT_EQ(staged.w[19], 7);
    EXPECT_TRUE(staged.text1.empty());
    PresetStagedWords(staged, p.choice);
    EXPECT_EQ(staged.w[2], p.w2) << p.choice;
    EXPECT_EQ(staged.w[3], p.w3) << p.choice;
    EXPECT_EQ(staged.w[15], p.w15) << p.choice;
    EXPECT_EQ(staged.w[17], p.w17) << p.choice;
  }
  const int kinds[][2] = {{0, 0}, {100, 0}, {101, 1}, {2, 2},   {7, 7},
                          {8, 8}, {9, -1},  {-1, -1}, {102, -1}};
  for (const auto& k : kinds) EXPECT_EQ(WizardPageOfKind(k[0]), k[1]) << k[0];
  // Every one-chart kind has its page; the two-chart page offers ASP and IN only.
  for (int kind = 0; kind <= kCondQuant; ++kind) EXPECT_EQ(WizardInitialChoice(kind, false), kind);
  EXPECT_EQ(WizardInitialChoice(9, false), 0);
  EXPECT_EQ(WizardInitialChoice(2, true), 0);
  EXPECT_EQ(WizardInitialChoice(1, true), 1);
  EXPECT_EQ(WizardInitialChoice(-3, false), 0);
}

// A new synastry aspect opens with the aspect system's orbs (a constant orb of 0 finds nothing);
// a one-chart aspect keeps the cleared words.
TEST(WizardFlow, ASynastryAspectStartsWithAWorkingOrb) {
  Aspectarium systems;
  systems.LoadAll(testing_support::SourceDir() / "data");
  ASSERT_GT(systems.Count(), 0);
  const Groups groups;
  for (const bool twoChart : {false, true}) {
    SCOPED_TRACE(twoChart);
    QueryCondition staged;
    ClearStagedWords(staged);
    PresetStagedWords(staged, kCondAsp, twoChart);
    AspPageModel page(groups, systems, twoChart);
    page.Preset(staged);
    EXPECT_EQ(page.orbFromSystem, twoChart);
    EXPECT_EQ(page.houseOrbGroup, 1);
    EXPECT_EQ(page.signOrbGroup, 1);
    const QueryCondition words = page.Words();
    EXPECT_EQ(words.w[11], twoChart ? 1 : 0);
  }
}

TEST(WizardFlow, AspectChoicesAndPairs) {
  // entry, count -> word 4
  const int entries[][3] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 1000}, {3, 2, 1001}, {0, 0, 1001}};
  for (const auto& e : entries) EXPECT_EQ(AspectChoiceOfEntry(e[0], e[1]), e[2]);
  const int choices[][3] = {{1000, 2, 2}, {1001, 2, 3}, {5, 2, 3},
                            {1, 2, 1},    {1000, 0, 0}, {-1, 2, 0}};
  for (const auto& c : choices) EXPECT_EQ(AspectEntryOfChoice(c[0], c[1]), c[2]) << c[0];
  EXPECT_TRUE(EnableAspectFilter(1000));
  EXPECT_FALSE(EnableAspectFilter(1001));
  EXPECT_FALSE(EnableAspectFilter(0));
  EXPECT_TRUE(EnableAspectAngle(1001));
  EXPECT_FALSE(EnableAspectAngle(1000));
  EXPECT_FALSE(EnableAspectAngle(1));

  const int major = 1 << kMaskMajor, minor = 1 << kMaskMinor;
  EXPECT_EQ(TickPair(major, kMaskMajor, kMaskMinor, kMaskMajor, false), minor);
  EXPECT_EQ(TickPair(minor, kMaskMajor, kMaskMinor, kMaskMinor, false), major);
  EXPECT_EQ(TickPair(major | minor, kMaskMajor, kMaskMinor, kMaskMajor, false), minor);
  EXPECT_EQ(TickPair(1 << kMaskExact, kMaskExact, kMaskInexact, kMaskExact, false),
            1 << kMaskInexact);
}

TEST_F(WizardPages, AspectEnablingFollowsTheChoiceAndTheOrb) {
  AspPageModel page(groups_, aspects_, false);
  page.Preset(QueryCondition{});
  EXPECT_EQ(Utf8(page.SystemNames()[0]), "EMPTY");  // loaded in name order
  page.SetSystem("TRAD");
  ASSERT_EQ(page.AspectNames().size(), 4u);
  EXPECT_EQ(Utf8(page.AspectNames()[2]), "любой");
  EXPECT_EQ(Utf8(page.AspectNames()[3]), "заданный");

  // The class boxes, the exactness boxes, the given angle, the system orb's radio, the own orb and
  // the orb groups.
  const struct {
    int entry;
    bool fromSystem;
    std::array<bool, 6> controls;
  } rows[] = {
      {0, true, {false, false, false, true, false, true}},  // an aspect of the system
      {0, false, {false, false, false, true, true, false}},
      {2, true, {true, true, false, true, false, true}},    // "любой", orb from the system
      {2, false, {true, false, false, true, true, false}},  // "любой", constant orb
      {3, true, {false, false, true, false, true, false}},  // "заданный" forces the constant orb
  };
  for (const auto& r : rows) {
    page.orbFromSystem = r.fromSystem;
    page.SetAspect(r.entry);
    const AspectControls c = page.Controls();
    EXPECT_EQ((std::array{c.classBoxes, c.exactBoxes, c.givenAngle, c.systemOrbChoice, c.ownOrb,
                          c.orbGroups}),
              r.controls)
        << r.entry << r.fromSystem;
  }
  EXPECT_FALSE(page.orbFromSystem);

  // A system without aspects offers "заданный" only.
  page.orbFromSystem = true;
  page.SetSystem("EMPTY");
  EXPECT_FALSE(page.orbFromSystem);
  ASSERT_EQ(page.AspectNames().size(), 1u);
  EXPECT_EQ(Utf8(page.AspectNames()[0]), "заданный");
  EXPECT_EQ(page.Choice(), kArbitraryAngle);
  const AspectControls c = page.Controls();
  EXPECT_FALSE(c.classBoxes);
  EXPECT_TRUE(c.givenAngle);
  EXPECT_FALSE(c.systemOrbChoice);
}

TEST_F(WizardPages, AspectPresetFromTheStagedWords) {
  // Own orb 25:30, beyond the edit's 0..20; harmonious, tense, major and no exactness box.
  QueryCondition staged = Words(
      {{4, kAnyAspectOfClasses}, {11, 1}, {12, 25}, {13, 30}, {14, 0b000100011}, {15, 3}, {16, 9}});
  staged.text3 = "tRaD";  // letter case ignored
  AspPageModel page(groups_, aspects_, false);
  page.Preset(staged);
  EXPECT_EQ(page.systemName, "TRAD");
  EXPECT_EQ(page.aspect, 2);
  EXPECT_TRUE(page.orbFromSystem);
  EXPECT_EQ(page.orbDegrees, 0);
  EXPECT_EQ(page.orbMinutes, 30);
  EXPECT_EQ(page.mask, 0b000100011 | (1 << kMaskExact));
  EXPECT_EQ(page.houseOrbGroup, 3);
  EXPECT_EQ(page.signOrbGroup, 1);

  const struct {
    int w4;
    const char* system;
    int entry;
  } aspects[] = {{1, "trad", 1}, {5, "TRAD", 3}, {1001, "TRAD", 3}, {0, "nothing", 0}};
  for (const auto& a : aspects) {
    QueryCondition s = Words({{4, a.w4}, {12, 20}});
    s.text3 = a.system;
    AspPageModel p(groups_, aspects_, false);
    p.Preset(s);
    EXPECT_EQ(p.aspect, a.entry) << a.w4 << a.system;
    EXPECT_EQ(p.orbDegrees, 20);
  }
}

TEST_F(WizardPages, AspectWordsAndChecks) {
  AspPageModel page(groups_, aspects_, false);
  QueryCondition staged;
  staged.text3 = "TRAD";
  page.Preset(staged);
  page.first = page.FirstList().PositionOfObjectCode(4);
  page.second = page.SecondList().PositionOfObjectCode(200);
  page.orbDegrees = 5;
  page.orbMinutes = 10;
  page.pointDegrees = 12;  // not the arbitrary point: not stored
  QueryCondition w = page.Words();
  // An aspect of the system: the exactness bits 384.
  ExpectWords(w, {{1, kCondAsp}, {2, 4}, {3, 200}, {4, 0}, {8, -1}, {10, -1}, {11, 0}});
  ExpectWords(w, {{12, 5}, {13, 10}, {14, kExactBits}, {15, 0}, {17, 120}, {18, 30}});
  EXPECT_EQ(w.text3, "TRAD");
  EXPECT_TRUE(ValidAsAdded(w));

  // "любой" with the orb from the system keeps the exactness boxes as ticked.
  page.SetAspect(2);
  page.orbFromSystem = true;
  page.mask = (1 << 2) | (1 << kMaskMinor) | (1 << kMaskInexact);
  page.houseOrbGroup = 2;
  page.signOrbGroup = 4;
  ExpectWords(page.Words(),
              {{4, 1000}, {11, 1}, {12, 0}, {14, page.mask}, {15, 2}, {16, 4}, {17, 0}});
  EXPECT_EQ(page.Check(), 0);
  page.mask = (1 << kMaskMajor) | (1 << kMaskExact);  // no type box
  EXPECT_EQ(page.Check(), kMsgNoAspectType);

  // "заданный": the given angle, a constant orb, 384.
  page.SetAspect(3);
  page.givenDegrees = 150;
  page.givenMinutes = 7;
  ExpectWords(page.Words(), {{4, 1001}, {11, 0}, {14, kExactBits}, {17, 150}, {18, 7}});
  EXPECT_EQ(page.Check(), 0);

  page.systemName = "Nowhere";
  EXPECT_EQ(page.Check(), kMsgAspectSystemNotFound);

  // The arbitrary point and a group with its label; two charts give kind 100.
  page.systemName = "TRAD";
  page.first = page.FirstList().PositionOfObjectCode(kFixedDegree);
  page.pointSign = 3;
  page.pointDegrees = 29;
  page.pointMinutes = 59;
  page.second = page.SecondList().PositionOfObjectCode(
      kHouseGroupOneOf, page.SecondList().names[page.SecondList().first[kCatHouseGroupsOneOf]]);
  w = page.Words();
  ExpectWords(w, {{2, kFixedDegree}, {8, 29}, {9, 3}, {10, 59}, {3, kHouseGroupOneOf}});
  EXPECT_EQ(w.text2, page.SecondList().names[page.second]);
  EXPECT_TRUE(ValidAsAdded(w));

  AspPageModel pair(groups_, aspects_, true);
  pair.Preset(staged);
  EXPECT_EQ(pair.FirstList().PositionOfObjectCode(kFixedDegree), -1);
  EXPECT_EQ(pair.Words().w[1], kCondPairAsp);
}

TEST_F(WizardPages, PositionPlacesFollowTheObject) {
  InPageModel page(groups_, false);
  const struct {
    int object;
    bool signs, houses, signGroups, houseGroups;
  } rows[] = {
      {0, true, true, true, true},      // a point
      {203, true, false, true, false},  // a house cusp: signs and sign groups only
      {kHouseGroupEach, true, false, true, false},
      {305, true, true, true, true},  // a ruler
  };
  for (const auto& r : rows) {
    const ObjectList& objects = page.Objects();
    int position = objects.PositionOfObjectCode(r.object);
    if (IsGroupCode(r.object)) position = objects.first[kCatHouseGroupsEach];
    ASSERT_GE(position, 0) << r.object;
    page.place = 5;
    page.SetObject(position);
    EXPECT_EQ(page.place, 0);
    const ObjectList& places = page.Places();
    EXPECT_EQ(places.size[kCatSigns] == 12, r.signs) << r.object;
    EXPECT_EQ(places.size[kCatHouses] == 12, r.houses) << r.object;
    EXPECT_EQ(places.size[kCatSignGroupsOneOf] > 0, r.signGroups) << r.object;
    EXPECT_EQ(places.size[kCatHouseGroupsOneOf] > 0, r.houseGroups) << r.object;
    EXPECT_EQ(places.size[kCatPoints], 0);
  }

  // A house object opened with a house place stands in Aries.
  page.Preset(Words({{2, 205}, {3, 207}}));
  EXPECT_EQ(page.Places().ObjectCodeOfPosition(page.place), kSignBase);
  // The wizard's first house for a new condition.
  QueryCondition staged = Words({{2, 3}, {3, 200}});
  page.Preset(staged);
  EXPECT_EQ(page.Places().ObjectCodeOfPosition(page.place), 200);
  ExpectWords(page.Words(), {{1, kCondIn}, {2, 3}, {3, 200}, {8, -1}, {11, 0}, {12, -1}});
  EXPECT_TRUE(ValidAsAdded(page.Words()));

  // Two charts: houses and house groups only, the swap in w11, no arbitrary point.
  InPageModel pair(groups_, true);
  staged.w[11] = 1;
  pair.Preset(staged);
  EXPECT_EQ(pair.Places().size[kCatSigns], 0);
  EXPECT_EQ(pair.Places().size[kCatHouses], 12);
  EXPECT_EQ(pair.Objects().PositionOfObjectCode(kFixedDegree), -1);
  EXPECT_TRUE(pair.swapped);
  ExpectWords(pair.Words(), {{1, kCondPairIn}, {11, 1}});
}

TEST_F(WizardPages, InclusionContainersFollowTheIncluded) {
  InclPageModel page(groups_);
  const struct {
    int category;
    bool houses, houseGroups, signs, signGroups;
  } rows[] = {
      {kCatSigns, true, true, false, false},
      {kCatSignGroupsEach, true, true, false, false},
      {kCatHouses, false, false, true, true},
      {kCatHouseGroupsOneOf, false, false, true, true},
  };
  for (const auto& r : rows) {
    page.SetIncluded(page.Included().first[static_cast<std::size_t>(r.category)]);
    const ObjectList& c = page.Containers();
    EXPECT_EQ(c.size[kCatHouses] == 12, r.houses) << r.category;
    EXPECT_EQ(c.size[kCatHouseGroupsOneOf] > 0, r.houseGroups) << r.category;
    EXPECT_EQ(c.size[kCatHouseGroupsEach], 0);
    EXPECT_EQ(c.size[kCatSigns] == 12, r.signs) << r.category;
    EXPECT_EQ(c.size[kCatSignGroupsOneOf] > 0, r.signGroups) << r.category;
  }
  page.Preset(Words({{2, 104}, {3, 209}, {4, 2}}));
  ExpectWords(page.Words(), {{1, kCondIncl}, {2, 104}, {3, 209}, {4, 2}, {8, -1}});
  EXPECT_TRUE(ValidAsAdded(page.Words()));
}

// Condition lines of a set of n IN conditions numbered 1..n.
std::string ConditionLines(int n) {
  std::string lines;
  for (int i = 1; i <= n; ++i) {
    lines += FormatConditionLine(Words({{0, i}, {1, kCondIn}, {2, 0}, {3, 100}, {19, 1}}));
  }
  return lines;
}

TEST(WizardSelection, ModeLineConditionsAndLogicText) {
  testing_support::ScriptedPrompter prompts;
  const struct {
    std::string text;
    int count, mode;
    const char* logic;     // GetLogicText(true)
    const char* unwanted;  // GetLogicText(false)
  } rows[] = {
      {"head\nALL\n" + ConditionLines(3), 3, 0, "1&2&3", ""},
      {"head\r\nANY of them\r\n" + ConditionLines(2), 2, 1, "1|2", ""},
      {"head\n1 & (2|3)\n" + ConditionLines(3), 3, 2, "1&(2|3)", "1&(2|3)"},
      {"head\n4&5\n" + ConditionLines(2), 2, 2, "4&5", "4&5"},  // kept though it names nothing
      {"head\n", 0, 0, "", ""},
      {"", 0, 0, "", ""},
  };
  for (const auto& r : rows) {
    CFunc set;
    std::istringstream in(r.text);
    EXPECT_EQ(set.ReadSelection(in), r.count) << r.text;
    EXPECT_EQ(set.mode, r.mode) << r.text;
    EXPECT_EQ(set.GetLogicText(true), r.logic) << r.text;
    EXPECT_EQ(set.GetLogicText(false), r.unwanted) << r.text;
  }
  EXPECT_TRUE(prompts.shown.empty());

  // Lines beyond the capacity are left, and the user is told.
  CFunc set;
  std::istringstream in("head\nALL\n" + ConditionLines(100) + ConditionLines(1));
  EXPECT_EQ(set.ReadSelection(in), 100);
  EXPECT_TRUE(prompts.WasShown(2120));
}

}  // namespace
