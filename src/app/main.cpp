// The program's entry: the Qt application, the prompt service, the data folder (chosen, created,
// locked and seeded with the shipped defaults), then the application object's start-up, the
// message loop and the shut-down.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/subsystems.h"
#include "archive/store/commit_recovery.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/settings.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_time_zones.h"
#include "shell/command_line.h"
#include "shell/kovra_app.h"

namespace fs = std::filesystem;

namespace {

// The shipped defaults: beside the installed program, or the source tree's data/ when the program
// runs from its build folder.
std::vector<fs::path> ShippedDefaultFolders(const fs::path& executableFolder) {
  std::vector<fs::path> folders;
  if (executableFolder.empty()) return folders;
  folders.push_back((executableFolder / VELM_SHARE_FROM_BIN).lexically_normal());
  const fs::path build = fs::path(VELM_BUILD_DIR).lexically_normal();
  const fs::path inside = executableFolder.lexically_normal().lexically_relative(build);
  if (!inside.empty() && *inside.begin() != "..") folders.push_back(VELM_SOURCE_DATA_DIR);
  return folders;
}

// The measurement switch VELM_FIRST_PAINT_EXIT=1 (bench/shell_startup.cpp): once the first window
// of the program has painted, it writes "velm: first paint" on standard error and ends at once,
// so that a start-up can be timed from outside as a user meets it.
class FirstPaintExit : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      // After the paint has been done and shown.
      QTimer::singleShot(0, [] {
        std::fputs("velm: first paint\n", stderr);
        std::fflush(stderr);
        std::_Exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  // Printing from the command line needs no screen; the platform is chosen before the application
  // object connects to one.
  if (PrintsWithoutScreen(std::vector<std::string>(argv + 1, argv + argc), std::getenv("DISPLAY"),
                          std::getenv("WAYLAND_DISPLAY")))
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("velm"));
  QApplication::setFont(QFont(platform::TextFaceFamily(), 9));
  platform::InstallRussianTranslator();
  FirstPaintExit firstPaintExit;
  if (const char* measure = std::getenv("VELM_FIRST_PAINT_EXIT"); measure && *measure == '1')
    application.installEventFilter(&firstPaintExit);
  platform::QtPrompter prompter(QStringLiteral("Velm"));

  // QApplication has taken its own options out of argv.
  const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!line.error.empty()) {
    std::fprintf(stderr, "velm: %s\n%s\n", line.error.c_str(), kUsage);
    return 2;
  }
  // A print run may have no one at the screen: its messages go to standard error (the console
  // prompter, which declines every question) instead of message boxes.
  if (!line.print) platform::SetPrompter(&prompter);
  platform::QtTimeZoneDatabase timeZones;
  platform::SetTimeZoneDatabase(&timeZones);

  DataFolderCandidates candidates;
  candidates.commandLine = line.dataDir;
  if (const char* env = std::getenv("VELM_DATA_DIR")) candidates.environment = env;
  candidates.executableFolder = ExecutableFolder();
  candidates.userDataHome = UserDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  candidates.shippedDefaults = ShippedDefaultFolders(candidates.executableFolder);

  const DataFolderChoice choice = ChooseDataFolder(candidates);
  GetSettings().SetFolder(choice.folder);
  GetSettings().SetShippedFolders(candidates.shippedDefaults);

  // The folder is created before it is locked and seeded after: seeding writes into it. A folder
  // the program cannot write is said so once; nothing is locked, seeded or logged there.
  DataFolderLock lock;
  if (ReadyDataFolder(choice.folder)) {
    SetErrorLogFile(choice.folder / kErrorLogName);
    if (!LockDataFolderOrTell(lock, choice.folder)) return 1;
    // What a copy of the program stopped in the middle of a save left in the folder is made
    // whole (a commit of several files finished or undone) and cleared before anything is read.
    if (lock.Held()) {
      SetHoldsDataFolderLock(true);
      RecoverDataFolder(choice.folder);
    }
    ReportStatus(PrepareDataFolder(choice, candidates), "PrepareDataFolder");
  }

  StartOptions options;
  options.splash = line.splash;
  options.file = line.file;
  options.printOnly = line.print;
  options.printOut = line.out;
  int exitCode = 0;
  {
    CKovraApp app;
    RegisterSubsystems(app);
    if (app.InitInstance(options)) {
      prompter.SetParent(app.MainWindow());
      exitCode = QApplication::exec();
    }
    prompter.SetParent(nullptr);
    const int exitStatus = app.ExitInstance();
    if (exitCode == 0) exitCode = exitStatus;
  }
  platform::SetPrompter(nullptr);
  platform::SetTimeZoneDatabase(nullptr);
  return exitCode;
}
