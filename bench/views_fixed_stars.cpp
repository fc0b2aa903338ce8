// The star list of one chart (what opening the fixed-star list costs): the places of the 300
// shipped stars at the chart's moment and their aspects to the chart's points and cusps; and the
// place of one star alone.
//
// Goal: the list in 10 ms or less, so that Ctrl-I opens at once.
#include <benchmark/benchmark.h>

#include <stdexcept>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "views/core/fixed_stars.h"

namespace {

struct StarsFixture {
  StarsFixture() {
    const Status st =
        stars.LoadStars(bench::DataFolder() / "Velm.est", bench::DataFolder() / "Velm.int", 1);
    if (!st.ok()) throw std::runtime_error("the shipped star catalogue cannot be read");
    choice = StarAspectChoice::Read(config);
    choice.aspects = {1, 1, 1, 1, 1};
    choice.orbs = {60, 45, 30, 20, 30};
    if (!chart.CalculateMainBodies(ChartContext{config}, 1).ok())
      throw std::runtime_error("the chart cannot be computed");
  }
  AllStars stars;
  const bool tablesLoaded = (bench::Tables(), true);  // before the context takes the ephemeris
  const Configuration config;
  StarAspectChoice choice;
  Chart chart = bench::MoscowChart(13, 5, 1975, 14, 30);
};

void BM_StarList(benchmark::State& state) {
  const StarsFixture f;
  int hits = 0;
  for (auto _ : state) {
    CStarsListBox list;
    list.SelectStars(f.stars, f.chart, f.choice, f.config);
    hits = list.Count();
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = hits;
}
BENCHMARK(BM_StarList)->Unit(benchmark::kMillisecond);

void BM_StarPlace(benchmark::State& state) {
  const StarsFixture f;
  const StarMoment moment(2442546.0);
  for (auto _ : state) benchmark::DoNotOptimize(CalcStarPosition(f.stars.Star(0), moment));
}
BENCHMARK(BM_StarPlace)->Unit(benchmark::kMicrosecond);

}  // namespace
