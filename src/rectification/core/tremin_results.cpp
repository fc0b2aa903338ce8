#include "rectification/core/tremin_results.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/date_text.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "rectification/core/tremin_search.h"

namespace {

constexpr int kSelectedFill = 16;
constexpr int kBandLeft = 20, kBandUnits = 22, kWideBandUnits = 23;
// Column offsets in units: date, time, directions, progressions, total.
constexpr int kTimeColumn = 5, kDirectionsColumn = 10, kProgressionsColumn = 14, kTotalColumn = 18;
constexpr std::string_view kDateSample = "00:00:0000 ";
// The chart's block of the page head begins 150 below the top margin; the title 100 under it.
constexpr int kHeadBlockTop = 150, kTitleGap = 100;

std::string Points(int tenths) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", tenths / 10.0);
  return text;
}

platform::Font TableFont(const TmTableMetrics& m) {
  return platform::Font{std::string(platform::kTextFace), m.fontSize, 0, false, false};
}

}  // namespace

int TmScoreColour(int mean) {
  if (mean >= 3150) return 4;
  if (mean >= 3000) return 5;
  if (mean >= 2850) return 1;
  if (mean >= 2700) return 3;
  if (mean >= 2550) return 2;
  return 8;
}

int TmResultCount(const TmSearch& search) {
  return static_cast<int>(search.Moments().selected.size());
}

Moment TmResultMoment(const TmSearch& search, int row) {
  return search.LocalMoment(search.Moments().selected.at(static_cast<std::size_t>(row)));
}

TmResultRow TmResultRowOf(const TmSearch& search, int row) {
  const PossInt& p = search.Moments();
  const auto m = static_cast<std::size_t>(p.selected.at(static_cast<std::size_t>(row)));
  const Moment local = TmResultMoment(search, row);
  TmResultRow r;
  char date[32];
  std::snprintf(date, sizeof date, "%02d:%02d:%04d%s", local.date.Day(), local.date.Month(),
                local.date.Year(), local.date.Era() == 'B' ? "-" : "");
  r.date = date;
  const int seconds = local.time.SecondsOfDay();
  r.time = Time2String(seconds / 3600, seconds / 60 % 60, seconds % 60, true);
  const int directions = p.directions[m], progressions = p.progressions[m];
  r.mean = (directions + progressions) / 2;
  r.directions = Points(directions);
  r.progressions = Points(progressions);
  r.total = Points(r.mean);
  return r;
}

TmTableMetrics MeasureTmTable(platform::Dc& dc, int fontSize, double lineSpacing) {
  TmTableMetrics m;
  m.fontSize = fontSize;
  const int cw = FontCharWidth(dc, platform::kTextFace, fontSize, 'W');
  const int date = TextWidthInFont(dc, platform::kTextFace, fontSize, kDateSample);
  m.unit = std::max({1, cw, (date + kTimeColumn - 1) / kTimeColumn});
  const int height = FontCharHeight(dc, platform::kTextFace, fontSize, 'W');
  m.pitch = std::max(1.0, height * lineSpacing);
  return m;
}

void DrawTmHeading(platform::Dc& dc, const TmTableMetrics& m, int y) {
  const platform::DcState keep(dc);
  dc.SelectFont(TableFont(m));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  const int x = kTreminTableX;
  dc.TextOut(x, y, GetMessageText(kMsgHeadDate));
  dc.TextOut(x + kDirectionsColumn * m.unit, y, GetMessageText(kMsgHeadDirections));
  dc.TextOut(x + kProgressionsColumn * m.unit, y, GetMessageText(kMsgHeadProgressions));
  dc.TextOut(x + kTotalColumn * m.unit, y, GetMessageText(kMsgHeadTotal));
}

void DrawTmRow(platform::Dc& dc, const TmTableMetrics& m, const TmResultRow& row,
               platform::Point at, bool selected, TmInk ink, platform::Color background) {
  const platform::DcState keep(dc);
  if (ink == TmInk::kScreen) {
    const int bottom = at.y - static_cast<int>(std::lround(m.pitch));
    dc.FillRect({at.x - kBandLeft, at.y, at.x + kBandUnits * m.unit, bottom},
                selected ? ColorByIndex(kSelectedFill) : background);
  }
  dc.SelectFont(TableFont(m));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ink == TmInk::kPaperBlack ? ColorByIndex(0)
                                            : ColorByIndex(TmScoreColour(row.mean)));
  dc.TextOut(at.x, at.y, row.date);
  dc.TextOut(at.x + kTimeColumn * m.unit, at.y, row.time);
  dc.TextOut(at.x + kDirectionsColumn * m.unit, at.y, row.directions);
  dc.TextOut(at.x + kProgressionsColumn * m.unit, at.y, row.progressions);
  dc.TextOut(at.x + kTotalColumn * m.unit, at.y, row.total);
}

void DrawTmEmpty(platform::Dc& dc, const TmTableMetrics& m, platform::Point at) {
  const platform::DcState keep(dc);
  dc.SelectFont(TableFont(m));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.TextOut(at.x, at.y, GetMessageText(kMsgNoneFound1));
  dc.TextOut(at.x, at.y - static_cast<int>(std::lround(m.pitch)), GetMessageText(kMsgNoneFound2));
}

TmPrintLayout LayOutTmPrint(const Configuration& config, const TmTableMetrics& paper,
                            int maxColumns, int printOrder) {
  const cfg::PrintSettings& p = config.print;
  TmPrintLayout out;
  out.pitch = paper.pitch;
  out.columnStep = (config.wideColumns == 1 ? kWideBandUnits : kBandUnits) * paper.unit;
  // The rows end 900 above the bottom margin, as far below the head as the page allows.
  const int room = 26700 - (kTreminPrintRowsTop - 2100) - p.marginTop - p.marginBottom;
  const int rows = lists::FitCount(room, paper.pitch);
  const int columns =
      lists::FitColumns(20500 - p.marginLeft - p.marginRight, out.columnStep, maxColumns);
  out.layout = lists::ColumnPageLayout(rows, columns, lists::ColumnOrderOf(printOrder));
  out.left = p.marginLeft + kTreminTableX;
  out.top = p.marginTop + kTreminPrintRowsTop;
  return out;
}

void DrawTmPageHeadLines(platform::Dc& dc, const Chart& chart, const Configuration& config,
                         const std::vector<std::string>& lines, int size) {
  const platform::Size block = DrawPrintedPageFrame(dc, chart, config);
  const platform::DcState keep(dc);
  const cfg::PrintSettings& p = config.print;
  const int line = FontCharHeight(dc, platform::kTextFace, size, 'W');
  dc.SelectFont(platform::Font{std::string(platform::kTextFace), size, 0, false, false});
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  const int middle = (p.marginLeft + (kA4Width - p.marginRight)) / 2;
  int y = -(p.marginTop + kHeadBlockTop + block.cy + kTitleGap);
  for (const std::string& text : lines) {
    dc.TextOut(middle, y, text);
    y -= line;
  }
}

void DrawTmPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config, int page) {
  std::vector<std::string> lines{GetMessageText(kMsgTreminPrintTitle)};
  if (page >= 2)
    lines.push_back("(" + GetMessageText(kMsgPageWord) + " " + std::to_string(page) + ")");
  DrawTmPageHeadLines(dc, chart, config, lines, kTreminTitleSize);
}
