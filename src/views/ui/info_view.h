// The planetary hours view of a chart document: the chart information panel drawn over the width
// of the window, and printed in the upper half of a page with, when the user chooses, the aspect
// table or the midpoint table under it.
#pragma once

#include <string>

#include "document/chart_doc_view.h"
#include "views/core/chart_info_panel.h"

class CInfoView : public ChartDocView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131227;
  // The print choices: what DPRINTPADE2 returned, 3 when it was cancelled.
  static constexpr int kPrintAspectTable = 0;
  static constexpr int kPrintMidpoints = 1;
  static constexpr int kPrintNothing = 3;

  explicit CInfoView(QWidget* parent = nullptr);

  // Counts the view in, computes the panel for the document's chart and shows its one problem
  // (latitude too high, no sunrise) once.
  void OnInitialUpdate() override;
  void OnUpdate(platform::View* sender) override;
  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  // The print options (caller 2) and, for a two-chart document, the chart of the table under the
  // panel.
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  // The page: head, panel in the upper half, the chosen table under it.
  void PrintPage(platform::Dc& dc);

  const ChartInfoPanel& Panel() const { return panel_; }
  int printChoice = kPrintNothing;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Recompute();

  ChartInfoPanel panel_;  // as wide as the window
};
