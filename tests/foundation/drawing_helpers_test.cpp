// Lines, rectangle tests, the page frame, single glyphs and text cutting through RecordingDc
// (a text-face character is half an em wide, a glyph one em; em = size x 2 / 15).
#include "foundation/drawing/drawing_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::PenStyle;
using platform::Point;
using platform::RecordedCall;
using platform::RecordingDc;
using platform::Rect;

TEST(DrawingLines, ThickLinesAddPairsOfCopiesEveryFiveUnits) {
  struct Case {
    const char* name;
    Point a, b;
    int thickness;
    std::vector<std::pair<Point, Point>> expected;
  };
  const Case cases[] = {
      {"thin", {0, 0}, {1000, 0}, 0, {{{0, 0}, {1000, 0}}}},
      {"five_is_one_pair",
       {0, 0},
       {1000, 0},
       5,
       {{{0, 0}, {1000, 0}}, {{0, 5}, {1000, 5}}, {{0, -5}, {1000, -5}}}},
      // ceil(7 / 5) = 2 pairs: 5 and 10 units to either side.
      {"seven_is_two_pairs",
       {0, 0},
       {1000, 200},
       7,
       {{{0, 0}, {1000, 200}},
        {{0, 5}, {1000, 205}},
        {{0, -5}, {1000, 195}},
        {{0, 10}, {1000, 210}},
        {{0, -10}, {1000, 190}}}},
      {"steep_lines_offset_in_x",
       {0, 0},
       {100, 1000},
       1,
       {{{0, 0}, {100, 1000}}, {{5, 0}, {105, 1000}}, {{-5, 0}, {95, 1000}}}},
  };
  for (const Case& c : cases) {
    RecordingDc dc;
    const platform::Pen before{PenStyle::Dot, 30, platform::kBlack};
    dc.SelectPen(before);
    DrawThickLine(dc, c.a.x, c.a.y, c.b.x, c.b.y, PenStyle::Dash, c.thickness, {255, 0, 0});
    ASSERT_EQ(dc.Calls().size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(dc.Calls()[i].points[0], c.expected[i].first) << c.name << " " << i;
      EXPECT_EQ(dc.Calls()[i].points[1], c.expected[i].second) << c.name << " " << i;
      EXPECT_EQ(dc.Calls()[i].pen, (platform::Pen{PenStyle::Dash, 1, {255, 0, 0}})) << c.name;
    }
    EXPECT_EQ(dc.GetPen(), before) << c.name;
  }
}

