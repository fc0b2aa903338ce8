// The chart document as the views read it: one chart (and, for a two-chart document, the outer
// chart), the per-view open counters that enable the view commands, the table choices, the title
// rule, and what a run hands over to the document (statistics buckets, the rectification matrix).
// The shell's ChartDocument derives from it and fills it (creation, the chart commands); the
// windows of the subsystems see only this class and the Workbench.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "astro/chart/chart.h"
#include "conditions/core/statistic.h"
#include "document/doc_view_kind.h"
#include "platform/qt/document.h"

class Archive;
class Workbench;

// Chart kinds of documents that hold results rather than a chart.
inline constexpr int kResultKindStatistics = 10;
inline constexpr int kResultKindList = 12;

// How a new chart document is filled (the numbers are the modes' traditional codes).
enum class DocCreationMode {
  NewChart = -1,      // a chart of `kind` through its entry dialog
  DerivedChart = -3,  // a copy of `source` without its comment pages, recomputed
  Copy = -5,          // a copy of `source` with its comment pages, recomputed
  Statistics = -7,    // a statistics result document (kind 10) holding `stats`
  EmptyResults = -8,  // an empty result document (kind 12): query and synastry results
  PrintList = -10,    // an empty result document (kind 12): prediction-list and archive print
};

// The creation argument of a chart document: what the caller of the template's OpenDocumentFile
// (through Workbench::OpenChartDocument) wants in the new document. A value: the source chart is
// copied in, so the caller keeps its own and may open several documents from it. A document
// opened with no argument is a new natal chart through the entry. A document kind that needs more
// (query results, say) gets a field and a factory here; the document reads it in OnNewDocument,
// its first view in OnInitialUpdate through GetDocument()->CreationArgument().Get<DocCreation>().
struct DocCreation {
  DocCreationMode mode = DocCreationMode::NewChart;
  int kind = kChartNatal;         // NewChart: the kind 0..9 (another number counts as natal)
  std::optional<Chart> source{};  // DerivedChart, Copy; PrintList: the person the list names
  StatResults stats{};            // Statistics
  // PrintList of a prediction list: its name (code page 1251) and its file.
  std::string predictionListName{};
  std::filesystem::path predictionListFile{};

  static DocCreation NewChart(int kind);
  static DocCreation DerivedChart(Chart chart);
  static DocCreation Copy(Chart chart);
  static DocCreation Statistics(StatResults results);
  // EmptyResults or PrintList.
  static DocCreation Results(DocCreationMode mode);
  // PrintList of the prediction list `name` kept in `file`.
  static DocCreation PredictionListPrint(std::string name, std::filesystem::path file);
};

// How a view command opens its view (ChartDocument::AddViewCommand).
struct ViewCommandOptions {
  // Disabled while a view of this kind is open on the document (one such view per chart).
  const DocViewKind* exclusive = nullptr;
  // Enabled only on a two-chart document.
  bool needsTwoCharts = false;
  // Runs before the view opens (a question, a mode the view reads); false opens nothing.
  std::function<bool(int command)> prepare{};
  // Enabled only while this holds (data the view needs are loaded, say).
  std::function<bool()> available{};
};

class ChartDocument : public platform::Document {
 public:
  explicit ChartDocument(Workbench& workbench);
  ~ChartDocument() override;

  // "%s - %s %s %s": chart name, chart title, date, time; nothing without a chart.
  void UpdateTitle();
  // "%s - %s %s %s": the chart's name, title, date and time, as the document titles it. A
  // synastry chart is named after both people; a composite says so in its title and gives the
  // moment it is cast for (the midpoint), not the second person's birth.
  static std::string ChartTitle(const Chart& chart);
  // The chart's name (the title while there is no chart).
  std::string FileNameProposal() const override;

  Chart* GetChart() { return chart_.get(); }
  const Chart* GetChart() const { return chart_.get(); }
  // The outer chart of a two-chart document; nullptr otherwise.
  Chart* GetOuterChart() { return outer_.get(); }
  void SetOuterChart(std::unique_ptr<Chart> outer) { outer_ = std::move(outer); }
  bool IsTwoChart() const { return outer_ != nullptr; }
  // The first person of a synastry chart (not a composite) as a natal chart of their own, with
  // the synastry chart's house system and the natal aspect system: the outer chart of the
  // two-chart wheel that shows both people (the synastry chart itself is the second person's).
  // nullptr for another kind, or when it cannot be computed.
  static std::unique_ptr<Chart> SynastryPartner(const Chart& synastry);
  // The chart kind, or the result kind (10, 12) of a result document.
  int Kind() const;

