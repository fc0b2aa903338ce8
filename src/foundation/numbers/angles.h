// Angles in degrees and the "absent" value of longitude, latitude, angle and arc fields.
// Longitudes are kept in [0, 360). The value -777.0 marks a field that holds no value; the helpers
// that shift or normalise an angle pass it through unchanged so that it never turns into a
// plausible longitude (303 degrees would be the normalised -777).
#pragma once

// The value of a longitude, latitude, angle or arc field that holds nothing.
inline constexpr double kAbsent = -777.0;

// True for the absent value (compared exactly: the value is only ever assigned, never computed).
constexpr bool IsAbsent(double value) { return value == kAbsent; }

// An angle field that starts absent. Get() gives -777.0 while nothing was set, as the callers of
// house cusps and point longitudes expect.
class AngleValue {
 public:
  static constexpr double kAbsent = ::kAbsent;

  constexpr AngleValue() = default;
  constexpr explicit AngleValue(double value) : value_(value) {}

  constexpr bool IsSet() const { return value_ != kAbsent; }
  constexpr double Get() const { return value_; }
  constexpr void Set(double value) { value_ = value; }
  constexpr void Clear() { value_ = kAbsent; }

  friend constexpr bool operator==(const AngleValue&, const AngleValue&) = default;

 private:
  double value_ = kAbsent;
};

// The angle reduced to [0, 360); -777.0 is returned unchanged.
double NormalizeDegrees(double angle);
// The angle reduced to [0, 360) with no special value (for computed angles that are never absent).
double Wrap360(double angle);

// Trigonometry with arguments or results in degrees. Whole multiples of 90 degrees give exact
// 0, 1 and -1 for SinDeg and CosDeg. TanDeg stays finite at 90 and 270 degrees (a very large
// value), as the tangent of the nearest double to a right angle in radians.
double SinDeg(double degrees);
double CosDeg(double degrees);
double TanDeg(double degrees);
double AtanDeg(double x);             // in (-90, 90)
double Atan2Deg(double y, double x);  // in (-180, 180], the angle of the point (x, y)

// |a - b| folded into [0, 180]: the shorter way round the circle between two longitudes.
double AngleDifference180(double a, double b);
// b - a brought into [0, 360): how far b lies ahead of a in the direction of the zodiac.
double AngleDifference360(double a, double b);

// The nearer integer, halves up (2.5 -> 3, -2.5 -> -2). Values beyond the range of int are
// clamped to it; NaN gives 0.
int RoundToNearest(double x);
