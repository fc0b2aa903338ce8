// The application object: the start-up in its fixed order, the program-wide objects it owns for
// the whole run (the comment-slot table, the archive, the document templates, the recent-file
// list), the registry of open chart documents, the session file and the shut-down. It is the
// Workbench the windows of the subsystems see, and the UiRegistry through which they register
// (src/app/ calls their registration functions before InitInstance).
#pragma once

#include <QPointer>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "astro/chart/chart.h"
#include "astro/houses/ascendant_table.h"
#include "astro/lifepoint/life_point_all.h"
#include "astrocarto/core/regional_maps.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/status.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/command_target.h"
#include "platform/qt/doc_template.h"
#include "rectification/core/life_event_list.h"
#include "shell/profile.h"

class CKovraDoc;
class CMainFrame;
class QWidget;

struct StartOptions {
  bool splash = true;
  int splashMilliseconds = 5000;
  bool showWindow = true;          // false: the main window stays hidden (tests, printing)
  std::string file;                // a chart file to open (charts in the session-file form)
  bool printOnly = false;          // print `file` and end without showing the window
  std::filesystem::path printOut;  // the PDF file of printOnly; empty: the default printer
};

class CKovraApp : public platform::CommandTarget, public Workbench, public UiRegistry {
 public:
  static constexpr int kMaxDocuments = 100;

  CKovraApp();
  ~CKovraApp() override;
  CKovraApp(const CKovraApp&) = delete;
  CKovraApp& operator=(const CKovraApp&) = delete;

  // The start-up; false when the program is to end at once (a print run, or a failure).
  bool InitInstance(const StartOptions& options);
  // Saves the configuration, the profile and the archive list; the exit code (1 after a print
  // run that printed nothing). The files written from BeginExitWrites() on (the session among
  // them) go to the disk together at its end.
  int ExitInstance();
  // From here to the end of ExitInstance the files the program writes are rewritten as one batch:
  // one wait for the disk for all of them, the unchanged ones left alone.
  void BeginExitWrites();

  // The path of a data file in the data folder.
  std::string GetPath(std::string_view name) const override;

  // The first free comment slot 1..255 (marked taken), or -1.
  int GetFreeCommentSlot() { return commentSlots_.GetFreeCommentSlot(); }
  CommentSlotTable& CommentSlots() override { return commentSlots_; }
  Archive& GetArchive() override { return archive_; }
  AllMaps& GetMaps() override { return maps_; }
  bool EnterChart(Chart& chart) override;
  // The ascendants by latitude and sidereal time, computed at start.
  const AscendantTable& Ascendants() const { return ascendants_; }

  // The life events of the rectification by events ("velm.lev") and of the Tremin method
  // ("velm.tev"), loaded at start.
  LifeEventList& RectificationEvents() override { return rectificationEvents_; }
  // The life-point types ("velm.lpn"), loaded at start.
  const LifePointAll& LifePointTypes() const override { return lifePointTypes_; }
  void SetTipOfTheDay(bool showAtStart, int nextTip) override;
  LifeEventList& TreminEvents() override { return treminEvents_; }

  platform::DocManager& Documents() override { return documents_; }
  platform::DocTemplate* GetTemplate(int number) const override {
    return documents_.GetTemplate(number);
  }
  CMainFrame* GetMainFrame() const { return mainFrame_.get(); }
  QWidget* MainWindow() const override;
  ChartDocument* OpenChartDocument(DocCreation creation,
                                   int templateNumber = kMainChartTemplate) override;

  // The registry of the subsystems' windows (document/ui_registry.h).
  Workbench& GetWorkbench() override { return *this; }
  // Registers the template of a view kind on the chart document; a kind registered
  // twice keeps its first template.
  platform::DocTemplate* RegisterViewTemplate(int number,
                                              platform::DocTemplate::ViewFactory view) override;
  void AddDocumentCommands(DocumentCommands commands) override;
  void AddFrameCommands(FrameCommands commands) override;
  void AddStartupLoader(DataHook load) override;
  void AddExitSaver(DataHook save) override;
  // Gives a new chart document the registered document commands, and the main window the
  // registered frame commands.
  void AddRegisteredCommands(ChartDocument& document);
  void AddRegisteredCommands(platform::CommandTarget& frame);

