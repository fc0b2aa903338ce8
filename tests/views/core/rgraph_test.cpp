// The plotting base of the time graphs: the layouts of the screen and of portrait and landscape
// pages, the mapping to the page, the axes, the date scale, the curves with their 0/360 crossings
// and the glyphs, drawn into a recording device context. Expected values are worked out by hand.
#include "views/core/rgraph.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::Point;
using platform::RecordedCall;
using platform::RecordingDc;

constexpr int kScreen = RGraph::kLayoutScreen, kPortrait = RGraph::kLayoutPortrait,
              kLandscape = RGraph::kLayoutLandscape;

// A graph with a fixed number of points and no period of its own.
class TestGraph : public RGraph {
 public:
  explicit TestGraph(int points = 61, double step = 1.0) {
    pointCount = points;
    timeStep = step;
    leftPercent = 5, topPercent = 5, rightPercent = 5, bottomPercent = 8;
    valueMax = 360.0;
  }
  void DefineScale() override {}
};

struct Segment {
  Point a, b;
};

// The lines drawn, in order (a line of thickness n is its middle line and then its copies).
std::vector<RecordedCall> Lines(const RecordingDc& dc) {
  std::vector<RecordedCall> lines;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Line) lines.push_back(c);
  return lines;
}

bool HasLine(const RecordingDc& dc, Point a, Point b) {
  for (const RecordedCall& c : Lines(dc))
    if ((c.points[0] == a && c.points[1] == b) || (c.points[0] == b && c.points[1] == a))
      return true;
  return false;
}

int CountLinesEndingAt(const RecordingDc& dc, int y) {
  int n = 0;
  for (const RecordedCall& c : Lines(dc)) n += c.points[1].y == y && c.points[0].y != y;
  return n;
}

