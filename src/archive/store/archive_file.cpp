#include "archive/store/archive_file.h"

#include <algorithm>
#include <system_error>

#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"

namespace fs = std::filesystem;

namespace archive_file {

namespace {

constexpr const char* kWhere = "archive file";

Status ReadFault(int detail) { return Status::Error(kErrRead, kWhere, detail); }
Status WriteFault(const SafeRewrite& out, int detail) {
  return Status::Error(out.TempPath().empty() ? kErrCannotCreate : kErrWrite, kWhere, detail);
}

}  // namespace

bool ReadExactly(std::FILE* f, std::size_t n, std::string& out) {
  out.resize(n);
  return n == 0 || std::fread(out.data(), 1, n, f) == n;
}

bool SeekTo(std::FILE* f, std::int64_t offset) {
  return ::fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool SeekRecord(std::FILE* f, int layout, std::int64_t n) {
  return SeekTo(f, RecordOffset(layout, n));
}

bool ReadFileIfExists(const fs::path& path, std::string& out, bool& exists) {
  out.clear();
  std::error_code ec;
  exists = fs::exists(path, ec);
  if (!exists) return !ec;
  std::FILE* f = OpenForReading(path);
  if (!f) return false;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, got);
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  return !bad;
}

bool WriteHeader(SafeRewrite& out, int layout) {
  if (LayoutHeaderSize(layout) == 0) return out.Ok();
  BinaryWriter head;
  head.I32(LayoutHeaderWord(layout));
  return out.Write(head.Data());
}

bool CopyRecords(std::FILE* source, SafeRewrite& out, int layout, std::int64_t n) {
  if (n <= 0) return out.Ok();
  // Whole records in chunks of up to 1 MiB: large archives are copied with few calls.
  std::int64_t left = n * LayoutRecordSize(layout);
  std::string chunk;
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 20));
    if (!ReadExactly(source, want, chunk) || !out.Write(chunk)) return false;
    left -= static_cast<std::int64_t>(want);
  }
  return true;
}

Status ReadRecord(std::FILE* f, int layout, std::int64_t n, Chart& chart, CommentRefBlock& block) {
  if (!IsKnownLayout(layout)) return Status::Error(kErrParameter, kWhere, 1);
  std::string bytes;
  if (!SeekRecord(f, layout, n) ||
      !ReadExactly(f, static_cast<std::size_t>(LayoutRecordSize(layout)), bytes))
    return ReadFault(1);
  return ParseRecord(bytes, layout, chart, block);
}

std::int64_t ReadRecordBlock(std::FILE* f, int layout, std::int64_t first, std::int64_t count,
                             std::string& out) {
  out.clear();
  const std::int64_t size = LayoutRecordSize(layout);
  if (!IsKnownLayout(layout) || size <= 0 || count <= 0 || !SeekRecord(f, layout, first)) return 0;
  out.resize(static_cast<std::size_t>(count * size));
  const std::size_t got = std::fread(out.data(), 1, out.size(), f);
  const std::int64_t whole = static_cast<std::int64_t>(got) / size;
  out.resize(static_cast<std::size_t>(whole * size));
  return whole;
}

Status ParseRecord(std::string_view bytes, int layout, Chart& chart, CommentRefBlock& block) {
  if (!IsKnownLayout(layout)) return Status::Error(kErrParameter, kWhere, 1);
  if (bytes.size() != static_cast<std::size_t>(LayoutRecordSize(layout))) return ReadFault(1);
  BinaryReader in(bytes);
  if (Status st = chart.Load(in, LayoutChartVersion(layout)); !st.ok()) return st;
  block.Clear();
  if (layout == kLayout4400) block.Read(in);
  chart.commentSlot = 0;
  return Status::Ok();
}

std::string RecordBytes(const Chart& chart, int layout, const CommentRefBlock& block) {
  BinaryWriter w;
  Chart stored = chart;
  stored.commentSlot = 0;
  stored.Save(w, LayoutChartVersion(layout));
  if (layout == kLayout4400) block.Write(w);
  return w.Take();
}

