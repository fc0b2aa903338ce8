// The town list of the entry dialogs: the towns whose names begin with what the user has typed,
// and the place that a chosen town gives.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/atlas/towns.h"
#include "foundation/datetime/ftime.h"
#include "foundation/datetime/moment.h"
#include "foundation/datetime/place.h"
#include "foundation/datetime/source.h"

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
// zone field holds (at most kMaxZoneHours either way, those only whole); false (zone unchanged)
// otherwise.
bool ZoneOfTown(const TOWNS& towns, int town, FTimeCor& zone);

// Where the zone of a town at a moment came from.
enum class TownZone {
  None,          // not known: the zone is unchanged
  AtMoment,      // the tz database's offset of the town's zone at that moment
  Skipped,       // the same, for a local time the clocks skipped (the offset before the change)
  Repeated,      // the same, for a local time the clocks repeated (its first occurrence)
  StandardOnly,  // the atlas's standard zone of today: no database knows the town's zone
  BeyondField,   // the database's offset is more than a chart's zone holds: the zone is unchanged
};

// Sets `zone` to the offset town `town`'s tz zone had at the moment `local` of the town's clock,
// summer time and local mean time included, from the installed tz database; failing that, to the
// atlas's standard zone (ZoneOfTown). Only an offset a chart's zone field holds is given (up to
// kMaxZoneHours: the tz database's offsets reach 14 hours, local mean time almost 16).
TownZone ZoneOfTownAt(const TOWNS& towns, int town, const Moment& local, FTimeCor& zone);

// The town of the atlas whose name and coordinates (to the minute) are `place`'s; -1 when
// there is none.
int FindAtlasTown(const TOWNS& towns, const Place& place);

// When `source`'s place is a town of the atlas whose tz zone the installed database knows,
// re-expresses its instant on the clock that town had then (the zone of that instant) and
// returns true; otherwise leaves `source` unchanged and returns false.
bool MoveToTownClock(const TOWNS& towns, Source& source);

// The tz database's abbreviation of the zone `source`'s place kept at `source`'s instant
// ("EEST", "MSD", "LMT") when the place is a town of the atlas whose zone the installed database
// knows, that zone had `source`'s offset then and the abbreviation is letters (some zones have
// only digits, "+03"); empty otherwise. A name is never guessed from the offset alone.
std::string TownZoneAbbreviation(const TOWNS& towns, const Source& source);
