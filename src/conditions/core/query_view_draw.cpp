#include "conditions/core/query_view_draw.h"

#include <algorithm>
#include <cstdio>

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/date_text.h"
#include "foundation/datetime/fdate.h"
#include "foundation/datetime/place.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"

namespace {

using platform::Dc;
using platform::Font;
using platform::Point;
using platform::Rect;

constexpr int kBarStartSize = 6000;
constexpr double kBarHeightPerW = 1.6;
constexpr double kButtonTopPerW = 0.3;
constexpr double kButtonBottomPerW = 1.3;
constexpr int kColourBar = 15;
constexpr int kColourButton = 16;
constexpr int kColourText = 0;
constexpr int kColourCurrentFill = 1;
constexpr int kColourRowFill = 15;
constexpr int kColourMarked = 12;
constexpr int kColourCurrentText = 14;
constexpr int kPrintInset = 200;  // the rows' distance from the side margins on paper
constexpr int kHeadGap = 400;     // between the page's title and its first line

// The birth-data columns in fractions of three quarters of the width; the archive takes the rest.
constexpr std::array<double, 8> kColumns = {0.24, 0.16, 0.14, 0.07, 0.09, 0.12, 0.08, 0.08};
constexpr double kDataPart = 0.75;

Font TextFont(int size) { return Font{std::string(platform::kTextFace), size}; }

std::string Two(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// The cells of a row: name, second text, date, time, zone, place, latitude, longitude.
std::array<std::string, kColumns.size()> RowCells(const ArchiveIndexEntry& e) {
  char date[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", e.day, e.month, e.year);
  std::string dateText = date;
  if (e.era == 'B') dateText += " " + GetMessageText(kMsgEraBc);
  return {e.name,
          e.title,
          dateText,
          Time2String(e.hours, e.minutes),
          std::string(1, e.zoneSign) + Two(e.zoneHours) + ":" + Two(e.zoneMinutes),
          e.town,
          FormatLatLongByLetter(e.latDegrees, e.latMinutes, e.latLetter, 'T'),
          FormatLatLongByLetter(e.lonDegrees, e.lonMinutes, e.lonLetter, 'N')};
}

}  // namespace

const std::string& QueryBarTitle(int button) {
  static const std::array<std::string, kQueryBarButtons> kTitles = {Cp1251(" ЗАГРУЗИТЬ "),
                                                                    Cp1251(" УДАЛИТЬ "),
                                                                    Cp1251(" КОПИРОВАТЬ "),
                                                                    "  +  ",
                                                                    "  -  ",
                                                                    "  *  "};
  return kTitles.at(static_cast<std::size_t>(std::clamp(button, 0, kQueryBarButtons - 1)));
}

int ButtonStrip::ButtonAt(Point p) const {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const Rect& r = buttons[i];
    if (p.x >= r.left && p.x <= r.right && p.y <= r.top && p.y >= r.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

ButtonStrip LayoutButtonStrip(Dc& dc, int width, const std::vector<std::string>& titles, int top) {
  std::string sample = "W";
  for (const std::string& title : titles) sample += title + "WW";
  ButtonStrip strip;
  strip.top = top;
  strip.fontSize =
      std::max(100, FitFontWidth(dc, platform::kTextFace, kBarStartSize, width, sample));
  const Font old = dc.SelectFont(TextFont(strip.fontSize));
  const platform::Size w = dc.GetTextExtent("W");
  strip.height = static_cast<int>(kBarHeightPerW * w.cy);
  int x = w.cx;
  for (const std::string& title : titles) {
    const int right = x + dc.GetTextExtent(title).cx + w.cx;
    strip.buttons.push_back({x, top - static_cast<int>(kButtonTopPerW * w.cy), right,
                             top - static_cast<int>(kButtonBottomPerW * w.cy)});
    x = right + w.cx;
  }
  dc.SelectFont(old);
  return strip;
}

void DrawButtonStrip(Dc& dc, const ButtonStrip& strip, const std::vector<std::string>& titles,
                     int width) {
  dc.FillRect({0, strip.top, width, strip.top - strip.height}, ColorByIndex(kColourBar));
  const Font oldFont = dc.SelectFont(TextFont(strip.fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(kColourText));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign =
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  for (std::size_t i = 0; i < strip.buttons.size() && i < titles.size(); ++i) {
    const Rect& r = strip.buttons[i];
    dc.FillRect(r, ColorByIndex(kColourButton));
    dc.TextOut((r.left + r.right) / 2, r.top, titles[i]);
  }
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

int QueryBarLayout::ButtonAt(Point p) const {
  for (int i = 0; i < kQueryBarButtons; ++i) {
    const Rect& r = buttons[static_cast<std::size_t>(i)];
    if (p.x >= r.left && p.x <= r.right && p.y <= r.top && p.y >= r.bottom) return i;
  }
  return -1;
}

namespace {

std::vector<std::string> QueryBarTitles() {
  std::vector<std::string> titles;
  for (int i = 0; i < kQueryBarButtons; ++i) titles.push_back(QueryBarTitle(i));
  return titles;
}

}  // namespace

QueryBarLayout LayoutQueryBar(Dc& dc, int width) {
  const ButtonStrip strip = LayoutButtonStrip(dc, width, QueryBarTitles());
  QueryBarLayout bar;
  bar.fontSize = strip.fontSize;
  bar.height = strip.height;
  std::copy(strip.buttons.begin(), strip.buttons.end(), bar.buttons.begin());
  return bar;
}

void DrawQueryBar(Dc& dc, const QueryBarLayout& bar, int width) {
  ButtonStrip strip;
  strip.fontSize = bar.fontSize;
  strip.height = bar.height;
  strip.buttons.assign(bar.buttons.begin(), bar.buttons.end());
  DrawButtonStrip(dc, strip, QueryBarTitles(), width);
  const platform::Pen oldPen = dc.SelectPen(platform::Pen{});
  dc.Line({0, -bar.height}, {width, -bar.height});
  dc.SelectPen(oldPen);
}

int QueryScreenFontSize(const QueryViewSettings& view, bool largeFont) {
  const int size = view.Clamped().screenFont;
  return largeFont ? size * 3 / 2 : size;
}

int QueryPrintFontSize(const QueryViewSettings& view, bool largeFont) {
  const int size = view.Clamped().printFont;
  return largeFont ? size * 9 / 10 : size;
}

int QueryRowPitch(Dc& dc, int fontSize, int gap) {
  return std::max(1, FontCharHeight(dc, platform::kTextFace, fontSize, 'W') + gap);
}

void DrawQueryRow(Dc& dc, const QueryResults& results, int row, int left, int right, int top,
                  int pitch, int fontSize, bool current, bool paper) {
  if (row < 0 || row >= results.Count()) return;
  const QueryResultRow& r = results.Row(row);
  if (!paper)
    dc.FillRect({left, -top, right, -(top + pitch)},
                ColorByIndex(current ? kColourCurrentFill : kColourRowFill));
  const int colour = paper      ? kColourText
                     : r.marked ? kColourMarked
                     : current  ? kColourCurrentText
                                : kColourText;
  const Font oldFont = dc.SelectFont(TextFont(fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(colour));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);

  const int width = std::max(0, right - left);
  const int data = static_cast<int>(kDataPart * width);
  const int pad = dc.GetTextExtent(" ").cx;
  const auto cells = RowCells(r.entry);
  double x = left;
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    const int cell = static_cast<int>(kColumns[c] * data);
    dc.TextOut(static_cast<int>(x), -top, FitTextToWidth(dc, cells[c], cell - pad));
    x += kColumns[c] * data;
  }
  const std::string& path = results.Archives().at(static_cast<std::size_t>(r.archive)).path;
  dc.TextOut(left + data, -top, ShortenPathToWidth(dc, path, width - data));

  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

QueryPrintLayout LayoutQueryPrint(Dc& dc, const Configuration& config,
                                  const QueryViewSettings& view, const QueryResults& results) {
  const cfg::PrintSettings& p = config.print;
  QueryPrintLayout layout;
  layout.fontSize = QueryPrintFontSize(view, config.largeFont != 0);
  layout.pitch = QueryRowPitch(dc, layout.fontSize, view.Clamped().printGap);
  layout.left = p.marginLeft + kPrintInset;
  layout.right = std::max(layout.left + 1, kA4Width - p.marginRight - kPrintInset);
  layout.top = p.marginTop + kPageTitleDrop +
               FontCharHeight(dc, platform::kTextFace, kPageTitleFontSize, 'W') + kHeadGap;
  const int bottom = kA4Height - p.marginBottom;
  layout.linesPerPage = lists::FitCount(bottom - layout.top, layout.pitch);
  layout.headerLines = static_cast<int>(results.HeaderLines().size());
  layout.lines = layout.headerLines + results.Count();
  return layout;
}

void DrawQueryPage(Dc& dc, const Configuration& config, const QueryPrintLayout& layout,
                   const QueryResults& results, int page) {
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  const std::string& title = GetMessageText(kMsgQueryPrintTitle);
  DrawPageOrnament(dc, config);
  DrawPageTitle(dc, config, lists::PageTitle(title, page));

  const int first = (page - 1) * layout.linesPerPage;
  const int last = std::min(layout.lines, first + layout.linesPerPage);
  const Font oldFont = dc.SelectFont(TextFont(layout.fontSize));
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(kColourText));
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  for (int line = first; line < last; ++line) {
    const int top = layout.top + (line - first) * layout.pitch;
    if (line < layout.headerLines) {
      const std::string& text = results.HeaderLines()[static_cast<std::size_t>(line)];
      dc.TextOut(layout.left, -top, FitTextToWidth(dc, text, layout.right - layout.left));
    } else {
      DrawQueryRow(dc, results, line - layout.headerLines, layout.left, layout.right, top,
                   layout.pitch, layout.fontSize, false, true);
    }
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}
