// The colour chooser's swatches and choice, and the file-name check of the name dialog.
#include "settings/core/color_swatch.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/recording_dc.h"
#include "settings/core/file_name_check.h"

namespace {

using platform::Color;
using platform::RecordedCall;

struct FrameCase {
  const char* name;
  int number;
  Color fill;
  Color frame;  // by hand: 255 minus each component; grey 7 takes palette 15 (white)
};

const FrameCase kFrameCases[] = {
    {"red_12_framed_cyan", 12, {255, 0, 0}, {0, 255, 255}},
    {"yellow_14_framed_blue", 14, {255, 255, 0}, {0, 0, 255}},
    {"navy_1", 1, {0, 0, 128}, {255, 255, 127}},
    {"light_grey_16_is_not_the_grey", 16, {192, 192, 192}, {63, 63, 63}},
    {"grey_7_framed_in_15", 7, {128, 128, 128}, {255, 255, 255}},
    {"first_swatch_0_is_black_framed_white", 0, {0, 0, 0}, {255, 255, 255}},
    {"number_60_is_black_framed_white", 60, {0, 0, 0}, {255, 255, 255}},
};

TEST(ColorSwatch, SelectedSwatchIsFramedInItsComplementExceptTheGrey) {
  for (const FrameCase& c : kFrameCases) {
    EXPECT_EQ(SwatchFrameColor(c.number), c.frame) << c.name;

    platform::RecordingDc dc;
    const platform::Rect item{0, 40, 120, 59};
    DrawColorSwatch(dc, item, c.number, true, swatch_draw::kEntire);
    ASSERT_EQ(dc.Calls().size(), 2u) << c.name;
    EXPECT_EQ(dc.Calls()[0].kind, RecordedCall::FillRect) << c.name;
    EXPECT_EQ(dc.Calls()[0].color, c.fill) << c.name;
    const RecordedCall& frame = dc.Calls()[1];
    EXPECT_EQ(frame.kind, RecordedCall::Rectangle) << c.name;
    EXPECT_EQ(frame.pen.color, c.frame) << c.name;
    EXPECT_EQ(frame.pen.width, 0) << c.name;  // one pixel
    EXPECT_TRUE(frame.brush.hollow) << c.name;
    EXPECT_EQ(frame.points.front(), (platform::Point{0, 40})) << c.name;
    EXPECT_EQ(frame.points.back(), (platform::Point{120, 59})) << c.name;
  }
}

TEST(ColorSwatch, WhatEachDrawingRequestDraws) {
  struct Case {
    const char* name;
    int number;
    bool selected;
    unsigned action;
    bool filled;
    bool framed;
    Color frame;
  };
  // Red 12 is framed in cyan when selected (the complements are checked above).
  const Color red{255, 0, 0};
  constexpr unsigned kEntire = swatch_draw::kEntire, kSelection = swatch_draw::kSelection;
  const Case cases[] = {
      {"entire_unselected_only_fills", 12, false, kEntire, true, false, {}},
      {"selection_gained_frames_only", 12, true, kSelection, false, true, {0, 255, 255}},
      {"selection_lost_frames_in_own_colour", 12, false, kSelection, false, true, red},
      {"both_unselected_removes_the_frame", 12, false, kEntire | kSelection, true, true, red},
  };
  for (const Case& c : cases) {
    platform::RecordingDc dc;
    DrawColorSwatch(dc, {0, 0, 100, 19}, c.number, c.selected, c.action);
    bool filled = false, framed = false;
    for (const RecordedCall& call : dc.Calls()) {
      if (call.kind == RecordedCall::FillRect) {
        filled = true;
        EXPECT_EQ(call.color, red) << c.name;
      }
      if (call.kind == RecordedCall::Rectangle) {
        framed = true;
        EXPECT_EQ(call.pen.color, c.frame) << c.name;
      }
    }
    EXPECT_EQ(filled, c.filled) << c.name;
    EXPECT_EQ(framed, c.framed) << c.name;
  }
}

TEST(ColorSwatch, ChoiceSelectsTheCurrentColourOnceAndAnswersMinusOneWithoutSelection) {
  EXPECT_EQ((ColorChoice{16, 0}.InitialRow()), 0);
  EXPECT_EQ((ColorChoice{60, 59}.InitialRow()), 59);
  EXPECT_EQ((ColorChoice{16, 20}.InitialRow()), -1);  // not offered: nothing selected
  EXPECT_EQ((ColorChoice{16, -1}.InitialRow()), -1);
  EXPECT_EQ((ColorChoice{16, 3}.ChosenNumber(9)), 9);
  EXPECT_EQ((ColorChoice{16, 3}.ChosenNumber(-1)), -1);
  EXPECT_EQ((ColorChoice{16, 3}.ChosenNumber(16)), -1);
}

TEST(FileNameCheck, RefusesWhatWouldLeaveTheFolderOrBreakTheName) {
  struct Case {
    const char* name;
    std::string text;
    bool safe;
  };
  const Case cases[] = {
      {"plain", "MyScheme", true},
      {"blank_and_dot_inside", "my scheme.v2", true},
      {"cyrillic_cp1251", "\xD1\xF5\xE5\xEC\xE0", true},
      {"empty", "", false},
      {"lone_dot", ".", false},
      {"dot_dot", "..", false},
      {"dot_dot_inside", "a..b", false},
      {"slash", "a/b", false},
      {"absolute", "/etc", false},
      {"backslash", "a\\b", false},
      {"tab", "a\tb", false},
      {"newline", "a\nb", false},
      {"nul", std::string("a\0b", 3), false},
      {"delete", "a\x7F", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSafeFileName(c.text), c.safe) << c.name;
}

}  // namespace
