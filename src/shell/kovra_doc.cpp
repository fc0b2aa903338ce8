#include "shell/kovra_doc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "archive/browser/archive_commands.h"
#include "archive/browser/comment_view.h"
#include "archive/comments/chart_comments.h"
#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/doc_template.h"
#include "rectification/ui/rect_setup_dialogs.h"
#include "settings/ui/settings_commands.h"
#include "shell/command_ids.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/entry/enter_chart.h"
#include "shell/kovra_app.h"
#include "shell/view_kinds.h"
#include "views/core/table_choices.h"
#include "views/ui/asptable_config_dialog.h"
#include "views/ui/coord_conf_dialogs.h"
#include "views/ui/table_choice_dialogs.h"

DocCreation DocCreation::NewChart(int kind) { return {.kind = kind}; }

DocCreation DocCreation::DerivedChart(Chart chart) {
  return {.mode = DocCreationMode::DerivedChart, .source = std::move(chart)};
}

DocCreation DocCreation::Copy(Chart chart) {
  return {.mode = DocCreationMode::Copy, .source = std::move(chart)};
}

DocCreation DocCreation::Statistics(StatResults results) {
  return {.mode = DocCreationMode::Statistics, .stats = std::move(results)};
}

DocCreation DocCreation::Results(DocCreationMode mode) { return {.mode = mode}; }

namespace {

constexpr int kMsgTooManyCharts = 9;
constexpr int kMsgRectifiedBirth = 92;
constexpr int kMsgRectifiedConception = 93;
constexpr int kMsgRectifiedPrefix = 485;
constexpr int kMsgGeodeticPolar = 486;
constexpr int kMsgUnsavedComments = 502;
constexpr int kMsgTransitName = 1118;
constexpr double kGeodeticLatitudeLimit = 66.5;

// "DD.MM.YYYY", with the era's name after the year before Christ.
std::string DateText(const FDate& date) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.Day(), date.Month(), date.Year());
  std::string out = text;
  if (date.Era() == 'B') out += ' ' + GetMessageText(kMsgEraBc);
  return out;
}

}  // namespace

CKovraDoc::CKovraDoc(CKovraApp& app) : app_(app) { RegisterCommands(); }

CKovraDoc::~CKovraDoc() {
  if (registered_) app_.UnregisterDocument(this);
}

int CKovraDoc::Kind() const { return chart_ ? chart_->definition.Kind() : resultKind_; }

bool CKovraDoc::OnNewDocument() {
  // A document opened with no argument is a new natal chart; one of another type is refused.
  const DocCreation plain;
  const DocCreation* creation =
      CreationArgument().IsEmpty() ? &plain : CreationArgument().Get<DocCreation>();
  if (creation == nullptr) return false;
  if (!app_.RegisterDocument(this)) {
    platform::GetPrompter().ShowMessage(kMsgTooManyCharts, GetMessageText(kMsgTooManyCharts),
                                        platform::Icon::Warning);
    return false;
  }
  registered_ = true;
  switch (creation->mode) {
    case DocCreationMode::DerivedChart:
    case DocCreationMode::Copy:
      if (!creation->source ||
          !CopySource(*creation->source, creation->mode == DocCreationMode::Copy))
        return false;
      break;
    case DocCreationMode::Statistics:
      resultKind_ = kResultKindStatistics;
      SetStatResults(creation->stats);
      return true;
    case DocCreationMode::EmptyResults:
    case DocCreationMode::PrintList:
      resultKind_ = kResultKindList;
      return true;
    case DocCreationMode::NewChart:
      if (!FillNewChart(creation->kind)) return false;
      break;
  }
  UpdateTitle();
  return true;
}

bool CKovraDoc::FillNewChart(int kind) {
  if (kind < kChartNatal || kind > kChartLunarPhase) kind = kChartNatal;
  auto chart = std::make_unique<Chart>();
  chart->definition.SetKind(static_cast<std::uint16_t>(kind));
  // The entry of the kind, preset from the last entry of its group.
  if (!EnterChartOfKind(chart->definition, kind, app_.MainWindow())) return false;
  if (const Status computed = ChartCalculate(*chart); !computed.ok()) {
    ReportStatus(computed, "CKovraDoc::OnNewDocument");
    return false;
  }
  chart_ = std::move(chart);
  return true;
}

