// The prompter in place until the program installs its own: what a print run tells on the console.
#include "platform/core/prompter.h"

#include <gtest/gtest.h>

#include "platform/core/codepage.h"

namespace {

// A message or a question is the sentence a message box shows, on stderr without its number.
TEST(ConsolePrompter, TellsPlainSentences) {
  platform::SetPrompter(nullptr);
  platform::Prompter& console = platform::GetPrompter();
  const std::string text = "Не удается открыть файл гороскопов:\n/tmp/a.chr";
  for (const int number : {0, 1934, -104}) {
    testing::internal::CaptureStderr();
    console.ShowMessage(number, platform::Utf8ToCp1251(text), platform::Icon::Error);
    EXPECT_EQ(console.AskYesNo(number, platform::Utf8ToCp1251(text)), platform::Answer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), text + "\n" + text + "\n") << number;
  }
}

}  // namespace
