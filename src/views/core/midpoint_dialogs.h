// The page models of the midpoints view's two dialogs: the midpoint print set-up
// ("Печать мидпойнтов - конфигурация") and the placement of the aspects-to-a-midpoint list at the
// click that opened it.
#pragma once

#include "foundation/config/byte_block.h"

namespace tables {

inline constexpr int kMidpointListFontMin = 100, kMidpointListFontMax = 20000;
inline constexpr int kMidpointListIntervalMin = 0, kMidpointListIntervalMax = 10000;
inline constexpr int kPrintAsGrid = 0, kPrintAsList = 1;

struct MidpointPrintModel {
  int printForm = kPrintAsGrid;  // 0 the grid, 1 the list
  int samePage = 0;              // 0 the aspect table, 1 planetary hours, 2 nothing
  int fontSize = 1000;           // tenths of a point
  int interval = 100;            // 0.01 mm
  int listChart = 0;             // 0 this chart, 1 the outer chart
  bool hasOuter = false;         // the document has an outer chart

  // The five fields from the configuration's block, each brought into its range.
  void Load(const cfg::ByteBlock& block);
  void Store(cfg::ByteBlock& block) const;

  // The grid enables the same-page choice; the list its font, interval and (with an outer chart)
  // its chart.
  bool SamePageEnabled() const { return printForm == kPrintAsGrid; }
  bool ListFieldsEnabled() const { return printForm == kPrintAsList; }
  bool ListChartEnabled() const { return printForm == kPrintAsList && hasOuter; }
};

struct Spot {
  int x = 0, y = 0;
};

// The top-left corner of a window of `width` x `height` opened at `click` inside an area from
// (0, 0) to (areaWidth, areaHeight), y growing down: at the click, moved left by its width (up by
// its height) when it would pass the right (bottom) edge and there is room on the other side.
Spot PlaceAtClick(Spot click, int width, int height, int areaWidth, int areaHeight);

}  // namespace tables
