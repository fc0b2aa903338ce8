#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "foundation/datetime/moment.h"
#include "foundation/messages/message_numbers.h"

namespace {

Moment MakeMoment(int day, int month, int year, int hours, int minutes, int seconds = 0) {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(day, month, year).ok());
  EXPECT_TRUE(m.time.SetTime(hours, minutes, seconds).ok());
  return m;
}

// Day, month, signed year (negative before Christ), hours, minutes, seconds of a moment.
struct Fields {
  int day, month, year, hours, minutes, seconds;
  friend bool operator==(const Fields&, const Fields&) = default;
};
std::ostream& operator<<(std::ostream& os, const Fields& f) {
  return os << f.day << "." << f.month << "." << f.year << " " << f.hours << ":" << f.minutes << ":"
            << f.seconds;
}
Fields FieldsOf(const Moment& m) {
  return {m.date.Day(),   m.date.Month(),   m.date.Era() == 'B' ? -m.date.Year() : m.date.Year(),
          m.time.Hours(), m.time.Minutes(), m.time.Seconds()};
}

TEST(DatesTime, SetTimeChecksEveryField) {
  struct Row {
    int hours, minutes, seconds;
    bool ok;
  };
  const Row rows[] = {{0, 0, 0, true},    {23, 59, 59, true}, {24, 0, 0, false},
                      {-1, 0, 0, false},  {12, 60, 0, false}, {12, -1, 0, false},
                      {12, 0, 60, false}, {12, 0, -1, false}};
  for (const Row& r : rows) {
    FTime t;
    ASSERT_TRUE(t.SetTime(1, 2, 3).ok());
    const Status st = t.SetTime(r.hours, r.minutes, r.seconds);
    EXPECT_EQ(st.ok(), r.ok) << r.hours << ":" << r.minutes << ":" << r.seconds;
    if (!r.ok) {
      EXPECT_EQ(st.MessageNumber(), kMsgBadTime);
      EXPECT_EQ(t.SecondsOfDay(), 3723) << "a refused time changes nothing";
    }
  }
}

TEST(DatesTime, DecimalHours) {
  struct Row {
    double hours;
    bool ok;
    int h, m, s;
  };
  const Row rows[] = {
      {10.0 + 20.0 / 60.0, true, 10, 20, 0},  // 10.333...: truncation would give 10:19:59
      {6.51, true, 6, 30, 36},
      {0.0, true, 0, 0, 0},
      {23.99999999, true, 23, 59, 59},  // would round to 24:00:00
      {24.0, false, 0, 0, 0},
      {-0.001, false, 0, 0, 0},
      {NAN, false, 0, 0, 0},
  };
  for (const Row& r : rows) {
    FTime t;
    EXPECT_EQ(t.SetTime(r.hours).ok(), r.ok) << r.hours;
    if (r.ok) {
      EXPECT_EQ(t.Hours(), r.h) << r.hours;
      EXPECT_EQ(t.Minutes(), r.m) << r.hours;
      EXPECT_EQ(t.Seconds(), r.s) << r.hours;
    }
  }
  FTime t;
  ASSERT_TRUE(t.SetTime(6, 30, 36).ok());
  EXPECT_DOUBLE_EQ(t.GetHours(), 6.51);
  ASSERT_TRUE(t.SetTime(18, 0).ok());
  EXPECT_DOUBLE_EQ(t.GetDays(), 0.75);
  EXPECT_EQ(t.ToText(), "18:00");
}

