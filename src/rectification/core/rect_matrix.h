// The score matrix of the rectification by events: for every trial birth minute of the birth
// interval, every life event in use and every method switched on, the event's score by that
// method against the natal chart of that minute. The view projects it onto trials x events or
// trials x methods; the trials with the highest sums are the candidate birth times.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/datetime/moment.h"
#include "foundation/status.h"
#include "rectification/core/life_event.h"
#include "rectification/core/rect_scoring_setup.h"

class Aspectarium;
class Chart;
class ChartContext;
class Configuration;
class LifeEventList;

namespace platform {
class ProgressSink;
}

// The matrices have their own namespace: the astronomy has a 3 x 3 rotation named Matrix3.
namespace rect {

// Rows x columns of doubles, row-major. An index out of range is a programming error: it asserts,
// and in a release build Get2 answers 0.0 and Put2 changes nothing.
class Matrix2 {
 public:
  // rows x columns cells of 0.0; false (and an empty matrix) for a negative size.
  bool Init2(int rows, int columns);
  double Get2(int row, int column) const;
  // Adds `value` to the cell.
  void Put2(double value, int row, int column);
  void Clear();
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }

 private:
  bool InRange(int row, int column) const;

  int rows_ = 0;
  int columns_ = 0;
  std::vector<double> cells_;
};

// a x b x c doubles: trials x events x methods; cell (i, j, k) at ((i x b) + j) x c + k.
class Matrix3 {
 public:
  bool Init(int a, int b, int c);
  double Get(int i, int j, int k) const;
  // Adds `value` to the cell.
  void Add(double value, int i, int j, int k);
  void Clear();
  int A() const { return a_; }
  int B() const { return b_; }
  int C() const { return c_; }

 private:
  bool InRange(int i, int j, int k) const;

  int a_ = 0, b_ = 0, c_ = 0;
  std::vector<double> cells_;
};

// Projection modes: by methods (trials x methods) or by events (trials x events).
inline constexpr char kProjectByMethods = 'Y';
inline constexpr char kProjectByEvents = 'N';

class Matrix3Projected : public Matrix3 {
 public:
  // Mode 'Y': cell (i, k) = sum over the events; any other mode: cell (i, j) = sum over the
  // methods. Then the row sums (per trial), the column sums (over all trials) and the mean of the
  // row sums (0 without trials).
  void Project(char mode);

  char Mode() const { return mode_; }
  const Matrix2& Projected() const { return projected_; }
  const std::vector<double>& RowSums() const { return rowSums_; }
  const std::vector<double>& ColumnSums() const { return columnSums_; }
  double Mean() const { return mean_; }

 private:
  char mode_ = kProjectByEvents;
  Matrix2 projected_;
  std::vector<double> rowSums_;
  std::vector<double> columnSums_;
  double mean_ = 0.0;
};

}  // namespace rect

// The possible birth interval: start and end words (year, month, day, hour, minute; a negative
// year is before Christ) as the rectification block holds them.
struct RectInterval {
  std::array<int, 5> start{};
  std::array<int, 5> end{};
};

// The longest birth interval, in minutes (2 days).
inline constexpr std::int64_t kMaxRectSpanMinutes = 2 * 1440;

RectInterval ReadRectInterval(const Configuration& config);
void WriteRectInterval(Configuration& config, const RectInterval& interval);
// The moment of the words: 0 and the moment, or the message naming the fault of the date (657,
// 656, 777, 776, 775) or of the time (659).
int MomentOfWords(const std::array<int, 5>& words, Moment& out);
// The words of a moment: year (negative before Christ), month, day, hour, minute.
std::array<int, 5> WordsOfMoment(const Moment& moment);
// The whole minutes from start to end (negative when the end lies before the start), counted on
// the calendar, so that no end minute is lost to rounding; 0 and the minutes, or a date or time
// message.
int SpanMinutes(const RectInterval& interval, std::int64_t& minutes);
// The checks of the interval before a run: 0, or the message of the first fault (a date or time
// message; 89 an end not later than the start; 90 a span of more than 2 days).
int CheckRectInterval(const RectInterval& interval);

