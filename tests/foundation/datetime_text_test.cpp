#include <gtest/gtest.h>

#include <string>

#include "foundation/datetime/date_text.h"
#include "foundation/errors/error_report.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;

TEST(DatesText, CheckDateText) {
  struct Row {
    const char* text;
    const char* pattern;
    int message;
    int day, month, year;  // checked when the message is 0
  };
  const Row rows[] = {
      {"01.01.2000", "DD.MM.YYYY", 0, 1, 1, 2000},
      {"15:10:1582", "DD:MM:YYYY", 0, 15, 10, 1582},
      {"29.02.2000", "DD.MM.YYYY", 0, 29, 2, 2000},
      {"29.02.1500", "DD.MM.YYYY", 0, 29, 2, 1500},  // Julian leap year
      {"01.01.-3000", "DD.MM.YYYY", 0, 1, 1, -3000},
      {"2000/12/31", "YYYY/MM/DD", 0, 31, 12, 2000},
      {"00.01.2000", "DD.MM.YYYY", 657, 0, 0, 0},
      {"x1.01.2000", "DD.MM.YYYY", 657, 0, 0, 0},
      {"1.01.2000", "DD.MM.YYYY", 657, 0, 0, 0},
      {"10.10.1582", "DD.MM.YYYY", 657, 0, 0, 0},  // lost in the calendar reform
      {"31.04.2000", "DD.MM.YYYY", 775, 0, 0, 0},
      {"29.02.1900", "DD.MM.YYYY", 775, 0, 0, 0},
      {"10.13.2000", "DD.MM.YYYY", 656, 0, 0, 0},
      {"10.1a.2000", "DD.MM.YYYY", 656, 0, 0, 0},
      {"01.01.3001", "DD.MM.YYYY", 776, 0, 0, 0},
      {"01.01.-3001", "DD.MM.YYYY", 776, 0, 0, 0},
      {"01.01.0000", "DD.MM.YYYY", 777, 0, 0, 0},
      {"01.01.", "DD.MM.YYYY", 777, 0, 0, 0},
      {"01.01.20x0", "DD.MM.YYYY", 777, 0, 0, 0},
      {"", "DD.MM.YYYY", 657, 0, 0, 0},
  };
  for (const Row& r : rows) {
    int day = -1, month = -1, year = -1;
    EXPECT_EQ(CheckDateText(r.text, day, month, year, r.pattern), r.message) << r.text;
    if (r.message == 0) {
      EXPECT_EQ(day, r.day) << r.text;
      EXPECT_EQ(month, r.month) << r.text;
      EXPECT_EQ(year, r.year) << r.text;
    }
  }
}

TEST(DatesText, CheckTimeText) {
  struct Row {
    const char* text;
    const char* pattern;
    char kind;
    int message;
    int hours, minutes;  // checked when the message is 0
  };
  const Row rows[] = {
      {"12:30", "HH:MM", kTimeKindTime, 0, 12, 30},
      {"23:59", "HH:MM", kTimeKindTime, 0, 23, 59},
      {"24:00", "HH:MM", kTimeKindTime, 659, 0, 0},
      {"23:60", "HH:MM", kTimeKindTime, 659, 0, 0},
      {"ab:00", "HH:MM", kTimeKindTime, 659, 0, 0},
      {"7:30", "HH:MM", kTimeKindTime, 659, 0, 0},
      {"10:20:30", "HH:MM:SS", kTimeKindTime, 0, 10, 20},
      {"10:20:60", "HH:MM:SS", kTimeKindTime, 659, 0, 0},
      {"10:20", "HH:MM:SS", kTimeKindTime, 659, 0, 0},
      {"13:45", "HH:MM", kTimeKindZone, 0, 13, 45},
      {"15:59", "HH:MM", kTimeKindZone, 0, 15, 59},
      {"16:00", "HH:MM", kTimeKindZone, 0, 16, 0},
      {"16:01", "HH:MM", kTimeKindZone, 659, 0, 0},
      {"17:00", "HH:MM", kTimeKindZone, 659, 0, 0},
      {"89:59", "HH:MM", kTimeKindLatitude, 0, 89, 59},
      {"90:00", "HH:MM", kTimeKindLatitude, 778, 0, 0},
      {"45:60", "HH:MM", kTimeKindLatitude, 778, 0, 0},
      {"4x:00", "HH:MM", kTimeKindLatitude, 778, 0, 0},
  };
  for (const Row& r : rows) {
    int hours = -1, minutes = -1;
    EXPECT_EQ(CheckTimeText(r.text, hours, minutes, r.pattern, r.kind), r.message)
        << r.text << " " << r.kind;
    if (r.message == 0) {
      EXPECT_EQ(hours, r.hours) << r.text;
      EXPECT_EQ(minutes, r.minutes) << r.text;
    }
  }
}

