// Reading records, and saving a chart into the current, an existing or a new archive.
#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "archive/comments/chart_comments.h"
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

// --- Reading ---

std::FILE* Archive::Open() {
  std::FILE* f = OpenForReading(path_);
  if (!f) ReportError(kErrCannotOpen, "Archive::Open", 0);
  return f;
}

void Archive::Close(std::FILE* handle) {
  if (handle) std::fclose(handle);
}

int Archive::Load(std::FILE* handle, Chart& chart, int n, bool withComments,
                  CommentRefBlock* block) {
  if (!handle || n < 0) return -1;
  // Past the last record: the end of a walk, not a read error.
  struct stat st {};
  if (::fstat(::fileno(handle), &st) != 0 || n >= CountRecords(layout_, st.st_size)) return -1;
  // A damaged file ends where its index ends: the records after it do not load.
  if (damaged_ && indexBuilt_ && n >= count_) return -1;
  CommentRefBlock local;
  CommentRefBlock& refs = block ? *block : local;
  Chart read;
  if (ReadRecord(handle, layout_, n, read, refs, "Archive::Load") < 0) return -1;
  if (layout_ == kLayout4000)
    ResetAspectSystemName(ChartContext::FromCurrentSettings(), read.definition);
  else
    CheckAspectSystemName(ChartContext::FromCurrentSettings(), read.definition);
  read.commentSlot = 0;
  chart = read;
  if (layout_ == kLayout4400 && withComments) CopyCommentsToChart(refs, chart);
  return n;
}

int Archive::LoadChart(Chart& chart, int n, bool withComments) {
  std::FILE* f = Open();
  if (!f) return -1;
  const int result = Load(f, chart, n, withComments);
  Close(f);
  return result;
}

int Archive::LoadNextChart(Chart& chart, int n) {
  return LoadChart(chart, n, false) < 0 ? -1 : n + 1;
}

int Archive::SelectChart(int mode) {
  while (browser_) {
    selectMode = mode;
    const bool ok = browser_->Run(*this, browserVariant == 2 ? 2 : 3);
    selectMode = 0;
    if (!ok) {
      if (browserVariant == 0) {
        browserVariant = 2;
      } else if (browserVariant == 1) {
        browserVariant = 3;
      } else {
        return -1;
      }
      continue;
    }
    if (mode != 0) return 0;
    // Nothing marked is no record: -1, never taken for record 0.
    int chosen = -1;
    for (int n = count_ - 1; n >= 0; --n)
      if (Entry(n).IsSelected()) chosen = n;
    ClearMarks();
    return chosen;
  }
  return -1;
}

int Archive::FindByInitial(char c) const {
  for (int n = 0; n < count_; ++n)
    if (!Entry(n).name.empty() && Entry(n).name[0] == c) return n;
  return -1;
}

int Archive::NeedsOrdering() const {
  for (int n = 1; n < count_; ++n)
    if (CompareStrings(Entry(n).name, Entry(n - 1).name, kNameCompareLength, true,
                       Collation::kLatinFirst) == kCompareLess)
      return 1;
  return 0;
}

// --- Records copied between files ---

