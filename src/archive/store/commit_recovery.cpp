#include "archive/store/commit_recovery.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/store/commit_record.h"
#include "archive/store/commit_shared.h"
#include "foundation/files/leftover_names.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace commit_detail;

namespace {

std::atomic<bool> g_holdsLock{false};

std::string Shown(const fs::path& path) { return platform::Utf8ToCp1251(path.native()); }

bool Exists(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The same file under two names (a backup still linked to the file in place).
bool SameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {
  }, sb{};
  return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// A temporary file or backup the recovery may move or remove: the user's own, never followed
// through a link; a regular file, or (the backup of a deleted link) a link itself.
bool OwnLeftover(const fs::path& path, bool linkToo) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && st.st_uid == ::geteuid() &&
         (S_ISREG(st.st_mode) || (linkToo && S_ISLNK(st.st_mode)));
}

// The recovery renames and removes only paths NameFiles made from a record whose names were
// checked (ReadCommitRecord): the targets of its family in the record's folder, and marked
// leftovers of the file each target leads to, beside that file.
bool Rename(const fs::path& from, const fs::path& to) {
  return !InjectFileFault(FileOperation::kRename) && std::rename(from.c_str(), to.c_str()) == 0;
}

bool Unlink(const fs::path& path) {
  return !InjectFileFault(FileOperation::kRename) && ::unlink(path.c_str()) == 0;
}

// A record that is not acted on goes out of the way under a name of its own (".A.commit.bad"),
// so that it neither blocks the archive's next commit nor is taken for a commit again.
RecordRecovery SetAside(const fs::path& record) {
  fs::path kept;
  if (MoveAside(record, kept).ok()) {
    // Told each time: the name set aside is never met again.
    platform::GetPrompter().ShowMessage(kMsgCommitRecordSetAside,
                                        GetMessageText(kMsgCommitRecordSetAside) + "\n" +
                                            Shown(record) + "\n-> " + Shown(kept.filename()),
                                        platform::Icon::Warning);
  } else {
    TellOnce(kMsgCommitRecordInTheWay, Shown(record));
  }
  return RecordRecovery::kSetAside;
}

// One file of the record, with the paths its names stand for.
struct Named {
  const CommitRecordItem* item = nullptr;
  fs::path given;   // the target in the record's folder
  fs::path file;    // the file it leads to (the target itself unless it is a link)
  fs::path temp;    // beside `file`
  fs::path backup;  // beside `file` (beside `given` for a deletion)
};

// The paths of every file the record names; false when a temporary file or backup does not
// belong to the file its target leads to.
bool NameFiles(const CommitRecord& record, const fs::path& folder, std::vector<Named>& files) {
  for (const CommitRecordItem& item : record.items) {
    Named n;
    n.item = &item;
    n.given = folder / item.target;
    n.file = item.rewrite ? FileBehindLinks(n.given) : n.given;
    const fs::path beside = FolderOf(n.file);
    const std::string of = n.file.filename().string();
    if (item.rewrite) {
      if (ParseLeftoverName(item.temp).of != of) return false;
      n.temp = beside / item.temp;
    }
    if (!item.backup.empty()) {
      if (ParseLeftoverName(item.backup).of != of) return false;
      n.backup = beside / item.backup;
    }
    files.push_back(std::move(n));
  }
  return true;
}

// Forward: every temporary file still there over its target, every deletion done.
void Finish(const std::vector<Named>& files, std::vector<fs::path>& kept) {
  for (const Named& n : files) {
    if (n.item->rewrite) {
      if (!Exists(n.temp)) continue;  // renamed before the stop
      if (!OwnLeftover(n.temp, false) || !Rename(n.temp, n.file)) kept.push_back(n.temp);
    } else if (!n.backup.empty() && Exists(n.given) && !Unlink(n.given)) {
      kept.push_back(n.given);
    }
  }
}

// Back: every old file from its backup; a file the commit created removed.
void Undo(const std::vector<Named>& files, std::vector<fs::path>& kept) {
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    const Named& n = *it;
    if (!n.backup.empty()) {
      if (!Exists(n.backup) || SameFile(n.backup, n.file)) continue;  // the old file in place
      if (!OwnLeftover(n.backup, !n.item->rewrite) || !Rename(n.backup, n.file))
        kept.push_back(n.backup);
    } else if (n.item->rewrite && n.item->newInode != 0 && InodeOf(n.file) == n.item->newInode &&
               OwnLeftover(n.file, false) && !Unlink(n.file)) {
      kept.push_back(n.file);
    }
  }
}

// A new file is gone while the old one is still in place: the commit cannot be finished.
bool NewFileLost(const std::vector<Named>& files) {
  for (const Named& n : files) {
    if (!n.item->rewrite || Exists(n.temp)) continue;
    if (n.backup.empty() ? !Exists(n.file) : SameFile(n.backup, n.file)) return true;
  }
  return false;
}

