// The chart document of the shell: the ChartDocument the views read, made from its creation
// argument in OnNewDocument (a new chart through the entry, a copy, a result document; a synastry
// chart with its first person as the outer chart, so that both people are drawn), kept in
// the application's registry of documents, and given its own commands (the chart information,
// stepping in time) and those the subsystems register.
#pragma once

#include "document/chart_document.h"
#include "document/view_kinds.h"

class CKovraApp;

class CKovraDoc : public ChartDocument {
 public:
  explicit CKovraDoc(CKovraApp& app);
  ~CKovraDoc() override;

  bool OnNewDocument() override;
  // Message 502 when the chart has comment pages and is not saved in an archive.
  bool SaveModified() override;
  void OnCloseDocument() override;

  // A new document made as `creation` says, with the view of template `templateNumber` (the main
  // chart view unless a result view is wanted); nullptr when refused or cancelled, or when the
  // template is not registered.
  static CKovraDoc* Open(CKovraApp& app, DocCreation creation,
                         int templateNumber = kMainChartTemplate);
  // A copy of `chart` recomputed in a new window (the comments come along).
  static CKovraDoc* OpenChartDocument(CKovraApp& app, const Chart& chart);

  // The chart stepped in time by `count` units (negative: back): minutes, hours and days as
  // such, months and years by the calendar on the date of the moment that the step moves. The
  // title is renewed and every view redrawn. A step whose chart cannot be computed is reported
  // and leaves the chart as it was (false).
  enum class StepUnit { Minute, Hour, Day, Month, Year };
  bool StepChart(StepUnit unit, int count);
  // The days of a step of `count` units from the chart's stepped moment.
  static double StepDays(const Chart& chart, StepUnit unit, int count);
  // The chart information dialog of the document's (inner) chart.
  void ShowChartInfo();

  // The second chart of the main chart view, a toggle: a two-chart document drops its outer
  // chart; otherwise the kind of a second chart is chosen (the chart-kind list), the chart is
  // entered through the entry dialog of that kind and computed, and it becomes the outer chart.
  // Cancel at either step, or a chart that cannot be computed (reported), changes nothing.
  // Every view is redrawn after a change; true when the document changed.
  bool AddRemoveOuterChart();

 private:
  void RegisterCommands();
  void AddChartCommands();
  bool FillNewChart(int kind, const SuperSource* active);
  bool CopySource(const Chart& source, bool withComments);

  CKovraApp& app_;
  bool registered_ = false;
};
