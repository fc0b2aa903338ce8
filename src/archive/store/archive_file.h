// The archive's file layer: records read, copied, converted and reordered between an archive file
// and its rewrite, with no questions, no messages and no index. A fault comes back as a Status
// (error code 103 read, 104 write, or the chart record's own) for the Archive object to report.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/store/archive_index_entry.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "foundation/status.h"
#include "platform/core/progress_sink.h"

class SafeRewrite;

namespace archive_file {

// Reads exactly n bytes into `out`; false on a short read.
bool ReadExactly(std::FILE* f, std::size_t n, std::string& out);
bool SeekTo(std::FILE* f, std::int64_t offset);
bool SeekRecord(std::FILE* f, int layout, std::int64_t n);
// The whole file; an empty text for a missing file (`exists` false). False on a read error.
bool ReadFileIfExists(const std::filesystem::path& path, std::string& out, bool& exists);

// The header word of a layout (nothing for layout 4000); false for a failed write.
bool WriteHeader(SafeRewrite& out, int layout);
// Copies n whole records from the source's current position; false on a short read or write.
bool CopyRecords(std::FILE* source, SafeRewrite& out, int layout, std::int64_t n);

// Record n of a file of `layout`: the chart, and for layout 4400 its reference block (else the
// empty block). The chart's comment slot is 0.
Status ReadRecord(std::FILE* f, int layout, std::int64_t n, Chart& chart, CommentRefBlock& block);
// The same from the bytes of one whole record of `layout` already read.
Status ParseRecord(std::string_view bytes, int layout, Chart& chart, CommentRefBlock& block);
// Reads up to `count` whole records from record `first` on in one read into `out`: the number of
// whole records read (fewer at the end of the file or after a read error).
std::int64_t ReadRecordBlock(std::FILE* f, int layout, std::int64_t first, std::int64_t count,
                             std::string& out);
// The bytes of one record of `layout`: the chart record with comment slot 0 (version 4000 for
// layout 4000, else 4200) and, for layout 4400, the block.
std::string RecordBytes(const Chart& chart, int layout,
                        const CommentRefBlock& block = CommentRefBlock());

// Appends an index entry for every record of the file `info` describes (read from `f`), with
// progress i / count x 100 when there are more than 5 records. A damaged file is read as far as
// its records load; in a sound one the first record that does not load fails the whole (detail:
// its number + 1).
Status ReadIndex(std::FILE* f, const ArchiveFileInfo& info, platform::ProgressSink& progress,
                 std::vector<ArchiveIndexEntry>& entries);

// Writes the header of `to` and then the first `count` records of `source` (layout `from`)
// converted into layout `to`: a chart from layout 4000 gets the aspect-system name version 4000
// lacks; a record of layout 4400 gets the empty block. The texts stay where they are.
Status ConvertRecords(std::FILE* source, int from, std::int64_t count, SafeRewrite& out, int to);

// Writes the header and the records of `source` in the order given (record numbers), as they
// stand.
Status WriteRecordsInOrder(std::FILE* source, int layout, const std::vector<int>& order,
                           SafeRewrite& out);

// Writes the header and every record of a layout-4400 source with the reference block replaced
// by blocks[n]; the records marked in `drop` (when given) are left out.
Status WriteWithBlocks(std::FILE* source, const std::vector<CommentRefBlock>& blocks,
                       const std::vector<bool>* drop, SafeRewrite& out);

}  // namespace archive_file
