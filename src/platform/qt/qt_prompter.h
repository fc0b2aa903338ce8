// The prompt service on Qt: message boxes with the Russian standard buttons, the file dialog and
// the text input dialog.
#pragma once

#include <QString>

#include "platform/core/prompter.h"

class QWidget;

namespace platform {

class QtPrompter final : public Prompter {
 public:
  // `caption` is the title of every message box.
  explicit QtPrompter(QString caption) : caption_(std::move(caption)) {}
  // The window the boxes belong to (the main frame once it exists).
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowMessage(int messageNumber, std::string_view text, Icon icon) override;
  Answer AskYesNo(int messageNumber, std::string_view text) override;
  Answer AskYesNoCancel(int messageNumber, std::string_view text) override;
  Answer AskOkCancel(int messageNumber, std::string_view text) override;
  bool ChooseFile(FileChoice& choice) override;
  bool InputText(int messageNumber, std::string_view prompt, std::string& text) override;

 private:
  QString caption_;
  QWidget* parent_ = nullptr;
};

// Loads the Russian translation of Qt's own texts (standard buttons, file dialog) into the
// application; false when it is not installed.
bool InstallRussianTranslator();

// The program's text face, set explicitly on the application and its windows.
QString TextFaceFamily();

}  // namespace platform