  // The registry of open chart documents (at most 100).
  bool RegisterDocument(CKovraDoc* document);
  void UnregisterDocument(CKovraDoc* document);
  int DocumentCount() const { return static_cast<int>(registered_.size()); }

  // A new chart of `kind` through the entry dialog (the road of Ctrl+N); nullptr when cancelled
  // or refused. The kind (0..9; another number counts as natal) becomes the current chart kind.
  CKovraDoc* NewChart(int kind);
  // The chart of the active window's document; nullptr when no window or no chart is active.
  const Chart* ActiveChart() const;
  // While NewChart opens its document: the definition of the chart that was active when it was
  // asked for (nullptr otherwise).
  const SuperSource* NewChartAskedFrom() const { return askedFrom_ ? &*askedFrom_ : nullptr; }
  // The kind of the last new chart asked for (natal at first): the start-up dialog offers it.
  int CurrentChartKind() const override { return currentChartKind_; }
  // Opens the charts of the session file as read at start; the number opened.
  int RestoreSession();
  // Opens every chart of a chart file (the session-file form); the number opened, and in `held`
  // (when given) the number the file holds. The file goes to the recent-file list when it held
  // charts; a file that holds none is told (message 2045).
  int OpenChartFile(const std::filesystem::path& path, int* held = nullptr);
  // Prints the main view of every open chart: to `pdf` when given, else to the default printer,
  // else to a PDF file beside `source`. A PDF that would be `source` itself (the same file, also
  // through a link) is refused with message 2044 before anything is written.
  Status PrintOpenCharts(const std::filesystem::path& source, const std::filesystem::path& pdf);
  // What a print run of a file holding `held` charts, `opened` of them open, printed other than
  // asked: one line per shortfall (code page 1251), each after a line break; empty when none.
  std::string PrintedShortOf(int opened, int held) const;

  // Shut-down: the closing flag, every document closed (their charts collected for the session),
  // the session file written (unless the file found at start could neither be read nor renamed
  // aside). False when a document refused to close.
  bool CloseAllAndSaveSession();
  bool IsClosing() const { return closing_; }
  void AddSessionChart(const Chart& chart) { sessionCharts_.push_back(chart); }

  RecentFileList& RecentFiles() { return recentFiles_; }
  Profile& GetProfile() { return profile_; }

  // The start-up steps after the main window (also run alone by tests).
  void ShowTipOfTheDay();
  void RunStartupDialog();
  // The splash window while it is shown (null once it closed).
  QWidget* Splash() const;

 private:
  // Closes the splash window before a start-up dialog, which it would otherwise cover.
  void CloseSplash();
  void LoadProgramWideObjects();
  void RegisterTemplates();
  void RegisterCommands();
  void SaveProfile();
  void ReadSessionAtStart();

  CommentSlotTable commentSlots_;
  platform::GlyphSet glyphs_;
  AscendantTable ascendants_;
  Archive archive_{commentSlots_};
  LifePointAll lifePointTypes_;
  LifeEventList rectificationEvents_;
  LifeEventList treminEvents_;
  std::unique_ptr<ArchiveBrowser> archiveBrowser_;  // the browser dialogs of archive_
  std::unique_ptr<ForeignChartImporter> importer_;  // the foreign-file import of archive_
  AllMaps maps_;
  platform::DocManager documents_;
  std::unique_ptr<CMainFrame> mainFrame_;
  std::vector<CKovraDoc*> registered_;
  std::vector<Chart> sessionCharts_;
  std::vector<Chart> sessionAtStart_;  // the charts of the session file found at start
  bool sessionReplaceable_ = true;     // false: an unread session file stayed in its place
  ConfigurationFile configFile_;
  int currentChartKind_ = kChartNatal;
  std::optional<SuperSource> askedFrom_;
  bool closing_ = false;
  std::unique_ptr<RewriteBatch> exitWrites_;  // open from the close of the main window
  bool printRun_ = false;                     // a print run leaves the session file alone
  int exitCode_ = 0;
  Profile profile_;
  bool profileUnread_ = false;  // "velm.ini" existed and could not be read: never rewritten
  RecentFileList recentFiles_;
  std::vector<DocumentCommands> documentCommands_;
  std::vector<FrameCommands> frameCommands_;
  std::vector<DataHook> startupLoaders_;
  std::vector<DataHook> exitSavers_;
  QPointer<QWidget> splash_;
};
