// The aspect table of all 40 points drawn on a recording device (aspect grid and midpoint grid),
// the midpoint list of a two-chart table (every column-row pair), the aspects to the midpoint of
// every cell (what a click lists) and one printed page of the list. No speed goal is set; the
// figures show that a repaint or a click costs well under a frame.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"
#include "views/core/aspect_table.h"

namespace {

struct Setup {
  Setup() {
    systems.LoadAll(std::filesystem::path(VELM_SOURCE_DIR) / "data");
    using S = cfg::AspectTableSettings;
    for (std::size_t k = 0; k < S::kTablePoints; ++k)
      config.aspectTable.Set(S::kPointSwitch[k], std::uint8_t{1});
    config.aspectTable.Set(S::kMidpointHighlight, 4);
    if (systems.Count() > 0) {
      config.aspectTable.Set(S::kMidpointSystem, systems.GetSystem(0).GetName());
      inner.definition.SetAspectSystemName(systems.GetSystem(0).GetName());
      outer.definition.SetAspectSystemName(systems.GetSystem(0).GetName());
    }
    // Points spread round the circle at uneven steps, so that many pairs make aspects.
    for (int i = 0; i < 34; ++i) {
      inner.points[i].longitude.Set(static_cast<double>((i * 47) % 360) + 0.25 * i);
      outer.points[i].longitude.Set(static_cast<double>((i * 71 + 13) % 360) + 0.1 * i);
    }
    for (int h = 0; h < 12; ++h) {
      inner.cusps[h].Set(h * 30.0 + 5.0);
      outer.cusps[h].Set(h * 30.0 + 17.0);
    }
  }
  Configuration config;
  Aspectarium systems;
  Chart inner, outer;
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void BM_RenderAllPoints(benchmark::State& state) {
  Setup& s = Shared();
  const int kind = static_cast<int>(state.range(0));
  for (auto _ : state) {
    platform::RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    AspectTable table(s.config, s.systems);
    table.Draw(dc, kLayoutTableUpper, s.inner, &s.outer, 3, kind);
    benchmark::DoNotOptimize(dc.Calls().size());
  }
}
BENCHMARK(BM_RenderAllPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MidpointListBetweenTwoCharts(benchmark::State& state) {
  Setup& s = Shared();
  for (auto _ : state) {
    platform::RecordingDc dc;
    AspectTable table(s.config, s.systems);
    benchmark::DoNotOptimize(table.CreateMidpList(dc, 2, s.inner, &s.outer, s.inner));
  }
}
BENCHMARK(BM_MidpointListBetweenTwoCharts)->Unit(benchmark::kMillisecond);

void BM_AspectsToEveryCellMidpoint(benchmark::State& state) {
  Setup& s = Shared();
  AspectTable table(s.config, s.systems);
  table.LoadSettings(s.inner);
  for (auto _ : state) {
    std::size_t found = 0;
    for (int c = 0; c < AspectTable::kTablePoints; ++c) {
      for (int r = 0; r < AspectTable::kTablePoints; ++r) {
        const double m = MidpointLongitude(AspectTable::TablePointLongitude(s.inner, c).Get(),
                                           AspectTable::TablePointLongitude(s.outer, r).Get());
        found += table.AspectsToMidpoint(m, s.inner).size();
      }
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_AspectsToEveryCellMidpoint)->Unit(benchmark::kMillisecond);

void BM_DrawMidpointListPage(benchmark::State& state) {
  Setup& s = Shared();
  platform::RecordingDc measuring;
  AspectTable table(s.config, s.systems);
  table.CreateMidpList(measuring, 2, s.inner, &s.outer, s.inner);
  for (auto _ : state) {
    platform::RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    table.DrawListPage(dc, 1, s.inner, &s.outer);
    benchmark::DoNotOptimize(dc.Calls().size());
  }
}
BENCHMARK(BM_DrawMidpointListPage)->Unit(benchmark::kMillisecond);

}  // namespace
