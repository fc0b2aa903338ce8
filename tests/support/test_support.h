// Helpers shared by the tests: a temporary data folder per test, fixture paths and a scripted
// prompter that answers questions by message number and fails the test on any other question.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

namespace testing_support {

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The source tree (for data/ and resources/).
std::filesystem::path SourceDir();
// tests/fixtures/<name>
std::filesystem::path FixturePath(std::string_view name);
// tests/fixtures/reference/<name>: the independent reference values.
std::filesystem::path ReferencePath(std::string_view name);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
// Copies a picture a test made into the folder VELM_DEMO_DIR names, as <name><extension>, for a
// person to look at; nothing when the variable is not set.
void ShowToPerson(const std::filesystem::path& file, const std::string& name);
// Installs the shipped glyph outlines (data/velm.gly), loaded once for the test program.
void InstallShippedGlyphs();
// Leaves the upper halves of this thread's vector registers in use, as the window's painting
// does (foundation/numbers/vector_state.h), and says whether the processor shows them so; false
// where it has no AVX or does not show its state (the caller skips).
bool DirtyVectorUpperHalves();

// Answers by message number. Every message box and question is recorded in `shown`; a question
// without a scripted answer fails the current test (and is answered Cancel / No).
class ScriptedPrompter final : public platform::Prompter {
 public:
  struct Shown {
    int number;
    std::string text;  // cp1251
  };
  ScriptedPrompter();            // installs itself
  ~ScriptedPrompter() override;  // restores the previous prompter

  // The next question with this message number is answered so (queued, first in first out).
  void Expect(int messageNumber, platform::Answer answer);
  // The next file choice returns this path (empty path: cancelled).
  void ExpectFile(std::string path, int filterIndex = 1);
  // The next text input returns this text (nullptr-like: `cancel` true).
  void ExpectText(std::string text, bool cancel = false);
  // Fails the test unless every scripted answer was used.
  void VerifyAllUsed() const;

  bool WasShown(int messageNumber) const;
  std::vector<Shown> shown;
  // Questions, file choices and text inputs out of script are declined (No, Cancel, nothing
  // chosen) instead of failing the test: for walks that press every button.
  bool declineUnscripted = false;
  // Every file choice asked for, as it was asked.
  std::vector<platform::FileChoice> fileChoices;
  // Told the number of each message shown and question asked before it is answered: a test acts
  // there, as while the box is open.
  std::function<void(int)> watch;

  void ShowMessage(int messageNumber, std::string_view text, platform::Icon icon) override;
  platform::Answer AskYesNo(int messageNumber, std::string_view text) override;
  platform::Answer AskYesNoCancel(int messageNumber, std::string_view text) override;
  platform::Answer AskOkCancel(int messageNumber, std::string_view text) override;
  bool ChooseFile(platform::FileChoice& choice) override;
  bool InputText(int messageNumber, std::string_view prompt, std::string& text) override;

 private:
  platform::Answer Answer(int messageNumber, std::string_view text, platform::Answer fallback);
  std::deque<std::pair<int, platform::Answer>> answers_;
  std::deque<std::pair<std::string, int>> files_;
  std::deque<std::pair<std::string, bool>> texts_;
};

// Records every position a computation reports.
class RecordingProgress final : public platform::ProgressSink {
 public:
  void Begin() override { ++begun; }
  void SetPos(int percent) override { positions.push_back(percent); }
  void End() override { ++ended; }
  // The user's Cancel: true from the moment the computation has reported `cancelAt` positions.
  bool Cancelled() const override {
    return cancelAt >= 0 && static_cast<int>(positions.size()) >= cancelAt;
  }
  std::vector<int> positions;
  int begun = 0;
  int ended = 0;
  int cancelAt = -1;
};

}  // namespace testing_support
