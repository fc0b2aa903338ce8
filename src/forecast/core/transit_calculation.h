// The transit calculation: turns the transit settings into the list of found transit events. It
// prepares the moving chart and the natal chart behind it, builds the list of searched pairs
// (each with one aspect angle, side, event kind and orb kind), defines the search period, runs the
// date searches (transit_dispatch.h) pair by pair, carries the found moments to the chart's time
// and sorts them. The transit list view owns one and reads its events.
//
// Clocks: the searches run on Universal Time of the moving chart's clock (the progressed time of
// a progressed chart, mapped from the time of life by the chart's time factor k about the birth);
// the settings' period is in time of life; events are reported in the time of the chart's zone.
// Qt-free and re-entrant: it reads only its inputs and the ChartContext it is given.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "forecast/core/transit_settings.h"
#include "foundation/datetime/moment.h"
#include "foundation/numbers/angles.h"
#include "foundation/status.h"
#include "platform/core/progress_sink.h"

class Groups;

// The longest search period of each pair of moving bodies, in days: row the transiting body,
// column the target, each 0..10 (the Sun .. Chiron), 11 the Black Moon, 12 the White Moon.
inline constexpr int kTransitTableRows = 13;
using TransitPeriodTable = std::array<int, kTransitTableRows * kTransitTableRows>;

// The row of a body in the table; -1 for any other point.
int TransitTableRow(int body);
// True for the bodies a transit search moves: 0..10, 18 and 21.
bool IsTransitBody(int body);
// Reads the 169 whole numbers of "velm.tri" (separated by blanks or line ends). Error 102 when
// the file cannot be opened, 106 when it holds fewer numbers, or anything else than numbers and
// blanks, or a negative number. The run falls back on the compiled-in copy of the table
// (`TransitPeriodsTable`) when the file is missing or damaged.
Status LoadTransitPeriods(const std::filesystem::path& file, TransitPeriodTable& table);

// The compiled-in copy of "velm.tri".
TransitPeriodTable ShippedTransitPeriods();
// The chart's time factor k: the progression or direction rate of a progressed or directed chart
// (negative when converse), -1 for any other converse chart, else 1.
double TransitTimeFactor(const ChartContext& ctx, const SuperSource& definition);
// The longest period in days of life a search covers from its start (a longer one is cut, message
// 1042): for a natal, horary or synastry chart the smallest table value of the pairs searched
// (`smallestTable`); for a directed chart 270 degrees of arc at the rate; for any other chart, in
// the mode to the natal chart three quarters of the turn of the fastest transiting body, else the
// smallest table value, each divided by |k|.
double TransitLongestPeriod(int kind, double k, int mode, int smallestTable, int fastestBody);
// The same for the pairs `settings` make (its transiting body or the bodies of its group against
// its target, the members of a target group, a house), before any aspect is chosen: never longer
// than the period the run of those settings covers.
double TransitLongestPeriod(const TransitSettings& settings, int kind, double k,
                            const Groups& groups, const TransitPeriodTable& table);

// One searched pair with one aspect angle.
struct TransitPairItem {
  std::int16_t transiting = 0;  // body 0..10, 18, 21
  std::int16_t target = 0;      // a body (or natal point), or 34 + n for the cusp of house n
  std::uint16_t aspect = 0;     // position in the aspect system, or 1001 the own angle
  std::uint8_t natal = 0;       // 1: to the natal chart
  char side = 'L';              // 'L' the angle as it is, 'R' 360 minus it
  char orbKind = 'X';           // 'X' no orb of the system, 'E' the exact orb, 'N' the class orb
  char event = 'E';             // 'E' exact, 'I' entering the orb, 'O' leaving it
  std::int16_t code = 0;        // aspect index, or minus the angle in minutes
  double angle = 0.0;           // degrees added to the target's longitude, 0..360
};

