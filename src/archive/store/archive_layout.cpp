#include "archive/store/archive_layout.h"

#include <cstdio>

#include "archive/store/commit_record.h"
#include "archive/store/commit_recovery.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"

namespace fs = std::filesystem;

std::int32_t LayoutHeaderWord(int layout) {
  if (layout == kLayout4200) return 4200;
  if (layout == kLayout4400) return 4400;
  return 0;
}

std::int64_t LayoutHeaderSize(int layout) {
  return layout == kLayout4200 || layout == kLayout4400 ? 4 : 0;
}

std::int64_t LayoutRecordSize(int layout) {
  switch (layout) {
    case kLayout4000:
      return 1767;
    case kLayout4200:
      return 1776;
    case kLayout4400:
      return 1836;
    default:
      return 0;
  }
}

int LayoutChartVersion(int layout) { return layout == kLayout4000 ? 4000 : 4200; }

std::int64_t RecordOffset(int layout, std::int64_t n) {
  return LayoutHeaderSize(layout) + n * LayoutRecordSize(layout);
}

std::int64_t CountRecords(int layout, std::int64_t length) {
  const std::int64_t size = LayoutRecordSize(layout);
  const std::int64_t body = length - LayoutHeaderSize(layout);
  return size == 0 || body < 0 ? 0 : body / size;
}

void CommentRefBlock::Clear() {
  offsets.fill(0);
  lengths.fill(kNoComment);
}

bool CommentRefBlock::HasAnyText() const {
  for (int k = 0; k < kCommentPages; ++k)
    if (HasText(k)) return true;
  return false;
}

void CommentRefBlock::Write(BinaryWriter& out) const {
  for (std::uint32_t o : offsets) out.U32(o);
  for (std::uint16_t l : lengths) out.U16(l);
}

void CommentRefBlock::Read(BinaryReader& in) {
  for (std::uint32_t& o : offsets) o = in.U32();
  for (std::uint16_t& l : lengths) l = in.U16();
}

bool HasArchiveExtension(const fs::path& path) { return IsArchiveName(path.filename().string()); }

ArchiveFileInfo InspectArchiveFile(const fs::path& path) {
  ArchiveFileInfo info;
  // A path the system's calls would cut at a NUL byte names another file: no archive's.
  if (!FitsSystemCalls(path.native())) return info;
  // A commit a stopped process left half done is made whole before anything is read; an archive
  // whose commit cannot be made whole now is not read at all (never shown half changed).
  if (HasArchiveExtension(path) && !RecoverArchiveFiles(path)) {
    info.layout = kCannotOpen;
    return info;
  }
  return InspectArchiveFileAsIs(path);
}

ArchiveFileInfo InspectArchiveFileAsIs(const fs::path& path) {
  ArchiveFileInfo info;
  std::FILE* f = OpenForReading(path);
  if (!f) {
    info.layout = kCannotOpen;
    return info;
  }
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    std::fclose(f);
    info.layout = kCannotOpen;
    return info;
  }
  if (!HasArchiveExtension(path)) {
    std::fclose(f);
    return info;
  }
  std::fseek(f, 0, SEEK_END);
  const long length = std::ftell(f);
  info.length = length;
  if (length % 1767 == 0) {
    std::fclose(f);
    info.layout = kLayout4000;
    info.records = length / 1767;
    return info;
  }
  const bool fits4200 = length >= 4 && (length - 4) % 1776 == 0;
  const bool fits4400 = length >= 4 && (length - 4) % 1836 == 0;
  if (!fits4200 && !fits4400) {
    std::fclose(f);
    return info;
  }
  unsigned char word[4];
  std::fseek(f, 0, SEEK_SET);
  const bool read = std::fread(word, 1, 4, f) == 4;
  std::fclose(f);
  if (!read) {
    ReportStatus(Status::Error(kErrRead, path.string()), "Archive::IfRealArchive");
    return info;
  }
  const std::int32_t header = static_cast<std::int32_t>(
      static_cast<std::uint32_t>(word[0]) | static_cast<std::uint32_t>(word[1]) << 8 |
      static_cast<std::uint32_t>(word[2]) << 16 | static_cast<std::uint32_t>(word[3]) << 24);
  // The header decides the layout; a length that only fits the other layout marks the file damaged.
  if (header == 4200) {
    info.layout = kLayout4200;
    info.damaged = !fits4200;
  } else if (header == 4400) {
    info.layout = kLayout4400;
    info.damaged = !fits4400;
  } else {
    return info;
  }
  info.records = CountRecords(info.layout, length);
  return info;
}

fs::path ArchiveCommentFileName(const fs::path& archive, int k) {
  std::string s = archive.native();
  if (!s.empty()) s.back() = static_cast<char>('0' + k);
  return fs::path(s);
}
