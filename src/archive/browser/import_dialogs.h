// The windows of the foreign-file import: DZETCONVCOM (dialog 262), which asks which comment page
// receives the comments of a ".zbs" file, and the importer the program installs in its archive,
// which asks through it and shows the progress of the reading.
#pragma once

#include <array>
#include <string>

#include "archive/import/foreign_import.h"
#include "platform/qt/dialog.h"

class QCheckBox;
class QComboBox;
class Workbench;

class DZETCONVCOM : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kIdcPage = 1778;
  static constexpr int kIdcSplitLines = 1784;

  explicit DZETCONVCOM(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  // The combo box's lines: message 695, then the ten page names (code page 1251).
  std::array<std::string, kCommentPages> pageNames;
  int choice = 0;  // 0 "do not convert", 1..10 the pages
  bool splitLines = false;

 private:
  QComboBox* page_;
  QCheckBox* split_;
};

// The program's importer: the comment page asked through DZETCONVCOM (preselected "do not
// convert", the split-lines flag from the archive; OK stores both in the archive), the ".zbs"
// progress in DPROGRESSBAR, and the sibling converter named by the environment variable
// VELM_CONVERTER when it is set.
class ForeignImportDialogs final : public ForeignImport {
 public:
  explicit ForeignImportDialogs(Workbench& workbench);
  int ConvertToArchive(const std::string& source, std::string& archive, int type) override;

 protected:
  bool ChooseCommentPage() override;

 private:
  bool AskCommentPage();

  Workbench& workbench_;
};
