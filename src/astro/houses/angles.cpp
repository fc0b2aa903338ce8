#include "astro/houses/angles.h"

#include <cmath>

#include "astro/houses/house_geometry.h"

using house_geometry::kDeg;
using house_geometry::Norm360;

double AscendantDeg(double armcDeg, double latitudeDeg, double obliquityDeg) {
  return house_geometry::CuspOfObliqueAscension(armcDeg + 90.0, latitudeDeg, obliquityDeg);
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
