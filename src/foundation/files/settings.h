// The data folder: every data file and temporary file of the program lives in one folder, chosen
// at start (data_folder.h). Settings builds the paths of files in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/files/data_file_names.h"

class Settings {
 public:
  // The program's own file name.
  static constexpr std::string_view kProgramName = "velm";

  Settings() = default;
  explicit Settings(std::filesystem::path folder) { SetFolder(std::move(folder)); }

  void SetFolder(std::filesystem::path folder);
  const std::filesystem::path& Folder() const { return folder_; }

  // The path of `name` in the data folder: an existing file by its exact name, else the one file
  // whose name matches regardless of case, else (a new file, or several files that differ only in
  // case) the name as given. The empty name gives the folder itself, ending in '/' (empty while no
  // folder is set).
  std::string GetPath(std::string_view name) const;
  std::string GetPath(DataFile file) const { return GetPath(g_DataFileNames[file]); }

 private:
  std::filesystem::path folder_;
};

// The program-wide settings object; its folder is set once at start-up.
Settings& GetSettings();
