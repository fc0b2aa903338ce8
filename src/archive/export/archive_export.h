// The export of the whole current archive into a text file of one of the user's formats.
#pragma once

#include <string>

class AllExpFormats;
class ArchiveComments;
struct ExportRefusals;
class ArchiveIndex;
class ArchiveRecords;

class ArchiveExport {
 public:
  // The parts of the archive exported: its index, its records and their comments; they must
  // outlive this object.
  ArchiveExport(ArchiveIndex& index, ArchiveRecords& records, const ArchiveComments& comments)
      : index_(index), records_(records), comments_(comments) {}
  ArchiveExport(const ArchiveExport&) = delete;
  ArchiveExport& operator=(const ArchiveExport&) = delete;

  // Every record written as a line of format `f` of `formats` into `path` with the format's
  // extension (added when the name does not end in it): an existing file asks message 74; the
  // header line first when the format has one; unreadable records and the charts CheckExportable
  // refuses skipped. The file is written whole or not at all: the first failure is reported and
  // ends the export. Success shows how many of the records were written. The number written, or
  // -1. Every message is shown once the archive's lock is let go.
  int ExportArchive(const std::string& path, int f, const AllExpFormats& formats);

 private:
  // The file `target` written under the archive's lock: 0, -1 when a failure was told, or the
  // error code (and `detail`) to report.
  int WriteExport(const std::string& target, int f, const AllExpFormats& formats,
                  ExportRefusals& refusals, int& written, int& detail);

  ArchiveIndex& index_;
  ArchiveRecords& records_;
  const ArchiveComments& comments_;
};