Status ReadIndex(std::FILE* f, const ArchiveFileInfo& info, platform::ProgressSink& progress,
                 std::vector<ArchiveIndexEntry>& entries) {
  const int layout = info.layout;
  if (!IsKnownLayout(layout)) return Status::Error(kErrParameter, kWhere, 5);
  // Records are read in batches of this many.
  constexpr std::int64_t kBatch = 512;
  const std::int64_t count = info.records;
  const std::size_t size = static_cast<std::size_t>(LayoutRecordSize(layout));
  const bool showProgress = count > 5;
  if (showProgress) progress.Begin();
  Status result;
  std::string batch;
  Chart chart;
  CommentRefBlock block;
  ArchiveIndexEntry entry;
  bool more = SeekTo(f, LayoutHeaderSize(layout));
  if (!more) result = ReadFault(5);
  for (std::int64_t first = 0; more && first < count; first += kBatch) {
    const std::int64_t n = std::min(kBatch, count - first);
    if (!ReadExactly(f, size * static_cast<std::size_t>(n), batch)) {
      if (!info.damaged) result = ReadFault(1);
      break;
    }
    for (std::int64_t i = 0; more && i < n; ++i) {
      BinaryReader in(std::string_view(batch).substr(static_cast<std::size_t>(i) * size, size));
      if (Status st = chart.Load(in, LayoutChartVersion(layout)); !st.ok()) {
        // A damaged (read-only) file is listed as far as its records load.
        if (!info.damaged)
          result = Status::Error(st.ErrorCode(), kWhere, static_cast<int>(first + i) + 1);
        more = false;
        break;
      }
      block.Clear();
      if (layout == kLayout4400) block.Read(in);
      entry.Fill(chart, block);
      entries.push_back(entry);
      if (showProgress)
        progress.SetPos(static_cast<int>(static_cast<double>(first + i) / count * 100.0));
    }
  }
  if (showProgress) progress.End();
  return result;
}

Status ConvertRecords(std::FILE* source, int from, std::int64_t count, SafeRewrite& out, int to) {
  if (!IsKnownLayout(from) || !IsKnownLayout(to)) return Status::Error(kErrParameter, kWhere, 2);
  if (!WriteHeader(out, to)) return WriteFault(out, 1);
  Chart chart;
  CommentRefBlock block;
  for (std::int64_t n = 0; n < count; ++n) {
    if (Status st = ReadRecord(source, from, n, chart, block); !st.ok()) return st;
    if (from == kLayout4000)
      ResetAspectSystemName(ChartContext::FromCurrentSettings(), chart.definition);
    if (!out.Write(RecordBytes(chart, to))) return WriteFault(out, 2);
  }
  return Status::Ok();
}

Status WriteRecordsInOrder(std::FILE* source, int layout, const std::vector<int>& order,
                           SafeRewrite& out) {
  if (!IsKnownLayout(layout)) return Status::Error(kErrParameter, kWhere, 3);
  if (!WriteHeader(out, layout)) return WriteFault(out, 1);
  // Runs of consecutive records are copied with one seek.
  for (std::size_t i = 0; i < order.size();) {
    std::size_t end = i + 1;
    while (end < order.size() && order[end] == order[end - 1] + 1) ++end;
    if (!SeekRecord(source, layout, order[i])) return ReadFault(2);
    if (!CopyRecords(source, out, layout, static_cast<std::int64_t>(end - i)))
      return out.Ok() ? ReadFault(3) : WriteFault(out, 3);
    i = end;
  }
  return Status::Ok();
}

Status WriteWithBlocks(std::FILE* source, const std::vector<CommentRefBlock>& blocks,
                       const std::vector<bool>* drop, SafeRewrite& out) {
  if (!WriteHeader(out, kLayout4400)) return WriteFault(out, 1);
  const std::size_t chartPart = static_cast<std::size_t>(LayoutRecordSize(kLayout4200));
  std::string record;
  for (std::size_t n = 0; n < blocks.size(); ++n) {
    if (drop && n < drop->size() && (*drop)[n]) continue;
    if (!SeekRecord(source, kLayout4400, static_cast<std::int64_t>(n)) ||
        !ReadExactly(source, chartPart, record))
      return ReadFault(4);
    BinaryWriter block;
    blocks[n].Write(block);
    if (!out.Write(record) || !out.Write(block.Data())) return WriteFault(out, 4);
  }
  return Status::Ok();
}

}  // namespace archive_file
