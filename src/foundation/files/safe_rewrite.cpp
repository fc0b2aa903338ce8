#include "foundation/files/safe_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/leftover_names.h"

namespace fs = std::filesystem;

namespace {
std::atomic<int> g_faultAt{0};
std::atomic<int> g_operations{0};
std::atomic<int> g_diskWaits{0};
thread_local RewriteBatch* t_openBatch = nullptr;

std::mutex g_readFaultMutex;
fs::path g_readFault;

bool ReadFaultArmedFor(const fs::path& path) {
  const std::lock_guard lock(g_readFaultMutex);
  return !g_readFault.empty() &&
         fs::absolute(path).lexically_normal() == fs::absolute(g_readFault).lexically_normal();
}
}  // namespace

bool InjectedReadFault(const fs::path& path) { return ReadFaultArmedFor(path); }

void ArmReadFault(const fs::path& path) {
  const std::lock_guard lock(g_readFaultMutex);
  g_readFault = path;
}

void ArmFileFault(int n) {
  g_operations = 0;
  g_faultAt = n;
}

int CountedFileOperations() { return g_operations; }

namespace {

struct ArmedFault {
  bool armed = false;
  FileFault fault;
  long long counted = 0;  // operations of the fault's kind since arming
  long long bytes = 0;    // bytes written since arming
  bool fired = false;
  bool diskFull = false;
};
std::mutex g_armedMutex;
ArmedFault g_armed;

FaultPoint PointOf(FileOperation operation) {
  switch (operation) {
    case FileOperation::kCreate:
      return FaultPoint::kCreate;
    case FileOperation::kRename:
    case FileOperation::kRemove:
      return FaultPoint::kRename;
    case FileOperation::kFsync:
      return FaultPoint::kFsync;
    case FileOperation::kWrite:
      break;
  }
  return FaultPoint::kShortWrite;  // writes are asked about through InjectWriteFault
}

}  // namespace

void ArmFault(FileFault fault) {
  ArmFileFault(0);
  const std::lock_guard lock(g_armedMutex);
  g_armed = ArmedFault{};
  g_armed.armed = true;
  g_armed.fault = fault;
}

void DisarmFault() {
  const std::lock_guard lock(g_armedMutex);
  g_armed.armed = false;
  g_armed.diskFull = false;
}

bool FaultFired() {
  const std::lock_guard lock(g_armedMutex);
  return g_armed.fired;
}

long long BytesWrittenSinceArming() {
  const std::lock_guard lock(g_armedMutex);
  return g_armed.bytes;
}

bool InjectedDiskFull() {
  const std::lock_guard lock(g_armedMutex);
  return g_armed.armed && g_armed.diskFull;
}

bool InjectedNoRemoval() {
  const std::lock_guard lock(g_armedMutex);
  return g_armed.armed && g_armed.fault.point == FaultPoint::kNoRemoval;
}

bool InjectedNoLock() {
  const std::lock_guard lock(g_armedMutex);
  if (!g_armed.armed || g_armed.fault.point != FaultPoint::kNoLock) return false;
  g_armed.fired = true;
  return true;
}

bool InjectedLocalFlock() {
  const std::lock_guard lock(g_armedMutex);
  if (!g_armed.armed || g_armed.fault.point != FaultPoint::kLocalFlock) return false;
  g_armed.fired = true;
  return true;
}

bool InjectFileFault(FileOperation operation) {
  // ArmFileFault counts creates, writes and renames only.
  if (operation != FileOperation::kFsync) {
    const int n = ++g_operations;
    const int at = g_faultAt;
    if (at > 0 && n == at) return true;
  }
  if (operation == FileOperation::kWrite) return false;
  const std::lock_guard lock(g_armedMutex);
  if (!g_armed.armed) return false;
  if (g_armed.fault.point == FaultPoint::kReadOnly &&
      (operation == FileOperation::kCreate || operation == FileOperation::kRename ||
       operation == FileOperation::kRemove)) {
    g_armed.fired = true;
    return true;
  }
  if (g_armed.fault.point == FaultPoint::kNoRemoval) {
    g_armed.fired = g_armed.fired || operation == FileOperation::kRemove;
    return operation == FileOperation::kRemove;
  }
  if (g_armed.fault.point != PointOf(operation)) return false;
  if (++g_armed.counted != g_armed.fault.at) return false;
  g_armed.fired = true;
  return true;
}

