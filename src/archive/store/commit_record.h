// The intent record of a commit of several files (FileTransaction): ".A.commit" beside the
// commit's archive (or comment page) A, naming every file of the commit by its bare name in that
// folder, its new content's temporary file and its backup, the direction a recovery takes, and
// ending with a checksum of everything before it. Read back, a record is untrusted: it may name
// only the files of its own commit (the files of A's family: the archive and its comment files, or
// a chart's comment page files) and the temporary and backup files of the form a commit makes for
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CommitRecordItem {
  bool rewrite = false;  // false: the target is deleted
  std::string target;    // bare names of the record's folder: the target,
  std::string temp;      // its new content (rewrites),
  std::string backup;    // its old file (empty when there was none)
  // For a target that did not exist: its new content's size and checksum, "<size>-<16 hex>".
  // Going back, the target is removed only when it is still that content (the commit's own file).
  std::string created;
};

// FNV-1a over `bytes`, continuing from `hash` (kFnv1aStart for the first bytes).
inline constexpr std::uint64_t kFnv1aStart = 14695981039346656037ull;
std::uint64_t Fnv1a(std::uint64_t hash, std::string_view bytes);

struct CommitRecord {
  // Forward (the commit point is passed): every new file goes in, every deletion is done. Back
  // (a commit that failed is being rolled back): every old file comes back.
  bool back = false;
  // Written by an earlier version of the program (no direction; the first format had no checksum
  // and other leftover names): always forward.
  bool earlierFormat = false;
  std::vector<CommitRecordItem> items;
};

// A commit has a handful of files (an archive with its ten comment files at most): a record
// longer than this, or of more files, is none of the program's.
inline constexpr std::size_t kCommitRecordBytes = 16384;
inline constexpr std::size_t kCommitRecordItems = 24;

std::string FormatCommitRecord(const CommitRecord& record);
// `body` followed by its checksum line, as FormatCommitRecord ends a record.
std::string SealCommitRecord(std::string_view body);

enum class CommitRecordCheck {
  kWhole,     // whole, and naming only the files of its own commit
  kNotWhole,  // cut short, damaged or of an unknown kind: nothing in it is acted on
  kForeign,   // whole, but naming a file outside its commit: nothing in it is acted on (its
              // items are read on, to be named in a message)
};
// Reads the record of the commit anchored at the file named `anchor` (a bare name). Only an
// archive or a comment page anchors a record: any other anchor gives kForeign.
CommitRecordCheck ReadCommitRecord(std::string_view text, std::string_view anchor,
                                   CommitRecord& out);

// The record's file name for the anchor `anchor`: ".A.commit".
std::string CommitRecordName(std::string_view anchor);
// For a record's file name ".A.commit", or one set aside as ".A.commit.bad<n>": A; empty for any
// other name.
std::string CommitRecordAnchor(std::string_view name);
// The file a commit's backup name is of: ".NAME.velm-old-<pid>-<n>", or the first format's
// ".NAME.old<pid>_<n>", gives NAME; empty for any other name.
std::string CommitBackupOf(std::string_view name);
// Whether the system's calls take `path` whole: not empty and no NUL byte, where they would cut
// it (a path read from a file that holds one names another file, or the folder itself).
bool FitsSystemCalls(std::string_view path);
// Whether `name` is one of the files of the commit family of `anchor`: "X.arc" with its comment
// files "X.ar0".."X.ar9"; a chart's comment page "VelmSSSP.txt" with the other pages of its
// slot. Any other anchor has no family.
bool InCommitFamily(std::string_view anchor, std::string_view name);
// "X.arc" in any letter case: an archive.
bool IsArchiveName(std::string_view name);
// "X.arc" or one of its comment files "X.ar0".."X.ar9".
bool IsArchiveFamilyName(std::string_view name);
// "VelmSSSP.txt": a page file of a chart's comment slot.
bool IsCommentPageName(std::string_view name);
// Whether `name` may anchor a record: an archive or a comment page.
bool CanAnchorCommit(std::string_view name);
