#include "foundation/atlas/town_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/core/time_zones.h"

namespace {

constexpr int kMaxZoneMinutes = kMaxZoneHours * 60;
constexpr double kJulianDayOfUnixEpoch = 2440587.5;  // 1 January 1970 0:00
constexpr double kSecondsPerDay = 86400.0;

// Seconds since 1970-01-01 00:00 of a Julian day (on any clock), to the nearest second.
std::int64_t SecondsOfJulianDay(double julianDay) {
  return static_cast<std::int64_t>(
      std::llround((julianDay - kJulianDayOfUnixEpoch) * kSecondsPerDay));
}

// A zone correction of `seconds` east when a chart's zone field holds it.
std::optional<FTimeCor> CorrectionOf(int seconds) {
  const int size = std::abs(seconds);
  if (size > kMaxZoneMinutes * 60) return std::nullopt;
  FTimeCor zone;
  if (!zone.SetTime(size / 3600, size / 60 % 60, size % 60, seconds < 0 ? '-' : '+').ok())
    return std::nullopt;
  return zone;
}

// The name under which `database` knows town `town`'s tz zone; empty when it knows none.
std::string_view KnownTownZone(const platform::TimeZoneDatabase& database, const TOWNS& towns,
                               int town) {
  return platform::KnownZoneName(database, towns.GetTownZoneName(town));
}

// The zone `source`'s place keeps as a town of the atlas whose zone `database` knows; empty when
// the place is no such town.
std::string_view SourceTownZone(const platform::TimeZoneDatabase& database, const TOWNS& towns,
                                const Source& source) {
  const int town = FindAtlasTown(towns, source.place);
  return town < 0 ? std::string_view() : KnownTownZone(database, towns, town);
}

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
  const std::optional<FTimeCor> known = CorrectionOf(minutes * 60);
  if (!known) return false;
  zone = *known;
  return true;
}

TownZone ZoneOfTownAt(const TOWNS& towns, int town, const Moment& local, FTimeCor& zone) {
  const platform::TimeZoneDatabase* database = platform::GetTimeZoneDatabase();
  const std::string_view name =
      database != nullptr ? KnownTownZone(*database, towns, town) : std::string_view();
  if (!name.empty()) {
    const std::optional<platform::LocalOffset> offset =
        platform::OffsetAtLocal(*database, name, SecondsOfJulianDay(local.JulianDay()));
    if (offset) {
      const std::optional<FTimeCor> correction = CorrectionOf(offset->seconds);
      if (!correction) return TownZone::BeyondField;
      zone = *correction;
      switch (offset->kind) {
        case platform::LocalTime::Skipped:
          return TownZone::Skipped;
        case platform::LocalTime::Repeated:
          return TownZone::Repeated;
        case platform::LocalTime::Ordinary:
          return TownZone::AtMoment;
      }
    }
  }
  return ZoneOfTown(towns, town, zone) ? TownZone::StandardOnly : TownZone::None;
}

int FindAtlasTown(const TOWNS& towns, const Place& place) {
  if (place.Town().empty()) return -1;
  for (const int i : towns.FindTownsByPrefix(place.Town())) {
    TownCoords c;
    if (!towns.GetTownCoords(i, c) || c.name != place.Town()) continue;
    if (c.latitudeDegrees == place.LatitudeDegrees() &&
        c.latitudeMinutes == place.LatitudeMinutes() &&
        (c.south ? 'S' : 'N') == place.LatitudeLetter() &&
        c.longitudeDegrees == place.LongitudeDegrees() &&
        c.longitudeMinutes == place.LongitudeMinutes() &&
        (c.west ? 'W' : 'E') == place.LongitudeLetter())
      return i;
  }
  return -1;
}

bool MoveToTownClock(const TOWNS& towns, Source& source) {
  const platform::TimeZoneDatabase* database = platform::GetTimeZoneDatabase();
  if (database == nullptr) return false;
  const std::string_view name = SourceTownZone(*database, towns, source);
  const std::optional<int> offset =
      name.empty() ? std::nullopt
                   : database->OffsetAtUtc(name, SecondsOfJulianDay(UniversalJulianDay(source)));
  if (!offset) return false;
  const std::optional<FTimeCor> correction = CorrectionOf(*offset);
  if (!correction) return false;
  Source clock = source;
  clock.zone = *correction;
  Source moved = source;
  if (!moved.ConvertToZoneOf(clock).ok()) return false;
  source = moved;
  return true;
}

std::string TownZoneAbbreviation(const TOWNS& towns, const Source& source) {
  const platform::TimeZoneDatabase* database = platform::GetTimeZoneDatabase();
  if (database == nullptr) return {};
  const std::string_view name = SourceTownZone(*database, towns, source);
  if (name.empty()) return {};
  const std::int64_t instant = SecondsOfJulianDay(UniversalJulianDay(source));
  // A zone other than the one the town kept then (typed over the pick) is not that zone's.
  const std::optional<int> offset = database->OffsetAtUtc(name, instant);
  const int typed = (source.zone.Sign() == '-' ? -1 : 1) * source.zone.SecondsOfDay();
  if (!offset || *offset != typed) return {};
  std::optional<std::string> abbreviation = database->AbbreviationAtUtc(name, instant);
  if (!abbreviation || abbreviation->empty() ||
      !std::all_of(abbreviation->begin(), abbreviation->end(),
                   [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
    return {};
  return *std::move(abbreviation);
}
