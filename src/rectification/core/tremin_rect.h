// Event scoring of the Tremin rectification. A trial birth moment gets two kinds of marks:
//  - its possibility, a percentage of how well the planets, the cusps and the sign rulers of the
//    trial chart are tied to 0 Aries and to each other (or the mark of an impossible moment);
//  - its score in two series, directions (0) and progressions (1): the mean over the life events
//    in use of how well the event's directed or progressed chart touches the event's houses of
//    the trial chart, in tenths of a point.
// The objects of the method are the ten planets 0..9 and Proserpina (20), always in that order.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "foundation/status.h"
#include "rectification/core/life_event.h"

class Chart;
class ChartContext;
class Moment;

inline constexpr int kTmObjectCount = 11;
inline constexpr std::array<int, kTmObjectCount> kTmObjects{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20};
inline constexpr int kTmProserpina = 20;
// The possibility of a moment that failed a gate. Held apart from every computed value (which
// lies in -200..100), so that a computed -1 is not taken for it.
inline constexpr std::int16_t kTmImpossible = std::numeric_limits<std::int16_t>::min();
inline constexpr int kTmSeriesDirections = 0;
inline constexpr int kTmSeriesProgressions = 1;

// True when the angular distance d (0..180) lies strictly inside angle +- (orb + 0.033).
bool TmAspectWindow(double d, double angle, double orb);
// The object-to-point test: `object`'s longitude against a point, with the orbs of the object
// (the Sun and the Moon wider on the 72 and the minor angles). An absent longitude never matches.
bool TmObjectToPoint(int object, double objectLongitude, double pointLongitude);
// The same angles with fixed orbs, whatever the object: a house cusp against a point.
bool TmCuspToPoint(double cuspLongitude, double pointLongitude);
// The three natural houses (1..12) of object 0..9 or 20; empty for any other object.
std::vector<int> TmHousesOfObject(int object);

// The aspects between the objects of one computed trial chart, by the pair test: a forming aspect
// of the applying system or a separating one of the separating system, in the pair's orb column.
// An object stands in a conjunction with itself that does not change, so it is in aspect with
// itself when the separating system holds a conjunction.
class TmPairTable {
 public:
  TmPairTable(const Chart& chart, const AspectSystem* applying, const AspectSystem* separating);
  // Objects 0..9 or 20; false for any other.
  bool InAspect(int a, int b) const;

 private:
  std::array<std::array<bool, kTmObjectCount>, kTmObjectCount> aspect_{};
};

// The orb column (0..4) of the pair test for objects a and b.
int TmPairColumn(int a, int b);

class TmRect {
 public:
  // The aspect systems are kept by the caller for the life of the object; either may be null (no
  // aspects then).
  TmRect(const AspectSystem* applying, const AspectSystem* separating);

  // The sign-ruler table for the flag: slot P (Proserpina) is object 20 when the flag is 1, else
  // empty. A fresh object has every slot empty and the flag 0.
  void FillRulers(int proserpinaCounts);
  int Ruler(int sign, int slot) const;
  int ProserpinaCounts() const { return proserpinaCounts_; }

  // The possibility of a computed trial chart (bodies with speeds and cusps): -200..100, or
  // kTmImpossible. Refills the sign-ruler table with the Proserpina flag of this chart, which the
  // event scoring of the same chart then uses.
  int Possibility(const Chart& trial);

  // The score of one event for a computed trial chart and the event's directed (series 0) or
  // progressed (series 1) chart: sum / count x 100 over the event's houses. Nothing when the event
  // has no house.
  std::optional<double> EventScoreWith(const Chart& trial, const TmPairTable& pairs,
                                       const Chart& eventChart, const LifeEvent& event) const;
  // The mean of the event scores of `events` (the events in use, in display order) times 10,
  // truncated: tenths of a point. Nothing when no event has a score.
  std::optional<int> MomentScore(const ChartContext& ctx, const Chart& trial,
                                 const std::vector<LifeEvent>& events, int series);

  // Building blocks of the possibility, on a computed chart and its pair table.
  bool LinkedToPoint(const Chart& chart, const TmPairTable& pairs, int object, double point) const;
  bool RulersLinked(const TmPairTable& pairs, int t, int e) const;

  // The year forecast of `event` at `date` (on the natal clock) for the computed natal chart
  // `natal`: the scores 0..100 of its progressed and its directed chart and of the life point
  // (signs, direct, from Aries, 7 years a sign) go to the three results; returned is the mean of
  // the first two. The sign rulers are refilled with the object's Proserpina flag first. A
  // derived chart that cannot be computed scores 0; so does the life point before the birth
  // (ForecastEvent shows no message: the caller tells the user once).
  double ForecastEvent(const ChartContext& ctx, const Chart& natal, const Moment& date,
                       const LifeEvent& event, double& progression, double& direction,
                       double& lifePoint);
  // Building blocks of the forecast over the natal chart and its pair table. The point value of a
  // longitude for house h: 100 within 1.033 degrees of an applying aspect from the natal cusp h;
  // else 100, 50 or 0 as all, some or none of the rulers of sign row h are hit (directly or
  // through an object in aspect with the ruler).
  double PointValue(const Chart& natal, const TmPairTable& pairs, double longitude, int h) const;
  // The house value of h for a derived chart: a third of the point value of its cusp h, a third
  // of w times the point values of its rulers of sign row h (w = 1/2 when the row's third slot is
  // empty, else 1/3), and a third of the mean point value of the rulers of the signs house h
  // spans in the natal chart (each object once).
  double HouseValue(const Chart& natal, const TmPairTable& pairs, const Chart& derived,
                    int h) const;
  // The mean house value over the event's houses; 0 without houses.
  double ForecastScore(const Chart& natal, const TmPairTable& pairs, const Chart& derived,
                       const LifeEvent& event) const;

  const AspectSystem* Applying() const { return applying_; }
  const AspectSystem* Separating() const { return separating_; }

 private:
  // True when `longitude` lies within 1.033 degrees of an aspect of the applying system from
  // `from`.
  bool FixedOrbAspect(double longitude, double from) const;
  // The rulers of sign row h tested against `longitude` in `chart`: how many there are and how
  // many are hit (the ruler's longitude, or that of an object in aspect with it, within 1.033
  // degrees of an applying aspect).
  void SlotHits(const Chart& chart, const TmPairTable& pairs, int h, double longitude, int& tested,
                int& hits) const;
  // The rulers of the signs house h spans in `chart`, each object once, in slot order.
  std::vector<int> SpannedRulers(const Chart& chart, int h) const;
  // One entry of the work list scored against the trial's cusp h.
  void ScoreEntry(const Chart& trial, const TmPairTable& pairs, int h, double longitude, int weight,
                  double& sum, int& count) const;

  const AspectSystem* applying_;
  const AspectSystem* separating_;
  std::array<std::array<int, 3>, 12> rulers_{};
  int proserpinaCounts_ = 0;
};
