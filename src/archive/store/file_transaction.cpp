#include "archive/store/file_transaction.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

#include "archive/store/archive_layout.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace {

constexpr char kIntentSuffix[] = ".commit";
constexpr char kIntentHeader[] = "velm-commit 1";

std::atomic<CommitStepHook> g_stepHook{nullptr};
std::atomic<bool> g_holdsLock{false};

// What this process has under way: the intent records of its running commits and the temporary
// files of its open transactions. A leftover is never one of them.
std::mutex g_liveMutex;
// One recovery at a time: two threads opening the same archive never rename the same files.
std::mutex g_recoverMutex;
std::set<std::string> g_liveIntents;
std::set<std::string> g_liveTemporaries;

void Step(int& step) {
  if (CommitStepHook hook = g_stepHook.load()) hook(step);
  ++step;
}

fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

void FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The inode of a file; 0 when it is not there.
unsigned long long InodeOf(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_ino) : 0;
}

// When a process started (clock ticks after the boot, /proc/PID/stat field 22); 0 when there is no
// such process or it cannot be told.
unsigned long long StartTimeOf(long pid) {
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "rb");
  if (!f) return 0;
  char buffer[1024];
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = '\0';
  const std::string text(buffer);
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && (fields >> field); ++i)
    if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
  return 0;
}

bool ProcessAlive(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Paths in the record: a file of the record's own folder by its name (the folder may be moved
// before the record is read), another by its whole path; '%', tab and line breaks escaped.
std::string Encode(const fs::path& path, const fs::path& folder) {
  const std::string text = FolderOf(path) == folder ? path.filename().string() : path.string();
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

fs::path Decode(const std::string& text, const fs::path& folder) {
  if (text.empty()) return {};
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  const fs::path path(out);
  return path.is_absolute() ? path : folder / path;
}

// One file of a commit as its intent record names it.
struct IntentItem {
  bool rewrite = false;
  fs::path target, temp, backup;
  unsigned long long newInode = 0;     // the new file (the temporary file, renamed over the target)
  unsigned long long backupInode = 0;  // the old file under its backup name
  unsigned long long oldInode = 0;     // the old file at the target (the backup's, for a link)
};

struct Intent {
  long pid = 0;
  unsigned long long started = 0;
  std::vector<IntentItem> items;
};

std::string FormatIntent(const Intent& intent, const fs::path& folder) {
  std::string text = std::string(kIntentHeader) + "\nowner " + std::to_string(intent.pid) + " " +
                     std::to_string(intent.started) + "\n";
  for (const IntentItem& item : intent.items) {
    text += (item.rewrite ? "R " : "D ") + std::to_string(item.newInode) + " " +
            std::to_string(item.backupInode) + " " + std::to_string(item.oldInode) + "\t" +
            Encode(item.target, folder) + "\t" +
            (item.temp.empty() ? "" : Encode(item.temp, folder)) + "\t" +
            (item.backup.empty() ? "" : Encode(item.backup, folder)) + "\n";
  }
  return text + "end\n";
}

// False for a record that is not whole (it is then left alone).
bool ParseIntent(const std::string& text, const fs::path& folder, Intent& intent) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kIntentHeader) return false;
  if (!std::getline(in, line)) return false;
  {
    std::istringstream owner(line);
    std::string word;
    if (!(owner >> word >> intent.pid >> intent.started) || word != "owner") return false;
  }
  while (std::getline(in, line)) {
    if (line == "end") return !intent.items.empty();
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      parts.push_back(line.substr(start, tab - start));
    parts.push_back(line.substr(start));
    if (parts.size() != 4) return false;
    std::istringstream head(parts[0]);
    std::string kind;
    IntentItem item;
    if (!(head >> kind >> item.newInode >> item.backupInode >> item.oldInode) ||
        (kind != "R" && kind != "D"))
      return false;
    item.rewrite = kind == "R";
    item.target = Decode(parts[1], folder);
    item.temp = Decode(parts[2], folder);
    item.backup = Decode(parts[3], folder);
    if (item.target.empty() || (item.rewrite && item.temp.empty())) return false;
    intent.items.push_back(std::move(item));
  }
  return false;
}

