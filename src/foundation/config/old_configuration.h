// The configuration file "VELM.CFG" of an older version (4.1 to 5.1): how it is recognised, and
// the sections that Configuration::Import takes over from it. The file is recognised by its length
// and, in the 52000-byte layout, by the 16-bit version number in its first two bytes; the result
// is a version code 0..6 that says which sections the file carries and at which offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace oldcfg {

inline constexpr std::int64_t kLength41 = 39292;      // version 4.1: version code 0
inline constexpr std::int64_t kLength42to51 = 52000;  // versions 41..51: codes 1..6
inline constexpr std::int64_t kLengthDos = 6200;      // the DOS versions 3.3-3.5
inline constexpr std::int64_t kLength40 = 36670;      // version 4.0

// One flag per check box of the import dialog, 1334..1371, indexed by the box's number - 1334
// (index 9, number 1343, is the path shown and no section).
inline constexpr int kFirstSectionCheck = 1334;
inline constexpr int kSectionCount = 38;
using SectionFlags = std::array<std::int32_t, kSectionCount>;

enum Section {
  kPlanets = 0,  // 1334
  kWheel,
  kAspectTable,
  kAspectFilter,
  kStarAspects,
  kCalculation,
  kColours,
  kPrint,
  kWheelConstants,   // 1342
  kNoSection,        // 1343: the path
  kCorrespondences,  // 1344
  kSabian,
  kBindhu,
  kLunarTransits,
  kAstroCart,
  kTownList,
  kRectification,
  kGraphicEphemeris,
  kLifePoint,
  kArabicParts,
  kRulers,
  kThematicCharts,
  kStatistics,
  kTremin,
  kComments,
  kParans,
  kQuery,
  kTransits,
  kArchivePrint,
  kMidpointPrint,
  kSort,
  kAspectGraph,
  kLineTypes,
  kInterpreter,
  kTreminForecast,
  kDynamicArchive,
  kSynastry,
  kTipOfTheDay,  // 1371
};

// The first version code whose files carry the section; -1 for index 9.
int FirstCodeOf(int section);
// True when a file of `versionCode` carries the section and the program has a place for it: the
// sections of later codes, but not the astrocartography of versions 41-42, whose only part is two
// map records of no known layout (docs/decisions.md). The tip of the day goes to the profile, not
// to the configuration (`TipOfTheDay`).
bool SectionAvailable(int section, int versionCode);

// The tip-of-the-day section of version 51 (three values from 5494): whether the tip is shown at
// start (the first value, non-zero on) and the number of the next tip (the second). The third
// value has no setting here.
struct TipOfTheDay {
  static constexpr std::size_t kOffset = 5494;
  bool showAtStart = true;
  int nextTip = 0;
};

// The result of recognising a chosen file: a version code 0..6, or the message that refuses it.
struct Recognition {
  int versionCode = -1;
  int message = 0;
  bool ok() const { return versionCode >= 0; }
};
// `length` the file's length, `version` the u16 of its first two bytes (read only for the
// 52000-byte layout), `ownFile` whether it is the running program's own configuration file.
Recognition RecogniseOldConfiguration(std::int64_t length, std::uint16_t version, bool ownFile);
// The length of the files of a version code.
std::int64_t LengthOfCode(int versionCode);

}  // namespace oldcfg
