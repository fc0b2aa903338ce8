#include "rectification/core/hermes_trutine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart_context.h"
#include "astro/chart/chart_services.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/numbers/angles.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/rect_matrix.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
// A pass of the Moon is scanned when some of it lies this close to the estimated conception.
constexpr double kSideReachDays = 20.0;
// Stepping this far off a pass's first moment makes the next search find the neighbouring pass.
constexpr double kLeaveLongitudeDays = 1.0;
// Three passes of the Moon span more than the 40 days around the estimate.
constexpr int kMaxPassesEachWay = 3;
// The next candidate conception follows the refined one by this much.
constexpr double kCandidateStepDays = 0.7;

bool UsableHouseSystem(int system) {
  return system == 0 || system == 1 || system == 2 || system == 5 || system == 6 || system == 7;
}

// Whole seconds from a to b, so that limits given in minutes are compared exactly.
long long SecondsBetween(const Moment& a, const Moment& b) {
  return std::llround((b.JulianDay() - a.JulianDay()) * kSecondsPerDay);
}

std::string MomentText(const Moment& m) { return m.date.Era() == 'B' ? m.ToTextEra() : m.ToText(); }

}  // namespace

int HermesRow::Fault() const {
  if (const int fault = DateFault(day, month, year, 'A', true); fault != 0) return fault;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return kMsgBadTime;
  return 0;
}

Moment HermesRow::ToMoment() const {
  Moment m;
  (void)m.date.SetDate(day, month, year);
  (void)m.time.SetTime(hour, minute, 0);
  return m;
}

HermesRow HermesRow::FromMoment(const Moment& moment) {
  HermesRow row;
  row.day = moment.date.Day();
  row.month = moment.date.Month();
  row.year = moment.date.Era() == 'B' ? -moment.date.Year() : moment.date.Year();
  row.hour = moment.time.Hours();
  row.minute = moment.time.Minutes();
  return row;
}

HermesInput HermesInput::FromChart(const Chart& chart) {
  HermesInput input;
  const RectInterval around =
      RectIntervalAround(chart.definition.GetCountSrc().moment, kHermesDefaultHalfSpanMinutes,
                         kHermesDefaultHalfSpanMinutes);
  const auto row = [](const std::array<int, 5>& w) {
    return HermesRow{w[2], w[1], w[0], w[3], w[4]};
  };
  input.from = row(around.start);
  input.to = row(around.end);
  return input;
}

int HermesInput::Check(const Chart& chart) const {
  if (const int fault = from.Fault(); fault != 0) return fault;
  if (const int fault = to.Fault(); fault != 0) return fault;
  const Moment start = from.ToMoment(), end = to.ToMoment();
  const long long span = SecondsBetween(start, end);
  if (span <= 0) return kMsgIntervalReversed;
  if (span > 12 * 3600) return kMsgIntervalTooLong;
  const Moment& own = chart.definition.GetCountSrc().moment;
  constexpr long long kReach = 36 * 3600;
  if (std::llabs(SecondsBetween(own, start)) > kReach ||
      std::llabs(SecondsBetween(own, end)) > kReach)
    return kMsgHermesFarFromChart;
  return 0;
}

bool HermesTrutine::Prepare(const Chart& chart, const HermesInput& input) {
  FreeVariants();
  chart_ = chart;
  const Source& own = chart.definition.GetCountSrc();
  zoneDays_ = own.zone.GetCorrectionHours() / 24.0;
  months_ = input.Months();

  // The working charts: natal charts of the chart's birth data, on Universal Time.
  Chart working;
  working.definition.sources[0] = own;
  working.definition.SetKind(kChartNatal);
  working.houseSystem = chart.houseSystem;
  const bool placidus = !UsableHouseSystem(chart.houseSystem);
  if (placidus) working.houseSystem = 0;
  (void)working.definition.sources[0].SetUniversalTime(UniversalJulianDay(own));
  birth_ = conception_ = working;
  chartUt_ = working.definition.sources[0].moment;

  double d = chart.GetPointLongitude(1).Get() - chart.GetPointLongitude(0).Get();
  if (d < 0.0) d += 360.0;
  mode_ = d > 180.0 ? 1 : 0;

  start_ = input.from.ToMoment();
  start_.AddDays(-zoneDays_);
  end_ = input.to.ToMoment();
  end_.AddDays(-zoneDays_);
  return placidus;
}

bool HermesTrutine::Place(const ChartContext& ctx, Chart& chart, const Moment& ut) const {
  chart.definition.sources[0].AssignMoment(ut);
  return chart.CalculatePositions(ctx, 0).ok();
}

