#include "astrocarto/core/regional_maps.h"

#include <gtest/gtest.h>

#include <tuple>

#include "foundation/atlas/towns.h"
#include "foundation/files/binary_io.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;
using testing_support::WriteFile;

struct Edges {
  double west, north, east, south;
};

// A ".mf1" header for a raster of xMax+1 by yMax+1 cells over the given edges.
std::string Header(Edges e, std::int16_t xMax = 99, std::int16_t yMax = 49) {
  BinaryWriter w;
  w.I16(7);
  w.I16(0);
  w.I16(0);
  w.I16(xMax);
  w.I16(yMax);
  w.F64(e.west);
  w.F64(e.north);
  w.F64(e.east);
  w.F64(e.south);
  w.I16(1);
  w.I16(2);
  return w.Take();
}

std::string Points(std::initializer_list<std::int16_t> values) {
  BinaryWriter w;
  for (std::int16_t v : values) w.I16(v);
  return w.Take();
}

class Maps : public ::testing::Test {
 protected:
  std::function<fs::path(const std::string&)> Locate() {
    return [this](const std::string& name) { return dir_ / name; };
  }
  Status LoadMap(const std::string& name, ACMap& map) {
    map = ACMap(name, 10, 10);
    Status st = map.Load(Locate());
    map.ConvertCoordinates();
    return st;
  }
  TempFolder dir_;
};

TEST_F(Maps, FileSizesAndFormats) {
  struct Case {
    const char* what;
    std::string mf1, mf2, mf3;
    int error, message, detail;
    std::size_t set1, set2, circles;
  };
  const std::string h = Header({-10, 60, 40, 35});
  const std::vector<Case> cases = {
      {"header only: empty set 1, the load goes on", h, Points({1, 2, 3, 4}), "", 0, 0, 0, 0, 2, 0},
      {"empty .mf3 accepted", h + Points({1, 1}), "", "", 0, 0, 0, 1, 0, 0},
      {"65535 bytes too large", h + std::string(65535 - 46, '\0'), "", "", 0, 462, 0, 0, 0, 0},
      {"65534 bytes accepted", h + std::string(65534 - 46, '\0'), "", "", 0, 0, 0, 16372, 0, 0},
      {"a remainder", h + std::string(65533 - 46, '\0'), "", "", 0, 463, 0, 0, 0, 0},
      {".mf2 with a remainder", h, std::string(6, '\0'), "", 0, 463, 0, 0, 0, 0},
      {".mf2 too large", h, std::string(65536, '\0'), "", 0, 462, 0, 0, 0, 0},
      {".mf3 not whole records", h, "", std::string(8, '\0'), 0, 463, 0, 0, 0, 0},
      {".mf3 too large", h, "", std::string(65535, '\0'), 0, 462, 0, 0, 0, 0},
      // Half a degree a cell: 655 cells are 327.5 degrees, what the radius field still holds in
      // hundredths; 656 cells and a negative radius come only from a damaged file.
      {".mf3 largest radius", h, "", Points({1, 1, 655}), 0, 0, 0, 0, 0, 1},
      {".mf3 radius past its field", h, "", Points({1, 1, 2, 1, 1, 656}), 0, 463, 0, 0, 0, 0},
      {".mf3 huge radius", h, "", Points({1, 1, 32767}), 0, 463, 0, 0, 0, 0},
      {".mf3 negative radius", h, "", Points({1, 1, -1}), 0, 463, 0, 0, 0, 0},
      {"short first value", h.substr(0, 1), "", "", 103, 0, 10, 0, 0, 0},
      {"short raster y maximum", h.substr(0, 9), "", "", 103, 0, 14, 0, 0, 0},
      {"short north edge", h.substr(0, 20), "", "", 103, 0, 16, 0, 0, 0},
      {"short last value", h.substr(0, 45), "", "", 103, 0, 20, 0, 0, 0},
      {"across the antimeridian", Header({170, 60, -170, 35}), "", "", 0, 463, 0, 0, 0, 0},
      {"north below south", Header({-10, 30, 40, 35}), "", "", 0, 463, 0, 0, 0, 0},
      {"raster without cells", Header({-10, 60, 40, 35}, -1), "", "", 0, 463, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    fs::remove_all(dir_.Path());
    fs::create_directories(dir_.Path());
    WriteFile(dir_ / "Weurop.mf1", c.mf1);
    if (!c.mf2.empty()) WriteFile(dir_ / "Weurop.mf2", c.mf2);
    if (!c.mf3.empty() || std::string(c.what) == "empty .mf3 accepted")
      WriteFile(dir_ / "Weurop.mf3", c.mf3);
    ACMap map;
    const Status st = LoadMap("Weurop", map);
    EXPECT_EQ(st.ErrorCode(), c.error) << c.what;
    EXPECT_EQ(st.MessageNumber(), c.message) << c.what;
    if (c.error != 0) {
      EXPECT_EQ(st.Detail(), c.detail) << c.what;
    }
    EXPECT_EQ(map.Outline1().size(), c.set1) << c.what;
    EXPECT_EQ(map.Outline2().size(), c.set2) << c.what;
    EXPECT_EQ(map.Circles().size(), c.circles) << c.what;
    // A refused .mf1 leaves no map: no edges a view or the zoom could use.
    if (c.set1 == 0 && c.set2 == 0 && c.message != 0 && c.mf2.empty() && c.mf3.empty()) {
      EXPECT_FALSE(map.HasOutline()) << c.what;
    }
  }
}

TEST_F(Maps, MissingFilesAreNoMapWithoutFailure) {
  AllMaps maps;
  TOWNS towns;
  EXPECT_TRUE(maps.Init(Locate(), towns).empty());
  for (int i = 0; i < maps.Count(); ++i) EXPECT_FALSE(maps.Map(i).HasOutline());
  EXPECT_EQ(maps.FindRegionalMap(15, 50), nullptr);
  EXPECT_EQ(maps.GetMaxPointCount(1), 0);
}

TEST_F(Maps, RasterToDegrees) {
  // 100 x 50 cells over 50 degrees across and 25 down: half a degree per cell each way.
  WriteFile(dir_ / "Weurop.mf1", Header({-10, 60, 40, 35}) + Points({50, 10, 3, 3, 99, 49}));
  WriteFile(dir_ / "Weurop.mf2", Points({0, 0}));
  WriteFile(dir_ / "Weurop.mf3", Points({20, 40, 4}));
  // 3 x 3 cells over one degree: thirds, truncated toward zero (also below zero).
  WriteFile(dir_ / "Camer.mf1", Header({-1, 0, 0, -1}, 2, 2) + Points({1, 1, 2, 2}));
  ACMap map, thirds;
  ASSERT_TRUE(LoadMap("Weurop", map).ok());
  ASSERT_TRUE(LoadMap("Camer", thirds).ok());
  EXPECT_DOUBLE_EQ(map.DegreesAcross(), 0.5);
  EXPECT_DOUBLE_EQ(map.DegreesDown(), 0.5);
  struct Expect {
    MapPoint got;
    int x, y;
  };
  const std::vector<Expect> expected = {
      {map.Outline1()[0], 1500, 5500},  {map.Outline1()[1], -850, 5850},
      {map.Outline1()[2], 3950, 3550},  {map.Outline2()[0], -1000, 6000},
      {thirds.Outline1()[0], -66, -33}, {thirds.Outline1()[1], -33, -66},
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].got.x, expected[i].x) << i;
    EXPECT_EQ(expected[i].got.y, expected[i].y) << i;
  }
  ASSERT_EQ(map.Circles().size(), 1u);
  EXPECT_EQ(map.Circles()[0].x, 0);
  EXPECT_EQ(map.Circles()[0].y, 4000);
  EXPECT_EQ(map.Circles()[0].radius, 200);  // 4 cells x 0.5 degree
}

