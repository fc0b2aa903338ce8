// The selection of interpretation texts for one chart (goal: a base of 5,000 texts with three
// conditions each within 0.5 s): every text's function an aspect of the Sun and Moon by a
// system's orbs, a sign and a house, joined by an expression so that all three are decided; the
// output of the hits written as well. The index is fresh, as it is after the first selection.
#include <benchmark/benchmark.h>

#include <string>

#include "archive_bench.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "conditions/core/tlr_base.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"

namespace {

void SelectTextsOfABase(benchmark::State& state) {
  const int texts = static_cast<int>(state.range(0));
  archive_bench::SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  const bench::TempFolder folder("velm-bench-texts");
  GetSettings().SetFolder(folder.Path());
  if (!bench::WriteTenAspectSystem(folder.Path(), "BENCH"))
    state.SkipWithError("the aspect system cannot be written");
  Aspectarium aspectarium;
  aspectarium.LoadAll(folder.Path());
  const Configuration config;

  std::string tlt, tlf;
  for (int n = 0; n < texts; ++n) {
    char head[16];
    std::snprintf(head, sizeof head, "^%04d", n);
    tlt += std::string(head) + " ^Text " + std::to_string(n) + "^ /G" + std::to_string(n % 7) +
           "/\nA paragraph of interpretation text for this position.\n";
    tlf += std::string(head) + "\n1&2|3\n" +
           "1 + 0 0 1 1000 \x03 \x03 BENCH 0 0 0 1 0 0 511 3 3 0 0\n" + "2 + 1 0 " +
           std::to_string(100 + n % 12) + " 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n" + "3 + 1 1 " +
           std::to_string(200 + n % 12) + " 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";
  }
  const std::string base = (folder.Path() / "bench").string();
  std::string tlg;
  for (int g = 0; g < 7; ++g) tlg += "10TG" + std::to_string(g) + "\n";
  if (!RewriteFile(base + ".tlt", tlt).ok() || !RewriteFile(base + ".tlf", tlf).ok() ||
      !RewriteFile(base + ".tlg", tlg).ok() ||
      !RewriteFile(folder.Path() / TLRDATA::kListName, "\x03T" + base + "\n").ok())
    state.SkipWithError("the base cannot be written");

  TLRDATA data;
  data.LoadBases();
  const ChartContext context(config, aspectarium);
  // Points spread by 37.3 degrees, houses from 7 degrees: the functions hold on some texts.
  Chart chart = bench::MoscowChart(13, 5, 1975, 14, 30);
  for (int p = 0; p < 34; ++p) {
    double lon = 11.0 + p * 37.3;
    while (lon >= 360.0) lon -= 360.0;
    chart.points[static_cast<std::size_t>(p)].longitude.Set(lon);
  }
  for (int h = 0; h < 12; ++h) chart.cusps[static_cast<std::size_t>(h)].Set(h * 30.0 + 7.0);
  const TlrOutputOptions options;
  data.SelectTexts(context, chart, options);  // builds the index once
  for (auto _ : state) {
    benchmark::DoNotOptimize(data.SelectTexts(context, chart, options));
  }
  state.counters["hits"] = static_cast<double>(data.hits.size());
  GetSettings().SetFolder({});
  platform::SetPrompter(nullptr);
}
BENCHMARK(SelectTextsOfABase)->Arg(5'000)->Unit(benchmark::kMillisecond);

}  // namespace
