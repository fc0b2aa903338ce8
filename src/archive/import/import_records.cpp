#include "archive/import/import_records.h"

#include <cmath>

#include "astro/chart/chart_definition.h"
#include "foundation/text/cp1251.h"

namespace {

std::int16_t Word(int v) { return static_cast<std::int16_t>(v); }

void WritePlace(BinaryWriter& out, const RecordPlace& p) {
  out.I16(Word(p.latDeg));
  out.I16(Word(p.latMin));
  out.I16(Word(static_cast<unsigned char>(p.latLetter)));
  out.I16(Word(p.lonDeg));
  out.I16(Word(p.lonMin));
  out.I16(Word(static_cast<unsigned char>(p.lonLetter)));
}

RecordPlace ReadPlace(BinaryReader& in) {
  RecordPlace p;
  p.latDeg = in.I16();
  p.latMin = in.I16();
  p.latLetter = static_cast<char>(in.I16());
  p.lonDeg = in.I16();
  p.lonMin = in.I16();
  p.lonLetter = static_cast<char>(in.I16());
  return p;
}

void WriteGroupTime(BinaryWriter& out, const ImportRecord::Group& g) {
  out.I16(Word(g.day));
  out.I16(Word(g.month));
  out.I16(Word(g.year));
  out.I16(Word(g.hours));
  out.I16(Word(g.minutes));
}

void ReadGroupTime(BinaryReader& in, ImportRecord::Group& g) {
  g.day = in.I16();
  g.month = in.I16();
  g.year = in.I16();
  g.hours = in.I16();
  g.minutes = in.I16();
}

// The first failure of a chain of setters.
Status First(std::initializer_list<Status> steps) {
  for (const Status& st : steps)
    if (!st.ok()) return st;
  return Status::Ok();
}

Status SetPlace(Source& s, const RecordPlace& p, std::string_view town) {
  return s.place.SetPlace(p.latDeg, p.latMin, p.latLetter, p.lonDeg, p.lonMin, p.lonLetter, town,
                          {});
}

// An import record's group into a Source on the local mean time of its place (the record has no
// zone): four minutes of time per degree east of Greenwich.
Status SetGroup(Source& s, const ImportRecord::Group& g, std::string_view town) {
  if (Status st = First({s.moment.date.SetDate(g.day, g.month, g.year),
                         s.moment.time.SetTime(g.hours, g.minutes, 0), SetPlace(s, g.place, town)});
      !st.ok())
    return st;
  const int seconds = static_cast<int>(std::lround(std::fabs(s.place.EastLongitudeDeg()) * 240.0));
  return s.zone.SetTime(seconds / 3600, seconds / 60 % 60, seconds % 60,
                        s.place.EastLongitudeDeg() < 0.0 ? '-' : '+');
}

}  // namespace

void BirthRecord::Write(BinaryWriter& out) const {
  out.FixedText(name, kRecordNameWidth, false);
  out.FixedText(title, kRecordTitleWidth);
  for (int v : {day, month, year, hours, minutes, seconds}) out.I16(Word(v));
  out.FixedText(town, kRecordTownWidth);
  WritePlace(out, place);
  for (int v : {zoneHours, zoneMinutes, zoneSeconds}) out.I16(Word(v));
  out.Char(zoneSign);
  out.Zeros(3);
  out.I16(Word(houseWord));
}

BirthRecord BirthRecord::Read(BinaryReader& in) {
  BirthRecord r;
  r.name = in.FixedText(kRecordNameWidth);
  r.title = in.FixedText(kRecordTitleWidth);
  r.day = in.I16();
  r.month = in.I16();
  r.year = in.I16();
  r.hours = in.I16();
  r.minutes = in.I16();
  r.seconds = in.I16();
  r.town = in.FixedText(kRecordTownWidth);
  r.place = ReadPlace(in);
  r.zoneHours = in.I16();
  r.zoneMinutes = in.I16();
  r.zoneSeconds = in.I16();
  r.zoneSign = in.Char();
  in.Skip(3);
  r.houseWord = in.I16();
  return r;
}

void ImportRecord::Write(BinaryWriter& out) const {
  out.FixedText(name, kRecordNameWidth, false);
  out.FixedText(title, kRecordTitleWidth);
  WriteGroupTime(out, first);
  out.FixedText(town, kRecordTownWidth);
  WritePlace(out, first.place);
  WriteGroupTime(out, second);
  WritePlace(out, second.place);
  out.I16(Word(kind));
  out.I16(Word(houseSystem));
}

