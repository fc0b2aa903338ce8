// An intent record of a stopped commit, as a received folder may hold it: the record
// ".f.arc.commit" beside an archive with its comment file, comment files that are links out of the
// folder, another archive, the configuration, leftovers of a commit and a file outside the
// folder, then the archive opened and the folder started as the program does. The input is the
// record's body, sealed with its checksum (an earlier version's record, which has none, is taken
// as it is), so that its mutations reach the actions. The record may make the program touch only
// the archive's own files and the leftovers named as its commits name them: every rename, link
// and removal elsewhere, or through a folder handle of another folder, aborts the run, and so does
// a change of the file outside.
#include "archive/store/commit_record.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/store/commit_recovery.h"
#include "foundation/files/leftover_names.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

bool g_guarded = false;
fs::path g_case;

// A file the recovery of the archive "f.arc" and the start of its folder may rename or remove.
bool Allowed(const char* path) {
  const fs::path p(path);
  if (p.parent_path() != g_case) return false;
  const std::string name = p.filename().string();
  if (InCommitFamily("f.arc", name)) return true;
  if (!CommitRecordAnchor(name).empty()) return CommitRecordAnchor(name) == "f.arc";
  return ParseLeftoverName(name).kind != LeftoverKind::kNone;
}

void Check(const char* path) {
  if (g_guarded && !Allowed(path)) {
    std::fprintf(stderr, "the recovery reached out of its own files: %s\n", path);
    std::abort();
  }
}

// A name given relative to a folder handle, as the path it stands for.
void CheckAt(int folder, const char* name) {
  if (!g_guarded) return;
  if (name[0] == '/' || folder == AT_FDCWD) return Check(name);
  char target[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(folder);
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return Check("");
  target[n] = '\0';
  Check((fs::path(target) / name).c_str());
}

template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

// The system's calls that change a name, watched while a record is acted on.
extern "C" {
int rename(const char* from, const char* to) {
  Check(from);
  Check(to);
  static const auto next = Next<int (*)(const char*, const char*)>("rename");
  return next(from, to);
}
int link(const char* from, const char* to) {
  Check(from);
  Check(to);
  static const auto next = Next<int (*)(const char*, const char*)>("link");
  return next(from, to);
}
int unlink(const char* path) {
  Check(path);
  static const auto next = Next<int (*)(const char*)>("unlink");
  return next(path);
}
int remove(const char* path) {
  Check(path);
  static const auto next = Next<int (*)(const char*)>("remove");
  return next(path);
}
int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  CheckAt(fromFolder, from);
  CheckAt(toFolder, to);
  static const auto next = Next<int (*)(int, const char*, int, const char*)>("renameat");
  return next(fromFolder, from, toFolder, to);
}
int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
  CheckAt(fromFolder, from);
  CheckAt(toFolder, to);
  static const auto next = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
  return next(fromFolder, from, toFolder, to, flags);
}
int unlinkat(int folder, const char* path, int flags) {
  CheckAt(folder, path);
  static const auto next = Next<int (*)(int, const char*, int)>("unlinkat");
  return next(folder, path, flags);
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_case = fuzz::Folder() / "case";
  const fs::path outside = fuzz::Folder() / "outside";
  std::error_code ec;
  fs::remove_all(g_case, ec);
  fs::create_directories(g_case);
  fs::create_directories(outside);
  for (const char* name : {"f.arc", "f.ar0", "t.arc", "velm.cfg"})
    fuzz::Put("case/" + std::string(name), name);
  // Leftovers of a process gone, as a commit of each file would name them.
  for (const char* name : {".f.arc", ".f.ar0", ".t.arc", ".velm.cfg"}) {
    fuzz::Put("case/" + std::string(name) + ".velm-tmp-999999999-abcdef", "new");
    fuzz::Put("case/" + std::string(name) + ".velm-old-999999999-1", "old");
  }
  fuzz::Put("outside/outside.txt", "the user's own");
  fuzz::Put("outside/.outside.txt.velm-tmp-999999999-abcdef", "planted");
  // Comment files that lead out of the folder, by a whole path and by "../".
  fs::create_symlink(outside / "outside.txt", g_case / "f.ar1");
  fs::create_symlink("../outside/outside.txt", g_case / "f.ar2");
  const std::string_view input = fuzz::Bytes(data, size);
  fuzz::Put("case/.f.arc.commit",
            input.starts_with("velm-commit 1\n") ? std::string(input) : SealCommitRecord(input));
  SetHoldsDataFolderLock(true);
  g_guarded = true;
  (void)RecoverArchiveFiles(g_case / "f.arc");
  RecoverDataFolder(g_case);
  g_guarded = false;
  std::FILE* f = std::fopen((outside / "outside.txt").c_str(), "rb");
  char kept[32] = {};
  const std::size_t n = f ? std::fread(kept, 1, sizeof kept, f) : 0;
  if (f) std::fclose(f);
  if (std::string_view(kept, n) != "the user's own") {
    std::fprintf(stderr, "the file outside the folder changed\n");
    std::abort();
  }
  return 0;
}