// False when events are in use and none of them names a planet or a house: a run would score
// nothing (message 2097).
bool RectEventsHavePoints(const LifeEventList& events);

// `moment` moved by whole minutes on its own clock (seconds dropped), the date carried.
Moment MomentMovedByMinutes(const Moment& moment, std::int64_t minutes);
// The interval from `before` minutes before `moment` to `after` minutes after it, the interval a
// set-up page opens with. An interval whose end would pass the years -3000..3000 is moved whole to
// begin (or end) at the moment itself.
RectInterval RectIntervalAround(const Moment& moment, int before, int after);
// The set-up pages open on a day around the recorded birth: half a day either side.
inline constexpr int kRectDefaultHalfSpanMinutes = 720;

class RectMatrix : public rect::Matrix3Projected {
 public:
  // Reads the method settings (methods 0..13), the interval and the aspect systems from `config`
  // and `aspectarium`, takes a copy of the events in use in display order and sizes the matrix
  // (trials = whole minutes of the span + 1). Refused with the interval's message (Status
  // Message) when the interval is not valid, with message 2097 when no event in use names a
  // planet or a house (the table and graph would be all zero). Warnings() holds the checks to show
  // once (454, 59, 1003).
  Status Prepare(const Configuration& config, const Aspectarium& aspectarium,
                 const LifeEventList& events);

  // Fills the matrix from the trial chart's base Source moved to each trial minute. The natal
  // chart is computed once per trial, each event's transit chart once for the run (with
  // `cacheTransits`; else once per trial and event); the directed charts are the natal chart moved
  // by the arc; without FullPrecision() the progressed charts' bodies are interpolated along each
  // event's track (BodyTrack), their houses computed exactly. The trials are shared out among
  // workers (SetThreads). The progress moves with the trials of the calling thread; Cancel stops
  // the run with message 1980 and leaves the trials not reached at 0.
  Status CalculateAll(const ChartContext& ctx, const Chart& documentChart,
                      platform::ProgressSink& progress, bool cacheTransits = true);

  int TrialCount() const { return A(); }
  int EventCount() const { return B(); }
  int MethodCount() const { return C(); }
  const Moment& Start() const { return start_; }
  // The moment of trial t: the start plus t minutes.
  Moment TrialMoment(int t) const;
  const std::vector<std::string>& MethodNames() const { return methodNames_; }
  // The method number 0..13 of method column k.
  const std::vector<int>& Methods() const { return methods_; }
  const std::vector<LifeEvent>& Events() const { return events_; }
  const RectScoringSetup& Setup() const { return setup_; }
  const std::vector<Status>& Warnings() const { return warnings_; }
  bool Calculated() const { return calculated_; }
  // The configuration's "full precision" switch, read by Prepare.
  bool FullPrecision() const { return fullPrecision_; }
  void SetFullPrecision(bool on) { fullPrecision_ = on; }
  // The workers that share the trials out: 0 (the default) one per processor, at most 8; a run
  // of fewer than 8 trials has one. The matrix does not depend on it.
  void SetThreads(int threads) { threads_ = threads; }

  // Sums over the whole matrix: per trial, per event (over trials and methods) and per method
  // (over trials and events).
  std::vector<double> TrialSums() const;
  std::vector<double> EventSums() const;
  std::vector<double> MethodSums() const;
  // Up to `count` trials with the highest sums, best first (the earlier trial first on equal
  // sums).
  std::vector<int> BestTrials(int count) const;

 private:
  RectScoringSetup setup_;
  std::vector<int> methods_;
  std::vector<std::string> methodNames_;
  std::vector<LifeEvent> events_;
  std::vector<Status> warnings_;
  Moment start_;
  bool calculated_ = false;
  bool fullPrecision_ = false;
  int threads_ = 0;
};

// The report of the best trial times: message 1981, then one line per trial of BestTrials
// (`count`), "DD:MM:YYYY HH:MM" and the trial's sum, whole.
std::string BestTrialsText(const RectMatrix& matrix, int count);
