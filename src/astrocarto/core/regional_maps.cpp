#include "astrocarto/core/regional_maps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "foundation/atlas/towns.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/collation.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLoadTrace = "ACMap::Load";
constexpr const char* kCountryTrace = "AllMaps::LoadCountryNames";

struct Region {
  const char* name;
  int meridianSpacing;
  int parallelSpacing;
};

constexpr std::array<Region, AllMaps::kMapCount> kRegions = {{{"World", 40, 40},
                                                              {"Camer", 10, 10},
                                                              {"Namer", 20, 20},
                                                              {"Samer", 10, 20},
                                                              {"Weurop", 10, 10},
                                                              {"Neurop", 10, 10},
                                                              {"Russia", 20, 15},
                                                              {"Middle", 5, 5},
                                                              {"Afri", 20, 20},
                                                              {"Asia", 30, 20},
                                                              {"Austra", 20, 20}}};

// The size of a file that exists; -1 when it does not (or is no regular file).
std::intmax_t SizeOf(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return -1;
  const std::uintmax_t size = fs::file_size(file, ec);
  return ec ? -1 : static_cast<std::intmax_t>(size);
}

// The largest circle radius in degrees that its 16-bit field holds in hundredths.
constexpr double kMaxRadiusDeg = 327.67;

// A converted value into int16, truncated toward zero; values beyond the globe are held at its
// edge, so a stray raster value can never overflow.
std::int16_t Hundredths(double degrees, double limit) {
  return static_cast<std::int16_t>(std::trunc(std::clamp(degrees, -limit, limit) * 100.0));
}

// Reads one point set file: `entrySize` bytes per entry, each `entrySize / 2` int16 values.
template <typename T>
Status LoadSet(const fs::path& file, std::size_t entrySize, std::uintmax_t maxBytes, int detail,
               std::vector<T>& out) {
  out.clear();
  const std::intmax_t size = SizeOf(file);
  if (size < 0) return Status::Ok();  // a missing file is an empty set
  if (static_cast<std::uintmax_t>(size) > maxBytes)
    return Status::Message(kMsgFileTooLarge, file.string());
  if (static_cast<std::size_t>(size) % entrySize != 0)
    return Status::Message(kMsgWrongFormat, file.string());
  std::string bytes;
  if (Status read = ReadWholeFile(file, bytes); !read.ok())
    return Status::Error(read.ErrorCode(), kLoadTrace, detail);
  if (bytes.size() != static_cast<std::size_t>(size))
    return Status::Error(kErrRead, kLoadTrace, detail);
  BinaryReader reader(bytes);
  out.resize(bytes.size() / entrySize);
  for (T& entry : out) {
    entry.x = reader.I16();
    entry.y = reader.I16();
    if constexpr (sizeof(T) == 6) entry.radius = reader.I16();
  }
  return Status::Ok();
}

}  // namespace

ACMap::ACMap(std::string name, int meridianSpacing, int parallelSpacing)
    : name_(std::move(name)),
      meridianSpacing_(meridianSpacing),
      parallelSpacing_(parallelSpacing) {}

void ACMap::Clear() {
  header_ = Header{};
  loaded_ = false;
  outline1_.clear();
  outline2_.clear();
  circles_.clear();
  degreesAcross_ = degreesDown_ = 0.0;
}