TEST(DatesTime, AddMinutesCarriesWholeDays) {
  struct Row {
    int h, m;
    long long add;
    int wantH, wantM;
    long long carried;
  };
  const Row rows[] = {
      {23, 30, 45, 0, 15, 1},
      {0, 10, -20, 23, 50, -1},
      {10, 0, 2 * 1440 + 5, 10, 5, 2},
      {10, 0, -3 * 1440, 10, 0, -3},
      {12, 0, 0, 12, 0, 0},
      {0, 0, -1, 23, 59, -1},
      {0, 0, INT64_MIN, 5, 52, -6405119470038039},  // no overflow: 352 minutes remain,
  };
  for (const Row& r : rows) {
    FTime t;
    ASSERT_TRUE(t.SetTime(r.h, r.m, 42).ok());
    EXPECT_EQ(t.AddMinutes(r.add), r.carried) << r.h << ":" << r.m << " + " << r.add;
    EXPECT_EQ(t.Hours(), r.wantH);
    EXPECT_EQ(t.Minutes(), r.wantM);
    EXPECT_EQ(t.Seconds(), 42);
  }
}

TEST(DatesZone, CorrectionText) {
  struct Row {
    int h, m, s;
    char sign;
    double hours;
    const char* text;
  };
  const Row rows[] = {
      {3, 0, 0, '+', 3.0, "+03:00"},   {0, 0, 0, '+', 0.0, "+00:00"},
      {0, 0, 0, '-', 0.0, "-00:00"},   {5, 0, 0, '-', -5.0, "-05:00"},
      {5, 30, 0, '+', 5.5, "+05:30"},  {3, 30, 0, '-', -3.5, "-03:30"},
      {13, 0, 0, '+', 13.0, "+13:00"}, {2, 30, 17, '+', 2.5 + 17.0 / 3600, "+02:30"},
  };
  for (const Row& r : rows) {
    FTimeCor zone;
    ASSERT_TRUE(zone.SetTime(r.h, r.m, r.s, r.sign).ok()) << r.text;
    EXPECT_DOUBLE_EQ(zone.GetCorrectionHours(), r.hours) << r.text;
    EXPECT_EQ(zone.ToText(), r.text);
    const FTime& asTime = zone;  // the text is the class's own, also through the base
    EXPECT_EQ(asTime.ToText(), r.text);
  }
  FTimeCor zone;
  ASSERT_TRUE(zone.SetTime(3, 0, '+').ok());
  const Status st = zone.SetTime(4, 0, 'x');
  EXPECT_EQ(st.MessageNumber(), kMsgBadTime);
  EXPECT_EQ(zone.ToText(), "+03:00");
}

TEST(DatesMoment, SetMomentFromJulianDay) {
  struct Row {
    const char* name;
    double jd;
    Fields want;
  };
  const Row rows[] = {
      {"j2000_noon", 2451545.0, {1, 1, 2000, 12, 0, 0}},
      {"sputnik", 2436116.31, {4, 10, 1957, 19, 26, 24}},  // Meeus 7.a: 4.81 October
      {"rounds_up_to_next_day", 2451544.5 + 86399.6 / 86400.0, {2, 1, 2000, 0, 0, 0}},
      {"last_julian_evening", 2299160.25, {4, 10, 1582, 18, 0, 0}},
      {"first_gregorian_morning", 2299160.75, {15, 10, 1582, 6, 0, 0}},
      {"negative_day", -1.0, {31, 12, -4714, 12, 0, 0}},
      {"bc_1_last_day", 1721423.0, {31, 12, -1, 12, 0, 0}},
  };
  for (const Row& r : rows) {
    Moment m;
    ASSERT_TRUE(m.SetMoment(r.jd).ok()) << r.name;
    EXPECT_EQ(FieldsOf(m), r.want) << r.name;
  }
}

// Every second-exact moment survives the trip through its Julian day, over BC and AD years and
// both calendars (steps of 1.37 days and 1 s so that every time of day comes up).
TEST(DatesMoment, JulianDayRoundTripKeepsEverySecond) {
  Moment m;
  ASSERT_TRUE(m.SetMoment(1000000.5).ok());
  while (m.JulianDay() < 2800000.0) {
    const Fields before = FieldsOf(m);
    Moment copy;
    ASSERT_TRUE(copy.SetMoment(m.JulianDay()).ok());
    ASSERT_EQ(FieldsOf(copy), before);
    m.AddDays(1.37 + 1.0 / 86400.0);
    ASSERT_NE(FieldsOf(m), before);
  }
}

