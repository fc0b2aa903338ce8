// The named message numbers against the catalogue, and the one way of showing a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
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

// A raw message number: a number written as the first argument of a function that takes a
// message number or an error code (Status::Error, Status::Message, ReportError, ShowMessage,
// GetMessageText and the prompter's questions), alone or at the head of a sum ("300 + p"). Such a
// call names the number through message_numbers.h (kMsg...), foundation/status.h (kErr...) or
// platform::kNoMessage. Other integers, comments included, are not looked at unless they stand in
// such a call.
bool HasRawMessageNumber(const std::string& line) {
  // The regular expression only where one of the names can stand: it is slow over every line.
  const bool candidate =
      line.find("Error(") != std::string::npos || line.find("Message(") != std::string::npos ||
      line.find("MessageText(") != std::string::npos || line.find("Ask") != std::string::npos ||
      line.find("InputText(") != std::string::npos;
  if (!candidate) return false;
  static const std::regex rawNumber(
      R"(\b(Error|Message|ReportError|ShowMessage|GetMessageText|AskYesNo|AskYesNoCancel|)"
      R"(AskOkCancel|InputText)\(\s*[-+(]*\s*\d)");
  return std::regex_search(line, rawNumber);
}

TEST(MessageNumbers, NoSourceUsesARawMessageNumber) {
  const fs::path root = testing_support::SourceDir();
  std::vector<std::string> found;
  ForEachSourceLine([&](const fs::path& p, int number, const std::string& line) {
    if (HasRawMessageNumber(line))
      found.push_back(fs::relative(p, root).string() + ":" + std::to_string(number) + ": " + line);
  });
  EXPECT_TRUE(found.empty()) << "raw message numbers (name them from message_numbers.h or "
                                "foundation/status.h):"
                             << Listed(found);
}

// The rule above reads the calls it is meant to: a table of lines it refuses and lets through.
TEST(MessageNumbers, RawNumberRuleTellsNumbersFromNames) {
  const struct {
    const char* line;
    bool refused;
  } cases[] = {
      {"return Status::Error(104, path.string());", true},
      {"return Status::Message(503);", true},
      {"ReportError(2, kTrace, 0);", true},
      {"names.push_back(GetMessageText(300 + p));", true},
      {"platform::GetPrompter().ShowMessage(0, text, icon);", true},
      {"if (!AskYesNo( 74)) return;", true},
      {"return Status::Error(kErrWrite, path.string());", false},
      {"names.push_back(GetMessageText(kMsgPointNameFirst + p));", false},
      {"ShowMessage(platform::kNoMessage, text, icon);", false},
      {"ShowSelectedCount(0);", false},
      {"TextOut(dc, 10, 20, text);", false},
      {"return ShowError(st, 3);", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasRawMessageNumber(c.line), c.refused) << c.line;
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