TEST(GraphLayout, ScreenPortraitAndLandscapeBlocks) {
  struct Row {
    const char* name;
    int mode;
    int points;
    GraphLayout expected;
  } const rows[] = {
      // Screen 20000 x 10000: margins 5 %, 5 %, 5 %, 8 %; 18000 / 60 points.
      {"screen", kScreen, 61, {20000, 10000, 18000, 8700, 1000, 500, 1000, 800, 300}},
      // Page margins 2000 left, 1000 top, 1000 right, 1500 bottom: 18000 x 14850.
      {"portrait", kPortrait, 61, {18000, 14850, 16200, 12920, 900, 742, 900, 1188, 270}},
      // 29700 - 1700 - 1000 - 1500 wide, 21000 - 2000 - 1000 high; 22950 / 60 truncated.
      {"landscape", kLandscape, 61, {25500, 18000, 22950, 15660, 1275, 900, 1275, 1440, 382}},
      // One point or none: the step is the whole inner width instead of a division by zero.
      {"one_point", kScreen, 1, {20000, 10000, 18000, 8700, 1000, 500, 1000, 800, 18000}},
      {"no_points", kScreen, 0, {20000, 10000, 18000, 8700, 1000, 500, 1000, 800, 18000}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g(r.points);
    g.pageMargins = {2000, 1000, 1000, 1500};
    g.pageOffset = 1700;
    if (r.mode == kScreen)
      g.SetScreenMode();
    else
      g.SetPrintMode(r.mode);
    EXPECT_EQ(g.DefineArea(20000, -10000), r.expected.xStep);
    const GraphLayout& l = g.Current();
    EXPECT_EQ(&l, r.mode == kScreen ? &g.screen : &g.print);
    const auto fields = [](const GraphLayout& x) {
      return std::array{x.pageWidth,  x.pageHeight, x.innerWidth,  x.innerHeight,
                        x.leftMargin, x.topMargin,  x.rightMargin, x.bottomMargin};
    };
    EXPECT_EQ(fields(l), fields(r.expected));
  }
}

TEST(GraphDrawing, AxesAlongTheInnerArea) {
  TestGraph g;
  g.DefineArea(20000, -10000);
  RecordingDc dc;
  g.DrawAxes(dc);
  // x axis at y = 800 - 10000 from the left margin to 20000 - 1000; y axis up to -500.
  EXPECT_TRUE(HasLine(dc, {1000, -9200}, {19000, -9200}));
  EXPECT_TRUE(HasLine(dc, {1000, -9200}, {1000, -500}));
  // Thickness 15 gives three pairs of copies, thickness 10 two.
  EXPECT_EQ(Lines(dc).size(), 7u + 5u);
  for (const RecordedCall& c : Lines(dc)) EXPECT_EQ(c.pen.color, platform::kBlack);
}

// A screen graph of 11000 x 10000 units: inner width 9900, bottom margin 800. Its labels are
// written at size 4000 (the size fits 0.8 x 800), the sample "77.77" is 5 half-ems of 533.3 units,
// 1333 wide, so 9900 / 1333 = 7 labels fit.
TEST(GraphDateScale, LabelStepTicksGridAndDates) {
  struct Row {
    const char* name;
    int evenStep;
    int step;
    std::vector<std::string> labels;
  } const rows[] = {
      // ceil(61 / 7) = 9 days; from 25 February of a leap year.
      {"odd_step", 0, 9, {"25.02", "05.03", "14.03", "23.03", "01.04", "10.04", "19.04"}},
      // An odd step made even: 10 days.
      {"even_step", 1, 10, {"25.02", "06.03", "16.03", "26.03", "05.04", "15.04", "25.04"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g(61, 1.0);
    g.DefineArea(11000, -10000);  // x step 9900 / 60 = 165
    RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    FDate first;
    ASSERT_TRUE(first.SetDate(25, 2, 2024).ok());
    EXPECT_EQ(g.DrawDateScale(dc, 1, Moment(first, FTime{}), r.evenStep, 7, 0), 4000);
    EXPECT_EQ(g.labelCount, 7);
    EXPECT_EQ(g.labelStep, r.step);
    const int labelled = 60 / r.step + 1;
    // Long ticks end at -10000 + trunc(0.77 x 800), short ones at -10000 + trunc(0.9 x 800).
    EXPECT_EQ(CountLinesEndingAt(dc, -9384), labelled * 3);
    EXPECT_EQ(CountLinesEndingAt(dc, -9280), (61 - labelled) * 3);
    // Dotted grid lines up to the top margin at every labelled point but the first.
    int grid = 0;
    for (const RecordedCall& c : Lines(dc))
      if (c.pen.style == platform::PenStyle::Dot) {
        ++grid;
        EXPECT_EQ(c.pen.color, ColorByIndex(7));
        EXPECT_NE(c.points[0].x, 550);
      }
    EXPECT_EQ(grid, (labelled - 1) * 3);
    EXPECT_TRUE(HasLine(dc, {550 + 165 * r.step, -9200}, {550 + 165 * r.step, -500}));
    // The last label, 165 x 6 steps - 1333 / 3 in, still ends within the inner width.
    EXPECT_EQ(dc.Texts(), r.labels);
    for (const RecordedCall& c : dc.Calls())
      if (c.kind == RecordedCall::Text) {
        EXPECT_EQ(c.points[0].y, -9360);    // -10000 + trunc(0.8 x 800)
        EXPECT_EQ(c.font.pointSize, 3200);  // the second font: 0.8 x 4000
      }
  }
}

TEST(GraphDateScale, TimeOfDayLabelsCarryPastMidnight) {
  TestGraph g(61, 30.0);  // 30 minutes a point, 9 points a label: 4 h 30 min
  g.DefineArea(11000, -10000);
  RecordingDc dc;
  FDate first;
  ASSERT_TRUE(first.SetDate(31, 12, 2023).ok());
  FTime time;
  ASSERT_TRUE(time.SetTime(23, 0).ok());
  ASSERT_EQ(g.DrawDateScale(dc, 0, Moment(first, time), 0, 7, 1), 4000);
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"23:00", "03:30", "08:00", "12:30", "17:00",
                                                  "21:30", "02:00"}));
}

