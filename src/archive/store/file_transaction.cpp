#include "archive/store/file_transaction.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A fresh name beside `target` for its backup.
fs::path BackupName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
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

}  // namespace

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
  item.rewrite = std::make_unique<SafeRewrite>(target);
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
  for (Item& item : items_) {
    if (item.rewrite && item.rewrite->TempPath().empty())
      return Status::Error(105, item.target.string());
    if (item.rewrite && !item.rewrite->Ok()) return Status::Error(104, item.target.string());
  }
  for (Item& item : items_) {
    std::error_code ec;
    item.existed = fs::exists(item.target, ec);
    if (!item.existed) continue;
    item.backup = BackupName(item.target);
    if (!MakeBackup(item.target, item.backup)) {
      item.backup.clear();
      DropBackups();
      return Status::Error(104, item.target.string());
    }
  }
  for (Item& item : items_) {
    if (item.rewrite) {
      if (Status st = item.rewrite->Commit(); !st.ok()) {
        RollBack();
        return st;
      }
    } else if (item.existed) {
      if (InjectFileFault(FileOperation::kRename) || ::unlink(item.target.c_str()) != 0) {
        RollBack();
        return Status::Error(104, item.target.string());
      }
    }
    item.done = true;
  }
  DropBackups();
  return Status::Ok();
}

void FileTransaction::RollBack() {
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (!it->done) continue;
    if (it->existed) {
      std::rename(it->backup.c_str(), it->target.c_str());
      it->backup.clear();
    } else if (it->rewrite) {
      ::unlink(it->target.c_str());
    }
    it->done = false;
  }
  DropBackups();
}

void FileTransaction::DropBackups() {
  for (Item& item : items_) {
    if (item.backup.empty()) continue;
    ::unlink(item.backup.c_str());
    item.backup.clear();
  }
}
