#include "conditions/core/query_dialog_model.h"

#include <algorithm>
#include <cstdio>

#include "archive/store/archive.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/condition_logic.h"
#include "conditions/core/synastry_run.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/palette.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace {

using Q = cfg::QuerySettings;
using S = cfg::SynastrySettings;
using V = QueryViewSettings;
using cfg::Bind;

// Read and written as they stand; FromBlock and ToBlock bring the numbers into range.
constexpr cfg::FieldTable kViewFields{
    Bind(&V::screenFont, Q::kScreenFontSize), Bind(&V::printFont, Q::kPrintFontSize),
    Bind(&V::screenGap, Q::kScreenLineGap),   Bind(&V::printGap, Q::kPrintLineGap),
    Bind(&V::showArchives, Q::kShowArchives), Bind(&V::showQuery, Q::kShowQuery)};

constexpr int kArchiveItemLength = 50;
constexpr int kColourText = 0;
constexpr int kColourOff = 7;
constexpr int kColourSelectedText = 14;
constexpr int kColourSelectedFill = 1;

std::string ListPath(const char* name) { return GetSettings().GetPath(name); }

}  // namespace

// --- The view settings ---

QueryViewSettings QueryViewSettings::Clamped() const {
  QueryViewSettings v = *this;
  v.screenFont = std::clamp(screenFont, kMinFont, kMaxFont);
  v.printFont = std::clamp(printFont, kMinFont, kMaxFont);
  v.screenGap = std::clamp(screenGap, kMinGap, kMaxGap);
  v.printGap = std::clamp(printGap, kMinGap, kMaxGap);
  return v;
}

QueryViewSettings QueryViewSettings::FromBlock(const cfg::ByteBlock& b) {
  QueryViewSettings v;
  kViewFields.Read(b, v);
  return v.Clamped();
}

void QueryViewSettings::ToBlock(cfg::ByteBlock& b) const { kViewFields.Write(Clamped(), b); }

// --- The dialog ---

QueryDialogModel::QueryDialogModel(QueryMode mode) : mode_(mode) {
  set.SetCapacity(CFunc::kCapacity);
  set.mode = 0;
  set.synastry = mode == QueryMode::kSynastry;
  set.groups.SetCurrentKind('P');
}

void QueryDialogModel::Load(const cfg::ByteBlock& block) {
  const bool synastry = mode_ == QueryMode::kSynastry;
  if (!synastry) archives = LoadArcs(ListPath(ArcsFileName(mode_)));
  set.LoadFuncs(ListPath(FuncsFileName(mode_)), CFunc::kCapacity);
  history = LoadLogic(ListPath(LogicFileName(mode_)));
  set.groups.LoadGroups();
  currentArchiveOnly = synastry || block.Get(Q::kCurrentArchiveOnly) != 0;
  const int mode = block.Get(synastry ? S::kConditionMode : Q::kEvaluationMode);
  set.mode = mode >= 0 && mode <= 2 ? mode : 0;
  view = synastry ? SynastryViewFromBlock(block) : QueryViewSettings::FromBlock(block);
  selectedArchive = archives.empty() ? -1 : 0;
  selectedCondition = set.Count() == 0 ? -1 : 0;
}

QueryDialogEnabling QueryDialogModel::Enabling() const {
  QueryDialogEnabling e;
  if (mode_ == QueryMode::kSynastry) {
    e.addCondition = set.Count() < set.Capacity();
    e.changeCondition = set.Count() > 0;
    e.logicCombo = set.mode == 2;
    return e;
  }
  e.archiveList = !currentArchiveOnly;
  e.addArchive = !currentArchiveOnly;
  e.removeArchive = !currentArchiveOnly && !archives.empty();
  e.addCondition = set.Count() < set.Capacity();
  e.changeCondition = set.Count() > 0;
  e.logicCombo = set.mode == 2;
  return e;
}

bool QueryDialogModel::RefuseFullList() const {
  if (static_cast<int>(archives.size()) < kMaxArchives) return false;
  ShowMessage(kMsgTooManyArchives);
  return true;
}

int QueryDialogModel::AddArchive(std::string path) {
  if (RefuseFullList()) return kMsgTooManyArchives;
  if (!HasFileExtension(path)) path += ".arc";
  if (std::FILE* f = OpenForReading(path)) {
    std::fclose(f);
  } else {
    return ShowMessage(kMsgNoSuchArchive);
  }
  if (!Archive::IsArchiveFile(path)) return ShowMessage(kMsgNotAnArchive);
  for (const ArchiveListEntry& e : archives)
    if (Archive::IsSameFile(e.path, path)) return ShowMessage(kMsgArchiveInList);
  archives.push_back({path, true});
  selectedArchive = static_cast<int>(archives.size()) - 1;
  SaveArchives();
  return 0;
}

