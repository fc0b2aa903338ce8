#include "views/core/asp_graph_draw.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/date_text.h"
#include "foundation/datetime/fdate.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_data.h"
#include "views/core/asp_graph_layout.h"

using platform::Dc;

namespace {

constexpr int kLongDatePeriod = 200;  // days: from here on a label is the whole date
constexpr int kOrnamentSize = 6000;
constexpr int kTitleSize = 3800;
constexpr int kBlockLeft = 400, kBlockDrop = 150;  // the identification, from the margins
constexpr int kFramePen = 20;
constexpr int kBaselineColour = 7;  // grey
constexpr int kLabelLines = 3;
constexpr int kMaxBarThickness = 50;

platform::Font FontOf(std::string_view face, int size) { return {std::string(face), size}; }

// The largest text size at which every line of `lines` fits `width` and `lines` lines fit
// `height`; -1 when none does.
int FitLines(Dc& dc, const std::vector<std::string>& lines, int width, int height) {
  std::size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  if (longest == 0) return -1;
  const int byWidth = FitFontWidth(dc, platform::kTextFace, aspgraph::kFirstFontSize, width,
                                   std::string(longest, 'p'));
  const int byHeight = FitFontHeight(dc, platform::kTextFace, aspgraph::kFirstFontSize,
                                     height / static_cast<int>(lines.size()));
  return byWidth < 0 || byHeight < 0 ? -1 : std::min(byWidth, byHeight);
}

void DrawLabel(Dc& dc, const AspGraphLayout& layout, const AspGraphPair& pair, int rowTop) {
  const std::vector<aspgraph::LabelLine> lines = aspgraph::PairLabel(pair);
  const int labelLeft = layout.left + layout.leftMargin * layout.width / 100;
  const int width = (layout.x0 - labelLeft) * 95 / 100;
  std::vector<std::string> measured;
  for (const aspgraph::LabelLine& line : lines)
    measured.push_back((line.glyph != 0 ? std::string(1, 'p') : std::string()) + line.text);
  const int size = FitLines(dc, measured, width, layout.rowHeight);
  if (size < 0) return;
  const int lineHeight = layout.rowHeight / kLabelLines;
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetTextColor(platform::kBlack);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const int y = rowTop - static_cast<int>(k) * lineHeight;
    int x = labelLeft;
    if (lines[k].glyph != 0)
      x += DrawGlyphText(dc, x, y, lines[k].glyph, 'a', size, platform::BkMode::Transparent).cx;
    dc.SelectFont(FontOf(platform::kTextFace, size));
    dc.TextOut(x, y, lines[k].text);
  }
}

// The glyph (or, for an angle of no known kind, the name) of a cell's aspect, left-aligned at x
// with its bottom at y; returns its width.
int DrawAspectMark(Dc& dc, int x, int y, int size, int aspect, const std::string& name) {
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kBottom);
  if (aspect >= 0) {
    dc.SelectFont(FontOf(platform::kGlyphFaceB, size));
    return DrawGlyphNumber(dc, x, y, aspect).cx;
  }
  dc.SelectFont(FontOf(platform::kTextFace, size));
  dc.TextOut(x, y, name);
  return dc.GetTextExtent(name).cx;
}

int MarkWidth(Dc& dc, int size, int aspect, const std::string& name) {
  if (aspect >= 0) return FontCharWidth(dc, platform::kGlyphFaceB, size, glyphs::Aspect(aspect));
  return TextWidthInFont(dc, platform::kTextFace, size, name);
}

