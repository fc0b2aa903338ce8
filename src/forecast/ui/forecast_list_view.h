// The base of the forecast list views (planet transits, lunar transits, the life point, the
// prediction-list printout): a line-list view on a chart document whose Qt-free listing measures
// and draws the lines and the printed pages. It counts itself with its document, places its frame
// at the top left of the main window's client area, and closes its frame when asked.
#pragma once

#include <memory>

#include "document/chart_document.h"
#include "forecast/core/event_listing.h"
#include "platform/qt/line_list_view.h"
#include "platform/qt/measuring_dc.h"

class Workbench;

class ForecastListView : public platform::LineListView {
  Q_OBJECT

 public:
  ForecastListView(const DocViewKind& kind, lists::ScrollLimit limit, QWidget* parent = nullptr);
  ~ForecastListView() override;

  ChartDocument* GetChartDocument() const;
  const forecast::EventListing* Listing() const { return listing_.get(); }

  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

 protected:
  // Takes the listing and its line count.
  void SetListing(std::unique_ptr<forecast::EventListing> listing);
  // The document's chart with the view counted in; nullptr (the frame closing) without a chart
  // or a workbench.
  const Chart* BeginList();
  // Measures the listing's frame on the screen, takes the listing and places the frame: as tall
  // as the list for a listing that measures its height, else as tall as the area.
  template <class L>
  void ShowListing(std::unique_ptr<L> listing) {
    platform::MeasuringDc measuring(logicalDpiY(), false, platform::MapMode::HiMetric);
    const int width = listing->FrameWidth(measuring.dc());
    int height = 0;
    if constexpr (requires(L & l, platform::Dc & dc) { l.ListHeight(dc); })
      height = listing->ListHeight(measuring.dc());
    SetListing(std::move(listing));
    PlaceFrame(width, height);
  }
  // Counts the view in with its document, once.
  void CountOpen();
  // Places the frame at the top left of the main window's client area, `width` units of 0.01 mm
  // wide (the view's client) and `height` high; a size of 0 takes the area's.
  void PlaceFrame(int width, int height = 0);
  // Closes the frame once the current event is over (a view whose computation failed).
  void CloseFrameLater();
  // The workbench of the document; nullptr without a chart document.
  Workbench* GetWorkbench() const;

  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;

 private:
  const DocViewKind& kind_;
  bool counted_ = false;
  std::unique_ptr<forecast::EventListing> listing_;
  forecast::ListingPaper paper_;
};
