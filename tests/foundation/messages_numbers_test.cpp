// The named message numbers against the catalogue, and the one way of showing a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
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

// Each source file of src/ (.h and .cpp), as path and lines.
void ForEachSourceLine(const std::function<void(const fs::path&, int, const std::string&)>& visit) {
  const fs::path src = testing_support::SourceDir() / "src";
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& p = entry.path();
    if (!entry.is_regular_file() || (p.extension() != ".h" && p.extension() != ".cpp")) continue;
    std::istringstream text(testing_support::ReadFile(p));
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) visit(p, number, line);
  }
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
  const std::regex localName(R"(\bk(Msg|Err)\w*\s*=\s*\d)");
  std::vector<std::string> found;
  ForEachSourceLine([&](const fs::path& p, int number, const std::string& line) {
    if (p == root / kNumbersHeader || p == root / "src" / "foundation" / "status.h") return;
    const bool candidate =
        line.find("kMsg") != std::string::npos || line.find("kErr") != std::string::npos;
    if (candidate && std::regex_search(line, localName))
      found.push_back(fs::relative(p, root).string() + ":" + std::to_string(number));
  });
  EXPECT_TRUE(found.empty()) << "message numbers or error codes named outside their header:"
                             << Listed(found);
}

// The tokens of a source: names, numbers and punctuation with their lines; comments and the
// insides of string and character literals are left out.
struct Token {
  std::string text;
  int line;
  bool IsName() const {
    return std::isalpha(static_cast<unsigned char>(text[0])) || text[0] == '_';
  }
  bool IsNumber() const { return std::isdigit(static_cast<unsigned char>(text[0])) != 0; }
  bool IsNonZeroNumber() const {
    return IsNumber() && text.find_first_not_of("0'") != std::string::npos;
  }
};

