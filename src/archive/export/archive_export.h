// The export of the whole current archive into a text file of one of the user's formats.
#pragma once

#include <string>

class AllExpFormats;
class Archive;

class ArchiveExport {
 public:
  // The archive exported; it must outlive this object.
  explicit ArchiveExport(Archive& archive) : archive_(archive) {}
  ArchiveExport(const ArchiveExport&) = delete;
  ArchiveExport& operator=(const ArchiveExport&) = delete;

  // Every record written as a line of format `f` of `formats` into `path` with the format's
  // extension (added when the name does not end in it): an existing file asks message 74; the
  // header line first when the format has one; unreadable records and the charts CheckExportable
  // refuses skipped. The file is written whole or not at all: the first failure is reported and
  // ends the export. Success shows how many of the records were written. The number written, or
  // -1.
  int ExportArchive(const std::string& path, int f, const AllExpFormats& formats);

 private:
  Archive& archive_;
};
