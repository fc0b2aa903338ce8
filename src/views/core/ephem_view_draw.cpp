#include "views/core/ephem_view_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"

namespace ephem {

namespace {

using E = cfg::GraphicEphemerisSettings;
using P = EphemConfPage;
using cfg::Bind;

// Read into range (the orientation: anything but 1 is portrait); written as they stand.
constexpr cfg::FieldTable kConfFields{Bind(&P::day, E::kDay),
                                      Bind(&P::month, E::kMonth),
                                      Bind(&P::year, E::kYear),
                                      Bind(&P::period, E::kPeriod, cfg::Clamp{0, kPeriodCount - 1}),
                                      Bind(&P::signGrid, E::kSignGrid),
                                      Bind(&P::timeGrid, E::kTimeGrid),
                                      Bind(&P::planetGlyphs, E::kPlanetGlyphs),
                                      Bind(&P::markChart, E::kMarkChart),
                                      Bind(&P::curveColours, E::kCurveColour),
                                      Bind(&P::orientation, E::kOrientation, cfg::OnlyOne{}),
                                      Bind(&P::glyphColour, E::kGlyphColour),
                                      Bind(&P::rotationCorrection, E::kRotationCorrection),
                                      Bind(&P::printHeading, E::kPrintHeading)};
static_assert(E::kCurveColour.count == kBodies);

constexpr int kFirstGlyphSize = 4000;
constexpr int kFirstButtonSize = 3000;
constexpr int kOrnamentSize = 6000;
constexpr int kHeadingLeft = 400;  // the chart's heading: right of the left margin
constexpr int kHeadingDrop = 150;  // and below the top margin
constexpr int kGraphGap = 200;     // between a title under the heading and the graph
constexpr int kGridColour = 7;     // the sign grid and the buttons: palette grey
constexpr int kButtonColour = 7;
// The curve labels: candidate points from 8 on, every third, and the distances that count.
constexpr int kFirstLabelPoint = 8, kLabelPointStep = 3, kLabelEndRoom = 5;
constexpr double kClearDistance = 18.0, kLabelCrowding = 30.0;
constexpr double kNatalCrowding = 30.0;

bool Landscape(const RGraph& g) {
  return g.printCurrent && g.layoutMode == RGraph::kLayoutLandscape;
}

int Setting(const RGraphEphem& g, cfg::Field<std::int32_t> f) {
  return g.settings != nullptr ? g.settings->Get(f) : 0;
}
template <typename T>
int Setting16(const RGraphEphem& g, cfg::Field<T> f) {
  return g.settings != nullptr ? g.settings->Get(f) : 0;
}

double ValueAt(const Longitudes& all, int body, int k) {
  const auto& values = all[static_cast<std::size_t>(body)];
  return k >= 0 && static_cast<std::size_t>(k) < values.size() ? values[static_cast<std::size_t>(k)]
                                                               : kAbsent;
}
double ValueAt(const RGraphEphem& g, int body, int k) { return ValueAt(g.Values(), body, k); }

platform::Font TextFont(int size, int escapement = 0) {
  platform::Font f{std::string(platform::kTextFace), size};
  f.escapement = escapement;
  return f;
}

// The shorter arc between two longitudes.
double Arc(double a, double b) {
  const double d = std::fabs(NormalizeDegrees(a - b));
  return std::min(d, 360.0 - d);
}

}  // namespace

bool ApplyScroll(RGraphEphem& graph, int direction) {
  if (direction == 0 || graph.settings == nullptr) return false;
  Moment first = graph.FirstMoment();
  first.AddDays(direction > 0 ? graph.scrollDays : -graph.scrollDays);
  const FDate& d = first.date;
  graph.settings->Set(E::kDay, static_cast<std::int16_t>(d.Day()));
  graph.settings->Set(E::kMonth, static_cast<std::int16_t>(d.Month()));
  graph.settings->Set(E::kYear, static_cast<std::int16_t>(d.Era() == 'B' ? -d.Year() : d.Year()));
  graph.DefineScale();
  GraphLayout& screen = graph.screen;
  screen.xStep = screen.innerWidth / std::max(1, graph.pointCount - 1);
  return true;
}

void DrawFrame(platform::Dc& dc, RGraphEphem& graph, const Configuration& config) {
  const platform::DcState saved(dc);
  graph.DrawAxes(dc);
  const int gridColour =
      config.colourPrinting == 1 || !dc.IsPrinting() ? Setting16(graph, E::kGlyphColour) : 0;
  graph.DrawDateScale(dc, Setting(graph, E::kTimeGrid), graph.FirstMoment(),
                      Setting16(graph, E::kPeriod) == 0 ? 1 : 0, gridColour, 0);

  const GraphLayout& g = graph.Current();
  const bool grid = Setting(graph, E::kSignGrid) != 0;
  for (int k = 1; k <= 12; ++k) {
    const int y = g.AxisY() + g.innerHeight * k / 12;
    graph.DrawLine(dc, g.leftMargin, y, g.leftMargin * 8 / 10, y, 0, 1, platform::kBlack);
    if (grid)
      graph.DrawLine(dc, g.leftMargin, y, g.leftMargin + g.innerWidth, y, 2, 1,
                     ColorByIndex(kGridColour));
  }
  const int size = FitFontSize(dc, platform::kGlyphFaceA, kFirstGlyphSize, g.innerHeight * 8 / 120,
                               g.leftMargin * 8 / 10, "A");
  if (size <= 0) return;
  dc.SetTextColor(platform::kBlack);
  const int lower = Landscape(graph) ? g.innerHeight / 48 : 0;
  for (int s = 0; s < 12; ++s)
    graph.DrawSignGlyph(dc, g.leftMargin * 2 / 10,
                        g.AxisY() + g.innerHeight / 14 + g.innerHeight * s / 12 - lower, s, size);
}

int CurveGlyphSize(platform::Dc& dc, const RGraphEphem& graph) {
  const int size =
      FitFontHeight(dc, platform::kGlyphFaceA, kFirstGlyphSize, graph.Current().innerWidth / 32);
  return size > 0 ? size : kFirstGlyphSize;
}

std::array<int, kBodies> CurveGlyphPositions(const Longitudes& graph, int pointCount, bool moon,
                                             double glyphPoints) {
  std::array<int, kBodies> placed;
  placed.fill(-1);
  const int end = pointCount - kLabelEndRoom;
  for (int body = 0; body < kBodies; ++body) {
    if (body == 1 && !moon) continue;
    // The smallest plain difference to the other nine bodies at point k (360 at the most).
    const auto nearest = [&](int k) {
      double smallest = 360.0;
      const double v = ValueAt(graph, body, k);
      for (int other = 0; other < kBodies; ++other) {
        if (other == body) continue;
        const double w = ValueAt(graph, other, k);
        if (w != kAbsent) smallest = std::min(smallest, std::fabs(v - w));
      }
      return smallest;
    };
    int chosen = -1;
    for (int k = kFirstLabelPoint; k < end && chosen < 0; k += kLabelPointStep)
      if (ValueAt(graph, body, k) != kAbsent && nearest(k) > kClearDistance) chosen = k;
    if (chosen < 0) {
      double best = -1.0;
      for (int k = kFirstLabelPoint; k < end; k += kLabelPointStep) {
        const double v = ValueAt(graph, body, k);
        if (v == kAbsent) continue;
        bool crowded = false;
        for (int other = 0; other < kBodies && !crowded; ++other) {
          const int at = placed[static_cast<std::size_t>(other)];
          if (other == body || at < 0) continue;
          crowded = std::fabs(at - k) <= glyphPoints &&
                    std::fabs(ValueAt(graph, other, at) - v) <= kLabelCrowding;
        }
        if (crowded) continue;
        const double d = nearest(k);
        if (d > best) {
          best = d;
          chosen = k;
        }
      }
    }
    placed[static_cast<std::size_t>(body)] = chosen;
  }
  return placed;
}

void DrawCurveGlyphs(platform::Dc& dc, const RGraphEphem& graph) {
  const GraphLayout& g = graph.Current();
  if (g.xStep <= 0) return;
  const platform::DcState saved(dc);
  const int size = CurveGlyphSize(dc, graph);
  const double glyphPoints =
      static_cast<double>(FontCharWidth(dc, platform::kGlyphFaceA, size, '+')) / g.xStep;
  const std::array<int, kBodies> at =
      CurveGlyphPositions(graph.Values(), graph.pointCount, graph.moonFlag != 0, glyphPoints);
  const int lower = Landscape(graph) ? g.innerHeight / 48 : 0;
  for (int body = 0; body < kBodies; ++body) {
    const int k = at[static_cast<std::size_t>(body)];
    if (k < 0) continue;
    dc.SetTextColor(ColorByIndex(graph.GetCurveColour(body)));
    const int y =
        static_cast<int>(graph.ValueY(ValueAt(graph, body, k))) + g.innerHeight / 24 - lower;
    graph.DrawPlanetGlyph(dc, (k - 1) * g.xStep + g.leftMargin, y, body, platform::BkMode::Opaque,
                          size);
  }
}

std::array<int, kBodies> NatalColumns(const std::array<double, kBodies>& longitudes) {
  std::array<int, kBodies> column{};
  for (int b = 0; b < kBodies; ++b) {
    if (longitudes[static_cast<std::size_t>(b)] == kAbsent) continue;
    column[static_cast<std::size_t>(b)] = 1;
    for (int earlier = b - 1; earlier >= 0; --earlier) {
      const double e = longitudes[static_cast<std::size_t>(earlier)];
      if (e != kAbsent && Arc(e, longitudes[static_cast<std::size_t>(b)]) < kNatalCrowding) {
        column[static_cast<std::size_t>(b)] = column[static_cast<std::size_t>(earlier)] + 1;
        break;
      }
    }
  }
  return column;
}

void DrawChartPositions(platform::Dc& dc, const RGraphEphem& graph, const Chart& chart) {
  const GraphLayout& g = graph.Current();
  const platform::DcState saved(dc);
  std::array<double, kBodies> longitudes{};
  for (int b = 0; b < kBodies; ++b)
    longitudes[static_cast<std::size_t>(b)] = chart.GetPointLongitude(b).Get();
  if (Setting(graph, E::kMarkChart) != 0) {
    for (int b = 0; b < kBodies; ++b) {
      const double v = longitudes[static_cast<std::size_t>(b)];
      if (v == kAbsent) continue;
      const int y = static_cast<int>(graph.ValueY(v));
      graph.DrawLine(dc, g.leftMargin, y, g.leftMargin + g.innerWidth, y, 1, 1,
                     ColorByIndex(graph.GetCurveColour(b)));
    }
  }
  if (Setting(graph, E::kPlanetGlyphs) == 0) return;
  const int size = CurveGlyphSize(dc, graph) * 8 / 10;
  const std::array<int, kBodies> column = NatalColumns(longitudes);
  dc.SetTextColor(ColorByIndex(Setting16(graph, E::kGlyphColour)));
  const int half = static_cast<int>(size * 96.0 / 720.0 / 2);  // half the glyph's em
  for (int b = 0; b < kBodies; ++b) {
    const int c = column[static_cast<std::size_t>(b)];
    if (c == 0) continue;
    const int x = g.leftMargin + static_cast<int>((c - 0.7) * g.xStep);
    const int y = static_cast<int>(graph.ValueY(longitudes[static_cast<std::size_t>(b)])) + half;
    graph.DrawPlanetGlyph(dc, x, y, b, platform::BkMode::Transparent, size);
  }
}

void DrawYear(platform::Dc& dc, const RGraphEphem& graph) {
  const GraphLayout& g = graph.Current();
  const int size = FitFontHeight(dc, platform::kTextFace, kFirstGlyphSize, g.topMargin * 3 / 4);
  if (size <= 0) return;
  const platform::DcState saved(dc);
  const FDate first = graph.FirstMoment().date;
  char text[16];
  std::snprintf(text, sizeof text, "%d", first.Era() == 'B' ? -first.Year() : first.Year());
  const int turn = Landscape(graph) ? graph.landscapeRotation : 0;
  dc.SelectFont(TextFont(size, turn * 10));
  dc.SetTextColor(platform::kBlack);
  if (turn == 90) {
    // Turned a quarter the other way the year would run out of the graph's top band, over the
    // frame: its corner is taken so that it covers the same band as the year turned by 270.
    const int width = dc.GetTextExtent(text).cx;
    const int height = dc.GetTextMetrics().height;
    graph.PutText(dc, g.leftMargin + width, -g.topMargin / 10 - height, text);
    return;
  }
  graph.PutText(dc, g.leftMargin, -g.topMargin / 10, text);
}

ScrollButtons ScrollButtonRects(const RGraphEphem& graph) {
  const GraphLayout& g = graph.screen;
  const int h = g.pageHeight / 9;
  const int left = g.pageWidth - g.rightMargin * 9 / 10;
  const int right = left + g.rightMargin * 8 / 10;
  ScrollButtons b;
  b.forward = {left, -h, right, -2 * h};
  b.backward = {left, -h * 5 / 2, right, -h * 7 / 2};
  return b;
}

ScrollButtons DrawScrollButtons(platform::Dc& dc, const RGraphEphem& graph) {
  const ScrollButtons b = ScrollButtonRects(graph);
  const int h = graph.screen.pageHeight / 9;
  const platform::DcState saved(dc);
  const int size = FitFontHeight(dc, platform::kTextFace, kFirstButtonSize, h * 8 / 10);
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  for (const auto& [rect, text] : {std::pair{b.forward, ">"}, std::pair{b.backward, "<"}}) {
    dc.FillRect(rect, ColorByIndex(kButtonColour));
    if (size <= 0) continue;
    dc.SelectFont(TextFont(size));
    const int textHeight = dc.GetTextExtent(text).cy;
    dc.TextOut((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 + textHeight / 2, text);
  }
  return b;
}

int ScrollButtonAt(const ScrollButtons& buttons, platform::Point at) {
  const auto inside = [&at](const platform::Rect& r) {
    return at.x > r.left && at.x < r.right && at.y < r.top && at.y > r.bottom;
  };
  if (inside(buttons.forward)) return 1;
  if (inside(buttons.backward)) return -1;
  return 0;
}

void PrintHeading(platform::Dc& dc, RGraphEphem& graph, const Configuration& config,
                  const Chart& chart) {
  const platform::DcState saved(dc);
  const auto& p = config.print;
  const bool heading = Setting16(graph, E::kPrintHeading) != 0;
  // The blocks of the head, measured before anything is drawn: the graph moves down when the
  // title must stand under them.
  PageHeadBlocks blocks{p.marginLeft, PageOrnamentLeft(dc, p), PageOrnamentBottom(dc, p)};
  if (heading) {
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), kHeaderFontSize});
    int widest = 0;
    const std::vector<std::string> lines = ChartHeaderLines(chart, true);
    for (const std::string& line : lines) widest = std::max(widest, dc.GetTextExtent(line).cx);
    blocks.leftEnd = p.marginLeft + kHeadingLeft + widest;
    const int height =
        (static_cast<int>(lines.size()) - 1) * kHeaderLineStep + dc.GetTextMetrics().height;
    blocks.bottom = std::min(blocks.bottom, -kHeadingDrop - p.marginTop - height);
  }
  const std::string& title = GetMessageText(kMsgGraphicEphemerisTitle);
  const PageTitlePlace place = PlacePageTitle(dc, p, title, blocks);
  graph.pageOffset = std::max(RGraphEphem::kPageOffset, -place.bottom - p.marginTop + kGraphGap);
  graph.DefineArea(0, 0);

  const bool landscape = graph.layoutMode == RGraph::kLayoutLandscape;
  config.DrawPageFrame(dc, {0, 0, 0,
                            landscape ? 0
                                      : RGraph::kPortraitGraphHeight - graph.pageOffset -
                                            p.marginTop - p.marginBottom});
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  if (heading)
    chart.DrawHeader(dc, p.marginLeft + kHeadingLeft, -kHeadingDrop - p.marginTop, 0, true);
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  platform::Font ornament{std::string(platform::kGlyphFaceA), kOrnamentSize};
  dc.SelectFont(ornament);
  dc.TextOut(20300 - p.marginRight, -250 - p.marginTop, glyphs::kOrnament);
  DrawPlacedTitle(dc, place, title);
}