int QueryDialogModel::RemoveArchive() {
  if (selectedArchive < 0 || selectedArchive >= static_cast<int>(archives.size()))
    return ShowMessage(kMsgChooseArchive);
  archives.erase(archives.begin() + selectedArchive);
  selectedArchive = std::min(selectedArchive, static_cast<int>(archives.size()) - 1);
  SaveArchives();
  return 0;
}

int QueryDialogModel::ToggleArchive() {
  if (selectedArchive < 0 || selectedArchive >= static_cast<int>(archives.size()))
    return ShowMessage(kMsgChooseArchive);
  ArchiveListEntry& e = archives[static_cast<std::size_t>(selectedArchive)];
  e.on = !e.on;
  SaveArchives();
  return 0;
}

int QueryDialogModel::SaveArchives() const {
  return SaveArcs(ListPath(ArcsFileName(mode_)), archives);
}

bool QueryDialogModel::ToggleCondition() {
  if (selectedCondition < 0 || selectedCondition >= set.Count()) return false;
  QueryCondition& c = set.Condition(selectedCondition);
  c.w[19] = c.Enabled() ? 0 : 1;
  SaveConditions();
  return true;
}

int QueryDialogModel::SaveConditions() { return set.SaveFuncs(ListPath(FuncsFileName(mode_))); }

void QueryDialogModel::ConditionsChanged(int select) {
  selectedCondition = set.Count() == 0 ? -1 : std::clamp(select, 0, set.Count() - 1);
}

bool QueryDialogModel::PrepareRun(std::string_view typedLogic, cfg::ByteBlock& block) {
  if (mode_ == QueryMode::kSynastry) {
    block.Set(S::kConditionMode, std::int32_t{set.mode});
  } else {
    SaveArchives();
    block.Set(Q::kCurrentArchiveOnly, std::int32_t{currentArchiveOnly ? 1 : 0});
    block.Set(Q::kEvaluationMode, std::int32_t{set.mode});
  }
  if (!currentArchiveOnly && archives.empty()) {
    ShowMessage(kMsgArchiveListEmpty);
    return false;
  }
  if (set.mode != 2) return true;
  const std::string_view typed = typedLogic.substr(0, kMaxTypedLogic);
  if (!set.SetLogic(typed)) return false;
  AddLogicToHistory(history, typed);
  return SaveLogic(ListPath(LogicFileName(mode_)), history) == 0;
}

QueryRunResult RunQueryFromDialog(QueryDialogModel& model, std::string_view typedLogic,
                                  cfg::ByteBlock& queryBlock, Archive& archive,
                                  const std::function<ChartContext()>& takeContext,
                                  const platform::ProgressRunner& run,
                                  const std::function<bool()>& showResults) {
  model.resultsShown = false;
  if (!model.PrepareRun(typedLogic, queryBlock)) return {};
  const ChartContext context = takeContext();
  const QueryRunRequest request = model.Request();
  QueryRunResult result;
  const bool completed = run([&](platform::ProgressSink& progress) {
    result = RunQuery(archive, model.set, context, request, progress);
  });
  if (result.end == QueryRunEnd::kRefused) return result;
  if (result.overList && result.hits > 0 && completed) {
    archive.resultHeaderLines =
        BuildResultHeader(model.set, model.archives, model.view.showArchives, model.view.showQuery,
                          typedLogic.substr(0, QueryDialogModel::kMaxTypedLogic));
    model.resultsShown = showResults && showResults();
    if (!model.resultsShown) {
      archive.Query().FreeSelectedRecordsInfo();
      archive.resultHeaderLines.clear();
    }
  } else if (result.overList) {
    archive.Query().FreeSelectedRecordsInfo();
  }
  platform::GetPrompter().ShowMessage(result.overList ? kMsgArchivesProcessed : kMsgChartsViewed,
                                      QuerySummaryText(result), platform::Icon::Information);
  return result;
}

// --- The lists ---

std::string QueryArchiveItemText(std::string_view path) {
  return ShortenTextToLength(PathText(path), kArchiveItemLength);
}

void DrawQueryListItem(platform::Dc& dc, const platform::Rect& item, std::string_view text, bool on,
                       bool selected, platform::Color background) {
  dc.FillRect(item, selected ? ColorByIndex(kColourSelectedFill) : background);
  const int colour = !on ? kColourOff : selected ? kColourSelectedText : kColourText;
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(colour));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(item.left, item.top, text);
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
}
