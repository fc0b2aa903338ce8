// One entry of the archive's in-memory index: what the browsers, search, sort, export and printing
// need of a record without reading the file, its selection mark and its comment references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "platform/core/progress_sink.h"

struct ArchiveIndexEntry {
  std::string name;   // the base Source's name, at most 34 bytes (cp1251)
  std::string title;  // at most 29 bytes
  std::uint16_t day = 0, month = 0, year = 0;
  std::uint16_t hours = 0, minutes = 0;
  std::uint16_t zoneHours = 0, zoneMinutes = 0;
  std::uint16_t latDegrees = 0, latMinutes = 0;
  std::uint16_t lonDegrees = 0, lonMinutes = 0;
  char era = 'A';
  char zoneSign = '+';
  char latLetter = 'N';
  char lonLetter = 'E';
  std::string town;  // at most 25 bytes
  char mark = 'N';   // 'Y' selected
  CommentRefBlock comments;

  // Copies every field of `other` into this entry.
  void Assign(const ArchiveIndexEntry& other) { *this = other; }
  // Fills the entry from a chart's base Source and title and a reference block; the mark is 'N'.
  void Fill(const Chart& chart, const CommentRefBlock& block);
  bool IsSelected() const { return mark == 'Y'; }

  friend bool operator==(const ArchiveIndexEntry&, const ArchiveIndexEntry&) = default;
};

// The record numbers of an index in alphabetical order of names: records are grouped by their
// upper-cased initial, each group sorted (stably: equal names keep their order) and the groups put
// in collation order of their initials, records without a name first. The progress goes from 0
// by group; Begin and End are the caller's.
std::vector<int> AlphabeticalOrder(const std::vector<ArchiveIndexEntry>& index,
                                   platform::ProgressSink& progress);
