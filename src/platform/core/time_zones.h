// The tz database, for the layers that do not reach the system themselves: the offset and the
// abbreviation of a named zone ("Europe/Moscow") at an instant, and its offset at a moment of its
// local clock. The program installs the implementation that reads the system's database; tests
// install it too, or a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class TimeZoneDatabase {
 public:
  virtual ~TimeZoneDatabase() = default;
  // The offset east of Greenwich in seconds that zone `zone` had at `utcSeconds` (seconds since
  // 1970-01-01 00:00 UT, negative before), local mean time and summer time included; nothing for
  // a zone the database does not know.
  virtual std::optional<int> OffsetAtUtc(std::string_view zone, std::int64_t utcSeconds) const = 0;
  // The abbreviation the database gives zone `zone` at `utcSeconds` as it has it: "EEST", "MSD",
  // "LMT", or digits for a zone that has no letters ("+03"); nothing for a zone it does not know.
  virtual std::optional<std::string> AbbreviationAtUtc(std::string_view zone,
                                                       std::int64_t utcSeconds) const = 0;
};

// The name under which `database` knows zone `zone`: `zone` itself, else another name the zone
// goes by in an older or newer database (Europe/Kyiv and Europe/Kiev); empty when it knows none.
std::string_view KnownZoneName(const TimeZoneDatabase& database, std::string_view zone);

// The installed database; nullptr when none is.
const TimeZoneDatabase* GetTimeZoneDatabase();
void SetTimeZoneDatabase(const TimeZoneDatabase* database);

// What a moment of a zone's local clock was.
enum class LocalTime {
  Ordinary,
  Skipped,   // the clocks were put forward over it: the offset before the change is taken
  Repeated,  // the clocks were put back over it: its first occurrence (the offset before) is taken
};

struct LocalOffset {
  int seconds = 0;  // east of Greenwich
  LocalTime kind = LocalTime::Ordinary;
};

// The offset of zone `zone` at the moment `localSeconds` of its own clock (seconds since
// 1970-01-01 00:00 on that clock); nothing for a zone `database` does not know. Assumes no two
// changes of the zone's offset within a day of each other.
std::optional<LocalOffset> OffsetAtLocal(const TimeZoneDatabase& database, std::string_view zone,
                                         std::int64_t localSeconds);

}  // namespace platform