bool CKovraDoc::CopySource(const Chart& source, bool withComments) {
  auto chart = std::make_unique<Chart>(source);
  if (withComments) {
    // A comment slot belongs to one open chart: a copy of a chart whose slot another open chart
    // holds (a file opened twice, a session with two charts on one slot) opens without the
    // pages, so that closing it cannot delete them.
    if (chart->commentSlot != 0 && app_.CommentSlots().IsTaken(chart->commentSlot))
      chart->commentSlot = 0;
    if (chart->commentSlot != 0) CheckCommentFiles(*chart, app_.CommentSlots());
  } else {
    chart->commentSlot = 0;
  }
  CheckAspectSystemName(chart->definition);
  if (const Status computed = ChartCalculate(*chart, 0); !computed.ok()) {
    ReportStatus(computed, "CKovraDoc::OnNewDocument");
    return false;
  }
  chart_ = std::move(chart);
  return true;
}

bool CKovraDoc::SaveModified() {
  if (commentView != nullptr) commentView->SaveIfKept();
  if (app_.IsClosing() || !chart_ || savedInArchive || !HasCommentPages(*chart_)) return true;
  return platform::GetPrompter().AskYesNo(
             kMsgUnsavedComments, GetMessageText(kMsgUnsavedComments)) == platform::Answer::Yes;
}

void CKovraDoc::OnCloseDocument() {
  if (!chart_) return;
  if (app_.IsClosing()) {
    // The session keeps the chart, and with it the pages of its comment slot.
    app_.AddSessionChart(*chart_);
    return;
  }
  if (chart_->commentSlot != 0) {
    DeleteCommentFiles(*chart_);
    app_.CommentSlots().Release(chart_->commentSlot);
  }
}

std::string CKovraDoc::ChartTitle(const Chart& chart) {
  const SuperSource& definition = chart.definition;
  const Source* base = definition.GetBaseSource();
  const Source& source = base != nullptr ? *base : definition.sources[0];
  return source.Name() + " - " + definition.Title() + ' ' + DateText(source.moment.date) + ' ' +
         source.moment.time.ToText();
}

void CKovraDoc::UpdateTitle() {
  if (chart_) SetTitle(ChartTitle(*chart_));
}

void CKovraDoc::ViewOpened(DocView view) { ++openViews_[static_cast<std::size_t>(view)]; }

void CKovraDoc::ViewClosed(DocView view) {
  int& count = openViews_[static_cast<std::size_t>(view)];
  if (count > 0) --count;
}

bool CKovraDoc::IsViewOpen(DocView view) const { return OpenCount(view) > 0; }

void CKovraDoc::SetStatResults(const StatResults& results) { stats_ = results; }

void CKovraDoc::FreeStatResults() { stats_ = StatResults{}; }

int CKovraDoc::MarkStatGroupInArchive(int k) {
  if (k < 0 || k >= stats_.BucketCount() || static_cast<std::size_t>(k) >= stats_.records.size())
    return 0;
  Archive& archive = app_.GetArchive();
  int marked = 0;
  for (const std::int16_t record : stats_.records[static_cast<std::size_t>(k)]) {
    if (record < 0 || record >= archive.RecordCount()) continue;
    archive.Entry(record).mark = 'Y';
    ++marked;
  }
  return marked;
}

// --- Derived charts ---

CKovraDoc* CKovraDoc::Open(CKovraApp& app, DocCreation creation, int templateNumber) {
  platform::DocTemplate* docTemplate = app.GetTemplate(templateNumber);
  if (docTemplate == nullptr) return nullptr;
  return static_cast<CKovraDoc*>(
      docTemplate->OpenDocumentFile(platform::DocumentArgument(std::move(creation))));
}

namespace {

Source& NamedSource(Chart& chart) {
  Source* base = chart.definition.GetBaseSource();
  return base != nullptr ? *base : chart.definition.sources[0];
}

}  // namespace

