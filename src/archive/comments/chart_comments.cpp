#include "archive/comments/chart_comments.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "archive/store/archive_layout.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

fs::path CommentFileName(int slot, int page) {
  char name[32];
  std::snprintf(name, sizeof name, "Velm%03d%1d.txt", slot, page);
  return fs::path(GetSettings().GetPath(name));
}

fs::path CommentFileName(const Chart& chart, int page) {
  return CommentFileName(chart.commentSlot, page);
}

int GetCommentFilePath(const Chart& chart, int page, fs::path* path) {
  if (chart.commentSlot < 1 || page < 0 || page >= kCommentPages) return 0;
  const fs::path file = CommentFileName(chart, page);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return 0;
  if (path) *path = file;
  return 1;
}

int HasCommentPages(const Chart& chart) {
  for (int k = 0; k < kCommentPages; ++k)
    if (GetCommentFilePath(chart, k)) return 1;
  return 0;
}

void DeleteCommentFiles(const Chart& chart) {
  if (chart.commentSlot < 1) return;
  for (int k = 0; k < kCommentPages; ++k) {
    std::error_code ec;
    fs::remove(CommentFileName(chart, k), ec);
  }
}

void CheckCommentFiles(Chart& chart, CommentSlotTable& slots) {
  if (chart.commentSlot < 1) return;
  if (HasCommentPages(chart)) {
    slots.Mark(chart.commentSlot, true);
    return;
  }
  const SuperSource& d = chart.definition;
  const Source& s = d.GetBaseSource() ? *d.GetBaseSource() : d.sources[0];
  const std::string text =
      GetMessageText(kMsgCommentFileMissing) + "\n" + s.Name() + " - " + d.Title();
  platform::GetPrompter().ShowMessage(kMsgCommentFileMissing, text, platform::Icon::Warning);
  chart.commentSlot = 0;
}

int TakeUnusedCommentSlot(CommentSlotTable& slots) {
  std::vector<int> passed;
  int taken = -1;
  for (int slot = slots.GetFreeCommentSlot(); slot > 0; slot = slots.GetFreeCommentSlot()) {
    bool leftOver = false;
    for (int k = 0; k < kCommentPages && !leftOver; ++k) {
      std::error_code ec;
      leftOver = fs::exists(CommentFileName(slot, k), ec);
    }
    if (!leftOver) {
      taken = slot;
      break;
    }
    passed.push_back(slot);
  }
  for (int slot : passed) slots.Release(slot);
  return taken;
}
