// The Arabic parts of a chart ("Просмотр > Арабские точки", Ctrl-X): one line per part switched
// on, with its name, optionally its formula, its longitude and the chart objects it aspects; and
// the program-wide part list, loaded from "velm.arb" at start and saved at the end when changed.
#pragma once

#include <string>

#include "platform/qt/line_list_view.h"
#include "views/core/arab_table.h"

class ChartDocument;
class Workbench;

// The program's part list.
AllArabParts& ArabicPartsList();
// Reads "velm.arb" of the data folder into the list; a damaged line is reported once (420), lines
// beyond the 300 the list holds once (2002), an unreadable file once.
void LoadArabicPartsAtStart(Workbench& workbench);
// Writes the list back when it changed (never over a file that could not be read).
void SaveArabicPartsAtExit(Workbench& workbench);

class ArabView : public platform::LineListView {
  Q_OBJECT

 public:
  explicit ArabView(QWidget* parent = nullptr);

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kArabHelpContext; }
  // Asks 427 when a row is wider than the page: Yes fits the print font, No keeps it.
  bool OnPreparePrinting(platform::PrintInfo& info) override;

  const ArabTable& Table() const { return table_; }
  int ScreenFontSize() const { return screenFontSize_; }
  int PrintFontSize() const { return printFontSize_; }

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;
  // The names of the columns over the rows.
  void DrawHead(platform::Dc& dc) override;

 private:
  ChartDocument* Document() const;
  // The names of the columns at (x, y) in the text face at `size`.
  void DrawNames(platform::Dc& dc, int x, int y, int size) const;

  ArabTable table_;
  int screenFontSize_ = 1000;
  int printFontSize_ = 1000;
  int printInterval_ = 100;
  double screenPitch_ = 1.0;
};
