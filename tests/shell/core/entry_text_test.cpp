// Reading the birth-data fields of the entry dialogs: every refusal names the catalogue's
// message, every accepted text gives the values typed, and display texts read back unchanged.
#include "shell/core/entry/entry_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DateCase {
  const char* name;
  const char* text;
  char era;
  int fault;  // 0: accepted
  int day, month, year;
  char eraOut;
};

const DateCase kDates[] = {
    {"april_has_30_days", "31.04.1990", 'A', 775, 0, 0, 0, 'A'},
    {"year_zero", "15.06.0", 'A', 777, 0, 0, 0, 'A'},
    {"year_zero_four_digits", "15.06.0000", 'A', 777, 0, 0, 0, 'A'},
    {"day_zero", "00.01.1990", 'A', 657, 0, 0, 0, 'A'},
    {"day_32", "32.01.1990", 'A', 657, 0, 0, 0, 'A'},
    {"month_13", "15.13.1990", 'A', 656, 0, 0, 0, 'A'},
    {"month_missing", "15", 'A', 656, 0, 0, 0, 'A'},
    {"year_missing", "15.06", 'A', 777, 0, 0, 0, 'A'},
    {"year_beyond_3000", "01.01.3001", 'A', 776, 0, 0, 0, 'A'},
    {"bc_beyond_3000", "01.01.3001", 'B', 776, 0, 0, 0, 'A'},
    {"gregorian_1900_not_leap", "29.02.1900", 'A', 775, 0, 0, 0, 'A'},
    {"julian_1500_leap", "29.02.1500", 'A', 0, 29, 2, 1500, 'A'},
    {"gregorian_2000_leap", "29.02.2000", 'A', 0, 29, 2, 2000, 'A'},
    {"calendar_reform_gap", "10.10.1582", 'A', 657, 0, 0, 0, 'A'},
    {"one_digit_fields", "1.4.1990", 'A', 0, 1, 4, 1990, 'A'},
    {"blanks_ignored", " 07 . 11 . 1917 ", 'A', 0, 7, 11, 1917, 'A'},
    {"era_chosen_apart", "15.03.44", 'B', 0, 15, 3, 44, 'B'},
    {"minus_year_before_christ", "15.03.-44", 'A', 0, 15, 3, 44, 'B'},
    // Julian leap years before Christ are 1, 5, ..., 45 BC (astronomical 0, -4, ..., -44).
    {"leap_day_of_1_bc", "29.02.1", 'B', 0, 29, 2, 1, 'B'},
    {"leap_day_of_45_bc", "29.02.45", 'B', 0, 29, 2, 45, 'B'},
    {"no_leap_day_in_4_bc", "29.02.4", 'B', 775, 0, 0, 0, 'A'},
    {"no_calendar_reform_before_christ", "10.10.1582", 'B', 0, 10, 10, 1582, 'B'},
    {"letters_in_day", "ab.03.1990", 'A', 657, 0, 0, 0, 'A'},
};

class DateText : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateText, RefusedWithItsMessageOrRead) {
  const DateCase& c = GetParam();
  FDate date;
  ASSERT_TRUE(date.SetDate(2, 3, 1950, 'A').ok());
  const FDate before = date;
  EXPECT_EQ(ParseDateText(c.text, c.era, date), c.fault);
  if (c.fault != 0) {
    EXPECT_EQ(date, before) << "a refused text leaves the date as it was";
    return;
  }
  EXPECT_EQ(date.Day(), c.day);
  EXPECT_EQ(date.Month(), c.month);
  EXPECT_EQ(date.Year(), c.year);
  EXPECT_EQ(date.Era(), c.eraOut);
}

INSTANTIATE_TEST_SUITE_P(Entry, DateText, ::testing::ValuesIn(kDates),
                         [](const auto& info) { return std::string(info.param.name); });

struct ClockCase {
  const char* name;
  const char* text;
  bool zone;
  int fault;
  int hours, minutes, seconds;
  char sign;
};

const ClockCase kClocks[] = {
    {"midnight_24", "24:00", false, 659, 0, 0, 0, '+'},
    {"minute_60", "23:60", false, 659, 0, 0, 0, '+'},
    {"second_60", "10:10:60", false, 659, 0, 0, 0, '+'},
    {"three_digit_hour", "123:00", false, 659, 0, 0, 0, '+'},
    {"empty_time", "", false, 659, 0, 0, 0, '+'},
    {"last_minute", "23:59", false, 0, 23, 59, 0, '+'},
    {"short_fields", "9:5", false, 0, 9, 5, 0, '+'},
    {"whole_hour", "7", false, 0, 7, 0, 0, '+'},
    {"with_seconds", "12:30:45", false, 0, 12, 30, 45, '+'},
    {"zone_13_hours", "+13:00", true, 0, 13, 0, 0, '+'},
    {"zone_16_with_minutes", "-16:30", true, 659, 0, 0, 0, '+'},
    {"zone_12", "-12:00", true, 0, 12, 0, 0, '-'},
    {"zone_without_sign_is_east", "3", true, 0, 3, 0, 0, '+'},
    {"zone_half_hour", "+05:30", true, 0, 5, 30, 0, '+'},
    {"zone_bad_sign", "*3", true, 659, 0, 0, 0, '+'},
    {"zone_local_mean_time", "+02:30:17", true, 0, 2, 30, 17, '+'},
    {"zone_manila_local_mean_time", "-15:56:08", true, 0, 15, 56, 8, '-'},
    {"zone_16_with_seconds", "-16:00:01", true, 659, 0, 0, 0, '+'},
};

