#include "rectification/core/morav_number.h"

#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/numbers/angles.h"

namespace {
constexpr char kGlyphFace[] = "VelmAstro5a";
constexpr int kLargestSize = 10000;
}  // namespace

double MoravNumber(double sun, double moon, double saturn) {
  if (sun == kAbsent || moon == kAbsent || saturn == kAbsent) return kAbsent;
  const double a = ((saturn + sun) + (moon + sun)) * 0.5 * 0.5;
  const double b = (saturn + moon) * 0.5;
  return NormalizeDegrees((b + a) * 0.5);
}

double MoravNumber(const Chart& chart) {
  return MoravNumber(chart.GetPointLongitude(0).Get(), chart.GetPointLongitude(1).Get(),
                     chart.GetPointLongitude(6).Get());
}

void DrawMoravNumber(platform::Dc& dc, platform::Size clientPixels, double position) {
  if (position == kAbsent) return;
  const platform::DcState state(dc);
  const platform::MapMode oldMode = dc.SetMapMode(platform::MapMode::LoMetric);
  dc.SetBkMode(platform::BkMode::Transparent);
  const platform::Point corner = dc.DPtoLP({clientPixels.cx, clientPixels.cy});
  const platform::Point origin = dc.DPtoLP({0, 0});
  const int width = corner.x - origin.x;
  const int height = origin.y - corner.y;  // y grows upwards
  const int size = FitFontHeight(dc, kGlyphFace, kLargestSize, height / 3);
  if (size > 0 && width > 0) {
    const int charWidth = FontCharWidth(dc, kGlyphFace, size, '0');
    const int x = origin.x + (width - 6 * charWidth) / 2;
    const int y = origin.y - height / 5;
    DrawLongitudeGlyph(dc, size, position, x, y, 1);
  }
  dc.SetMapMode(oldMode);
}
