#include "views/core/planetary_hours.h"

#include <cmath>
#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"

namespace hours {

namespace {

// The Chaldean sequence from the Sun: Sun, Venus, Mercury, Moon, Saturn, Jupiter, Mars.
constexpr std::array<int, 7> kSequence = {0, 3, 2, 1, 6, 5, 4};
// The place of each weekday's ruler in the sequence, Monday (the Moon) first.
constexpr std::array<int, 7> kDayRulerPlace = {3, 6, 2, 5, 1, 4, 0};
constexpr double kHourDays = 1.0 / 24.0;

// The computing Source of a chart copy, to move its moment.
Source& MovableSource(Chart& chart) {
  return const_cast<Source&>(ComputingSource(chart.definition));
}

}  // namespace

std::string MinuteText(double localJd) {
  // The nearest whole minute (a day is 1440 of them from a Julian day's noon): the moment then
  // falls on that minute to far less than the second the calendar rounds to.
  Moment m;
  if (!std::isfinite(localJd) || !m.SetMoment(std::round(localJd * 1440.0) / 1440.0).ok())
    return "--:--";
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", m.time.Hours() % 100, m.time.Minutes() % 100);
  return text;
}

int GetHourRuler(int weekday, int hour, bool night) {
  if (weekday < 0 || weekday > 6 || hour < 0 || hour >= kHoursPerHalf) return -1;
  const int n = kDayRulerPlace[static_cast<std::size_t>(weekday)] + hour + (night ? 12 : 0);
  return kSequence[static_cast<std::size_t>(n % 7)];
}

double SunRiseSet::HourBegin(int i) const {
  if (i < kHoursPerHalf) return riseJd + (setJd - riseJd) * i / kHoursPerHalf;
  return setJd + (nextRiseJd - setJd) * (i - kHoursPerHalf) / kHoursPerHalf;
}

double ChartLocalJulianDay(const Chart& chart) {
  return ComputingSource(chart.definition).moment.JulianDay();
}

SunOfDate FindSunOfDate(const ChartContext& ctx, const Chart& chart) {
  SunOfDate date;
  Moment m;
  if (chart.FindRiseSetOnDate(ctx, 0, 0, m)) date.rise = m;
  if (chart.FindRiseSetOnDate(ctx, 1, 0, m)) date.set = m;
  return date;
}

std::optional<SunRiseSet> FindSunRiseSet(const ChartContext& ctx, const Chart& chart) {
  return FindSunRiseSet(ctx, chart, FindSunOfDate(ctx, chart), std::nullopt);
}

std::optional<SunRiseSet> FindSunRiseSet(const ChartContext& ctx, const Chart& chart,
                                         const SunOfDate& date,
                                         const std::optional<Moment>& nextRise) {
  if (!date.rise || !date.set) return std::nullopt;
  SunRiseSet sun;
  sun.rise = *date.rise;
  sun.set = *date.set;
  // The next rising: the first an hour or more after this one. One known already is it when it
  // lies within a day after that hour (risings are a day apart, to half an hour).
  const double hourAfter = sun.rise.JulianDay() + kHourDays;
  if (nextRise && nextRise->JulianDay() >= hourAfter && nextRise->JulianDay() <= hourAfter + 1.0) {
    sun.nextRise = *nextRise;
  } else {
    Chart later = chart;
    Moment from = sun.rise;
    from.AddDays(kHourDays);
    MovableSource(later).AssignMoment(from);
    if (!later.FindRiseSetMoment(ctx, 0, 0, true, sun.nextRise)) return std::nullopt;
  }
  sun.riseJd = sun.rise.JulianDay();
  sun.setJd = sun.set.JulianDay();
  sun.nextRiseJd = sun.nextRise.JulianDay();
  if (!(sun.riseJd < sun.setJd && sun.setJd < sun.nextRiseJd)) return std::nullopt;
  return sun;
}

int FindCurrentHour(double moment, const SunRiseSet& sun) {
  int first = 0;
  if (moment >= sun.riseJd && moment < sun.setJd) {
    first = 0;
  } else if (moment >= sun.setJd && moment < sun.nextRiseJd) {
    first = kHoursPerHalf;
  } else {
    return -1;
  }
  int hour = first;
  for (int i = first + 1; i < first + kHoursPerHalf; ++i) {
    if (sun.HourBegin(i) > moment) break;
    hour = i;
  }
  return hour;
}

bool ComputeHoursOfDay(const ChartContext& ctx, const Chart& chart, HoursTable& table,
                       int* current) {
  return ComputeHoursOfDay(ctx, chart, table, ChartLocalJulianDay(chart), current);
}

bool ComputeHoursOfDay(const ChartContext& ctx, const Chart& chart, HoursTable& table,
                       double moment, int* current) {
  const std::optional<SunRiseSet> sun = FindSunRiseSet(ctx, chart);
  if (!sun) return false;
  FillHoursTable(*sun, table);
  if (current != nullptr) *current = FindCurrentHour(moment, *sun);
  return true;
}

void FillHoursTable(const SunRiseSet& sun, HoursTable& table) {
  const int weekday = sun.rise.date.DayOfWeek();
  for (int i = 0; i < kHoursPerDay; ++i) {
    HourEntry& entry = table[static_cast<std::size_t>(i)];
    const bool night = i >= kHoursPerHalf;
    entry.ruler = GetHourRuler(weekday, i % kHoursPerHalf, night);
    entry.begin = MinuteText(sun.HourBegin(i));
  }
}

}  // namespace hours
