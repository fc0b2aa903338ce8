#include "astro/chart/chart_header.h"

#include <algorithm>
#include <string>
#include <vector>

#include "astro/chart/chart_definition.h"
#include "astro/chart/derived_charts.h"
#include "foundation/atlas/town_search.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_title.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"

namespace {

std::string Join(std::initializer_list<std::string> parts, std::string_view separator) {
  std::string out;
  for (const std::string& p : parts) {
    if (p.empty()) continue;
    if (!out.empty()) out += separator;
    out += p;
  }
  return out;
}

// Where DrawPrintedPageFrame puts the identification block: right of the left margin, under the
// top one.
constexpr int kBlockLeft = 400;
constexpr int kBlockDrop = 150;

platform::Font HeaderFont() {
  platform::Font font;
  font.pointSize = kHeaderFontSize;
  return font;
}

}  // namespace

std::string ChartPersonNames(const SuperSource& definition) {
  const Source* base = definition.GetBaseSource();
  const std::string& named = (base != nullptr ? *base : definition.sources[0]).Name();
  if (definition.Kind() != kChartSynastry) return named;
  const std::string& first = definition.sources[0].Name();
  const std::string& second = definition.sources[1].Name();
  if (first.empty() || first == second) return second;
  if (second.empty()) return first;
  return first + Cp1251(" и ") + second;
}

std::string ChartKindText(const SuperSource& definition) {
  if (definition.Kind() > kChartLunarPhase) return {};
  std::string kind = GetMessageText(kMsgKindNameFirst + definition.Kind());
  if (IsCompositeChart(definition)) kind += ", " + GetMessageText(kMsgComposite);
  return kind;
}

std::string ChartTitleLine(const SuperSource& definition) {
  const std::string& title = definition.Title();
  if (definition.Kind() > kChartLunarPhase) return title;
  const std::string kind = ChartKindText(definition);
  if (title.empty() || title == GetMessageText(kMsgKindNameFirst + definition.Kind())) return kind;
  if (IsRelocatedTitle(title)) return title;
  return title + " (" + kind + ")";
}

std::vector<std::string> ChartHeaderLines(const Chart& chart, bool compact) {
  const SuperSource& def = chart.definition;
  const bool composite = IsCompositeChart(def);
  const Source* base = def.GetBaseSource();
  const std::string name =
      composite ? ChartPersonNames(def) : (base != nullptr ? *base : def.sources[0]).Name();
  const Source& counted = ComputingSource(def);  // the midpoint of a composite chart
  const std::string title = ChartTitleLine(def);
  // The zone once, seconds included, and the tz database's name of it where the place is a town
  // of the atlas that kept that zone then.
  const std::string zone =
      Join({counted.zone.FullText(), TownZoneAbbreviation(GetTowns(), counted)}, " ");
  const std::string moment =
      Join({counted.moment.date.ToText(), counted.moment.time.ToText(), zone}, "  ");
  std::string place = Join({counted.place.Town(), counted.place.Region()}, ", ");
  if (composite) {
    // The midpoint lies between the two birth places: it is named after their towns.
    const std::string& a = def.sources[0].place.Town();
    const std::string& b = def.sources[1].place.Town();
    const std::string between = a.empty() || a == b ? b : b.empty() ? a : a + Cp1251(" — ") + b;
    if (!between.empty()) place = Cp1251("Середина: ") + between;
  }
  const std::string coords = counted.place.CoordText();
  if (compact) return {Join({name, title}, " - "), moment, Join({place, coords}, "  ")};
  return {name, title, moment, place, coords};
}

int HeaderPairWidth(int left, int right) {
  return std::max(1, (right - left - kHeaderPairGap) / 2);
}

int HeaderLineSize(platform::Dc& dc, std::string_view text, int width) {
  platform::Font font = HeaderFont();
  const platform::Font oldFont = dc.SelectFont(font);
  int extent = dc.GetTextExtent(text).cx;
  if (width > 0 && extent > width) {
    // In proportion first, then down in steps of a fiftieth until the measured line fits.
    font.pointSize =
        std::max(1, static_cast<int>(static_cast<long long>(kHeaderFontSize) * width / extent));
    for (;;) {
      dc.SelectFont(font);
      extent = dc.GetTextExtent(text).cx;
      if (extent <= width || font.pointSize == 1) break;
      font.pointSize = std::max(1, font.pointSize - std::max(1, font.pointSize / 50));
    }
  }
  dc.SelectFont(oldFont);
  return font.pointSize;
}

