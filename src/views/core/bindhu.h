// The Bindhu table: which zodiacal degrees are struck by the aspects of the chosen bodies and
// house cusps of a chart. A grid of 30 degree rows by 12 sign columns; each cell lists the events
// of its degree and sign, each the aspect's glyph with the glyph of the body or cusp casting it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

inline constexpr int kBindhuHelpContext = 131268;
inline constexpr int kBindhuFirstCusp = 200;  // object codes of the cusps: 200 + k for house k + 1

// The table's settings block, every field brought into its range.
struct BindhuChoice {
  int bodies = 2;   // 0 none, 1 the luminaries, 2 Sun..Pluto, 3 those shown on the chart, 4 all
  int houses = 2;   // 0 none, 1 Ascendant, 2 Ascendant and MC, 3 the angles, 4 all cusps
  int aspects = 1;  // 0 conjunctions, 1 major aspects, 2 all
  int nodes = 1;
  int showEveryTime = 1;
  int minutes = 0;
  int onePage = 0;
  int layout = 0;
  int printFontSize = 1000;  // 100..10000

  static BindhuChoice Read(const Configuration& config);
  void Write(Configuration& config) const;
  friend bool operator==(const BindhuChoice&, const BindhuChoice&) = default;
};

struct BindhuEvent {
  int degree = 0;   // 0..359, the whole degree struck
  int aspect = 0;   // position in the aspect system
  int object = 0;   // body 0..33, or 200 + k for cusp k + 1
  int minutes = 0;  // of the struck point, when the aspect's angle is not whole
  friend bool operator==(const BindhuEvent&, const BindhuEvent&) = default;
};

class BINDHU {
 public:
  static constexpr int kRows = 30;
  static constexpr int kHeaderUnits = 2;

  // The events of the chart in `system` (none without one); points without a longitude give none.
  void Calculate(const Chart& chart, const AspectSystem* system, const BindhuChoice& settings,
                 const Configuration& config);

  const std::vector<BindhuEvent>& Events() const { return events_; }
  // Rows are two units per event of the fullest sign of the degree, one without events.
  int RowUnits(int degree) const { return rowUnits_[static_cast<std::size_t>(degree)]; }
  // The rows and the header.
  int TotalUnits() const { return totalUnits_; }
  const AspectSystem* System() const { return system_ ? &*system_ : nullptr; }

  // The grid's layout: 13 equal columns (degree numbers, then the signs), the glyph size and the
  // row unit.
  struct Layout {
    int left = 50, top = 100;
    int columnWidth = 1;
    int glyphSize = 100;
    int unit = 1;
    int numberHeight = 1;  // of a degree's number: the least height of a row
    bool printing = false;
  };
  // The height of degree `degree`'s row: its units, and never less than its number.
  int RowHeight(const Layout& layout, int degree) const {
    return std::max(RowUnits(degree) * layout.unit, layout.numberHeight);
  }
  // On the screen: a client `width` wide (logical units).
  Layout ScreenLayout(platform::Dc& dc, int width) const;
  // On paper, from the print margins: the size fitted to the columns, limited by the height on
  // one page or by the configured print size otherwise.
  Layout PaperLayout(platform::Dc& dc, const Configuration& config,
                     const BindhuChoice& settings) const;
  // The first degree row of each printed page (one page with the one-page option).
  std::vector<int> PageStarts(const Layout& layout, const Configuration& config,
                              const BindhuChoice& settings) const;

  // The header and the rows from `first` down to `last` (inclusive), stopping on the screen below
  // `bottom` (a logical y; paper draws every row).
  void Draw(platform::Dc& dc, const Layout& layout, int first, int last, int bottom,
            bool showMinutes) const;
  // The head of a printed page: frame, the chart's block, the ornament and the title.
  static void DrawPageHead(platform::Dc& dc, const Configuration& config, const Chart& chart);

 private:
  std::vector<BindhuEvent> events_;
  std::array<int, kRows> rowUnits_{};
  int totalUnits_ = kHeaderUnits + kRows;
  std::optional<AspectSystem> system_;
};

// The first row shown after a scroll code of the view's bar (range 0..29, a page is 5 rows).
int BindhuScroll(int code, int thumb, int first);
