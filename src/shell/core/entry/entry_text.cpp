#include "shell/core/entry/entry_text.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

#include "foundation/datetime/date_text.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/text_helpers.h"

namespace {

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// A field of one or two digits written with two; nullopt for anything else.
std::optional<std::string> TwoDigitField(const std::string& field) {
  if (!AllDigits(field) || field.size() > 2) return std::nullopt;
  return field.size() == 1 ? "0" + field : field;
}

// "H", "H:M" or "H:M:S" with fields of one or two digits, as "HH:MM" or "HH:MM:SS"; nullopt when
// the text has another form.
std::optional<std::string> ClockText(const std::string& text) {
  std::vector<std::string> parts = Split(text, ':');
  if (parts.size() > 3) return std::nullopt;
  if (parts.size() == 1) parts.emplace_back("00");
  std::string out;
  for (const std::string& part : parts) {
    const std::optional<std::string> field = TwoDigitField(part);
    if (!field) return std::nullopt;
    if (!out.empty()) out += ':';
    out += *field;
  }
  return out;
}

int SecondsOf(const std::string& clock) {
  return clock.size() == 8 ? std::stoi(clock.substr(6, 2)) : 0;
}

// Degrees, a hemisphere letter among `letters` (upper case), minutes: "55N45", "037e37", "55N".
bool SplitCoordinate(std::string_view text, std::string_view letters, std::size_t maxDegreeDigits,
                     int& degrees, int& minutes, char& letter) {
  const std::string t = WithoutBlanks(text);
  std::size_t at = 0;
  while (at < t.size() && std::isdigit(static_cast<unsigned char>(t[at]))) ++at;
  if (at == 0 || at > maxDegreeDigits || at >= t.size()) return false;
  const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(t[at])));
  if (letters.find(up) == std::string_view::npos) return false;
  const std::string minuteText = t.substr(at + 1);
  if (!minuteText.empty() && (!AllDigits(minuteText) || minuteText.size() > 2)) return false;
  degrees = std::stoi(t.substr(0, at));
  minutes = minuteText.empty() ? 0 : std::stoi(minuteText);
  letter = up;
  return true;
}

std::string Printf(const char* format, int a, int b) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

int ParseDateText(std::string_view text, char era, FDate& date) {
  const std::vector<std::string> parts = Split(WithoutBlanks(text), '.');
  const std::optional<std::string> day = TwoDigitField(parts[0]);
  if (!day) return kMsgBadDay;
  const std::optional<std::string> month =
      parts.size() > 1 ? TwoDigitField(parts[1]) : std::nullopt;
  if (!month) return kMsgBadMonth;
  if (parts.size() != 3) return kMsgBadYear;
  int d = 0, m = 0, y = 0;
  // The era box's year before Christ is checked as such (leap years, the calendar reform), as a
  // year typed with '-' is.
  std::string year = parts[2];
  if (era == 'B' && (year.empty() || year[0] != '-')) year.insert(0, 1, '-');
  const std::string normal = *day + '.' + *month + '.' + year;
  if (const int fault = CheckDateText(normal, d, m, y, "DD.MM.YYYY"); fault != 0) return fault;
  if (y < 0) {
    era = 'B';
    y = -y;
  }
  if (era != 'B') era = 'A';
  if (const int fault = DateFault(d, m, y, era, true); fault != 0) return fault;
  FDate read;
  if (const Status st = read.SetDate(d, m, y, era); !st.ok()) return kMsgBadDay;
  date = read;
  return 0;
}

int ParseTimeText(std::string_view text, FTime& time) {
  const std::optional<std::string> clock = ClockText(WithoutBlanks(text));
  if (!clock) return kMsgBadTime;
  int h = 0, m = 0;
  const char* pattern = clock->size() == 8 ? "HH:MM:SS" : "HH:MM";
  if (const int fault = CheckTimeText(*clock, h, m, pattern, kTimeKindTime); fault != 0)
    return fault;
  FTime read;
  if (!read.SetTime(h, m, SecondsOf(*clock)).ok()) return kMsgBadTime;
  time = read;
  return 0;
}

