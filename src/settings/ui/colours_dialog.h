// The colours dialog "КОНФИГУРАЦИЯ - УСТАНОВКА ЦВЕТОВ": the eleven wheel colours for the screen
// and for printing, each with its button (the colour chooser with 60 colours) and its swatch, the
// colour schemes of either column (choose, save as a new scheme, delete) and the colour mode of
// printing. It edits a settings::ColoursPage; the command copies it back after OK.
#pragma once

#include <array>

#include "platform/qt/dialog.h"
#include "settings/core/colours_page.h"

class QButtonGroup;
class QComboBox;
class QPushButton;

// Control numbers: the scheme lists, their buttons and the colour mode.
inline constexpr int kIdcScreenSchemes = 1200;
inline constexpr int kIdcPrintSchemes = 1207;
inline constexpr int kIdcSaveScreenScheme = 3;
inline constexpr int kIdcSavePrintScheme = 4;
inline constexpr int kIdcDeleteScreenScheme = 5;
inline constexpr int kIdcDeletePrintScheme = 6;

class DALLCOLORS : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kEntries = kSchemeColourCount;

  explicit DALLCOLORS(QWidget* parent = nullptr);
  // The colour mode from the page, then the schemes read and listed (LoadGamma).
  void OnInitDialog() override;
  // Out: the colour mode into the page (the colours change as they are chosen).
  bool DoDataExchange(bool save) override;

  settings::ColoursPage page;

  // A colour button: the chooser with the entry's colour and 60 colours; OK sets the entry.
  void OnColourButton(settings::ColourColumn column, int entry);
  // A scheme chosen in a column's list.
  void OnSchemeChosen(settings::ColourColumn column, int index);
  // "Сохранить": the name dialog, then the column's colours saved as a scheme.
  void OnSave(settings::ColourColumn column);
  // "Удалить": the column's selected scheme deleted after the question.
  void OnDelete(settings::ColourColumn column);

  QPushButton* ColourButton(settings::ColourColumn column, int entry) const;
  QWidget* Swatch(settings::ColourColumn column, int entry) const;
  QComboBox* Schemes(settings::ColourColumn column) const;
  QPushButton* SaveButton(settings::ColourColumn column) const;
  QPushButton* DeleteButton(settings::ColourColumn column) const;
  QButtonGroup* ColourMode() const { return mode_; }

 private:
  struct Column {
    std::array<QPushButton*, kEntries> buttons{};
    std::array<QWidget*, kEntries> swatches{};
    QComboBox* schemes = nullptr;
    QPushButton* save = nullptr;
    QPushButton* remove = nullptr;
  };
  const Column& Of(settings::ColourColumn column) const {
    return column == settings::ColourColumn::kScreen ? screen_ : print_;
  }
  // The scheme lists, their selections and the save buttons from the page.
  void ShowSchemes();

  Column screen_;
  Column print_;
  QButtonGroup* mode_;
};
