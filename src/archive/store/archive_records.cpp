// The records of the current archive: reading them, the whole file rewritten in another layout,
// and the operations on the records marked 'Y' (delete, move one up or down, copy or move into
// another archive, the alphabetical order of the whole archive).
#include "archive/store/archive_records.h"

#include <sys/stat.h>

#include <algorithm>
#include <numeric>
#include <system_error>

#include "archive/comments/archive_comments.h"
#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/archive_sort.h"
#include "archive/store/file_transaction.h"
#include "archive/store/list_lock.h"
#include "archive/store/recent_archives.h"
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
int ArchiveRecords::Load(std::FILE* handle, Chart& chart, int n, CommentRefBlock* block) {
  if (!handle || n < 0) return -1;
  // Past the last record: the end of a walk, not a read error.
  struct stat st {};
  if (::fstat(::fileno(handle), &st) != 0 || n >= CountRecords(index_.LayoutCode(), st.st_size))
    return -1;
  // A damaged file ends where its index ends: the records after it do not load.
  if (index_.IsDamaged() && index_.IsIndexBuilt() && n >= index_.RecordCount()) return -1;
  CommentRefBlock local;
  CommentRefBlock& refs = block ? *block : local;
  Chart read;
  if (index_.ReadRecord(handle, index_.LayoutCode(), n, read, refs, "Archive::Load") < 0) return -1;
  return Finish(read, chart, n);
}

int ArchiveRecords::Finish(Chart& read, Chart& chart, int n) {
  if (index_.LayoutCode() == kLayout4000)
    ResetAspectSystemName(ChartContext::FromCurrentSettings(), read.definition);
  else
    CheckAspectSystemName(ChartContext::FromCurrentSettings(), read.definition);
  read.commentSlot = 0;
  chart = read;
  return n;
}

ArchiveRecords::Reader::Reader(ArchiveRecords& records, std::FILE* handle)
    : records_(records), handle_(handle) {
  struct stat st {};
  if (handle_ && ::fstat(::fileno(handle_), &st) == 0)
    recordsInFile_ = CountRecords(records_.index_.LayoutCode(), st.st_size);
}

int ArchiveRecords::Reader::Read(Chart& chart, int n) {
  ArchiveIndex& file = records_.index_;
  if (!handle_ || n < 0 || n >= recordsInFile_) return -1;
  if (file.IsDamaged() && file.IsIndexBuilt() && n >= file.RecordCount()) return -1;
  const int layout = file.LayoutCode();
  if (n < first_ || n >= first_ + count_) {
    first_ = n;
    count_ = archive_file::ReadRecordBlock(
        handle_, layout, n, std::min<std::int64_t>(kBlockRecords, recordsInFile_ - n), block_);
  }
  CommentRefBlock refs;
  Chart read;
  Status st = n < first_ + count_ ? Status::Ok() : Status::Error(kErrRead, "archive file", 1);
  if (st.ok()) {
    const std::size_t size = static_cast<std::size_t>(LayoutRecordSize(layout));
    st = archive_file::ParseRecord(
        std::string_view(block_).substr(static_cast<std::size_t>(n - first_) * size, size), layout,
        read, refs);
  }
  if (!st.ok()) {
    ReportError(st.ErrorCode(), "Archive::Load", 1);
    return -1;
  }
  return records_.Finish(read, chart, n);
}

int ArchiveRecords::LoadChart(Chart& chart, int n, bool withComments) {
  // The record and its texts read whole, of the file the index lists: one another copy changed
  // meanwhile is listed afresh, and the record asked for by its old number is not loaded. The
  // chart's page files are written once the archive's lock is let go (they may lie in its folder).
  Chart read;
  CommentRefBlock refs;
  ArchiveComments::RecordTexts texts;
  {
    const ListLock lock(index_, LockMode::kShared);
    std::FILE* f = index_.Open(lock);
    if (!f) return -1;
    const int result = Load(f, read, n, &refs);
    index_.Close(f);
    if (result < 0) return -1;
    if (withComments && index_.LayoutCode() == kLayout4400)
      texts = comments_.ReadRecordTexts(refs, lock);
  }
  chart = read;
  if (withComments && index_.LayoutCode() == kLayout4400)
    comments_.CopyCommentsToChart(texts, chart);
  return n;
}

