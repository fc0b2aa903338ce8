// The intent record of a commit of several files (FileTransaction): ".A.commit" beside the
// commit's first archive (or first file) A, naming every file of the commit by its bare name in
// that folder, its new content's temporary file and its backup, and ending with a checksum of
// everything before it. Read back, a record is untrusted: it may name only the files of its own
// commit (the files of A's family: the archive and its comment files, or a chart's comment page
// files) and the temporary and backup files of the form a commit makes for them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct CommitRecordItem {
  bool rewrite = false;  // false: the target is deleted
  std::string target;    // bare names: the target in the record's folder
  std::string temp;      // the new content (rewrites), beside the file the target leads to
  std::string backup;    // the old file (empty when there was none), beside that file too
  unsigned long long newInode = 0;     // the temporary file's
  unsigned long long backupInode = 0;  // the backup's
  unsigned long long oldInode = 0;     // the old file's at the target
};

struct CommitRecord {
  long pid = 0;                    // the committing process
  unsigned long long started = 0;  // when it started (clock ticks after the boot)
  std::vector<CommitRecordItem> items;
};

// A commit has a handful of files (an archive with its ten comment files at most): a record
// longer than this, or of more files, is none of the program's.
inline constexpr std::size_t kCommitRecordBytes = 16384;
inline constexpr std::size_t kCommitRecordItems = 24;

std::string FormatCommitRecord(const CommitRecord& record);

enum class CommitRecordCheck {
  kWhole,     // whole, and naming only the files of its own commit
  kNotWhole,  // cut short, damaged or of an unknown kind: nothing in it is acted on
  kForeign,   // whole, but naming a file outside its commit: nothing in it is acted on
};
// Reads the record of the commit anchored at the file named `anchor` (a bare name).
CommitRecordCheck ReadCommitRecord(std::string_view text, std::string_view anchor,
                                   CommitRecord& out);

// The record's file name for the anchor `anchor`: ".A.commit".
std::string CommitRecordName(std::string_view anchor);
// For a record's file name ".A.commit", or one set aside as ".A.commit.bad<n>": A; empty for any
// other name.
std::string CommitRecordAnchor(std::string_view name);
// Whether `name` is one of the files of the commit family of `anchor`: "X.arc" with its comment
// files "X.ar0".."X.ar9"; a chart's comment page "VelmSSSP.txt" with the other pages of its slot;
// any other file alone.
bool InCommitFamily(std::string_view anchor, std::string_view name);
// "VelmSSSP.txt": a page file of a chart's comment slot.
bool IsCommentPageName(std::string_view name);
