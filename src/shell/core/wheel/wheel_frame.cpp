#include "shell/core/wheel/wheel_frame.h"

#include <cmath>

#include "foundation/numbers/angles.h"

namespace wheel {

namespace {

// The cusps as the equal-house type needs them: all present, each house of some width, and the
// twelve houses going once round the circle.
bool UsableCusps(const Chart& chart) {
  double total = 0.0;
  for (int h = 0; h < 12; ++h) {
    const double a = chart.cusps[h].Get();
    const double b = chart.cusps[(h + 1) % 12].Get();
    if (IsAbsent(a) || IsAbsent(b) || !std::isfinite(a) || !std::isfinite(b)) return false;
    const double width = AngleDifference360(a, b);
    if (width <= 0.0) return false;
    total += width;
  }
  return total < 360.0 + 1e-6;
}

}  // namespace

WheelFrame WheelFrame::Zodiac(const cfg::WheelSettings& settings, const Chart& chart) {
  WheelFrame frame;
  frame.sense_ = settings.direction == 1 ? -1 : 1;
  const bool haveCusps = UsableCusps(chart);
  if (settings.wheelType == 1 && haveCusps) {
    frame.equalHouses_ = true;
    for (int h = 0; h < 12; ++h) frame.cusps_[h] = chart.cusps[h].Get();
  }
  // An angle that is not a finite number counts as absent.
  const double asc = std::isfinite(chart.cusps[0].Get()) ? chart.cusps[0].Get() : kAbsent;
  const double mc = std::isfinite(chart.cusps[9].Get()) ? chart.cusps[9].Get() : kAbsent;
  int orientation = settings.orientation;
  if (orientation < kAriesLeft || orientation > kMcTop) orientation = kAscLeft;
  // Without the angles the wheel is turned by 0 Aries, on the same side.
  if (orientation == kAscLeft && IsAbsent(asc)) orientation = kAriesLeft;
  if (orientation == kAscRight && IsAbsent(asc)) orientation = kAriesRight;
  if (orientation == kMcTop && IsAbsent(mc)) orientation = kAriesTop;
  switch (orientation) {
    case kAriesLeft:
      frame.anchorAngle_ = 180.0;
      frame.anchorDegree_ = frame.WheelDegree(0.0);
      break;
    case kAriesRight:
      frame.anchorAngle_ = 0.0;
      frame.anchorDegree_ = frame.WheelDegree(0.0);
      break;
    case kAriesTop:
      frame.anchorAngle_ = 90.0;
      frame.anchorDegree_ = frame.WheelDegree(0.0);
      break;
    case kAscRight:
      frame.anchorAngle_ = 0.0;
      frame.anchorDegree_ = frame.WheelDegree(asc);
      break;
    case kMcTop:
      frame.anchorAngle_ = 90.0;
      frame.anchorDegree_ = frame.WheelDegree(mc);
      break;
    default:  // kAscLeft
      frame.anchorAngle_ = 180.0;
      frame.anchorDegree_ = frame.WheelDegree(asc);
      break;
  }
  return frame;
}

WheelFrame WheelFrame::LocalSpace(int orientation) {
  WheelFrame frame;
  frame.sense_ = -1;  // azimuth grows clockwise on a map
  frame.anchorDegree_ = 0.0;
  frame.anchorAngle_ = orientation == kSouthUp ? 270.0 : 90.0;
  return frame;
}

double WheelFrame::WheelDegree(double longitude) const {
  const double lon = NormalizeDegrees(longitude);
  if (!equalHouses_) return lon;
  for (int h = 0; h < 12; ++h) {
    const double from = cusps_[h];
    const double width = AngleDifference360(from, cusps_[(h + 1) % 12]);
    const double into = AngleDifference360(from, lon);
    if (into < width) return 30.0 * h + 30.0 * into / width;
  }
  return 0.0;  // cusps that do not close the circle: cannot happen after UsableCusps
}

double WheelFrame::AngleOf(double longitude) const {
  return NormalizeDegrees(anchorAngle_ + sense_ * (WheelDegree(longitude) - anchorDegree_));
}

}  // namespace wheel
