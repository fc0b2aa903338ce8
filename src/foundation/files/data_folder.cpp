#include "foundation/files/data_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/files/sha256.h"
#include "foundation/messages/message_numbers.h"
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
// Neither list is larger than a few kilobytes; anything beyond this is no list of ours.
constexpr std::uint64_t kListLimit = 1u << 20;

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool IsSha256Hex(std::string_view text) {
  return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

struct ShippedVersion {
  std::string sha256;
  std::uint64_t size = 0;
};
// By the name in lower case: the versions in the order shipped, the present one last.
using ShippedVersions = std::map<std::string, std::vector<ShippedVersion>>;

// Lines "<sha256> <size> <name>"; any other line (a comment, damage) is passed over.
ShippedVersions ReadShippedVersions(const fs::path& file) {
  ShippedVersions versions;
  std::string bytes;
  if (!ReadWholeFile(file, bytes, kListLimit).ok()) return versions;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string sha, size, name;
    if (!(fields >> sha >> size >> name) || !IsSha256Hex(sha)) continue;
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), n);
    if (ec != std::errc{} || end != size.data() + size.size()) continue;
    versions[LowerAscii(name)].push_back({sha, n});
  }
  return versions;
}

// Lines "<name>\t<sha256>", by the name in lower case.
std::map<std::string, std::string> ReadSeedRecord(const fs::path& file) {
  std::map<std::string, std::string> record;
  std::string bytes;
  if (!ReadWholeFile(file, bytes, kListLimit).ok()) return record;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string::npos || tab == 0 || !IsSha256Hex(line.substr(tab + 1))) continue;
    record[LowerAscii(line.substr(0, tab))] = line.substr(tab + 1);
  }
  return record;
}

std::string SeedRecordText(const std::map<std::string, std::string>& record) {
  std::string text;
  for (const auto& [name, sha] : record) text += name + "\t" + sha + "\n";
  return text;
}

// Whether the two regular files hold the same bytes; false when either cannot be read.
bool SameBytes(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(a, ec);
  if (ec || fs::file_size(b, ec) != size || ec) return false;
  std::FILE* fa = OpenForReading(a);
  std::FILE* fb = OpenForReading(b);
  bool same = fa && fb;
  std::vector<char> bufA(1 << 16), bufB(1 << 16);
  while (same) {
    const std::size_t na = std::fread(bufA.data(), 1, bufA.size(), fa);
    const std::size_t nb = std::fread(bufB.data(), 1, bufB.size(), fb);
    same = na == nb && std::memcmp(bufA.data(), bufB.data(), na) == 0;
    if (na == 0) break;
  }
  same = same && !std::ferror(fa) && !std::ferror(fb);
  if (fa) std::fclose(fa);
  if (fb) std::fclose(fb);
  return same;
}

bool IsPlainFile(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() == fs::file_type::regular;
}

// A file of the folder that the user never changed: one of the earlier shipped versions.
bool IsEarlierShippedVersion(const fs::path& file, const std::vector<ShippedVersion>& versions) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) return false;
  std::optional<std::string> sha;
  for (std::size_t i = 0; i + 1 < versions.size(); ++i) {
    if (versions[i].size != size) continue;
    if (!sha) sha = Sha256HexOfFile(file);
    if (sha && *sha == versions[i].sha256) return true;
  }
  return false;
}

// The shipped files that the program rewrites on its own, so that a copy in the folder never stays
// a shipped version: the list of interpretation bases, which holds the folder's path after a start.
bool WrittenByProgram(std::string_view lowerName) {
  return lowerName == LowerAscii(g_DataFileNames[kDataTextBases]);
}

}  // namespace

