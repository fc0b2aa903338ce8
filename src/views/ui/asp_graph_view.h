// The aspect graph view ("Анализ > Графические аспекты"): one row per pair of the selected list,
// a bar (or dot) per sample where an aspect is in orb, the aspect's glyph where it changes, and
// the time axis over the period. The view scrolls by rows (vertically) and by half a period
// (horizontally: the period moves in the view's computation only and is computed again); a
// double click or a right click opens the aspects of the sample under the mouse. It prints on
// one page, every pair on it.
#pragma once

#include <memory>
#include <string>

#include "document/chart_doc_view.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_layout.h"

class CAspGraphData;

class CAspGraphView : public ChartDocView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131338;
  static constexpr int kProgressDialog = 217;

  // `data`: the program's pair lists, shared with the settings sheet.
  explicit CAspGraphView(std::shared_ptr<const CAspGraphData> data, QWidget* parent = nullptr);

  // Counts the view in, sizes the frame to the main window's working area, lays out the screen,
  // prepares the computation from the document's chart and runs it.
  void OnInitialUpdate() override;
  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  // The page: heading, time axis and every row in the print layout.
  void OnPrint(platform::Dc& dc, int page) override;

  // A scroll code of the horizontal bar moves the period by half its span and computes again; one
  // of the vertical bar moves the first visible row.
  void ScrollHorizontal(int code, int position);
  void ScrollVertical(int code, int position);
  // The sample under a click at logical x, or -1 outside the plot.
  int SampleAt(int x) const { return aspgraph::SampleAtX(screen_, x, calc_.SampleCount()); }

  const CAspGraphCalc& Calc() const { return calc_; }
  const AspGraphLayout& ScreenLayout() const { return screen_; }
  int MaxOrb() const { return maxOrb_; }
  int FirstRow() const { return firstRow_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void OnLButtonDblClk(platform::Point at) override;
  void OnRButtonDown(platform::Point at) override;

 private:
  void LayOutScreen();
  void Compute();
  void ShowSample(int x);
  void ResetBars();

  std::shared_ptr<const CAspGraphData> data_;
  CAspGraphCalc calc_;
  AspGraphLayout screen_;
  int n_ = 1;
  int maxOrb_ = 0;
  int firstRow_ = 0;
};