void TellBackupsKept(const std::vector<fs::path>& kept) {
  std::string text = GetMessageText(kMsgBackupsKept);
  for (const fs::path& path : kept) text += "\n" + platform::Utf8ToCp1251(path.native());
  platform::GetPrompter().ShowMessage(kMsgBackupsKept, text, platform::Icon::Warning);
}

// Makes the files of a stopped commit whole. Forward when every new file is in place or still
// there as its temporary file (the commit is then finished), else back to every old file from its
// backup. The record goes last, once every file is in its final state.
void Recover(const fs::path& record) {
  std::string text;
  if (!ReadWholeFile(record, text).ok()) return;
  const fs::path folder = FolderOf(record);
  Intent intent;
  if (!ParseIntent(text, folder, intent)) return;
  if (intent.pid == ::getpid() && intent.started == StartTimeOf(::getpid())) {
    const std::lock_guard lock(g_liveMutex);
    if (g_liveIntents.count(record.string()) != 0) return;  // this process commits it now
  } else if (ProcessAlive(intent.pid) && StartTimeOf(intent.pid) == intent.started) {
    return;  // another process commits it now
  }
  bool forward = true;
  for (const IntentItem& item : intent.items)
    if (item.rewrite && InodeOf(item.target) != item.newInode &&
        InodeOf(item.temp) != item.newInode)
      forward = false;

  std::vector<fs::path> kept;
  if (forward) {
    for (const IntentItem& item : intent.items) {
      if (item.rewrite) {
        if (InodeOf(item.temp) == item.newInode &&
            std::rename(item.temp.c_str(), item.target.c_str()) != 0)
          kept.push_back(item.temp);
      } else if (!item.backup.empty() && InodeOf(item.target) == item.oldInode &&
                 ::unlink(item.target.c_str()) != 0) {
        kept.push_back(item.target);
      }
    }
  } else {
    for (auto it = intent.items.rbegin(); it != intent.items.rend(); ++it) {
      const IntentItem& item = *it;
      if (!item.backup.empty()) {
        if (InodeOf(item.target) == item.oldInode) continue;  // the old file is in place
        if (InodeOf(item.backup) != item.backupInode ||
            std::rename(item.backup.c_str(), item.target.c_str()) != 0)
          kept.push_back(item.backup);
      } else if (item.rewrite && InodeOf(item.target) == item.newInode) {
        ::unlink(item.target.c_str());  // a file the commit created
      }
    }
  }
  std::set<fs::path> folders{folder};
  for (const IntentItem& item : intent.items) folders.insert(FolderOf(item.target));
  for (const fs::path& f : folders) FlushFolder(f);
  if (!kept.empty()) {
    TellBackupsKept(kept);
    return;
  }
  for (const IntentItem& item : intent.items) {
    if (!item.backup.empty() && InodeOf(item.backup) == item.backupInode)
      ::unlink(item.backup.c_str());
    if (item.rewrite && InodeOf(item.temp) == item.newInode) ::unlink(item.temp.c_str());
  }
  ::unlink(record.c_str());
  FlushFolder(folder);
}

// ".NAME.XXXXXX" (a temporary file of SafeRewrite: six letters or digits): NAME, else empty.
std::string TemporaryOf(const std::string& file) {
  if (file.size() < 9 || file[0] != '.' || file[file.size() - 7] != '.') return {};
  for (std::size_t i = file.size() - 6; i < file.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(file[i]))) return {};
  return file.substr(1, file.size() - 8);
}

// ".NAME.old<pid>_<n>" (a backup of a commit): NAME and the pid, else an empty name.
std::string BackupOf(const std::string& file, long& pid) {
  const std::size_t old = file.rfind(".old");
  if (file.empty() || file[0] != '.' || old == std::string::npos || old < 2) return {};
  const std::string tail = file.substr(old + 4);
  const std::size_t bar = tail.find('_');
  if (bar == std::string::npos || bar == 0 || bar + 1 == tail.size()) return {};
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (i != bar && !std::isdigit(static_cast<unsigned char>(tail[i]))) return {};
  pid = std::strtol(tail.substr(0, bar).c_str(), nullptr, 10);
  return file.substr(1, old - 1);
}