TEST_F(Maps, CountryBlocks) {
  AllMaps maps;
  std::vector<Status> failures;
  maps.LoadCountryNames(
      "; a comment\r\n"
      "#Nowhere 1\r\n"
      "1 2 3 4 Skipped\r\n"
      "#weurop 2\r\n"
      "-5 51 8 42 France\r\n"
      "5.5 55 15 47.5 Germany\r\n"
      "#Neurop   3\n"
      "10 70 30 60 Sweden\n"
      "10 70 short\n"
      "20 65 30 60 Finland\n"
      "#Asia 999\n"
      "60 50 90 40 Kazakhstan\n",
      failures);
  const ACMap* weurop = maps.FindMap("WEUROP");
  ASSERT_NE(weurop, nullptr);
  ASSERT_EQ(weurop->Countries().size(), 2u);
  const CountryLabel& g = weurop->Countries()[1];
  EXPECT_EQ(std::tie(g.name, g.west, g.north, g.east, g.south, g.screen.left),
            std::make_tuple("Germany", 5.5, 55.0, 15.0, 47.5, -1));  // not placed yet

  // A short line ends its block with error 103; the records not read stay empty.
  const ACMap* neurop = maps.FindMap("Neurop");
  ASSERT_EQ(neurop->Countries().size(), 3u);
  EXPECT_EQ(neurop->Countries()[0].name, "Sweden");
  EXPECT_EQ(neurop->Countries()[1].name, "");
  EXPECT_EQ(neurop->Countries()[2].name, "");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].ErrorCode(), kErrRead);
  // A count beyond the file is cut to the lines there are.
  EXPECT_EQ(maps.FindMap("Asia")->Countries().size(), 1u);
  EXPECT_TRUE(maps.FindMap("World")->Countries().empty());
  EXPECT_EQ(maps.FindMap("Nowhere"), nullptr);
}

