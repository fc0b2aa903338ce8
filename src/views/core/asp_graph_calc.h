// The aspect graph's computation: samples every pair of one list over its period. Each member is
// a point or cusp of a moving chart (the document's chart taken in the member's technique, direct
// or converse, moved to the sample's moment), the life point, or the ruler of a house in the
// radix; each sample of a pair records the aspect of the pair's system found between the two
// longitudes in the pair's orb column.
//
// Members by role: a first member 46 is the life point, computed on the clock of the symbolic
// directions (slot 1) whatever technique the pair names; a second member 46..57 is the ruler of
// house 1..12, always from the radix (slot 0). The life point is of one fixed type: by signs,
// direct, from Aries, 7 years a sign.
//
// Orb columns: an orb class c (1..5) reads column c - 1, for the objects' classes
// (Configuration::GetPairOrbClass) and for the list's house orb class alike.
//
// Qt-free and re-entrant: it reads only the chart and list it was prepared with and the
// ChartContext it is given.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/aspects/aspect.h"
#include "astro/chart/chart.h"
#include "foundation/datetime/fdate.h"
#include "foundation/datetime/moment.h"
#include "foundation/status.h"
#include "platform/core/progress_sink.h"
#include "views/core/asp_graph_data.h"

class AspectSystem;
class ChartContext;

namespace aspgraph {
// The most samples a run computes: the densest setting (four samples a pixel, 22 charts a sample)
// stays within seconds. See docs/decisions.md.
inline constexpr int kMaxSamples = 8000;
inline constexpr int kNoAspect = -1;
}  // namespace aspgraph

// One sample of one pair.
struct AspGraphCell {
  std::uint16_t colour = 0;     // 0 no aspect; else the aspect's (exact) colour
  std::int16_t deviation = -1;  // |arc - angle| x 100, truncated; -1 no aspect
  std::int16_t orb = -1;        // the aspect's orb in the pair's column x 100; -1 no aspect
  // The aspect index 0..19 of its angle; -1 - position for an angle of no known kind; -1 none.
  std::int16_t aspect = -1;
  std::int16_t arc = 0;  // separation folded to 0..180 x 100 (0 when no aspect)

  bool HasAspect() const { return deviation >= 0; }
  friend bool operator==(const AspGraphCell&, const AspGraphCell&) = default;
};

// The samples of one run: n per pair, pair j's sample i being cell j x n + i, and the names of the
// aspects of each pair's system (an angle of no known kind is shown by its name).
struct AspGraphSamples {
  int n = 0;
  int pairCount = 0;
  std::vector<AspGraphCell> cells;
  std::vector<std::vector<std::string>> aspectNames;  // per pair, by position in the system

  // A cell without aspect outside the samples.
  const AspGraphCell& Cell(int j, int i) const;
  // The name of the aspect a cell of pair j names by -1 - position; empty when there is none.
  std::string AspectName(int j, int cellAspect) const;
};

class CAspGraphCalc {
 public:
  // Copies the selected list of `data` (an empty list when it has none), its first day and the
  // chart, and takes the span and ticks of the list's period.
  void Prepare(const Chart& chart, const CAspGraphData& data);

  // Computes `n` samples per pair (n is held within 0..kMaxSamples) and gives the largest orb in
  // `maxOrb`. Progress goes to `progress`; a Cancel stops after the current sample and leaves
  // the samples not reached without aspects (Cancelled() then tells). A pair whose system is not
  // loaded has no aspects. Error 2 when the cells cannot be allocated.
  Status Calculate(const ChartContext& ctx, int n, int& maxOrb,
                   platform::ProgressSink* progress = nullptr);
  bool Cancelled() const { return cancelled_; }

  // Marks the chart slots the list needs (MarkSlots is run by Calculate).
  void MarkSlots();
  bool SlotMarked(int slot) const;
  // The orb column (0..4) of pair j; the radix chart gives the rulers.
  int OrbColumnOfPair(const ChartContext& ctx, const Chart& radix, int j) const;
  // The largest orb (x 100, truncated) in each pair's column over the aspects of its system.
  int MaxOrb(const ChartContext& ctx, const Chart& radix) const;

  const AspGraphList& List() const { return list_; }
  int PairCount() const { return list_.PairCount(); }
  int SampleCount() const { return samples_.n; }
  const AspGraphSamples& Samples() const { return samples_; }
  // Pair j's sample i (cell j x n + i); a cell without aspect outside the samples.
  const AspGraphCell& Cell(int j, int i) const { return samples_.Cell(j, i); }
  const aspgraph::TimeScale& Scale() const { return scale_; }
  const Chart& GetChart() const { return chart_; }

  const FDate& FirstDay() const { return firstDay_; }
  // Moves the first day by whole days (the store's first day is not changed).
  void ShiftFirstDay(int days);
  // The moment of sample i on the clock of the document's chart: the first day at 00:00 plus
  // span / n x i days.
  Moment MomentOfSample(int i) const;
  // The zone of the sample clock (the document chart's base Source).
  const Source& ClockSource() const;

  int Span() const { return scale_.span; }
  int MinorTick() const { return scale_.minorTick; }
  int MajorTick() const { return scale_.majorTick; }
  int MinorCount() const { return scale_.minorCount; }

 private:
  struct SlotCharts;
  Chart MakeSlotTemplate(int slot) const;
  double MemberLongitude(const ChartContext& ctx, const SlotCharts& charts, int body, int technique,
                         int converse, bool first) const;

  AspGraphList list_;
  FDate firstDay_;
  Chart chart_;
  std::array<bool, aspgraph::kSlotCount> slots_{};
  aspgraph::TimeScale scale_ = aspgraph::TimeScaleOf(0);
  AspGraphSamples samples_;
  bool cancelled_ = false;
};

// The cell of longitudes `a` and `b` (degrees; -777.0 finds nothing): the first aspect of `system`
// within its exact orb or its orb in `column`.
AspGraphCell AspGraphCellOf(const AspectSystem& system, double a, double b, OrbColumn column);

// The ruling point (0..33) of house `house` (0..11) in the radix: the sign of the house's cusp
// (whole degrees / 30) and its ruler in the configuration's sign-ruler table; -1 when the cusp is
// absent or the sign has no ruler.
int RulerOfHouse(const ChartContext& ctx, const Chart& radix, int house);
