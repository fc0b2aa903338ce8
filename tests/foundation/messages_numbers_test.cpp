// The named message numbers against the catalogue, and the one way of showing a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
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

// The functions that take a message number or an error code first: the known ones, and every
// function a source calls with a named number first (a local helper that shows a message).
std::set<std::string> MessageFunctions(const std::map<fs::path, std::vector<Token>>& sources) {
  std::set<std::string> names = {"Error",          "Message",  "ReportError",    "ShowMessage",
                                 "GetMessageText", "AskYesNo", "AskYesNoCancel", "AskOkCancel",
                                 "InputText",      "TellOnce"};
  for (const auto& [path, t] : sources)
    for (std::size_t i = 0; i + 2 < t.size(); ++i) {
      const std::size_t arg = i + (t[i + 2].text == "platform" ? 4 : 2);
      if (IsName(t[i].text) && t[i + 1].text == "(" && arg < t.size() && IsNamedNumber(t[arg].text))
        names.insert(t[i].text);
    }
  return names;
}

// The lines of a source that give a message function a raw number: first in the call (after
// brackets and signs, on that line or the next), through a name bound to a number ("n = 605",
// "n{605}", "n : {605, 607}", "kTitles[] = {605}"), or compared with an error code or message
// number ("ErrorCode() != 102"; zero, no message, let through).
std::vector<int> RawMessageNumbers(const std::vector<Token>& t,
                                   const std::set<std::string>& functions) {
  static const std::string none;
  const auto at = [&](std::size_t k) -> const std::string& {
    return k < t.size() ? t[k].text : none;
  };
  const auto skip = [&](std::size_t k, const std::string& marks) {
    while (at(k).size() == 1 && marks.find(at(k)[0]) != std::string::npos) ++k;
    return k;
  };
  std::set<std::string> bound;
  for (std::size_t i = 0; i < t.size(); ++i) {
    std::size_t j = i + 1;
    if (at(j) == "[")
      while (j < t.size() && t[j].text != "]") ++j;
    if (at(j) == "]") ++j;
    if (IsName(t[i].text) && (at(j) == "=" || at(j) == ":" || at(j) == "{") &&
        IsNonZero(at(skip(j + 1, "{-+"))))
      bound.insert(t[i].text);
  }
  std::vector<int> lines;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (functions.count(t[i].text) && at(i + 1) == "(") {
      std::size_t j = skip(i + 2, "(-+");
      while (IsName(at(j)) && (at(j + 1) == "." || at(j + 1) == "->")) j += 2;
      if (IsNumber(at(j)) || (bound.count(at(j)) && !IsNamedNumber(at(j))))
        lines.push_back(t[j].line);
    }
    if ((t[i].text == "ErrorCode" || t[i].text == "MessageNumber") && at(i + 1) == "(" &&
        at(i + 2) == ")" && (at(i + 3) == "==" || at(i + 3) == "!=") && IsNonZero(at(i + 4)))
      lines.push_back(t[i + 4].line);
  }
  return lines;
}

TEST(MessageNumbers, NoSourceUsesARawMessageNumber) {
  const std::set<std::string> functions = MessageFunctions(Sources());
  std::vector<std::string> found;
  for (const auto& [p, t] : Sources())
    for (int line : RawMessageNumbers(t, functions)) found.push_back(Where(p, line));
  EXPECT_TRUE(found.empty()) << "raw message numbers (name them from message_numbers.h or "
                                "foundation/status.h):"
                             << Listed(found);
}

// The rule above reads the calls it is meant to: a table of sources it refuses (on the line
// given) and lets through (0). `Say` stands for a local helper called with a named number.
TEST(MessageNumbers, RawNumberRuleTellsNumbersFromNames) {
  const struct {
    const char* code;
    int refusedLine;
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
      {"return Status::Error(kErrWrite, path.string());", 0},
      {"names.push_back(GetMessageText(kMsgPointNameFirst + p));", 0},
      {"ShowMessage(platform::kNoMessage, text, icon);", 0},
      {"ShowSelectedCount(0);", 0},
      {"TextOut(dc, 10, 20, text);", 0},
      {"return ShowError(st, 3);", 0},
      {"int number = kMsgDone;\nShowMessage(number);", 0},
      {"if (st.MessageNumber() != 0) ShowMessage(st.MessageNumber());", 0},
      {"// ShowMessage(605) once was here\nShowMessage(kMsgDone, \"GetMessageText(1)\");", 0},
  };
  const std::set<std::string> functions =
      MessageFunctions({{"", Tokens("void f() { Say(kMsgDone); }")}});
  for (const auto& c : cases) {
    const std::vector<int> lines = RawMessageNumbers(Tokens(c.code), functions);
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
