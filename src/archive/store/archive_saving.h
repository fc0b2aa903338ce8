// Saving a chart into the current archive (appended or at its alphabetical place), into an
// archive the user chooses, or into a new archive. The archive file and its comment files change
// in one transaction: a failure leaves them as they were and the index in step with the file.
#pragma once

#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"

class ArchiveComments;
class ArchiveIndex;
class RecentArchives;
struct ArchiveOptions;

class ArchiveSaving {
 public:
  // The parts of the archive it works on; they must outlive it.
  ArchiveSaving(ArchiveIndex& index, ArchiveComments& comments, RecentArchives& recent,
                ArchiveOptions& options)
      : index_(index), comments_(comments), recent_(recent), options_(options) {}
  ArchiveSaving(const ArchiveSaving&) = delete;
  ArchiveSaving& operator=(const ArchiveSaving&) = delete;

  int SaveToArchive(const Chart& chart);
  int SaveToNewArchive(const Chart& chart, bool nameChosen);
  int ChooseTargetArchive();
  int ChooseNewArchiveFile();
  int CheckFreeSpace() const;
  int FindInsertPosition(const Chart& chart) const;
  // Writes the chart into the current archive at `position`; the block receives its texts' places.
  int InsertToArchive(const Chart& chart, int position, CommentRefBlock& block);
  int InsertIndexEntry(const Chart& chart, int position, const CommentRefBlock& block);

 private:
  // The new archive of the one chart written under the lock: 0, -1 when a failure was told, or
  // the error code (and `detail`) to report once the lock is let go.
  int WriteNewArchive(const Chart& chart, CommentRefBlock& block, const char* trace, int& detail);

  ArchiveIndex& index_;
  ArchiveComments& comments_;
  RecentArchives& recent_;
  ArchiveOptions& options_;
};
