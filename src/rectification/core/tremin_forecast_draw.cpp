#include "rectification/core/tremin_forecast_draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "rectification/core/tremin_results.h"

namespace {

constexpr std::array<int, 3> kBarColours{1, 4, 2};
constexpr std::array<int, 3> kMsgLegend{1047, 1048, 1049};
constexpr int kLineColour = 0;
constexpr int kPaperFirstFont = 3000;  // the paper font is searched down from 30 points
constexpr int kLegendMaxFont = 4000;
constexpr int kTitleSize = 4000;
constexpr int kRowsOnPaper = 17;
constexpr std::string_view kEllipsis = "...";

int Round(double v) { return static_cast<int>(std::lround(v)); }

platform::Font TextFont(int size) {
  return platform::Font{std::string(platform::kTextFace), std::max(1, size), 0, false, false};
}

// The part of the page's fractions both forms share, once the left edge, the top offset and the
// text column's share are known.
TmForecastLayout Proportion(const platform::Rect& page, bool paper) {
  TmForecastLayout l;
  l.page = page;
  l.paper = paper;
  const int width = page.right - page.left;
  const int height = page.top - page.bottom;
  l.left = page.left + (paper ? 0 : Round(0.01 * width));
  const int topOffset = Round((paper ? 0.015 : 0.005) * height);
  l.top = page.top - topOffset;
  l.textWidth = Round((paper ? 0.25 : 0.22) * width);
  // The bars start a little right of the column's line and end as far from the right edge as
  // the text column starts from the left.
  const int gap = std::max(1, Round(0.01 * width));
  l.barLeft = l.left + l.textWidth + gap;
  l.barRight = std::max(l.barLeft + 1, page.right - (l.left - page.left) - gap);
  l.rowsBottom = l.top - Round(0.93 * (height - topOffset));
  return l;
}

void FitRows(TmForecastLayout& l) {
  l.rowHeight = std::max(1.0, l.rowHeight);
  l.rowsPerPage = std::max(1, static_cast<int>((l.top - l.rowsBottom) / l.rowHeight));
}

// The text cut at its end with "..." until it is narrower than `width`.
std::string CutToWidth(platform::Dc& dc, const std::string& text, int width) {
  if (dc.GetTextExtent(text).cx < width) return text;
  std::string cut = text;
  while (!cut.empty()) {
    cut.pop_back();
    if (dc.GetTextExtent(cut + std::string(kEllipsis)).cx < width)
      return cut + std::string(kEllipsis);
  }
  return {};
}

void Bar(platform::Dc& dc, const platform::Rect& r, int colourNumber, TmBarStyle style) {
  const platform::Color colour = ColorByIndex(colourNumber);
  if (style == TmBarStyle::kFilled) {
    dc.FillRect(r, colour);
    return;
  }
  const platform::DcState keep(dc);
  dc.SelectPen({platform::PenStyle::Solid, 0,
                style == TmBarStyle::kOutlineColour ? colour : platform::kBlack});
  dc.SelectBrush({true, platform::kWhite});
  dc.Rectangle(r);
}

void DrawRow(platform::Dc& dc, const TmForecastLayout& l, const TmForecastRow& row, int y,
             TmBarStyle style) {
  const int rowHeight = Round(l.rowHeight);
  dc.SelectFont(TextFont(l.fontSize));
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int textHeight = dc.GetTextExtent("W").cy;
  // On paper the column starts at the frame: its texts keep a fiftieth of it away.
  const int gap = std::max(1, l.textWidth / 50);
  const int inset = l.paper ? gap : 0;
  dc.TextOut(l.left + inset, y - (rowHeight - textHeight) / 2,
             CutToWidth(dc, row.text, l.textWidth - inset - gap));

  // Three bars in the row's middle four fifths, each a third of it less a small gap.
  const double band = 0.8 * l.rowHeight;
  const double slot = band / 3.0;
  const int barHeight = std::max(1, Round(slot * 0.85));
  const int numberSize = std::max(1, l.fontSize * 3 / 4);
  for (std::size_t k = 0; k < 3; ++k) {
    const int top = y - Round(0.1 * l.rowHeight + k * slot);
    const double share = std::clamp(row.total[k], 0.0, 100.0) / 100.0;
    const int right = l.barLeft + Round(share * (l.barRight - l.barLeft));
    const platform::Rect r{l.barLeft, top, right, top - barHeight};
    if (right > l.barLeft) Bar(dc, r, kBarColours[k], style);

    // The probability at the bar's middle; white on a filled bar that holds it, else black right
    // of the bar's end.
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(row.total[k]));
    dc.SelectFont(TextFont(numberSize));
    const platform::Size extent = dc.GetTextExtent(text);
    const bool inside = extent.cx + extent.cy / 2 < right - l.barLeft;
    const int yText = top - (barHeight - extent.cy) / 2;
    if (inside) {
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
      dc.SetTextColor(style == TmBarStyle::kFilled ? platform::kWhite : platform::kBlack);
      dc.TextOut((l.barLeft + right) / 2, yText, text);
    } else {
      dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
      dc.SetTextColor(platform::kBlack);
      dc.TextOut(right + extent.cy / 4, yText, text);
    }
  }
}

