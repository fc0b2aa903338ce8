// The aspect and midpoint grids drawn through the recording device: lines, headers, the cells of
// one chart and of two charts, the diagonal, colours on screen and on paper, the layout of narrow
// windows, the page placements and the head of a table page.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "aspect_table_fixture.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "support/page_overlap.h"
#include "views/core/table_page_header.h"

namespace {

using namespace asptable_test;
using platform::Color;
using platform::Point;
using platform::RecordedCall;
using platform::RecordingDc;
using S = cfg::AspectTableSettings;

const std::string kDeg(1, '\xB0');

// Three points, a grid 28100 wide: cells of (28100 - 100) / 4 = 7000, font 3000 (the recording
// device's "555.55." is 7 em = 2800 wide at 3000), cells 2 x 400 = 800 high. Origin (1000, -2000).
// Two points get a grid 21100 wide: the same cells.
class GridTest : public AspectTableTest {
 protected:
  static constexpr int kX = 1000, kY = -2000, kW = 7000, kH = 800;

  void SetUp() override {
    AspectTableTest::SetUp();
    SwitchOn({0, 1, 2});
    SetInt(S::kDiagonalMode, 0);
    SetShort(S::kColourMode, 2);
    config_.colourPrinting = 1;
  }
  void SwitchOn(std::initializer_list<int> points) {
    AspectTableTest::SwitchOn(points);
    points_ = static_cast<int>(points.size());
  }

  // Cells `cellWidth` wide; the cells' size is kept in cell_ (checked against the usual one).
  RecordingDc Render(int choice, const Chart& inner, const Chart* outer, int kind = 0,
                     bool printing = true, int cellWidth = kW) {
    RecordingDc dc(96, printing);
    dc.SetMapMode(platform::MapMode::HiMetric);
    AspectTable table(config_, systems_);
    table.LoadSettings(inner);
    table.kind = static_cast<std::uint16_t>(kind);
    table.tableWidth = (points_ + 1) * cellWidth + 100;
    table.clientWidth = table.tableWidth;
    table.originX = kX;
    table.originY = kY;
    table.needsLayout = 1;
    table.Render(dc, choice, inner, outer);
    cell_ = {table.cellWidth, table.cellHeight};
    if (cellWidth == kW) {
      EXPECT_EQ(table.cellWidth, kW);
      EXPECT_EQ(table.cellHeight, kH);
      EXPECT_EQ(table.fontSize, 3000);
    }
    return dc;
  }

  static int CellX(int a) { return kX + (a + 1) * kW; }
  static int CellY(int b) { return kY - (b + 1) * kH; }

