// The logic language of a condition set: an expression over condition numbers with the signs
// '(' ')' '&' '|' '!', its checks (each fault with its message) and the reduction of a working
// text of 'T' and 'F' to one answer; and the history of the expressions used before.
//
// The expression is read as tokens (a number is a maximal run of digits, a blank separates
// tokens), so "1 2" is two numbers side by side, not the number 12. Grammar: a number or ')' is
// followed by ')', '&' or '|'; '(', '!', '&' and '|' by a number, '(' or '!'; the expression
// begins with a number, '(' or '!' and ends with a number or ')'. "not" binds tighter than "and",
// "and" tighter than "or"; operators of one level apply from the left.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CFunc;

// The first fault of an expression: the message number (0 when the expression passes) and the
// full text of its message box (code page 1251).
struct LogicFault {
  int message = 0;
  std::string text;
  bool Passes() const { return message == 0; }
};

// The checks in their order: empty (1960), too long without its blanks (1961), alphabet (604),
// brackets (595 with 599/600 or 596), numbers (602/603: every number names a condition of the
// set, switched on or not), sequence (597, 601, 598 with the offending pair).
LogicFault CheckLogic(std::string_view typed, const CFunc& set);

// The condition numbers of an expression in their order of appearance (at most 100); numbers too
// long to be a condition number are left out.
std::vector<int> LogicNumbers(std::string_view expression);

// Reduces a working text of 'T', 'F' and the signs to 1 or 0. A text that cannot be reduced gives
// -1 with `message` set to 580 (a '!' not before a value), 581 ('&' without values on both
// sides), 582 (the same for '|') or 583 (anything else); `message` is 0 otherwise.
int ReduceLogicText(std::string text, int& message);

// Puts an expression at the head of the history: one already there (compared with every blank
// removed on both sides) moves to the head, a new one is inserted there and the history keeps at
// most 50. The entry keeps the expression as typed.
void AddLogicToHistory(std::vector<std::string>& history, std::string_view typed);
