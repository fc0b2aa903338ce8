// The prompter in place until the program installs its own: what a print run tells on the console.
#include "platform/core/prompter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/codepage.h"

namespace {

// Each message and question is one plain sentence on stderr, as a message box shows it: no
// message number before it, whatever the number; every question declined.
TEST(ConsolePrompter, TellsPlainSentencesAndDeclines) {
  platform::SetPrompter(nullptr);
  platform::Prompter& console = platform::GetPrompter();
  std::string typed = "kept";
  struct Case {
    const char* text;                                    // UTF-8
    std::function<bool(const std::string& cp1251)> ask;  // true when declined
  };
  const Case cases[] = {
      {"Папка данных уже используется другой копией программы.",
       [&](const std::string& t) {
         console.ShowMessage(0, t, platform::Icon::Warning);
         return true;
       }},
      {"Не удается открыть файл гороскопов:\n/tmp/a.chr",
       [&](const std::string& t) {
         console.ShowMessage(1934, t, platform::Icon::Error);
         return true;
       }},
      {"Ошибка записи в файл",
       [&](const std::string& t) {
         console.ShowMessage(-104, t, platform::Icon::Error);
         return true;
       }},
      {"Сохранить изменения?",
       [&](const std::string& t) { return console.AskYesNo(12, t) == platform::Answer::No; }},
      {"Заменить файл?",
       [&](const std::string& t) {
         return console.AskYesNoCancel(13, t) == platform::Answer::Cancel;
       }},
      {"Продолжить?",
       [&](const std::string& t) {
         return console.AskOkCancel(14, t) == platform::Answer::Cancel;
       }},
      {"Имя списка:",
       [&](const std::string& t) { return !console.InputText(15, t, typed) && typed == "kept"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(c.ask(platform::Utf8ToCp1251(c.text)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(c.text) + "\n");
  }
}

}  // namespace
