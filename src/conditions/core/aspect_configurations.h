// The 42 aspect configurations that a CONF condition (kind 7) asks for: figures of aspects among
// three to six planets or house cusps, such as a grand trine or a T-square. Row r is named by
// catalogue message 800 + r.
#pragma once

#include <array>

inline constexpr int kConfigurationCount = 42;

struct AspectConfiguration {
  int members = 0;                 // 3 to 6
  std::array<double, 6> angles{};  // degrees, in the figure's order; the rest 0
  int apex = 0;                    // 1: the figure has an apex ("в вершине" is offered)
  int withOppositions = 0;         // 1: the variant that must hold its oppositions as well
};

using ConfigurationTable = std::array<AspectConfiguration, kConfigurationCount>;

// Fills all 42 rows. The angles of a row need not close the figure: row 40 (150-135-72) sums to
// 357 degrees and is kept as it is.
void BuildConfigurationTable(ConfigurationTable& table);
