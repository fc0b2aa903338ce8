#include "platform/core/time_zones.h"

namespace platform {

namespace {

const TimeZoneDatabase* g_database = nullptr;

constexpr std::int64_t kDaySeconds = 86400;

}  // namespace

const TimeZoneDatabase* GetTimeZoneDatabase() { return g_database; }

void SetTimeZoneDatabase(const TimeZoneDatabase* database) { g_database = database; }

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
