#include "rectification/core/tremin_search.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/life_event_list.h"

namespace {

using Block = cfg::TreminSettings;
constexpr int kSecondsPerDay = 86400;

std::int16_t ToScore(int tenths) {
  return static_cast<std::int16_t>(std::clamp<int>(tenths, std::numeric_limits<std::int16_t>::min(),
                                                   std::numeric_limits<std::int16_t>::max()));
}

// Progress of moment i of n, moved every tenth moment.
void Advance(platform::ProgressSink& progress, int i, int n) {
  if (i % 10 == 0) progress.SetPos(static_cast<int>(static_cast<std::int64_t>(i) * 100 / n));
}

}  // namespace

TmSearchSettings ReadTmSearchSettings(const Configuration& config) {
  const cfg::ByteBlock& b = config.treminSettings;
  TmSearchSettings s;
  s.applyingSystem = b.Get(Block::kApplyingSystem);
  s.separatingSystem = b.Get(Block::kSeparatingSystem);
  s.minimumPossibility = std::clamp<int>(b.Get(Block::kMinimumPossibility), 0, 100);
  s.step = b.Get(Block::kStep);
  s.resultOrder = b.Get(Block::kResultOrder);
  s.minimumScore = std::clamp<int>(b.Get(Block::kMinimumScore), 0, 100);
  return s;
}

void WriteTmMinimumPossibility(Configuration& config, int minimumPossibility) {
  config.treminSettings.Set(Block::kMinimumPossibility,
                            static_cast<std::int32_t>(std::clamp(minimumPossibility, 0, 100)));
}

RectInterval ReadTmInterval(const Configuration& config) {
  RectInterval r;
  for (int i = 0; i < 5; ++i) {
    r.start[static_cast<std::size_t>(i)] =
        config.treminInterval.Get(cfg::TreminInterval::kBegin[i]);
    r.end[static_cast<std::size_t>(i)] = config.treminInterval.Get(cfg::TreminInterval::kEnd[i]);
  }
  return r;
}

int TmStepSeconds(int stepCode) {
  switch (stepCode) {
    case 0:
      return 2;
    case 1:
      return 5;
    case 2:
      return 10;
    case 3:
      return 20;
    case 4:
      return 30;
    default:
      return 60;
  }
}

// --- PossInt ---

void PossInt::PossMomInit(const Moment& begin, int count, int step) {
  begin_ = begin.GetPlainMoment();
  count_ = std::max(count, 0);
  step_ = step > 0 ? step : 60;
  const auto n = static_cast<std::size_t>(count_);
  possibility.assign(n, kTmImpossible);
  directions.assign(n, kTmNoScore);
  progressions.assign(n, kTmNoScore);
  selected.clear();
  intervals.clear();
}

Moment PossInt::GetMoment(int i) const {
  Moment m = begin_;
  const std::int64_t seconds =
      static_cast<std::int64_t>(m.time.SecondsOfDay()) + static_cast<std::int64_t>(i) * step_;
  std::int64_t days = seconds / kSecondsPerDay;
  std::int64_t rest = seconds % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  if (days != 0) m.date.AddDays(days);
  (void)m.time.SetTime(static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                       static_cast<int>(rest % 60));
  return m;
}

int PossInt::CountIntervals() const {
  int n = 0;
  for (int i = 0; i < count_; ++i) {
    const auto v = possibility[static_cast<std::size_t>(i)];
    const bool opens = i == 0 || v != possibility[static_cast<std::size_t>(i) - 1];
    if (opens && v != kTmImpossible) ++n;
  }
  return n;
}

void PossInt::FillPositiveInts() {
  intervals.clear();
  intervals.reserve(static_cast<std::size_t>(CountIntervals()));
  bool open = false;
  for (int i = 0; i < count_; ++i) {
    const auto v = possibility[static_cast<std::size_t>(i)];
    if (i > 0 && v == possibility[static_cast<std::size_t>(i) - 1]) continue;
    if (open) {
      intervals.back().last = i - 1;
      open = false;
    }
    if (v != kTmImpossible) {
      intervals.push_back({i, -1, v});
      open = true;
    }
  }
  if (open) intervals.back().last = count_ - 1;
}

int PossInt::SelectItemsWithPositiveKoef(int minimumScore) const {
  const int threshold = 10 * minimumScore;
  int n = 0;
  for (int i = 0; i < count_; ++i)
    n += directions[static_cast<std::size_t>(i)] >= threshold &&
                 progressions[static_cast<std::size_t>(i)] >= threshold
             ? 1
             : 0;
  return n;
}

void PossInt::SelectResults(int minimumScore, int order) {
  selected.clear();
  if (SelectItemsWithPositiveKoef(minimumScore) == 0) return;
  const int threshold = 10 * minimumScore;
  for (int i = 0; i < count_; ++i)
    if (directions[static_cast<std::size_t>(i)] >= threshold &&
        progressions[static_cast<std::size_t>(i)] >= threshold)
      selected.push_back(i);
  if (order == 0) return;
  const auto half = [&](int i) {
    return (directions[static_cast<std::size_t>(i)] + progressions[static_cast<std::size_t>(i)]) /
           2;
  };
  std::stable_sort(selected.begin(), selected.end(),
                   [&](int a, int b) { return half(a) > half(b); });
}

void PossInt::Free() {
  possibility.clear();
  directions.clear();
  progressions.clear();
  selected.clear();
  intervals.clear();
  count_ = 0;
}

// --- TmSearch ---

