#include "foundation/datetime/moment.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// Julian days of the first and the last second that a Moment can hold.
double FirstJulianDay() {
  static const double first = FDate::FromDayNumber(INT64_MIN / 4).ToJulianDay();
  return first;
}
double EndJulianDay() {
  static const double end = FDate::FromDayNumber(INT64_MAX / 4).ToJulianDay() + 1.0;
  return end;
}

// The date `years` calendar years from `date`, the same day of the month where it exists.
FDate ShiftYears(const FDate& date, std::int64_t years) {
  const std::int64_t astronomical = date.AstronomicalYear() + years;
  const int year = static_cast<int>(std::clamp<std::int64_t>(
      astronomical > 0 ? astronomical : astronomical - 1, -kMaxYear, kMaxYear));
  const int day = std::min(date.Day(), GetDaysInMonth(date.Month(), year));
  FDate result;
  if (year == 1582 && date.Month() == 10 && day > 4 && day < 15) {
    (void)result.SetDate(15, 10, 1582);
  } else {
    (void)result.SetDate(day, date.Month(), year);  // cannot fail: every field is in range
  }
  return result;
}

}  // namespace

Status Moment::SetMoment(double julianDay) {
  if (!std::isfinite(julianDay) || julianDay < FirstJulianDay() || julianDay >= EndJulianDay()) {
    return Status::Error(kErrParameter, "Moment::SetMoment");
  }
  std::int64_t dayNumber = static_cast<std::int64_t>(std::floor(julianDay + 0.5));
  std::int64_t seconds =
      std::llround((julianDay - (static_cast<double>(dayNumber) - 0.5)) * 86400.0);
  if (seconds >= 86400) {
    if (julianDay + 1.0 / 86400.0 >= EndJulianDay()) {
      seconds = 86399;
    } else {
      ++dayNumber;
      seconds = 0;
    }
  }
  date = FDate::FromDayNumber(dayNumber);
  (void)time.SetTime(static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                     static_cast<int>(seconds % 60));  // cannot fail: 0 <= seconds < 86400
  return Status::Ok();
}

double Moment::AddDays(double days) {
  // The moment's own date and time move, whatever a derived class makes of its Julian day.
  (void)SetMoment(Moment::JulianDay() + days);  // beyond the range the moment stays
  return Moment::JulianDay();
}

Moment Moment::SubtractDays(double days) {
  AddDays(-days);
  return GetPlainMoment();
}

Moment Moment::AdvanceDays(double days) {
  AddDays(days);
  return GetPlainMoment();
}

Moment Moment::AddYears(double years) {
  if (!std::isfinite(years)) return GetPlainMoment();
  const double whole = std::trunc(std::clamp(years, -2.0 * kMaxYear, 2.0 * kMaxYear));
  date = ShiftYears(date, static_cast<std::int64_t>(whole));
  AddDays((years - whole) * kDaysPerYear);
  return GetPlainMoment();
}

double Moment::YearsSince(const Moment& earlier) const {
  const double now = Moment::JulianDay();
  if (earlier.Moment::JulianDay() > now) return 0.0;
  std::int64_t years = std::int64_t{date.AstronomicalYear()} - earlier.date.AstronomicalYear();
  Moment anniversary(ShiftYears(earlier.date, years), earlier.time);
  while (years > 0 && anniversary.JulianDay() > now) {
    --years;
    anniversary.date = ShiftYears(earlier.date, years);
  }
  return static_cast<double>(years) + (now - anniversary.JulianDay()) / kDaysPerYear;
}

std::string Moment::ToText(std::string_view middle) const {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%04d", date.Day(), date.Month(), date.Year());
  std::string result = text;
  if (middle.empty()) {
    result += "  ";
  } else {
    result += ' ';
    result += middle;
    result += ' ';
  }
  return result + time.FTime::ToText();
}

std::string Moment::ToTextEra(std::string_view middle) const {
  std::string result = ToText(middle);
  result.insert(10, 1, date.Era() == 'B' ? '-' : '+');
  return result;
}

Status InterpolateMoment(Moment& result, const Moment& a, const Moment& b, double f) {
  const double jdB = b.JulianDay();
  return result.SetMoment(jdB + (a.JulianDay() - jdB) * f);
}