int ParseZoneText(std::string_view text, FTimeCor& zone) {
  std::string t = WithoutBlanks(text);
  char sign = '+';
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    sign = t[0];
    t.erase(0, 1);
  }
  const std::optional<std::string> clock = ClockText(t);
  if (!clock) return kMsgBadTime;
  int h = 0, m = 0;
  const char* pattern = clock->size() == 8 ? "HH:MM:SS" : "HH:MM";
  if (const int fault = CheckTimeText(*clock, h, m, pattern, kTimeKindZone); fault != 0)
    return fault;
  // The largest zone only whole: the seconds too.
  const int seconds = SecondsOf(*clock);
  if (h == kMaxZoneHours && seconds != 0) return kMsgBadTime;
  FTimeCor read;
  if (!read.SetTime(h, m, seconds, sign).ok()) return kMsgBadTime;
  zone = read;
  return 0;
}

int ParseLatitudeText(std::string_view text, int& degrees, int& minutes, char& letter) {
  int d = 0, m = 0;
  char l = 'N';
  if (!SplitCoordinate(text, "NS", 2, d, m, l)) return kMsgBadCoordinate;
  int h = 0, mm = 0;
  if (const int fault = CheckTimeText(Printf("%02d:%02d", d, m), h, mm, "HH:MM", kTimeKindLatitude);
      fault != 0)
    return fault;
  degrees = d;
  minutes = m;
  letter = l;
  return 0;
}

int ParseLongitudeText(std::string_view text, int& degrees, int& minutes, char& letter) {
  int d = 0, m = 0;
  char l = 'E';
  if (!SplitCoordinate(text, "EW", 3, d, m, l)) return kMsgBadCoordinate;
  if (m > 59 || d > 180 || (d == 180 && m != 0)) return kMsgBadCoordinate;
  degrees = d;
  minutes = m;
  letter = l;
  return 0;
}

std::string DateText(const FDate& date) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.Day(), date.Month(), date.Year());
  return text;
}

std::string TimeText(const FTime& time) {
  return Time2String(time.Hours(), time.Minutes(), time.Seconds(), time.Seconds() != 0);
}

std::string ZoneText(const FTimeCor& zone) { return zone.FullText(); }

std::string LatitudeText(const Place& place) {
  return FormatLatLongByLetter(place.LatitudeDegrees(), place.LatitudeMinutes(),
                               place.LatitudeLetter(), 'T');
}

std::string LongitudeText(const Place& place) {
  return FormatLatLongByLetter(place.LongitudeDegrees(), place.LongitudeMinutes(),
                               place.LongitudeLetter(), 'N');
}

SourceTexts TextsOfSource(const Source& source) {
  SourceTexts t;
  t.name = source.Name();
  t.date = DateText(source.moment.date);
  t.era = source.moment.date.Era();
  t.time = TimeText(source.moment.time);
  t.zone = ZoneText(source.zone);
  t.latitude = LatitudeText(source.place);
  t.longitude = LongitudeText(source.place);
  t.town = source.place.Town();
  t.region = source.place.Region();
  return t;
}

int SourceFromTexts(const SourceTexts& texts, Source& source) {
  Source read = source;
  if (const int fault = ParseDateText(texts.date, texts.era, read.moment.date); fault != 0)
    return fault;
  if (const int fault = ParseTimeText(texts.time, read.moment.time); fault != 0) return fault;
  if (const int fault = ParseZoneText(texts.zone, read.zone); fault != 0) return fault;
  int latDeg = 0, latMin = 0, lonDeg = 0, lonMin = 0;
  char latLetter = 'N', lonLetter = 'E';
  if (const int fault = ParseLatitudeText(texts.latitude, latDeg, latMin, latLetter); fault != 0)
    return fault;
  if (const int fault = ParseLongitudeText(texts.longitude, lonDeg, lonMin, lonLetter); fault != 0)
    return fault;
  if (!read.place
           .SetPlace(latDeg, latMin, latLetter, lonDeg, lonMin, lonLetter, texts.town, texts.region)
           .ok())
    return kMsgBadCoordinate;
  read.SetName(texts.name);
  source = read;
  return 0;
}