Status TmSearch::Prepare(const ChartContext& ctx, const Chart& document,
                         const LifeEventList& events, const TmSearchSettings& settings,
                         const RectInterval& interval) {
  settings_ = settings;
  settings_.minimumPossibility = std::clamp(settings_.minimumPossibility, 0, 100);
  settings_.minimumScore = std::clamp(settings_.minimumScore, 0, 100);
  moments_.Free();
  proserpina_.clear();
  events_.clear();
  rect_.reset();

  for (const std::string* name : {&settings_.applyingSystem, &settings_.separatingSystem})
    if (ctx.FindSystem(*name) == nullptr) return Status::Message(kMsgAspectSystemNotFound, *name);
  applying_ = *ctx.FindSystem(settings_.applyingSystem);
  separating_ = *ctx.FindSystem(settings_.separatingSystem);

  for (int k = 0; k < events.Count(); ++k)
    if (const LifeEvent* e = events.AtDisplay(k); e != nullptr && e->InUse()) events_.push_back(*e);
  if (events_.empty()) return Status::Message(kMsgNoEventInUse, "TmSearch::Prepare");

  std::int64_t minutes = 0;
  if (const int fault = SpanMinutes(interval, minutes); fault != 0)
    return Status::Message(fault, "TmSearch::Prepare");
  if (minutes < 0) return Status::Message(kMsgIntervalReversed, "TmSearch::Prepare");
  if (minutes > kTmMaxSpanMinutes) return Status::Message(kMsgIntervalTooLong, "TmSearch::Prepare");

  // The trial charts: natal charts of the document's birth data at each moment.
  working_ = Chart();
  const Source* base = document.definition.GetBaseSource();
  working_.definition.sources[0] = base != nullptr ? *base : document.definition.GetCountSrc();
  working_.houseSystem = document.houseSystem;

  Moment begin;
  (void)MomentOfWords(interval.start, begin);
  begin.AddDays(-GetZoneDays());
  const int step = TmStepSeconds(settings_.step);
  // Counted in whole seconds, so that the last moment is the end of the interval when the span
  // is a multiple of the step.
  const auto count = static_cast<int>(minutes * 60 / step + 1);
  moments_.PossMomInit(begin, count, step);
  proserpina_.assign(static_cast<std::size_t>(count), 0);
  rect_ = std::make_unique<TmRect>(&applying_, &separating_);
  return Status::Ok();
}

double TmSearch::GetZoneDays() const {
  return working_.definition.sources[0].zone.GetCorrectionHours() / 24.0;
}

Moment TmSearch::LocalMoment(int i) const {
  Moment m = moments_.GetMoment(i);
  m.AddDays(GetZoneDays());
  return m;
}

void TmSearch::SetMinimumPossibility(int value) {
  settings_.minimumPossibility = std::clamp(value, 0, 100);
}

Status TmSearch::TrialChart(const ChartContext& ctx, int i, Chart& out) const {
  out = working_;
  Source& source = out.definition.sources[0];
  source.moment = moments_.GetMoment(i);
  (void)source.zone.SetTime(0, 0, 0, '+');
  return out.CalculateMainBodies(ctx, 1);
}

Status TmSearch::FirstPass(const ChartContext& ctx, platform::ProgressSink& progress) {
  if (!rect_) return Status::Error(kErrParameter, "TmSearch::FirstPass");
  const int n = moments_.Count();
  progress.Begin();
  Chart trial;
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (TrialChart(ctx, i, trial).ok()) {
      moments_.possibility[k] = static_cast<std::int16_t>(rect_->Possibility(trial));
      proserpina_[k] = static_cast<std::int8_t>(rect_->ProserpinaCounts());
    } else {
      moments_.possibility[k] = kTmImpossible;
    }
    Advance(progress, i, n);
    if (progress.Cancelled()) {
      progress.End();
      return Status::Message(kMsgRectificationCancelled, "TmSearch::FirstPass");
    }
  }
  progress.End();
  moments_.FillPositiveInts();
  return Status::Ok();
}

Status TmSearch::SecondPass(const ChartContext& ctx, platform::ProgressSink& progress) {
  if (!rect_) return Status::Error(kErrParameter, "TmSearch::SecondPass");
  const int n = moments_.Count();
  const int threshold = 10 * settings_.minimumScore;
  const auto keep = [&](std::optional<int> score) {
    return score && *score >= threshold ? ToScore(*score) : kTmNoScore;
  };
  progress.Begin();
  Chart trial;
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    moments_.directions[k] = kTmNoScore;
    moments_.progressions[k] = kTmNoScore;
    const int possibility = moments_.possibility[k];
    if (possibility != kTmImpossible && possibility >= settings_.minimumPossibility &&
        TrialChart(ctx, i, trial).ok()) {
      // The sign rulers as this moment's own possibility left them.
      rect_->FillRulers(proserpina_[k]);
      moments_.directions[k] = keep(rect_->MomentScore(ctx, trial, events_, kTmSeriesDirections));
      moments_.progressions[k] =
          keep(rect_->MomentScore(ctx, trial, events_, kTmSeriesProgressions));
    }
    Advance(progress, i, n);
    if (progress.Cancelled()) {
      progress.End();
      moments_.selected.clear();
      return Status::Message(kMsgRectificationCancelled, "TmSearch::SecondPass");
    }
  }
  progress.End();
  moments_.SelectResults(settings_.minimumScore, settings_.resultOrder);
  return Status::Ok();
}

int TmSearch::Search(const ChartContext& ctx, platform::ProgressSink& progress,
                     const TmIntervalChooser& chooser, Status& problem) {
  problem = FirstPass(ctx, progress);
  if (!problem.ok()) return kTmSearchCancelled;
  int minimum = settings_.minimumPossibility;
  if (chooser && !chooser(*this, minimum)) return kTmSearchCancelled;
  SetMinimumPossibility(minimum);
  problem = SecondPass(ctx, progress);
  return problem.ok() ? kTmSearchDone : kTmSearchCancelled;
}
