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
