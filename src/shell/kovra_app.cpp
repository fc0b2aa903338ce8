#include "shell/kovra_app.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <ctime>
#include <new>

#include "archive/browser/archive_commands.h"
#include "archive/browser/import_dialogs.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/instant.h"
#include "document/command_ids.h"
#include "document/view_kinds.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_file.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"
#include "platform/qt/main_frame.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_text.h"
#include "shell/core/session.h"
#include "shell/core/tips.h"
#include "shell/entry/choose_chart_type.h"
#include "shell/entry/enter_chart.h"
#include "shell/kovra_doc.h"
#include "shell/kovra_view.h"
#include "shell/main_frame.h"
#include "shell/startup_dialogs.h"

namespace fs = std::filesystem;

CKovraApp::CKovraApp() : archiveBrowser_(std::make_unique<ArchiveBrowserDialogs>(*this)) {
  archive_.SetBrowser(archiveBrowser_.get());
  importer_ = std::make_unique<ForeignImportDialogs>(*this);
  archive_.Import().SetImporter(importer_.get());
  RegisterCommands();
}

CKovraApp::~CKovraApp() {
  documents_.CloseAllDocuments();
  mainFrame_.reset();
  if (&platform::Glyphs() == &glyphs_) platform::InstallGlyphs(nullptr);
}

std::string CKovraApp::GetPath(std::string_view name) const { return GetSettings().GetPath(name); }

QWidget* CKovraApp::MainWindow() const { return mainFrame_.get(); }

bool CKovraApp::InitInstance(const StartOptions& options) {
  LoadProgramWideObjects();
  if (Status loaded = profile_.Load(GetPath(kProfileName)); !loaded.ok()) {
    ReportStatus(loaded, "VelmApp::InitInstance");
    // A profile that could not be read (or was refused as too large) is never rewritten: its
    // recent-file list comes back once it can be read again.
    profileUnread_ = true;
  }
  recentFiles_.ReadFrom(profile_);
  RegisterTemplates();

  mainFrame_ = std::make_unique<CMainFrame>(*this);
  mainFrame_->SetRecentFiles(recentFiles_.Entries());
  // What a command changed in the settings reaches the computations after it, at the latest.
  mainFrame_->SetAfterCommand([] { PublishSettings(); });

  // The shell command: a file to open, or to print without showing the window.
  printRun_ = options.printOnly;
  int opened = 0;
  if (!options.file.empty()) {
    if (options.printOnly) {
      // A print run that printed nothing ends with a failure code (the user was told why); one
      // whose memory runs out is told so and ends as well.
      try {
        int held = 0;
        opened = OpenChartFile(options.file, &held);
        const Status printed = opened > 0 ? PrintOpenCharts(options.file, options.printOut)
                                          : Status::Error(kErrCannotOpen);
        if (opened > 0) ReportStatus(printed, "velm /p");
        if (!printed.ok()) exitCode_ = 1;
        // Printed, but not what was asked: told, and the run ends with a failure code too.
        if (const std::string missing = PrintedShortOf(opened, held);
            printed.ok() && !missing.empty()) {
          platform::GetPrompter().ShowMessage(
              platform::kNoMessage,
              Cp1251("Гороскопы файла ") + platform::Utf8ToCp1251(options.file) +
                  Cp1251(" напечатаны не так, как просили:") + missing,
              platform::Icon::Warning);
          exitCode_ = 1;
        }
      } catch (const std::bad_alloc&) {
        ReportError(kErrNoMemory, "velm /p", 0);
        exitCode_ = 1;
      }
      return false;
    }
    opened = OpenChartFile(options.file);
  } else if (options.printOnly) {
    return false;
  }
  ReadSessionAtStart();

  if (options.showWindow) mainFrame_->show();
  if (options.splash && options.showWindow) {
    splash_ = new SplashWindow(options.splashMilliseconds);
    splash_->show();
  }
  ShowTipOfTheDay();
  // A file that opened no chart (the user was told why) leaves the choice to the start-up dialog.
  if (opened == 0) RunStartupDialog();
  return true;
}

