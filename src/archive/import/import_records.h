// The two intermediate records of a foreign-file import, little-endian, every number a signed
// 16-bit word: the birth record of 124 bytes (one natal chart with its zone) and the import record
// of 136 bytes (two date/time/place groups and a kind code, as the sibling converter writes them).
// Readers fill them from the foreign files; FromSkyRecord and FromImportRecord turn them into chart
// definitions, checking every field (a value no chart can have refuses the record).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/datetime/super_source.h"
#include "foundation/files/binary_io.h"
#include "foundation/status.h"

class ChartContext;

inline constexpr std::size_t kBirthRecordSize = 124;
inline constexpr std::size_t kImportRecordSize = 136;
inline constexpr std::size_t kRecordNameWidth = 34;   // not terminated when it is full
inline constexpr std::size_t kRecordTitleWidth = 28;  // NUL-terminated
inline constexpr std::size_t kRecordTownWidth = 26;   // NUL-terminated

// One date, time and place group; letters are 'N'/'S' and 'E'/'W'.
struct RecordPlace {
  int latDeg = 0, latMin = 0;
  char latLetter = 'N';
  int lonDeg = 0, lonMin = 0;
  char lonLetter = 'E';
};

struct BirthRecord {
  std::string name;  // code page 1251
  std::string title;
  int day = 0, month = 0, year = 0;  // a negative year is before Christ
  int hours = 0, minutes = 0, seconds = 0;
  std::string town;
  RecordPlace place;
  int zoneHours = 0, zoneMinutes = 0, zoneSeconds = 0;
  char zoneSign = '+';
  int houseWord = 0;  // the word at offset 122 (the house system of a ".mil" record)

  void Write(BinaryWriter& out) const;
  // Reads 124 bytes; check in.Ok().
  static BirthRecord Read(BinaryReader& in);
};

struct ImportRecord {
  struct Group {
    int day = 0, month = 0, year = 0;
    int hours = 0, minutes = 0;
    RecordPlace place;
  };
  std::string name;  // code page 866
  std::string title;
  Group first;
  std::string town;  // of the first group
  Group second;
  int kind = 0;         // kind code 0..28
  int houseSystem = 0;  // as the foreign program stored it

  void Write(BinaryWriter& out) const;
  static ImportRecord Read(BinaryReader& in);
};

// The chart kind of an import record's kind code; -1 for a code that makes no chart (9, 24, or a
// code outside 0..28).
int ImportKindOf(int code);
// True for a title that names a harmonic chart ("гармоническая", the same with a Latin 'p', or
// "harmonic"; code page 1251).
bool IsHarmonicTitle(std::string_view title);

// A number of a foreign file too large to be split into its units (or no number at all, as a
// binary file may hold) reads as kImpossibleUnits with no minutes or seconds: no field of a chart
// takes that many hours or degrees, so its record is refused when it becomes a chart.
inline constexpr double kLargestSplitValue = 1e6;
inline constexpr int kImpossibleUnits = 999999;

// Signed decimal degrees as degrees, minutes (the fraction times 60, truncated) and the letter of
// the sign: `negative` ('S' or 'W') below zero, else `positive`.
void SplitDecimalDegrees(double value, char positive, char negative, int& degrees, int& minutes,
                         char& letter);

// The natal definition of a birth record (its texts code page 1251): name, title, date, time with
// seconds, town, coordinates and zone. A field no chart can have leaves `out` undefined and gives
// the catalogue message that names it (656, 657, 659, 775, 776, 777, 778).
Status FromSkyRecord(const BirthRecord& record, SuperSource& out);
// The definition of an import record (its texts already code page 1251) by its kind code. The
// record has no zone: each group's clock is the local mean time of its place. The moments of
// returns and lunar phases are searched in `ctx`. A refused kind, a harmonic title or a field no
// chart can have gives an error status.
Status FromImportRecord(const ChartContext& ctx, const ImportRecord& record, SuperSource& out);