  // Open counters, one per view kind a part gives (see document/doc_view_kind.h): each view counts
  // itself in when created and out when destroyed; a command reads "open" while the count is
  // above zero, so an unpaired event cannot leave it disabled.
  void ViewOpened(const DocViewKind& kind);
  void ViewClosed(const DocViewKind& kind);
  bool IsViewOpen(const DocViewKind& kind) const;
  int OpenCount(const DocViewKind& kind) const;

  // Table choices: 0 inner, 1 outer, 2 between, 3 one chart; -1 after a cancelled choice.
  int firstTableChoice = 3;
  int secondTableChoice = 3;
  // Asks which chart a table is for (tableKind 0 aspects, 1 midpoints); slot 0 a view being
  // opened and 1 the upper table of a printed page set the first-table choice, slot 2 the second.
  // The choice 0..2, or -1 when cancelled (the stored choices unchanged).
  int ChooseChartForTable(int tableKind, int slot);
  // The chart was saved to (or loaded from) an archive: its comment pages are kept there.
  bool savedInArchive = false;
  // What a part keeps on the document for its views (the open comment view, the lines of the map
  // view, the mode of the next coordinate table): one object of each type `State` the part
  // declares in its ui folder, made with its defaults on first use and gone with the document.
  template <class State>
  State& PartState() {
    std::shared_ptr<void>& slot = partStates_[std::type_index(typeid(State))];
    if (!slot) slot = std::make_shared<State>();
    return *static_cast<State*>(slot.get());
  }

  // Command `command` opens the view of template `templateNumber` on this document. It is
  // enabled while the document has a chart and the template is registered, and as `options` say.
  void AddViewCommand(int command, int templateNumber, ViewCommandOptions options = {});
  // The commands added by AddViewCommand, in the order they were added.
  const std::vector<int>& ViewCommands() const { return viewCommands_; }

  // Derived charts, each in a new chart window; nullptr when refused or cancelled.
  // A copy of `chart` recomputed in a new window (the comments come along).
  static ChartDocument* OpenChartDocument(Workbench& workbench, const Chart& chart);
  // Record `record` of the current archive, with its comment pages, in a new chart window marked
  // saved in the archive. The page files written for the record pass to the new document, which
  // takes their slot; a document that is not opened leaves neither the files nor the slot behind.
  static ChartDocument* OpenArchiveRecord(Workbench& workbench, Archive& archive, int record);
  // The document's chart set to `moment`, named after the document plus message 92 ('R', birth)
  // or 93 ('C', conception).
  ChartDocument* DrawRectifiedChart(const Moment& moment, char mark);
  // A copy of `source` named message 485 followed by its old name (at most 33 characters).
  static ChartDocument* OpenRectifiedChart(Workbench& workbench, const Chart& source);
  // A copy of `chart` set to `moment`, named message 1118.
  static ChartDocument* OpenTransitChart(Workbench& workbench, const Chart& chart,
                                         const Moment& moment);
  // The chart moved to a place: mode 0 relocation, 1 geodetic (refused at 66.5 degrees or more
  // with message 486).
  ChartDocument* OpenRelocatedChart(int mode, const Place& place);
  struct RelocationTown {
    char flag = 'N';  // 'Y': open a chart for it
    Place place;
  };
  // One relocated chart per town flagged 'Y' and one for `point` when `withPoint`. Returns the
  // number of documents opened.
  int OpenRelocatedCharts(const std::vector<RelocationTown>& towns, bool withPoint,
                          const Place& point, int mode);

  // Statistics results of a statistics result document.
  void SetStatResults(const StatResults& results);
  void FreeStatResults();
  const StatResults& GetStatResults() const { return stats_; }
  // Marks every record of bucket k selected ('Y') in the current archive's index; numbers outside
  // the archive are skipped. The number of records marked.
  int MarkStatGroupInArchive(int k);

  Workbench& GetWorkbench() const { return workbench_; }

 protected:
  Workbench& workbench_;
  std::unique_ptr<Chart> chart_;
  std::unique_ptr<Chart> outer_;
  int resultKind_ = -1;

 private:
  ChartDocument* OpenDerived(const Chart& chart);

  std::map<const DocViewKind*, int> openViews_;
  std::map<std::type_index, std::shared_ptr<void>> partStates_;
  StatResults stats_;
  std::vector<int> viewCommands_;
};
