#include "astrocarto/core/near_towns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/atlas/towns.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr double kRadiusPerDegree = 0.0125;

// A signed coordinate as whole degrees and minutes of its absolute value, to the nearest minute,
// held within `limit` degrees.
struct DegreesMinutes {
  int degrees = 0, minutes = 0;
  bool negative = false;
};

DegreesMinutes Split(double value, double limit) {
  const double held = std::clamp(value, -limit, limit);
  const long total = std::lround(std::abs(held) * 60.0);
  return {static_cast<int>(total / 60), static_cast<int>(total % 60), held < 0.0 && total > 0};
}

}  // namespace

double NearTownRadius(const MapWindow& window, bool zoomed) {
  const double r = ((window.east - window.west) + (window.north - window.south)) * kRadiusPerDegree;
  return zoomed ? 2.0 * r : r;
}

std::string PointLine(double longitude, double latitude) {
  const DegreesMinutes lat = Split(latitude, 90.0), lon = Split(longitude, 180.0);
  char text[32];
  std::snprintf(text, sizeof text, "%.02d%c%.02d  %.03d%c%.02d  ", lat.degrees,
                lat.negative ? 'S' : 'N', lat.minutes, lon.degrees, lon.negative ? 'W' : 'E',
                lon.minutes);
  return text + GetMessageText(kMsgThePoint);
}

Place PlaceOfPoint(double longitude, double latitude) {
  const DegreesMinutes lat = Split(latitude, 90.0), lon = Split(longitude, 180.0);
  Place place;
  // Within the limits above every value is one SetPlace takes.
  (void)place.SetPlace(lat.degrees, lat.minutes, lat.negative ? 'S' : 'N', lon.degrees, lon.minutes,
                       lon.negative ? 'W' : 'E', "", "");
  return place;
}

void SelectedTownsPage::Init(const NearTownList& list, const TOWNS& atlas, double longitude,
                             double latitude) {
  lines.assign(1, PointLine(longitude, latitude));
  towns.clear();
  for (const NearTownList::Entry& entry : list.Entries()) {
    towns.push_back(entry.town);
    lines.push_back(atlas.FormatTown(entry.town));
  }
  chosen.assign(towns.size(), 'N');
  pointChosen = false;
  mode = kRelocation;
}

void SelectedTownsPage::TakeSelection(const std::vector<int>& selectedLines) {
  chosen.assign(towns.size(), 'N');
  pointChosen = false;
  for (const int line : selectedLines) {
    if (line == 0) pointChosen = true;
    if (line >= 1 && static_cast<std::size_t>(line) <= towns.size())
      chosen[static_cast<std::size_t>(line - 1)] = 'Y';
  }
}

std::vector<std::int32_t> SelectedTownsPage::ChosenTowns() const {
  std::vector<std::int32_t> out;
  for (std::size_t i = 0; i < towns.size() && i < chosen.size(); ++i)
    if (chosen[i] == 'Y') out.push_back(towns[i]);
  return out;
}
