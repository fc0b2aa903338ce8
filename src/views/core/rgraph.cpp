#include "views/core/rgraph.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

#include "foundation/config/configuration.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/errors/error_report.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr int kSolid = 0;
constexpr int kDotted = 2;
constexpr int kFirstLabelSize = 4000;
constexpr std::string_view kSampleLabel = "77.77";

int Trunc(double v) { return static_cast<int>(v); }

// Resizes one per-curve array; false (after the report) when memory runs out.
template <class T>
bool Allocate(std::vector<T>& array, int n, T value, int detail) {
  try {
    array.assign(static_cast<std::size_t>(n), value);
    return true;
  } catch (const std::bad_alloc&) {
    array.clear();
    ReportError(kErrNoMemory, "RGraph::SetQLines", detail);
    return false;
  }
}

}  // namespace

void RGraph::UsePrintSettings(const Configuration& config) {
  colourPrinting = config.colourPrinting;
  const cfg::PrintSettings& p = config.print;
  pageMargins = {p.marginLeft, p.marginTop, p.marginRight, p.marginBottom};
}

void RGraph::SetQLines(int n) {
  if (n < 0) n = 0;
  bool ok = Allocate<const double*>(curveValues, n, nullptr, 1);
  ok = Allocate(curveVisible, n, 1, 2) && ok;
  ok = Allocate(curveColour, n, 0, 3) && ok;
  // A graph whose arrays are not all there has no curves to draw rather than short arrays.
  curveCount = ok ? n : 0;
}

int RGraph::DefineArea(int width, int heightNegated) {
  const auto [left, top, right, bottom] = pageMargins;
  GraphLayout& g = layoutMode == kLayoutScreen ? screen : print;
  printCurrent = layoutMode != kLayoutScreen;
  if (layoutMode == kLayoutScreen) {
    g.pageWidth = width;
    g.pageHeight = -heightNegated;
  } else if (layoutMode == kLayoutPortrait) {
    g.pageWidth = kA4Width - left - right;
    g.pageHeight = kPortraitGraphHeight;
  } else {
    g.pageWidth = kA4Height - pageOffset - top - bottom;
    g.pageHeight = kA4Width - left - right;
  }
  g.leftMargin = Trunc(g.pageWidth * leftPercent / 100.0);
  g.topMargin = Trunc(g.pageHeight * topPercent / 100.0);
  g.rightMargin = Trunc(g.pageWidth * rightPercent / 100.0);
  g.bottomMargin = Trunc(g.pageHeight * bottomPercent / 100.0);
  g.innerWidth = g.pageWidth - g.rightMargin - g.leftMargin;
  g.innerHeight = g.pageHeight - g.bottomMargin - g.topMargin;
  // One point (or none) spans the whole width instead of dividing by zero.
  g.xStep = g.innerWidth / std::max(1, pointCount - 1);
  return g.xStep;
}

void RGraph::SetScreenMode() {
  layoutMode = kLayoutScreen;
  printCurrent = false;
}

void RGraph::SetPrintMode(int mode) {
  layoutMode = mode == kLayoutLandscape ? kLayoutLandscape : kLayoutPortrait;
  printCurrent = true;
}

platform::Point RGraph::ToPage(int x, int y) const {
  const auto [left, top, right, bottom] = pageMargins;
  switch (layoutMode) {
    case kLayoutScreen:
      return {x, y};
    case kLayoutPortrait:
      return {x + left, y - (pageOffset + top)};
    default:
      return {Current().pageHeight + y + left, -(pageOffset + x + top)};
  }
}

void RGraph::DrawLine(platform::Dc& dc, int x1, int y1, int x2, int y2, int style, int thickness,
                      platform::Color colour) const {
  const platform::Point a = ToPage(x1, y1);
  const platform::Point b = ToPage(x2, y2);
  DrawThickLine(dc, a.x, a.y, b.x, b.y, PenStyleByIndex(style), thickness, colour);
}

void RGraph::PutText(platform::Dc& dc, int x, int y, std::string_view text) const {
  const platform::Point p = ToPage(x, y);
  dc.TextOut(p.x, p.y, text);
}

void RGraph::DrawAxes(platform::Dc& dc) const {
  const GraphLayout& g = Current();
  const int axisY = g.AxisY();
  DrawLine(dc, g.leftMargin, axisY, g.pageWidth - g.rightMargin, axisY, kSolid, 15,
           platform::kBlack);
  DrawLine(dc, g.leftMargin, axisY, g.leftMargin, -g.topMargin, kSolid, 10, platform::kBlack);
}

