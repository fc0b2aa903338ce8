#include "archive/store/commit_shared.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <utility>

#include "archive/store/commit_record.h"
#include "foundation/files/leftover_names.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace commit_detail {

namespace {

// The folder locks this process holds, one handle per folder: flock and the lock file's fcntl
// lock both conflict between two handles of one process. Within the process, the thread holding a
// folder exclusive is its owner; shared holds are counted per thread.
struct HeldLock {
  int folder = -1;  // the folder's handle
  int file = -1;    // the lock file's handle, -1 where the folder's flock alone holds it
  bool flocked = false;
  int exclusive = 0;
  std::thread::id owner;
  std::map<std::thread::id, int> shared;
};
std::mutex g_heldMutex;
std::map<std::pair<dev_t, ino_t>, HeldLock> g_held;

enum class Taken { kTaken, kBusy, kRefused };

// How many times a lock file found replaced under its name right after it was locked is locked
// again under the name.
constexpr int kRelockTries = 4;

// Whether the folder `dir` lies on a file system that other computers share: there the folder's
// flock is kept by this computer alone.
bool OnShare(int dir) {
  struct statfs info {};
  if (::fstatfs(dir, &info) != 0) return true;
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE
    case 0x01021997:  // 9P
    case 0x00C36400:  // Ceph
    case 0x5346414F:  // AFS
      return true;
    default:
      return false;
  }
}

