// The page model of the colours dialog: the screen and the print colour tables (the dialog edits
// their first eleven entries, the wheel colours), the colour mode of printing, and the colour
// schemes of "Velm.col" that either column can take or be saved as.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "foundation/config/configuration.h"
#include "settings/core/colour_schemes.h"

namespace settings {

enum class ColourColumn { kScreen, kPrint };

class ColoursPage {
 public:
  using Table = std::array<std::uint16_t, Configuration::kColourCount>;

  Table screen{};
  Table print{};
  int colourMode = 0;  // 0 black and white, 1 colour

  // The schemes file of the data folder, written by every change, and the shipped copy read while
  // the data folder has none.
  std::filesystem::path dataFile;
  std::filesystem::path shippedFile;

  static ColoursPage From(const Configuration& config);
  // Both tables and the colour mode.
  void To(Configuration& config) const;

  Table& Colours(ColourColumn column) { return column == ColourColumn::kScreen ? screen : print; }
  const Table& Colours(ColourColumn column) const {
    return column == ColourColumn::kScreen ? screen : print;
  }

  // Reads the schemes (at most 59; message 72 when the file holds more, 2111 when lines were
  // skipped, error 102 under "DALLCOLORS::LoadGamma" when it cannot be read), then selects in
  // each column the first scheme equal to its colours. Schemes past the 59th are not offered but
  // are written back with every change.
  void LoadGamma();
  const std::vector<ColourScheme>& Schemes() const { return schemes_; }
  // "Сохранить" is enabled while fewer than 59 schemes are loaded.
  bool SaveEnabled() const { return static_cast<int>(schemes_.size()) < kSchemesLoaded; }
  // The scheme selected in a column, or -1.
  int Selection(ColourColumn column) const {
    return column == ColourColumn::kScreen ? screenSelection_ : printSelection_;
  }
  // A scheme chosen in a column's list: its eleven colours go into that column only.
  void ChooseScheme(ColourColumn column, int index);

  // "Сохранить" after the name dialog: the column's colours saved as a scheme named `typed`
  // (SchemeNameOf). False with nothing changed for an empty name, a name taken (message 73,
  // ignoring case) or a failed rewrite (error 105 under "DALLCOLORS::SaveGammaCols"); on success
  // the schemes are read again and message 17 is shown.
  bool SaveScheme(ColourColumn column, std::string_view typed);
  // "Удалить" for the scheme selected in a column: message 1112 without a selection, else the
  // question 1113 with its name; Yes rewrites the file without it and reads the schemes again.
  bool DeleteScheme(ColourColumn column);

 private:
  std::filesystem::path ReadFile() const;
  bool Rewrite(std::vector<ColourScheme> schemes, const char* trace);

  std::vector<ColourScheme> schemes_;
  std::vector<ColourScheme> beyond_;  // the file's schemes past the 59th, written back as they were
  int screenSelection_ = -1;
  int printSelection_ = -1;
  bool readWithDamage_ = false;  // the data folder's file had lines skipped
};

}  // namespace settings
