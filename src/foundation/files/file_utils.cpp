#include "foundation/files/file_utils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"

namespace fs = std::filesystem;

namespace {

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool IsPattern(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

bool IsFileNotFolder(const fs::directory_entry& entry) {
  std::error_code ec;
  return entry.exists(ec) && !entry.is_directory(ec);
}

// Closes a stdio file when it goes out of scope.
struct FileCloser {
  std::FILE* f;
  ~FileCloser() {
    if (f) std::fclose(f);
  }
};

}  // namespace

bool MatchFilePattern(std::string_view pattern, std::string_view name) {
  // Greedy matching with one back-tracking point: the last '*' seen.
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

int FileExists(std::string_view pathOrPattern) {
  if (pathOrPattern.empty()) return 0;
  const std::size_t slash = pathOrPattern.rfind('/');
  const std::string_view last =
      slash == std::string_view::npos ? pathOrPattern : pathOrPattern.substr(slash + 1);
  std::error_code ec;
  if (!IsPattern(last)) {
    const fs::file_status st = fs::status(fs::path(pathOrPattern), ec);
    return !ec && fs::exists(st) && !fs::is_directory(st) ? 1 : 0;
  }
  const fs::path folder = slash == std::string_view::npos
                              ? fs::path(".")
                              : fs::path(pathOrPattern.substr(0, slash == 0 ? 1 : slash));
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (MatchFilePattern(last, it->path().filename().native()) && IsFileNotFolder(*it)) return 1;
  }
  return 0;
}

std::FILE* OpenForReading(const fs::path& path) {
  // Without O_NONBLOCK the open of a named pipe would wait for a writer that never comes.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) ::close(fd);
  return f;
}

std::int64_t GetFileLength(const fs::path& path) {
  std::FILE* f = OpenForReading(path);
  if (!f) return -1;
  FileCloser closer{f};
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  const long long length = ftello(f);
  return length < 0 ? -1 : length;
}

std::int64_t GetFreeDiskSpace(const fs::path& path) {
  struct statvfs info {};
  fs::path probe = path.empty() ? fs::path(".") : path;
  while (::statvfs(probe.c_str(), &info) != 0) {
    if (!probe.has_relative_path()) return -1;
    fs::path parent = probe.parent_path();
    if (parent.empty()) parent = ".";
    if (parent == probe) return -1;
    probe = parent;
  }
  return static_cast<std::int64_t>(info.f_bavail) * static_cast<std::int64_t>(info.f_frsize);
}

int HasFileExtension(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return 0;
  return slash == std::string_view::npos || dot > slash ? 1 : 0;
}

int FileCopy(const fs::path& source, const fs::path& target) {
  std::FILE* in = OpenForReading(source);
  if (!in) {
    ReportError(kErrCannotOpen, "FileCopy", 0, 1);
    return -1;
  }
  FileCloser closer{in};
  SafeRewrite out(target);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, "FileCopy", 0, 1);
    return -1;
  }
  if (!out.CopyFrom(in)) {
    ReportError(std::ferror(in) ? kErrRead : kErrWrite, "FileCopy", 0, 1);
    return -1;
  }
  if (!out.Commit().ok()) {
    ReportError(kErrWrite, "FileCopy", 0, 1);
    return -1;
  }
  return 0;
}

int FileCopyHandles(std::FILE* source, std::FILE* target, std::int64_t n) {
  constexpr std::size_t kChunk = 20000;
  char buffer[kChunk];
  while (n > 0) {
    const std::size_t want =
        n > static_cast<std::int64_t>(kChunk) ? kChunk : static_cast<std::size_t>(n);
    if (std::fread(buffer, 1, want, source) != want) {
      ReportError(kErrRead, "FileCopy", 0, 1);
      return -1;
    }
    if (std::fwrite(buffer, 1, want, target) != want) {
      ReportError(kErrWrite, "FileCopy", 0, 1);
      return -1;
    }
    n -= static_cast<std::int64_t>(want);
  }
  return 0;
}

