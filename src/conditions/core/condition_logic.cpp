// The combination of the conditions of a set (all, any, logic expression) and the logic language.
#include "conditions/core/condition_logic.h"

#include <algorithm>
#include <cctype>

#include "conditions/core/cfunc.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace {

// Digits of a number beyond which it cannot be a condition number (and is not converted).
constexpr std::size_t kMaxNumberDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '(' || c == ')' || c == '&' || c == '|' || c == '!'; }

// A token of an expression: a number (kind 'n', its digits without leading zeros), a sign, or any
// other character (kind '?').
struct Token {
  char kind;
  std::string text;
};

std::vector<Token> Tokenise(std::string_view typed) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < typed.size();) {
    const char c = typed[i];
    if (IsDigit(c)) {
      std::size_t end = i;
      while (end < typed.size() && IsDigit(typed[end])) ++end;
      std::string digits(typed.substr(i, end - i));
      digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
      tokens.push_back({'n', std::move(digits)});
      i = end;
    } else {
      // A character outside the language (an expression stored without its checks may hold one)
      // is a token of its own kind, never taken for a number or a value.
      if (c != ' ') tokens.push_back({IsSign(c) ? c : '?', std::string(1, c)});
      ++i;
    }
  }
  return tokens;
}

// The number of a number token; -1 when it has too many digits to be a condition number.
int NumberOf(const Token& t) {
  if (t.text.size() > kMaxNumberDigits) return -1;
  return std::stoi(t.text);
}

bool IsValue(char kind) { return kind == 'n' || kind == ')'; }

// The grammar's successor rule: may token kind b follow token kind a?
bool MayFollow(char a, char b) {
  if (IsValue(a)) return b == ')' || b == '&' || b == '|';
  return b == 'n' || b == '(' || b == '!';
}

LogicFault Fault(int message, std::string text) { return {message, std::move(text)}; }

const std::string& Msg(int n) { return GetMessageText(n); }

// Step 4 of the reduction: a text without brackets to 'T' or 'F'; 0 with `message` set when it
// cannot be reduced.
char ReduceFlat(std::string text, int& message) {
  for (std::size_t at; (at = text.find("!!")) != std::string::npos;) text.erase(at, 2);
  for (std::size_t at; (at = text.find('!')) != std::string::npos;) {
    if (at + 1 >= text.size() || (text[at + 1] != 'T' && text[at + 1] != 'F')) {
      message = kMsgLogicNegation;
      return 0;
    }
    text.replace(at, 2, 1, text[at + 1] == 'T' ? 'F' : 'T');
  }
  const auto binary = [&text, &message](char sign, int fault, bool isAnd) {
    for (std::size_t at; (at = text.find(sign)) != std::string::npos;) {
      const auto value = [](char c) { return c == 'T' || c == 'F'; };
      if (at == 0 || at + 1 >= text.size() || !value(text[at - 1]) || !value(text[at + 1])) {
        message = fault;
        return false;
      }
      const bool a = text[at - 1] == 'T', b = text[at + 1] == 'T';
      text.replace(at - 1, 3, 1, (isAnd ? a && b : a || b) ? 'T' : 'F');
    }
    return true;
  };
  if (!binary('&', kMsgLogicAnd, true) || !binary('|', kMsgLogicOr, false)) return 0;
  if (text.size() != 1 || (text[0] != 'T' && text[0] != 'F')) {
    message = kMsgLogicError;
    return 0;
  }
  return text[0];
}

}  // namespace

LogicFault CheckLogic(std::string_view typed, const CFunc& set) {
  std::string stripped(typed);
  RemoveAllBlanks(stripped);
  if (stripped.empty()) return Fault(kMsgLogicEmpty, Msg(kMsgLogicEmpty));
  if (stripped.size() > CFunc::kMaxLogicLength)
    return Fault(kMsgLogicTooLong, Msg(kMsgLogicTooLong));
  // 1. Alphabet.
  for (const char c : stripped)
    if (!IsDigit(c) && !IsSign(c))
      return Fault(kMsgIllegalCharacter, Msg(kMsgIllegalCharacter) + " " + c + ".");
  // 2. Brackets.
  int depth = 0, rights = 0;
  for (const char c : stripped) {
    if (c == '(') ++depth;
    if (c != ')') continue;
    ++rights;
    if (--depth < 0)
      return Fault(kMsgBracketsMisplaced,
                   Msg(kMsgBracketsMisplaced) + "\n" + Msg(kMsgRightBracketNumber) + " " +
                       std::to_string(rights) + " " + Msg(kMsgNoMatchingLeft));
  }
  if (depth > 0)
    return Fault(kMsgBracketsMisplaced, Msg(kMsgBracketsMisplaced) + "\n" +
                                            Msg(kMsgSurplusLeftBrackets) + " " +
                                            std::to_string(depth) + ".");
  const std::vector<Token> tokens = Tokenise(typed);
  // 3. Numbers.
  for (const Token& t : tokens) {
    if (t.kind != 'n') continue;
    const int number = NumberOf(t);
    if (number < 0 || set.IndexOfNumber(number) < 0)
      return Fault(kMsgFunctionNumber,
                   Msg(kMsgFunctionNumber) + " " + t.text + " " + Msg(kMsgFunctionMissing));
  }
  // 4. Sequence.
  if (tokens.front().kind == '&' || tokens.front().kind == '|')
    return Fault(kMsgLogicBadStart, Msg(kMsgLogicBadStart));
  if (!IsValue(tokens.back().kind)) return Fault(kMsgLogicBadEnd, Msg(kMsgLogicBadEnd));
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    const Token &a = tokens[i], &b = tokens[i + 1];
    if (MayFollow(a.kind, b.kind)) continue;
    const char* gap = a.kind == 'n' && b.kind == 'n' ? " " : "";
    return Fault(kMsgLogicBadSequence, Msg(kMsgLogicBadSequence) + " " + a.text + gap + b.text);
  }
  return {};
}

