#include "shell/entry/enter_chart.h"

#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "shell/core/entry/entry_history.h"

namespace {

// The history file, or an empty path when no data folder is set.
std::filesystem::path HistoryFile() {
  if (GetSettings().Folder().empty()) return {};
  return GetSettings().GetPath(kEntryHistoryFile);
}

}  // namespace

namespace entry {

std::unique_ptr<ChartEntryDialog> MakeEntryDialog(int kind, QWidget* parent) {
  switch (kind) {
    case kChartHorary:
    case kChartDraconic:
      return std::make_unique<CD_ENTER_Natal>(kind, parent);
    case kChartTransit:
      return std::make_unique<CD_ENTER_Transit>(parent);
    case kChartProgressed:
      return std::make_unique<CD_ENTER_Progressed>(parent);
    case kChartDirected:
      return std::make_unique<CD_ENTER_Directed>(parent);
    case kChartSynastry:
      return std::make_unique<CD_ENTER_Synastry>(parent);
    case kChartHarmonic:
      return std::make_unique<CD_ENTER_Harmonic>(parent);
    case kChartReturn:
      return std::make_unique<CD_ENTER_Return>(parent);
    case kChartLunarPhase:
      return std::make_unique<CD_ENTER_LunarPhase>(parent);
    default:
      return std::make_unique<CD_ENTER_Natal>(kChartNatal, parent);
  }
}

}  // namespace entry

bool EnterChartOfKind(SuperSource& definition, int kind, QWidget* parent, const Clock& clock,
                      const SuperSource* active) {
  if (kind < kChartNatal || kind > kChartLunarPhase) kind = kChartNatal;
  EntryHistory history;
  const std::filesystem::path file = HistoryFile();
  // A history that cannot be read only loses the presets: it is started afresh, and the file is
  // renamed aside (kept, with a message) before a new one is written; never written over.
  bool writable = !file.empty();
  if (writable) {
    if (const Status loaded = history.Load(file); !loaded.ok()) {
      std::filesystem::path kept;
      if (MoveAside(file, kept).ok()) {
        ReportStatus(Status::Message(kMsgKeptAside, kept.string()), "EnterChartOfKind");
      } else {
        ReportStatus(loaded, "EnterChartOfKind");
        writable = false;
      }
    }
  }

  std::unique_ptr<entry::ChartEntryDialog> dialog = entry::MakeEntryDialog(kind, parent);
  dialog->entry = InitialEntry(history.Last(kind), definition, active, kind, clock);
  dialog->recent = history.Entries(kind);
  if (dialog->DoModal() != platform::kIdOk) return false;

  SuperSource entered = DefinitionFromEntry(dialog->entry, kind);
  // A return or a lunar phase is searched from the target moment on.
  Status found = Status::Ok();
  if (kind == kChartReturn)
    found = CountMomentOfRevolution(ChartContext::FromCurrentSettings(), entered);
  if (kind == kChartLunarPhase)
    found = CountMomentOfLunarPhase(ChartContext::FromCurrentSettings(), entered);
  if (!found.ok()) {
    ReportStatus(found, "EnterChartOfKind");
    return false;
  }
  if (entered.Title().empty()) entered.SetTitle(GetMessageText(kMsgKindNameFirst + kind));
  ResetAspectSystemName(ChartContext::FromCurrentSettings(), entered);
  // The history keeps what was typed: a return or lunar phase is searched again from the same
  // starting moment next time.
  history.Remember(DefinitionFromEntry(dialog->entry, kind));
  if (writable)
    if (const Status saved = history.Save(file); !saved.ok())
      ReportStatus(saved, "EnterChartOfKind");
  definition = entered;
  return true;
}
