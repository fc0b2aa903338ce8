#include "platform/core/dc.h"

#include <cmath>
#include <utility>

namespace platform {

double LogicalUnitsPerInch(MapMode mode) {
  switch (mode) {
    case MapMode::LoMetric:
      return 254.0;
    case MapMode::HiMetric:
      return 2540.0;
    case MapMode::Text:
      break;
  }
  return 0.0;
}

void Dc::FillRects(const std::vector<Rect>& rects, Color color) {
  for (const Rect& r : rects) FillRect(r, color);
}

MapMode Dc::SetMapMode(MapMode mode) {
  const MapMode old = std::exchange(mapMode_, mode);
  if (old != mode) OnMappingChanged();
  return old;
}

Point Dc::SetViewportOrg(Point deviceOrigin) {
  const Point old = std::exchange(viewportOrg_, deviceOrigin);
  OnMappingChanged();
  return old;
}

double Dc::LogicalPerPixelX() const {
  return mapMode_ == MapMode::Text ? 1.0 : LogicalUnitsPerInch(mapMode_) / DpiX();
}

double Dc::LogicalPerPixelY() const {
  return mapMode_ == MapMode::Text ? 1.0 : LogicalUnitsPerInch(mapMode_) / DpiY();
}

Point Dc::LPtoDP(Point p) const {
  const double sx = 1.0 / LogicalPerPixelX();
  const double sy = 1.0 / LogicalPerPixelY();
  const double dx = p.x * sx + viewportOrg_.x;
  const double dy = (YUp() ? -p.y : p.y) * sy + viewportOrg_.y;
  return {static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy))};
}

Point Dc::DPtoLP(Point p) const {
  const double lx = (p.x - viewportOrg_.x) * LogicalPerPixelX();
  double ly = (p.y - viewportOrg_.y) * LogicalPerPixelY();
  if (YUp()) ly = -ly;
  return {static_cast<int>(std::lround(lx)), static_cast<int>(std::lround(ly))};
}

Pen Dc::SelectPen(const Pen& pen) { return std::exchange(pen_, pen); }

Brush Dc::SelectBrush(const Brush& brush) { return std::exchange(brush_, brush); }

Font Dc::SelectFont(const Font& font) {
  const Font old = std::exchange(font_, font);
  if (!(old == font)) OnFontChanged();
  return old;
}

Color Dc::SetTextColor(Color color) { return std::exchange(textColor_, color); }

Color Dc::SetBkColor(Color color) { return std::exchange(bkColor_, color); }

BkMode Dc::SetBkMode(BkMode mode) { return std::exchange(bkMode_, mode); }

unsigned Dc::SetTextAlign(unsigned align) { return std::exchange(textAlign_, align); }

void Dc::LineTo(int x, int y) {
  Line(current_, {x, y});
  current_ = {x, y};
}

}  // namespace platform
