#include "archive/store/file_transaction.h"

#include <unistd.h>

#include <atomic>
#include <string>
#include <system_error>

#include "archive/store/archive_layout.h"
#include "archive/store/commit_record.h"
#include "archive/store/commit_shared.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/leftover_names.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace commit_detail;

namespace {

std::atomic<CommitStepHook> g_stepHook{nullptr};

// Calls the test's step hook with `step`, then counts it.
void Step(int& step) {
  if (CommitStepHook hook = g_stepHook.load()) hook(step);
  ++step;
}

void TellBackupsKept(const std::vector<fs::path>& kept) {
  std::string text = GetMessageText(kMsgBackupsKept);
  for (const fs::path& path : kept) text += "\n" + platform::Utf8ToCp1251(path.native());
  platform::GetPrompter().ShowMessage(kMsgBackupsKept, text, platform::Icon::Warning);
}

// A backup name beside `target` that no file has.
fs::path BackupName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const fs::path folder = FolderOf(target);
  for (;;) {
    fs::path candidate = folder / BackupNameOf(target.filename().string(), ++counter);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
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
  if (!out.Ok()) return Status::Error(kErrCannotCreate, record.string());
  {
    const std::lock_guard lock(LiveMutex());
    LiveTemporaries().insert(out.TempPath().string());
  }
  out.Write(text);
  Status st = out.Flush();
  if (st.ok()) {
    Step(step);
    st = out.Replace(true);
  }
  const std::lock_guard lock(LiveMutex());
  LiveTemporaries().erase(out.TempPath().string());
  return st;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

void SetCommitStepHook(CommitStepHook hook) { g_stepHook = hook; }

fs::path CommitIntentPath(const fs::path& anchor) {
  return FolderOf(anchor) / CommitRecordName(anchor.filename().string());
}

FileTransaction::~FileTransaction() {
  const std::lock_guard lock(LiveMutex());
  for (const Item& item : items_)
    if (item.rewrite) LiveTemporaries().erase(item.rewrite->TempPath().string());
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
  item.given = target;
  item.target = file;
  {
    // Created and named live at once: an opening on another thread never takes it for a leftover.
    const std::lock_guard lock(LiveMutex());
    item.rewrite = std::make_unique<SafeRewrite>(target);
    if (!item.rewrite->TempPath().empty())
      LiveTemporaries().insert(item.rewrite->TempPath().string());
  }
  items_.push_back(std::move(item));
  return *items_.back().rewrite;
}

void FileTransaction::Remove(const fs::path& target) {
  Item item;
  item.given = target;
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
      return Status::Error(kErrCannotCreate, item.target.string());
    if (item.rewrite && !item.rewrite->Ok()) return Status::Error(kErrWrite, item.target.string());
  }
  if (items_.empty()) return Status::Ok();
  // The record names the files by their names in its own folder: one archive with its comment
  // files, or one slot's page files.
  const Item* anchor = &items_.front();
  for (const Item& item : items_)
    if (HasArchiveExtension(item.given)) {
      anchor = &item;
      break;
    }
  const fs::path folder = FolderOf(anchor->given);
  const std::string anchorName = anchor->given.filename().string();
  for (const Item& item : items_)
    if (FolderOf(item.given) != folder ||
        !InCommitFamily(anchorName, item.given.filename().string()))
      return Status::Error(kErrParameter, item.given.string());
  // Every new file whole on the disk before the record says it is there.
  for (Item& item : items_)
    if (item.rewrite)
      if (Status st = item.rewrite->Flush(); !st.ok()) return st;
  CommitRecord intent;
  intent.pid = ::getpid();
  intent.started = StartTimeOf(intent.pid);
  for (Item& item : items_) {
    item.existed = Exists(item.target);
    CommitRecordItem recorded;
    recorded.rewrite = item.rewrite != nullptr;
    recorded.target = item.given.filename().string();
    if (item.rewrite) {
      recorded.temp = item.rewrite->TempPath().filename().string();
      recorded.newInode = InodeOf(item.rewrite->TempPath());
    }
    if (item.existed) {
      recorded.oldInode = InodeOf(item.target);
      item.backup = BackupName(item.target);
      if (!MakeBackup(item.target, item.backup)) {
        item.backup.clear();
        DropBackups();
        return Status::Error(kErrWrite, item.target.string());
      }
      recorded.backup = item.backup.filename().string();
      recorded.backupInode = InodeOf(item.backup);
      Step(step);
    }
    intent.items.push_back(std::move(recorded));
  }
  intent_ = CommitIntentPath(anchor->given);
  // A record a stopped commit left is made whole first; one still there belongs to a commit under
  // way or one that could not be made whole, and is never written over.
  if (Exists(intent_)) RecoverCommitRecord(intent_);
  if (Exists(intent_)) {
    DropBackups();
    const fs::path record = intent_;
    intent_.clear();
    TellOnce(kMsgCommitRecordInTheWay, platform::Utf8ToCp1251(record.native()));
    return Status::Error(kErrWrite, record.string());
  }
  {
    const std::lock_guard lock(LiveMutex());
    LiveIntents().insert(intent_.string());
  }
  const auto endCommit = [this] {
    const std::lock_guard lock(LiveMutex());
    LiveIntents().erase(intent_.string());
    intent_.clear();
  };
  if (Status st = WriteIntent(intent_, FormatCommitRecord(intent), step); !st.ok()) {
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
        return Status::Error(kErrWrite, item.target.string());
      }
    }
    item.done = true;
    Step(step);
  }
  for (const fs::path& f : folders) FlushFolder(f);
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
    // The intent record stays with every backup: the next opening makes the files whole.
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
