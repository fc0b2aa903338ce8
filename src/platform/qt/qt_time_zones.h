// The system's tz database through QTimeZone, installed by the program for the cores.
#pragma once

#include "platform/core/time_zones.h"

namespace platform {

class QtTimeZoneDatabase final : public TimeZoneDatabase {
 public:
  std::optional<int> OffsetAtUtc(std::string_view zone, std::int64_t utcSeconds) const override;
  std::optional<std::string> AbbreviationAtUtc(std::string_view zone,
                                               std::int64_t utcSeconds) const override;
};

}  // namespace platform
