#include <gtest/gtest.h>

#include <string>

#include "foundation/text/code_page_866.h"
#include "foundation/text/cp1251.h"

namespace {

std::string Bytes(unsigned from, unsigned to) {
  std::string s;
  for (unsigned b = from; b <= to; ++b) s.push_back(static_cast<char>(b));
  return s;
}

// Every Cyrillic letter of code page 866: А..Я 0x80..0x9F, а..п 0xA0..0xAF, р..я 0xE0..0xEF,
// then Ё ё Є є Ї ї Ў ў at 0xF0..0xF7.
const std::string kLetters866 = Bytes(0x80, 0xAF) + Bytes(0xE0, 0xF7);
const char* const kLettersUtf8 =
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюяЁёЄєЇїЎў";

TEST(CodePage866, EveryCyrillicLetterBothWays) {
  std::string text = kLetters866;
  ConvertString866To1251(text);
  EXPECT_EQ(Utf8(text), kLettersUtf8);

  std::string back = Cp1251(kLettersUtf8);
  ConvertString1251To866(back);
  EXPECT_EQ(back, kLetters866);
}

TEST(CodePage866, SignsAndCharactersWithoutCounterpart) {
  struct Row {
    const char* name;
    std::string cp866;
    std::string cp1251;
  };
  // 866 -> 1251: the degree sign, middle dot, № and no-break space have counterparts; the
  // box-drawing characters and the black square have none.
  const Row to1251[] = {
      {"ascii_unchanged", "Moscow 55:45 N", "Moscow 55:45 N"},
      {"degree", "\xF8", "\xB0"},
      {"middle_dot", "\xFA", "\xB7"},
      {"numero", "\xFC", "\xB9"},
      {"currency", "\xFD", "\xA4"},
      {"no_break_space", "\xFF", "\xA0"},
      {"shade", "\xB0", "?"},
      {"box_corner", "\xC0", "?"},
      {"black_square", "\xFE", "?"},
  };
  for (const Row& r : to1251) {
    SCOPED_TRACE(r.name);
    std::string text = r.cp866;
    ConvertString866To1251(text);
    EXPECT_EQ(text, r.cp1251);
  }
  // 1251 -> 866: dashes, quotes, the euro sign and the letters that 866 lacks (ђ, і, ґ) have no
  // counterpart.
  const Row to866[] = {
      {"degree", "\xF8", "\xB0"},      {"numero", "\xFC", "\xB9"},
      {"em_dash", "?", "\x97"},        {"guillemet", "?", "\xAB"},
      {"euro", "?", "\x88"},           {"dje", "?", "\x90"},
      {"byelorussian_i", "?", "\xB3"}, {"ghe_with_upturn", "?", "\xB4"},
  };
  for (const Row& r : to866) {
    SCOPED_TRACE(r.name);
    std::string text = r.cp1251;
    ConvertString1251To866(text);
    EXPECT_EQ(text, r.cp866);
  }
}

}  // namespace
