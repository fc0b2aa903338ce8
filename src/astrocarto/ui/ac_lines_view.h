// The town list of the planetary lines (CACLinesView): in lines mode (Alt-T, after its settings)
// the atlas towns near the chosen angle lines of one body of the document's chart, with the
// distance in arc-minutes; in crossing mode (from the crossing table) the towns inside the
// latitude band of one crossing. A double-click or Enter on a town opens the chart relocated there.
#pragma once

#include <optional>
#include <string>

#include "astrocarto/core/ac_lines_list.h"
#include "platform/qt/line_list_view.h"

class ChartDocument;

class CACLinesView : public platform::LineListView {
  Q_OBJECT

 public:
  static constexpr int kHelpLines = 131287;
  static constexpr int kHelpCrossing = 978658;

  explicit CACLinesView(QWidget* parent = nullptr);
  ~CACLinesView() override;

  // Crossing mode for `crossing`; given before the initial update.
  void SetCrossing(const Crossing& crossing) { crossing_ = crossing; }

  // Counts the view in with its document and fills the list.
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return crossing_ ? kHelpCrossing : kHelpLines; }

  const ACLinesList& Towns() const { return towns_; }
  const std::optional<Crossing>& GetCrossing() const { return crossing_; }
  ChartDocument* Document() const;

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  // The column headings above the first row (none over the message of an empty list).
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;
  void DrawEmpty(platform::Dc& dc, platform::Point at) override;
  // The chart relocated to the town of the line.
  void OnOpenLine(int line) override;

 private:
  void ReadDisplay();

  std::optional<Crossing> crossing_;
  ACLinesList towns_;
  int screenFontSize_ = 100, printFontSize_ = 2500;  // screen and paper sizes
  double screenInterval_ = 1.2, printInterval_ = 1.2;
  TownRowMetrics screen_, print_;
  int printHeadTop_ = 0;  // of the printed column headings, below the paper's top
  bool counted_ = false;
};

// Opens a town list on `document`: in crossing mode for `crossing`, else in lines mode (with the
// stored settings). nullptr when the template is not registered.
CACLinesView* OpenACLinesView(ChartDocument& document, const std::optional<Crossing>& crossing);