RecordRecovery Recover(const fs::path& record) {
  struct stat st {};
  if (::lstat(record.c_str(), &st) != 0) return RecordRecovery::kNone;
  const std::string anchor = CommitRecordAnchor(record.filename().string());
  if (anchor.empty() || record.filename().string() != CommitRecordName(anchor))
    return RecordRecovery::kNone;
  if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1 ||
      static_cast<unsigned long long>(st.st_size) > kCommitRecordBytes)
    return SetAside(record);
  std::string text;
  if (!ReadWholeFile(record, text, kCommitRecordBytes).ok()) return SetAside(record);
  CommitRecord intent;
  if (ReadCommitRecord(text, anchor, intent) != CommitRecordCheck::kWhole) return SetAside(record);
  if (intent.pid == ::getpid() && intent.started == StartTimeOf(::getpid())) {
    const std::lock_guard lock(LiveMutex());
    if (LiveIntents().count(record.string()) != 0) return RecordRecovery::kLive;
  } else if (ProcessAlive(intent.pid) && StartTimeOf(intent.pid) == intent.started) {
    return RecordRecovery::kLive;
  }
  const fs::path folder = FolderOf(record);
  std::vector<Named> files;
  if (!NameFiles(intent, folder, files)) return SetAside(record);

  const bool undo = NewFileLost(files);
  std::vector<fs::path> kept;
  if (undo)
    Undo(files, kept);
  else
    Finish(files, kept);
  std::set<fs::path> folders{folder};
  for (const Named& n : files) folders.insert(FolderOf(n.file));
  for (const fs::path& f : folders) FlushFolder(f);
  if (!kept.empty()) {
    std::string names = Shown(record);
    for (const fs::path& path : kept) names += "\n" + Shown(path);
    TellOnce(kMsgCommitNotFinished, names);
    return RecordRecovery::kUnfinished;
  }
  for (const Named& n : files) {
    if (!n.backup.empty() && OwnLeftover(n.backup, !n.item->rewrite) &&
        (undo || !SameFile(n.backup, n.file)))
      ::unlink(n.backup.c_str());
    if (n.item->rewrite && OwnLeftover(n.temp, false)) ::unlink(n.temp.c_str());
  }
  ::unlink(record.c_str());  // the record checked above: the user's own regular file
  FlushFolder(folder);
  return RecordRecovery::kDone;
}

std::vector<std::string> HiddenNames(const fs::path& folder) {
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

// Removes from `folder` the leftovers (marked names only) of processes gone, of the files
// `belongs` accepts: backups, and temporary files while this process holds the data folder's
// lock. Nothing of a commit family is removed while a record of it is there, whole or set aside.
template <typename Belongs>
void RemoveLeftovers(const fs::path& folder, const std::vector<std::string>& names,
                     Belongs belongs) {
  std::vector<std::string> recorded;
  for (const std::string& name : names)
    if (std::string anchor = CommitRecordAnchor(name); !anchor.empty())
      recorded.push_back(std::move(anchor));
  const bool temporaries = g_holdsLock.load();
  for (const std::string& name : names) {
    const LeftoverName leftover = ParseLeftoverName(name);
    if (leftover.kind == LeftoverKind::kNone || !belongs(leftover.of)) continue;
    if (leftover.kind == LeftoverKind::kTemporary && !temporaries) continue;
    if (std::any_of(recorded.begin(), recorded.end(),
                    [&](const std::string& a) { return InCommitFamily(a, leftover.of); }))
      continue;
    if (leftover.pid == ::getpid() || ProcessAlive(leftover.pid)) continue;
    const fs::path path = folder / name;
    if (OwnLeftover(path, false)) ::unlink(path.c_str());
  }
}

bool IsArchiveFamilyName(const std::string& of) {
  return of.size() > 4 && of[of.size() - 4] == '.' &&
         (of[of.size() - 3] == 'a' || of[of.size() - 3] == 'A') &&
         (of[of.size() - 2] == 'r' || of[of.size() - 2] == 'R');
}

}  // namespace

void SetHoldsDataFolderLock(bool held) { g_holdsLock = held; }

RecordRecovery RecoverCommitRecord(const fs::path& record) {
  const std::lock_guard recovering(RecoverMutex());
  return Recover(record);
}

bool RecoverArchiveFiles(const fs::path& archive) {
  const std::string name = archive.filename().string();
  if (name.empty()) return true;
  const std::lock_guard recovering(RecoverMutex());
  const fs::path folder = FolderOf(archive);
  const RecordRecovery done = Recover(folder / CommitRecordName(name));
  // The archive's own files: "a.arc", its comment files "a.ar0".."a.ar9" and its intent record.
  RemoveLeftovers(folder, HiddenNames(folder), [&](const std::string& of) {
    return InCommitFamily(name, of) || of == CommitRecordName(name);
  });
  // An archive reached through a link has its new contents and backups where the link leads;
  // they are cleared there once no record beside the link names them.
  const fs::path file = FileBehindLinks(archive);
  if (file != archive && (done == RecordRecovery::kNone || done == RecordRecovery::kDone)) {
    const std::string fileName = file.filename().string();
    RemoveLeftovers(FolderOf(file), HiddenNames(FolderOf(file)),
                    [&](const std::string& of) { return of == fileName; });
  }
  return done != RecordRecovery::kUnfinished;
}

void RecoverDataFolder(const fs::path& folder) {
  const std::lock_guard recovering(RecoverMutex());
  std::vector<std::string> names = HiddenNames(folder);
  bool recovered = false;
  for (const std::string& name : names) {
    const std::string anchor = CommitRecordAnchor(name);
    if (anchor.empty() || name != CommitRecordName(anchor)) continue;
    Recover(folder / name);
    recovered = true;
  }
  if (recovered) names = HiddenNames(folder);
  RemoveLeftovers(folder, names, [&](const std::string& of) {
    // The program's own files: one there now, an archive or its comment file, an intent record,
    // a chart's comment page "VelmSSSP.txt".
    if (!CommitRecordAnchor(of).empty() || IsCommentPageName(of) || IsArchiveFamilyName(of))
      return true;
    std::error_code ec;
    return of.find('/') == std::string::npos && fs::exists(folder / of, ec);
  });
}
