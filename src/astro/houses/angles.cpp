#include "astro/houses/angles.h"

#include <cmath>

#include "astro/houses/house_geometry.h"

using house_geometry::kDeg;
using house_geometry::Norm360;

double AscendantDeg(double armcDeg, double latitudeDeg, double obliquityDeg) {
  const double asc =
      house_geometry::CuspOfObliqueAscension(armcDeg + 90.0, latitudeDeg, obliquityDeg);
  // Inside the polar circles the closed formula gives the western intersection of the ecliptic
  // with the horizon for part of the sidereal day. The degree on the eastern half of the horizon
  // has its right ascension within half a circle after ARMC (hour angle between 180 and 360).
  if (std::fabs(latitudeDeg) <= 90.0 - std::fabs(obliquityDeg)) return asc;
  const double ra = RightAscensionOfEclipticDeg(asc, obliquityDeg);
  return Norm360(ra - armcDeg) > 180.0 ? Norm360(asc + 180.0) : asc;
}

double MidheavenDeg(double armcDeg, double obliquityDeg) {
  return EclipticOfRightAscensionDeg(armcDeg, obliquityDeg);
}

double VertexDeg(double armcDeg, double latitudeDeg, double obliquityDeg) {
  // The prime vertical is the horizon of the place a quarter turn away: co-latitude, and the
  // meridian turned by half a circle. Of its two intersections with the ecliptic the Vertex is
  // the western one, whose right ascension lies within half a circle before ARMC.
  double vertex =
      house_geometry::CuspOfObliqueAscension(armcDeg + 270.0, 90.0 - latitudeDeg, obliquityDeg);
  if (Norm360(MidheavenDeg(armcDeg, obliquityDeg) - vertex) > 180.0)
    vertex = Norm360(vertex + 180.0);
  return vertex;
}

double EastPointDeg(double armcDeg, double obliquityDeg) {
  return EclipticOfRightAscensionDeg(armcDeg + 90.0, obliquityDeg);
}

double EclipticOfRightAscensionDeg(double raDeg, double obliquityDeg) {
  const double ra = raDeg * kDeg;
  return Norm360(std::atan2(std::sin(ra), std::cos(ra) * std::cos(obliquityDeg * kDeg)) / kDeg);
}

double RightAscensionOfEclipticDeg(double longitudeDeg, double obliquityDeg) {
  const double l = longitudeDeg * kDeg;
  return Norm360(std::atan2(std::sin(l) * std::cos(obliquityDeg * kDeg), std::cos(l)) / kDeg);
}
