#include "foundation/datetime/fdate.h"

#include <algorithm>
#include <cstdio>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

// Integer division and remainder rounded towards minus infinity, so that the calendar formulas
// below hold for years before -4800 as well.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }

// Julian day number of 15 October 1582, the first day of the Gregorian calendar.
constexpr std::int64_t kFirstGregorianDay = 2299161;

constexpr bool IsReformGap(int day, int month, int astronomicalYear) {
  return astronomicalYear == 1582 && month == 10 && day > 4 && day < 15;
}

constexpr bool IsGregorian(int day, int month, int astronomicalYear) {
  if (astronomicalYear != 1582) return astronomicalYear > 1582;
  return month > 10 || (month == 10 && day >= 15);
}

constexpr bool IsLeapYear(int astronomicalYear) {
  if (astronomicalYear <= 1582) return FloorMod(astronomicalYear, 4) == 0;
  return (astronomicalYear % 4 == 0 && astronomicalYear % 100 != 0) || astronomicalYear % 400 == 0;
}

// Day number from a date of either calendar (the month counted from March, so that the leap day
// ends the counting year).
constexpr std::int64_t CalendarDayNumber(int day, int month, int astronomicalYear) {
  const std::int64_t a = (14 - month) / 12;
  const std::int64_t y = std::int64_t{astronomicalYear} + 4800 - a;
  const std::int64_t m = month + 12 * a - 3;
  std::int64_t n = day + (153 * m + 2) / 5 + 365 * y + FloorDiv(y, 4);
  if (IsGregorian(day, month, astronomicalYear))
    return n - FloorDiv(y, 100) + FloorDiv(y, 400) - 32045;
  return n - 32083;
}

constexpr int AstronomicalYearOf(int year, char era) {
  if (year < 0) return year + 1;
  return era == 'B' ? 1 - year : year;
}

constexpr std::int64_t kFirstDayNumber = CalendarDayNumber(1, 1, 1 - kMaxYear);
constexpr std::int64_t kLastDayNumber = CalendarDayNumber(31, 12, kMaxYear);

}  // namespace

int GetDaysInMonth(int month, int year, char era) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(AstronomicalYearOf(year, era))) return 29;
  return kDays[month - 1];
}

int DateFault(int day, int month, int year, char era, bool range) {
  if (day < 1 || day > 31) return kMsgBadDay;
  if (month < 1 || month > 12) return kMsgBadMonth;
  if (year == 0) return kMsgBadYear;
  const int limit = range ? kMaxEnteredYear : kMaxYear;
  if (year < -limit || year > limit) return kMsgYearOutOfRange;
  if (day > GetDaysInMonth(month, year, era)) return kMsgDaysInMonth;
  if (IsReformGap(day, month, AstronomicalYearOf(year, era))) return kMsgBadDay;
  return 0;
}

bool IsValidDate(int day, int month, int year, char era, bool range) {
  return DateFault(day, month, year, era, range) == 0;
}

char EraLetter(int buttonIndex) { return buttonIndex == 0 ? 'B' : 'A'; }

Status FDate::SetDate(int day, int month, int year) {
  return SetDate(day, month, year < 0 ? -year : year, year < 0 ? 'B' : 'A');
}

Status FDate::SetDate(int day, int month, int year, char era) {
  if (era != 'A' && era != 'B') return Status::Error(kErrParameter, "FDate::SetDate", era);
  if (year < 0) return Status::Message(kMsgYearOutOfRange, "FDate::SetDate");
  if (const int fault = DateFault(day, month, year, era, false); fault != 0) {
    return Status::Message(fault, "FDate::SetDate");
  }
  day_ = day;
  month_ = month;
  year_ = year;
  era_ = era;
  return Status::Ok();
}

std::int64_t FDate::DayNumber() const {
  return CalendarDayNumber(day_, month_, AstronomicalYear());
}

FDate FDate::FromDayNumber(std::int64_t dayNumber) {
  const std::int64_t n = std::clamp(dayNumber, kFirstDayNumber, kLastDayNumber);
  // Counting from 1 March of year -4800: four-century cycles (Gregorian), then four-year cycles.
  std::int64_t c = 0;
  std::int64_t centuries = 0;
  if (n >= kFirstGregorianDay) {
    const std::int64_t a = n + 32044;
    centuries = FloorDiv(4 * a + 3, 146097);
    c = a - FloorDiv(146097 * centuries, 4);
  } else {
    c = n + 32082;
  }
  const std::int64_t d = FloorDiv(4 * c + 3, 1461);
  const std::int64_t e = c - FloorDiv(1461 * d, 4);
  const std::int64_t m = FloorDiv(5 * e + 2, 153);
  const int day = static_cast<int>(e - FloorDiv(153 * m + 2, 5) + 1);
  const int month = static_cast<int>(m + 3 - 12 * FloorDiv(m, 10));
  const int astronomicalYear = static_cast<int>(100 * centuries + d - 4800 + FloorDiv(m, 10));
  FDate date;
  date.day_ = day;
  date.month_ = month;
  date.year_ = astronomicalYear > 0 ? astronomicalYear : 1 - astronomicalYear;
  date.era_ = astronomicalYear > 0 ? 'A' : 'B';
  return date;
}

double FDate::AddDays(std::int64_t days) {
  const std::int64_t target =
      std::clamp(days, kFirstDayNumber - kLastDayNumber, kLastDayNumber - kFirstDayNumber) +
      DayNumber();
  *this = FromDayNumber(target);
  return ToJulianDay();
}

int FDate::DayOfWeek() const { return static_cast<int>(FloorMod(DayNumber(), 7)); }

std::string FDate::ToText() const {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%04d ", day_, month_, year_);
  return text + GetMessageText(era_ == 'B' ? kMsgEraBc : kMsgEraAd);
}
