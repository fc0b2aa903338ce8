#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/text/collation.h"
#include "foundation/text/cp1251.h"

namespace {

std::vector<std::string> Cp1251All(const std::vector<std::string>& utf8) {
  std::vector<std::string> out;
  for (const std::string& s : utf8) out.push_back(Cp1251(s));
  return out;
}

std::vector<std::string> Utf8All(const std::vector<std::string>& cp1251) {
  std::vector<std::string> out;
  for (const std::string& s : cp1251) out.push_back(Utf8(s));
  return out;
}

std::vector<std::string> SortedBy(std::vector<std::string> names, bool caseInsensitive,
                                  Collation collation) {
  std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    return CompareStrings(a, b, 260, caseInsensitive, collation) == '<';
  });
  return names;
}

// Names of an archive in no particular order (UTF-8 here, code page 1251 in the program).
const std::vector<std::string> kNames = {"Ёлка",   "«Кавычки»", "Жук",   "Zebra",  "apple", "_x",
                                         " lead",  "ўзел",      "-dash", "7up",    "!bang", "Еж",
                                         "яблоко", "Ель",       "Ёж",    "Апрель", "Banana"};

TEST(Collation, LatinFirstOrderOfArchiveNames) {
  // Blank, '_', '-', digits, Latin, Cyrillic with Ё between Е and Ж, punctuation, then the
  // characters outside the alphabet by code (ў 0xA2 before « 0xAB).
  const std::vector<std::string> expected = {
      " lead", "_x", "-dash", "7up", "apple",  "Banana", "Zebra", "Апрель",   "Еж",
      "Ель",   "Ёж", "Ёлка",  "Жук", "яблоко", "!bang",  "ўзел",  "«Кавычки»"};
  EXPECT_EQ(Utf8All(SortedBy(Cp1251All(kNames), true, Collation::kLatinFirst)), expected);
}

TEST(Collation, CyrillicFirstOrderOfEventTexts) {
  // Blank, '_', '-', Cyrillic capitals, Latin capitals (small letters are upper-cased), digits,
  // punctuation, then the characters outside the alphabet.
  const std::vector<std::string> expected = {
      " lead",  "_x",    "-dash",  "Апрель", "Еж",  "Ель",   "Ёж",   "Ёлка",     "Жук",
      "яблоко", "apple", "Banana", "Zebra",  "7up", "!bang", "ўзел", "«Кавычки»"};
  EXPECT_EQ(Utf8All(SortedBy(Cp1251All(kNames), true, Collation::kCyrillicFirst)), expected);
}

TEST(Collation, CaseSensitiveMixedCase) {
  struct Row {
    const char* a;
    const char* b;
    Collation collation;
    char expected;
  };
  const Row rows[] = {
      // Latin first: a small letter right after its capital.
      {"apple", "Apple", Collation::kLatinFirst, '>'},
      {"apple", "Banana", Collation::kLatinFirst, '<'},
      {"z", "А", Collation::kLatinFirst, '<'},
      {"ё", "Ё", Collation::kLatinFirst, '>'},
      {"ё", "е", Collation::kLatinFirst, '>'},
      {"ё", "Ж", Collation::kLatinFirst, '<'},
      {"е", "Ё", Collation::kLatinFirst, '<'},
      {"я", "!", Collation::kLatinFirst, '<'},
      // Cyrillic first: capitals, Latin capitals, Cyrillic small, Latin small, digits.
      {"Я", "A", Collation::kCyrillicFirst, '<'},
      {"я", "Z", Collation::kCyrillicFirst, '>'},
      {"apple", "Zebra", Collation::kCyrillicFirst, '>'},
      {"ё", "ж", Collation::kCyrillicFirst, '<'},
      {"ё", "е", Collation::kCyrillicFirst, '>'},
      {"Ё", "а", Collation::kCyrillicFirst, '<'},
      {"z", "0", Collation::kCyrillicFirst, '<'},
      {"9", "!", Collation::kCyrillicFirst, '<'},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.a) + " vs " + r.b);
    EXPECT_EQ(CompareStrings(Cp1251(r.a), Cp1251(r.b), 50, false, r.collation), r.expected);
  }
}

