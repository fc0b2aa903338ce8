// The fixed table of 42 aspect configurations (grand trine, T-square, grand cross and the rest)
// that a configuration condition names by its row. The name of row r is message 800 + r.
#pragma once

#include <array>

struct ConfigurationRecord {
  static constexpr int kMaxMembers = 6;

  int members = 0;  // vertices, 3..6
  // Degrees, in the table's order: for three vertices first-second, first-third, second-third;
  // for more, each vertex to the next and the last back to the first. The rest are 0.
  std::array<double, kMaxMembers> angles{};
  int apex = 0;             // 1: the first vertex may be required to stand at the apex
  int withOppositions = 0;  // 1: the variant that must also hold its oppositions
};

inline constexpr int kConfigurationCount = 42;
inline constexpr int kMsgConfigurationName = 800;  // + row

using ConfigurationTable = std::array<ConfigurationRecord, kConfigurationCount>;

// Fills all 42 rows.
void BuildConfigurationTable(ConfigurationTable& table);
