// The comment texts of a layout-4400 archive: comment file k holds the page-k texts of the
// records one after another; each record's reference block (kept in the index) says where its
// texts lie. A stored text changes its comment file and the blocks of the archive in one
// transaction.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"

class ArchiveIndex;
class FileTransaction;
class ListLock;

class ArchiveComments {
 public:
  // `file` is the archive's file and index; `slots` the application's comment-slot table. Both
  // must outlive this object.
  ArchiveComments(ArchiveIndex& index, CommentSlotTable& slots) : index_(index), slots_(&slots) {}
  ArchiveComments(const ArchiveComments&) = delete;
  ArchiveComments& operator=(const ArchiveComments&) = delete;

  // Page k of record n, at most 32000 bytes: 0, or -1 with an empty text. Read under the
  // folder's shared lock, of the file the index lists: an index of a file another copy of the
  // program changed is read again (ListLock) and no text is read.
  int LoadComment(int n, int k, std::string& text) const;
  // The same read for a run over many records, under the caller's checked `lock`.
  int ReadComment(int n, int k, std::string& text, const ListLock& lock) const;
  int LoadCurrentComment(int n, int k) { return LoadComment(n, k, commentBuffer_); }
  // The comment buffer (cut to 32000 bytes).
  void SetCommentText(std::string_view text);
  const std::string& CommentText() const { return commentBuffer_; }
  int IsCommentUnchanged(std::string_view text) const;
  // Stores the comment buffer as page k of record n: 0, or -1.
  int SaveComment(int n, int k);
  // The texts of a record, read from the comment files under the caller's checked `lock`; a page
  // without a text, or whose text cannot be read (reported), holds none.
  using RecordTexts = std::array<std::optional<std::string>, kCommentPages>;
  RecordTexts ReadRecordTexts(const CommentRefBlock& block, const ListLock& lock) const;
  // Gives a chart the texts of a record as its page files (a free slot is taken for them), once
  // the archive's lock is let go (the page files may lie in its folder).
  int CopyCommentsToChart(const RecordTexts& texts, Chart& chart);

  // --- Steps of the record operations ---
  // Writes the texts of the chart's page files after the current content of the comment files of
  // `archive` (rewritten in `tx`; with `replace`, in place of it) and fills the block.
  bool AddChartComments(const Chart& chart, const std::filesystem::path& archive,
                        FileTransaction& tx, CommentRefBlock& block, const char* trace,
                        bool replace);
  // Appends record n's texts (from the current comment files) to the comment files of `target`;
  // `block` receives their places there.
  void CopyTextsTo(const CommentRefBlock& source, const std::filesystem::path& target,
                   bool targetExisted, FileTransaction& tx, CommentRefBlock& block,
                   const ListLock& lock);
  // Cuts the texts of the marked records out of the comment files (rewritten in `tx`) and
  // updates the other entries' offsets; 0, or -1.
  int DeleteSelectedComments(FileTransaction& tx);

 private:
  // Lowers by `length` every page-k offset at or after `offset`.
  void ShiftCommentOffsets(int k, std::uint32_t offset, std::uint32_t length);
  // Writes the archive anew in `tx` with every record's reference block taken from the index.
  int RewriteBlocks(FileTransaction& tx, const char* trace);

  ArchiveIndex& index_;
  CommentSlotTable* slots_;
  std::string commentBuffer_;
};

// The texts of an archive as a run over its records reads them (the search, the export, a
// query's context conditions): only while its checked lock is held.
class ArchiveTexts {
 public:
  ArchiveTexts(const ArchiveComments& comments, const ListLock& lock)
      : comments_(comments), lock_(lock) {}
  int Read(int n, int k, std::string& text) const {
    return comments_.ReadComment(n, k, text, lock_);
  }

 private:
  const ArchiveComments& comments_;
  const ListLock& lock_;
};
