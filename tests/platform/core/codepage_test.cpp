#include "platform/core/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, EveryCp1251ByteRoundTripsThroughUtf8) {
  for (int c = 1; c < 256; ++c) {
    if (c == 0x98) continue;  // unassigned in code page 1251
    const std::string one(1, static_cast<char>(c));
    bool lossless = false;
    EXPECT_EQ(platform::Utf8ToCp1251(platform::Cp1251ToUtf8(one), &lossless), one) << c;
    EXPECT_TRUE(lossless) << c;
  }
}

TEST(CodePage, RussianLettersAndYo) {
  // "Ёж ёлка" in code page 1251: A8 E6 20 B8 EB EA E0
  const std::string cp = platform::Utf8ToCp1251("Ёж ёлка");
  EXPECT_EQ(cp, "\xA8\xE6\x20\xB8\xEB\xEA\xE0");
  EXPECT_EQ(platform::Cp1251ToUtf8("\xC0\xDF\xE0\xFF"), "АЯая");
}

TEST(CodePage, CharactersOutsideTheCodePageAreMarkedLost) {
  bool lossless = true;
  EXPECT_EQ(platform::Utf8ToCp1251("a\xE2\x99\x88"
                                   "b",
                                   &lossless),
            "a?b");  // U+2648 Aries
  EXPECT_FALSE(lossless);
  EXPECT_EQ(platform::Utf8ToCp1251("x\xC3", &lossless), "x?");  // truncated sequence
  EXPECT_FALSE(lossless);
}

}  // namespace