int ArchiveRecords::LoadNextChart(Chart& chart, int n) {
  return LoadChart(chart, n, false) < 0 ? -1 : n + 1;
}

int ArchiveRecords::ConvertTo44() {
  if (index_.LayoutCode() != kLayout4000 && index_.LayoutCode() != kLayout4200) return -1;
  return ConvertLayout(kLayout4400, "Archive::ConvertTo44");
}

int ArchiveRecords::ConvertTo43() {
  if (index_.LayoutCode() != kLayout4400) return -1;
  return ConvertLayout(kLayout4200, "Archive::ConvertTo43");
}

int ArchiveRecords::ConvertLayout(int target, const char* trace) {
  if (index_.RefuseUnknownLayout(target) || index_.RefuseIfDamaged()) return -1;
  // Texts exist only in layout 4400: leaving it drops them, after the user's consent.
  bool dropsTexts = false;
  if (index_.LayoutCode() == kLayout4400 && target != kLayout4400) {
    if (!index_.IsIndexBuilt() && index_.CreateIndex() != 0) return -1;
    for (int n = 0; n < index_.RecordCount() && !dropsTexts; ++n)
      dropsTexts = index_.HasComments(n) == 1;
    if (dropsTexts && !AskYesNo(kMsgConvertDropsTexts)) return -1;
  }
  Status st;
  {
    const ArchiveLock lock(index_.GetPath());
    if (!lock.Held() || !index_.IndexMatchesFile(trace)) return -1;
    const std::int64_t count = InspectArchiveFileAsIs(index_.GetPath()).records;
    FileTransaction tx;
    ArchiveRewrite rewrite(index_.GetPath(), tx, trace);
    if (!rewrite.Ok()) return -1;
    st = archive_file::ConvertRecords(rewrite.In(), index_.LayoutCode(), count, rewrite.Out(),
                                      target);
    // Comment files are dropped only with the records that referred to them.
    if (st.ok() && dropsTexts)
      for (int k = 0; k < kCommentPages; ++k)
        tx.Remove(ArchiveCommentFileName(index_.GetPath(), k));
    if (st.ok()) {
      if (FinishRewrite(true, tx, trace, 0, 1) != 0) return -1;
      for (ArchiveIndexEntry& e : index_.Entries()) e.comments.Clear();
      index_.SetLayout(target);
      index_.RefreshFileTime();
    }
  }
  // Told once the lock is let go: another copy opens the archive while the box is open.
  if (!st.ok()) {
    ReportError(st.ErrorCode(), trace, st.ErrorCode() == kErrRead ? 1 : 0);
    return -1;
  }
  ShowMessage(target == kLayout4400 ? kMsgConverted44 : kMsgConverted43,
              platform::Icon::Information);
  return 0;
}

int ArchiveRecords::CopyWholeArchive(std::string target) {
  const char* trace = "Archive::CopyWholeArchive";
  if (!HasFileExtension(target)) target += ".arc";
  if (!HasArchiveExtension(target)) {
    ShowMessage(kMsgOnlyArcExtension, platform::Icon::Information);
    return -1;
  }
  // The source read while it is replaced would be lost: neither the archive nor one of its
  // comment files (a name differing in the last character only) may be a target.
  if (SharesArchiveFiles(target, index_.GetPath())) {
    ReportError(kErrParameter, trace, 1);
    return -1;
  }
  std::error_code ec;
  if (fs::exists(target, ec) && !AskYesNo(kMsgReplaceFile)) return -1;
  // The source read whole, no commit of another copy half done; the target written under its
  // own lock.
  bool ok = true;
  {
    const ListLock lock(index_, LockMode::kShared, target, LockMode::kExclusive, true);
    if (!lock.Ok()) return -1;
    const int layout = InspectArchiveFileAsIs(index_.GetPath()).layout;
    FileTransaction tx;
    // Page -1: the archive itself.
    auto copy = [&](int page, const fs::path& to) {
      std::FILE* f = index_.OpenUnder(lock, page);
      ok = f && tx.Rewrite(to).CopyFrom(f);
      if (f) std::fclose(f);
    };
    copy(-1, target);
    // The target's comment files are the source's; stale ones of an earlier archive are dropped.
    for (int k = 0; k < kCommentPages && ok; ++k) {
      if (layout == kLayout4400 && index_.CommentFileExists(k))
        copy(k, ArchiveCommentFileName(target, k));
      else
        tx.Remove(ArchiveCommentFileName(target, k));
    }
    ok = ok && tx.Commit().ok();
  }
  // Told once the locks are let go.
  if (!ok) {
    ShowMessage(kMsgCopyFailed, platform::Icon::Information);
    return -1;
  }
  ShowMessage(kMsgArchiveCopied, platform::Icon::Information);
  return 0;
}