bool Archive::AddChartComments(const Chart& chart, const fs::path& archive, FileTransaction& tx,
                               CommentRefBlock& block, const char* trace, bool replace) {
  block.Clear();
  if (chart.commentSlot < 1) return true;
  progress_->Begin();
  bool ok = true;
  for (int k = 0; k < kCommentPages && ok; ++k) {
    progress_->SetPos(10 * k);
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
  progress_->End();
  return ok;
}

int Archive::OpenOtherArchive() {
  platform::FileChoice choice = ArchiveFileChoice(true, ArchiveFilter::kVersion4, DialogFolder());
  choice.mustExist = true;
  choice.filters.push_back({Cp1251("Данные Ormandel 2.* (*.db)"), "*.db"});
  choice.filters.push_back({Cp1251("Конфигурация Velm 3.* (*.cfg)"), "*.cfg"});
  for (const char* extension : {"cat", "bda", "zbs", "ddd", "mil", "dat"})
    choice.filters.push_back(
        {Cp1251("Гороскопы других программ (*.") + extension + ")", std::string("*.") + extension});
  if (!platform::GetPrompter().ChooseFile(choice)) return 0;
  std::string name = choice.path;
  const int type = importer_ ? importer_->DefineFileType(name) : IfRealArchive(name);
  const bool archive = IsKnownLayout(type);
  const bool foreign = type == 0 || type == 1 || type == 6 || (type >= 8 && type <= 12);
  if (foreign && importer_) {
    std::string converted;
    if (importer_->ConvertToArchive(name, converted, type) != 0) return 0;
    name = converted;
  } else if (!archive) {
    ShowMessage(kMsgNotAnArchive, platform::Icon::Information);
    return 0;
  }
  if (SetPath(name) < 0) {
    ShowMessage(kMsgNotAnArchive, platform::Icon::Information);
    return 0;
  }
  AddRecentName(name);
  return CreateIndex() == 0 ? 1 : 0;
}

// --- Saving ---

int Archive::CheckFreeSpace() const {
  // The rewrite beside the file: every record and the new one, with the header.
  const int layout = IsKnownLayout(layout_) ? layout_ : kLayout4400;
  const std::int64_t needed = RecordOffset(layout, std::int64_t{count_} + 1);
  return FreeSpaceBeside(path_) > needed ? 0 : -1;
}

int Archive::FindInsertPosition(const Chart& chart) const {
  if (insertionMode == 0) return count_;
  const std::string& name = BaseName(chart.definition);
  for (int n = 0; n < count_; ++n)
    if (CompareStrings(name, Entry(n).name, kNameCompareLength, true, Collation::kLatinFirst) ==
        kCompareLess)
      return n;
  return count_;
}

int Archive::InsertToArchive(const Chart& chart, int position, CommentRefBlock& block) {
  const char* trace = "Archive::InsertToArchive";
  block.Clear();
  if (RefuseIfDamaged()) return -1;
  const ArchiveFileInfo info = InspectArchiveFile(path_);
  if (info.layout != layout_ || position < 0 || position > info.records) {
    ReportError(kErrParameter, trace, 1);
    return -1;
  }
  FileTransaction tx;
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return -1;
  std::FILE* f = rewrite.In();
  SafeRewrite& out = rewrite.Out();
  bool ok = archive_file::WriteHeader(out, layout_) && archive_file::SeekRecord(f, layout_, 0) &&
            archive_file::CopyRecords(f, out, layout_, position);
  CommentRefBlock refs;
  if (ok && layout_ == kLayout4400) ok = AddChartComments(chart, path_, tx, refs, trace, false);
  ok = ok && out.Write(archive_file::RecordBytes(chart, layout_, refs)) &&
       archive_file::CopyRecords(f, out, layout_, info.records - position);
  if (FinishRewrite(ok, tx, trace, 1, 2) != 0) return -1;
  block = refs;
  count_ = static_cast<int>(info.records) + 1;
  RefreshFileTime();
  return 0;
}

int Archive::InsertIndexEntry(const Chart& chart, int position, const CommentRefBlock& block) {
  // An index that does not match the file before the insertion is rebuilt from the file.
  if (!indexBuilt_ || static_cast<int>(index_.size()) != count_ - 1 || count_ >= capacity_ - 1)
    return CreateIndex();
  ArchiveIndexEntry entry;
  entry.Fill(chart, block);
  index_.insert(index_.begin() + position, entry);
  return 0;
}

int Archive::SaveToArchive(const Chart& chart) {
  const int target = ChooseTargetArchive();
  if (target == -1) return -1;
  if (target == 1) return SaveToNewArchive(chart, true);
  targetChosen = 0;
  if (RefuseIfDamaged()) return -1;
  if (CheckFreeSpace() == -1) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return -1;
  }
  if (layout_ != kLayout4400 && chart.commentSlot > 0 && HasCommentPages(chart) &&
      !AskYesNo(kMsgDropPagesOldLayout))
    return -1;
  const int position = FindInsertPosition(chart);
  CommentRefBlock block;
  if (InsertToArchive(chart, position, block) != 0) return -1;
  if (InsertIndexEntry(chart, position, block) != 0) return -1;
  ShowMessage(kMsgChartSaved, platform::Icon::Information);
  return 0;
}