bool IsRegularFile(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > 2 && name[0] == '.') names.push_back(name);  // hidden, not "." or ".."
  }
  ::closedir(dir);
  return names;
}

// Removes from `folder` the backups of processes gone and, while this process holds the data
// folder's lock, the temporary files that are not its own, of the files `belongs` accepts. Files
// an intent record still names (a commit under way or not made whole) stay.
template <typename Belongs>
void RemoveLeftovers(const fs::path& folder, const std::vector<std::string>& names,
                     Belongs belongs) {
  std::set<fs::path> named;
  for (const std::string& name : names) {
    if (!name.ends_with(kIntentSuffix) || !IsRegularFile(folder / name)) continue;
    std::string text;
    Intent intent;
    if (!ReadWholeFile(folder / name, text).ok()) continue;
    if (!ParseIntent(text, folder, intent)) continue;
    for (const IntentItem& item : intent.items) {
      named.insert(item.temp);
      named.insert(item.backup);
    }
  }
  const bool ownTemporaries = g_holdsLock.load();
  for (const std::string& name : names) {
    const fs::path path = folder / name;
    if (named.count(path) != 0) continue;
    long pid = 0;
    const std::string backupOf = BackupOf(name, pid);
    if (!backupOf.empty() && belongs(backupOf)) {
      if (pid != ::getpid() && !ProcessAlive(pid) && IsRegularFile(path)) ::unlink(path.c_str());
      continue;
    }
    const std::string temporaryOf = TemporaryOf(name);
    if (temporaryOf.empty() || !ownTemporaries || !belongs(temporaryOf)) continue;
    const std::lock_guard lock(g_liveMutex);
    if (g_liveTemporaries.count(path.string()) == 0 && IsRegularFile(path)) ::unlink(path.c_str());
  }
}

// A backup name beside `target` that no file has: the pid, then a count of this process.
fs::path BackupName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = FolderOf(target);
  for (;;) {
    fs::path candidate = folder / ("." + target.filename().string() + ".old" +
                                   std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::error_code ec;
    if (!fs::exists(candidate, ec)) return candidate;
  }
}

// Keeps the current file under `backup`: a hard link, or a copy where links are not possible.
bool MakeBackup(const fs::path& target, const fs::path& backup) {
  if (InjectFileFault(FileOperation::kRename)) return false;
  if (::link(target.c_str(), backup.c_str()) == 0) return true;
  std::error_code ec;
  return fs::copy_file(target, backup, ec) && !ec;
}

// Writes the intent record whole and on the disk, or nothing.
Status WriteIntent(const fs::path& record, const std::string& text, int& step) {
  SafeRewrite out(record);
  if (!out.Ok()) return Status::Error(105, record.string());
  {
    const std::lock_guard lock(g_liveMutex);
    g_liveTemporaries.insert(out.TempPath().string());
  }
  out.Write(text);
  Status st = out.Flush();
  if (st.ok()) {
    Step(step);
    st = out.Replace(true);
  }
  const std::lock_guard lock(g_liveMutex);
  g_liveTemporaries.erase(out.TempPath().string());
  return st;
}

}  // namespace

fs::path CommitIntentPath(const fs::path& anchor) {
  return FolderOf(anchor) / ("." + anchor.filename().string() + kIntentSuffix);
}

void SetHoldsDataFolderLock(bool held) { g_holdsLock = held; }

void SetCommitStepHook(CommitStepHook hook) { g_stepHook = hook; }

