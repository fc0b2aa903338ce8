// The chart archive file: its three record layouts, how a file is recognised and counted, the
// 60-byte comment reference block of layout 4400 and the names of the ten comment files.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "foundation/files/binary_io.h"

// Layout codes.
inline constexpr int kLayout4000 = 2;  // no header, version-4000 chart records of 1767 bytes
inline constexpr int kLayout4200 = 5;  // int32 4200, version-4200 chart records of 1776 bytes
inline constexpr int kLayout4400 = 7;  // int32 4400, version-4200 records + reference block: 1836
inline constexpr int kNotArchive = 3;
inline constexpr int kCannotOpen = -1;

// True for the three layout codes (2, 5, 7); a layout number such as 4400, or 3 and -1, is none.
constexpr bool IsKnownLayout(int layout) {
  return layout == kLayout4000 || layout == kLayout4200 || layout == kLayout4400;
}

inline constexpr int kCommentPages = 10;
// The longest comment text the archive stores or hands out (the comment buffer).
inline constexpr int kCommentMaxLength = 32000;
inline constexpr std::uint16_t kNoComment = 65535;

// The header word a layout writes (0 for layout 4000, which has none), its header size, the size
// of one record and the chart-record version inside it. 0 for a code that is no layout.
std::int32_t LayoutHeaderWord(int layout);
std::int64_t LayoutHeaderSize(int layout);
std::int64_t LayoutRecordSize(int layout);
int LayoutChartVersion(int layout);
// Where record n starts.
std::int64_t RecordOffset(int layout, std::int64_t n);
// The number of whole records in a file of `length` bytes.
std::int64_t CountRecords(int layout, std::int64_t length);

// The texts of one record: where its page-k text lies in comment file k and how long it is.
struct CommentRefBlock {
  static constexpr std::size_t kSize = 60;
  std::array<std::uint32_t, kCommentPages> offsets{};
  std::array<std::uint16_t, kCommentPages> lengths{};

  CommentRefBlock() { Clear(); }
  void Clear();  // every offset 0, every length 65535
  // True when page k holds a text: a length below 32768 (a longer one reads as no text).
  bool HasText(int k) const { return lengths[static_cast<std::size_t>(k)] < 32768; }
  bool HasAnyText() const;
  void Write(BinaryWriter& out) const;
  void Read(BinaryReader& in);
  friend bool operator==(const CommentRefBlock&, const CommentRefBlock&) = default;
};

// What a look at a file tells: the layout code (2, 5, 7; 3 no archive; -1 cannot be opened), the
// number of records, and whether the header disagrees with the length (a damaged file: it can be
// read, as far as whole records of the header's layout go, but it is never rewritten). Every
// opening of an archive passes here: a commit of its files that a stopped process left half done
// is finished or undone first (RecoverArchiveFiles).
struct ArchiveFileInfo {
  int layout = kNotArchive;
  std::int64_t length = 0;
  std::int64_t records = 0;
  bool damaged = false;
};
ArchiveFileInfo InspectArchiveFile(const std::filesystem::path& path);
// The same look without the recovery, for a reader that holds the folder's lock.
ArchiveFileInfo InspectArchiveFileAsIs(const std::filesystem::path& path);

// Comment file k of an archive: its path with the last character replaced by the digit k.
std::filesystem::path ArchiveCommentFileName(const std::filesystem::path& archive, int k);

// True when the path ends in ".arc" regardless of case.
bool HasArchiveExtension(const std::filesystem::path& path);
