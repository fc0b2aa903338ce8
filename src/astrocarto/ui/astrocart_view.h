// The astrocartography map view of a chart document: the world or a regional map with the
// planetary lines of the document's chart and, on demand, of a second chart. A double-click
// zooms in (with Shift or Ctrl back out), the scroll bars move a zoomed window by whole degrees,
// and the printed page carries the map on its upper half. The drawing and the state live in
// AstroCartMap; this window forwards sizes, clicks, scrolling, painting and printing to it.
#pragma once

#include <memory>
#include <string>

#include "astrocarto/core/astrocart_map.h"
#include "document/chart_doc_view.h"

class CAstroCartView : public ChartDocView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131277;

  explicit CAstroCartView(QWidget* parent = nullptr);
  ~CAstroCartView() override;

  // Counts the view in, fills the MDI area, opens the full world map and computes the lines of
  // the document's chart, which the document then reads through a weak reference.
  void OnInitialUpdate() override;
  // A chart that was changed (stepped in time) gets its lines computed again.
  void OnUpdate(platform::View* sender) override;
  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  // Command 32883: adds a second chart (its kind and data asked, its lines computed) or, when
  // there is one, takes it away.
  void OnAcAddchart();

  // Command 32884: the table of the crossings of the map's lines, in a window of its own.
  void OnAcCrossings();
  // A right click at a logical point: the towns near it, and the relocated or geodetic charts
  // of those chosen (and of the point).
  void NearTownsAt(platform::Point logical);

  // The map state, for the tests; nullptr before the first update.
  const AstroCartMap* Map() const { return map_.get(); }
  // A double-click at a logical point, as the mouse gives it.
  void ZoomAt(platform::Point logical, bool back);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void OnRButtonDown(platform::Point logical) override { NearTownsAt(logical); }
  // The bars move the map window, never the viewport's pixels.
  void scrollContentsBy(int, int) override {}

 private:
  void OnScrollAction(bool vertical, int action);
  void UpdateBars();
  void Relayout();

  std::unique_ptr<AstroCartMap> map_;
  Chart drawn_;  // the document's chart as its lines were computed
};
