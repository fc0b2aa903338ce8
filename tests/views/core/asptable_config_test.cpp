// The aspect-table configuration's page model: the fields in and out of the configuration and the
// rule for the midpoint aspect-system name.
#include "views/core/asptable_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"

namespace {

using Settings = cfg::AspectTableSettings;

TEST(AspTableConfigModel, FieldsGoBackAsTheyCameAndEditsLand) {
  Configuration config;
  config.aspectTable.Set(Settings::kPointSwitch[3], std::uint8_t{1});
  config.aspectTable.Set(Settings::kCellMode, std::int16_t{2});
  config.aspectTable.Set(Settings::kHouseOrbGroup, std::int16_t{4});
  config.aspectTable.Set(Settings::kPageLayout[1], 1234);
  config.aspectTable.Set(Settings::kMidpointSystem, "ALPHA");
  tables::AspTableConfigModel model;
  EXPECT_EQ(model.cellMode, -1);  // nothing chosen before the fields come in
  model.LoadFrom(config);
  EXPECT_EQ(model.switches[3], 1);
  EXPECT_EQ(model.cellMode, 2);
  EXPECT_EQ(model.houseOrbGroup, 4);
  EXPECT_EQ(model.systemName, "ALPHA");
  const cfg::ByteBlock before = config.aspectTable;
  model.StoreTo(config);
  EXPECT_EQ(config.aspectTable, before);

  model.switches[3] = 0;
  model.switches[39] = 1;
  model.diagonalMode = 3;
  model.tableWidths[2] = 17000;
  model.StoreTo(config);
  EXPECT_EQ(config.aspectTable.Get(Settings::kPointSwitch[3]), 0);
  EXPECT_EQ(config.aspectTable.Get(Settings::kPointSwitch[39]), 1);
  EXPECT_EQ(config.aspectTable.Get(Settings::kDiagonalMode), 3);
  EXPECT_EQ(config.aspectTable.Get(Settings::kTableWidth[2]), 17000);
  EXPECT_EQ(config.aspectTable.Get(Settings::kPageLayout[1]), 1234);  // carried through
}

TEST(AspTableConfigModel, AnUnknownSystemNameBecomesTheFirstLoadedOneWithANotice) {
  const std::vector<std::string> loaded = {"BASE", "KARMA"};
  const std::string notFound = Cp1251("Не найдена система аспектов");
  const std::string instead = Cp1251("Вместо нее установлена система");
  struct Case {
    const char* name;
    std::string typed;
    std::vector<std::string> loaded;
    std::string stored;
    std::string notice;
  } const cases[] = {
      {"loaded", "KARMA", loaded, "KARMA", ""},
      {"letter case ignored", "karma", loaded, "karma", ""},
      {"unknown", "NOSUCH", loaded, "BASE", notFound + " NOSUCH\n" + instead + " BASE"},
      {"empty", "", loaded, "BASE", notFound + " \n" + instead + " BASE"},
      {"cut to eight characters", "KARMA12345", {"KARMA123"}, "KARMA123", ""},
      {"nothing loaded: kept as typed", "NOSUCH", {}, "NOSUCH", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tables::AspTableConfigModel model;
    std::string notice = "old";
    model.AcceptSystemName(c.typed, c.loaded, notice);
    EXPECT_EQ(model.systemName, c.stored);
    EXPECT_EQ(notice, c.notice);
  }
}

}  // namespace
