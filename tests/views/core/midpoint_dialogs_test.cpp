// The midpoint print set-up's stored fields (its enabling is tested on the dialog), and where the
// aspects-to-a-midpoint list opens.
#include "views/core/midpoint_dialogs.h"

#include <gtest/gtest.h>

#include <tuple>

#include "foundation/config/settings_blocks.h"

namespace {

using tables::MidpointPrintModel;
using tables::Spot;
using M = cfg::MidpointPrintSettings;

TEST(MidpointPrintModel, FieldsRoundTripAndStoredNonsenseIsBroughtIntoRange) {
  // form, same page, list font size, interval, list chart
  using Fields = std::tuple<int, int, int, int, int>;
  const auto fields = [](const MidpointPrintModel& m) {
    return Fields{m.printForm, m.samePage, m.fontSize, m.interval, m.listChart};
  };
  cfg::ByteBlock block(M::kSize);
  MidpointPrintModel model;
  model.printForm = 1;
  model.samePage = 2;
  model.fontSize = 20000;
  model.interval = 0;
  model.listChart = 1;
  model.Store(block);
  MidpointPrintModel back;
  back.Load(block);
  EXPECT_EQ(fields(back), (Fields{1, 2, 20000, 0, 1}));
  struct Case {
    Fields stored, loaded;
  } const cases[] = {
      {{7, -3, 20001, -1, 9}, {0, 0, 20000, 0, 0}},
      {{0, 0, 99, 10001, 0}, {0, 0, 100, 10000, 0}},
  };
  for (const Case& c : cases) {
    const auto [form, same, font, interval, chart] = c.stored;
    block.Set(M::kPrintForm, form);
    block.Set(M::kSamePage, same);
    block.Set(M::kListFontSize, font);
    block.Set(M::kListInterval, interval);
    block.Set(M::kListChart, chart);
    back.Load(block);
    EXPECT_EQ(fields(back), c.loaded);
  }
}

TEST(MidpointListPlacement, FlipsLeftOrUpOnlyWhereItWouldPassAnEdgeAndThereIsRoom) {
  // A list 200 x 300 in a view 1000 x 800.
  struct Case {
    const char* name;
    Spot click, at;
  } const cases[] = {
      {"fits", {100, 100}, {100, 100}},         {"right edge", {900, 100}, {700, 100}},
      {"bottom edge", {100, 600}, {100, 300}},  {"corner", {900, 700}, {700, 400}},
      {"exactly fits", {800, 500}, {800, 500}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Spot at = tables::PlaceAtClick(c.click, 200, 300, 1000, 800);
    EXPECT_EQ(at.x, c.at.x);
    EXPECT_EQ(at.y, c.at.y);
  }
  // Narrower than the list on both sides: stays at the click.
  const Spot at = tables::PlaceAtClick({150, 150}, 200, 300, 300, 400);
  EXPECT_EQ(at.x, 150);
  EXPECT_EQ(at.y, 150);
}

}  // namespace
