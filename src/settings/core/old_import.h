// The import of an older version's settings: the page model of the dialog that chooses the old
// configuration file and its sections, and the run that takes over the configuration and then the
// old folder's colour schemes ("VELM.COL"), aspect systems ("*.ASP") and chart archives ("*.ARC",
// each with its comment files).
//
// The old folder's files are found by name regardless of letter case. Names asked for copies go
// through the name dialog (a callback, so that the run is testable without a window); a cancelled
// name skips that file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/config/configuration.h"
#include "foundation/config/old_configuration.h"

class Aspectarium;

namespace settings {

// The name of a copy from what the user typed: its first 8 characters, trailing blanks cut, and
// everything from the first '.' cut.
std::string CopyNameOf(std::string_view typed);

// The dialog's fields: the file chosen, its version code and the section flags (one per check box
// 1334..1371, all 1 at first).
struct ImportPage {
  bool fileChosen = false;
  std::string path = "Velm.cfg";
  int versionCode = -1;
  oldcfg::SectionFlags flags{};

  ImportPage() { flags.fill(1); }
  // Recognises the file chosen by the file dialog (`ownConfig`: the running program's own
  // configuration file, compared by canonical path). A refusal shows its message and clears the
  // chosen flag; a file that cannot be opened is error 102 under "DImport::OnImpFile".
  bool Choose(const std::filesystem::path& chosen, const std::filesystem::path& ownConfig);
  // Whether check box `check` (1334..1371) is enabled: a file is chosen and its version carries
  // the section.
  bool Enabled(int check) const;
};

// Where the run finds and puts the files.
struct ImportPlaces {
  std::filesystem::path programFolder;   // the data folder
  std::filesystem::path schemesFile;     // "Velm.col" of the data folder
  std::filesystem::path shippedSchemes;  // the shipped "Velm.col" (read while there is none)
  // The name dialog: true with the typed text, false when cancelled.
  std::function<bool(std::string& typed)> askName;
  // Where the tip-of-the-day section goes (the program's profile); not called when the section
  // was not taken.
  std::function<void(const oldcfg::TipOfTheDay&)> keepTips;
};

// Merges the old folder's "VELM.COL" into the schemes after question 408; nothing when either
// file is missing.
void ImportOldColourSchemes(const std::filesystem::path& oldFolder, const ImportPlaces& places);
// Copies the old folder's aspect systems after question 411 (an existing name: Yes replaces, No
// copies under a new name, Cancel skips; message 417 at the end). The number of files copied.
int ImportOldAspectSystems(const std::filesystem::path& oldFolder, const ImportPlaces& places);
// Copies the old folder's archives with their comment files after question 414 (an existing name:
// OK copies under a new name, Cancel skips; message 419 at the end). The number copied.
int ImportOldArchives(const std::filesystem::path& oldFolder, const ImportPlaces& places);

// The whole import after the dialog's OK: the chosen sections into `config` (the tip of the day to
// `places.keepTips`), then the three file
// imports (not when the old folder is the data folder itself), the aspect systems loaded again
// when any was copied, and message 406. A configuration that cannot be read is reported and ends
// the run with nothing changed; false then.
bool ImportOldConfiguration(const ImportPage& page, Configuration& config, Aspectarium& systems,
                            const ImportPlaces& places);

}  // namespace settings