void RecoverArchiveFiles(const fs::path& archive) {
  const std::lock_guard recovering(g_recoverMutex);
  const fs::path record = CommitIntentPath(archive);
  struct stat st {};
  if (::lstat(record.c_str(), &st) == 0 && S_ISREG(st.st_mode)) Recover(record);
  // The archive's own files: "a.arc", its comment files "a.ar0".."a.ar9" and its intent record.
  const std::string name = archive.filename().string();
  if (name.empty()) return;
  const std::string stem = name.substr(0, name.size() - 1);
  const fs::path folder = FolderOf(archive);
  RemoveLeftovers(folder, FolderNames(folder), [&](const std::string& of) {
    if (of == name || of == "." + name + kIntentSuffix) return true;
    return of.size() == name.size() && of.compare(0, stem.size(), stem) == 0 &&
           std::isdigit(static_cast<unsigned char>(of.back()));
  });
}

void RecoverDataFolder(const fs::path& folder) {
  const std::lock_guard recovering(g_recoverMutex);
  std::vector<std::string> names = FolderNames(folder);
  bool recovered = false;
  for (const std::string& name : names) {
    if (name.ends_with(kIntentSuffix) && IsRegularFile(folder / name)) {
      Recover(folder / name);
      recovered = true;
    }
  }
  if (recovered) names = FolderNames(folder);
  RemoveLeftovers(folder, names, [&](const std::string& of) {
    // The program's own files: one there now, an archive or its comment file, an intent record,
    // a chart's comment page "VelmSSSP.txt".
    std::error_code ec;
    if (fs::exists(folder / of, ec) || of.ends_with(kIntentSuffix)) return true;
    if (of.size() == 12 && of.starts_with("Velm") && of.ends_with(".txt") &&
        std::all_of(of.begin() + 4, of.begin() + 8, [](char c) { return c >= '0' && c <= '9'; }))
      return true;
    return of.size() > 4 && of[of.size() - 4] == '.' &&
           (of[of.size() - 3] == 'a' || of[of.size() - 3] == 'A') &&
           (of[of.size() - 2] == 'r' || of[of.size() - 2] == 'R');
  });
}

FileTransaction::~FileTransaction() {
  const std::lock_guard lock(g_liveMutex);
  for (const Item& item : items_)
    if (item.rewrite) g_liveTemporaries.erase(item.rewrite->TempPath().string());
}

SafeRewrite& FileTransaction::Rewrite(const fs::path& target) {
  // A file reached through a link is rewritten where the link leads: that file is the one backed
  // up and put back.
  const fs::path file = FileBehindLinks(target);
  for (Item& item : items_)
    if (item.rewrite && item.target == file) return *item.rewrite;
  // New content replaces an earlier removal of the same file.
  std::erase_if(items_, [&](const Item& i) { return !i.rewrite && i.target == target; });
  Item item;
  item.target = file;
  {
    // Created and named live at once: an opening on another thread never takes it for a leftover.
    const std::lock_guard lock(g_liveMutex);
    item.rewrite = std::make_unique<SafeRewrite>(target);
    if (!item.rewrite->TempPath().empty())
      g_liveTemporaries.insert(item.rewrite->TempPath().string());
  }
  items_.push_back(std::move(item));
  return *items_.back().rewrite;
}

void FileTransaction::Remove(const fs::path& target) {
  Item item;
  item.target = target;
  items_.push_back(std::move(item));
}

bool FileTransaction::Rewrites(const fs::path& target) const {
  const fs::path file = FileBehindLinks(target);
  for (const Item& item : items_)
    if (item.rewrite && item.target == file) return true;
  return false;
}

