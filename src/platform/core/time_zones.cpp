#include "platform/core/time_zones.h"

namespace platform {

namespace {

const TimeZoneDatabase* g_database = nullptr;

constexpr std::int64_t kDaySeconds = 86400;

// Other names of zones the atlas names, tried in order when the system's database does not know
// the atlas's name (its tzdata is older or newer than the atlas's, or keeps no old names): a zone
// renamed (Kiev became Kyiv in 2022, Godthab Nuuk in 2020), zones merged into another (Uzhgorod
// and Zaporozhye into Kyiv in 2022), and zones split from another whose clocks they kept until
// the split, so that an older database gives them right up to it: Ciudad_Juarez from Ojinaga
// (alike until November 2022), Coyhaique from Santiago (alike since 1947, until March 2025;
// Punta_Arenas parted from both in 2016). Only what the atlas needs: a short list, kept by hand
// from the tz database's `backward` file and the zones' histories.
struct ZoneAlias {
  std::string_view zone;
  std::string_view other;
};
constexpr ZoneAlias kZoneAliases[] = {
    {"Europe/Kyiv", "Europe/Kiev"},
    {"Europe/Kiev", "Europe/Kyiv"},
    {"Europe/Uzhgorod", "Europe/Kyiv"},
    {"Europe/Uzhgorod", "Europe/Kiev"},
    {"Europe/Zaporozhye", "Europe/Kyiv"},
    {"Europe/Zaporozhye", "Europe/Kiev"},
    {"America/Nuuk", "America/Godthab"},
    {"America/Godthab", "America/Nuuk"},
    {"America/Ciudad_Juarez", "America/Ojinaga"},
    {"America/Coyhaique", "America/Santiago"},
};

bool Knows(const TimeZoneDatabase& database, std::string_view zone) {
  return database.OffsetAtUtc(zone, 0).has_value();
}

}  // namespace

const TimeZoneDatabase* GetTimeZoneDatabase() { return g_database; }

void SetTimeZoneDatabase(const TimeZoneDatabase* database) { g_database = database; }

std::string_view KnownZoneName(const TimeZoneDatabase& database, std::string_view zone) {
  if (zone.empty()) return {};
  if (Knows(database, zone)) return zone;
  for (const ZoneAlias& alias : kZoneAliases) {
    if (alias.zone == zone && Knows(database, alias.other)) return alias.other;
  }
  return {};
}

std::optional<LocalOffset> OffsetAtLocal(const TimeZoneDatabase& database, std::string_view zone,
                                         std::int64_t localSeconds) {
  // The offsets a day before and a day after; a local moment has one of them, both (a repeated
  // hour) or neither (a skipped one).
  const std::optional<int> before = database.OffsetAtUtc(zone, localSeconds - kDaySeconds);
  const std::optional<int> after = database.OffsetAtUtc(zone, localSeconds + kDaySeconds);
  if (!before || !after) return std::nullopt;
  const auto holds = [&](int offset) {
    const std::optional<int> at = database.OffsetAtUtc(zone, localSeconds - offset);
    return at && *at == offset;
  };
  const bool beforeHolds = holds(*before);
  const bool afterHolds = *after != *before && holds(*after);
  if (beforeHolds && afterHolds) return LocalOffset{*before, LocalTime::Repeated};
  if (beforeHolds) return LocalOffset{*before, LocalTime::Ordinary};
  if (afterHolds) return LocalOffset{*after, LocalTime::Ordinary};
  return LocalOffset{*before, LocalTime::Skipped};
}

}  // namespace platform
