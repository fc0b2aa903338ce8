// The midpoint print set-up's stored fields (its enabling is tested on the dialog), and where the
// aspects-to-a-midpoint list opens.
#include "views/core/midpoint_dialogs.h"

#include <gtest/gtest.h>

#include "foundation/config/settings_blocks.h"

namespace {

using tables::MidpointPrintModel;
using tables::Spot;
using M = cfg::MidpointPrintSettings;

TEST(MidpointPrintModel, FieldsRoundTripAndStoredNonsenseIsBroughtIntoRange) {
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
  EXPECT_EQ(back.printForm, 1);
  EXPECT_EQ(back.samePage, 2);
  EXPECT_EQ(back.fontSize, 20000);
  EXPECT_EQ(back.interval, 0);
  EXPECT_EQ(back.listChart, 1);

  block.Set(M::kPrintForm, 7);
  block.Set(M::kSamePage, -3);
  block.Set(M::kListFontSize, 20001);
  block.Set(M::kListInterval, -1);
  block.Set(M::kListChart, 9);
  back.Load(block);
  EXPECT_EQ(back.printForm, 0);
  EXPECT_EQ(back.samePage, 0);
  EXPECT_EQ(back.fontSize, 20000);
  EXPECT_EQ(back.interval, 0);
  EXPECT_EQ(back.listChart, 0);
  block.Set(M::kListFontSize, 99);
  block.Set(M::kListInterval, 10001);
  back.Load(block);
  EXPECT_EQ(back.fontSize, 100);
  EXPECT_EQ(back.interval, 10000);
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
