// Operations on the records marked 'Y': delete, move one up or down, copy or move into another
// archive, and the alphabetical order of the whole archive.
#include <algorithm>
#include <numeric>
#include <system_error>

#include "archive/store/archive.h"
#include "archive/store/archive_internal.h"
#include "archive/store/file_transaction.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

// The numbers of the records not marked, in order.
std::vector<int> UnmarkedRecords(const std::vector<ArchiveIndexEntry>& index) {
  std::vector<int> kept;
  for (std::size_t n = 0; n < index.size(); ++n)
    if (!index[n].IsSelected()) kept.push_back(static_cast<int>(n));
  return kept;
}

}  // namespace

bool Archive::IndexMatchesFile(const char* trace) const {
  // A damaged file's index lists the records that loaded, which may be fewer than the file holds.
  const std::int64_t records = InspectArchiveFile(path_).records;
  if (indexBuilt_ && (records == count_ || (damaged_ && records > count_)) &&
      static_cast<int>(index_.size()) == count_)
    return true;
  ReportError(kErrFormat, trace, 2);
  return false;
}

int Archive::CopyWholeArchive(std::string target) {
  const char* trace = "Archive::CopyWholeArchive";
  if (!HasFileExtension(target)) target += ".arc";
  if (!HasArchiveExtension(target)) {
    ShowMessage(kMsgOnlyArcExtension, platform::Icon::Information);
    return -1;
  }
  // The source read while it is replaced would be lost: neither the archive nor one of its
  // comment files (a name differing in the last character only) may be a target.
  if (SharesArchiveFiles(target, path_)) {
    ReportError(kErrParameter, trace, 1);
    return -1;
  }
  std::error_code ec;
  if (fs::exists(target, ec) && !AskYesNo(kMsgReplaceFile)) return -1;
  FileTransaction tx;
  bool ok = true;
  auto copy = [&](const fs::path& from, const fs::path& to) {
    std::FILE* f = OpenForReading(from);
    ok = f && tx.Rewrite(to).CopyFrom(f);
    if (f) std::fclose(f);
  };
  copy(path_, target);
  // The target's comment files are the source's; stale ones of an earlier archive are dropped.
  for (int k = 0; k < kCommentPages && ok; ++k) {
    if (layout_ == kLayout4400 && CommentFileExists(k))
      copy(ArchiveCommentFileName(path_, k), ArchiveCommentFileName(target, k));
    else
      tx.Remove(ArchiveCommentFileName(target, k));
  }
  if (!ok || !tx.Commit().ok()) {
    ShowMessage(kMsgCopyFailed, platform::Icon::Information);
    return -1;
  }
  ShowMessage(kMsgArchiveCopied, platform::Icon::Information);
  return 0;
}

int Archive::DeleteArchiveFiles() {
  FileTransaction tx;
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(path_, k));
  tx.Remove(path_);
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), "Archive::DeleteArchiveFiles", 0);
    return -1;
  }
  FreeIndex();
  layout_ = kCannotOpen;
  damaged_ = false;
  RefreshFileTime();
  return 0;
}

int Archive::Delete(bool confirm) {
  const char* trace = "Archive::Delete";
  int marked = 0, first = -1;
  for (int n = 0; n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (first < 0) first = n;
    ++marked;
  }
  if (marked == 0) return 0;
  if (confirm) {
    const bool yes =
        marked == 1
            ? AskYesNo(kMsgDeleteChart, GetMessageText(kMsgDeleteChart) + "\n\"" +
                                            Entry(first).name + ",  " + Entry(first).title + "\" ?")
            : AskYesNo(kMsgDeleteCharts);
    if (!yes) return -1;
  }
  if (RefuseIfDamaged() || !IndexMatchesFile(trace)) return -1;
  if (marked == count_) return DeleteArchiveFiles();

  std::vector<CommentRefBlock> saved;
  saved.reserve(index_.size());
  for (const ArchiveIndexEntry& e : index_) saved.push_back(e.comments);
  auto fail = [&] {
    for (std::size_t i = 0; i < index_.size(); ++i) index_[i].comments = saved[i];
    return -1;
  };
  FileTransaction tx;
  bool textsMoved = false;
  if (layout_ == kLayout4400) {
    for (int n = 0; n < count_ && !textsMoved; ++n)
      textsMoved = Entry(n).IsSelected() && HasComments(n);
    if (textsMoved && DeleteSelectedComments(tx) != 0) return fail();
  }
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return fail();
  // The kept records as they stand; with texts cut out, the 4400 blocks come from the index.
  Status st;
  if (textsMoved) {
    std::vector<CommentRefBlock> blocks;
    std::vector<bool> drop;
    for (const ArchiveIndexEntry& e : index_) {
      blocks.push_back(e.comments);
      drop.push_back(e.IsSelected());
    }
    st = archive_file::WriteWithBlocks(rewrite.In(), blocks, &drop, rewrite.Out());
  } else {
    st = archive_file::WriteRecordsInOrder(rewrite.In(), layout_, UnmarkedRecords(index_),
                                           rewrite.Out());
  }
  if (FinishRewrite(st.ok(), tx, trace, 1, 2) != 0) return fail();
  std::erase_if(index_, [](const ArchiveIndexEntry& e) { return e.IsSelected(); });
  count_ = static_cast<int>(index_.size());
  ClearMarks();
  RefreshFileTime();
  return 0;
}

