#include "archive/import/foreign_readers.h"

#include <charconv>
#include <cmath>

#include "archive/import/import_records.h"
#include "archive/store/archive_layout.h"
#include "foundation/datetime/date_text.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr char kDegreeSign = '\xB0';  // '°' in code page 1251
constexpr std::size_t kMilRecordSize = 369;
constexpr std::size_t kSplitColumn = 70;

std::string_view Field(std::string_view line, std::size_t pos, std::size_t length) {
  return pos < line.size() ? line.substr(pos, length) : std::string_view();
}

std::string Cut(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, std::min(n, text.size())));
}

std::string WithoutBlanks(std::string_view text) {
  std::string s(text);
  RemoveAllBlanks(s);
  return s;
}

// Text up to `stop` from `pos`, moving `pos` past the stop; false when there is no stop.
bool TakeUntil(std::string_view line, std::size_t& pos, char stop, std::string_view& out) {
  const std::size_t end = line.find(stop, pos);
  if (end == std::string_view::npos) return false;
  out = line.substr(pos, end - pos);
  pos = end + 1;
  return true;
}

std::vector<std::string_view> SplitBy(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i)
    if (i == line.size() || line[i] == separator) {
      fields.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  return fields;
}

void Append(std::string& records, const BirthRecord& r) {
  BinaryWriter w;
  r.Write(w);
  records += w.Data();
}

void Append(std::string& records, const ImportRecord& r) {
  BinaryWriter w;
  r.Write(w);
  records += w.Data();
}

// A natal import record: title "Natal", kind 0, house system 0, the second group zero.
ImportRecord NatalImportRecord() {
  ImportRecord r;
  r.title = "Natal";
  return r;
}

// A minutes field of ".ddd" whose last character is the hemisphere letter; when it is none of the
// two, the sign of the degrees decides.
void DddCoordinate(std::string_view degreesText, std::string_view minutesText, char positive,
                   char negative, int& degrees, int& minutes, char& letter) {
  const int d = LeadingInt(degreesText);
  degrees = std::abs(d);
  minutes = LeadingInt(minutesText);
  const char last = minutesText.empty() ? '\0' : CharToUpper(minutesText.back());
  letter = last == positive || last == negative ? last : (d < 0 ? negative : positive);
}

bool ReadCatData(std::string_view line, const std::string* nameLine, BirthRecord& r) {
  if (line.size() < 21) return false;
  std::size_t bar = line.find('|', 20);
  if (bar == std::string_view::npos) return false;
  std::string_view text;
  std::size_t pos = bar + 1;
  if (nameLine) {
    r.name = *nameLine;
  } else {
    if (!TakeUntil(line, pos, '|', text)) return false;
    r.name = Cut(text, kRecordNameWidth);
  }
  if (!TakeUntil(line, pos, '|', text)) return false;
  r.town = Cut(text, kRecordTownWidth - 1);
  const std::string_view rest = line.substr(pos);
  if (rest.size() < 22) return false;
  r.day = LeadingInt(Field(line, 1, 2));
  r.month = LeadingInt(Field(line, 4, 2));
  r.year = LeadingInt(Field(line, 7, 4));
  r.hours = LeadingInt(Field(line, 12, 2));
  r.minutes = LeadingInt(Field(line, 15, 2));
  r.seconds = LeadingInt(Field(line, 18, 2));
  r.zoneSign = rest[0];
  r.zoneHours = LeadingInt(rest.substr(1, 2));
  r.zoneMinutes = LeadingInt(rest.substr(3, 2));
  r.zoneSeconds = LeadingInt(rest.substr(5, 2));
  r.place.latDeg = LeadingInt(rest.substr(7, 2));
  r.place.latMin = LeadingInt(rest.substr(9, 2));
  r.place.latLetter = rest[13];
  r.place.lonDeg = LeadingInt(rest.substr(14, 3));
  r.place.lonMin = LeadingInt(rest.substr(17, 2));
  r.place.lonLetter = rest[21];
  r.title = GetMessageText(kMsgKindNameFirst);
  return true;
}

