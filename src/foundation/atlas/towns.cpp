#include "foundation/atlas/towns.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/text/code_page_866.h"
#include "foundation/text/text_helpers.h"

namespace {

// File layout (little-endian), each file: a 4-byte magic and a u16 version, then
//   Town.cor  u32 count; per town i16 latitude and i16 longitude in minutes (north and east
//             positive), u32 code (2-bit field k at bits 2k and 2k + 1)
//   Town.dat  u32 count; in version 3 then u16 zone count and per zone u8 length 1..40 and its
//             tz name (letters, digits, '/', '_', '+', '-'); per town u16 region number, u8 name
//             length 1..25, the name (866); from version 2 then u8 length 0..25 and the Latin
//             name of a town named in Russian; in version 3 then u16 the town's tz zone (0 none,
//             else 1 + the zone's number)
//   Town.dst  u16 count; per region u8 length 1..25, the name (866)
constexpr std::uint16_t kVersion = 1;
constexpr std::uint16_t kNamesWithLatinVersion = 2;
constexpr std::uint16_t kNamesWithZonesVersion = 3;
constexpr std::uint32_t kMaxTowns = 1'000'000;
constexpr int kMaxLatitudeMinutes = 90 * 60;
constexpr int kMaxLongitudeMinutes = 180 * 60;

std::string_view Slice(const std::string& pool, const std::vector<std::uint32_t>& ends, int i) {
  const std::uint32_t begin = i == 0 ? 0 : ends[static_cast<std::size_t>(i) - 1];
  return std::string_view(pool).substr(begin, ends[static_cast<std::size_t>(i)] - begin);
}

// A search key without its soft and hard signs (upper-case Ь and Ъ of code page 1251): atlas
// names and what users type disagree on them ("Анадыр" and "Анадырь").
std::string WithoutSigns(std::string_view key) {
  std::string bare;
  bare.reserve(key.size());
  for (const char c : key)
    if (c != '\xDC' && c != '\xDA') bare += c;
  return bare;
}

bool ReadHeader(BinaryReader& in, std::string_view magic) {
  return in.Bytes(magic.size()) == magic && in.U16() == kVersion && in.Ok();
}

// The version of a header whose magic is `magic` and whose version is 1, 2 or 3; 0 for another.
int ReadNamesHeader(BinaryReader& in, std::string_view magic) {
  if (in.Bytes(magic.size()) != magic) return 0;
  const std::uint16_t version = in.U16();
  return in.Ok() && version >= kVersion && version <= kNamesWithZonesVersion ? version : 0;
}

// A tz zone name of 1..kMaxZoneNameLength characters of the database's alphabet, a path inside
// the database's folder (no '.', no '/' first, last or twice), appended to `pool`.
bool ReadZoneName(BinaryReader& in, std::string& pool, std::vector<std::uint32_t>& ends) {
  const std::size_t length = in.U8();
  const std::string_view text = in.Bytes(length);
  if (!in.Ok() || length == 0 || length > TOWNS::kMaxZoneNameLength) return false;
  if (text.front() == '/' || text.back() == '/' || text.find("//") != std::string_view::npos)
    return false;
  for (const char c : text) {
    const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                         (c >= '0' && c <= '9') || c == '/' || c == '_' || c == '+' || c == '-';
    if (!allowed) return false;
  }
  pool.append(text);
  ends.push_back(static_cast<std::uint32_t>(pool.size()));
  return true;
}

// A name of 1..25 printable characters (0..25 when `mayBeEmpty`) appended to `pool`.
bool ReadText(BinaryReader& in, std::string& pool, std::vector<std::uint32_t>& ends,
              bool mayBeEmpty = false) {
  const std::size_t length = in.U8();
  const std::string_view text = in.Bytes(length);
  if (!in.Ok() || (length == 0 && !mayBeEmpty) || length > TOWNS::kMaxTextLength) return false;
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  pool.append(text);
  ends.push_back(static_cast<std::uint32_t>(pool.size()));
  return true;
}

}  // namespace

Status TOWNS::Load(const std::filesystem::path& folder) {
  return Load(folder / "Town.cor", folder / "Town.dat", folder / "Town.dst");
}

