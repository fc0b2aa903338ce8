#include "astro/ephemeris/minor/kepler_orbit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace minor {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kMaxEccentricity = 0.999;

}  // namespace

KeplerElements ElementsFromDegrees(double epochJd, double semiMajorAxisAu, double eccentricity,
                                   double inclinationDeg, double nodeDeg,
                                   double perihelionArgumentDeg, double meanAnomalyDeg) {
  constexpr double kDeg = std::numbers::pi / 180.0;
  KeplerElements el;
  el.epochJd = epochJd;
  el.gm = kSunGm;
  el.semiMajorAxisAu = semiMajorAxisAu;
  el.eccentricity = eccentricity;
  el.inclinationRad = inclinationDeg * kDeg;
  el.nodeRad = nodeDeg * kDeg;
  el.perihelionArgumentRad = perihelionArgumentDeg * kDeg;
  el.meanAnomalyRad = meanAnomalyDeg * kDeg;
  return el;
}

double KeplerElements::MeanMotionRadPerDay() const {
  return std::sqrt(gm / (semiMajorAxisAu * semiMajorAxisAu * semiMajorAxisAu));
}

double SolveKepler(double meanAnomalyRad, double eccentricity) {
  const double m = std::remainder(meanAnomalyRad, kTwoPi);  // -pi..pi
  double e = eccentricity > 0.8 ? (m < 0 ? -std::numbers::pi : std::numbers::pi)
                                : m + eccentricity * std::sin(m);
  // Newton; converges in a few steps for e < 1. What is left after a step of s is about
  // e sin E / (2 (1 - e cos E)) s^2: after one below 1e-9, below 1e-15 even at e = 0.999.
  for (int i = 0; i < 50; ++i) {
    const double f = e - eccentricity * std::sin(e) - m;
    const double step = f / (1.0 - eccentricity * std::cos(e));
    e -= step;
    if (std::abs(step) < 1e-9) break;
  }
  return e + (meanAnomalyRad - m);
}

PerifocalAxes AxesOf(const KeplerElements& el) {
  const double cw = std::cos(el.perihelionArgumentRad), sw = std::sin(el.perihelionArgumentRad);
  const double cn = std::cos(el.nodeRad), sn = std::sin(el.nodeRad);
  const double ci = std::cos(el.inclinationRad), si = std::sin(el.inclinationRad);
  // The perihelion's direction, and the direction 90 degrees on in the orbital plane.
  return PerifocalAxes{Vector3{cw * cn - sw * ci * sn, cw * sn + sw * ci * cn, sw * si},
                       Vector3{-sw * cn - cw * ci * sn, -sw * sn + cw * ci * cn, cw * si}};
}

StateVector StateFromElements(const KeplerElements& el, double jd) {
  return StateFromElements(el, AxesOf(el), jd);
}

StateVector StateFromElements(const KeplerElements& el, const PerifocalAxes& axes, double jd) {
  const double a = el.semiMajorAxisAu, ecc = el.eccentricity;
  const double n = el.MeanMotionRadPerDay();
  const double bigE = SolveKepler(el.meanAnomalyRad + n * (jd - el.epochJd), ecc);
  const double cosE = std::cos(bigE), sinE = std::sin(bigE);
  const double root = std::sqrt(1.0 - ecc * ecc);
  const double rate = n / (1.0 - ecc * cosE);  // dE/dt
  StateVector s;
  s.position = axes.p * (a * (cosE - ecc)) + axes.q * (a * root * sinE);
  s.velocity = axes.p * (-a * sinE * rate) + axes.q * (a * root * cosE * rate);
  return s;
}