TEST(DatesMoment, SetMomentRefusesDaysThatCannotBeHeld) {
  const double bad[] = {NAN, INFINITY, -INFINITY, 1e12, -1e12};
  for (double jd : bad) {
    Moment m = MakeMoment(4, 7, 1776, 9, 5);
    const Status st = m.SetMoment(jd);
    EXPECT_EQ(st.ErrorCode(), kErrParameter) << jd;
    EXPECT_EQ(FieldsOf(m), (Fields{4, 7, 1776, 9, 5, 0})) << jd;
  }
}

TEST(DatesMoment, JulianDayAndCenturies) {
  const Moment m = MakeMoment(1, 1, 2000, 12, 0);
  EXPECT_EQ(m.JulianDay(), 2451545.0);
  EXPECT_DOUBLE_EQ(m.JulianCenturiesSince1900(), 1.0);
  EXPECT_DOUBLE_EQ(MakeMoment(1, 1, 1900, 6, 0).JulianDay(), 2415020.75);
  EXPECT_DOUBLE_EQ(MakeMoment(31, 12, 1899, 12, 0).JulianCenturiesSince1900(), 0.0);
}

TEST(DatesMoment, AddDaysMovesDateAndTime) {
  Moment m = MakeMoment(31, 12, 1999, 23, 0);
  EXPECT_DOUBLE_EQ(m.AddDays(1.0 / 24.0), 2451544.5);
  EXPECT_EQ(FieldsOf(m), (Fields{1, 1, 2000, 0, 0, 0}));
  m = MakeMoment(4, 10, 1582, 12, 0);
  m.AddDays(1.0);
  EXPECT_EQ(FieldsOf(m), (Fields{15, 10, 1582, 12, 0, 0}));
  m.AddDays(-1.5);
  EXPECT_EQ(FieldsOf(m), (Fields{4, 10, 1582, 0, 0, 0}));

  Moment a = MakeMoment(1, 1, 2000, 0, 0);
  const Moment back = a.SubtractDays(0.25);
  EXPECT_EQ(FieldsOf(back), (Fields{31, 12, 1999, 18, 0, 0}));
  EXPECT_EQ(FieldsOf(a), FieldsOf(back));
  const Moment forward = a.AdvanceDays(1.0);
  EXPECT_EQ(FieldsOf(forward), (Fields{1, 1, 2000, 18, 0, 0}));
}

TEST(DatesMoment, AddYears) {
  struct Row {
    const char* name;
    Fields from;
    double years;
    Fields want;
  };
  const Row rows[] = {
      {"leap_day_to_common_year", {29, 2, 2000, 12, 0, 0}, 1.0, {28, 2, 2001, 12, 0, 0}},
      {"leap_day_to_leap_year", {29, 2, 2000, 12, 0, 0}, 4.0, {29, 2, 2004, 12, 0, 0}},
      {"bc_1_to_ad_1", {15, 6, -1, 8, 0, 0}, 1.0, {15, 6, 1, 8, 0, 0}},
      {"ad_1_back_to_bc_1", {15, 6, 1, 8, 0, 0}, -1.0, {15, 6, -1, 8, 0, 0}},
      {"bc_2_to_ad_2", {15, 6, -2, 8, 0, 0}, 3.0, {15, 6, 2, 8, 0, 0}},
      {"into_the_reform_gap", {10, 10, 1500, 0, 0, 0}, 82.0, {15, 10, 1582, 0, 0, 0}},
      // 0.5 x 365.2422 = 182.6211 days: 182 days to 1 July (2000 is leap) + 53663 s.
      {"half_year", {1, 1, 2000, 0, 0, 0}, 0.5, {1, 7, 2000, 14, 54, 23}},
      // -1 year to 1 January 1999, then back 182.6211 days: 2 July 1998 + 0.3789 d (32737 s).
      {"minus_one_and_a_half", {1, 1, 2000, 0, 0, 0}, -1.5, {2, 7, 1998, 9, 5, 37}},
  };
  for (const Row& r : rows) {
    Moment m = MakeMoment(r.from.day, r.from.month, r.from.year, r.from.hours, r.from.minutes);
    const Moment copy = m.AddYears(r.years);
    EXPECT_EQ(FieldsOf(m), r.want) << r.name;
    EXPECT_EQ(FieldsOf(copy), r.want) << r.name;
  }
}

