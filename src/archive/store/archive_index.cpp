// The current archive file and its index.
#include "archive/store/archive_index.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "archive/store/archive_internal.h"
#include "archive/store/commit_recovery.h"
#include "archive/store/file_transaction.h"
#include "archive/store/list_lock.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

platform::NullProgress g_noProgress;
constexpr int kNameCompareLength = 260;

}  // namespace

ArchiveIndex::ArchiveIndex() : progress_(&g_noProgress) {}

std::string ArchiveFilterText(ArchiveFilter filter) {
  switch (filter) {
    case ArchiveFilter::kVersions45:
      return Cp1251("Архивы Velm 4.*/5.* (*.arc)");
    case ArchiveFilter::kVersion4:
      return Cp1251("Архивы Velm 4.* (*.arc)");
    case ArchiveFilter::kAnyVersion:
      break;
  }
  return Cp1251("Архивы Velm (*.arc)");
}

platform::FileChoice ArchiveFileChoice(bool open, ArchiveFilter filter, std::string start) {
  platform::FileChoice choice;
  choice.open = open;
  choice.mustExist = false;
  choice.filters.push_back({ArchiveFilterText(filter), "*.arc"});
  choice.path = std::move(start);
  return choice;
}

std::string InDialogFolder(std::string chosen, const std::string& folder) {
  if (chosen.empty() || !fs::path(chosen).is_relative()) return chosen;
  return folder + chosen;
}

std::int64_t ArchiveIndex::FileTimeOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

std::string ArchiveIndex::DialogFolder() const {
  if (!path_.empty()) {
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) return folder.string() + '/';
  }
  return GetSettings().GetPath("");
}

void ArchiveIndex::SetProgress(platform::ProgressSink* sink) {
  progress_ = sink ? sink : &g_noProgress;
}

int ArchiveIndex::IfRealArchive(const fs::path& path) { return InspectArchiveFile(path).layout; }

int ArchiveIndex::IsArchiveFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return 0;
  return IsKnownLayout(IfRealArchive(path)) ? 1 : 0;
}

int ArchiveIndex::SetPath(const std::string& given) {
  // An archive reached through a link is the file it leads to: its comment files, its commits and
  // their records are beside that file.
  const std::string path = FileBehindLinks(given).string();
  const ArchiveFileInfo info = InspectArchiveFile(path);
  if (info.layout == kNotArchive) return -1;
  if (path != path_) FreeIndex();
  path_ = path;
  layout_ = info.layout;
  damaged_ = info.damaged;
  return info.layout;
}

void ArchiveIndex::SetNewPath(const std::string& path) {
  FreeIndex();
  path_ = FileBehindLinks(path).string();
  layout_ = kCannotOpen;
  damaged_ = false;
}

namespace {

struct FileIdentity {
  unsigned long long device = 0, inode = 0;
  std::int64_t time = 0, size = -1;
};

FileIdentity IdentityOf(const std::string& path) {
  FileIdentity id;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return id;
  id.device = st.st_dev;
  id.inode = st.st_ino;
  id.time = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  id.size = st.st_size;
  return id;
}

void TellChangedElsewhere(const std::string& path) {
  ShowMessage(kMsgArchiveChangedElsewhere,
              GetMessageText(kMsgArchiveChangedElsewhere) + "\n" + platform::Utf8ToCp1251(path),
              platform::Icon::Information);
}

}  // namespace

void ArchiveIndex::RefreshFileTime() {
  const FileIdentity id = IdentityOf(path_);
  fileDevice_ = id.device;
  fileInode_ = id.inode;
  fileTime_ = id.time;
  fileSize_ = id.size;
}

bool ArchiveIndex::IsCurrent() const {
  // Any commit replaces the file (a new inode); the time and size tell a file changed in place.
  const FileIdentity id = IdentityOf(path_);
  return !stale_ && id.size >= 0 && id.device == fileDevice_ && id.inode == fileInode_ &&
         id.time == fileTime_ && id.size == fileSize_ && !RecordLeft();
}

bool ArchiveIndex::RecordLeft() const {
  struct stat st {};
  return !path_.empty() && ::lstat(CommitIntentPath(path_).c_str(), &st) == 0;
}

