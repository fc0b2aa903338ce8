// The program's start-up to the main window with every loader the subsystems register (the
// configuration, the ephemeris tables, the atlas, the aspect systems, the maps, the archives and
// the rest of the data folder), the main window shown offscreen (goal 1 s). The user folder is
// seeded from the shipped data by a first start outside the timing, as after the first run. As
// a process of its own: the daily start on a seeded folder, and the first start of a new one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "app/subsystems.h"
#include "bench_support.h"
#include "foundation/files/settings.h"
#include "platform/qt/dialog.h"
#include "shell/kovra_app.h"
#include "shell/startup_dialogs.h"
#include "shell_bench.h"

namespace {

// Starts the program with its main window; null when it did not start.
std::unique_ptr<CKovraApp> Start() { return shell_bench::StartProgram(true); }

void Stop(std::unique_ptr<CKovraApp>& app) {
  app->ExitInstance();
  app.reset();
}

void BM_StartToMainWindow(benchmark::State& state) {
  bench::TempFolder folder("velm-start-bench");
  GetSettings().SetFolder(folder.Path());
  GetSettings().SetShippedFolders({bench::DataFolder()});
  if (std::unique_ptr<CKovraApp> first = Start()) Stop(first);
  for (auto _ : state) {
    std::unique_ptr<CKovraApp> app = Start();
    state.PauseTiming();
    if (!app) {
      state.SkipWithError("the program did not start");
      break;
    }
    Stop(app);
    state.ResumeTiming();
  }
  GetSettings().SetShippedFolders({});
}
BENCHMARK(BM_StartToMainWindow)->Unit(benchmark::kMillisecond);

extern "C" char** environ;

// The whole program started as a process of its own on a data folder (--data-dir), its output
// thrown away, ending right after its first paint (the program's switch VELM_FIRST_PAINT_EXIT).
class ProgramRun {
 public:
  ProgramRun() {
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("VELM_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
        environment_.push_back(entry);
    }
    environment_.push_back("QT_QPA_PLATFORM=offscreen");
    environment_.push_back("VELM_FIRST_PAINT_EXIT=1");
    for (std::string& e : environment_) envp_.push_back(e.data());
    envp_.push_back(nullptr);
    posix_spawn_file_actions_init(&quiet_);
    posix_spawn_file_actions_addopen(&quiet_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet_, 2, "/dev/null", O_WRONLY, 0);
  }
  ~ProgramRun() { posix_spawn_file_actions_destroy(&quiet_); }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // The wall time from the start of the process to its end, seconds; negative when the program
  // did not start and paint.
  double Seconds(const std::filesystem::path& folder) {
    std::string program = VELM_PROGRAM, dataDir = "--data-dir", path = folder.string();
    char* argv[] = {program.data(), dataDir.data(), path.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    const bool ok =
        posix_spawn(&child, program.c_str(), &quiet_, nullptr, argv, envp_.data()) == 0 &&
        waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok ? std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              : -1.0;
  }

 private:
  std::vector<std::string> environment_;
  std::vector<char*> envp_;
  posix_spawn_file_actions_t quiet_;
};

// The program as a process of its own, with a data folder it seeded before, until its first
// window has painted (goal 100 ms): the wall time a user waits every day.
void BM_ProcessStartToFirstPaint(benchmark::State& state) {
  ProgramRun program;
  // The folder is seeded with the shipped files by the first start, untimed.
  bench::TempFolder folder("velm-process-start");
  if (program.Seconds(folder.Path()) < 0.0)
    state.SkipWithError("the program did not start and paint");
  for (auto _ : state) {
    const double seconds = program.Seconds(folder.Path());
    if (seconds < 0.0) {
      state.SkipWithError("the program did not start and paint");
      break;
    }
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_ProcessStartToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime();

// The same on a data folder that does not exist yet, each time a new one (goal 1 s): the first
// start, which creates the folder and copies every shipped file into it before the window shows.
void BM_ProcessFirstStartOfANewFolder(benchmark::State& state) {
  ProgramRun program;
  bench::TempFolder parent("velm-first-start");
  int made = 0;
  for (auto _ : state) {
    const std::filesystem::path folder = parent.Path() / std::to_string(++made);
    const double seconds = program.Seconds(folder);
    if (seconds < 0.0) {
      state.SkipWithError("the program did not start and paint");
      break;
    }
    state.SetIterationTime(seconds);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
}
BENCHMARK(BM_ProcessFirstStartOfANewFolder)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