int Archive::ChartUpDown(bool up) {
  const char* trace = "Archive::ChartUpDown";
  int s = -1, marked = 0;
  for (int n = 0; n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (s < 0) s = n;
    ++marked;
  }
  if (marked != 1) {
    ShowMessage(kMsgUpDownOneOnly, platform::Icon::Information);
    return -1;
  }
  if ((up && s == 0) || (!up && s == count_ - 1)) {
    ShowMessage(kMsgUpDownAtEnd, platform::Icon::Information);
    return -1;
  }
  if (RefuseIfDamaged() || !IndexMatchesFile(trace)) return -1;
  const int a = up ? s - 1 : s;  // the first of the two records exchanged
  std::vector<int> order(static_cast<std::size_t>(count_));
  std::iota(order.begin(), order.end(), 0);
  std::swap(order[static_cast<std::size_t>(a)], order[static_cast<std::size_t>(a + 1)]);
  if (RewriteInOrder(order, trace) != 0) return -1;
  std::swap(index_[static_cast<std::size_t>(a)], index_[static_cast<std::size_t>(a + 1)]);
  RefreshFileTime();
  return 0;
}

int Archive::ChooseDestinationFile(std::string& path, int& exists, int& layout) {
  platform::FileChoice choice = ArchiveFileChoice(false, ArchiveFilter::kVersion4, DialogFolder());
  if (!platform::GetPrompter().ChooseFile(choice)) return -1;
  std::string name = choice.path;
  if (!HasFileExtension(name)) name += ".arc";
  std::error_code ec;
  if (!fs::exists(name, ec)) {
    path = name;
    exists = 0;
    layout = kLayout4400;
    return 0;
  }
  const int code = IfRealArchive(name);
  if (!IsKnownLayout(code)) {
    ShowMessage(kMsgNotAnArchive, platform::Icon::Information);
    return -1;
  }
  path = name;
  exists = 1;
  layout = code;
  return 0;
}

void Archive::CopyTextsTo(const CommentRefBlock& source, const fs::path& target, bool targetExisted,
                          FileTransaction& tx, CommentRefBlock& block) {
  block.Clear();
  for (int k = 0; k < kCommentPages; ++k) {
    if (!source.HasText(k)) continue;
    const std::size_t i = static_cast<std::size_t>(k);
    std::string text;
    std::FILE* f = OpenForReading(ArchiveCommentFileName(path_, k));
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

bool Archive::PrepareDestinationFile(const std::string& target, bool exists, int layout,
                                     FileTransaction& tx) {
  const char* trace = "Archive::PrepareDestinationFile";
  std::int64_t targetSize = LayoutHeaderSize(layout);
  if (exists) {
    const ArchiveFileInfo info = InspectArchiveFile(target);
    if (info.layout != layout || info.damaged) {
      ReportError(info.damaged ? kErrFormat : kErrCannotOpen, trace, 0);
      return false;
    }
    targetSize = info.length;
  }
  const std::int64_t needed =
      std::max<std::int64_t>(std::int64_t{count_} * LayoutRecordSize(kLayout4400), targetSize);
  if (FreeSpaceBeside(target) < needed) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return false;
  }
  SafeRewrite& out = tx.Rewrite(target);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, trace, 0);
    return false;
  }
  if (!exists) {
    // Comment files left beside a new target by an earlier archive of that name are dropped.
    if (layout == kLayout4400)
      for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(target, k));
    if (archive_file::WriteHeader(out, layout)) return true;
    ReportError(kErrWrite, trace, 1);
    return false;
  }
  std::FILE* t = OpenForReading(target);
  const bool copied = t && out.CopyFrom(t);
  if (t) std::fclose(t);
  if (!copied) ReportError(kErrCannotOpen, trace, 0);
  return copied;
}

