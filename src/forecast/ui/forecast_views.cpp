#include "forecast/ui/forecast_views.h"

#include "document/workbench.h"
#include "forecast/core/life_point_listing.h"
#include "forecast/core/list_display_settings.h"
#include "forecast/core/lun_tran_listing.h"
#include "forecast/core/pred_list_record.h"
#include "forecast/core/transits_listing.h"
#include "forecast/ui/pred_list_commands.h"
#include "forecast/ui/view_kinds.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/background_run.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_text.h"

// --- planet transits ------------------------------------------------------------------------

CTransitsView::CTransitsView()
    : ForecastListView(kDocViewPlanetTransits, lists::ScrollLimit::kFullLastPage) {}

void CTransitsView::OnInitialUpdate() {
  const Chart* chart = BeginList();
  if (chart == nullptr) return;
  Workbench* workbench = GetWorkbench();
  config_ = GetConfiguration();
  chart_ = *chart;
  (void)groups_.LoadGroups();  // an unreadable groups file was reported; no group is found
  calc_ = std::make_unique<TransitCalculation>(
      TransitSettings::FromBlock(config_.transit), chart_, groups_,
      GetSettings().FindProgramFile(g_DataFileNames[kDataTransitPeriods]));
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  int found = 0;
  platform::BackgroundRun run(platform::ToQt(GetMessageText(kMsgPlanetTransitsTitle)),
                              workbench->MainWindow());
  const bool completed =
      run.Run([&](platform::ProgressSink& progress) { found = calc_->Run(ctx, &progress); });
  if (!completed || found == 0) {  // the reason was shown; a cancelled run shows nothing
    CloseFrameLater();
    return;
  }
  auto listing = std::make_unique<forecast::TransitsListing>(
      calc_->Events(), forecast::HeadingOf(*calc_),
      ReadDisplaySettings(DisplayBlock::kPlanetTransits, config_.transit), config_, chart_);
  ShowListing(std::move(listing));
}

std::string CTransitsView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgPlanetTransitsCaption);
}

void CTransitsView::OnOpenLine(int line) {
  Workbench* workbench = GetWorkbench();
  if (calc_ == nullptr || workbench == nullptr || line < 0 || line >= calc_->EventCount()) return;
  ChartDocument::OpenTransitChart(*workbench, chart_,
                                  calc_->Events()[static_cast<std::size_t>(line)].moment);
}

void CTransitsView::OnLineRightClick(int line) {
  Workbench* workbench = GetWorkbench();
  if (calc_ == nullptr || workbench == nullptr) return;
  const bool withBase = TransitSettings::FromBlock(config_.transit).mode == 1;
  HandOverToPredList(
      *workbench, line, calc_->EventCount(),
      [this, withBase](int event) -> std::optional<PredListRecord> {
        return PredListRecord::FromTransitEvent(calc_->Events()[static_cast<std::size_t>(event)],
                                                chart_, calc_->BaseChart(), withBase,
                                                calc_->ShowTimeOfDay());
      },
      "CTransitsView::OnRButtonDown", &chart_);
}

// --- lunar transits -------------------------------------------------------------------------

CLunTranView::CLunTranView()
    : ForecastListView(kDocViewLunarTransits, lists::ScrollLimit::kLastLine) {}

void CLunTranView::OnInitialUpdate() {
  const Chart* chart = BeginList();
  if (chart == nullptr) return;
  Workbench* workbench = GetWorkbench();
  config_ = GetConfiguration();
  chart_ = *chart;
  settings_ = LunarTransSettings::FromBlock(config_.lunarTransit);
  ctx_.emplace(ChartContext::FromCurrentSettings());
  trans_ = std::make_unique<CLunarTrans>(settings_, chart_);
  platform::BackgroundRun run(platform::ToQt(GetMessageText(kMsgLunarTransitsTitle)),
                              workbench->MainWindow());
  // Message 96 or 97 was shown and the list is empty when nothing was found; a cancelled run
  // shows nothing.
  if (!run.Run([&](platform::ProgressSink& p) { (void)trans_->Compute(*ctx_, &p); })) {
    CloseFrameLater();
    return;
  }
  auto listing = std::make_unique<forecast::LunTranListing>(
      trans_->Events(), ReadDisplaySettings(DisplayBlock::kLunarTransits, config_.lunarTransit),
      ctx_->FindSystem(settings_.aspectSystem), settings_.target == 1, config_, chart_);
  // A list shorter than the main window's area gets a frame just tall enough for it.
  ShowListing(std::move(listing));
}

std::string CLunTranView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgLunarTransitsCaption);
}

void CLunTranView::OnLineRightClick(int line) {
  Workbench* workbench = GetWorkbench();
  if (trans_ == nullptr || workbench == nullptr) return;
  const AspectSystem* system = ctx_->FindSystem(settings_.aspectSystem);
  const bool natal = settings_.target == 1;
  HandOverToPredList(
      *workbench, line, trans_->EventCount(),
      [this, system, natal](int event) {
        return PredListRecord::FromLunarEvent(trans_->Events()[static_cast<std::size_t>(event)],
                                              chart_, natal, system);
      },
      "CLunTranView::OnRButtonDown", &chart_);
}

// --- the life point -------------------------------------------------------------------------

LifePointView::LifePointView()
    : ForecastListView(kDocViewLifePoint, lists::ScrollLimit::kLastLine) {}

void LifePointView::OnInitialUpdate() {
  const Chart* chart = BeginList();
  if (chart == nullptr) return;
  Workbench* workbench = GetWorkbench();
  config_ = GetConfiguration();
  chart_ = *chart;
  settings_ = LifePointSettings::FromBlock(config_.lifePoint);
  ctx_.emplace(ChartContext::FromCurrentSettings());
  computation_ = std::make_unique<LifePointComputation>(*ctx_, chart_, workbench->LifePointTypes());
  Status st;
  {
    DPROGRESSBAR progress(QStringLiteral("Точка Жизни"), workbench->MainWindow());
    st = computation_->Compute(settings_, &progress);
  }
  ReportStatus(st, "LifePointView::OnInitialUpdate");
  auto listing = std::make_unique<forecast::LifePointListing>(
      *computation_, ReadDisplaySettings(DisplayBlock::kLifePoint, config_.lifePoint),
      ctx_->FindSystem(settings_.aspectSystemName), config_, chart_);
  ShowListing(std::move(listing));
  UpdateFrameTitle();
}

std::string LifePointView::GetFrameTitle() const {
  const std::string type = computation_ ? computation_->Type().name : std::string();
  return platform::View::GetFrameTitle() + "-" + type;
}

void LifePointView::OnLineRightClick(int line) {
  Workbench* workbench = GetWorkbench();
  if (computation_ == nullptr || workbench == nullptr) return;
  const AspectSystem* system = ctx_->FindSystem(settings_.aspectSystemName);
  const bool toThisChart = settings_.toThisChart == 1;
  HandOverToPredList(
      *workbench, line, static_cast<int>(computation_->Events().size()),
      [this, system, toThisChart](int event) {
        return PredListRecord::FromLifePointEvent(
            computation_->Events()[static_cast<std::size_t>(event)], chart_, toThisChart, system);
      },
      "OnRButtonDown::OnRButtonDown", &chart_);
}
