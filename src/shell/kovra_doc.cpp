#include "shell/kovra_doc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "archive/browser/comment_view.h"
#include "archive/browser/view_kinds.h"
#include "archive/comments/chart_comments.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "document/command_ids.h"
#include "document/view_kinds.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/entry/choose_chart_type.h"
#include "shell/entry/enter_chart.h"
#include "shell/kovra_app.h"

CKovraDoc::CKovraDoc(CKovraApp& app) : ChartDocument(app), app_(app) { RegisterCommands(); }

CKovraDoc::~CKovraDoc() {
  if (registered_) app_.UnregisterDocument(this);
}

bool CKovraDoc::OnNewDocument() {
  // A document opened with no argument is a new natal chart; one of another type is refused.
  const DocCreation plain;
  const DocCreation* creation =
      CreationArgument().IsEmpty() ? &plain : CreationArgument().Get<DocCreation>();
  if (creation == nullptr) return false;
  if (!app_.RegisterDocument(this)) {
    ShowMessage(kMsgTooManyCharts);
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
      if (!FillNewChart(creation->kind, app_.NewChartAskedFrom())) return false;
      break;
  }
  // A synastry chart is seen as the two-chart wheel of both people: the first person outside.
  if (!IsTwoChart()) SetOuterChart(SynastryPartner(*chart_));
  UpdateTitle();
  return true;
}

bool CKovraDoc::FillNewChart(int kind, const SuperSource* active) {
  if (kind < kChartNatal || kind > kChartLunarPhase) kind = kChartNatal;
  auto chart = std::make_unique<Chart>();
  chart->definition.SetKind(static_cast<std::uint16_t>(kind));
  // The entry of the kind, preset from the last entry of its group (a derived kind from the
  // active chart's birth data).
  if (!EnterChartOfKind(chart->definition, kind, app_.MainWindow(), ReadSystemClock, active))
    return false;
  if (const Status computed = ChartCalculate(ChartContext::FromCurrentSettings(), *chart);
      !computed.ok()) {
    ReportStatus(computed, "VelmDoc::OnNewDocument");
    return false;
  }
  chart_ = std::move(chart);
  return true;
}

bool CKovraDoc::AddRemoveOuterChart() {
  if (chart_ == nullptr) return false;
  if (IsTwoChart()) {
    SetOuterChart(nullptr);
    UpdateAllViews(nullptr);
    return true;
  }
  const int kind = ChooseChartType(app_.MainWindow());
  if (kind < kChartNatal || kind > kChartLunarPhase) return false;  // 65535: cancelled
  auto outer = std::make_unique<Chart>();
  outer->definition.SetKind(static_cast<std::uint16_t>(kind));
  // The second chart is about the same person: its entry starts from this chart's birth data.
  if (!EnterChartOfKind(outer->definition, kind, app_.MainWindow(), ReadSystemClock,
                        &chart_->definition))
    return false;
  if (const Status computed = ChartCalculate(ChartContext::FromCurrentSettings(), *outer);
      !computed.ok()) {
    ReportStatus(computed, "VelmDoc::AddRemoveOuterChart");
    return false;
  }
  SetOuterChart(std::move(outer));
  UpdateAllViews(nullptr);
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
  CheckAspectSystemName(ChartContext::FromCurrentSettings(), chart->definition);
  if (const Status computed = ChartCalculate(ChartContext::FromCurrentSettings(), *chart, 0);
      !computed.ok()) {
    ReportStatus(computed, "VelmDoc::OnNewDocument");
    return false;
  }
  chart_ = std::move(chart);
  return true;
}

bool CKovraDoc::SaveModified() {
  if (CCommentView* comments = PartState<OpenCommentView>().view) comments->SaveIfKept();
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

// --- Derived charts ---

CKovraDoc* CKovraDoc::Open(CKovraApp& app, DocCreation creation, int templateNumber) {
  platform::DocTemplate* docTemplate = app.GetTemplate(templateNumber);
  if (docTemplate == nullptr) return nullptr;
  return static_cast<CKovraDoc*>(
      docTemplate->OpenDocumentFile(platform::DocumentArgument(std::move(creation))));
}

CKovraDoc* CKovraDoc::OpenChartDocument(CKovraApp& app, const Chart& chart) {
  return Open(app, DocCreation::Copy(chart));
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
  if (const Status computed =
          stepped.AddStep(ChartContext::FromCurrentSettings(), StepDays(stepped, unit, count));
      !computed.ok()) {
    ReportStatus(computed, "VelmDoc::StepChart");
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
  for (int unit = 0; unit < cmd::kStepUnitCount; ++unit) {
    const auto stepUnit = static_cast<StepUnit>(unit);
    OnCommand(
        cmd::StepForward(unit), [this, stepUnit] { StepChart(stepUnit, 1); }, hasChart);
    OnCommand(
        cmd::StepBack(unit), [this, stepUnit] { StepChart(stepUnit, -1); }, hasChart);
  }
}

void CKovraDoc::RegisterCommands() {
  AddChartCommands();
  app_.AddRegisteredCommands(*this);
}
