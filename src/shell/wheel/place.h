// Glyph placement on a ring of the wheel: glyphs whose true positions crowd are spread apart along
// the ring, keeping their order, so that neighbours stand at least a given angle apart; each
// crowd is centred on the mean of its members' true positions. The circle is cut at the widest
// gap between true positions, so a crowd never spreads across a cut it does not reach.
#pragma once

#include <vector>

class PLACE {
 public:
  // Adds a glyph at its true page angle (degrees, any value); returns its number.
  int Add(double angle);
  void Clear() { true_.clear(); placed_.clear(); }
  int Count() const { return static_cast<int>(true_.size()); }

  // Spreads the glyphs so that every two neighbours on the circle are at least `spacing` degrees
  // apart. A spacing that n glyphs cannot keep on the circle is lowered to 360 / n. Returns the
  // spacing kept.
  double Spread(double spacing);

  double TrueAngle(int i) const { return true_.at(static_cast<std::size_t>(i)); }
  // The angle glyph i is drawn at, in [0, 360).
  double PlacedAngle(int i) const { return placed_.at(static_cast<std::size_t>(i)); }
  // How far glyph i was moved from its true angle, in (-180, 180].
  double Shift(int i) const;

 private:
  std::vector<double> true_;    // in [0, 360)
  std::vector<double> placed_;  // in [0, 360)
};
