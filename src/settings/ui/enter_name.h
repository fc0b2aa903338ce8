// The one-line name dialog "ВВОД  СТРОКИ": asks for a name of at most 40 characters (a colour
// scheme, an aspect system, a group). The caller may replace the default prompt; the dialog does
// not trim or check the text. Callers that make a file name of it use RunEnterFileName, which
// refuses a name that is not one file name.
//
//   std::string name;
//   if (RunEnterName(name, GetMessageText(kMsgGroupNamePrompt), this)) { /* check and use name
//   (cp1251) */ }
#pragma once

#include <string>
#include <string_view>

#include "platform/qt/dialog.h"

class QLabel;
class QLineEdit;

// Control numbers of the text and the prompt.
inline constexpr int kIdcEnterNameEdit = 1651;
inline constexpr int kIdcEnterNamePrompt = 1652;

class CEnterName : public platform::Dialog {
  Q_OBJECT

 public:
  explicit CEnterName(QWidget* parent = nullptr);

  // The text, code page 1251: preset by the caller, the typed text after OK (at most 40
  // characters; a longer preset is cut).
  std::string text;
  // The prompt shown (cp1251); empty: the default prompt.
  std::string prompt;

  bool DoDataExchange(bool save) override;
  QLineEdit* Edit() const { return edit_; }
  QLabel* Prompt() const { return prompt_; }

 private:
  QLineEdit* edit_;
  QLabel* prompt_;
};

// Runs CEnterName with `text` preset and the prompt `prompt` (empty: the default one). true after
// OK, with the typed text in `text`; false after Cancel, `text` unchanged.
bool RunEnterName(std::string& text, std::string_view prompt = {}, QWidget* parent = nullptr);
// The same for a name that becomes a file name: a name that IsSafeFileName refuses is answered
// with message 1950 and asked again.
bool RunEnterFileName(std::string& name, std::string_view prompt = {}, QWidget* parent = nullptr);
