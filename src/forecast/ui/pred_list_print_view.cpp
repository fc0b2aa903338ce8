#include "forecast/ui/pred_list_print_view.h"

#include "forecast/ui/view_kinds.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/measuring_dc.h"

namespace {

// Printouts are measured at a printer's resolution; the logical sizes do not depend on it.
constexpr double kPaperDpi = 600.0;

// The records as screen rows of the line-list base; the printed pages are the printout's own.
class ScreenRows : public forecast::EventListing {
 public:
  explicit ScreenRows(const forecast::PredListPrintout& printout) : printout_(printout) {}

  int Count() const override { return printout_.Count(); }
  forecast::ListingScreen MeasureScreen(platform::Dc& dc) override {
    pitch_ = printout_.ScreenRowHeight(dc);
    // The column names, then the rows one pitch lower.
    return {forecast::PredListPrintout::kScreenLeft,
            forecast::PredListPrintout::kScreenTop + pitch_, static_cast<double>(pitch_)};
  }
  void DrawHead(platform::Dc& dc) override {
    printout_.DrawColumnNames(dc, forecast::PredListPrintout::kScreenLeft,
                              -forecast::PredListPrintout::kScreenTop);
  }
  forecast::ListingPaper MeasurePrint(platform::Dc&) override { return {}; }
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override {
    if (selected) forecast::FillSelectedLine(dc, 0, at.y, pitch_);
    printout_.DrawScreenRow(dc, line, at.y);
  }
  void DrawPageHead(platform::Dc&, int, int, int) override {}

 private:
  const forecast::PredListPrintout& printout_;
  int pitch_ = 1;
};

}  // namespace

CPredListPrint::CPredListPrint()
    : ForecastListView(kDocViewPredictionListPrint, lists::ScrollLimit::kLastLine) {}

void CPredListPrint::OnInitialUpdate() {
  CountOpen();
  config_ = GetConfiguration();
  std::string name;
  if (ChartDocument* document = GetChartDocument()) {
    if (const DocCreation* creation = document->CreationArgument().Get<DocCreation>()) {
      name = creation->predictionListName;
      if (creation->source) person_ = *creation->source;
      if (Status st = list_.Load(creation->predictionListFile); !st.ok())
        ReportStatus(st, "CPredListPrint::LoadPredListData");
    }
  }
  using L = cfg::PredictionListSettings;
  printout_ = std::make_unique<forecast::PredListPrintout>(
      list_.records, name, config_.predictionList.Get(L::kPrintFontSize),
      config_.predictionList.Get(L::kPrintInterval), config_, person_ ? &*person_ : nullptr);
  SetListing(std::make_unique<ScreenRows>(*printout_));
  PlaceFrame(0);
  UpdateFrameTitle();
}

std::string CPredListPrint::GetFrameTitle() const {
  return GetMessageText(kMsgPredListPrintCaption);
}

bool CPredListPrint::OnPreparePrinting(platform::PrintInfo& info) {
  if (!printout_) return false;
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::HiMetric);
  const int pages = printout_->PreparePrinting(measure.dc());
  if (pages == 0) return false;  // nothing to print
  info.minPage = 1;
  info.maxPage = pages;
  return true;
}

void CPredListPrint::OnPrint(platform::Dc& dc, int page) {
  if (printout_) printout_->DrawPage(dc, page);
}