std::size_t InjectWriteFault(std::size_t size, int& error) {
  error = 0;
  const std::lock_guard lock(g_armedMutex);
  if (!g_armed.armed) return size;
  ArmedFault& a = g_armed;
  const long long start = a.bytes;
  const long long end = start + static_cast<long long>(size);
  std::size_t allowed = size;
  if (a.diskFull) {
    allowed = 0;
    error = ENOSPC;
  } else {
    switch (a.fault.point) {
      case FaultPoint::kWriteAtByte:
        if (!a.fired && a.fault.at >= start && a.fault.at < end) {
          allowed = static_cast<std::size_t>(a.fault.at - start);
          error = EIO;
          a.fired = true;
        }
        break;
      case FaultPoint::kNoSpace:
        if (end > a.fault.at) {
          allowed = static_cast<std::size_t>(std::max(0LL, a.fault.at - start));
          error = ENOSPC;
          a.fired = a.diskFull = true;
        }
        break;
      case FaultPoint::kShortWrite:
        if (size > 0 && ++a.counted == a.fault.at) {
          allowed = size / 2;
          a.fired = true;
        }
        break;
      default:
        break;
    }
  }
  a.bytes += static_cast<long long>(allowed);
  return allowed;
}

fs::path FileBehindLinks(fs::path path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec)) || ec) return path;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) return path;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