class ClockText : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockText, RefusedWithItsMessageOrRead) {
  const ClockCase& c = GetParam();
  if (c.zone) {
    FTimeCor zone;
    ASSERT_TRUE(zone.SetTime(1, 0, '+').ok());
    EXPECT_EQ(ParseZoneText(c.text, zone), c.fault);
    if (c.fault != 0) {
      EXPECT_EQ(zone.GetCorrectionHours(), 1.0) << "unchanged";
      return;
    }
    EXPECT_EQ(zone.Hours(), c.hours);
    EXPECT_EQ(zone.Minutes(), c.minutes);
    EXPECT_EQ(zone.Seconds(), c.seconds);
    EXPECT_EQ(zone.Sign(), c.sign);
    // Written back as read, the seconds kept.
    FTimeCor again;
    EXPECT_EQ(ParseZoneText(ZoneText(zone), again), 0);
    EXPECT_EQ(again, zone);
    EXPECT_EQ(again.Seconds(), c.seconds);
    return;
  }
  FTime time;
  ASSERT_TRUE(time.SetTime(1, 2, 3).ok());
  EXPECT_EQ(ParseTimeText(c.text, time), c.fault);
  if (c.fault != 0) {
    EXPECT_EQ(time.SecondsOfDay(), 3723) << "unchanged";
    return;
  }
  EXPECT_EQ(time.Hours(), c.hours);
  EXPECT_EQ(time.Minutes(), c.minutes);
  EXPECT_EQ(time.Seconds(), c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Entry, ClockText, ::testing::ValuesIn(kClocks),
                         [](const auto& info) { return std::string(info.param.name); });

struct CoordinateCase {
  const char* name;
  const char* text;
  bool latitude;
  int fault;
  int degrees, minutes;
  char letter;
};

const CoordinateCase kCoordinates[] = {
    {"latitude_90", "90N00", true, 778, 0, 0, 0},
    {"latitude_90_south", "90S", true, 778, 0, 0, 0},
    {"latitude_89_59", "89N59", true, 0, 89, 59, 'N'},
    {"latitude_minute_60", "55N60", true, 778, 0, 0, 0},
    {"latitude_wrong_letter", "55E45", true, 778, 0, 0, 0},
    {"latitude_no_letter", "5545", true, 778, 0, 0, 0},
    {"latitude_lower_case", "33s52", true, 0, 33, 52, 'S'},
    {"latitude_no_minutes", "55N", true, 0, 55, 0, 'N'},
    {"latitude_blanks", "55 N 45", true, 0, 55, 45, 'N'},
    {"longitude_181", "181E00", false, 778, 0, 0, 0},
    {"longitude_180_with_minutes", "180W01", false, 778, 0, 0, 0},
    {"longitude_180", "180W00", false, 0, 180, 0, 'W'},
    {"longitude_lower_case", "037e37", false, 0, 37, 37, 'E'},
    {"longitude_wrong_letter", "037N37", false, 778, 0, 0, 0},
    {"longitude_four_digits", "1037E37", false, 778, 0, 0, 0},
};

class CoordinateText : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(CoordinateText, RefusedWith778OrRead) {
  const CoordinateCase& c = GetParam();
  int degrees = -1, minutes = -1;
  char letter = '?';
  const int fault = c.latitude ? ParseLatitudeText(c.text, degrees, minutes, letter)
                               : ParseLongitudeText(c.text, degrees, minutes, letter);
  EXPECT_EQ(fault, c.fault);
  if (c.fault != 0) {
    EXPECT_EQ(degrees, -1);
    return;
  }
  EXPECT_EQ(degrees, c.degrees);
  EXPECT_EQ(minutes, c.minutes);
  EXPECT_EQ(letter, c.letter);
}

INSTANTIATE_TEST_SUITE_P(Entry, CoordinateText, ::testing::ValuesIn(kCoordinates),
                         [](const auto& info) { return std::string(info.param.name); });

Source MoscowSource() {
  Source s;
  s.SetName("Ivanov");
  EXPECT_TRUE(s.moment.date.SetDate(15, 6, 1985, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(8, 30, 5).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "Moskva", "Rossiya").ok());
  return s;
}

TEST(EntrySourceTexts, DisplayTextsAndReadingBack) {
  const Source s = MoscowSource();
  const SourceTexts t = TextsOfSource(s);
  EXPECT_EQ(t.date, "15.06.1985");
  EXPECT_EQ(t.era, 'A');
  EXPECT_EQ(t.time, "08:30:05");
  EXPECT_EQ(t.zone, "+03:00");
  EXPECT_EQ(t.latitude, "55N45");
  EXPECT_EQ(t.longitude, "037E37");
  Source read;
  EXPECT_EQ(SourceFromTexts(t, read), 0);
  EXPECT_EQ(read, s);
}

TEST(EntrySourceTexts, FirstFaultInFieldOrderAndSourceUnchanged) {
  const Source s = MoscowSource();
  SourceTexts t = TextsOfSource(s);
  t.time = "24:00";
  t.latitude = "90N00";
  Source target = s;
  EXPECT_EQ(SourceFromTexts(t, target), 659) << "the time comes before the place";
  t.time = "10:00";
  EXPECT_EQ(SourceFromTexts(t, target), 778);
  t.latitude = "55N45";
  t.zone = "+16:30";
  EXPECT_EQ(SourceFromTexts(t, target), 659);
  EXPECT_EQ(target, s);
}

}  // namespace
