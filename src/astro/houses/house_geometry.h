// Small pieces of spherical geometry shared by the house systems and the angles (degrees).
#pragma once

#include <cmath>
#include <numbers>

namespace house_geometry {

inline constexpr double kDeg = std::numbers::pi / 180.0;  // radians per degree

// [0, 360); a remainder that rounds up to 360 becomes 0.
inline double Norm360(double deg) {
  double r = std::fmod(deg, 360.0);
  if (r < 0.0) r += 360.0;
  return r >= 360.0 ? 0.0 : r;
}

// The ecliptic degree cut by the great circle through the north and south points of a horizon of
// pole height `poleDeg`, at oblique ascension `obliqueAscensionDeg` under that pole. With the
// place's latitude and ARMC + 90 this is the Ascendant; Regiomontanus, Campanus, topocentric and
// Koch cusps are the same construction with their own pole and ascension.
inline double CuspOfObliqueAscension(double obliqueAscensionDeg, double poleDeg,
                                     double obliquityDeg) {
  const double h = obliqueAscensionDeg * kDeg;
  const double e = obliquityDeg * kDeg;
  const double y = std::sin(h);
  const double x = std::cos(h) * std::cos(e) - std::tan(poleDeg * kDeg) * std::sin(e);
  return Norm360(std::atan2(y, x) / kDeg);
}

}  // namespace house_geometry
