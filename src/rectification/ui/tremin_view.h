// The results view of the Tremin rectification, CTreminView: it runs the Tremin search when it
// opens (with the progress dialog and, between the passes, the possible-moments dialog) and lists
// the selected trial moments: date, time, direction and progression scores and their mean,
// coloured by the mean. A double click or Enter opens the chart of a moment as a rectified birth
// chart in a new window. It prints the table in columns under the page head.
#pragma once

#include <memory>
#include <string>

#include "platform/qt/line_list_view.h"
#include "rectification/core/tremin_results.h"
#include "rectification/core/tremin_search.h"

class ChartDocument;

// The frame of a view asked to close once the current event is handled (a view cannot close
// while its frame is being opened).
void CloseViewLater(platform::View& view);

// Shows a failed status of the Tremin windows: a message of the catalogue as it stands (a
// missing aspect system with its name), an error through the error reporter.
void TellTremin(const Status& status, std::string_view trace);

class CTreminView : public platform::LineListView {
  Q_OBJECT

 public:
  explicit CTreminView(QWidget* parent = nullptr);
  ~CTreminView() override;

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kTreminViewHelpContext; }

  // The search and its results (empty until the view has opened).
  const TmSearch& Search() const { return *search_; }
  // True when the search ran to its end (the view shows its results).
  bool Searched() const { return searched_; }

 protected:
  platform::ScreenLines MeasureScreen(platform::Dc& dc) override;
  platform::PrintedLines MeasurePrint(platform::Dc& dc) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;
  void DrawEmpty(platform::Dc& dc, platform::Point at) override;
  void OnOpenLine(int line) override;

 private:
  ChartDocument* Document() const;

  std::unique_ptr<TmSearch> search_;
  TmTableMetrics screen_;
  TmTableMetrics paper_;
  bool searched_ = false;
  bool counted_ = false;
};
