// Two-body (Keplerian) motion: elliptic elements to state and back.
#pragma once

#include "astro/ephemeris/vector3.h"

namespace minor {

// Gaussian gravitational constant squared: GM of the Sun in au^3 / day^2.
inline constexpr double kGaussK = 0.01720209895;
inline constexpr double kSunGm = kGaussK * kGaussK;

struct StateVector {
  Vector3 position;  // au
  Vector3 velocity;  // au per day
};

// Elliptic osculating elements at `epochJd`; angles in radians, in whatever frame the caller
// states. `gm` is the attracting mass in au^3 / day^2.
struct KeplerElements {
  double epochJd = 0.0;
  double gm = kSunGm;
  double semiMajorAxisAu = 1.0;
  double eccentricity = 0.0;
  double inclinationRad = 0.0;
  double nodeRad = 0.0;
  double perihelionArgumentRad = 0.0;
  double meanAnomalyRad = 0.0;

  double MeanMotionRadPerDay() const;
};

// Elements about the Sun from their angles in degrees.
KeplerElements ElementsFromDegrees(double epochJd, double semiMajorAxisAu, double eccentricity,
                                   double inclinationDeg, double nodeDeg,
                                   double perihelionArgumentDeg, double meanAnomalyDeg);

// Mean elements with secular rates: an ellipse whose node and perihelion turn, whose eccentricity
// and inclination change, at constant rates, and whose mean anomaly advances at a fitted mean
// motion (not the one Kepler's third law gives for the semi-major axis), so that two-body motion
// follows a body's long-term course.
struct SecularElements {
  KeplerElements elements;               // at elements.epochJd
  double meanMotionRadPerDay = 0.0;      // rate of the mean longitude (node + perihelion + anomaly)
  double nodeRateRadPerDay = 0.0;        // rate of the node
  double perihelionRateRadPerDay = 0.0;  // rate of the longitude of the perihelion (node + arg.)
  double eccentricityRatePerDay = 0.0;
  double inclinationRateRadPerDay = 0.0;
};

// Eccentric anomaly E of E - e sin E = M (radians), 0 <= e < 1.
double SolveKepler(double meanAnomalyRad, double eccentricity);

// The directions of the perihelion and of the point 90 degrees on along the motion, in the frame of
// the elements.
struct PerifocalAxes {
  Vector3 p, q;
};
PerifocalAxes AxesOf(const KeplerElements& elements);

// The two-body state at `jd` (the second form with the elements' axes, or any rotation of them:
// the state is then in the rotated frame).
StateVector StateFromElements(const KeplerElements& elements, double jd);
StateVector StateFromElements(const KeplerElements& elements, const PerifocalAxes& axes, double jd);

// The position on the ellipse of `secular` at `jd`, and the state: the velocity is the rate of
// that position, with the rates of the elements.
Vector3 SecularPosition(const SecularElements& secular, double jd);
StateVector SecularState(const SecularElements& secular, double jd);

// Osculating elements of `state` at `epochJd`. Orbits that are not bound ellipses (which none of
// the bodies here reach) are clamped to eccentricity 0.999 so that results stay finite.
KeplerElements ElementsFromState(const StateVector& state, double gm, double epochJd);

}  // namespace minor