bool ArchiveIndex::ReadAgain(bool tellRead) {
  // What a window shows stays until a reading succeeds: a list it keeps rows of is never emptied
  // under it.
  std::vector<ArchiveIndexEntry> kept = index_;
  const int count = count_, capacity = capacity_, layout = layout_;
  const bool built = indexBuilt_, damaged = damaged_;
  quiet_ = true;
  const int read = CreateIndex();
  quiet_ = false;
  if (read == 0) {
    if (tellRead) TellChangedElsewhere(path_);
    return true;
  }
  index_ = std::move(kept);
  count_ = count;
  capacity_ = capacity;
  layout_ = layout;
  indexBuilt_ = built;
  damaged_ = damaged;
  stale_ = true;
  std::error_code ec;
  const bool there = fs::exists(path_, ec) || ec;
  const int number = there ? kMsgArchiveUnreadable : kMsgArchiveGone;
  ShowMessage(number, GetMessageText(number) + "\n" + platform::Utf8ToCp1251(path_),
              platform::Icon::Warning);
  return false;
}

bool ArchiveIndex::RefuseIfDamaged() const {
  if (!damaged_) return false;
  ShowMessage(kMsgDamagedReadOnly, platform::Icon::Information);
  return true;
}

bool ArchiveIndex::RefuseUnknownLayout(int layout) {
  if (IsKnownLayout(layout)) return false;
  ShowMessage(kMsgUnknownLayout,
              GetMessageText(kMsgUnknownLayout) + " (" + std::to_string(layout) + ")",
              platform::Icon::Information);
  return true;
}

std::FILE* ArchiveIndex::Open(const ListLock& lock) {
  if (!lock.Ok() || lock.Path() != path_) return nullptr;
  std::FILE* f = OpenUnder(lock);
  if (!f) ReportStatus(Status::Error(kErrCannotOpen, path_), "Archive::Open");
  return f;
}

std::FILE* ArchiveIndex::OpenUnder(const ListLock& lock, int page) const {
  if (!lock.Ok() || lock.Path() != path_ || page < -1 || page >= kCommentPages) return nullptr;
  return OpenForReading(page < 0 ? fs::path(path_) : ArchiveCommentFileName(path_, page));
}

void ArchiveIndex::Close(std::FILE* handle) {
  if (handle) std::fclose(handle);
}

int ArchiveIndex::CommentFileExists(int k, fs::path* path) const {
  if (k < 0 || k >= kCommentPages || path_.empty()) return 0;
  const fs::path file = ArchiveCommentFileName(path_, k);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return 0;
  if (path) *path = file;
  return 1;
}

int ArchiveIndex::InitIndex(int count) {
  index_.clear();
  capacity_ = count >= 50 ? count + 200 : 100;
  index_.reserve(static_cast<std::size_t>(capacity_));
  return 1;
}

void ArchiveIndex::FreeIndex() {
  index_.clear();
  index_.shrink_to_fit();
  indexBuilt_ = false;
  stale_ = false;
  capacity_ = 0;
  count_ = 0;
}

int ArchiveIndex::ReadRecord(std::FILE* f, int layout, int n, Chart& chart, CommentRefBlock& block,
                             const char* trace) const {
  if (Status st = archive_file::ReadRecord(f, layout, n, chart, block); !st.ok()) {
    ReportStatus(Status::Error(st.ErrorCode(), path_, 1), trace);
    return -1;
  }
  return n;
}

int ArchiveIndex::CreateIndex() {
  // A commit a stopped process left half done is made whole first (it needs the folder's
  // exclusive lock); the file is then read under the shared one. A commit begun and stopped in
  // between leaves its record: it is made whole in its turn.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (HasArchiveExtension(path_) && !RecoverArchiveFiles(path_)) break;
    const ArchiveLock lock(path_, LockMode::kShared);
    if (!lock.Held()) {
      FreeIndex();
      return -1;
    }
    struct stat st {};
    if (::lstat(CommitIntentPath(path_).c_str(), &st) == 0) continue;
    return ReadIndex();
  }
  if (!quiet_) ReportStatus(Status::Error(kErrCannotOpen, path_), "Archive::CreateIndex");
  FreeIndex();
  return -1;
}

