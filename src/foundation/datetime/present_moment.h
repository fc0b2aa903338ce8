// The present moment as the computer's clock and zone give it, for charts "of now". The clock is
// a function so that tests can hand in a fixed reading.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/datetime/source.h"
#include "foundation/status.h"

// One reading of a clock: the instant in seconds since 1 January 1970 0:00 UT, and the offset of
// the local zone east of Greenwich, in seconds, at that instant (summer time included).
struct ClockReading {
  std::int64_t unixSeconds = 0;
  std::int32_t zoneOffsetSeconds = 0;
};

using Clock = std::function<ClockReading()>;

// The computer's clock and its local zone.
ClockReading ReadSystemClock();

// Sets `source`'s moment to the local date and time of `reading` and its zone correction to the
// reading's zone; name and place stay. Error 107 (source unchanged) for an instant outside the
// years that can be held or a zone of 24 hours or more.
Status SetSourceToPresent(Source& source, const ClockReading& reading);