// A coordinate of ".mil" as DD.MMSS, negative to the south or west; the minutes are rounded up
// from 31 seconds on while they stay below 59 and the degrees below `limit`.
void MilCoordinate(double value, int limit, char positive, char negative, RecordPlace& p,
                   bool latitude) {
  int d = 0, m = 0, s = 0;
  SplitSexagesimal(std::fabs(value), d, m, s);
  if (s >= 31 && m < 59 && d < limit) ++m;
  (latitude ? p.latDeg : p.lonDeg) = d;
  (latitude ? p.latMin : p.lonMin) = m;
  (latitude ? p.latLetter : p.lonLetter) = value < 0.0 ? negative : positive;
}

// A text of ".mil": a length byte, then the bytes, never more than `width`.
std::string MilText(std::string_view record, std::size_t offset, std::size_t width) {
  const std::size_t length =
      std::min<std::size_t>(static_cast<unsigned char>(record[offset]), width);
  std::string text(record.substr(offset + 1, length));
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return text;
}

double F64At(std::string_view record, std::size_t offset) {
  BinaryReader in(record.substr(offset, 8));
  return in.F64();
}

// A comment of ".zbs" as the archive keeps texts (line breaks CR LF), at most 32000 bytes; with
// `split` a blank more than 70 characters after the last line break becomes one.
std::string ZbsComment(std::string_view text, bool split) {
  std::string out;
  std::size_t column = 0;
  for (char c : text) {
    if (out.size() >= kCommentMaxLength) break;
    if (c == '\n' || (split && c == ' ' && column > kSplitColumn)) {
      out += "\r\n";
      column = 0;
    } else if (c != '\r') {
      out += c;
      ++column;
    }
  }
  out.resize(std::min<std::size_t>(out.size(), kCommentMaxLength));
  if (!out.empty() && out.back() == '\r') out.pop_back();
  return out;
}

}  // namespace

int LeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  (void)end;
  if (ec != std::errc()) return 0;
  return negative ? -value : value;
}

double LeadingDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc() || !std::isfinite(value)) return 0.0;
  (void)end;
  return negative ? -value : value;
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

void ReadCatFile(std::string_view text, std::string& records) {
  const std::vector<std::string_view> lines = TextLines(text);
  std::string name;
  bool haveName = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty()) continue;
    if (line[0] != '|') {
      name = Cut(line, kRecordNameWidth);
      haveName = true;
      continue;
    }
    BirthRecord r;
    if (ReadCatData(line, haveName ? &name : nullptr, r)) Append(records, r);
    haveName = false;
  }
}

void ReadBdaFile(std::string_view text, std::string& records) {
  for (std::string_view line : TextLines(text)) {
    if (line.size() <= 15) continue;
    const std::vector<std::string_view> f = SplitBy(line, '\x01');
    if (f.size() < 10) continue;
    ImportRecord r = NatalImportRecord();
    r.name = Cut(f[0], kRecordNameWidth);
    r.first.day = LeadingInt(f[1]);
    r.first.month = LeadingInt(f[2]);
    r.first.year = LeadingInt(f[3]);
    r.first.hours = LeadingInt(f[4]);
    r.first.minutes = LeadingInt(f[5]);
    RecordPlace& p = r.first.place;
    SplitDecimalDegrees(LeadingDouble(f[7]), 'N', 'S', p.latDeg, p.latMin, p.latLetter);
    SplitDecimalDegrees(LeadingDouble(f[8]), 'E', 'W', p.lonDeg, p.lonMin, p.lonLetter);
    r.town = Cut(f[9], kRecordTownWidth - 1);
    Append(records, r);
  }
}

