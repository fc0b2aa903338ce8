#include "shell/core/wheel/place.h"

#include <algorithm>
#include <numeric>

#include "foundation/numbers/angles.h"

namespace {

constexpr double kTolerance = 1e-9;

// A run of neighbouring glyphs drawn `spacing` apart, centred on the mean of their true angles.
struct Crowd {
  int first = 0;  // index into the order along the circle
  int count = 0;
  double sum = 0.0;      // of the true angles (unrolled from the cut)
  double spacing = 0.0;  // between the members
  double Mean() const { return sum / count; }
  double Start() const { return Mean() - (count - 1) * spacing / 2.0; }
  double End() const { return Mean() + (count - 1) * spacing / 2.0; }
};

// The even spacing a crowd needs: at least what the function asks at the middle of every pair of
// neighbours. The middles move as the spacing grows, so grow it until it holds for all of them.
double CrowdSpacing(Crowd crowd, const PLACE::SpacingAt& spacingAt, double largest) {
  if (crowd.count < 2) return 0.0;
  crowd.spacing = spacingAt(crowd.Mean());
  for (int round = 0; round < 50; ++round) {
    double needed = crowd.spacing;
    for (int k = 0; k + 1 < crowd.count; ++k)
      needed = std::max(needed, spacingAt(crowd.Start() + (k + 0.5) * crowd.spacing));
    if (needed <= crowd.spacing + kTolerance) return crowd.spacing;
    crowd.spacing = std::min(needed, largest);
  }
  return largest;
}

// Merges neighbouring crowds while one reaches closer to the next than the spacing their two
// facing members need.
std::vector<Crowd> MergeCrowds(const std::vector<double>& angles, const PLACE::SpacingAt& spacingAt,
                               double largest) {
  std::vector<Crowd> crowds;
  for (int i = 0; i < static_cast<int>(angles.size()); ++i) {
    crowds.push_back({i, 1, angles[static_cast<std::size_t>(i)], 0.0});
    // A merged crowd grows both ways, so it may now reach the crowd before it too.
    while (crowds.size() > 1) {
      Crowd& last = crowds.back();
      Crowd& before = crowds[crowds.size() - 2];
      const double gap = last.Start() - before.End();
      if (gap >= spacingAt((last.Start() + before.End()) / 2.0) - kTolerance) break;
      before.count += last.count;
      before.sum += last.sum;
      before.spacing = CrowdSpacing(before, spacingAt, largest);
      crowds.pop_back();
    }
  }
  return crowds;
}

}  // namespace

int PLACE::Add(double angle) {
  true_.push_back(NormalizeDegrees(angle));
  placed_.push_back(true_.back());
  return Count() - 1;
}

double PLACE::Shift(int i) const {
  double d = PlacedAngle(i) - TrueAngle(i);
  while (d > 180.0) d -= 360.0;
  while (d <= -180.0) d += 360.0;
  return d;
}

double PLACE::LargestSpacing(const SpacingAt& spacingAt) {
  double largest = 0.0;
  for (int k = 0; k < 4 * 360; ++k) largest = std::max(largest, spacingAt(k * 0.25));
  return largest;
}

double PLACE::Spread(double spacing) {
  const int n = Count();
  if (n > 0 && spacing * n > 360.0) spacing = 360.0 / n;
  SpreadWith([spacing](double) { return spacing; }, spacing);
  return spacing;
}

bool PLACE::Spread(const SpacingAt& spacingAt) {
  const double largest = LargestSpacing(spacingAt);
  if (largest * Count() > 360.0) {
    Spread(largest);
    return false;
  }
  SpreadWith(spacingAt, largest);
  return true;
}

void PLACE::SpreadWith(const SpacingAt& spacingAt, double largest) {
  const int n = Count();
  if (n == 0) return;
  if (n == 1) {
    placed_[0] = true_[0];
    return;
  }

  // The order along the circle, cut after the widest gap.
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return true_[static_cast<std::size_t>(a)] < true_[static_cast<std::size_t>(b)];
  });
  const auto trueAt = [&](int k) {
    return true_[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
  };
  int cut = 0;  // the position in `order` that starts the unrolled run
  double widest = -1.0;
  for (int k = 0; k < n; ++k) {
    const double gap = k + 1 < n ? trueAt(k + 1) - trueAt(k) : trueAt(0) + 360.0 - trueAt(k);
    if (gap > widest) {
      widest = gap;
      cut = (k + 1) % n;
    }
  }
  std::rotate(order.begin(), order.begin() + cut, order.end());
  std::vector<double> unrolled(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    double a = trueAt(k);
    if (a < trueAt(0)) a += 360.0;
    unrolled[static_cast<std::size_t>(k)] = a;
  }

  std::vector<Crowd> crowds = MergeCrowds(unrolled, spacingAt, largest);
  // The two ends meet again across the cut: when they come too close, all glyphs form one crowd
  // at the largest spacing, which spans (n - 1) x largest and so leaves at least that much across
  // the cut.
  if (crowds.size() > 1) {
    const double start = crowds.front().Start() + 360.0;
    const double end = crowds.back().End();
    if (start - end < spacingAt((start + end) / 2.0) - kTolerance) {
      crowds.assign(1,
                    Crowd{0, n, std::accumulate(unrolled.begin(), unrolled.end(), 0.0), largest});
    }
  }
  for (const Crowd& crowd : crowds) {
    for (int j = 0; j < crowd.count; ++j) {
      const int glyph = order[static_cast<std::size_t>(crowd.first + j)];
      placed_[static_cast<std::size_t>(glyph)] =
          NormalizeDegrees(crowd.Start() + j * crowd.spacing);
    }
  }
}