Status ACMap::LoadOutline1(const fs::path& file) {
  const std::intmax_t size = SizeOf(file);
  if (size < 0) return Status::Ok();
  if (static_cast<std::uintmax_t>(size) > kMaxOutlineBytes)
    return Status::Message(kMsgFileTooLarge, file.string());
  std::string bytes;
  if (Status read = ReadWholeFile(file, bytes); !read.ok())
    return Status::Error(read.ErrorCode(), kLoadTrace, 1);

  // The header values one by one: a file that ends inside value k is a short read of it.
  BinaryReader reader(bytes);
  Header h;
  int detail = 10;
  auto shortRead = [&] { return !reader.Ok(); };
  h.first = reader.I16();
  if (shortRead()) return Status::Error(kErrRead, kLoadTrace, detail);
  std::int16_t* rasters[] = {&h.xMin, &h.yMin, &h.xMax, &h.yMax};
  for (std::int16_t* value : rasters) {
    ++detail;
    *value = reader.I16();
    if (shortRead()) return Status::Error(kErrRead, kLoadTrace, detail);
  }
  double* edges[] = {&h.west, &h.north, &h.east, &h.south};
  for (double* value : edges) {
    ++detail;
    *value = reader.F64();
    if (shortRead()) return Status::Error(kErrRead, kLoadTrace, detail);
  }
  for (std::int16_t* value : {&h.trailing1, &h.trailing2}) {
    ++detail;
    *value = reader.I16();
    if (shortRead()) return Status::Error(kErrRead, kLoadTrace, detail);
  }
  if ((bytes.size() - kHeaderBytes) % 4 != 0)
    return Status::Message(kMsgWrongFormat, file.string());
  // A map lies between the poles and does not cross the antimeridian, and its raster has size.
  const bool edgesSound = std::isfinite(h.west) && std::isfinite(h.east) &&
                          std::isfinite(h.north) && std::isfinite(h.south) && -180.0 <= h.west &&
                          h.west < h.east && h.east <= 180.0 && -90.0 <= h.south &&
                          h.south < h.north && h.north <= 90.0;
  if (!edgesSound || h.xMax < h.xMin || h.yMax < h.yMin)
    return Status::Message(kMsgWrongFormat, file.string());

  outline1_.resize((bytes.size() - kHeaderBytes) / 4);
  for (MapPoint& p : outline1_) {
    p.x = reader.I16();
    p.y = reader.I16();
  }
  header_ = h;
  loaded_ = true;
  return Status::Ok();
}

Status ACMap::Load(const std::function<fs::path(const std::string&)>& locate) {
  Clear();
  if (Status st = LoadOutline1(locate(name_ + ".mf1")); !st.ok()) {
    Clear();
    return st;
  }
  if (!loaded_) return Status::Ok();  // no map of this region
  if (Status st = LoadSet(locate(name_ + ".mf2"), 4, kMaxOutlineBytes, 2, outline2_); !st.ok()) {
    outline2_.clear();
    return st;
  }
  const fs::path circleFile = locate(name_ + ".mf3");
  if (Status st = LoadSet(circleFile, 6, kMaxCircleBytes, 3, circles_); !st.ok()) {
    circles_.clear();
    return st;
  }
  // A radius is converted by the raster's width into hundredths of a degree in 16 bits: one that
  // is negative or would not fit comes from a damaged file.
  const double degreesAcross =
      (header_.east - header_.west) / (static_cast<double>(header_.xMax) - header_.xMin + 1.0);
  for (const MapCircle& c : circles_) {
    if (c.radius < 0 || c.radius * degreesAcross > kMaxRadiusDeg) {
      circles_.clear();
      return Status::Message(kMsgWrongFormat, circleFile.string());
    }
  }
  return Status::Ok();
}

void ACMap::RasterToDegrees(std::int16_t& x, std::int16_t& y) const {
  const double width = static_cast<double>(header_.xMax) - header_.xMin + 1.0;
  const double height = static_cast<double>(header_.yMax) - header_.yMin + 1.0;
  const double longitude =
      (x - static_cast<double>(header_.xMin)) / width * (header_.east - header_.west) +
      header_.west;
  const double latitude = header_.north - (y - static_cast<double>(header_.yMin)) / height *
                                              (header_.north - header_.south);
  x = Hundredths(longitude, 180.0);
  y = Hundredths(latitude, 90.0);
}

void ACMap::ConvertCoordinates() {
  if (!loaded_) return;
  const double width = static_cast<double>(header_.xMax) - header_.xMin + 1.0;
  const double height = static_cast<double>(header_.yMax) - header_.yMin + 1.0;
  degreesAcross_ = (header_.east - header_.west) / width;
  degreesDown_ = (header_.north - header_.south) / height;
  for (MapPoint& p : outline1_) RasterToDegrees(p.x, p.y);
  for (MapPoint& p : outline2_) RasterToDegrees(p.x, p.y);
  for (MapCircle& c : circles_) {
    RasterToDegrees(c.x, c.y);
    c.radius = Hundredths(c.radius * degreesAcross_, kMaxRadiusDeg);
  }
}

