#include "archive/store/commit_shared.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace commit_detail {

namespace {

// The folder locks this process holds: flock conflicts between two handles of one process, so a
// thread taking its own lock again shares the handle it holds.
struct HeldLock {
  int fd = -1;
  int count = 0;
  std::thread::id owner;
};
std::mutex g_heldMutex;
std::map<std::pair<dev_t, ino_t>, HeldLock> g_held;

}  // namespace

FolderLock::FolderLock(const fs::path& folder, std::chrono::milliseconds wait) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0) return;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return;
  }
  const auto key = std::pair{st.st_dev, st.st_ino};
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    {
      const std::lock_guard lock(g_heldMutex);
      auto it = g_held.find(key);
      if (it != g_held.end() && it->second.owner == std::this_thread::get_id()) {
        ++it->second.count;
        fd_ = it->second.fd;
        ::close(fd);
        return;
      }
      if (it == g_held.end()) {
        // A file system without locks commits unlocked, as it did before.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
          g_held[key] = HeldLock{fd, 1, std::this_thread::get_id()};
          fd_ = fd;
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

FolderLock::~FolderLock() {
  if (fd_ < 0) return;
  const std::lock_guard lock(g_heldMutex);
  for (auto it = g_held.begin(); it != g_held.end(); ++it) {
    if (it->second.fd != fd_) continue;
    if (--it->second.count == 0) {
      ::flock(fd_, LOCK_UN);
      ::close(fd_);
      g_held.erase(it);
    }
    return;
  }
}

fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

void FlushFolder(int folder) { ::fsync(folder); }

bool ProcessAlive(long pid) {
  if (pid <= 0 || pid > 0x3fffffff) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

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

}  // namespace commit_detail
