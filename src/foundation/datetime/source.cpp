#include "foundation/datetime/source.h"

#include <algorithm>

void Source::SetName(std::string_view name) {
  name_.assign(name.substr(0, std::min(name.size(), kSourceNameWidth - 1)));
}

Status Source::SetUniversalTime(double julianDayUt) {
  Moment ut;
  if (Status st = ut.SetMoment(julianDayUt); !st.ok()) return st;
  moment = ut;
  zone = FTimeCor();
  return Status::Ok();
}

Status Source::ConvertToZoneOf(const Source& other) {
  Moment local;
  const double julianDay = UniversalJulianDay(*this) + other.zone.GetCorrectionHours() / 24.0;
  if (Status st = local.SetMoment(julianDay); !st.ok()) return st;
  moment = local;
  zone = other.zone;
  return Status::Ok();
}

double UniversalJulianDay(const Source& source) {
  return source.moment.JulianDay() - source.zone.GetCorrectionHours() / 24.0;
}

Status InterpolateSource(Source& target, const Source& a, const Source& b, double f) {
  const double utB = UniversalJulianDay(b);
  Source result = a;
  if (Status st = result.SetUniversalTime(utB + (UniversalJulianDay(a) - utB) * f); !st.ok()) {
    return st;
  }
  target = result;
  return Status::Ok();
}
