// Opening an archive or a file of another program (converted into a new archive by the import
// part's converter) as the current archive.
#pragma once

#include <string>

class ArchiveIndex;
class RecentArchives;

// The conversion of other programs' chart files into archives, installed by the import part.
class ForeignChartImporter {
 public:
  virtual ~ForeignChartImporter() = default;
  // The type of a file: 2, 5, 7 an archive of that layout; 0, 1, 6, 8..12 a file it converts;
  // anything else a file it cannot read.
  virtual int DefineFileType(const std::string& path) = 0;
  // Converts a file of `type` into a new archive whose path it gives: 0, or -1.
  virtual int ConvertToArchive(const std::string& source, std::string& archive, int type) = 0;
};

class ArchiveImport {
 public:
  // The parts of the archive it works on; they must outlive it.
  ArchiveImport(ArchiveIndex& index, RecentArchives& recent) : index_(index), recent_(recent) {}
  ArchiveImport(const ArchiveImport&) = delete;
  ArchiveImport& operator=(const ArchiveImport&) = delete;

  // Lets the user open an archive or a file of another program (converted into a new archive):
  // 1 when a new current archive was made, else 0.
  int OpenOtherArchive();
  // The converter of foreign files (not owned); without one only archives can be opened.
  void SetImporter(ForeignChartImporter* importer) { importer_ = importer; }

 private:
  ArchiveIndex& index_;
  RecentArchives& recent_;
  ForeignChartImporter* importer_ = nullptr;
};