// The lock file under its name in `dir` is the one open as `file`: the same regular file. A
// second name of it (a hard-link backup of the folder) leaves it the folder's lock: every copy
// opens it by this name.
bool StillNamed(int dir, int file) {
  struct stat opened {
  }, named{};
  return ::fstat(file, &opened) == 0 &&
         ::fstatat(dir, std::string(kFolderLockName).c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(named.st_mode) && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Whether this user may change the files of the folder `dir` (write and enter it), by the
// system's own check (bits, access lists, a read-only file system).
bool MayChange(int dir) { return ::faccessat(dir, ".", W_OK | X_OK, AT_EACCESS) == 0; }

// One copy's try at the lock of the folder `dir`: the folder's flock, which keeps out a copy of an
// earlier release (it locks only that way) but which NFS and SMB keep on each computer alone, and
// an fcntl lock of the open file description of the folder's lock file, which they forward to the
// server. A copy waiting for the lock keeps its handle of the lock file between tries.
struct FolderLocking {
  int dir = -1;
  int file = -1;  // the lock file's handle
  bool flocked = false;
  bool readers = false;                      // after kBusy: the other holders only read
  LockRefusal refusal = LockRefusal::kNone;  // after kRefused: why
  uid_t inTheWayOwner = 0;  // the owner of what lies under the lock file's name (kNameInWay)

  Taken Try(LockMode mode) {
    readers = false;
    refusal = LockRefusal::kNoLocks;
    if (InjectedNoLock()) return Taken::kRefused;
    const bool exclusive = mode == LockMode::kExclusive;
    // A user who may not change the folder's files never holds it exclusive: a lock file open to
    // such a user for writing (to every user, as an earlier release made it) would let that copy
    // keep out every user who may.
    if (exclusive && !MayChange(dir)) {
      refusal = LockRefusal::kReadOnly;
      return Taken::kRefused;
    }
    if (!InjectedLocalFlock()) {
      if (::flock(dir, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
        flocked = true;
      } else if (errno == EWOULDBLOCK) {
        readers = exclusive && OpenFile(true) && OnlyReaders();
        return Taken::kBusy;
      }
    }
    for (int tries = 0; tries < kRelockTries; ++tries) {
      if (!OpenFile(exclusive)) {
        // No lock file this user can open, and none can be made (a folder this user cannot write,
        // another user's name in the way): a read there is kept from a change of this computer's
        // copies by the flock, which every copy takes.
        const bool taken = !exclusive && flocked && !OnShare(dir);
        if (!taken) Unflock();
        return taken ? Taken::kTaken : Taken::kRefused;
      }
      struct flock range {};
      range.l_type = exclusive ? F_WRLCK : F_RDLCK;
      range.l_whence = SEEK_SET;
      if (::fcntl(file, F_OFD_SETLK, &range) != 0) {
        const bool busy = errno == EAGAIN || errno == EACCES;
        readers = busy && exclusive && OnlyReaders();
        if (!busy) CloseFile();
        Unflock();
        return busy ? Taken::kBusy : Taken::kRefused;
      }
      // Renamed over or removed since it was opened: the file under the name is the lock now.
      if (StillNamed(dir, file)) return Taken::kTaken;
      CloseFile();
    }
    Unflock();
    return Taken::kBusy;
  }

  // The lock file open, for writing to lock it exclusive, else for reading (a shared lock needs
  // no more), made when missing. What lies under the name is looked at before it is opened: a
  // folder, a pipe or a link is never opened, nor followed. False when it cannot be, `refusal`
  // saying why.
  bool OpenFile(bool write) {
    if (file >= 0) return true;
    const std::string name(kFolderLockName);
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    struct stat named {};
    if (::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) return false;
      file = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_EXCL | flags, 0600);
      if (file >= 0) {
        GiveToFolder();
        return true;
      }
      // None can be made here, or another copy made it meanwhile.
      if (errno != EEXIST || ::fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    }
    bool refused = !S_ISREG(named.st_mode);
    if (!refused) {
      file = ::openat(dir, name.c_str(), (write ? O_RDWR : O_RDONLY) | flags);
      refused = file < 0 && errno == EACCES;
      // Replaced since it was looked at: what was opened decides.
      struct stat opened {};
      if (file >= 0 && (::fstat(file, &opened) != 0 || !S_ISREG(opened.st_mode))) {
        CloseFile();
        refused = true;
        named = opened;
      }
    }
    if (refused) {
      refusal = LockRefusal::kNameInWay;
      inTheWayOwner = named.st_uid;
    }
    return file >= 0;
  }
  // The lock file just made, open as `file`: writable by whoever may change the folder's files (by
  // the folder's bits: its owner, and its group or every user where they may write it), readable
  // by every user, whatever this user's umask. Its group is the folder's where the group may
  // write (a folder without the setgid bit gives the maker's own), and its owner the folder's (a
  // copy run by the administrator): each where this user may give them.
  void GiveToFolder() const {
    struct stat folder {};
    if (::fstat(dir, &folder) != 0) return;
    if ((folder.st_mode & S_IWGRP) != 0 &&
        ::fchown(file, static_cast<uid_t>(-1), folder.st_gid) != 0) {
      // Not a member of the folder's group: the group keeps the maker's.
    }
    if ((folder.st_mode & S_IWUSR) != 0 && folder.st_uid != ::geteuid() &&
        ::fchown(file, folder.st_uid, static_cast<gid_t>(-1)) != 0) {
      // Only the administrator gives a file away.
    }
    ::fchmod(file, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH | (folder.st_mode & (S_IWGRP | S_IWOTH)));
  }
  void CloseFile() {
    if (file >= 0) ::close(file);  // drops its lock
    file = -1;
  }
  void Unflock() {
    if (flocked) ::flock(dir, LOCK_UN);
    flocked = false;
  }
  // Whether the holders that keep an exclusive lock out hold it only to read.
  bool OnlyReaders() const {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    return ::fcntl(file, F_OFD_GETLK, &probe) == 0 && probe.l_type == F_RDLCK;
  }
};

}  // namespace

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait, LockMode mode)
    : mode_(mode) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0) return;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return;
  }
  const auto key = std::pair{st.st_dev, st.st_ino};
  const auto me = std::this_thread::get_id();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  FolderLocking locking{fd};
  for (;;) {
    {
      const std::lock_guard lock(g_heldMutex);
      auto it = g_held.find(key);
      if (it != g_held.end()) {
        locking.CloseFile();  // a handle of this process's held lock file: its lock stays
        HeldLock& held = it->second;
        const bool mine = held.exclusive > 0 && held.owner == me;
        const bool sharedOnly = held.exclusive == 0;
        if (mine || (sharedOnly && mode == LockMode::kShared)) {
          if (mode == LockMode::kExclusive)
            ++held.exclusive;
          else
            outermost_ = held.shared[me]++ == 0 && !mine;
          fd_ = held.folder;
          held_ = true;
          ::close(fd);
          return;
        }
        // A conversion of this thread's shared hold would let another copy in between.
        if (sharedOnly && held.shared.contains(me)) {
          ::close(fd);
          return;
        }
        busyReading_ = sharedOnly;
      } else {
        const Taken taken = locking.Try(mode);
        if (taken == Taken::kRefused) {
          unlockable_ = true;
          refusal_ = locking.refusal;
          inTheWayOwner_ = locking.inTheWayOwner;
          ownHandle_ = true;
          fd_ = fd;
          return;
        }
        if (taken == Taken::kTaken) {
          HeldLock held{fd, locking.file, locking.flocked, 0, me, {}};
          if (mode == LockMode::kExclusive)
            held.exclusive = 1;
          else
            held.shared[me] = 1;
          g_held[key] = std::move(held);
          fd_ = fd;
          held_ = true;
          outermost_ = true;
          return;
        }
        busyReading_ = locking.readers;
      }
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  locking.CloseFile();
  ::close(fd);
  busy_ = true;
}

FolderLock::~FolderLock() { Release(); }

void FolderLock::Release() {
  if (ownHandle_) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return;
  }
  if (!held_) return;
  const std::lock_guard lock(g_heldMutex);
  const auto me = std::this_thread::get_id();
  for (auto it = g_held.begin(); it != g_held.end(); ++it) {
    HeldLock& held = it->second;
    if (held.folder != fd_) continue;
    if (mode_ == LockMode::kExclusive) {
      --held.exclusive;
    } else if (auto mine = held.shared.find(me); mine != held.shared.end() && --mine->second == 0) {
      held.shared.erase(mine);
    }
    if (held.exclusive == 0 && held.shared.empty()) {
      if (held.file >= 0) ::close(held.file);  // drops the lock file's lock
      if (held.flocked) ::flock(held.folder, LOCK_UN);
      ::close(held.folder);
      g_held.erase(it);
    }
    break;
  }
  held_ = false;
  fd_ = -1;
}

fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

void FlushFolder(int folder) { ::fsync(folder); }

bool ExistsAt(int dir, const std::string& name) {
  struct stat st {};
  return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool SameFileAt(int dir, const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::fstatat(dir, a.c_str(), &sa, AT_SYMLINK_NOFOLLOW) == 0 &&
         ::fstatat(dir, b.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::string FingerprintAt(int dir, const std::string& name) {
  const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  std::uint64_t hash = kFnv1aStart;
  unsigned long long size = 0;
  bool read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  // FNV-1a taken a word at a time (eight times fewer steps: an archive of 50 MB is read in a few
  // milliseconds); each block is filled whole but at the file's end, so that the words are the
  // same however the reads fall, and the bytes after the last whole word go one by one.
  char buffer[65536];
  for (bool end = false; read && !end;) {
    std::size_t filled = 0;
    while (filled < sizeof buffer) {
      const ssize_t n = ::read(fd, buffer + filled, sizeof buffer - filled);
      if (n <= 0) {
        read = n == 0;
        end = true;
        break;
      }
      filled += static_cast<std::size_t>(n);
    }
    std::size_t i = 0;
    for (; i + 8 <= filled; i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, buffer + i, 8);
      hash = (hash ^ word) * 1099511628211ull;
    }
    hash = Fnv1a(hash, std::string_view(buffer + i, filled - i));
    size += filled;
  }
  ::close(fd);
  if (!read) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%llu-%016llx", size, static_cast<unsigned long long>(hash));
  return text;
}

bool SameBytesAt(int dir, const std::string& a, const std::string& b) {
  const std::string first = FingerprintAt(dir, a);
  return !first.empty() && first == FingerprintAt(dir, b);
}

bool OwnFileAt(int dir, const std::string& name, bool linkToo) {
  struct stat st {};
  return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_uid == ::geteuid() &&
         (S_ISREG(st.st_mode) || (linkToo && S_ISLNK(st.st_mode)));
}

bool RenameAt(int dir, const std::string& from, const std::string& to) {
  return !InjectFileFault(FileOperation::kRename) &&
         ::renameat(dir, from.c_str(), dir, to.c_str()) == 0;
}

bool UnlinkAt(int dir, const std::string& name) {
  return !InjectFileFault(FileOperation::kRemove) && ::unlinkat(dir, name.c_str(), 0) == 0;
}

bool RemoveAt(int dir, const std::string& name) {
  return !InjectedNoRemoval() && ::unlinkat(dir, name.c_str(), 0) == 0;
}

bool WriteWholeAt(int dir, const std::string& name, const std::string& text,
                  const std::function<void()>& written) {
  static std::mt19937 random{std::random_device{}()};
  static std::mutex randomMutex;
  std::string temp = TemporaryNamePattern(name);
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    {
      const std::lock_guard lock(randomMutex);
      static constexpr char kLetters[] =
          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
      for (std::size_t i = temp.size() - 6; i < temp.size(); ++i)
        temp[i] = kLetters[random() % (sizeof kLetters - 1)];
    }
    if (InjectFileFault(FileOperation::kCreate)) return false;
    fd = ::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  int error = 0;
  const std::size_t allowed = InjectWriteFault(text.size(), error);
  bool good = !InjectFileFault(FileOperation::kWrite) && allowed == text.size() &&
              ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  good = good && !InjectedDiskFull() && !InjectFileFault(FileOperation::kFsync) && ::fsync(fd) == 0;
  good = ::close(fd) == 0 && good;
  if (good && written) written();
  if (!good || !RenameAt(dir, temp, name)) {
    RemoveAt(dir, temp);
    return false;
  }
  FlushFolder(dir);
  return true;
}

std::vector<std::string> HiddenNamesAt(int dir) {
  std::vector<std::string> names;
  const int copy = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (copy < 0) return names;
  DIR* folder = ::fdopendir(copy);
  if (!folder) {
    ::close(copy);
    return names;
  }
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() > 2 && name[0] == '.') names.push_back(name);  // hidden, not "." or ".."
  }
  ::closedir(folder);
  return names;
}

