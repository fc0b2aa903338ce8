#include "rectification/core/rect_graph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kCurveColour = 1;
constexpr int kGridColour = 8;
// The graph's margins, percent of the width (left, right) or height (top, bottom).
constexpr int kGraphLeft = 5, kGraphTop = 5, kGraphRight = 5, kGraphBottom = 8;
// Minutes between the time labels of the graph, the smallest that leaves room for the labels.
constexpr std::array<int, 12> kTimeSteps{1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720, 1440};

// The height of a line of the tables, 0.1 mm.
constexpr int kLeastLine = 30, kMostLine = 60;

// Where DrawPrintedPageFrame puts the chart's block: right of the left margin, under the top one.
constexpr int kHeadBlockLeft = 400, kHeadBlockDrop = 150;

int Round(double v) { return static_cast<int>(std::lround(v)); }
int Trunc(double v) { return static_cast<int>(v); }

platform::Font TextFont(int size) {
  return platform::Font{std::string(platform::kTextFace), std::max(1, size), 0, false, false};
}

std::string Number(double v) {
  char text[24];
  std::snprintf(text, sizeof text, "%d", Trunc(v));
  return text;
}

std::string DateTimeText(const Moment& m) {
  char text[48];
  const int seconds = m.time.SecondsOfDay();
  std::snprintf(text, sizeof text, "%02d.%02d.%04d%s %02d:%02d", m.date.Day(), m.date.Month(),
                m.date.Year(), m.date.Era() == 'B' ? "-" : "", seconds / 3600, seconds / 60 % 60);
  return text;
}

// The label above a trial column: its minute, or the hour and 00 at a full hour.
std::string MinuteText(const Moment& m) {
  const int minutes = m.time.SecondsOfDay() / 60;
  char text[16];
  if (minutes % 60 == 0)
    std::snprintf(text, sizeof text, "%.02d:%.02d", minutes / 60, 0);
  else
    std::snprintf(text, sizeof text, "%.02d", minutes % 60);
  return text;
}

void Text(platform::Dc& dc, int x, int y, std::string_view text, unsigned align, int colour = 0) {
  dc.SetTextAlign(align);
  dc.SetTextColor(ColorByIndex(colour));
  dc.TextOut(x, y, text);
}

void Rule(platform::Dc& dc, int x1, int y1, int x2, int y2, int colour = 0) {
  DrawThickLine(dc, x1, y1, x2, y2, platform::PenStyle::Solid, 0, ColorByIndex(colour));
}

}  // namespace

int RectLabelStep(double range) {
  if (range < 80) return 10;
  if (range < 160) return 20;
  if (range < 500) return 100;
  if (range < 1500) return 500;
  if (range < 16000) return 1000;
  if (range < 30000) return 2000;
  return 5000;
}

int RectColourClass(double value, double mean) {
  if (value < 0.5 * mean) return 2;
  if (value > 1.5 * mean) return 4;
  return 0;
}

std::vector<std::string> WrapRectName(platform::Dc& dc, const std::string& text, int width) {
  // The pieces: each ends after a blank or a closing parenthesis, or before an opening one.
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (c == '(' && !piece.empty()) {
      pieces.push_back(piece);
      piece.clear();
    }
    piece += c;
    if (c == ' ' || c == ')') {
      pieces.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& p : pieces) {
    if (!line.empty() && dc.GetTextExtent(line + p).cx >= width) {
      lines.push_back(line);
      line.clear();
    }
    line += p;
  }
  if (!line.empty()) lines.push_back(line);
  for (std::string& l : lines)
    while (!l.empty() && l.back() == ' ') l.pop_back();
  return lines;
}

int RectTableLayout::RowTop(int r) const {
  if (rowTops.empty()) return RowsTop() - r * rowHeight;
  const int last = static_cast<int>(rowTops.size()) - 1;
  const int k = std::clamp(r, 0, last);
  return rowTops[static_cast<std::size_t>(k)] - (r - k) * rowHeight;
}

int RectTableLayout::TableBottom() const {
  return rowTops.empty() ? RowsTop() - rowHeight : rowTops.back();
}

int RectTableLayout::RowLines(int r) const {
  const auto k = static_cast<std::size_t>(r);
  return r >= 0 && k < names.size() ? std::max(1, static_cast<int>(names[k].size())) : 1;
}

