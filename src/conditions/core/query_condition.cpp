#include "conditions/core/query_condition.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "conditions/core/quantity_values.h"

void QueryCondition::CopyContents(const QueryCondition& other) {
  for (int i = 1; i <= 18; ++i)
    w[static_cast<std::size_t>(i)] = other.w[static_cast<std::size_t>(i)];
  text1 = other.text1;
  text2 = other.text2;
  text3 = other.text3;
}

namespace {

std::string Token(const std::string& text) {
  return text.empty() ? std::string(1, kEmptyTextToken) : text;
}

std::vector<std::string_view> SplitBlanks(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size() && tokens.size() <= QueryCondition::kWords) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

bool ParseInt(std::string_view token, std::int32_t& value) {
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

bool In(std::int32_t v, int lo, int hi) { return v >= lo && v <= hi; }

// A text as it can stand in a condition line: a token without blanks or line ends, of at most
// 99 characters, that cannot be taken for the empty-text token.
bool ValidText(const std::string& text) {
  if (text.size() > QueryCondition::kMaxTextLength) return false;
  if (!text.empty() && text[0] == kEmptyTextToken) return false;
  for (const char c : text)
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0') return false;
  return true;
}

// A group code needs its label.
bool Labelled(int code, const std::string& label) { return !IsGroupCode(code) || !label.empty(); }

bool ValidFixedDegree(const QueryCondition& c) {
  return In(c.w[8], 0, 29) && In(c.w[9], 0, 11) && In(c.w[10], 0, 59);
}

// Only the words that the aspect choice and the orb source use are checked: the others may hold
// anything (the wizard leaves -1 in some).
bool ValidAsp(const QueryCondition& c) {
  const int a = c.w[2], b = c.w[3], choice = c.w[4];
  if (!IsObjectCode(a) || !IsObjectCode(b) || b == kFixedDegree) return false;
  if (a == kFixedDegree && !ValidFixedDegree(c)) return false;
  if (!Labelled(a, c.text1) || !Labelled(b, c.text2)) return false;
  if (!In(choice, 0, 49) && choice != kAnyAspectOfClasses && choice != kArbitraryAngle)
    return false;
  const bool ownOrb = In(c.w[12], 0, 359) && In(c.w[13], 0, 59);
  if (choice == kArbitraryAngle) return ownOrb && In(c.w[17], 0, 359) && In(c.w[18], 0, 59);
  if (!In(c.w[11], 0, 1)) return false;
  if (choice == kAnyAspectOfClasses && !In(c.w[14], 0, kMaskAll)) return false;
  if (c.w[11] == 0) return ownOrb;
  // The system's orbs: the orb class of pairs with a house cusp, and of pairs that are not two
  // chart points.
  if ((IsHouseLike(a) || IsHouseLike(b)) && !In(c.w[15], 0, 5)) return false;
  if ((IsSignLike(a) || IsSignLike(b) || a == kFixedDegree) && !In(c.w[16], 0, 5)) return false;
  return true;
}

bool ValidIn(const QueryCondition& c) {
  const int a = c.w[2], place = c.w[3];
  if (!IsObjectCode(a) || !(IsSignLike(place) || IsHouseLike(place))) return false;
  if (a == kFixedDegree && !ValidFixedDegree(c)) return false;
  return Labelled(a, c.text1) && Labelled(place, c.text2);
}

// The object of IN between two charts is a point, a house cusp, a house ruler or a planet or
// house group; the place a house or a house group. A sign has no meaning there.
bool ValidPairIn(const QueryCondition& c) {
  const int a = c.w[2], place = c.w[3];
  const bool object = IsPointCode(a) || IsHouseCode(a) || IsRulerCode(a) || IsPlanetGroupCode(a) ||
                      IsHouseGroupCode(a);
  return object && IsHouseLike(place) && In(c.w[11], 0, 1) && Labelled(a, c.text1) &&
         Labelled(place, c.text2);
}

bool ValidIncl(const QueryCondition& c) {
  const int a = c.w[2], b = c.w[3];
  const bool pairing = (IsSignLike(a) && IsHouseLike(b)) || (IsHouseLike(a) && IsSignLike(b));
  return pairing && In(c.w[4], 0, 2) && Labelled(a, c.text1) && Labelled(b, c.text2);
}

// The object and the first bound of MORE/LESS and INTERV.
bool ValidQuantity(const QueryCondition& c) {
  const int object = c.w[2], quantity = c.w[3];
  if (!In(quantity, 0, 6)) return false;
  if (quantity == 0 && !(IsObjectCode(object) && object != kFixedDegree)) return false;
  if ((quantity == 5 || quantity == 6) &&
      !(IsPointCode(object) || IsRulerCode(object) || IsPlanetGroupCode(object)))
    return false;
  if ((quantity == 0 || quantity == 5 || quantity == 6) && !Labelled(object, c.text1)) return false;
  return In(c.w[11], 0, 359) && In(c.w[12], 0, 59) && In(c.w[13], 0, 32767) && In(c.w[14], 0, 1) &&
         In(c.w[15], 0, 2) && In(c.w[16], 0, 11);
}

// The values of a bound as the condition page accepts them (a whole date that exists, minutes
// below 60, degrees within the quantity's range).
bool ValidBound(const QueryCondition& c, const QuantityBound& bound) {
  return CheckQuantityValues(c.w[3], c.w[15], bound) == 0;
}

bool ValidMoreLess(const QueryCondition& c) {
  return ValidQuantity(c) && In(c.w[4], 0, 1) && ValidBound(c, FirstBound(c));
}

bool ValidInterval(const QueryCondition& c) {
  return ValidQuantity(c) && In(c.w[4], 0, 3) && In(c.w[8], 0, 359) && In(c.w[9], 0, 59) &&
         In(c.w[10], 0, 32767) && In(c.w[17], 0, 1) && In(c.w[18], 0, 11) &&
         ValidBound(c, FirstBound(c)) && ValidBound(c, SecondBound(c));
}

bool ValidBeforeAfter(const QueryCondition& c) {
  const int a = c.w[2], b = c.w[3];
  if (!IsObjectCode(a) || a == kFixedDegree || !IsObjectCode(b)) return false;
  if (b == kFixedDegree && !ValidFixedDegree(c)) return false;
  return Labelled(a, c.text1) && Labelled(b, c.text2) && In(c.w[4], 0, 1) && In(c.w[11], 0, 359) &&
         In(c.w[12], 0, 59);
}

bool ValidContext(const QueryCondition& c) {
  return In(c.w[2], 0, 3) && In(c.w[3], 0, 2) && In(c.w[4], 0, 10) && In(c.w[11], 0, 1) &&
         In(c.w[12], 0, 1) && In(c.w[13], 0, 1);
}

// Members 1 and 2 of a configuration: object codes; members 3 to 6: candidates 0..45 (34..45 the
// cusps); 700 any planet everywhere.
bool ValidConfMember12(int m) {
  return IsPointCode(m) || IsHouseCode(m) || IsRulerCode(m) || m == kPlanetGroupOneOf ||
         m == kHouseGroupOneOf || m == kAnyPlanet;
}
bool ValidConfMember(int m) { return In(m, 0, 45) || m == kAnyPlanet; }

bool ValidConf(const QueryCondition& c) {
  constexpr int kConfRows = 42;
  if (!In(c.w[2], 0, kConfRows - 1) || !In(c.w[3], 0, 2) || !In(c.w[4], 0, 2)) return false;
  for (int i = 8; i <= 11; ++i)
    if (!In(c.w[static_cast<std::size_t>(i)], 0, 1)) return false;
  if (!In(c.w[12], 0, 359) || !In(c.w[13], 0, 59) || !In(c.w[17], 0, 5)) return false;
  if (c.w[14] < 0 || c.w[15] < 0 || c.w[16] < 0) return false;
  const int m1 = c.w[14] / 1000, m2 = c.w[14] % 1000;
  if (!ValidConfMember12(m1) || !ValidConfMember12(m2)) return false;
  if (!Labelled(m1, c.text1) || !Labelled(m2, c.text2)) return false;
  for (const int packed : {c.w[15], c.w[16]})
    if (!ValidConfMember(packed / 1000) || !ValidConfMember(packed % 1000)) return false;
  return true;
}

bool ValidQuant(const QueryCondition& c) {
  const int what = c.w[2], object = c.w[3];
  bool objectOk = true;
  switch (what) {
    case 0:
      objectOk = IsSignLike(object) || IsHouseLike(object);
      break;
    case 1:
    case 2:
      objectOk = IsPointCode(object) || IsRulerCode(object);
      break;
    case 3:
      break;  // the whole chart: no object
    case 4:
      objectOk = IsPointCode(object) || IsHouseCode(object) || IsRulerCode(object) ||
                 IsPlanetGroupCode(object) || IsHouseGroupCode(object);
      break;
    default:
      return false;
  }
  if (!objectOk || (what != 3 && !Labelled(object, c.text1))) return false;
  return In(c.w[4], 0, 3) && In(c.w[8], 0, 1000) && In(c.w[9], 0, 1000) && In(c.w[10], 0, 1) &&
         In(c.w[11], 0, 1) && In(c.w[12], 0, 359) && In(c.w[13], 0, 59) &&
         In(c.w[14], 0, kMaskAll) && In(c.w[15], 0, 5) && In(c.w[16], 0, 1) && In(c.w[17], 0, 2) &&
         In(c.w[18], 0, 2);
}

}  // namespace

std::string FormatConditionLine(const QueryCondition& c) {
  std::string line = std::to_string(static_cast<std::int16_t>(c.w[0] & 0xFFFF));
  line += c.w[19] == 1 ? " +" : " -";
  for (int i = 1; i <= 4; ++i) line += ' ' + std::to_string(c.w[static_cast<std::size_t>(i)]);
  line += ' ' + Token(c.text1) + ' ' + Token(c.text2) + ' ' + Token(c.text3);
  for (int i = 8; i <= 18; ++i) line += ' ' + std::to_string(c.w[static_cast<std::size_t>(i)]);
  line += '\n';
  return line;
}

ConditionLineFault ParseConditionLine(std::string_view line, QueryCondition& out) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  const std::vector<std::string_view> tokens = SplitBlanks(line);
  if (tokens.size() < static_cast<std::size_t>(QueryCondition::kWords))
    return ConditionLineFault::kFields;
  QueryCondition c;
  // Tokens: number, sign, kind, w2..w4, three texts, w8..w18.
  static constexpr int kWordOfToken[20] = {0, 19, 1,  2,  3,  4,  5,  6,  7,  8,
                                           9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  for (int t = 0; t < QueryCondition::kWords; ++t) {
    const std::string_view token = tokens[static_cast<std::size_t>(t)];
    const int word = kWordOfToken[t];
    if (word == 19) {
      if (token.size() != 1) return ConditionLineFault::kInvalid;
      c.w[19] = token[0] == '+' ? 1 : 0;
    } else if (word >= 5 && word <= 7) {
      if (token.size() > QueryCondition::kMaxTextLength) return ConditionLineFault::kInvalid;
      std::string text = token[0] == kEmptyTextToken ? std::string() : std::string(token);
      (word == 5 ? c.text1 : word == 6 ? c.text2 : c.text3) = std::move(text);
    } else if (!ParseInt(token, c.w[static_cast<std::size_t>(word)])) {
      return ConditionLineFault::kFields;
    }
  }
  if (tokens.size() > static_cast<std::size_t>(QueryCondition::kWords) || !ValidateCondition(c))
    return ConditionLineFault::kInvalid;
  out = std::move(c);
  return ConditionLineFault::kNone;
}

bool ValidateCondition(const QueryCondition& c) {
  constexpr int kMaxNumber = 100;
  if (!In(c.w[0], 1, kMaxNumber) || !In(c.w[19], 0, 1)) return false;
  if (!ValidText(c.text1) || !ValidText(c.text2) || !ValidText(c.text3)) return false;
  switch (c.w[1]) {
    case kCondAsp:
    case kCondPairAsp:
      return ValidAsp(c);
    case kCondIn:
      return ValidIn(c);
    case kCondPairIn:
      return ValidPairIn(c);
    case kCondIncl:
      return ValidIncl(c);
    case kCondInterval:
      return ValidInterval(c);
    case kCondMoreLess:
      return ValidMoreLess(c);
    case kCondBeforeAfter:
      return ValidBeforeAfter(c);
    case kCondContext:
      return ValidContext(c);
    case kCondConf:
      return ValidConf(c);
    case kCondQuant:
      return ValidQuant(c);
    default:
      return false;
  }
}
