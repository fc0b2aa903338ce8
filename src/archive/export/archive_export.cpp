// The export of the whole current archive into a text file of one of the user's formats.
#include "archive/export/archive_export.h"

#include <system_error>

#include "archive/comments/archive_comments.h"
#include "archive/export/export_formats.h"
#include "archive/store/archive_index.h"
#include "archive/store/archive_internal.h"
#include "archive/store/archive_records.h"
#include "archive/store/list_lock.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"

namespace fs = std::filesystem;
using namespace archive_detail;

namespace {

constexpr char kTrace[] = "Archive::ExportArchive";

// True when `target` is the archive `archive` or one of its comment files.
bool IsArchiveFileOf(const fs::path& target, const fs::path& archive) {
  if (SameFile(target, archive)) return true;
  for (int k = 0; k < kCommentPages; ++k)
    if (SameFile(target, ArchiveCommentFileName(archive, k))) return true;
  return false;
}

// Notes the refusal of a chart.
int Refuse(char& met) {
  met = '+';
  return -1;
}

void TellRefusal(char met, int kind) {
  if (met == '+')
    ShowMessage(kMsgNotExportable,
                GetMessageText(kMsgKindPrefix) + " \"" + GetMessageText(kind) + "\" " +
                    GetMessageText(kMsgNotExportable),
                platform::Icon::Information);
}

}  // namespace

int CheckExportable(const Chart& chart, ExportRefusals& refusals) {
  if (chart.definition.Kind() == kChartSynastry && chart.definition.keyKind == kCompositeSwitch)
    return Refuse(refusals.composite);
  if (chart.IsLocalSpace()) return Refuse(refusals.localSpace);
  if (chart.IsSymbolicThematic()) return Refuse(refusals.thematic);
  return 0;
}

void TellExportRefusals(const ExportRefusals& refusals) {
  TellRefusal(refusals.composite, kMsgComposite);
  TellRefusal(refusals.localSpace, kMsgLocalSpace);
  TellRefusal(refusals.thematic, kMsgThematic);
}

std::string ExportFileName(const std::string& path, const ExportFormat& format) {
  const std::string ending = "." + format.extension;
  if (path.size() > ending.size() &&
      CompareStrings(std::string_view(path).substr(path.size() - ending.size()), ending,
                     static_cast<int>(ending.size()), true,
                     Collation::kLatinFirst) == kCompareEqual)
    return path;
  return path + ending;
}

int ArchiveExport::ExportArchive(const std::string& path, int f, const AllExpFormats& formats) {
  if (f < 0 || f >= formats.Count()) return -1;
  const ExportFormat& format = formats.Format(f);
  const std::string target = ExportFileName(path, format);
  // The archive and its comment files are never written over by their own export.
  if (IsArchiveFileOf(target, index_.GetPath())) {
    ShowMessage(kMsgTargetIsArchive, platform::Icon::Information);
    return -1;
  }
  std::error_code ec;
  if (fs::exists(target, ec) && !AskYesNo(kMsgReplaceFile)) return -1;
  ExportRefusals refusals;
  int written = 0, detail = 0;
  const int failed = WriteExport(target, f, formats, refusals, written, detail);
  // Told once the lock is let go: another copy changes the archive while a box is open.
  TellExportRefusals(refusals);
  if (failed != 0) {
    if (failed > 0) ReportError(failed, kTrace, detail);
    return -1;
  }
  ShowMessage(kMsgExported,
              GetMessageText(kMsgOf) + " " + std::to_string(index_.RecordCount()) + " " +
                  GetMessageText(kMsgRecordsOfArchive) + std::to_string(written) + " " +
                  GetMessageText(kMsgExported),
              platform::Icon::Information);
  return written;
}

int ArchiveExport::WriteExport(const std::string& target, int f, const AllExpFormats& formats,
                               ExportRefusals& refusals, int& written, int& detail) {
  // The records and their texts are read whole, of the file the list describes (a list another
  // copy of the program changed is read again, message kMsgArchiveChangedElsewhere, and nothing
  // is exported).
  const ListLock lock(index_, LockMode::kShared);
  if (!lock.Ok()) return -1;
  const ArchiveTexts texts(comments_, lock);
  const ExportFormat& format = formats.Format(f);
  SafeRewrite out{fs::path(target)};
  if (!out.Ok()) return kErrCannotCreate;
  detail = 1;
  if (format.headerFlag == 1 && !out.Write(format.header + "\r\n")) return kErrWrite;
  std::FILE* in = index_.Open(lock);
  if (!in) return -1;
  Chart chart;
  std::string line;
  bool failed = false;
  index_.Progress().Begin();
  for (int n = 0; n < index_.RecordCount() && !failed; ++n) {
    if (n % 256 == 0) index_.Progress().SetPos(static_cast<int>(100.0 * n / index_.RecordCount()));
    if (records_.Load(in, chart, n) < 0 || CheckExportable(chart, refusals) != 0) continue;
    if (formats.Convert(f, chart, line, n, &texts) < 0) continue;
    if (!out.Write(line))
      failed = true;
    else
      ++written;
  }
  index_.Progress().End();
  index_.Close(in);
  detail = 2;
  if (failed) return kErrWrite;
  if (const Status st = out.Commit(); !st.ok()) return st.ErrorCode();
  return 0;
}
