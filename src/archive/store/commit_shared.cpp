#include "archive/store/commit_shared.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

// The folder locks this process holds, one handle per folder: flock conflicts between two
// handles of one process, and closing any handle of a file drops every fcntl lock of the process
// on it. Within the process, the thread holding a folder exclusive is its owner; shared holds are
// counted per thread.
struct HeldLock {
  int folder = -1;  // the folder's handle
  int locked = -1;  // the handle locked: the folder's, or the fcntl lock file's
  int exclusive = 0;
  std::thread::id owner;
  std::map<std::thread::id, int> shared;
};
std::mutex g_heldMutex;
std::map<std::pair<dev_t, ino_t>, HeldLock> g_held;

constexpr const char* kFcntlLockName = ".velm-folder.lock";

enum class Taken { kTaken, kBusy, kRefused };

// The lock of the folder `dir` in `mode` through the file system: flock, else an fcntl lock of
// the folder's lock file (`locked` is then that file's handle).
Taken LockFolder(int dir, LockMode mode, int& locked) {
  locked = dir;
  if (InjectedNoLock()) return Taken::kRefused;
  if (::flock(dir, (mode == LockMode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
    return Taken::kTaken;
  if (errno == EWOULDBLOCK) return Taken::kBusy;
  // Some network file systems refuse flock but keep fcntl locks. The lock file is never a link,
  // nor a second name of another file.
  const int fd = ::openat(dir, kFcntlLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  struct stat st {};
  if (fd < 0) return Taken::kRefused;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) {
    ::close(fd);
    return Taken::kRefused;
  }
  struct flock range {};
  range.l_type = mode == LockMode::kExclusive ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  if (::fcntl(fd, F_SETLK, &range) == 0) {
    locked = fd;
    return Taken::kTaken;
  }
  const bool busy = errno == EAGAIN || errno == EACCES;
  ::close(fd);
  return busy ? Taken::kBusy : Taken::kRefused;
}

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
  for (;;) {
    {
      const std::lock_guard lock(g_heldMutex);
      auto it = g_held.find(key);
      if (it != g_held.end()) {
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
      } else {
        int locked = -1;
        const Taken taken = LockFolder(fd, mode, locked);
        if (taken == Taken::kRefused) {
          unlockable_ = true;
          ownHandle_ = true;
          fd_ = fd;
          return;
        }
        if (taken == Taken::kTaken) {
          HeldLock held{fd, locked, 0, me, {}};
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
      }
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
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
      if (held.locked != held.folder) {
        ::close(held.locked);  // drops the fcntl lock
      } else {
        ::flock(held.folder, LOCK_UN);
      }
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

void TellOnce(int number, const std::string& detail) {
  static std::mutex mutex;
  static std::set<std::string> told;
  std::string text = GetMessageText(number);
  if (!detail.empty()) text += "\n" + detail;
  {
    const std::lock_guard lock(mutex);
    if (!told.insert(text).second) return;
  }
  platform::GetPrompter().ShowMessage(number, text, platform::Icon::Warning);
}

void TellArchiveBusy(const fs::path& archive) {
  platform::GetPrompter().ShowMessage(
      kMsgArchiveBusy,
      GetMessageText(kMsgArchiveBusy) + "\n" + platform::Utf8ToCp1251(archive.native()),
      platform::Icon::Information);
}

}  // namespace commit_detail
