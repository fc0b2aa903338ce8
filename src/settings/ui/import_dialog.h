// The dialog "ИМПОРТ КОНФИГУРАЦИИ ИЗ ПРЕДЫДУЩЕЙ ВЕРСИИ": chooses the configuration file of an
// older version (4.1 - 5.1) and the sections to take over from it, one check box each; boxes of
// sections the chosen file does not carry are disabled. It edits a settings::ImportPage.
#pragma once

#include <array>
#include <filesystem>

#include "foundation/config/old_configuration.h"
#include "platform/qt/dialog.h"
#include "settings/core/old_import.h"

class QCheckBox;
class QLabel;
class QPushButton;

inline constexpr int kIdcChooseOldConfig = 1333;
inline constexpr int kIdcOldConfigPath = 1343;

class DImport : public platform::Dialog {
  Q_OBJECT

 public:
  explicit DImport(QWidget* parent = nullptr);
  bool DoDataExchange(bool save) override;

  settings::ImportPage page;
  // The running program's own configuration file, which is refused.
  std::filesystem::path ownConfig;

  // "ВЫБОР *.CFG ФАЙЛА": the file dialog, then the chosen file recognised; the path shown and the
  // boxes enabled for its version.
  void OnImpFile();
  // The check box of section `check` (1334..1371; nullptr for 1343).
  QCheckBox* Box(int check) const;
  QLabel* PathLabel() const { return path_; }
  QPushButton* ChooseButton() const { return choose_; }

 private:
  void ShowChoice();

  std::array<QCheckBox*, oldcfg::kSectionCount> boxes_{};
  QLabel* path_;
  QPushButton* choose_;
};

// Runs the import: the dialog (again after message 407 while OK is pressed without a file), then
// the chosen sections into `config` and the old folder's files (settings::ImportOldConfiguration).
// False when the user cancels or the configuration cannot be read.
class Aspectarium;
bool RunConfigurationImport(Configuration& config, Aspectarium& systems,
                            const settings::ImportPlaces& places,
                            const std::filesystem::path& ownConfig, QWidget* parent);