StateVector SecularState(const SecularElements& secular, double jd) {
  const double dt = jd - secular.elements.epochJd;
  KeplerElements at = secular.elements;
  at.epochJd = jd;
  at.nodeRad += secular.nodeRateRadPerDay * dt;
  const double perihelionArgumentRate = secular.perihelionRateRadPerDay - secular.nodeRateRadPerDay;
  at.perihelionArgumentRad += perihelionArgumentRate * dt;
  const double meanAnomalyRate = secular.meanMotionRadPerDay - secular.perihelionRateRadPerDay;
  at.meanAnomalyRad += meanAnomalyRate * dt;
  const double unclamped = at.eccentricity + secular.eccentricityRatePerDay * dt;
  at.eccentricity = std::clamp(unclamped, 0.0, 0.99);
  const double eccentricityRate =
      at.eccentricity == unclamped ? secular.eccentricityRatePerDay : 0.0;
  at.inclinationRad += secular.inclinationRateRadPerDay * dt;

  // The place on the ellipse of the moment and its rate: the mean anomaly's and the
  // eccentricity's through the eccentric anomaly and the ellipse's shape, then the turning of the
  // node (about the ecliptic's pole), of the perihelion (about the orbit's pole) and of the
  // inclination (about the line of nodes).
  const double a = at.semiMajorAxisAu, ecc = at.eccentricity;
  const double bigE = SolveKepler(at.meanAnomalyRad, ecc);
  const double cosE = std::cos(bigE), sinE = std::sin(bigE);
  const double root = std::sqrt(1.0 - ecc * ecc);
  const double eRate = (meanAnomalyRate + sinE * eccentricityRate) / (1.0 - ecc * cosE);
  const PerifocalAxes axes = AxesOf(at);
  StateVector s;
  s.position = axes.p * (a * (cosE - ecc)) + axes.q * (a * root * sinE);
  s.velocity = axes.p * (-a * (sinE * eRate + eccentricityRate)) +
               axes.q * (a * (root * cosE * eRate - ecc / root * sinE * eccentricityRate));
  const double cn = std::cos(at.nodeRad), sn = std::sin(at.nodeRad);
  const double ci = std::cos(at.inclinationRad), si = std::sin(at.inclinationRad);
  const Vector3 pole{0.0, 0.0, 1.0}, orbitPole{sn * si, -cn * si, ci}, nodeLine{cn, sn, 0.0};
  s.velocity += Cross(pole, s.position) * secular.nodeRateRadPerDay +
                Cross(orbitPole, s.position) * perihelionArgumentRate +
                Cross(nodeLine, s.position) * secular.inclinationRateRadPerDay;
  return s;
}

Vector3 SecularPosition(const SecularElements& secular, double jd) {
  return SecularState(secular, jd).position;
}

KeplerElements ElementsFromState(const StateVector& state, double gm, double epochJd) {
  const Vector3& r = state.position;
  const Vector3& v = state.velocity;
  const double rLen = r.Length();
  const Vector3 h = Cross(r, v);
  const double hLen = h.Length();
  KeplerElements el;
  el.epochJd = epochJd;
  el.gm = gm;
  el.inclinationRad = std::atan2(std::hypot(h.x, h.y), h.z);
  el.nodeRad = std::hypot(h.x, h.y) > 1e-15 * hLen ? std::atan2(h.x, -h.y) : 0.0;
  const Vector3 nodeDir{std::cos(el.nodeRad), std::sin(el.nodeRad), 0.0};
  const Vector3 hUnit = h / hLen;
  const Vector3 inPlane = Cross(hUnit, nodeDir);  // 90 degrees past the node, in the plane
  const double u = std::atan2(Dot(r, inPlane), Dot(r, nodeDir));  // argument of latitude

  const Vector3 eVec = Cross(v, h) / gm - r / rLen;
  double ecc = eVec.Length();
  const Vector3 rUnit = r / rLen;
  // The perihelion lies -nu from the body along the motion: nu is the true anomaly.
  double nu = -std::atan2(Dot(eVec, Cross(hUnit, rUnit)), Dot(eVec, rUnit));
  if (ecc > kMaxEccentricity) ecc = kMaxEccentricity;
  el.eccentricity = ecc;
  double a = 1.0 / (2.0 / rLen - Dot(v, v) / gm);
  if (!(a > 0.0)) a = hLen * hLen / gm / (1.0 - ecc * ecc);  // unbound: keep the latus rectum
  el.semiMajorAxisAu = a;
  el.perihelionArgumentRad = u - nu;
  const double bigE = std::atan2(std::sqrt(1.0 - ecc * ecc) * std::sin(nu), ecc + std::cos(nu));
  el.meanAnomalyRad = bigE - ecc * std::sin(bigE);
  return el;
}

}  // namespace minor
