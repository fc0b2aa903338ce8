#include "archive/store/commit_recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "archive/store/commit_record.h"
#include "archive/store/commit_shared.h"
#include "foundation/files/leftover_names.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace commit_detail;

namespace {

std::atomic<bool> g_holdsLock{false};

// The names under which the old files of a record's commit are kept, for a message.
std::string BackupsOf(const CommitRecord& intent, const fs::path& folder, int dir) {
  std::string names;
  for (const CommitRecordItem& item : intent.items)
    if (!item.backup.empty() && item.backup.find('/') == std::string::npos &&
        ExistsAt(dir, item.backup))
      names += "\n" + Shown(folder / item.backup);
  return names;
}

// The backups of the family of `anchor` in the folder, whatever record names them (the old files
// of a commit whose record cannot be trusted), for a message; empty when there are none.
std::string FamilyBackups(int dir, const fs::path& folder, const std::string& anchor) {
  std::vector<std::string> found;
  for (const std::string& name : HiddenNamesAt(dir))
    if (const std::string of = CommitBackupOf(name); !of.empty() && InCommitFamily(anchor, of))
      found.push_back(name);
  std::sort(found.begin(), found.end());
  std::string names;
  for (const std::string& name : found) names += "\n" + Shown(folder / name);
  return names;
}

// How many names a record set aside tries: the first is free but for another copy's race.
constexpr int kSetAsideTries = 4;

// Where `record` goes aside: the number of the next name, one past the highest there
// (".A.commit.bad" is 1, ".bad2" 2, ...), or the name it already has there (an earlier setting
// aside linked it but could not remove its first name: no further name is made).
struct SetAsideName {
  unsigned long long next = 1;
  std::string linked;
};
SetAsideName SetAsideNameOf(int dir, const std::string& record) {
  const std::string bad = record + ".bad";
  SetAsideName found;
  unsigned long long highest = 0;
  for (const std::string& name : HiddenNamesAt(dir)) {
    if (!name.starts_with(bad)) continue;
    if (SameFileAt(dir, name, record)) found.linked = name;
    const std::string_view n = std::string_view(name).substr(bad.size());
    if (n.empty())
      highest = std::max(highest, 1ull);
    else if (n.size() <= 18 && AllDigits(n))
      highest = std::max(highest, std::stoull(std::string(n)));
  }
  found.next = highest + 1;
  return found;
}

// A record of this user's own that is not acted on goes out of the way under a name of its own
// (".A.commit.bad", then ".bad<n>" one past the highest there), so that it neither blocks the
// archive's next commit nor is taken for a commit again; message `number` names it, and `more`
// beneath. A record that cannot be moved within a few names is named by message 1906. Another
// user's record is never set aside (its owner's next opening takes it).
void SetAside(int dir, const fs::path& folder, const std::string& record, int number,
              const std::string& more = {}) {
  std::string kept;
  bool moved = false;
  const SetAsideName aside = SetAsideNameOf(dir, record);
  if (!aside.linked.empty()) {
    kept = aside.linked;
    moved = RemoveAt(dir, record);
  }
  unsigned long long n = aside.next;
  for (int tries = 0; tries < kSetAsideTries && kept.empty(); ++tries, ++n) {
    const std::string name = record + (n == 1 ? std::string(".bad") : ".bad" + std::to_string(n));
    if (InjectFileFault(FileOperation::kRename)) break;
    // linkat never replaces a name; the record's own name goes once the new one holds it.
    if (::linkat(dir, record.c_str(), dir, name.c_str(), 0) == 0) {
      kept = name;
      moved = RemoveAt(dir, record);
      if (!moved && RemoveAt(dir, kept)) kept.clear();
      break;
    }
    if (errno == EEXIST || ExistsAt(dir, name)) continue;
    // A folder, or a file system without hard links: renamed, its new name free.
    kept = name;
    moved = ::renameat(dir, record.c_str(), dir, name.c_str()) == 0;
    break;
  }
  if (!moved) {
    TellOnce(kMsgCommitRecordInTheWay, Shown(folder / record));
    return;
  }
  FlushFolder(dir);
  // Told each time: the name set aside is never met again.
  platform::GetPrompter().ShowMessage(
      number, GetMessageText(number) + "\n" + Shown(folder / record) + "\n-> " + kept + more,
      platform::Icon::Warning);
}

// A record that is not acted on (damaged, naming files outside its commit, not a regular file or
// too long): judged by the disk, never by what it says. A commit keeps its old files under backups
// before it writes its record, so with backups of the family there its renames may have begun,
// and nothing in it tells which files are new: everything stays, the archive is refused (false)
// and the backups are named. Without any, no old file was touched (or every file of the commit is
// new): this user's own record goes aside and the archive is read as it is.
bool NotActedOn(int dir, const fs::path& folder, const std::string& name,
                const std::string& anchor) {
  if (const std::string backups = FamilyBackups(dir, folder, anchor); !backups.empty()) {
    TellOnce(kMsgDamagedRecordAfterStep, Shown(folder / name) + backups);
    return false;
  }
  SetAside(dir, folder, name, kMsgCommitRecordSetAside);
  return true;
}

// A new file is gone while the old one is still in place: the commit cannot go forward.
bool NewFileLost(int dir, const CommitRecord& intent) {
  for (const CommitRecordItem& item : intent.items) {
    if (!item.rewrite || ExistsAt(dir, item.temp)) continue;
    // The old file in place: its backup is the same file, or (the folder copied without its
    // hard links) holds the same bytes.
    if (item.backup.empty() ? !ExistsAt(dir, item.target)
                            : SameFileAt(dir, item.backup, item.target) ||
                                  SameBytesAt(dir, item.backup, item.target))
      return true;
  }
  return false;
}

// Whether no step of the commit has been taken: every new file still waits, every file to be
// deleted is still there.
bool Untouched(int dir, const CommitRecord& intent) {
  for (const CommitRecordItem& item : intent.items)
    if (item.rewrite ? !ExistsAt(dir, item.temp)
                     : (!item.backup.empty() && !SameFileAt(dir, item.backup, item.target)))
      return false;
  return true;
}

// A name the recovery may replace or remove: none there, or the user's own regular file (a
// commit never has a link, or another user's file, among its files).
bool Replaceable(int dir, const std::string& name) {
  return !ExistsAt(dir, name) || OwnFileAt(dir, name);
}

// A new file that is not the user's own regular file (a link, another user's) is never moved, and
// no target that is not is replaced or removed.
bool CanFinish(int dir, const CommitRecord& intent) {
  for (const CommitRecordItem& item : intent.items)
    if ((item.rewrite && ExistsAt(dir, item.temp) && !OwnFileAt(dir, item.temp)) ||
        !Replaceable(dir, item.target))
      return false;
  return true;
}

// The targets whose old file waits under its backup but cannot come back over them: they are not
// the user's own regular file. Empty when every old file can come back; else their names, each
// on a line of its own, for a message.
std::string UndoBlockedBy(int dir, const fs::path& folder, const CommitRecord& intent) {
  std::string names;
  for (const CommitRecordItem& item : intent.items)
    if (!item.backup.empty() && ExistsAt(dir, item.backup) &&
        !SameFileAt(dir, item.backup, item.target) && !Replaceable(dir, item.target))
      names += "\n" + Shown(folder / item.target);
  return names;
}

// Forward: every new file still there over its target; a deletion only where the old file is
// kept under its backup.
void Finish(int dir, const CommitRecord& intent, std::vector<std::string>& kept) {
  for (const CommitRecordItem& item : intent.items) {
    if (item.rewrite) {
      if (ExistsAt(dir, item.temp) && !RenameAt(dir, item.temp, item.target))
        kept.push_back(item.temp);
    } else if (!item.backup.empty() && OwnFileAt(dir, item.backup, true) &&
               OwnFileAt(dir, item.target) && !UnlinkAt(dir, item.target)) {
      kept.push_back(item.target);
    }
  }
}

// Back: every old file from its backup; the new file of a target that was not there removed,
// when it is still the content the commit made (an earlier version's record names none).
void Undo(int dir, const CommitRecord& intent, std::vector<std::string>& kept) {
  for (auto it = intent.items.rbegin(); it != intent.items.rend(); ++it) {
    const CommitRecordItem& item = *it;
    if (!item.backup.empty()) {
      if (!ExistsAt(dir, item.backup) || SameFileAt(dir, item.backup, item.target) ||
          !Replaceable(dir, item.target))
        continue;
      if (!OwnFileAt(dir, item.backup, true) || !RenameAt(dir, item.backup, item.target))
        kept.push_back(item.backup);
    } else if (item.rewrite && !ExistsAt(dir, item.temp) && OwnFileAt(dir, item.target) &&
               (item.created.empty() ? intent.earlierFormat
                                     : FingerprintAt(dir, item.target) == item.created) &&
               !UnlinkAt(dir, item.target)) {
      kept.push_back(item.target);
    }
  }
}

// Whether the error of a look at a name says that no file has it (the name of an archive's record
// may be longer than the folder takes: then there is none).
bool NoSuchName(int error) { return error == ENOENT || error == ENAMETOOLONG; }

// The record's bytes, or false when it cannot be read now (too many open files, an input or
// output error, no permission): what it says is then unknown, not damaged. A record that grew
// past kCommitRecordBytes meanwhile is read that far, which no check takes.
bool ReadRecord(int dir, const fs::path& folder, const std::string& name, std::string& text) {
  text.clear();
  if (InjectedReadFault(folder / name)) return false;
  const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  ssize_t got = 0;
  while (text.size() <= kCommitRecordBytes && (got = ::read(fd, buffer, sizeof buffer)) != 0) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return got >= 0;
}

// The recovery of the record `name` of the folder `dir` (the folder's lock held): false when the
// commit could not be made whole and its files must not be read now.
bool Recover(int dir, const fs::path& folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (NoSuchName(errno)) return true;
    TellOnce(kMsgCommitNotFinished, Shown(folder / name));  // there, but cannot be looked at now
    return false;
  }
  const std::string anchor = CommitRecordAnchor(name);
  if (anchor.empty() || name != CommitRecordName(anchor)) return true;
  if (st.st_uid != ::geteuid()) {
    // Another user's: its commit may have begun, and only its owner's copy can take it on (its
    // files are that user's). Nothing of it is read, moved or linked here, and while it lies
    // there the archive is neither read nor changed; its owner's next opening finishes it.
    std::string detail = Shown(folder / name) + "\n" + OwnerShown(st.st_uid);
    if (const std::string backups = FamilyBackups(dir, folder, anchor); !backups.empty())
      detail += "\n" + GetMessageText(kMsgBackupsOfAnotherUsersCommit) + backups;
    TellOnce(kMsgRecordOfAnotherUser, detail);
    return false;
  }
  // A second name (a hard-link backup of the folder gave it one) changes nothing: the record is
  // read through this folder's name and every step acts on this folder's names.
  if (!S_ISREG(st.st_mode) || static_cast<unsigned long long>(st.st_size) > kCommitRecordBytes)
    return NotActedOn(dir, folder, name, anchor);
  std::string text;
  if (!ReadRecord(dir, folder, name, text)) {
    // Kept as it is: the next opening reads it again.
    TellOnce(kMsgCommitNotFinished, Shown(folder / name));
    return false;
  }
  CommitRecord intent;
  const CommitRecordCheck check = ReadCommitRecord(text, anchor, intent);
  if (check == CommitRecordCheck::kForeign && intent.earlierFormat) {
    // An earlier version's commit, naming files it may not: its old files stay where they are,
    // and the archive is not shown as the stop left it.
    TellOnce(kMsgFirstFormatRefused, Shown(folder / name) + BackupsOf(intent, folder, dir));
    return false;
  }
  if (check != CommitRecordCheck::kWhole) return NotActedOn(dir, folder, name, anchor);