CKovraDoc* CKovraDoc::OpenDerived(const Chart& chart) {
  return Open(app_, DocCreation::DerivedChart(chart));
}

CKovraDoc* CKovraDoc::OpenChartDocument(CKovraApp& app, const Chart& chart) {
  return Open(app, DocCreation::Copy(chart));
}

CKovraDoc* CKovraDoc::DrawRectifiedChart(const Moment& moment, char mark) {
  if (!chart_) return nullptr;
  Chart rectified = *chart_;
  rectified.definition.GetCountSrc().AssignMoment(moment);
  Source& named = NamedSource(rectified);
  named.SetName(named.Name() +
                GetMessageText(mark == 'C' ? kMsgRectifiedConception : kMsgRectifiedBirth));
  return OpenDerived(rectified);
}

CKovraDoc* CKovraDoc::OpenRectifiedChart(CKovraApp& app, const Chart& source) {
  Chart rectified = source;
  Source& named = NamedSource(rectified);
  named.SetName(GetMessageText(kMsgRectifiedPrefix) + named.Name().substr(0, 33));
  return Open(app, DocCreation::DerivedChart(std::move(rectified)));
}

CKovraDoc* CKovraDoc::OpenTransitChart(CKovraApp& app, const Chart& chart, const Moment& moment) {
  Chart transit = chart;
  transit.definition.GetCountSrc().AssignMoment(moment);
  NamedSource(transit).SetName(GetMessageText(kMsgTransitName));
  return Open(app, DocCreation::DerivedChart(std::move(transit)));
}

CKovraDoc* CKovraDoc::OpenRelocatedChart(int mode, const Place& place) {
  if (!chart_) return nullptr;
  if (mode == 1 && std::abs(place.LatitudeDeg()) >= kGeodeticLatitudeLimit) {
    platform::GetPrompter().ShowMessage(kMsgGeodeticPolar, GetMessageText(kMsgGeodeticPolar),
                                        platform::Icon::Warning);
    return nullptr;
  }
  Chart relocated = *chart_;
  // The same instant seen from another place: the clock and zone stay, the place changes.
  relocated.definition.GetCountSrc().place = place;
  const int system =
      relocated.houseSystem >= 0 ? relocated.houseSystem % 100 : ConfiguredHouseSystem() % 100;
  relocated.houseSystem = mode == 1 ? system + 100 : system;
  return OpenDerived(relocated);
}

int CKovraDoc::OpenRelocatedCharts(const std::vector<RelocationTown>& towns, bool withPoint,
                                   const Place& point, int mode) {
  int opened = 0;
  for (const RelocationTown& town : towns) {
    if (town.flag == 'Y' && OpenRelocatedChart(mode, town.place) != nullptr) ++opened;
  }
  if (withPoint && OpenRelocatedChart(mode, point) != nullptr) ++opened;
  return opened;
}

// --- Stepping in time and the chart information ---

namespace {

// The Source whose moment Chart::AddStep moves: the target moment of transit, progressed and
// directed charts, the first person of a composite, else the Source the chart is computed for.
const Source& SteppedSource(const SuperSource& definition) {
  switch (definition.Kind()) {
    case kChartTransit:
    case kChartProgressed:
    case kChartDirected:
      return definition.sources[1];
    case kChartSynastry:
      return definition.keyKind == kCompositeSwitch ? definition.sources[0]
                                                    : definition.GetCountSrc();
    default:
      return definition.GetCountSrc();
  }
}

// Kinds computed for one moment, which the entry writes into all three Sources.
bool IsSingleMomentKind(int kind) {
  return kind == kChartNatal || kind == kChartHorary || kind == kChartDraconic ||
         kind == kChartHarmonic;
}

// The days from `date` to the same day `months` calendar months later (earlier when negative).
// A day beyond the end of the new month becomes its last day and a day of 5..14 October 1582
// becomes 15 October; 0 when the new date lies outside the years that can be held.
std::int64_t CalendarMonthDays(const FDate& date, int months) {
  const std::int64_t index =
      std::int64_t{date.AstronomicalYear()} * 12 + (date.Month() - 1) + months;
  const std::int64_t astronomical = index >= 0 ? index / 12 : -((11 - index) / 12);
  const int month = static_cast<int>(index - astronomical * 12) + 1;
  const char era = astronomical <= 0 ? 'B' : 'A';
  const std::int64_t written = astronomical <= 0 ? 1 - astronomical : astronomical;
  if (written > 9999) return 0;
  const int year = static_cast<int>(written);
  int day = std::min(date.Day(), GetDaysInMonth(month, year, era));
  if (era == 'A' && year == 1582 && month == 10 && day >= 5 && day <= 14) day = 15;
  FDate target;
  if (!target.SetDate(day, month, year, era).ok()) return 0;
  return target.DayNumber() - date.DayNumber();
}

}  // namespace

