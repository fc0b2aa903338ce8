// The prompt service: every message box, question, file choice and text input of the program goes
// through the installed Prompter. The program installs the Qt implementation; tests install a
// scripted one. Texts are code page 1251; the message number (0 when none) identifies the
// catalogue message so that scripted answers can be keyed by it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The message number of a text that is no catalogue message.
inline constexpr int kNoMessage = 0;

enum class Answer { Ok, Cancel, Yes, No };

enum class Icon { None, Information, Warning, Error, Question };

struct FileFilter {
  std::string description;  // cp1251, e.g. "Архивы (*.arc)"
  std::string pattern;      // e.g. "*.arc"
};

struct FileChoice {
  bool open = true;                 // true: choose an existing file to open; false: save as
  bool mustExist = true;            // for open
  std::string title;                // cp1251; empty: the standard title
  std::string acceptText;           // cp1251; the accept button's label, empty: the standard one
  std::vector<FileFilter> filters;  // the first is selected unless `filterIndex` says otherwise
  std::string path;                 // in: proposed path; out: the chosen path (OS bytes)
  int filterIndex = 1;              // in/out: 1 for the first filter
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A message box with one OK button.
  virtual void ShowMessage(int messageNumber, std::string_view text, Icon icon) = 0;
  // Yes/No question: Answer::Yes or Answer::No.
  virtual Answer AskYesNo(int messageNumber, std::string_view text) = 0;
  // Yes/No/Cancel question.
  virtual Answer AskYesNoCancel(int messageNumber, std::string_view text) = 0;
  // OK/Cancel question.
  virtual Answer AskOkCancel(int messageNumber, std::string_view text) = 0;
  // The common open or save dialog; false when cancelled.
  virtual bool ChooseFile(FileChoice& choice) = 0;
  // A line of text; false when cancelled. `text` holds the proposal and receives the answer.
  virtual bool InputText(int messageNumber, std::string_view prompt, std::string& text) = 0;
};

// Declines everything without a word (No, Cancel, no file, no text): for runs that look at
// results only, not at messages (benchmarks, fuzzing).
class SilentPrompter final : public Prompter {
 public:
  void ShowMessage(int, std::string_view, Icon) override {}
  Answer AskYesNo(int, std::string_view) override { return Answer::No; }
  Answer AskYesNoCancel(int, std::string_view) override { return Answer::Cancel; }
  Answer AskOkCancel(int, std::string_view) override { return Answer::Cancel; }
  bool ChooseFile(FileChoice&) override { return false; }
  bool InputText(int, std::string_view, std::string&) override { return false; }
};

// The installed prompter; a console prompter (stderr, answers No/Cancel) when none is installed.
Prompter& GetPrompter();
// Installs `prompter` (not owned); nullptr restores the console prompter.
void SetPrompter(Prompter* prompter);
// Installs `prompter` (not owned) for the calling thread alone, ahead of the one SetPrompter
// installed; nullptr removes it. A computation on a worker thread prompts through its own.
void SetThreadPrompter(Prompter* prompter);

}  // namespace platform