void RectGraph::DefineScale() {
  pointCount = TrialCount();
  timeStep = 1.0;
}

void RectGraph::SetForm(int form) {
  form_ = form >= kRectByEvents && form <= kRectGraph ? form : kRectByEvents;
  Project(form_ == kRectByEvents ? rect::kProjectByEvents : rect::kProjectByMethods);
  const std::vector<double>& sums = RowSums();
  minimum_ = sums.empty() ? 0.0 : *std::min_element(sums.begin(), sums.end());
  maximum_ = sums.empty() ? 0.0 : *std::max_element(sums.begin(), sums.end());
  DefineScale();
}

int RectGraph::RowCount() const {
  if (form_ == kRectGraph) return 0;
  return Projected().Columns();
}

std::string RectGraph::RowName(int r) const {
  const auto i = static_cast<std::size_t>(r);
  if (form_ == kRectByEvents) return i < Events().size() ? Events()[i].text : std::string();
  return i < MethodNames().size() ? MethodNames()[i] : std::string();
}

void RectGraph::LayOut(platform::Dc& dc, const platform::Rect& area, bool paper) {
  RectTableLayout& l = paper ? paper_ : screen_;
  l.area = area;
  l.paper = paper;
  const int width = std::max(1, area.right - area.left);
  const int height = std::max(1, area.top - area.bottom);
  const int rows = RowCount();
  l.nameWidth = Round(0.22 * width);
  const platform::DcState keep(dc);
  // The names wrapped in the font fitted to a line height; the lines of the table.
  const auto wrapAt = [&](int line) {
    l.rowHeight = line;
    l.fontSize =
        FitFontHeightFinely(dc, platform::kTextFace, 3000, Round((paper ? 0.9 : 0.8) * line));
    dc.SelectFont(TextFont(l.fontSize));
    l.names.clear();
    int lines = 3;  // the two header lines and the totals row
    for (int r = 0; r < rows; ++r) {
      std::vector<std::string> name = WrapRectName(dc, RowName(r), Round(0.9 * l.nameWidth));
      if (name.empty()) name.emplace_back();
      lines += static_cast<int>(name.size());
      l.names.push_back(std::move(name));
    }
    return lines;
  };
  // The largest line height at which every line stands in the area (a lower line has a smaller
  // font and no more lines), within the bounds; the least when none is.
  int low = kLeastLine;
  int high = std::clamp(height / (rows + 3), kLeastLine, kMostLine);
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    if (middle * wrapAt(middle) <= height)
      low = middle;
    else
      high = middle - 1;
  }
  (void)wrapAt(low);
  const int line = l.rowHeight;
  l.rowTops.clear();
  int top = l.RowsTop();
  for (const std::vector<std::string>& name : l.names) {
    l.rowTops.push_back(top);
    top -= static_cast<int>(name.size()) * line;
  }
  l.rowTops.push_back(top);  // the totals row
  l.rowTops.push_back(top - line);
  const int pad = std::max(2, l.rowHeight / 5);
  l.totalsWidth = std::max(Round(0.07 * width), dc.GetTextExtent("-8888888").cx + 2 * pad);
  l.columnWidth = std::max(Round(0.04 * width), dc.GetTextExtent("00:00").cx + 2 * pad);
  l.visibleTrials = std::max(1, (width - l.nameWidth - l.totalsWidth) / l.columnWidth);
  SetGraphArea(area, paper);
  Scroll(RectScroll::kThumb, first_);
}

void RectGraph::SetGraphArea(const platform::Rect& area, bool paper) {
  GraphLayout& g = paper ? print : screen;
  g.pageWidth = std::max(1, area.right - area.left);
  g.pageHeight = std::max(1, area.top - area.bottom);
  g.leftMargin = g.pageWidth * kGraphLeft / 100;
  g.rightMargin = g.pageWidth * kGraphRight / 100;
  g.topMargin = g.pageHeight * kGraphTop / 100;
  g.bottomMargin = g.pageHeight * kGraphBottom / 100;
  g.innerWidth = std::max(1, g.pageWidth - g.leftMargin - g.rightMargin);
  g.innerHeight = std::max(1, g.pageHeight - g.topMargin - g.bottomMargin);
  if (paper) pageMargins = {area.left, -area.top, 0, 0};
}

