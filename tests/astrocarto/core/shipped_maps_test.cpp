// The maps, country labels and town classes the program ships, read through the regional maps'
// loader: each loads without a message and within the file size rules, lies where its region
// is, shows land and sea where they are, labels countries over their land, and names few towns
// of the first class.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "astrocarto/core/regional_maps.h"
#include "foundation/atlas/towns.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

class ShippedMaps : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    towns_ = new TOWNS;
    ASSERT_TRUE(towns_->Load(Data()).ok());
    maps_ = new AllMaps;
    failures_ = new std::vector<Status>(
        maps_->Init([](const std::string& name) { return Data() / name; }, *towns_));
  }
  static void TearDownTestSuite() {
    delete failures_;
    delete maps_;
    delete towns_;
  }
  static fs::path Data() { return testing_support::SourceDir() / "data"; }

  static TOWNS* towns_;
  static AllMaps* maps_;
  static std::vector<Status>* failures_;
};
TOWNS* ShippedMaps::towns_ = nullptr;
AllMaps* ShippedMaps::maps_ = nullptr;
std::vector<Status>* ShippedMaps::failures_ = nullptr;

// What a map shows at a point: a border cell, a sea cell or run, or else land.
enum class Ground { kLand, kSea, kBorder };

bool CellHolds(double west, double north, double width, double height, double lon, double lat) {
  return west <= lon && lon < west + width && north - height < lat && lat <= north;
}

Ground GroundAt(const ACMap& map, double lon, double lat) {
  const double across = map.DegreesAcross(), down = map.DegreesDown();
  for (const MapPoint& c : map.Outline1())
    if (CellHolds(c.x / 100.0, c.y / 100.0, across, down, lon, lat)) return Ground::kBorder;
  for (const MapPoint& c : map.Outline2())
    if (CellHolds(c.x / 100.0, c.y / 100.0, across, down, lon, lat)) return Ground::kSea;
  for (const MapCircle& r : map.Circles())
    if (CellHolds(r.x / 100.0, r.y / 100.0, r.radius / 100.0, down, lon, lat)) return Ground::kSea;
  return Ground::kLand;
}

// Open intervals (a1, a2) and (b1, b2) share more than an end.
bool Overlap(double a1, double a2, double b1, double b2) { return a1 < b2 && b1 < a2; }

TEST_F(ShippedMaps, EveryMapLoadsWithoutMessageWithinTheSizeRules) {
  EXPECT_TRUE(failures_->empty());
  for (int m = 0; m < maps_->Count(); ++m) {
    const ACMap& map = maps_->Map(m);
    ASSERT_TRUE(map.HasOutline()) << map.Name();
    const std::uintmax_t mf1 = fs::file_size(Data() / (map.Name() + ".mf1"));
    const std::uintmax_t mf2 = fs::file_size(Data() / (map.Name() + ".mf2"));
    const std::uintmax_t mf3 = fs::file_size(Data() / (map.Name() + ".mf3"));
    EXPECT_LT(mf1, 65535u) << map.Name();
    EXPECT_EQ((mf1 - 46) % 4, 0u) << map.Name();
    EXPECT_LT(mf2, 65535u) << map.Name();
    EXPECT_EQ(mf2 % 4, 0u) << map.Name();
    EXPECT_LE(mf3, 65534u) << map.Name();
    EXPECT_EQ(mf3 % 6, 0u) << map.Name();
    EXPECT_EQ(map.Outline1().size(), (mf1 - 46) / 4) << map.Name();
    EXPECT_GT(map.Outline1().size(), 1000u) << map.Name();
    EXPECT_GT(map.Circles().size(), 100u) << map.Name();
    // A run is never longer than the raster row it lies in.
    for (const MapCircle& r : map.Circles()) {
      ASSERT_GT(r.radius, 0) << map.Name();
      ASSERT_LE(r.x + r.radius, map.GetHeader().east * 100 + 1) << map.Name();
    }
  }
}

