#include "support/test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "foundation/drawing/glyph_file.h"
#include "foundation/numbers/vector_state.h"
#include "platform/core/codepage.h"

namespace fs = std::filesystem;

namespace testing_support {

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "velm-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

fs::path SourceDir() {
  if (const char* env = std::getenv("VELM_SOURCE_DIR"); env && *env) return env;
  return VELM_SOURCE_DIR;
}

fs::path FixturePath(std::string_view name) { return SourceDir() / "tests" / "fixtures" / name; }
fs::path ReferencePath(std::string_view name) { return FixturePath("reference") / name; }

void ShowToPerson(const fs::path& file, const std::string& name) {
  if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
    fs::create_directories(demo);
    fs::copy_file(file, fs::path(demo) / (name + file.extension().string()),
                  fs::copy_options::overwrite_existing);
  }
}

bool DirtyVectorUpperHalves() {
#if defined(__x86_64__)
  if (!VectorStateVisible()) return false;
  // Ones into the upper half of ymm0, in assembly inside code compiled without AVX: a function
  // compiled for AVX would end, once optimised, in a vzeroupper of the compiler's own that
  // clears the halves again.
  __asm__ volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
  return VectorUpperStateInUse();
#else
  return false;
#endif
}

void InstallShippedGlyphs() {
  static platform::GlyphSet set;
  static const bool loaded = LoadGlyphSet(SourceDir() / "data" / "velm.gly", set).ok();
  ASSERT_TRUE(loaded);
  platform::InstallGlyphs(&set);
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ScriptedPrompter::ScriptedPrompter() { platform::SetPrompter(this); }

ScriptedPrompter::~ScriptedPrompter() { platform::SetPrompter(nullptr); }

void ScriptedPrompter::Expect(int messageNumber, platform::Answer answer) {
  answers_.emplace_back(messageNumber, answer);
}

void ScriptedPrompter::ExpectFile(std::string path, int filterIndex) {
  files_.emplace_back(std::move(path), filterIndex);
}

void ScriptedPrompter::ExpectText(std::string text, bool cancel) {
  texts_.emplace_back(std::move(text), cancel);
}

void ScriptedPrompter::VerifyAllUsed() const {
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answers unused, first for message "
                                << (answers_.empty() ? 0 : answers_.front().first);
  EXPECT_TRUE(files_.empty()) << files_.size() << " scripted file choices unused";
  EXPECT_TRUE(texts_.empty()) << texts_.size() << " scripted text inputs unused";
}

bool ScriptedPrompter::WasShown(int messageNumber) const {
  for (const Shown& s : shown)
    if (s.number == messageNumber) return true;
  return false;
}

void ScriptedPrompter::ShowMessage(int messageNumber, std::string_view text, platform::Icon) {
  if (watch) watch(messageNumber);
  shown.push_back({messageNumber, std::string(text)});
}

platform::Answer ScriptedPrompter::Answer(int messageNumber, std::string_view text,
                                          platform::Answer fallback) {
  if (watch) watch(messageNumber);
  shown.push_back({messageNumber, std::string(text)});
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->first == messageNumber) {
      const platform::Answer a = it->second;
      answers_.erase(it);
      return a;
    }
  }
  if (declineUnscripted) return fallback;
  ADD_FAILURE() << "unexpected question " << messageNumber << ": " << platform::Cp1251ToUtf8(text);
  return fallback;
}

platform::Answer ScriptedPrompter::AskYesNo(int n, std::string_view text) {
  return Answer(n, text, platform::Answer::No);
}
platform::Answer ScriptedPrompter::AskYesNoCancel(int n, std::string_view text) {
  return Answer(n, text, platform::Answer::Cancel);
}
platform::Answer ScriptedPrompter::AskOkCancel(int n, std::string_view text) {
  return Answer(n, text, platform::Answer::Cancel);
}

bool ScriptedPrompter::ChooseFile(platform::FileChoice& choice) {
  fileChoices.push_back(choice);
  if (files_.empty()) {
    if (declineUnscripted) return false;
    ADD_FAILURE() << "unexpected file choice";
    return false;
  }
  auto [path, filter] = files_.front();
  files_.pop_front();
  if (path.empty()) return false;
  choice.path = path;
  choice.filterIndex = filter;
  return true;
}

bool ScriptedPrompter::InputText(int n, std::string_view prompt, std::string& text) {
  if (watch) watch(n);
  shown.push_back({n, std::string(prompt)});
  if (texts_.empty()) {
    if (declineUnscripted) return false;
    ADD_FAILURE() << "unexpected text input " << n;
    return false;
  }
  auto [answer, cancel] = texts_.front();
  texts_.pop_front();
  if (cancel) return false;
  text = answer;
  return true;
}

}  // namespace testing_support