int ArchiveIndex::ReadIndex() {
  RefreshFileTime();
  const ArchiveFileInfo info = InspectArchiveFileAsIs(path_);
  // A file there that cannot be read now (armed by tests, which may run as the superuser).
  std::FILE* f = InjectedReadFault(path_) ? nullptr : OpenForReading(path_);
  if (!f) {
    if (!quiet_) ReportStatus(Status::Error(kErrCannotOpen, path_), "Archive::CreateIndex");
    FreeIndex();
    return -1;
  }
  if (!IsKnownLayout(info.layout)) {
    std::fclose(f);
    if (!quiet_) ReportStatus(Status::Error(kErrRead, path_), "Archive::CreateIndex");
    layout_ = kNotArchive;
    FreeIndex();
    return -1;
  }
  layout_ = info.layout;
  damaged_ = info.damaged;
  InitIndex(static_cast<int>(info.records));
  const Status st = archive_file::ReadIndex(f, info, *progress_, index_);
  std::fclose(f);
  if (!st.ok()) {
    if (!quiet_)
      ReportStatus(Status::Error(st.ErrorCode(), path_, st.Detail()), "Archive::CreateIndex");
    FreeIndex();
    return -1;
  }
  count_ = static_cast<int>(index_.size());
  indexBuilt_ = true;
  stale_ = false;
  ++readings_;
  return 0;
}

void ArchiveIndex::SetSingleRecord(int layout, const ArchiveIndexEntry& entry) {
  layout_ = layout;
  damaged_ = false;
  InitIndex(0);
  index_.push_back(entry);
  count_ = 1;
  indexBuilt_ = true;
  stale_ = false;
}

int ArchiveIndex::HasComments(int n) const {
  if (n < 0 || n >= count_) return 0;
  return Entry(n).comments.HasAnyText() ? 1 : 0;
}

void ArchiveIndex::ClearMarks() {
  for (ArchiveIndexEntry& e : index_) e.mark = 'N';
}

void ArchiveIndex::MarkAll() {
  for (ArchiveIndexEntry& e : index_) e.mark = 'Y';
}

void ArchiveIndex::InvertMarks() {
  for (ArchiveIndexEntry& e : index_) e.mark = e.IsSelected() ? 'N' : 'Y';
}

int ArchiveIndex::MarkedCount() const {
  return static_cast<int>(
      std::count_if(index_.begin(), index_.end(), [](const auto& e) { return e.IsSelected(); }));
}

int ArchiveIndex::FindByInitial(char c) const {
  for (int n = 0; n < count_; ++n)
    if (!Entry(n).name.empty() && Entry(n).name[0] == c) return n;
  return -1;
}

int ArchiveIndex::NeedsOrdering() const {
  for (int n = 1; n < count_; ++n)
    if (CompareStrings(Entry(n).name, Entry(n - 1).name, kNameCompareLength, true,
                       Collation::kLatinFirst) == kCompareLess)
      return 1;
  return 0;
}

bool ArchiveIndex::IndexMatchesFile(const char* trace) {
  // Another copy of the program changed the file since the index was read, or stopped inside
  // its commit: the list is read again, never acted on.
  if (indexBuilt_ && !IsCurrent()) {
    ReadAgain();
    return false;
  }
  // A damaged file's index lists the records that loaded, which may be fewer than the file holds.
  const std::int64_t records = InspectArchiveFileAsIs(path_).records;
  if (indexBuilt_ && (records == count_ || (damaged_ && records > count_)) &&
      static_cast<int>(index_.size()) == count_)
    return true;
  ReportStatus(Status::Error(kErrFormat, path_, 2), trace);
  return false;
}

int ArchiveIndex::RewriteInOrder(const std::vector<int>& order, const char* trace) {
  FileTransaction tx;
  ArchiveRewrite rewrite(path_, tx, trace);
  if (!rewrite.Ok()) return -1;
  const Status st = archive_file::WriteRecordsInOrder(rewrite.In(), layout_, order, rewrite.Out());
  return FinishRewrite(st.ok(), tx, trace, 1, 2);
}

void ArchiveIndex::ReorderIndex(const std::vector<int>& order) {
  std::vector<ArchiveIndexEntry> ordered;
  ordered.reserve(index_.capacity());
  for (int n : order) ordered.push_back(index_[static_cast<std::size_t>(n)]);
  index_ = std::move(ordered);
  ClearMarks();
  RefreshFileTime();
}
