// File helpers used throughout the program. Those that fail report through the error reporter
// (continue flag 1) under their own trace name and return -1; a rewrite of a file goes through
// SafeRewrite, so a failure leaves the old file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

// True when `name` (one file name, no folder) matches `pattern`: '*' any run of characters, '?'
// exactly one, other characters equal regardless of ASCII case.
bool MatchFilePattern(std::string_view pattern, std::string_view name);

// Opens a file for reading in binary mode, following links, only when it is a regular file: a
// folder, a named pipe, a device or a socket is refused without waiting for a writer (errno
// EISDIR for a folder, EINVAL for the others) as a file that cannot be opened is. Every reader of
// the program's files opens them through this.
std::FILE* OpenForReading(const std::filesystem::path& path);

// 1 when a file (not a folder) is found, else 0. A name is looked up exactly; a pattern with '*'
// or '?' in its last component is matched against the names in its folder, regardless of case.
int FileExists(std::string_view pathOrPattern);

// The length in bytes; -1 when the file cannot be opened.
std::int64_t GetFileLength(const std::filesystem::path& path);

// The bytes available to the caller on the disk of `path` (or of its folder when it does not exist
// yet); -1 when that cannot be found out.
std::int64_t GetFreeDiskSpace(const std::filesystem::path& path);

// 1 when a '.' follows the last '/', else 0.
int HasFileExtension(std::string_view path);

// Copies `source` byte for byte to `target`, which is created or replaced as a whole. 0, or -1
// after error 102 (source cannot be opened), 105, 103 or 104 under "FileCopy".
int FileCopy(const std::filesystem::path& source, const std::filesystem::path& target);

// Copies `n` bytes from the current position of `source` to the current position of `target` in
// chunks of 20000 bytes. 0, or -1 after error 103 (read error or fewer bytes) or 104 under
// "FileCopy".
int FileCopyHandles(std::FILE* source, std::FILE* target, std::int64_t n);

// Reads exactly `n` bytes in chunks of 30000. 0, or -1 after error 103 under "FileRead" (a read
// error, or the file ends first).
int FileRead(std::FILE* file, void* buffer, std::size_t n);

// Reads the whole file, at most size - 1 bytes, into `buffer` and ends them with a NUL. 0, or -1
// after error 102 (cannot be opened) or 103 under "FileLoad"; -1 for a size of 0.
int FileLoad(const std::filesystem::path& path, char* buffer, std::size_t size);

// Rewrites `file` as its bytes before offset `a`, then the whole of `insertFile` (nothing when the
// name is empty), then its bytes from offset `b` to the end. An offset of -1 leaves that part out.
// 0, or -1 with the file unchanged after error 102, 105, 103, 104, or 107 for an offset outside
// -1..length or b below a, under "InsertFile2File".
int InsertFile2File(const std::filesystem::path& file, std::int64_t a, std::int64_t b,
                    const std::filesystem::path& insertFile);

// The look-up of an existing file in a folder: the exact name first, then a unique match of the
// name regardless of ASCII case.
enum class NameMatch { Exact, IgnoringCase, Ambiguous, Missing };
struct FoundFile {
  NameMatch match = NameMatch::Missing;
  std::filesystem::path path;  // the file found; folder / name when Ambiguous or Missing
};
FoundFile FindFileIgnoringCase(const std::filesystem::path& folder, std::string_view name);
