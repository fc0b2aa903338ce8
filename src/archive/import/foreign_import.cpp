#include "archive/import/foreign_import.h"

#include <stdlib.h>

#include <system_error>

#include "archive/import/converter_process.h"
#include "archive/import/foreign_readers.h"
#include "archive/import/import_records.h"
#include "archive/store/archive_file.h"
#include "archive/store/file_transaction.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/houses/houses.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/code_page_866.h"
#include "foundation/text/text_helpers.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kListedRefusals = 20;
constexpr int kHouseSystemPolar = 3;  // above the polar circle
constexpr double kPolarLatitude = 66.5;
constexpr const char* kIntermediateName = "import.tmp";

bool IsBirthRecordType(int type) {
  return type == kFileCat || type == kFileZbs || type == kFileMil || type == kFileDat;
}

std::string Upper(std::string text) {
  StringToUpper(text);
  return text;
}

// A folder of its own under the system's temporary folder, removed with the object.
class PrivateFolder {
 public:
  PrivateFolder() {
    std::string pattern = (fs::temp_directory_path() / "velm-import-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~PrivateFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

struct ImportTarget {
  ImportTarget(SafeRewrite& f, const ChartContext& c) : file(f), ctx(c) {}
  SafeRewrite& file;
  const ChartContext& ctx;
  std::array<std::string, kCommentPages> pages;
};

int ImportTypeOfName(const std::string& path) {
  const std::string upper = Upper(path);
  if (upper.ends_with(".DB")) return kFileSiblingDb;
  static constexpr std::pair<const char*, int> kExtensions[] = {
      {".CFG", kFileOldConfig}, {".CAT", kFileCat}, {".BDA", kFileBda}, {".ZBS", kFileZbs},
      {".DAT", kFileDat},       {".MIL", kFileMil}, {".DDD", kFileDdd}};
  for (const auto& [extension, type] : kExtensions)
    if (upper.ends_with(extension)) return type;
  return -1;
}

std::string ConvertedArchivePath(const std::string& source) {
  const std::size_t cut = Upper(source).ends_with(".DB") ? 3 : 4;
  return source.substr(0, source.size() >= cut ? source.size() - cut : 0) + ".arc";
}

int ForeignImport::DefineFileType(const std::string& path) {
  if (path.size() <= 4) return kFileUnknown;
  if (fs::path(path).filename().string().find('.') == std::string::npos) return kFileNoExtension;
  const std::string upper = Upper(path);
  if (upper.ends_with(".CFG")) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) {
      ReportError(kErrCannotOpen, "Archive::DefineFileType", 0);
      return kFileUnknown;
    }
    return size == static_cast<std::uintmax_t>(kOldConfigSize) ? kFileOldConfig : kFileUnknown;
  }
  if (upper.ends_with(".ARC")) {
    const int layout = Archive::IfRealArchive(path);
    return IsKnownLayout(layout) ? layout : kFileUnknown;
  }
  const int type = ImportTypeOfName(path);
  return type < 0 ? kFileUnknown : type;
}

int ForeignImport::ConvertToArchive(const std::string& source, std::string& archive, int type) {
  archive = ConvertedArchivePath(source);
  std::error_code ec;
  if (fs::exists(archive, ec)) {
    const std::string question =
        GetMessageText(kMsgFile) + " " + archive + " " + GetMessageText(kMsgReplaceConverted);
    if (platform::GetPrompter().AskYesNo(kMsgReplaceConverted, question) != platform::Answer::Yes)
      return -1;
  }
  std::string records;
  zbsComments_.clear();
  const int read = type == kFileOldConfig || type == kFileSiblingDb
                       ? RunSiblingConverter(source, records)
                       : AllConverter(source, type, records);
  if (read != 0) return -1;
  const int done = Calculate(source, archive, records);
  zbsComments_.clear();
  return done;
}

int ForeignImport::AllConverter(const std::string& source, int type, std::string& records) {
  if (type == kFileZbs && !ChooseCommentPage()) return -1;
  std::string bytes;
  if (!ReadWholeFile(source, bytes).ok()) {
    ReportError(kErrCannotOpen, "Archive::AllConverter", 0);
    return -1;
  }
  switch (type) {
    case kFileCat:
      ReadCatFile(bytes, records);
      return 0;
    case kFileBda:
      ReadBdaFile(bytes, records);
      return 0;
    case kFileDdd:
      ReadDddFile(bytes, records);
      return 0;
    case kFileDat:
      ReadDatFile(bytes, records);
      return 0;
    case kFileMil: {
      const ChartContext ctx = ChartContext::FromCurrentSettings();
      ReadMilFile(bytes, ConfiguredHouseSystem(ctx), records);
      return 0;
    }
    case kFileZbs:
      break;
    default:
      ShowMessage(kMsgBadConversionIndex, GetMessageText(kMsgBadConversionIndex),
                  platform::Icon::Information);
      return -1;
  }
  platform::NullProgress none;
  platform::ProgressSink& progress = progress_ ? *progress_ : none;
  ZbsResult result = ReadZbsFile(bytes, archive_.importCommentPage >= 0, archive_.splitLines != 0,
                                 progress, records);
  zbsComments_ = std::move(result.comments);
  if (!result.refusals.empty()) {
    // One summary of the lines skipped, each with the message that names its fault and the field.
    std::string text = GetMessageText(kMsgSkippedLines);
    for (std::size_t i = 0; i < result.refusals.size() && i < kListedRefusals; ++i) {
      const ZbsResult::Refusal& r = result.refusals[i];
      text += "\n" + std::to_string(r.line) + ": " + GetMessageText(r.message) + " " + r.field;
    }
    if (result.refusals.size() > kListedRefusals)
      text +=
          "\n" + GetMessageText(kMsgSkippedInAll) + " " + std::to_string(result.refusals.size());
    ShowMessage(kMsgSkippedLines, text);
  }
  return 0;
}

int ForeignImport::RunSiblingConverter(const std::string& source, std::string& records) {
  if (converter_.program.empty()) {
    ShowMessage(kMsgNoConverter, GetMessageText(kMsgNoConverter));
    return -1;
  }
  PrivateFolder folder;
  if (folder.Path().empty()) {
    ReportError(kErrCannotCreate, "RunSiblingConverter", 0);
    return -1;
  }
  const fs::path output = folder.Path() / kIntermediateName;
  int timeout = converter_.timeoutMs;
  if (timeout < 0) {
    // The converter's own pace: half-second rounds, 60 and one more per 50 kilobytes.
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(source, ec);
    timeout = static_cast<int>(((ec ? 0 : size) / 1000 / 50 + 60) * 500);
  }
  const int status = RunProgram({converter_.program, source, output.string()}, timeout);
  if (status != 0 || !ReadWholeFile(output, records).ok()) {
    ShowMessage(kMsgConversionFailed, GetMessageText(kMsgConversionFailed));
    return -1;
  }
  return 0;
}

int ForeignImport::Calculate(const std::string& source, const std::string& archivePath,
                             const std::string& records) {
  const char* trace = "Archive::Calculate";
  const int type = ImportTypeOfName(source);
  if (type < 0) {
    ShowMessage(kMsgBadConversionIndex, GetMessageText(kMsgBadConversionIndex),
                platform::Icon::Information);
    return -1;
  }
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  // The target's files are written under its folder's lock, from the first temporary file on.
  const ArchiveLock lock(archivePath);
  if (!lock.Held()) return -1;
  FileTransaction tx;
  SafeRewrite& file = tx.Rewrite(archivePath);
  if (!file.Ok()) {
    ReportError(kErrCannotCreate, trace, 0);
    return -1;
  }
  ImportTarget out(file, ctx);
  BinaryWriter header;
  header.I32(LayoutHeaderWord(kLayout4400));
  if (!file.Write(header.Data())) {
    ReportError(kErrWrite, trace, 0);
    return -1;
  }
  const bool sky = IsBirthRecordType(type);
  const std::size_t size = sky ? kBirthRecordSize : kImportRecordSize;
  BinaryReader in(records);
  const std::size_t count = records.size() / size;
  for (std::size_t i = 0; i < count; ++i) {
    // A cancelled import writes nothing.
    if (progress_ != nullptr) {
      if (progress_->Cancelled()) return -1;
      progress_->SetPos(static_cast<int>(100 * i / count));
    }
    const int r = sky ? ReadAndWriteSky(in, out, static_cast<int>(i), type == kFileZbs)
                      : ReadAndWrite(in, out);
    if (r == -1) return -1;
  }
  // The comment files the new records use; stale ones of an archive replaced go with it.
  for (int k = 0; k < kCommentPages; ++k) {
    const fs::path name = ArchiveCommentFileName(archivePath, k);
    const std::string& text = out.pages[static_cast<std::size_t>(k)];
    if (text.empty())
      tx.Remove(name);
    else if (!tx.Rewrite(name).Write(text))
      break;
  }
  if (Status st = tx.Commit(); !st.ok()) {
    ReportStatus(st, trace);
    return -1;
  }
  return 0;
}

int ForeignImport::ReadAndWrite(BinaryReader& in, ImportTarget& out) {
  ImportRecord r = ImportRecord::Read(in);
  if (!in.Ok()) {
    ReportError(kErrRead, "Archive::ReadAndWrite", 0);
    return -1;
  }
  r.first.minutes = std::min(r.first.minutes, 59);
  r.second.minutes = std::min(r.second.minutes, 59);
  if (r.first.year == 0) return 0;  // an unused record
  TrimRight(r.name);
  for (std::string* text : {&r.name, &r.title, &r.town}) ConvertString866To1251(*text);
  Chart chart;
  if (!FromImportRecord(out.ctx, r, chart.definition).ok()) {
    Refuse(r.name, r.title);
    return -2;
  }
  // Only a house system this program knows; else the configured one.
  chart.houseSystem =
      IsKnownHouseSystem(r.houseSystem) ? r.houseSystem : ConfiguredHouseSystem(out.ctx);
  if (!Compute(chart, out)) return -2;
  return WriteRecord(chart, CommentRefBlock(), out);
}

int ForeignImport::ReadAndWriteSky(BinaryReader& in, ImportTarget& out, int record,
                                   bool withComments) {
  BirthRecord r = BirthRecord::Read(in);
  if (!in.Ok()) {
    ReportError(kErrRead, "Archive::ReadAndWriteSky", 0);
    return -1;
  }
  r.minutes = std::min(r.minutes, 59);
  TrimRight(r.name);
  Chart chart;
  if (!FromSkyRecord(r, chart.definition).ok()) {
    Refuse(r.name, r.title);
    return -2;
  }
  const Place& place = chart.definition.sources[0].place;
  const double latitude = place.LatitudeDegrees() + place.LatitudeMinutes() / 60.0;
  chart.houseSystem =
      latitude <= kPolarLatitude ? ConfiguredHouseSystem(out.ctx) : kHouseSystemPolar;
  if (!Compute(chart, out)) return -2;
  CommentRefBlock block;
  if (withComments) AddZetComment(block, record, out);
  return WriteRecord(chart, block, out);
}

void ForeignImport::AddZetComment(CommentRefBlock& block, int record, ImportTarget& out) {
  const int page = archive_.importCommentPage;
  if (page < 0 || page >= kCommentPages) return;
  const auto found = zbsComments_.find(record);
  if (found == zbsComments_.end()) return;
  std::string& file = out.pages[static_cast<std::size_t>(page)];
  block.offsets[static_cast<std::size_t>(page)] = static_cast<std::uint32_t>(file.size());
  block.lengths[static_cast<std::size_t>(page)] = static_cast<std::uint16_t>(found->second.size());
  file += found->second;
}

bool ForeignImport::Compute(Chart& chart, ImportTarget& out) const {
  if (!ChartCalculate(out.ctx, chart, 0).ok()) {
    const Source* base = chart.definition.GetBaseSource();
    Refuse(base ? base->Name() : std::string(), chart.definition.Title());
    return false;
  }
  ResetAspectSystemName(out.ctx, chart.definition);
  return true;
}

int ForeignImport::WriteRecord(const Chart& chart, const CommentRefBlock& block,
                               ImportTarget& out) {
  if (!out.file.Write(archive_file::RecordBytes(chart, kLayout4400, block))) {
    ReportError(kErrWrite, "Archive::ReadAndWriteSky", 0);
    return -1;
  }
  return 0;
}

void ForeignImport::Refuse(const std::string& name, const std::string& second) const {
  ShowMessage(kMsgCannotConvertChart,
              GetMessageText(kMsgCannotConvertChart) + "\n" + name + "\n" + second);
}
