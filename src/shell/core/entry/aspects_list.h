// The data of the aspects list box: the items it owns, their sorted insertion, and the layout of
// its up to 11 columns (glyphs of the two objects, aspect symbol, side, motion, two marks, two
// numbers, date, time). The window that draws it is shell/entry/aspects_list_box.h.
#pragma once

#include <array>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "foundation/datetime/fdate.h"
#include "foundation/datetime/ftime.h"

inline constexpr int kAspectListColumns = 11;

struct AspectListItem {
  short object1 = -1;  // chart point 0..99, 1000 + cusp index 0..11, -1 none
  short object2 = -1;
  short aspect = -1;  // position in the aspect system
  char side = 'L';    // 'L' or 'R'
  char motion = ' ';  // 'I' forming, 'E' separating, other: neither
  char exact = 'N';   // 'E' within the exact orb
  char mark = ' ';    // 'E', 'G' or neither
  double value1 = 0.0;
  double value2 = 0.0;  // the sort key
  FDate date;
  FTime time;
};

class AspectList {
 public:
  // Capacity below 1: nothing. Positions: -1 hides a column, 0 is the first shown place; the
  // shown columns are renumbered 0, 1, 2 ... in the order of their positions (no gaps). Widths
  // in units of the width of "W" in the row font; nullptr takes the defaults (2.5 for columns
  // 0..6, 5.0 for 7 and 10, 4.0 for 8, 9.0 for 9). No column shown: capacity 0. The offsets begin
  // at 1.0 and add each shown column's width in the order of the positions.
  void Init(int capacity, const std::array<int, kAspectListColumns>& positions,
            const AspectSystem* aspects,
            const std::array<double, kAspectListColumns>* widths = nullptr);

  // Appends a copy (mode 0), or inserts it in sorted order: before the first item it compares
  // below; in mode 2 a major aspect comes before every minor one, then by value2; equal items
  // keep their arrival order. At capacity: false, and message 438 the first time since Init.
  bool InsertItem(const AspectListItem& item, int mode);
  bool AddItem(const AspectListItem& item) { return InsertItem(item, 0); }

  int Capacity() const { return capacity_; }
  const std::vector<AspectListItem>& Items() const { return items_; }
  // The column shown at a position, -1 when none.
  int GetNumOfItem(int position) const;
  int Position(int column) const { return positions_[column]; }
  double Offset(int column) const { return offsets_[column]; }
  double Width(int column) const { return widths_[column]; }
  double TotalWidth() const { return totalWidth_; }
  const AspectSystem* Aspects() const { return aspects_; }

 private:
  // -1 when `n` sorts before `e`, 0 when equal, 1 after.
  int Compare(const AspectListItem& n, const AspectListItem& e, int mode) const;
  bool IsMajor(const AspectListItem& item) const;

  int capacity_ = 0;
  std::array<int, kAspectListColumns> positions_{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::array<double, kAspectListColumns> widths_{};
  std::array<double, kAspectListColumns> offsets_{};
  double totalWidth_ = 0.0;
  const AspectSystem* aspects_ = nullptr;
  std::vector<AspectListItem> items_;
  bool fullTold_ = false;  // message 438 shown since Init
};

// The aspects of chart point `point` (0..33) to the other points 0..33 of the chart in the
// system, each pair's orb class from the configuration: object1 the point, object2 the other,
// value1 the separation (0..180), value2 the orb (absolute deviation), exact 'E' within the
// exact orb, motion 'I' forming or 'E' separating by the two speeds.
std::vector<AspectListItem> PointAspects(const Chart& chart, int point, const AspectSystem& system);
