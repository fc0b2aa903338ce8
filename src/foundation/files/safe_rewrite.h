// The one way a file is rewritten: a unique temporary file in the target's own folder is written,
// flushed and fsync'ed, then renamed over the target. The old file is never deleted first; on any
// failure the temporary file is removed and the old file is left as it was. A target that is a
// symbolic link (a file kept elsewhere) is rewritten where the link leads, the link kept.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"

class SafeRewrite {
 public:
  // Creates the temporary file beside `target`. Check Ok() (error 105 when it cannot be created).
  explicit SafeRewrite(std::filesystem::path target);
  ~SafeRewrite();  // removes the temporary file unless Commit() succeeded
  SafeRewrite(const SafeRewrite&) = delete;
  SafeRewrite& operator=(const SafeRewrite&) = delete;

  bool Ok() const { return file_ != nullptr && !failed_; }
  // Appends bytes; a failure is remembered and reported by Commit().
  bool Write(std::string_view bytes);
  // Copies `n` bytes of `source` from its current position (all that remain when n is -1).
  bool CopyFrom(std::FILE* source, long long n = -1);
  // The temporary file, for writers that need random access before committing.
  std::FILE* Handle() { return file_; }
  const std::filesystem::path& TempPath() const { return temp_; }
  const std::filesystem::path& Target() const { return target_; }

  // Flushes, fsyncs and renames over the target, then flushes the folder so that the rename
  // lasts. Error 104 for a failed write, 105 when the temporary file could not be created, and
  // error 104 naming the target when the rename fails.
  Status Commit();
  // Commit in two steps, for files committed together: the flush of the temporary file to the
  // disk (closing it), then the rename over the target, with or without the folder's flush.
  Status Flush();
  Status Replace(bool flushFolder);
  // The rename over `name` of the folder `folder` (a handle of the temporary file's own folder),
  // never following a link there; false when it fails.
  bool ReplaceAt(int folder, const std::string& name);
  // Sends the written bytes on their way to the disk without waiting for them (a later Flush
  // then finds them written or underway).
  void StartWriting();

 private:
  std::filesystem::path target_;
  std::filesystem::path resolved_;  // the target with its links followed: the file replaced
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  bool committed_ = false;
};

// `path` with every symbolic link of its last component followed (a link to a link too), the path
// itself when it is no link; a link that leads nowhere gives the file it names. The file a
// rewrite of `path` replaces.
std::filesystem::path FileBehindLinks(std::filesystem::path path);

// Rewrites `target` with `contents` through SafeRewrite; while a RewriteBatch is open on this
// thread, the file joins the batch instead.
Status RewriteFile(const std::filesystem::path& target, std::string_view contents);

// The files rewritten together, as at the program's exit, where each file's own waits for the
// disk (its data, then its folder) would add up: while the batch is open on this thread,
// RewriteFile leaves a file whose bytes on disk are already the same alone, and writes any other
// into its temporary file at once (a file that cannot be created or written fails there, as
// before) but keeps it back. Finish() then flushes all of them to the disk at the same time, one
// wait for the disk in all, and renames each over its target. Should the system fail before the
// folder reaches the disk, a target holds its old contents or its new ones, never a mixture.
class RewriteBatch {
 public:
  RewriteBatch();   // opens the batch on this thread (one at a time: a second one stays closed)
  ~RewriteBatch();  // finishes it when Finish() was not called
  RewriteBatch(const RewriteBatch&) = delete;
  RewriteBatch& operator=(const RewriteBatch&) = delete;

  // The rewrite of one file, as RewriteFile does it.
  Status Add(const std::filesystem::path& target, std::string_view contents);
  // Flushes and renames the files kept back and closes the batch; every failure is reported
  // under `trace`, and the first one returned.
  Status Finish(const char* trace = "RewriteBatch::Finish");

  int Written() const { return written_; }      // files flushed and renamed by Finish()
  int Unchanged() const { return unchanged_; }  // files left alone, their bytes the same

 private:
  std::vector<std::unique_ptr<SafeRewrite>> pending_;
  bool open_ = false;
  int written_ = 0;
  int unchanged_ = 0;
};

// The times the rewrite layer has waited for the disk: a file committed alone waits twice (its
// data, its folder), a batch once for all its files. For measuring; it only grows.
int DiskWaits();

// The most bytes a whole-file reader takes unless its format names fewer: far above any file the
// program keeps (the ephemeris tables, its largest, hold a few megabytes), far below what would
// exhaust the memory.
inline constexpr std::uint64_t kWholeFileLimit = 256ull << 20;