TEST_F(Maps, TownsByClassPerMap) {
  // Town codes: two bits per regional map, field k for map k + 1.
  BinaryWriter cor, dat, dst;
  const std::vector<std::uint32_t> codes = {3u | 1u << 2, 0u, 2u | 3u << 2 | 1u << 18, 3u, 1u};
  cor.Bytes("VTWC");
  cor.U16(1);
  cor.U32(static_cast<std::uint32_t>(codes.size()));
  dat.Bytes("VTWD");
  dat.U16(1);
  dat.U32(static_cast<std::uint32_t>(codes.size()));
  for (std::uint32_t code : codes) {
    cor.I16(10);
    cor.I16(20);
    cor.U32(code);
    dat.U16(0);
    dat.U8(1);
    dat.Bytes("T");
  }
  dst.Bytes("VTWR");
  dst.U16(1);
  dst.U16(1);
  dst.U8(1);
  dst.Bytes("R");
  WriteFile(dir_ / "Town.cor", cor.Data());
  WriteFile(dir_ / "Town.dat", dat.Data());
  WriteFile(dir_ / "Town.dst", dst.Data());
  TOWNS towns;
  ASSERT_TRUE(towns.Load(dir_.Path()).ok());

  AllMaps maps;
  maps.DistributeTowns(towns);
  const struct {
    int map, townClass;
    std::vector<std::int32_t> towns;
  } expected[] = {{0, 3, {}},  {0, 2, {}},  {0, 1, {}},  {1, 3, {0, 3}}, {1, 2, {2}},
                  {1, 1, {4}}, {2, 3, {2}}, {2, 1, {0}}, {10, 1, {2}}};
  for (const auto& e : expected)
    EXPECT_EQ(maps.Map(e.map).Towns(e.townClass), e.towns) << e.map << " " << e.townClass;
  EXPECT_EQ(maps.Map(1).TownLabels(3).size(), 2u);
  EXPECT_EQ(maps.Map(1).TownLabels(2).size(), 1u);
  EXPECT_EQ(maps.Map(1).TownLabels(3)[0].left, -1);
}

