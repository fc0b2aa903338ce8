// One query condition: twenty 32-bit words, of which words 5 to 7 are texts, and its line in the
// condition lists ("quefuncs.lst", "synfuncs.lst"). Only the text line is persistent; in memory
// the words are plain ints and the texts strings (code page 1251).
//
// Object codes (words that name a chart object): 0..33 a chart point, 100 + n sign n, 200 + n
// house n, 300 + n the ruler of house n, 500..505 a group named by its label in a text (planets,
// signs, houses; one-of and each), 506 a fixed zodiac degree held in words 8 to 10.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Condition kinds (word 1).
inline constexpr int kCondAsp = 0;
inline constexpr int kCondIn = 1;
inline constexpr int kCondIncl = 2;
inline constexpr int kCondInterval = 3;
inline constexpr int kCondMoreLess = 4;
inline constexpr int kCondBeforeAfter = 5;
inline constexpr int kCondContext = 6;
inline constexpr int kCondConf = 7;
inline constexpr int kCondQuant = 8;
inline constexpr int kCondPairAsp = 100;
inline constexpr int kCondPairIn = 101;

// Object codes.
inline constexpr int kSelectablePoints = 34;  // chart points 0..33
inline constexpr int kSignBase = 100;
inline constexpr int kHouseBase = 200;
inline constexpr int kRulerBase = 300;
inline constexpr int kPlanetGroupOneOf = 500;
inline constexpr int kPlanetGroupEach = 501;
inline constexpr int kSignGroupOneOf = 502;
inline constexpr int kSignGroupEach = 503;
inline constexpr int kHouseGroupOneOf = 504;
inline constexpr int kHouseGroupEach = 505;
inline constexpr int kFixedDegree = 506;
inline constexpr int kAnyPlanet = 700;  // a member of a configuration condition

inline constexpr bool IsPointCode(int code) { return code >= 0 && code < kSelectablePoints; }
inline constexpr bool IsSignCode(int code) { return code >= kSignBase && code < kSignBase + 12; }
inline constexpr bool IsHouseCode(int code) { return code >= kHouseBase && code < kHouseBase + 12; }
inline constexpr bool IsRulerCode(int code) { return code >= kRulerBase && code < kRulerBase + 12; }
inline constexpr bool IsGroupCode(int code) {
  return code >= kPlanetGroupOneOf && code <= kHouseGroupEach;
}
inline constexpr bool IsPlanetGroupCode(int code) { return code == 500 || code == 501; }
inline constexpr bool IsSignGroupCode(int code) { return code == 502 || code == 503; }
inline constexpr bool IsHouseGroupCode(int code) { return code == 504 || code == 505; }
// A sign or a sign group; a house or a house group (the places of IN and INCL).
inline constexpr bool IsSignLike(int code) { return IsSignCode(code) || IsSignGroupCode(code); }
inline constexpr bool IsHouseLike(int code) { return IsHouseCode(code) || IsHouseGroupCode(code); }
// Any object code of the table above (the fixed degree included).
inline constexpr bool IsObjectCode(int code) {
  return IsPointCode(code) || IsSignCode(code) || IsHouseCode(code) || IsRulerCode(code) ||
         IsGroupCode(code) || code == kFixedDegree;
}

// Aspect choice (word 4 of ASP): an aspect index of the system, or one of these.
inline constexpr int kAnyAspectOfClasses = 1000;
inline constexpr int kArbitraryAngle = 1001;

// Bits of the aspect-class mask (word 14 of ASP).
inline constexpr int kMaskOtherClass = 4;  // bits 0..3 are the natures 0..3
inline constexpr int kMaskMajor = 5;
inline constexpr int kMaskMinor = 6;
inline constexpr int kMaskExact = 7;
inline constexpr int kMaskInexact = 8;
inline constexpr int kMaskAll = 0x1FF;

struct QueryCondition {
  static constexpr int kWords = 20;
  static constexpr std::size_t kMaxTextLength = 99;  // characters of one text token

  // Words 0..19; words 5, 6 and 7 are unused here: the texts stand for them.
  std::array<std::int32_t, kWords> w{};
  std::string text1;  // word 5: group label of the first object, or the context text
  std::string text2;  // word 6: group label of the second object
  std::string text3;  // word 7: the aspect system's name

  int Number() const { return w[0]; }
  int Kind() const { return w[1]; }
  bool Enabled() const { return w[19] == 1; }
  // The text of word 5, 6 or 7.
  const std::string& Text(int word) const { return word == 5 ? text1 : word == 6 ? text2 : text3; }

  // Copies words 1..18 and the three texts of `other` (the number and the enabled word stay).
  void CopyContents(const QueryCondition& other);

  friend bool operator==(const QueryCondition&, const QueryCondition&) = default;
};

// The text token of a condition list for a text: the text itself, or the character 0x03 when
// it is empty.
inline constexpr char kEmptyTextToken = '\x03';
// The character that stands for a blank inside a text.
inline constexpr char kBlankInText = '\x04';

// The line of a condition (with its LF): number (low 16 bits, signed), '+' or '-', kind, words 2
// to 4, the three texts as tokens, words 8 to 18.
std::string FormatConditionLine(const QueryCondition& condition);

// Why a condition line was not taken.
enum class ConditionLineFault {
  kNone,
  kFields,   // it does not give all 20 fields (the reading of the list ends there)
  kInvalid,  // a field holds a value no condition can have (the record is refused)
};

// Reads one line (without its line end). Every field is checked (ValidateCondition).
ConditionLineFault ParseConditionLine(std::string_view line, QueryCondition& out);

// True for the kinds of a synastry set (100 and 101), which are decided on a pair of charts.
inline constexpr bool IsPairKind(int kind) { return kind == kCondPairAsp || kind == kCondPairIn; }

// True when every word of the condition fits its kind: a known kind, the object codes, signs,
// degrees, minutes, orb classes, masks, configuration rows, packed members and flags; every group
// code comes with a label, every text is a blank-free token of at most 99 characters.
bool ValidateCondition(const QueryCondition& condition);