MapWindow ACMap::GetZoomWindow(double longitude, double latitude, double width,
                               double height) const {
  MapWindow w;
  w.west = std::floor(longitude - 10.0);
  w.east = std::floor(longitude + 10.0);
  if (w.west < header_.west) {
    w.west = header_.west;
    w.east = header_.west + 20.0;
  }
  if (w.east > header_.east) {
    w.east = header_.east;
    w.west = w.east - 20.0;
  }
  if (w.west > 160.0) {
    w.west = 160.0;
    w.east = 180.0;
  } else if (w.east < -160.0) {
    w.east = -160.0;
    w.west = -180.0;
  }
  // A view without size (minimised) counts as square.
  const double aspect = (width > 0.0 && height > 0.0) ? width / height : 1.0;
  const double span = std::floor(std::min(20.0 / aspect, 160.0));
  w.north = std::floor(latitude + span / 2.0);
  w.south = std::floor(latitude - span / 2.0);
  if (w.north > 80.0) {
    w.north = 80.0;
    w.south = 80.0 - span;
  }
  if (w.south < -80.0) {
    w.south = -80.0;
    w.north = span - 80.0;
  }
  if (w.north > header_.north) {
    w.north = header_.north;
    w.south = w.north - span;
  }
  if (w.south < header_.south) {
    w.south = header_.south;
    w.north = w.south + span;
  }
  return w;
}

int ACMap::GetScrollLimit(const MapWindow& window, bool vertical, bool upper) const {
  int lower = 0, top = 0;
  if (vertical) {
    lower = -static_cast<int>(std::floor(header_.north));
    top = -static_cast<int>(std::ceil(header_.south + (window.north - window.south)));
  } else {
    lower = static_cast<int>(std::floor(header_.west));
    top = static_cast<int>(std::ceil(header_.east - 20.0));
  }
  // A map smaller than the window has one position.
  return upper ? std::max(lower, top) : lower;
}

int ACMap::GetScrollPosition(const MapWindow& window, bool vertical) {
  return vertical ? -static_cast<int>(std::trunc(window.north))
                  : static_cast<int>(std::trunc(window.west));
}

void ACMap::SetWindowFromScroll(MapWindow& window, int position, bool vertical) {
  if (vertical) {
    const double height = window.north - window.south;
    window.north = -position;
    window.south = window.north - height;
  } else {
    window.west = position;
    window.east = position + 20.0;
  }
}

void ACMap::InitCountryNames(int count) {
  countries_.assign(count > 0 ? static_cast<std::size_t>(count) : 0, CountryLabel{});
}

void ACMap::SetCountryName(int i, double west, double north, double east, double south,
                           std::string name) {
  if (i < 0 || static_cast<std::size_t>(i) >= countries_.size()) return;
  CountryLabel& c = countries_[static_cast<std::size_t>(i)];
  c.name = std::move(name);
  c.west = west;
  c.north = north;
  c.east = east;
  c.south = south;
  c.screen = platform::Rect{-1, -1, -1, -1};
}

void ACMap::InitTowns(std::size_t class3, std::size_t class2, std::size_t class1) {
  const std::size_t counts[3] = {class3, class2, class1};
  for (int i = 0; i < 3; ++i) {
    towns_[static_cast<std::size_t>(i)].clear();
    towns_[static_cast<std::size_t>(i)].reserve(counts[i]);
  }
  townLabels_[0].assign(class3, platform::Rect{-1, -1, -1, -1});
  townLabels_[1].assign(class2, platform::Rect{-1, -1, -1, -1});
}

void ACMap::AddTown(int townClass, int town) {
  if (townClass < 1 || townClass > 3) return;
  towns_[static_cast<std::size_t>(3 - townClass)].push_back(town);
}

const std::vector<std::int32_t>& ACMap::Towns(int townClass) const {
  static const std::vector<std::int32_t> kNone;
  if (townClass < 1 || townClass > 3) return kNone;
  return towns_[static_cast<std::size_t>(3 - townClass)];
}

std::vector<platform::Rect>& ACMap::TownLabels(int townClass) {
  return townLabels_[townClass == 3 ? 0 : 1];
}

AllMaps::AllMaps() {
  for (std::size_t i = 0; i < maps_.size(); ++i)
    maps_[i] = ACMap(kRegions[i].name, kRegions[i].meridianSpacing, kRegions[i].parallelSpacing);
}

std::vector<Status> AllMaps::Init(const std::function<fs::path(const std::string&)>& locate,
                                  const TOWNS& towns) {
  std::vector<Status> failures;
  for (ACMap& map : maps_) {
    if (Status st = map.Load(locate); !st.ok()) failures.push_back(std::move(st));
    map.ConvertCoordinates();
  }
  const fs::path lnd = locate(g_DataFileNames[kDataMapTowns]);
  if (SizeOf(lnd) >= 0) {
    std::string text;
    if (Status read = ReadWholeFile(lnd, text); read.ok())
      LoadCountryNames(text, failures);
    else
      failures.push_back(Status::Error(read.ErrorCode(), kCountryTrace, 0));
  }
  DistributeTowns(towns);
  return failures;
}