TEST(Collation, CompareCharsOfSingleCharacters) {
  struct Row {
    const char* a;
    const char* b;
    Collation collation;
    char expected;
  };
  const Row rows[] = {
      {"Е", "Ё", Collation::kLatinFirst, '<'},    {"Ё", "Ж", Collation::kLatinFirst, '<'},
      {"Z", "А", Collation::kLatinFirst, '<'},    {"!", "Я", Collation::kLatinFirst, '>'},
      {"9", "A", Collation::kLatinFirst, '<'},    {"-", "0", Collation::kLatinFirst, '<'},
      {"Я", "A", Collation::kCyrillicFirst, '<'}, {"9", "я", Collation::kCyrillicFirst, '>'},
      {"Ё", "Ё", Collation::kCyrillicFirst, '='}, {"a", "A", Collation::kLatinFirst, '>'},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.a) + " vs " + r.b);
    EXPECT_EQ(CompareChars(Cp1251(r.a)[0], Cp1251(r.b)[0], r.collation), r.expected);
  }
}

TEST(Collation, LengthLimitAndShorterFirst) {
  struct Row {
    const char* name;
    std::string a;
    std::string b;
    int n;
    bool caseInsensitive;
    char expected;
  };
  const Row rows[] = {
      {"differs_after_n", "abc", "abd", 2, true, '='},
      {"differs_at_n", "abc", "abd", 3, true, '<'},
      {"shorter_first", "ab", "abc", 3, true, '<'},
      {"longer_last", "abc", "ab", 3, true, '>'},
      {"longer_beyond_n", "abc", "ab", 2, true, '='},
      {"both_empty", "", "", 5, true, '='},
      {"empty_first", "", "a", 5, true, '<'},
      {"blank_before_letter", " ", "a", 5, true, '<'},
      {"n_zero", "abc", "xyz", 0, true, '='},
      {"n_negative", "abc", "xyz", -4, true, '='},
      {"fixed_field_ends_at_nul", std::string("ab\0zz", 5), "ab", 35, true, '='},
      {"nul_before_text", std::string("ab\0", 3), "abc", 35, true, '<'},
      {"case_folded", "ABC", "abc", 3, true, '='},
      {"case_kept", "ABC", "abc", 3, false, '<'},
      {"cyrillic_case_folded", Cp1251("ЁЛКА"), Cp1251("ёлка"), 10, true, '='},
      {"cyrillic_case_kept", Cp1251("ЁЛКА"), Cp1251("ёлка"), 10, false, '<'},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(CompareStrings(r.a, r.b, r.n, r.caseInsensitive, Collation::kLatinFirst), r.expected);
    EXPECT_EQ(CompareStrings(r.a, r.b, r.n, r.caseInsensitive, Collation::kCyrillicFirst),
              r.expected);
  }
}

TEST(Collation, PositionsInTheAlphabets) {
  struct Row {
    const char* utf8;
    int latinFirst;
    int cyrillicFirst;
  };
  // Counted by hand from the two alphabets; 97 and 156 mean "not in the alphabet".
  const Row rows[] = {
      {" ", 0, 0},    {"_", 1, 1},     {"-", 2, 2},    {"0", 3, 121},  {"9", 12, 130},
      {"A", 13, 36},  {"Z", 38, 61},   {"А", 39, 3},   {"Е", 44, 8},   {"Ё", 45, 9},
      {"Ж", 46, 10},  {"Я", 71, 35},   {"!", 72, 131}, {">", 96, 155}, {"\\", 91, 150},
      {"a", 97, 95},  {"z", 97, 120},  {"а", 97, 62},  {"ё", 97, 68},  {"я", 97, 94},
      {"«", 97, 156}, {"\t", 97, 156}, {"+", 97, 156},
  };
  EXPECT_EQ(CollationLength(Collation::kLatinFirst), 97);
  EXPECT_EQ(CollationLength(Collation::kCyrillicFirst), 156);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.utf8);
    const char c = Cp1251(r.utf8)[0];
    EXPECT_EQ(CollationPosition(c, Collation::kLatinFirst), r.latinFirst);
    EXPECT_EQ(CollationPosition(c, Collation::kCyrillicFirst), r.cyrillicFirst);
  }
}

TEST(Collation, EveryTwoDifferentCharactersCompareUnequalAndAntisymmetric) {
  for (Collation collation : {Collation::kLatinFirst, Collation::kCyrillicFirst}) {
    for (int a = 1; a < 256; ++a) {
      for (int b = 1; b < 256; ++b) {
        const char ab = CompareChars(static_cast<char>(a), static_cast<char>(b), collation);
        const char ba = CompareChars(static_cast<char>(b), static_cast<char>(a), collation);
        ASSERT_EQ(ab == '=', a == b) << a << " " << b;
        ASSERT_EQ(ab == '<', ba == '>') << a << " " << b;
      }
    }
  }
}

}  // namespace
