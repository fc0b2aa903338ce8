#include "platform/core/prompter.h"

#include <cstdio>

#include "platform/core/codepage.h"

namespace platform {
namespace {

// Used until the program or a test installs its own: prints to stderr and declines every question.
class ConsolePrompter final : public Prompter {
 public:
  void ShowMessage(int number, std::string_view text, Icon) override { Print(number, text); }
  Answer AskYesNo(int number, std::string_view text) override {
    Print(number, text);
    return Answer::No;
  }
  Answer AskYesNoCancel(int number, std::string_view text) override {
    Print(number, text);
    return Answer::Cancel;
  }
  Answer AskOkCancel(int number, std::string_view text) override {
    Print(number, text);
    return Answer::Cancel;
  }
  bool ChooseFile(FileChoice&) override { return false; }
  bool InputText(int number, std::string_view prompt, std::string&) override {
    Print(number, prompt);
    return false;
  }

 private:
  // The text as a message box shows it, without the message number (a number told a reader of
  // the console nothing: "[1934] Не удается открыть файл гороскопов:").
  static void Print(int, std::string_view text) {
    const std::string utf8 = Cp1251ToUtf8(text);
    std::fprintf(stderr, "%s\n", utf8.c_str());
  }
};

ConsolePrompter g_console;
Prompter* g_prompter = nullptr;
thread_local Prompter* t_prompter = nullptr;

}  // namespace

Prompter& GetPrompter() {
  if (t_prompter != nullptr) return *t_prompter;
  return g_prompter ? *g_prompter : g_console;
}
void SetPrompter(Prompter* prompter) { g_prompter = prompter; }
void SetThreadPrompter(Prompter* prompter) { t_prompter = prompter; }

}  // namespace platform
