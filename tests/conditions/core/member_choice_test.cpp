// The member chooser's entries, limits and 'Y'/'N' strings, and the group list's row drawing.
#include "conditions/core/member_choice.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "conditions/core/group_list_drawing.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"

namespace {

TEST(MemberChoice, EveryModeOffersWhatItsGroupsCanHold) {
  struct Case {
    const char* name;
    int mode;
    int count;
    const char* first;  // UTF-8
    const char* last;
  };
  const Case cases[] = {
      {"planets_all_34_points", MemberChoice::kPlanets, 34, "Солнце", "Вертекс"},
      {"houses", MemberChoice::kHouses, 12, "1 дом", "12 дом"},
      {"signs", MemberChoice::kSigns, 12, "Овен", "Рыбы"},
      {"unknown_mode_empty", 3, 0, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MemberChoice::EntryCount(c.mode), c.count) << c.name;
    EXPECT_EQ(MemberChoice::EntryName(c.mode, 0), Cp1251(c.first)) << c.name;
    EXPECT_EQ(MemberChoice::EntryName(c.mode, c.count - 1), Cp1251(c.last)) << c.name;
    EXPECT_EQ(MemberChoice::EntryName(c.mode, c.count), "") << c.name;
  }
}

TEST(MemberChoice, LimitsRefuseTooManyWithMessage448) {
  struct Case {
    int chosen, limit, refusal;
  };
  const Case cases[] = {{10, MemberChoice::kAtMost10, 0}, {11, MemberChoice::kAtMost10, 448},
                        {12, MemberChoice::kAtMost12, 0}, {13, MemberChoice::kAtMost12, 448},
                        {34, MemberChoice::kNoLimit, 0},  {0, MemberChoice::kAtMost10, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(MemberChoice::CheckCount(c.chosen, c.limit), c.refusal)
        << c.chosen << " with limit " << c.limit;
}

TEST(MemberChoice, FlagsGoInAndOutOneLetterPerEntry) {
  const std::vector<bool> in = MemberChoice::FromFlags(MemberChoice::kHouses, "YNY");
  ASSERT_EQ(in.size(), 12u);  // a short string: the rest 'N'
  EXPECT_EQ(MemberChoice::ToFlags(in), "YNYNNNNNNNNN");
  EXPECT_EQ(MemberChoice::ToFlags(MemberChoice::FromFlags(MemberChoice::kSigns, "NNNNNNNNNNNYYYY")),
            "NNNNNNNNNNNY");  // letters beyond the list are dropped
  EXPECT_EQ(MemberChoice::ChosenIndices("NYNNY"), (std::vector<int>{1, 4}));
  EXPECT_EQ(MemberChoice::FlagsOf(MemberChoice::kSigns, {11, 0, 12, -1}), "YNNNNNNNNNNY");
}

class GroupRow : public ::testing::Test {
 protected:
  // A 90 (9-point) list font: em 12 pixels; in the recording Dc a text character is 6 wide, so
  // 24 letters W are 144 and "W." 12.
  static constexpr int kFont = 90;
  static constexpr platform::Rect kItem{10, 40, 600, 62};
  static constexpr platform::Color kBackground{250, 250, 250};

  void Add(char kind, const char* name, std::vector<int> members) {
    ASSERT_GE(store_.AddGroup(kind, condition_test::Group(name, members)), 0);
  }
  std::vector<const platform::RecordedCall*> Glyphs() const {
    std::vector<const platform::RecordedCall*> found;
    for (const auto& call : dc_.Calls())
      if (call.kind == platform::RecordedCall::Text && call.font.IsGlyphFace())
        found.push_back(&call);
    return found;
  }
  Groups store_;
  platform::RecordingDc dc_;
};

TEST_F(GroupRow, NameThenOneGlyphPerMemberAfterTheWidthOf24W) {
  Add('P', "fire", {0, 4, 33});
  DrawGroupItem(dc_, store_, 0, kItem, false, kBackground, kFont);
  ASSERT_FALSE(dc_.Calls().empty());
  EXPECT_EQ(dc_.Calls()[0].kind, platform::RecordedCall::FillRect);
  EXPECT_EQ(dc_.Calls()[0].color, kBackground);
  ASSERT_EQ(dc_.Texts().front(), "fire");
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 3u);
  const char codes[] = {'M', 'Q', 'n'};  // Sun, Mars, point 33
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(glyphs[i]->text, std::string(1, codes[i]));
    EXPECT_EQ(glyphs[i]->font.face, "VelmAstro5a");
    EXPECT_EQ(glyphs[i]->points.front().x, 10 + 144 + 12 * static_cast<int>(i));
    EXPECT_EQ(glyphs[i]->points.front().y, 40);
    EXPECT_EQ(glyphs[i]->color, platform::kBlack);
  }
}

TEST_F(GroupRow, SelectedRowIsYellowOnNavyAndGlyphsFollowTheKind) {
  Add('H', "corners", {0, 8, 9, 11});
  Add('S', "signs", {0, 11});
  store_.SetCurrentKind('H');
  DrawGroupItem(dc_, store_, 0, kItem, true, kBackground, kFont);
  EXPECT_EQ(dc_.Calls()[0].color, (platform::Color{0, 0, 128}));
  std::string codes;
  for (const auto* g : Glyphs()) {
    codes += g->text;
    EXPECT_EQ(g->color, (platform::Color{255, 255, 0}));
  }
  EXPECT_EQ(codes, "owxz");  // houses I, IX, X, XII
  dc_.Clear();
  store_.SetCurrentKind('S');
  DrawGroupItem(dc_, store_, 0, kItem, false, kBackground, kFont);
  codes.clear();
  for (const auto* g : Glyphs()) codes += g->text;
  EXPECT_EQ(codes, "AL");
}

TEST_F(GroupRow, LongNamesAreCutAndAtMost17GlyphsAreDrawn) {
  std::vector<int> members;
  for (int i = 0; i < 20; ++i) members.push_back(i);
  Add('P', "abcdefghijabcdefghijabcdefghij", members);
  DrawGroupItem(dc_, store_, 0, kItem, false, kBackground, kFont);
  const std::string name = dc_.Texts().front();
  EXPECT_EQ(name.substr(name.size() - 3), "...");
  EXPECT_LE(static_cast<int>(name.size()) * 6, 144);
  ASSERT_EQ(Glyphs().size(), 17u);
  EXPECT_EQ(Glyphs().back()->text, std::string(1, 'M' + 16));
}

TEST_F(GroupRow, NothingIsDrawnWithoutSuchAGroup) {
  DrawGroupItem(dc_, store_, 0, kItem, true, kBackground, kFont);
  Add('S', "signs", {0});
  DrawGroupItem(dc_, store_, 0, kItem, true, kBackground, kFont);  // the planet kind is shown
  DrawGroupItem(dc_, store_, -1, kItem, true, kBackground, kFont);
  EXPECT_TRUE(dc_.Calls().empty());
}

}  // namespace
