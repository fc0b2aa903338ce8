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

// Message numbers are named in the one header only: a constant or enumerator "kMsg... = <digits>"
// anywhere else in the program's sources is a second name that can drift from it.
TEST(MessageNumbers, NoOtherSourceNamesAMessageNumber) {
  const fs::path src = testing_support::SourceDir() / "src";
  const std::regex localName(R"(\bkMsg\w*\s*=\s*\d)");
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const fs::path& p = entry.path();
    if (!entry.is_regular_file() || (p.extension() != ".h" && p.extension() != ".cpp")) continue;
    if (p == testing_support::SourceDir() / kNumbersHeader) continue;
    std::istringstream text(testing_support::ReadFile(p));
    std::string line;
    while (std::getline(text, line)) {
      if (line.find("kMsg") != std::string::npos && std::regex_search(line, localName)) {
        found.push_back(fs::relative(p, src).string());
        break;
      }
    }
  }
  EXPECT_TRUE(found.empty()) << found.size()
                             << " files name message numbers, the first: " << found.front();
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
