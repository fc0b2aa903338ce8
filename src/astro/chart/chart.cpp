#include "astro/chart/chart.h"

#include <cmath>
#include <utility>

#include "astro/houses/house_position.h"

namespace {

constexpr std::size_t kTownWidth = 26;
constexpr std::size_t kRegionWidth = 26;

void SaveSource(BinaryWriter& out, const Source& s) {
  out.FixedText(s.Name(), kSourceNameWidth);
  const FDate& d = s.moment.date;
  out.U16(static_cast<std::uint16_t>(d.Day()));
  out.U16(static_cast<std::uint16_t>(d.Month()));
  out.U16(static_cast<std::uint16_t>(d.Year()));
  out.Char(d.Era());
  const FTime& t = s.moment.time;
  out.U16(static_cast<std::uint16_t>(t.Hours()));
  out.U16(static_cast<std::uint16_t>(t.Minutes()));
  out.U16(static_cast<std::uint16_t>(t.Seconds()));
  out.U16(static_cast<std::uint16_t>(s.zone.Hours()));
  out.U16(static_cast<std::uint16_t>(s.zone.Minutes()));
  out.U16(static_cast<std::uint16_t>(s.zone.Seconds()));
  out.Char(s.zone.Sign());
  const Place& p = s.place;
  out.U16(static_cast<std::uint16_t>(p.LatitudeDegrees()));
  out.U16(static_cast<std::uint16_t>(p.LatitudeMinutes()));
  out.Char(p.LatitudeLetter());
  out.U16(static_cast<std::uint16_t>(p.LongitudeDegrees()));
  out.U16(static_cast<std::uint16_t>(p.LongitudeMinutes()));
  out.Char(p.LongitudeLetter());
  out.FixedText(p.Town(), kTownWidth);
  out.FixedText(p.Region(), kRegionWidth);
}

// Reads one Source; false when a field holds a value no Source can have.
bool LoadSource(BinaryReader& in, Source& s) {
  s.SetName(in.FixedText(kSourceNameWidth));
  const int day = in.U16(), month = in.U16(), year = in.U16();
  const char era = in.Char();
  const int hours = in.U16(), minutes = in.U16(), seconds = in.U16();
  const int zh = in.U16(), zm = in.U16(), zs = in.U16();
  const char zoneSign = in.Char();
  const int latDeg = in.U16(), latMin = in.U16();
  const char latLetter = in.Char();
  const int lonDeg = in.U16(), lonMin = in.U16();
  const char lonLetter = in.Char();
  const std::string town = in.FixedText(kTownWidth);
  const std::string region = in.FixedText(kRegionWidth);
  if (!in.Ok()) return false;
  if (!s.moment.date.SetDate(day, month, year, era).ok()) return false;
  if (!s.moment.time.SetTime(hours, minutes, seconds).ok()) return false;
  if (!s.zone.SetTime(zh, zm, zs, zoneSign).ok()) return false;
  if (!s.place.SetPlace(latDeg, latMin, latLetter, lonDeg, lonMin, lonLetter, town, region).ok())
    return false;
  return true;
}

int SignOf(double longitude) { return static_cast<int>(std::floor(longitude / 30.0)) % 12; }

// True when `x` lies on the arc from `from` going forward to `to` (from inclusive, to exclusive).
bool OnArc(double x, double from, double to) {
  const double span = AngleDifference360(from, to);
  const double off = AngleDifference360(from, x);
  return off < span || span == 0.0;
}

}  // namespace

std::size_t Chart::RecordSize(int version) {
  if (version == kChartRecordVersion4000) return 1767;
  if (version == kChartRecordVersion4200) return 1776;
  return 0;
}

void Chart::Save(BinaryWriter& out, int version) const {
  for (const Source& s : definition.sources) SaveSource(out, s);
  out.U16(definition.Kind());
  out.FixedText(definition.Title(), kTitleWidth);
  out.U16(definition.converse);
  out.U16(definition.keyKind);
  out.U16(definition.key.arcCount);
  out.U16(definition.key.arcUnit);
  out.U16(definition.key.timeCount);
  out.U16(definition.key.timeUnit);
  if (version == kChartRecordVersion4200)
    out.FixedText(definition.AspectSystemName(), kAspectSystemNameWidth);
  for (const PointRecord& p : points) {
    out.F64(p.longitude.Get());
    out.F64(p.latitude);
    out.F64(p.speed);
    out.Char(p.status);
  }
  for (double d : extra) out.F64(d);
  for (const AngleValue& c : cusps) out.F64(c.Get());
  out.I32(houseSystem);
  out.U8(commentSlot);
  out.Zeros(5);
}

