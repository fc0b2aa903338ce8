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
  // The house 0..11 that holds a longitude; -1 when the cusps are absent.
  int HouseOf(double longitude) const;
  // 2 when the whole sign lies inside the house (0..11), 1 when part of it does, 0 otherwise.
  int SignInHouse(int sign, int house) const;
  // 2 when both cusps of the house lie in the sign, 1 when one does, 0 otherwise.
  int SignOnHouseCusps(int sign, int house) const;

  friend bool operator==(const Chart&, const Chart&) = default;

  SuperSource definition;
  std::array<PointRecord, kChartPointCount> points{};
  std::array<double, 2> extra{};  // the two further doubles of the record
  std::array<AngleValue, 12> cusps{};
  int houseSystem = -1;           // -1 when new; + 100 for geodetic houses
  std::uint8_t commentSlot = 0;   // 0 none, else the chart-comment slot
};