  // The texts whose reference point lies in cell (a, b).
  static std::vector<const RecordedCall*> InCell(const RecordingDc& dc, int a, int b) {
    std::vector<const RecordedCall*> out;
    for (const RecordedCall& c : dc.Calls()) {
      if (c.kind != RecordedCall::Text) continue;
      const Point p = c.points[0];
      if (p.x >= CellX(a) && p.x < CellX(a) + kW && p.y <= CellY(b) && p.y > CellY(b) - kH)
        out.push_back(&c);
    }
    return out;
  }
  static std::string TextOf(const std::vector<const RecordedCall*>& calls) {
    std::string s;
    for (const RecordedCall* c : calls) s += c->text;
    return s;
  }
  int points_ = 3;
  platform::Size cell_;
};

// Sun 0, Moon 90.3 (an exact square with the Sun), Mercury 122 (a trine 2 degrees off the Sun's).
Chart OneChart() { return ChartWith({{0, 0.0}, {1, 90.3}, {2, 122.0}}); }

TEST_F(GridTest, GridHasCountPlusTwoLinesEachWayThickOnlyUnderAndBesideTheHeaders) {
  const RecordingDc dc = Render(3, OneChart(), nullptr);
  // Lines of the grid run its whole width or height: 4 x 7000 across, 4 x 800 down.
  std::map<int, int> across, down;  // by position: number of lines
  for (const RecordedCall& c : dc.Calls()) {
    if (c.kind != RecordedCall::Line) continue;
    const Point a = c.points[0], b = c.points[1];
    if (a.y == b.y && a.x == kX && b.x == kX + 4 * kW) ++across[a.y];
    if (a.x == b.x && a.y == kY && b.y == kY - 4 * kH) ++down[a.x];
  }
  for (int i = 0; i <= 4; ++i) {
    SCOPED_TRACE(i);
    // Thickness 40 draws copies 5, 10 .. 40 units to both sides; thickness 1 one copy each side.
    const int reach = i == 1 ? 40 : 5;
    int lines = 0, columns = 0;
    for (int d = -reach; d <= reach; d += 5) {
      lines += across.count(kY - i * kH + d) ? 1 : 0;
      columns += down.count(kX + i * kW + d) ? 1 : 0;
    }
    EXPECT_EQ(lines, 2 * reach / 5 + 1);
    EXPECT_EQ(columns, 2 * reach / 5 + 1);
  }
  EXPECT_EQ(across.size(), 4u * 3 + 17);
  EXPECT_EQ(down.size(), 4u * 3 + 17);
  for (const RecordedCall& c : dc.Calls()) {
    if (c.kind == RecordedCall::Line) {
      EXPECT_EQ(c.pen.color, ColorByIndex(8));
    }
  }
}

TEST_F(GridTest, HeadersShowEachPointsGlyphOnTheTopRowAndTheLeftColumn) {
  SwitchOn({0, 34, 37});  // the Sun, the MC (cusp X: 'o' + 9 = 'x'), the ASC ('o')
  const RecordingDc dc = Render(3, ChartWith({{0, 1.0}}, {{0, 2.0}, {9, 3.0}}), nullptr);
  struct Glyph {
    char code;
    int p;
  } const glyphs[] = {{'M', 1}, {'x', 2}, {'o', 3}};
  for (const Glyph& g : glyphs) {
    SCOPED_TRACE(g.code);
    std::vector<Point> at;
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Text && c.text == std::string(1, g.code)) {
        at.push_back(c.points[0]);
        EXPECT_EQ(c.font.pointSize, 6000);
        EXPECT_EQ(c.font.face, platform::kGlyphFaceA);
      }
    EXPECT_EQ(at, (std::vector<Point>{{kX + g.p * kW + kW / 3, kY}, {kX + kW / 4, kY - g.p * kH}}));
  }
}

TEST_F(GridTest, OneChartHasAspectsAboveTheDiagonalAndTheirArcsMirroredBelow) {
  const RecordingDc dc = Render(3, OneChart(), nullptr);
  // Above: column Moon / row Sun the square ('0' + 2), column Mercury / row Sun the trine ('3').
  struct Above {
    int a, b;
    char glyph;
    const char* orb;
    int colour;  // exact colour 9, orb colour 12
  } const above[] = {{1, 0, '2', "0.3", 9}, {2, 0, '3', "2.0", 12}};
  for (const Above& c : above) {
    SCOPED_TRACE(c.glyph);
    const auto calls = InCell(dc, c.a, c.b);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0]->text, std::string(1, c.glyph));
    EXPECT_EQ(calls[0]->font.face, platform::kGlyphFaceB);
    EXPECT_EQ(calls[0]->font.pointSize, 6000);
    EXPECT_EQ(calls[0]->points[0], (Point{CellX(c.a) + kW / 15, CellY(c.b)}));
    EXPECT_EQ(calls[0]->color, ColorByIndex(c.colour));
    EXPECT_EQ(calls[1]->text, c.orb);
    EXPECT_EQ(calls[1]->points[0], (Point{CellX(c.a) + kW / 2, CellY(c.b) - kH / 2}));
    EXPECT_EQ(calls[1]->color, ColorByIndex(c.colour));  // colour mode 2
  }
  EXPECT_TRUE(InCell(dc, 2, 1).empty());  // Moon-Mercury 31°42': no aspect
  // Below: the arc of each pair, a seventh of a cell left of the longitude place.
  struct Below {
    int a, b;
    std::string arc;
  } const below[] = {
      {0, 1, "90" + kDeg + "18'"}, {0, 2, "122" + kDeg + "00'"}, {1, 2, "31" + kDeg + "42'"}};
  for (const Below& c : below) {
    SCOPED_TRACE(c.arc);
    const auto calls = InCell(dc, c.a, c.b);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]->text, c.arc);
    EXPECT_EQ(calls[0]->points[0], (Point{CellX(c.a) + kW / 5 - kW / 7, CellY(c.b) - kH / 4}));
    EXPECT_EQ(calls[0]->color, platform::kBlack);
  }
  for (int a = 0; a < 3; ++a) EXPECT_TRUE(InCell(dc, a, a).empty()) << a;  // diagonal mode 0
}

