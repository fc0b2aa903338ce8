#include "rectification/core/rect_matrix.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/body_track.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/datetime/ftime.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/vector_state.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/chart_rect.h"
#include "rectification/core/life_event_list.h"

namespace {

using Block = cfg::RectificationSettings;

bool SizeFits(int a, int b, int c = 1) {
  return a >= 0 && b >= 0 && c >= 0 &&
         static_cast<std::int64_t>(a) * b * c < (std::int64_t{1} << 31);
}

// Minutes of the day of the words' time.
int MinuteOfDay(const std::array<int, 5>& w) { return w[3] * 60 + w[4]; }

}  // namespace

namespace rect {

// --- Matrix2 ---

bool Matrix2::Init2(int rows, int columns) {
  Clear();
  if (!SizeFits(rows, columns)) return false;
  rows_ = rows;
  columns_ = columns;
  cells_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), 0.0);
  return true;
}

bool Matrix2::InRange(int row, int column) const {
  return row >= 0 && row < rows_ && column >= 0 && column < columns_;
}

double Matrix2::Get2(int row, int column) const {
  assert(InRange(row, column) && "Matrix2::Get2 - Illegal index!");
  if (!InRange(row, column)) return 0.0;
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                static_cast<std::size_t>(column)];
}

void Matrix2::Put2(double value, int row, int column) {
  assert(InRange(row, column) && "Matrix2::Put2 - Illegal index!");
  if (!InRange(row, column)) return;
  cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
         static_cast<std::size_t>(column)] += value;
}

void Matrix2::Clear() {
  rows_ = columns_ = 0;
  cells_.clear();
}

// --- Matrix3 ---

bool Matrix3::Init(int a, int b, int c) {
  Clear();
  if (!SizeFits(a, b, c)) return false;
  a_ = a;
  b_ = b;
  c_ = c;
  cells_.assign(
      static_cast<std::size_t>(a) * static_cast<std::size_t>(b) * static_cast<std::size_t>(c), 0.0);
  return true;
}

bool Matrix3::InRange(int i, int j, int k) const {
  return i >= 0 && i < a_ && j >= 0 && j < b_ && k >= 0 && k < c_;
}

double Matrix3::Get(int i, int j, int k) const {
  assert(InRange(i, j, k) && "Matrix3::Get - Illegal index!");
  if (!InRange(i, j, k)) return 0.0;
  return cells_[(static_cast<std::size_t>(i) * static_cast<std::size_t>(b_) +
                 static_cast<std::size_t>(j)) *
                    static_cast<std::size_t>(c_) +
                static_cast<std::size_t>(k)];
}

void Matrix3::Add(double value, int i, int j, int k) {
  assert(InRange(i, j, k) && "Matrix3::Add - Illegal index!");
  if (!InRange(i, j, k)) return;
  cells_[(static_cast<std::size_t>(i) * static_cast<std::size_t>(b_) +
          static_cast<std::size_t>(j)) *
             static_cast<std::size_t>(c_) +
         static_cast<std::size_t>(k)] += value;
}

void Matrix3::Clear() {
  a_ = b_ = c_ = 0;
  cells_.clear();
}

// --- Matrix3Projected ---

void Matrix3Projected::Project(char mode) {
  mode_ = mode;
  const bool byMethods = mode == kProjectByMethods;
  const int columns = byMethods ? C() : B();
  projected_.Init2(A(), columns);
  for (int i = 0; i < A(); ++i)
    for (int j = 0; j < B(); ++j)
      for (int k = 0; k < C(); ++k) projected_.Put2(Get(i, j, k), i, byMethods ? k : j);
  rowSums_.assign(static_cast<std::size_t>(A()), 0.0);
  columnSums_.assign(static_cast<std::size_t>(columns), 0.0);
  for (int i = 0; i < A(); ++i)
    for (int c = 0; c < columns; ++c) {
      const double v = projected_.Get2(i, c);
      rowSums_[static_cast<std::size_t>(i)] += v;
      columnSums_[static_cast<std::size_t>(c)] += v;
    }
  mean_ = A() > 0 ? std::accumulate(rowSums_.begin(), rowSums_.end(), 0.0) / A() : 0.0;
}

}  // namespace rect

// --- The interval ---

