// Font measuring and size fitting through RecordingDc, whose metrics are fixed: an em is
// size x 96 / 720 = size x 2 / 15 units; a text-face character is half an em wide, a glyph-face
// character one em; a character's height is one em. Expected sizes worked out from these by hand.
#include <gtest/gtest.h>

#include <string>

#include "foundation/drawing/font_fitting.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::RecordingDc;

constexpr std::string_view kText = platform::kTextFace;
constexpr std::string_view kGlyphA = platform::kGlyphFaceA;

TEST(DrawingFitting, FitFontWidthSearchesDownBy1000ThenUpBy100) {
  struct Case {
    const char* name;
    std::string_view face;
    int first, width;
    const char* sample;
    int expected;
  };
  const Case cases[] = {
      // "W" = size / 15 wide, narrower than 200 below 2992.5: 10000 .. 3000 fail, 2000 fits,
      // 2100 .. 2900 fit, 3000 does not.
      {"coarse_then_fine", kText, 10000, 200, "W", 2900},
      // The first size fits already: kept, even when it is no multiple of 100.
      {"first_size_fits", kText, 2950, 200, "W", 2950},
      // Narrower than 5 needs a size below 67.5: not even 100 fits.
      {"nothing_fits", kText, 3000, 5, "W", -1},
      // Below 112.5: only 100 (7 units) of the fine steps fits.
      {"only_the_smallest_step", kText, 3000, 8, "W", 100},
      // "WWw" in a glyph face: 3 em = 0.4 x size, narrower than 1000 below 2498.75.
      {"glyph_face_sample", kGlyphA, 3000, 1000, "WWw", 2400},
      {"no_first_size", kText, 0, 1000, "W", -1},
  };
  for (const Case& c : cases) {
    RecordingDc dc;
    EXPECT_EQ(FitFontWidth(dc, c.face, c.first, c.width, c.sample), c.expected) << c.name;
  }
}

TEST(DrawingFitting, FitFontHeightAndTheBoxSearches) {
  RecordingDc dc;
  // The sample's height is 2 x size / 15: lower than 300 below 2246.25.
  EXPECT_EQ(FitFontHeight(dc, kText, 10000, 300), 2200);
  EXPECT_EQ(FitFontHeight(dc, kGlyphA, 10000, 300), 2200);
  EXPECT_EQ(FitFontHeight(dc, kText, 10000, 1), -1);
  // Finely: up by 10 from there; lower than 12 below 90, where FitFontHeight finds none; the
  // smallest step when nothing fits; the first size kept.
  EXPECT_EQ(FitFontHeightFinely(dc, kText, 10000, 300), 2240);
  EXPECT_EQ(FitFontHeightFinely(dc, kText, 10000, 12), 80);
  EXPECT_EQ(FitFontHeightFinely(dc, kText, 10000, 1), 10);
  EXPECT_EQ(FitFontHeightFinely(dc, kText, 2205, 300), 2205);
  // The text "W" in a box 200 wide and 300 high: the smaller of 2200 (height) and 2900 (width).
  EXPECT_EQ(FitFontSize(dc, kText, 10000, 300, 200, "W"), 2200);
  EXPECT_EQ(FitFontSize(dc, kText, 10000, 1, 200, "W"), -1);
  // Lowering by 100 (10): "W" narrower than 100 below 1492.5, lower than 200 below 1496.25.
  EXPECT_EQ(FitFontSizeToBox(dc, kText, 3000, 200, 100, false), 1400);
  EXPECT_EQ(FitFontSizeToBox(dc, kText, 3000, 200, 100, true), 1490);
  // The glyph sample '+' is one em wide: narrower than 100 below 746.25.
  EXPECT_EQ(FitFontSizeToBox(dc, kGlyphA, 3000, 200, 100, false), 700);
  EXPECT_EQ(FitFontSizeToBox(dc, kText, 3000, 1, 100, true), -1);
}

