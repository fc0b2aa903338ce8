// The program's exit with charts open: the session, the configuration, the profile and the archive
// list written (goal 0.3 s). The time goes to the waits for the disk: each file rewritten alone
// waits twice (its data, then its folder), so an exit writing four files alone waited eight times;
// on a disk whose flush takes a fifth of a second that alone is near two seconds. The exit now
// writes its files as one batch and waits once. Counters: files written, files left alone (their
// bytes unchanged), waits for the disk. BM_FourFilesAlone shows the waits of the old way.
#include <benchmark/benchmark.h>

#include <QMdiArea>
#include <algorithm>
#include <memory>
#include <string>

#include "app/subsystems.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/dialog.h"
#include "platform/qt/view.h"
#include "shell/kovra_app.h"
#include "shell/kovra_doc.h"
#include "shell/main_frame.h"
#include "shell/startup_dialogs.h"
#include "shell_bench.h"

namespace {

// A started program (no window shown) with `charts` chart windows open.
std::unique_ptr<CKovraApp> StartWithCharts(int charts) {
  auto app = shell_bench::StartProgram(false);
  if (app == nullptr) return nullptr;
  for (int i = 0; i < charts; ++i)
    CKovraDoc::OpenChartDocument(*app, bench::MoscowChart(1 + i, 5, 1975, 14, 30));
  return app;
}

void BM_ExitWithThreeCharts(benchmark::State& state) {
  bench::TempFolder folder("velm-exit-bench");
  GetSettings().SetFolder(folder.Path());
  GetSettings().SetShippedFolders({bench::DataFolder()});
  int waits = 0, runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<CKovraApp> app = StartWithCharts(3);
    if (!app) {
      state.SkipWithError("the program did not start");
      break;
    }
    // A setting changed during the run: the configuration is written too.
    GetConfiguration().screenCoords.width = static_cast<std::int16_t>(3 + runs % 2);
    const int before = DiskWaits();
    state.ResumeTiming();
    app->BeginExitWrites();
    app->CloseAllAndSaveSession();
    app->ExitInstance();
    app.reset();
    state.PauseTiming();
    waits += DiskWaits() - before;
    ++runs;
    state.ResumeTiming();
  }
  state.counters["disk_waits"] = runs > 0 ? static_cast<double>(waits) / runs : 0;
  GetSettings().SetShippedFolders({});
}
BENCHMARK(BM_ExitWithThreeCharts)->Unit(benchmark::kMillisecond);

// The exit with one chart and every view that its view commands open, as a user accepting every
// default would (goal 0.3 s): the views close, then the files are written. Counter: views open.
void BM_ExitWithEveryViewOpen(benchmark::State& state) {
  bench::TempFolder folder("velm-exit-views");
  GetSettings().SetShippedFolders({bench::DataFolder()});
  GetSettings().SetFolder(folder.Path());
  double views = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<CKovraApp> app = StartWithCharts(1);
    if (!app) {
      state.SkipWithError("the program did not start");
      break;
    }
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetAcceptAll(true);
    CMainFrame& frame = *app->GetMainFrame();
    CKovraDoc* chart = nullptr;
    for (const auto& d : app->Documents().Documents())
      if (auto* k = dynamic_cast<CKovraDoc*>(d.get())) chart = k;
    if (chart == nullptr) {
      state.SkipWithError("no chart opened");
      break;
    }
    platform::View* first = chart->Views().front();
    for (const int command : chart->ViewCommands()) {
      frame.MdiArea()->setActiveSubWindow(first->Frame());
      if (frame.StateOf(command).enabled) (void)frame.ExecuteCommand(command);
    }
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    views = static_cast<double>(chart->Views().size());
    state.ResumeTiming();
    app->BeginExitWrites();
    app->CloseAllAndSaveSession();
    app->ExitInstance();
    app.reset();
  }
  state.counters["views_open"] = views;
  GetSettings().SetShippedFolders({});
}
BENCHMARK(BM_ExitWithEveryViewOpen)->Unit(benchmark::kMillisecond);

// The four files of an exit rewritten one after the other, each alone.
void BM_FourFilesAlone(benchmark::State& state) {
  bench::TempFolder folder("velm-exit-alone");
  const std::string bytes(8000, 'x');
  int waits = 0, runs = 0;
  for (auto _ : state) {
    const int before = DiskWaits();
    for (const char* name : {"velm.sav", "velm.cfg", "velm.ini", "velm.arn"})
      benchmark::DoNotOptimize(RewriteFile(folder.Path() / name, bytes + std::to_string(runs)));
    waits += DiskWaits() - before;
    ++runs;
  }
  state.counters["disk_waits"] = static_cast<double>(waits) / std::max(runs, 1);
}
BENCHMARK(BM_FourFilesAlone)->Unit(benchmark::kMillisecond);

// The same four files as one batch.
void BM_FourFilesInABatch(benchmark::State& state) {
  bench::TempFolder folder("velm-exit-batch");
  const std::string bytes(8000, 'x');
  int waits = 0, runs = 0;
  for (auto _ : state) {
    const int before = DiskWaits();
    RewriteBatch batch;
    for (const char* name : {"velm.sav", "velm.cfg", "velm.ini", "velm.arn"})
      benchmark::DoNotOptimize(RewriteFile(folder.Path() / name, bytes + std::to_string(runs)));
    benchmark::DoNotOptimize(batch.Finish());
    waits += DiskWaits() - before;
    ++runs;
  }
  state.counters["disk_waits"] = static_cast<double>(waits) / std::max(runs, 1);
}
BENCHMARK(BM_FourFilesInABatch)->Unit(benchmark::kMillisecond);

}  // namespace