double HermesTrutine::Moon(const Chart& chart) const { return chart.GetPointLongitude(1).Get(); }

Moment HermesTrutine::Local(const Moment& ut) const {
  Moment m = ut;
  m.AddDays(zoneDays_);
  return m;
}

Status HermesTrutine::Search(const ChartContext& ctx, platform::ProgressSink& progress) {
  FreeVariants();
  // The estimated conception and the birth Ascendants (Descendants) at the interval's ends.
  Moment estimate = chartUt_;
  estimate.AddDays(-months_ * kHermesDaysPerMonth);
  if (!Place(ctx, birth_, start_) || !birth_.ascendant.IsSet())
    return Status::Message(kMsgHermesNoVariant, "HermesTrutine::Search");
  double l1 = birth_.ascendant.Get();
  if (!Place(ctx, birth_, end_) || !birth_.ascendant.IsSet())
    return Status::Message(kMsgHermesNoVariant, "HermesTrutine::Search");
  double l2 = birth_.ascendant.Get();
  if (mode_ == 1) {
    l1 = ShiftLongitude(l1, 180.0);
    l2 = ShiftLongitude(l2, 180.0);
  }

  // Every pass of the Moon over the arc from L1 to L2 (the angle's sweep over the interval) that
  // comes within 20 days of the estimate is a window of conception moments: the pass the estimate
  // lies in, if any, and the passes before and after it, each of which may hold the conception
  // nearest the estimate.
  const std::vector<MomentPair> windows = PassesNear(ctx, estimate, l1, l2);
  const auto days = [](const MomentPair& w) {
    return static_cast<int>(std::fabs(w.second.JulianDay() - w.first.JulianDay()));
  };
  int total = 0;
  for (const MomentPair& w : windows) total += days(w) + 1;
  int done = 0;
  progress.Begin();
  bool going = true;
  for (std::size_t i = 0; going && i < windows.size(); ++i)
    going = ScanSide(ctx, windows[i].first, windows[i].second, progress, done, total);
  progress.End();
  if (!going) {
    FreeVariants();
    return Status::Message(kMsgRectificationCancelled, "HermesTrutine::Search");
  }
  std::stable_sort(variants_.begin(), variants_.end(),
                   [](const HermesVariant& x, const HermesVariant& y) {
                     return x.birth.JulianDay() < y.birth.JulianDay();
                   });
  return Status::Ok();
}

std::vector<HermesTrutine::MomentPair> HermesTrutine::PassesNear(const ChartContext& ctx,
                                                                 const Moment& estimate, double l1,
                                                                 double l2) const {
  // The Moon on `longitude`, searching from `from` forward (1) or backward (0).
  const auto seek = [&](double longitude, const Moment& from, int forward, Moment& out) {
    Source s = birth_.definition.sources[0];
    s.AssignMoment(from);
    const bool found = SeekLuminaryLongitude(ctx, s, 1, -1, longitude, 0.0, forward, 1.0);
    out = s.moment;
    return found;
  };
  // The pass that begins at `start` (the Moon on L1) ends at the Moon's next arrival on L2.
  const auto pass = [&](const Moment& start, MomentPair& out) {
    out.first = start;
    return seek(l2, start, 1, out.second);
  };
  const double e = estimate.JulianDay();
  const auto near = [e](const MomentPair& w) {
    return w.second.JulianDay() > e - kSideReachDays && w.first.JulianDay() < e + kSideReachDays;
  };

  std::vector<MomentPair> windows;
  // The last pass to begin before the estimate, then the earlier ones while they reach it.
  Moment start;
  if (!seek(l1, estimate, 0, start)) return windows;
  MomentPair w;
  if (pass(start, w) && near(w)) windows.push_back(w);
  Moment from = start;
  for (int k = 0; k < kMaxPassesEachWay; ++k) {
    from.AddDays(-kLeaveLongitudeDays);
    if (!seek(l1, from, 0, from) || !pass(from, w) || !near(w)) break;
    windows.insert(windows.begin(), w);
  }
  // The passes that begin after it, while they begin within reach.
  from = start;
  for (int k = 0; k < kMaxPassesEachWay; ++k) {
    from.AddDays(kLeaveLongitudeDays);
    if (!seek(l1, from, 1, from) || !pass(from, w) || !near(w)) break;
    windows.push_back(w);
  }
  return windows;
}

