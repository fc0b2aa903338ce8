// The archive sort over the file: the class array built from the index (and from every record's
// chart when a key is taken from it), and the records written class by class in place or into a
// new archive.
#pragma once

#include <memory>
#include <string>
#include <vector>

class ArchiveIndex;
class ArchiveRecords;
struct ArchiveSortClasses;
struct ArchiveSortParams;

class ArchiveSorting {
 public:
  // The parts of the archive it works on; they must outlive it.
  ArchiveSorting(ArchiveIndex& index, ArchiveRecords& records);
  ~ArchiveSorting();
  ArchiveSorting(const ArchiveSorting&) = delete;
  ArchiveSorting& operator=(const ArchiveSorting&) = delete;

  // Builds the class array: every record classified by the first key of `params`, each record's
  // chart read when a key is taken from it (an unreadable record sorts first). 0; -1 when the
  // archive is not open, on the progress dialog's Cancel, or after error 2 (out of memory).
  int BreakToClasses(const ArchiveSortParams& params);
  // Writes the records class by class, each class ordered by every key: in place (a damaged archive
  // is refused with 524), or with `params.newArchive` into a file the user chooses (".arc" added
  // when missing; the current archive or one of its comment files refused with 2121; an existing
  // file replaced only after message 74), which then becomes current with the comment files its
  // records use. The archive is replaced only once every record was written. 0; -1 on a failure
  // (reported) or a refusal; -2 when the file choice was cancelled.
  int OrderClasses(const ArchiveSortParams& params);
  void FreeClasses();

 private:
  // The sorted records written into the new archive `target` with the comment files they use.
  int WriteSortedArchive(const std::vector<int>& order, const std::string& target);

  ArchiveIndex& index_;
  ArchiveRecords& records_;
  std::unique_ptr<ArchiveSortClasses> classes_;  // between BreakToClasses and FreeClasses
};
