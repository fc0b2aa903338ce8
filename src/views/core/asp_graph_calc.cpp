#include "views/core/asp_graph_calc.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "astro/aspects/aspect.h"
#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/lifepoint/life_point.h"
#include "foundation/errors/error_report.h"
#include "foundation/numbers/angles.h"

using namespace aspgraph;

namespace {

constexpr const char* kTrace = "CAspGraphCalc::Calculate";
constexpr int kHouseCount = 12;
constexpr int kDegreesPerSign = 30;

// The one life-point type of the graph: by signs, direct, from Aries, 7 years a sign.
LifePoint GraphLifePoint() {
  LifePoint type;
  type.mode = 'S';
  type.direction = 'D';
  type.first = 0;
  type.years = 7;
  return type;
}

bool IsRadixSlot(int slot) { return slot % kTechniqueCount == kTechniqueRadix; }
bool IsCusp(int body) { return body >= kFirstCusp && body < kFirstCusp + kHouseCount; }

// A value x 100, truncated and held within the 16-bit cell field.
std::int16_t Hundredths(double value) {
  const double scaled = std::trunc(value * 100.0);
  return static_cast<std::int16_t>(
      std::clamp(scaled, 0.0, static_cast<double>(std::numeric_limits<std::int16_t>::max())));
}

const AspGraphCell kEmptyCell{};

}  // namespace

// The charts of one sample, by slot; `ok` false where a chart could not be computed (its members
// then have no longitude).
struct CAspGraphCalc::SlotCharts {
  std::vector<Chart> chart = std::vector<Chart>(kSlotCount);
  std::array<bool, kSlotCount> ok{};
};

AspGraphCell AspGraphCellOf(const AspectSystem& system, double a, double b, OrbColumn column) {
  AspGraphCell cell;
  const AspectMatch match = system.FindAspect(a, b, column);
  if (!match.Found()) return cell;
  const Aspect& aspect = system.GetAspect(match.position);
  const int index = ClassifyAspectAngle(aspect);
  cell.colour = match.result == 2 ? aspect.exactColor : aspect.color;
  cell.deviation = Hundredths(std::fabs(match.deviation));
  cell.orb = Hundredths(aspect.Orb(column));
  cell.aspect = static_cast<std::int16_t>(index >= 0 ? index : -1 - match.position);
  cell.arc = Hundredths(match.separation);
  return cell;
}

int RulerOfHouse(const ChartContext& ctx, const Chart& radix, int house) {
  if (house < 0 || house >= kHouseCount) return -1;
  const AngleValue cusp = radix.GetCusp(house);
  if (!cusp.IsSet()) return -1;
  const int sign = static_cast<int>(NormalizeDegrees(cusp.Get())) / kDegreesPerSign;
  const int ruler = ctx.Config().signRulers[static_cast<std::size_t>(sign % kHouseCount)];
  return ruler >= 0 && ruler < kPointCount ? ruler : -1;
}

void CAspGraphCalc::Prepare(const Chart& chart, const CAspGraphData& data) {
  const AspGraphList* selected = data.SelectedList();
  list_ = selected != nullptr ? *selected : AspGraphList{};
  firstDay_ = data.FirstDay();
  chart_ = chart;
  scale_ = TimeScaleOf(list_.period);
  samples_ = {};
  cancelled_ = false;
}

void CAspGraphCalc::MarkSlots() {
  slots_.fill(false);
  for (const AspGraphPair& pair : list_.pairs) {
    // The life point moves on the clock of the symbolic directions; a ruler is the radix's.
    if (pair.fromBody == kLifePoint)
      slots_[kTechniqueSymbolicDirections] = true;
    else
      slots_[static_cast<std::size_t>(SlotOf(pair.fromTechnique, pair.fromConverse))] = true;
    if (pair.toBody >= kFirstRuler)
      slots_[kTechniqueRadix] = true;
    else
      slots_[static_cast<std::size_t>(SlotOf(pair.toTechnique, pair.toConverse))] = true;
  }
}

bool CAspGraphCalc::SlotMarked(int slot) const {
  return slot >= 0 && slot < kSlotCount && slots_[static_cast<std::size_t>(slot)];
}