platform::Size MeasureChartHeader(const Chart& chart, platform::Dc& dc, bool compact, int width) {
  const platform::Font oldFont = dc.SelectFont(HeaderFont());
  const std::vector<std::string> lines = ChartHeaderLines(chart, compact);
  platform::Size extent{0, 0};
  for (const std::string& line : lines) {
    platform::Font font = HeaderFont();
    font.pointSize = HeaderLineSize(dc, line, width);
    dc.SelectFont(font);
    extent.cx = std::max(extent.cx, dc.GetTextExtent(line).cx);
  }
  dc.SelectFont(HeaderFont());
  if (!lines.empty())
    extent.cy = static_cast<int>(lines.size() - 1) * kHeaderLineStep + dc.GetTextMetrics().height;
  dc.SelectFont(oldFont);
  return extent;
}

platform::Size DrawChartHeader(const Chart& chart, platform::Dc& dc, int x, int y, int align,
                               bool compact, int width) {
  const platform::Font oldFont = dc.SelectFont(HeaderFont());
  const unsigned oldAlign =
      dc.SetTextAlign((align == 1 ? platform::TextAlign::kRight : platform::TextAlign::kLeft) |
                      platform::TextAlign::kTop);
  const int down = dc.YUp() ? -1 : 1;
  platform::Size extent{0, 0};
  int line = 0;
  for (const std::string& text : ChartHeaderLines(chart, compact)) {
    platform::Font font = HeaderFont();
    font.pointSize = HeaderLineSize(dc, text, width);
    dc.SelectFont(font);
    dc.TextOut(x, y + down * line * kHeaderLineStep, text);
    extent.cx = std::max(extent.cx, dc.GetTextExtent(text).cx);
    ++line;
  }
  dc.SelectFont(HeaderFont());
  extent.cy = line > 0 ? (line - 1) * kHeaderLineStep + dc.GetTextMetrics().height : 0;
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
  return extent;
}

void DrawPageOrnament(platform::Dc& dc, const Configuration& config) {
  const platform::Font oldFont =
      dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), 6000, 0, false, false});
  const unsigned oldAlign =
      dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(20300 - config.print.marginRight, -250 - config.print.marginTop, glyphs::kOrnament);
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
}

void DrawPageTitle(platform::Dc& dc, const Configuration& config, std::string_view title) {
  const cfg::PrintSettings& p = config.print;
  const platform::Font oldFont = dc.SelectFont(
      platform::Font{std::string(platform::kTextFace), kPageTitleFontSize, 0, false, false});
  const unsigned oldAlign =
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  const int middle = (p.marginLeft + (21000 - p.marginRight)) / 2;
  dc.TextOut(middle, -kPageTitleDrop - p.marginTop, title);
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
}

platform::Size DrawPrintedPageFrame(platform::Dc& dc, const Chart& chart,
                                    const Configuration& config,
                                    const std::array<int, 4>& frameOffsets) {
  const cfg::PrintSettings& p = config.print;
  config.DrawPageFrame(dc, frameOffsets);
  const platform::Size block =
      DrawChartHeader(chart, dc, p.marginLeft + kBlockLeft, -kBlockDrop - p.marginTop, 0, true);
  DrawPageOrnament(dc, config);
  return block;
}

PageHeadBlocks PrintedPageHeadBlocks(platform::Dc& dc, const Chart& chart,
                                     const Configuration& config) {
  const cfg::PrintSettings& p = config.print;
  const platform::Size block = MeasureChartHeader(chart, dc, true);
  return {p.marginLeft + kBlockLeft + block.cx, PageOrnamentLeft(dc, p),
          std::min(-kBlockDrop - p.marginTop - block.cy, PageOrnamentBottom(dc, p))};
}

PageTitlePlace PlacePrintedPageTitle(platform::Dc& dc, const Chart& chart,
                                     const Configuration& config, std::string_view title) {
  return PlacePageTitle(dc, config.print, title, PrintedPageHeadBlocks(dc, chart, config));
}

PageTitlePlace DrawPrintedPageHead(platform::Dc& dc, const Chart& chart,
                                   const Configuration& config, std::string_view title,
                                   const std::array<int, 4>& frameOffsets) {
  DrawPrintedPageFrame(dc, chart, config, frameOffsets);
  const PageTitlePlace place = PlacePrintedPageTitle(dc, chart, config, title);
  DrawPlacedTitle(dc, place, title);
  return place;
}

platform::Size Chart::DrawHeader(platform::Dc& dc, int x, int y, int align, bool compact,
                                 int width) const {
  return DrawChartHeader(*this, dc, x, y, align, compact, width);
}
