// The program's start-up to the main window with every loader the subsystems register (the
// configuration, the ephemeris tables, the atlas, the aspect systems, the maps, the archives and
// the rest of the data folder), the main window shown offscreen (goal 1 s). The user folder is
// seeded from the shipped data by a first start outside the timing, as after the first run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

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

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