double CKovraDoc::StepDays(const Chart& chart, StepUnit unit, int count) {
  const FDate& date = SteppedSource(chart.definition).moment.date;
  switch (unit) {
    case StepUnit::Minute:
      return count / 1440.0;
    case StepUnit::Hour:
      return count / 24.0;
    case StepUnit::Day:
      return count;
    case StepUnit::Month:
      return static_cast<double>(CalendarMonthDays(date, count));
    case StepUnit::Year:
      return static_cast<double>(CalendarMonthDays(date, 12 * count));
  }
  return 0.0;
}

bool CKovraDoc::StepChart(StepUnit unit, int count) {
  if (!chart_) return false;
  // Stepped on a copy: a moment the chart cannot be computed for leaves the chart as it was.
  Chart stepped = *chart_;
  SuperSource& definition = stepped.definition;
  const Moment old = SteppedSource(definition).moment.GetPlainMoment();
  if (const Status computed = stepped.AddStep(StepDays(stepped, unit, count)); !computed.ok()) {
    ReportStatus(computed, "CKovraDoc::StepChart");
    return false;
  }
  // A chart of one moment keeps one moment: the Sources that held it move with it, so that the
  // title and a saved record show the moment drawn.
  if (IsSingleMomentKind(definition.Kind())) {
    const Moment now = SteppedSource(definition).moment.GetPlainMoment();
    for (Source& source : definition.sources) {
      if (source.moment.GetPlainMoment() == old) source.AssignMoment(now);
    }
  }
  *chart_ = std::move(stepped);
  UpdateTitle();
  UpdateAllViews(nullptr);
  return true;
}

void CKovraDoc::ShowChartInfo() {
  if (!chart_) return;
  DChartInfo dialog(*chart_, app_.MainWindow());
  dialog.DoModal();
}

// --- Commands ---

void CKovraDoc::AddChartCommands() {
  const auto hasChart = [this](platform::CommandState& state) {
    state.enabled = chart_ != nullptr;
  };
  OnCommand(
      cmd::kChartInfo, [this] { ShowChartInfo(); }, hasChart);
  OnCommand(
      cmd::kRectifyByEvents, [this] { RectifyByEvents(); }, hasChart);
  OnCommand(
      cmd::kSaveToArchive, [this] { SaveChartToArchive(app_, *this); }, hasChart);
  for (int unit = 0; unit < cmd::kStepUnitCount; ++unit) {
    const auto stepUnit = static_cast<StepUnit>(unit);
    OnCommand(
        cmd::StepForward(unit), [this, stepUnit] { StepChart(stepUnit, 1); }, hasChart);
    OnCommand(
        cmd::StepBack(unit), [this, stepUnit] { StepChart(stepUnit, -1); }, hasChart);
  }
}

int CKovraDoc::ChooseChartForTable(int tableKind, int slot) {
  D_CHOOSE_AT_FOR_DW dialog(app_.MainWindow());
  dialog.question = tables::ChartChoiceQuestion(tableKind, slot);
  if (dialog.DoModal() != platform::kIdOk) return -1;
  (slot == 2 ? secondTableChoice : firstTableChoice) = dialog.choice;
  return dialog.choice;
}

