// The chart object: the chart definition, its 50 points, 12 house cusps and the settings it was
// computed with; stored as one record of 1767 bytes (version 4000) or 1776 bytes (version 4200).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "foundation/datetime/super_source.h"
#include "foundation/files/binary_io.h"
#include "foundation/numbers/angles.h"
#include "foundation/status.h"
#include "platform/core/dc.h"

inline constexpr int kChartPointCount = 50;
inline constexpr int kChartRecordVersion4000 = 4000;
inline constexpr int kChartRecordVersion4200 = 4200;
// The point slot that carries the marker of derived charts.
inline constexpr int kDerivationMarkerSlot = 48;

// Markers of derived charts (point slot 48).
inline constexpr double kMarkerSymbolicThematic = 1.0;
inline constexpr double kMarkerRealThematic = 2.0;  // also: moment reset to a rising
inline constexpr double kMarkerLocalSpace = 3.0;

// One chart point: ecliptic longitude and latitude, speed in degrees per day and the status
// 'R' (retrograde) or 'D' (direct).
struct PointRecord {
  AngleValue longitude;
  double latitude = 0.0;
  double speed = 0.0;
  char status = 'D';
  friend bool operator==(const PointRecord& a, const PointRecord& b) {
    return a.longitude.Get() == b.longitude.Get() && a.latitude == b.latitude &&
           a.speed == b.speed && a.status == b.status;
  }
};

class ChartContext;

class Chart {
 public:
  Chart() = default;

  // The size of a chart record of `version` (4000 or 4200); 0 for any other version.
  static std::size_t RecordSize(int version);

  // Writes the chart as one record of `version` (4000 or 4200).
  void Save(BinaryWriter& out, int version) const;
  // Reads one record of `version`. Error 103 when the record is cut short, 106 when a field holds
  // a value no chart can have (the chart is then left as it was).
  Status Load(BinaryReader& in, int version);

  // Copies a whole chart into this one.
  void Copy(const Chart& other) { *this = other; }
  // Sets the 12 cusps to -777.0.
  void ConstructCusps();

  // The longitude of point i (0..49); -777.0 when not computed or out of range.
  AngleValue GetPointLongitude(int i) const;
  // The cusp of house (i mod 12) + 1.
  AngleValue GetCusp(int i) const;
  // The cusp counted from the tenth house: 0 X, 1 XI, 2 XII, 3 I, 4 II, 5 III ...
  AngleValue GetCuspFromTenth(int i) const;
  // Point i below 1000, cusp i - 1000 from 1000 on.
  AngleValue GetPointOrCuspLongitude(int i) const;

  double DerivationMarker() const { return points[kDerivationMarkerSlot].longitude.Get(); }
  void SetDerivationMarker(double marker) { points[kDerivationMarkerSlot].longitude.Set(marker); }
  bool IsLocalSpace() const { return DerivationMarker() == kMarkerLocalSpace; }
  bool IsSymbolicThematic() const { return DerivationMarker() == kMarkerSymbolicThematic; }

  // (s mod 4) x 3 + (s mod 3), s the sign of point i (or its house with `byHouse`); -1 when the
  // point is absent.
  int GetElementCross(int i, bool byHouse) const;
  // The house 0..11 that holds a longitude (cusps against the signs followed backwards); -1 when
  // the cusps or the longitude are absent.
  int HouseOf(double longitude) const;
  // 2 when the whole sign lies inside the house (0..11), 1 when part of it does, 0 otherwise.
  int SignInHouse(int sign, int house) const;
  // 2 when both cusps of the house lie in the sign, 1 when one does, 0 otherwise.
  int SignOnHouseCusps(int sign, int house) const;

  // Computation (chart_calculate.cpp). CalculatePositions: the chart without speeds (flag as
  // ChartCalculate's). CalculateMainBodies: the bodies with their speeds, and the cusps and points
  // 30..33 when `withHouses` is 1. AddStep: moves the chart's moment by `days` of life (the
  // progressed or directed moment follows at the rate of the kind) and recomputes it with its own
  // house system; a step of 0 recomputes it in place. Each reads only the context it is given.
  Status CalculatePositions(const ChartContext& ctx, int flag);
  Status CalculateMainBodies(const ChartContext& ctx, int withHouses);
  Status AddStep(const ChartContext& ctx, double days);
  // Two coordinates of point i (0..33) at the chart's moment: mode 3 right ascension and
  // declination, mode 4 azimuth (from the north through the east) and altitude for the chart's
  // place; degrees. False (both -777.0) when the point is absent or the mode unknown.
  bool GetPointCoordinates(int i, int mode, double& first, double& second) const;

