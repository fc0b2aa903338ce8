// The question a right click on the map asks: which atlas towns lie near the clicked point, and
// for which of them (and for the point itself) a relocated or geodetic chart is to be built. The
// search radius follows the window on show; the question lists the point first, then the towns
// nearest first, and hands back the towns chosen, the point's choice and the kind of chart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astrocarto/core/regional_maps.h"
#include "foundation/datetime/place.h"

class TOWNS;

// The radius of the town search in degrees: an 80th of the window's width plus its height, twice
// that in a zoomed window (one that is not its map's full extent).
double NearTownRadius(const MapWindow& window, bool zoomed);

// The clicked point to the nearest arc-minute: "DDLMM  DDDLMM  указанное место" with the
// latitude's 'N' or 'S' and the longitude's 'E' or 'W', the numbers without sign (code page 1251).
std::string PointLine(double longitude, double latitude);
// The place of the clicked point for a relocated chart, to the nearest arc-minute, without names.
Place PlaceOfPoint(double longitude, double latitude);

// The page of the nearest-towns question (DSELECTED_TOWNS).
struct SelectedTownsPage {
  static constexpr int kRelocation = 0, kGeodetic = 1;

  std::vector<std::string> lines;   // line 0 the point, then one per town of the list
  std::vector<std::int32_t> towns;  // the atlas number of each town line (line i + 1)
  std::vector<char> chosen;         // 'Y' chosen, 'N' not, per town
  bool pointChosen = false;
  int mode = kRelocation;

  // The lines of the point and of the towns of `list`; nothing chosen, the chart a relocation.
  void Init(const NearTownList& list, const TOWNS& atlas, double longitude, double latitude);
  // The choice from the lines selected in the list: line 0 chooses the point, line i + 1 town i;
  // lines outside the list are ignored.
  void TakeSelection(const std::vector<int>& selectedLines);
  // The atlas numbers of the towns chosen, in the list's order.
  std::vector<std::int32_t> ChosenTowns() const;
};