RectInterval ReadRectInterval(const Configuration& config) {
  RectInterval r;
  for (int i = 0; i < 5; ++i) {
    r.start[static_cast<std::size_t>(i)] = config.rectification.Get(Block::kStart[i]);
    r.end[static_cast<std::size_t>(i)] = config.rectification.Get(Block::kEnd[i]);
  }
  return r;
}

void WriteRectInterval(Configuration& config, const RectInterval& interval) {
  for (int i = 0; i < 5; ++i) {
    config.rectification.Set(
        Block::kStart[i], static_cast<std::int16_t>(interval.start[static_cast<std::size_t>(i)]));
    config.rectification.Set(Block::kEnd[i],
                             static_cast<std::int16_t>(interval.end[static_cast<std::size_t>(i)]));
  }
}

int MomentOfWords(const std::array<int, 5>& w, Moment& out) {
  const int year = w[0], month = w[1], day = w[2];
  if (const int fault = DateFault(day, month, year, year < 0 ? 'B' : 'A', true); fault != 0)
    return fault;
  if (w[3] < 0 || w[3] > 23 || w[4] < 0 || w[4] > 59) return kMsgBadTime;
  Moment m;
  if (!m.date.SetDate(day, month, year < 0 ? -year : year, year < 0 ? 'B' : 'A').ok()) return 657;
  if (!m.time.SetTime(w[3], w[4], 0).ok()) return kMsgBadTime;
  out = m;
  return 0;
}

std::array<int, 5> WordsOfMoment(const Moment& m) {
  const int year = m.date.Era() == 'B' ? -m.date.Year() : m.date.Year();
  return {year, m.date.Month(), m.date.Day(), m.time.SecondsOfDay() / 3600,
          m.time.SecondsOfDay() / 60 % 60};
}

bool RectEventsHavePoints(const LifeEventList& events) {
  bool inUse = false;
  for (int k = 0; k < events.Count(); ++k) {
    const LifeEvent* e = events.AtDisplay(k);
    if (e == nullptr || !e->InUse()) continue;
    inUse = true;
    if (!e->planets.empty() || !e->houses.empty()) return true;
  }
  return !inUse;
}

Moment MomentMovedByMinutes(const Moment& moment, std::int64_t minutes) {
  Moment m = moment;
  const int seconds = m.time.SecondsOfDay();
  (void)m.time.SetTime(seconds / 3600, seconds / 60 % 60, 0);
  if (const std::int64_t carried = m.time.AddMinutes(minutes); carried != 0)
    m.date.AddDays(carried);
  return m;
}

RectInterval RectIntervalAround(const Moment& moment, int before, int after) {
  constexpr int kYearLimit = 3000;
  const auto inRange = [](const std::array<int, 5>& words) {
    return words[0] >= -kYearLimit && words[0] <= kYearLimit;
  };
  RectInterval interval{WordsOfMoment(MomentMovedByMinutes(moment, -before)),
                        WordsOfMoment(MomentMovedByMinutes(moment, after))};
  if (!inRange(interval.start)) {
    interval.start = WordsOfMoment(MomentMovedByMinutes(moment, 0));
    interval.end = WordsOfMoment(MomentMovedByMinutes(moment, before + after));
  } else if (!inRange(interval.end)) {
    interval.start = WordsOfMoment(MomentMovedByMinutes(moment, -before - after));
    interval.end = WordsOfMoment(MomentMovedByMinutes(moment, 0));
  }
  return interval;
}

int SpanMinutes(const RectInterval& interval, std::int64_t& minutes) {
  Moment a, b;
  if (const int fault = MomentOfWords(interval.start, a); fault != 0) return fault;
  if (const int fault = MomentOfWords(interval.end, b); fault != 0) return fault;
  minutes = (b.date.DayNumber() - a.date.DayNumber()) * 1440 + MinuteOfDay(interval.end) -
            MinuteOfDay(interval.start);
  return 0;
}

int CheckRectInterval(const RectInterval& interval) {
  std::int64_t minutes = 0;
  if (const int fault = SpanMinutes(interval, minutes); fault != 0) return fault;
  if (minutes <= 0) return kMsgIntervalReversed;
  if (minutes > kMaxRectSpanMinutes) return kMsgIntervalTooLong;
  return 0;
}

// --- RectMatrix ---

