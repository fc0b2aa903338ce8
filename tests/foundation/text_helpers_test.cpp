#include "foundation/text/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/text/cp1251.h"

namespace {

TEST(TextUpperCase, EveryCodePage1251Character) {
  // The small letters that are upper-cased, and their capitals in the same order; every other
  // character (the capitals, digits, signs and the other Cyrillic letters such as ў, і, ї, є,
  // ґ, ђ, љ) stays as it is.
  const std::string small = Cp1251("abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя");
  const std::string capital = Cp1251("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  ASSERT_EQ(small.size(), 26u + 33u);
  ASSERT_EQ(capital.size(), small.size());
  std::string all;
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const std::size_t at = small.find(c);
    const char upper = at == std::string::npos ? c : capital[at];
    SCOPED_TRACE(b);
    EXPECT_EQ(CharToUpper(c), upper);
    all.push_back(c);
    expected.push_back(upper);
  }
  StringToUpper(all);
  EXPECT_EQ(all, expected);
}

TEST(TextSearchKey, YoCountsAsIeAndLetterCaseIsIgnored) {
  // ё 0xB8, Ё 0xA8, е 0xE5 and Е 0xC5 all give Е; every other character its capital only.
  for (const unsigned char b : {0xB8, 0xA8, 0xE5, 0xC5})
    EXPECT_EQ(static_cast<unsigned char>(CharToSearchKey(static_cast<char>(b))), 0xC5) << int{b};
  for (int b = 0; b < 256; ++b) {
    if (b == 0xB8 || b == 0xA8 || b == 0xE5 || b == 0xC5) continue;
    EXPECT_EQ(CharToSearchKey(static_cast<char>(b)), CharToUpper(static_cast<char>(b))) << b;
  }
  const struct {
    const char* text;  // UTF-8
    const char* key;
  } rows[] = {
      {"Королёв", "КОРОЛЕВ"}, {"КОРОЛЁВ", "КОРОЛЕВ"}, {"королев", "КОРОЛЕВ"},
      {"Ёлкино", "ЕЛКИНО"},   {"Moscow", "MOSCOW"},   {"", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(SearchKey(Cp1251(r.text)), Cp1251(r.key)) << r.text;
}

TEST(TextInPlace, BlanksAndReplacements) {
  struct Row {
    const char* name;
    void (*apply)(std::string&);
    const char* text;
    const char* expected;
  };
  const Row rows[] = {
      {"trim_trailing", TrimRight, "abc  ", "abc"},
      {"trim_keeps_inner_and_leading", TrimRight, "  a b ", "  a b"},
      {"trim_all_blanks", TrimRight, "   ", ""},
      {"trim_empty", TrimRight, "", ""},
      {"trim_no_blanks", TrimRight, "abc", "abc"},
      {"trim_not_tab", TrimRight, "abc\t", "abc\t"},
      {"underscore_inner_and_leading", TrimRightUnderscore, "  my group  ", "__my_group"},
      {"underscore_only_blanks", TrimRightUnderscore, "    ", ""},
      {"underscore_none", TrimRightUnderscore, "group", "group"},
      {"remove_all_blanks", RemoveAllBlanks, " ( 1 & 2 ) | 3 ", "(1&2)|3"},
      {"remove_only_blanks", RemoveAllBlanks, "   ", ""},
      {"replace_char", [](std::string& s) { ReplaceChar(s, '.', ':'); }, "01.02.1990",
       "01:02:1990"},
      {"replace_absent", [](std::string& s) { ReplaceChar(s, '#', '-'); }, "a.b", "a.b"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::string text = r.text;
    r.apply(text);
    EXPECT_EQ(text, r.expected);
  }
}

TEST(TextCopying, BeforeAndBetweenCharacters) {
  EXPECT_EQ(CopyBeforeChar("velm.asp", '.'), "velm");
  EXPECT_EQ(CopyBeforeChar("noext", '.'), "noext");
  EXPECT_EQ(CopyBeforeChar(".x", '.'), "");
  EXPECT_EQ(CopyBeforeChar("a.b.c", '.'), "a");

  struct Row {
    const char* text;
    int expectedIndex;
    const char* expectedOut;
  };
  const Row rows[] = {
      {"/Group one/ rest", 10, "Group one"},
      {"x/a/b/c", 3, "a"},
      {"//x", 1, ""},
      {"a/b", -1, ""},
      {"none", -1, ""},
      {"", -1, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    std::string out = "left over";
    EXPECT_EQ(CopyBetweenChars(r.text, '/', out), r.expectedIndex);
    EXPECT_EQ(out, r.expectedOut);
  }
}

TEST(TextCutting, TruncateTextAppendsDotsOnlyWhenLonger) {
  struct Row {
    const char* text;
    int n;
    const char* expected;
  };
  const Row rows[] = {
      {"abcdef", 3, "abc..."}, {"abc", 3, "abc"}, {"ab", 3, "ab"},
      {"abcd", 0, "..."},      {"", 0, ""},       {"abcd", -2, "..."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.text) + " " + std::to_string(r.n));
    EXPECT_EQ(TruncateText(r.text, r.n), r.expected);
  }
}

TEST(TextCutting, ShortenTextToLengthKeepsHeadAndTail) {
  const std::string text = "0123456789ABCDEFGHIJ";  // 20 characters
  struct Row {
    int n;
    const char* expected;
  };
  const Row rows[] = {
      {25, "0123456789ABCDEFGHIJ"},
      {20, "0123456789ABCDEFGHIJ"},
      {19, "012...789ABCDEFGHIJ"},
      {10, "012...GHIJ"},
      {7, "012...J"},
      {6, "012..."},
      {5, "01..."},
      {3, "..."},
      {2, "01"},
      {0, ""},
      {-1, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.n);
    EXPECT_EQ(ShortenTextToLength(text, r.n), r.expected);
  }
  EXPECT_EQ(ShortenTextToLength("/home/ivan/archives/velm.arc", 16), "/ho...s/velm.arc");
}

TEST(TextCutting, ShortenedTextNeverExceedsTheLimit) {
  const std::string path = "/home/astrologer/archives/clients/2026/velm.arc";
  for (int n = 0; n <= 60; ++n) {
    const std::string s = ShortenTextToLength(path, n);
    ASSERT_LE(s.size(), static_cast<std::size_t>(n)) << n;
    if (static_cast<std::size_t>(n) >= path.size()) {
      ASSERT_EQ(s, path) << n;
    }
    if (n >= 6 && static_cast<std::size_t>(n) < path.size()) {
      ASSERT_EQ(s.size(), static_cast<std::size_t>(n)) << n;
      ASSERT_EQ(s.substr(0, 6), "/ho...") << n;
      ASSERT_EQ(s.substr(6), path.substr(path.size() - (n - 6))) << n;
    }
  }
}

}  // namespace
