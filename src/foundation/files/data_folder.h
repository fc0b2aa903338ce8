// Choosing, preparing and locking the data folder at start-up.
//
// Order: the folder given on the command line (--data-dir), then the environment variable
// VELM_DATA_DIR, then the executable's own folder when it holds "velm.cfg" or a file "portable"
// and is writable, else the user's data folder ($XDG_DATA_HOME/velm, by default
// ~/.local/share/velm), which is filled from the shipped defaults: only missing files are copied,
// an existing file is never overwritten.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/status.h"

enum class DataFolderOrigin { CommandLine, Environment, ExecutableFolder, UserData };

struct DataFolderCandidates {
  std::filesystem::path commandLine;       // --data-dir; empty when not given
  std::filesystem::path environment;       // VELM_DATA_DIR; empty when unset
  std::filesystem::path executableFolder;  // empty when unknown
  std::filesystem::path userDataHome;      // $XDG_DATA_HOME or ~/.local/share
  // Folders that may hold the shipped defaults, in order of preference; the first that exists
  // seeds the user's data folder.
  std::vector<std::filesystem::path> shippedDefaults;
};

struct DataFolderChoice {
  std::filesystem::path folder;
  DataFolderOrigin origin = DataFolderOrigin::UserData;
};

// The program's subfolder name in the user's data folder.
inline constexpr const char* kUserDataSubfolder = "velm";

DataFolderChoice ChooseDataFolder(const DataFolderCandidates& candidates);

// The base of the user's data folders from the values of XDG_DATA_HOME and HOME (either may be
// null): XDG_DATA_HOME when it is an absolute path, else HOME/.local/share; empty when neither.
std::filesystem::path UserDataHome(const char* xdgDataHome, const char* home);

// The folder of the running program (from /proc/self/exe); empty when unknown.
std::filesystem::path ExecutableFolder();

// Copies into `folder` (created when missing) every file under `defaults` that `folder` does not
// hold yet under any spelling of its name; subfolders are kept. Existing files are never touched.
// The names copied are added to `copied` (relative paths) when given. Error 105 when the folder
// cannot be created; 102 or 104 for the first file that could not be copied (the rest are still
// tried).
Status SeedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& defaults,
                      std::vector<std::string>* copied = nullptr);

// Creates the folder (and its parents) when missing; error 105 when that fails.
Status CreateDataFolder(const std::filesystem::path& folder);

// Creates the chosen folder when it is missing and, for the user's data folder, seeds it from the
// first existing folder of shipped defaults.
Status PrepareDataFolder(const DataFolderChoice& choice, const DataFolderCandidates& candidates,
                         std::vector<std::string>* copied = nullptr);

// Keeps two running copies of the program from using one data folder: an exclusive lock on the
// lock file ("velm.lck") of the folder, released when the object is destroyed or the process ends
// (so a crashed copy leaves no stale lock). The lock file holds the process id of its holder and
// is removed when the lock is released. A lock file that is a symbolic link or no regular file is
// never opened through: Acquire fails (and nothing is written).
class DataFolderLock {
 public:
  enum class Result { Acquired, HeldByAnother, Failed };

  DataFolderLock() = default;
  ~DataFolderLock() { Release(); }
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  Result Acquire(const std::filesystem::path& folder);
  void Release();
  bool Held() const { return fd_ >= 0; }
  // After HeldByAnother: the holder's process id as its lock file says, 0 when unreadable.
  long HolderPid() const { return holderPid_; }

 private:
  int fd_ = -1;
  std::filesystem::path path_;
  long holderPid_ = 0;
};

// Takes the lock for the program. A second copy on the same folder is told so (the prompter) and
// must not start: false. When the lock file cannot be created at all (a read-only folder), the
// user is told with error 105 and true is returned: nothing can be overwritten there.
bool LockDataFolderOrTell(DataFolderLock& lock, const std::filesystem::path& folder);
