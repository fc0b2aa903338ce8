// The map store of the astrocartography views: the world map and ten regional maps, each read
// from three binary outline files ("<name>.mf1", ".mf2", ".mf3"), with the country labels of
// "velm.lnd" and the atlas towns to be labelled on it. Loaded once at start-up; a map whose files
// are missing stays empty (a view then shows no outlines), without a message.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/config/byte_block.h"
#include "foundation/status.h"
#include "platform/core/dc.h"

class TOWNS;
class ACLines;
struct ACMapView;
struct RunSigns;
struct SignLayout;
struct PlacedSign;
struct VisibleRun;

// The part of a map on show, in degrees: longitude east positive, latitude north positive.
struct MapWindow {
  double west = 0.0, east = 0.0, north = 0.0, south = 0.0;
  friend bool operator==(const MapWindow&, const MapWindow&) = default;
};

// One outline point: a raster cell, in hundredths of a degree once converted.
struct MapPoint {
  std::int16_t x = 0, y = 0;
};

// One circle record (centre and radius), in hundredths of a degree once converted.
struct MapCircle {
  std::int16_t x = 0, y = 0, radius = 0;
};

// A country label of a map: its box in degrees and, while a view shows it, its screen rectangle
// (left -1: not placed in the current window).
struct CountryLabel {
  std::string name;  // code page 1251, one word
  double west = 0.0, east = 0.0, north = 0.0, south = 0.0;
  platform::Rect screen{-1, -1, -1, -1};
};

class ACMap {
 public:
  // The eleven values of the ".mf1" header, in file order.
  struct Header {
    std::int16_t first = 0;
    std::int16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double west = 0.0, north = 0.0, east = 0.0, south = 0.0;
    std::int16_t trailing1 = 0, trailing2 = 0;
  };

  static constexpr std::size_t kHeaderBytes = 46;
  static constexpr std::uintmax_t kMaxOutlineBytes = 65534;  // ".mf1" and ".mf2": below 65535
  static constexpr std::uintmax_t kMaxCircleBytes = 65534;   // ".mf3": at most 65534

  ACMap() = default;
  ACMap(std::string name, int meridianSpacing, int parallelSpacing);

  // Reads the three files of the map from `folder` (through `locate` when given). A missing
  // ".mf1" leaves the map empty and is no failure; a missing ".mf2" or ".mf3" leaves that set
  // empty. Failures: error 103 (details 10..20 for the header values, 2 and 3 for the points),
  // message 462 (file too large), 463 (length or header not of the format, or a circle whose
  // radius is negative or past 327.67 degrees, what its 16-bit field holds); the failed set is
  // emptied, a failed ".mf1" empties the whole map, and later files are not read.
  Status Load(const std::function<std::filesystem::path(const std::string&)>& locate);
  // Converts every point and circle from raster units into hundredths of a degree.
  void ConvertCoordinates();
  // One raster pair into hundredths of a degree, truncated toward zero.
  void RasterToDegrees(std::int16_t& x, std::int16_t& y) const;

  // The 20-degree zoom window around a point for a view of `width` x `height` (any one unit; a
  // view without size counts as square).
  MapWindow GetZoomWindow(double longitude, double latitude, double width, double height) const;
  // Scroll range ends and position in whole degrees (vertical positions are negated latitudes).
  int GetScrollLimit(const MapWindow& window, bool vertical, bool upper) const;
  static int GetScrollPosition(const MapWindow& window, bool vertical);
  static void SetWindowFromScroll(MapWindow& window, int position, bool vertical);

  void InitCountryNames(int count);
  void SetCountryName(int i, double west, double north, double east, double south,
                      std::string name);
  // Sizes the three town lists and the label rectangles from the given counts, lists empty.
  void InitTowns(std::size_t class3, std::size_t class2, std::size_t class1);
  void AddTown(int townClass, int town);

  const std::string& Name() const { return name_; }
  const Header& GetHeader() const { return header_; }
  // The map's full extent (its edges).
  MapWindow FullWindow() const {
    return {header_.west, header_.east, header_.north, header_.south};
  }
  bool HasOutline() const { return loaded_; }
  int MeridianSpacing() const { return meridianSpacing_; }
  int ParallelSpacing() const { return parallelSpacing_; }
  const std::vector<MapPoint>& Outline1() const { return outline1_; }
  const std::vector<MapPoint>& Outline2() const { return outline2_; }
  const std::vector<MapCircle>& Circles() const { return circles_; }
  double DegreesAcross() const { return degreesAcross_; }
  double DegreesDown() const { return degreesDown_; }
  std::vector<CountryLabel>& Countries() { return countries_; }
  const std::vector<CountryLabel>& Countries() const { return countries_; }
  // Atlas town numbers of class 3 (most important), 2 and 1, in atlas order.
  const std::vector<std::int32_t>& Towns(int townClass) const;
  std::vector<platform::Rect>& TownLabels(int townClass);  // classes 3 and 2
  int LineSteps() const { return lineSteps_; }
  void SetLineSteps(int steps) { lineSteps_ = steps; }
  int TownLabelSize() const { return townLabelSize_; }
  void SetTownLabelSize(int size) { townLabelSize_ = size; }