bool HermesTrutine::ScanSide(const ChartContext& ctx, const Moment& from, const Moment& to,
                             platform::ProgressSink& progress, int& done, int total) {
  const int n = static_cast<int>(std::fabs(to.JulianDay() - from.JulianDay()));
  if (!Place(ctx, birth_, start_)) return true;
  const double moonAtStart = Moon(birth_);
  if (!Place(ctx, conception_, from)) return true;
  Moment candidate;
  if (!conception_.FindRiseSetMoment(ctx, -1, Selector(), true, candidate, moonAtStart))
    return true;  // the angle never reaches the Moon's degree here (polar latitudes)
  for (int k = 0; k <= n; ++k) {
    Moment b;
    Moment c = candidate;
    if (Refine(ctx, c, b)) {
      const double jb = b.JulianDay();
      if (start_.JulianDay() < jb && jb < end_.JulianDay()) AddVariant(b, c);
    }
    candidate = c;
    candidate.AddDays(kCandidateStepDays);
    ++done;
    progress.SetPos(total > 0 ? std::min(100, done * 100 / total) : 100);
    if (progress.Cancelled()) return false;
  }
  return true;
}

bool HermesTrutine::Refine(const ChartContext& ctx, Moment& c, Moment& b) {
  const int selector = Selector();
  // The birth that the conception's Moon points to, and the conception that birth's Moon points to.
  if (!Place(ctx, conception_, c) || !Place(ctx, birth_, start_)) return false;
  if (!birth_.FindRiseSetMoment(ctx, -1, selector, true, b, Moon(conception_))) return false;
  if (!Place(ctx, birth_, b)) return false;
  if (!conception_.FindNearestRiseSet(ctx, -1, selector, c, Moon(birth_))) return false;

  for (int repetition = 1; repetition <= kHermesMaxRepetitions; ++repetition) {
    Moment nextB, nextC;
    if (!Place(ctx, conception_, c)) return false;
    if (!birth_.FindNearestRiseSet(ctx, -1, selector, nextB, Moon(conception_))) return false;
    if (!Place(ctx, birth_, nextB)) return false;
    if (!conception_.FindNearestRiseSet(ctx, -1, selector, nextC, Moon(birth_))) return false;
    const bool settled = repetition >= 2 &&
                         std::fabs(nextB.JulianDay() - b.JulianDay()) < kHermesSameVariantDays &&
                         std::fabs(nextC.JulianDay() - c.JulianDay()) < kHermesSameVariantDays;
    b = nextB;
    c = nextC;
    if (settled) return true;
  }
  return false;  // no settled pair: the candidate is dropped
}

void HermesTrutine::AddVariant(const Moment& b, const Moment& c) {
  for (const HermesVariant& v : variants_) {
    if (std::fabs(v.birth.JulianDay() - b.JulianDay()) < kHermesSameVariantDays &&
        std::fabs(v.conception.JulianDay() - c.JulianDay()) < kHermesSameVariantDays)
      return;  // found again from another candidate
  }
  if (static_cast<int>(variants_.size()) >= kHermesMaxVariants) {
    dropped_ = true;
    return;
  }
  HermesVariant v;
  v.birth = b;
  v.conception = c;
  v.days = static_cast<std::int32_t>(std::trunc(b.JulianDay() - c.JulianDay()));
  variants_.push_back(v);
}

std::string HermesTrutine::VariantLine(int i) const {
  if (i < 0 || i >= VariantCount()) return {};
  const HermesVariant& v = variants_[static_cast<std::size_t>(i)];
  char months[32];
  std::snprintf(months, sizeof months, "%.1f", v.days / kHermesDaysPerMonth);
  return MomentText(Local(v.birth)) + "                " + MomentText(Local(v.conception)) +
         "              " + months;
}

void HermesTrutine::SetSelection(std::vector<int> selection, int chartSet) {
  selection_.clear();
  for (const int i : selection)
    if (i >= 0 && i < VariantCount()) selection_.push_back(i);
  chartSet_ = std::clamp(chartSet, 0, 2);
}

int HermesTrutine::GetVariant(int i, Moment& birth, Moment& conception) const {
  if (i < 0 || i >= static_cast<int>(selection_.size())) return -1;
  const HermesVariant& v =
      variants_[static_cast<std::size_t>(selection_[static_cast<std::size_t>(i)])];
  if (chartSet_ != kConceptionCharts) birth = Local(v.birth);
  if (chartSet_ != kBirthCharts) conception = Local(v.conception);
  return chartSet_;
}

void HermesTrutine::FreeVariants() {
  variants_.clear();
  selection_.clear();
  dropped_ = false;
}