TEST_F(ShippedMaps, BoxesLieOnTheGlobeAndHoldTheirPlaces) {
  for (int m = 0; m < maps_->Count(); ++m) {
    const ACMap::Header& h = maps_->Map(m).GetHeader();
    EXPECT_LE(-180.0, h.west) << maps_->Map(m).Name();
    EXPECT_LT(h.west, h.east) << maps_->Map(m).Name();
    EXPECT_LE(h.east, 180.0) << maps_->Map(m).Name();
    EXPECT_LE(-90.0, h.south) << maps_->Map(m).Name();
    EXPECT_LT(h.south, h.north) << maps_->Map(m).Name();
    EXPECT_LE(h.north, 90.0) << maps_->Map(m).Name();
  }
  EXPECT_EQ(maps_->Map(0).GetHeader().west, -180.0);
  EXPECT_EQ(maps_->Map(0).GetHeader().east, 180.0);
  // The map a double-click on the full world opens (the first regional map that holds the
  // place), by geography.
  struct Place {
    const char* what;
    double lon, lat;
    const char* map;
  };
  const Place places[] = {
      {"Mexico City", -99.13, 19.43, "Camer"},
      {"Havana", -82.37, 23.13, "Camer"},
      {"New York", -74.01, 40.71, "Namer"},
      {"Anchorage", -149.9, 61.22, "Namer"},
      {"Buenos Aires", -58.38, -34.6, "Samer"},
      {"Paris", 2.35, 48.86, "Weurop"},
      {"Rome", 12.5, 41.9, "Weurop"},
      {"Stockholm", 18.07, 59.33, "Neurop"},
      {"Reykjavik", -21.9, 64.15, "Neurop"},
      {"Moscow", 37.62, 55.75, "Russia"},
      {"Vladivostok", 131.9, 43.12, "Russia"},
      {"Tehran", 51.39, 35.69, "Middle"},
      {"Cairo", 31.24, 30.04, "Middle"},
      {"Istanbul", 28.98, 41.01, "Middle"},
      {"Lagos", 3.38, 6.52, "Afri"},
      {"Cape Town", 18.42, -33.92, "Afri"},
      {"Beijing", 116.4, 39.9, "Asia"},
      {"Delhi", 77.21, 28.61, "Asia"},
      {"Sydney", 151.2, -33.87, "Austra"},
      {"Wellington", 174.78, -41.29, "Austra"},
  };
  for (const Place& p : places) {
    const ACMap* map = maps_->FindRegionalMap(p.lon, p.lat);
    ASSERT_NE(map, nullptr) << p.what;
    EXPECT_EQ(map->Name(), p.map) << p.what;
  }
  EXPECT_EQ(maps_->FindRegionalMap(-140, -40), nullptr) << "the South Pacific";
}

TEST_F(ShippedMaps, LandAndSeaLieWhereTheyBelong) {
  struct Probe {
    const char* map;
    const char* what;
    double lon, lat;
    Ground ground;
  };
  const Probe probes[] = {
      {"World", "mid-Atlantic", -30, 30, Ground::kSea},
      {"World", "Congo basin", 20, 0, Ground::kLand},
      {"World", "Siberia", 100, 60, Ground::kLand},
      {"World", "central Pacific", -160, 0, Ground::kSea},
      {"World", "Great Plains", -100, 40, Ground::kLand},
      {"World", "Amazonia", -55, -10, Ground::kLand},
      {"World", "central Australia", 135, -25, Ground::kLand},
      {"World", "Indian Ocean", 80, -20, Ground::kSea},
      {"World", "Caspian Sea", 51, 43, Ground::kSea},
      {"World", "Greenland", -40, 75, Ground::kLand},
      {"Camer", "Mexican plateau", -102, 24, Ground::kLand},
      {"Camer", "Gulf of Mexico", -90, 25, Ground::kSea},
      {"Camer", "Caribbean Sea", -75, 15, Ground::kSea},
      {"Namer", "Saskatchewan", -105, 53, Ground::kLand},
      {"Namer", "Hudson Bay", -85, 60, Ground::kSea},
      {"Namer", "north-east Pacific", -140, 40, Ground::kSea},
      {"Samer", "Mato Grosso", -55, -12, Ground::kLand},
      {"Samer", "south Atlantic", -40, -30, Ground::kSea},
      {"Samer", "south-east Pacific", -85, -20, Ground::kSea},
      {"Weurop", "central France", 2.5, 47, Ground::kLand},
      {"Weurop", "Bay of Biscay", -6, 45, Ground::kSea},
      {"Weurop", "Hesse", 9, 50.5, Ground::kLand},
      {"Weurop", "western Mediterranean", 6, 39, Ground::kSea},
      {"Neurop", "central Sweden", 15, 62, Ground::kLand},
      {"Neurop", "North Sea", 2, 57, Ground::kSea},
      {"Neurop", "Iceland", -18, 64.8, Ground::kLand},
      {"Neurop", "Baltic Sea", 20, 57, Ground::kSea},
      {"Russia", "West Siberia", 75, 60, Ground::kLand},
      {"Russia", "Moscow region", 37.6, 55.75, Ground::kLand},
      {"Russia", "Caspian Sea", 51, 43, Ground::kSea},
      {"Russia", "Kara Sea", 70, 75, Ground::kSea},
      {"Russia", "Yakutia", 125, 63, Ground::kLand},
      {"Middle", "Nejd", 45, 25, Ground::kLand},
      {"Middle", "Red Sea", 38, 20, Ground::kSea},
      {"Middle", "Arabian Sea", 62, 15, Ground::kSea},
      {"Afri", "Congo basin", 20, 0, Ground::kLand},
      {"Afri", "Gulf of Guinea", 0, -5, Ground::kSea},
      {"Afri", "Madagascar", 46.5, -19.5, Ground::kLand},
      {"Asia", "Qinghai", 100, 35, Ground::kLand},
      {"Asia", "East China Sea", 125, 30, Ground::kSea},
      {"Asia", "Bay of Bengal", 88, 15, Ground::kSea},
      {"Asia", "Deccan", 78, 20, Ground::kLand},
      {"Austra", "central Australia", 135, -25, Ground::kLand},
      {"Austra", "Tasman Sea", 157, -35, Ground::kSea},
      {"Austra", "North Island", 175.6, -39.5, Ground::kLand},
  };
  for (const Probe& p : probes) {
    const ACMap* map = maps_->FindMap(p.map);
    ASSERT_NE(map, nullptr) << p.map;
    EXPECT_EQ(GroundAt(*map, p.lon, p.lat), p.ground) << p.map << ": " << p.what;
  }
}