void ReadDddFile(std::string_view text, std::string& records) {
  for (std::string_view line : TextLines(text)) {
    if (line.size() <= 15) continue;
    std::size_t pos = 0;
    std::string_view name, day, month, year, hours, minutes, latDeg, latMin, lonDeg, lonMin;
    if (!TakeUntil(line, pos, ' ', name) || !TakeUntil(line, pos, '.', day) ||
        !TakeUntil(line, pos, '.', month) || !TakeUntil(line, pos, '.', year) ||
        !TakeUntil(line, pos, ':', hours) || !TakeUntil(line, pos, '(', minutes) ||
        !TakeUntil(line, pos, '.', latDeg) || !TakeUntil(line, pos, ',', latMin) ||
        !TakeUntil(line, pos, '.', lonDeg) || !TakeUntil(line, pos, ')', lonMin))
      continue;
    if (!minutes.empty()) minutes.remove_suffix(1);  // the character before '('
    ImportRecord r = NatalImportRecord();
    r.name = Cut(name, kRecordNameWidth);
    r.first.day = LeadingInt(day);
    r.first.month = LeadingInt(month);
    r.first.year = LeadingInt(year);
    r.first.hours = LeadingInt(hours);
    r.first.minutes = LeadingInt(minutes);
    RecordPlace& p = r.first.place;
    DddCoordinate(latDeg, latMin, 'N', 'S', p.latDeg, p.latMin, p.latLetter);
    DddCoordinate(lonDeg, lonMin, 'E', 'W', p.lonDeg, p.lonMin, p.lonLetter);
    Append(records, r);
  }
}

void ReadDatFile(std::string_view text, std::string& records) {
  for (std::string_view line : TextLines(text)) {
    if (line.size() <= 20) continue;
    std::size_t pos = line.find('"');
    if (pos == std::string_view::npos) continue;
    ++pos;
    std::string_view name, town, lon;
    if (!TakeUntil(line, pos, '"', name)) continue;
    if (pos < line.size() && line[pos] == ',') ++pos;
    std::string_view f[10];
    bool whole = true;
    for (std::string_view& field : f) whole = whole && TakeUntil(line, pos, ',', field);
    pos = line.find('"', pos);
    if (!whole || pos == std::string_view::npos) continue;
    ++pos;
    if (!TakeUntil(line, pos, '"', town)) continue;
    if (pos < line.size() && line[pos] == ',') ++pos;
    if (!TakeUntil(line, pos, ',', lon)) continue;
    BirthRecord r;
    r.name = Cut(name, kRecordNameWidth - 1);
    r.title = "Natal";
    r.year = LeadingInt(f[0]);
    r.month = LeadingInt(f[1]);
    r.day = LeadingInt(f[2]);
    r.hours = LeadingInt(f[3]);
    r.minutes = LeadingInt(f[4]);
    r.seconds = LeadingInt(f[5]);
    const int zone = LeadingInt(f[9]);
    r.zoneHours = std::abs(zone);
    r.zoneSign = zone < 0 ? '+' : '-';
    r.town = Cut(town, kRecordTownWidth - 1);
    RecordPlace& p = r.place;
    SplitDecimalDegrees(LeadingDouble(WithoutBlanks(lon)), 'W', 'E', p.lonDeg, p.lonMin,
                        p.lonLetter);
    SplitDecimalDegrees(LeadingDouble(WithoutBlanks(line.substr(pos))), 'N', 'S', p.latDeg,
                        p.latMin, p.latLetter);
    Append(records, r);
  }
}

void SplitSexagesimal(double value, int& units, int& minutes, int& seconds) {
  if (!(std::fabs(value) < kLargestSplitValue)) {
    units = kImpossibleUnits, minutes = seconds = 0;
    return;
  }
  // A hair added so that 10.3 (stored as 10.29999...) reads as 10:30:00.
  const long long all = static_cast<long long>(std::floor(std::fabs(value) * 10000.0 + 1e-6));
  units = static_cast<int>(all / 10000);
  minutes = static_cast<int>(all / 100 % 100);
  seconds = static_cast<int>(all % 100);
  if (seconds == 99) {
    seconds = 0;
    if (++minutes == 60) {
      minutes = 0;
      ++units;
    }
  }
}

