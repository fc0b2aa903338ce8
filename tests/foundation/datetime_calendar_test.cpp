#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "foundation/datetime/fdate.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"

namespace {

struct JdCase {
  const char* name;
  int day, month, year;  // a negative year is before Christ
  double jd;             // at 0h
};

// Meeus, Astronomical Algorithms, chapter 7 (examples and table 7.a), taken to 0h of the day.
const JdCase kJdCases[] = {
    {"j2000", 1, 1, 2000, 2451544.5},
    {"sputnik", 4, 10, 1957, 2436115.5},
    {"year_333", 27, 1, 333, 1842712.5},
    {"jan_1900", 1, 1, 1900, 2415020.5},
    {"dec_1600", 31, 12, 1600, 2305812.5},
    {"apr_837", 10, 4, 837, 2026871.5},
    {"reform_last_julian", 4, 10, 1582, 2299159.5},
    {"reform_first_gregorian", 15, 10, 1582, 2299160.5},
    {"ad_1_jan_1", 1, 1, 1, 1721423.5},
    {"bc_1_dec_31", 31, 12, -1, 1721422.5},
    {"bc_124_dec_31", 31, 12, -124, 1676496.5},
    {"bc_1001_leap_day", 29, 2, -1001, 1355866.5},
    {"bc_4713_jan_1", 1, 1, -4713, -0.5},
};

TEST(DatesCalendar, JulianDaysOfKnownDates) {
  for (const JdCase& c : kJdCases) {
    FDate date;
    ASSERT_TRUE(date.SetDate(c.day, c.month, c.year).ok()) << c.name;
    EXPECT_EQ(date.Era(), c.year < 0 ? 'B' : 'A') << c.name;
    EXPECT_EQ(date.ToJulianDay(), c.jd) << c.name;
    EXPECT_EQ(FDate::FromDayNumber(static_cast<std::int64_t>(c.jd + 0.5)), date) << c.name;
  }
}

// Plain calendar rules, written independently of the code under test.
bool TestLeapYear(int astronomicalYear) {
  if (astronomicalYear <= 1582) return ((astronomicalYear % 4) + 4) % 4 == 0;
  return (astronomicalYear % 4 == 0 && astronomicalYear % 100 != 0) || astronomicalYear % 400 == 0;
}

int TestMonthLength(int month, int astronomicalYear) {
  if (month == 2) return TestLeapYear(astronomicalYear) ? 29 : 28;
  return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

int Astronomical(const FDate& d) { return d.Era() == 'B' ? 1 - d.Year() : d.Year(); }

bool IsNextCalendarDay(const FDate& a, const FDate& b) {
  const int ya = Astronomical(a);
  const int yb = Astronomical(b);
  if (ya == 1582 && a.Month() == 10 && a.Day() == 4) {
    return yb == 1582 && b.Month() == 10 && b.Day() == 15;
  }
  if (a.Day() < TestMonthLength(a.Month(), ya)) {
    return yb == ya && b.Month() == a.Month() && b.Day() == a.Day() + 1;
  }
  if (a.Month() < 12) return yb == ya && b.Month() == a.Month() + 1 && b.Day() == 1;
  return yb == ya + 1 && b.Month() == 1 && b.Day() == 1;
}

bool EraConsistent(const FDate& d) { return d.Year() >= 1 && (d.Era() == 'A' || d.Era() == 'B'); }

// "D.M.YE", for comparisons and failure output.
std::string Dmy(const FDate& d) {
  return std::to_string(d.Day()) + "." + std::to_string(d.Month()) + "." +
         std::to_string(d.Year()) + d.Era();
}

// Every day from 4714 BC to AD 3001 follows the previous one: crosses 1 BC -> AD 1 and
// October 1582; the day numbers and weekdays advance by one.
TEST(DatesCalendar, EveryDayFollowsThePreviousOne) {
  const std::int64_t first = -1000;
  const std::int64_t last = 2818000;
  FDate previous = FDate::FromDayNumber(first);
  ASSERT_EQ(previous.DayNumber(), first);
  for (std::int64_t n = first + 1; n <= last; ++n) {
    const FDate next = FDate::FromDayNumber(n);
    ASSERT_TRUE(EraConsistent(next)) << n;
    ASSERT_TRUE(IsNextCalendarDay(previous, next))
        << n << ": " << Dmy(previous) << " -> " << Dmy(next);
    ASSERT_EQ(next.DayNumber(), n);
    ASSERT_EQ(next.DayOfWeek(), (previous.DayOfWeek() + 1) % 7) << n;
    previous = next;
  }
}

TEST(DatesCalendar, DaysOfTheWeek) {
  struct Row {
    const char* name;
    int day, month, year;
    int weekday;  // 0 = Monday
  };
  const Row rows[] = {
      {"meeus_7e_wednesday", 30, 6, 1954, 2},
      {"j2000_saturday", 1, 1, 2000, 5},
      {"reform_thursday", 4, 10, 1582, 3},
      {"reform_friday", 15, 10, 1582, 4},
      {"monday", 7, 12, 2026, 0},
      {"sunday", 6, 12, 2026, 6},
  };
  for (const Row& r : rows) {
    FDate date;
    ASSERT_TRUE(date.SetDate(r.day, r.month, r.year).ok()) << r.name;
    EXPECT_EQ(date.DayOfWeek(), r.weekday) << r.name;
  }
}

TEST(DatesCalendar, AddDaysCrossesTheReformAndTheEra) {
  FDate date;
  ASSERT_TRUE(date.SetDate(4, 10, 1582).ok());
  EXPECT_EQ(date.AddDays(1), 2299160.5);
  EXPECT_EQ(Dmy(date), "15.10.1582A");
  EXPECT_EQ(date.AddDays(-1), 2299159.5);
  EXPECT_EQ(Dmy(date), "4.10.1582A");

  ASSERT_TRUE(date.SetDate(31, 12, 1, 'B').ok());
  EXPECT_EQ(date.AddDays(1), 1721423.5);
  EXPECT_EQ(Dmy(date), "1.1.1A");
  date.AddDays(-366);  // 1 BC is a leap year
  EXPECT_EQ(Dmy(date), "1.1.1B");
}

TEST(DatesCalendar, AddDaysStopsAtTheEndsOfTheRange) {
  FDate date;
  ASSERT_TRUE(date.SetDate(30, 12, 9999).ok());
  date.AddDays(5);
  EXPECT_EQ(Dmy(date), "31.12.9999A");
  date.AddDays(INT64_MIN);
  EXPECT_EQ(Dmy(date), "1.1.9999B");
}

TEST(DatesCalendar, DaysInMonth) {
  struct Row {
    int month, year;
    char era;
    int days;
  };
  const Row rows[] = {
      {1, 2001, 'A', 31}, {4, 2001, 'A', 30},  {2, 2001, 'A', 28}, {2, 2004, 'A', 29},
      {2, 1900, 'A', 28},  // Gregorian century
      {2, 2000, 'A', 29},  // Gregorian 400 years
      {2, 1500, 'A', 29},  // Julian: every fourth year
      {2, 1, 'B', 29},     // 1 BC is astronomical year 0
      {2, -5, 'A', 29},    // negative: 5 BC
      {2, 4, 'B', 28},    {12, 1582, 'A', 31}, {0, 2000, 'A', 0},  {13, 2000, 'A', 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(GetDaysInMonth(r.month, r.year, r.era), r.days) << r.month << "/" << r.year << r.era;
  }
}

TEST(DatesCalendar, DateFaultsAndValidity) {
  struct Row {
    const char* name;
    int day, month, year;
    char era;
    bool range;
    int fault;
  };
  const Row rows[] = {
      {"ok", 15, 6, 2000, 'A', true, 0},
      {"day_zero", 0, 6, 2000, 'A', true, 657},
      {"month_zero", 1, 0, 2000, 'A', true, 656},
      {"year_zero", 1, 1, 0, 'A', true, 777},
      {"ad_3000", 31, 12, 3000, 'A', true, 0},
      {"ad_3001", 1, 1, 3001, 'A', true, 776},
      {"ad_3001_unranged", 1, 1, 3001, 'A', false, 0},
      {"bc_3000", 1, 1, 3000, 'B', true, 0},
      {"bc_3001", 1, 1, -3001, 'A', true, 776},
      {"beyond_held_years", 1, 1, 10000, 'A', false, 776},
      {"april_31", 31, 4, 2000, 'A', true, 775},
      {"feb_29_common", 29, 2, 1900, 'A', true, 775},
      {"feb_29_julian_leap", 29, 2, 1300, 'A', true, 0},
      {"reform_gap_first", 5, 10, 1582, 'A', true, 657},
      {"reform_gap_other_year", 10, 10, 1583, 'A', true, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(DateFault(r.day, r.month, r.year, r.era, r.range), r.fault) << r.name;
    EXPECT_EQ(IsValidDate(r.day, r.month, r.year, r.era, r.range), r.fault == 0) << r.name;
  }
}

TEST(DatesCalendar, RefusedDateLeavesTheDateUnchanged) {
  FDate date;
  ASSERT_TRUE(date.SetDate(4, 7, 1776).ok());
  const FDate kept = date;
  struct Row {
    int day, month, year;
    char era;
    int message;
    int error;
  };
  const Row rows[] = {
      {31, 2, 2000, 'A', 775, 0}, {1, 13, 2000, 'A', 656, 0}, {1, 1, 0, 'A', 777, 0},
      {0, 1, 2000, 'A', 657, 0},  {1, 1, 2000, 'C', 0, 107},  {1, 1, 12000, 'A', 776, 0},
  };
  for (const Row& r : rows) {
    const Status st = date.SetDate(r.day, r.month, r.year, r.era);
    EXPECT_FALSE(st.ok());
    EXPECT_EQ(st.MessageNumber(), r.message);
    EXPECT_EQ(st.ErrorCode(), r.error);
    EXPECT_EQ(date, kept);
  }
}

TEST(DatesCalendar, EraLetterAndText) {
  EXPECT_EQ(EraLetter(0), 'B');
  EXPECT_EQ(EraLetter(1), 'A');

  FDate date;
  ASSERT_TRUE(date.SetDate(15, 3, -44).ok());
  EXPECT_EQ(date.ToText(), "15:03:0044 " + Cp1251("до н.э."));
  ASSERT_TRUE(date.SetDate(4, 7, 1776).ok());
  EXPECT_EQ(date.ToText(), "04:07:1776 " + GetMessageText(kMsgEraAd));
}

}  // namespace
