#include "settings/core/aspect_list_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "astro/aspects/aspect_system.h"
#include "foundation/drawing/palette.h"
#include "platform/core/recording_dc.h"
#include "support/test_support.h"

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
    const settings::AspectListLayout layout =
        settings::LayoutAspectList(dc, {aspect.GetTexts()}, 600, 20);
    settings::DrawAspectListItem(dc, aspect, {0, 20, 600, 40}, layout, c.selected, {200, 200, 200});
    // Swatches 15 wide at their columns, 2 pixels in from top and bottom.
    const int swatch = layout.Swatch(600), exact = layout.ExactSwatch(600);
    EXPECT_LE(swatch, 520);
    std::vector<RecordedCall> fills;
    for (const RecordedCall& call : dc.Calls())
      if (call.kind == RecordedCall::FillRect) fills.push_back(call);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].points, (std::vector<platform::Point>{{swatch, 22}, {swatch + 15, 38}}));
    EXPECT_EQ(fills[0].color, ColorByIndex(12));
    EXPECT_EQ(fills[1].points, (std::vector<platform::Point>{{exact, 22}, {exact + 15, 38}}));
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
    EXPECT_EQ(lines.front().points.front().x, layout.Sample(600));
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

// The shipped system in its list at the width the list asks for: Russian abbreviations; every
// text of every line, selected or not, and of the heading in one font; no text running into the
// next column; each heading over its column.
TEST(AspectListDrawing, ShippedSystemReadsInOneFontWithColumnsApartUnderTheirHeadings) {
  AspectSystem aspects;
  ASSERT_TRUE(aspects.LoadSystem(testing_support::SourceDir() / "data" / "VELM.asp").ok());
  std::vector<AspectTexts> rows;
  for (int i = 0; i < aspects.Count(); ++i) {
    const std::string& abbreviation = aspects.GetAspect(i).abbreviation;
    EXPECT_TRUE(std::any_of(abbreviation.begin(), abbreviation.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0xC0; }))
        << "aspect " << i << " \"" << abbreviation << "\" is not Russian";
    rows.push_back(aspects.GetAspect(i).GetTexts());
  }
  constexpr int kHeight = 22;
  platform::RecordingDc dc;
  const int width = settings::AspectListWidth(dc, rows, kHeight);
  const settings::AspectListLayout layout = settings::LayoutAspectList(dc, rows, width, kHeight);
  const auto texts = [&dc](std::size_t from) {
    std::vector<RecordedCall> line;
    for (std::size_t k = from; k < dc.Calls().size(); ++k)
      if (dc.Calls()[k].kind == RecordedCall::Text && !dc.Calls()[k].text.empty())
        line.push_back(dc.Calls()[k]);
    std::sort(line.begin(), line.end(), [](const RecordedCall& a, const RecordedCall& b) {
      return a.points[0].x < b.points[0].x;
    });
    return line;
  };
  settings::DrawAspectListHeading(dc, {0, 0, width, kHeight}, layout);
  const std::vector<RecordedCall> heading = texts(0);
  ASSERT_EQ(heading.size(), 13u);
  for (int i = 0; i < aspects.Count(); ++i) {
    for (const bool selected : {false, true}) {
      const std::size_t from = dc.Calls().size();
      const int top = (i + 1) * kHeight;
      settings::DrawAspectListItem(dc, aspects.GetAspect(i), {0, top, width, top + kHeight}, layout,
                                   selected, platform::kWhite);
      const std::vector<RecordedCall> line = texts(from);
      ASSERT_EQ(line.size(), 10u) << i;  // abbreviation, angle, six orbs, type, strength
      for (std::size_t k = 0; k < line.size(); ++k) {
        EXPECT_EQ(line[k].font, heading[0].font) << i << " " << line[k].text;
        dc.SelectFont(line[k].font);
        const int end = line[k].points[0].x + dc.GetTextExtent(line[k].text).cx;
        const int next = k + 1 < line.size() ? line[k + 1].points[0].x : layout.Swatch(width);
        EXPECT_LT(end, next) << i << ": " << line[k].text << " runs into the next column";
      }
      // Under "Дуга" the angle, under "Тип" the type, under "Сила" the strength.
      EXPECT_EQ(line[1].points[0].x, heading[1].points[0].x);
      EXPECT_EQ(line[8].points[0].x, heading[8].points[0].x);
      EXPECT_EQ(line[9].points[0].x, heading[9].points[0].x);
    }
  }
}

}  // namespace
