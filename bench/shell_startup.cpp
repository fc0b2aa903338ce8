// The program's start-up to the main window with every loader the subsystems register (the
// configuration, the ephemeris tables, the atlas, the aspect systems, the maps, the archives and
// the rest of the data folder), the main window shown offscreen (goal 1 s). The user folder is
// seeded from the shipped data by a first start outside the timing, as after the first run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
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

// The whole program started as a process of its own, with a data folder it seeded before, until its
// first window has painted (goal 100 ms): the wall time a user waits, measured by hand from the
// start of the process to its end, which the program's switch VELM_FIRST_PAINT_EXIT puts right
// after the first paint.
void BM_ProcessStartToFirstPaint(benchmark::State& state) {
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("VELM_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
      environment.push_back(entry);
  }
  environment.push_back("QT_QPA_PLATFORM=offscreen");
  environment.push_back("VELM_FIRST_PAINT_EXIT=1");
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  // The folder is seeded with the shipped files by the first start, untimed: the starts timed are
  // the ones a user makes every day.
  bench::TempFolder folder("velm-process-start");
  std::string program = VELM_PROGRAM, dataDir = "--data-dir", path = folder.Path().string();
  char* argv[] = {program.data(), dataDir.data(), path.data(), nullptr};
  const auto run = [&] {
    pid_t child = 0;
    int status = 0;
    return posix_spawn(&child, program.c_str(), &quiet, nullptr, argv, envp.data()) == 0 &&
           waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  };
  if (!run()) state.SkipWithError("the program did not start and paint");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) {
      state.SkipWithError("the program did not start and paint");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  posix_spawn_file_actions_destroy(&quiet);
}
BENCHMARK(BM_ProcessStartToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