// Reads a whole file; error 102 when it cannot be opened or is no regular file (a folder, a named
// pipe, a device), 103 on a read error, 106 (the format's damage) when it holds more than `limit`
// bytes, which are then never read.
Status ReadWholeFile(const std::filesystem::path& path, std::string& out,
                     std::uint64_t limit = kWholeFileLimit);

// Keeps a file that could not be read out of the way of the next rewrite: renames `path` to
// "<name>.bad" (or "<name>.bad2" .. "<name>.bad99" when taken) in its folder, never over another
// file. `kept` receives the new path. Error 104 naming `path` when it cannot be renamed.
Status MoveAside(const std::filesystem::path& path, std::filesystem::path& kept);

// Keeps a copy of `path` beside it as "<name>.bad" (or "<name>.bad2" .. "<name>.bad99" when
// taken), never over another file; the file itself stays where it is. The copy is written in a
// temporary file and linked under its name once whole. `kept` receives the copy's path. Error 102
// or 103 when `path` cannot be read, 105 or 104 naming the copy when it cannot be written.
Status CopyAside(const std::filesystem::path& path, std::filesystem::path& kept);

// Rewrites `target` with `contents` and, when the target exists, keeps a copy of its old contents
// aside (CopyAside) after the new contents are written and before they replace it: a failure at
// any step leaves the target as it was. `kept` receives the copy's path (empty when there was no
// old file).
Status RewriteKeepingOld(const std::filesystem::path& target, std::string_view contents,
                         std::filesystem::path& kept);

// Fault injection for tests. The file operations of the rewrite layer are counted: creating a
// temporary file, each write into it, and each rename (or link or removal) that replaces a file.
// After ArmFileFault(n) the n-th counted operation fails as the system call would; 0 disarms.
// A removal (kRemove) counts as a rename for the counted faults.
enum class FileOperation { kCreate, kWrite, kRename, kFsync, kRemove };
void ArmFileFault(int n);
// The operations counted since the last ArmFileFault.
int CountedFileOperations();
// Counts one operation; true when it is the one to fail. Every writer of the rewrite layer asks
// before each create, write, fsync and rename (ArmFileFault's count leaves the fsyncs out).
bool InjectFileFault(FileOperation operation);

// The points at which a rewrite can be made to fail, each the way the system fails it.
enum class FaultPoint {
  kCreate,       // the n-th temporary file cannot be created
  kWriteAtByte,  // the write that reaches byte k (counted over every byte written since arming)
                 // writes the bytes before k and fails with an input/output error
  kShortWrite,   // the n-th write stores only part of its bytes, without an error
  kNoSpace,      // the disk is full from byte k on: every later write, and the flush, fail
  kFsync,        // the n-th flush to the disk fails
  kRename,       // the n-th rename (or link, or removal) that replaces a file fails
  kReadOnly,     // the folder cannot be written: every create and every rename fails
  kNoRemoval,    // no file can be removed (one held open on a shared folder): every removal fails
  kNoLock,       // the folder cannot be locked: flock and fcntl locks are both refused (lasting)
  kLocalFlock,   // the folder's flock is kept by this computer alone, as a network share keeps it:
                 // it succeeds without keeping out another copy (lasting)
};
struct FileFault {
  FaultPoint point = FaultPoint::kCreate;
  long long at = 1;  // n for the counted points, byte k for kWriteAtByte and kNoSpace
};
// Arms one fault (and disarms ArmFileFault's); DisarmFault() ends it.
void ArmFault(FileFault fault);
void DisarmFault();
// Whether the armed fault has happened, and the bytes written through the layer since arming.
bool FaultFired();
long long BytesWrittenSinceArming();
// For a write of `size` bytes: how many of them reach the file. Fewer than `size` means the write
// failed; `error` is then the system's error number (0 for a short write that reports none).
std::size_t InjectWriteFault(std::size_t size, int& error);
// True once a kNoSpace fault has filled the disk (a flush then fails as well).
bool InjectedDiskFull();
// True while a kNoRemoval fault is armed: a removal not counted by the walks fails as well.
bool InjectedNoRemoval();
// True while a kNoLock fault is armed: every lock of an archive's folder is refused.
bool InjectedNoLock();
// True while a kLocalFlock fault is armed: the folder's flock is not taken, as if it were granted.
bool InjectedLocalFlock();

// After ArmReadFault(path) every ReadWholeFile of `path` fails with error 103, as a file of
// another owner would for a user; an empty path disarms. (Tests may run as root, where a file's
// mode does not stop reading.)
void ArmReadFault(const std::filesystem::path& path);
// Whether ArmReadFault armed a failure for `path`: a reader that opens files itself fails as the
// system's open would (the commit's intent record).
bool InjectedReadFault(const std::filesystem::path& path);