void CKovraApp::LoadProgramWideObjects() {
  const fs::path folder = GetSettings().Folder();
  // The program never writes the atlas: a data folder without its own reads the shipped one.
  const Settings& settings = GetSettings();
  if (Status towns =
          GetTowns().Load(settings.FindProgramFile(g_DataFileNames[kDataTownCoordinates]),
                          settings.FindProgramFile(g_DataFileNames[kDataTownNames]),
                          settings.FindProgramFile(g_DataFileNames[kDataTownRegions]));
      !towns.ok())
    ReportStatus(towns, "VelmApp::InitInstance");

  configFile_.LoadAtStart(GetPath(g_DataFileNames[kDataConfig]), GetConfiguration());
  // The glyph faces come with the configuration, as the font files did.
  if (Status st = LoadGlyphSet(GetSettings().FindProgramFile(kGlyphFileName), glyphs_); st.ok())
    platform::InstallGlyphs(&glyphs_);
  else
    ReportStatus(st, "VelmApp::InitInstance");

  std::error_code noFolder;
  if (fs::is_directory(folder, noFolder))
    for (const Status& skipped : GetAspectarium().LoadAll(folder))
      ReportStatus(skipped, "VelmApp::InitInstance");
  // Aspect systems are the user's to edit: a data folder without any gets a copy of the shipped
  // default system. One the program cannot write reads the shipped system instead (the editor's
  // changes to it are then not kept, as no setting is).
  if (GetAspectarium().Count() == 0) {
    const fs::path shipped = settings.FindShippedFile(g_DataFileNames[kDataAspectSystem]);
    // A file of that name the folder holds (damaged: it was told) is never replaced.
    std::error_code ec;
    if (!shipped.empty() && !fs::equivalent(shipped.parent_path(), folder, ec) &&
        FindFileIgnoringCase(folder, shipped.filename().native()).match == NameMatch::Missing) {
      if (settings.Writable() && FileCopy(shipped, folder / shipped.filename()) == 0) {
        for (const Status& skipped : GetAspectarium().LoadAll(folder))
          ReportStatus(skipped, "VelmApp::InitInstance");
      } else {
        ReportStatus(GetAspectarium().LoadInto(shipped, folder), "VelmApp::InitInstance");
      }
    }
  }
  GetAspectarium().SetCurrentSystemName(
      GetConfiguration().GetSystemName(Configuration::kDisplaySystemSlot));
  // The computations read the settings as loaded.
  PublishSettings();

  // Without the tables the ephemeris computes from its series alone. A data folder without its
  // own copy reads the shipped one.
  if (fs::exists(GetSettings().FindProgramFile(g_DataFileNames[kDataEphemeris])))
    ReportStatus(LoadEphemerisFromDataFolder(), "VelmApp::InitInstance");

  // The table of ascendants by latitude and sidereal time, for the obliquity of today.
  const double nowJd = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
  ascendants_.Compute(MakeInstant(JdUt{nowJd}).trueObliquityDeg);

  archive_.Init();

  // The life-point types; the program never writes them, so a data folder without its own reads
  // the shipped ones.
  lifePointTypes_.LoadAtStart(settings.FindProgramFile(g_DataFileNames[kDataLifePointTypes]));
  // The life events of the two rectification methods: first "velm.lev", then "velm.tev".
  rectificationEvents_.LoadAtStart(GetPath(g_DataFileNames[kDataLifeEvents]));
  treminEvents_.LoadAtStart(GetPath(g_DataFileNames[kDataTestEvents]));

  // The maps of the astrocartography views; regions without files stay empty.
  const auto locate = [&settings](const std::string& name) {
    return fs::path(settings.FindProgramFile(name));
  };
  for (const Status& failed : maps_.Init(locate, GetTowns())) ReportStatus(failed, "AllMaps::Init");

  // The subsystems' own lists, in the order they registered.
  for (const DataHook& load : startupLoaders_) load(*this);
}

