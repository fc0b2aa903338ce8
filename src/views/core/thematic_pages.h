// The page models of the thematic chart dialogs: the kind, the bodies, the angular house and the
// direction (DTemat), and the arbitrary point (DEnterPoint).
#pragma once

#include <string>
#include <vector>

#include "astro/chart/derived_charts.h"

class Chart;
class Configuration;

inline constexpr int kThematicArbitrary = 30;

class TematPage {
 public:
  static TematPage Read(const Configuration& config);
  void Write(Configuration& config) const;

  const ThematicChoice& Choice() const { return choice_; }
  ThematicChoice& Choice() { return choice_; }

  // The thirty bodies and the arbitrary point; the thirty bodies of the second planet.
  static std::vector<std::string> PlanetNames();
  static std::vector<std::string> SecondPlanetNames();
  // The houses offered: I, IV, VII, X for the real chart, all twelve otherwise.
  std::vector<std::string> HouseNames() const;
  // The house shown (a stored index beyond the angular houses shows the first).
  int HouseIndex() const;
  // Choosing a kind: the house list is refilled and its first house chosen.
  void SetKind(int kind);
  bool SecondPlanetEnabled() const { return choice_.kind == 2; }
  bool HouseEnabled() const { return choice_.kind != 2; }
  bool NeedsPoint() const { return choice_.planet == kThematicArbitrary; }

  // 0 when OK may go on to the point and close, else the message to show (489, 490, 491).
  int CheckOk(const Chart& chart) const;

 private:
  ThematicChoice choice_;
};

// The arbitrary point in minutes of arc: sign, degrees and minutes.
struct EnterPointPage {
  int sign = 0, degrees = 0, minutes = 0;
  static EnterPointPage FromPoint(int point);
  int ToPoint() const { return (sign * 30 + degrees) * 60 + minutes; }
  // 0 when the point exists, else 778.
  int CheckOk() const;
};
