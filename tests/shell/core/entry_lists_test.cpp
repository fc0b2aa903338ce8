// The town list of the entry dialogs over the shipped atlas, the aspects list (sorted insertion,
// capacity, column layout) and the aspects of one point as the planet information lists them.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "foundation/atlas/town_search.h"
#include "foundation/text/cp1251.h"
#include "shell/core/entry/aspects_list.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;

TEST(EntryTownList, TypedPrefixListsTownsAndAChosenTownFillsThePlace) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(testing_support::SourceDir() / "data").ok());
  EXPECT_TRUE(ListTowns(towns, "   ").empty());
  const std::vector<TownListRow> rows = ListTowns(towns, Cp1251("  москв"));
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), kTownListLimit);
  const TownListRow* moscow = nullptr;
  for (const TownListRow& r : rows)
    if (r.text == Cp1251("Москва, Россия")) moscow = &r;
  ASSERT_NE(moscow, nullptr);
  for (const TownListRow& r : rows)
    EXPECT_EQ(r.text.substr(0, 5), Cp1251("Москв")) << "every row begins with the prefix";

  Place place;
  ASSERT_TRUE(PlaceOfTown(towns, moscow->town, place));
  // Moscow: 55 deg 45.1' N, 37 deg 36.9' E.
  EXPECT_EQ(place.LatitudeDegrees(), 55);
  EXPECT_EQ(place.LatitudeMinutes(), 45);
  EXPECT_EQ(place.LatitudeLetter(), 'N');
  EXPECT_EQ(place.LongitudeDegrees(), 37);
  EXPECT_NEAR(place.LongitudeMinutes(), 37, 1);
  EXPECT_EQ(place.LongitudeLetter(), 'E');
  EXPECT_EQ(place.Town(), Cp1251("Москва"));
  EXPECT_EQ(place.Region(), Cp1251("Россия"));

  const Place before = place;
  EXPECT_FALSE(PlaceOfTown(towns, towns.Count(), place));
  EXPECT_FALSE(PlaceOfTown(towns, -1, place));
  EXPECT_EQ(place, before);
}

TEST(EntryTownList, TownsWrittenWithYoOrIeAreFoundEitherWay) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(testing_support::SourceDir() / "data").ok());
  // The atlas writes "Королёв"; users type it both ways.
  for (const char* typed : {"Королев", "Королёв", "королёв"}) {
    bool found = false;
    for (const TownListRow& r : ListTowns(towns, Cp1251(typed)))
      found = found || r.text.starts_with(Cp1251("Королёв, "));
    EXPECT_TRUE(found) << typed;
  }
}

TEST(EntryTownList, SouthernAndWesternTownsGetTheirLetters) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(testing_support::SourceDir() / "data").ok());
  // Buenos Aires: 34 deg 36' S, 58 deg 23' W, listed under its Russian name.
  int found = -1;
  for (const TownListRow& r : ListTowns(towns, "buenos aires"))
    if (r.text == Cp1251("Буэнос-Айрес, Аргентина")) found = r.town;
  ASSERT_GE(found, 0);
  Place place;
  ASSERT_TRUE(PlaceOfTown(towns, found, place));
  EXPECT_EQ(place.LatitudeLetter(), 'S');
  EXPECT_EQ(place.LatitudeDegrees(), 34);
  EXPECT_EQ(place.LongitudeLetter(), 'W');
  EXPECT_EQ(place.LongitudeDegrees(), 58);
}

AspectSystem TwoAspectSystem() {
  AspectSystem system("TEST", "test.asp");
  Aspect trine;
  trine.angle = 120.0;
  trine.orbs = {8, 8, 8, 8, 8, 1};
  trine.major = 1;
  Aspect quintile;
  quintile.angle = 72.0;
  quintile.orbs = {2, 2, 2, 2, 2, 0.5};
  quintile.major = 0;
  EXPECT_EQ(system.AddAspect(trine), 0);
  EXPECT_EQ(system.AddAspect(quintile), 0);
  return system;
}

