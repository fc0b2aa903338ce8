// The page model of the statistics parameters dialog: which controls each analysis kind enables,
// what its object lists hold, and the check of its OK.
#pragma once

#include <string>
#include <vector>

#include "foundation/config/configuration.h"

class ChartContext;

struct StatEnabling {
  bool planet2 = false;       // the second object list
  bool aspectSystem = false;  // the aspect-system list
  bool minorAspects = false;  // "Учитывать минорные аспекты"
  bool planetSet = false;     // the three planet-set radios
  bool nodes = false;         // "Включая Лунные узлы"
  bool operator==(const StatEnabling&) const = default;
};

// Kind 4 the second list, the system and the minor aspects; kind 5 all but the second list; kind 6
// the planet set and the nodes; kinds 0 to 3 none of them.
StatEnabling StatEnablingOf(int kind);

// The first object list of a kind (code page 1251): the 30 chart points (kinds 0, 1, 2), the 12
// house cusps (kind 3), the points then the cusps (kinds 4, 5), the 12 signs then the 12 houses
// (kind 6).
std::vector<std::string> StatObjectNames(int kind);
// The second object list: the points then the cusps.
std::vector<std::string> StatSecondObjectNames();
// The stored selection when it lies in a list of `size` entries, else the first entry.
int StatListSelection(int stored, int size);

// The check of the dialog's OK: 0, or message 59 when kind 4 or 5 names an aspect system that
// `context` does not hold.
int CheckStatParams(const cfg::StatisticsRecord& record, const ChartContext& context);
