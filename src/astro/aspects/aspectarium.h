// The set of loaded aspect systems (at most 99), one ".ASP" file each in the data folder, in the
// order of their file names. Systems are found by name without regard to letter case.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "astro/aspects/aspect_system.h"
#include "foundation/status.h"

class Aspectarium {
 public:
  static constexpr int kMaxSystems = 99;

  // Forgets the loaded systems and loads every "*.asp" file (any letter case) of `folder`, sorted
  // by file name. A file that cannot be read, is damaged, has no valid system name, repeats a
  // loaded name or comes after the 99th is skipped; the returned list tells why, one status each.
  std::vector<Status> LoadAll(const std::filesystem::path& folder);
  // Forgets the loaded systems and loads the one of `file`, a file outside `folder` (the shipped
  // default system, where the data folder has none and cannot take a copy), as though it were
  // `folder`'s: the system's saves and new systems go to `folder`, never beside `file`.
  Status LoadInto(const std::filesystem::path& file, const std::filesystem::path& folder);
  // The folder that new systems are written to (set by LoadAll).
  void SetFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
  const std::filesystem::path& Folder() const { return folder_; }

  int Count() const { return static_cast<int>(systems_.size()); }
  // System i in load order (0 <= i < Count()).
  AspectSystem& GetSystem(int i) { return *systems_.at(static_cast<std::size_t>(i)); }
  const AspectSystem& GetSystem(int i) const { return *systems_.at(static_cast<std::size_t>(i)); }
  // The systems' names in load order.
  std::vector<std::string> Names() const;

  // 1 when a system of that name is loaded, else 0.
  int HasSystem(std::string_view name) const;
  // The loaded system of that name; nullptr when none. The pointer stays valid until that system
  // is deleted or the systems are loaded again.
  AspectSystem* FindSystem(std::string_view name);
  const AspectSystem* FindSystem(std::string_view name) const;

  // A new system `name` holding copies of `from`'s aspects, written to "<name>.ASP" in the folder:
  // 0, or -1 with catalogue message 58 when 99 are loaded, aspect-system message 0 for a name that
  // cannot be a file name, 7 for a name already loaded; a failed write is reported and nothing is
  // added.
  int AddSystem(std::string_view name, const AspectSystem& from);
  // Deletes the file of system `name` and takes the system out of the set (the other systems keep
  // their unsaved changes): 0, or -1 with catalogue message 66 when there is no such system or its
  // file cannot be deleted.
  int DeleteSystemFile(std::string_view name);

  // The current system: the one named by the caller (the configuration's display slot), else the
  // one named by SetCurrentSystemName; when no system has that name, the first loaded system;
  // nullptr only when none is loaded.
  AspectSystem* GetCurrentSystem(std::string_view name);
  AspectSystem* GetCurrentSystem() { return GetCurrentSystem(currentName_); }
  void SetCurrentSystemName(std::string name) { currentName_ = std::move(name); }
  const std::string& CurrentSystemName() const { return currentName_; }

 private:
  int IndexOf(std::string_view name) const;

  std::filesystem::path folder_;
  std::vector<std::unique_ptr<AspectSystem>> systems_;
  std::string currentName_;
};

// The program's one set of aspect systems.
Aspectarium& GetAspectarium();