Status TOWNS::Load(const std::filesystem::path& corFile, const std::filesystem::path& datFile,
                   const std::filesystem::path& dstFile) {
  std::string cor, dat, dst;
  if (Status st = ReadWholeFile(corFile, cor); !st.ok()) return st;
  if (Status st = ReadWholeFile(datFile, dat); !st.ok()) return st;
  if (Status st = ReadWholeFile(dstFile, dst); !st.ok()) return st;

  TOWNS atlas;
  BinaryReader regionsIn(dst);
  if (!ReadHeader(regionsIn, "VTWR")) return Status::Error(kErrFormat, dstFile.string(), 1);
  const int regionCount = regionsIn.U16();
  for (int r = 0; r < regionCount; ++r) {
    if (!ReadText(regionsIn, atlas.regions_, atlas.regionEnds_))
      return Status::Error(kErrFormat, dstFile.string(), 2);
  }
  if (regionsIn.Remaining() != 0) return Status::Error(kErrFormat, dstFile.string(), 3);

  BinaryReader coordsIn(cor);
  if (!ReadHeader(coordsIn, "VTWC")) return Status::Error(kErrFormat, corFile.string(), 1);
  const std::uint32_t count = coordsIn.U32();
  if (!coordsIn.Ok() || count > kMaxTowns || coordsIn.Remaining() != 8ull * count)
    return Status::Error(kErrFormat, corFile.string(), 2);
  atlas.latitudeMinutes_.resize(count);
  atlas.longitudeMinutes_.resize(count);
  atlas.codes_.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int16_t latitude = coordsIn.I16();
    const std::int16_t longitude = coordsIn.I16();
    if (std::abs(latitude) > kMaxLatitudeMinutes || std::abs(longitude) > kMaxLongitudeMinutes)
      return Status::Error(kErrFormat, corFile.string(), 3);
    atlas.latitudeMinutes_[i] = latitude;
    atlas.longitudeMinutes_[i] = longitude;
    atlas.codes_[i] = coordsIn.U32();
  }

  BinaryReader namesIn(dat);
  const int namesVersion = ReadNamesHeader(namesIn, "VTWD");
  if (namesVersion == 0) return Status::Error(kErrFormat, datFile.string(), 1);
  if (namesIn.U32() != count || !namesIn.Ok())
    return Status::Error(kErrFormat, datFile.string(), 2);
  std::size_t zoneCount = 0;
  if (namesVersion == kNamesWithZonesVersion) {
    zoneCount = namesIn.U16();
    for (std::size_t z = 0; z < zoneCount; ++z) {
      if (!ReadZoneName(namesIn, atlas.zoneNames_, atlas.zoneNameEnds_))
        return Status::Error(kErrFormat, datFile.string(), 5);
    }
    atlas.zoneOfTown_.resize(count);
  }
  atlas.regionOfTown_.resize(count);
  atlas.nameEnds_.reserve(count);
  atlas.names_.reserve(dat.size());
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint16_t region = namesIn.U16();
    if (region >= regionCount || !ReadText(namesIn, atlas.names_, atlas.nameEnds_))
      return Status::Error(kErrFormat, datFile.string(), 3);
    atlas.regionOfTown_[i] = region;
    if (namesVersion >= kNamesWithLatinVersion &&
        !ReadText(namesIn, atlas.latinNames_, atlas.latinEnds_, true))
      return Status::Error(kErrFormat, datFile.string(), 3);
    if (namesVersion == kNamesWithZonesVersion) {
      const std::uint16_t zone = namesIn.U16();
      if (!namesIn.Ok() || zone > zoneCount) return Status::Error(kErrFormat, datFile.string(), 5);
      atlas.zoneOfTown_[i] = zone;
    }
  }
  if (namesIn.Remaining() != 0) return Status::Error(kErrFormat, datFile.string(), 4);

  ConvertString866To1251(atlas.names_);
  ConvertString866To1251(atlas.regions_);
  atlas.searchNames_ = SearchKey(atlas.names_);
  atlas.byName_.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) atlas.byName_[i] = static_cast<int>(i);
  // Each town's key cut once, not at every comparison of the sorts.
  std::vector<std::string_view> keys(count);
  for (std::uint32_t i = 0; i < count; ++i)
    keys[i] = Slice(atlas.searchNames_, atlas.nameEnds_, static_cast<int>(i));
  const auto byKey = [&keys](int a, int b) {
    return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
  };
  // An atlas written in name order is not sorted again.
  if (!std::is_sorted(atlas.byName_.begin(), atlas.byName_.end(), byKey))
    std::stable_sort(atlas.byName_.begin(), atlas.byName_.end(), byKey);
  // The towns whose names hold a sign, in the order of their names without it.
  atlas.signFreeEnds_.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::string bare = WithoutSigns(keys[i]);
    if (bare.size() != keys[i].size()) {
      atlas.signFreeNames_ += bare;
      atlas.bySignFreeName_.push_back(static_cast<int>(i));
    }
    atlas.signFreeEnds_[i] = static_cast<std::uint32_t>(atlas.signFreeNames_.size());
  }
  keys.assign(count, std::string_view());
  for (const int i : atlas.bySignFreeName_)
    keys[static_cast<std::size_t>(i)] = Slice(atlas.signFreeNames_, atlas.signFreeEnds_, i);
  std::stable_sort(atlas.bySignFreeName_.begin(), atlas.bySignFreeName_.end(), byKey);
  // The towns with a Latin name beside their Russian one, in the order of the Latin names.
  ConvertString866To1251(atlas.latinNames_);
  atlas.latinSearchNames_ = SearchKey(atlas.latinNames_);
  keys.assign(atlas.latinEnds_.size(), std::string_view());
  for (std::size_t i = 0; i < atlas.latinEnds_.size(); ++i) {
    if (Slice(atlas.latinNames_, atlas.latinEnds_, static_cast<int>(i)).empty()) continue;
    atlas.byLatinName_.push_back(static_cast<int>(i));
    keys[i] = Slice(atlas.latinSearchNames_, atlas.latinEnds_, static_cast<int>(i));
  }
  std::stable_sort(atlas.byLatinName_.begin(), atlas.byLatinName_.end(), byKey);

  *this = std::move(atlas);
  return Status::Ok();
}