AspectListItem Item(double value2, short aspect = 0) {
  AspectListItem item;
  item.aspect = aspect;
  item.value2 = value2;
  item.value1 = value2 * 10;  // tells items with equal keys apart
  return item;
}

std::vector<double> Keys(const AspectList& list) {
  std::vector<double> keys;
  for (const AspectListItem& i : list.Items()) keys.push_back(i.value1);
  return keys;
}

TEST(EntryAspectList, SortedInsertion) {
  const AspectSystem system = TwoAspectSystem();
  const std::array<int, kAspectListColumns> shown = {0, 1, 2, -1, -1, -1, -1, 3, 4, -1, -1};
  AspectList list;
  list.Init(10, shown, &system);
  for (double v : {3.0, 1.0, 2.0}) ASSERT_TRUE(list.InsertItem(Item(v), 1));
  EXPECT_EQ(Keys(list), (std::vector<double>{10, 20, 30}));

  AspectList equal;
  equal.Init(10, shown, &system);
  AspectListItem a = Item(1.0), b = Item(1.0);
  b.value1 = 99;
  equal.InsertItem(a, 1);
  equal.InsertItem(b, 1);
  EXPECT_EQ(Keys(equal), (std::vector<double>{10, 99})) << "equal keys keep their arrival order";

  AspectList majorsFirst;
  majorsFirst.Init(10, shown, &system);
  majorsFirst.InsertItem(Item(5.0, 0), 2);
  majorsFirst.InsertItem(Item(0.5, 1), 2);  // minor, smaller orb
  majorsFirst.InsertItem(Item(3.0, 0), 2);
  EXPECT_EQ(Keys(majorsFirst), (std::vector<double>{30, 50, 5}));

  AspectList appended;
  appended.Init(10, shown, &system);
  for (double v : {3.0, 1.0, 2.0}) appended.InsertItem(Item(v), 0);
  EXPECT_EQ(Keys(appended), (std::vector<double>{30, 10, 20})) << "mode 0 appends";
}

