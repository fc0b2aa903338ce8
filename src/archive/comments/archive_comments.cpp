// The comment texts of a layout-4400 archive: comment file k holds the page-k texts of the
// records one after another; each record's reference block (kept in the index) says where its
// texts lie. A stored text changes its comment file and the blocks of the archive in one
// transaction.
#include "archive/comments/archive_comments.h"

#include <algorithm>
#include <system_error>

#include "archive/comments/chart_comments.h"
#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/file_transaction.h"
#include "archive/store/list_lock.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/codepage.h"

namespace fs = std::filesystem;
using namespace archive_detail;

int ArchiveComments::LoadComment(int n, int k, std::string& text) const {
  text.clear();
  const ListLock lock(index_, LockMode::kShared);
  return ReadComment(n, k, text, lock);
}

int ArchiveComments::ReadComment(int n, int k, std::string& text, const ListLock& lock) const {
  text.clear();
  if (!lock.Ok() || lock.Path() != index_.GetPath()) return -1;
  if (n < 0 || n >= index_.RecordCount() || k < 0 || k >= kCommentPages) return -1;
  const CommentRefBlock& refs = index_.Entry(n).comments;
  if (!refs.HasText(k)) return -1;
  std::FILE* f = index_.OpenUnder(lock, k);
  if (!f) {
    ReportError(kErrCannotOpen, "Archive::LoadComment", 0);
    return -1;
  }
  const std::size_t i = static_cast<std::size_t>(k);
  // A text longer than the comment buffer (from another writer) is handed out cut to its size.
  const std::size_t length = std::min<std::size_t>(refs.lengths[i], kCommentMaxLength);
  const bool read = SeekTo(f, refs.offsets[i]) && ReadExactly(f, length, text);
  std::fclose(f);
  if (!read) {
    text.clear();
    ReportError(kErrRead, "Archive::LoadComment", 0);
    return -1;
  }
  return 0;
}

void ArchiveComments::SetCommentText(std::string_view text) {
  commentBuffer_.assign(text.substr(0, kCommentMaxLength));
  const std::size_t nul = commentBuffer_.find('\0');
  if (nul != std::string::npos) commentBuffer_.resize(nul);
}

int ArchiveComments::IsCommentUnchanged(std::string_view text) const {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  return text.substr(0, kCommentMaxLength) == commentBuffer_ ? 1 : 0;
}

void ArchiveComments::ShiftCommentOffsets(int k, std::uint32_t offset, std::uint32_t length) {
  const std::size_t i = static_cast<std::size_t>(k);
  for (ArchiveIndexEntry& e : index_.Entries())
    if (e.comments.HasText(k) && e.comments.offsets[i] >= offset) e.comments.offsets[i] -= length;
}

int ArchiveComments::RewriteBlocks(FileTransaction& tx, const char* trace) {
  ArchiveRewrite rewrite(index_.GetPath(), tx, trace);
  if (!rewrite.Ok()) return -1;
  std::vector<CommentRefBlock> blocks;
  blocks.reserve(index_.Entries().size());
  for (const ArchiveIndexEntry& e : index_.Entries()) blocks.push_back(e.comments);
  if (Status st = archive_file::WriteWithBlocks(rewrite.In(), blocks, nullptr, rewrite.Out());
      !st.ok()) {
    ReportError(st.ErrorCode(), trace, st.ErrorCode() == kErrRead ? 1 : 2);
    return -1;
  }
  return 0;
}