TEST_F(GridTest, DiagonalShowsThePointByTheDiagonalMode) {
  Chart localSpace = OneChart();
  localSpace.SetDerivationMarker(kMarkerLocalSpace);
  const Color navy = ColorByIndex(1);
  const Point signAt{CellX(0) + kW / 5, CellY(0) - kH / 4}, degreeAt{CellX(0), CellY(0) - kH / 4};
  const std::string degrees = "0" + kDeg + "00'";
  struct Case {
    const char* name;
    int mode;
    const Chart* chart;
    bool colourPrinting;
    std::string text;  // in the Sun's diagonal cell
    Point at;
    Color colour;
  } const cases[] = {
      {"empty", 0, nullptr, true, "", {}, {}},
      {"sign and degree", 1, nullptr, true, "00A00", signAt, navy},
      {"absolute degree", 2, nullptr, true, degrees, degreeAt, navy},
      {"planet glyph", 3, nullptr, true, "M", {CellX(0) + kW / 3, CellY(0)}, platform::kBlack},
      {"Local Space: degrees", 1, &localSpace, true, degrees, degreeAt, navy},
      {"paper without colour", 1, nullptr, false, "00A00", signAt, platform::kBlack},
  };
  const Chart chart = OneChart();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetInt(S::kDiagonalMode, c.mode);
    config_.colourPrinting = c.colourPrinting ? 1 : 0;
    const RecordingDc dc = Render(3, c.chart != nullptr ? *c.chart : chart, nullptr);
    const auto calls = InCell(dc, 0, 0);
    EXPECT_EQ(TextOf(calls), c.text);
    if (!calls.empty()) {
      EXPECT_EQ(calls[0]->points[0], c.at);
      EXPECT_EQ(calls[0]->color, c.colour);
    }
  }
}

TEST_F(GridTest, BetweenTwoChartsEveryCellFollowsTheCellMode) {
  SwitchOn({0, 1});
  // Columns: the inner Sun 0 and Moon 150; rows: the outer Sun 0.3 (exact conjunction with the
  // inner Sun) and Moon 70 (no aspect with it: 70 degrees).
  const Chart inner = ChartWith({{0, 0.0}, {1, 150.0}});
  Chart outer = ChartWith({{0, 0.3}, {1, 70.0}});
  outer.definition.sources[0].SetName("B");
  const std::string arcWith = "0" + kDeg + "18'", arcWithout = "70" + kDeg + "00'";
  struct Case {
    int cellMode;
    std::string withAspect, withoutAspect;  // cells (Sun, Sun) and (Sun, Moon)
    Color arcColour;                        // of the arc in the aspect's cell
  } const cases[] = {
      {0, "00.3", "", {}},
      {1, "00.3", arcWithout, {}},
      {2, arcWith, arcWithout, ColorByIndex(9)},
      {3, arcWith, "", ColorByIndex(9)},
  };
  // The planet glyph of diagonal mode 3 stays off: these diagonal cells hold aspects.
  SetInt(S::kDiagonalMode, 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cellMode);
    SetShort(S::kCellMode, c.cellMode);
    const RecordingDc dc = Render(2, inner, &outer);
    EXPECT_EQ(TextOf(InCell(dc, 0, 0)), c.withAspect);
    EXPECT_EQ(TextOf(InCell(dc, 0, 1)), c.withoutAspect);
    EXPECT_EQ(TextOf(InCell(dc, 1, 0)),
              c.cellMode == 1 || c.cellMode == 2 ? "149" + kDeg + "42'" : "");
    const auto cell = InCell(dc, 0, 0);
    if (c.cellMode >= 2) {
      ASSERT_EQ(cell.size(), 1u);
      EXPECT_EQ(cell[0]->points[0], (Point{CellX(0) + kW / 5 - kW / 5, CellY(0) - kH / 4}));
      EXPECT_EQ(cell[0]->color, c.arcColour);
    }
  }
}