std::string Shown(const fs::path& path) { return platform::Utf8ToCp1251(path.native()); }

std::string OwnerShown(uid_t uid) {
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
  struct passwd entry {};
  struct passwd* found = nullptr;
  const std::string number = "uid " + std::to_string(uid);
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_name == nullptr || found->pw_name[0] == '\0')
    return number;
  return platform::Utf8ToCp1251(found->pw_name) + " (" + number + ")";
}

namespace {

// Shows message `number` as `text`, once per process for the same text.
void ShowOnce(int number, const std::string& text) {
  static std::mutex mutex;
  static std::set<std::string> told;
  {
    const std::lock_guard lock(mutex);
    if (!told.insert(text).second) return;
  }
  platform::GetPrompter().ShowMessage(number, text, platform::Icon::Warning);
}

}  // namespace

void TellOnce(int number, const std::string& detail) {
  std::string text = GetMessageText(number);
  if (!detail.empty()) text += "\n" + detail;
  ShowOnce(number, text);
}

void TellLockRefused(const FolderLock& lock, const fs::path& archive, LockMode mode) {
  int number = kMsgFolderCannotLock;
  if (lock.Refusal() == LockRefusal::kReadOnly) number = kMsgFolderReadOnly;
  if (lock.Refusal() == LockRefusal::kNameInWay) number = kMsgLockNameInTheWay;
  std::string text = GetMessageText(number);
  if (number == kMsgLockNameInTheWay) {
    if (const auto at = text.find("%s"); at != std::string::npos)
      text.replace(at, 2, OwnerShown(lock.InTheWayOwner()));
    text += "\n" + Shown(FolderOf(archive) / kFolderLockName);
  } else {
    text += "\n" + Shown(archive);
  }
  if (mode == LockMode::kShared)
    ShowOnce(number, text);
  else
    platform::GetPrompter().ShowMessage(number, text, platform::Icon::Warning);
}

void TellArchiveBusy(const fs::path& archive, bool reading) {
  const int number = reading ? kMsgArchiveBeingRead : kMsgArchiveBusy;
  platform::GetPrompter().ShowMessage(
      number, GetMessageText(number) + "\n" + platform::Utf8ToCp1251(archive.native()),
      platform::Icon::Information);
}

}  // namespace commit_detail