Status RectMatrix::Prepare(const Configuration& config, const Aspectarium& aspectarium,
                           const LifeEventList& events) {
  Clear();
  calculated_ = false;
  methods_.clear();
  methodNames_.clear();
  events_.clear();
  warnings_.clear();

  const std::array<std::string, kRectGroupCount> names = RectificationSystemNames(config);
  setup_ = MakeRectScoringSetup(config, aspectarium, names);
  fullPrecision_ = config.rectification.Get(cfg::RectificationSettings::kFullPrecision) == 1;
  // Only methods 0..13 exist; the block's further settings are not methods.
  for (int m = 0; m < kRectMethodCount; ++m) {
    if (!setup_.IsOn(m)) continue;
    methods_.push_back(m);
    methodNames_.push_back(GetMessageText(kMsgMethodNameFirst + m));
  }

  const RectInterval interval = ReadRectInterval(config);
  std::int64_t minutes = 0;
  if (const int fault = SpanMinutes(interval, minutes); fault != 0) return Status::Message(fault);
  // Start equal to end is one trial; a reversed or too long interval is refused.
  if (minutes < 0) return Status::Message(kMsgIntervalReversed);
  if (minutes > kMaxRectSpanMinutes) return Status::Message(kMsgIntervalTooLong);
  (void)MomentOfWords(interval.start, start_);

  for (int k = 0; k < events.Count(); ++k)
    if (const LifeEvent* e = events.AtDisplay(k); e != nullptr && e->InUse()) events_.push_back(*e);
  if (!RectEventsHavePoints(events)) {
    events_.clear();
    return Status::Message(kMsgEventsNameNoPoints);
  }

  Init(static_cast<int>(minutes) + 1, static_cast<int>(events_.size()),
       static_cast<int>(methods_.size()));
  warnings_ = CheckBeforeRun(setup_, names, events, TrialMoment(TrialCount() - 1));
  return Status::Ok();
}

Moment RectMatrix::TrialMoment(int t) const {
  Moment m = start_;
  const std::int64_t carried = m.time.AddMinutes(std::max(t, 0));
  if (carried != 0) m.date.AddDays(carried);
  return m;
}

Status RectMatrix::CalculateAll(const ChartContext& ctx, const Chart& documentChart,
                                platform::ProgressSink& progress, bool cacheTransits) {
  // The working chart: a natal chart of the document chart's base Source, moved to each trial.
  Chart working;
  const Source* base = documentChart.definition.GetBaseSource();
  working.definition.sources[0] = base != nullptr ? *base : documentChart.definition.GetCountSrc();
  working.houseSystem = documentChart.houseSystem;

  const int trials = TrialCount();
  calculated_ = false;
  std::vector<Chart> transits;
  std::vector<bool> transitBuilt;
  // Trials are independent: they are shared out among workers, trial t to worker t % workers,
  // each with its own charts and tracks. Every cell is written by one worker only, so the matrix
  // is the same for any number of workers. The first failure reported is the earliest trial's.
  const int workers =
      trials < 8 ? 1
                 : std::clamp(threads_ > 0 ? threads_
                                           : static_cast<int>(std::thread::hardware_concurrency()),
                              1, 8);
  struct Failure {
    int trial = std::numeric_limits<int>::max();
    Status status;
    void Keep(int t, Status st) {
      if (!st.ok() && t < trial) {
        trial = t;
        status = std::move(st);
      }
    }
  };
  std::vector<Failure> failures(static_cast<std::size_t>(workers));
  std::atomic<bool> stop{false};
  std::mutex transitsBuilding;

  const auto work = [&](int w, bool reports) {
    CleanVectorState();  // each worker's own registers: the threads start with their creator's
    Chart chart = working;
    Source& source = chart.definition.sources[0];
    Failure& failure = failures[static_cast<std::size_t>(w)];
    std::vector<double> slots(static_cast<std::size_t>(MethodCount()));
    // One track of progressed bodies per event: neighbouring trials progress to neighbouring
    // moments.
    std::vector<std::unique_ptr<BodyTrack>> tracks;
    std::vector<BodySource> progressed;
    if (!fullPrecision_)
      for (std::size_t j = 0; j < events_.size(); ++j) {
        tracks.push_back(std::make_unique<BodyTrack>(ctx));
        progressed.push_back(tracks.back()->Source());
      }
    for (int t = w; t < trials && !stop.load(); t += workers) {
      source.moment = TrialMoment(t);
      ChartRect natal(chart);
      if (Status st = natal.Compute(ctx); !st.ok()) {
        failure.Keep(t, st);
      } else {
        if (cacheTransits && setup_.GroupIsOn(kGroupTransits)) {
          // The transit chart depends on the place and zone only: built once, from the first
          // trial computed.
          const std::lock_guard<std::mutex> lock(transitsBuilding);
          if (transits.empty()) {
            transits.resize(events_.size());
            transitBuilt.assign(events_.size(), false);
            for (std::size_t j = 0; j < events_.size(); ++j) {
              const Status built = MakeEventTransit(ctx, natal, events_[j], transits[j]);
              transitBuilt[j] = built.ok();
              failure.Keep(t, built);
            }
          }
        }
        for (int e = 0; e < EventCount(); ++e) {
          const auto j = static_cast<std::size_t>(e);
          const Chart* transit = !transits.empty() && transitBuilt[j] ? &transits[j] : nullptr;
          failure.Keep(t, ScoreEvent(ctx, natal, events_[j], setup_, slots, transit,
                                     progressed.empty() ? nullptr : &progressed[j]));
          for (int k = 0; k < MethodCount(); ++k) Add(slots[static_cast<std::size_t>(k)], t, e, k);
        }
      }
      if (reports) {
        progress.SetPos(static_cast<int>(static_cast<double>(t) / trials * 100.0));
        if (progress.Cancelled()) stop = true;
      }
    }
  };

  progress.Begin();
  {
    std::vector<std::jthread> helpers;
    for (int w = 1; w < workers; ++w) helpers.emplace_back(work, w, false);
    work(0, true);  // this thread reports the progress and hears Cancel
  }
  progress.End();
  if (stop.load()) return Status::Message(kMsgRectificationCancelled, "RectMatrix::CalculateAll");
  calculated_ = true;
  Failure first;
  for (Failure& f : failures) first.Keep(f.trial, f.status);
  return first.status;
}