TEST(GraphDateScale, NothingDrawnWhenNoLabelFits) {
  struct Row {
    const char* name;
    int width, heightNegated, points;
  } const rows[] = {
      {"narrower_than_one_label", 1400, -10000, 61},  // inner width 1260 below 1333
      {"no_room_for_a_font", 20000, -50, 61},         // bottom margin 4: no size fits
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g(r.points);
    g.DefineArea(r.width, r.heightNegated);
    RecordingDc dc;
    EXPECT_EQ(g.DrawDateScale(dc, 1, Moment{}, 0, 7, 0), -1);
    EXPECT_TRUE(dc.Calls().empty());
  }
  // Without points the scale has labels but no ticks, and no division by a zero step.
  TestGraph empty(0);
  empty.DefineArea(11000, -10000);
  RecordingDc dc;
  EXPECT_EQ(empty.DrawDateScale(dc, 1, Moment{}, 1, 7, 0), 4000);
  EXPECT_EQ(CountLinesEndingAt(dc, -9384) + CountLinesEndingAt(dc, -9280), 0);
}

// Screen graph 20000 x 10000, 61 points: x of point k = 1000 + 300 k; a value v lies at
// y = -(9200 - 8700 / 360 v); top edge -500, x axis -9200.
TEST(GraphCurves, SegmentsAndTheirCrossingsOfZero) {
  struct Row {
    const char* name;
    double v1, v2;
    std::vector<Segment> lines;
  } const rows[] = {
      {"direct", 120.0, 150.0, {{{1000, -6300}, {1300, -5575}}}},
      // 358 -> 2: crosses upwards half way: to the top edge and from the bottom edge.
      {"direct_over_360",
       358.0,
       2.0,
       {{{1000, -548}, {1150, -500}}, {{1300, -9152}, {1150, -9200}}}},
      // 348 -> 6: 12 of 18 degrees before 360.
      {"direct_over_360_late",
       348.0,
       6.0,
       {{{1000, -790}, {1200, -500}}, {{1300, -9055}, {1200, -9200}}}},
      // 2 -> 358: retrograde, down through 0 half way.
      {"retrograde_over_0",
       2.0,
       358.0,
       {{{1000, -9152}, {1150, -9200}}, {{1300, -548}, {1150, -500}}}},
      // Values outside 0..360 are reduced first: 366 -> -12 is 6 -> 348.
      {"reduced", 366.0, -12.0, {{{1000, -9055}, {1100, -9200}}, {{1300, -790}, {1100, -500}}}},
      // Exactly half a circle is no crossing.
      {"half_circle", 270.0, 90.0, {{{1000, -2675}, {1300, -7025}}}},
      {"absent", -777.0, 10.0, {}},
      {"absent_second", 10.0, -777.0, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g;
    g.DefineArea(20000, -10000);
    RecordingDc dc;
    g.DrawCurveSegment(dc, 12, r.v1, r.v2, 0, 1);
    const std::vector<RecordedCall> lines = Lines(dc);
    ASSERT_EQ(lines.size(), r.lines.size() * 3);  // thickness 1: a middle line and two copies
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
      EXPECT_EQ(lines[i * 3].points[0], r.lines[i].a) << i;
      EXPECT_EQ(lines[i * 3].points[1], r.lines[i].b) << i;
      EXPECT_EQ(lines[i * 3].pen.color, ColorByIndex(12));
    }
  }
}