  // Chart services (chart_services.cpp). Each that computes reads only the context it is given.
  // An Arabic part: operands 0-29 chart points, 30-41 cusps, 42-53 the rulers of houses 1-12;
  // operators 0 add, 1 subtract, 2 add by day and subtract by night, 3 the reverse. Result
  // a op1 b op2 c in [0, 360); -777.0 when an operand is absent or a code unknown. By night only
  // with `dayNightRule` (the Sun below the horizon, IsDayChart).
  static double CalculateArabicPart(const ChartContext& ctx, const Chart& chart, int a, int b,
                                    int c, int op1, int op2, bool dayNightRule);
  // True when the Sun's centre stands above the horizon of the chart's latitude that has the
  // chart's Ascendant rising (the computed Ascendant, else the cusp of house I): below the polar
  // circles, the Sun between the Descendant and the Ascendant through the MC. True also without
  // the Sun or the Ascendant.
  bool IsDayChart() const;
  // Selector 0 Ascendant (rising), 1 Descendant (setting), 2 Midheaven, 3 Imum Coeli. The moment
  // (on the chart's clock) after (`following`) or before the chart's moment at which the body's
  // longitude (body -1: `longitude`) stands on that angle at the chart's place. False when there
  // is none within two days.
  bool FindRiseSetMoment(const ChartContext& ctx, int body, int selector, bool following,
                         Moment& out, double longitude = kAbsent) const;
  // The nearer of the preceding and the following event.
  bool FindNearestRiseSet(const ChartContext& ctx, int body, int selector, Moment& out,
                          double longitude = kAbsent) const;
  // Selector 0 rising, 1 setting: the event on the chart's local date (the preceding one, or the
  // following one when the preceding falls on another date); false when the date has none.
  bool FindRiseSetOnDate(const ChartContext& ctx, int selector, int body, Moment& out) const;
  // The lunar day at the chart's moment (1 from the new moon to the next moonrise, then one more
  // at each moonrise); -1 at latitudes above 66.5 degrees, or when it cannot be found.
  int GetLunarDay(const ChartContext& ctx) const;
  // The share (0..100) of karmic aspects among the aspects between points 0..9 in the chart's
  // aspect system (the current system when it names none); 0 without aspects or systems.
  int GetKarmicCoefficient(const ChartContext& ctx) const;
  // Moves `moment` (on the chart's clock) to the time at which the chart's Moon, recomputed there,
  // stands at the longitude of point `point` (recomputed there too) plus `angle` plus `offset`;
  // `forward` 1 searches forward first, 0 backward first; tolerance in minutes of arc. Returns
  // the target longitude, or -777.0 (moment unchanged) when there is none within 40 days at moments
  // at which the places of the Moon and the point are known (ClipToKnownSpan).
  double FindLunarAspectMoment(const ChartContext& ctx, Moment& moment, int point, double angle,
                               double offset, int forward, double toleranceArcmin) const;

  // The identification block (name, title, date and time with the zone, place, coordinates) in
  // "Vudurez" at (x, y): top-left, or top-right with `align` 1; `compact` joins it into three
  // lines (chart_header.cpp); a line wider than `width` (0: no bound) drawn smaller to fit.
  // Returns its extent.
  platform::Size DrawHeader(platform::Dc& dc, int x, int y, int align, bool compact,
                            int width = 0) const;

  // Equal when every field of the record is equal (the unsaved results below are not compared).
  friend bool operator==(const Chart& a, const Chart& b) {
    return a.definition == b.definition && a.points == b.points && a.extra == b.extra &&
           a.cusps == b.cusps && a.houseSystem == b.houseSystem && a.commentSlot == b.commentSlot;
  }

  SuperSource definition;
  std::array<PointRecord, kChartPointCount> points{};
  std::array<double, 2> extra{};  // the two further doubles of the record
  std::array<AngleValue, 12> cusps{};
  int houseSystem = -1;          // -1 when new; + 100 for geodetic houses
  std::uint8_t commentSlot = 0;  // 0 none, else the chart-comment slot
  // Not stored: the house system could not be cast at the chart's latitude and Porphyry cusps
  // stand in its place.
  bool porphyryFallback = false;
  // Not stored: the Ascendant as computed (the cusp of house I is not it in every system).
  AngleValue ascendant;
};