TEST(EntryAspectList, FullListRefusesWithMessage438) {
  ScriptedPrompter prompts;
  const AspectSystem system = TwoAspectSystem();
  AspectList list;
  list.Init(2, {0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, &system);
  EXPECT_TRUE(list.AddItem(Item(1)));
  EXPECT_TRUE(list.InsertItem(Item(2), 2));
  EXPECT_FALSE(prompts.WasShown(438));
  EXPECT_FALSE(list.InsertItem(Item(0.1), 2));
  EXPECT_TRUE(prompts.WasShown(438));
  EXPECT_FALSE(list.InsertItem(Item(0.2), 0));
  EXPECT_EQ(prompts.shown.size(), 1u) << "told once, not for every refused item";
  EXPECT_EQ(list.Items().size(), 2u);
  list.Init(1, {0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, &system);
  EXPECT_TRUE(list.AddItem(Item(1)));
  EXPECT_FALSE(list.AddItem(Item(2)));
  EXPECT_EQ(prompts.shown.size(), 2u) << "a new fill tells again";
}

TEST(EntryAspectList, GapsAndTwiceGivenPositionsAreClosedUp) {
  // Defaults: column 0 2.5 wide, 7 5.0, 8 4.0, 9 9.0.
  struct Case {
    const char* name;
    std::array<int, kAspectListColumns> positions;
    std::array<int, kAspectListColumns> closed;
    double total;
  } const cases[] = {
      {"gap at 1 and 3",
       {0, -1, -1, -1, -1, -1, -1, 4, 2, -1, -1},
       {0, -1, -1, -1, -1, -1, -1, 2, 1, -1, -1},
       1.0 + 2.5 + 4.0 + 5.0},
      {"starts at 5",
       {-1, -1, -1, -1, -1, -1, -1, -1, -1, 6, 5},
       {-1, -1, -1, -1, -1, -1, -1, -1, -1, 1, 0},
       1.0 + 5.0 + 9.0},
      {"7 and 8 both at 1",
       {0, -1, -1, -1, -1, -1, -1, 1, 1, -1, -1},
       {0, -1, -1, -1, -1, -1, -1, 1, 2, -1, -1},
       1.0 + 2.5 + 5.0 + 4.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AspectList list;
    list.Init(3, c.positions, nullptr);
    for (int column = 0; column < kAspectListColumns; ++column)
      EXPECT_EQ(list.Position(column), c.closed[static_cast<std::size_t>(column)]) << column;
    EXPECT_DOUBLE_EQ(list.TotalWidth(), c.total);
  }
  AspectList list;
  list.Init(3, {0, -1, -1, -1, -1, -1, -1, 4, 2, -1, -1}, nullptr);
  EXPECT_DOUBLE_EQ(list.Offset(0), 1.0);
  EXPECT_DOUBLE_EQ(list.Offset(8), 3.5);
  EXPECT_DOUBLE_EQ(list.Offset(7), 7.5);
}

TEST(EntryAspectList, ColumnLayout) {
  AspectList list;
  // Shown in the order 8, 0, 9; defaults: 4.0, 2.5, 9.0 wide.
  list.Init(5, {1, -1, -1, -1, -1, -1, -1, -1, 0, 2, -1}, nullptr);
  EXPECT_EQ(list.Capacity(), 5);
  EXPECT_EQ(list.GetNumOfItem(0), 8);
  EXPECT_EQ(list.GetNumOfItem(3), -1);
  EXPECT_DOUBLE_EQ(list.Offset(8), 1.0);
  EXPECT_DOUBLE_EQ(list.Offset(0), 5.0);
  EXPECT_DOUBLE_EQ(list.Offset(9), 7.5);
  EXPECT_DOUBLE_EQ(list.TotalWidth(), 16.5);

  const std::array<double, kAspectListColumns> widths = {1.5, 1.5, 1.0, 1.5, 1.5, 1.5,
                                                         1.5, 4.0, 3.0, 8.0, 4.0};
  list.Init(5, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, nullptr, &widths);
  EXPECT_DOUBLE_EQ(list.Offset(10), 1.0 + 1.5 * 6 + 1.0 + 4.0 + 3.0 + 8.0);
  EXPECT_DOUBLE_EQ(list.TotalWidth(), 30.0);

  AspectList none;
  none.Init(5, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, nullptr);
  EXPECT_EQ(none.Capacity(), 0) << "no column shown: nothing can be held";
}

TEST(EntryPointAspects, AspectsOfOnePoint) {
  const AspectSystem system = TwoAspectSystem();
  Chart chart;
  const double longitudes[] = {10.0, 130.5, 82.0, 200.0};  // Sun, Moon, Mercury, Venus
  const double speeds[] = {1.0, 13.0, 1.5, 1.2};
  for (int i = 0; i < 4; ++i) {
    chart.points[i].longitude.Set(longitudes[i]);
    chart.points[i].speed = speeds[i];
  }
  const std::vector<AspectListItem> items = PointAspects(chart, 0, system);
  ASSERT_EQ(items.size(), 2u);
  // Sun-Moon: 120.5 apart, a trine 0.5 wide, within the exact orb; the Moon runs away: separating.
  EXPECT_EQ(items[0].object1, 0);
  EXPECT_EQ(items[0].object2, 1);
  EXPECT_EQ(items[0].aspect, 0);
  EXPECT_DOUBLE_EQ(items[0].value1, 120.5);
  EXPECT_DOUBLE_EQ(items[0].value2, 0.5);
  EXPECT_EQ(items[0].exact, 'E');
  EXPECT_EQ(items[0].motion, 'E');
  // Sun-Mercury: 72 apart, an exact quintile; Venus 170 away: nothing.
  EXPECT_EQ(items[1].object2, 2);
  EXPECT_EQ(items[1].aspect, 1);
  EXPECT_DOUBLE_EQ(items[1].value2, 0.0);
  EXPECT_TRUE(PointAspects(chart, 5, system).empty()) << "a point without a longitude";
}

}  // namespace
