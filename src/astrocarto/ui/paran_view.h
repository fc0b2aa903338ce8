// The crossings of the planetary lines on the map (CParanView, Alt-X from the map): one row per
// crossing with the two bodies, their line names and the crossing's latitude and longitude. With
// two charts on the map it first asks whose crossings to list (message 533). A double-click or
// Enter on a crossing opens the town list of that crossing.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "astro/chart/chart.h"
#include "astrocarto/core/paran_table.h"
#include "forecast/core/list_display_settings.h"
#include "platform/qt/line_list_view.h"

class ChartDocument;

class CParanView : public platform::LineListView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131311;

  explicit CParanView(QWidget* parent = nullptr);
  ~CParanView() override;

  // What the map hands over before the initial update: its lines and its second chart, if any
  // (for the printed head).
  void SetMap(std::shared_ptr<const ACLines> lines, const Chart* second);

  // Counts the view in, asks which crossings when the map shows two charts (Cancel: an empty
  // table), finds them on a copy of the map's lines and fills the MDI area.
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  const ParanTable& Table() const { return table_; }
  ChartDocument* Document() const;

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  // The column headings above the first row.
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;
  // The town list of the crossing.
  void OnOpenLine(int line) override;

 private:
  // The choice of crossings: 0 when the map shows one chart, else the user's; -1 cancelled.
  int ChooseCrossings(const ACLines& lines);

  std::shared_ptr<const ACLines> lines_;
  std::optional<Chart> first_, second_;  // the charts of the crossings, for the printed head
  ParanTable table_;
  ListDisplaySettings display_;
  ParanPrintLayout printed_;
  bool counted_ = false;
};