std::vector<Token> Tokens(const std::string& code) {
  std::vector<Token> tokens;
  int line = 1;
  const auto skipTo = [&](std::size_t from, const std::string& end) {
    const std::size_t at = code.find(end, from);
    const std::size_t stop = at == std::string::npos ? code.size() : at + end.size();
    line += static_cast<int>(std::count(code.begin() + static_cast<long>(from),
                                        code.begin() + static_cast<long>(stop), '\n'));
    return stop;
  };
  const auto word = [&](std::size_t i) {
    return std::isalnum(static_cast<unsigned char>(code[i])) || code[i] == '_' || code[i] == '\'';
  };
  for (std::size_t i = 0; i < code.size();) {
    const char c = code[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (code.compare(i, 2, "//") == 0) {
      i = code.find('\n', i);
      if (i == std::string::npos) i = code.size();
    } else if (code.compare(i, 2, "/*") == 0) {
      i = skipTo(i, "*/");
    } else if (code.compare(i, 3, "R\"(") == 0) {
      i = skipTo(i, ")\"");
    } else if (c == '"' || c == '\'') {
      std::size_t j = i + 1;
      while (j < code.size() && code[j] != c && code[j] != '\n') j += code[j] == '\\' ? 2 : 1;
      i = j + 1;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t j = i;
      while (j < code.size() && word(j)) ++j;
      tokens.push_back({code.substr(i, j - i), line});
      i = j;
    } else {
      const bool pair = code.compare(i, 2, "==") == 0 || code.compare(i, 2, "!=") == 0 ||
                        code.compare(i, 2, "->") == 0 || code.compare(i, 2, "::") == 0;
      tokens.push_back({code.substr(i, pair ? 2 : 1), line});
      i += pair ? 2 : 1;
    }
  }
  return tokens;
}

bool IsNamedNumber(const std::string& name) {
  return name.rfind("kMsg", 0) == 0 || name.rfind("kErr", 0) == 0 || name == "kNoMessage";
}

// The functions that take a message number or an error code first: the catalogue's, the
// prompter's, the status' and the error report's, and every function that a source calls with a
// named number first (a local helper that shows or words a message).
std::set<std::string> MessageFunctions(const std::vector<std::vector<Token>>& sources) {
  std::set<std::string> names = {"Error",          "Message",  "ReportError",    "ShowMessage",
                                 "GetMessageText", "AskYesNo", "AskYesNoCancel", "AskOkCancel",
                                 "InputText",      "TellOnce"};
  for (const std::vector<Token>& t : sources)
    for (std::size_t i = 0; i + 2 < t.size(); ++i) {
      std::size_t arg = i + 2;
      if (arg + 2 < t.size() && t[arg].text == "platform" && t[arg + 1].text == "::") arg += 2;
      if (t[i].IsName() && t[i + 1].text == "(" && IsNamedNumber(t[arg].text))
        names.insert(t[i].text);
    }
  return names;
}

// The lines of a source that give a message function a raw number: written first in the call
// (after any brackets and signs, on the same line or the next), through a name that the source
// binds to a number ("int n = 605", "n{605}", "for (int n : {605, 607})", "kTitles[] = {605}"),
// or compared with a status' error code or message number ("ErrorCode() != 102"). Zero, the
// number of no message, is let through in a comparison.
std::vector<int> RawMessageNumbers(const std::vector<Token>& t,
                                   const std::set<std::string>& functions) {
  std::set<std::string> bound;
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (!t[i].IsName()) continue;
    std::size_t j = i + 1;
    if (t[j].text == "[")
      while (j < t.size() && t[j].text != "]") ++j;
    if (j + 1 < t.size() && t[j].text == "]") ++j;
    if (j >= t.size() || (t[j].text != "=" && t[j].text != ":" && t[j].text != "{")) continue;
    ++j;
    while (j < t.size() && (t[j].text == "{" || t[j].text == "-" || t[j].text == "+")) ++j;
    if (j < t.size() && t[j].IsNonZeroNumber()) bound.insert(t[i].text);
  }
  std::vector<int> lines;
  for (std::size_t i = 0; i + 2 < t.size(); ++i) {
    if (t[i].IsName() && functions.count(t[i].text) && t[i + 1].text == "(") {
      std::size_t j = i + 2;
      while (j < t.size() && (t[j].text == "(" || t[j].text == "-" || t[j].text == "+")) ++j;
      while (j + 2 < t.size() && t[j].IsName() && (t[j + 1].text == "." || t[j + 1].text == "->"))
        j += 2;
      if (j < t.size() &&
          (t[j].IsNumber() || (bound.count(t[j].text) && !IsNamedNumber(t[j].text))))
        lines.push_back(t[j].line);
    }
    if ((t[i].text == "ErrorCode" || t[i].text == "MessageNumber") && t[i + 1].text == "(" &&
        i + 4 < t.size() && t[i + 2].text == ")" &&
        (t[i + 3].text == "==" || t[i + 3].text == "!=") && t[i + 4].IsNonZeroNumber())
      lines.push_back(t[i + 4].line);
  }
  return lines;
}

TEST(MessageNumbers, NoSourceUsesARawMessageNumber) {
  const fs::path root = testing_support::SourceDir();
  std::vector<fs::path> paths;
  std::vector<std::vector<Token>> sources;
  for (const auto& entry : fs::recursive_directory_iterator(root / "src")) {
    const fs::path& p = entry.path();
    if (!entry.is_regular_file() || (p.extension() != ".h" && p.extension() != ".cpp")) continue;
    paths.push_back(p);
    sources.push_back(Tokens(testing_support::ReadFile(p)));
  }
  const std::set<std::string> functions = MessageFunctions(sources);
  std::vector<std::string> found;
  for (std::size_t i = 0; i < sources.size(); ++i)
    for (int line : RawMessageNumbers(sources[i], functions))
      found.push_back(fs::relative(paths[i], root).string() + ":" + std::to_string(line));
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
  const std::set<std::string> functions = MessageFunctions({Tokens("void f() { Say(kMsgDone); }")});
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
