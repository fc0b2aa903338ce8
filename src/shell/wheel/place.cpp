#include "shell/wheel/place.h"

#include <algorithm>
#include <numeric>

#include "foundation/numbers/angles.h"

namespace {

// A run of neighbouring glyphs drawn `spacing` apart, centred on the mean of their true angles.
struct Crowd {
  int first = 0;  // index into the order along the circle
  int count = 0;
  double sum = 0.0;  // of the true angles (unrolled from the cut)
  double Start(double spacing) const { return sum / count - (count - 1) * spacing / 2.0; }
  double End(double spacing) const { return sum / count + (count - 1) * spacing / 2.0; }
};

// Merges neighbouring crowds while one reaches closer than `spacing` to the next.
std::vector<Crowd> MergeCrowds(const std::vector<double>& angles, double spacing) {
  std::vector<Crowd> crowds;
  for (int i = 0; i < static_cast<int>(angles.size()); ++i) {
    crowds.push_back({i, 1, angles[static_cast<std::size_t>(i)]});
    // A merged crowd grows both ways, so it may now reach the crowd before it too.
    while (crowds.size() > 1) {
      Crowd& last = crowds.back();
      Crowd& before = crowds[crowds.size() - 2];
      if (last.Start(spacing) - before.End(spacing) >= spacing - 1e-9) break;
      before.count += last.count;
      before.sum += last.sum;
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

double PLACE::Spread(double spacing) {
  const int n = Count();
  if (n == 0) return spacing;
  if (spacing * n > 360.0) spacing = 360.0 / n;
  if (n == 1) {
    placed_[0] = true_[0];
    return spacing;
  }

  // The order along the circle, cut after the widest gap.
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return true_[static_cast<std::size_t>(a)] < true_[static_cast<std::size_t>(b)];
  });
  int cut = 0;  // the position in `order` that starts the unrolled run
  double widest = -1.0;
  for (int k = 0; k < n; ++k) {
    const double here = true_[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
    const double next = true_[static_cast<std::size_t>(order[static_cast<std::size_t>((k + 1) % n)])];
    const double gap = k + 1 < n ? next - here : next + 360.0 - here;
    if (gap > widest) {
      widest = gap;
      cut = (k + 1) % n;
    }
  }
  std::rotate(order.begin(), order.begin() + cut, order.end());
  std::vector<double> unrolled(static_cast<std::size_t>(n));
  const double base = true_[static_cast<std::size_t>(order[0])];
  for (int k = 0; k < n; ++k) {
    double a = true_[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
    if (a < base) a += 360.0;
    unrolled[static_cast<std::size_t>(k)] = a;
  }

  std::vector<Crowd> crowds = MergeCrowds(unrolled, spacing);
  // The two ends meet again across the cut: when they come too close, all glyphs form one crowd,
  // which spans (n - 1) x spacing and so leaves at least one spacing across the cut.
  if (crowds.size() > 1 &&
      crowds.front().Start(spacing) + 360.0 - crowds.back().End(spacing) < spacing - 1e-9) {
    crowds.assign(1, Crowd{0, n, std::accumulate(unrolled.begin(), unrolled.end(), 0.0)});
  }
  for (const Crowd& crowd : crowds) {
    const double start = crowd.Start(spacing);
    for (int j = 0; j < crowd.count; ++j) {
      const int glyph = order[static_cast<std::size_t>(crowd.first + j)];
      placed_[static_cast<std::size_t>(glyph)] = NormalizeDegrees(start + j * spacing);
    }
  }
  return spacing;
}
