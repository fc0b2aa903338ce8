// The town atlas: names, regions, coordinates and a packed code per town, read from "Town.cor"
// (coordinates and codes), "Town.dat" (names and region numbers) and "Town.dst" (region names).
// Names are code page 866 on disk and code page 1251 here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"

// One town's coordinates as degrees, minutes and hemisphere flags, with its names.
struct TownCoords {
  int latitudeDegrees = 0;
  int latitudeMinutes = 0;
  bool south = false;
  int longitudeDegrees = 0;
  int longitudeMinutes = 0;
  bool west = false;
  std::string name;    // code page 1251
  std::string region;  // code page 1251
};

class TOWNS {
 public:
  static constexpr std::size_t kMaxTextLength = 25;  // name and region: at most 25 characters
  static constexpr std::size_t kMaxZoneNameLength = 40;

  // Reads the three atlas files of `folder`. On any failure nothing changes: error 102 when a
  // file cannot be opened, 103 on a read error, 106 when a file is damaged or the files disagree.
  Status Load(const std::filesystem::path& folder);
  Status Load(const std::filesystem::path& corFile, const std::filesystem::path& datFile,
              const std::filesystem::path& dstFile);

  int Count() const { return static_cast<int>(latitudeMinutes_.size()); }
  // The name and the region of town i (empty outside 0..Count()-1).
  std::string_view GetTownName(int i) const;
  std::string_view GetTownRegion(int i) const;

  // Signed decimal degrees, south and west negative; false (outputs unchanged) for a bad index.
  bool GetTownDegrees(int i, double& latitude, double& longitude) const;
  bool GetTownCoords(int i, TownCoords& out) const;
  // The 2-bit field k (0..15) of town i's code; 0 for negative k, k above 15 or a bad index.
  int GetTownCode(int i, int k) const;
  // The standard zone of town i (its clock without summer time), in minutes east of Greenwich,
  // kept in fields 12..15 of its code (0 unknown, else 128 + the offset in quarter hours); false
  // (output unchanged) when the atlas does not know it or for a bad index.
  bool GetTownZone(int i, int& minutesEast) const;
  // The tz database's name of town i's zone as the atlas's source gives it ("Europe/Moscow");
  // empty when the atlas does not know it or for a bad index.
  std::string_view GetTownZoneName(int i) const;
  // "%.02d%c%.02d  %.03d%c%.02d  %s  %s": latitude degrees, N/S, minutes, longitude degrees,
  // E/W, minutes, name, region. Empty for a bad index.
  std::string FormatTown(int i) const;

  // Towns whose names begin with `prefix` (code page 1251, letter case ignored, Ё and Е alike),
  // in name order; then those whose names begin with it when the soft and hard signs (Ь, Ъ) of
  // both are left out ("Анадырь" finds an atlas's "Анадыр", "Уст-Илимск" "Усть-Илимск"); then
  // the towns named in Russian whose Latin names begin with it, in the order of those; at most
  // `limit` of them: the search of the chart-entry dialogs as the user types.
  std::vector<int> FindTownsByPrefix(
      std::string_view prefix, std::size_t limit = std::numeric_limits<std::size_t>::max()) const;

 private:
  std::vector<std::int16_t> latitudeMinutes_;   // north positive
  std::vector<std::int16_t> longitudeMinutes_;  // east positive
  std::vector<std::uint32_t> codes_;
  std::vector<std::uint16_t> regionOfTown_;
  std::string names_;        // all names, code page 1251, one after the other
  std::string searchNames_;  // the same as the search compares them (SearchKey)
  std::vector<std::uint32_t> nameEnds_;
  std::string regions_;
  std::vector<std::uint32_t> regionEnds_;
  std::vector<int> byName_;  // town numbers in the order of their search names
  // The Latin names of towns named in Russian (empty for the others), as names_ are held.
  std::string latinNames_;
  std::string latinSearchNames_;
  std::vector<std::uint32_t> latinEnds_;
  std::vector<int> byLatinName_;  // the towns with a Latin name, in the order of those
  // The search names without their signs (Ь, Ъ) of the towns whose names hold one (empty for the
  // others), and those towns in the order of these.
  std::string signFreeNames_;
  std::vector<std::uint32_t> signFreeEnds_;
  std::vector<int> bySignFreeName_;
  // The tz zone names of the atlas, and per town 0 or 1 + its zone's number (empty: none known).
  std::string zoneNames_;
  std::vector<std::uint32_t> zoneNameEnds_;
  std::vector<std::uint16_t> zoneOfTown_;
};

// The program's one atlas, loaded at start.
TOWNS& GetTowns();
