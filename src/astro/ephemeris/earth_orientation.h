// Obliquity, nutation (IAU 2000B) and precession (IAU 2006) for a moment of TT.
#pragma once

#include "astro/ephemeris/time_scales.h"
#include "astro/ephemeris/vector3.h"

struct Matrix3 {
  double m[3][3];
  Vector3 operator*(const Vector3& v) const {
    return Vector3{m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
                   m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                   m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  Matrix3 operator*(const Matrix3& o) const;
  Matrix3 operator+(const Matrix3& o) const;
  Matrix3 operator*(double k) const;
  Matrix3 Transposed() const;
};
// Rotations of the frame (not of the vector) by `rad` about the x and z axes.
Matrix3 RotationX(double rad);
Matrix3 RotationZ(double rad);

// Mean obliquity of the ecliptic (IAU 2006) in degrees.
double MeanObliquityDeg(JdTt tt);

// Nutation in longitude and in obliquity, degrees (IAU 2000B: 77 luni-solar terms and the fixed
// offset for the planetary terms, McCarthy & Luzum 2003).
struct Nutation {
  double longitudeDeg, obliquityDeg;
};
Nutation NutationAt(JdTt tt);
// The same with the rate of the nutation in longitude, degrees per day (the derivative of the
// terms).
Nutation NutationAt(JdTt tt, double& longitudeRateDegPerDay);

// Complementary terms of the equation of the equinoxes (IERS 2003), degrees.
double EquationOfEquinoxesComplementaryDeg(JdTt tt);

// Precession angles of the ecliptic (IAU 2006, Capitaine et al. 2003), radians: inclination of
// the ecliptic of date on the J2000 ecliptic (piA), longitude of its node on the J2000 ecliptic
// (bigPiA) and general precession in longitude (pA).
struct EclipticPrecession {
  double piA, bigPiA, pA;
};
EclipticPrecession EclipticPrecessionAt(JdTt tt);
// Rotation from the ecliptic and equinox J2000 to the mean ecliptic and equinox of date.
Matrix3 PrecessionFromJ2000(JdTt tt);
// Its derivative, per day (the derivative of the angles' polynomials).
Matrix3 PrecessionRateFromJ2000(JdTt tt);

// What turns a direction of the ecliptic and equinox J2000 into the ecliptic of date at a moment,
// with the rates that turn a direction's rate into the rate of its longitude of date.
struct DateFrame {
  Matrix3 precession, precessionRate;  // PrecessionFromJ2000 and its rate per day
  double nutationDeg = 0.0, nutationRateDegPerDay = 0.0;  // in longitude
};
DateFrame DateFrameAt(JdTt tt);
