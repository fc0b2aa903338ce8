#include <gtest/gtest.h>

#include <string>

#include "platform/core/recording_dc.h"

namespace {

using platform::MapMode;
using platform::Point;
using platform::RecordingDc;

TEST(Dc, MappingModesConvertBetweenLogicalAndDeviceUnits) {
  struct Case {
    const char* name;
    MapMode mode;
    double dpi;
    Point logical;
    Point device;
  };
  const Case cases[] = {
      {"text_is_pixels", MapMode::Text, 96, {10, 20}, {10, 20}},
      // One inch = 2540 units of 0.01 mm, y grows upwards: the page lies at negative y.
      {"himetric_inch_at_96dpi", MapMode::HiMetric, 96, {2540, -2540}, {96, 96}},
      {"himetric_10_cm_at_254dpi", MapMode::HiMetric, 254, {10000, -5000}, {1000, 500}},
      {"lometric_inch_at_600dpi", MapMode::LoMetric, 600, {254, -508}, {600, 1200}},
  };
  for (const Case& c : cases) {
    RecordingDc dc(c.dpi);
    dc.SetMapMode(c.mode);
    EXPECT_EQ(dc.LPtoDP(c.logical), c.device) << c.name;
    EXPECT_EQ(dc.DPtoLP(c.device), c.logical) << c.name;
  }
}

TEST(Dc, ViewportOriginShiftsDeviceCoordinates) {
  RecordingDc dc(96);
  dc.SetMapMode(MapMode::HiMetric);
  dc.SetViewportOrg({100, 50});
  EXPECT_EQ(dc.LPtoDP({0, 0}), (Point{100, 50}));
  EXPECT_EQ(dc.LPtoDP({2540, 2540}), (Point{196, -46}));
  EXPECT_EQ(dc.DPtoLP({100, 146}), (Point{0, -2540}));
}

TEST(Dc, PointFontsHaveTheirEmHeightInLogicalUnitsOfAnyMode) {
  platform::Font glyphs;
  glyphs.face = std::string(platform::kGlyphFaceA);
  glyphs.pointSize = 6000;
  EXPECT_DOUBLE_EQ(glyphs.EmHeight(), 800.0);  // 8 mm in 0.01 mm units
  RecordingDc dc;
  dc.SetMapMode(MapMode::HiMetric);
  dc.SelectFont(glyphs);
  EXPECT_EQ(dc.GetTextExtent("MN").cx, 1600);
  EXPECT_EQ(dc.GetTextMetrics().height, 800);
}

TEST(Dc, SettersReturnThePreviousValueAndCallsRecordTheState) {
  RecordingDc dc;
  const platform::Pen red{platform::PenStyle::Dash, 5, {255, 0, 0}};
  EXPECT_EQ(dc.SelectPen(red), platform::Pen{});
  EXPECT_EQ(dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBaseline),
            platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.MoveTo(1, 2);
  dc.LineTo(3, 4);
  dc.TextOut(5, 6, "AS");
  ASSERT_EQ(dc.Calls().size(), 2u);
  EXPECT_EQ(dc.Calls()[0].pen, red);
  EXPECT_EQ(dc.Calls()[0].points, (std::vector<Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(dc.GetCurrentPosition(), (Point{3, 4}));
  EXPECT_EQ(dc.Texts(), std::vector<std::string>{"AS"});
  EXPECT_EQ(dc.Calls()[1].align, platform::TextAlign::kCenter | platform::TextAlign::kBaseline);
}

TEST(RecordingDc, FindGlyphLooksOnlyAtGlyphFaces) {
  RecordingDc dc;
  dc.SelectFont({"Vudurez", 1000});
  dc.TextOut(0, 0, "M");  // a text face: not a glyph
  dc.SelectFont({std::string(platform::kGlyphFaceB), 1000});
  dc.TextOut(1, 1, "0M");
  dc.SelectFont({std::string(platform::kGlyphFaceA), 1000});
  dc.TextOut(2, 2, "M");
  ASSERT_NE(dc.FindGlyph('M'), nullptr);
  EXPECT_EQ(dc.FindGlyph('M')->points[0], (Point{1, 1}));
  ASSERT_NE(dc.FindGlyph('M', 0), nullptr);
  EXPECT_EQ(dc.FindGlyph('M', 0)->points[0], (Point{2, 2}));
  EXPECT_EQ(dc.FindGlyph('0', 0), nullptr);
  EXPECT_EQ(dc.FindGlyph('x'), nullptr);
}

}  // namespace
