#include "astro/ephemeris/minor/conventional_points.h"

#include <array>
#include <cmath>
#include <numbers>

#include "astro/ephemeris/earth_orientation.h"
#include "astro/ephemeris/minor/kepler_orbit.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/numbers/angles.h"

namespace minor {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kLightAuPerDay = 173.1446326846693;

// Elements of the eight hypothetical points, epoch 1900 January 0.5 (JD 2415020.0), referred to
// the mean ecliptic and equinox of that epoch; mean motion from Kepler's third law about the Sun.
struct HypotheticalElements {
  int point;
  double meanAnomalyDeg, semiMajorAxisAu, eccentricity, perihelionArgumentDeg, nodeDeg,
      inclinationDeg;
};
constexpr std::array<HypotheticalElements, 8> kHypothetical = {{
    {22, 163.7409, 40.99837, 0.00460, 171.4333, 129.8325, 1.0833},  // Cupido
    {23, 27.6496, 50.66744, 0.00245, 148.1796, 161.3339, 1.0500},   // Hades
    {24, 165.1232, 59.21436, 0.00120, 299.0440, 0.0, 0.0},          // Zeus
    {25, 169.0193, 64.81690, 0.00305, 208.8801, 0.0, 0.0},          // Kronos
    {26, 138.0533, 70.29949, 0.0, 0.0, 0.0, 0.0},                   // Apollon
    {27, 351.3350, 73.62765, 0.0, 0.0, 0.0, 0.0},                   // Admetos
    {28, 55.8983, 77.25568, 0.0, 0.0, 0.0, 0.0},                    // Vulkanus
    {29, 165.5163, 83.66907, 0.0, 0.0, 0.0, 0.0},                   // Poseidon
}};

// Proserpina: circular orbit in the ecliptic, mean longitude 170.73 degrees at JD 2415020.0
// counted from the mean equinox of date, mean motion from Kepler's third law.
constexpr double kProserpinaLongitudeDeg = 170.73;
constexpr double kProserpinaAxisAu = 79.225630;

// White Moon: geocentric circular motion with mean longitude 242.2205555 degrees at J2000.0 from
// the mean equinox of date, at 0.05279142865925 au about the Earth (mass of the Earth alone), a
// period of seven years.
constexpr double kWhiteMoonLongitudeDeg = 242.2205555;
constexpr double kWhiteMoonAxisAu = 0.05279142865925;
constexpr double kSunOverEarthMass = 332946.0;  // IAU 1976 constants

Vector3 OfDateToJ2000(const Vector3& v, double jdTt) {
  return PrecessionFromJ2000(JdTt{jdTt}).Transposed() * v;
}

// The White Moon's mean motion, degrees per day.
double WhiteMoonRateDeg() {
  const double gm = kSunGm / kSunOverEarthMass;
  return std::sqrt(gm / (kWhiteMoonAxisAu * kWhiteMoonAxisAu * kWhiteMoonAxisAu)) / kDeg;
}

}  // namespace

bool ConventionalHeliocentric(int point, double jdTt, Vector3& positionAuJ2000) {
  if (point == 20) {
    const double n = std::sqrt(kSunGm / std::pow(kProserpinaAxisAu, 3));
    const double l = kProserpinaLongitudeDeg * kDeg + n * (jdTt - kJ1900);
    const Vector3 ofDate{kProserpinaAxisAu * std::cos(l), kProserpinaAxisAu * std::sin(l), 0.0};
    positionAuJ2000 = OfDateToJ2000(ofDate, jdTt);
    return true;
  }
  Vector3 velocity;
  return HypotheticalHeliocentricState(point, jdTt, positionAuJ2000, velocity);
}

bool HypotheticalHeliocentricState(int point, double jdTt, Vector3& positionAuJ2000,
                                   Vector3& velocityAuPerDay) {
  // Each point's elements and its orbit's axes carried from the frame of the elements (the
  // ecliptic and equinox of 1900) onto the J2000 ones, made once.
  struct Orbit {
    KeplerElements elements;
    PerifocalAxes axesJ2000;
  };
  static const std::array<Orbit, kHypothetical.size()> orbits = [] {
    const Matrix3 toJ2000 = PrecessionFromJ2000(JdTt{kJ1900}).Transposed();
    std::array<Orbit, kHypothetical.size()> out;
    for (std::size_t i = 0; i < kHypothetical.size(); ++i) {
      const HypotheticalElements& h = kHypothetical[i];
      const KeplerElements& el = out[i].elements =
          ElementsFromDegrees(kJ1900, h.semiMajorAxisAu, h.eccentricity, h.inclinationDeg,
                              h.nodeDeg, h.perihelionArgumentDeg, h.meanAnomalyDeg);
      const PerifocalAxes axes = AxesOf(el);
      out[i].axesJ2000 = PerifocalAxes{toJ2000 * axes.p, toJ2000 * axes.q};
    }
    return out;
  }();
  for (std::size_t i = 0; i < kHypothetical.size(); ++i) {
    if (kHypothetical[i].point != point) continue;
    const StateVector state = StateFromElements(orbits[i].elements, orbits[i].axesJ2000, jdTt);
    positionAuJ2000 = state.position;
    velocityAuPerDay = state.velocity;
    return true;
  }
  return false;
}

PointPosition WhiteMoonApparent(double jdTt) {
  DateFrame frame;
  frame.nutationDeg = NutationAt(JdTt{jdTt}, frame.nutationRateDegPerDay).longitudeDeg;
  return WhiteMoonApparent(jdTt, frame);
}

PointPosition WhiteMoonApparent(double jdTt, const DateFrame& frame) {
  const double lightTime = kWhiteMoonAxisAu / kLightAuPerDay;
  const double rate = WhiteMoonRateDeg();
  PointPosition p;
  p.longitude =
      Wrap360(kWhiteMoonLongitudeDeg + rate * (jdTt - lightTime - kJ2000) + frame.nutationDeg);
  p.speed = rate + frame.nutationRateDegPerDay;
  return p;
}

}  // namespace minor