int CAspGraphCalc::OrbColumnOfPair(const ChartContext& ctx, const Chart& radix, int j) const {
  const AspGraphPair& pair = list_.pairs.at(static_cast<std::size_t>(j));
  const Configuration& config = ctx.Config();
  const int a = pair.fromBody, b = pair.toBody;
  const int houseClass = list_.houseOrbClass;
  int orbClass = houseClass;
  if (!IsCusp(a) && !IsCusp(b)) {
    const int second = b >= kFirstRuler ? RulerOfHouse(ctx, radix, b - kFirstRuler) : b;
    // The life point has no orb class of its own: the other member's class holds.
    orbClass = a == kLifePoint ? config.GetPairOrbClass(second, second)
                               : config.GetPairOrbClass(a, second);
  }
  return OrbColumnOfClass(orbClass).index;
}

int CAspGraphCalc::MaxOrb(const ChartContext& ctx, const Chart& radix) const {
  int maxOrb = 0;
  for (int j = 0; j < PairCount(); ++j) {
    const AspectSystem* system =
        ctx.FindSystem(list_.pairs[static_cast<std::size_t>(j)].systemName);
    if (system == nullptr) continue;
    const OrbColumn column{OrbColumnOfPair(ctx, radix, j)};
    for (const Aspect& aspect : system->Aspects())
      maxOrb = std::max<int>(maxOrb, Hundredths(aspect.Orb(column)));
  }
  return maxOrb;
}

const AspGraphCell& AspGraphSamples::Cell(int j, int i) const {
  if (j < 0 || j >= pairCount || i < 0 || i >= n) return kEmptyCell;
  return cells[static_cast<std::size_t>(j) * static_cast<std::size_t>(n) +
               static_cast<std::size_t>(i)];
}

std::string AspGraphSamples::AspectName(int j, int cellAspect) const {
  const int position = -1 - cellAspect;
  if (j < 0 || j >= static_cast<int>(aspectNames.size()) || position < 0) return {};
  const std::vector<std::string>& names = aspectNames[static_cast<std::size_t>(j)];
  return position < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(position)]
                                                   : std::string();
}

void CAspGraphCalc::ShiftFirstDay(int days) { (void)firstDay_.AddDays(days); }

const Source& CAspGraphCalc::ClockSource() const {
  const Source* base = chart_.definition.GetBaseSource();
  return base != nullptr ? *base : chart_.definition.sources[0];
}

Moment CAspGraphCalc::MomentOfSample(int i) const {
  Moment moment(firstDay_, FTime());
  if (samples_.n > 0) (void)moment.AddDays(static_cast<double>(scale_.span) / samples_.n * i);
  return moment;
}

Chart CAspGraphCalc::MakeSlotTemplate(int slot) const {
  const int technique = slot % kTechniqueCount;
  const Technique& t = TechniqueOf(technique);
  const SuperSource& doc = chart_.definition;
  Chart chart;  // house system -1: the calculation settings' system
  SuperSource& def = chart.definition;
  def.sources[0] = doc.sources[0];
  if (technique != kTechniqueRadix) {
    Source& life = def.sources[1];
    life = doc.Kind() != kChartNatal ? doc.sources[1] : doc.sources[0];
    (void)life.ConvertToZoneOf(ClockSource());
    life.AssignMoment(Moment(firstDay_, FTime()));
    def.SetKind(static_cast<std::uint16_t>(t.kind));
    def.converse = slot >= kTechniqueCount ? 1 : 0;
    def.keyKind = static_cast<std::uint16_t>(t.method);
  }
  return chart;
}

