// The row layout of a coordinate table: which chart points and house cusps are rows, in which
// order, and the font of the table. The configuration holds one for the screen and one for print.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "foundation/status.h"

class COORD_CONF {
 public:
  static constexpr int kSlotCount = 62;
  static constexpr std::uint8_t kNotInTable = 254;  // a candidate outside the ordered table
  static constexpr std::uint8_t kNeverShown = 255;  // slots 34..49
  // Saved size: the 62 slots, font size and line step; the long form adds fit flag and width.
  static constexpr int kShortSize = kSlotCount + 4 + 4;
  static constexpr int kLongSize = kShortSize + 1 + 2;

  // Slots 0..33 and 50..61 not in the table, 34..49 never shown, numbers 0, short form.
  COORD_CONF();

  // Writes the layout to `file`: error 104 with detail 1 (slots), 2 (font size), 3 (line step),
  // 4 (fit flag) or 5 (width) naming the field whose write failed.
  Status Save(std::FILE* file) const;
  // Reads the layout from `file`, then forces slots 34..49 to 255 and any other slot above 254 to
  // 254; error 103 on a failed read (the object is then left as it was).
  Status Load(std::FILE* file);
  // The same layout from bytes held in memory (a run of an older configuration).
  Status Import(std::string_view bytes);

  // The number of slots below 254: the rows of the table.
  int GetRowCount() const;
  int SavedSize() const { return shortForm ? kShortSize : kLongSize; }

  // The row editor. Rows are numbered 0 .. row count - 1; candidates are the slots of value 254,
  // counted from 0 in slot order.
  // The name of the slot in row `p` (a chart point's or a house's), "" when there is no row p.
  std::string GetRowName(int p) const;
  // The name of slot `s`: messages 300..333 for the points, 360..371 for the cusps.
  static std::string SlotName(int s);
  // byPosition: the slot in row `v`; otherwise the `v`-th candidate. -1 when there is none.
  int FindSlot(bool byPosition, int v) const;
  // The `k`-th candidate becomes the last row; its slot, or -1 when there is no such candidate.
  int ShowSlot(int k);
  // Row `p` leaves the table (its slot becomes a candidate) and the rows below it move up by one;
  // 0, or -1 when there is no row p.
  int HideRow(int p);
  // Rows p and p - 1 (p + 1) exchange their places; false when either row does not exist.
  bool MoveRowUp(int p);
  bool MoveRowDown(int p);
  // The number of candidates among slots 0 .. s - 1.
  int CountExtraBefore(int s) const;

  bool operator==(const COORD_CONF&) const = default;

  // Per row candidate (0..33 chart points, 50..61 the cusps of houses 1..12): its row 0..253,
  // 254 not in the table, 255 never shown.
  std::array<std::uint8_t, kSlotCount> slots{};
  std::int32_t fontSize = 0;     // tenths of a point, as for point fonts
  std::int32_t lineStep = 0;     // extra distance between rows, 0.01 mm
  std::uint8_t fitToWindow = 0;  // screen only: 1 the font follows the window height
  std::int16_t width = 0;        // screen only: the window's width in text columns
  // 1: the fit flag and the width are neither saved nor loaded (the print layout).
  int shortForm = 1;

 private:
  void ForceSlots();
};
