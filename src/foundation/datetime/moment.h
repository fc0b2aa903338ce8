// A local date and time of day, to the whole second.
#pragma once

#include <string>
#include <string_view>

#include "foundation/datetime/fdate.h"
#include "foundation/datetime/ftime.h"
#include "foundation/status.h"

// Julian day of 1900 January 0.5, the origin of the Julian centuries of the older theories.
inline constexpr double kJulianDay1900 = 2415020.0;
// The mean length of the year used to turn fractions of a year into days and back.
inline constexpr double kDaysPerYear = 365.2422;

class Moment {
 public:
  Moment() = default;  // 1 January 1900 'A', 00:00:00
  Moment(const FDate& d, const FTime& t) : date(d), time(t) {}
  virtual ~Moment() = default;
  Moment(const Moment&) = default;
  Moment& operator=(const Moment&) = default;

  // The Julian day of the moment on its own clock: date at 0h + time of day.
  virtual double JulianDay() const { return date.ToJulianDay() + time.GetDays(); }
  // (JD - 2415020.0) / 36525.
  double JulianCenturiesSince1900() const { return (JulianDay() - kJulianDay1900) / 36525.0; }

  // Sets date and time from a Julian day, rounded to the nearest second. A day that is not a
  // finite number or lies outside the years that can be held leaves the moment unchanged and
  // returns error 107.
  Status SetMoment(double julianDay);
  // Moves the moment by fractional days (negative to go back) and returns the new Julian day.
  // A move beyond the years that can be held leaves the moment where it was.
  double AddDays(double days);
  // Move the moment back or forward by fractional days and return a copy of the result.
  Moment SubtractDays(double days);
  Moment AdvanceDays(double days);
  // Moves the moment by whole calendar years (no year 0), then by the fraction of a year times
  // 365.2422 days; returns a copy of the result. 29 February of a common year becomes 28
  // February; a day of 5..14 October 1582 becomes 15 October.
  Moment AddYears(double years);
  // The years from `earlier` to this moment: the whole anniversaries passed (counted as
  // AddYears counts them) plus the days since the last one / 365.2422; 0.0 when `earlier` is
  // later than this moment.
  double YearsSince(const Moment& earlier) const;
  // A plain date-and-time copy of this moment (of any class derived from it).
  Moment GetPlainMoment() const { return Moment(date, time); }

  // "DD:MM:YYYY", two blanks and "HH:MM"; with a middle text "DD:MM:YYYY <middle> HH:MM".
  std::string ToText(std::string_view middle = {}) const;
  // The same with the era sign after the year: "DD:MM:YYYY+  HH:MM" ('-' before Christ).
  std::string ToTextEra(std::string_view middle = {}) const;

  friend bool operator==(const Moment& a, const Moment& b) {
    return a.date == b.date && a.time == b.time;
  }

  FDate date;
  FTime time;
};

// Sets `result` to the Julian day JD(b) + (JD(a) - JD(b)) x f.
Status InterpolateMoment(Moment& result, const Moment& a, const Moment& b, double f);
