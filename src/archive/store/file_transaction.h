// Several files replaced together: each new content is written beside its target through
// SafeRewrite; Commit() first keeps the old files under backup names (hard links), then renames
// the new files over the targets and removes the files to be removed, in the order given. When any
// step fails, every target already replaced is put back from its backup, so all the files are as
// they were; on success the backups are dropped.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "foundation/files/safe_rewrite.h"
#include "foundation/status.h"

class FileTransaction {
 public:
  FileTransaction() = default;
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;

  // A new content for `target`; check Ok() of the result before writing. The same target given
  // twice gives the same rewrite; a removal of it asked for earlier is dropped.
  SafeRewrite& Rewrite(const std::filesystem::path& target);
  // `target` is deleted at commit (nothing when it does not exist then).
  void Remove(const std::filesystem::path& target);
  // True when a rewrite of `target` was asked for.
  bool Rewrites(const std::filesystem::path& target) const;
  bool Empty() const { return items_.empty(); }

  // All or nothing: error 105 when a temporary file could not be created, 104 for a failed write,
  // link or rename (the files are then as they were).
  Status Commit();

 private:
  struct Item {
    std::filesystem::path target;
    std::unique_ptr<SafeRewrite> rewrite;  // null: remove the target
    std::filesystem::path backup;          // empty when the target did not exist
    bool existed = false;
    bool done = false;
  };
  void RollBack();
  void DropBackups();
  std::vector<Item> items_;
};