std::vector<int> LogicNumbers(std::string_view expression) {
  std::vector<int> numbers;
  for (const Token& t : Tokenise(expression)) {
    if (t.kind != 'n' || NumberOf(t) < 0) continue;
    if (numbers.size() >= static_cast<std::size_t>(CFunc::kCapacity)) break;
    numbers.push_back(NumberOf(t));
  }
  return numbers;
}

int ReduceLogicText(std::string text, int& message) {
  message = 0;
  for (std::size_t close; (close = text.find(')')) != std::string::npos;) {
    const std::size_t open = text.rfind('(', close);
    if (open == std::string::npos) {
      message = kMsgLogicError;
      return -1;
    }
    const char value = ReduceFlat(text.substr(open + 1, close - open - 1), message);
    if (!value) return -1;
    text.replace(open, close - open + 1, 1, value);
  }
  const char value = ReduceFlat(std::move(text), message);
  if (!value) return -1;
  return value == 'T' ? 1 : 0;
}

void AddLogicToHistory(std::vector<std::string>& history, std::string_view typed) {
  std::string key(typed);
  RemoveAllBlanks(key);
  std::string entry(typed);
  for (std::size_t i = 0; i < history.size(); ++i) {
    std::string other = history[i];
    RemoveAllBlanks(other);
    if (other != key) continue;
    entry = std::move(history[i]);
    history.erase(history.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  history.insert(history.begin(), std::move(entry));
  if (history.size() > static_cast<std::size_t>(kMaxListLines)) history.resize(kMaxListLines);
}

// --- The set's combination of its conditions ---

namespace {

// All (mode 0) or any (mode 1) over the switched-on conditions; `decide` gives the result of the
// condition at an index.
template <typename Decide>
int CombineAll(const CFunc& set, int mode, Decide decide) {
  bool anyOn = false;
  for (int i = 0; i < set.Count(); ++i) {
    if (!set.Condition(i).Enabled()) continue;
    anyOn = true;
    const int result = decide(i);
    if (result < 0) return -1;
    if (mode == 1 && result == 1) return 1;
    if (mode != 1 && result == 0) return 0;
  }
  return anyOn && mode != 1 ? 1 : 0;
}

// The stored expression: every number decided (without short-cut, switched on or not), then the
// working text reduced. A fault of an expression that was stored without its checks is told once
// and gives -1 (the caller's run ends).
template <typename Decide>
int CombineLogic(const CFunc& set, Decide decide) {
  std::string work;
  for (const Token& t : Tokenise(set.logic)) {
    if (t.kind != 'n') {
      work += t.kind;
      continue;
    }
    const int number = NumberOf(t);
    const int index = number < 0 ? -1 : set.IndexOfNumber(number);
    if (index < 0) {
      ShowMessage(kMsgFunctionNumber,
                  Msg(kMsgFunctionNumber) + " " + t.text + " " + Msg(kMsgFunctionMissing));
      return -1;
    }
    const int result = decide(index);
    if (result < 0) return -1;
    work += result == 1 ? 'T' : 'F';
  }
  int message = 0;
  const int result = ReduceLogicText(std::move(work), message);
  if (result < 0) ShowMessage(message, Msg(message));
  return result;
}

}  // namespace

int CFunc::EvaluateAll(const ChartContext& ctx, const Chart& chart, int record, int mode) const {
  return CombineAll(*this, mode,
                    [&](int i) { return QueryConditionEvaluate(ctx, chart, i, record); });
}

int CFunc::EvaluateAllPair(const ChartContext& ctx, const Chart& chart1, const Chart& chart2,
                           int mode) const {
  return CombineAll(*this, mode,
                    [&](int i) { return QueryConditionEvaluatePair(ctx, chart1, chart2, i); });
}

int CFunc::EvaluateLogic(const ChartContext& ctx, const Chart& chart, int record) const {
  return CombineLogic(*this, [&](int i) { return QueryConditionEvaluate(ctx, chart, i, record); });
}

int CFunc::EvaluateLogicPair(const ChartContext& ctx, const Chart& chart1,
                             const Chart& chart2) const {
  return CombineLogic(*this,
                      [&](int i) { return QueryConditionEvaluatePair(ctx, chart1, chart2, i); });
}

int CFunc::Evaluate(const ChartContext& ctx, const Chart& chart, int record) const {
  return mode == 2 ? EvaluateLogic(ctx, chart, record) : EvaluateAll(ctx, chart, record, mode);
}

int CFunc::SetLogic(std::string_view typed) {
  logic.assign(typed);
  RemoveAllBlanks(logic);
  if (logic.size() > kMaxLogicLength) logic.resize(kMaxLogicLength);
  const LogicFault fault = CheckLogic(typed, *this);
  if (!fault.Passes()) {
    ShowMessage(fault.message, fault.text);
    return 0;
  }
  numbersMet.fill(kNumberNotMet);
  const std::vector<int> numbers = LogicNumbers(logic);
  for (std::size_t i = 0; i < numbers.size(); ++i)
    numbersMet[i] = static_cast<std::uint16_t>(numbers[i]);
  return 1;
}
