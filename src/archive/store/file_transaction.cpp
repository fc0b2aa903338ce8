#include "archive/store/file_transaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include "archive/store/commit_record.h"
#include "archive/store/commit_recovery.h"
#include "archive/store/commit_shared.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/leftover_names.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace commit_detail;

namespace {

std::atomic<CommitStepHook> g_stepHook{nullptr};

// Calls the test's step hook with `step`, then counts it.
void Step(int& step) {
  if (CommitStepHook hook = g_stepHook.load()) hook(step);
  ++step;
}

// The identity of an archive's folder, for the order in which two folders are locked.
std::pair<dev_t, ino_t> FolderKey(const fs::path& archive) {
  struct stat st {};
  if (::stat(FolderOf(archive).c_str(), &st) != 0) return {0, 0};
  return {st.st_dev, st.st_ino};
}

void TellBackupsKept(const fs::path& folder, const std::vector<std::string>& kept) {
  std::string text = GetMessageText(kMsgBackupsKept);
  for (const std::string& name : kept) text += "\n" + Shown(folder / name);
  platform::GetPrompter().ShowMessage(kMsgBackupsKept, text, platform::Icon::Warning);
}

// Runs its action when the scope ends.
template <typename F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

// A copy of `from` under the new name `to`, whole on the disk, where hard links are not possible.
bool CopyAt(int dir, const std::string& from, const std::string& to) {
  const int in = ::openat(dir, from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (in < 0) return false;
  const int out =
      ::openat(dir, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  bool good = out >= 0;
  char buffer[65536];
  for (ssize_t got; good && (got = ::read(in, buffer, sizeof buffer)) != 0;)
    good = got > 0 && ::write(out, buffer, static_cast<std::size_t>(got)) == got;
  ::close(in);
  if (out >= 0) {
    good = ::fsync(out) == 0 && good;
    good = ::close(out) == 0 && good;
    if (!good) RemoveAt(dir, to);
  }
  return good;
}

// Keeps the file `name` under a new backup name, returned (empty on failure): a hard link, or a
// copy where links are not possible. A name taken (a leftover of an earlier process of the same
// number) moves on to the next count, a few times at most.
std::string MakeBackup(int dir, const std::string& name) {
  static std::atomic<unsigned> counter{0};
  if (InjectFileFault(FileOperation::kRename)) return {};
  for (int tries = 0; tries < 16; ++tries) {
    std::string backup = BackupNameOf(name, ++counter);
    if (::linkat(dir, name.c_str(), dir, backup.c_str(), 0) == 0) return backup;
    if (errno == EEXIST || ExistsAt(dir, backup)) continue;
    return CopyAt(dir, name, backup) ? backup : std::string();
  }
  return {};
}

}  // namespace

void SetCommitStepHook(CommitStepHook hook) { g_stepHook = hook; }

ArchiveLock::ArchiveLock(const fs::path& archive, LockMode mode) { held_ = Take(archive, mode); }

ArchiveLock::ArchiveLock(const fs::path& first, LockMode firstMode, const fs::path& second,
                         LockMode secondMode) {
  const auto a = FolderKey(first), b = FolderKey(second);
  if (a == b && a != std::pair<dev_t, ino_t>{0, 0}) {
    const bool exclusive = firstMode == LockMode::kExclusive || secondMode == LockMode::kExclusive;
    held_ = Take(second, exclusive ? LockMode::kExclusive : LockMode::kShared);
  } else if (a < b) {
    held_ = Take(first, firstMode) && Take(second, secondMode);
  } else {
    held_ = Take(second, secondMode) && Take(first, firstMode);
  }
}

ArchiveLock::~ArchiveLock() {
  while (!locks_.empty()) locks_.pop_back();  // let go in the reverse order
}

bool ArchiveLock::Take(const fs::path& archive, LockMode mode) {
  auto lock = std::make_unique<FolderLock>(FolderOf(archive), kCommitWait, mode);
  if (lock->Busy()) TellArchiveBusy(archive, lock->BusyReading());
  const bool unlockable = lock->Unlockable();
  if (unlockable) TellLockRefused(*lock, archive, mode);
  // Refused at once while the folder is there: this thread holds it shared and asked for it
  // exclusive, which would let another copy in between. A fault of the program, never of the
  // user's files: reported, and the action not done.
  std::error_code ec;
  if (!lock->Held() && !lock->Busy() && !unlockable && fs::is_directory(FolderOf(archive), ec))
    ReportError(kErrParameter, "ArchiveLock", 1);
  const bool held = lock->Held() || (unlockable && mode == LockMode::kShared);
  locks_.push_back(std::move(lock));
  return held;
}

fs::path CommitIntentPath(const fs::path& anchor) {
  return FolderOf(anchor) / CommitRecordName(anchor.filename().string());
}

SafeRewrite& FileTransaction::Rewrite(const fs::path& target) {
  for (Item& item : items_)
    if (item.rewrite && item.given == target) return *item.rewrite;
  // New content replaces an earlier removal of the same file.
  std::erase_if(items_, [&](const Item& i) { return !i.rewrite && i.given == target; });
  Item item;
  item.given = target;
  item.name = target.filename().string();
  item.rewrite = std::make_unique<SafeRewrite>(target);
  items_.push_back(std::move(item));
  return *items_.back().rewrite;
}

void FileTransaction::Remove(const fs::path& target) {
  Item item;
  item.given = target;
  item.name = target.filename().string();
  items_.push_back(std::move(item));
}

bool FileTransaction::Rewrites(const fs::path& target) const {
  for (const Item& item : items_)
    if (item.rewrite && item.given == target) return true;
  return false;
}

Status FileTransaction::Commit() {
  int step = 0;
  Step(step);
  for (Item& item : items_) {
    if (item.rewrite && item.rewrite->TempPath().empty())
      return Status::Error(kErrCannotCreate, item.given.string());
    if (item.rewrite && !item.rewrite->Ok()) return Status::Error(kErrWrite, item.given.string());
  }
  if (items_.empty()) return Status::Ok();
  // The record names the files by their names in its own folder: one archive with its comment
  // files, or one slot's page files.
  const Item* anchor = &items_.front();
  for (const Item& item : items_)
    if (IsArchiveName(item.name)) {
      anchor = &item;
      break;
    }
  const fs::path folder = FolderOf(anchor->given);
  const std::string anchorName = anchor->name;
  if (!CanAnchorCommit(anchorName)) return Status::Error(kErrParameter, anchor->given.string());
  for (const Item& item : items_)
    if (!FitsSystemCalls(item.given.native()) || FolderOf(item.given) != folder ||
        !InCommitFamily(anchorName, item.name))
      return Status::Error(kErrParameter, item.given.string());

  const FolderLock lock(folder, kCommitWait);
  // Where the folder cannot be locked, an archive is never changed; a chart's comment pages are
  // written by the one copy that holds the data folder's lock.
  const bool unlocked = lock.Unlockable() && lock.Folder() >= 0 && !IsArchiveFamilyName(anchorName);
  if (!lock.Held() && !unlocked) {
    if (lock.Busy()) TellArchiveBusy(anchor->given, lock.BusyReading());
    if (lock.Unlockable()) TellLockRefused(lock, anchor->given, LockMode::kExclusive);
    return Status::Error(kErrWrite, anchor->given.string());
  }
  const int dir = lock.Folder();
  // Every file is named in this folder and changed there: a link (or a new file begun where a
  // link led) is refused, never followed.
  std::vector<bool> existed;
  for (const Item& item : items_) {
    struct stat st {};
    const bool there = ::fstatat(dir, item.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if ((there && !S_ISREG(st.st_mode)) ||
        (item.rewrite && FolderOf(item.rewrite->TempPath()) != folder)) {
      TellOnce(kMsgCommitFileIsLink, Shown(item.given));
      return Status::Error(kErrWrite, item.given.string());
    }
    existed.push_back(there);
  }
  // Every new file whole on the disk before the record says it is there.
  for (Item& item : items_)
    if (item.rewrite)
      if (Status st = item.rewrite->Flush(); !st.ok()) return st;
  // A record a stopped commit left is made whole first; one still there could not be, and is
  // never written over. One kept for the next opening (told why) is not in the way for good.
  // An archive's new files were made from its files as they were before that commit: put over
  // its result they would mix the two, so the commit is refused and the list read again.
  const std::string record = CommitRecordName(anchorName);
  const bool archiveRecordFound = IsArchiveFamilyName(anchorName) && ExistsAt(dir, record);
  if (ExistsAt(dir, record) && !RecoverCommitRecord(folder / record))
    return Status::Error(kErrWrite, (folder / record).string());
  if (archiveRecordFound) {
    platform::GetPrompter().ShowMessage(
        kMsgArchiveChangedElsewhere,
        GetMessageText(kMsgArchiveChangedElsewhere) + "\n" + Shown(anchor->given),
        platform::Icon::Information);
    return Status::Error(kErrWrite, anchor->given.string());
  }
  if (ExistsAt(dir, record)) {
    TellOnce(kMsgCommitRecordInTheWay, Shown(folder / record));
    return Status::Error(kErrWrite, (folder / record).string());
  }
  // Whatever way the commit ends, the backups still listed go.
  const AtExit dropBackups([&] { DropBackups(dir); });
  CommitRecord intent;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    Item& item = items_[i];
    if (existed[i]) {
      item.backup = MakeBackup(dir, item.name);
      if (item.backup.empty()) return Status::Error(kErrWrite, item.given.string());
      Step(step);
    }
    CommitRecordItem recorded;
    recorded.rewrite = item.rewrite != nullptr;
    recorded.target = item.name;
    if (item.rewrite) recorded.temp = item.rewrite->TempPath().filename().string();
    recorded.backup = item.backup;
    if (item.rewrite && !existed[i]) recorded.created = FingerprintAt(dir, recorded.temp);
    intent.items.push_back(std::move(recorded));
  }
  // The commit point: the record whole on the disk.
  if (!WriteWholeAt(dir, record, FormatCommitRecord(intent), [&] { Step(step); }))
    return Status::Error(kErrWrite, (folder / record).string());
  Step(step);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    Item& item = items_[i];
    const bool done = item.rewrite ? item.rewrite->ReplaceAt(dir, item.name)
                                   : (!existed[i] || UnlinkAt(dir, item.name));
    if (!done) {
      RollBack(dir, folder, record, intent, step);
      return Status::Error(kErrWrite, item.given.string());
    }
    item.done = true;
    Step(step);
  }
  FlushFolder(dir);
  RemoveAt(dir, record);
  FlushFolder(dir);
  Step(step);
  for (Item& item : items_) {
    if (item.backup.empty()) continue;
    RemoveAt(dir, item.backup);
    item.backup.clear();
    Step(step);
  }
  return Status::Ok();
}

void FileTransaction::RollBack(int dir, const fs::path& folder, const std::string& record,
                               CommitRecord& intent, int& step) {
  bool any = false;
  for (const Item& item : items_) any = any || item.done;
  std::vector<std::string> kept;
  if (any) {
    // The way back is on the disk before its first step: a stop from here ends old.
    intent.back = true;
    if (!WriteWholeAt(dir, record, FormatCommitRecord(intent))) {
      // The record still says forward. The new files not yet in place go with this failed
      // commit (its rewrites remove them), so the next opening finds one gone while its old file
      // is in place, turns the record back and puts every old file back. It finishes the commit
      // only when no new file is missing: the failure was at a removal after every new file was
      // in, or the new files could not be removed either. Every backup stays until then.
      for (Item& item : items_)
        if (!item.backup.empty()) kept.push_back(std::exchange(item.backup, {}));
      kept.push_back(record);
      TellBackupsKept(folder, kept);
      return;
    }
    Step(step);
  }
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (!it->done) continue;
    if (!it->backup.empty()) {
      if (!RenameAt(dir, it->backup, it->name)) {
        kept.push_back(it->backup);  // kept, named in the message, for the next opening
        continue;
      }
      it->backup.clear();
    } else if (it->rewrite && !UnlinkAt(dir, it->name)) {
      kept.push_back(it->name);
      continue;
    }
    it->done = false;
    Step(step);
  }
  if (!kept.empty()) {
    // The record stays with every backup: the next opening puts the old files back.
    for (Item& item : items_) item.backup.clear();
    kept.push_back(record);
    TellBackupsKept(folder, kept);
    return;
  }
  FlushFolder(dir);
  RemoveAt(dir, record);
  FlushFolder(dir);
}

void FileTransaction::DropBackups(int dir) {
  for (Item& item : items_) {
    if (item.backup.empty()) continue;
    RemoveAt(dir, item.backup);
    item.backup.clear();
  }
}