void CKovraApp::RegisterTemplates() {
  RegisterViewTemplate(kMainChartTemplate, [] { return new CKovraView(); });
}

platform::DocTemplate* CKovraApp::RegisterViewTemplate(int number,
                                                       platform::DocTemplate::ViewFactory view) {
  if (number < 0) return nullptr;
  if (platform::DocTemplate* existing = documents_.GetTemplate(number)) return existing;
  return &documents_.AddTemplate(
      number, [this] { return std::make_unique<CKovraDoc>(*this); }, std::move(view));
}

void CKovraApp::AddDocumentCommands(DocumentCommands commands) {
  documentCommands_.push_back(std::move(commands));
}

void CKovraApp::AddStartupLoader(DataHook load) { startupLoaders_.push_back(std::move(load)); }

void CKovraApp::AddExitSaver(DataHook save) { exitSavers_.push_back(std::move(save)); }

void CKovraApp::AddFrameCommands(FrameCommands commands) {
  frameCommands_.push_back(std::move(commands));
  if (mainFrame_) frameCommands_.back()(*mainFrame_, *this);
}

void CKovraApp::AddRegisteredCommands(ChartDocument& document) {
  for (const DocumentCommands& commands : documentCommands_) commands(document, *this);
}

void CKovraApp::AddRegisteredCommands(platform::CommandTarget& frame) {
  for (const FrameCommands& commands : frameCommands_) commands(frame, *this);
}

bool CKovraApp::EnterChart(Chart& chart) {
  const int kind = ChooseChartType(MainWindow());
  if (kind < kChartNatal || kind > kChartLunarPhase) return false;  // cancelled
  Chart entered;
  entered.definition.SetKind(static_cast<std::uint16_t>(kind));
  const Chart* active = ActiveChart();
  if (!EnterChartOfKind(entered.definition, kind, MainWindow(), ReadSystemClock,
                        active != nullptr ? &active->definition : nullptr))
    return false;
  if (const Status computed = ChartCalculate(ChartContext::FromCurrentSettings(), entered);
      !computed.ok()) {
    ReportStatus(computed, "VelmApp::EnterChart");
    return false;
  }
  chart = std::move(entered);
  return true;
}

ChartDocument* CKovraApp::OpenChartDocument(DocCreation creation, int templateNumber) {
  return CKovraDoc::Open(*this, std::move(creation), templateNumber);
}

void CKovraApp::RegisterCommands() {
  for (int i = 0; i < platform::kRecentFileCount; ++i) {
    OnCommand(platform::kRecentFileFirst + i, [this, i] {
      const std::vector<std::string>& entries = recentFiles_.Entries();
      if (static_cast<std::size_t>(i) < entries.size())
        OpenChartFile(entries[static_cast<std::size_t>(i)]);
    });
  }
}

bool CKovraApp::RegisterDocument(CKovraDoc* document) {
  if (DocumentCount() >= kMaxDocuments) return false;
  if (std::find(registered_.begin(), registered_.end(), document) == registered_.end())
    registered_.push_back(document);
  return true;
}

void CKovraApp::UnregisterDocument(CKovraDoc* document) {
  registered_.erase(std::remove(registered_.begin(), registered_.end(), document),
                    registered_.end());
}

CKovraDoc* CKovraApp::NewChart(int kind) {
  currentChartKind_ = kind >= kChartNatal && kind <= kChartLunarPhase ? kind : kChartNatal;
  // The new document's entry reads the chart that is active now, before its own window opens.
  askedFrom_.reset();
  if (const Chart* chart = ActiveChart()) askedFrom_ = chart->definition;
  CKovraDoc* document = CKovraDoc::Open(*this, DocCreation::NewChart(currentChartKind_));
  askedFrom_.reset();
  return document;
}

const Chart* CKovraApp::ActiveChart() const {
  if (!mainFrame_) return nullptr;
  const auto* document = dynamic_cast<const ChartDocument*>(mainFrame_->GetActiveDocument());
  return document != nullptr ? document->GetChart() : nullptr;
}

