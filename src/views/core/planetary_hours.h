// Planetary hours: the day from sunrise to sunset and the night from sunset to the next sunrise,
// each divided into twelve equal hours, and the planet that rules each hour in the Chaldean order
// (Saturn, Jupiter, Mars, Sun, Venus, Mercury, Moon) from the ruler of the weekday.
//
// Ruler numbers: 0 Sun, 1 Moon, 2 Mercury, 3 Venus, 4 Mars, 5 Jupiter, 6 Saturn. Weekdays as
// FDate::DayOfWeek gives them: 0 Monday to 6 Sunday. Moments are on the chart's own clock.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "foundation/datetime/moment.h"

class Chart;
class ChartContext;

namespace hours {

inline constexpr int kHoursPerHalf = 12;
inline constexpr int kHoursPerDay = 24;  // 12 day hours, then 12 night hours

// The ruler of day hour (`night` false) or night hour `hour` (0..11) of `weekday` (0..6); -1 for
// a weekday or hour outside those ranges.
int GetHourRuler(int weekday, int hour, bool night);

struct HourEntry {
  std::string begin = "--:--";  // "HH:MM" on the chart's clock, to the nearest minute
  int ruler = 0;
};

// "HH:MM" of a local Julian day rounded to the nearest minute; "--:--" outside the calendar.
std::string MinuteText(double localJd);
// One day's hours: entries 0..11 the day hours, 12..23 the night hours.
using HoursTable = std::array<HourEntry, kHoursPerDay>;

// The sunrise and sunset of the chart's date and the sunrise after it (local Julian days).
struct SunRiseSet {
  Moment rise, set, nextRise;
  double riseJd = 0.0, setJd = 0.0, nextRiseJd = 0.0;
  // The beginning of hour i (0..11 day, 12..23 night) as a local Julian day.
  double HourBegin(int i) const;
};

// The Sun's rising and setting on the chart's local date (Chart::FindRiseSetOnDate); a missing
// one is empty.
struct SunOfDate {
  std::optional<Moment> rise, set;
};
SunOfDate FindSunOfDate(const ChartContext& ctx, const Chart& chart);

// The Sun rising and setting on the chart's local date and the next rising (the first an hour or
// more after the first); nothing when either event of the date is missing or they are out of
// order. `date` gives the events of the date when they are known already; `nextRise` a rising
// known already, taken when it is the next one (within a day after the hour), else searched.
std::optional<SunRiseSet> FindSunRiseSet(const ChartContext& ctx, const Chart& chart);
std::optional<SunRiseSet> FindSunRiseSet(const ChartContext& ctx, const Chart& chart,
                                         const SunOfDate& date,
                                         const std::optional<Moment>& nextRise);

// The rulers and beginnings of one day's hours.
void FillHoursTable(const SunRiseSet& sun, HoursTable& table);

// The hour (0..11 day, 12..23 night) that holds the local Julian day `moment`; -1 when it lies
// before the sunrise or from the next sunrise on.
int FindCurrentHour(double moment, const SunRiseSet& sun);

// Fills `table` for the chart's date; with `current` also the hour in it of the local Julian day
// `moment` (-1 when it lies outside that day's cycle). False when sunrise or sunset is missing.
bool ComputeHoursOfDay(const ChartContext& ctx, const Chart& chart, HoursTable& table,
                       double moment, int* current);
// The same with the chart's own moment.
bool ComputeHoursOfDay(const ChartContext& ctx, const Chart& chart, HoursTable& table,
                       int* current = nullptr);

// The hour that holds the chart's moment in the two tables of the panel: the day before's
// (table 0) or the chart day's (table 1). A separate "none" rather than a number that could also
// be an hour.
struct CurrentHour {
  int table = -1;  // -1 none, 0 the day before, 1 the chart's day
  int hour = -1;   // 0..23 within the table
  bool Found() const { return table >= 0 && hour >= 0; }
  // The cell of the two tables drawn side by side (0..47), -1 when none.
  int Cell() const { return Found() ? table * kHoursPerDay + hour : -1; }
};

// The local moment of the chart's computing Source as a Julian day.
double ChartLocalJulianDay(const Chart& chart);

}  // namespace hours
