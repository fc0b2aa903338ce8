#include "document/chart_document.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "archive/comments/chart_comments.h"
#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_header.h"
#include "astro/chart/derived_charts.h"
#include "document/chart_choice_dialog.h"
#include "document/workbench.h"
#include "foundation/atlas/town_search.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/doc_template.h"
#include "views/core/table_choices.h"

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

DocCreation DocCreation::PredictionListPrint(std::string name, std::filesystem::path file) {
  DocCreation creation{.mode = DocCreationMode::PrintList};
  creation.predictionListName = std::move(name);
  creation.predictionListFile = std::move(file);
  return creation;
}

namespace {

constexpr double kGeodeticLatitudeLimit = 66.5;

// "DD.MM.YYYY", with the era's name after the year before Christ.
std::string DateText(const FDate& date) {
  char text[24];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.Day(), date.Month(), date.Year());
  std::string out = text;
  if (date.Era() == 'B') out += ' ' + GetMessageText(kMsgEraBc);
  return out;
}

Source& NamedSource(Chart& chart) {
  Source* base = chart.definition.GetBaseSource();
  return base != nullptr ? *base : chart.definition.sources[0];
}

}  // namespace

ChartDocument::ChartDocument(Workbench& workbench) : workbench_(workbench) {}

ChartDocument::~ChartDocument() = default;

int ChartDocument::Kind() const { return chart_ ? chart_->definition.Kind() : resultKind_; }

std::string ChartDocument::ChartTitle(const Chart& chart) {
  const SuperSource& definition = chart.definition;
  const bool composite = IsCompositeChart(definition);
  const Source* base = definition.GetBaseSource();
  const Source& source = composite         ? ComputingSource(definition)
                         : base != nullptr ? *base
                                           : definition.sources[0];
  const std::string title = composite ? ChartTitleLine(definition) : definition.Title();
  return ChartPersonNames(definition) + " - " + title + ' ' + DateText(source.moment.date) + ' ' +
         source.moment.time.ToText();
}

std::unique_ptr<Chart> ChartDocument::SynastryPartner(const Chart& synastry) {
  const SuperSource& from = synastry.definition;
  if (from.Kind() != kChartSynastry || IsCompositeChart(from)) return nullptr;
  auto partner = std::make_unique<Chart>();
  partner->definition.SetKind(kChartNatal);
  partner->definition.sources = {from.sources[0], from.sources[0], from.sources[0]};
  partner->houseSystem = synastry.houseSystem;
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  ResetAspectSystemName(ctx, partner->definition);
  if (!ChartCalculate(ctx, *partner, 0).ok()) return nullptr;
  return partner;
}

std::string ChartDocument::FileNameProposal() const {
  if (!chart_) return GetTitle();
  const Source* base = chart_->definition.GetBaseSource();
  return (base != nullptr ? *base : chart_->definition.sources[0]).Name();
}

void ChartDocument::UpdateTitle() {
  if (chart_) SetTitle(ChartTitle(*chart_));
}

void ChartDocument::ViewOpened(const DocViewKind& kind) { ++openViews_[&kind]; }

void ChartDocument::ViewClosed(const DocViewKind& kind) {
  const auto counter = openViews_.find(&kind);
  if (counter != openViews_.end() && counter->second > 0) --counter->second;
}

bool ChartDocument::IsViewOpen(const DocViewKind& kind) const { return OpenCount(kind) > 0; }

int ChartDocument::OpenCount(const DocViewKind& kind) const {
  const auto counter = openViews_.find(&kind);
  return counter != openViews_.end() ? counter->second : 0;
}

int ChartDocument::ChooseChartForTable(int tableKind, int slot) {
  D_CHOOSE_AT_FOR_DW dialog(workbench_.MainWindow());
  dialog.question = tables::ChartChoiceQuestion(tableKind, slot);
  if (dialog.DoModal() != platform::kIdOk) return -1;
  (slot == 2 ? secondTableChoice : firstTableChoice) = dialog.choice;
  return dialog.choice;
}

void ChartDocument::AddViewCommand(int command, int templateNumber, ViewCommandOptions options) {
  viewCommands_.push_back(command);
  const DocViewKind* exclusive = options.exclusive;
  const bool needsTwoCharts = options.needsTwoCharts;
  std::function<bool()> available = std::move(options.available);
  OnCommand(
      command,
      [this, command, templateNumber, prepare = std::move(options.prepare)] {
        platform::DocTemplate* viewTemplate = workbench_.GetTemplate(templateNumber);
        if (viewTemplate == nullptr) return;
        if (prepare && !prepare(command)) return;
        viewTemplate->OpenView(*this);
      },
      [this, templateNumber, exclusive, needsTwoCharts,
       available = std::move(available)](platform::CommandState& state) {
        state.enabled = chart_ != nullptr && workbench_.GetTemplate(templateNumber) != nullptr &&
                        !(exclusive != nullptr && IsViewOpen(*exclusive)) &&
                        (!needsTwoCharts || IsTwoChart()) && (!available || available());
      });
}