void ReadMilFile(std::string_view bytes, int houseWord, std::string& records) {
  for (std::size_t at = 0; at + kMilRecordSize <= bytes.size(); at += kMilRecordSize) {
    const std::string_view rec = bytes.substr(at, kMilRecordSize);
    BinaryReader in(rec);
    BirthRecord r;
    r.year = in.I16();
    if (r.year < 1) --r.year;  // astronomers' year 0 is 1 BC
    r.month = in.I16();
    r.day = in.I16();
    SplitSexagesimal(F64At(rec, 6), r.hours, r.minutes, r.seconds);
    const double zone = F64At(rec, 14);
    SplitSexagesimal(zone, r.zoneHours, r.zoneMinutes, r.zoneSeconds);
    r.zoneSign = zone < 0.0 ? '-' : '+';
    r.town = MilText(rec, 22, kRecordTownWidth - 1);
    MilCoordinate(F64At(rec, 101), 90, 'N', 'S', r.place, true);
    MilCoordinate(F64At(rec, 109), 180, 'E', 'W', r.place, false);
    r.name = MilText(rec, 125, kRecordNameWidth);
    r.title = "Natal";
    r.houseWord = houseWord;
    Append(records, r);
  }
}

ZbsResult ReadZbsFile(std::string_view text, bool withComments, bool splitLines,
                      platform::ProgressSink& progress, std::string& records) {
  ZbsResult result;
  const std::vector<std::string_view> lines = TextLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.size() < 20) continue;
    const std::vector<std::string_view> f = SplitBy(line, ';');
    if (f.size() < 8) continue;
    const auto refuse = [&](int message, std::string_view field) {
      result.refusals.push_back({static_cast<int>(i) + 1, message, std::string(field)});
    };
    BirthRecord r;
    r.name = Cut(f[0], kRecordNameWidth - 1);
    r.title = "Natal";
    std::string date = WithoutBlanks(f[1]);
    if (date.size() > 1 && date[1] == '.') date.insert(0, "0");
    if (int m = CheckDateText(date, r.day, r.month, r.year, "DD.MM.YYYY"); m != 0) {
      refuse(m, f[1]);
      continue;
    }
    const std::string time = WithoutBlanks(f[2]);
    if (int m = CheckTimeText(time, r.hours, r.minutes, "HH:MM:SS", kTimeKindTime); m != 0) {
      refuse(m, f[2]);
      continue;
    }
    r.seconds = time.size() >= 2 ? LeadingInt(time.substr(time.size() - 2)) : 0;
    const std::string zone = WithoutBlanks(f[3]);
    if (zone.empty()) {
      refuse(kMsgBadTime, f[3]);
      continue;
    }
    r.zoneSign = zone[0];
    if (int m = CheckTimeText(std::string_view(zone).substr(1), r.zoneHours, r.zoneMinutes, "HH:MM",
                              kTimeKindZone);
        m != 0) {
      refuse(m, f[3]);
      continue;
    }
    r.town = Cut(f[4], kRecordTownWidth - 1);
    std::string lat = WithoutBlanks(f[5]);
    if (lat.empty()) continue;
    r.place.latLetter = lat.back();
    ReplaceChar(lat, kDegreeSign, ':');
    lat = CopyBeforeChar(lat, '\'');
    if (int m = CheckTimeText(lat, r.place.latDeg, r.place.latMin, "HH:MM", kTimeKindLatitude);
        m != 0) {
      refuse(m, f[5]);
      continue;
    }
    const std::string lon = WithoutBlanks(f[6]);
    const std::size_t quote = lon.find('\''), degree = lon.find(kDegreeSign);
    if (quote == std::string::npos || degree == std::string::npos || degree > quote) continue;
    r.place.lonLetter = lon.back();
    r.place.lonDeg = LeadingInt(std::string_view(lon).substr(0, degree));
    r.place.lonMin = LeadingInt(std::string_view(lon).substr(degree + 1, quote - degree - 1));
    Append(records, r);
    if (withComments && f.size() > 8 && f[8].size() > 3)
      result.comments[result.written] = ZbsComment(f[8], splitLines);
    ++result.written;
    if (result.written == 100) progress.Begin();
    if (result.written >= 100) progress.SetPos(result.written / 10 % 100);
  }
  if (result.written >= 100) progress.End();
  return result;
}
