// The view of the rectification by events, RectifView: it computes the score matrix of the
// document's chart when it opens and shows it as a table by events, a table by methods or a graph
// of the trial sums; a right click shows the next form, the horizontal scroll bar moves through
// the trials of the tables, and a double click on a trial opens the natal chart of that minute
// (with the event's derived charts from the table by events). It prints the tables over as many
// pages as the trials need and the graph on one page.
#pragma once

#include <string>

#include "document/chart_doc_view.h"
#include "rectification/core/rect_graph.h"

class RectifView : public ChartDocView {
  Q_OBJECT

 public:
  explicit RectifView(QWidget* parent = nullptr);
  ~RectifView() override;

  void OnInitialUpdate() override;
  void OnPrepareDC(platform::Dc& dc) override;
  void OnDraw(platform::Dc& dc) override;
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kRectifHelpContext; }

  const RectGraph& Graph() const { return graph_; }
  bool Calculated() const { return calculated_; }
  // The horizontal scroll bar's request.
  void ScrollTrials(RectScroll action, int position = 0);
  // The charts of the trial under a logical point of the window (nothing off the trials).
  void OpenChartsAt(platform::Point at);
  // The next form, laid out again.
  void NextForm();

 protected:
  void OnLButtonDblClk(platform::Point at) override;
  void OnRButtonDown(platform::Point at) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The table and the graph for the window's size, and the scroll bar's range.
  void LayOutScreen();
  // The paper less its margins and the page head, whose bottom is `headBottom` (0.01 mm); in
  // 0.1 mm.
  platform::Rect PaperArea(int headBottom) const;

  RectGraph graph_;
  bool calculated_ = false;
  bool verticalGrid_ = false;
  bool horizontalGrid_ = false;
};