bool Archive::AppendMarkedRecords(const std::string& target, bool exists, int layout,
                                  FileTransaction& tx) {
  const char* trace = "Archive::CopyToArchive";
  std::FILE* f = OpenForReading(path_);
  if (!f) {
    ReportError(kErrCannotOpen, trace, 1);
    return false;
  }
  SafeRewrite& out = tx.Rewrite(target);
  bool ok = true;
  Chart chart;
  CommentRefBlock block;
  for (int n = 0; ok && n < count_; ++n) {
    if (!Entry(n).IsSelected()) continue;
    if (layout_ == layout && layout_ != kLayout4400) {  // the same record bytes
      ok = archive_file::SeekRecord(f, layout_, n) && archive_file::CopyRecords(f, out, layout_, 1);
      continue;
    }
    if (ReadRecord(f, layout_, n, chart, block, trace) < 0) {
      std::fclose(f);
      return false;
    }
    if (layout_ == kLayout4000)
      ResetAspectSystemName(ChartContext::FromCurrentSettings(), chart.definition);
    CommentRefBlock copied;
    if (layout == kLayout4400 && layout_ == kLayout4400)
      CopyTextsTo(block, target, exists, tx, copied);
    ok = out.Write(archive_file::RecordBytes(chart, layout, copied));
  }
  std::fclose(f);
  if (!ok) ReportError(kErrWrite, trace, 1);
  return ok;
}

int Archive::CopyToArchive(const std::string& target, int targetExists, int targetLayout, bool move,
                           bool noQuestions, bool tellDone) {
  const char* trace = "Archive::CopyToArchive";
  if (RefuseUnknownLayout(targetLayout)) return -1;
  if (move && RefuseIfDamaged()) return -1;  // its records could be copied but never deleted
  if (SharesArchiveFiles(target, path_)) {   // the source would be read while it is replaced
    ReportError(kErrParameter, trace, 3);
    return -1;
  }
  std::error_code ec;
  if (!targetExists && fs::exists(target, ec)) {  // a file there is never replaced by a copy
    ReportError(kErrParameter, trace, 4);
    return -1;
  }
  if (!IndexMatchesFile(trace)) return -1;
  if (layout_ == kLayout4400 && targetLayout != kLayout4400) {
    bool texts = false;
    for (int n = 0; n < count_ && !texts; ++n) texts = Entry(n).IsSelected() && HasComments(n);
    if (texts && !AskYesNo(kMsgCopyDropsTexts)) return -1;
  }
  FileTransaction tx;
  if (!PrepareDestinationFile(target, targetExists != 0, targetLayout, tx) ||
      !AppendMarkedRecords(target, targetExists != 0, targetLayout, tx))
    return -1;
  if (Status st = tx.Commit(); !st.ok()) {  // nothing of the copy reaches the target
    ReportError(st.ErrorCode(), trace, 2);
    return -1;
  }
  std::vector<char> marks;
  for (const ArchiveIndexEntry& e : index_) marks.push_back(e.mark);
  // A move whose deletion fails or is declined has copied, not moved: the source keeps its records.
  if (move && Delete(true) != 0) return -1;
  if (!noQuestions && (NeedsOrdering() || targetExists) && AskYesNo(kMsgOrderAfterCopy)) {
    const std::string former = path_;
    SwitchTo(target);
    if (IsIndexBuilt() && NeedsOrdering()) Order();
    SwitchTo(former);
    // The marks of a copy stay set (the index was rebuilt on the way back).
    if (!move && static_cast<int>(marks.size()) == count_)
      for (int n = 0; n < count_; ++n) Entry(n).mark = marks[static_cast<std::size_t>(n)];
  }
  if (tellDone) ShowMessage(kMsgDone, platform::Icon::Information);
  return 0;
}

int Archive::RewriteInOrder(const std::vector<int>& order, const char* trace) {
  FileTransaction tx;
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return -1;
  const Status st = archive_file::WriteRecordsInOrder(rewrite.In(), layout_, order, rewrite.Out());
  return FinishRewrite(st.ok(), tx, trace, 1, 2);
}

void Archive::SwitchTo(const std::string& path) {
  AddRecentName(path);
  if (SetPath(path) != -1) CreateIndex();
}

int Archive::Order() {
  const char* trace = "Archive::Order";
  if (count_ < 2) return -1;
  if (RefuseIfDamaged() || !IndexMatchesFile(trace)) return -1;
  progress_->Begin();
  const std::vector<int> order = AlphabeticalOrder(index_, *progress_);

  const int written = RewriteInOrder(order, "Archive::WriteData");
  progress_->End();
  if (written != 0) return -1;
  ReorderIndex(order);
  return 0;
}

void Archive::ReorderIndex(const std::vector<int>& order) {
  std::vector<ArchiveIndexEntry> ordered;
  ordered.reserve(index_.capacity());
  for (int n : order) ordered.push_back(index_[static_cast<std::size_t>(n)]);
  index_ = std::move(ordered);
  ClearMarks();
  RefreshFileTime();
}