  std::vector<std::string> kept;
  bool turned = false;  // forward on the disk, back from here
  if (!intent.back && !CanFinish(dir, intent)) {
    // Never finished forward: untouched, its old files are whole; else they come back.
    if (Untouched(dir, intent)) {
      SetAside(dir, folder, name, kMsgCommitCannotFinish, BackupsOf(intent, folder, dir));
      return true;
    }
    turned = true;
  } else if (!intent.back && NewFileLost(dir, intent)) {
    turned = true;
  }
  if (intent.back || turned) {
    // A step was taken, and an old file cannot come back over a target that is now a link or
    // another user's file: everything stays, the archive is refused, and the next opening goes
    // back once that file is moved away.
    if (const std::string blocked = UndoBlockedBy(dir, folder, intent); !blocked.empty()) {
      TellOnce(kMsgCommitCannotUndo, blocked + BackupsOf(intent, folder, dir));
      return false;
    }
  }
  // A change of direction is on the disk before the first step back.
  if (turned) {
    intent.back = true;
    if (!WriteWholeAt(dir, name, FormatCommitRecord(intent))) kept.push_back(name);
  }
  if (kept.empty()) {
    if (intent.back)
      Undo(dir, intent, kept);
    else
      Finish(dir, intent, kept);
  }
  FlushFolder(dir);
  if (!kept.empty()) {
    std::string names = Shown(folder / name);
    for (const std::string& k : kept) names += "\n" + Shown(folder / k);
    TellOnce(kMsgCommitNotFinished, names);
    return false;
  }
  // A backup goes once the file it kept is no longer needed: forward, the target is new; back,
  // it was put back (or the target is still the same file). One a target that is not the
  // user's own kept from being put back stays.
  for (const CommitRecordItem& item : intent.items) {
    if (!item.backup.empty() && OwnFileAt(dir, item.backup, true) &&
        intent.back == SameFileAt(dir, item.backup, item.target))
      RemoveAt(dir, item.backup);
    if (item.rewrite && OwnFileAt(dir, item.temp)) RemoveAt(dir, item.temp);
  }
  RemoveAt(dir, name);  // checked above: the user's own regular file
  FlushFolder(dir);
  return true;
}

