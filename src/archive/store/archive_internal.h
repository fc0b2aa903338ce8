// Helpers shared by the Archive object's source files: the questions and messages it asks and
// shows, and the frame of a rewrite whose faults it reports.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "archive/store/archive_file.h"
#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/prompter.h"

class ArchiveIndex;
class FileTransaction;
class ListLock;
class SafeRewrite;

namespace archive_detail {

// Catalogue message n as a Yes/No question: true for Yes.
bool AskYesNo(int n);
bool AskYesNo(int n, const std::string& text);

using archive_file::ReadExactly;
using archive_file::ReadFileIfExists;
using archive_file::SeekTo;
// The base Source's name of a chart definition.
const std::string& BaseName(const SuperSource& definition);
// The free bytes on the disk of the folder that holds `path`.
std::int64_t FreeSpaceBeside(const std::filesystem::path& path);
// True when two paths name the same file: the same device and inode when both exist, the same
// normal path when neither does.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);
// True when writing an archive `target` with its comment files would write over the archive
// `source` or one of its comment files: the same file, or comment files of the same folder whose
// names differ only in letter case.
bool SharesArchiveFiles(const std::filesystem::path& target, const std::filesystem::path& source);

// An archive file opened for reading with its rewrite begun in a transaction: the frame of every
// operation that rewrites the archive. Reports error 102 (the file cannot be opened) or 105 (the
// rewrite cannot be created) under `trace`; Ok() is false then. The file is closed with it.
class ArchiveRewrite {
 public:
  // The archive `path` rewritten in place, under the exclusive lock of an operation that
  // compared its list with the file.
  ArchiveRewrite(const std::filesystem::path& path, FileTransaction& tx, const char* trace);
  // The archive of `source` read under its checked `lock` (nothing read, and nothing reported,
  // for a lock not held or a stale list), `target` written.
  ArchiveRewrite(const ArchiveIndex& source, const ListLock& lock,
                 const std::filesystem::path& target, FileTransaction& tx, const char* trace);
  ~ArchiveRewrite();
  ArchiveRewrite(const ArchiveRewrite&) = delete;
  ArchiveRewrite& operator=(const ArchiveRewrite&) = delete;

  bool Ok() const { return in_ != nullptr && out_ != nullptr; }
  std::FILE* In() const { return in_; }
  SafeRewrite& Out() const { return *out_; }

 private:
  // The new file of `target` begun, once `source` was opened (each named by the message of a
  // failure).
  void Begin(const std::filesystem::path& source, const std::filesystem::path& target,
             FileTransaction& tx, const char* trace);
  std::FILE* in_ = nullptr;
  SafeRewrite* out_ = nullptr;
};

// Ends a rewrite: error 104 with `writeDetail` when the writing failed, else the transaction
// committed (its error with `commitDetail` when that fails). 0 on success, else -1.
int FinishRewrite(bool written, FileTransaction& tx, const char* trace, int writeDetail,
                  int commitDetail);

}  // namespace archive_detail
