#include "views/core/asp_graph_layout.h"

#include <algorithm>
#include <cmath>

#include "foundation/config/configuration.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/lists/list_navigation.h"
#include "views/core/asp_graph_calc.h"

namespace {

constexpr double kPrintMarginFactor = 1.5;
constexpr int kPrintTopMargin = 5;
constexpr double kSpeedFactor[] = {0.25, 1.1, 2.0, 4.0};

int Percent(double percent, int of) { return static_cast<int>(percent * of / 100.0); }

// The plot and rows of an area `width` x `height` whose upper left corner is (left, top).
AspGraphLayout Lay(AspGraphLayout layout, int left, int top, int width, int height, int rows) {
  const double k = layout.printing ? kPrintMarginFactor : 1.0;
  layout.left = left;
  layout.top = top;
  layout.width = std::max(width, 0);
  layout.height = std::max(height, 0);
  layout.rowsPerPage = std::max(rows, 1);
  layout.plotWidth = Percent(100 - layout.leftMargin * k - layout.labelColumn, layout.width);
  layout.plotHeight =
      Percent(100 - layout.topMargin * k - 2 * layout.header - layout.bottom, layout.height);
  layout.x0 = left + Percent(layout.leftMargin + layout.labelColumn, layout.width);
  layout.y0 = top - Percent(layout.header + layout.topMargin, layout.height);
  layout.rowHeight = layout.plotHeight / layout.rowsPerPage;
  layout.baselineOffset = Percent(100 - layout.baseline, layout.rowHeight);
  return layout;
}

}  // namespace

int AspGraphLayout::HeaderHeight() const { return Percent(header, height); }

namespace aspgraph {

AspGraphLayout ScreenLayout(const platform::Rect& client, int rowsInWindow) {
  return Lay(AspGraphLayout{}, client.left, client.top, client.right - client.left,
             client.top - client.bottom, std::clamp(rowsInWindow, 1, kMaxRows));
}

AspGraphLayout PrintLayout(const cfg::PrintSettings& print, int pairCount, int headBottom) {
  AspGraphLayout layout;
  layout.printing = true;
  layout.topMargin = kPrintTopMargin;
  const int width = kA4Width - print.marginLeft - print.marginRight;
  const int rows = std::max(pairCount, kMinPrintRows);
  const AspGraphLayout usual = Lay(layout, print.marginLeft, -print.marginTop, width,
                                   kA4Height - print.marginTop - print.marginBottom, rows);
  if (usual.y0 + usual.HeaderHeight() <= headBottom) return usual;
  layout.topMargin = 0;
  return Lay(layout, print.marginLeft, headBottom, width,
             kA4Height - print.marginBottom + headBottom, rows);
}

void SetVerticalScale(AspGraphLayout& layout, int maxOrb) {
  layout.verticalScale =
      maxOrb > 0 ? static_cast<double>(layout.baselineOffset) / static_cast<double>(maxOrb) : 0.0;
}

int SampleCount(const AspGraphLayout& layout, int pixelsAcross, int logicalWidth, int speed) {
  if (logicalWidth <= 0 || pixelsAcross <= 0) return 1;
  const double f = kSpeedFactor[speed >= 0 && speed <= 3 ? speed : 1];
  const double n =
      std::trunc(static_cast<double>(layout.plotWidth) * pixelsAcross / logicalWidth * f);
  return static_cast<int>(std::clamp(n, 1.0, static_cast<double>(kMaxSamples)));
}

int SampleX(const AspGraphLayout& layout, int i, int n) {
  if (n <= 0) return layout.x0;
  return layout.x0 + static_cast<int>(static_cast<long long>(i) * layout.plotWidth / n);
}

int SampleAtX(const AspGraphLayout& layout, int x, int n) {
  if (n <= 0 || layout.plotWidth <= 0 || x < layout.x0 || x >= layout.x0 + layout.plotWidth)
    return -1;
  return static_cast<int>(static_cast<long long>(x - layout.x0) * n / layout.plotWidth);
}

int ScrollRows(int code, int position, int first, int rowsPerPage, int pairCount) {
  const long long maxFirst = std::max(pairCount - 1, 0);
  const std::optional<long long> target =
      ScrollCodeTarget(code, position, first, std::max(rowsPerPage, 1), maxFirst);
  if (!target) return std::clamp<long long>(first, 0, maxFirst);
  return static_cast<int>(std::clamp<long long>(*target, 0, maxFirst));
}

int ScrollDays(int code, int position, int span) {
  const int half = span / 2;
  switch (code) {
    case kScrollLineUp:
    case kScrollPageUp:
    case kScrollTop:
      return -half;
    case kScrollLineDown:
    case kScrollPageDown:
    case kScrollBottom:
      return half;
    case kScrollThumbPosition:
      // The thumb stands in the middle of three positions; released there it moves nothing.
      return position == 0 ? -half : position >= 2 ? half : 0;
    default:
      return 0;
  }
}

}  // namespace aspgraph
