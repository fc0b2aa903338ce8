#include "foundation/datetime/ftime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/messages/message_numbers.h"

namespace {

std::string TwoFields(int a, int b) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", a, b);
  return text;
}

struct NamedZone {
  int minutesEast;
  const char* name;
};

// Abbreviations of zones in standard time; where zones share a correction, the zone of Russia
// names it. See docs/decisions.md.
constexpr NamedZone kZoneNames[] = {
    {0, "GMT"},    {60, "CET"},   {120, "EET"},  {180, "MSK"},   {210, "IRST"}, {240, "SAMT"},
    {270, "AFT"},  {300, "YEKT"}, {330, "IST"},  {345, "NPT"},   {360, "OMST"}, {420, "KRAT"},
    {480, "IRKT"}, {540, "YAKT"}, {570, "ACST"}, {600, "VLAT"},  {660, "MAGT"}, {720, "PETT"},
    {-60, "AZOT"}, {-120, "FNT"}, {-180, "BRT"}, {-210, "NST"},  {-240, "AST"}, {-300, "EST"},
    {-360, "CST"}, {-420, "MST"}, {-480, "PST"}, {-540, "AKST"}, {-600, "HST"}, {-660, "SST"},
};

}  // namespace

std::string FTime::ToText() const { return TwoFields(hours_, minutes_); }

Status FTime::SetTime(int hours, int minutes, int seconds) {
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
    return Status::Message(kMsgBadTime, "FTime::SetTime");
  }
  hours_ = hours;
  minutes_ = minutes;
  seconds_ = seconds;
  return Status::Ok();
}

Status FTime::SetTime(double decimalHours) {
  if (!(decimalHours >= 0.0 && decimalHours < 24.0)) {
    return Status::Message(kMsgBadTime, "FTime::SetTime");
  }
  const long total = std::min(std::lround(decimalHours * 3600.0), 86399L);
  return SetTime(static_cast<int>(total / 3600), static_cast<int>(total / 60 % 60),
                 static_cast<int>(total % 60));
}

std::int64_t FTime::AddMinutes(std::int64_t minutes) {
  // Whole days first, so that no sum or product can overflow.
  std::int64_t days = minutes / 1440;
  std::int64_t inDay = minutes % 1440;
  if (inDay < 0) {
    --days;
    inDay += 1440;
  }
  inDay += hours_ * 60 + minutes_;
  if (inDay >= 1440) {
    ++days;
    inDay -= 1440;
  }
  hours_ = static_cast<int>(inDay / 60);
  minutes_ = static_cast<int>(inDay % 60);
  return days;
}

std::string FTimeCor::ToText() const { return sign_ + TwoFields(hours_, minutes_); }

Status FTimeCor::SetTime(int hours, int minutes, char sign) {
  return SetTime(hours, minutes, 0, sign);
}

Status FTimeCor::SetTime(int hours, int minutes, int seconds, char sign) {
  if (sign != '+' && sign != '-') return Status::Message(kMsgBadTime, "FTimeCor::SetTime");
  if (Status st = FTime::SetTime(hours, minutes, seconds); !st.ok()) return st;
  sign_ = sign;
  return Status::Ok();
}

std::string FTimeCor::FullText() const {
  std::string text = ToText();
  if (seconds_ != 0) {
    char field[16];
    std::snprintf(field, sizeof field, ":%02d", seconds_);
    text += field;
  }
  return text;
}

std::string FTimeCor::CommonName() const {
  if (seconds_ != 0) return {};
  const int minutesEast = (sign_ == '+' ? 1 : -1) * (hours_ * 60 + minutes_);
  for (const NamedZone& zone : kZoneNames) {
    if (zone.minutesEast == minutesEast) return zone.name;
  }
  return {};
}

std::string FTimeCor::ZoneName() const {
  std::string name = CommonName();
  return name.empty() ? "GMT" + FullText() : name;
}