TEST_F(Maps, ZoomWindows) {
  WriteFile(dir_ / "World.mf1", Header({-180, 90, 180, -90}));
  WriteFile(dir_ / "Weurop.mf1", Header({-10, 72, 40, 35}));
  ACMap world, weurop;
  ASSERT_TRUE(LoadMap("World", world).ok());
  ASSERT_TRUE(LoadMap("Weurop", weurop).ok());
  struct Case {
    const char* what;
    const ACMap& map;
    double longitude, latitude, width, height;
    MapWindow expected;
  };
  const std::vector<Case> cases = {
      {"plain", world, 30.5, 40.5, 100, 100, {20, 40, 50, 30}},
      {"near the east edge", world, 175, 0, 100, 100, {160, 180, 10, -10}},
      {"near the west edge", world, -175, 0, 100, 100, {-180, -160, 10, -10}},
      {"near the pole", world, 0, 85, 100, 100, {-10, 10, 80, 60}},
      {"near the south pole", world, 0, -85, 100, 100, {-10, 10, -60, -80}},
      {"twice as wide", world, 0, 0, 200, 100, {-10, 10, 5, -5}},
      {"tall view holds 160 degrees", world, 0, 0, 10, 1000, {-10, 10, 80, -80}},
      {"no size counts as square", world, 0, 0, 0, 0, {-10, 10, 10, -10}},
      {"no height counts as square", world, 0, 0, 300, 0, {-10, 10, 10, -10}},
      {"regional west edge", weurop, -8, 50, 100, 100, {-10, 10, 60, 40}},
      {"regional north edge", weurop, 20, 70, 100, 100, {10, 30, 72, 52}},
      {"regional south edge", weurop, 20, 36, 100, 100, {10, 30, 55, 35}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.map.GetZoomWindow(c.longitude, c.latitude, c.width, c.height), c.expected)
        << c.what;
}

TEST_F(Maps, ScrollRangesAndPositions) {
  WriteFile(dir_ / "Weurop.mf1", Header({-10, 72, 40, 35}));
  ACMap map;
  ASSERT_TRUE(LoadMap("Weurop", map).ok());
  MapWindow w{0, 20, 60, 40};
  EXPECT_EQ(map.GetScrollLimit(w, false, false), -10);
  EXPECT_EQ(map.GetScrollLimit(w, false, true), 20);
  EXPECT_EQ(map.GetScrollLimit(w, true, false), -72);
  EXPECT_EQ(map.GetScrollLimit(w, true, true), -55);
  EXPECT_EQ(ACMap::GetScrollPosition(w, false), 0);
  EXPECT_EQ(ACMap::GetScrollPosition(w, true), -60);
  ACMap::SetWindowFromScroll(w, 5, false);
  ACMap::SetWindowFromScroll(w, -70, true);
  EXPECT_EQ(w, (MapWindow{5, 25, 70, 50}));
  // A map narrower than the window has a single position.
  WriteFile(dir_ / "Middle.mf1", Header({30, 40, 45, 30}));
  ACMap middle;
  ASSERT_TRUE(LoadMap("Middle", middle).ok());
  EXPECT_EQ(middle.GetScrollLimit(w, false, true), middle.GetScrollLimit(w, false, false));
  EXPECT_EQ(middle.GetScrollLimit(w, true, true), middle.GetScrollLimit(w, true, false));
}

TEST_F(Maps, RegionalMapOfAPoint) {
  WriteFile(dir_ / "World.mf1", Header({-180, 90, 180, -90}));
  WriteFile(dir_ / "Weurop.mf1", Header({-10, 72, 40, 35}));
  WriteFile(dir_ / "Russia.mf1", Header({20, 80, 180, 40}));
  AllMaps maps;
  TOWNS towns;
  EXPECT_TRUE(maps.Init(Locate(), towns).empty());
  struct Case {
    double longitude, latitude;
    const char* map;  // nullptr: none
  };
  const std::vector<Case> cases = {
      {0, 50, "Weurop"},  {30, 50, "Weurop"},    {-10, 50, nullptr},  {40, 50, "Russia"},
      {0, 35, nullptr},   {0, 72, nullptr},      {100, 60, "Russia"}, {-100, 0, nullptr},
      {180, 60, nullptr}, {179.9, 60, "Russia"},
  };
  for (const Case& c : cases) {
    const ACMap* found = maps.FindRegionalMap(c.longitude, c.latitude);
    const std::string name = found ? found->Name() : "(none)";
    EXPECT_EQ(name, c.map ? c.map : "(none)") << c.longitude << " " << c.latitude;
  }
}

TEST_F(Maps, LineStepsAndLargestSets) {
  WriteFile(dir_ / "World.mf1", Header({-180, 90, 180, -90}) + Points({1, 1, 2, 2}));
  WriteFile(dir_ / "Asia.mf1", Header({40, 60, 150, -10}) + Points({1, 1, 2, 2, 3, 3}));
  WriteFile(dir_ / "Asia.mf3", Points({1, 1, 1}));
  AllMaps maps;
  TOWNS towns;
  EXPECT_TRUE(maps.Init(Locate(), towns).empty());
  EXPECT_EQ(maps.GetMaxPointCount(1), 3);
  EXPECT_EQ(maps.GetMaxPointCount(2), 0);
  EXPECT_EQ(maps.GetMaxPointCount(3), 1);
  const int steps[][2] = {{0, 5}, {1, 10}, {2, 20}, {3, 50}, {-1, 50}, {7, 50}};
  for (const auto& s : steps) {
    EXPECT_EQ(maps.SetLineSteps(s[0]), s[1]);
    EXPECT_EQ(maps.Map(10).LineSteps(), s[1]);
  }
}

TEST(NearTowns, OrderedNearestFirstEqualDistancesAfter) {
  NearTownList list;
  const std::pair<int, double> inserts[] = {{1, 4.0}, {2, 1.0}, {3, 4.0}, {4, 0.5}, {5, 1.0}};
  for (const auto& [town, d] : inserts) list.Insert(town, d);
  std::vector<int> order;
  for (const auto& e : list.Entries()) order.push_back(e.town);
  EXPECT_EQ(order, (std::vector<int>{4, 2, 5, 1, 3}));
}

TEST(NearTowns, HoldsAtMost999AndKeepsTheNearest) {
  NearTownList list;
  // Towns come ever nearer: each one past the 999th pushes the farthest out.
  for (int i = 0; i < 1200; ++i) list.Insert(i, 1000.0 - i);
  EXPECT_EQ(list.Count(), 999u);
  EXPECT_EQ(list.Entries().front().town, 1199);
  EXPECT_EQ(list.Entries().back().town, 201);
  // One as far as the farthest held is not taken; the list stays as it was.
  list.Insert(5000, 1000.0 - 201);
  EXPECT_EQ(list.Entries().back().town, 201);
  EXPECT_EQ(list.Count(), 999u);
}

}  // namespace