void DrawSamples(Dc& dc, const AspGraphLayout& layout, const AspGraphSamples& samples, int j,
                 int baseline, const AspGraphPaint& paint) {
  const int n = samples.n;
  if (n <= 0) return;
  // Bars as wide as the samples are apart, so that neighbouring bars close up (at most 1 mm).
  const int thickness = std::clamp(layout.plotWidth / n / 2, 0, kMaxBarThickness);
  const int glyphSize = FitFontHeight(dc, platform::kGlyphFaceA, aspgraph::kFirstFontSize,
                                      layout.rowHeight - layout.baselineOffset);
  constexpr int kNone = INT_MIN;
  int previous = kNone;
  int glyphEnd = INT_MIN;
  for (int i = 0; i < n; ++i) {
    const AspGraphCell& cell = samples.Cell(j, i);
    if (!cell.HasAspect()) {
      previous = kNone;
      continue;
    }
    const int x = aspgraph::SampleX(layout, i, n);
    const int h = static_cast<int>((cell.orb - cell.deviation) * layout.verticalScale);
    const int colourNumber = paint.printing && !paint.colourPrinting ? 0 : cell.colour;
    const platform::Color colour = ColorByIndex(colourNumber);
    if (paint.Bars())
      DrawThickLine(dc, x, baseline, x, baseline + h, platform::PenStyle::Solid, thickness, colour);
    else
      DrawFilledCircle(dc, x, baseline + h, aspgraph::kDotRadius, colour);
    if (cell.aspect == previous) continue;
    previous = cell.aspect;
    if (glyphSize < 0) continue;
    // A mark near the plot's right end is moved left to end there.
    const std::string name = samples.AspectName(j, cell.aspect);
    const int width = MarkWidth(dc, glyphSize, cell.aspect, name);
    const int markX = std::min(x, layout.x0 + layout.plotWidth - width);
    if (markX <= glyphEnd) continue;
    dc.SetTextColor(colour);
    glyphEnd = markX + DrawAspectMark(dc, markX, baseline + h, glyphSize, cell.aspect, name);
  }
}

}  // namespace

namespace aspgraph {

std::vector<LabelLine> PairLabel(const AspGraphPair& pair) {
  const auto member = [](int body, int technique, int converse, bool first) {
    LabelLine line;
    if (body >= 0 && body < kPointCount)
      line.glyph = glyphs::Point(body);
    else
      line.text = MemberName(body, first);
    line.text += TechniqueText(technique, converse);
    return line;
  };
  return {member(pair.fromBody, pair.fromTechnique, pair.fromConverse, true),
          member(pair.toBody, pair.toTechnique, pair.toConverse, false),
          LabelLine{0, pair.systemName}};
}

std::vector<AxisTick> AxisTicks(const AspGraphLayout& layout, const FDate& firstDay,
                                const TimeScale& scale) {
  std::vector<AxisTick> ticks;
  if (scale.span <= 0 || scale.minorTick <= 0) return ticks;
  const int labelEvery = std::max(scale.majorTick / scale.minorTick, 1);
  const double first = firstDay.ToJulianDay();
  for (int k = 0; k < scale.minorCount; ++k) {
    FDate date = firstDay;
    (void)date.AddDays(static_cast<std::int64_t>(k) * scale.minorTick);
    AxisTick tick;
    tick.x =
        layout.x0 + static_cast<int>((date.ToJulianDay() - first) * layout.plotWidth / scale.span);
    tick.major = k % labelEvery == 0;
    if (tick.major) {
      char text[32];
      if (scale.span >= kLongDatePeriod) {
        std::string whole;
        if (Date2String(date.Day(), date.Month(), date.Year(), whole, "DD:MM:YYYY").ok())
          tick.label.push_back(whole);
      } else {
        std::snprintf(text, sizeof text, "%d", date.Year());
        tick.label.push_back(text);
        std::snprintf(text, sizeof text, "%02d.%02d", date.Day(), date.Month());
        tick.label.push_back(text);
      }
    }
    ticks.push_back(std::move(tick));
  }
  return ticks;
}

}  // namespace aspgraph