void CKovraDoc::RectifyByEvents() {
  if (chart_ == nullptr) return;
  RectEventFiles files;
  files.events = &app_.RectificationEvents();
  files.eventsFile = app_.GetPath(g_DataFileNames[kDataLifeEvents]);
  files.tremin = &app_.TreminEvents();
  files.treminFile = app_.GetPath(g_DataFileNames[kDataTestEvents]);
  if (auto matrix = RunRectificationByEvents(*chart_, GetConfiguration(), GetAspectarium(), files,
                                             app_.MainWindow()))
    rectification_ = std::move(matrix);
}

void CKovraDoc::AddViewCommand(int command, int templateNumber, const DocView* exclusive) {
  OnCommand(
      command,
      [this, command, templateNumber] {
        platform::DocTemplate* viewTemplate = app_.GetTemplate(templateNumber);
        if (viewTemplate == nullptr) return;
        // The tables of a two-chart document are for the chart the user chooses; a cancelled
        // choice opens nothing.
        if (templateNumber == kTemplateAspectTable || templateNumber == kTemplateMidpoints) {
          firstTableChoice =
              IsTwoChart() ? ChooseChartForTable(templateNumber == kTemplateMidpoints ? 1 : 0, 0)
                           : 3;
          if (firstTableChoice < 0) return;
        }
        // The equatorial and the horizontal table share their view; the command sets the mode.
        if (templateNumber == kTemplateCoordEquatorial)
          coordinateMode = command == cmd::kCoordHorizontal ? 4 : 3;
        viewTemplate->OpenView(*this);
      },
      [this, templateNumber, exclusive](platform::CommandState& state) {
        state.enabled = chart_ != nullptr && app_.GetTemplate(templateNumber) != nullptr &&
                        !(exclusive != nullptr && IsViewOpen(*exclusive)) &&
                        (templateNumber != kTemplateCoordinates2 || IsTwoChart());
      });
}

void CKovraDoc::RegisterCommands() {
  // The view commands open their view on this document once the view's template is registered;
  // the Bindhu and Sabian lists are disabled while one of them is open.
  static constexpr DocView kBindhu = DocView::Bindhu;
  static constexpr DocView kSabian = DocView::Sabian;
  // One comment view per chart: two would store the same page over each other.
  static constexpr DocView kComment = DocView::Comment;
  AddViewCommand(cmd::kAspectTable, kTemplateAspectTable);
  AddViewCommand(cmd::kMidpoints, kTemplateMidpoints);
  AddViewCommand(cmd::kAntiscia, kTemplateAntiscia);
  AddViewCommand(cmd::kArabicParts, kTemplateArabicParts);
  AddViewCommand(cmd::kCoordinates, kTemplateCoordinates);
  AddViewCommand(cmd::kCoordinates2, kTemplateCoordinates2);
  AddViewCommand(cmd::kCoordLatitudes, kTemplateCoordLatitudes);
  AddViewCommand(cmd::kCoordSpeeds, kTemplateCoordSpeeds);
  AddViewCommand(cmd::kCoordEquatorial, kTemplateCoordEquatorial);
  AddViewCommand(cmd::kCoordHorizontal, kTemplateCoordEquatorial);
  AddViewCommand(cmd::kFixedStars, kTemplateStarsList);
  AddViewCommand(cmd::kPlanetaryHours, kTemplatePlanetaryHours);
  AddViewCommand(cmd::kComment, kTemplateComment, &kComment);
  AddViewCommand(cmd::kGraphicEphemeris, kTemplateGraphicEphemeris);
  AddViewCommand(cmd::kBindhuTable, kTemplateBindhu, &kBindhu);
  AddViewCommand(cmd::kSabianSymbols, kTemplateSabians, &kSabian);
  AddViewCommand(cmd::kAstroCartMap, kTemplateAstroCart);
  AddChartCommands();
  OnCommand(cmd::kConfigAspectTable, [this] {
    if (RunAspectTableConfig(GetConfiguration(), GetAspectarium(), app_.MainWindow()))
      UpdateAllViews();
  });
  OnCommand(cmd::kConfigCoordinates, [this] {
    if (RunCoordConfSheet(GetConfiguration(), app_.MainWindow())) UpdateAllViews();
  });
  RegisterSettingsDocumentCommands(*this, app_);
}