int SampleIndexAt(const RGraphEphem& graph, int x) {
  const GraphLayout& g = graph.screen;
  if (x <= g.leftMargin) return 0;
  if (x >= g.leftMargin + g.innerWidth || g.xStep <= 0) return -1;
  return std::min((x - g.leftMargin + g.xStep / 2) / g.xStep, std::max(0, graph.pointCount - 1));
}

EphemDataPage::EphemDataPage(const RGraphEphem& graph, const Chart& chart, int index)
    : graph_(graph), index_(std::clamp(index, 0, std::max(0, graph.pointCount - 1))) {
  for (int b = 0; b < kBodies; ++b)
    chart_[static_cast<std::size_t>(b)] = chart.GetPointLongitude(b).Get();
}

std::string EphemDataPage::MomentText() const {
  Moment m = graph_.FirstMoment();
  m.AddDays(index_ * graph_.timeStep);
  return m.ToText();
}

int EphemDataPage::FollowX(int viewLeft, int viewWidth, int width) const {
  const GraphLayout& g = graph_.screen;
  if (g.pageWidth <= 0 || graph_.pointCount <= 0) return viewLeft;
  const double b = g.leftMargin * 100.0 / g.pageWidth;
  const double a = static_cast<double>(g.innerWidth) / graph_.pointCount * 100.0 / g.pageWidth;
  int x = viewLeft + static_cast<int>((b + index_ * a) / 100.0 * viewWidth);
  if (x + width > viewLeft + viewWidth) x -= width;
  return x;
}