void AllMaps::LoadCountryNames(std::string_view text, std::vector<Status>& failures) {
  // The lines, carriage returns and line feeds cut, each at most 79 characters.
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    std::erase(line, '\r');
    if (line.size() > 79) line.resize(79);
    lines.push_back(std::move(line));
    start = end + 1;
  }

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] != '#') continue;
    const std::size_t blank = line.find(' ', 1);
    std::string name = line.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
    if (name.size() > 20) name.resize(20);
    ACMap* map = FindMap(name);
    if (map == nullptr) continue;
    long count = 0;
    if (blank != std::string::npos) count = std::strtol(line.c_str() + blank, nullptr, 10);
    // A count beyond the lines that follow can only be a damaged file.
    count = std::clamp<long>(count, 0, static_cast<long>(lines.size() - i - 1));
    map->InitCountryNames(static_cast<int>(count));
    for (long k = 0; k < count; ++k) {
      const std::string& row = lines[i + 1 + static_cast<std::size_t>(k)];
      double west = 0, north = 0, east = 0, south = 0;
      char label[80] = {};
      if (std::sscanf(row.c_str(), "%lf %lf %lf %lf %79s", &west, &north, &east, &south, label) !=
          5) {
        failures.push_back(Status::Error(kErrRead, kCountryTrace, 0));
        break;
      }
      map->SetCountryName(static_cast<int>(k), west, north, east, south, label);
    }
  }
}

void AllMaps::DistributeTowns(const TOWNS& towns) {
  // The class of a town on map m is field m - 1 of its code: field -1 is 0, so the world map
  // carries no towns.
  const int count = towns.Count();
  for (int m = 0; m < kMapCount; ++m) {
    std::size_t counts[4] = {0, 0, 0, 0};
    for (int t = 0; t < count; ++t) ++counts[towns.GetTownCode(t, m - 1) & 3];
    ACMap& map = maps_[static_cast<std::size_t>(m)];
    map.InitTowns(counts[3], counts[2], counts[1]);
    for (int t = 0; t < count; ++t) {
      const int townClass = towns.GetTownCode(t, m - 1) & 3;
      if (townClass != 0) map.AddTown(townClass, t);
    }
  }
}

ACMap* AllMaps::FindMap(std::string_view name) {
  for (ACMap& map : maps_)
    if (CompareStrings(map.Name(), name, 20, true, Collation::kLatinFirst) == kCompareEqual)
      return &map;
  return nullptr;
}

ACMap* AllMaps::FindRegionalMap(double longitude, double latitude) {
  for (std::size_t i = 1; i < maps_.size(); ++i) {
    const ACMap::Header& h = maps_[i].GetHeader();
    if (maps_[i].HasOutline() && h.west < longitude && longitude < h.east && h.south < latitude &&
        latitude < h.north)
      return &maps_[i];
  }
  return nullptr;
}

int AllMaps::GetMaxPointCount(int kind) const {
  std::size_t most = 0;
  for (const ACMap& map : maps_) {
    const std::size_t n = kind == 1   ? map.Outline1().size()
                          : kind == 2 ? map.Outline2().size()
                                      : map.Circles().size();
    most = std::max(most, n);
  }
  return static_cast<int>(most);
}

int AllMaps::SetLineSteps(int selector) {
  const int steps = selector == 0 ? 5 : selector == 1 ? 10 : selector == 2 ? 20 : 50;
  for (ACMap& map : maps_) map.SetLineSteps(steps);
  return steps;
}

void NearTownList::Insert(std::int32_t town, double distance) {
  // A full list keeps the nearest towns: a nearer one pushes the farthest out, one no nearer than
  // the farthest is not taken (equal distances keep the atlas order).
  if (entries_.size() >= kCapacity) {
    if (distance >= entries_.back().distance) return;
    entries_.pop_back();
  }
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), distance,
                                   [](double d, const Entry& e) { return d < e.distance; });
  entries_.insert(at, Entry{town, distance});
}

void NearTownList::Collect(const TOWNS& towns, double longitude, double latitude, double limit) {
  entries_.clear();
  for (int t = 0; t < towns.Count(); ++t) {
    double townLatitude = 0.0, townLongitude = 0.0;
    if (!towns.GetTownDegrees(t, townLatitude, townLongitude)) continue;
    const double dx = longitude - townLongitude, dy = latitude - townLatitude;
    const double d = dx * dx + dy * dy;
    if (d < limit) Insert(t, d);
  }
}