void CKovraApp::ReadSessionAtStart() {
  sessionAtStart_.clear();
  sessionReplaceable_ = GetSettings().Writable();
  const fs::path path = GetPath(g_DataFileNames[kDataSession]);
  std::error_code error;
  if (!fs::exists(path, error) && !error) return;
  const Status read = ReadSessionRecords(path, sessionAtStart_);
  if (read.ok()) return;
  // A session file not read wholly is never replaced: it is renamed aside (the whole records
  // read before the damage are still offered).
  fs::path kept;
  if (MoveAside(path, kept).ok()) {
    ReportStatus(Status::Message(kMsgKeptAside, kept.string()), "VelmApp::InitInstance");
    return;
  }
  ReportStatus(read, "VelmApp::InitInstance");
  sessionReplaceable_ = false;
}

int CKovraApp::RestoreSession() {
  int opened = 0;
  for (const Chart& chart : sessionAtStart_)
    opened += CKovraDoc::OpenChartDocument(*this, chart) != nullptr;
  return opened;
}

int CKovraApp::OpenChartFile(const fs::path& path, int* held) {
  std::vector<Chart> charts;
  if (held != nullptr) *held = 0;
  if (Status read = ReadSessionFile(path, charts); !read.ok()) {
    // A file that cannot be opened at all is named to the user; the error report's number would
    // say nothing about which file it was.
    if (read.ErrorCode() == kErrCannotOpen)
      read = Status::Message(kMsgCannotOpenChartFile, path.string());
    ReportStatus(read, "VelmApp::OpenChartFile");
    return 0;
  }
  if (charts.empty()) {
    ReportStatus(Status::Message(kMsgNoChartInFile, path.string()), "VelmApp::OpenChartFile");
    return 0;
  }
  if (held != nullptr) *held = static_cast<int>(charts.size());
  int opened = 0;
  for (const Chart& chart : charts) opened += CKovraDoc::OpenChartDocument(*this, chart) != nullptr;
  if (opened > 0) {
    recentFiles_.Add(fs::absolute(path).lexically_normal().string());
    if (mainFrame_) mainFrame_->SetRecentFiles(recentFiles_.Entries());
  }
  return opened;
}

std::string CKovraApp::PrintedShortOf(int opened, int held) const {
  std::string missing;
  if (opened < held)
    missing += Cp1251("\n- напечатано гороскопов ") + std::to_string(opened) + Cp1251(" из ") +
               std::to_string(held) + Cp1251(": остальные не удалось открыть;");
  if (GetAspectarium().Count() == 0)
    missing += Cp1251(
        "\n- без аспектов: нет ни одной системы аспектов ни в папке данных, ни среди файлов, "
        "поставляемых с программой;");
  if (&platform::Glyphs() != &glyphs_)
    missing += Cp1251("\n- без знаков: не прочитан файл очертаний знаков ") +
               std::string(kGlyphFileName) + ";";
  if (!missing.empty()) missing.back() = '.';
  return missing;
}

Status CKovraApp::PrintOpenCharts(const fs::path& source, const fs::path& pdf) {
  std::vector<platform::View*> views;
  for (const auto& document : documents_.Documents()) {
    if (!document->Views().empty()) views.push_back(document->Views().front());
  }
  if (views.empty()) return Status::Ok();
  const platform::PageRenderer render = [&views](platform::Dc& dc, int page) {
    views[static_cast<std::size_t>(page - 1)]->OnPrint(dc, 1);
  };
  const int pages = static_cast<int>(views.size());
  fs::path target = pdf;
  if (target.empty()) {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
      QPrinter device(printer, QPrinter::HighResolution);
      // The origin at the paper's corner, as on the print dialog's printer, not at the margins.
      device.setFullPage(true);
      platform::SetUpA4(device);
      return platform::PrintPages(device, 1, pages, render)
                 ? Status::Ok()
                 : Status::Error(kErrWrite, printer.printerName().toStdString());
    }
    target = fs::path(source).replace_extension(".pdf");
  }
  std::error_code same;
  if (fs::equivalent(source, target, same) && !same)
    return Status::Message(kMsgPrintOverChartFile, target.string());
  // A name a folder holds, or a folder that is not there, is told before any page is drawn.
  const fs::path targetFolder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code ec;
  if (fs::is_directory(target, ec) || !fs::is_directory(targetFolder, ec))
    return Status::Error(kErrCannotCreate, target.string());
  return platform::WritePdf(target, fs::path(source).filename().string(), pages, render);
}

