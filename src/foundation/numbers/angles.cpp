#include "foundation/numbers/angles.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The argument split into the nearest whole quadrant k (0..3) and the rest in [-45, 45] degrees,
// so that whole multiples of 90 degrees give exact results.
struct Quadrant {
  int k;
  double restRadians;
};

Quadrant SplitQuadrant(double degrees) {
  if (!std::isfinite(degrees)) return {0, std::numeric_limits<double>::quiet_NaN()};
  const double reduced =
      degrees > -360.0 && degrees < 360.0 ? degrees : std::fmod(degrees, 360.0);  // exact
  const double q = std::round(reduced / 90.0);                                    // -4..4
  const int k = ((static_cast<int>(q) % 4) + 4) % 4;
  return {k, (reduced - q * 90.0) * kRadiansPerDegree};
}

}  // namespace

double Wrap360(double angle) {
  // Within a turn either side of the circle (most angles) the same without the division.
  if (angle >= 0.0 && angle < 360.0) return angle + 0.0;
  if (angle >= -360.0 && angle < 0.0) {
    const double shifted = angle + 360.0;
    return shifted >= 360.0 ? 0.0 : shifted;
  }
  double r = std::fmod(angle, 360.0);
  if (r < 0.0) r += 360.0;
  if (r >= 360.0) r = 0.0;  // a tiny negative remainder rounds up to 360 when shifted
  return r + 0.0;           // adding 0.0 turns -0.0 into 0.0
}

double NormalizeDegrees(double angle) {
  if (IsAbsent(angle)) return angle;
  return Wrap360(angle);
}

double SinDeg(double degrees) {
  const Quadrant q = SplitQuadrant(degrees);
  switch (q.k) {
    case 0:
      return std::sin(q.restRadians) + 0.0;
    case 1:
      return std::cos(q.restRadians);
    case 2:
      return -std::sin(q.restRadians) + 0.0;
    default:
      return -std::cos(q.restRadians);
  }
}

double CosDeg(double degrees) {
  const Quadrant q = SplitQuadrant(degrees);
  switch (q.k) {
    case 0:
      return std::cos(q.restRadians);
    case 1:
      return -std::sin(q.restRadians) + 0.0;
    case 2:
      return -std::cos(q.restRadians);
    default:
      return std::sin(q.restRadians) + 0.0;
  }
}

double TanDeg(double degrees) { return std::tan(std::fmod(degrees, 180.0) * kRadiansPerDegree); }

double AtanDeg(double x) { return std::atan(x) / kRadiansPerDegree; }

double Atan2Deg(double y, double x) { return std::atan2(y, x) / kRadiansPerDegree; }

double AngleDifference180(double a, double b) {
  const double d = std::fabs(std::fmod(a - b, 360.0));
  return d > 180.0 ? 360.0 - d : d;
}

double AngleDifference360(double a, double b) { return Wrap360(b - a); }

int RoundToNearest(double x) {
  if (std::isnan(x)) return 0;
  const double whole = std::floor(x);
  // x - floor(x) is exact, so a value just below a half never rounds up by accident (as
  // floor(x + 0.5) does for 0.49999999999999994).
  const double rounded = (x - whole >= 0.5) ? whole + 1.0 : whole;
  constexpr double kMin = std::numeric_limits<int>::min();
  constexpr double kMax = std::numeric_limits<int>::max();
  if (rounded <= kMin) return std::numeric_limits<int>::min();
  if (rounded >= kMax) return std::numeric_limits<int>::max();
  return static_cast<int>(rounded);
}