// Removes from the folder the leftovers (marked names only) of the files `belongs` accepts. Called
// under the folder's exclusive lock, held outermost by this thread: no copy of the program is
// inside a commit there, and no operation of this process, so every such name is a leftover of a
// stopped one, whatever process number it carries. The temporary files and backups of the files
// of an archive family are made only under that lock; those of other files (`others`: the
// configuration, a chart's comment pages) only while the program holds the data folder's lock.
// Nothing of a commit family is removed while a record of it is there, whole or set aside.
template <typename Belongs>
void RemoveLeftovers(int dir, const std::vector<std::string>& names, Belongs belongs) {
  std::vector<std::string> recorded;
  for (const std::string& name : names)
    if (std::string anchor = CommitRecordAnchor(name); !anchor.empty())
      recorded.push_back(std::move(anchor));
  const bool others = g_holdsLock.load();
  for (const std::string& name : names) {
    const LeftoverName leftover = ParseLeftoverName(name);
    if (leftover.kind == LeftoverKind::kNone || !belongs(leftover.of)) continue;
    const bool ofArchive =
        IsArchiveFamilyName(leftover.of) || !CommitRecordAnchor(leftover.of).empty();
    if (!ofArchive && !others) continue;
    if (std::any_of(recorded.begin(), recorded.end(), [&](const std::string& a) {
          return a == leftover.of || InCommitFamily(a, leftover.of);
        }))
      continue;
    if (OwnFileAt(dir, name)) RemoveAt(dir, name);
  }
}