bool CKovraApp::CloseAllAndSaveSession() {
  closing_ = true;
  sessionCharts_.clear();
  documents_.CloseAllDocuments();
  if (sessionReplaceable_)
    ReportStatus(WriteSessionFile(GetPath(g_DataFileNames[kDataSession]), sessionCharts_),
                 "VelmApp::ExitInstance");
  return true;
}

void CKovraApp::BeginExitWrites() {
  if (!exitWrites_) exitWrites_ = std::make_unique<RewriteBatch>();
}

int CKovraApp::ExitInstance() {
  if (!GetSettings().Writable()) {
    // A data folder the program cannot write: the start told the user that nothing is kept, so
    // nothing is tried.
    closing_ = true;
    documents_.CloseAllDocuments();
    archive_.FreeIndex();
    return exitCode_;
  }
  BeginExitWrites();
  if (printRun_) {
    closing_ = true;
    documents_.CloseAllDocuments();
  } else if (!closing_) {
    CloseAllAndSaveSession();
  }
  if (!printRun_)
    for (const DataHook& save : exitSavers_) save(*this);
  configFile_.SaveAtExit(GetConfiguration());
  archive_.Recent().SaveNames();
  archive_.FreeIndex();
  SaveProfile();
  (void)exitWrites_->Finish("VelmApp::ExitInstance");
  exitWrites_.reset();
  return exitCode_;
}

void CKovraApp::SaveProfile() {
  if (profileUnread_) return;
  recentFiles_.WriteTo(profile_);
  ReportStatus(profile_.Save(GetPath(kProfileName)), "VelmApp::ExitInstance");
}

void CKovraApp::SetTipOfTheDay(bool showAtStart, int nextTip) {
  profile_.SetInt("ShowTips", showAtStart ? 1 : 0);
  profile_.SetInt("NextTip", std::max(0, nextTip));
}

void CKovraApp::ShowTipOfTheDay() {
  if (profile_.GetInt("ShowTips", 1) == 0) return;
  std::string text;
  const fs::path advice = GetPath(g_DataFileNames[kDataAdvice]);
  if (!fs::exists(advice) || !ReadWholeFile(advice, text).ok()) return;
  const std::vector<std::string> tips = ReadTips(text);
  if (tips.empty()) return;
  const int next = std::max(0, profile_.GetInt("NextTip", 0)) % static_cast<int>(tips.size());
  DTipOfDay dialog(MainWindow());
  CloseSplash();
  dialog.tip = tips[static_cast<std::size_t>(next)];
  dialog.showAtStart = true;
  dialog.DoModal();
  profile_.SetInt("NextTip", (next + 1) % static_cast<int>(tips.size()));
  profile_.SetInt("ShowTips", dialog.showAtStart ? 1 : 0);
}

QWidget* CKovraApp::Splash() const { return splash_.data(); }

void CKovraApp::CloseSplash() {
  if (splash_) splash_->close();  // deletes itself on close
}

void CKovraApp::RunStartupDialog() {
  DStartup dialog(MainWindow());
  CloseSplash();
  dialog.restoreAvailable = !sessionAtStart_.empty();
  dialog.kindName = GetMessageText(kMsgKindNameFirst + currentChartKind_);
  if (dialog.DoModal() != platform::kIdOk) return;
  if (dialog.choice == DStartup::kNewChart) NewChart(currentChartKind_);
  if (dialog.choice == DStartup::kRestoreSession && dialog.restoreAvailable) RestoreSession();
}
