// The named message numbers against the catalogue, and the one way of showing a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kNumbersHeader = fs::path("src") / "foundation" / "messages" / "message_numbers.h";

struct NamedNumber {
  std::string name;
  int number;
};

// The names of message_numbers.h as its text declares them; a declaration of another shape is
// returned with number -1 so that it cannot slip past the checks.
std::vector<NamedNumber> ReadNamedNumbers() {
  std::vector<NamedNumber> names;
  std::istringstream in(testing_support::ReadFile(testing_support::SourceDir() / kNumbersHeader));
  const std::regex declaration(R"(inline constexpr int (kMsg\w+) = (\d+);)");
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("constexpr") == std::string::npos) continue;
    std::smatch m;
    if (std::regex_match(line, m, declaration)) {
      names.push_back({m[1], std::stoi(m[2])});
    } else {
      names.push_back({line, -1});
    }
  }
  return names;
}

TEST(MessageNumbers, EveryNameHasACatalogueTextAndEveryNumberOneName) {
  const std::vector<NamedNumber> names = ReadNamedNumbers();
  ASSERT_GE(names.size(), 500u) << "the header of message numbers was not read";
  int previous = -1;
  for (const NamedNumber& n : names) {
    ASSERT_GE(n.number, 0) << "not a message number declaration: " << n.name;
    EXPECT_FALSE(GetMessageText(n.number).empty()) << n.name << " = " << n.number;
    EXPECT_GT(n.number, previous) << n.name << ": numbers in order, each named once";
    previous = n.number;
  }
}

// A name, number or punctuation mark of a source, with its line.
struct Token {
  std::string text;
  int line;
};

