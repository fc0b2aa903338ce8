// The interpretation-text editor: "РЕДАКТИРОВАНИЕ ТЕКСТОВ ИНТЕРПРЕТАТОРА", a property sheet of two
// pages over the program-wide text bases, "БАЗЫ" (DTlrFiles: bases and their groups) and
// "ТЕКСТЫ" (DTlrTexts: the texts of the current group and their selection functions), with the
// dialogs of one group (DTLR_GROUP) and one text (DTLR_TEXTPAR). The pages are thin over their
// models in conditions/core/tlr_editor.h.
#pragma once

#include <string>

#include "conditions/core/tlr_editor.h"
#include "platform/qt/dialog.h"
#include "platform/qt/property_sheet.h"

class CTlrFilesListBox;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The program's property sheet: a caption, a parent and the page shown first.
class MyPropertySheet : public platform::PropertySheet {
  Q_OBJECT

 public:
  MyPropertySheet(const QString& caption, QWidget* parent, int firstPage = 0);
  // Only the page shown first is made ready; the others as they are chosen.
  void OnInitDialog() override;

 private:
  int firstPage_;
};

// "Ввод/редактирование группы текстов".
class DTLR_GROUP : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DTLR_GROUP(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // 992 for '^' or '/', 1121 for a name of blanks only.
  bool CheckOk() override;

  std::string name;
  int priority = 1;

 private:
  QLineEdit* name_;
  QSpinBox* priority_;
};

// "Параметры текста".
class DTLR_TEXTPAR : public platform::Dialog {
  Q_OBJECT

 public:
  // `editing`: the number of the text edited, -1 for a new one.
  DTLR_TEXTPAR(const TLRBASE& base, int editing, QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;
  // 2145 when the body holds characters code page 1251 cannot (they would be stored as '?'),
  // then 1010, 2080, 1011, 2081 (CheckTlrTextParams).
  bool CheckOk() override;
  void OnPaste();
  void OnLoadFile();

  std::string title, body;

 private:
  const TLRBASE& base_;
  int editing_;
  bool bodyFits_ = true;
  QLineEdit* title_;
  QPlainTextEdit* body_;
};

// The dialogs and the wizard in windows.
class WindowTlrDialogs : public TlrEditorDialogs {
 public:
  explicit WindowTlrDialogs(TLRDATA& data, QWidget* parent) : data_(data), parent_(parent) {}
  bool AskGroup(std::string& name, int& priority) override;
  bool AskText(std::string& title, std::string& body) override;
  int AddCondition(CFunc& set) override;
  int EditCondition(CFunc& set, int index) override;
  void EditGroups(CFunc& set) override;
  // The number of the text being edited (for the title check), -1 for a new one.
  int editing = -1;

 private:
  TLRDATA& data_;
  QWidget* parent_;
};

class DTlrFiles : public platform::PropertyPage {
  Q_OBJECT

 public:
  DTlrFiles(TLRDATA& data, TlrEditorDialogs& dialogs, QWidget* parent = nullptr);
  void OnSetActive() override;
  bool OnKillActive() override { return true; }

  TlrFilesPage& Model() { return model_; }
  CTlrFilesListBox* Bases() const { return bases_; }
  CTlrFilesListBox* Groups() const { return groups_; }
  // The controls from the model.
  void Refresh();

 private:
  void Run(bool (TlrFilesPage::*action)());

  TLRDATA& data_;
  TlrFilesPage model_;
  CTlrFilesListBox* bases_;
  CTlrFilesListBox* groups_;
  QPushButton* addBase_;
  QPushButton* removeBase_;
  QPushButton* flipBase_;
  QPushButton* addGroup_;
  QPushButton* editGroup_;
  QPushButton* removeGroup_;
  QPushButton* flipGroup_;
};

class DTlrTexts : public platform::PropertyPage {
  Q_OBJECT

 public:
  DTlrTexts(TLRDATA& data, WindowTlrDialogs& dialogs, QWidget* parent = nullptr);
  void OnSetActive() override;
  bool OnKillActive() override;

  TlrTextsPage& Model() { return model_; }
  QListWidget* Texts() const { return texts_; }
  QListWidget* Conditions() const { return conditions_; }
  QLineEdit* Expression() const { return expression_; }
  void Refresh();

 private:
  void Run(const std::function<bool()>& action);

  TLRDATA& data_;
  WindowTlrDialogs& dialogs_;
  TlrTextsPage model_;
  QComboBox* group_;
  QListWidget* texts_;
  QListWidget* conditions_;
  QButtonGroup* mode_;
  QLineEdit* expression_;
  QPushButton* addText_;
  QPushButton* removeText_;
  QPushButton* editText_;
  QPushButton* addCondition_;
  QPushButton* removeCondition_;
  QPushButton* editCondition_;
  QPushButton* groupEditor_;
  bool refreshing_ = false;
};

// The editor sheet on `data`: OK writes the base list and the group files; Cancel leaves them
// as they are on disk (texts and functions were written as they were edited).
int RunTlrEditor(TLRDATA& data, QWidget* parent);
