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

// Shows the refusal of `kind` (a message number) the first time only.
int Refuse(char& shown, int kind) {
  if (shown == '.') {
    shown = '+';
    ShowMessage(kMsgNotExportable,
                GetMessageText(kMsgKindPrefix) + " \"" + GetMessageText(kind) + "\" " +
                    GetMessageText(kMsgNotExportable),
                platform::Icon::Information);
  }
  return -1;
}

}  // namespace

int CheckExportable(const Chart& chart, ExportRefusals& refusals) {
  if (chart.definition.Kind() == kChartSynastry && chart.definition.keyKind == kCompositeSwitch)
    return Refuse(refusals.composite, kMsgComposite);
  if (chart.IsLocalSpace()) return Refuse(refusals.localSpace, kMsgLocalSpace);
  if (chart.IsSymbolicThematic()) return Refuse(refusals.thematic, kMsgThematic);
  return 0;
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
  // The records and their texts are read whole, of the file the list describes (a list another
  // copy of the program changed is read again, message kMsgArchiveChangedElsewhere, and nothing
  // is exported).
  const ListLock lock(index_, LockMode::kShared);
  if (!lock.Ok()) return -1;
  const ArchiveTexts texts(comments_, lock);
  SafeRewrite out{fs::path(target)};
  if (!out.Ok()) {
    ReportError(kErrCannotCreate, kTrace, 0);
    return -1;
  }
  if (format.headerFlag == 1 && !out.Write(format.header + "\r\n")) {
    ReportError(kErrWrite, kTrace, 1);
    return -1;
  }
  std::FILE* in = index_.Open(lock);
  if (!in) return -1;
  ExportRefusals refusals;
  Chart chart;
  std::string line;
  int written = 0;
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
  if (failed) {
    ReportError(kErrWrite, kTrace, 2);
    return -1;
  }
  if (const Status st = out.Commit(); !st.ok()) {
    ReportError(st.ErrorCode(), kTrace, 2);
    return -1;
  }
  ShowMessage(kMsgExported,
              GetMessageText(kMsgOf) + " " + std::to_string(index_.RecordCount()) + " " +
                  GetMessageText(kMsgRecordsOfArchive) + std::to_string(written) + " " +
                  GetMessageText(kMsgExported),
              platform::Icon::Information);
  return written;
}
