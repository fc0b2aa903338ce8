#include "astro/lifepoint/life_point.h"

#include <cmath>

#include "astro/houses/house_position.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/numbers/angles.h"

namespace {

// The twelve cusps the type moves through; nothing when they are missing or absent.
std::optional<std::array<double, 12>> CuspsOf(const LifePoint& type) {
  std::array<double, 12> c{};
  if (type.mode == 'S') {
    for (int i = 0; i < 12; ++i) c[i] = 30.0 * i;
    return c;
  }
  if (!type.cusps) return std::nullopt;
  for (double v : *type.cusps)
    if (IsAbsent(v) || !std::isfinite(v)) return std::nullopt;
  return type.cusps;
}

bool CanMove(const LifePoint& type) { return type.first >= 0 && type.first < 12 && type.years > 0; }

// The arc of house h from its cusp to the next (a whole circle's share never below 0).
double Span(const std::array<double, 12>& c, int h) {
  return AngleDifference360(c[h % 12], c[(h + 1) % 12]);
}

}  // namespace

double LifePoint::CountPosition(const LifePoint& type, const Moment& birth, const Moment& later) {
  if (birth.JulianDay() > later.JulianDay()) {
    ReportStatus(Status::Message(kMsgLifePointBirthLater));
    return kAbsent;
  }
  const std::optional<std::array<double, 12>> c = CuspsOf(type);
  if (!c || !CanMove(type)) return kAbsent;
  const double houses = std::fmod(later.YearsSince(birth) / type.years, 12.0);
  const int passed = static_cast<int>(std::floor(houses));
  const double fraction = houses - passed;
  if (type.direction == 'R') {
    const int h = ((type.first - passed) % 12 + 12) % 12;
    return NormalizeDegrees((*c)[(h + 1) % 12] - fraction * Span(*c, h));
  }
  const int h = (type.first + passed) % 12;
  return NormalizeDegrees((*c)[h] + fraction * Span(*c, h));
}

double LifePoint::CountPosition(const LifePoint& type, const Source& birth, const Source& target) {
  Source onBirthClock = target;
  if (!onBirthClock.ConvertToZoneOf(birth).ok()) return kAbsent;
  return CountPosition(type, birth.moment, onBirthClock.moment);
}

double LifePoint::CalculatePosition(const LifePoint& type, const Moment& birth,
                                    const Moment& moment) {
  return CountPosition(type, birth, moment);
}

std::optional<Moment> LifePoint::CalculateMoment(const LifePoint& type, const Moment& birth,
                                                 double longitude) {
  const std::optional<std::array<double, 12>> c = CuspsOf(type);
  if (!c || !CanMove(type) || IsAbsent(longitude) || !std::isfinite(longitude)) return std::nullopt;
  const double lon = NormalizeDegrees(longitude);
  const int h = HouseOfLongitude(*c, lon);
  if (h < 0) return std::nullopt;
  const double span = Span(*c, h);
  double houses;
  if (type.direction == 'R') {
    const int passed = ((type.first - h) % 12 + 12) % 12;
    houses = passed + (span > 0.0 ? AngleDifference360(lon, (*c)[(h + 1) % 12]) / span : 0.0);
    // The end of a house is where a converse point begins it: at birth, not a cycle later.
    houses = std::fmod(houses, 12.0);
  } else {
    const int passed = ((h - type.first) % 12 + 12) % 12;
    houses = passed + (span > 0.0 ? AngleDifference360((*c)[h], lon) / span : 0.0);
  }
  Moment when = birth.GetPlainMoment();
  when.AddYears(houses * type.years);
  return when;
}
