// Painting the full world map with all its cells, the country names and the lines of Sun to
// Pluto and the nodes at 1200 x 800 pixels offscreen (goal: 30 ms), as the view paints it again
// and after its lines have changed.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "astrocarto/core/astrocart_map.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_file.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/qt_dc.h"

namespace {

namespace fs = std::filesystem;

class NoProgress final : public platform::ProgressSink {
 public:
  void Begin() override {}
  void SetPos(int) override {}
  void End() override {}
  bool Cancelled() const override { return false; }
};

// A chart of 2000-01-01 12:00 UT with the bodies spread over the zodiac.
Chart BenchChart() {
  Chart chart;
  Source& s = chart.definition.sources[0];
  (void)s.moment.date.SetDate(1, 1, 2000, 'A');
  (void)s.moment.time.SetTime(12, 0, 0);
  (void)s.zone.SetTime(0, 0, '+');
  for (int p = 0; p < 18; ++p) chart.points[static_cast<std::size_t>(p)].longitude.Set(p * 37.0);
  return chart;
}

// One paint of the map whose lines are as the paint before found them (the view's every paint
// but the first after a change); with `newLines`, the lines changed before each paint, so that
// the line signs are placed anew as after a new calculation.
void PaintWorldMap(benchmark::State& state, bool newLines) {
  const fs::path data = fs::path(VELM_SOURCE_DIR) / "data";
  platform::GlyphSet glyphs;
  if (!LoadGlyphSet(data / "velm.gly", glyphs).ok()) state.SkipWithError("no glyphs");
  platform::InstallGlyphs(&glyphs);
  TOWNS towns;
  (void)towns.Load(data);
  AllMaps maps;
  (void)maps.Init([&data](const std::string& name) { return data / name; }, towns);
  Configuration config;
  AstroCartPage settings;
  settings.nodes = true;
  settings.mapColours = {54, 11, 8, 1, 12, 0, 7, 1};
  settings.lineColours = {12, 7, 2, 10, 4, 9, 8, 3, 11, 5, 6, 13};
  AstroCartMap view(maps, towns);
  NoProgress progress;
  if (!view.Init(settings, config, BenchChart(), progress)) state.SkipWithError("no lines");
  QImage image(1200, 800, QImage::Format_RGB32);
  // 1200 x 800 pixels at 96 dpi in 0.01 mm.
  view.Resize(1200 * 2540 / 96, 800 * 2540 / 96, 1200, 800);
  for (auto _ : state) {
    if (newLines) view.RemoveSecondChart();  // a new stamp for the same lines
    QPainter painter(&image);
    platform::QtDc dc(painter, 96.0, 96.0, false);
    view.Paint(dc);
  }
  platform::InstallGlyphs(nullptr);
  state.counters["cells"] = static_cast<double>(
      view.Rects().borders.size() + view.Rects().seaCells.size() + view.Rects().seaRuns.size());
}

void BM_PaintWorldMap(benchmark::State& state) { PaintWorldMap(state, false); }
BENCHMARK(BM_PaintWorldMap)->Unit(benchmark::kMillisecond);

void BM_PaintWorldMapAfterNewLines(benchmark::State& state) { PaintWorldMap(state, true); }
BENCHMARK(BM_PaintWorldMapAfterNewLines)->Unit(benchmark::kMillisecond);

}  // namespace
