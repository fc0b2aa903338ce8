#include "astro/ephemeris/fast_theory.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/lunar_points.h"
#include "astro/ephemeris/minor/conventional_points.h"
#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/minor/minor_bodies.h"
#include "astro/ephemeris/planet_theory.h"
#include "astro/ephemeris/series_sets.h"

namespace {

constexpr double kLightAuPerDay = 173.1446326846693;
constexpr double kLightKmPerDay = 299792.458 * 86400.0;
// 2 GM(Sun) / c^2 in au, and the floor of the deflection's denominator (as apparent.cpp).
constexpr double kSchwarzschildAu = 1.97412574336e-8;
constexpr double kDeflectionFloor = 1e-6;
// Each pass of the light-time shrinks its error by the body's speed towards the Earth over the
// speed of light (below 2e-4): after two, below 1e-11 day.
constexpr int kLightTimeIterations = 2;

// A value and its rate per day.
struct Dual {
  double v = 0.0, d = 0.0;
};
Dual operator*(Dual a, Dual b) { return Dual{a.v * b.v, a.d * b.v + a.v * b.d}; }
Dual operator/(Dual a, Dual b) { return Dual{a.v / b.v, (a.d * b.v - a.v * b.d) / (b.v * b.v)}; }

// A vector and its rate per day.
struct DualVector {
  Vector3 v, d;
};
DualVector operator+(const DualVector& a, const DualVector& b) {
  return DualVector{a.v + b.v, a.d + b.d};
}
DualVector operator-(const DualVector& a, const DualVector& b) {
  return DualVector{a.v - b.v, a.d - b.d};
}
DualVector operator*(const DualVector& a, Dual k) {
  return DualVector{a.v * k.v, a.d * k.v + a.v * k.d};
}
Dual Dot(const DualVector& a, const DualVector& b) {
  return Dual{Dot(a.v, b.v), Dot(a.d, b.v) + Dot(a.v, b.d)};
}
Dual Length(const DualVector& a) {
  const double l = a.v.Length();
  return Dual{l, Dot(a.v, a.d) / l};
}
DualVector Unit(const DualVector& a) {
  const double inverse = 1.0 / a.v.Length();
  // d(a / |a|) = da / |a| - a (a . da) / |a|^3
  const double shrink = -Dot(a.v, a.d) * inverse * inverse * inverse;
  return DualVector{a.v * inverse, a.d * inverse + a.v * shrink};
}

// What depends only on the moment and the series.
struct InstantFrame {
  double jdTt = 0.0;
  const SeriesSet* series = nullptr;
  DateFrame date;
  bool hasEarth = false, hasMoon = false;
  DualVector earth;      // heliocentric, au and au per day, J2000
  DualVector earthUnit;  // its direction
  Vector3 earthAccel;    // the Sun's pull, au per day^2
  MoonMotion moon;
};

// The instant's frame with what `needEarth` and `needMoon` ask for: the per-thread memo of the last
// instant, made anew when the instant differs (the reference holds until the thread's next call).
const InstantFrame& FrameAt(double jdTt, const SeriesSet& series, bool needEarth, bool needMoon) {
  thread_local InstantFrame last;
  if (last.jdTt != jdTt || last.series != &series) {
    last = InstantFrame{};
    last.jdTt = jdTt;
    last.series = &series;
    last.date = DateFrameAt(JdTt{jdTt});
  }
  if (needEarth && !last.hasEarth) {
    series.PlanetState(Planet::Earth, jdTt, last.earth.v, last.earth.d);
    const double r = last.earth.v.Length();
    last.earthAccel = last.earth.v * (-minor::kSunGm / (r * r * r));
    last.earthUnit = Unit(last.earth);
    last.hasEarth = true;
  }
  if (needMoon && !last.hasMoon) {
    last.moon = series.Moon(jdTt);
    last.hasMoon = true;
  }
  return last;
}

// The apparent place of a body at heliocentric `position`, `velocity` (au, au per day, J2000;
// the Sun itself at the origin): light-time, the Sun's deflection (when `deflect`), annual
// aberration, precession and nutation, with the longitude speed.
PointPosition ApparentOfBody(const InstantFrame& f, const Vector3& position,
                             const Vector3& velocity, bool deflect) {
  const double r = position.Length();
  const Vector3 pull = r > 0.0 ? position * (-minor::kSunGm / (r * r * r)) : Vector3{};
  // Light-time: the body's place at the emission from its motion at the moment itself.
  const auto emitted = [&](double lt) { return position - velocity * lt + pull * (0.5 * lt * lt); };
  double lightTime = (position - f.earth.v).Length() / kLightAuPerDay;
  for (int i = 0; i < kLightTimeIterations; ++i)
    lightTime = (emitted(lightTime) - f.earth.v).Length() / kLightAuPerDay;
  const Vector3 body = emitted(lightTime), bodyVelocity = velocity - pull * lightTime;
  // The rate of the light-time, and the geocentric vector with its rate.
  const Vector3 g = body - f.earth.v;
  const Vector3 gUnit = g / g.Length();
  const double lightTimeRate =
      Dot(gUnit, bodyVelocity - f.earth.d) / (kLightAuPerDay + Dot(gUnit, bodyVelocity));
  const DualVector emittedBody{body, bodyVelocity * (1.0 - lightTimeRate)};
  DualVector p = Unit(emittedBody - f.earth);

  if (deflect && r > 1e-6) {
    const DualVector q = Unit(emittedBody);
    const DualVector& e = f.earthUnit;
    const Dual qe = Dot(q, e);
    const Dual denominator =
        qe.v + 1.0 > kDeflectionFloor ? Dual{1.0 + qe.v, qe.d} : Dual{kDeflectionFloor, 0.0};
    const Dual factor = Dual{kSchwarzschildAu, 0.0} / (Length(f.earth) * denominator);
    p = Unit(p + (e * Dot(p, q) - q * Dot(e, p)) * factor);
  }
  const DualVector v{f.earth.d / kLightAuPerDay, f.earthAccel / kLightAuPerDay};
  const Dual pv = Dot(p, v);
  p = Unit(p + v - p * pv);
  return EclipticOfDate(f.date, p.v, p.d);
}

// The Moon: the geometric Moon of the light-time earlier (its aberration and the Earth's motion
// during the light-time cancel for a geocentric body); the rate of that place takes the Moon's
// acceleration over the light-time.
PointPosition ApparentMoon(const InstantFrame& f) {
  const MoonMotion& m = f.moon;
  const double lightTime = m.position.Length() / kLightKmPerDay;
  return EclipticOfDate(f.date, m.position - m.velocity * lightTime,
                        m.velocity - m.acceleration * lightTime);
}

PointPosition LunarPoint(int point, LunarVariant variant, double jdTt, const SeriesSet& series) {
  const bool mean = variant == LunarVariant::Mean;
  const InstantFrame& f = FrameAt(jdTt, series, false, !mean);
  const bool node = point == kNorthNode || point == kSouthNode;
  PointPosition p;
  if (node)
    p = mean ? MeanLunarNode(jdTt, f.date) : TrueLunarNode(f.moon, f.date);
  else
    p = mean ? MeanLunarApogee(jdTt, f.date) : OsculatingLunarApogee(f.moon, f.date);
  return point == kSouthNode || point == kLunarPerigee ? OppositePoint(p) : p;
}

}  // namespace

PointPosition FastTheoryPosition(int point, LunarVariant variant, double jdTt) {
  return FastTheoryPosition(point, variant, jdTt, CutSeries(jdTt));
}

PointPosition FastTheoryPosition(int point, LunarVariant variant, double jdTt,
                                 const SeriesSet& series) {
  if (!IsBody(point)) return PointPosition{};
  if (point >= kNorthNode && point <= kLunarPerigee)
    return LunarPoint(point, variant, jdTt, series);
  if (point == 1) return ApparentMoon(FrameAt(jdTt, series, false, true));
  if (point == 21) return minor::WhiteMoonApparent(jdTt, FrameAt(jdTt, series, false, false).date);
  const InstantFrame& f = FrameAt(jdTt, series, true, false);
  if (point == 0) return ApparentOfBody(f, Vector3{}, Vector3{}, false);
  Vector3 position, velocity;
  if (point >= 2 && point <= 8)
    series.PlanetState(PlanetOfPoint(point), jdTt, position, velocity);
  else if (!MinorBodyHeliocentricState(point, jdTt, position, velocity))
    return PointPosition{};
  return ApparentOfBody(f, position, velocity, true);
}
