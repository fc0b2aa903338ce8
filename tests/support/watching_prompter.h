// A prompter that passes every call to a scripted one, first telling `watch` the number of each
// message shown and each question asked: a test acts there, as while the box is open.
#pragma once

#include <functional>
#include <utility>

#include "support/test_support.h"

namespace testing_support {

class WatchingPrompter final : public platform::Prompter {
 public:
  WatchingPrompter(ScriptedPrompter& inner, std::function<void(int)> watch)
      : inner_(inner), watch_(std::move(watch)) {}
  void ShowMessage(int n, std::string_view text, platform::Icon icon) override {
    watch_(n);
    inner_.ShowMessage(n, text, icon);
  }
  platform::Answer AskYesNo(int n, std::string_view text) override {
    watch_(n);
    return inner_.AskYesNo(n, text);
  }
  platform::Answer AskYesNoCancel(int n, std::string_view text) override {
    watch_(n);
    return inner_.AskYesNoCancel(n, text);
  }
  platform::Answer AskOkCancel(int n, std::string_view text) override {
    watch_(n);
    return inner_.AskOkCancel(n, text);
  }
  bool ChooseFile(platform::FileChoice& choice) override { return inner_.ChooseFile(choice); }
  bool InputText(int n, std::string_view prompt, std::string& text) override {
    watch_(n);
    return inner_.InputText(n, prompt, text);
  }

 private:
  ScriptedPrompter& inner_;
  std::function<void(int)> watch_;
};

}  // namespace testing_support