std::string_view TOWNS::GetTownName(int i) const {
  if (i < 0 || i >= Count()) return {};
  return Slice(names_, nameEnds_, i);
}

std::string_view TOWNS::GetTownRegion(int i) const {
  if (i < 0 || i >= Count()) return {};
  return Slice(regions_, regionEnds_, regionOfTown_[static_cast<std::size_t>(i)]);
}

bool TOWNS::GetTownDegrees(int i, double& latitude, double& longitude) const {
  if (i < 0 || i >= Count()) return false;
  latitude = latitudeMinutes_[static_cast<std::size_t>(i)] / 60.0;
  longitude = longitudeMinutes_[static_cast<std::size_t>(i)] / 60.0;
  return true;
}

bool TOWNS::GetTownCoords(int i, TownCoords& out) const {
  if (i < 0 || i >= Count()) return false;
  const int latitude = latitudeMinutes_[static_cast<std::size_t>(i)];
  const int longitude = longitudeMinutes_[static_cast<std::size_t>(i)];
  out.latitudeDegrees = std::abs(latitude) / 60;
  out.latitudeMinutes = std::abs(latitude) % 60;
  out.south = latitude < 0;
  out.longitudeDegrees = std::abs(longitude) / 60;
  out.longitudeMinutes = std::abs(longitude) % 60;
  out.west = longitude < 0;
  out.name = GetTownName(i);
  out.region = GetTownRegion(i);
  return true;
}

int TOWNS::GetTownCode(int i, int k) const {
  if (i < 0 || i >= Count() || k < 0 || k > 15) return 0;
  return static_cast<int>((codes_[static_cast<std::size_t>(i)] >> (2 * k)) & 3u);
}

bool TOWNS::GetTownZone(int i, int& minutesEast) const {
  constexpr int kZoneShift = 24;
  constexpr int kZoneBase = 128;
  if (i < 0 || i >= Count()) return false;
  const int code = static_cast<int>(codes_[static_cast<std::size_t>(i)] >> kZoneShift) & 0xFF;
  if (code == 0) return false;
  minutesEast = (code - kZoneBase) * 15;
  return true;
}

std::string_view TOWNS::GetTownZoneName(int i) const {
  if (i < 0 || i >= Count() || zoneOfTown_.empty()) return {};
  const int zone = zoneOfTown_[static_cast<std::size_t>(i)];
  return zone == 0 ? std::string_view() : Slice(zoneNames_, zoneNameEnds_, zone - 1);
}

std::string TOWNS::FormatTown(int i) const {
  TownCoords c;
  if (!GetTownCoords(i, c)) return {};
  char text[128];
  std::snprintf(text, sizeof text, "%.02d%c%.02d  %.03d%c%.02d  %s  %s", c.latitudeDegrees,
                c.south ? 'S' : 'N', c.latitudeMinutes, c.longitudeDegrees, c.west ? 'W' : 'E',
                c.longitudeMinutes, c.name.c_str(), c.region.c_str());
  return text;
}

std::vector<int> TOWNS::FindTownsByPrefix(std::string_view prefix, std::size_t limit) const {
  const std::string key = SearchKey(prefix), bare = WithoutSigns(key);
  std::vector<int> found;
  // The towns of `order` whose names (`search`, `ends`) begin with `wanted`, in that order, each
  // once.
  const auto collect = [&](const std::vector<int>& order, const std::string& search,
                           const std::vector<std::uint32_t>& ends, const std::string& wanted) {
    const auto first = std::lower_bound(
        order.begin(), order.end(), wanted,
        [&](int town, const std::string& k) { return Slice(search, ends, town) < k; });
    const std::size_t before = found.size();
    for (auto it = first; it != order.end() && found.size() < limit; ++it) {
      if (!Slice(search, ends, *it).starts_with(wanted)) break;
      if (std::find(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(before), *it) ==
          found.begin() + static_cast<std::ptrdiff_t>(before))
        found.push_back(*it);
    }
  };
  collect(byName_, searchNames_, nameEnds_, key);
  // A sign typed that the atlas's name lacks; a sign the name holds that was not typed.
  if (bare != key) collect(byName_, searchNames_, nameEnds_, bare);
  collect(bySignFreeName_, signFreeNames_, signFreeEnds_, bare);
  collect(byLatinName_, latinSearchNames_, latinEnds_, key);
  return found;
}

TOWNS& GetTowns() {
  static TOWNS towns;
  return towns;
}
