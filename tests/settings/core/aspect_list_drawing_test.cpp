#include "settings/core/aspect_list_drawing.h"

#include <gtest/gtest.h>

#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"

namespace {

using platform::RecordedCall;

// The lines drawn (solid or dashed segments) at height `y`.
std::vector<RecordedCall> LinesAt(const platform::RecordingDc& dc, int y) {
  std::vector<RecordedCall> lines;
  for (const RecordedCall& c : dc.Calls()) {
    if ((c.kind == RecordedCall::Line || c.kind == RecordedCall::Polyline) &&
        c.points.front().y == y)
      lines.push_back(c);
  }
  return lines;
}

TEST(AspectListDrawing, LineSwatchesTextsAndTheThickLine) {
  Aspect aspect;
  aspect.angle = 120.5;
  aspect.abbreviation = "TRI";
  aspect.color = 12;
  aspect.exactColor = 14;
  aspect.thickness = 1;
  const struct {
    bool selected;
    platform::Color text, frame;
  } cases[] = {{true, ColorByIndex(3), ColorByIndex(0)},
               {false, platform::kBlack, platform::Color{200, 200, 200}}};
  for (const auto& c : cases) {
    platform::RecordingDc dc;
    settings::DrawAspectListItem(dc, aspect, {0, 20, 600, 40}, 600, c.selected, {200, 200, 200});
    // Swatches from r - 80 to r - 65 and from r - 54 to r - 39, 2 pixels in from top and bottom.
    std::vector<RecordedCall> fills;
    for (const RecordedCall& call : dc.Calls())
      if (call.kind == RecordedCall::FillRect) fills.push_back(call);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].points, (std::vector<platform::Point>{{520, 22}, {535, 38}}));
    EXPECT_EQ(fills[0].color, ColorByIndex(12));
    EXPECT_EQ(fills[1].points, (std::vector<platform::Point>{{546, 22}, {561, 38}}));
    EXPECT_EQ(fills[1].color, ColorByIndex(14));
    bool sawAngle = false, sawAbbreviation = false;
    for (const RecordedCall& call : dc.Calls()) {
      if (call.kind != RecordedCall::Text) continue;
      EXPECT_EQ(call.color, c.text) << call.text;
      sawAngle |= call.text == "120:30";
      if (call.text.rfind("TRI", 0) == 0) {
        sawAbbreviation = true;
        EXPECT_EQ(call.points.front().x, 9);  // 0.015 x 600
      }
    }
    EXPECT_TRUE(sawAngle);
    EXPECT_TRUE(sawAbbreviation);
    // The line sample at half height, 3 pixels wide for a thick line.
    const std::vector<RecordedCall> lines = LinesAt(dc, 30);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().points.front().x, 570);
    EXPECT_EQ(lines.front().pen.width, 3);
    bool framed = false;
    for (const RecordedCall& call : dc.Calls())
      framed |= call.kind == RecordedCall::Rectangle && call.pen.color == c.frame;
    EXPECT_TRUE(framed);
  }
}

TEST(AspectListDrawing, SampleIsThinOrThickAndAnUnknownStyleDrawsSolid) {
  const struct { int style, thickness, width; } cases[] = {{0, 0, 1}, {2, 1, 3}, {9, 0, 1}};
  for (const auto& c : cases) {
    platform::RecordingDc dc;
    settings::DrawLineSample(dc, {100, 10, 180, 30}, c.style, c.thickness);
    const std::vector<RecordedCall> lines = LinesAt(dc, 20);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().pen.width, c.width);
    EXPECT_EQ(lines.front().points.front().x, 102);
    if (c.style != 2) {
      ASSERT_EQ(lines.size(), 1u);  // solid: one stroke to 2 pixels inside the right edge
      EXPECT_EQ(lines.front().points.back().x, 178);
    }
  }
}

}  // namespace