int ArchiveRecords::DeleteArchiveFiles() {
  FileTransaction tx;
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(index_.GetPath(), k));
  tx.Remove(index_.GetPath());
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), "Archive::DeleteArchiveFiles", 0);
    return -1;
  }
  const std::string path = index_.GetPath();
  index_.SetNewPath(path);  // no index, the name kept
  index_.RefreshFileTime();
  return 0;
}

int ArchiveRecords::Delete(bool confirm) {
  std::vector<ArchiveIndexEntry>& index = index_.Entries();
  const char* trace = "Archive::Delete";
  int marked = 0, first = -1;
  for (int n = 0; n < index_.RecordCount(); ++n) {
    if (!index_.Entry(n).IsSelected()) continue;
    if (first < 0) first = n;
    ++marked;
  }
  if (marked == 0) return 0;
  if (confirm) {
    const bool yes = marked == 1
                         ? AskYesNo(kMsgDeleteChart, GetMessageText(kMsgDeleteChart) + "\n\"" +
                                                         index_.Entry(first).name + ",  " +
                                                         index_.Entry(first).title + "\" ?")
                         : AskYesNo(kMsgDeleteCharts);
    if (!yes) return -1;
  }
  const ArchiveLock lock(index_.GetPath());
  if (!lock.Held() || index_.RefuseIfDamaged() || !index_.IndexMatchesFile(trace)) return -1;
  if (marked == index_.RecordCount()) return DeleteArchiveFiles();

  std::vector<CommentRefBlock> saved;
  saved.reserve(index.size());
  for (const ArchiveIndexEntry& e : index) saved.push_back(e.comments);
  auto fail = [&] {
    for (std::size_t i = 0; i < index.size(); ++i) index[i].comments = saved[i];
    return -1;
  };
  FileTransaction tx;
  bool textsMoved = false;
  if (index_.LayoutCode() == kLayout4400) {
    for (int n = 0; n < index_.RecordCount() && !textsMoved; ++n)
      textsMoved = index_.Entry(n).IsSelected() && index_.HasComments(n);
    if (textsMoved && comments_.DeleteSelectedComments(tx) != 0) return fail();
  }
  ArchiveRewrite rewrite(index_.GetPath(), tx, trace);
  if (!rewrite.Ok()) return fail();
  // The kept records as they stand; with texts cut out, the 4400 blocks come from the index.
  Status st;
  if (textsMoved) {
    std::vector<CommentRefBlock> blocks;
    std::vector<bool> drop;
    for (const ArchiveIndexEntry& e : index) {
      blocks.push_back(e.comments);
      drop.push_back(e.IsSelected());
    }
    st = archive_file::WriteWithBlocks(rewrite.In(), blocks, &drop, rewrite.Out());
  } else {
    st = archive_file::WriteRecordsInOrder(rewrite.In(), index_.LayoutCode(),
                                           UnmarkedRecords(index), rewrite.Out());
  }
  if (FinishRewrite(st.ok(), tx, trace, 1, 2) != 0) return fail();
  std::erase_if(index, [](const ArchiveIndexEntry& e) { return e.IsSelected(); });
  index_.SetRecordCount(static_cast<int>(index.size()));
  index_.ClearMarks();
  index_.RefreshFileTime();
  return 0;
}

