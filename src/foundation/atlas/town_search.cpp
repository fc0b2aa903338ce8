#include "foundation/atlas/town_search.h"

#include <cstdlib>

namespace {

constexpr int kMaxZoneMinutes = 12 * 60;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<TownListRow> ListTowns(const TOWNS& towns, std::string_view prefix, std::size_t limit) {
  std::vector<TownListRow> rows;
  const std::string_view typed = Trimmed(prefix);
  if (typed.empty()) return rows;
  for (int i : towns.FindTownsByPrefix(typed, limit)) {
    TownListRow row;
    row.town = i;
    row.text = std::string(towns.GetTownName(i));
    if (const std::string_view region = towns.GetTownRegion(i); !region.empty())
      row.text += ", " + std::string(region);
    rows.push_back(std::move(row));
  }
  return rows;
}

bool PlaceOfTown(const TOWNS& towns, int town, Place& place) {
  TownCoords c;
  if (!towns.GetTownCoords(town, c)) return false;
  return place
      .SetPlace(c.latitudeDegrees, c.latitudeMinutes, c.south ? 'S' : 'N', c.longitudeDegrees,
                c.longitudeMinutes, c.west ? 'W' : 'E', c.name, c.region)
      .ok();
}

bool ZoneOfTown(const TOWNS& towns, int town, FTimeCor& zone) {
  int minutes = 0;
  if (!towns.GetTownZone(town, minutes) || std::abs(minutes) > kMaxZoneMinutes) return false;
  FTimeCor known;
  const int size = std::abs(minutes);
  if (!known.SetTime(size / 60, size % 60, minutes < 0 ? '-' : '+').ok()) return false;
  zone = known;
  return true;
}
