// Longitudes in the four layouts, worked out by hand, and their drawing through RecordingDc.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::RecordedCall;
using platform::RecordingDc;

// The pieces joined, with the sign glyph shown as "[c]" and the degree mark 0xB0 as '*'.
std::string Joined(const std::vector<LongitudePiece>& pieces) {
  std::string out;
  for (const LongitudePiece& p : pieces) out += p.signGlyph ? "[" + p.text + "]" : p.text;
  for (char& c : out)
    if (c == '\xB0') c = '*';
  return out;
}

TEST(DrawingLongitude, LayoutsRoundAndCarry) {
  struct Case {
    const char* name;
    double value;
    int layout;
    const char* expected;
  };
  const Case cases[] = {
      // 125.1189 = Leo ('A' + 4) 5 deg 7.134 min = 5 deg 7 min 8.04 s.
      {"leo_layout0", 125.1189, 0, "05[E]07"},
      {"leo_layout3_seconds", 125.1189, 3, "05[E]07'08\""},
      {"leo_layout1_circle", 125.1189, 1, "125*07'"},
      {"leo_layout2_plain", 125.1189, 2, "125*07'"},
      // 29 deg 59.994 min rounds into the next sign.
      {"carry_into_taurus", 29.9999, 0, "00[B]00"},
      {"carry_past_pisces", 359.9999, 0, "00[A]00"},
      {"carry_past_pisces_layout1", 359.9999, 1, "000*00'"},
      {"over_a_circle_is_reduced", 400.0, 0, "10[B]00"},
      {"layout1_pads_to_three", 7.5, 1, "007*30'"},
      {"negative_arc", -12.5, 2, "-12*30'"},
      {"negative_in_layout0_as_plain", -12.5, 0, "-12*30'"},
      {"negative_layout1", -5.5, 1, "-05*30'"},
      {"no_minus_zero", -0.001, 2, "0*00'"},
      {"small_arc", 1.25, 2, "1*15'"},
      {"unknown_layout_as_0", 125.1189, 9, "05[E]07"},
      {"absent", -777.0, 0, ""},
      {"not_a_number", std::nan(""), 1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Joined(LongitudePieces(c.value, c.layout)), c.expected) << c.name;
}

std::vector<const RecordedCall*> TextCalls(const RecordingDc& dc) {
  std::vector<const RecordedCall*> out;
  for (const RecordedCall& c : dc.Calls())
    if (c.kind == RecordedCall::Text) out.push_back(&c);
  return out;
}

TEST(DrawingLongitude, DrawLongitudeWritesDigitsAndTheSignGlyphSideBySide) {
  // A glyph face at 1500: every character one em = 200 units wide.
  RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SelectFont({std::string(platform::kGlyphFaceA), 1500});
  EXPECT_EQ(DrawLongitude(dc, 1000, -500, 125.1189, 0), 1000);
  const auto texts = TextCalls(dc);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0]->text, "05");
  EXPECT_EQ(texts[0]->points[0], (platform::Point{1000, -500}));
  EXPECT_EQ(texts[1]->text, "E");
  EXPECT_EQ(texts[1]->points[0], (platform::Point{1400, -500}));
  EXPECT_EQ(texts[1]->font.face, platform::kGlyphFaceA);
  EXPECT_EQ(texts[2]->points[0], (platform::Point{1600, -500}));
}

TEST(DrawingLongitude, InATextFaceOnlyTheSignComesFromTheGlyphFace) {
  RecordingDc dc;
  dc.SelectFont({"Vudurez", 1500});  // 100 units a character, the glyph 200
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kBaseline);
  dc.SetTextColor(platform::kBlack);
  EXPECT_EQ(DrawLongitude(dc, 1000, 0, 125.1189, 0, 12), 600);
  const auto texts = TextCalls(dc);
  ASSERT_EQ(texts.size(), 3u);
  // Right-aligned as a whole: it starts 600 to the left of the point.
  EXPECT_EQ(texts[0]->points[0].x, 400);
  EXPECT_EQ(texts[0]->font.face, platform::kTextFace);
  EXPECT_EQ(texts[1]->points[0].x, 600);
  EXPECT_EQ(texts[1]->font.face, platform::kGlyphFaceA);
  EXPECT_EQ(texts[1]->font.pointSize, 1500);
  EXPECT_EQ(texts[2]->points[0].x, 800);
  for (const RecordedCall* t : texts) {
    EXPECT_EQ(t->align, platform::TextAlign::kLeft | platform::TextAlign::kBaseline);
    EXPECT_EQ(t->color, (platform::Color{255, 0, 0}));  // palette 12
  }
  EXPECT_EQ(dc.GetTextAlign(), platform::TextAlign::kRight | platform::TextAlign::kBaseline);
  EXPECT_EQ(dc.GetTextColor(), platform::kBlack);
  EXPECT_EQ(dc.GetFont().face, platform::kTextFace);
}

TEST(DrawingLongitude, GlyphAndTwoFontFormsRestoreTheDeviceContext) {
  RecordingDc dc;
  dc.SelectFont({"Vudurez", 800});
  EXPECT_EQ(DrawLongitudeGlyph(dc, 3000, 10.0, 0, 0, 0), 5 * 400);
  for (const auto* t : TextCalls(dc)) EXPECT_EQ(t->font.face, platform::kGlyphFaceA);
  EXPECT_EQ(dc.GetFont().pointSize, 800);

  dc.Clear();
  const LongitudeFonts fonts{{"Vudurez", 1500}, {std::string(platform::kGlyphFaceA), 3000}};
  EXPECT_EQ(DrawLongitudeEx(dc, fonts, 10.0, 100, 0, 3, 0), 200 + 400 + 200);
  ASSERT_FALSE(dc.Calls().empty());
  const RecordedCall& fill = dc.Calls().front();
  EXPECT_EQ(fill.kind, RecordedCall::FillRect);
  EXPECT_EQ(fill.color, ColorByIndex(14));
  EXPECT_EQ(fill.points[0].x, 100);
  EXPECT_EQ(fill.points[1].x, 900);
  const auto texts = TextCalls(dc);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1]->font.pointSize, 3000);

  dc.Clear();
  DrawLongitudeEx(dc, fonts, 10.0, 100, 0, 0, 0);
  EXPECT_EQ(dc.Calls().front().kind, RecordedCall::Text);  // no highlight, no fill
  dc.Clear();
  EXPECT_EQ(DrawLongitude(dc, 0, 0, -777.0, 0), 0);
  EXPECT_TRUE(dc.Calls().empty());
}

}  // namespace
