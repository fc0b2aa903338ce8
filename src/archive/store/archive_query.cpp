// Searching the archive and the results of a query.
#include "archive/store/archive_query.h"

#include <new>

#include "archive/store/archive_index.h"
#include "archive/store/archive_search.h"
#include "archive/store/list_lock.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"

bool ArchiveQuery::MatchRecord(int n, const ArchiveSearchCriteria& criteria) const {
  const ArchiveMatcher matcher(index_, comments_, criteria);
  if (!matcher.ReadsTexts())
    return n >= 0 && n < index_.RecordCount() && matcher.MatchesEntry(index_.Entry(n), n);
  // The texts of the file the list describes: a list found stale matches nothing.
  const ListLock lock(index_, LockMode::kShared);
  return matcher.Matches(n, lock);
}

bool ArchiveQuery::MatchRecord(int n, const ChartContext& context) const {
  return MatchRecord(n, ArchiveSearchCriteria::FromBlock(context.Config().archiveSearch));
}

int ArchiveQuery::InitSelectedRecordsInfo(int archives) {
  searched_.clear();
  selected_.clear();
  try {
    if (archives > 0) searched_.reserve(static_cast<std::size_t>(archives));
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "Archive::InitSelectedRecordsInfo", 1);
    return -1;
  }
  return 0;
}

int ArchiveQuery::AddArchive2List() {
  searched_.push_back({index_.GetPath(), index_.FileTime()});
  return static_cast<int>(searched_.size()) - 1;
}

int ArchiveQuery::AddRecord2List(int archive, int n) {
  if (n < 0 || n >= index_.RecordCount()) return -1;
  try {
    selected_.push_back(SelectedRecordNode{index_.Entry(n), n, archive});
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "Archive::AddRecord2List", 0);
    return -1;
  }
  return 0;
}

void ArchiveQuery::FreeSelectedRecordsInfo() {
  searched_.clear();
  selected_.clear();
}