void DrawAspGraphTimeAxis(Dc& dc, const AspGraphLayout& layout, const FDate& firstDay,
                          const aspgraph::TimeScale& scale) {
  platform::DcState state(dc);
  const int right = layout.x0 + layout.plotWidth;
  const int bottom = layout.y0 - layout.plotHeight;
  dc.SelectPen({platform::PenStyle::Solid, 0, platform::kBlack});
  dc.Line({layout.x0, layout.y0}, {right, layout.y0});
  dc.Line({layout.x0, bottom}, {right, bottom});

  const int header = layout.HeaderHeight();
  const int longTick = header / 3, shortTick = header / 6;
  const int lineHeight = header / 3;
  const int size = FitFontHeight(dc, platform::kTextFace, aspgraph::kFirstFontSize, lineHeight);
  if (size > 0) dc.SelectFont({std::string(platform::kTextFace), size});
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kBottom);
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  int labelEnd = INT_MIN;
  for (const aspgraph::AxisTick& tick : aspgraph::AxisTicks(layout, firstDay, scale)) {
    const int length = tick.major ? longTick : shortTick;
    dc.Line({tick.x, layout.y0}, {tick.x, layout.y0 + length});
    dc.Line({tick.x, bottom}, {tick.x, bottom - length});
    if (tick.label.empty() || size <= 0) continue;
    int width = 0;
    for (const std::string& line : tick.label) width = std::max(width, dc.GetTextExtent(line).cx);
    // A label begins at its tick.
    const int labelRight = tick.x + width;
    if (tick.x <= labelEnd || labelRight > right) continue;
    int y = layout.y0 + longTick;
    for (auto line = tick.label.rbegin(); line != tick.label.rend(); ++line) {
      dc.TextOut(tick.x, y, *line);
      y += lineHeight;
    }
    labelEnd = labelRight;
  }
}

void DrawAspGraphRows(Dc& dc, const AspGraphLayout& layout, const AspGraphList& list,
                      const AspGraphSamples& samples, int firstRow, const AspGraphPaint& paint) {
  platform::DcState state(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  const int last = std::min(firstRow + layout.rowsPerPage, list.PairCount());
  const platform::Color baselineColour =
      paint.printing && !paint.colourPrinting ? platform::kBlack : ColorByIndex(kBaselineColour);
  for (int r = std::max(firstRow, 0); r < last; ++r) {
    const int rowTop = layout.y0 - (r - firstRow) * layout.rowHeight;
    const int baseline = rowTop - layout.baselineOffset;
    dc.SelectPen({platform::PenStyle::Solid, 0, baselineColour});
    dc.Line({layout.x0, baseline}, {layout.x0 + layout.plotWidth, baseline});
    DrawLabel(dc, layout, list.pairs[static_cast<std::size_t>(r)], rowTop);
    DrawSamples(dc, layout, samples, r, baseline, paint);
  }
}

PageTitlePlace DrawAspGraphPageHeading(Dc& dc, const Configuration& config, const Chart& chart) {
  platform::DcState state(dc);
  const cfg::PrintSettings& print = config.print;
  dc.SelectPen({platform::PenStyle::Solid, kFramePen, platform::kBlack});
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  const platform::Size block =
      chart.DrawHeader(dc, print.marginLeft + kBlockLeft, -kBlockDrop - print.marginTop, 0, true);

  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.SelectFont({std::string(platform::kGlyphFaceA), kOrnamentSize});
  dc.TextOut(20300 - print.marginRight, -250 - print.marginTop, glyphs::kOrnament);

  // The title clear of a long identification: beside it, or under it.
  const PageHeadBlocks blocks{
      print.marginLeft + kBlockLeft + block.cx, PageOrnamentLeft(dc, print),
      std::min(-kBlockDrop - print.marginTop - block.cy, PageOrnamentBottom(dc, print))};
  const std::string title = GetMessageText(kMsgAspectGraphTitle);
  const PageTitlePlace place = PlacePageTitle(dc, print, title, blocks, kTitleSize);
  DrawPlacedTitle(dc, place, title);
  return place;
}
