#include "foundation/text/collation.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "foundation/text/text_helpers.h"

namespace {

using RankTable = std::array<int, 256>;

// Code page 1251 bytes of the Cyrillic capitals and small letters.
constexpr unsigned char kCapitalA = 0xC0, kCapitalE = 0xC5, kCapitalZhe = 0xC6, kCapitalYa = 0xDF;
constexpr unsigned char kCapitalYo = 0xA8, kSmallYo = 0xB8;
constexpr unsigned char kSmallA = 0xE0, kSmallE = 0xE5, kSmallZhe = 0xE6, kSmallYa = 0xFF;

constexpr std::string_view kPunctuation = "!?',.;:~`@#$%^&*()|\\/=\"<>";

void AppendRange(std::string& s, unsigned char from, unsigned char to) {
  for (unsigned c = from; c <= to; ++c) s.push_back(static_cast<char>(c));
}

void AppendCyrillicCapitals(std::string& s) {
  AppendRange(s, kCapitalA, kCapitalE);
  s.push_back(static_cast<char>(kCapitalYo));
  AppendRange(s, kCapitalZhe, kCapitalYa);
}

void AppendCyrillicSmall(std::string& s) {
  AppendRange(s, kSmallA, kSmallE);
  s.push_back(static_cast<char>(kSmallYo));
  AppendRange(s, kSmallZhe, kSmallYa);
}

std::string LatinFirstAlphabet() {
  std::string s = " _-";
  AppendRange(s, '0', '9');
  AppendRange(s, 'A', 'Z');
  AppendCyrillicCapitals(s);
  s += kPunctuation;
  return s;
}

std::string CyrillicFirstAlphabet() {
  std::string s = " _-";
  AppendCyrillicCapitals(s);
  AppendRange(s, 'A', 'Z');
  AppendCyrillicSmall(s);
  AppendRange(s, 'a', 'z');
  AppendRange(s, '0', '9');
  s += kPunctuation;
  return s;
}

struct Alphabet {
  std::string characters;
  RankTable position;  // position in `characters`, or its length
  RankTable rank;      // the comparison order of every byte
};

bool IsSmallLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || c >= kSmallA || c == kSmallYo;
}

Alphabet MakeAlphabet(std::string characters, bool smallAfterItsCapital) {
  Alphabet a{std::move(characters), {}, {}};
  const int length = static_cast<int>(a.characters.size());
  a.position.fill(length);
  for (int i = 0; i < length; ++i) a.position[static_cast<unsigned char>(a.characters[i])] = i;
  // Ranks leave a gap after each character of the alphabet for a small letter; characters
  // outside it follow in code order.
  for (int c = 0; c < 256; ++c) {
    const int pos = a.position[c];
    if (pos < length) {
      a.rank[c] = 2 * pos;
      continue;
    }
    const auto byte = static_cast<unsigned char>(c);
    const int capital = a.position[static_cast<unsigned char>(CharToUpper(static_cast<char>(c)))];
    if (smallAfterItsCapital && IsSmallLetter(byte) && capital < length) {
      a.rank[c] = 2 * capital + 1;
    } else {
      a.rank[c] = 2 * length + c;
    }
  }
  return a;
}

const Alphabet& AlphabetOf(Collation collation) {
  static const Alphabet latinFirst = MakeAlphabet(LatinFirstAlphabet(), true);
  static const Alphabet cyrillicFirst = MakeAlphabet(CyrillicFirstAlphabet(), false);
  return collation == Collation::kLatinFirst ? latinFirst : cyrillicFirst;
}

char CompareRanks(int a, int b) {
  if (a < b) return kCompareLess;
  return a > b ? kCompareGreater : kCompareEqual;
}

// The length of a text that ends at its first NUL.
std::size_t TextLength(std::string_view s) {
  const std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s.size() : nul;
}

}  // namespace

int CollationLength(Collation collation) {
  return static_cast<int>(AlphabetOf(collation).characters.size());
}

int CollationPosition(char c, Collation collation) {
  return AlphabetOf(collation).position[static_cast<unsigned char>(c)];
}

char CompareChars(char a, char b, Collation collation) {
  const RankTable& rank = AlphabetOf(collation).rank;
  return CompareRanks(rank[static_cast<unsigned char>(a)], rank[static_cast<unsigned char>(b)]);
}

char CompareStrings(std::string_view a, std::string_view b, int n, bool caseInsensitive,
                    Collation collation) {
  if (n <= 0) return kCompareEqual;
  const RankTable& rank = AlphabetOf(collation).rank;
  const std::size_t limit = static_cast<std::size_t>(n);
  const std::size_t lengthA = std::min(TextLength(a), limit);
  const std::size_t lengthB = std::min(TextLength(b), limit);
  const std::size_t common = std::min(lengthA, lengthB);
  for (std::size_t i = 0; i < common; ++i) {
    char ca = a[i], cb = b[i];
    if (caseInsensitive) {
      ca = CharToUpper(ca);
      cb = CharToUpper(cb);
    }
    const char result =
        CompareRanks(rank[static_cast<unsigned char>(ca)], rank[static_cast<unsigned char>(cb)]);
    if (result != kCompareEqual) return result;
  }
  return CompareRanks(static_cast<int>(lengthA), static_cast<int>(lengthB));
}
