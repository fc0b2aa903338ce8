#include "views/core/planetary_hours.h"

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

std::string HoursMinutes(double localJd) {
  Moment m;
  if (!m.SetMoment(localJd).ok()) return "--:--";
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", m.time.Hours() % 100, m.time.Minutes() % 100);
  return text;
}

}  // namespace

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

std::optional<SunRiseSet> FindSunRiseSet(const ChartContext& ctx, const Chart& chart) {
  SunRiseSet sun;
  if (!chart.FindRiseSetOnDate(ctx, 0, 0, sun.rise)) return std::nullopt;
  if (!chart.FindRiseSetOnDate(ctx, 1, 0, sun.set)) return std::nullopt;
  // The next rising, searched from an hour after this one.
  Chart later = chart;
  Moment from = sun.rise;
  from.AddDays(kHourDays);
  MovableSource(later).AssignMoment(from);
  if (!later.FindRiseSetMoment(ctx, 0, 0, true, sun.nextRise)) return std::nullopt;
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
  const int weekday = sun->rise.date.DayOfWeek();
  for (int i = 0; i < kHoursPerDay; ++i) {
    HourEntry& entry = table[static_cast<std::size_t>(i)];
    const bool night = i >= kHoursPerHalf;
    entry.ruler = GetHourRuler(weekday, i % kHoursPerHalf, night);
    entry.begin = HoursMinutes(sun->HourBegin(i));
  }
  if (current != nullptr) *current = FindCurrentHour(moment, *sun);
  return true;
}

}  // namespace hours