// The recovery of `record` in the folder `lock` holds exclusive: false when the archive's files
// must not be read now (the commit could not be made whole, or, setting `live`, another copy
// holds the lock and may be inside its commit).
bool RecoverUnder(const FolderLock& lock, const fs::path& folder, const std::string& record,
                  bool* live = nullptr) {
  // A folder that cannot be locked at all is changed by no copy of the program: a record there
  // is a stopped commit.
  if (lock.Held() || (lock.Unlockable() && lock.Folder() >= 0))
    return Recover(lock.Folder(), folder, record);
  if (live != nullptr) *live = lock.Busy();
  return !lock.Busy();
}

// Whether the folder's leftovers may be removed under `lock` (see RemoveLeftovers).
bool MayClean(const FolderLock& lock) {
  return (lock.Held() && lock.Outermost()) || (lock.Unlockable() && lock.Folder() >= 0);
}

// Whether `path` may be there: there, or not known to be absent (a look that failed for another
// reason than its absence).
bool MaybeThere(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 || !NoSuchName(errno);
}

}  // namespace

void SetHoldsDataFolderLock(bool held) { g_holdsLock = held; }

bool RecoverCommitRecord(const fs::path& record) {
  const fs::path folder = FolderOf(record);
  const FolderLock lock(folder, kCommitWait);
  return RecoverUnder(lock, folder, record.filename().string());
}

