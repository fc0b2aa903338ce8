// Rows of the reference tables (tests/fixtures/reference), read by the ephemeris tests.
#pragma once

#include <string>
#include <vector>

struct RefPosition {
  std::string id;  // row id: F fixed, A 1800-2200, B -1000..3000
  double jdTt;
  std::string body;  // "sun", "node_true", "apogee_mean", ...
  int point;
  double lonDeg, latDeg, speedDegPerDay;
};
std::vector<RefPosition> LoadReferencePositions();

struct RefInstant {
  std::string id;
  double jdUt, jdTt, deltaTSeconds, gastHours, trueObliquityDeg, meanObliquityDeg;
  double nutationLongitudeDeg, nutationObliquityDeg;
};
std::vector<RefInstant> LoadReferenceInstants();

// Years of a Julian day, for the ranges of the goals.
double ReferenceYear(double jd);
// |a - b| folded into 0..180 degrees, in arcseconds.
double ArcsecBetween(double aDeg, double bDeg);