TEST(DatesMoment, YearsSince) {
  struct Row {
    const char* name;
    Fields earlier;
    Fields later;
    double years;
  };
  const Row rows[] = {
      {"ten_whole_years", {15, 3, 2000, 12, 0, 0}, {15, 3, 2010, 12, 0, 0}, 10.0},
      {"leap_day_anniversary", {29, 2, 2000, 0, 0, 0}, {28, 2, 2001, 0, 0, 0}, 1.0},
      {"no_year_zero", {1, 1, -1, 0, 0, 0}, {1, 1, 1, 0, 0, 0}, 1.0},
      {"bc_2_to_ad_2", {1, 1, -2, 0, 0, 0}, {1, 1, 2, 0, 0, 0}, 3.0},
      {"before_the_anniversary", {1, 7, 2000, 0, 0, 0}, {1, 1, 2001, 0, 0, 0}, 184 / 365.2422},
      {"a_day_after", {1, 7, 2000, 0, 0, 0}, {2, 7, 2005, 12, 0, 0}, 5 + 1.5 / 365.2422},
      {"same_moment", {1, 7, 2000, 0, 0, 0}, {1, 7, 2000, 0, 0, 0}, 0.0},
      {"other_is_later", {2, 7, 2000, 0, 0, 0}, {1, 7, 2000, 0, 0, 0}, 0.0},
  };
  for (const Row& r : rows) {
    const Moment earlier =
        MakeMoment(r.earlier.day, r.earlier.month, r.earlier.year, r.earlier.hours, 0);
    const Moment later = MakeMoment(r.later.day, r.later.month, r.later.year, r.later.hours, 0);
    EXPECT_NEAR(later.YearsSince(earlier), r.years, 1e-9) << r.name;
  }
}

TEST(DatesMoment, Texts) {
  Moment m = MakeMoment(4, 7, 1776, 9, 5, 30);
  EXPECT_EQ(m.ToText(), "04:07:1776  09:05");
  EXPECT_EQ(m.ToText("UT"), "04:07:1776 UT 09:05");
  EXPECT_EQ(m.ToTextEra(), "04:07:1776+  09:05");
  m = MakeMoment(15, 3, -44, 12, 0);
  EXPECT_EQ(m.ToTextEra(), "15:03:0044-  12:00");
  EXPECT_EQ(m.ToTextEra("-"), "15:03:0044- - 12:00");
}

TEST(DatesMoment, Interpolation) {
  const Moment a = MakeMoment(2, 1, 2000, 0, 0);
  const Moment b = MakeMoment(1, 1, 2000, 0, 0);
  struct Row {
    double f;
    Fields want;
  };
  const Row rows[] = {{0.25, {1, 1, 2000, 6, 0, 0}},
                      {0.0, {1, 1, 2000, 0, 0, 0}},
                      {1.0, {2, 1, 2000, 0, 0, 0}},
                      {2.0, {3, 1, 2000, 0, 0, 0}},
                      {-1.0, {31, 12, 1999, 0, 0, 0}}};
  for (const Row& r : rows) {
    Moment result;
    ASSERT_TRUE(InterpolateMoment(result, a, b, r.f).ok()) << r.f;
    EXPECT_EQ(FieldsOf(result), r.want) << r.f;
  }
  Moment result;
  EXPECT_EQ(InterpolateMoment(result, a, b, 1e12).ErrorCode(), kErrParameter);
}

}  // namespace
