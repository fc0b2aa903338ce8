#include "eval_support.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"

namespace fs = std::filesystem;

namespace chart_fixture {

void EvalPrompter::ShowMessage(int number, std::string_view text, platform::Icon) {
  std::cerr << "message " << number << ": " << Utf8(text) << "\n";
}

platform::Answer EvalPrompter::AskYesNo(int number, std::string_view text) {
  if (number == kMsgLocalSpaceCharts) return localSpace_;
  std::cerr << "question " << number << " answered No: " << Utf8(text) << "\n";
  return platform::Answer::No;
}

platform::Answer EvalPrompter::AskYesNoCancel(int number, std::string_view text) {
  std::cerr << "question " << number << " cancelled: " << Utf8(text) << "\n";
  return platform::Answer::Cancel;
}

TempFolder::TempFolder(std::string_view tool) {
  std::string pattern = (fs::temp_directory_path() / (std::string(tool) + ".XXXXXX")).string();
  if (::mkdtemp(pattern.data())) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

int Refuse(const InputError& e) {
  std::cerr << e.file;
  if (e.line > 0) std::cerr << ":" << e.line;
  std::cerr << ": " << e.why << "\n";
  return 2;
}

void UseToolConfiguration() {
  Configuration& config = GetConfiguration();
  for (int i = 0; i < Configuration::kObjectCount; ++i) {
    config.objectStrings[Configuration::kOrbString][static_cast<std::size_t>(i)] = '3';
    config.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
  }
}

}  // namespace chart_fixture
