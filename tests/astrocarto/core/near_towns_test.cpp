#include "astrocarto/core/near_towns.h"

#include <gtest/gtest.h>

#include "astrocarto/core/astrocart_map.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"
#include "map_test_support.h"

namespace {

using testing_support::RecordingProgress;
using testing_support::TempFolder;
using testing_support::WriteFile;

struct PointCase {
  const char* name;
  double longitude, latitude;
  const char* line;  // UTF-8, before the words of message 467
};

class PointLines : public ::testing::TestWithParam<PointCase> {};

TEST_P(PointLines, NameAndPlaceThePointToTheMinuteWithoutSigns) {
  const PointCase& c = GetParam();
  const std::string line = PointLine(c.longitude, c.latitude);
  EXPECT_EQ(line, std::string(c.line) + Cp1251("указанное место"));
  // The relocated chart's place reads as the line.
  EXPECT_EQ(PlaceOfPoint(c.longitude, c.latitude).CoordText(),
            line.substr(0, 5) + ' ' + line.substr(7, 6));
}

const PointCase kPoints[] = {
    {"north_east", 37.6, 55.75, "55N45  037E36  "},
    {"south_west", -70.0 - 40.0 / 60, -33.0 - 52.0 / 60, "33S52  070W40  "},
    {"minutes_round_into_the_next_degree", 10.9999, -0.0001, "00N00  011E00  "},
    {"antimeridian", -180.0, 0.5, "00N30  180W00  "},
};
INSTANTIATE_TEST_SUITE_P(NearTowns, PointLines, ::testing::ValuesIn(kPoints),
                         [](const auto& info) { return std::string(info.param.name); });

// A world map of 10-degree cells over -180..180, 90..-90 and the atlas of each test, shown in a
// view of 3600 x 1800 units.
class NearTownSearch : public ::testing::Test {
 protected:
  void Open(const std::vector<map_test::Town>& atlas) {
    WriteFile(dir_ / "World.mf1", map_test::Mf1(-180, 180, 90, -90, 36, 18));
    map_test::LoadMaps(maps_, dir_.Path());
    map_test::LoadAtlas(towns_, dir_.Path(), atlas);
    Chart chart;
    ASSERT_TRUE(view_.Init(AstroCartPage{}, Configuration{}, chart, progress_));
    view_.Resize(3600, 1800, 360, 180);
  }
  std::vector<std::int32_t> Found(double longitude, double latitude) {
    double lon = 0.0, lat = 0.0;
    std::vector<std::int32_t> out;
    for (const auto& e :
         view_.CollectNearTowns(view_.Geometry().Project(longitude, latitude), lon, lat).Entries())
      out.push_back(e.town);
    EXPECT_NEAR(lon, longitude, 0.1);
    EXPECT_NEAR(lat, latitude, 0.1);
    return out;
  }
  TempFolder dir_;
  AllMaps maps_;
  TOWNS towns_;
  RecordingProgress progress_;
  AstroCartMap view_{maps_, towns_};
};

TEST_F(NearTownSearch, RadiusOfTheFullMapAndTwiceThatOfAZoomedWindow) {
  // The full world: r = (360 + 180) / 80 = 6.75 degrees.
  Open({{"Inside", 0.0, 6.5}, {"Outside", 0.0, 7.0}, {"Near", 0.0, 0.5}, {"Beyond", 0.0, 0.9}});
  EXPECT_EQ(Found(0.0, 0.0), (std::vector<std::int32_t>{2, 3, 0}));
  // No regional map holds the point: the world zooms to 20 x 10 degrees around it, and the
  // radius becomes 2 x (20 + 10) / 80 = 0.75 degrees.
  ASSERT_TRUE(view_.DoubleClick(view_.Geometry().Project(0.0, 0.0), false));
  const MapWindow w = view_.State().window;
  ASSERT_DOUBLE_EQ(w.east - w.west, 20.0);
  ASSERT_DOUBLE_EQ(w.north - w.south, 10.0);
  EXPECT_EQ(Found(0.0, 0.0), (std::vector<std::int32_t>{2}));
}

TEST_F(NearTownSearch, PointFirstThenTownsNearestFirstEqualOnesInAtlasOrder) {
  Open({{"Far", 1.0, 1.0}, {"EastOne", 0.0, 0.5}, {"Nearest", 0.1, 0.0}, {"WestOne", 0.0, -0.5}});
  double lon = 0.0, lat = 0.0;
  const NearTownList& list = view_.CollectNearTowns(view_.Geometry().Project(0, 0), lon, lat);
  SelectedTownsPage page;
  page.Init(list, towns_, lon, lat);
  ASSERT_EQ(page.lines.size(), 5u);
  EXPECT_EQ(page.lines[0], PointLine(lon, lat));
  EXPECT_EQ(page.towns, (std::vector<std::int32_t>{2, 1, 3, 0}));
  EXPECT_EQ(page.lines[1], towns_.FormatTown(2));
  EXPECT_EQ(page.mode, SelectedTownsPage::kRelocation);
  EXPECT_FALSE(page.pointChosen);

  // Lines 0 and 3 chosen, a line past the list ignored.
  page.TakeSelection({0, 3, 9});
  EXPECT_TRUE(page.pointChosen);
  EXPECT_EQ(page.chosen, (std::vector<char>{'N', 'N', 'Y', 'N'}));
  EXPECT_EQ(page.ChosenTowns(), (std::vector<std::int32_t>{3}));
  page.TakeSelection({1});
  EXPECT_FALSE(page.pointChosen);
  EXPECT_EQ(page.ChosenTowns(), (std::vector<std::int32_t>{2}));
}

TEST_F(NearTownSearch, FarFromEveryTownOnlyThePointIsListed) {
  Open({{"Alone", 50.0, 10.0}});
  double lon = 0.0, lat = 0.0;
  SelectedTownsPage page;
  page.Init(view_.CollectNearTowns(view_.Geometry().Project(-20, -40), lon, lat), towns_, lon, lat);
  ASSERT_EQ(page.lines.size(), 1u);
  EXPECT_TRUE(page.towns.empty());
  view_.ClearNearTowns();
  EXPECT_EQ(view_.NearTowns().Count(), 0u);
}

}  // namespace