Status SeedDataFolder(const fs::path& folder, const fs::path& defaults, SeedResult* result) {
  if (Status st = CreateDataFolder(folder); !st.ok()) return st;
  std::error_code ec;
  // The shipped folder given as the data folder holds the present versions already.
  if (fs::equivalent(folder, defaults, ec)) return Status::Ok();
  SeedResult local;
  SeedResult& out = result ? *result : local;
  const ShippedVersions versions = ReadShippedVersions(defaults / kShippedVersionsName);
  const fs::path recordPath = folder / kSeedRecordName;
  std::map<std::string, std::string> record = ReadSeedRecord(recordPath);
  const std::map<std::string, std::string> recordAtStart = record;
  Status first;
  const auto keepFirst = [&first](Status st) {
    if (!st.ok() && first.ok()) first = std::move(st);
    return st.ok();
  };
  for (fs::recursive_directory_iterator it(defaults, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileEc;
    if (!it->is_regular_file(fileEc)) continue;
    const fs::path relative = it->path().lexically_relative(defaults);
    // The notes on where the shipped files came from, and the list of versions, stay with the
    // program.
    if (relative == kShippedSourcesNote || relative == kShippedVersionsName) continue;
    const std::string key = LowerAscii(relative.generic_string());
    const auto listed = versions.find(key);
    const std::vector<ShippedVersion>* fileVersions =
        listed == versions.end() ? nullptr : &listed->second;
    const FoundFile found = FindFileIgnoringCase(folder, relative.native());
    if (found.match == NameMatch::Missing) {
      const fs::path targetFolder = folder / relative.parent_path();
      fs::create_directories(targetFolder, fileEc);
      if (keepFirst(CopyNewFile(it->path(), targetFolder / relative.filename()))) {
        out.copied.push_back(relative.native());
        if (fileVersions) record[key] = fileVersions->back().sha256;
      }
      continue;
    }
    if (found.match == NameMatch::Ambiguous || !fileVersions || !IsPlainFile(found.path) ||
        WrittenByProgram(key))
      continue;
    const std::string& present = fileVersions->back().sha256;
    // Seen at this version already (the present one in place, or the user's own file told of):
    // nothing to read at this start.
    if (const auto seen = recordAtStart.find(key);
        seen != recordAtStart.end() && seen->second == present)
      continue;
    if (SameBytes(found.path, it->path())) {
      record[key] = present;
    } else if (IsEarlierShippedVersion(found.path, *fileVersions)) {
      if (keepFirst(CopyNewFile(it->path(), found.path))) {
        out.replaced.push_back(relative.native());
        record[key] = present;
      }
    } else if (const auto told = record.find(key);
               told == record.end() || told->second != present) {
      // The user's own file, and a shipped version it did not come from: put beside it, once.
      fs::path beside = found.path;
      beside += kShippedBesideSuffix;
      if (keepFirst(CopyNewFile(it->path(), beside))) {
        out.putBeside.push_back(relative.native());
        record[key] = present;
      }
    }
  }
  // A walk that stopped part-way (a subfolder that cannot be read) left files unseeded.
  if (ec) keepFirst(Status::Message(kMsgShippedFolderUnread, defaults.native()));
  if (record != recordAtStart) keepFirst(RewriteFile(recordPath, SeedRecordText(record)));
  return first;
}

std::string KeptFilesMessage(const fs::path& folder, const std::vector<std::string>& putBeside) {
  if (putBeside.empty()) return {};
  std::string text = Cp1251("В папке данных ") + platform::Utf8ToCp1251(folder.native()) +
                     Cp1251(
                         " есть файлы, которые вы изменили; они оставлены как есть, а новая "
                         "версия каждого из них, поставляемая с программой, положена рядом:");
  for (const std::string& name : putBeside)
    text += "\n  " + platform::Utf8ToCp1251(name) + " - " +
            platform::Utf8ToCp1251(name + kShippedBesideSuffix);
  text += Cp1251("\nСравните их и перенесите в свои файлы то, что нужно.");
  return text;
}

std::string MissingDataText(std::string_view what, std::string_view file, std::string_view hint) {
  std::string text = Cp1251(what) + Cp1251(" нет: они хранятся в файле ") + std::string(file) +
                     Cp1251(" папки данных ") +
                     platform::Utf8ToCp1251(GetSettings().Folder().native()) +
                     Cp1251(", а его там нет или в нем ничего нет.");
  if (!hint.empty()) text += "\n" + Cp1251(hint);
  return text;
}

bool ReadyDataFolder(const fs::path& folder) {
  const bool created = CreateDataFolder(folder).ok();
  // Whether a file can be made there, tried as every rewrite makes one (a temporary file, removed
  // at once): the folder's permission bits tell nothing of a read-only mount.
  const bool writable =
      created && !SafeRewrite(folder / g_DataFileNames[kDataLock]).TempPath().empty();
  GetSettings().SetWritable(writable);
  if (writable) return true;
  const std::string name = platform::Utf8ToCp1251(folder.native());
  std::string text = created ? Cp1251("В папку данных ") + name + Cp1251(" нельзя писать")
                             : Cp1251("Папку данных ") + name + Cp1251(" не удалось создать");
  text += Cp1251(
      ": программа работает с файлами, поставляемыми с ней, и ничего не сохранит - ни настройки, "
      "ни изменения систем аспектов, ни гороскопы сеанса.\nЧтобы их сохранять, дайте право на "
      "запись в эту папку или укажите другую (velm --data-dir ПАПКА).");
  platform::GetPrompter().ShowMessage(platform::kNoMessage, text, platform::Icon::Warning);
  return false;
}

Status PrepareDataFolder(const DataFolderChoice& choice, const DataFolderCandidates& candidates,
                         SeedResult* result) {
  if (choice.origin != DataFolderOrigin::ExecutableFolder) {
    std::error_code ec;
    for (const fs::path& defaults : candidates.shippedDefaults) {
      if (defaults.empty() || !fs::is_directory(defaults, ec)) continue;
      SeedResult local;
      SeedResult& seeded = result ? *result : local;
      Status st = SeedDataFolder(choice.folder, defaults, &seeded);
      if (const std::string text = KeptFilesMessage(choice.folder, seeded.putBeside); !text.empty())
        platform::GetPrompter().ShowMessage(platform::kNoMessage, text,
                                            platform::Icon::Information);
      return st;
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
    // Never through a link, never a named pipe or a device, never a second name of another file
    // (a hard link would have that file cut to the process number and its name removed at the
    // end): the lock file is the folder's own regular file, or none.
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) return Result::Failed;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_nlink != 1) {
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
  ReportStatus(Status::Error(kErrCannotCreate, (folder / g_DataFileNames[kDataLock]).native()),
               "LockDataFolderOrTell");
  return true;
}
