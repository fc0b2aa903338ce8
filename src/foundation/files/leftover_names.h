// The names of the files the program keeps beside a file while it replaces it: the new content
// being written, ".NAME.velm-tmp-<pid>-XXXXXX", and, during a commit of several files, the old
// file kept until the commit is whole, ".NAME.velm-old-<pid>-<n>". The mark and the writer's
// process id tell such a leftover from any file of the user's: a clean-up removes only names that
// carry them, never a hidden file that merely resembles them.
#pragma once

#include <string>
#include <string_view>

// The lock file of an archive's folder (archive/store/commit_shared.h): made once and kept there,
// never a leftover.
inline constexpr std::string_view kFolderLockName = ".velm-folder.lock";

enum class LeftoverKind { kNone, kTemporary, kBackup };

struct LeftoverName {
  LeftoverKind kind = LeftoverKind::kNone;
  std::string of;  // the file it belongs to (NAME)
  long pid = 0;    // the process that made it
};

// What `name` (a file name, no folder part) is; kind kNone for any other name.
LeftoverName ParseLeftoverName(std::string_view name);

// The mkstemp pattern of a temporary file of `of` made by this process.
std::string TemporaryNamePattern(const std::string& of);
// The n-th backup name of `of` made by this process.
std::string BackupNameOf(const std::string& of, unsigned n);
