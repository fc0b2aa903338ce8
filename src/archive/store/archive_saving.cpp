// Saving a chart into the current, an existing or a new archive.
#include "archive/store/archive_saving.h"

#include <algorithm>
#include <system_error>

#include "archive/comments/archive_comments.h"
#include "archive/comments/chart_comments.h"
#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/archive_options.h"
#include "archive/store/file_transaction.h"
#include "archive/store/recent_archives.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

constexpr int kNameCompareLength = 260;
// The save target's dialog carries the name of the command that asks for it.
constexpr const char* kSaveToArchiveTitle = "Сохранить в архиве";

}  // namespace
int ArchiveSaving::CheckFreeSpace() const {
  // The rewrite beside the file: every record and the new one, with the header.
  const int layout = IsKnownLayout(index_.LayoutCode()) ? index_.LayoutCode() : kLayout4400;
  const std::int64_t needed = RecordOffset(layout, std::int64_t{index_.RecordCount()} + 1);
  return FreeSpaceBeside(index_.GetPath()) > needed ? 0 : -1;
}

int ArchiveSaving::FindInsertPosition(const Chart& chart) const {
  if (options_.insertionMode == 0) return index_.RecordCount();
  const std::string& name = BaseName(chart.definition);
  for (int n = 0; n < index_.RecordCount(); ++n)
    if (CompareStrings(name, index_.Entry(n).name, kNameCompareLength, true,
                       Collation::kLatinFirst) == kCompareLess)
      return n;
  return index_.RecordCount();
}

int ArchiveSaving::InsertToArchive(const Chart& chart, int position, CommentRefBlock& block) {
  const char* trace = "Archive::InsertToArchive";
  block.Clear();
  if (index_.RefuseIfDamaged()) return -1;
  const ArchiveLock lock(index_.GetPath());
  // The position was found in the index: it must describe the file as it is now.
  if (!lock.Held() || !index_.IndexMatchesFile(trace)) return -1;
  const ArchiveFileInfo info = InspectArchiveFileAsIs(index_.GetPath());
  if (info.layout != index_.LayoutCode() || position < 0 || position > info.records) {
    ReportError(kErrParameter, trace, 1);
    return -1;
  }
  FileTransaction tx;
  ArchiveRewrite rewrite(index_.GetPath(), tx, trace);
  if (!rewrite.Ok()) return -1;
  std::FILE* f = rewrite.In();
  SafeRewrite& out = rewrite.Out();
  bool ok = archive_file::WriteHeader(out, index_.LayoutCode()) &&
            archive_file::SeekRecord(f, index_.LayoutCode(), 0) &&
            archive_file::CopyRecords(f, out, index_.LayoutCode(), position);
  CommentRefBlock refs;
  if (ok && index_.LayoutCode() == kLayout4400)
    ok = comments_.AddChartComments(chart, index_.GetPath(), tx, refs, trace, false);
  ok = ok && out.Write(archive_file::RecordBytes(chart, index_.LayoutCode(), refs)) &&
       archive_file::CopyRecords(f, out, index_.LayoutCode(), info.records - position);
  if (FinishRewrite(ok, tx, trace, 1, 2) != 0) return -1;
  block = refs;
  index_.SetRecordCount(static_cast<int>(info.records) + 1);
  index_.RefreshFileTime();
  return 0;
}

int ArchiveSaving::InsertIndexEntry(const Chart& chart, int position,
                                    const CommentRefBlock& block) {
  // An index that does not match the file before the insertion is rebuilt from the file.
  if (!index_.IsIndexBuilt() ||
      static_cast<int>(index_.Entries().size()) != index_.RecordCount() - 1 ||
      index_.RecordCount() >= index_.IndexCapacity() - 1)
    return index_.CreateIndex();
  ArchiveIndexEntry entry;
  entry.Fill(chart, block);
  index_.Entries().insert(index_.Entries().begin() + position, entry);
  return 0;
}

int ArchiveSaving::SaveToArchive(const Chart& chart) {
  const int target = ChooseTargetArchive();
  if (target == -1) return -1;
  if (target == 1) return SaveToNewArchive(chart, true);
  options_.targetChosen = 0;
  if (index_.RefuseIfDamaged()) return -1;
  if (CheckFreeSpace() == -1) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return -1;
  }
  if (index_.LayoutCode() != kLayout4400 && chart.commentSlot > 0 && HasCommentPages(chart) &&
      !AskYesNo(kMsgDropPagesOldLayout))
    return -1;
  const int position = FindInsertPosition(chart);
  CommentRefBlock block;
  if (InsertToArchive(chart, position, block) != 0) return -1;
  if (InsertIndexEntry(chart, position, block) != 0) return -1;
  ShowMessage(kMsgChartSaved, platform::Icon::Information);
  return 0;
}