bool IsName(const std::string& s) {
  return !s.empty() && (std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_');
}
bool IsNumber(const std::string& s) {
  return !s.empty() && std::isdigit(static_cast<unsigned char>(s[0]));
}
bool IsNonZero(const std::string& s) {
  return IsNumber(s) && s.find_first_not_of("0'") != std::string::npos;
}
bool IsNamedNumber(const std::string& s) {
  return s.rfind("kMsg", 0) == 0 || s.rfind("kErr", 0) == 0 || s == "kNoMessage";
}

// The tokens of a source, comments and literals left out.
std::vector<Token> Tokens(const std::string& code) {
  std::vector<Token> tokens;
  const auto past = [&](const char* stop, std::size_t from) {
    const std::size_t at = code.find(stop, from);
    return at == std::string::npos ? code.size() : at + std::strlen(stop);
  };
  const auto inWord = [&](std::size_t k) {
    return k < code.size() &&
           (std::isalnum(static_cast<unsigned char>(code[k])) || code[k] == '_' || code[k] == '\'');
  };
  for (std::size_t i = 0, end = 0, line = 1; i < code.size(); i = end) {
    bool keep = false;
    end = i + 1;
    if (code.compare(i, 2, "//") == 0) {
      end = past("\n", i);
    } else if (code.compare(i, 2, "/*") == 0) {
      end = past("*/", i + 2);
    } else if (code.compare(i, 3, "R\"(") == 0) {
      end = past(")\"", i + 3);
    } else if (code[i] == '"' || code[i] == '\'') {
      while (end < code.size() && code[end] != code[i] && code[end] != '\n')
        end += code[end] == '\\' ? 2 : 1;
      end = std::min(end + 1, code.size());
    } else {
      keep = !std::isspace(static_cast<unsigned char>(code[i]));
      while (inWord(i) && inWord(end)) ++end;
      for (const char* pair : {"==", "!=", "->", "::"})
        if (code.compare(i, 2, pair) == 0) end = i + 2;
    }
    if (keep) tokens.push_back({code.substr(i, end - i), static_cast<int>(line)});
    line += static_cast<std::size_t>(std::count(&code[i], &code[0] + end, '\n'));
  }
  return tokens;
}

// The sources of src/ (.h and .cpp) as tokens, by path.
const std::map<fs::path, std::vector<Token>>& Sources() {
  static const std::map<fs::path, std::vector<Token>> sources = [] {
    std::map<fs::path, std::vector<Token>> read;
    for (const auto& e : fs::recursive_directory_iterator(testing_support::SourceDir() / "src"))
      if (e.is_regular_file() && (e.path().extension() == ".h" || e.path().extension() == ".cpp"))
        read[e.path()] = Tokens(testing_support::ReadFile(e.path()));
    return read;
  }();
  return sources;
}

std::string Where(const fs::path& p, int line) {
  return fs::relative(p, testing_support::SourceDir()).string() + ":" + std::to_string(line);
}

std::string Listed(const std::vector<std::string>& where) {
  std::string out;
  for (const std::string& w : where) out += "\n  " + w;
  return out;
}

// Message numbers and error codes are named in one header each (message_numbers.h,
// foundation/status.h): a constant or enumerator "kMsg... = <digits>" or "kErr... = <digits>"
// anywhere else in the program's sources is a second name that can drift from it.
TEST(MessageNumbers, NoOtherSourceNamesAMessageNumber) {
  const fs::path root = testing_support::SourceDir();
  std::vector<std::string> found;
  for (const auto& [p, t] : Sources()) {
    if (p == root / kNumbersHeader || p == root / "src" / "foundation" / "status.h") continue;
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
      if ((t[i].text.rfind("kMsg", 0) == 0 || t[i].text.rfind("kErr", 0) == 0) &&
          t[i + 1].text == "=" && IsNumber(t[i + 2].text))
        found.push_back(Where(p, t[i].line));
  }
  EXPECT_TRUE(found.empty()) << "message numbers or error codes named outside their header:"
                             << Listed(found);
}

bool IsOneOf(const std::string& s, std::initializer_list<const char*> words) {
  return std::any_of(words.begin(), words.end(), [&](const char* w) { return s == w; });
}
bool IsKeyword(const std::string& s) {
  return IsOneOf(s, {"if", "for", "while", "switch", "return", "catch", "sizeof", "decltype",
                     "alignof", "noexcept", "static_assert", "operator", "requires"});
}
// A word that names a type, so that "int{605}" and "int n(605)" read as numbers.
bool IsTypeWord(const std::string& s) {
  return IsOneOf(s, {"int", "long", "short", "unsigned", "signed", "auto", "char"}) ||
         (s.size() > 2 && s.compare(s.size() - 2, 2, "_t") == 0);
}
// A constant's or a macro's name ("kRows", "BUSY_TEXT"): bound to a number in one source, it
// stands for that number in every other.
bool IsConstantName(const std::string& s) {
  const auto upper = [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; };
  const auto lower = [](char c) { return std::islower(static_cast<unsigned char>(c)) != 0; };
  return s.size() > 1 &&
         ((s[0] == 'k' && upper(s[1])) || (upper(s[0]) && std::none_of(s.begin(), s.end(), lower)));
}

// The expressions of one source that can stand for a message number.
class Expressions {
 public:
  using Range = std::pair<std::size_t, std::size_t>;
  explicit Expressions(const std::vector<Token>& t) : t_(t) {}

  const std::string& At(std::size_t k) const {
    static const std::string none;
    return k < t_.size() ? t_[k].text : none;
  }
  int Line(std::size_t k) const { return t_[k].line; }
  std::size_t Size() const { return t_.size(); }
  bool Opens(std::size_t k) const { return At(k).size() == 1 && std::strchr("([{", At(k)[0]); }
  bool Closes(std::size_t k) const { return At(k).size() == 1 && std::strchr(")]}", At(k)[0]); }

  // One past the bracket that closes the one at `k`.
  std::size_t Close(std::size_t k) const {
    for (int depth = 0; k < t_.size(); ++k) {
      depth += Opens(k) ? 1 : Closes(k) ? -1 : 0;
      if (depth == 0) return k + 1;
    }
    return k;
  }
  // The end of the expression from `k`: its ";" or "," or the bracket around it.
  std::size_t End(std::size_t k) const {
    while (k < t_.size() && At(k) != ";" && At(k) != "," && !Closes(k))
      k = Opens(k) ? Close(k) : k + 1;
    return k;
  }
  // The first token of [b, e) past brackets, a plus sign and object or namespace qualifiers (a
  // minus heads a negative number, which no catalogue message has: the reports' -code, the
  // aspect-system messages' -1000 - n).
  std::size_t Head(std::size_t b, std::size_t e) const {
    while (b < e && IsOneOf(At(b), {"(", "{", "+"})) ++b;
    while (b + 1 < e && IsName(At(b)) && IsOneOf(At(b + 1), {".", "->", "::"})) b += 2;
    return b;
  }
  // The values [b, e) can take: the parts a conditional operator splits it into, its conditions
  // left out ("a ? 605 : b ? 606 : 607" gives 605, 606, 607).
  std::vector<Range> Values(std::size_t b, std::size_t e) const {
    std::vector<Range> values;
    std::size_t from = b;
    for (std::size_t k = b; k < e; k = Opens(k) ? std::min(Close(k), e) : k + 1)
      if (At(k) == "?" || At(k) == ":") {
        if (At(k) == ":") values.push_back({from, k});
        from = k + 1;
      }
    values.push_back({from, e});
    return values;
  }
  // The token of [b, e) that gives a value a bare number, or e: a number the value is made of
  // ("605", "(605)", "int{605}", "static_cast<int>(605)", "p + 300", not an index "names[2]" or an
  // argument "Pick(row, 2)", nor a negative number), or a head bound to a number; a value
  // holding a named number is a named run and its offset.
  std::size_t BareNumber(Range value, const std::function<bool(const std::string&)>& bound) const {
    const auto [b, e] = value;
    for (std::size_t k = b; k < e; ++k)
      if (IsNamedNumber(At(k))) return e;
    const std::size_t head = Head(b, e);
    if (head < e && (IsNumber(At(head)) || bound(At(head)))) return head;
    std::vector<bool> counts{true};
    for (std::size_t k = b; k < e; ++k) {
      if (At(k) == "[") counts.push_back(false);
      if (At(k) == "(" || At(k) == "{")
        counts.push_back(counts.back() && (k == b || !IsName(At(k - 1)) || IsTypeWord(At(k - 1))));
      if (Closes(k) && counts.size() > 1) counts.pop_back();
      const bool negative =
          k > b && At(k - 1) == "-" &&
          (k - 1 == b || !(IsName(At(k - 2)) || IsNumber(At(k - 2)) || Closes(k - 2)));
      if (IsNonZero(At(k)) && counts.back() && !negative) return k;
    }
    return e;
  }
  // The call "f(...)" or "a.b->f(...)" that `value` is, by its function's name, or "".
  std::string CallOf(Range value) const {
    const std::size_t head = Head(value.first, value.second);
    return IsName(At(head)) && !IsKeyword(At(head)) && At(head + 1) == "(" &&
                   Close(head + 1) == value.second
               ? At(head)
               : "";
  }

 private:
  const std::vector<Token>& t_;
};

// The names a source binds to a number: "n = 605", "n{605}", "int n(605)", "n : {605, 607}",
// "kTitles[] = {605}", "n = busy ? 605 : 606", "#define BUSY_TEXT 605".
std::set<std::string> BoundNames(const std::vector<Token>& tokens) {
  const Expressions x(tokens);
  std::set<std::string> bound;
  for (std::size_t i = 0; i < x.Size(); ++i) {
    if (!IsName(x.At(i)) || IsNamedNumber(x.At(i))) continue;
    std::size_t j = x.At(i + 1) == "[" ? x.Close(i + 1) : i + 1;
    Expressions::Range value{j + 1, j + 1};
    if (x.At(j) == "=" || x.At(j) == ":") {
      value.second = x.End(j + 1);
    } else if (x.At(j) == "{" || (x.At(j) == "(" && i > 0 && IsTypeWord(x.At(i - 1)))) {
      value = {j + 1, x.Close(j) - 1};
    } else if (i > 1 && x.At(i - 1) == "define" && x.At(i - 2) == "#") {
      for (value = {j, j}; value.second < x.Size() && x.Line(value.second) == x.Line(i);)
        ++value.second;
    } else {
      continue;
    }
    for (const auto& [b, e] : x.Values(value.first, value.second))
      if (IsNonZero(x.At(x.Head(b, e)))) bound.insert(x.At(i));
  }
  return bound;
}

// What the program's sources together say of message numbers: the functions that take one first
// (the known ones, and every function some source calls with a named number first, a local helper
// that shows a message), the constants and macros bound to a number, and the functions whose
// result is given to a message function.
struct MessageUse {
  std::set<std::string> functions = {"Error",          "Message",  "ReportError",    "ShowMessage",
                                     "GetMessageText", "AskYesNo", "AskYesNoCancel", "AskOkCancel",
                                     "InputText",      "TellOnce"};
  std::set<std::string> constants;
  std::set<std::string> resultFunctions;
};

MessageUse ReadMessageUse(const std::map<fs::path, std::vector<Token>>& sources) {
  MessageUse use;
  for (const auto& [path, t] : sources) {
    const Expressions x(t);
    for (std::size_t i = 0; i + 1 < x.Size(); ++i)
      if (IsName(x.At(i)) && !IsKeyword(x.At(i)) && x.At(i + 1) == "(")
        for (const auto& [b, e] : x.Values(i + 2, x.End(i + 2)))
          if (IsNamedNumber(x.At(x.Head(b, e)))) use.functions.insert(x.At(i));
    for (const std::string& name : BoundNames(t))
      if (IsConstantName(name)) use.constants.insert(name);
  }
  for (const auto& [path, t] : sources) {
    const Expressions x(t);
    for (std::size_t i = 0; i + 1 < x.Size(); ++i)
      if (use.functions.count(x.At(i)) && x.At(i + 1) == "(")
        for (const Expressions::Range& value : x.Values(i + 2, x.End(i + 2)))
          use.resultFunctions.insert(x.CallOf(value));
  }
  use.resultFunctions.erase("");  // a value that is no call
  return use;
}

// The lines of a source that give a message number bare: a value of the first argument of a
// message function (on the call's line or a later one) or a value returned by a function whose
// result is given to one, made of a number or headed by a name bound to one in this source or,
// for a constant or macro, in any; and an error code or message number compared with a number
// other than 0 ("ErrorCode() != 102", "102 == st.ErrorCode()", "case 102:" in a switch over it).
std::vector<int> RawMessageNumbers(const std::vector<Token>& t, const MessageUse& use) {
  const Expressions x(t);
  const std::set<std::string> local = BoundNames(t);
  const auto bound = [&](const std::string& name) {
    return local.count(name) > 0 || use.constants.count(name) > 0;
  };
  std::vector<int> lines;
  const auto refuse = [&](std::size_t b, std::size_t e) {
    for (const Expressions::Range& value : x.Values(b, e))
      if (const std::size_t k = x.BareNumber(value, bound); k < value.second)
        lines.push_back(x.Line(k));
  };
  const auto isCode = [&](std::size_t k) {
    while (IsName(x.At(k)) && IsOneOf(x.At(k + 1), {".", "->"})) k += 2;
    return IsOneOf(x.At(k), {"ErrorCode", "MessageNumber"}) && x.At(k + 1) == "(" &&
           x.At(k + 2) == ")";
  };
  for (std::size_t i = 0; i < x.Size(); ++i) {
    if (use.functions.count(x.At(i)) && x.At(i + 1) == "(") refuse(i + 2, x.End(i + 2));
    if (use.resultFunctions.count(x.At(i)) && x.At(i + 1) == "(") {
      const std::size_t close = x.Close(i + 1);
      std::size_t body = close;
      while (body < x.Size() && body < close + 6 &&
             (IsName(x.At(body)) || IsOneOf(x.At(body), {"->", "::", "&"})))
        ++body;
      if (x.At(body) == "{")
        for (std::size_t k = body, end = x.Close(body); k < end; ++k)
          if (x.At(k) == "return") refuse(k + 1, x.End(k + 1));
    }
    if (isCode(i) && IsOneOf(x.At(i + 3), {"==", "!="}) && IsNonZero(x.At(i + 4)))
      lines.push_back(x.Line(i + 4));
    if (IsNonZero(x.At(i)) && IsOneOf(x.At(i + 1), {"==", "!="}) && isCode(i + 2))
      lines.push_back(x.Line(i));
    if (x.At(i) == "switch" && x.At(i + 1) == "(") {
      const std::size_t body = x.Close(i + 1);
      if (body >= 5 && isCode(body - 4) && x.At(body) == "{")
        for (std::size_t k = body, end = x.Close(body); k < end; ++k)
          if (x.At(k) == "case" && IsNonZero(x.At(k + 1))) lines.push_back(x.Line(k + 1));
    }
  }
  return lines;
}

TEST(MessageNumbers, NoSourceUsesARawMessageNumber) {
  const MessageUse use = ReadMessageUse(Sources());
  std::vector<std::string> found;
  for (const auto& [p, t] : Sources())
    for (int line : RawMessageNumbers(t, use)) found.push_back(Where(p, line));
  EXPECT_TRUE(found.empty()) << "raw message numbers (name them from message_numbers.h or "
                                "foundation/status.h):"
                             << Listed(found);
}

// The rule above reads the calls it is meant to: a table of sources it refuses (on the line
// given) and lets through (0). Each is read beside a source that calls a local helper `Say` with
// a named number and, where one is given, a header of its own.
TEST(MessageNumbers, RawNumberRuleTellsNumbersFromNames) {
  const struct {
    const char* code;
    int refusedLine;
    const char* header = "";
  } cases[] = {
      {"return Status::Error(104, path.string());", 1},
      {"return Status::Message(503);", 1},
      {"ReportError(2, kTrace, 0);", 1},
      {"names.push_back(GetMessageText(300 + p));", 1},
      {"platform::GetPrompter().ShowMessage(0, text, icon);", 1},
      {"if (!AskYesNo( 74)) return;", 1},
      {"TellOnce(1903, names);", 1},
      {"Say(kMsgDone);\nSay(45);", 2},
      {"ShowMessage(\n    605, text);", 2},
      {"const int number = 605;\nShowMessage(number);", 2},
      {"for (const int n : {605, 607}) titles.push_back(GetMessageText(n));", 1},
      {"const int kTitles[] = {605, 607};\nx = GetMessageText(kTitles[i]);", 2},
      {"if (st.ErrorCode() != 102) Report(st);", 1},
      // A bare number in a conditional, a macro, a cast, after a name, in a constant of another
      // source, bound in brackets or through a conditional, returned by a function whose result
      // is shown, as a case of a switch over an error code, on the left of a comparison.
      {"ShowMessage(busy ? 1904 : 1905);", 1},
      {"ShowMessage(busy ? kMsgBusy\n                 : 1905);", 2},
      {"#define BUSY_TEXT 1904\nShowMessage(BUSY_TEXT);", 2},
      {"ShowMessage(static_cast<int>(1904));", 1},
      {"ShowMessage(int{1904}, text);", 1},
      {"names.push_back(GetMessageText(p + 300));", 1},
      {"ShowMessage(kBusyText);", 1, "inline constexpr int kBusyText = 1904;"},
      {"const int number(1904);\nShowMessage(number);", 2},
      {"const int number = busy ? 1904 : 1905;\nShowMessage(number);", 2},
      {"int BusyText() {\n  return 1904;\n}\nShowMessage(BusyText());", 2},
      {"switch (st.ErrorCode()) {\n  case 102: return;\n}", 2},
      {"if (102 == st.ErrorCode()) Report(st);", 1},
      {"return Status::Error(kErrWrite, path.string());", 0},
      {"names.push_back(GetMessageText(kMsgPointNameFirst + p + 1));", 0},
      {"ShowMessage(platform::kNoMessage, text, icon);", 0},
      {"ShowSelectedCount(0);", 0},
      {"TextOut(dc, 10, 20, text);", 0},
      {"return ShowError(st, 3);", 0},
      {"int number = kMsgDone;\nShowMessage(number);", 0},
      {"if (st.MessageNumber() != 0) ShowMessage(st.MessageNumber());", 0},
      {"// ShowMessage(605) once was here\nShowMessage(kMsgDone, \"GetMessageText(1)\");", 0},
      {"ShowMessage(count > 1 ? kMsgBusy : kMsgDone);", 0},
      {"ShowMessage(numbers[2], Format(row, 3));\nShowMessage(Pick(row, 2));", 0},
      {"#define VELM_COLUMNS 5\nTextOut(dc, VELM_COLUMNS, busy ? 1 : 2, text);", 0},
      {"int Columns() { return 5; }\nShowMessage(MessageFor(kind));", 0},
      {"int Numbered(int n) { return -1000 - n; }\nShowMessage(Numbered(n));", 0},
      {"switch (st.ErrorCode()) { case kErrWrite: return; }\nswitch (kind) { case 3: break; }", 0},
      {"ShowMessage(kBusy);", 0, "inline constexpr int kBusy = kMsgBusy;"},
  };
  for (const auto& c : cases) {
    const std::vector<Token> code = Tokens(c.code);
    const std::vector<int> lines =
        RawMessageNumbers(code, ReadMessageUse({{"say.cpp", Tokens("void f() { Say(kMsgDone); }")},
                                                {"own.h", Tokens(c.header)},
                                                {"case.cpp", code}}));
    EXPECT_EQ(lines.empty() ? 0 : lines.front(), c.refusedLine) << c.code;
  }
}

// Records the message boxes; declines every question.
class RecordingPrompter final : public platform::Prompter {
 public:
  struct Shown {
    int number;
    std::string text;
    platform::Icon icon;
  };
  RecordingPrompter() { platform::SetThreadPrompter(this); }
  ~RecordingPrompter() override { platform::SetThreadPrompter(nullptr); }
  void ShowMessage(int number, std::string_view text, platform::Icon icon) override {
    shown.push_back({number, std::string(text), icon});
  }
  platform::Answer AskYesNo(int, std::string_view) override { return platform::Answer::No; }
  platform::Answer AskYesNoCancel(int, std::string_view) override {
    return platform::Answer::Cancel;
  }
  platform::Answer AskOkCancel(int, std::string_view) override { return platform::Answer::Cancel; }
  bool ChooseFile(platform::FileChoice&) override { return false; }
  bool InputText(int, std::string_view, std::string&) override { return false; }
  std::vector<Shown> shown;
};

TEST(ShowMessage, ShowsTheNumberWithItsTextAndIcon) {
  struct Case {
    std::function<int()> show;
    int number;
    std::string text;
    platform::Icon icon;
  };
  const std::vector<Case> cases = {
      {[] { return ShowMessage(kMsgNotAnArchive); }, kMsgNotAnArchive,
       GetMessageText(kMsgNotAnArchive), platform::Icon::Warning},
      {[] { return ShowMessage(kMsgDone, platform::Icon::Information); }, kMsgDone,
       GetMessageText(kMsgDone), platform::Icon::Information},
      {[] { return ShowMessage(kMsgDone, "12 charts"); }, kMsgDone, "12 charts",
       platform::Icon::Warning},
      {[] { return ShowMessage(kMsgDone, std::string("x"), platform::Icon::Error); }, kMsgDone, "x",
       platform::Icon::Error},
  };
  for (const Case& c : cases) {
    RecordingPrompter prompter;
    EXPECT_EQ(c.show(), c.number);
    ASSERT_EQ(prompter.shown.size(), 1u) << c.number;
    EXPECT_EQ(prompter.shown[0].number, c.number);
    EXPECT_EQ(prompter.shown[0].text, c.text);
    EXPECT_EQ(prompter.shown[0].icon, c.icon) << c.number;
    EXPECT_FALSE(prompter.shown[0].text.empty());
  }
}

}  // namespace