// One found transit.
struct TransitEventRecord {
  std::int16_t transiting = 0;  // of two moving bodies, the faster one
  std::int16_t target = 0;
  std::int16_t code = 0;
  char side = 'L';
  char orbKind = 'X';
  char event = 'E';
  char transitingMotion = '0';  // 'D', 'R', or '0' not judged
  char targetMotion = '0';
  Moment moment;                         // the chart's time
  double julianDay = 0.0;                // of `moment`, the sort key
  double transitingLongitude = kAbsent;  // at the event
  double targetLongitude = kAbsent;  // the natal longitude without the angle, or the moving target
};

class TransitCalculation {
 public:
  static constexpr int kMaxEvents = 1000;

  // `groups`: the user's groups, read by the builder of the pair list; `periodsFile`: "velm.tri".
  TransitCalculation(const TransitSettings& settings, const Chart& chart, const Groups& groups,
                     std::filesystem::path periodsFile);

  // The whole calculation: the charts, the pair list, the period, the searches. Returns 1 when
  // events were found, 0 otherwise (the reason was then shown, unless the list of pairs came out
  // empty or the user cancelled before any event was found).
  int Run(const ChartContext& ctx, platform::ProgressSink* progress = nullptr);

  // The steps of Run, in order.
  Status PrepareCharts(const ChartContext& ctx);
  void CreatePointsListGeneral(const ChartContext& ctx);
  void AddPListItem(int transiting, int target, int aspect, double angle, char event, char side,
                    int natal, char orbKind, int code);
  Status DefinePeriod(const ChartContext& ctx);
  int CalculateTransits(const ChartContext& ctx, platform::ProgressSink* progress = nullptr);
  // Searches the next event of `pair` from `start` (UT of the moving clock) within the period: 1
  // when an event was added, 0 when the pair has no further event.
  int CalculateAspectDates(const ChartContext& ctx, const TransitPairItem& pair, double start);

  const std::vector<TransitPairItem>& PairItems() const { return pairs_; }
  const std::vector<TransitEventRecord>& Events() const { return events_; }
  int EventCount() const { return static_cast<int>(events_.size()); }
  // The transiting bodies (a group's usable members) and the distinct targets, 13 at most each.
  const std::vector<int>& TransitingBodies() const { return transitingBodies_; }
  const std::vector<int>& Targets() const { return targets_; }
  double TimeFactor() const { return k_; }
  bool ShowTimeOfDay() const { return showTimeOfDay_; }
  // The period on the moving clock (UT), and its ends in the chart's time as the events are.
  double SearchStart() const { return searchStart_; }
  double SearchEnd() const { return searchEnd_; }
  Moment PeriodStart() const { return ToChartTime(searchStart_); }
  Moment PeriodEnd() const { return ToChartTime(searchEnd_); }
  const Chart& MovingChart() const { return moving_; }
  const Chart* BaseChart() const { return base_ ? &*base_ : nullptr; }

 private:
  void AddItemsOfAspect(int transiting, int target, int aspect, double angle, int code,
                        double exactOrb, double classOrb);
  void AddPairItems(const ChartContext& ctx, const AspectSystem* system, int transiting,
                    int target);
  void AddTargetsOf(const ChartContext& ctx, const AspectSystem* system, int transiting);
  int DirectedEvents();
  void Record(const ChartContext& ctx, const TransitPairItem& pair, int transiting, int target,
              double ut, double transitingLongitude, double targetLongitude, char side);
  double NatalLongitude(int target) const;
  double LifeToSearch(double lifeUt) const;
  double SearchToLife(double searchUt) const;
  Moment ToChartTime(double searchUt) const;
  bool MapsThroughProgression() const;
  int Precision() const;

  TransitSettings settings_;
  const Chart& chart_;
  const Groups& groups_;
  std::filesystem::path periodsFile_;
  Chart moving_;
  std::optional<Chart> base_;
  double k_ = 1.0;
  double birthUt_ = 0.0;
  double zoneDays_ = 0.0;
  std::vector<TransitPairItem> pairs_;
  std::vector<int> transitingBodies_;
  std::vector<int> targets_;
  std::vector<TransitEventRecord> events_;
  double searchStart_ = 0.0, searchEnd_ = 0.0;
  bool showTimeOfDay_ = true;
};