TEST(DrawingFitting, FontIterationsStepsUpWhileTheTextStaysWithin) {
  RecordingDc dc;
  // "WW" is 2 x size / 15 wide: within 300 up to 2253.75.
  EXPECT_EQ(FontIterations(dc, kText, 1000, 100, "WW", 300, 1000), 2200);
  // Height 2 x size / 15 within 150 up to 1128.75.
  EXPECT_EQ(FontIterations(dc, kText, 1000, 100, "WW", 300, 150), 1100);
  EXPECT_EQ(FontIterations(dc, kText, 3000, 100, "WW", 300, 1000), -1);
  EXPECT_EQ(FontIterations(dc, kText, 1000, 0, "WW", 300, 1000), -1);
}

TEST(DrawingFitting, CharacterSizesUseTheFaceSampleAboveCode254) {
  struct Case {
    const char* name;
    std::string_view face;
    int size, character;
    platform::Size expected;
  };
  const Case cases[] = {
      {"text_char", kText, 1500, 'M', {100, 200}},
      {"glyph_char", kGlyphA, 1500, 'M', {200, 200}},
      {"text_sample_W", kText, 3000, 255, {200, 400}},
      {"glyph_sample_plus", platform::kGlyphFaceB, 3000, 300, {400, 400}},
  };
  for (const Case& c : cases) {
    RecordingDc dc;
    EXPECT_EQ(FontCharSize(dc, c.face, c.size, c.character), c.expected) << c.name;
    EXPECT_EQ(FontCharWidth(dc, c.face, c.size, c.character), c.expected.cx) << c.name;
    EXPECT_EQ(FontCharHeight(dc, c.face, c.size, c.character), c.expected.cy) << c.name;
  }
  RecordingDc dc;
  EXPECT_EQ(TextWidthInFont(dc, kText, 1500, "abcd"), 400);
}

TEST(DrawingFitting, MeasuringLeavesTheSelectedFontAlone) {
  RecordingDc dc;
  const platform::Font mine{"Vudurez", 1234, 900, true, false};
  dc.SelectFont(mine);
  FitFontWidth(dc, kGlyphA, 10000, 200, "W");
  FitFontSizeToBox(dc, kGlyphA, 3000, 200, 100, true);
  FontIterations(dc, kText, 1000, 100, "WW", 300, 1000);
  EXPECT_EQ(dc.GetFont(), mine);
  EXPECT_EQ(MeasureText(dc, "abc"), (platform::Size{247, 165}));  // em 164.53: 3 x 82.27
  EXPECT_EQ(MeasureCString(dc, std::string("abc")), MeasureText(dc, "abc"));
}

TEST(DrawingFitting, VerticalTextStepsDownByTheCharacterHeightTimesTheFactor) {
  RecordingDc dc;                              // MM_TEXT: y grows downwards
  const platform::Font font{"Vudurez", 1500};  // height 200
  EXPECT_EQ(DrawTextVertical(dc, font, 100, 1000, "AB", 1.5), 600);
  ASSERT_EQ(dc.Calls().size(), 2u);
  EXPECT_EQ(dc.Calls()[0].points[0], (platform::Point{100, 1000}));
  EXPECT_EQ(dc.Calls()[1].points[0], (platform::Point{100, 1300}));
  EXPECT_EQ(dc.Calls()[1].text, "B");
  EXPECT_EQ(dc.Calls()[1].font.pointSize, 1500);

  RecordingDc metric;
  metric.SetMapMode(platform::MapMode::HiMetric);  // y up: "under" is lower y
  DrawTextVertical(metric, font, 0, -500, "AB", 1.0);
  EXPECT_EQ(metric.Calls()[1].points[0], (platform::Point{0, -700}));

  const platform::Font rotated = CreateRotatedFont(font, 2000, kGlyphA, 900);
  EXPECT_EQ(rotated, (platform::Font{std::string(kGlyphA), 2000, 900}));
}

}  // namespace
