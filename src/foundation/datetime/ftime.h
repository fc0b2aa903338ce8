// Times of day and time-zone corrections, to the whole second.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/status.h"

// A time of day: hours 0..23, minutes 0..59, seconds 0..59.
class FTime {
 public:
  FTime() = default;  // 00:00:00
  virtual ~FTime() = default;
  FTime(const FTime&) = default;
  FTime& operator=(const FTime&) = default;

  // "HH:MM".
  virtual std::string ToText() const;

  int Hours() const { return hours_; }
  int Minutes() const { return minutes_; }
  int Seconds() const { return seconds_; }

  // A value outside its range leaves the time unchanged and returns message 659.
  Status SetTime(int hours, int minutes, int seconds = 0);
  // From decimal hours in [0, 24), rounded to the nearest second (a time that would round up to
  // 24:00:00 becomes 23:59:59). Message 659 outside that range.
  Status SetTime(double decimalHours);

  // hours + minutes / 60 + seconds / 3600.
  double GetHours() const { return hours_ + minutes_ / 60.0 + seconds_ / 3600.0; }
  // The time of day as a fraction of a day.
  double GetDays() const { return SecondsOfDay() / 86400.0; }
  int SecondsOfDay() const { return hours_ * 3600 + minutes_ * 60 + seconds_; }
  // Adds minutes (negative to go back), brings the time into 0..24 hours and returns the whole
  // days carried (negative when going back past midnight), which the caller adds to the date.
  std::int64_t AddMinutes(std::int64_t minutes);

  friend bool operator==(const FTime& a, const FTime& b) {
    return a.SecondsOfDay() == b.SecondsOfDay();
  }

 protected:
  int hours_ = 0;
  int minutes_ = 0;
  int seconds_ = 0;
};

// The largest zone correction, in hours either way (whole only): every offset of the tz database
// (14 hours at most) and local mean time (under 16 hours: Manila before 1845, Alaska before 1867).
// The chart records hold the hours as a word, so nothing larger is refused by them.
inline constexpr int kMaxZoneHours = 16;

// A time-zone correction: the local time is Universal Time plus the correction when the sign is
// '+' (east of Greenwich), minus it when the sign is '-'.
class FTimeCor : public FTime {
 public:
  FTimeCor() = default;  // +00:00

  // The sign and "HH:MM", for example "+03:00".
  std::string ToText() const override;
  // The sign and "HH:MM", or "HH:MM:SS" when the seconds are not 0: "+02:30:17".
  std::string FullText() const;

  char Sign() const { return sign_; }
  using FTime::SetTime;
  // `sign` '+' or '-'; anything else, or a bad time, leaves the correction unchanged and returns
  // message 659.
  Status SetTime(int hours, int minutes, char sign);
  Status SetTime(int hours, int minutes, int seconds, char sign);
  // The correction in signed decimal hours, east positive.
  double GetCorrectionHours() const { return sign_ == '+' ? GetHours() : -GetHours(); }

  friend bool operator==(const FTimeCor& a, const FTimeCor& b) {
    return a.GetCorrectionHours() == b.GetCorrectionHours();
  }

 private:
  char sign_ = '+';
};
