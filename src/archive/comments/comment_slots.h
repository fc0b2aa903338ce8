// The table of chart-comment slots: each open chart that carries a comment holds one slot, whose
// number names its page files. The application object owns the one table of the program.
#pragma once

#include <array>

class CommentSlotTable {
 public:
  // The table has 256 marks, but a chart keeps its slot in one unsigned byte (0 = none), so only
  // slots 1..255 are ever handed out; mark 256 stays free.
  static constexpr int kSlots = 256;
  static constexpr int kLastUsableSlot = 255;

  CommentSlotTable() { marks_.fill('N'); }

  // Takes the first free slot (marks it 'Y') and returns its number 1..255; -1 when all are taken.
  int GetFreeCommentSlot();
  // Marks slot 1..256 taken ('Y') or free ('N'); other numbers are ignored.
  void Mark(int slot, bool taken);
  void Release(int slot) { Mark(slot, false); }
  bool IsTaken(int slot) const;

 private:
  std::array<char, kSlots> marks_{};
};
