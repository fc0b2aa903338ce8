#include "foundation/files/data_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPortableMarker = "portable";

bool IsWritableFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

bool IsPortableFolder(const fs::path& folder) {
  if (folder.empty() || !IsWritableFolder(folder)) return false;
  const NameMatch config = FindFileIgnoringCase(folder, g_DataFileNames[kDataConfig]).match;
  std::error_code ec;
  return config == NameMatch::Exact || config == NameMatch::IgnoringCase ||
         fs::exists(folder / kPortableMarker, ec);
}

fs::path Absolute(const fs::path& p) {
  std::error_code ec;
  fs::path a = fs::absolute(p, ec);
  return ec ? p : a.lexically_normal();
}

Status CopyNewFile(const fs::path& source, const fs::path& target) {
  std::FILE* in = OpenForReading(source);
  if (!in) return Status::Error(kErrCannotOpen, source.native());
  SafeRewrite out(target);
  if (out.TempPath().empty()) {
    std::fclose(in);
    return Status::Error(kErrCannotCreate, target.native());
  }
  const bool copied = out.CopyFrom(in);
  const bool readError = std::ferror(in) != 0;
  std::fclose(in);
  if (!copied) return Status::Error(readError ? kErrRead : kErrWrite, target.native());
  return out.Commit();
}

}  // namespace

DataFolderChoice ChooseDataFolder(const DataFolderCandidates& c) {
  if (!c.commandLine.empty()) return {Absolute(c.commandLine), DataFolderOrigin::CommandLine};
  if (!c.environment.empty()) return {Absolute(c.environment), DataFolderOrigin::Environment};
  if (IsPortableFolder(c.executableFolder))
    return {Absolute(c.executableFolder), DataFolderOrigin::ExecutableFolder};
  return {Absolute(c.userDataHome / kUserDataSubfolder), DataFolderOrigin::UserData};
}

fs::path UserDataHome(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return xdgDataHome;
  if (home && *home) return fs::path(home) / ".local" / "share";
  return {};
}

fs::path ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

Status CreateDataFolder(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) return Status::Error(kErrCannotCreate, folder.native());
  return Status::Ok();
}

namespace {
constexpr std::string_view kShippedSourcesNote = "SOURCES.md";
}  // namespace

Status SeedDataFolder(const fs::path& folder, const fs::path& defaults,
                      std::vector<std::string>* copied) {
  if (Status st = CreateDataFolder(folder); !st.ok()) return st;
  std::error_code ec;
  Status first;
  for (fs::recursive_directory_iterator it(defaults, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    const fs::path relative = it->path().lexically_relative(defaults);
    // The notes on where the shipped files came from stay with the program.
    if (relative == kShippedSourcesNote) continue;
    const fs::path targetFolder = folder / relative.parent_path();
    if (FindFileIgnoringCase(folder, relative.native()).match != NameMatch::Missing) continue;
    fs::create_directories(targetFolder, fileEc);
    Status st = CopyNewFile(it->path(), targetFolder / relative.filename());
    if (st.ok()) {
      if (copied) copied->push_back(relative.native());
    } else if (first.ok()) {
      first = std::move(st);
    }
  }
  return first;
}

Status PrepareDataFolder(const DataFolderChoice& choice, const DataFolderCandidates& candidates,
                         std::vector<std::string>* copied) {
  if (choice.origin == DataFolderOrigin::UserData) {
    std::error_code ec;
    for (const fs::path& defaults : candidates.shippedDefaults) {
      if (!defaults.empty() && fs::is_directory(defaults, ec))
        return SeedDataFolder(choice.folder, defaults, copied);
    }
  }
  return CreateDataFolder(choice.folder);
}

DataFolderLock::Result DataFolderLock::Acquire(const fs::path& folder) {
  Release();
  holderPid_ = 0;
  const fs::path path = folder / g_DataFileNames[kDataLock];
  // A copy that ends removes the lock file while it still holds the lock: a copy that opened the
  // old file meanwhile finds it gone once it holds the lock itself, and tries again.
  for (int attempt = 0; attempt < 10; ++attempt) {
    // Never through a link, never a named pipe or a device: the lock file is the folder's own
    // regular file, or none.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return Result::Failed;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(fd);
      return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      if (held) {
        char text[32] = {};
        if (::pread(fd, text, sizeof text - 1, 0) > 0) holderPid_ = std::strtol(text, nullptr, 10);
      }
      ::close(fd);
      return held ? Result::HeldByAnother : Result::Failed;
    }
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || named.st_dev != opened.st_dev ||
        named.st_ino != opened.st_ino) {
      ::close(fd);
      continue;
    }
    const std::string pid = std::to_string(static_cast<long>(::getpid())) + "\n";
    if (::ftruncate(fd, 0) == 0) {
      [[maybe_unused]] const ssize_t written = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
    fd_ = fd;
    path_ = path;
    return Result::Acquired;
  }
  return Result::Failed;
}

void DataFolderLock::Release() {
  if (fd_ < 0) return;
  // Removed while still held (see Acquire), so that a copy that ended leaves no file behind.
  ::unlink(path_.c_str());
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

bool LockDataFolderOrTell(DataFolderLock& lock, const fs::path& folder) {
  switch (lock.Acquire(folder)) {
    case DataFolderLock::Result::Acquired:
      return true;
    case DataFolderLock::Result::HeldByAnother: {
      std::string text = Cp1251("Папка данных ") + platform::Utf8ToCp1251(folder.native()) +
                         Cp1251(" уже используется другой копией программы");
      if (lock.HolderPid() > 0)
        text += Cp1251(" (процесс ") + std::to_string(lock.HolderPid()) + ")";
      text +=
          Cp1251(".\nДве копии не могут работать с одной папкой данных: эта копия закрывается.");
      platform::GetPrompter().ShowMessage(platform::kNoMessage, text, platform::Icon::Warning);
      return false;
    }
    case DataFolderLock::Result::Failed:
      break;
  }
  ReportError(kErrCannotCreate,
              platform::Utf8ToCp1251((folder / g_DataFileNames[kDataLock]).native()), 0, 1);
  return true;
}
