// The table of Arabic parts of a chart: one row per part switched on, with its name, optionally
// its formula, its longitude and the chart objects it aspects; its layout on the screen and on
// printed pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "platform/core/dc.h"
#include "views/core/arabic_parts.h"

class ChartContext;
class Configuration;

inline constexpr int kArabHelpContext = 131274;

// The view's settings block, read with every field brought into its range.
struct ArabSettings {
  int printFontSize = 1000;  // 100..10000
  int printInterval = 100;   // 0.01 mm, 0..10000
  int orbClass = 2;          // 1..5
  int planets = 1;           // 0 none, 1 Sun..Pluto, 2 those shown on the chart, 3 all
  int withNodes = 1;         // the lunar nodes (points 16, 17) are tested only with this
  int houses = 1;            // 0 none, 1 Ascendant and MC, 2 all
  int kinds = 1;             // 0 conjunctions, 1 major aspects, 2 all
  int withFormula = 1;
  int chartMode = 0;  // 0 this chart; 1 parts of the natal chart; 2 aspects to the natal chart
  int askEveryTime = 1;

  static ArabSettings Read(const Configuration& config);
  void Write(Configuration& config) const;
  friend bool operator==(const ArabSettings&, const ArabSettings&) = default;
};

// The chart kinds whose parts may be taken from the natal chart behind them (transits,
// progressions, directions, returns).
bool ArabChartModesAllowed(int chartKind);

// One aspect of a part: the object (0..29 a chart point, 30..41 a cusp), the aspect's position in
// its system, and 'E' within the exact orb, 'N' within the orb.
struct ArabAspect {
  std::uint8_t object = 0;
  std::uint8_t position = 0;
  char exactness = 'N';
  friend bool operator==(const ArabAspect&, const ArabAspect&) = default;
};

struct ArabRow {
  int part = 0;  // index in the part list
  double longitude = -777.0;
  std::vector<ArabAspect> aspects;
};

// The aspects of one longitude to the points and cusps of `chart` that the settings choose, in
// `system` (none without a system); `shown` tells which points the chart display shows.
std::vector<ArabAspect> ArabAspectsToPoint(double longitude, const Chart& chart,
                                           const AspectSystem* system, const ArabSettings& s,
                                           const Configuration& config);

class ArabTable {
 public:
  // Computes the rows of the parts switched on. Modes 1 and 2 build the natal chart of the
  // chart's birth data: mode 1 takes the parts from it and the aspects to the chart, mode 2 the
  // reverse (only for the chart kinds that allow them; mode 0 otherwise).
  Status Calculate(const ChartContext& ctx, const Chart& chart, const AllArabParts& parts,
                   const ArabSettings& settings);

  // Measures the name column in widths of "W" and builds the row text (after Calculate).
  void Measure(platform::Dc& dc);

  const std::vector<ArabRow>& Rows() const { return rows_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int MaxAspects() const { return maxAspects_; }
  const AspectSystem* System() const { return system_; }

  // Column positions in widths of "W": the formula, the longitude and the first aspect.
  int NameUnits() const { return nameUnits_; }
  int FormulaColumn() const { return nameUnits_; }
  int LongitudeColumn() const { return nameUnits_ + (settings_.withFormula ? 8 : 0); }
  int AspectColumn() const { return LongitudeColumn() + 6; }
  // A run of "W" as wide as a row.
  const std::string& RowText() const { return rowText_; }

  // Draws row r at (x, y) in the selected text font (glyphs at `glyphSize`), columns `unit` apart.
  void DrawRow(platform::Dc& dc, int r, int x, int y, int glyphSize, int unit) const;
  // The names of the columns at (x, y) in the selected text font, columns `unit` apart, as
  // DrawRow places them.
  void DrawColumnNames(platform::Dc& dc, int x, int y, int unit) const;
  // The largest "Vudurez" size from 3000 at which the row text fits `width`; 100 at the least.
  int FitFontSize(platform::Dc& dc, int width) const;

  // The printed layout.
  struct PrintLayout {
    int fontSize = 1000;
    int interval = 100;
    int pageTop = 0, left = 0, width = 0;  // pageTop: the first row's, under the column names
    int rowsPerPage = 1;
    int pages = 1;
  };
  // The page frame from the margins: the page top, the left edge and the width; the row text at
  // `fontSize` is too wide when RowWidth() exceeds the width (the caller asks message 427).
  PrintLayout PreparePrint(platform::Dc& dc, const Configuration& config, int fontSize,
                           int interval) const;
  int RowWidth(platform::Dc& dc, int fontSize) const;
  // The head of a printed page: the page frame, the chart's block, the ornament and the title.
  void DrawPageHead(platform::Dc& dc, const Configuration& config, const Chart& chart) const;

 private:
  ArabSettings settings_;
  const AllArabParts* parts_ = nullptr;
  AspectSystem ownSystem_;  // a copy of the system the aspects were found in
  const AspectSystem* system_ = nullptr;
  std::vector<ArabRow> rows_;
  int maxAspects_ = 0;
  int nameUnits_ = 0;
  std::string rowText_;
};
