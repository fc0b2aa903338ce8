#include "archive/comments/comment_slots.h"

int CommentSlotTable::GetFreeCommentSlot() {
  for (int slot = 1; slot <= kLastUsableSlot; ++slot) {
    if (marks_[static_cast<std::size_t>(slot - 1)] == 'N') {
      marks_[static_cast<std::size_t>(slot - 1)] = 'Y';
      return slot;
    }
  }
  return -1;
}

void CommentSlotTable::Mark(int slot, bool taken) {
  if (slot < 1 || slot > kSlots) return;
  marks_[static_cast<std::size_t>(slot - 1)] = taken ? 'Y' : 'N';
}

bool CommentSlotTable::IsTaken(int slot) const {
  return slot >= 1 && slot <= kSlots && marks_[static_cast<std::size_t>(slot - 1)] == 'Y';
}
