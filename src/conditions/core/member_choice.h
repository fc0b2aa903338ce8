// The choice of members in the chooser "ВЫБОР  ПЛАНЕТ/ДОМОВ": the chart points, houses or signs of
// a mode as a list, the chosen ones as a 'Y'/'N' string with one letter per list entry, and the
// limit on how many may be chosen. Used by the group editor and by the rectification event
// dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MemberChoice {
  enum Mode { kPlanets = 0, kHouses = 1, kSigns = 2 };
  enum Limit { kAtMost10 = 0, kAtMost12 = 1, kNoLimit = 2 };

  // The number of list entries of a mode: the 34 chart points a group can hold (0..33), 12 houses
  // or 12 signs; 0 for an unknown mode.
  static int EntryCount(int mode);
  // The display name of entry i: point names are messages 300 + i, houses 360 + i, signs 160 + i.
  static const std::string& EntryName(int mode, int i);
  // The most entries a limit mode allows (10, 12), or -1 for no limit.
  static int MaxChosen(int limit);
  // 0 when `chosen` entries are allowed by the limit mode, else message 448.
  static int CheckCount(int chosen, int limit);

  // The selection of each list entry from the caller's string ('Y' selects; letters beyond the
  // string are 'N'), and back: one 'Y' or 'N' per entry.
  static std::vector<bool> FromFlags(int mode, std::string_view flags);
  static std::string ToFlags(const std::vector<bool>& selected);

  // The group editor's members: the entries of `flags` that are 'Y', in list order; and the
  // string that selects exactly the members of a group.
  static std::vector<int> ChosenIndices(std::string_view flags);
  static std::string FlagsOf(int mode, const std::vector<int>& members);
};
