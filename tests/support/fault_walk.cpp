#include "support/fault_walk.h"

#include <gtest/gtest.h>

#include <set>

#include "foundation/files/leftover_names.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace testing_support {

FolderFiles Snapshot(const fs::path& folder) {
  FolderFiles files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file() && e.path().filename() != kFolderLockName)
      files[e.path().lexically_relative(folder).string()] = ReadFile(e.path());
  return files;
}

void Restore(const fs::path& folder, const FolderFiles& files) {
  for (const auto& e : fs::directory_iterator(folder)) fs::remove_all(e.path());
  for (const auto& [name, bytes] : files) {
    fs::create_directories((folder / name).parent_path());
    WriteFile(folder / name, bytes);
  }
}

std::string FaultName(const FileFault& fault) {
  static const char* const kNames[] = {
      "create", "write error at byte", "short write", "disk full from byte", "fsync",
      "rename", "read-only folder",    "no removal"};
  return std::string(kNames[static_cast<int>(fault.point)]) + " " + std::to_string(fault.at);
}

void WalkFaults(const std::function<bool(const FileFault&)>& run) {
  EXPECT_FALSE(run(kNoFault)) << "the clean run";
  const long long bytes = BytesWrittenSinceArming();
  int fired = 0;
  for (const FaultPoint point :
       {FaultPoint::kCreate, FaultPoint::kShortWrite, FaultPoint::kFsync, FaultPoint::kRename}) {
    for (int n = 1; n <= 200 && !::testing::Test::HasFailure() && run({point, n}); ++n) ++fired;
  }
  EXPECT_GT(fired, 0) << "no file operation to fail";
  const std::set<long long> positions = {0, bytes / 2, bytes > 0 ? bytes - 1 : 0};
  for (const FaultPoint point : {FaultPoint::kWriteAtByte, FaultPoint::kNoSpace}) {
    for (const long long k : positions) {
      if (!::testing::Test::HasFailure()) run({point, k});
    }
  }
}

}  // namespace testing_support
