// The table of ascendants by latitude and sidereal time, computed once at start for the obliquity
// of the epoch: a fast look-up of the degree rising at a latitude and local sidereal time, for the
// searches that try many moments or places.
#pragma once

#include <vector>

class AscendantTable {
 public:
  static constexpr int kLatitudeStepsPerDegree = 1;  // rows every degree of latitude
  static constexpr double kMaxLatitude = 66.0;       // the table covers -66..66 degrees
  static constexpr int kSiderealStepsPerHour = 15;   // columns every 4 minutes of sidereal time

  // Computes the table for a true obliquity (degrees).
  void Compute(double obliquityDeg);
  bool Empty() const { return values_.empty(); }
  double ObliquityDeg() const { return obliquityDeg_; }

  // The Ascendant (degrees, [0, 360)) at a geographic latitude (-66..66, clamped) and a local
  // sidereal time in hours (any value, taken modulo 24), interpolated between the table's nodes
  // on the shorter arc. -777.0 while the table is empty.
  double Lookup(double latitudeDeg, double siderealHours) const;

 private:
  double At(int row, int column) const;
  int rows_ = 0;
  int columns_ = 0;
  double obliquityDeg_ = 0.0;
  std::vector<double> values_;
};
