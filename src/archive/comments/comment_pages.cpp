#include "archive/comments/comment_pages.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "archive/comments/chart_comments.h"
#include "archive/store/archive_layout.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"

namespace fs = std::filesystem;

std::string PageTextFromFile(std::string_view file) {
  file = file.substr(0, std::min(file.find('\0'), file.size()));
  std::string text;
  text.reserve(file.size());
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] != '\r') {
      text += file[i];
    } else {
      text += '\n';
      if (i + 1 < file.size() && file[i + 1] == '\n') ++i;
    }
  }
  return text;
}

std::string PageTextToFile(std::string_view text) {
  std::string file;
  file.reserve(PageFileBytes(text));
  for (char c : text) {
    if (c == '\n') file += '\r';
    file += c;
  }
  return file;
}

std::size_t PageFileBytes(std::string_view text) {
  return text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

void CommentPages::SetCurrentPage(int page) {
  page_ = page >= 0 && page < kCommentPages ? page : 0;
}

Status CommentPages::Fill(Chart& chart, std::string& text) {
  text.clear();
  if (chart.commentSlot < 1) {
    const int slot = TakeUnusedCommentSlot(slots_);
    pageSaved_ = false;
    if (slot < 1) return Status::Message(kMsgTooManyCommentCharts);
    chart.commentSlot = static_cast<std::uint8_t>(slot);
    return Status::Ok();
  }
  pageSaved_ = true;
  const fs::path file = CommentFileName(chart, page_);
  std::error_code ec;
  if (!fs::exists(file, ec)) return Status::Ok();
  std::FILE* f = OpenForReading(file);
  if (f == nullptr) return Status::Error(kErrCannotOpen, file.string());
  text.resize(static_cast<std::size_t>(kCommentMaxLength));
  const std::size_t got = std::fread(text.data(), 1, text.size(), f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    text.clear();
    return Status::Error(kErrRead, file.string());
  }
  text.resize(got);
  return Status::Ok();
}

Status CommentPages::Save(Chart& chart, std::string_view text) {
  text = text.substr(0, std::min<std::size_t>(text.size(), kCommentMaxLength));
  if (chart.commentSlot < 1) {
    // The slot was given up while the text stayed shown: a text typed since takes a new one.
    if (text.empty()) return Status::Ok();
    const int slot = TakeUnusedCommentSlot(slots_);
    if (slot < 1) return Status::Message(kMsgTooManyCommentCharts);
    chart.commentSlot = static_cast<std::uint8_t>(slot);
    pageSaved_ = false;
  }
  const fs::path file = CommentFileName(chart, page_);
  if (text.empty()) {
    if (!pageSaved_) {
      ReleaseSlot(chart);
      return Status::Ok();
    }
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) return Status::Error(kErrWrite, file.string());
    if (!HasCommentPages(chart)) ReleaseSlot(chart);
    return Status::Ok();
  }
  if (Status written = RewriteFile(file, text); !written.ok()) return written;
  pageSaved_ = true;
  return Status::Ok();
}

void CommentPages::Discard(Chart& chart) {
  if (!pageSaved_ && chart.commentSlot >= 1) ReleaseSlot(chart);
}

int CommentPages::PageState(const Chart& chart, int page) const {
  if (page == page_) return 2;
  return GetCommentFilePath(chart, page) ? 1 : 0;
}

void CommentPages::ReleaseSlot(Chart& chart) {
  slots_.Release(chart.commentSlot);
  chart.commentSlot = 0;
}