  // Drawing on a view (map_drawing.cpp), in logical units of 0.01 mm with y upward.
  // The coordinate grid with its degree labels: meridians and parallels every value 1 and value
  // 2 degrees at the map's full extent, every 4 degrees in a zoomed window.
  void DrawGrid(platform::Dc& dc, const ACMapView& view) const;
  // One meridian ('V') or parallel ('H') with a label at both ends; none within the label margin
  // of the map area's edge.
  void DrawGridLine(platform::Dc& dc, const ACMapView& view, int degrees, int marginAcross,
                    int marginAlong, char kind) const;
  // The label rectangles of the class-3 and class-2 towns in the window (left -1: no label):
  // clear of the country labels, of each other and of the map area's edges; class 2 only in a
  // zoomed window; none at all when the label size is 100 or less.
  void PlaceTownLabels(platform::Dc& dc, const MapWindow& window, const ACMapView& view);
  bool OverlapsCountryLabel(const platform::Rect& r) const;
  // Against the first `count` labels of class 3, or all of class 3 and the first `count` of
  // class 2.
  bool OverlapsTownLabel(const platform::Rect& r, std::size_t count, int townClass) const;
  // The towns in the window as dots, classes 3, 2 and 1, with the labels placed.
  void DrawTowns(platform::Dc& dc, const MapWindow& window, const ACMapView& view) const;
  // The body glyph and line name on the visible runs of the horizon lines, then on the MC and
  // IC lines.
  void DrawLineSigns(platform::Dc& dc, const MapWindow& window, const ACMapView& view,
                     const ACLines& lines) const;
  // One glyph ('M' + point) with the line's name ("AS", "DS", "IC", "MC"; lower case for the
  // second chart) right of it, its top at y.
  static void DrawLineSign(platform::Dc& dc, int size, int x, int y, int point, char kind,
                           bool secondChart, platform::Color colour);
  // Up to two sign positions on a visible run of a horizon line, searched from its ends: the
  // first sample from the end whose sign fits the window, overlaps no sign placed and is clear
  // of the layout's obstacles (other lines, outline cells); when none is, the one that fits,
  // overlaps no sign and meets the fewest obstacles, on an opaque ground.
  static RunSigns PlaceRunSigns(const ACLines& lines, const VisibleRun& run, SignLayout& layout);
  // A sign found from an end whose kind was `startKind` stays only where the line is still of
  // that kind.
  static bool CheckRunSign(const ACLines& lines, int line, double longitude, double latitude,
                           char startKind);
  // Every sign of the lines in the layout's window: those of the horizon lines' visible runs
  // (PlaceRunSigns), then the IC lines', then the MC lines', each at the first latitude upward
  // from the window's south edge where it overlaps no sign placed before and is clear of the
  // layout's obstacles; else where it overlaps no sign and meets the fewest, on an opaque ground.
  static std::vector<PlacedSign> PlaceLineSigns(const ACLines& lines, SignLayout& layout);

 private:
  Status LoadOutline1(const std::filesystem::path& file);
  void Clear();

  std::string name_;
  Header header_;
  bool loaded_ = false;
  int meridianSpacing_ = 0, parallelSpacing_ = 0;
  std::vector<MapPoint> outline1_, outline2_;
  std::vector<MapCircle> circles_;
  double degreesAcross_ = 0.0, degreesDown_ = 0.0;
  std::vector<CountryLabel> countries_;
  std::array<std::vector<std::int32_t>, 3> towns_;         // classes 3, 2, 1
  std::array<std::vector<platform::Rect>, 2> townLabels_;  // classes 3, 2
  int lineSteps_ = 10;
  int townLabelSize_ = 0;
};

class AllMaps {
 public:
  static constexpr int kMapCount = 11;

  // The region table: names (also the file bases) and grid spacings at full extent.
  AllMaps();

  // Start-up: loads every map through `locate` (a file name to its path), then "velm.lnd", then
  // shares the atlas towns out. Returns the failures to report (missing files are none).
  std::vector<Status> Init(const std::function<std::filesystem::path(const std::string&)>& locate,
                           const TOWNS& towns);
  // Reads the country labels of "velm.lnd" text (code page 1251) into the maps it names.
  // Failures to report (error 103 for a short block) are appended to `failures`.
  void LoadCountryNames(std::string_view text, std::vector<Status>& failures);
  void DistributeTowns(const TOWNS& towns);

  int Count() const { return kMapCount; }
  ACMap& Map(int i) { return maps_[static_cast<std::size_t>(i)]; }
  const ACMap& Map(int i) const { return maps_[static_cast<std::size_t>(i)]; }
  // The first map named `name` (at most 20 characters, letter case ignored); null when none.
  ACMap* FindMap(std::string_view name);
  // The first regional map whose edges strictly contain the point; never the world map.
  ACMap* FindRegionalMap(double longitude, double latitude);
  // The largest count over the maps of outline set 1 (kind 1), 2 (kind 2) or the circles.
  int GetMaxPointCount(int kind) const;
  // Samples per degree for the planetary lines by the speed selector: 5, 10, 20, else 50.
  int SetLineSteps(int selector);

 private:
  std::array<ACMap, kMapCount> maps_;
};

// Towns near a point, nearest first: at most 999 atlas town numbers with their squared distances
// in square degrees.
class NearTownList {
 public:
  static constexpr std::size_t kCapacity = 999;
  struct Entry {
    std::int32_t town = 0;
    double distance = 0.0;
  };

  // Every atlas town whose squared distance is below `limit`, in order of distance.
  void Collect(const TOWNS& towns, double longitude, double latitude, double limit);
  // Inserts after the entries of equal or smaller distance. A full list drops its farthest entry
  // for a nearer town and takes no town that is not nearer than its farthest.
  void Insert(std::int32_t town, double distance);
  void Clear() { entries_.clear(); }
  const std::vector<Entry>& Entries() const { return entries_; }
  std::size_t Count() const { return entries_.size(); }

 private:
  std::vector<Entry> entries_;
};
