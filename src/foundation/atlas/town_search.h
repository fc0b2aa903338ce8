// The town list of the entry dialogs: the towns whose names begin with what the user has typed,
// and the place that a chosen town gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/atlas/towns.h"
#include "foundation/datetime/ftime.h"
#include "foundation/datetime/place.h"

// At most this many towns are listed as the user types.
inline constexpr std::size_t kTownListLimit = 200;

struct TownListRow {
  int town = -1;     // number in the atlas
  std::string text;  // "name, region" (code page 1251)
};

// The towns whose names begin with `prefix` (letter case ignored, blanks around it dropped), in
// name order; nothing for an empty prefix.
std::vector<TownListRow> ListTowns(const TOWNS& towns, std::string_view prefix,
                                   std::size_t limit = kTownListLimit);

// Sets the place to town `town`'s coordinates and names; false (place unchanged) for a number
// the atlas does not hold.
bool PlaceOfTown(const TOWNS& towns, int town, Place& place);

// Sets `zone` to the standard zone the atlas gives town `town` when it knows one that a chart's
// zone field holds (at most 12 hours either way, 12 only whole); false (zone unchanged) otherwise.
bool ZoneOfTown(const TOWNS& towns, int town, FTimeCor& zone);
