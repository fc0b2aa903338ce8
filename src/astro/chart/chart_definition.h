// The astronomical operations on a chart definition: progression and direction rates, the
// Sources a kind derives from the others (progressed, transit and composite moments), returns and
// lunar phases, and the definitions of progressed, transit and directed charts of a natal chart.
// Rates and key units: docs/decisions.md, "Chart computation". What reads the ephemeris or the
// settings takes a ChartContext.
#pragma once

#include "foundation/datetime/moment.h"
#include "foundation/datetime/super_source.h"
#include "foundation/status.h"

class Chart;
class ChartContext;

// Progression methods (key kind of kind 4) and direction methods (key kind of kind 5).
enum ProgressionMethod : int {
  kProgressionSecondary = 0,  // a day for a year
  kProgressionTertiary = 1,   // a day for a sidereal month
  kProgressionMinor = 2,      // a sidereal month for a year
  kProgressionMean = 3,       // a day for a mean synodic month
  kProgressionUserKey = 4,
};
enum DirectionMethod : int {
  kDirectionSymbolic = 0,  // one degree a year
  kDirectionMeanSolarArc = 1,
  kDirectionTrueSolarArc = 2,
  kDirectionBirthArc = 3,     // the Sun's motion on the day of birth, each year
  kDirectionProfections = 4,  // 30 degrees a year
  kDirectionUserKey = 5,
};

inline constexpr double kTropicalYearDays = 365.2422;
inline constexpr double kSiderealMonthDays = 27.321661;
inline constexpr double kSynodicMonthDays = 29.530589;
inline constexpr double kSunMeanMotionDeg = 0.98564736;  // degrees per day
// The synastry chart's composite switch (key kind of kind 6).
inline constexpr std::uint16_t kCompositeSwitch = 1;
// A synastry chart with the composite switch: cast for the midpoint of its two Sources.
inline bool IsCompositeChart(const SuperSource& definition) {
  return definition.Kind() == kChartSynastry && definition.keyKind == kCompositeSwitch;
}

// Days of progressed time per day of life (positive) from the key kind of a progressed chart;
// the user's key: arc count arc units of progressed time per time count time units of life.
double DefineProgressionKoef(const SuperSource& definition);
// 1.0 for kinds 0, 1 and 3, the progression factor for kind 4, 1.0 for the others; negated for a
// converse chart.
double GetTimeFactor(const SuperSource& definition);
// 12 degrees a day for kinds 0, 1 and 3; else 12 times the absolute time factor.
double GetLunarDailyArc(const SuperSource& definition);
// Degrees of arc per day of life (positive) of a directed chart from its key kind; the true solar
// arc and the birth arc read the ephemeris.
double DefineDirectionKoef(const ChartContext& ctx, const SuperSource& definition);
// The signed arc of a directed chart: its rate times the days from the birth (first Source) to the
// chart's moment (second Source); the true solar arc is the progressed Sun's own arc; negated for a
// converse chart.
double DirectionArc(const ChartContext& ctx, const SuperSource& definition);

// The third Source becomes the midpoint of the first two: the mean instant (zone +00:00) at the
// mean latitude and longitude (the shorter way round), named after the first.
Status MakeMidpointSource(SuperSource& definition);
// Derives the Sources that kinds compute from the entered ones: the transit moment (kind 3), the
// progressed moment (kind 4) and the composite Source (kind 6 with the switch) in the third
// Source. Other kinds are left as they are.
Status DeriveCountSource(SuperSource& definition);
// The Source whose moment and place the chart is cast for: the third for a composite synastry
// chart, else GetCountSrc().
const Source& ComputingSource(const SuperSource& definition);

// Moves the second Source to the first moment at or after it at which the returning body (key arc
// count: 0 Sun .. 9 Pluto; 0 for any other value) stands on its longitude at birth (first Source).
// Error 107 when no return is found within 1.5 of the body's periods.
Status CountMomentOfRevolution(const ChartContext& ctx, SuperSource& definition);
// Moves the second Source to the first moment at or after it at which the Moon stands from the Sun
// as at birth (first Source). Error 107 when none is found (never within a synodic month).
Status CountMomentOfLunarPhase(const ChartContext& ctx, SuperSource& definition);

// The definition of the progressed (kind 4), transit (kind 3) or directed (kind 5) chart of a
// natal chart for a moment on the natal clock: first Source the natal data (the natal chart's
// computed Source), second and third the moment at the birth place. Key kind, key, converse flag
// and aspect-system name are the natal chart's when it is of the same kind, else secondary
// progressions or symbolic directions, direct. Not computed: ChartCalculate follows.
Status MakeProgressed(const ChartContext& ctx, Chart& out, const Chart& natal,
                      const Moment& target);
Status MakeTransit(const ChartContext& ctx, Chart& out, const Chart& natal, const Moment& target);
Status MakeDirected(const ChartContext& ctx, Chart& out, const Chart& natal, const Moment& target);

// The definition's aspect-system name becomes the configuration's name for its kind.
void ResetAspectSystemName(const ChartContext& ctx, SuperSource& definition);
// Keeps the name when such a system is loaded, else resets it.
void CheckAspectSystemName(const ChartContext& ctx, SuperSource& definition);
