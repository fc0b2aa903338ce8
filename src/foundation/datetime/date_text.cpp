#include "foundation/datetime/date_text.h"

#include <cstdio>
#include <optional>

#include "foundation/datetime/fdate.h"
#include "foundation/datetime/ftime.h"
#include "foundation/datetime/place.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"

namespace {

// Reports the error through the error reporter and gives it to the caller as a status.
Status Reported(int code, const char* trace, int detail) {
  ReportError(code, trace, detail, 1);
  return Status::Error(code, trace, detail);
}

struct Field {
  std::size_t pos = std::string_view::npos;
  std::size_t width = 0;
  bool Found() const { return pos != std::string_view::npos; }
};

Field FindField(std::string_view pattern, std::string_view marker) {
  return Field{pattern.find(marker), marker.size()};
}

Field FindYear(std::string_view pattern) {
  const Field four = FindField(pattern, "YYYY");
  return four.Found() ? four : FindField(pattern, "YY");
}

// The number in the field: ASCII digits, a leading '-' only when `signedField`; nothing when the
// text is too short, the field is empty or holds another character.
std::optional<int> ReadNumber(std::string_view text, Field field, bool signedField = false,
                              bool toEnd = false) {
  if (!field.Found() || field.pos >= text.size()) return std::nullopt;
  std::string_view digits = text.substr(field.pos, toEnd ? std::string_view::npos : field.width);
  if (!toEnd && digits.size() < field.width) return std::nullopt;
  bool negative = false;
  if (signedField && !digits.empty() && digits.front() == '-') {
    negative = true;
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

void Put(std::string& out, Field field, int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", static_cast<int>(field.width), value);
  out.replace(field.pos, field.width, digits);
}

}  // namespace

int CheckDateText(std::string_view text, int& day, int& month, int& year,
                  std::string_view pattern) {
  const Field yearField = FindYear(pattern);
  const bool yearLast = yearField.Found() && yearField.pos + yearField.width == pattern.size();
  const std::optional<int> d = ReadNumber(text, FindField(pattern, "DD"));
  const std::optional<int> m = ReadNumber(text, FindField(pattern, "MM"));
  const std::optional<int> y = ReadNumber(text, yearField, true, yearLast);
  day = d.value_or(0);
  month = m.value_or(0);
  year = y.value_or(0);
  if (!d) return kMsgBadDay;
  if (!m) return kMsgBadMonth;
  if (!y) return kMsgBadYear;
  return DateFault(day, month, year, 'A', true);
}

int CheckTimeText(std::string_view text, int& hours, int& minutes, std::string_view pattern,
                  char kind) {
  const std::optional<int> h = ReadNumber(text, FindField(pattern, "HH"));
  const std::optional<int> m = ReadNumber(text, FindField(pattern, "MM"));
  hours = h.value_or(0);
  minutes = m.value_or(0);
  const int fault = kind == kTimeKindLatitude ? kMsgBadCoordinate : kMsgBadTime;
  if (!h || !m || minutes > 59) return fault;
  if (const Field secondsField = FindField(pattern, "SS"); secondsField.Found()) {
    const std::optional<int> s = ReadNumber(text, secondsField);
    if (!s || *s > 59) return fault;
  }
  switch (kind) {
    case kTimeKindLatitude:
      return hours <= 89 ? 0 : fault;
    case kTimeKindZone:
      return hours < kMaxZoneHours || (hours == kMaxZoneHours && minutes == 0) ? 0 : fault;
    default:
      return hours <= 23 ? 0 : fault;
  }
}

Status Date2String(int day, int month, int year, std::string& out, std::string_view pattern) {
  const Field dayField = FindField(pattern, "DD");
  const Field monthField = FindField(pattern, "MM");
  const Field yearField = FindYear(pattern);
  if (!dayField.Found()) return Reported(kErrFormat, "Date2String", 1);
  if (!monthField.Found()) return Reported(kErrFormat, "Date2String", 2);
  if (!yearField.Found()) return Reported(kErrFormat, "Date2String", 3);
  if (year < 0) year = -year;
  if (day < 0 || day > 99 || month < 0 || month > 99 || year > kMaxYear) {
    return Reported(kErrParameter, "Date2String", 0);
  }
  std::string text(pattern);
  Put(text, dayField, day);
  Put(text, monthField, month);
  Put(text, yearField, yearField.width == 2 ? year % 100 : year);
  out = std::move(text);
  return Status::Ok();
}

Status Date2StringE(int day, int month, int year, char era, std::string& out,
                    std::string_view pattern) {
  const std::size_t eraPos = pattern.find('E');
  if (eraPos == std::string_view::npos) return Reported(kErrFormat, "Date2StringE", 4);
  if (era != 'A' && era != 'B') return Reported(kErrParameter, "Date2StringE", 0);
  std::string text;
  if (Status st = Date2String(day, month, year, text, pattern); !st.ok()) return st;
  text[eraPos] = era == 'B' ? '-' : '+';
  out = std::move(text);
  return Status::Ok();
}

Status String2DateE(std::string_view text, int& day, int& month, int& year, char& era,
                    std::string_view pattern) {
  const std::optional<int> d = ReadNumber(text, FindField(pattern, "DD"));
  const std::optional<int> m = ReadNumber(text, FindField(pattern, "MM"));
  const std::optional<int> y = ReadNumber(text, FindYear(pattern));
  if (!d) return Reported(kErrFormat, "String2DateE", 1);
  if (!m) return Reported(kErrFormat, "String2DateE", 2);
  if (!y) return Reported(kErrFormat, "String2DateE", 3);
  const std::size_t eraPos = pattern.find('E');
  const char sign = eraPos < text.size() ? text[eraPos] : '\0';
  if (sign != '+' && sign != '-') return Reported(kErrFormat, "String2DateE", 4);
  day = *d;
  month = *m;
  year = *y;
  era = sign == '-' ? 'B' : 'A';
  return Status::Ok();
}

Status String2Time(std::string_view text, int& hours, int& minutes, std::string_view pattern) {
  const std::optional<int> h = ReadNumber(text, FindField(pattern, "HH"));
  const std::optional<int> m = ReadNumber(text, FindField(pattern, "MM"));
  if (!h) return Reported(kErrFormat, "String2Time", 1);
  if (!m) return Reported(kErrFormat, "String2Time", 2);
  hours = *h;
  minutes = *m;
  return Status::Ok();
}

std::string Time2String(int hours, int minutes, int seconds, bool withSeconds) {
  char text[48];
  if (withSeconds) {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d", hours, minutes);
  }
  return text;
}
