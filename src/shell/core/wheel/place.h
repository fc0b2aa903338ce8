// Glyph placement on a ring of the wheel: glyphs whose true positions crowd are spread apart along
// the ring, keeping their order, so that neighbours stand far enough apart; each crowd is centred
// on the mean of its members' true positions and spread evenly. The circle is cut at the widest
// gap between true positions, so a crowd never spreads across a cut it does not reach.
#pragma once

#include <functional>
#include <vector>

class PLACE {
 public:
  // The angle (degrees) that two neighbouring glyphs need between them when the middle between
  // them lies at a page angle: boxes side by side need their width at the top of the ring but
  // only their height at its sides.
  using SpacingAt = std::function<double(double angle)>;

  // Adds a glyph at its true page angle (degrees, any value); returns its number.
  int Add(double angle);
  void Clear() {
    true_.clear();
    placed_.clear();
  }
  int Count() const { return static_cast<int>(true_.size()); }

  // Spreads the glyphs so that every two neighbours on the circle are at least `spacing` degrees
  // apart. A spacing that n glyphs cannot keep on the circle is lowered to 360 / n. Returns the
  // spacing kept.
  double Spread(double spacing);
  // Spreads the glyphs so that every two neighbours are at least `spacingAt` their middle apart.
  // Returns false (and spreads them by Spread with the largest spacing the function asks for
  // anywhere) when the circle cannot hold the glyphs at that largest spacing.
  bool Spread(const SpacingAt& spacingAt);

  double TrueAngle(int i) const { return true_.at(static_cast<std::size_t>(i)); }
  // The angle glyph i is drawn at, in [0, 360).
  double PlacedAngle(int i) const { return placed_.at(static_cast<std::size_t>(i)); }
  // How far glyph i was moved from its true angle, in (-180, 180].
  double Shift(int i) const;

  // The largest spacing `spacingAt` asks for round the circle (sampled every quarter degree).
  static double LargestSpacing(const SpacingAt& spacingAt);

 private:
  // Spreads with `spacingAt`, taking `largest` as its maximum (n x largest <= 360).
  void SpreadWith(const SpacingAt& spacingAt, double largest);

  std::vector<double> true_;    // in [0, 360)
  std::vector<double> placed_;  // in [0, 360)
};