TEST_F(GridTest, ChartNamesFillTheCornerCellOfATableBetweenTwoCharts) {
  SwitchOn({0, 1});
  Chart inner = ChartWith({{0, 0.0}, {1, 150.0}});
  Chart outer = ChartWith({{0, 10.0}, {1, 70.0}});
  struct Case {
    const char* name;
    const char *innerName, *outerName, *innerTitle, *outerTitle;
    std::vector<std::string> texts;
  } const cases[] = {
      // The text face is half an em wide (200 at 3000): 6650 of room hold 33 characters, so the
      // names are cut at 15.
      {"names", "Иванов Иван Иванович", "Петров", "", "", {"Иванов Иван Ива", "Петров"}},
      {"same names: titles", "Иванов", "Иванов", "Натал", "Транзит", {"Натал", "Транзит"}},
      {"same names and titles", "Иванов", "Иванов", "Натал", "Натал", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    inner.definition.sources[0].SetName(Cp1251(c.innerName));
    outer.definition.sources[0].SetName(Cp1251(c.outerName));
    inner.definition.SetTitle(Cp1251(c.innerTitle));
    outer.definition.SetTitle(Cp1251(c.outerTitle));
    const RecordingDc dc = Render(2, inner, &outer);
    std::vector<std::string> texts;
    for (const RecordedCall& call : dc.Calls())
      if (call.kind == RecordedCall::Text && call.font.face == platform::kTextFace)
        texts.push_back(call.text);
    std::vector<std::string> expected;
    for (const std::string& t : c.texts) expected.push_back(Cp1251(t));
    EXPECT_EQ(texts, expected);
  }
}

// In narrow cells each name stays in its half of the corner, clear of the grid's lines as a 96-dpi
// screen inks them: a pixel (27) below the line over it and short of the thick lines at its right
// and under the corner (40 and a pixel).
TEST_F(GridTest, ChartNamesStayClearOfTheCornersLines) {
  SwitchOn({0, 1});
  Chart inner = ChartWith({{0, 0.0}, {1, 150.0}});
  Chart outer = ChartWith({{0, 10.0}, {1, 70.0}});
  inner.definition.sources[0].SetName(Cp1251("Иванова-Петровская Мария"));
  outer.definition.sources[0].SetName(Cp1251("Ли"));
  const RecordingDc dc = Render(2, inner, &outer, 0, false, 1300);
  RecordingDc measure;
  const int w = cell_.cx, h = cell_.cy;
  int names = 0;
  for (const auto& t : testing_support::PageTextBoxes(dc, measure)) {
    const platform::Rect& b = t.box;
    if (b.left >= kX + w || b.top <= kY - h) continue;  // outside the corner
    const int half = b.top <= kY - h / 2 - 27 ? 1 : 0;
    EXPECT_TRUE(b.left >= kX + 27 && b.right <= kX + w - 67) << t.text;
    EXPECT_TRUE(b.top <= kY - 27 - half * (h / 2) && b.bottom >= kY - h / 2 - half * (h / 2 - 67))
        << t.text;
    ++names;
  }
  EXPECT_GE(names, 2);
}

TEST_F(GridTest, PaperWithoutColourDropsColoursAndHighlightsTheScreenKeeps) {
  SetInt(S::kMidpointHighlight, 4);
  const Chart chart = OneChart();
  struct Case {
    const char* name;
    bool printing;
    int colourPrinting;
    bool coloured;
  } const cases[] = {
      {"screen", false, 0, true},
      {"paper in colour", true, 1, true},
      {"paper without colour", true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    config_.colourPrinting = c.colourPrinting;
    const RecordingDc aspects = Render(3, chart, nullptr, 0, c.printing);
    const RecordingDc midpoints = Render(3, chart, nullptr, 1, c.printing);
    bool colour = false;
    for (const RecordedCall& call : aspects.Calls()) {
      if (call.kind == RecordedCall::Text) colour |= call.color != platform::kBlack;
      if (call.kind == RecordedCall::Line) colour |= call.pen.color != platform::kBlack;
    }
    const bool highlighted =
        std::any_of(midpoints.Calls().begin(), midpoints.Calls().end(), [](const RecordedCall& x) {
          return x.kind == RecordedCall::FillRect && x.color == ColorByIndex(14);
        });
    EXPECT_EQ(colour, c.coloured);
    EXPECT_EQ(highlighted, c.coloured);
  }
}

TEST_F(GridTest, MidpointGridShowsEachMidpointTwiceForOneChartAndOnceBetweenTwo) {
  const Chart chart = OneChart();
  const RecordingDc one = Render(3, chart, nullptr, 1);
  // Sun 0 / Moon 90.3: 45.15 = 15°09' Taurus in the upper cell, 45°09' mirrored below.
  EXPECT_EQ(TextOf(InCell(one, 1, 0)), "15B09");
  EXPECT_EQ(InCell(one, 1, 0)[0]->points[0], (Point{CellX(1) + kW / 5, CellY(0) - kH / 4}));
  EXPECT_EQ(TextOf(InCell(one, 0, 1)), "45" + kDeg + "09'");
  EXPECT_EQ(InCell(one, 0, 1)[0]->points[0],
            (Point{CellX(0) + kW / 5 - kW / 7, CellY(1) - kH / 4}));
  // Moon 90.3 / Mercury 122: 106.15 = 16°09' Cancer.
  EXPECT_EQ(TextOf(InCell(one, 2, 1)), "16D09");

  SwitchOn({0, 1});
  const Chart outer = ChartWith({{0, 40.0}, {1, 200.0}});
  const RecordingDc two = Render(2, chart, &outer, 1);
  // Columns inner (Sun 0, Moon 90.3), rows outer (Sun 40, Moon 200).
  EXPECT_EQ(TextOf(InCell(two, 0, 0)), "20A00");
  EXPECT_EQ(TextOf(InCell(two, 1, 0)), "05C09");
  EXPECT_EQ(TextOf(InCell(two, 0, 1)), "10J00");  // 0 / 200: the shorter arc, 280 = Capricorn
  EXPECT_EQ(TextOf(InCell(two, 1, 1)), "25E09");  // 145.15: Leo
}

TEST_F(AspectTableTest, NarrowWindowKeepsTheCellsOfSize1700) {
  SwitchOn({0, 1, 2});
  struct Case {
    int clientWidth, fontSize, cellWidth, cellHeight;
  } const cases[] = {
      // (28100 - 100) / 4 = 7000; 3000 fits.
      {28100, 3000, 7000, 800},
      // 93 a cell: size 100 ("555.55." 7 x 13.3 = 93.3 wide) does not fit: 1700, 7 x 226.7.
      {472, 1700, 1587, 454},
      // 95 a cell: size 100 fits, nothing larger does.
      {480, 100, 95, 26},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clientWidth);
    RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    AspectTable table(config_, systems_);
    table.LoadSettings(ChartWith({{0, 1.0}}));
    table.clientWidth = c.clientWidth;
    table.tableWidth = 99999;  // for paper only
    table.Render(dc, 3, ChartWith({{0, 1.0}}), nullptr);
    EXPECT_EQ(table.fontSize, c.fontSize);
    EXPECT_EQ(table.cellWidth, c.cellWidth);
    EXPECT_EQ(table.cellHeight, c.cellHeight);
  }
}

TEST_F(AspectTableTest, DrawPlacesTheTableByItsPageLayout) {
  SwitchOn({0, 1});
  config_.print.offsets[0] = 300;    // aspect table left, large chart
  config_.print.offsets[1] = 400;    // two charts
  config_.print.offsets[2] = 500;    // small chart
  config_.print.offsets[3] = 16000;  // aspect table top, large chart
  config_.print.offsets[4] = 17000;
  config_.print.offsets[5] = 12000;
  using W = cfg::AspectTableSettings;
  config_.aspectTable.Set(W::kTableWidth[0], 15000);
  config_.aspectTable.Set(W::kTableWidth[1], 12000);
  config_.aspectTable.Set(W::kTableWidth[2], 19000);
  struct Case {
    int layout;
    bool frame;
    int x, y, width;
  } const cases[] = {
      // The chart page counts from the frame's inner corner: margins 1500 + 200.
      {0, true, 1700 + 300, -1700 - 16000, 15000},
      {1, true, 1700 + 400, -1700 - 17000, 15000},
      {2, true, 1700 + 500, -1700 - 12000, 12000},
      // Table pages: centred between the margins (left 1500, right 1000).
      // The upper table under the page head: 2000 under the top margin.
      {3, true, (21000 + 1500 - 1000 - 19000) / 2, -1500 - 2000, 19000},
      {4, true, (21000 + 1500 - 1000 - 19000) / 2, -14900, 19000},
      {3, false, 1000, -1500 - 2000, 19000},
  };
  const Chart chart = ChartWith({{0, 1.0}, {1, 2.0}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    config_.print.pageFrame = c.frame ? 1 : 0;
    RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    AspectTable table(config_, systems_);
    table.Draw(dc, c.layout, chart, nullptr, 3, 0);
    EXPECT_EQ(table.originX, c.x);
    EXPECT_EQ(table.originY, c.y);
    EXPECT_EQ(table.tableWidth, c.width);
    EXPECT_EQ(table.cellWidth, (c.width - 100) / 3);
    EXPECT_EQ(table.needsLayout, 0);
  }
  // A picture of the page (a device that is not a printer) fills the page's width too.
  RecordingDc picture;
  picture.SetMapMode(platform::MapMode::HiMetric);
  AspectTable table(config_, systems_);
  table.Draw(picture, 3, chart, nullptr, 3, 0);
  EXPECT_EQ(table.cellWidth, (19000 - 100) / 3);
}

TEST_F(AspectTableTest, TablePageHeadNamesTheChartsAndTheListPage) {
  Chart inner = ChartWith({});
  inner.definition.sources[0].SetName(Cp1251("Иванов"));
  Chart outer = ChartWith({});
  outer.definition.sources[0].SetName(Cp1251("Петров"));
  struct Case {
    const char* name;
    bool twoCharts;
    int same;
    int frameBottom;
    std::string title;  // UTF-8; empty: none
  } const cases[] = {
      {"one chart, midpoints under", false, 1, -28200, ""},
      {"two charts, nothing under", true, 3, -28200 + 11000, ""},
      {"list page 1", false, -1, -28200, "СПИСОК МИДПОЙНТОВ"},
      {"list page 3", true, -3, -28200, "СПИСОК МИДПОЙНТОВ (стр. 3)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    DrawTablePageHeader(dc, config_, inner, c.twoCharts ? &outer : nullptr, c.same);
    // The first call of `kind` whose text holds `part` (any text when empty).
    const auto find = [&dc](RecordedCall::Kind kind, const std::string& part) {
      for (const RecordedCall& x : dc.Calls())
        if (x.kind == kind && x.text.find(part) != std::string::npos) return &x;
      return static_cast<const RecordedCall*>(nullptr);
    };
    const auto alignment = [](const RecordedCall* x) {
      return x->align & platform::TextAlign::kHorizontalMask;
    };
    const RecordedCall* frame = find(RecordedCall::RoundRect, "");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->points[0], (Point{1500, -1500}));
    EXPECT_EQ(frame->points[1], (Point{20000, c.frameBottom}));
    const RecordedCall* innerName = find(RecordedCall::Text, Cp1251("Иванов"));
    ASSERT_NE(innerName, nullptr);
    EXPECT_EQ(innerName->points[0], (Point{1700, -1700}));
    const RecordedCall* outerName = find(RecordedCall::Text, Cp1251("Петров"));
    const RecordedCall* ornament = find(RecordedCall::Text, "?;<=>");
    ASSERT_EQ(outerName != nullptr, c.twoCharts);
    ASSERT_EQ(ornament != nullptr, !c.twoCharts);
    if (c.twoCharts) {
      EXPECT_EQ(outerName->points[0].x, 20800 - 1000);
      EXPECT_EQ(alignment(outerName), platform::TextAlign::kRight);
    } else {
      EXPECT_EQ(ornament->text, "?;<=>");
      EXPECT_EQ(ornament->points[0], (Point{20300 - 1000, -250 - 1500}));
      EXPECT_EQ(ornament->font.face, platform::kGlyphFaceA);
      EXPECT_EQ(ornament->font.pointSize, 6000);
      EXPECT_EQ(alignment(ornament), platform::TextAlign::kRight);
    }
    const RecordedCall* title = nullptr;
    for (const RecordedCall& x : dc.Calls())
      if (x.kind == RecordedCall::Text && x.font.pointSize == 4000 &&
          x.font.face == platform::kTextFace)
        title = &x;
    ASSERT_EQ(title != nullptr, !c.title.empty());
    if (title != nullptr) {
      EXPECT_EQ(title->text, Cp1251(c.title));
      EXPECT_EQ(title->points[0], (Point{(1500 + 21000 - 1000) / 2, -1500 - 600}));
      EXPECT_EQ(alignment(title), platform::TextAlign::kCenter);
    }
  }
}

}  // namespace
