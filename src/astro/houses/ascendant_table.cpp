#include "astro/houses/ascendant_table.h"

#include <algorithm>
#include <cmath>

#include "astro/houses/angles.h"
#include "foundation/numbers/angles.h"

void AscendantTable::Compute(double obliquityDeg) {
  obliquityDeg_ = obliquityDeg;
  rows_ = static_cast<int>(2 * kMaxLatitude) * kLatitudeStepsPerDegree + 1;
  columns_ = 24 * kSiderealStepsPerHour;  // the last column wraps to the first
  values_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), 0.0);
  for (int r = 0; r < rows_; ++r) {
    const double latitude = -kMaxLatitude + static_cast<double>(r) / kLatitudeStepsPerDegree;
    for (int c = 0; c < columns_; ++c) {
      const double armc = 360.0 * c / columns_;
      values_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
              static_cast<std::size_t>(c)] = AscendantDeg(armc, latitude, obliquityDeg);
    }
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