int RGraph::DrawDateScale(platform::Dc& dc, int grid, const Moment& firstMoment, int evenStep,
                          int gridColour, int labelMode) {
  const GraphLayout& g = Current();
  const int size =
      FitFontHeight(dc, platform::kTextFace, kFirstLabelSize, Trunc(0.8 * g.bottomMargin));
  if (size <= 0) return -1;
  const bool landscape = layoutMode == kLayoutLandscape;
  const int escapement = landscape ? landscapeRotation * 10 : 0;
  platform::Font labelFont;
  labelFont.face = std::string(platform::kTextFace);
  labelFont.pointSize = size;
  labelFont.escapement = escapement;
  platform::Font smallFont = labelFont;
  smallFont.pointSize = Trunc((landscape ? 0.9 : 0.8) * size);

  platform::DcState saved(dc);
  dc.SelectFont(labelFont);
  const int w = MeasureText(dc, kSampleLabel).cx;
  if (w <= 0) return -1;
  labelCount = g.innerWidth / w;
  if (labelCount <= 0) return -1;
  labelStep = std::max(1, (pointCount + labelCount - 1) / labelCount);
  if (evenStep == 1 && labelStep % 2 != 0) ++labelStep;
  const double timePerLabel = labelStep * timeStep;

  const int axisY = g.AxisY();
  const int longTickY = -g.pageHeight - Trunc(-0.77 * g.bottomMargin);
  const int shortTickY = -g.pageHeight - Trunc(-0.9 * g.bottomMargin);
  const platform::Color gridInk = ColorByIndex(gridColour);
  for (int i = 0; i < pointCount; ++i) {
    const int x = g.PointX(i);
    const bool labelled = i % labelStep == 0;
    if (labelled && grid == 1 && i != 0)
      DrawLine(dc, x, axisY, x, -g.topMargin, kDotted, 1, gridInk);
    DrawLine(dc, x, axisY, x, labelled ? longTickY : shortTickY, kSolid, 1, platform::kBlack);
  }

  dc.SelectFont(smallFont);
  Moment moment = firstMoment;
  const int labelY = -g.pageHeight - Trunc(-0.8 * g.bottomMargin);
  for (int j = 0; j < labelCount; ++j) {
    const int offset = g.xStep * labelStep * j - w / 3;
    if (offset > g.innerWidth) break;
    char text[16];
    if (labelMode == 0)
      std::snprintf(text, sizeof text, "%.02d.%02d", moment.date.Day(), moment.date.Month());
    else
      std::snprintf(text, sizeof text, "%02d:%02d", moment.time.Hours(), moment.time.Minutes());
    PutText(dc, g.leftMargin + offset, labelY, text);
    if (labelMode == 0) {
      moment.AddDays(timePerLabel);
    } else {
      const std::int64_t carried = moment.time.AddMinutes(static_cast<std::int64_t>(timePerLabel));
      moment.date.AddDays(carried);
    }
  }
  return size;
}

int RGraph::GetCurveColour(int i) const {
  if (i < 0 || i >= static_cast<int>(curveColour.size())) return 0;
  if (layoutMode != kLayoutScreen && colourPrinting != 1) return 0;
  return curveColour[static_cast<std::size_t>(i)];
}

void RGraph::DrawCurves(platform::Dc& dc) const {
  if (valueMax <= 0.0) return;  // no scale to draw on
  const int curves = std::min(
      {curveCount, static_cast<int>(curveValues.size()), static_cast<int>(curveVisible.size())});
  for (int c = 0; c < curves; ++c) {
    const auto i = static_cast<std::size_t>(c);
    if (curveVisible[i] == 0 || curveValues[i] == nullptr) continue;
    const double* v = curveValues[i];
    const int colour = GetCurveColour(c);
    for (int k = 0; k + 1 < pointCount; ++k) DrawCurveSegment(dc, colour, v[k], v[k + 1], k, k + 1);
  }
}

double RGraph::ValueY(double v) const {
  const GraphLayout& g = Current();
  return -(g.pageHeight - g.bottomMargin - g.innerHeight / valueMax * v);
}

void RGraph::DrawCurveSegment(platform::Dc& dc, int colour, double value1, double value2,
                              int index1, int index2) const {
  if (IsAbsent(value1) || IsAbsent(value2) || valueMax <= 0.0) return;
  const GraphLayout& g = Current();
  const double v1 = NormalizeDegrees(value1);
  const double v2 = NormalizeDegrees(value2);
  const double d = NormalizeDegrees(v2 - v1);
  const platform::Color ink = ColorByIndex(colour);
  const int x1 = g.PointX(index1), x2 = g.PointX(index2);
  const int y1 = static_cast<int>(std::lround(ValueY(v1)));
  const int y2 = static_cast<int>(std::lround(ValueY(v2)));
  const int top = -g.topMargin, bottom = g.AxisY();
  const auto crossingX = [&](double f) {
    return x1 + static_cast<int>(std::lround(f * (x2 - x1)));
  };
  if (d < 180.0 && v1 > v2) {  // direct motion over 360 to 0
    const int x = crossingX((360.0 - v1) / d);
    DrawLine(dc, x1, y1, x, top, kSolid, 1, ink);
    DrawLine(dc, x2, y2, x, bottom, kSolid, 1, ink);
  } else if (d > 180.0 && v2 > v1) {  // retrograde motion over 0 to 360
    const int x = crossingX(v1 / (360.0 - d));
    DrawLine(dc, x1, y1, x, bottom, kSolid, 1, ink);
    DrawLine(dc, x2, y2, x, top, kSolid, 1, ink);
  } else {
    DrawLine(dc, x1, y1, x2, y2, kSolid, 1, ink);
  }
}

void RGraph::DrawGlyph(platform::Dc& dc, int x, int y, char glyph, platform::BkMode background,
                       int size) const {
  const platform::Point p = ToPage(x, y);
  platform::Font font = dc.GetFont();
  font.escapement = layoutMode == kLayoutLandscape ? landscapeRotation * 10 : 0;
  const platform::Font old = dc.SelectFont(font);
  DrawGlyphText(dc, p.x, p.y, glyph, 'a', size, background);
  dc.SelectFont(old);
}

void RGraph::DrawSignGlyph(platform::Dc& dc, int x, int y, int sign, int size) const {
  if (sign < 0 || sign >= glyphs::kSignCount) return;
  DrawGlyph(dc, x, y, glyphs::Sign(sign), platform::BkMode::Transparent, size);
}

void RGraph::DrawPlanetGlyph(platform::Dc& dc, int x, int y, int body, platform::BkMode background,
                             int size) const {
  if (body < 0 || body > 9) return;
  DrawGlyph(dc, x, y, glyphs::Point(body), background, size);
}

void FillBackground(platform::Dc& dc, const platform::Rect& clientRect) {
  dc.FillRect(clientRect, dc.GetBkColor());
}
