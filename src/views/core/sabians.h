// The Sabian symbols: a text for each of the 360 degrees of the zodiac, kept in "velm.sab" (360
// texts in code page 1251, each ended by a NUL byte), and the list of the symbols of a chart's
// chosen bodies and house cusps.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/status.h"

class Chart;
class Configuration;

inline constexpr int kSabianHelpContext = 131267;
inline constexpr int kSabianCount = 360;

class ALL_SABIANS {
 public:
  // Reads the file: error 102 when it cannot be opened, 103 when it cannot be read; the texts
  // stay empty and the list not loaded.
  Status Load(const std::filesystem::path& file);
  // Splits 360 NUL-ended texts from `bytes`; a buffer with fewer leaves the rest empty.
  void Decode(std::string_view bytes);
  bool Loaded() const { return loaded_; }
  // The symbol of degree index 0..359 (empty outside).
  const std::string& Text(int degree) const;
  void Free();

 private:
  std::array<std::string, kSabianCount> texts_;
  bool loaded_ = false;
};

// The view's settings block, every field brought into its range.
struct SabianChoice {
  int bodies = 2;  // 0 none, 1 the luminaries, 2 Sun..Pluto, 3 those shown on the chart, 4 all
  int houses = 2;  // 0 none, 1 Ascendant, 2 Ascendant and MC, 3 the angles, 4 all cusps
  int nodes = 0;
  int showEveryTime = 1;
  static SabianChoice Read(const Configuration& config);
  void Write(Configuration& config) const;
  friend bool operator==(const SabianChoice&, const SabianChoice&) = default;
};

// The degree index 0..359 of a longitude (its whole degree), -1 for an absent one.
int SabianDegree(double longitude);
// The list: "   <name>. <symbol>" a line (three blanks first), bodies 0..33 then the cusps, for
// those the choice takes and that have a longitude; message 80 when none is listed.
std::string SabianText(const Chart& chart, const SabianChoice& choice, const Configuration& config,
                       const ALL_SABIANS& sabians);

// The program's own file of the user's symbols, made from a text of 360 lines (UTF-8): each line
// the symbol of one degree, in order; the result in the file's form. Error 106 naming the line
// count when the text does not hold 360 lines, and a line that code page 1251 cannot hold.
Status MakeSabianFile(std::string_view utf8Lines, std::string& out);
