// The trutine of Hermes: the birth time rectified from an assumed moment of conception. The Moon at
// conception stands on the birth Ascendant (on the Descendant when the Moon at birth is waning),
// and the Ascendant (Descendant) at conception stands where the Moon is at birth. Pairs of birth
// and conception moments that satisfy both conditions are searched near the pregnancy's length
// before the birth, and those whose birth falls inside the possible interval are the variants.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "astro/chart/chart.h"
#include "foundation/datetime/moment.h"
#include "foundation/status.h"

class ChartContext;

namespace platform {
class ProgressSink;
}

inline constexpr int kHermesMaxVariants = 100;
// The refinement of one candidate gives up after this many repetitions.
inline constexpr int kHermesMaxRepetitions = 12;
// Variants whose birth and conception both lie within this many days of a listed one are the same.
inline constexpr double kHermesSameVariantDays = 1.0 / 240.0;
inline constexpr double kHermesDaysPerMonth = 30.43;
// The input opens on the chart's moment with six hours either side.
inline constexpr int kHermesDefaultHalfSpanMinutes = 360;

// One row of the input dialog on the chart's own clock; a negative year is before Christ.
struct HermesRow {
  int day = 1, month = 1, year = 2000, hour = 0, minute = 0;
  // 0 when the row is a moment that can be held, else the message: the date's (657, 656, 777,
  // 776, 775) or 659 for the time.
  int Fault() const;
  // The row as a local moment (the row must be sound).
  Moment ToMoment() const;
  static HermesRow FromMoment(const Moment& moment);
  friend bool operator==(const HermesRow&, const HermesRow&) = default;
};

// The input dialog's values: the possible birth interval and the pregnancy's length.
struct HermesInput {
  HermesRow from, to;
  int pregnancyIndex = 2;  // 0..3 for 7..10 months

  // Half a day about the chart's moment (the longest interval the check accepts), nine months.
  static HermesInput FromChart(const Chart& chart);
  int Months() const { return 7 + pregnancyIndex; }
  // 0 when accepted, else the message to show before asking again: a row's fault, 89 (end not
  // after start), 90 (more than half a day), 471 (a row more than 1.5 days from the chart).
  int Check(const Chart& chart) const;
};

// One pair found: the birth and the conception in Universal Time, and the whole days between them.
struct HermesVariant {
  Moment birth;
  Moment conception;
  std::int32_t days = 0;
};

class HermesTrutine {
 public:
  enum ChartSet { kBirthCharts = 0, kConceptionCharts = 1, kBothCharts = 2 };

  // Takes the accepted input: the working charts are copies of `chart` in Universal Time, the mode
  // follows from the chart's Moon and Sun. True when the chart's house system cannot be used and
  // Placidus was set in its place (message 547 to show).
  bool Prepare(const Chart& chart, const HermesInput& input);

  // 0 when the Moon at birth is 0..180 degrees ahead of the Sun (the Ascendant rule), 1 beyond.
  int Mode() const { return mode_; }
  int Months() const { return months_; }
  // The angle the rule uses: 0 Ascendant, 1 Descendant.
  int Selector() const { return mode_; }

  // Fills the variants. Cancelled through the progress sink: message 1980 and no variants.
  Status Search(const ChartContext& ctx, platform::ProgressSink& progress);

  const std::vector<HermesVariant>& Variants() const { return variants_; }
  int VariantCount() const { return static_cast<int>(variants_.size()); }
  // True when more pairs were found than the list holds (the rest were dropped).
  bool Dropped() const { return dropped_; }
  // The variant's line of the results list, in the chart's local time.
  std::string VariantLine(int i) const;

  // The results dialog's choice: the indices of the chosen variants in list order and the set.
  void SetSelection(std::vector<int> selection, int chartSet);
  const std::vector<int>& Selection() const { return selection_; }
  int ChartSetChoice() const { return chartSet_; }
  // The i-th chosen variant on the chart's own clock: the birth unless the set is conception
  // only, the conception unless the set is birth only. Returns the set, -1 for a bad index.
  int GetVariant(int i, Moment& birth, Moment& conception) const;
  void FreeVariants();

  // The interval's ends in Universal Time.
  const Moment& Start() const { return start_; }
  const Moment& End() const { return end_; }

 private:
  // Puts a working chart at a moment of Universal Time and computes it; false when it cannot be.
  bool Place(const ChartContext& ctx, Chart& chart, const Moment& ut) const;
  double Moon(const Chart& chart) const;
  using MomentPair = std::pair<Moment, Moment>;
  // The Moon's passes over the arc from `l1` to `l2` that come within 20 days of `estimate`, in
  // time order: each from the Moon on `l1` to its next arrival on `l2`.
  std::vector<MomentPair> PassesNear(const ChartContext& ctx, const Moment& estimate, double l1,
                                     double l2) const;
  // Scans one window of conception moments; false when cancelled.
  bool ScanSide(const ChartContext& ctx, const Moment& from, const Moment& to,
                platform::ProgressSink& progress, int& done, int total);
  // Refines the candidate conception moment `c`; true with a converged pair (b, c).
  bool Refine(const ChartContext& ctx, Moment& c, Moment& b);
  void AddVariant(const Moment& b, const Moment& c);
  Moment Local(const Moment& ut) const;

  Chart chart_;  // the document's chart, as given
  Chart birth_, conception_;
  Moment chartUt_;  // the chart's moment in Universal Time
  Moment start_, end_;
  double zoneDays_ = 0.0;
  int mode_ = 0;
  int months_ = 9;
  std::vector<HermesVariant> variants_;
  bool dropped_ = false;
  std::vector<int> selection_;
  int chartSet_ = kBirthCharts;
};
