// Readers of the chart files of six foreign programs. Each turns the whole file into intermediate
// records (import_records.h), appended to `records`: ".cat", ".dat", ".mil" and ".zbs" into birth
// records, ".bda" and ".ddd" into import records. A line that does not hold the fields its format
// needs is skipped; values are written as the file gives them and checked when the records become
// charts. Lines are read whole, whatever their length (CR and LF dropped).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/progress_sink.h"

// Numbers as the foreign programs wrote them: leading blanks skipped, reading stops at the first
// character that is not part of the number, a field without a number reads as 0.
int LeadingInt(std::string_view text);
double LeadingDouble(std::string_view text);

// The lines of a text, CR and LF dropped.
std::vector<std::string_view> TextLines(std::string_view text);

// ".cat": the first line skipped; a name line, then a data line beginning with '|' (or a data line
// alone that carries the name after its time). Title: message 100.
void ReadCatFile(std::string_view text, std::string& records);
// ".bda": fields separated by the byte 1; lines of 1 to 15 characters skipped.
void ReadBdaFile(std::string_view text, std::string& records);
// ".ddd": "Name DD.MM.YYYY.HH:MMx(DD.MML,DDD.MML)"; lines of 1 to 15 characters skipped.
void ReadDddFile(std::string_view text, std::string& records);
// ".dat": "\"Name\",year,month,day,hours,minutes,seconds,-,-,-,zone,\"Town\",west longitude,
// latitude"; lines of 1 to 20 characters skipped.
void ReadDatFile(std::string_view text, std::string& records);
// ".mil": binary records of 369 bytes; `houseWord` goes into every birth record.
void ReadMilFile(std::string_view bytes, int houseWord, std::string& records);

// H.MMSS (time, zone) or D.MMSS (coordinates) as whole units, minutes and seconds; seconds that
// read as 99 (a value a hair below the next minute) become 0 with a carry. A value too large to
// split, or no number, reads as kImpossibleUnits (import_records.h).
void SplitSexagesimal(double value, int& units, int& minutes, int& seconds);

// What the ".zbs" reader made: the birth records, the comment of each record that has one (by
// record number, at most 32000 bytes) and the lines it refused, each with the catalogue message
// that names the fault and the field.
struct ZbsResult {
  struct Refusal {
    int line = 0;  // counted from 1
    int message = 0;
    std::string field;
  };
  int written = 0;
  std::map<int, std::string> comments;
  std::vector<Refusal> refusals;
};

// ".zbs": fields separated by ';' (name; DD.MM.YYYY; HH:MM:SS; ±HH:MM; town; latitude;
// longitude; -; comment); lines shorter than 20 characters skipped, and lines with fewer fields
// skipped silently. Comments are kept only with `withComments`; with `splitLines` a blank more
// than 70 characters after the last line break becomes one. From the 100th record on the progress
// sink is begun and shows (records / 10) mod 100; it is ended with the file.
ZbsResult ReadZbsFile(std::string_view text, bool withComments, bool splitLines,
                      platform::ProgressSink& progress, std::string& records);