SafeRewrite::SafeRewrite(fs::path target)
    : target_(std::move(target)), resolved_(FileBehindLinks(target_)) {
  fs::path folder = resolved_.parent_path();
  if (folder.empty()) folder = ".";
  std::string pattern = (folder / TemporaryNamePattern(resolved_.filename().string())).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = InjectFileFault(FileOperation::kCreate) ? -1 : ::mkstemp(name.data());
  if (fd < 0) {
    failed_ = true;
    return;
  }
  temp_ = fs::path(name.data());
  // Keep the permissions of the file being replaced, or the usual ones for a new file.
  std::error_code ec;
  const fs::file_status st = fs::status(resolved_, ec);
  if (!ec && fs::exists(st)) {
    ::fchmod(fd, static_cast<mode_t>(st.permissions()) & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    failed_ = true;
  }
}

SafeRewrite::~SafeRewrite() {
  if (file_) std::fclose(file_);
  if (!committed_ && !temp_.empty() && !InjectedNoRemoval()) {
    std::error_code ec;
    fs::remove(temp_, ec);
  }
}

bool SafeRewrite::Write(std::string_view bytes) {
  if (!Ok()) return false;
  if (InjectFileFault(FileOperation::kWrite)) failed_ = true;
  if (failed_ || bytes.empty()) return !failed_;
  int error = 0;
  const std::size_t allowed = InjectWriteFault(bytes.size(), error);
  // A write that stores fewer bytes than asked has failed, whether or not it says why.
  if (std::fwrite(bytes.data(), 1, allowed, file_) != allowed || allowed < bytes.size())
    failed_ = true;
  return !failed_;
}

bool SafeRewrite::CopyFrom(std::FILE* source, long long n) {
  if (!Ok()) return false;
  char buffer[20000];
  while (n != 0) {
    const std::size_t want = n < 0 || n > static_cast<long long>(sizeof buffer)
                                 ? sizeof buffer
                                 : static_cast<std::size_t>(n);
    const std::size_t got = std::fread(buffer, 1, want, source);
    if (got == 0) {
      if (n > 0 || std::ferror(source)) failed_ = true;  // fewer bytes than asked, or a read error
      break;
    }
    if (!Write(std::string_view(buffer, got))) break;
    if (n > 0) n -= static_cast<long long>(got);
  }
  return !failed_;
}

Status SafeRewrite::Commit() {
  if (committed_) return Status::Ok();
  if (Status flushed = Flush(); !flushed.ok()) return flushed;
  ++g_diskWaits;
  const Status replaced = Replace(true);
  if (replaced.ok()) ++g_diskWaits;
  return replaced;
}

Status SafeRewrite::Flush() {
  if (committed_) return Status::Ok();
  if (temp_.empty()) return Status::Error(kErrCannotCreate, target_.string());
  if (failed_) return Status::Error(kErrWrite, target_.string());
  if (!file_) return Status::Ok();  // flushed before
  bool good = std::fflush(file_) == 0 && !InjectedDiskFull() &&
              !InjectFileFault(FileOperation::kFsync) && ::fsync(::fileno(file_)) == 0;
  good = (std::fclose(file_) == 0) && good;
  file_ = nullptr;
  if (!good) {
    failed_ = true;
    return Status::Error(kErrWrite, target_.string());
  }
  return Status::Ok();
}

Status SafeRewrite::Replace(bool flushFolder) {
  if (committed_) return Status::Ok();
  if (temp_.empty()) return Status::Error(kErrCannotCreate, target_.string());
  if (file_ || failed_) return Status::Error(kErrWrite, target_.string());
  if (InjectFileFault(FileOperation::kRename) || std::rename(temp_.c_str(), resolved_.c_str()) != 0)
    return Status::Error(kErrWrite, target_.string());
  committed_ = true;
  if (!flushFolder) return Status::Ok();
  // Make the rename itself durable.
  fs::path folder = resolved_.parent_path();
  if (folder.empty()) folder = ".";
  const int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
  return Status::Ok();
}

bool SafeRewrite::ReplaceAt(int folder, const std::string& name) {
  if (committed_) return true;
  if (temp_.empty() || file_ || failed_) return false;
  if (InjectFileFault(FileOperation::kRename) ||
      ::renameat(folder, temp_.filename().c_str(), folder, name.c_str()) != 0)
    return false;
  committed_ = true;
  return true;
}

void SafeRewrite::StartWriting() {
  if (file_ == nullptr || failed_) return;
  if (std::fflush(file_) != 0) {
    failed_ = true;
    return;
  }
  ::sync_file_range(::fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
}

int DiskWaits() { return g_diskWaits; }

RewriteBatch::RewriteBatch() {
  if (t_openBatch != nullptr) return;
  t_openBatch = this;
  open_ = true;
}

RewriteBatch::~RewriteBatch() { (void)Finish(); }

Status RewriteBatch::Add(const fs::path& target, std::string_view contents) {
  std::string old;
  if (ReadWholeFile(target, old).ok() && old == contents) {
    ++unchanged_;
    return Status::Ok();
  }
  auto rewrite = std::make_unique<SafeRewrite>(target);
  if (!rewrite->Ok()) return Status::Error(kErrCannotCreate, target.string());
  if (!rewrite->Write(contents)) return Status::Error(kErrWrite, target.string());
  // The file's last rewrite in the batch is the one that stays.
  std::erase_if(pending_, [&target](const auto& p) { return p->Target() == target; });
  pending_.push_back(std::move(rewrite));
  return Status::Ok();
}

Status RewriteBatch::Finish(const char* trace) {
  if (open_ && t_openBatch == this) t_openBatch = nullptr;
  open_ = false;
  if (pending_.empty()) return Status::Ok();
  // Every file's data is sent to the disk first, then the flushes overlap: the disk is waited
  // for once, however many files there are.
  for (const auto& rewrite : pending_) rewrite->StartWriting();
  std::vector<Status> flushed(pending_.size(), Status::Ok());
  {
    std::vector<std::thread> flushes;
    for (std::size_t i = 0; i < pending_.size(); ++i)
      flushes.emplace_back([this, &flushed, i] { flushed[i] = pending_[i]->Flush(); });
    for (std::thread& flush : flushes) flush.join();
  }
  ++g_diskWaits;
  Status first = Status::Ok();
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    const Status st = flushed[i].ok() ? pending_[i]->Replace(false) : flushed[i];
    if (st.ok()) {
      ++written_;
      continue;
    }
    ReportStatus(st, trace);
    if (first.ok()) first = st;
  }
  pending_.clear();
  return first;
}

Status RewriteFile(const fs::path& target, std::string_view contents) {
  if (t_openBatch != nullptr) return t_openBatch->Add(target, contents);
  SafeRewrite rewrite(target);
  if (!rewrite.Ok()) return Status::Error(kErrCannotCreate, target.string());
  rewrite.Write(contents);
  return rewrite.Commit();
}

Status ReadWholeFile(const fs::path& path, std::string& out, std::uint64_t limit) {
  out.clear();
  if (ReadFaultArmedFor(path)) return Status::Error(kErrRead, path.string());
  std::FILE* f = OpenForReading(path);
  if (!f) return Status::Error(kErrCannotOpen, path.string());
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, &std::fclose);
  struct stat st {};
  if (::fstat(::fileno(f), &st) != 0) return Status::Error(kErrRead, path.string());
  if (static_cast<std::uint64_t>(st.st_size) > limit)
    return Status::Error(kErrFormat, path.string());
  // A file that grows while it is read is taken up to one byte past the limit, and refused.
  try {
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
      out.append(buffer, got);
      if (out.size() > limit) {
        out.clear();
        return Status::Error(kErrFormat, path.string());
      }
    }
  } catch (const std::bad_alloc&) {
    out = std::string();
    return Status::Error(kErrNoMemory, path.string());
  }
  return std::ferror(f) != 0 ? Status::Error(kErrRead, path.string()) : Status::Ok();
}

