// The trutine of Hermes over a half-day interval: a few dozen candidate conceptions over the two
// lunar passes near the estimate, each refined by rise searches of the two charts. Goal: a search
// within 0.5 seconds.
#include <benchmark/benchmark.h>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/hermes_trutine.h"

namespace {

void BM_HermesSearch(benchmark::State& state) {
  (void)bench::Tables();
  const Aspectarium aspectarium;
  const Configuration config;
  const ChartContext ctx(config, aspectarium);
  Chart chart = bench::MoscowChart(15, 6, 1985, 8, 0);
  chart.houseSystem = 0;
  (void)ChartCalculate(ctx, chart, 0);
  HermesInput input = HermesInput::FromChart(chart);
  input.from.hour = 2;
  input.to.hour = 14;
  platform::NullProgress progress;
  int variants = 0;
  for (auto _ : state) {
    HermesTrutine t;
    t.Prepare(chart, input);
    (void)t.Search(ctx, progress);
    variants = t.VariantCount();
  }
  state.counters["variants"] = variants;
}
BENCHMARK(BM_HermesSearch)->Unit(benchmark::kMillisecond);

}  // namespace