void DrawLegend(platform::Dc& dc, const TmForecastLayout& l, TmBarStyle style) {
  const int strip = l.rowsBottom - l.page.bottom;
  if (strip <= 2) return;
  const int width = l.page.right - l.left;
  const int part = width / 3;
  const int box = std::max(1, strip / 2);
  const int yBox = l.rowsBottom - (strip - box) / 2;
  std::string longest;
  for (int m : kMsgLegend)
    if (GetMessageText(m).size() > longest.size()) longest = GetMessageText(m);
  int size = FitFontSize(dc, platform::kTextFace, kLegendMaxFont, box, std::max(1, part - 2 * box),
                         longest);
  if (size < 0) size = 100;
  dc.SelectFont(TextFont(size));
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  for (std::size_t k = 0; k < 3; ++k) {
    const int x = l.left + static_cast<int>(k) * part;
    Bar(dc, {x, yBox, x + box, yBox - box}, kBarColours[k], style);
    const int textHeight = dc.GetTextExtent("W").cy;
    dc.TextOut(x + box + box / 2, yBox - (box - textHeight) / 2, GetMessageText(kMsgLegend[k]));
  }
}

}  // namespace

TmForecastLayout LayOutTmForecastScreen(platform::Dc& dc, int width, int height, int fontSize) {
  TmForecastLayout l = Proportion({0, 0, std::max(1, width), -std::max(1, height)}, false);
  l.fontSize = fontSize;
  l.rowHeight = 4.0 * FontCharHeight(dc, platform::kTextFace, fontSize, 'W');
  FitRows(l);
  return l;
}

TmForecastLayout LayOutTmForecastPaper(platform::Dc& dc, const Configuration& config) {
  const cfg::PrintSettings& p = config.print;
  const platform::Rect page{p.marginLeft, -(p.marginTop + kTmForecastPaperHead),
                            kA4Width - p.marginRight, -(kA4Height - p.marginBottom)};
  TmForecastLayout l = Proportion(page, true);
  l.rowHeight = (l.top - page.bottom) / static_cast<double>(kRowsOnPaper);
  const int size = FitFontHeight(dc, platform::kTextFace, kPaperFirstFont,
                                 static_cast<int>(l.rowHeight / 4.0) + 1);
  l.fontSize = size > 0 ? size : 100;
  FitRows(l);
  return l;
}

int TmForecastPageCount(const TmForecastLayout& layout, int rows) {
  if (rows <= 0) return 0;
  const int perPage = std::max(1, layout.rowsPerPage);
  return (rows + perPage - 1) / perPage;
}

void DrawTmForecastPage(platform::Dc& dc, const TmForecastLayout& l,
                        const std::vector<TmForecastRow>& rows, const std::vector<int>& order,
                        int first, TmBarStyle style) {
  const platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  for (int i = 0; i < l.rowsPerPage; ++i) {
    const int k = first + i;
    if (k < 0 || k >= static_cast<int>(order.size())) break;
    const int r = order[static_cast<std::size_t>(k)];
    if (r < 0 || r >= static_cast<int>(rows.size())) continue;
    DrawRow(dc, l, rows[static_cast<std::size_t>(r)], l.top - Round(i * l.rowHeight), style);
  }
  const int thickness = l.paper ? 10 : 0;
  const platform::Color line = ColorByIndex(kLineColour);
  DrawThickLine(dc, l.page.left, l.rowsBottom, l.page.right, l.rowsBottom,
                platform::PenStyle::Solid, thickness, line);
  const int xColumn = l.left + l.textWidth;
  DrawThickLine(dc, xColumn, l.top, xColumn, l.rowsBottom, platform::PenStyle::Solid, thickness,
                line);
  DrawLegend(dc, l, style);
}

void DrawTmForecastPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config,
                            int year, int page) {
  const std::string title = GetMessageText(kMsgForecastTitle) + " " + std::to_string(year);
  DrawTmPageHeadLines(dc, chart, config, {lists::PageTitle(title, page)}, kTitleSize);
}

std::string TmForecastCaption(int year) {
  return GetMessageText(kMsgForecastCaption) + std::to_string(year) + ": ";
}
