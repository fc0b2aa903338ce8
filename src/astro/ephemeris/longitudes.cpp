#include "astro/ephemeris/longitudes.h"

#include <cmath>

namespace {

// [0, 360) for any computed angle: a sum that happens to equal -777.0 is an angle like any other,
// not the absent value (NormalizeDegrees would pass it through).
double Fold(double angle) { return NormalizeDegrees(std::fmod(angle, 360.0)); }

// The signed shorter arc from a to b, in [-180, 180).
double ShortArc(double a, double b) { return Fold(b - a + 180.0) - 180.0; }

}  // namespace

double MidpointLongitude(double a, double b) {
  if (IsAbsent(a) || IsAbsent(b)) return kAbsent;
  double arc = ShortArc(a, b);
  if (arc == -180.0) arc = 180.0;
  return Fold(a + arc / 2.0);
}

double ShiftLongitude(double value, double offset) {
  if (IsAbsent(value) || IsAbsent(offset)) return kAbsent;
  return Fold(value + offset);
}

double ShiftLongitudeBack(double value, double offset) {
  if (IsAbsent(value) || IsAbsent(offset)) return kAbsent;
  return Fold(value - offset);
}

double InterpolateLongitude(double a, double b, double t0, double t1, double t) {
  if (IsAbsent(a) || IsAbsent(b)) return kAbsent;
  if (t1 == t0) return Fold(a);
  return Fold(a + ShortArc(a, b) * (t - t0) / (t1 - t0));
}
