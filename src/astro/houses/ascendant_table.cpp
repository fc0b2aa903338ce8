#include "astro/houses/ascendant_table.h"

#include <algorithm>
#include <cmath>

#include "astro/houses/angles.h"
#include "astro/houses/house_geometry.h"
#include "foundation/numbers/angles.h"

void AscendantTable::Compute(double obliquityDeg) {
  obliquityDeg_ = obliquityDeg;
  rows_ = static_cast<int>(2 * kMaxLatitude) * kLatitudeStepsPerDegree + 1;
  columns_ = 24 * kSiderealStepsPerHour;  // the last column wraps to the first
  values_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), 0.0);
  // Outside the polar circles the Ascendant is the degree of oblique ascension ARMC + 90 at the
  // latitude (AscendantDeg): the sines and cosines of each column's and of the obliquity are
  // computed once, each row's tangent once, and a cell costs one arc tangent.
  using house_geometry::kDeg;
  const double cosObliquity = std::cos(obliquityDeg * kDeg);
  const double sinObliquity = std::sin(obliquityDeg * kDeg);
  std::vector<double> sines(static_cast<std::size_t>(columns_)), cosines(sines.size());
  for (int c = 0; c < columns_; ++c) {
    const double h = (360.0 * c / columns_ + 90.0) * kDeg;
    sines[static_cast<std::size_t>(c)] = std::sin(h);
    cosines[static_cast<std::size_t>(c)] = std::cos(h) * cosObliquity;
  }
  const auto cell = [&](int row, int column) -> double& {
    return values_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                   static_cast<std::size_t>(column)];
  };
  // A southern latitude's row is the northern one half a day on, turned by half a circle
  // (negating both arguments of the arc tangent): rows are computed from the equator north.
  const int equator = rows_ / 2;
  for (int r = equator; r < rows_; ++r) {
    const double latitude = -kMaxLatitude + static_cast<double>(r) / kLatitudeStepsPerDegree;
    if (std::fabs(latitude) > 90.0 - std::fabs(obliquityDeg)) {
      for (int c = 0; c < columns_; ++c) {
        cell(r, c) = AscendantDeg(360.0 * c / columns_, latitude, obliquityDeg);
        cell(2 * equator - r, c) = AscendantDeg(360.0 * c / columns_, -latitude, obliquityDeg);
      }
      continue;
    }
    const double pole = std::tan(latitude * kDeg) * sinObliquity;
    for (int c = 0; c < columns_; ++c) {
      const std::size_t i = static_cast<std::size_t>(c);
      cell(r, c) = house_geometry::Norm360(std::atan2(sines[i], cosines[i] - pole) / kDeg);
    }
    if (r == equator) continue;
    for (int c = 0; c < columns_; ++c)
      cell(2 * equator - r, c) =
          house_geometry::Norm360(cell(r, (c + columns_ / 2) % columns_) + 180.0);
  }
}

double AscendantTable::At(int row, int column) const {
  return values_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                 static_cast<std::size_t>(column % columns_)];
}

double AscendantTable::Lookup(double latitudeDeg, double siderealHours) const {
  if (values_.empty() || !std::isfinite(latitudeDeg) || !std::isfinite(siderealHours))
    return kAbsent;
  const double rowPos = (std::clamp(latitudeDeg, -kMaxLatitude, kMaxLatitude) + kMaxLatitude) *
                        kLatitudeStepsPerDegree;
  double hours = std::fmod(siderealHours, 24.0);
  if (hours < 0.0) hours += 24.0;
  const double columnPos = hours * kSiderealStepsPerHour;
  const int r0 = std::min(static_cast<int>(rowPos), rows_ - 2);
  const int c0 = std::min(static_cast<int>(columnPos), columns_ - 1);
  const double fr = rowPos - r0, fc = columnPos - c0;
  // Interpolate on the circle: differences taken on the shorter arc from the first node.
  const double base = At(r0, c0);
  const auto offset = [base](double v) { return std::fmod(v - base + 540.0, 360.0) - 180.0; };
  const double v = base + (1 - fr) * fc * offset(At(r0, c0 + 1)) +
                   fr * (1 - fc) * offset(At(r0 + 1, c0)) + fr * fc * offset(At(r0 + 1, c0 + 1));
  return NormalizeDegrees(v);
}