TEST_F(ShippedMaps, CountryLabelsLieInsideTheirRegionOverLand) {
  for (int m = 0; m < maps_->Count(); ++m) {
    const ACMap& map = maps_->Map(m);
    const ACMap::Header& h = map.GetHeader();
    EXPECT_GE(map.Countries().size(), 4u) << map.Name();
    const double across = map.DegreesAcross(), down = map.DegreesDown();
    for (const CountryLabel& c : map.Countries()) {
      const std::string what = map.Name() + " " + Utf8(c.name);
      ASSERT_FALSE(c.name.empty()) << what;
      EXPECT_EQ(c.name.find(' '), std::string::npos) << what;
      EXPECT_TRUE(h.west <= c.west && c.west < c.east && c.east <= h.east) << what;
      EXPECT_TRUE(h.south <= c.south && c.south < c.north && c.north <= h.north) << what;
      auto overlaps = [&](double west, double north, double width) {
        return Overlap(c.west, c.east, west, west + width) &&
               Overlap(c.south, c.north, north - down, north);
      };
      for (const MapPoint& p : map.Outline1())
        ASSERT_FALSE(overlaps(p.x / 100.0, p.y / 100.0, across)) << what << ": a border";
      for (const MapPoint& p : map.Outline2())
        ASSERT_FALSE(overlaps(p.x / 100.0, p.y / 100.0, across)) << what << ": a sea cell";
      for (const MapCircle& r : map.Circles())
        ASSERT_FALSE(overlaps(r.x / 100.0, r.y / 100.0, r.radius / 100.0)) << what << ": sea";
    }
  }
  const std::string russia = Cp1251("Россия");
  for (const char* name : {"World", "Russia"}) {
    const auto& countries = maps_->FindMap(name)->Countries();
    EXPECT_TRUE(std::any_of(countries.begin(), countries.end(), [&](const CountryLabel& c) {
      return c.name == russia;
    })) << name;
  }
}

TEST_F(ShippedMaps, FewTownsOfTheFirstClassAndEveryTownInsideItsMap) {
  for (int townClass = 1; townClass <= 3; ++townClass)
    EXPECT_TRUE(maps_->Map(0).Towns(townClass).empty()) << "the world map has no towns";
  for (int m = 1; m < maps_->Count(); ++m) {
    const ACMap& map = maps_->Map(m);
    const ACMap::Header& h = map.GetHeader();
    EXPECT_GE(map.Towns(3).size(), 10u) << map.Name();
    EXPECT_LE(map.Towns(3).size(), 50u) << map.Name();
    EXPECT_GE(map.Towns(2).size(), map.Towns(3).size()) << map.Name();
    for (int townClass = 1; townClass <= 3; ++townClass) {
      for (const std::int32_t t : map.Towns(townClass)) {
        double lat = 0, lon = 0;
        ASSERT_TRUE(towns_->GetTownDegrees(t, lat, lon));
        // The atlas keeps whole minutes: a town on the box's edge may lie half a minute out.
        EXPECT_TRUE(h.west - 0.01 <= lon && lon <= h.east + 0.01 && h.south - 0.01 <= lat &&
                    lat <= h.north + 0.01)
            << map.Name() << " " << Utf8(towns_->GetTownName(t));
      }
    }
  }
  // Capitals lead their maps; a capital of a few thousand inhabitants is still of the second.
  struct Town {
    const char* map;
    const char* name;  // UTF-8
    double lon, lat;
    int townClass;
  };
  const Town towns[] = {
      {"Russia", "Москва", 37.62, 55.75, 3}, {"Weurop", "Париж", 2.35, 48.86, 3},
      {"Weurop", "Берлин", 13.4, 52.52, 3},  {"Namer", "Вашингтон", -77.04, 38.9, 3},
      {"Afri", "Найроби", 36.82, -1.29, 3},  {"Austra", "Сидней", 151.2, -33.87, 3},
      {"Weurop", "Вадуц", 9.52, 47.14, 2},
  };
  for (const Town& t : towns) {
    int found = -1;
    for (const int i : towns_->FindTownsByPrefix(Cp1251(t.name))) {
      double lat = 0, lon = 0;
      towns_->GetTownDegrees(i, lat, lon);
      if (towns_->GetTownName(i) == Cp1251(t.name) && std::abs(lat - t.lat) < 0.5 &&
          std::abs(lon - t.lon) < 0.5)
        found = i;
    }
    ASSERT_GE(found, 0) << t.name;
    const ACMap* map = maps_->FindMap(t.map);
    const auto& list = map->Towns(t.townClass);
    EXPECT_NE(std::find(list.begin(), list.end(), found), list.end()) << t.name;
  }
}

}  // namespace
