// The synastry result view " Синастрический анализ (результаты)" (CSynAnalView): one row per
// pair a synastry analysis found, in the columns of its pairing mode under a heading that names
// the archives (and the current chart), above a strip of five buttons worked by a double click
// (load, copy, mark all, unmark all, invert the marks). The cursor row moves with the mouse and
// the list keys; a right click or Insert turns a row's mark over, the numeric pad's '*', '+' and
// '-' work as the last three buttons, Enter or a double click on a row opens its charts. The
// rows and their actions are SynAnalTable, the drawing synastry_table.h.
#pragma once

#include <memory>

#include "conditions/core/synastry_table.h"
#include "platform/qt/line_list_view.h"

class ChartDocument;
class Workbench;

class CSynAnalView : public platform::LineListView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 0x20126;

  // `pending` is the hand-over slot the synastry run fills before the view is opened.
  CSynAnalView(Workbench& workbench, std::shared_ptr<SynastryHandOver> pending,
               QWidget* parent = nullptr);
  ~CSynAnalView() override;

  // Takes the results over from the hand-over slot (which is emptied), counts the view in with
  // its document and sizes its frame to the main window's client area.
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  void OnDraw(platform::Dc& dc) override;
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  const SynAnalTable& Table() const { return table_; }
  const SynScreenLayout& Layout() const { return layout_; }
  const SynPrintLayout& PrintLayout() const { return printed_; }

  // The strip's buttons (also the keys and the tests).
  void OnButton(int button);
  // 'L' opens, 'C' copies the charts of the marked rows, or of the cursor row when none is marked.
  void LoadOrCopyFromArchive(char code);
  void LoadFromArchive(const std::vector<int>& rows);
  void CopyToArchive(const std::vector<int>& rows);

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
  QueryViewSettings Settings() const;

  Workbench& workbench_;
  std::shared_ptr<SynastryHandOver> pending_;
  SynAnalTable table_;
  SynScreenLayout layout_;
  SynPrintLayout printed_;
  bool counted_ = false;
};
