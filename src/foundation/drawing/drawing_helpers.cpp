#include "foundation/drawing/drawing_helpers.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "foundation/drawing/palette.h"

platform::PenStyle PenStyleByIndex(int style) {
  switch (style) {
    case 1:
      return platform::PenStyle::Dash;
    case 2:
      return platform::PenStyle::Dot;
    case 3:
      return platform::PenStyle::DashDot;
    case 4:
      return platform::PenStyle::DashDotDot;
    case 5:
      return platform::PenStyle::Null;
    default:
      return platform::PenStyle::Solid;
  }
}

void DrawLine(platform::Dc& dc, int x1, int y1, int x2, int y2) { dc.Line({x1, y1}, {x2, y2}); }

void DrawThickLine(platform::Dc& dc, int x1, int y1, int x2, int y2, platform::PenStyle style,
                   int thickness, platform::Color colour) {
  constexpr int kStep = 5;
  const platform::Pen old = dc.SelectPen({style, 1, colour});
  dc.Line({x1, y1}, {x2, y2});
  if (thickness > 0) {
    const int pairs = (thickness + kStep - 1) / kStep;
    const bool acrossInY = std::abs(x2 - x1) >= std::abs(y2 - y1);
    for (int k = 1; k <= pairs; ++k) {
      const int d = k * kStep;
      const int dx = acrossInY ? 0 : d, dy = acrossInY ? d : 0;
      dc.Line({x1 + dx, y1 + dy}, {x2 + dx, y2 + dy});
      dc.Line({x1 - dx, y1 - dy}, {x2 - dx, y2 - dy});
    }
  }
  dc.SelectPen(old);
}

void DrawLineOfType(platform::Dc& dc, int x1, int y1, int x2, int y2, int type, int width,
                    int colourNumber) {
  const platform::PenStyle style =
      type >= 1 && type <= 3 ? PenStyleByIndex(type) : platform::PenStyle::Solid;
  const platform::Pen old = dc.SelectPen({style, width, ColorByIndex(colourNumber)});
  dc.Line({x1, y1}, {x2, y2});
  dc.SelectPen(old);
}

void DrawFilledCircle(platform::Dc& dc, int x, int y, int radius, platform::Color colour) {
  const platform::Pen oldPen = dc.SelectPen({platform::PenStyle::Solid, 0, colour});
  const platform::Brush oldBrush = dc.SelectBrush({false, colour});
  dc.Ellipse({x - radius, y + radius, x + radius, y - radius});
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

namespace {

template <typename T>
bool Overlap(T aLeft, T aRight, T aLow, T aHigh, T bLeft, T bRight, T bLow, T bHigh) {
  return std::max(aLeft, bLeft) <= std::min(aRight, bRight) &&
         std::max(aLow, bLow) <= std::min(aHigh, bHigh);
}

template <typename R>
auto Span(const R& r) {
  return std::array{std::min(r.left, r.right), std::max(r.left, r.right), std::min(r.top, r.bottom),
                    std::max(r.top, r.bottom)};
}

}  // namespace

bool PointInRect(int x, int y, const platform::Rect& r) {
  const auto s = Span(r);
  return x >= s[0] && x <= s[1] && y >= s[2] && y <= s[3];
}

bool RectsOverlap(const platform::Rect& a, const platform::Rect& b) {
  const auto p = Span(a), q = Span(b);
  return Overlap(p[0], p[1], p[2], p[3], q[0], q[1], q[2], q[3]);
}

bool RectsOverlapD(const RectD& a, const RectD& b) {
  const auto p = Span(a), q = Span(b);
  return Overlap(p[0], p[1], p[2], p[3], q[0], q[1], q[2], q[3]);
}