bool RecoverArchiveFiles(const fs::path& archive) {
  // An archive reached through a link is resolved here, once: its files, its record and its
  // leftovers are those beside the file itself.
  // A path the system's calls would cut names another file (or the folder itself): never read.
  if (!FitsSystemCalls(archive.native())) return false;
  const fs::path file = FileBehindLinks(archive);
  const std::string name = file.filename().string();
  if (name.empty()) return true;
  const fs::path folder = FolderOf(file);
  const std::string record = CommitRecordName(name);
  // A record is waited for (a commit under way ends within the wait); without one, the clean-up
  // needs the folder only while no other copy works in it.
  const bool recorded = MaybeThere(folder / record);
  const FolderLock lock(folder, recorded ? kCommitWait : std::chrono::milliseconds(0));
  if (lock.Folder() < 0 && !lock.Busy()) return !recorded;  // nothing there to read either
  if (recorded) {
    bool live = false;
    if (!RecoverUnder(lock, folder, record, &live)) {
      // Another copy is inside its commit: the archive is not shown half changed.
      if (live) TellArchiveBusy(file, lock.BusyReading());
      return false;
    }
  }
  // The archive's own files: "a.arc", its comment files "a.ar0".."a.ar9" and its intent record.
  if (MayClean(lock))
    RemoveLeftovers(lock.Folder(), HiddenNamesAt(lock.Folder()), [&](const std::string& of) {
      return InCommitFamily(name, of) || of == record;
    });
  return true;
}

void RecoverDataFolder(const fs::path& folder) {
  // Records of commits under way in another copy are left to the opening of their archives.
  const FolderLock lock(folder, std::chrono::milliseconds(0));
  if (!MayClean(lock)) return;
  const int dir = lock.Folder();
  std::vector<std::string> names = HiddenNamesAt(dir);
  bool recovered = false;
  for (const std::string& name : names) {
    const std::string anchor = CommitRecordAnchor(name);
    if (anchor.empty() || name != CommitRecordName(anchor)) continue;
    RecoverUnder(lock, folder, name);
    recovered = true;
  }
  if (recovered) names = HiddenNamesAt(dir);
  RemoveLeftovers(dir, names, [&](const std::string& of) {
    // The program's own files: one there now, an archive or its comment file, an intent record,
    // a chart's comment page "VelmSSSP.txt".
    if (!CommitRecordAnchor(of).empty() || IsCommentPageName(of) || IsArchiveFamilyName(of))
      return true;
    return of.find('/') == std::string::npos && ExistsAt(dir, of);
  });
}
