// Calendar dates: day, month, year and era letter ('A' anno Domini, 'B' before Christ).
// The Julian calendar holds before 15 October 1582, the Gregorian from that day on; 4 October
// 1582 is followed by 15 October. There is no year 0: 1 BC is followed by AD 1.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/status.h"

// Years 1..kMaxYear of either era can be held (the "YYYY" text form has four digits).
inline constexpr int kMaxYear = 9999;
// The range that dialogs and importers accept (IsValidDate with its range flag).
inline constexpr int kMaxEnteredYear = 3000;

class FDate {
 public:
  FDate() = default;  // 1 January 1900 'A'

  int Day() const { return day_; }
  int Month() const { return month_; }
  int Year() const { return year_; }  // as written, without sign; the era says which side
  char Era() const { return era_; }
  // 1 BC is 0, 2 BC is -1 (the year numbering of astronomers).
  int AstronomicalYear() const { return era_ == 'B' ? 1 - year_ : year_; }

  // A negative year means the same year before Christ. A bad date leaves the date unchanged and
  // returns the catalogue message naming the fault (656, 657, 775, 776, 777).
  Status SetDate(int day, int month, int year);
  // `era` 'A' or 'B' (error 107 otherwise); the year must then be positive.
  Status SetDate(int day, int month, int year, char era);

  // Julian day at 0h Universal Time of this date.
  double ToJulianDay() const { return static_cast<double>(DayNumber()) - 0.5; }
  // The Julian day number: the Julian day at noon of this date, an integer.
  std::int64_t DayNumber() const;
  // The date of Julian day number `dayNumber`, kept within the years that can be held.
  static FDate FromDayNumber(std::int64_t dayNumber);
  // Adds whole days (negative to go back) and returns the new Julian day at 0h. The date stops
  // at 1 January 9999 BC or 31 December AD 9999.
  double AddDays(std::int64_t days);
  // Weekday 0..6, 0 = Monday.
  int DayOfWeek() const;
  // "DD:MM:YYYY", a blank and the era word (messages 644 / 643).
  std::string ToText() const;

  friend bool operator==(const FDate&, const FDate&) = default;

 private:
  int day_ = 1;
  int month_ = 1;
  int year_ = 1900;
  char era_ = 'A';
};

// The days of `month` 1..12 (0 for another month). `year` is as written with `era`; a negative
// year means BC. Leap years by the Julian rule up to 1582, by the Gregorian rule after it.
int GetDaysInMonth(int month, int year, char era = 'A');

// 0 when the date exists, else the catalogue message naming the first fault found: day outside
// 1..31 (657), month outside 1..12 (656), year 0 (777), year outside 1..9999, or with
// `range` outside 3000 BC .. 3000 AD (776), day beyond the month (775), 5..14 October 1582 (657).
// A negative year means BC whatever `era` says.
int DateFault(int day, int month, int year, char era, bool range);
// True when the date exists (with `range`: year not 0 and within 3000 BC .. 3000 AD).
bool IsValidDate(int day, int month, int year, char era, bool range);

// The era letter of an era button pair: index 0 is "до н.э." ('B'), any other "н.э." ('A').
char EraLetter(int buttonIndex);
