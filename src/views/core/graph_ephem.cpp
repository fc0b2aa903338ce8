#include "views/core/graph_ephem.h"

#include <algorithm>
#include <new>

#include "astro/ephemeris/chart_routines.h"
#include "astro/ephemeris/longitudes.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"

namespace ephem {

namespace {

struct Period {
  double stepDays;
  int points;  // 0: two per day of the first date's month, and one
  int moon;
  int scrollDays;
};
constexpr Period kPeriods[kPeriodCount] = {{0.5, 0, 1, 15},  {1.0, 61, 1, 30},  {2.0, 47, 1, 45},
                                           {3.0, 61, 1, 91}, {7.0, 53, 0, 182}, {7.0, 105, 0, 365}};

constexpr int kBlendFirstYear = 1840;
constexpr int kBlendLastYear = 1850;

double PlutoAt(const Ephemeris& ephemeris, int year, int month, int day, double hours,
               const SunAtDateResult& when) {
  switch (PlutoSourceOfYear(year)) {
    case PlutoSource::Table:
      return PlutoTablePosition(ephemeris, year, month, day, hours);
    case PlutoSource::Theory:
      return AnalyticPlanetPosition(9, when.julianCenturies1900);
    case PlutoSource::Blend:
      break;
  }
  return BlendPlutoLongitude(PlutoTablePosition(ephemeris, year, month, day, hours),
                             AnalyticPlanetPosition(9, when.julianCenturies1900), when.julianDay);
}

}  // namespace

FirstDate MakeFirstDate(int day, int month, int year) {
  FirstDate result;
  int y = std::clamp(year == 0 ? 1 : year, -kMaxEnteredYear, kMaxEnteredYear);
  const int m = std::clamp(month, 1, 12);
  int d = std::clamp(day, 1, GetDaysInMonth(m, y));
  if (y == 1582 && m == 10 && d > 4 && d < 15) d = 15;
  // Every corrected date exists, so this cannot fail.
  (void)result.date.SetDate(d, m, y);
  result.corrected = d != day || m != month || y != year;
  return result;
}

PlutoSource PlutoSourceOfYear(int year) {
  if (year < kBlendFirstYear) return PlutoSource::Table;
  if (year > kBlendLastYear) return PlutoSource::Theory;
  return PlutoSource::Blend;
}

double BlendPlutoLongitude(double table, double theory, double jd) {
  const double from = JUL_DAY(kBlendFirstYear, 1, 1, 0.0);
  const double to = JUL_DAY(kBlendLastYear + 1, 1, 1, 0.0);
  return InterpolateLongitude(table, theory, from, to, jd);
}

Longitudes SampleLongitudes(const Ephemeris& ephemeris, const Moment& first, double stepDays,
                            int points) {
  Longitudes values;
  const std::size_t n = points > 0 ? static_cast<std::size_t>(points) : 0;
  for (auto& array : values) {
    try {
      array.assign(n, kAbsent);
    } catch (const std::bad_alloc&) {
      ReportError(kErrNoMemory, "Calculate", 0);
    }
  }
  Moment moment = first;
  for (std::size_t i = 0; i < n; ++i) {
    // The astronomical year (1 BC is 0), which the date routines of the ephemeris take.
    const int year = moment.date.AstronomicalYear();
    const int month = moment.date.Month(), day = moment.date.Day();
    const double hours = moment.time.GetHours();
    const SunAtDateResult when = SunAtDate(year, month, day, hours);
    double at[kBodies];
    // The apparent Sun, as every chart shows it (the quick formula's geometric longitude is
    // nearly a minute of arc behind).
    at[0] = ephemeris.Position(0, ToTt(JdUt{when.julianDay})).longitude;
    at[1] = MoonPosition(ephemeris, when.julianCenturies1900, 'T', 'M').moonLongitude;
    for (int body = 2; body < 9; ++body)
      at[body] = AnalyticPlanetPosition(body, when.julianCenturies1900);
    at[9] = PlutoAt(ephemeris, year, month, day, hours, when);
    for (int body = 0; body < kBodies; ++body)
      if (i < values[body].size()) values[body][i] = at[body];
    moment.AddDays(stepDays);
  }
  return values;
}

}  // namespace ephem

Moment RGraphEphem::FirstMoment() const {
  using E = cfg::GraphicEphemerisSettings;
  if (settings == nullptr) return Moment{};
  const ephem::FirstDate first = ephem::MakeFirstDate(
      settings->Get(E::kDay), settings->Get(E::kMonth), settings->Get(E::kYear));
  return Moment(first.date, FTime{});
}

void RGraphEphem::DefineScale() {
  using E = cfg::GraphicEphemerisSettings;
  if (settings == nullptr) return;
  const int code = settings->Get(E::kPeriod);
  if (code < 0 || code >= ephem::kPeriodCount) return;
  const auto& period = ephem::kPeriods[code];
  timeStep = period.stepDays;
  if (period.points > 0) {
    pointCount = period.points;
  } else {
    const FDate first = FirstMoment().date;
    pointCount = 2 * GetDaysInMonth(first.Month(), first.Year(), first.Era()) + 1;
  }
  moonFlag = period.moon;
  scrollDays = period.scrollDays;
}

void RGraphEphem::SetUp(Configuration& config, int width, int heightNegated) {
  using E = cfg::GraphicEphemerisSettings;
  settings = &config.graphicEphemeris;
  UsePrintSettings(config);
  leftPercent = kLeftPercent;
  topPercent = kTopPercent;
  rightPercent = kRightPercent;
  bottomPercent = kBottomPercent;
  valueMax = 360.0;
  pageOffset = kPageOffset;
  DefineScale();
  DefineArea(width, heightNegated);
  SetQLines(ephem::kBodies);
  for (int i = 0; i < curveCount; ++i)
    curveColour[static_cast<std::size_t>(i)] = settings->Get(E::kCurveColour[i]);
  landscapeRotation = settings->Get(E::kRotationCorrection) > 0 ? 270 : 90;
}

void RGraphEphem::Calculate(const Ephemeris& ephemeris) {
  values_ = ephem::SampleLongitudes(ephemeris, FirstMoment(), timeStep, pointCount);
  for (int i = 0; i < curveCount && i < ephem::kBodies; ++i) {
    const auto& array = values_[static_cast<std::size_t>(i)];
    curveValues[static_cast<std::size_t>(i)] =
        array.size() >= static_cast<std::size_t>(std::max(pointCount, 0)) && !array.empty()
            ? array.data()
            : nullptr;
  }
}