Status FileTransaction::Commit() {
  int step = 0;
  Step(step);
  for (Item& item : items_) {
    if (item.rewrite && item.rewrite->TempPath().empty())
      return Status::Error(105, item.target.string());
    if (item.rewrite && !item.rewrite->Ok()) return Status::Error(104, item.target.string());
  }
  if (items_.empty()) return Status::Ok();
  // Every new file whole on the disk before the record says it is there.
  for (Item& item : items_)
    if (item.rewrite)
      if (Status st = item.rewrite->Flush(); !st.ok()) return st;
  Intent intent;
  intent.pid = ::getpid();
  intent.started = StartTimeOf(intent.pid);
  const Item* anchor = nullptr;
  for (Item& item : items_) {
    if (anchor == nullptr && HasArchiveExtension(item.target)) anchor = &item;
    std::error_code ec;
    item.existed = fs::exists(item.target, ec);
    IntentItem recorded;
    recorded.rewrite = item.rewrite != nullptr;
    recorded.target = item.target;
    if (item.rewrite) {
      recorded.temp = item.rewrite->TempPath();
      recorded.newInode = InodeOf(recorded.temp);
    }
    if (item.existed) {
      recorded.oldInode = InodeOf(item.target);
      item.backup = BackupName(item.target);
      if (!MakeBackup(item.target, item.backup)) {
        item.backup.clear();
        DropBackups();
        return Status::Error(104, item.target.string());
      }
      recorded.backup = item.backup;
      recorded.backupInode = InodeOf(item.backup);
      Step(step);
    }
    intent.items.push_back(std::move(recorded));
  }
  if (anchor == nullptr) anchor = &items_.front();
  intent_ = CommitIntentPath(anchor->target);
  // A record a stopped commit left is made whole first; one still there belongs to a commit under
  // way or one that could not be made whole, and is never written over.
  if (IsRegularFile(intent_)) {
    const std::lock_guard recovering(g_recoverMutex);
    Recover(intent_);
  }
  std::error_code gone;
  if (fs::exists(fs::symlink_status(intent_, gone))) {
    DropBackups();
    const fs::path record = intent_;
    intent_.clear();
    return Status::Error(104, record.string());
  }
  {
    const std::lock_guard lock(g_liveMutex);
    g_liveIntents.insert(intent_.string());
  }
  const auto endCommit = [this] {
    const std::lock_guard lock(g_liveMutex);
    g_liveIntents.erase(intent_.string());
    intent_.clear();
  };
  if (Status st = WriteIntent(intent_, FormatIntent(intent, FolderOf(intent_)), step); !st.ok()) {
    DropBackups();
    endCommit();
    return st;
  }
  Step(step);
  std::set<fs::path> folders;
  for (Item& item : items_) {
    folders.insert(FolderOf(item.target));
    if (item.rewrite) {
      if (Status st = item.rewrite->Replace(false); !st.ok()) {
        RollBack();
        endCommit();
        return st;
      }
    } else if (item.existed) {
      if (InjectFileFault(FileOperation::kRename) || ::unlink(item.target.c_str()) != 0) {
        RollBack();
        endCommit();
        return Status::Error(104, item.target.string());
      }
    }
    item.done = true;
    Step(step);
  }
  for (const fs::path& folder : folders) FlushFolder(folder);
  ::unlink(intent_.c_str());
  FlushFolder(FolderOf(intent_));
  Step(step);
  endCommit();
  for (Item& item : items_) {
    if (item.backup.empty()) continue;
    ::unlink(item.backup.c_str());
    item.backup.clear();
    Step(step);
  }
  return Status::Ok();
}

bool FileTransaction::RollBack() {
  std::vector<fs::path> kept;
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (!it->done) continue;
    if (it->existed) {
      if (InjectFileFault(FileOperation::kRename) ||
          std::rename(it->backup.c_str(), it->target.c_str()) != 0) {
        kept.push_back(it->backup);
        continue;  // the backup stays, named in the message, for the next opening to put back
      }
      it->backup.clear();
    } else if (it->rewrite) {
      ::unlink(it->target.c_str());
    }
    it->done = false;
  }
  if (!kept.empty()) {
    // The intent record stays with every backup: the next opening finishes the rollback.
    for (Item& item : items_) item.backup.clear();
    TellBackupsKept(kept);
    return false;
  }
  DropBackups();
  ::unlink(intent_.c_str());
  FlushFolder(FolderOf(intent_));
  return true;
}

void FileTransaction::DropBackups() {
  for (Item& item : items_) {
    if (item.backup.empty()) continue;
    ::unlink(item.backup.c_str());
    item.backup.clear();
  }
}
