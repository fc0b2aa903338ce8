// The forecast view of the Tremin method, CPrTreminView: the year forecast of the method's events,
// one row per event with three bars (1 January, 1 June, 31 December), on the screen and on paper.
// Both scroll bars move the first row shown; the window's size decides how many rows it shows.
#pragma once

#include <string>
#include <vector>

#include "document/chart_doc_view.h"
#include "rectification/core/tremin_forecast.h"
#include "rectification/core/tremin_forecast_draw.h"

class CPrTreminView : public ChartDocView {
  Q_OBJECT

 public:
  explicit CPrTreminView(QWidget* parent = nullptr);
  ~CPrTreminView() override;

  void OnInitialUpdate() override;
  void OnPrepareDC(platform::Dc& dc) override;
  void OnDraw(platform::Dc& dc) override;
  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kTmForecastHelpContext; }

  // CPrTreminView::SetNatAndYear and CalculateYear of the view's forecast.
  Status SetNatAndYear(const ChartContext& ctx, int year);
  Status CalculateYear(const ChartContext& ctx, platform::ProgressSink& progress);

  const TmYearForecast& Forecast() const { return forecast_; }
  bool Calculated() const { return calculated_; }
  int FirstRow() const { return first_; }
  int RowsOnScreen() const { return rowsOnScreen_; }
  // Moves the first row (kept within the rows); what both scroll bars do.
  void SetFirstRow(int first);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Rows on the screen for the window's size, and both scroll bars' ranges.
  void LayOutScreen();
  int MaxFirst() const;

  TmForecastSettings settings_;
  TmYearForecast forecast_;
  bool calculated_ = false;
  int first_ = 0;
  int rowsOnScreen_ = 1;
  TmForecastLayout paper_;
};
