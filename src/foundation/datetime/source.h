// The birth data of one chart: a local moment, the zone correction of its clock, the place and a
// name (code page 1251). A Source is kept exactly as entered; Universal Time is derived from it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "foundation/datetime/ftime.h"
#include "foundation/datetime/moment.h"
#include "foundation/datetime/place.h"
#include "foundation/status.h"

// Width of the name field of the chart record, the terminating NUL included.
inline constexpr std::size_t kSourceNameWidth = 35;

class Source {
 public:
  Source() = default;

  const std::string& Name() const { return name_; }
  // Cut to the field width (34 bytes).
  void SetName(std::string_view name);

  // Moves the Source to `local` on its own clock, keeping place, zone and name.
  void AssignMoment(const Moment& local) { moment = local.GetPlainMoment(); }
  // Sets the moment to the Universal Time `julianDayUt` with the zone +00:00.
  Status SetUniversalTime(double julianDayUt);
  // Re-expresses the moment on the clock of `other`'s zone (the same instant); the zone becomes
  // `other`'s zone.
  Status ConvertToZoneOf(const Source& other);

  friend bool operator==(const Source&, const Source&) = default;

  Moment moment;  // local date and time
  Place place;
  FTimeCor zone;

 private:
  std::string name_;
};

// The Julian day in Universal Time of a Source's moment: its local Julian day minus the zone.
double UniversalJulianDay(const Source& source);

// Sets `target` to `a`'s name and place at the instant UT(b) + (UT(a) - UT(b)) x f, expressed in
// Universal Time (zone +00:00).
Status InterpolateSource(Source& target, const Source& a, const Source& b, double f);