Status MoveAside(const fs::path& path, fs::path& kept) {
  kept.clear();
  for (int n = 1; n <= 99; ++n) {
    fs::path candidate = path;
    candidate += n == 1 ? std::string(".bad") : ".bad" + std::to_string(n);
    // link() never replaces an existing name; the old name is removed only once the new one holds
    // the file.
    if (InjectFileFault(FileOperation::kRename)) return Status::Error(kErrWrite, path.string());
    if (::link(path.c_str(), candidate.c_str()) == 0) {
      if (::unlink(path.c_str()) != 0) {
        ::unlink(candidate.c_str());
        return Status::Error(kErrWrite, path.string());
      }
      kept = candidate;
      return Status::Ok();
    }
    if (errno == EEXIST) continue;
    // A folder or a file system without hard links: renamed, when the name is still free.
    std::error_code ec;
    if (fs::exists(candidate, ec) || ec) continue;
    if (std::rename(path.c_str(), candidate.c_str()) != 0) break;
    kept = candidate;
    return Status::Ok();
  }
  return Status::Error(kErrWrite, path.string());
}

namespace {

// Writes `bytes` into a new temporary file of `folder` and fsyncs it: its path, or an empty path
// (with `status` set) on failure.
fs::path WriteTemporary(const fs::path& folder, const std::string& stem, std::string_view bytes,
                        mode_t mode, Status& status) {
  std::string pattern = (folder / TemporaryNamePattern(stem)).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = InjectFileFault(FileOperation::kCreate) ? -1 : ::mkstemp(name.data());
  if (fd < 0) {
    status = Status::Error(kErrCannotCreate, (folder / stem).string());
    return {};
  }
  const fs::path temp(name.data());
  ::fchmod(fd, mode);
  bool good = !InjectFileFault(FileOperation::kWrite);
  for (std::size_t done = 0; good && done < bytes.size();) {
    int error = 0;
    const std::size_t allowed = InjectWriteFault(bytes.size() - done, error);
    if (allowed > 0) {
      const ssize_t n = ::write(fd, bytes.data() + done, allowed);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) good = false;
      if (n > 0) done += static_cast<std::size_t>(n);
    }
    // An error ends the writing; a short write without one is no failure: the loop writes the
    // rest.
    if (error != 0) good = false;
  }
  good = good && !InjectedDiskFull() && !InjectFileFault(FileOperation::kFsync) && ::fsync(fd) == 0;
  good = ::close(fd) == 0 && good;
  if (!good) {
    ::unlink(temp.c_str());
    status = Status::Error(kErrWrite, (folder / stem).string());
    return {};
  }
  return temp;
}

}  // namespace

Status CopyAside(const fs::path& path, fs::path& kept) {
  kept.clear();
  std::string bytes;
  if (Status st = ReadWholeFile(path, bytes); !st.ok()) return st;
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
  Status status;
  const fs::path temp = WriteTemporary(folder, path.filename().string(), bytes, mode, status);
  if (temp.empty()) return status;
  // link() never replaces an existing name: the first free ".bad" name takes the copy.
  for (int n = 1; n <= 99; ++n) {
    fs::path candidate = path;
    candidate += n == 1 ? std::string(".bad") : ".bad" + std::to_string(n);
    if (InjectFileFault(FileOperation::kRename)) break;
    if (::link(temp.c_str(), candidate.c_str()) == 0) {
      ::unlink(temp.c_str());
      kept = candidate;
      return Status::Ok();
    }
    if (errno == EEXIST) continue;
    // A file system without hard links: renamed, when the name is still free.
    std::error_code ec;
    if (fs::exists(candidate, ec) || ec) continue;
    if (std::rename(temp.c_str(), candidate.c_str()) != 0) break;
    kept = candidate;
    return Status::Ok();
  }
  ::unlink(temp.c_str());
  return Status::Error(kErrWrite, path.string() + ".bad");
}

Status RewriteKeepingOld(const fs::path& target, std::string_view contents, fs::path& kept) {
  kept.clear();
  SafeRewrite rewrite(target);
  if (!rewrite.Ok()) return Status::Error(kErrCannotCreate, target.string());
  if (!rewrite.Write(contents)) return Status::Error(kErrWrite, target.string());
  std::error_code ec;
  if (fs::exists(target, ec) || ec) {
    if (Status st = CopyAside(target, kept); !st.ok()) return st;
  }
  if (Status st = rewrite.Commit(); !st.ok()) {
    // The old file is still there, whole: its copy is not needed.
    if (!kept.empty()) fs::remove(kept, ec);
    kept.clear();
    return st;
  }
  return Status::Ok();
}
