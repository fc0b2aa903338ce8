// The page model of the aspect-table configuration dialog: the configuration fields that the
// aspect table, the midpoint table and the midpoint aspects read, copied in before the dialog runs
// and back after OK, and the rule for the midpoint aspect-system name.
#pragma once

#include <array>
#include <string>
#include <vector>

class Configuration;

namespace tables {

struct AspTableConfigModel {
  static constexpr int kPoints = 40;
  static constexpr int kSystemNameLength = 8;

  // Cleared, the radio selections at -1, until LoadFrom.
  std::array<int, kPoints> switches{};
  int houseOrbGroup = 0;
  int cellMode = -1;
  int colourMode = -1;
  std::array<int, 3> tableWidths{};  // page layouts 0-1, 2, 3-4 (0.01 mm)
  std::array<int, 3> pageLayouts{};  // carried through unchanged
  int diagonalMode = -1;
  int midpointHighlight = -1;
  int onlyDisplayed = 0;
  int aspectsToHouses = 0;
  std::string systemName;  // the midpoint aspect system

  void LoadFrom(const Configuration& config);
  void StoreTo(Configuration& config) const;

  // OK's rule for the typed system name (cut to 8 characters): kept when a system of that name is
  // loaded; else the first loaded name, with `message` the two-line notice ("%s %s\n%s %s" of
  // messages 59 and 60); with no system loaded the typed text is kept. `loaded` in the order of
  // the set of systems.
  void AcceptSystemName(std::string typed, const std::vector<std::string>& loaded,
                        std::string& message);
};

}  // namespace tables