void RectGraph::Scroll(RectScroll action, int position) {
  const int visible = screen_.visibleTrials;
  int first = first_;
  switch (action) {
    case RectScroll::kLineLeft:
      first -= 1;
      break;
    case RectScroll::kLineRight:
      first += 1;
      break;
    case RectScroll::kPageLeft:
      first -= visible;
      break;
    case RectScroll::kPageRight:
      first += visible;
      break;
    case RectScroll::kThumb:
      first = position;
      break;
    case RectScroll::kHome:
      first = 0;
      break;
    case RectScroll::kEnd:
      first = TrialCount() - 1;
      break;
  }
  first_ = std::clamp(first, 0, std::max(0, TrialCount() - 1));
}

RectHit RectGraph::HitTest(platform::Point p) const {
  if (form_ == kRectGraph) return {HitGraph(p), -1};
  const RectTableLayout& l = screen_;
  const int rows = RowCount();
  if (p.y > l.area.top || p.y <= l.TableBottom() || p.x < l.TrialsLeft()) return {};
  const int column = (p.x - l.TrialsLeft()) / l.columnWidth;
  const int trial = first_ + column;
  if (column >= l.visibleTrials || trial >= TrialCount()) return {};
  RectHit hit{trial, -1};
  for (int r = 0; r < rows && p.y <= l.RowsTop(); ++r)
    if (p.y > l.RowTop(r + 1)) {
      hit.row = r;
      break;
    }
  return hit;
}

double RectGraph::AxisTop() const {
  return maximum_ > minimum_ ? maximum_ : minimum_ + RectLabelStep(0.0);
}

double RectGraph::TrialX(int t) const {
  const GraphLayout& g = Current();
  if (TrialCount() < 2) return g.leftMargin + g.innerWidth / 2.0;
  return g.leftMargin + static_cast<double>(t) * g.innerWidth / (TrialCount() - 1);
}

double RectGraph::SumY(double v) const {
  const GraphLayout& g = Current();
  return g.AxisY() + (v - minimum_) / (AxisTop() - minimum_) * g.innerHeight;
}

int RectGraph::HitGraph(platform::Point p) const {
  const GraphLayout& g = screen;
  if (TrialCount() < 1) return -1;
  const double step = TrialCount() < 2 ? g.innerWidth : g.innerWidth / (TrialCount() - 1.0);
  const double x = p.x - g.leftMargin;
  if (x < -step / 2 || x > g.innerWidth + step / 2 || p.y > 0 || p.y < -g.pageHeight) return -1;
  if (TrialCount() < 2) return 0;
  return std::clamp(static_cast<int>(std::lround(x / step)), 0, TrialCount() - 1);
}

void RectGraph::Draw(platform::Dc& dc, bool verticalGrid, bool horizontalGrid) {
  printCurrent = false;
  layoutMode = kLayoutScreen;
  if (form_ == kRectGraph)
    DrawGraph(dc, verticalGrid, horizontalGrid);
  else
    DrawTable(dc, screen_, first_);
}

int RectGraph::PageCount() const {
  if (form_ == kRectGraph) return 1;
  const int perPage = std::max(1, paper_.visibleTrials);
  return std::max(1, (TrialCount() + perPage - 1) / perPage);
}

int DrawRectPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config, int page) {
  const platform::DcState keep(dc);
  const platform::MapMode oldMode = dc.SetMapMode(platform::MapMode::HiMetric);
  char head[160];
  std::snprintf(head, sizeof head, "%s (%s %d)", GetMessageText(kMsgRectificationTitle).c_str(),
                GetMessageText(kMsgPageWord).c_str(), page);
  const cfg::PrintSettings& p = config.print;
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  const platform::Size block = DrawPrintedPageFrame(dc, chart, config);
  const PageHeadBlocks blocks{
      p.marginLeft + kHeadBlockLeft + block.cx, PageOrnamentLeft(dc, p),
      std::min(-kHeadBlockDrop - p.marginTop - block.cy, PageOrnamentBottom(dc, p))};
  const PageTitlePlace place = PlacePageTitle(dc, p, head, blocks);
  DrawPlacedTitle(dc, place, head);
  dc.SetMapMode(oldMode);
  return place.bottom;
}

