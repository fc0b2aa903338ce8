// The query results view " Результаты запроса" (CQueryView): one row per chart an archive query
// over a list of archives found, under a bar of six buttons (load, delete, copy, mark all, unmark
// all, invert the marks) worked by a double click. The current row moves with the mouse and the
// list keys; a right click or Insert turns a row's mark over, the numeric pad's '*', '+' and '-'
// work as the bar's last three buttons, Enter or a double click on a row loads its chart. The
// rows and their actions are QueryResults, the drawing query_view_draw.h.
#pragma once

#include <array>

#include "conditions/core/query_dialog_model.h"
#include "conditions/core/query_results.h"
#include "conditions/core/query_view_draw.h"
#include "platform/qt/line_list_view.h"

class ChartDocument;
class Workbench;
class QKeyEvent;

// The marking keys of the result views: Insert turns the current row's mark over (kTurnRowKey),
// the numeric pad's '*', '+' and '-' stand for the view's buttons that invert every mark, mark
// and unmark every row (`buttons` in that order); kNoResultKey for any other key.
inline constexpr int kNoResultKey = -1, kTurnRowKey = -2;
int ResultKeyButton(const QKeyEvent& event, const std::array<int, 3>& buttons);

class CQueryView : public platform::LineListView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131318;

  explicit CQueryView(Workbench& workbench, QWidget* parent = nullptr);
  ~CQueryView() override;

  // Takes the query results over from the archive, counts the view in with its document and sizes
  // its frame to the main window's client area.
  void OnInitialUpdate() override;
  // " Результаты запроса" alone.
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  const QueryResults& Results() const { return results_; }
  const QueryBarLayout& Bar() const { return bar_; }

  // The bar's buttons (also the keys and the tests).
  void OnBarButton(int button);
  // The chosen rows (the marked ones, or the current row) loaded, deleted or copied. Deleting every
  // row closes the view.
  void LoadChosen();
  void DeleteChosen();
  void CopyChosen();

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void OnOpenLine(int line) override;
  void OnLineRightClick(int line) override;
  void OnLButtonDblClk(platform::Point at) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  ChartDocument* Document() const;
  // The window's width in 0.01 mm, at least 1.
  int WidthUnits() const;
  QueryViewSettings Settings() const;
  void RowsChanged();
  void Load(const std::vector<int>& rows);

  Workbench& workbench_;
  QueryResults results_;
  QueryBarLayout bar_;
  int width_ = 1;
  int fontSize_ = 100;
  int pitch_ = 1;
  QueryPrintLayout printed_;
  bool counted_ = false;
};
