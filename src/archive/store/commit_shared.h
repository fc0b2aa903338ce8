// What the commit of several files (file_transaction.cpp) and the recovery of a stopped one
// (commit_recovery.cpp) share: the lock of the folder they change, and the file system's calls
// made on bare names through that folder's handle, never following a link.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// How an archive's folder is locked: shared while reading, exclusive while changing.
enum class LockMode { kShared, kExclusive };

namespace commit_detail {

// Why a folder's lock cannot be had in the mode asked (FolderLock::Refusal).
enum class LockRefusal {
  kNone,
  kNoLocks,    // the file system gives no locks, or no lock file can be made there
  kReadOnly,   // this user may not change the folder's files: it is locked shared only
  kNameInWay,  // under the lock file's name lies what this user cannot lock: a folder, a pipe, a
               // link, or a file this user may not open (another user's); its owner removes it
};

// The lock of a folder's archives: an fcntl lock of the open file description of the folder's
// lock file ".velm-folder.lock" (made at the first lock and kept), which NFS and SMB forward to
// their server, beside flock on the folder itself, which keeps out a copy of an earlier release.
// The lock file is made writable by whoever may change the folder's files (by the folder's own
// bits, owner and group) and readable by every user: a shared lock needs it open for reading
// only, an exclusive one for writing, and a user who may not change the folder's files never
// locks it exclusive. After locking, the file under the name is checked to be the one locked
// (the same regular file; a second name, as a hard-link backup of the folder gives it, is still
// the lock), else it is locked again. Exclusive while an operation changes an archive there (from
// its check of the archive against its index to the end of its commit), and while a stopped
// commit is recovered or leftovers are cleaned; shared while an archive and its comment files are
// read. A second copy of the program (or another thread) waits up to `wait`, then finds it busy.
// The thread holding it exclusive may take it again in either mode; a shared holder may take it
// shared again, never exclusive (a conversion of a lock is not atomic). Where the lock file
// cannot be had for reading, a read holds the folder's flock alone on a local file system; on a
// share, and for a change, the folder is then Unlockable(), and Refusal() says why. The folder is
// open as its handle even when it cannot be locked at all; `Held()` is then false.
class FolderLock {
 public:
  FolderLock(const std::filesystem::path& folder, std::chrono::milliseconds wait,
             LockMode mode = LockMode::kExclusive);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return held_; }
  // Another copy (or thread) held it for the whole wait.
  bool Busy() const { return busy_; }
  // Busy, and at the end of the wait the holders only read.
  bool BusyReading() const { return busy_ && busyReading_; }
  // No lock of this folder can be had in this mode; Refusal() says why.
  bool Unlockable() const { return unlockable_; }
  LockRefusal Refusal() const { return refusal_; }
  // The owner of what lies under the lock file's name (LockRefusal::kNameInWay).
  uid_t InTheWayOwner() const { return inTheWayOwner_; }
  // This hold is not within another of this thread's: no operation of this process is under way
  // in the folder.
  bool Outermost() const { return outermost_; }
  // The folder's handle, for the calls below (-1 when the folder cannot be opened).
  int Folder() const { return fd_; }

 private:
  void Release();
  int fd_ = -1;
  bool held_ = false;
  bool busy_ = false;
  bool busyReading_ = false;
  bool unlockable_ = false;
  bool outermost_ = false;
  bool ownHandle_ = false;  // fd_ is not the shared handle of the held lock
  LockRefusal refusal_ = LockRefusal::kNone;
  uid_t inTheWayOwner_ = 0;
  LockMode mode_ = LockMode::kExclusive;
};

// How long a commit waits for another copy's commit to end.
inline constexpr std::chrono::milliseconds kCommitWait{2000};

std::filesystem::path FolderOf(const std::filesystem::path& path);
void FlushFolder(int folder);

// Calls on a bare name of the folder `dir`; links are never followed.
bool ExistsAt(int dir, const std::string& name);
// The same file under both names (a backup still linked to the file in place).
bool SameFileAt(int dir, const std::string& a, const std::string& b);
// A regular file's size and checksum as a commit records its new content (CommitRecordItem::
// created); empty when it cannot be read.
std::string FingerprintAt(int dir, const std::string& name);
// Two regular files of the same size and checksum (a backup copied apart from its file, as a copy
// of the folder that keeps no hard links leaves it).
bool SameBytesAt(int dir, const std::string& a, const std::string& b);
// The user's own regular file (or, with linkToo, a link: the backup of a deleted link).
bool OwnFileAt(int dir, const std::string& name, bool linkToo = false);
// Renames and removals of the commit and the recovery, each counted by the fault injection.
bool RenameAt(int dir, const std::string& from, const std::string& to);
bool UnlinkAt(int dir, const std::string& name);
// A removal of the clean-up (a record, a backup, a leftover), not counted.
bool RemoveAt(int dir, const std::string& name);
// Writes `text` under `name` whole and on the disk (a temporary file renamed over it), or
// nothing; false on failure. `written` is called once the temporary file is on the disk.
bool WriteWholeAt(int dir, const std::string& name, const std::string& text,
                  const std::function<void()>& written = {});
// The hidden names of the folder.
std::vector<std::string> HiddenNamesAt(int dir);

// A path as a message shows it (code page 1251).
std::string Shown(const std::filesystem::path& path);
// The user `uid` as a message names the owner of a file: "name (uid N)", or "uid N" for a user
// this system does not know (code page 1251).
std::string OwnerShown(uid_t uid);
// Shows message `number` with `detail` beneath it, once per process for the same text.
void TellOnce(int number, const std::string& detail);
// The message of a lock refused (`lock` Unlockable) for `archive`: kMsgFolderCannotLock naming the
// archive, kMsgFolderReadOnly naming it, or kMsgLockNameInTheWay naming the lock file and the user
// who must remove what lies there. Each time for a change it refuses, once per text for a read that
// goes on.
void TellLockRefused(const FolderLock& lock, const std::filesystem::path& archive, LockMode mode);
// Message kMsgArchiveBusy naming the archive: another copy of the program kept its folder's lock
// for the whole wait; kMsgArchiveBeingRead when, `reading`, it only reads the archive.
void TellArchiveBusy(const std::filesystem::path& archive, bool reading = false);

}  // namespace commit_detail
