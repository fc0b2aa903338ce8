// The archive sort over the file: the class array built from the index (and from every record's
// chart when a key is taken from it), and the records written class by class in place or into a
// new archive.
#include "archive/store/archive_sorting.h"

#include <new>
#include <system_error>

#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/archive_records.h"
#include "archive/store/archive_sort.h"
#include "archive/store/file_transaction.h"
#include "archive/store/list_lock.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

// The values of every computed key in use, read record by record: false on Cancel.
bool ReadSortValues(std::FILE* f, int layout, int count, const ArchiveSortParams& params,
                    platform::ProgressSink& progress,
                    std::array<std::vector<ArchiveSortValue>, 3>& values) {
  for (int k = 0; k < ArchiveSortParams::kKeys; ++k)
    if (params.keys[static_cast<std::size_t>(k)] >= kSortBodyLongitude)
      values[static_cast<std::size_t>(k)].resize(static_cast<std::size_t>(count));
  Chart chart;
  CommentRefBlock block;
  for (int n = 0; n < count; ++n) {
    const bool readable = archive_file::ReadRecord(f, layout, n, chart, block).ok();
    for (int k = 0; k < ArchiveSortParams::kKeys; ++k) {
      auto& v = values[static_cast<std::size_t>(k)];
      if (v.empty()) continue;
      v[static_cast<std::size_t>(n)] =
          readable ? ArchiveSortValueOf(chart, params.keys[static_cast<std::size_t>(k)],
                                        params.bodies[static_cast<std::size_t>(k)])
                   : ArchiveSortValue{false, 0.0};
    }
    if (count > 5 && n % 256 == 0) {
      progress.SetPos(static_cast<int>(static_cast<long long>(n) * 100 / count));
      if (progress.Cancelled()) return false;
    }
  }
  return true;
}

// The user's name of the new archive: ".arc" added unless the name ends with it (any case).
std::string WithArchiveExtension(std::string name) {
  if (!HasArchiveExtension(name)) name += ".arc";
  return name;
}

}  // namespace

ArchiveSorting::ArchiveSorting(ArchiveIndex& index, ArchiveRecords& records)
    : index_(index), records_(records) {}

ArchiveSorting::~ArchiveSorting() = default;

int ArchiveSorting::BreakToClasses(const ArchiveSortParams& params) {
  const char* trace = "Archive::BreakToClasses";
  FreeClasses();
  if (!index_.IsIndexBuilt()) return -1;
  try {
    std::array<std::vector<ArchiveSortValue>, 3> values;
    if (params.NeedsCharts()) {
      // The charts read by the index's row numbers: under the folder's lock, of the file the
      // index lists (one another copy changed meanwhile is listed afresh, and nothing is sorted).
      const ListLock lock(index_, LockMode::kShared);
      std::FILE* f = index_.Open(lock);
      if (!f) return -1;
      index_.Progress().Begin();
      const bool done = ReadSortValues(f, index_.LayoutCode(), index_.RecordCount(), params,
                                       index_.Progress(), values);
      index_.Progress().End();
      index_.Close(f);
      if (!done) return -1;
    }
    classes_ = std::make_unique<ArchiveSortClasses>(
        ::BreakToClasses(index_.Entries(), params, std::move(values)));
  } catch (const std::bad_alloc&) {
    FreeClasses();
    ReportError(kErrNoMemory, trace, 0);
    return -1;
  }
  return 0;
}

void ArchiveSorting::FreeClasses() { classes_.reset(); }

int ArchiveSorting::OrderClasses(const ArchiveSortParams& params) {
  const char* trace = "Archive::OrderClasses";
  if (!classes_ || classes_->classOf.size() != index_.Entries().size()) return -1;
  std::vector<int> order;
  try {
    order = ::OrderClasses(index_.Entries(), params, *classes_);
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "ArcSort::Init", 2);
    return -1;
  }
  if (!params.newArchive) {
    const ArchiveLock lock(index_.GetPath());
    if (!lock.Held() || index_.RefuseIfDamaged() || !index_.IndexMatchesFile(trace)) return -1;
    if (index_.RewriteInOrder(order, trace) != 0) return -1;
    index_.ReorderIndex(order);
    return 0;
  }

  platform::FileChoice choice =
      ArchiveFileChoice(false, ArchiveFilter::kAnyVersion, index_.DialogFolder());
  if (!platform::GetPrompter().ChooseFile(choice) || choice.path.empty()) return -2;
  const std::string target = WithArchiveExtension(choice.path);
  // The source read while it is replaced would be lost, and so would its comment files.
  if (SharesArchiveFiles(target, index_.GetPath())) {
    ShowMessage(kMsgSortTargetIsCurrent, platform::Icon::Information);
    return -1;
  }
  std::error_code ec;
  if (fs::exists(target, ec) && !AskYesNo(kMsgReplaceFile)) return -1;
  if (WriteSortedArchive(order, target) != 0) return -1;
  records_.SwitchTo(target);
  return 0;
}

int ArchiveSorting::WriteSortedArchive(const std::vector<int>& order, const std::string& target) {
  const char* trace = "Archive::OrderClasses";
  // The order is of the index: the source must still be the file it was read from, and is read
  // under its lock; the target is written under its own.
  const ListLock lock(index_, LockMode::kShared, target, LockMode::kExclusive);
  if (!lock.Ok() || !index_.IndexMatchesFile(trace)) return -1;
  FileTransaction tx;
  bool written = false;
  {
    ArchiveRewrite rewrite(index_, lock, target, tx, trace);
    if (!rewrite.Ok()) return -1;
    written =
        archive_file::WriteRecordsInOrder(rewrite.In(), index_.LayoutCode(), order, rewrite.Out())
            .ok();
  }
  // The new archive's comment files are the pages its records use; files of an earlier archive of
  // that name are dropped.
  for (int k = 0; k < kCommentPages && written; ++k) {
    bool used = false;
    if (index_.LayoutCode() == kLayout4400)
      for (const ArchiveIndexEntry& e : index_.Entries()) used = used || e.comments.HasText(k);
    if (used && index_.CommentFileExists(k)) {
      std::FILE* f = index_.OpenUnder(lock, k);
      written = f && tx.Rewrite(ArchiveCommentFileName(target, k)).CopyFrom(f);
      if (f) std::fclose(f);
    } else {
      tx.Remove(ArchiveCommentFileName(target, k));
    }
  }
  return FinishRewrite(written, tx, trace, 1, 2);
}
