#include "rectification/core/life_event.h"

#include <algorithm>

#include "foundation/datetime/date_text.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/collation.h"

namespace {

constexpr std::size_t kDateLength = 11;  // "DD:MM:YYYYE"
constexpr int kNoonHours = 12;
constexpr int kCompareTextLength = 100;

// Two or four ASCII digits at `at`; -1 when they are not all digits.
int Digits(std::string_view s, std::size_t at, std::size_t n) {
  int value = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return -1;
    value = value * 10 + (s[i] - '0');
  }
  return value;
}

// The date of "DD:MM:YYYYE" into `date`; false (date untouched) when it is malformed or does not
// exist.
bool ParseDate(std::string_view s, FDate& date) {
  if (s.size() < kDateLength || s[2] != ':' || s[5] != ':') return false;
  const int day = Digits(s, 0, 2), month = Digits(s, 3, 2), year = Digits(s, 6, 4);
  if (day < 0 || month < 0 || year < 0) return false;
  const char era = s[10] == '+' ? 'A' : s[10] == '-' ? 'B' : '\0';
  if (era == '\0') return false;
  return date.SetDate(day, month, year, era).ok();
}

// The letters between `from` and the next separator, each 'A' + index with index < limit, into
// `out` (ascending, each once). Returns the position after the separator; npos when there is no
// separator; `bad` is set when a letter is out of range.
std::size_t ParseLetters(std::string_view s, std::size_t from, int limit,
                         std::vector<std::uint16_t>& out, bool& bad) {
  const std::size_t end = s.find(kLifeEventSeparator, from);
  if (end == std::string_view::npos) return end;
  for (std::size_t i = from; i < end; ++i) {
    const int index = static_cast<unsigned char>(s[i]) - 'A';
    if (index < 0 || index >= limit) {
      bad = true;
      return end + 1;
    }
    out.push_back(static_cast<std::uint16_t>(index));
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return end + 1;
}

std::string Letters(const std::vector<std::uint16_t>& indices) {
  std::string s;
  for (std::uint16_t i : indices) s += static_cast<char>('A' + i);
  return s;
}

std::vector<std::uint16_t> FromMask(std::string_view mask, int count) {
  std::vector<std::uint16_t> out;
  for (int i = 0; i < count && i < static_cast<int>(mask.size()); ++i)
    if (mask[static_cast<std::size_t>(i)] == 'Y') out.push_back(static_cast<std::uint16_t>(i));
  return out;
}

}  // namespace

void LifeEvent::Clear() {
  text.clear();
  planets.clear();
  houses.clear();
  moment = Moment();
  (void)moment.time.SetTime(kNoonHours, 0);
  status = kLifeEventInUse;
}

Status LifeEvent::Import(std::string_view line) {
  Clear();
  LifeEvent e;
  const Status malformed = Status::Error(kErrFormat, "LifeEvent::Import");
  if (!ParseDate(line, e.moment.date)) return malformed;
  const std::size_t textEnd = line.find(kLifeEventSeparator, kDateLength);
  if (textEnd == std::string_view::npos) return malformed;
  e.text = std::string(line.substr(kDateLength, textEnd - kDateLength));
  bool bad = false;
  const std::size_t housesAt =
      ParseLetters(line, textEnd + 1, kLifeEventPlanetCount, e.planets, bad);
  if (bad) return Status::Message(kMsgLifeEventPlanets);
  if (housesAt == std::string_view::npos) return malformed;
  const std::size_t statusAt = ParseLetters(line, housesAt, kLifeEventHouseCount, e.houses, bad);
  if (bad) return Status::Message(kMsgLifeEventHouses);
  if (statusAt == std::string_view::npos) return malformed;
  if (statusAt >= line.size() ||
      (line[statusAt] != kLifeEventInUse && line[statusAt] != kLifeEventLeftOut))
    return Status::Message(kMsgLifeEventStatus);
  e.status = line[statusAt];
  // A text edited by hand may hold control characters; they would break the line when written.
  e.SetText(e.text);
  *this = std::move(e);
  return Status::Ok();
}

std::string LifeEvent::FormatLine() const {
  std::string date;
  if (!Date2StringE(moment.date.Day(), moment.date.Month(), moment.date.Year(), moment.date.Era(),
                    date, "DD:MM:YYYYE")
           .ok())
    date = "01:01:1900+";  // never reached: an event holds a date that exists
  std::string line = date + text;
  line += kLifeEventSeparator;
  line += Letters(planets);
  line += kLifeEventSeparator;
  line += Letters(houses);
  line += kLifeEventSeparator;
  line += status;
  line += '\n';
  return line;
}

Status LifeEvent::Set(std::string_view newText, int day, int month, int year,
                      std::string_view planetMask, std::string_view houseMask) {
  FDate date;
  if (Status st = date.SetDate(day, month, year); !st.ok()) return st;
  Clear();
  moment.date = date;
  SetText(newText);
  SetOnMasks(planetMask, houseMask);
  status = kLifeEventInUse;
  return Status::Ok();
}

void LifeEvent::SetOnMasks(std::string_view planetMask, std::string_view houseMask) {
  planets = FromMask(planetMask, kLifeEventPlanetCount);
  houses = FromMask(houseMask, kLifeEventHouseCount);
}

void LifeEvent::SetText(std::string_view newText) {
  text = std::string(newText);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = ' ';
}

char LifeEvent::Compare(const LifeEvent& other, int sortByDate, int sortByText) const {
  if (sortByDate == 1) {
    const double a = moment.JulianDay(), b = other.moment.JulianDay();
    return a < b ? kCompareLess : a > b ? kCompareGreater : kCompareEqual;
  }
  if (sortByText == 1)
    return CompareStrings(text, other.text, kCompareTextLength, true, Collation::kCyrillicFirst);
  return '0';
}

bool LifeEvent::HasPlanet(int point) const {
  return point >= 0 && std::binary_search(planets.begin(), planets.end(), point);
}

bool LifeEvent::HasHouse(int house) const {
  return house >= 0 && std::binary_search(houses.begin(), houses.end(), house);
}
