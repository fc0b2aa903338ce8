// The aspect table model: points and charts of each chart choice, cells under the mouse, the
// aspects of a midpoint under each highlight mode, and the paged list of midpoints with aspects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "aspect_table_fixture.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"

namespace {

using namespace asptable_test;
using S = cfg::AspectTableSettings;
using M = cfg::MidpointPrintSettings;

std::vector<double> Longitudes(const std::vector<PointRecord>& points) {
  std::vector<double> out;
  for (const PointRecord& p : points) out.push_back(p.longitude.Get());
  return out;
}

TEST_F(AspectTableTest, SetPlanetsTakesColumnsAndRowsFromTheChosenCharts) {
  // Sun, Moon, the MC (table point 34: cusp of house X) and the ASC (37: house I).
  SwitchOn({0, 1, 34, 37});
  SetShort(S::kHouseOrbGroup, 4);
  Chart inner = ChartWith({{0, 10.0}, {1, 100.0}}, {{9, 270.0}, {0, 0.5}});
  Chart outer = ChartWith({{0, 200.0}, {1, 300.0}}, {{9, 90.0}, {0, 180.5}});
  outer.definition.SetAspectSystemName("CONJ");
  const std::vector<double> in{10.0, 100.0, 270.0, 0.5};
  const std::vector<double> out{200.0, 300.0, 90.0, 180.5};

  struct Case {
    const char* name;
    int choice;
    bool withOuter;
    std::vector<double> columns, rows;
    const char* system;  // of the row chart
  } const cases[] = {
      {"inner", 0, true, in, in, "TEST"},
      {"outer", 1, true, out, out, "CONJ"},
      {"between: columns inner, rows outer", 2, true, in, out, "CONJ"},
      {"one chart", 3, false, in, in, "TEST"},
      {"stored 2 without an outer chart", 2, false, in, in, "TEST"},
      {"stored 1 without an outer chart", 1, false, in, in, "TEST"},
      {"cancelled choice", -1, true, in, in, "TEST"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AspectTable table = Counted(inner);
    ASSERT_EQ(table.count, 4);
    const Chart* second = c.withOuter ? &outer : nullptr;
    table.SetPlanets(AspectTable::EffectiveChoice(c.choice, second != nullptr), inner, second);
    EXPECT_EQ(Longitudes(table.columns), c.columns);
    EXPECT_EQ(Longitudes(table.rows), c.rows);
    EXPECT_STREQ(table.systemName.data(), c.system);
    // Orb classes: the Sun and the Moon 1 (the default orb digits), the cusps the house group.
    EXPECT_EQ(table.columnOrbClass, (std::vector<int>{1, 1, 4, 4}));
    EXPECT_EQ(table.rowOrbClass, (std::vector<int>{1, 1, 4, 4}));
  }
}

TEST_F(AspectTableTest, LocalSpaceChartKeepsChartPointsBelowThirty) {
  SwitchOn({0, 9, 29, 30, 33, 34, 39});
  Chart chart = ChartWith({{0, 1.0}});
  chart.SetDerivationMarker(kMarkerLocalSpace);
  AspectTable table = Counted(chart);
  EXPECT_EQ(table.localSpace, 1);
  EXPECT_EQ(table.count, 3);
  EXPECT_EQ(table.TablePointAt(2), 29);
  EXPECT_EQ(table.TablePointAt(3), -1);

  AspectTable natal = Counted(ChartWith({{0, 1.0}}));
  EXPECT_EQ(natal.localSpace, 0);
  EXPECT_EQ(natal.count, 7);
}

TEST_F(AspectTableTest, PointCodesAreChartIndicesWhateverIsSwitchedOff) {
  // Mercury (2) off: Venus keeps code 3; cusps X, XII, I, III are 109, 111, 100, 102.
  SwitchOn({0, 3, 34, 36, 37, 39});
  AspectTable table = Counted(ChartWith({}));
  std::vector<int> codes;
  for (int p = 0; p <= table.count; ++p) codes.push_back(table.PointCode(p));
  EXPECT_EQ(codes, (std::vector<int>{0, 3, 109, 111, 100, 102, -1}));
  EXPECT_EQ(table.PointCode(-1), -1);
}

TEST_F(AspectTableTest, HitCellFindsTheCellUnderThePointUpToItsEdges) {
  SwitchOn({0, 2, 5});
  AspectTable table = Counted(ChartWith({}));
  table.originX = 50;
  table.originY = -50;
  table.cellWidth = 1000;
  table.cellHeight = 500;
  struct Case {
    const char* name;
    int x, y;
    bool hit;
    int column, row;
  } const cases[] = {
      {"first cell, top-left corner", 1050, -550, true, 0, 0},
      {"header column's last unit", 1049, -550, false, 0, 0},
      {"header row's last unit", 1050, -549, false, 0, 0},
      {"last cell, far corner", 4049, -2049, true, 5, 5},
      {"right of the grid", 4050, -2049, false, 0, 0},
      {"under the grid", 4049, -2050, false, 0, 0},
      {"middle cell", 2500, -1300, true, 2, 2},
      {"column 3 of row 1", 3100, -600, true, 5, 0},
      {"left of the grid", -2000, -1300, false, 0, 0},
      {"above the grid", 2500, 700, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int column = -9, row = -9;
    EXPECT_EQ(table.HitCell(c.x, c.y, column, row), c.hit);
    if (c.hit) {
      EXPECT_EQ(column, c.column);
      EXPECT_EQ(row, c.row);
    }
  }
}

// A midpoint at 0 degrees and the points around it: Sun 0.5 (conjunction, exact, major), Moon 93
// (square, 3 degrees off, major), Mercury 61 (sextile, 1 degree off, minor), Venus 120.2 (trine,
// exact, minor), Mars 180.3 (opposition, exact, major); the cusp of house I at 90 (square, exact).
Chart MidpointChart() {
  return ChartWith({{0, 0.5}, {1, 93.0}, {2, 61.0}, {3, 120.2}, {4, 180.3}}, {{0, 90.0}});
}

TEST_F(AspectTableTest, MidpointAspectsFollowTheHighlightMode) {
  SetInt(S::kOnlyDisplayed, 0);
  config_.aspectTable.Set(S::kAspectsToHouses, std::uint8_t{0});
  struct Case {
    int mode;
    std::vector<std::uint8_t> points, codes;
  } const cases[] = {
      {0, {}, {}},
      {1, {0, 1, 4}, {0, 2, 1}},              // major within the orb
      {2, {0, 3, 4}, {0, 3, 1}},              // any within the exact orb
      {3, {0, 4}, {0, 1}},                    // major within the exact orb
      {4, {0, 1, 2, 3, 4}, {0, 2, 4, 3, 1}},  // any within the orb
  };
  const Chart chart = MidpointChart();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SetInt(S::kMidpointHighlight, c.mode);
    AspectTable table(config_, systems_);
    table.LoadSettings(chart);
    std::vector<std::uint8_t> codes, points;
    EXPECT_EQ(table.FindMidpointAspects(0.0, chart, &codes, &points),
              static_cast<int>(c.points.size()));
    EXPECT_EQ(points, c.points);
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(table.GetMidpointMark(0.0, chart), c.points.empty() ? 0 : 3);
  }
}

TEST_F(AspectTableTest, MidpointAspectsHonourShownPointsHousesLocalSpaceAndTheSystem) {
  SetInt(S::kMidpointHighlight, 4);
  Chart chart = MidpointChart();
  Chart localSpace = chart;
  localSpace.SetDerivationMarker(kMarkerLocalSpace);
  struct Case {
    const char* name;
    bool onlyDisplayed, toHouses;
    const Chart* chart;
    const char* system;
    std::vector<std::uint8_t> points;
  } const cases[] = {
      {"Moon not displayed", true, false, &chart, "TEST", {0, 2, 3, 4}},
      {"cusp of house I as 34", false, true, &chart, "TEST", {0, 1, 2, 3, 4, 34}},
      {"Local Space: no cusps", false, true, &localSpace, "TEST", {0, 1, 2, 3, 4}},
      {"system not loaded", false, true, &chart, "NONE", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetInt(S::kOnlyDisplayed, c.onlyDisplayed ? 1 : 0);
    config_.aspectTable.Set(S::kAspectsToHouses, static_cast<std::uint8_t>(c.toHouses ? 1 : 0));
    config_.aspectTable.Set(S::kMidpointSystem, c.system);
    config_.objectStrings[Configuration::kShownString][1] = 'N';
    AspectTable table(config_, systems_);
    table.LoadSettings(chart);
    std::vector<std::uint8_t> codes, points;
    table.FindMidpointAspects(0.0, *c.chart, &codes, &points);
    EXPECT_EQ(points, c.points);
  }
}

// The pairs of the table: Sun 0, Moon 20, Mercury 40 give the midpoints 10 (Sun/Moon), 20
// (Sun/Mercury) and 30 (Moon/Mercury). The chart the aspects go to has three points on 10, one on
// 20 and five on 30; with conjunctions only the entries get 3, 1 and 5 aspects.
class MidpointList : public AspectTableTest {
 protected:
  void SetUp() override {
    AspectTableTest::SetUp();
    SwitchOn({0, 1, 2});
    SetInt(S::kMidpointHighlight, 4);
    SetInt(S::kOnlyDisplayed, 0);
    config_.aspectTable.Set(S::kAspectsToHouses, std::uint8_t{0});
    config_.aspectTable.Set(S::kMidpointSystem, "CONJ");
    // List font 7500: the glyph "W" of the recording device is 1000 x 1000. Default margins:
    // left 1500, top 1500, right 1000, bottom 1500: (20800 - 1000 - 1500 - 10000) / 3000 = 2
    // aspects a line.
    config_.midpointPrint.Set(M::kListFontSize, 7500);
  }
  Chart pairs_ = ChartWith({{0, 0.0}, {1, 20.0}, {2, 40.0}});
  Chart targets_ = ChartWith({{3, 10.0},
                              {4, 10.0},
                              {5, 10.0},
                              {6, 20.0},
                              {7, 30.0},
                              {8, 30.0},
                              {9, 30.0},
                              {10, 30.0},
                              {11, 30.0}});
  platform::RecordingDc dc_;
};

TEST_F(MidpointList, EntriesWrapOnWholeLinesAndBeginANewPageWhenTheyDoNotFit) {
  struct Case {
    int interval;  // line height = interval + 1000; lines a page = 24700 / line height
    int lines, pages;
    std::vector<int> breaks;
  } const cases[] = {
      {7000, 3, 2, {1, 0, 1}},   // 2 + 1 lines on page 1, the 3 lines of the last on page 2
      {11350, 2, 3, {1, 1, 1}},  // an entry taller than a page stands alone, never split
      {0, 24, 1, {1, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    config_.midpointPrint.Set(M::kListInterval, c.interval);
    AspectTable table(config_, systems_);
    EXPECT_EQ(table.CreateMidpList(dc_, 3, pairs_, nullptr, targets_), c.pages);
    EXPECT_EQ(table.entriesPerLine, 2);
    EXPECT_EQ(table.glyphWidth, 1000);
    EXPECT_EQ(table.firstEntryX, 1500 + (5 * 1000 + 100) * 2);
    EXPECT_EQ(table.linesPerPage, c.lines);
    ASSERT_EQ(table.midpoints.size(), 3u);
    std::vector<int> breaks, counts;
    for (const MidpointEntry& e : table.midpoints) {
      breaks.push_back(e.pageBreak);
      counts.push_back(e.count);
    }
    EXPECT_EQ(breaks, c.breaks);
    EXPECT_EQ(counts, (std::vector<int>{3, 1, 5}));
  }
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(MidpointList, EntriesHoldPointCodesMidpointsAndTheAspectedPoints) {
  using Row = std::tuple<int, int, double, std::vector<std::uint8_t>>;
  const std::vector<std::uint8_t> on10{3, 4, 5}, on20{6}, on30{7, 8, 9, 10, 11};
  // Sun, Mercury and the ASC (code 100) of one chart: each pair once.
  const Chart pairs = ChartWith({{0, 0.0}, {2, 40.0}}, {{0, 20.0}});
  // Between two charts every column-row pair counts: columns from the inner chart (Sun 0, Moon
  // 20), rows from the outer (Sun 20, Moon 40) give the midpoints 10, 20, 20, 30.
  const Chart inner = ChartWith({{0, 0.0}, {1, 20.0}});
  const Chart outer = ChartWith({{0, 20.0}, {1, 40.0}});
  struct Case {
    std::initializer_list<int> points;
    int choice;
    const Chart *columns, *rows;
    std::vector<Row> entries;
  } const cases[] = {
      {{0, 2, 37}, 3, &pairs, nullptr, {{0, 2, 20, on20}, {0, 100, 10, on10}, {2, 100, 30, on30}}},
      {{0, 1},
       2,
       &inner,
       &outer,
       {{0, 0, 10, on10}, {0, 1, 20, on20}, {1, 0, 20, on20}, {1, 1, 30, on30}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.choice);
    SwitchOn(c.points);
    AspectTable table(config_, systems_);
    ASSERT_EQ(table.CreateMidpList(dc_, c.choice, *c.columns, c.rows, targets_), 1);
    std::vector<Row> got;
    for (const MidpointEntry& e : table.midpoints) {
      got.emplace_back(e.code1, e.code2, e.longitude, e.points);
      EXPECT_EQ(e.aspects, std::vector<std::uint8_t>(e.points.size(), 0));  // conjunctions
    }
    EXPECT_EQ(got, c.entries);
  }
}

TEST_F(MidpointList, NoMidpointWithAspectsIsToldAndGivesNoPages) {
  for (const int mode : {0, 4}) {
    SCOPED_TRACE(mode);
    SetInt(S::kMidpointHighlight, mode);
    prompts_.shown.clear();
    AspectTable table(config_, systems_);
    // Mode 0 finds nothing; in mode 4 the aspect chart has no point near any midpoint.
    EXPECT_EQ(table.CreateMidpList(dc_, 3, pairs_, nullptr, ChartWith({{0, 200.0}})), -1);
    EXPECT_TRUE(table.midpoints.empty());
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_EQ(prompts_.shown[0].number, kMsgNoMidpointAspects);
  }
}

TEST_F(AspectTableTest, AspectsToAMidpointIgnoreTheHighlightModeAndCarryArcOrbAndExactness) {
  SetInt(S::kOnlyDisplayed, 0);
  SetInt(S::kMidpointHighlight, 0);  // the grid highlights nothing; a click still lists them
  config_.aspectTable.Set(S::kAspectsToHouses, std::uint8_t{1});
  const Chart chart = MidpointChart();
  AspectTable table(config_, systems_);
  table.LoadSettings(chart);
  struct Row {
    int target, position;
    bool exact;
    double arc, orb;
  } const expected[] = {
      {0, 0, true, 0.5, 0.5},    // conjunction within the exact orb of 1
      {1, 2, false, 93.0, 3.0},  // square, outside the exact orb of 0.5
      {2, 4, false, 61.0, 1.0},  // sextile
      {3, 3, true, 120.2, 0.2},  // trine
      {4, 1, true, 179.7, 0.3},  // opposition
      {34, 2, true, 90.0, 0.0},  // the cusp of house I
  };
  const std::vector<MidpointAspect> found = table.AspectsToMidpoint(0.0, chart);
  ASSERT_EQ(found.size(), std::size(expected));
  for (std::size_t i = 0; i < found.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(found[i].target, expected[i].target);
    EXPECT_EQ(found[i].position, expected[i].position);
    EXPECT_EQ(found[i].exact, expected[i].exact);
    EXPECT_NEAR(found[i].arc, expected[i].arc, 1e-9);
    EXPECT_NEAR(found[i].orb, expected[i].orb, 1e-9);
  }
  config_.aspectTable.Set(S::kMidpointSystem, "NONE");
  EXPECT_TRUE(table.AspectsToMidpoint(0.0, chart).empty());
}

TEST(AspectTablePoints, TablePointsFromThirtyFourAreTheCuspsOfHousesTenToThree) {
  Chart chart = ChartWith({{0, 5.0}, {33, 7.0}});
  for (int house = 0; house < 12; ++house) chart.cusps[house].Set(house * 30.0 + 1.0);
  struct Case {
    int point;
    double longitude;
  } const cases[] = {{0, 5.0},    {33, 7.0}, {34, 271.0}, {35, 301.0},
                     {36, 331.0}, {37, 1.0}, {38, 31.0},  {39, 61.0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(AspectTable::TablePointLongitude(chart, c.point).Get(), c.longitude)
        << c.point;
}

// Interval 7000: lines of 8000, 3 lines a page, 2 aspects a line. Page 1 holds Sun/Moon (3
// aspects: two lines) and Sun/Mercury (one), page 2 Moon/Mercury (5 aspects: three lines).
TEST_F(MidpointList, ListPagesDrawEachEntryWholeFromItsPageBreak) {
  config_.midpointPrint.Set(M::kListInterval, 7000);
  AspectTable table(config_, systems_);
  ASSERT_EQ(table.CreateMidpList(dc_, 3, pairs_, nullptr, targets_), 2);
  EXPECT_EQ(table.ListPageEntries(1), (std::pair<std::size_t, std::size_t>{0, 2}));
  EXPECT_EQ(table.ListPageEntries(2), (std::pair<std::size_t, std::size_t>{2, 3}));
  EXPECT_EQ(table.ListPageEntries(3), (std::pair<std::size_t, std::size_t>{0, 0}));

  const int top = -(1500 + 2000), x0 = 1500 + 200, first = 1500 + (5 * 1000 + 100) * 2;
  using Glyph = std::tuple<std::string, int, int>;  // text, x, y
  const auto glyphs = [&](int page) {
    platform::RecordingDc dc(96, true);
    table.DrawListPage(dc, page, pairs_, nullptr);
    std::vector<Glyph> got;
    for (const platform::RecordedCall& c : dc.Calls())
      if (c.kind == platform::RecordedCall::Text && c.font.IsGlyphFace() && c.points[0].y <= top)
        got.emplace_back(c.text, c.points[0].x, c.points[0].y);
    return got;
  };
  const auto has = [](const std::vector<Glyph>& got, const Glyph& g) {
    return std::find(got.begin(), got.end(), g) != got.end();
  };
  const std::vector<Glyph> page1 = glyphs(1);
  for (const Glyph& g : {Glyph{"M", x0, top}, Glyph{"N", x0 + 2000, top},        // Sun / Moon
                         Glyph{"0", first, top}, Glyph{"P", first + 1000, top},  // to point 3
                         Glyph{"0", first + 3000, top}, Glyph{"Q", first + 4000, top},
                         Glyph{"R", first + 1000, top - 8000},  // the third: next line
                         Glyph{"M", x0, top - 16000}, Glyph{"O", x0 + 2000, top - 16000},
                         Glyph{"S", first + 1000, top - 16000}})
    EXPECT_TRUE(has(page1, g)) << std::get<0>(g) << " " << std::get<1>(g) << " " << std::get<2>(g);
  EXPECT_FALSE(has(page1, Glyph{"N", x0, top - 24000})) << "Moon/Mercury is on page 2";
  const std::vector<Glyph> page2 = glyphs(2);
  for (const Glyph& g : {Glyph{"N", x0, top}, Glyph{"O", x0 + 2000, top},
                         Glyph{"T", first + 1000, top}, Glyph{"X", first + 1000, top - 16000}})
    EXPECT_TRUE(has(page2, g)) << std::get<0>(g) << " " << std::get<1>(g) << " " << std::get<2>(g);
  EXPECT_FALSE(has(page2, Glyph{"M", x0, top}));
}

}  // namespace
