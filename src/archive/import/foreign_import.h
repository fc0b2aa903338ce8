// The conversion of other programs' chart files into new archives: the file's type, the reader of
// its format filling intermediate records, and every record made into a computed chart of a new
// layout-4400 archive named after the file with the extension ".arc".
//
// The intermediate records stay in memory (the sibling converter's output lies in a private
// temporary folder until it is read), and the new archive with its comment files is written
// through one transaction: an existing archive of that name is replaced only when the conversion
// has succeeded, and a failed one leaves every file as it was.
#pragma once

#include <array>
#include <map>
#include <string>

#include "archive/store/archive.h"
#include "astro/chart/chart_context.h"
#include "foundation/files/binary_io.h"

// File types (Archive::DefineFileType).
enum ForeignFileType : int {
  kFileOldConfig = 0,  // ".cfg" of exactly 6200 bytes
  kFileSiblingDb = 1,  // ".db"
  kFileUnknown = 3,
  kFileNoExtension = 4,
  kFileCat = 6,
  kFileBda = 8,
  kFileZbs = 9,
  kFileDdd = 10,
  kFileMil = 11,
  kFileDat = 12,
};

// The sibling product's converter (types 0 and 1): a program run as
// `program <source> <intermediate file>` that writes 136-byte import records and exits with 0.
struct ConverterCommand {
  std::string program;  // empty: no converter configured
  int timeoutMs = -1;   // -1: 30 s plus 10 s per megabyte of the source
};

// Where the records of one conversion go: the new archive's rewrite and the texts of its ten
// comment files, in one transaction.
struct ImportTarget;

class ForeignImport : public ForeignChartImporter {
 public:
  static constexpr std::int64_t kOldConfigSize = 6200;

  explicit ForeignImport(Archive& archive) : archive_(archive) {}

  int DefineFileType(const std::string& path) override;
  // 0, or -1 with nothing changed (refused, cancelled, or a fault reported).
  int ConvertToArchive(const std::string& source, std::string& archive, int type) override;

  void SetConverter(ConverterCommand command) { converter_ = std::move(command); }
  // Progress of the ".zbs" reading (not owned; none when null).
  void SetProgress(platform::ProgressSink* progress) { progress_ = progress; }

  // The steps of a conversion, each 0 or -1.
  // The type's reader from the source into `records` (intermediate records).
  int AllConverter(const std::string& source, int type, std::string& records);
  // The sibling converter over `source`; its records into `records`. Without a converter message
  // 2090 (the type is not supported here); a failed run message 20.
  int RunSiblingConverter(const std::string& source, std::string& records);
  // Every record of `records` (from a file of `source`'s type) computed into the new archive
  // `archivePath`: 0, or -1 with nothing written.
  int Calculate(const std::string& source, const std::string& archivePath,
                const std::string& records);
  // One import record, one birth record (the number counted from 0 over the records): 0 written
  // or an unused record passed, -1 stop, -2 the record refused (message 44) and skipped.
  int ReadAndWrite(BinaryReader& in, ImportTarget& out);
  int ReadAndWriteSky(BinaryReader& in, ImportTarget& out, int record, bool withComments);
  // The ".zbs" comment of `record` appended to the chosen comment page; `block` gets its place.
  void AddZetComment(CommentRefBlock& block, int record, ImportTarget& out);

 protected:
  // Dialog 262: asks which comment page receives the ".zbs" comments (the archive's import
  // comment page and split-lines flag); false when cancelled. Here: the archive's settings kept.
  virtual bool ChooseCommentPage() { return true; }

 private:
  // The chart computed with its house system and its kind's aspect system; false after message 44.
  bool Compute(Chart& chart, ImportTarget& out) const;
  int WriteRecord(const Chart& chart, const CommentRefBlock& block, ImportTarget& out);
  void Refuse(const std::string& name, const std::string& second) const;

  Archive& archive_;
  ConverterCommand converter_;
  platform::ProgressSink* progress_ = nullptr;
  std::map<int, std::string> zbsComments_;  // of the ".zbs" file being converted
};

// The type of a source by its name alone (upper-cased extension): 0, 1, 6, 8..12, or -1.
int ImportTypeOfName(const std::string& path);
// The archive path of a conversion: the extension (".db", or the last four characters) replaced
// by ".arc", the path's own letter case kept.
std::string ConvertedArchivePath(const std::string& source);
