#include "platform/core/dc.h"

#include <cmath>

namespace platform {

double LogicalUnitsPerInch(MapMode mode) {
  switch (mode) {
    case MapMode::LoMetric: return 254.0;
    case MapMode::HiMetric: return 2540.0;
    case MapMode::Text: break;
  }
  return 0.0;
}

MapMode Dc::SetMapMode(MapMode mode) {
  const MapMode old = mapMode_;
  mapMode_ = mode;
  if (old != mode) OnMappingChanged();
  return old;
}

Point Dc::SetViewportOrg(Point deviceOrigin) {
  const Point old = viewportOrg_;
  viewportOrg_ = deviceOrigin;
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

Pen Dc::SelectPen(const Pen& pen) {
  const Pen old = pen_;
  pen_ = pen;
  return old;
}

Brush Dc::SelectBrush(const Brush& brush) {
  const Brush old = brush_;
  brush_ = brush;
  return old;
}

Font Dc::SelectFont(const Font& font) {
  const Font old = font_;
  font_ = font;
  if (!(old == font)) OnFontChanged();
  return old;
}

Color Dc::SetTextColor(Color color) {
  const Color old = textColor_;
  textColor_ = color;
  return old;
}

Color Dc::SetBkColor(Color color) {
  const Color old = bkColor_;
  bkColor_ = color;
  return old;
}

BkMode Dc::SetBkMode(BkMode mode) {
  const BkMode old = bkMode_;
  bkMode_ = mode;
  return old;
}

unsigned Dc::SetTextAlign(unsigned align) {
  const unsigned old = textAlign_;
  textAlign_ = align;
  return old;
}

void Dc::LineTo(int x, int y) {
  Line(current_, {x, y});
  current_ = {x, y};
}

}  // namespace platform
