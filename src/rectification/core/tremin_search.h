// The Tremin rectification search: trial moments at a fixed step through the possible birth
// interval, each marked with its possibility (first pass); the runs of equal possibility are the
// possible intervals the user reviews; every moment possible enough then gets its direction and
// progression scores (second pass), and the moments whose two scores both reach the threshold
// are the result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "foundation/datetime/moment.h"
#include "foundation/status.h"
#include "rectification/core/life_event.h"
#include "rectification/core/rect_matrix.h"
#include "rectification/core/tremin_rect.h"

class ChartContext;
class Configuration;
class LifeEventList;

namespace platform {
class ProgressSink;
}

// The longest possible interval of the method: 1.4 days.
inline constexpr std::int64_t kTmMaxSpanMinutes = 2016;
// A score that was not kept.
inline constexpr std::int16_t kTmNoScore = -1;

// What the search reads of the method's settings block.
struct TmSearchSettings {
  std::string applyingSystem;
  std::string separatingSystem;
  int minimumPossibility = 0;  // 0..100
  int step = 0;                // the block's code: 0 = 2 s ... 4 = 30 s, other 60 s
  int resultOrder = 0;         // 0 chronological, other by score
  int minimumScore = 0;        // points; scores below 10 x this (tenths) are not kept
};

TmSearchSettings ReadTmSearchSettings(const Configuration& config);
// Stores the minimum possibility (clamped to 0..100) in the settings block.
void WriteTmMinimumPossibility(Configuration& config, int minimumPossibility);
// The possible interval of the configuration (begin and end words, local time).
RectInterval ReadTmInterval(const Configuration& config);
// Seconds between trial moments for the block's step code: 2, 5, 10, 20, 30, else 60.
int TmStepSeconds(int stepCode);

// A run of trial moments of equal possibility.
struct TmPossibleInterval {
  int first = -1;
  int last = -1;
  int possibility = 0;
  friend bool operator==(const TmPossibleInterval&, const TmPossibleInterval&) = default;
};

// The trial moments of one search and their marks.
class PossInt {
 public:
  // `count` moments from `begin` (universal time), `step` seconds apart; every mark cleared.
  void PossMomInit(const Moment& begin, int count, int step);
  // Moment i: the begin moment plus i x step seconds.
  Moment GetMoment(int i) const;
  // The runs of equal possibility other than the impossible ones, in moment order.
  int CountIntervals() const;
  void FillPositiveInts();
  // The count of moments whose two scores both reach 10 x minimumScore.
  int SelectItemsWithPositiveKoef(int minimumScore) const;
  // The selected moments: in moment order (order 0), else by the descending integer half of the
  // sum of their two scores, equal halves in moment order.
  void SelectResults(int minimumScore, int order);
  void Free();

  int Count() const { return count_; }
  int Step() const { return step_; }
  const Moment& Begin() const { return begin_; }

  std::vector<std::int16_t> possibility;  // kTmImpossible for an impossible moment
  std::vector<std::int16_t> directions;   // tenths of a point; kTmNoScore when not kept
  std::vector<std::int16_t> progressions;
  std::vector<int> selected;  // moment indices of the result, in result order
  std::vector<TmPossibleInterval> intervals;

 private:
  int count_ = 0;
  int step_ = 60;
  Moment begin_;
};

// Shown between the passes: the possible intervals of `search`; may change the minimum
// possibility. False when the user cancels.
class TmSearch;
using TmIntervalChooser = std::function<bool(const TmSearch& search, int& minimumPossibility)>;

inline constexpr int kTmSearchCancelled = 0;
inline constexpr int kTmSearchDone = 1;

class TmSearch {
 public:
  TmSearch() = default;
  TmSearch(const TmSearch&) = delete;
  TmSearch& operator=(const TmSearch&) = delete;

  // Takes the settings, the interval (local time of the chart's place), the events in use (in
  // display order), copies of the two aspect systems and the document chart's birth data, and
  // sizes the moments. Refused with message 59 (naming the system) when an aspect system is not
  // loaded, 451 without an event in use, a date or time message for a bad interval, 89 when the
  // end lies before the begin, 90 for a span of more than 1.4 days.
  Status Prepare(const ChartContext& ctx, const Chart& document, const LifeEventList& events,
                 const TmSearchSettings& settings, const RectInterval& interval);

  // The first pass: the possibility of every moment. Message 1980 when cancelled.
  Status FirstPass(const ChartContext& ctx, platform::ProgressSink& progress);
  // The second pass: the two scores of every moment whose possibility reaches the minimum, then
  // the selection. Message 1980 when cancelled (nothing selected).
  Status SecondPass(const ChartContext& ctx, platform::ProgressSink& progress);
  // Both passes with the chooser between them: kTmSearchDone, or kTmSearchCancelled when the
  // chooser was cancelled or the progress was (`problem` then holds message 1980), or a refusal
  // of a pass (in `problem`).
  int Search(const ChartContext& ctx, platform::ProgressSink& progress,
             const TmIntervalChooser& chooser, Status& problem);

  // The trial chart of moment i: the birth data at moment i of universal time (zone +00:00),
  // bodies with speeds and cusps.
  Status TrialChart(const ChartContext& ctx, int i, Chart& out) const;
  // The zone correction of the chart's clock in days (east positive).
  double GetZoneDays() const;
  // Moment i on the chart's own clock.
  Moment LocalMoment(int i) const;

  const PossInt& Moments() const { return moments_; }
  PossInt& Moments() { return moments_; }
  const TmSearchSettings& Settings() const { return settings_; }
  int MinimumPossibility() const { return settings_.minimumPossibility; }
  void SetMinimumPossibility(int value);
  const std::vector<LifeEvent>& Events() const { return events_; }
  TmRect& Rect() { return *rect_; }

 private:
  TmSearchSettings settings_;
  std::vector<LifeEvent> events_;
  Chart working_;  // a natal chart of the document's birth data
  AspectSystem applying_, separating_;
  std::unique_ptr<TmRect> rect_;
  std::vector<std::int8_t> proserpina_;  // the ruler flag of each moment's possibility
  PossInt moments_;
};
