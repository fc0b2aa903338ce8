// The data folder: every data file and temporary file of the program lives in one folder, chosen
// at start (data_folder.h). Settings builds the paths of files in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

  // The folders holding the files the program ships (its installed share folder, or the source
  // tree's data/ when it runs from a build folder), in order of preference.
  void SetShippedFolders(std::vector<std::filesystem::path> folders) {
    shipped_ = std::move(folders);
  }
  // A file the program reads but never writes (glyph outlines, ephemeris tables): the data
  // folder's copy when there is one, else the first shipped copy, else the data folder's path.
  std::string FindProgramFile(std::string_view name) const;
  // The first shipped copy of `name`; empty when no shipped folder has it.
  std::string FindShippedFile(std::string_view name) const;

  // Whether the program can write into the data folder: false when the folder could not be
  // created or may not be written (the start says so once); true until the start decides.
  void SetWritable(bool writable) { writable_ = writable; }
  bool Writable() const { return writable_; }

 private:
  std::filesystem::path folder_;
  bool writable_ = true;
  std::vector<std::filesystem::path> shipped_;
};

// The program-wide settings object; its folder is set once at start-up.
Settings& GetSettings();