double EphemDataPage::Value(int body) const { return ValueAt(graph_, body, index_); }

int EphemDataPage::Next() {
  if (index_ + 1 < graph_.pointCount) {
    ++index_;
    return 0;
  }
  return 1;
}

int EphemDataPage::Previous() {
  if (index_ > 0) {
    --index_;
    return 0;
  }
  return -1;
}

EphemConfPage EphemConfPage::Read(const cfg::ByteBlock& b) {
  EphemConfPage p;
  kConfFields.Read(b, p);
  return p;
}

int EphemConfPage::CheckOk() const { return DateFault(day, month, year, 'A', true); }

void EphemConfPage::Write(cfg::ByteBlock& b) const { kConfFields.Write(*this, b); }

void PresetUnsetStart(EphemConfPage& page, const SuperSource& chart, int presentYear) {
  if (page.year != 0) return;
  int year = presentYear;
  switch (chart.Kind()) {
    case kChartTransit:
    case kChartProgressed:
    case kChartDirected:
    case kChartReturn:
    case kChartLunarPhase: {
      const FDate& moved = chart.sources[1].moment.date;
      year = moved.Era() == 'B' ? -moved.Year() : moved.Year();
      break;
    }
    default:
      break;
  }
  page.day = 1;
  page.month = 1;
  page.year = year;
}

}  // namespace ephem