int FileRead(std::FILE* file, void* buffer, std::size_t n) {
  constexpr std::size_t kChunk = 30000;
  char* at = static_cast<char*>(buffer);
  while (n > 0) {
    const std::size_t want = n > kChunk ? kChunk : n;
    if (std::fread(at, 1, want, file) != want) {
      ReportError(kErrRead, "FileRead", 0, 1);
      return -1;
    }
    at += want;
    n -= want;
  }
  return 0;
}

int FileLoad(const fs::path& path, char* buffer, std::size_t size) {
  if (size == 0) return -1;
  std::FILE* f = OpenForReading(path);
  if (!f) {
    ReportError(kErrCannotOpen, "FileLoad", 0, 1);
    buffer[0] = '\0';
    return -1;
  }
  FileCloser closer{f};
  std::size_t total = 0;
  while (total < size - 1) {
    const std::size_t got = std::fread(buffer + total, 1, size - 1 - total, f);
    if (got == 0) break;
    total += got;
  }
  buffer[total] = '\0';
  if (std::ferror(f)) {
    ReportError(kErrRead, "FileLoad", 0, 1);
    return -1;
  }
  return 0;
}

int InsertFile2File(const fs::path& file, std::int64_t a, std::int64_t b,
                    const fs::path& insertFile) {
  constexpr const char* kTrace = "InsertFile2File";
  std::FILE* in = OpenForReading(file);
  if (!in) {
    ReportError(kErrCannotOpen, kTrace, 1, 1);
    return -1;
  }
  FileCloser closeIn{in};
  const std::int64_t length = GetFileLength(file);
  const auto inRange = [length](std::int64_t offset) { return offset >= -1 && offset <= length; };
  if (length < 0 || !inRange(a) || !inRange(b) || (a >= 0 && b >= 0 && b < a)) {
    ReportError(kErrParameter, kTrace, 0, 1);
    return -1;
  }
  std::FILE* insert = nullptr;
  if (!insertFile.empty()) {
    insert = OpenForReading(insertFile);
    if (!insert) {
      ReportError(kErrCannotOpen, kTrace, 2, 1);
      return -1;
    }
  }
  FileCloser closeInsert{insert};
  SafeRewrite out(file);
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, kTrace, 0, 1);
    return -1;
  }
  bool good = true;
  if (a > 0) good = out.CopyFrom(in, a);
  if (good && insert) good = out.CopyFrom(insert);
  if (good && b >= 0 && b < length)
    good = fseeko(in, b, SEEK_SET) == 0 && out.CopyFrom(in, length - b);
  if (!good) {
    ReportError(std::ferror(in) || (insert && std::ferror(insert)) ? kErrRead : kErrWrite, kTrace,
                0, 1);
    return -1;
  }
  if (!out.Commit().ok()) {
    ReportError(kErrWrite, kTrace, 0, 1);
    return -1;
  }
  return 0;
}

FoundFile FindFileIgnoringCase(const fs::path& folder, std::string_view name) {
  FoundFile found;
  found.path = folder / name;
  std::error_code ec;
  if (fs::exists(found.path, ec)) {
    found.match = NameMatch::Exact;
    return found;
  }
  // Names with folders in them are matched in their own folder, by their last component.
  const fs::path relative(name);
  const fs::path where = folder / relative.parent_path();
  const std::string last = relative.filename().native();
  if (last.empty()) return found;
  int matches = 0;
  for (fs::directory_iterator it(where, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualIgnoringCase(it->path().filename().native(), last)) {
      if (++matches == 1) found.path = it->path();
    }
  }
  if (matches == 1) {
    found.match = NameMatch::IgnoringCase;
  } else {
    found.match = matches == 0 ? NameMatch::Missing : NameMatch::Ambiguous;
    found.path = folder / name;
  }
  return found;
}
