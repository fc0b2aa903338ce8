// The midpoints view of a chart document ("Просмотр > Мидпойнты", Ctrl-O): the midpoint grid over
// the width of the window; a double click or a right click on a cell lists the chart's points in
// aspect to that cell's midpoint. It prints either the grid (with the aspect table or the chart
// information panel under it) or the paged list of the midpoints that have aspects.
#pragma once

#include <QPoint>
#include <memory>
#include <string>

#include "views/ui/table_view.h"

class Chart;

class CMidpointsView : public TableView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131229;
  static constexpr int kListCapacity = 200;
  // What the printed grid page carries under the grid.
  static constexpr int kSameAspectTable = 0;
  static constexpr int kSameInfoPanel = 2;
  static constexpr int kSameNothing = 3;

  explicit CMidpointsView(QWidget* parent = nullptr);
  ~CMidpointsView() override;

  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  // The print set-up, then the list and its page count, or the grid's chart choices.
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  void OnEndPrinting() override;

  // The cell under `logical` (0.01 mm): the aspects to its midpoint in DMPAList opened at
  // `device` (a pixel of the window); nothing outside the cells. False when nothing opened.
  bool CellClick(platform::Point logical, QPoint device);

  int samePage = kSameAspectTable;
  const Chart* columnChart = nullptr;
  const Chart* rowChart = nullptr;

 protected:
  void OnLButtonDblClk(platform::Point point) override;
  void OnRButtonDown(platform::Point point) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // What goes under the grid on the printed page, as PrintTablePage takes it.
  int LowerPart() const;
  void PrintGridPage(platform::Dc& dc);

  int printForm_ = 0;                  // of the print job under way
  std::unique_ptr<AspectTable> list_;  // the midpoint list being printed
  QPoint lastPress_;
};
