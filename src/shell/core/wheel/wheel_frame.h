// Where a zodiac longitude lies on the drawn wheel. Angles on the page are in degrees,
// counter-clockwise from the direction to the right as the reader sees the page (90 is the top),
// whatever the mapping mode of the device context.
#pragma once

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"

namespace wheel {

// The six orientations of the wheel settings.
enum Orientation : int {
  kAriesLeft = 0,   // "0 ОВНА СЛЕВА"
  kAriesRight = 1,  // "0 ОВНА СПРАВА"
  kAriesTop = 2,    // "0 ОВНА НАВЕРХУ"
  kAscLeft = 3,     // "ASC  СЛЕВА"
  kAscRight = 4,    // "ASC  СПРАВА"
  kMcTop = 5,       // "MC НАВЕРХУ"
};

// The two Local Space orientations.
enum LocalSpaceOrientation : int { kNorthUp = 0, kSouthUp = 1 };

class WheelFrame {
 public:
  // The zodiac wheel of `chart` as the settings draw it: orientation, direction (0 counter-
  // clockwise, 1 clockwise) and wheel type (1: every house drawn 30 degrees wide). An orientation
  // outside 0..5 is taken as "ASC left"; an orientation by an angle, or the equal-house type, of a
  // chart without cusps falls back to the same side for 0 Aries and to equal-valued signs.
  static WheelFrame Zodiac(const cfg::WheelSettings& settings, const Chart& chart);
  // A Local Space wheel: longitudes are azimuths (from the north through the east) drawn as on a
  // map, the north (or the south) at the top and the east a quarter turn clockwise from it.
  static WheelFrame LocalSpace(int orientation);

  // The page angle of a longitude, in [0, 360).
  double AngleOf(double longitude) const;
  // The longitude measured along the drawn circle: the longitude itself, or for the equal-house
  // type 30 degrees per house counted from the first cusp.
  double WheelDegree(double longitude) const;
  // +1 when longitudes grow counter-clockwise on the page, -1 when clockwise.
  int Sense() const { return sense_; }
  bool EqualHouses() const { return equalHouses_; }

 private:
  WheelFrame() = default;

  int sense_ = 1;
  double anchorAngle_ = 180.0;  // the page angle of the anchor
  double anchorDegree_ = 0.0;   // the wheel degree drawn there
  bool equalHouses_ = false;
  std::array<double, 12> cusps_{};
};

}  // namespace wheel
