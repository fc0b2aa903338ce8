// The chart document: one chart (and, for a two-chart document, the outer chart) from
// OnNewDocument to its closing, the per-view open counters that enable the view commands, the
// table choices, and the document commands that open further views and derived charts.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "platform/qt/document.h"

class CKovraApp;

// How the next new chart document is filled (-1 at rest).
inline constexpr int kCreateNewChart = -1;
inline constexpr int kCreateDerivedChart = -3;  // a copy of g_pNextDocSource, without comments
inline constexpr int kCreateCopy = -5;          // a copy of g_pNextDocSource with its comments
inline constexpr int kCreateStatistics = -7;    // a statistics result (g_pNextStatResults)
inline constexpr int kCreateEmptyResults = -8;  // query and synastry results
inline constexpr int kCreatePrintList = -10;    // the prediction-list and archive print documents
extern int g_DocCreationMode;
// The chart that the next document in modes -3 and -5 copies; owned by whoever sets it, who
// also clears it: one source may be copied into several documents in a row.
extern Chart* g_pNextDocSource;
// The chart kind of the next new chart (natal at first).
extern int g_CurrentChartKind;

// Chart kinds of documents that hold results rather than a chart.
inline constexpr int kResultKindStatistics = 10;
inline constexpr int kResultKindList = 12;

// The buckets of a statistics run handed to the result document.
struct StatResults {
  std::vector<std::int32_t> counts;                // per bucket
  std::vector<std::vector<std::int16_t>> records;  // per bucket: archive record numbers
  int total = 0;
  int notFound = 0;
  int BucketCount() const { return static_cast<int>(counts.size()); }
};
extern StatResults* g_pNextStatResults;

// The views whose presence the document counts.
enum class DocView {
  Comment,
  AspectTable,
  Midpoints,
  Antiscia,
  Coordinates,
  AspectGraph,
  GraphicEphemeris,
  PlanetaryHours,
  Map,
  TownList,
  Paran,
  Bindhu,
  Sabian,
  QueryResults,
  SynastryResults,
  Statistics,
  InterpretationText,
  TreminResults,
  TreminForecast,
  kCount
};

class CKovraDoc : public platform::Document {
 public:
  explicit CKovraDoc(CKovraApp& app);
  ~CKovraDoc() override;

  bool OnNewDocument() override;
  // Message 502 when the chart has comment pages and is not saved in an archive.
  bool SaveModified() override;
  void OnCloseDocument() override;

  // "%s - %s %s %s": chart name, chart title, date, time; nothing without a chart.
  void UpdateTitle();

  Chart* GetChart() { return chart_.get(); }
  const Chart* GetChart() const { return chart_.get(); }
  // The outer chart of a two-chart document; nullptr otherwise.
  Chart* GetOuterChart() { return outer_.get(); }
  void SetOuterChart(std::unique_ptr<Chart> outer) { outer_ = std::move(outer); }
  bool IsTwoChart() const { return outer_ != nullptr; }
  // The chart kind, or the result kind (10, 12) of a result document.
  int Kind() const;

  // Open counters: each view counts itself in when created and out when destroyed; a command
  // reads "open" while the count is above zero, so an unpaired event cannot leave it disabled.
  void ViewOpened(DocView view);
  void ViewClosed(DocView view);
  bool IsViewOpen(DocView view) const;
  int OpenCount(DocView view) const { return openViews_[static_cast<std::size_t>(view)]; }

  // Table choices: 0 inner, 1 outer, 2 between, 3 one chart; -1 after a cancelled choice.
  int firstTableChoice = 3;
  int secondTableChoice = 3;
  // The coordinate mode of the equatorial/horizontal table: 3 equatorial, 4 horizontal.
  int coordinateMode = 3;
  // The chart was saved to (or loaded from) an archive: its comment pages are kept there.
  bool savedInArchive = false;

  // Derived charts, each in a new chart window.
  // A copy of `chart` recomputed in a new window (mode -5: the comments come along).
  static CKovraDoc* OpenChartDocument(CKovraApp& app, const Chart& chart);
  // The document's chart set to `moment`, named after the document plus message 92 ('R', birth)
  // or 93 ('C', conception).
  CKovraDoc* DrawRectifiedChart(const Moment& moment, char mark);
  // The chart of the source slot (g_pNextDocSource) named message 485 followed by its old name
  // (at most 33 characters); nullptr when the slot is empty.
  static CKovraDoc* OpenRectifiedChart(CKovraApp& app);
  // A copy of `chart` set to `moment`, named message 1118.
  static CKovraDoc* OpenTransitChart(CKovraApp& app, const Chart& chart, const Moment& moment);
  // The chart moved to a place: mode 0 relocation, 1 geodetic (refused at 66.5 degrees or more
  // with message 486).
  CKovraDoc* OpenRelocatedChart(int mode, const Place& place);
  struct RelocationTown {
    char flag = 'N';  // 'Y': open a chart for it
    Place place;
  };
  // One relocated chart per town flagged 'Y' and one for `point` when `withPoint`. Returns the
  // number of documents opened.
  int OpenRelocatedCharts(const std::vector<RelocationTown>& towns, bool withPoint,
                          const Place& point, int mode);

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

  // Statistics results of a document made in mode -7.
  void SetStatResults(const StatResults& results);
  void FreeStatResults();
  const StatResults& GetStatResults() const { return stats_; }
  // Marks every record of bucket k selected ('Y') in the current archive's index; numbers outside
  // the archive are skipped. The number of records marked.
  int MarkStatGroupInArchive(int k);

 private:
  void RegisterCommands();
  void AddViewCommand(int command, int templateNumber, const DocView* exclusive = nullptr);
  void AddChartCommands();
  bool FillNewChart();
  bool CopySource(bool withComments);
  CKovraDoc* OpenDerived(const Chart& chart);

  CKovraApp& app_;
  bool registered_ = false;
  std::unique_ptr<Chart> chart_;
  std::unique_ptr<Chart> outer_;
  int resultKind_ = -1;
  std::array<int, static_cast<std::size_t>(DocView::kCount)> openViews_{};
  StatResults stats_;
};