void RectGraph::DrawPage(platform::Dc& dc, int page, bool verticalGrid, bool horizontalGrid) {
  const platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  printCurrent = true;
  layoutMode = kLayoutPortrait;
  if (form_ == kRectGraph)
    DrawGraph(dc, verticalGrid, horizontalGrid);
  else
    DrawTable(dc, paper_, (page - 1) * std::max(1, paper_.visibleTrials));
  printCurrent = false;
  layoutMode = kLayoutScreen;
}

void RectGraph::DrawTable(platform::Dc& dc, const RectTableLayout& l, int first) {
  const platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SelectFont(TextFont(l.fontSize));
  const int rows = RowCount();
  const int trials = TrialCount();
  const int shown = std::clamp(trials - first, 0, l.visibleTrials);
  const int pad = std::max(2, l.rowHeight / 5);
  const int top = l.area.top;
  const int bottom = l.TableBottom();
  const int trialsLeft = l.TrialsLeft();
  const int right = trialsLeft + shown * l.columnWidth;
  const unsigned centre = platform::TextAlign::kCenter | platform::TextAlign::kTop;
  const auto baseline = [&](int lineTop) {
    return lineTop - std::max(0, (l.rowHeight - dc.GetTextMetrics().height) / 2);
  };
  const std::string total = GetMessageText(kMsgTotal);

  // The header: the moment of the first trial shown, the minutes above the trial columns.
  if (shown > 0)
    Text(dc, l.area.left + pad, baseline(top), DateTimeText(TrialMoment(first)),
         platform::TextAlign::kLeft | platform::TextAlign::kTop);
  Text(dc, l.area.left + l.nameWidth + l.totalsWidth / 2, baseline(top - l.rowHeight), total,
       centre);
  for (int c = 0; c < shown; ++c)
    Text(dc, trialsLeft + c * l.columnWidth + l.columnWidth / 2, baseline(top - l.rowHeight),
         MinuteText(TrialMoment(first + c)), centre);

  // The rows: every line of the name, the total over all trials and the score at each trial
  // shown beside the middle of the name.
  const std::vector<double>& columnSums = ColumnSums();
  for (int r = 0; r < rows; ++r) {
    const int rowTop = l.RowTop(r);
    const auto k = static_cast<std::size_t>(r);
    const std::vector<std::string> lines =
        k < l.names.size() ? l.names[k] : std::vector<std::string>{RowName(r)};
    for (std::size_t i = 0; i < lines.size(); ++i)
      Text(dc, l.area.left + pad, baseline(rowTop - static_cast<int>(i) * l.rowHeight), lines[i],
           platform::TextAlign::kLeft | platform::TextAlign::kTop);
    const int middle = baseline(rowTop - (l.RowLines(r) - 1) * l.rowHeight / 2);
    const double rowSum = columnSums[k];
    Text(dc, l.area.left + l.nameWidth + l.totalsWidth / 2, middle, Number(rowSum), centre);
    const double rowMean = trials > 0 ? rowSum / trials : 0.0;
    for (int c = 0; c < shown; ++c) {
      const double cell = Projected().Get2(first + c, r);
      Text(dc, trialsLeft + c * l.columnWidth + l.columnWidth / 2, middle, Number(cell), centre,
           RectColourClass(cell, rowMean));
    }
  }

  // The totals row: the sum of every row at each trial shown.
  const int totalsTop = l.RowTop(rows);
  Text(dc, l.area.left + pad, baseline(totalsTop), total,
       platform::TextAlign::kLeft | platform::TextAlign::kTop);
  double all = 0.0;
  for (double s : columnSums) all += s;
  Text(dc, l.area.left + l.nameWidth + l.totalsWidth / 2, baseline(totalsTop), Number(all), centre);
  for (int c = 0; c < shown; ++c) {
    const double sum = RowSums()[static_cast<std::size_t>(first + c)];
    Text(dc, trialsLeft + c * l.columnWidth + l.columnWidth / 2, baseline(totalsTop), Number(sum),
         centre, RectColourClass(sum, Mean()));
  }

  // The grid: between the rows and between the columns.
  for (int r = 0; r <= rows + 1; ++r) {
    const int y = r <= rows ? l.RowTop(r) : bottom;
    Rule(dc, l.area.left, y, right, y);
  }
  Rule(dc, l.area.left, top, right, top);
  const int columnsTop = top - l.rowHeight;
  Rule(dc, l.area.left, top, l.area.left, bottom);
  Rule(dc, l.area.left + l.nameWidth, columnsTop, l.area.left + l.nameWidth, bottom);
  for (int c = 0; c <= shown; ++c) {
    const int x = trialsLeft + c * l.columnWidth;
    Rule(dc, x, columnsTop, x, bottom);
  }
}