int Archive::ChooseTargetArchive() {
  if (indexBuilt_ && (saveTargetMode == 0 || (saveTargetMode == 1 && targetChosen == 0))) return 0;
  // Titled by the command; it begins at the current archive, else in the data folder.
  platform::FileChoice choice =
      ArchiveFileChoice(true, ArchiveFilter::kVersions45, path_.empty() ? DialogFolder() : path_);
  choice.title = Cp1251(kSaveToArchiveTitle);
  choice.acceptText = Cp1251("Сохранить");
  if (!platform::GetPrompter().ChooseFile(choice)) return -1;
  std::string name = choice.path;
  if (!HasFileExtension(name)) name += ".arc";
  const int code = IfRealArchive(name);
  if (code == kNotArchive) return -1;
  if (code == kCannotOpen) {
    std::error_code ec;
    if (fs::exists(name, ec)) {  // there, but unreadable: never replaced by a new archive
      ReportError(kErrCannotOpen, "Archive::ChooseTargetArchive", 0);
      return -1;
    }
    if (!AskYesNo(kMsgCreateArchive)) return -1;
    AddRecentName(name);
    FreeIndex();
    path_ = name;
    layout_ = kCannotOpen;
    damaged_ = false;
    return 1;
  }
  AddRecentName(name);
  SetPath(name);
  return CreateIndex() == 0 ? 0 : -1;
}

int Archive::ChooseNewArchiveFile() {
  platform::FileChoice choice = ArchiveFileChoice(false, ArchiveFilter::kVersion4, DialogFolder());
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
  AddRecentName(name);
  FreeIndex();
  path_ = name;
  layout_ = kCannotOpen;
  damaged_ = false;
  return 0;
}

int Archive::SaveToNewArchive(const Chart& chart, bool nameChosen) {
  const char* trace = "Archive::SaveToNewArchive";
  if (!nameChosen && ChooseNewArchiveFile() == -1) return -1;
  if (FreeSpaceBeside(path_) < RecordOffset(kLayout4400, 1)) {
    ShowMessage(kMsgNoDiskSpace, platform::Icon::Information);
    return -1;
  }
  targetChosen = 0;
  FreeIndex();
  FileTransaction tx;
  SafeRewrite& out = tx.Rewrite(path_);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, trace, 0);
    return -1;
  }
  // Comment files left by an earlier archive of the same name are replaced or removed.
  for (int k = 0; k < kCommentPages; ++k) tx.Remove(ArchiveCommentFileName(path_, k));
  CommentRefBlock block;
  if (!AddChartComments(chart, path_, tx, block, trace, true)) return -1;
  if (!archive_file::WriteHeader(out, kLayout4400) ||
      !out.Write(archive_file::RecordBytes(chart, kLayout4400, block))) {
    ReportError(kErrWrite, trace, 2);
    return -1;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), trace, 1);
    return -1;
  }
  layout_ = kLayout4400;
  damaged_ = false;
  InitIndex(0);
  ArchiveIndexEntry entry;
  entry.Fill(chart, block);
  index_.push_back(entry);
  count_ = 1;
  indexBuilt_ = true;
  RefreshFileTime();
  ShowMessage(kMsgChartSaved, platform::Icon::Information);
  return 0;
}