TEST(DrawingLines, LineTypesCirclesAndPlainLines) {
  const PenStyle styles[] = {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot,
                             PenStyle::Solid};
  const int types[] = {0, 1, 2, 3, 7};
  for (int i = 0; i < 5; ++i) {
    RecordingDc dc;
    DrawLineOfType(dc, 0, 0, 10, 10, types[i], 3, 12);
    ASSERT_EQ(dc.Calls().size(), 1u);
    EXPECT_EQ(dc.Calls()[0].pen, (platform::Pen{styles[i], 3, {255, 0, 0}})) << types[i];
    EXPECT_EQ(dc.GetPen(), platform::Pen{});
  }
  const PenStyle byIndex[] = {PenStyle::Solid,   PenStyle::Dash,       PenStyle::Dot,
                              PenStyle::DashDot, PenStyle::DashDotDot, PenStyle::Null,
                              PenStyle::Solid};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(PenStyleByIndex(i), byIndex[i]) << i;
  EXPECT_EQ(PenStyleByIndex(-1), PenStyle::Solid);

  RecordingDc dc;
  DrawFilledCircle(dc, 100, -200, 50, {0, 0, 128});
  DrawLine(dc, 1, 2, 3, 4);
  ASSERT_EQ(dc.Calls().size(), 2u);
  EXPECT_EQ(dc.Calls()[0].kind, RecordedCall::Ellipse);
  EXPECT_EQ(dc.Calls()[0].points, (std::vector<Point>{{50, -150}, {150, -250}}));
  EXPECT_EQ(dc.Calls()[0].brush.color, (platform::Color{0, 0, 128}));
  EXPECT_FALSE(dc.Calls()[0].brush.hollow);
  EXPECT_EQ(dc.Calls()[1].points, (std::vector<Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(dc.GetBrush(), platform::Brush{});
}

TEST(DrawingRects, InsideAndOverlapCountTouchingEdges) {
  const Rect r{100, 500, 300, 200};  // y up: top 500 above bottom 200
  struct PointCase {
    const char* name;
    int x, y;
    bool inside;
  };
  const PointCase points[] = {
      {"centre", 200, 350, true},  {"left_edge", 100, 350, true}, {"corner", 300, 200, true},
      {"left_of", 99, 350, false}, {"above", 200, 501, false},    {"below", 200, 199, false},
  };
  for (const PointCase& c : points) EXPECT_EQ(PointInRect(c.x, c.y, r), c.inside) << c.name;
  EXPECT_TRUE(PointInRect(200, 350, Rect{100, 200, 300, 500}));  // y-down order accepted

  struct OverlapCase {
    const char* name;
    Rect other;
    bool overlaps;
  };
  const OverlapCase overlaps[] = {
      {"shares_right_edge", {300, 400, 400, 300}, true},
      {"one_unit_apart", {301, 400, 400, 300}, false},
      {"touches_top", {150, 600, 250, 500}, true},
      {"above", {150, 600, 250, 501}, false},
      {"inside", {150, 400, 250, 300}, true},
      {"around", {0, 1000, 1000, 0}, true},
  };
  for (const OverlapCase& c : overlaps) {
    EXPECT_EQ(RectsOverlap(r, c.other), c.overlaps) << c.name;
    EXPECT_EQ(RectsOverlap(c.other, r), c.overlaps) << c.name;
  }
  EXPECT_TRUE(RectsOverlapD({0, 1, 1, 0}, {1, 2, 2, 1}));
  EXPECT_FALSE(RectsOverlapD({0, 1, 1, 0}, {1.5, 2, 2, 1.0001}));
}

TEST(DrawingPageFrame, FrameIsThePageInsetByMarginsAndOffsets) {
  struct Case {
    const char* name;
    std::array<int, 4> margins, offsets;
    Rect expected;
  };
  const Case cases[] = {
      {"margins_only", {1000, 1500, 800, 1200}, {0, 0, 0, 0}, {1000, -1500, 20200, -28500}},
      // Offsets add to the insets; the bottom offset raises the bottom edge.
      {"offsets", {1000, 1500, 800, 1200}, {200, 0, -200, 300}, {1200, -1500, 20400, -28200}},
      {"no_margins", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 21000, -29700}},
  };
  for (const Case& c : cases) {
    RecordingDc dc;
    DrawPageFrame(dc, c.margins, c.offsets, true);
    ASSERT_EQ(dc.Calls().size(), 1u) << c.name;
    const RecordedCall& call = dc.Calls()[0];
    EXPECT_EQ(call.kind, RecordedCall::RoundRect) << c.name;
    EXPECT_EQ(call.points[0], (Point{c.expected.left, c.expected.top})) << c.name;
    EXPECT_EQ(call.points[1], (Point{c.expected.right, c.expected.bottom})) << c.name;
    EXPECT_EQ(call.points[2], (Point{400, 400})) << c.name;
    EXPECT_TRUE(call.brush.hollow) << c.name;
    EXPECT_FALSE(dc.GetBrush().hollow) << c.name;
  }
  RecordingDc off;
  DrawPageFrame(off, {1000, 1000, 1000, 1000}, {0, 0, 0, 0}, false);
  EXPECT_TRUE(off.Calls().empty());
}

TEST(DrawingGlyphs, SingleGlyphsGoToTheirFacesAndRestoreTheContext) {
  RecordingDc dc;
  dc.SelectFont({"Vudurez", 900});
  dc.SetBkMode(platform::BkMode::Opaque);
  // 2000 tenths: em 266.67 units.
  EXPECT_EQ(DrawGlyphText(dc, 10, 20, 'M', 'a', 2000, platform::BkMode::Transparent),
            (platform::Size{267, 267}));
  EXPECT_EQ(DrawGlyphText(dc, 10, 20, '3', 'b', 2000, platform::BkMode::Transparent).cx, 267);
  EXPECT_EQ(dc.GetFont(), (platform::Font{"Vudurez", 900}));
  EXPECT_EQ(dc.GetBkMode(), platform::BkMode::Opaque);

  dc.SelectFont({std::string(platform::kGlyphFaceA), 1500});  // em 200
  DrawGlyphNumber(dc, 0, 0, 5);
  DrawGlyphNumber(dc, 0, 0, 20);
  DrawGlyphNumber(dc, 0, 0, -1);
  DrawRulerGlyph(dc, 100, 0, 9);
  EXPECT_EQ(DrawAspectGlyph(dc, 0, 0, 1500, 3, "TRI", 12).cx, 200);
  EXPECT_EQ(DrawAspectGlyph(dc, 0, 0, 1500, -1, "SQQ", 1).cx, 300);

  struct Expected {
    std::string_view face;
    const char* text;
    int x;
  };
  const Expected expected[] = {
      {platform::kGlyphFaceA, "M", 10},
      {platform::kGlyphFaceB, "3", 10},
      // Out of range: a question mark of the text face, not aspect 15's symbol '?' of face b.
      {platform::kGlyphFaceB, "5", 0},
      {platform::kTextFace, "?", 0},
      {platform::kTextFace, "?", 0},
      {platform::kGlyphFaceB, "r", 100},
      {platform::kGlyphFaceA, "x", 300},  // house 10's glyph 'o' + 9 one em to the right
      {platform::kGlyphFaceB, "3", 0},
      {platform::kTextFace, "SQQ", 0},
  };
  ASSERT_EQ(dc.Calls().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(dc.Calls()[i].font.face, expected[i].face) << i;
    EXPECT_EQ(dc.Calls()[i].text, expected[i].text) << i;
    EXPECT_EQ(dc.Calls()[i].points[0].x, expected[i].x) << i;
  }
  EXPECT_EQ(dc.Calls()[0].bkMode, platform::BkMode::Transparent);
  EXPECT_EQ(dc.Calls()[2].font.pointSize, 1500);
  EXPECT_EQ(dc.Calls()[7].color, (platform::Color{255, 0, 0}));
  EXPECT_EQ(dc.Calls()[8].color, (platform::Color{0, 0, 128}));
  EXPECT_EQ(dc.GetTextColor(), platform::kBlack);
  EXPECT_EQ(dc.GetFont().face, platform::kGlyphFaceA);
}

TEST(DrawingText, AngleLineNames) {
  const std::pair<char, const char*> cases[] = {
      {'A', "AS"}, {'D', "DS"}, {'I', "IC"}, {'M', "MC"}, {'x', "MC"}};
  for (const auto& [code, name] : cases) {
    EXPECT_EQ(AngleLineName(code, false), name);
    std::string lower = name;
    for (char& ch : lower) ch = static_cast<char>(ch + ('a' - 'A'));
    EXPECT_EQ(AngleLineName(code, true), lower);
  }
}

TEST(DrawingText, CuttingToAWidth) {
  RecordingDc dc;
  dc.SelectFont({"Vudurez", 1500});  // 100 units a character
  struct Case {
    const char* name;
    int width;
    const char* expected;
  };
  const Case fit[] = {
      {"fits", 1100, "Hello world"},
      {"cut", 800, "Hello..."},
      {"only_dots", 300, "..."},
      {"nothing", 250, ""},
  };
  for (const Case& c : fit)
    EXPECT_EQ(FitTextToWidth(dc, "Hello world", c.width), c.expected) << c.name;

  const char* path = "/home/user/charts/natal/file.dat";  // 32 characters
  const Case shorten[] = {
      {"fits", 3200, "/home/user/charts/natal/file.dat"},
      {"from_natal", 2100, "/ho.../natal/file.dat"},
      {"file_only", 2000, "/ho.../file.dat"},
      {"name_end", 1000, "/ho....dat"},
  };
  for (const Case& c : shorten)
    EXPECT_EQ(ShortenPathToWidth(dc, path, c.width), c.expected) << c.name;
  EXPECT_EQ(ShortenPathToWidth(dc, "ab", 100), "ab...");          // nothing to keep of a tiny path
  EXPECT_EQ(ShortenPathToWidth(dc, "abcdefgh", 700), "abc...h");  // no folder: the name's end
}

TEST(DrawingText, PagesOfWrappedText) {
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SelectFont({"Courier", 1500});  // laid out in "Vudurez" at this size: lines of 200
  const std::string text = "aaa bbb ccc\r\nddd\nabcdefghij";
  // Width 700: "aaa bbb" / "ccc" / "ddd" / "abcdefg" / "hij"; 450 high: 2 lines a page.
  EXPECT_EQ(PrintTextPages(dc, 1, text, 100, -1000, 700, 450, false), 3);
  EXPECT_TRUE(dc.Calls().empty());
  EXPECT_EQ(PrintTextPages(dc, 2, text, 100, -1000, 700, 450, true), 3);
  ASSERT_EQ(dc.Texts(), (std::vector<std::string>{"ddd", "abcdefg"}));
  EXPECT_EQ(dc.Calls()[0].points[0], (Point{100, -1000}));
  EXPECT_EQ(dc.Calls()[1].points[0], (Point{100, -1200}));
  EXPECT_EQ(dc.Calls()[0].font.face, platform::kTextFace);
  EXPECT_EQ(dc.GetFont().face, "Courier");
  dc.Clear();
  PrintTextPages(dc, 3, text, 100, -1000, 700, 450, true);
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"hij"}));
  EXPECT_EQ(PrintTextPages(dc, 1, "", 0, 0, 700, 100, false), 1);
}

TEST(DrawingText, PagesNarrowerThanOneCharacter) {
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SelectFont({"Courier", 1500});  // characters 100 wide, lines 200 high
  // Width 50 holds no character: each stands on a line of its own, one line a page.
  EXPECT_EQ(PrintTextPages(dc, 2, "ab c", 0, 0, 50, 200, true), 3);
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(PrintTextPages(dc, 1, "x", 0, 0, 0, 200, false), 1);
}

}  // namespace
