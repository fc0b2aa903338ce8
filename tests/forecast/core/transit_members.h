// Every member of the transit search behind one signature, for tables of cases: `a` the moving
// body, `b` the moving target, `natal` the fixed target; each member takes what it needs.
#pragma once

#include "forecast/core/transit_search.h"

namespace members {

using Context = TransitSearchContext;
using Search = TransitResult (*)(const Context&, int a, int b, double natal, JdUt start, JdUt end);

inline TransitResult DirectNatal(const Context& c, int a, int, double natal, JdUt s, JdUt e) {
  return DirectBodyNextTransit(c, a, natal, s, e);
}
inline TransitResult PlanetNatal(const Context& c, int a, int, double natal, JdUt s, JdUt e) {
  return PlanetNextTransit(c, a, natal, s, e);
}
inline TransitResult FastPoint(const Context& c, int a, int b, double, JdUt s, JdUt e) {
  return FastPointNextTransit(c, a, b, s, e);
}
inline TransitResult SunInner(const Context& c, int, int b, double, JdUt s, JdUt e) {
  return Sun2MercuryOrVenusNextTransit(c, b, s, e);
}
inline TransitResult MercuryVenus(const Context& c, int, int, double, JdUt s, JdUt e) {
  return Mercury2VenusNextTransit(c, s, e);
}
inline TransitResult InnerToSlow(const Context& c, int a, int b, double, JdUt s, JdUt e) {
  return MercuryOrVenusNextTransit(c, a, b, s, e);
}
inline TransitResult MarsToSlow(const Context& c, int, int b, double, JdUt s, JdUt e) {
  return Mars2PlanetNextTransit(c, b, s, e);
}
inline TransitResult Outer(const Context& c, int a, int b, double, JdUt s, JdUt e) {
  return OuterPlanetNextTransit(c, a, b, s, e);
}
inline TransitResult LunarPoint(const Context& c, int a, int b, double, JdUt s, JdUt e) {
  return LunarPointNextTransit(c, a, b, s, e);
}

}  // namespace members
