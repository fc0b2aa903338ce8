// Dates and times as text by patterns: "DD", "MM", "YYYY" (or "YY"), "E" (era sign), "HH", "MM",
// "SS" mark where the fields stand, every other pattern character stands for itself.
// Texts are code page 1251; the fields are ASCII digits.
#pragma once

#include <string>
#include <string_view>

#include "foundation/datetime/ftime.h"
#include "foundation/status.h"

// Kinds of CheckTimeText.
inline constexpr char kTimeKindTime = 'T';  // a time of day: hours 0..23
inline constexpr char kTimeKindZone =
    'Z';  // a zone correction: hours 0..kMaxZoneHours, that one only with 0 minutes
inline constexpr char kTimeKindLatitude = 'L';  // a latitude: degrees 0..89

// Parses a date by a pattern such as "DD.MM.YYYY" (a year standing last may carry a '-' for a
// year before Christ and run to the end of the text). Returns 0, or the catalogue message that
// names the fault: 657 day outside 1..31 (or not a number), 656 month outside 1..12, 777 year 0
// (or not a number), 776 year outside -3000..3000, 775 day beyond the month's length.
int CheckDateText(std::string_view text, int& day, int& month, int& year, std::string_view pattern);

// Parses "HH:MM" or "HH:MM:SS" by its pattern. Returns 0, or 659 for a time or a zone (hours
// outside 0..23, for a zone outside 0..kMaxZoneHours or that with minutes; minutes or seconds
// outside 0..59; a field that is not a number) or 778 for a latitude (degrees outside 0..89,
// minutes outside 0..59, a field that is not a number).
int CheckTimeText(std::string_view text, int& hours, int& minutes, std::string_view pattern,
                  char kind);

// The four converters below report their errors through the error reporter themselves (trace:
// the function's name, detail: 1 day, 2 month, 3 year, 4 era field) and return the same error as
// a status, so the caller only decides what to do next; the output is untouched on an error.

// Writes the date into the pattern ("DD:MM:YYYY"): two digits of day and month, four of the year
// (two with "YY"). Error 106 when the pattern lacks a field, 107 for a value that does not fit.
Status Date2String(int day, int month, int year, std::string& out, std::string_view pattern);
// The same with the era: the pattern's 'E' becomes '+' for era 'A' and '-' for 'B'
// ("DD:MM:YYYYE").
Status Date2StringE(int day, int month, int year, char era, std::string& out,
                    std::string_view pattern);
// Reads a date written by Date2StringE: era 'B' for '-', 'A' for '+'. Error 106 when a field is
// not a number or the era sign is neither. The date itself is not checked.
Status String2DateE(std::string_view text, int& day, int& month, int& year, char& era,
                    std::string_view pattern);
// Reads two-digit hours and minutes by the pattern ("HH:MM"); error 106 when they are not digits.
Status String2Time(std::string_view text, int& hours, int& minutes, std::string_view pattern);
// "HH:MM", then ':' and two digits of seconds when asked.
std::string Time2String(int hours, int minutes, int seconds = 0, bool withSeconds = false);