TEST(DatesText, DateToString) {
  struct Row {
    int day, month, year;
    const char* pattern;
    int error;
    const char* text;
  };
  const Row rows[] = {
      {4, 7, 1776, "DD:MM:YYYY", 0, "04:07:1776"},
      {5, 3, 2009, "DD.MM.YY", 0, "05.03.09"},
      {4, 7, 1776, "MM/DD/YYYY", 0, "07/04/1776"},
      {15, 3, 44, "DD:MM:YYYY", 0, "15:03:0044"},
      {15, 3, -44, "DD:MM:YYYY", 0, "15:03:0044"},
      {1, 1, 2000, "DD:MM", 106, ""},
      {1, 1, 2000, "MM:YYYY", 106, ""},
      {1, 1, 2000, "DD:YYYY", 106, ""},
      {123, 1, 2000, "DD:MM:YYYY", 107, ""},
      {1, 1, 12000, "DD:MM:YYYY", 107, ""},
  };
  for (const Row& r : rows) {
    ScriptedPrompter prompts;
    std::string out = "unchanged";
    const Status st = Date2String(r.day, r.month, r.year, out, r.pattern);
    EXPECT_EQ(st.ErrorCode(), r.error) << r.pattern << " " << r.year;
    EXPECT_EQ(prompts.shown.size(), r.error == 0 ? 0u : 1u);
    EXPECT_TRUE(r.error == 0 || prompts.WasShown(ErrorReportNumber(r.error))) << r.pattern;
    EXPECT_EQ(out, r.error == 0 ? std::string(r.text) : "unchanged") << r.pattern;
  }
}

TEST(DatesText, DateWithEraToStringAndBack) {
  struct Row {
    int day, month, year;
    char era;
    const char* text;
  };
  const Row rows[] = {
      {1, 2, 44, 'B', "01:02:0044-"},
      {31, 12, 1999, 'A', "31:12:1999+"},
      {29, 2, 4713, 'B', "29:02:4713-"},
  };
  for (const Row& r : rows) {
    std::string out;
    ASSERT_TRUE(Date2StringE(r.day, r.month, r.year, r.era, out, "DD:MM:YYYYE").ok());
    EXPECT_EQ(out, r.text);
    int day = 0, month = 0, year = 0;
    char era = '?';
    ASSERT_TRUE(String2DateE(r.text, day, month, year, era, "DD:MM:YYYYE").ok()) << r.text;
    EXPECT_EQ(day, r.day);
    EXPECT_EQ(month, r.month);
    EXPECT_EQ(year, r.year);
    EXPECT_EQ(era, r.era);
  }
  ScriptedPrompter prompts;
  std::string out;
  EXPECT_EQ(Date2StringE(1, 1, 2000, 'A', out, "DD:MM:YYYY").ErrorCode(), kErrFormat);
  EXPECT_EQ(Date2StringE(1, 1, 2000, 'X', out, "DD:MM:YYYYE").ErrorCode(), kErrParameter);
}

TEST(DatesText, StringToDateRefusals) {
  const char* const bad[] = {
      "01:01:2000*", "01:01:2000", "01:01:20x0+", "0a:01:2000+", "01:0b:2000+", "01:01", ""};
  for (const char* text : bad) {
    int day = 7, month = 7, year = 7;
    char era = '?';
    ScriptedPrompter prompts;
    const Status st = String2DateE(text, day, month, year, era, "DD:MM:YYYYE");
    EXPECT_EQ(st.ErrorCode(), kErrFormat) << text;
    EXPECT_TRUE(prompts.WasShown(ErrorReportNumber(kErrFormat))) << text;
    EXPECT_EQ(era, '?') << text;
    EXPECT_EQ(day, 7) << text;
  }
}

TEST(DatesText, TimeToStringAndBack) {
  EXPECT_EQ(Time2String(7, 5), "07:05");
  EXPECT_EQ(Time2String(7, 5, 9, true), "07:05:09");
  EXPECT_EQ(Time2String(23, 59, 59, false), "23:59");

  int hours = -1, minutes = -1;
  ASSERT_TRUE(String2Time("07:05", hours, minutes, "HH:MM").ok());
  EXPECT_EQ(hours, 7);
  EXPECT_EQ(minutes, 5);
  ASSERT_TRUE(String2Time("at 21h04", hours, minutes, "at HHhMM").ok());
  EXPECT_EQ(hours, 21);
  EXPECT_EQ(minutes, 4);
  ScriptedPrompter prompts;
  EXPECT_EQ(String2Time("7:05", hours, minutes, "HH:MM").ErrorCode(), kErrFormat);
  EXPECT_EQ(String2Time("07:5", hours, minutes, "HH:MM").ErrorCode(), kErrFormat);
  EXPECT_EQ(String2Time("07:05", hours, minutes, "HH").ErrorCode(), kErrFormat);
  EXPECT_EQ(prompts.shown.size(), 3u);
}

}  // namespace