ImportRecord ImportRecord::Read(BinaryReader& in) {
  ImportRecord r;
  r.name = in.FixedText(kRecordNameWidth);
  r.title = in.FixedText(kRecordTitleWidth);
  ReadGroupTime(in, r.first);
  r.town = in.FixedText(kRecordTownWidth);
  r.first.place = ReadPlace(in);
  ReadGroupTime(in, r.second);
  r.second.place = ReadPlace(in);
  r.kind = in.I16();
  r.houseSystem = in.I16();
  return r;
}

int ImportKindOf(int code) {
  switch (code) {
    case 0:
    case 8:
      return kChartNatal;
    case 19:
      return kChartHorary;
    case 10:
      return kChartDraconic;
    case 1:
    case 11:
      return kChartTransit;
    case 2:
    case 3:
    case 4:
    case 12:
    case 13:
    case 14:
    case 17:
    case 22:
    case 23:
      return kChartProgressed;
    case 5:
    case 6:
    case 15:
    case 16:
    case 25:
    case 26:
    case 27:
    case 28:
      return kChartDirected;
    case 18:
      return kChartSynastry;
    case 7:
    case 21:
      return kChartReturn;
    case 20:
      return kChartLunarPhase;
    default:
      return -1;
  }
}

bool IsHarmonicTitle(std::string_view title) {
  // The second spelling has a Latin 'p' for the Cyrillic 'р', as some old files have it.
  for (const std::string& word :
       {Cp1251("гармоническая"), Cp1251("гаpмоническая"), std::string("harmonic")})
    if (title.find(word) != std::string_view::npos) return true;
  return false;
}

void SplitDecimalDegrees(double value, char positive, char negative, int& degrees, int& minutes,
                         char& letter) {
  const double a = std::fabs(value);
  letter = value < 0.0 ? negative : positive;
  if (!(a < kLargestSplitValue)) {
    degrees = kImpossibleUnits, minutes = 0;
    return;
  }
  degrees = static_cast<int>(a);
  minutes = static_cast<int>((a - degrees) * 60.0);
}

Status FromSkyRecord(const BirthRecord& record, SuperSource& out) {
  out = SuperSource();
  out.SetKind(kChartNatal);
  out.SetTitle(record.title);
  Source& s = out.sources[0];
  s.SetName(record.name);
  return First(
      {s.moment.date.SetDate(record.day, record.month, record.year),
       s.moment.time.SetTime(record.hours, record.minutes, record.seconds),
       SetPlace(s, record.place, record.town),
       s.zone.SetTime(record.zoneHours, record.zoneMinutes, record.zoneSeconds, record.zoneSign)});
}

Status FromImportRecord(const ChartContext& ctx, const ImportRecord& record, SuperSource& out) {
  out = SuperSource();
  const int kind = ImportKindOf(record.kind);
  if (kind < 0) return Status::Error(kErrParameter, "FromImportRecord", record.kind);
  if (kind <= kChartHorary && IsHarmonicTitle(record.title))
    return Status::Error(kErrParameter, "FromImportRecord", record.kind);
  out.SetKind(static_cast<std::uint16_t>(kind));
  out.SetTitle(record.title);
  Source& base = *out.GetBaseSource();
  // The other group goes into the first Source when the base is the second.
  Source& other = out.sources[out.BaseSourceIndex() == 1 ? 0 : 1];
  const bool draconic = kind == kChartDraconic;
  if (Status st = SetGroup(base, draconic ? record.second : record.first,
                           draconic ? std::string_view() : record.town);
      !st.ok())
    return st;
  base.SetName(record.name);
  if (kind == kChartNatal || kind == kChartHorary || draconic) return Status::Ok();
  if (Status st = SetGroup(other, record.second, {}); !st.ok()) return st;
  other.SetName(record.name);
  out.converse = 0;
  switch (kind) {
    case kChartProgressed:
      out.keyKind = kProgressionUserKey;
      out.key = ProgressionKey{1, 1, 7, 1};
      return DeriveCountSource(out);
    case kChartDirected:
      out.keyKind = kDirectionBirthArc;
      return Status::Ok();
    case kChartSynastry:
      out.keyKind = kCompositeSwitch;
      return MakeMidpointSource(out);
    case kChartReturn:
      out.keyKind = 1;
      out.key.arcCount = 0;
      base.moment.AddDays(1.0);
      return CountMomentOfRevolution(ctx, out);
    case kChartLunarPhase:
      out.keyKind = 0;
      base.moment.AddDays(1.0);
      return CountMomentOfLunarPhase(ctx, out);
    default:  // transit
      return Status::Ok();
  }
}