int ArchiveSaving::ChooseTargetArchive() {
  if (index_.IsIndexBuilt() && (options_.saveTargetMode == 0 ||
                                (options_.saveTargetMode == 1 && options_.targetChosen == 0)))
    return 0;
  // Titled by the command; it begins at the current archive, else in the data folder.
  platform::FileChoice choice =
      ArchiveFileChoice(true, ArchiveFilter::kVersions45,
                        index_.GetPath().empty() ? index_.DialogFolder() : index_.GetPath());
  choice.title = Cp1251(kSaveToArchiveTitle);
  choice.acceptText = Cp1251("Сохранить");
  if (!platform::GetPrompter().ChooseFile(choice)) return -1;
  std::string name = choice.path;
  if (!HasFileExtension(name)) name += ".arc";
  const int code = index_.IfRealArchive(name);
  if (code == kNotArchive) return -1;
  if (code == kCannotOpen) {
    std::error_code ec;
    if (fs::exists(name, ec)) {  // there, but unreadable: never replaced by a new archive
      ReportStatus(Status::Error(kErrCannotOpen, name), "Archive::ChooseTargetArchive");
      return -1;
    }
    if (!AskYesNo(kMsgCreateArchive)) return -1;
    recent_.AddRecentName(name);
    index_.SetNewPath(name);
    return 1;
  }
  recent_.AddRecentName(name);
  index_.SetPath(name);
  return index_.CreateIndex() == 0 ? 0 : -1;
}

int ArchiveSaving::ChooseNewArchiveFile() {
  platform::FileChoice choice =
      ArchiveFileChoice(false, ArchiveFilter::kVersion4, index_.DialogFolder());
  if (!platform::GetPrompter().ChooseFile(choice)) return -1;
  std::string name = choice.path;
  // The extension is cut: back from the end to a '.', not past a folder or the second character.
  for (std::size_t i = name.size(); i-- > 1;) {
    if (name[i] == '/') break;
    if (name[i] == '.') {
      name.resize(i);
      break;
    }
  }
  name += ".arc";
  std::error_code ec;
  // An existing file is replaced only when the new archive is written, so a failed save keeps it.
  if (fs::exists(name, ec) && !AskYesNo(kMsgReplaceFile)) return -1;
  recent_.AddRecentName(name);
  index_.SetNewPath(name);
  return 0;
}

int ArchiveSaving::WriteNewArchive(const Chart& chart, CommentRefBlock& block, const char* trace,
                                   int& detail) {
  const ArchiveLock lock(index_.GetPath());
  if (!lock.Held()) return -1;
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(index_.GetPath());
  if (!out.Ok()) {
    detail = 0;
    return kErrCannotCreate;
  }
  // Comment files left by an earlier archive of the same name are replaced or removed.
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(index_.GetPath(), k));
  if (!comments_.AddChartComments(chart, index_.GetPath(), tx, block, trace, true)) return -1;
  if (!archive_file::WriteHeader(out, kLayout4400) ||
      !out.Write(archive_file::RecordBytes(chart, kLayout4400, block))) {
    detail = 2;
    return kErrWrite;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    detail = 1;
    return st.ErrorCode();
  }
  // The new file is the one the index describes, taken under the lock it was written under.
  ArchiveIndexEntry entry;
  entry.Fill(chart, block);
  index_.SetSingleRecord(kLayout4400, entry);
  index_.RefreshFileTime();
  return 0;
}

int ArchiveSaving::SaveToNewArchive(const Chart& chart, bool nameChosen) {
  const char* trace = "Archive::SaveToNewArchive";
  if (!nameChosen && ChooseNewArchiveFile() == -1) return -1;
  if (FreeSpaceBeside(index_.GetPath()) < RecordOffset(kLayout4400, 1)) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return -1;
  }
  options_.targetChosen = 0;
  index_.FreeIndex();
  CommentRefBlock block;
  int detail = 0;
  // Told once the lock is let go: another copy opens the archive while the box is open.
  if (const int failed = WriteNewArchive(chart, block, trace, detail); failed != 0) {
    if (failed > 0) ReportStatus(Status::Error(failed, index_.GetPath(), detail), trace);
    return -1;
  }
  ShowMessage(kMsgChartSaved, platform::Icon::Information);
  return 0;
}
