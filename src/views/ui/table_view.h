// What the aspect table view and the midpoints view share: the table they own, counted open in
// the document, laid out anew after a resize or a change of settings, drawn over the window's
// width (a tall table scrolls) from the document's first-table choice.
#pragma once

#include <memory>

#include "document/chart_doc_view.h"

class AspectTable;
class DocViewKind;

class TableView : public ChartDocView {
  Q_OBJECT

 public:
  TableView(const DocViewKind& kind, int tableKind, QWidget* parent = nullptr);
  ~TableView() override;

  void OnInitialUpdate() override;
  void OnUpdate(platform::View* sender) override;
  void OnEndPrinting() override;

  AspectTable* Table() const { return table_.get(); }
  int resized = 1;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // The grid on the screen: origin (50, -50), a new layout when resized, the first-table choice
  // (between two charts drawn as the inner chart without an outer one). Returns that choice.
  int RenderScreen(platform::Dc& dc);
  // Message 42 or 28 of the chart information panel, told before the first print with the panel
  // and never again for the view.
  void TellPanelProblemOnce();
  // A table page: the common head (`samePage` as the head's variant), the `upperKind` table in the
  // upper half and, in the lower half, the `lowerKind` table, or the information panel when
  // `lowerKind` is kLowerPanel, or nothing when it is kLowerNothing.
  static constexpr int kLowerPanel = -1;
  static constexpr int kLowerNothing = -2;
  // Before a table page is printed: the charts of its `upperKind` table and of a `lowerKind` table
  // under it (asked for a two-chart document, one chart otherwise), and the panel's problem when
  // the panel goes under it.
  void ChooseTablePageCharts(int upperKind, int lowerKind);
  void PrintTablePage(platform::Dc& dc, int samePage, int upperKind, int lowerKind);

 private:
  bool panelProblemShown_ = false;
  int tableKind_;
  std::unique_ptr<AspectTable> table_;
  int scrollHeight_ = 1;  // logical height of the scrolled area
};