int ArchiveComments::SaveComment(int n, int k) {
  std::vector<ArchiveIndexEntry>& index = index_.Entries();
  const char* trace = "Archive::SaveComment";
  if (n < 0 || n >= index_.RecordCount() || k < 0 || k >= kCommentPages ||
      index_.LayoutCode() != kLayout4400)
    return -1;
  const ArchiveLock lock(index_.GetPath());
  if (!lock.Held() || index_.RefuseIfDamaged() || !index_.IndexMatchesFile(trace)) return -1;
  const std::size_t i = static_cast<std::size_t>(k);
  CommentRefBlock& refs = index_.Entry(n).comments;
  const bool before = refs.HasText(k);
  const std::uint32_t offset = refs.offsets[i];
  const std::uint32_t oldLength = before ? refs.lengths[i] : 0;
  const std::string& text = commentBuffer_;
  const fs::path file = ArchiveCommentFileName(index_.GetPath(), k);

  std::vector<CommentRefBlock> saved;
  saved.reserve(index.size());
  for (const ArchiveIndexEntry& e : index) saved.push_back(e.comments);

  FileTransaction tx;
  if (before || !text.empty()) {
    std::string content;
    bool exists = false;
    if (!ReadFileIfExists(file, content, exists)) {
      ReportError(kErrRead, trace, 1);
      return -1;
    }
    if (before && !exists) {
      ShowMessage(
          kMsgCommentFileLost,
          GetMessageText(kMsgCommentFileLost) + " " + platform::Utf8ToCp1251(file.native()) + " !",
          platform::Icon::Information);
      return -1;
    }
    if (before && static_cast<std::uint64_t>(offset) + oldLength > content.size()) {
      ReportError(kErrFormat, trace, 3);
      return -1;
    }
    if (!before) {  // appended
      refs.offsets[i] = static_cast<std::uint32_t>(content.size());
      refs.lengths[i] = static_cast<std::uint16_t>(text.size());
      content += text;
    } else if (!text.empty()) {  // replaced in place; later texts move by the change of length
      content.replace(offset, oldLength, text);
      const std::int64_t delta = static_cast<std::int64_t>(text.size()) - oldLength;
      for (ArchiveIndexEntry& e : index)
        if (e.comments.HasText(k) && e.comments.offsets[i] > offset)
          e.comments.offsets[i] = static_cast<std::uint32_t>(e.comments.offsets[i] + delta);
      refs.lengths[i] = static_cast<std::uint16_t>(text.size());
    } else {  // cut out
      content.erase(offset, oldLength);
      ShiftCommentOffsets(k, offset, oldLength);
      refs.offsets[i] = 0;
      refs.lengths[i] = kNoComment;
    }
    if (content.empty())
      tx.Remove(file);
    else
      tx.Rewrite(file).Write(content);
  }
  if (RewriteBlocks(tx, "Archive::WriteUpdatedComments") != 0) {
    for (std::size_t j = 0; j < index.size(); ++j) index[j].comments = saved[j];
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    for (std::size_t j = 0; j < index.size(); ++j) index[j].comments = saved[j];
    ReportError(st.ErrorCode(), trace, 2);
    return -1;
  }
  index_.RefreshFileTime();
  return 0;
}

int ArchiveComments::DeleteSelectedComments(FileTransaction& tx) {
  std::vector<ArchiveIndexEntry>& index = index_.Entries();
  const char* trace = "Archive::DeleteSelectedComments";
  for (int k = 0; k < kCommentPages; ++k) {
    const std::size_t i = static_cast<std::size_t>(k);
    const fs::path file = ArchiveCommentFileName(index_.GetPath(), k);
    std::string content;
    bool exists = false;
    if (!ReadFileIfExists(file, content, exists)) {
      ReportError(kErrRead, trace, 1);
      return -1;
    }
    if (!exists) continue;
    // The ranges cut out, by offset.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cuts;
    for (const ArchiveIndexEntry& e : index)
      if (e.IsSelected() && e.comments.HasText(k))
        cuts.emplace_back(e.comments.offsets[i], e.comments.lengths[i]);
    if (cuts.empty()) continue;
    std::sort(cuts.begin(), cuts.end());
    std::string kept;
    kept.reserve(content.size());
    std::size_t from = 0;
    for (const auto& [offset, length] : cuts) {
      if (offset < from || offset + static_cast<std::size_t>(length) > content.size()) {
        ReportError(kErrFormat, trace, 2);
        return -1;
      }
      kept.append(content, from, offset - from);
      from = offset + static_cast<std::size_t>(length);
    }
    kept.append(content, from, std::string::npos);
    // Every remaining text moves down by the lengths cut out before it.
    for (ArchiveIndexEntry& e : index) {
      if (!e.comments.HasText(k)) continue;
      if (e.IsSelected()) {
        e.comments.offsets[i] = 0;
        e.comments.lengths[i] = kNoComment;
        continue;
      }
      std::uint32_t shift = 0;
      for (const auto& [offset, length] : cuts)
        if (offset < e.comments.offsets[i]) shift += length;
      e.comments.offsets[i] -= shift;
    }
    if (kept.empty())
      tx.Remove(file);
    else
      tx.Rewrite(file).Write(kept);
  }
  return 0;
}

ArchiveComments::RecordTexts ArchiveComments::ReadRecordTexts(const CommentRefBlock& block,
                                                              const ListLock& lock) const {
  RecordTexts texts;
  if (!block.HasAnyText() || !lock.Ok() || lock.Path() != index_.GetPath()) return texts;
  for (int k = 0; k < kCommentPages; ++k) {
    if (!block.HasText(k)) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    std::FILE* f = index_.OpenUnder(lock, k);
    if (!f) {
      ReportError(kErrCannotOpen, "Archive::CopyComment2File", 0);
      continue;
    }
    std::string text;
    const std::size_t length = std::min<std::size_t>(block.lengths[i], kCommentMaxLength);
    const bool read = SeekTo(f, block.offsets[i]) && ReadExactly(f, length, text);
    std::fclose(f);
    if (!read) {
      ReportError(kErrRead, "Archive::CopyComment2File", 0);
      continue;
    }
    texts[i] = std::move(text);
  }
  return texts;
}