int ArchiveRecords::ChartUpDown(bool up) {
  std::vector<ArchiveIndexEntry>& index = index_.Entries();
  const char* trace = "Archive::ChartUpDown";
  int s = -1, marked = 0;
  for (int n = 0; n < index_.RecordCount(); ++n) {
    if (!index_.Entry(n).IsSelected()) continue;
    if (s < 0) s = n;
    ++marked;
  }
  if (marked != 1) {
    ShowMessage(kMsgUpDownOneOnly, platform::Icon::Information);
    return -1;
  }
  if ((up && s == 0) || (!up && s == index_.RecordCount() - 1)) {
    ShowMessage(kMsgUpDownAtEnd, platform::Icon::Information);
    return -1;
  }
  const ArchiveLock lock(index_.GetPath());
  if (!lock.Held() || index_.RefuseIfDamaged() || !index_.IndexMatchesFile(trace)) return -1;
  const int a = up ? s - 1 : s;  // the first of the two records exchanged
  std::vector<int> order(static_cast<std::size_t>(index_.RecordCount()));
  std::iota(order.begin(), order.end(), 0);
  std::swap(order[static_cast<std::size_t>(a)], order[static_cast<std::size_t>(a + 1)]);
  if (index_.RewriteInOrder(order, trace) != 0) return -1;
  std::swap(index[static_cast<std::size_t>(a)], index[static_cast<std::size_t>(a + 1)]);
  index_.RefreshFileTime();
  return 0;
}

int ArchiveRecords::ChooseDestinationFile(std::string& path, int& exists, int& layout) {
  platform::FileChoice choice =
      ArchiveFileChoice(false, ArchiveFilter::kVersion4, index_.DialogFolder());
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
  const int code = index_.IfRealArchive(name);
  if (!IsKnownLayout(code)) {
    ReportStatus(Status::Message(kMsgNotAnArchive, name));
    return -1;
  }
  path = name;
  exists = 1;
  layout = code;
  return 0;
}

bool ArchiveRecords::PrepareDestinationFile(const std::string& target, bool exists, int layout,
                                            FileTransaction& tx) {
  const char* trace = "Archive::PrepareDestinationFile";
  std::int64_t targetSize = LayoutHeaderSize(layout);
  if (exists) {
    const ArchiveFileInfo info = InspectArchiveFile(target);
    if (info.layout != layout || info.damaged) {
      ReportStatus(Status::Error(info.damaged ? kErrFormat : kErrCannotOpen, target), trace);
      return false;
    }
    targetSize = info.length;
  }
  const std::int64_t needed = std::max<std::int64_t>(
      std::int64_t{index_.RecordCount()} * LayoutRecordSize(kLayout4400), targetSize);
  if (FreeSpaceBeside(target) < needed) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return false;
  }
  SafeRewrite& out = tx.Rewrite(target);
  if (!out.Ok()) {
    ReportStatus(Status::Error(kErrCannotCreate, target), trace);
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
  if (!copied) ReportStatus(Status::Error(kErrCannotOpen, target), trace);
  return copied;
}

bool ArchiveRecords::AppendMarkedRecords(const std::string& target, bool exists, int layout,
                                         FileTransaction& tx, const ListLock& lock) {
  const char* trace = "Archive::CopyToArchive";
  std::FILE* f = index_.Open(lock);
  if (!f) return false;
  SafeRewrite& out = tx.Rewrite(target);
  bool ok = true;
  Chart chart;
  CommentRefBlock block;
  for (int n = 0; ok && n < index_.RecordCount(); ++n) {
    if (!index_.Entry(n).IsSelected()) continue;
    if (index_.LayoutCode() == layout &&
        index_.LayoutCode() != kLayout4400) {  // the same record bytes
      ok = archive_file::SeekRecord(f, index_.LayoutCode(), n) &&
           archive_file::CopyRecords(f, out, index_.LayoutCode(), 1);
      continue;
    }
    if (index_.ReadRecord(f, index_.LayoutCode(), n, chart, block, trace) < 0) {
      std::fclose(f);
      return false;
    }
    if (index_.LayoutCode() == kLayout4000)
      ResetAspectSystemName(ChartContext::FromCurrentSettings(), chart.definition);
    CommentRefBlock copied;
    if (layout == kLayout4400 && index_.LayoutCode() == kLayout4400)
      comments_.CopyTextsTo(block, target, exists, tx, copied, lock);
    ok = out.Write(archive_file::RecordBytes(chart, layout, copied));
  }
  std::fclose(f);
  if (!ok) ReportError(kErrWrite, trace, 1);
  return ok;
}

