// Condition texts of every kind, object names, class masks, the object lists and the table of
// aspect configurations. Expected texts follow the formats of the condition list by hand.
#include "conditions/core/condition_text.h"

#include <gtest/gtest.h>

#include <set>

#include "conditions/condition_test_support.h"
#include "conditions/core/aspect_configurations.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/groups.h"
#include "foundation/text/cp1251.h"

namespace {

// A condition of `kind` with words 2 to 4, the texts and the words given as {word, value}.
QueryCondition Cond(int kind, int w2, int w3, int w4,
                    std::initializer_list<std::pair<int, int>> words = {},
                    const std::string& t1 = "", const std::string& t2 = "",
                    const std::string& t3 = "") {
  QueryCondition c;
  c.w[0] = 7;
  c.w[1] = kind;
  c.w[2] = w2;
  c.w[3] = w3;
  c.w[4] = w4;
  for (const auto& [word, value] : words) c.w[static_cast<std::size_t>(word)] = value;
  c.text1 = Cp1251(t1);
  c.text2 = Cp1251(t2);
  c.text3 = Cp1251(t3);
  return c;
}

struct TextCase {
  const char* name;
  QueryCondition condition;
  const char* text;  // UTF-8
};

TEST(ConditionText, EveryKindInItsFormat) {
  const TextCase cases[] = {
      {"asp own orb", Cond(0, 0, 1, 1001, {{12, 1}, {13, 30}, {17, 90}}),
       "ASP(Солнце ; Луна ; \"90:00\" орб 1:30)"},
      {"asp classes", Cond(0, 0, 1, 1000, {{11, 1}, {14, 511}}, "", "", "TESTASP"),
       "ASP(Солнце ; Луна ; \"[TESTASP]:любой\" )"},
      {"asp chosen aspect", Cond(0, 0, 1, 2, {{11, 1}, {17, 120}}, "", "", "T"),
       "ASP(Солнце ; Луна ; \"120:00 [T]\" )"},
      {"asp fixed degree and group",
       Cond(0, 506, 501, 1001, {{8, 5}, {10, 7}, {12, 2}}, "", "Lights[каждая]"),
       "ASP(\"05:07 Овен\" ; Lights[каждая] ; \"0:00\" орб 2:00)"},
      {"asp two charts", Cond(100, 0, 1, 1001, {{12, 1}, {17, 90}}),
       "ASP(Солнце:1 ; Луна:2 ; \"90:00\" орб 1:00)"},
      {"in", Cond(1, 300, 100, 0), "IN(Управитель 1 дома ; Овен)"},
      {"in fixed degree", Cond(1, 506, 200, 0, {{8, 29}, {9, 11}, {10, 59}}),
       "IN(\"29:59 Рыбы\" ; 1 дом)"},
      {"in two charts", Cond(101, 0, 203, 0, {{11, 1}}), "IN(Солнце:2 ; 4 дом:1)"},
      {"incl", Cond(2, 101, 200, 2), "INCL(Телец ; 1 дом ; цел./част.)"},
      {"incl wholly", Cond(2, 200, 100, 0), "INCL(1 дом ; Овен ; целиком)"},
      {"interv longitude", Cond(3, 0, 0, 1, {{11, 10}, {12, 5}, {16, 1}, {8, 20}, {18, 1}}),
       "INTERV(Солнце(абсолютная) ; Телец 10:05 - Телец 20:00 [[ )"},
      {"interv dates",
       Cond(3, 0, 1, 3, {{11, 1}, {12, 2}, {13, 1990}, {14, 1}, {8, 31}, {9, 12}, {10, 10}}),
       "INTERV(ДАТА ; 1.2.1990 - 31.12.10 до н.э. [] )"},
      {"interv open", Cond(3, 0, 2, 0, {{11, 7}, {8, 9}, {9, 30}}),
       "INTERV(ВРЕМЯ ; 07:00 - 09:30 ][ )"},
      {"more time", Cond(4, 0, 2, 0, {{11, 7}, {12, 5}}), "MORE(ВРЕМЯ ; 07:05 )"},
      {"less latitude", Cond(4, 0, 3, 1, {{11, 5}, {12, 3}, {14, 1}}), "LESS(ШИРОТА ; 05S03 )"},
      {"more longitude", Cond(4, 0, 4, 0, {{11, 37}, {12, 37}}), "MORE(ДОЛГОТА ; 037E37 )"},
      {"more speed", Cond(4, 4, 5, 0, {{12, 30}, {14, 1}}), "MORE(СКОРОСТЬ; Марс ; -00:30 )"},
      {"less ecliptic latitude", Cond(4, 1, 6, 1, {{11, 2}, {12, 15}}),
       "LESS(ЭКЛ.ШИРОТА; Луна ; 02N15 )"},
      {"less degree of sign", Cond(4, 1, 0, 1, {{11, 15}, {15, 1}}),
       "LESS(Луна(градус знака) ; 15:00 )"},
      {"more day and month", Cond(4, 0, 1, 0, {{11, 8}, {12, 3}, {15, 1}}),
       "MORE(ДАТА(число и месяц) ; 8.3 )"},
      {"more day only", Cond(4, 0, 1, 0, {{11, 8}, {15, 2}}), "MORE(ДАТА(только число) ; 8 )"},
      {"before fixed", Cond(5, 0, 506, 0, {{8, 5}, {9, 1}, {10, 7}, {11, 10}, {12, 5}}),
       "BEFORE(Солнце ; \"05:07 Телец\" ; 10:05)"},
      {"after", Cond(5, 0, 1, 1, {{12, 30}}), "AFTER(Солнце ; Луна ; 0:30)"},
      {"context name", Cond(6, 0, 0, 0, {}, "abc"), "CONTEXT(ИМЯ ;  \"abc\")"},
      {"context cut to 20",
       Cond(6, 3, 2, 3, {{11, 1}, {12, 1}, {13, 1}},
            "abcd\x04"
            "efghijklmnopqrstuvwxy"),
       "CONTEXT(КОММ[3] ; НЕТ.КОММ \"abcd efghijklmnopqrs...\",без проб.,рег.,част.)"},
      {"context every page", Cond(6, 3, 1, 10, {}, "abcdefghijklmnopqrst"),
       "CONTEXT(КОММ[все] ; НЕТ \"abcdefghijklmnopqrst\")"},
      {"context place", Cond(6, 2, 0, 0, {{12, 1}}, "x"), "CONTEXT(МЕСТО ;  \"x\",рег.)"},
      {"conf with oppositions",
       Cond(7, 2, 0, 0, {{8, 1}, {12, 3}, {14, 700}, {15, 34700}, {16, 700700}}),
       "CONF(\"90-90-90-90[+asp]\"; Солнце[верш.],*,1 дом-*; орб 3:00)"},
      {"conf groups and system orbs",
       Cond(7, 0, 0, 0, {{11, 1}, {14, 500205}, {15, 700000}, {16, 700700}}, "Inner[одна_из]", "",
            "TESTASP"),
       "CONF(\"120-120-120\"; Inner[одна_из],6 дом,*; [TESTASP])"},
      {"conf five members",
       Cond(7, 19, 0, 0, {{11, 1}, {14, 700700}, {15, 1002}, {16, 45700}}, "", "", "T"),
       "CONF(\"72*5\"; *,*,Луна-Меркурий-12 дом; [T])"},
      {"quant house", Cond(8, 0, 200, 0, {{8, 3}}), "QUANT(планет в  1 доме = 3)"},
      {"quant sign", Cond(8, 0, 100, 1, {{8, 2}}), "QUANT(планет в знаке Овен > 2)"},
      {"quant sign group summed",
       Cond(8, 0, 502, 3, {{8, 1}, {9, 4}, {10, 1}}, "Fire[один_из]", "\x01"),
       "QUANT(планет в знаках: Fire[один_из][в сумме] от  1  до  4 (вкл.))"},
      {"quant house group", Cond(8, 0, 504, 2, {{8, 1}}, "Angles[один_из]"),
       "QUANT(планет в домах: Angles[один_из] < 1)"},
      {"quant sign of an object", Cond(8, 1, 0, 0, {{8, 2}}),
       "QUANT(планет в знаке, где Солнце = 2)"},
      {"quant house of an object", Cond(8, 2, 1, 0, {{8, 2}}),
       "QUANT(планет в доме, где  Луна = 2)"},
      {"quant aspects own orb", Cond(8, 3, 0, 1, {{8, 10}, {12, 2}, {14, 419}}, "", "", "T"),
       "QUANT(аспектов в гороскопе > 10; \"[T]:гарм,напр,маж\" орб 2:00)"},
      {"quant aspects of an object", Cond(8, 4, 0, 0, {{8, 1}, {11, 1}, {14, 511}}, "", "", "T"),
       "QUANT(аспектов у:  Солнце  = 1; \"[T]:любой\")"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(Utf8(QueryConditionText(c.condition, false)), c.text) << c.name;
}

TEST(ConditionText, TheNumberPrefix) {
  CFunc set;
  ASSERT_EQ(set.AddCondition(Cond(1, 0, 101, 0)), 1);
  EXPECT_EQ(Utf8(set.QueryConditionText(0, true)), "  1   IN(Солнце ; Телец)");
  EXPECT_EQ(set.QueryConditionText(1, true), "");
  EXPECT_EQ(Utf8(QueryConditionText(Cond(1, 0, 101, 0), true)), "  7   IN(Солнце ; Телец)");
  QueryCondition c = Cond(1, 0, 101, 0);
  c.w[0] = 100;
  EXPECT_EQ(Utf8(QueryConditionText(c, true)), "100   IN(Солнце ; Телец)");
}

TEST(ConditionText, ClassMasksAndObjectNames) {
  const std::pair<int, const char*> masks[] = {
      {511, "любой"},
      {255, "гарм,напр,творч,карм,проч,точн"},
      {4 + 64 + 256, "творч,мин,неточн"},
      {1 + 8 + 32 + 64 + 128 + 256, "гарм,карм"},
      {16 + 32 + 128 + 256, "проч,маж"},
  };
  for (const auto& [mask, text] : masks) EXPECT_EQ(Utf8(AspectClassMaskText(mask)), text) << mask;

  EXPECT_EQ(Utf8(QueryObjectName(506, "", 5, 0, 7)), "\"05:07 Овен\"");
  EXPECT_EQ(Utf8(QueryObjectName(503, Cp1251("Огонь[каждый]"), 0, 0, 0)), "Огонь[каждый]");
  EXPECT_EQ(Utf8(QueryObjectName(311, "", 0, 0, 0)), "Управитель 12 дома");
  EXPECT_EQ(Utf8(QueryObjectName(111, "", 0, 0, 0)), "Рыбы");
  EXPECT_EQ(Utf8(QueryObjectName(33, "", 0, 0, 0)), "Вертекс");
}

Groups TestGroups() {
  using condition_test::Group;
  Groups groups;
  groups.AddGroup('P', Group("A"));
  groups.AddGroup('P', Group("B"));
  groups.AddGroup('S', Group("Fire"));
  groups.AddGroup('H', Group("Angles"));
  return groups;
}

TEST(ObjectLists, CategoriesPositionsAndCodes) {
  const Groups groups = TestGroups();
  // The members 1 and 2 of a configuration: points, cusps, rulers, planet and house groups
  // one-of.
  const ObjectList conf = BuildObjectList(groups, "YYYNYNNNYNN", false);
  ASSERT_EQ(conf.Count(), 34 + 12 + 12 + 2 + 1);
  const std::array<int, kObjectCategories> first = {0, 34, 46, -1, 58, -1, -1, -1, 60, -1, -1};
  EXPECT_EQ(conf.first, first);
  EXPECT_EQ(Utf8(conf.names[34]), "1 дом");
  EXPECT_EQ(Utf8(conf.names[47]), "Управитель 2 дома");
  EXPECT_EQ(Utf8(conf.names[59]), "B[одна_из]");
  EXPECT_EQ(Utf8(conf.names[60]), "Angles[один_из]");
  const std::pair<int, int> codes[] = {{0, 0},    {33, 33},  {35, 201}, {47, 301}, {58, 500},
                                       {59, 500}, {60, 504}, {61, -1},  {-1, -1}};
  for (const auto& [position, code] : codes) EXPECT_EQ(conf.ObjectCodeOfPosition(position), code);
  EXPECT_EQ(conf.PositionOfObjectCode(205), 39);
  EXPECT_EQ(conf.PositionOfObjectCode(311), 57);
  EXPECT_EQ(conf.PositionOfObjectCode(100), -1);  // signs are not offered
  EXPECT_EQ(conf.PositionOfObjectCode(500, Cp1251("B[одна_из]")), 59);
  EXPECT_EQ(conf.PositionOfObjectCode(500, Cp1251("B[каждая]")), -1);
  EXPECT_EQ(conf.PositionOfObjectCode(506), -1);
  EXPECT_EQ(conf.NextCategory(kCatRulers), kCatPlanetGroupsOneOf);
  EXPECT_EQ(conf.NextCategory(kCatHouseGroupsOneOf), -1);

  // The place of IN: houses, signs, sign groups one-of, house groups one-of.
  const ObjectList place = BuildObjectList(groups, "NYNYNNYNYNN", false);
  ASSERT_EQ(place.Count(), 12 + 12 + 1 + 1);
  EXPECT_FALSE(place.IsSignPosition(0));
  EXPECT_TRUE(place.IsSignPosition(12));
  EXPECT_TRUE(place.IsSignPosition(24));  // the sign group
  EXPECT_FALSE(place.IsSignPosition(25));
  EXPECT_EQ(place.ObjectCodeOfPosition(13), 101);
  EXPECT_EQ(place.NextCategory(-1), kCatHouses);
}

TEST(ObjectLists, OneAndTwoChartMasksAndTheLastEntry) {
  const Groups groups = TestGroups();
  // The first object of an aspect: one chart offers signs, sign groups and the arbitrary point.
  const ObjectList one = BuildObjectList(groups, "YYYYYYNNYYY", false);
  const ObjectList two = BuildObjectList(groups, "YYYNYYNNYYN", false);
  EXPECT_EQ(one.Count(), 34 + 12 + 12 + 12 + 2 + 2 + 1 + 1 + 1);
  EXPECT_EQ(two.Count(), 34 + 12 + 12 + 2 + 2 + 1 + 1);
  EXPECT_EQ(one.ObjectCodeOfPosition(one.Count() - 1), 506);
  EXPECT_EQ(Utf8(one.names.back()), "Произвольная точка");
  EXPECT_EQ(two.PositionOfObjectCode(506), -1);
  EXPECT_EQ(two.PositionOfObjectCode(501, "A" + Cp1251("[каждая]")), 34 + 12 + 12 + 2);
  const ObjectList any = BuildObjectList(groups, "YNNNNNNNNNY", true);
  EXPECT_EQ(Utf8(any.names.at(34)), "Любая");
  // A group category without groups is in the list but holds no entry.
  const ObjectList empty = BuildObjectList(Groups(), "NNNNYNNNNNY", false);
  EXPECT_EQ(empty.Count(), 1);
  EXPECT_EQ(empty.ObjectCodeOfPosition(0), 506);
}

TEST(ConfigurationTable, EveryRowsMembersAnglesApexAndOppositions) {
  ConfigurationTable table;
  BuildConfigurationTable(table);
  static_assert(kConfigurationCount == std::size(condition_test::kConfigurationRows));
  const std::set<int> apexRows = {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 36, 38, 39};
  for (int r = 0; r < kConfigurationCount; ++r) {
    SCOPED_TRACE(r);
    const AspectConfiguration& c = table[static_cast<std::size_t>(r)];
    const condition_test::RowSpec& expected = condition_test::kConfigurationRows[r];
    EXPECT_EQ(c.members, expected.members);
    EXPECT_EQ(c.angles, expected.angles);  // the angles beyond the members are 0
    EXPECT_EQ(c.apex, apexRows.count(r) ? 1 : 0);
    EXPECT_EQ(c.withOppositions, expected.withOppositions ? 1 : 0);
  }
}

}  // namespace