Status Chart::Load(BinaryReader& in, int version) {
  const std::size_t size = RecordSize(version);
  if (size == 0) return Status::Error(kErrParameter, "Chart::Load", version);
  if (in.Remaining() < size) {
    in.Skip(in.Remaining());
    return Status::Error(kErrRead, "Chart::Load", 1);
  }
  Chart read;
  for (int i = 0; i < 3; ++i)
    if (!LoadSource(in, read.definition.sources[i]))
      return Status::Error(kErrFormat, "Chart::Load", 2 + i);
  const std::uint16_t kind = in.U16();
  read.definition.SetKind(kind);
  read.definition.SetTitle(in.FixedText(kTitleWidth));
  read.definition.converse = in.U16();
  read.definition.keyKind = in.U16();
  read.definition.key.arcCount = in.U16();
  read.definition.key.arcUnit = in.U16();
  read.definition.key.timeCount = in.U16();
  read.definition.key.timeUnit = in.U16();
  if (version == kChartRecordVersion4200)
    read.definition.SetAspectSystemName(in.FixedText(kAspectSystemNameWidth));
  for (PointRecord& p : read.points) {
    p.longitude.Set(in.F64());
    p.latitude = in.F64();
    p.speed = in.F64();
    p.status = in.Char();
    if (!std::isfinite(p.longitude.Get()) || !std::isfinite(p.latitude) || !std::isfinite(p.speed))
      return Status::Error(kErrFormat, "Chart::Load", 5);
  }
  for (double& d : read.extra) {
    d = in.F64();
    if (!std::isfinite(d)) return Status::Error(kErrFormat, "Chart::Load", 8);
  }
  for (AngleValue& c : read.cusps) {
    c.Set(in.F64());
    if (!std::isfinite(c.Get())) return Status::Error(kErrFormat, "Chart::Load", 6);
  }
  read.houseSystem = in.I32();
  read.commentSlot = in.U8();
  in.Skip(5);
  if (!in.Ok()) return Status::Error(kErrRead, "Chart::Load", 7);
  *this = read;
  return Status::Ok();
}

void Chart::ConstructCusps() {
  for (AngleValue& c : cusps) c.Clear();
}

AngleValue Chart::GetPointLongitude(int i) const {
  if (i < 0 || i >= kChartPointCount) return AngleValue();
  return points[i].longitude;
}

AngleValue Chart::GetCusp(int i) const { return cusps[((i % 12) + 12) % 12]; }

AngleValue Chart::GetCuspFromTenth(int i) const { return GetCusp(i + 9); }

AngleValue Chart::GetPointOrCuspLongitude(int i) const {
  return i < 1000 ? GetPointLongitude(i) : GetCusp(i - 1000);
}

int Chart::HouseOf(double longitude) const {
  std::array<double, 12> c;
  for (int h = 0; h < 12; ++h) c[h] = cusps[h].Get();
  return HouseOfLongitude(c, longitude);
}

int Chart::GetElementCross(int i, bool byHouse) const {
  const AngleValue lon = GetPointLongitude(i);
  if (!lon.IsSet()) return -1;
  const int s = byHouse ? HouseOf(lon.Get()) : SignOf(lon.Get());
  if (s < 0) return -1;
  return (s % 4) * 3 + (s % 3);
}

int Chart::SignInHouse(int sign, int house) const {
  AngleValue from = GetCusp(house), to = GetCusp(house + 1);
  if (!from.IsSet() || !to.IsSet()) return 0;
  // Cusps against the signs: the house runs up from the next cusp to its own.
  std::array<double, 12> c;
  for (int h = 0; h < 12; ++h) c[h] = cusps[h].Get();
  if (RunsBackwards(c)) std::swap(from, to);
  const double start = sign * 30.0;
  const double span = AngleDifference360(from.Get(), to.Get());
  const double a = AngleDifference360(from.Get(), start);
  const double b = a + 30.0;
  if (a < span && b <= span) return 2;
  // Part of the sign inside: the house begins or ends inside the sign.
  if (a < span || OnArc(from.Get(), start, start + 30.0)) return 1;
  return 0;
}

int Chart::SignOnHouseCusps(int sign, int house) const {
  const AngleValue from = GetCusp(house), to = GetCusp(house + 1);
  if (!from.IsSet() || !to.IsSet()) return 0;
  return (SignOf(from.Get()) == sign) + (SignOf(to.Get()) == sign);
}