TEST(GraphCurves, ColoursOnScreenAndInPrint) {
  struct Row {
    const char* name;
    int mode, colourPrinting, expected;
  } const rows[] = {
      {"screen", kScreen, 0, 12},
      {"printed_monochrome", kPortrait, 0, 0},
      {"printed_colour", kPortrait, 1, 12},
      {"printed_landscape_switch_2", kLandscape, 2, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g(3);
    g.SetQLines(2);
    g.curveColour = {12, 54};
    g.colourPrinting = r.colourPrinting;
    if (r.mode != kScreen) g.SetPrintMode(r.mode);
    g.DefineArea(20000, -10000);
    EXPECT_EQ(g.GetCurveColour(0), r.expected);
    EXPECT_EQ(g.GetCurveColour(5), 0);
    const double values[3] = {10.0, 20.0, 30.0};
    g.curveValues[0] = values;
    g.curveValues[1] = values;
    g.curveVisible[1] = 0;
    RecordingDc dc;
    g.DrawCurves(dc);
    // Two segments of the visible curve only, in its colour or black.
    ASSERT_EQ(Lines(dc).size(), 6u);
    for (const RecordedCall& c : Lines(dc)) EXPECT_EQ(c.pen.color, ColorByIndex(r.expected));
  }
}

TEST(GraphCurves, NothingDrawnWithoutAScale) {
  TestGraph g(3);
  g.SetQLines(1);
  const double values[3] = {10.0, 20.0, 30.0};
  g.curveValues[0] = values;
  g.valueMax = 0.0;  // the y mapping would divide by it
  RecordingDc dc;
  g.DrawCurves(dc);
  EXPECT_TRUE(dc.Calls().empty());
}

TEST(GraphGlyphs, GlyphCodesBackgroundsAndRotation) {
  struct Row {
    const char* name;
    int mode, rotation, escapement;
    Point at, plotPoint;  // where (300, -400) and (100, -200) map to on the page
  } const rows[] = {
      // Unchanged on the screen; on a portrait page moved by the left page margin and down by the
      // offset and the top margin.
      {"screen", kScreen, 90, 0, {300, -400}, {100, -200}},
      {"portrait", kPortrait, 90, 0, {2300, -3100}, {2100, -2900}},
      // (page height 18000 + y + left page margin, -(offset + x + top page margin)).
      {"landscape", kLandscape, 270, 2700, {19600, -3000}, {19800, -2800}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TestGraph g;
    g.pageMargins = {2000, 1000, 1000, 1500};
    g.pageOffset = 1700;
    g.landscapeRotation = r.rotation;
    if (r.mode != kScreen) g.SetPrintMode(r.mode);
    g.DefineArea(20000, -10000);
    EXPECT_EQ(g.ToPage(100, -200), r.plotPoint);
    if (r.mode == kLandscape) {
      EXPECT_EQ(g.ToPage(0, 0), (Point{20000, -2700}));
    }
    RecordingDc dc;
    g.DrawPlanetGlyph(dc, 300, -400, 9, platform::BkMode::Opaque, 2400);
    g.DrawSignGlyph(dc, 300, -400, 11, 2400);
    g.DrawPlanetGlyph(dc, 300, -400, 10, platform::BkMode::Opaque, 2400);  // no such body
    g.DrawSignGlyph(dc, 300, -400, -1, 2400);                              // no such sign
    ASSERT_EQ(dc.Calls().size(), 2u);
    const RecordedCall& pluto = dc.Calls()[0];
    const RecordedCall& pisces = dc.Calls()[1];
    EXPECT_EQ(pluto.text, "V");   // 'M' + 9
    EXPECT_EQ(pisces.text, "L");  // 'A' + 11
    for (const RecordedCall* c : {&pluto, &pisces}) {
      EXPECT_EQ(c->font.face, platform::kGlyphFaceA);
      EXPECT_EQ(c->font.pointSize, 2400);
      EXPECT_EQ(c->font.escapement, r.escapement);
      EXPECT_EQ(c->points[0], r.at);
    }
    EXPECT_EQ(pluto.bkMode, platform::BkMode::Opaque);
    EXPECT_EQ(pisces.bkMode, platform::BkMode::Transparent);
    EXPECT_EQ(dc.GetFont().escapement, 0);  // the font selected before is back
  }
}

}  // namespace
