// What the evaluation tools that read the chart fixtures share: the prompt service of a tool run
// (messages to standard error, the Local Space question answered as the tool was asked), a
// temporary data folder, and the refusal of an input.
#pragma once

#include <filesystem>
#include <string_view>

#include "chart_fixture.h"
#include "platform/core/prompter.h"

namespace chart_fixture {

// Messages to standard error (in UTF-8); the Local Space question answered `localSpace`, any other
// question No (Yes/No) or Cancel.
class EvalPrompter final : public platform::Prompter {
 public:
  explicit EvalPrompter(platform::Answer localSpace = platform::Answer::Yes)
      : localSpace_(localSpace) {}
  void ShowMessage(int number, std::string_view text, platform::Icon) override;
  platform::Answer AskYesNo(int number, std::string_view text) override;
  platform::Answer AskYesNoCancel(int number, std::string_view text) override;
  platform::Answer AskOkCancel(int number, std::string_view text) override {
    return AskYesNoCancel(number, text);
  }
  bool ChooseFile(platform::FileChoice&) override { return false; }
  bool InputText(int, std::string_view, std::string&) override { return false; }

 private:
  platform::Answer localSpace_;
};

// A temporary folder named after `tool`, removed with its contents; an empty path when it could
// not be made.
class TempFolder {
 public:
  explicit TempFolder(std::string_view tool);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// "FILE:LINE: why" on standard error; the exit status 2 of unusable input.
int Refuse(const InputError& error);

// The configuration of a tool run: every chart point 0..33 of orb class 3 and shown on the wheel,
// the rest as the program's defaults.
void UseToolConfiguration();

}  // namespace chart_fixture