int ArchiveRecords::CopyToArchive(const std::string& target, int targetExists, int targetLayout,
                                  bool move, bool noQuestions, bool tellDone) {
  const char* trace = "Archive::CopyToArchive";
  if (index_.RefuseUnknownLayout(targetLayout)) return -1;
  if (move && index_.RefuseIfDamaged()) return -1;  // its records could be copied but never deleted
  if (SharesArchiveFiles(target,
                         index_.GetPath())) {  // the source would be read while it is replaced
    ReportError(kErrParameter, trace, 3);
    return -1;
  }
  std::error_code ec;
  if (!targetExists && fs::exists(target, ec)) {  // a file there is never replaced by a copy
    ReportError(kErrParameter, trace, 4);
    return -1;
  }
  if (index_.LayoutCode() == kLayout4400 && targetLayout != kLayout4400) {
    bool texts = false;
    for (int n = 0; n < index_.RecordCount() && !texts; ++n)
      texts = index_.Entry(n).IsSelected() && index_.HasComments(n);
    if (texts && !AskYesNo(kMsgCopyDropsTexts)) return -1;
  }
  {
    // The source read under its lock, the target read and written under its own.
    const ListLock lock(index_, LockMode::kShared, target, LockMode::kExclusive);
    if (!lock.Ok() || !index_.IndexMatchesFile(trace)) return -1;
    FileTransaction tx;
    if (!PrepareDestinationFile(target, targetExists != 0, targetLayout, tx) ||
        !AppendMarkedRecords(target, targetExists != 0, targetLayout, tx, lock))
      return -1;
    if (Status st = tx.Commit(); !st.ok()) {  // nothing of the copy reaches the target
      ReportError(st.ErrorCode(), trace, 2);
      return -1;
    }
  }
  std::vector<char> marks;
  for (const ArchiveIndexEntry& e : index_.Entries()) marks.push_back(e.mark);
  // A move whose deletion fails or is declined has copied, not moved: the source keeps its records.
  if (move && Delete(true) != 0) return -1;
  if (!noQuestions && (index_.NeedsOrdering() || targetExists) && AskYesNo(kMsgOrderAfterCopy)) {
    const std::string former = index_.GetPath();
    SwitchTo(target);
    if (index_.IsIndexBuilt() && index_.NeedsOrdering()) Order();
    SwitchTo(former);
    // The marks of a copy stay set (the index was rebuilt on the way back).
    if (!move && static_cast<int>(marks.size()) == index_.RecordCount())
      for (int n = 0; n < index_.RecordCount(); ++n)
        index_.Entry(n).mark = marks[static_cast<std::size_t>(n)];
  }
  if (tellDone) ShowMessage(kMsgDone, platform::Icon::Information);
  return 0;
}

void ArchiveRecords::SwitchTo(const std::string& path) {
  recent_.AddRecentName(path);
  if (index_.SetPath(path) != -1) index_.CreateIndex();
}

int ArchiveRecords::Order() {
  const char* trace = "Archive::Order";
  if (index_.RecordCount() < 2) return -1;
  const ArchiveLock lock(index_.GetPath());
  if (!lock.Held() || index_.RefuseIfDamaged() || !index_.IndexMatchesFile(trace)) return -1;
  index_.Progress().Begin();
  const std::vector<int> order = AlphabeticalOrder(index_.Entries(), index_.Progress());

  const int written = index_.RewriteInOrder(order, "Archive::WriteData");
  index_.Progress().End();
  if (written != 0) return -1;
  index_.ReorderIndex(order);
  return 0;
}