std::vector<double> RectMatrix::TrialSums() const {
  std::vector<double> sums(static_cast<std::size_t>(A()), 0.0);
  for (int i = 0; i < A(); ++i)
    for (int j = 0; j < B(); ++j)
      for (int k = 0; k < C(); ++k) sums[static_cast<std::size_t>(i)] += Get(i, j, k);
  return sums;
}

std::vector<double> RectMatrix::EventSums() const {
  std::vector<double> sums(static_cast<std::size_t>(B()), 0.0);
  for (int i = 0; i < A(); ++i)
    for (int j = 0; j < B(); ++j)
      for (int k = 0; k < C(); ++k) sums[static_cast<std::size_t>(j)] += Get(i, j, k);
  return sums;
}

std::vector<double> RectMatrix::MethodSums() const {
  std::vector<double> sums(static_cast<std::size_t>(C()), 0.0);
  for (int i = 0; i < A(); ++i)
    for (int j = 0; j < B(); ++j)
      for (int k = 0; k < C(); ++k) sums[static_cast<std::size_t>(k)] += Get(i, j, k);
  return sums;
}

std::vector<int> RectMatrix::BestTrials(int count) const {
  const std::vector<double> sums = TrialSums();
  std::vector<int> order(sums.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return sums[static_cast<std::size_t>(a)] > sums[static_cast<std::size_t>(b)];
  });
  if (count >= 0 && static_cast<std::size_t>(count) < order.size())
    order.resize(static_cast<std::size_t>(count));
  return order;
}

std::string BestTrialsText(const RectMatrix& matrix, int count) {
  std::string text = GetMessageText(kMsgRectBestTrials);
  const std::vector<double> sums = matrix.TrialSums();
  for (int t : matrix.BestTrials(count)) {
    const Moment m = matrix.TrialMoment(t);
    char line[64];
    std::snprintf(line, sizeof line, "\n%02d:%02d:%04d%s %02d:%02d   %.0f", m.date.Day(),
                  m.date.Month(), m.date.Year(), m.date.Era() == 'B' ? "-" : "",
                  m.time.SecondsOfDay() / 3600, m.time.SecondsOfDay() / 60 % 60,
                  sums[static_cast<std::size_t>(t)]);
    text += line;
  }
  return text;
}