void ChartDocument::SetStatResults(const StatResults& results) { stats_ = results; }

void ChartDocument::FreeStatResults() { stats_ = StatResults{}; }

int ChartDocument::MarkStatGroupInArchive(int k) {
  if (k < 0 || k >= stats_.BucketCount() || static_cast<std::size_t>(k) >= stats_.records.size())
    return 0;
  Archive& archive = workbench_.GetArchive();
  int marked = 0;
  for (const std::int32_t record : stats_.records[static_cast<std::size_t>(k)]) {
    if (record < 0 || record >= archive.RecordCount()) continue;
    archive.Entry(record).mark = 'Y';
    ++marked;
  }
  return marked;
}

// --- Derived charts ---

ChartDocument* ChartDocument::OpenDerived(const Chart& chart) {
  return workbench_.OpenChartDocument(DocCreation::DerivedChart(chart));
}

ChartDocument* ChartDocument::OpenChartDocument(Workbench& workbench, const Chart& chart) {
  return workbench.OpenChartDocument(DocCreation::Copy(chart));
}

ChartDocument* ChartDocument::OpenArchiveRecord(Workbench& workbench, Archive& archive,
                                                int record) {
  Chart chart;
  if (archive.LoadChart(chart, record, true) < 0) return nullptr;
  const int slot = chart.commentSlot;
  if (slot != 0) workbench.CommentSlots().Release(slot);
  ChartDocument* document = workbench.OpenChartDocument(DocCreation::Copy(chart));
  if (document == nullptr) {
    if (slot != 0) {
      DeleteCommentFiles(chart);
      workbench.CommentSlots().Release(slot);
    }
    return nullptr;
  }
  document->savedInArchive = true;
  return document;
}

ChartDocument* ChartDocument::DrawRectifiedChart(const Moment& moment, char mark) {
  if (!chart_) return nullptr;
  Chart rectified = *chart_;
  rectified.definition.GetCountSrc().AssignMoment(moment);
  Source& named = NamedSource(rectified);
  named.SetName(named.Name() +
                GetMessageText(mark == 'C' ? kMsgRectifiedConception : kMsgRectifiedBirth));
  return OpenDerived(rectified);
}

ChartDocument* ChartDocument::OpenRectifiedChart(Workbench& workbench, const Chart& source) {
  Chart rectified = source;
  Source& named = NamedSource(rectified);
  named.SetName(GetMessageText(kMsgRectifiedPrefix) + named.Name().substr(0, 33));
  return workbench.OpenChartDocument(DocCreation::DerivedChart(std::move(rectified)));
}

ChartDocument* ChartDocument::OpenTransitChart(Workbench& workbench, const Chart& chart,
                                               const Moment& moment) {
  Chart transit = chart;
  transit.definition.GetCountSrc().AssignMoment(moment);
  // The found moment on the clock its town had then, when the place is a town of the atlas.
  (void)MoveToTownClock(GetTowns(), transit.definition.GetCountSrc());
  NamedSource(transit).SetName(GetMessageText(kMsgTransitName));
  return workbench.OpenChartDocument(DocCreation::DerivedChart(std::move(transit)));
}

ChartDocument* ChartDocument::OpenRelocatedChart(int mode, const Place& place) {
  if (!chart_) return nullptr;
  if (mode == 1 && std::abs(place.LatitudeDeg()) >= kGeodeticLatitudeLimit) {
    ShowMessage(kMsgGeodeticPolar);
    return nullptr;
  }
  Chart relocated = *chart_;
  // The same instant seen from another place: the clock and zone stay, the place changes. The
  // chart is titled by what it is and where, so that its window is told from the chart's own.
  relocated.definition.GetCountSrc().place = place;
  relocated.definition.SetTitle(RelocatedTitle(mode, place));
  const int system = relocated.houseSystem >= 0
                         ? relocated.houseSystem % 100
                         : ConfiguredHouseSystem(ChartContext::FromCurrentSettings()) % 100;
  relocated.houseSystem = mode == 1 ? system + 100 : system;
  return OpenDerived(relocated);
}

int ChartDocument::OpenRelocatedCharts(const std::vector<RelocationTown>& towns, bool withPoint,
                                       const Place& point, int mode) {
  int opened = 0;
  for (const RelocationTown& town : towns) {
    if (town.flag == 'Y' && OpenRelocatedChart(mode, town.place) != nullptr) ++opened;
  }
  if (withPoint && OpenRelocatedChart(mode, point) != nullptr) ++opened;
  return opened;
}