int ArchiveComments::CopyCommentsToChart(const RecordTexts& texts, Chart& chart) {
  chart.commentSlot = 0;
  bool any = false;
  for (const auto& text : texts) any = any || text.has_value();
  if (!any) return 0;
  // A slot whose page files a session left behind is passed over: those pages stay untouched.
  const int slot = TakeUnusedCommentSlot(*slots_);
  if (slot < 0) {  // every slot is taken: the chart opens without its comment
    ShowMessage(kMsgTooManyCommentCharts, platform::Icon::Information);
    return -1;
  }
  chart.commentSlot = static_cast<std::uint8_t>(slot);
  // The pages are written together: a failure leaves every page file of the slot as it was.
  FileTransaction tx;
  for (int k = 0; k < kCommentPages; ++k)
    if (const auto& text = texts[static_cast<std::size_t>(k)])
      tx.Rewrite(CommentFileName(chart, k)).Write(*text);
  if (Status st = tx.Commit(); !st.ok()) {  // nothing arrived: the slot goes back
    ReportError(st.ErrorCode(), "VelmDoc::CopyComment2File", 0);
    slots_->Release(slot);
    chart.commentSlot = 0;
    return -1;
  }
  return 0;
}

bool ArchiveComments::AddChartComments(const Chart& chart, const fs::path& archive,
                                       FileTransaction& tx, CommentRefBlock& block,
                                       const char* trace, bool replace) {
  block.Clear();
  if (chart.commentSlot < 1) return true;
  index_.Progress().Begin();
  bool ok = true;
  for (int k = 0; k < kCommentPages && ok; ++k) {
    index_.Progress().SetPos(10 * k);
    fs::path page;
    if (!GetCommentFilePath(chart, k, &page)) continue;
    std::string text;
    if (Status st = ReadWholeFile(page, text); !st.ok()) {
      ReportError(st.ErrorCode(), trace, 1);
      ok = false;
      break;
    }
    if (text.size() > static_cast<std::size_t>(kCommentMaxLength)) text.resize(kCommentMaxLength);
    if (text.empty()) continue;
    const fs::path file = ArchiveCommentFileName(archive, k);
    const bool fresh = !tx.Rewrites(file);
    SafeRewrite& out = tx.Rewrite(file);
    std::string old;
    bool exists = false;
    if (fresh && !replace && !ReadFileIfExists(file, old, exists)) {
      ReportError(kErrRead, trace, 2);
      ok = false;
      break;
    }
    if (fresh) out.Write(old);
    block.offsets[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(old.size());
    block.lengths[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(text.size());
    if (!out.Write(text)) {
      ReportError(out.TempPath().empty() ? kErrCannotCreate : kErrWrite, trace, 1);
      ok = false;
    }
  }
  index_.Progress().End();
  return ok;
}

void ArchiveComments::CopyTextsTo(const CommentRefBlock& source, const fs::path& target,
                                  bool targetExisted, FileTransaction& tx, CommentRefBlock& block,
                                  const ListLock& lock) {
  block.Clear();
  if (!lock.Ok() || lock.Path() != index_.GetPath()) return;
  for (int k = 0; k < kCommentPages; ++k) {
    if (!source.HasText(k)) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    std::string text;
    std::FILE* f = index_.OpenUnder(lock, k);
    const std::size_t length = std::min<std::size_t>(source.lengths[i], kCommentMaxLength);
    const bool read = f && SeekTo(f, source.offsets[i]) && ReadExactly(f, length, text);
    if (f) std::fclose(f);
    if (!read) {
      ShowMessage(kMsgCommentNotLoaded, platform::Icon::Information);
      continue;
    }
    const fs::path file = ArchiveCommentFileName(target, k);
    const bool fresh = !tx.Rewrites(file);
    SafeRewrite& out = tx.Rewrite(file);
    std::string old;
    bool exists = false;
    if (fresh && targetExisted && !ReadFileIfExists(file, old, exists)) {
      ReportError(kErrRead, "Archive::CopyToArchive", 2);
      ShowMessage(kMsgCommentNotSaved, platform::Icon::Information);
      continue;
    }
    if (fresh) out.Write(old);
    const std::int64_t offset = out.Ok() ? static_cast<std::int64_t>(std::ftell(out.Handle())) : -1;
    if (offset < 0 || !out.Write(text)) {
      ReportError(out.TempPath().empty() ? kErrCannotCreate : kErrWrite, "Archive::CopyToArchive",
                  2);
      ShowMessage(kMsgCommentNotSaved, platform::Icon::Information);
      return;
    }
    block.offsets[i] = static_cast<std::uint32_t>(offset);
    block.lengths[i] = static_cast<std::uint16_t>(text.size());
  }
}
