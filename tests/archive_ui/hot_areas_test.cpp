// The strip of hot areas under a rich-text view's text: where each area lies, which area a point
// hits, and how an area is drawn.
#include "foundation/drawing/hot_areas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::Point;
using platform::Rect;

// The comment view's strip: ten page tabs in rows of four, then the two buttons.
HotAreaStrip CommentStrip() {
  HotAreaStrip strip;
  for (int k = 0; k < 10; ++k)
    strip.Add({250 * (k % 4) + 10, 330 * (k / 4) + 35, 250 * (k % 4) + 240, 330 * (k / 4) + 310,
               "page", 0, 16});
  strip.Add({510, 695, 740, 970, "dont", 0, 25});
  strip.Add({760, 695, 990, 970, "names", 0, 25});
  return strip;
}

TEST(HotAreas, RectanglesInThousandthsOfTheStrip) {
  // y upward (0.01 mm): a client of 10000 x 5000 with the text over 0.8 of it.
  const Rect up = HotAreaStrip::StripRect({0, 0, 10000, -5000}, 0.8);
  EXPECT_EQ(up, (Rect{0, -4000, 10000, -5000}));
  // y downward (pixels): 800 x 600.
  const Rect down = HotAreaStrip::StripRect({0, 0, 800, 600}, 0.8);
  EXPECT_EQ(down, (Rect{0, 480, 800, 600}));

  const HotAreaStrip strip = CommentStrip();
  struct Case {
    const char* name;
    int area;
    Rect strip, expected;
  } const cases[] = {
      {"page0_up", 0, up, {100, -4035, 2400, -4310}},
      {"page9_up", 9, up, {2600, -4695, 4900, -4970}},
      {"dont_save_up", 10, up, {5100, -4695, 7400, -4970}},
      {"change_names_up", 11, up, {7600, -4695, 9900, -4970}},
      // 365 and 640 thousandths of 120 pixels: 43.8 and 76.8.
      {"page5_down", 5, down, {208, 524, 392, 557}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HotAreaStrip::AreaRect(strip.Area(c.area), c.strip), c.expected);
  }
}

TEST(HotAreas, FirstAreaHoldingThePointWinsAndOutsideIsMinusOne) {
  const Rect up = HotAreaStrip::StripRect({0, 0, 10000, -5000}, 0.8);
  const HotAreaStrip comment = CommentStrip();
  struct Case {
    const char* name;
    Point point;
    int expected;
  } const cases[] = {
      {"corner_of_page0", {100, -4035}, 0},   {"gap_between_tabs", {2500, -4100}, -1},
      {"inside_page5", {3000, -4500}, 5},     {"gap_before_buttons", {5000, -4800}, -1},
      {"dont_save", {6000, -4800}, 10},       {"far_corner_of_names", {9900, -4970}, 11},
      {"above_the_strip", {3000, -3000}, -1}, {"below_the_client", {3000, -5100}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(comment.FindHotArea(c.point, up), c.expected);
  }

  // Overlapping areas: the one added first wins where both hold the point.
  HotAreaStrip overlap;
  overlap.Add({0, 0, 600, 600, "a", 0, 5});
  overlap.Add({400, 400, 1000, 1000, "b", 0, 5});
  EXPECT_EQ(overlap.FindHotArea({5000, -4500}, up), 0);  // 500, 500 thousandths
  EXPECT_EQ(overlap.FindHotArea({8000, -4800}, up), 1);
  EXPECT_EQ(HotAreaStrip().FindHotArea({5000, -4500}, up), -1);
}

TEST(HotAreas, LongTextIsCutToOneLessThanItsMaximumWithDots) {
  struct Case {
    const char* name;
    const char* text;
    int maxChars;
    const char* shown;
  } const cases[] = {
      {"exactly_sixteen", "Шестнадцать букв", 16, "Шестнадцать букв"},
      {"seventeen", "Семнадцать знаков", 16, "Семнадцать знак..."},
      {"default_first_page", "Общие черты", 16, "Общие черты"},
      {"button", "ИЗМЕНИТЬ ИМЕНА", 25, "ИЗМЕНИТЬ ИМЕНА"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HotArea area;
    area.text = Cp1251(c.text);
    area.maxChars = c.maxChars;
    EXPECT_EQ(HotAreaStrip::ShownText(area), Cp1251(c.shown));
  }
}

TEST(HotAreas, DrawnAsShadowFaceAndTextInTheStateColour) {
  const Rect client{0, 0, 10000, -5000};
  for (int state = 0; state <= 2; ++state) {
    SCOPED_TRACE(state);
    HotAreaStrip strip;
    strip.Add({0, 0, 500, 1000, Cp1251("Тест"), state, 16});
    platform::RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    strip.Draw(dc, client, 0.8);

    std::vector<platform::RecordedCall> fills, texts, lines;
    for (const auto& call : dc.Calls()) {
      if (call.kind == platform::RecordedCall::FillRect) fills.push_back(call);
      if (call.kind == platform::RecordedCall::Text) texts.push_back(call);
      if (call.kind == platform::RecordedCall::Line) lines.push_back(call);
    }
    // The separator along the strip's top edge, across the client.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().points[0], (Point{0, -4000}));
    EXPECT_EQ(lines.front().points[1], (Point{10000, -4000}));
    // Shadow 30 right and 16 down (0.003 x 10000, 0.016 x 1000), then the face.
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].points[0], (Point{30, -4016}));
    EXPECT_EQ(fills[0].points[1], (Point{5030, -5016}));
    EXPECT_EQ(fills[0].color, ColorByIndex(7));
    EXPECT_EQ(fills[1].points[0], (Point{0, -4000}));
    EXPECT_EQ(fills[1].points[1], (Point{5000, -5000}));
    EXPECT_EQ(fills[1].color, ColorByIndex(16));
    // The text 0.03 of the width right of the left edge, 0.05 of the height below the top.
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, Cp1251("Тест"));
    EXPECT_EQ(texts[0].points[0], (Point{150, -4050}));
    EXPECT_EQ(texts[0].color, ColorByIndex(state == 0 ? 0 : state == 1 ? 2 : 4));
    EXPECT_EQ(texts[0].font.face, "Vudurez");
    // The largest size fits: an em of 667 units is lower than 900, four characters of half an
    // em each are narrower than 4750.
    EXPECT_EQ(texts[0].font.pointSize, 5000);
  }
}

}  // namespace
