// The model of the possible-moments dialog shown between the two passes of the Tremin search:
// one row per possible interval (the local time of its first and last moment and its
// possibility, coloured by the possibility) and the minimum possibility the second pass uses.
#pragma once

#include <string>
#include <vector>

#include "rectification/core/tremin_search.h"

namespace platform {
class Dc;
struct Rect;
}  // namespace platform

inline constexpr int kTmPossibleMomentsDialogId = 261;
inline constexpr int kTmMinPossibilityLow = 0;
inline constexpr int kTmMinPossibilityHigh = 100;
// Palette number of a selected row's fill.
inline constexpr int kTmSelectedFill = 16;

// The palette number of a possibility: 100 -> 4; 98, 99 -> 5; 95..97 -> 1; 90..94 -> 3;
// 85..89 -> 2; below 85 -> 8.
int TmPossibilityColour(int possibility);
// "HH:MM:SS" of a moment's time of day.
std::string TmTimeOfDayText(const Moment& moment);

struct TmIntervalRow {
  std::string first;        // local time of day of the first moment
  std::string last;         // of the last moment
  std::string possibility;  // "%d"
  int colour = 0;           // palette number of the text
  friend bool operator==(const TmIntervalRow&, const TmIntervalRow&) = default;
};

class TmPossibleMomentsPage {
 public:
  // The rows of the search's intervals; the minimum possibility of its settings.
  explicit TmPossibleMomentsPage(const TmSearch& search);

  const std::vector<TmIntervalRow>& Rows() const { return rows_; }
  int MinimumPossibility() const { return minimum_; }
  // False (nothing changes) outside 0..100.
  bool SetMinimumPossibility(int value);

 private:
  std::vector<TmIntervalRow> rows_;
  int minimum_ = 0;
};

// Draws one row in the rectangle of its item (MM_TEXT): the fill (palette 16 when selected, else
// `background`) and, transparent, the first time at the left edge, "-" 50 units further, the last
// time at 60 and the possibility at 120; the units grow with the font when "00:00:00" is wider
// than 46 of them, so that the columns never overlap.
void DrawTmIntervalRow(platform::Dc& dc, const platform::Rect& item, const TmIntervalRow& row,
                       bool selected, platform::Color background);
