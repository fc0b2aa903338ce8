// One dated forecast event of a prediction list ("<name>.pls", one line per event): the moving
// object and its target, the aspect, the orb and phase marks, the moment, both longitudes, the
// definitions of the charts the two objects are taken from, the user's comment and status mark.
// The transit, lunar-transit and life-point views make records of their events and append their
// lines to a list; the list dialog and its printout read them back.
//
// Line form, fields separated by single blanks:
//   moving target aspect side orbKind phase movingMotion targetMotion
//   movingLongitude targetLongitude (six decimals) "DD:MM:YYYYE  HH:MM" (era '+' AD, '-' BC)
//   movingChart targetChart (seven numbers each, [0] [1] [2] [3] [5] [4] [6])
//   status showTime comment (blanks written as '_', a single "_" when empty)
// Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/datetime/moment.h"
#include "foundation/numbers/angles.h"

class AspectSystem;
class Chart;
struct LifePointEvent;
struct LunarTransitEvent;
struct TransitEventRecord;

// The moving object of a life-point record; 34 + h is the target code of house cusp h.
inline constexpr int kPredLifePoint = 2000;
inline constexpr int kPredCuspTarget = 34;
// The aspect code of an aspect outside its system; codes below it are minus an angle in minutes.
inline constexpr int kPredUnknownAspect = -1;

// A chart definition: [0] kind, [1] converse flag, [2] key kind (-1 none), [3] arc count,
// [4] arc unit, [5] time count, [6] time unit.
using ChartDefinition = std::array<std::int16_t, 7>;

// {0, 0, -1, 1, 0, 1, 0}.
ChartDefinition NatalDefinition();
// {3, converse, -1, 1, 0, 1, 0}.
ChartDefinition TransitDefinition(int converse);
// {kind, converse, key kind, the four key numbers} of `chart`.
ChartDefinition FullDefinition(const Chart& chart);
// The chart the bodies of a transit search of `chart` move in: a progressed or directed chart as
// it is defined, else transits, converse as the search's clock runs (TransitTimeFactor).
ChartDefinition TransitChartDefinition(const Chart& chart);

// The seven numbers in file order, "%d %d %d %d %d %d %d" of [0] [1] [2] [3] [5] [4] [6].
std::string ChartDefinitionToText(const ChartDefinition& definition);
// The short label of listings (code page 1251): "тр", "тр(обр)", "пр(втор)", "пр(втор,обр)",
// "дир(симв)"; another kind's text alone. A kind outside 0..10 is written as its number; a key
// kind outside the kind's keys leaves the key out ("пр", "пр(обр)").
std::string ChartDefinitionLabel(const ChartDefinition& definition);

// The aspect code of listings for position `position` of `system`: the aspect index 0..19 of its
// angle, or minus the angle in minutes when the angle has no index; kPredUnknownAspect when the
// position lies outside the system (or there is no system).
int PredAspectCode(const AspectSystem* system, int position);

struct PredListRecord {
  static constexpr std::size_t kMaxComment = 250;

  std::int16_t moving = 0;  // chart point 0..33, or kPredLifePoint
  std::int16_t target = 0;  // chart point 0..33, or 34 + h
  std::int16_t aspect = 0;  // index 0..19, -1 unknown, below -1 minus an angle in minutes
  char side = 'L';
  char orbKind = 'X';  // 'X' no orb, 'E' the exact orb, 'N' the class orb
  char phase = 'E';    // 'I' entering, 'E' exact, 'O' leaving
  char movingMotion = 'D';
  char targetMotion = 'D';
  Moment when;  // 1 January 1900 AD, 00:00
  double movingLongitude = kAbsent;
  double targetLongitude = kAbsent;
  ChartDefinition movingChart = NatalDefinition();
  ChartDefinition targetChart = NatalDefinition();
  std::string comment;  // at most kMaxComment bytes, no control characters
  char status = 'P';    // 'P' ordinary, 'S' marked
  char showTime = 'Y';  // 'Y' the time of day is shown

  // The line (without its line end).
  std::string ToText() const;
  // The record of one line, or nothing when the line is not one the format allows: another
  // number of fields, a number that does not read or lies outside its range (objects, aspect,
  // longitudes), a date that does not exist, a time outside the day, a comment over 250 bytes.
  static std::optional<PredListRecord> FromText(std::string_view line);

  // The record of a transit event: `chart` the document's chart the transits move in (the moving
  // chart is its TransitChartDefinition), `second` the chart compared with when `withSecond`
  // (the natal chart behind it; nullptr when `chart` itself is the natal chart).
  static PredListRecord FromTransitEvent(const TransitEventRecord& event, const Chart& chart,
                                         const Chart* second, bool withSecond, bool showTime);
  // The record of a lunar-transit event; nothing for an ingress. `natalTarget`: the events were
  // found against the natal chart. An aspect position outside `system` gives kPredUnknownAspect.
  static std::optional<PredListRecord> FromLunarEvent(const LunarTransitEvent& event,
                                                      const Chart& chart, bool natalTarget,
                                                      const AspectSystem* system);
  // The record of a life-point event; nothing for an ingress. `toThisChart`: the aspects are
  // taken to the document's chart rather than the natal chart.
  static std::optional<PredListRecord> FromLifePointEvent(const LifePointEvent& event,
                                                          const Chart& chart, bool toThisChart,
                                                          const AspectSystem* system);

  // Replaces the comment: control characters (tabs, line ends) become blanks, and it is cut to
  // `limit` bytes.
  void SetComment(std::string_view text, std::size_t limit = kMaxComment);
  bool IsLifePoint() const { return moving == kPredLifePoint; }
  bool IsMarked() const { return status != 'P'; }
  // The separation of the two longitudes folded into 0..180; nothing when one is absent.
  std::optional<double> Arc() const;

  friend bool operator==(const PredListRecord&, const PredListRecord&) = default;
};

// "DD:MM:YYYYE", with two blanks and "HH:MM" after it when `withTime`.
std::string PredMomentText(const Moment& when, bool withTime);
// The arc as listings show it, "%4.2f"; empty when a longitude is absent.
std::string PredArcText(const PredListRecord& record);