void RectGraph::DrawGraph(platform::Dc& dc, bool verticalGrid, bool horizontalGrid) {
  const platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  const GraphLayout& g = Current();
  const int trials = TrialCount();
  const int left = g.leftMargin;
  const int right = g.leftMargin + g.innerWidth;
  const int axisY = g.AxisY();
  const int topY = -g.topMargin;
  const platform::Color grid = ColorByIndex(kGridColour);

  // The vertical axis: labels every step from the lowest sum up.
  const double bottomValue = minimum_;
  const double topValue = AxisTop();
  const int step = RectLabelStep(topValue - bottomValue);
  const char* sample = maximum_ >= 10000  ? "777777"
                       : maximum_ >= 1000 ? "77777"
                       : maximum_ >= 100  ? "7777"
                                          : "777";
  const int labelSize =
      FitFontWidth(dc, platform::kTextFace, 3000, Round(0.83 * g.leftMargin), sample);
  dc.SelectFont(TextFont(std::max(1, labelSize)));
  for (double v = std::ceil(bottomValue / step) * step; v <= topValue + 1e-9; v += step) {
    const int y = Round(SumY(v));
    if (horizontalGrid) DrawLine(dc, left, y, right, y, 0, 0, grid);
    DrawLine(dc, left - g.leftMargin / 10, y, left, y, 0, 0, platform::kBlack);
    const platform::Point at = ToPage(left - g.leftMargin / 8, y);
    Text(dc, at.x, at.y + dc.GetTextMetrics().height / 2, Number(v),
         platform::TextAlign::kRight | platform::TextAlign::kTop);
  }

  // The horizontal axis: the time of the trials at a step that leaves room for the labels.
  if (trials > 0) {
    const double dx = trials < 2 ? g.innerWidth : g.innerWidth / (trials - 1.0);
    const int labelWidth = dc.GetTextExtent("00:00").cx;
    int minutes = kTimeSteps.back();
    for (int s : kTimeSteps)
      if (s * dx >= 1.5 * labelWidth) {
        minutes = s;
        break;
      }
    for (int t = 0; t < trials; ++t) {
      const Moment m = TrialMoment(t);
      if ((m.time.SecondsOfDay() / 60) % minutes != 0) continue;
      const int x = Round(TrialX(t));
      if (verticalGrid) DrawLine(dc, x, axisY, x, topY, 0, 0, grid);
      DrawLine(dc, x, axisY, x, axisY - g.bottomMargin / 8, 0, 0, platform::kBlack);
      const int seconds = m.time.SecondsOfDay();
      char text[16];
      std::snprintf(text, sizeof text, "%02d:%02d", seconds / 3600, seconds / 60 % 60);
      const platform::Point at = ToPage(x, axisY - g.bottomMargin / 6);
      Text(dc, at.x, at.y, text, platform::TextAlign::kCenter | platform::TextAlign::kTop);
    }
    const platform::Point at = ToPage(left, -2);
    Text(dc, at.x, at.y, DateTimeText(TrialMoment(0)),
         platform::TextAlign::kLeft | platform::TextAlign::kTop);
  }

  // The axes and the curve of the trial sums.
  DrawLine(dc, left, axisY, right, axisY, 0, 0, platform::kBlack);
  DrawLine(dc, left, axisY, left, topY, 0, 0, platform::kBlack);
  const std::vector<double>& sums = RowSums();
  const platform::Color curve =
      printCurrent && colourPrinting != 1 ? platform::kBlack : ColorByIndex(kCurveColour);
  for (int t = 1; t < trials; ++t)
    DrawLine(dc, Round(TrialX(t - 1)), Round(SumY(sums[static_cast<std::size_t>(t - 1)])),
             Round(TrialX(t)), Round(SumY(sums[static_cast<std::size_t>(t)])), 0, 0, curve);
  if (trials == 1) {
    const platform::Point p = ToPage(Round(TrialX(0)), Round(SumY(sums[0])));
    DrawFilledCircle(dc, p.x, p.y, 8, curve);
  }
}
