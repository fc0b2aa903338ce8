#include "foundation/datetime/present_moment.h"

#include <cstdlib>
#include <ctime>

namespace {

constexpr double kJulianDayOfUnixEpoch = 2440587.5;  // 1 January 1970 0:00 UT
constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

ClockReading ReadSystemClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ClockReading reading;
  reading.unixSeconds = static_cast<std::int64_t>(now);
  // A zone the system cannot tell counts as Universal Time.
  if (localtime_r(&now, &local) != nullptr)
    reading.zoneOffsetSeconds = static_cast<std::int32_t>(local.tm_gmtoff);
  return reading;
}

Status SetSourceToPresent(Source& source, const ClockReading& reading) {
  const std::int64_t offset = std::abs(std::int64_t{reading.zoneOffsetSeconds});
  if (offset >= kSecondsPerDay) return Status::Error(kErrParameter, "SetSourceToPresent", 1);
  const int zoneSeconds = static_cast<int>(offset);
  FTimeCor zone;
  if (const Status st = zone.SetTime(zoneSeconds / 3600, zoneSeconds / 60 % 60, zoneSeconds % 60,
                                     reading.zoneOffsetSeconds < 0 ? '-' : '+');
      !st.ok())
    return st;
  // The local clock's Julian day; SetMoment rounds it to the second.
  const std::int64_t localSeconds = reading.unixSeconds + reading.zoneOffsetSeconds;
  Moment moment;
  if (const Status st = moment.SetMoment(kJulianDayOfUnixEpoch +
                                         static_cast<double>(localSeconds) / kSecondsPerDay);
      !st.ok())
    return st;
  source.AssignMoment(moment);
  source.zone = zone;
  return Status::Ok();
}
