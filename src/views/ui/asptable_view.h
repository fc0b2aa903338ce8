// The aspect table view of a chart document ("Просмотр > Таблица аспектов", Ctrl-B): the aspect
// grid over the width of the window, and printed in the upper half of a table page with the
// midpoint table or the chart information panel under it when the user chooses.
#pragma once

#include <string>

#include "views/ui/table_view.h"

class CAspTableView : public TableView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131203;
  // What the printed page carries under the table.
  static constexpr int kSameNotChosen = 0;
  static constexpr int kSameMidpoints = 1;
  static constexpr int kSameInfoPanel = 2;
  static constexpr int kSameNothing = 3;

  explicit CAspTableView(QWidget* parent = nullptr);

  void OnDraw(platform::Dc& dc) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }

  // The print options (caller 0) and, for a two-chart document, the charts of the tables.
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  // The printed page.
  void PrintPage(platform::Dc& dc);

  int samePage = kSameNotChosen;

 private:
  // What goes under the table on the printed page, as PrintTablePage takes it.
  int LowerPart() const;
};
