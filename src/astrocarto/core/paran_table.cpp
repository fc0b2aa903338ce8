#include "astrocarto/core/paran_table.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "astrocarto/core/ac_lines_list.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kSelectedColour = 4;
constexpr int kRowColour = 0;
constexpr int kColumnChars = 20;
constexpr int kWideColumnChars = 22;  // with the "Windows 2000" switch
// The printed page: the column headings 30 mm below the top margin (the rows one pitch lower)
// and 4 mm inside the side margins; the headers at the top, the title below them.
constexpr int kRowsTop = 3000, kRowsInset = 400;
constexpr int kHeaderTop = 150, kOrnamentTop = 250, kTitleTop = 1600;
constexpr int kOrnamentRight = 20300, kSecondHeaderRight = 20600;
constexpr int kTitleSize = 4000, kOrnamentSize = 6000;
constexpr int kFrameBelowRows = 300;

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

int WidthOfW(platform::Dc& dc, std::string_view face, int size) {
  const platform::DcState saved(dc);
  dc.SelectFont(platform::Font{std::string(face), size});
  return dc.GetTextExtent("W").cx;
}

}  // namespace

void ParanTable::SetCrossings(int choice, std::vector<Crossing> crossings) {
  choice_ = choice;
  crossings_ = std::move(crossings);
}

double ParanTable::ColumnWidth(platform::Dc& dc, int fontSize, bool wide) {
  // The row ends with the longitude at 14 widths of "W": a column is never narrower than that
  // and two widths of "W" beyond it, whatever the glyph face's "W".
  const int w = WidthOfW(dc, platform::kTextFace, fontSize);
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(fontSize));
  const int row = 16 * w + dc.GetTextExtent("000W00").cx;
  const int chars = wide ? kWideColumnChars : kColumnChars;
  return std::max({1, chars * WidthOfW(dc, platform::kGlyphFaceA, fontSize), row});
}

int ParanTable::RowHeight(platform::Dc& dc, int fontSize) {
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(fontSize));
  return std::max(1, dc.GetTextExtent("W").cy);
}

void ParanTable::DrawRow(platform::Dc& dc, int row, platform::Point at, int fontSize,
                         bool selected) const {
  if (row < 0 || row >= Count()) return;
  const Crossing& c = crossings_[static_cast<std::size_t>(row)];
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(selected ? kSelectedColour : kRowColour));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int w = WidthOfW(dc, platform::kTextFace, fontSize);
  DrawGlyphText(dc, at.x, at.y, static_cast<char>('M' + c.firstBody), 'a', fontSize,
                platform::BkMode::Transparent);
  DrawGlyphText(dc, at.x + 5 * w, at.y, static_cast<char>('M' + c.secondBody), 'a', fontSize,
                platform::BkMode::Transparent);
  dc.SelectFont(TextFont(fontSize));
  dc.TextOut(at.x + 2 * w, at.y, AngleLineName(c.firstAngle, false));
  dc.TextOut(at.x + 7 * w, at.y, AngleLineName(c.secondAngle, false));
  dc.TextOut(at.x + 10 * w, at.y, CrossingLatitudeText(c.latitude));
  dc.TextOut(at.x + 14 * w, at.y, CrossingLongitudeText(c.longitude));
}

void ParanTable::DrawColumnHeads(platform::Dc& dc, platform::Point at, int fontSize) {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(kRowColour));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int w = WidthOfW(dc, platform::kTextFace, fontSize);
  dc.SelectFont(TextFont(fontSize));
  dc.TextOut(at.x, at.y, GetMessageText(kMsgLinesColumn));
  dc.TextOut(at.x + 10 * w, at.y, GetMessageText(kMsgLatitudeColumn));
  dc.TextOut(at.x + 14 * w, at.y, GetMessageText(kMsgLongitudeColumn));
}

ParanPrintLayout ParanTable::LayoutPrint(platform::Dc& dc, const Configuration& config,
                                         int fontSize, double interval, int maxColumns, int order) {
  const cfg::PrintSettings& p = config.print;
  ParanPrintLayout out;
  out.left = p.marginLeft + kRowsInset;
  out.pitch = std::max(1.0, RowHeight(dc, fontSize) * interval);
  // The column headings take the first row's place; the rows follow one pitch lower.
  out.top = p.marginTop + kRowsTop + static_cast<int>(out.pitch);
  out.columnWidth = ColumnWidth(dc, fontSize, config.windows2000 != 0);
  out.fontSize = fontSize;
  const int usableHeight = kA4Height - out.top - p.marginBottom;
  const int usableWidth = kA4Width - p.marginRight - kRowsInset - out.left;
  const int rows = lists::FitCount(usableHeight, out.pitch);
  const int columns = lists::FitColumns(usableWidth, out.columnWidth, maxColumns);
  out.layout = lists::ColumnPageLayout(rows, columns, lists::ColumnOrderOf(order));
  return out;
}

void ParanTable::DrawPageHead(platform::Dc& dc, const Configuration& config,
                              const ParanPrintLayout& layout, const Chart& first,
                              const Chart* second, int page, int rowsUsed) const {
  const cfg::PrintSettings& p = config.print;
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 1, platform::kBlack});
  // The frame ends below the page's last row, at the bottom margin at most.
  const int rowsEnd = layout.top + static_cast<int>(rowsUsed * layout.pitch) + kFrameBelowRows;
  config.DrawPageFrame(dc, {0, 0, 0, std::max(0, kA4Height - p.marginBottom - rowsEnd)});

  const Chart& headed = choice_ == ACLines::kSecondChart && second != nullptr ? *second : first;
  const bool two = choice_ == ACLines::kBetweenCharts && second != nullptr;
  // Two blocks share the head's width, so that neither runs into the other.
  const int width = two ? HeaderPairWidth(p.marginLeft + 400, kSecondHeaderRight - p.marginRight)
                        : kHeaderAnyWidth;
  DrawChartHeader(headed, dc, p.marginLeft + 400, -kHeaderTop - p.marginTop, 0, true, width);
  if (two) {
    DrawChartHeader(*second, dc, kSecondHeaderRight - p.marginRight, -kHeaderTop - p.marginTop, 1,
                    true, width);
  } else {
    dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), kOrnamentSize});
    dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
    dc.TextOut(kOrnamentRight - p.marginRight, -kOrnamentTop - p.marginTop, glyphs::kOrnament);
  }
  dc.SelectFont(TextFont(kTitleSize));
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  dc.TextOut((p.marginLeft + kA4Width - p.marginRight) / 2, -kTitleTop - p.marginTop,
             lists::PageTitle(GetMessageText(kMsgLineCrossingsTitle), page));
  const int columns = layout.layout.ColumnsUsedOnPage(page, Count());
  for (int c = 0; c < columns; ++c)
    DrawColumnHeads(
        dc, {layout.left + static_cast<int>(c * layout.columnWidth), -(p.marginTop + kRowsTop)},
        layout.fontSize);
}
