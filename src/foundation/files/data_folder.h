// Choosing, preparing and locking the data folder at start-up.
//
// Order: the folder given on the command line (--data-dir), then the environment variable
// VELM_DATA_DIR, then the executable's own folder when it holds "velm.cfg" or a file "portable"
// and is writable, else the user's data folder ($XDG_DATA_HOME/velm, by default
// ~/.local/share/velm). Every one but the executable's folder is filled from the shipped defaults
// at each start: missing files are copied, a copy of an earlier shipped version that the user
// never changed is replaced by the present one, and a file the user changed is kept, the present
// shipped version put beside it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
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

// The list beside the shipped defaults of every version the program has shipped of each file:
// lines "<SHA-256> <size> <name>", a file's present version last (scripts/shipped-versions.sh).
inline constexpr const char* kShippedVersionsName = "shipped-versions.sha256";
// The data folder's record of the shipped version each of its seeded files came from (or was last
// told of): lines "<name>\t<SHA-256>".
inline constexpr const char* kSeedRecordName = "velm.seed";
// The present shipped version of a file the user changed is put beside it under its name and this.
inline constexpr const char* kShippedBesideSuffix = ".new";

struct SeedResult {
  std::vector<std::string> copied;    // missing files, copied in
  std::vector<std::string> replaced;  // unchanged copies of an earlier version, now the present one
  // The user's changed files beside which a shipped version they came from no longer was put
  // (name + kShippedBesideSuffix), to be told once.
  std::vector<std::string> putBeside;
};

// Brings `folder` (created when missing) up to the files under `defaults`, subfolders kept, names
// relative to `defaults`:
// - a file that `folder` does not hold under any spelling of its name is copied in;
// - a file that is a version the list kShippedVersionsName (beside the defaults) names for it,
//   other than the present one, is a seeded copy the user never changed: the present shipped file
//   replaces it (through SafeRewrite);
// - any other file that differs from the shipped one is the user's and stays as it is; when the
//   folder's record does not say that it came from the present shipped version, that version is
//   put beside it (kShippedBesideSuffix) and the name goes to `result->putBeside`, once.
// Without the list nothing present is touched. Links, folders, names matching several files and
// the files the program rewrites itself ("tlr.bas", which holds the folder's path) are left alone
// once present. A file the record names at the present version is not read again. Error 105 when
// the folder cannot be created; 102 or 104 for the first file that could not be copied (the rest
// are still tried); message kMsgShippedFolderUnread (with `defaults`) when the walk of `defaults`
// stopped before its end, the files not reached unseeded.
Status SeedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& defaults,
                      SeedResult* result = nullptr);

// The message (code page 1251) that tells the user which of their files were kept and where the
// shipped versions are; empty when `putBeside` is.
std::string KeptFilesMessage(const std::filesystem::path& folder,
                             const std::vector<std::string>& putBeside);

// Creates the folder (and its parents) when missing; error 105 when that fails.
Status CreateDataFolder(const std::filesystem::path& folder);

// What a command that finds one of its lists empty tells the user (code page 1251): "<what> нет:
// они хранятся в файле <file> папки данных <folder>, а его там нет или в нем ничего нет", with
// `hint` on a line of its own when given. `what` and `hint` are UTF-8.
std::string MissingDataText(std::string_view what, std::string_view file,
                            std::string_view hint = {});

// Creates the folder when it is missing and tells whether the program can write into it, which
// GetSettings().SetWritable records. A folder that cannot be created or written is told to the
// user once, in one plain message (the prompter): the program then works on with the shipped
// defaults and keeps no settings, and nothing should try to lock, seed or log into it.
bool ReadyDataFolder(const std::filesystem::path& folder);

// Creates the chosen folder when it is missing and, unless it is the executable's own folder,
// seeds it from the first existing folder of shipped defaults (SeedDataFolder); the user is told
// of the files kept beside a newer shipped version, in one message (the prompter).
Status PrepareDataFolder(const DataFolderChoice& choice, const DataFolderCandidates& candidates,
                         SeedResult* result = nullptr);

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
// must not start: false. When the lock file cannot be made in a folder the program can write (a
// link or no regular file in its place), the user is told with error 105 naming it and true is
// returned. A folder it cannot write is never locked (ReadyDataFolder).
bool LockDataFolderOrTell(DataFolderLock& lock, const std::filesystem::path& folder);
