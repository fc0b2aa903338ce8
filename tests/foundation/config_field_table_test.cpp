// The field tables of the settings blocks: each conversion's rule on reading and writing, arrays
// as far as the shorter side reaches, and the bytes no entry names kept.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "foundation/config/field_table.h"

namespace {

struct Inner {
  int x = 0;
  bool operator==(const Inner&) const = default;
};

struct Values {
  int choice = 7;
  int clamped = 0;
  double spacing = 1.5;
  int both = 0;
  int onlyOne = 0;
  int nonZero = 0;
  bool flag = false;
  int word = 0;
  int unsignedWord = 0;
  std::string text;
  std::array<int, 3> three{};
  Inner inner;
  std::array<int, 2> pair{};
  bool operator==(const Values&) const = default;
};

constexpr cfg::Field<std::int16_t> kChoice{0}, kClamped{2}, kBoth{4}, kOnlyOne{6}, kNonZero{8};
constexpr cfg::Field<std::int32_t> kFlag{12};
constexpr cfg::Field<double> kSpacing{16};
constexpr cfg::Field<std::int16_t> kWord{24};
constexpr cfg::Field<std::uint16_t> kUnsignedWord{26};
constexpr cfg::TextField kText{28, 6};
constexpr cfg::ArrayField<std::int16_t> kTwo{34, 2};  // one element fewer than the member
constexpr cfg::Field<std::int16_t> kInner{38}, kPairSecond{40};
constexpr std::size_t kSize = 44;  // bytes 42..43 are named by no entry

using cfg::Bind;
constexpr cfg::FieldTable kFields{Bind(&Values::choice, kChoice, cfg::InRange{0, 3}),
                                  Bind(&Values::clamped, kClamped, cfg::Clamp{1, 5}),
                                  Bind(&Values::spacing, kSpacing, cfg::Clamp{0.5, 10.0}),
                                  Bind(&Values::both, kBoth, cfg::ClampBoth{1, 5}),
                                  Bind(&Values::onlyOne, kOnlyOne, cfg::OnlyOne{}),
                                  Bind(&Values::nonZero, kNonZero, cfg::NonZero{}),
                                  Bind(&Values::flag, kFlag),
                                  Bind(&Values::word, kWord, cfg::Saturate{}),
                                  Bind(&Values::unsignedWord, kUnsignedWord, cfg::Saturate{}),
                                  Bind(&Values::text, kText, cfg::Trimmed{}),
                                  Bind(&Values::three, kTwo),
                                  Bind(cfg::Path{&Values::inner, &Inner::x}, kInner),
                                  Bind(cfg::Element{&Values::pair, 1}, kPairSecond)};

TEST(FieldTable, ReadAppliesEachEntrysRule) {
  cfg::ByteBlock block(kSize);
  block.Set(kChoice, std::int16_t{9});
  block.Set(kClamped, std::int16_t{-4});
  block.Set(kSpacing, std::numeric_limits<double>::quiet_NaN());
  block.Set(kBoth, std::int16_t{8});
  block.Set(kOnlyOne, std::int16_t{2});
  block.Set(kNonZero, std::int16_t{-3});
  block.Set(kFlag, std::int32_t{2});
  block.Set(kText, "ab  ");
  block.Set(kTwo[0], std::int16_t{11});
  block.Set(kTwo[1], std::int16_t{12});
  block.Set(kInner, std::int16_t{13});
  block.Set(kPairSecond, std::int16_t{14});

  Values v;
  v.three[2] = 99;
  kFields.Read(block, v);
  Values want;
  want.choice = 7;     // out of range: the default stays
  want.clamped = 1;    // brought into range
  want.spacing = 1.5;  // not a number: the default stays
  want.both = 5;
  want.onlyOne = 0;
  want.nonZero = 1;
  want.flag = true;
  want.text = "ab";
  want.three = {11, 12, 99};  // the field's two elements only
  want.inner.x = 13;
  want.pair = {0, 14};
  EXPECT_EQ(v, want);

  block.Set(kSpacing, 20.0);
  kFields.Read(block, v);
  EXPECT_EQ(v.spacing, 10.0);
}

TEST(FieldTable, WriteAppliesEachEntrysRuleAndKeepsUnnamedBytes) {
  cfg::ByteBlock block(kSize);
  block.CopyIn(42, "zz");
  Values v;
  v.clamped = 40;  // read clamped, written as it stands
  v.both = 40;     // written clamped
  v.flag = true;
  v.word = 70000;
  v.unsignedWord = -1;
  v.text = "cd ";
  v.three = {1, 2, 3};
  kFields.Write(v, block);
  EXPECT_EQ(block.Get(kClamped), 40);
  EXPECT_EQ(block.Get(kBoth), 5);
  EXPECT_EQ(block.Get(kFlag), 1);
  EXPECT_EQ(block.Get(kWord), 32767);
  EXPECT_EQ(block.Get(kUnsignedWord), 0);
  EXPECT_EQ(block.Get(kText), "cd");
  EXPECT_EQ(block.Get(kTwo[1]), 2);
  EXPECT_EQ(block.Bytes().substr(42), "zz");

  Values back;
  kFields.Read(block, back);
  EXPECT_EQ(back.spacing, v.spacing);
  EXPECT_EQ(back.word, 32767);
}

}  // namespace