double CAspGraphCalc::MemberLongitude(const ChartContext& ctx, const SlotCharts& charts, int body,
                                      int technique, int converse, bool first) const {
  if (first && body == kLifePoint) {
    const Chart& clock = charts.chart[kTechniqueSymbolicDirections];
    return LifePoint::CountPosition(GraphLifePoint(), clock.definition.sources[0],
                                    clock.definition.sources[1]);
  }
  if (!first && body >= kFirstRuler) {
    if (!charts.ok[kTechniqueRadix]) return kAbsent;
    const Chart& radix = charts.chart[kTechniqueRadix];
    const int ruler = RulerOfHouse(ctx, radix, body - kFirstRuler);
    return ruler < 0 ? kAbsent : radix.GetPointLongitude(ruler).Get();
  }
  const auto slot = static_cast<std::size_t>(SlotOf(technique, converse));
  if (!charts.ok[slot]) return kAbsent;
  const Chart& chart = charts.chart[slot];
  return IsCusp(body) ? chart.GetCusp(body - kFirstCusp).Get()
                      : chart.GetPointLongitude(body).Get();
}

Status CAspGraphCalc::Calculate(const ChartContext& ctx, int n, int& maxOrb,
                                platform::ProgressSink* progress) {
  maxOrb = 0;
  cancelled_ = false;
  samples_ = {};
  n = std::clamp(n, 0, kMaxSamples);
  MarkSlots();
  AspGraphSamples samples;
  try {
    samples.cells.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(PairCount()),
                         AspGraphCell{});
  } catch (const std::bad_alloc&) {
    return Status::Error(kErrNoMemory, kTrace, 1);
  }
  samples.n = n;
  samples.pairCount = PairCount();
  samples_ = std::move(samples);

  // Templates of the moving charts; the radix slots are computed once, since they do not move.
  SlotCharts charts;
  std::vector<Chart> templates(kSlotCount);
  for (int s = 0; s < kSlotCount; ++s) {
    const auto k = static_cast<std::size_t>(s);
    if (!slots_[k]) continue;
    templates[k] = MakeSlotTemplate(s);
    if (IsRadixSlot(s)) {
      charts.chart[k] = templates[k];
      charts.ok[k] = ChartCalculate(ctx, charts.chart[k], 1).ok();
    }
  }
  const Chart& radix = charts.chart[kTechniqueRadix];
  std::vector<const AspectSystem*> systems;
  std::vector<OrbColumn> columns;
  for (int j = 0; j < PairCount(); ++j) {
    const AspectSystem* system =
        ctx.FindSystem(list_.pairs[static_cast<std::size_t>(j)].systemName);
    systems.push_back(system);
    columns.push_back(OrbColumn{OrbColumnOfPair(ctx, radix, j)});
    std::vector<std::string>& names = samples_.aspectNames.emplace_back();
    if (system != nullptr)
      for (const Aspect& aspect : system->Aspects()) names.push_back(aspect.GetName());
  }
  maxOrb = MaxOrb(ctx, radix);
  if (n == 0 || PairCount() == 0) return Status::Ok();

  if (progress != nullptr) progress->Begin();
  const double step = static_cast<double>(scale_.span) / n;
  for (int i = 0; i < n; ++i) {
    for (int s = 0; s < kSlotCount; ++s) {
      const auto k = static_cast<std::size_t>(s);
      if (!slots_[k] || IsRadixSlot(s)) continue;
      charts.chart[k] = templates[k];
      charts.ok[k] = charts.chart[k].AddStep(ctx, i * step).ok();
    }
    for (int j = 0; j < PairCount(); ++j) {
      const AspectSystem* system = systems[static_cast<std::size_t>(j)];
      if (system == nullptr) continue;
      const AspGraphPair& pair = list_.pairs[static_cast<std::size_t>(j)];
      const double a =
          MemberLongitude(ctx, charts, pair.fromBody, pair.fromTechnique, pair.fromConverse, true);
      const double b =
          MemberLongitude(ctx, charts, pair.toBody, pair.toTechnique, pair.toConverse, false);
      samples_.cells[static_cast<std::size_t>(j) * static_cast<std::size_t>(n) +
                     static_cast<std::size_t>(i)] =
          AspGraphCellOf(*system, a, b, columns[static_cast<std::size_t>(j)]);
    }
    if (progress != nullptr) {
      progress->SetPos(static_cast<int>(static_cast<double>(i) / n * 100.0));
      if (progress->Cancelled()) {
        cancelled_ = true;
        break;
      }
    }
  }
  if (progress != nullptr) progress->End();
  return Status::Ok();
}
