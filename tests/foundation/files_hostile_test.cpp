// Files that are not what they claim: a named pipe, a folder, a device or a file far too large
// given where a file is read, a link where a file is written or locked.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "foundation/files/data_folder.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

// A file of `bytes` bytes that takes no room on the disk.
void MakeSparse(const fs::path& path, std::uintmax_t bytes) {
  WriteFile(path, "");
  fs::resize_file(path, bytes);
}

TEST(HostileFiles, OnlyARegularFileOfASensibleSizeIsRead) {
  TempFolder dir;
  struct Case {
    const char* name;
    std::function<fs::path()> make;
    std::uint64_t limit;
    int error;  // 0: read whole
  };
  const Case cases[] = {
      {"regular_file",
       [&] {
         WriteFile(dir / "a", "abc");
         return dir / "a";
       },
       kWholeFileLimit, 0},
      {"link_to_a_regular_file",
       [&] {
         WriteFile(dir / "b", "abc");
         fs::create_symlink("b", dir / "b.link");
         return dir / "b.link";
       },
       kWholeFileLimit, 0},
      {"file_of_exactly_the_limit",
       [&] {
         WriteFile(dir / "c", "abc");
         return dir / "c";
       },
       3, 0},
      {"one_byte_above_the_limit",
       [&] {
         WriteFile(dir / "d", "abcd");
         return dir / "d";
       },
       3, 106},
      {"sparse_file_of_four_gigabytes",
       [&] {
         MakeSparse(dir / "e", 4ull << 30);
         return dir / "e";
       },
       kWholeFileLimit, 106},
      {"named_pipe",
       [&] {
         EXPECT_EQ(::mkfifo((dir / "f").c_str(), 0600), 0);
         return dir / "f";
       },
       kWholeFileLimit, 102},
      {"link_to_a_named_pipe",
       [&] {
         EXPECT_EQ(::mkfifo((dir / "g").c_str(), 0600), 0);
         fs::create_symlink(dir / "g", dir / "g.link");
         return dir / "g.link";
       },
       kWholeFileLimit, 102},
      {"folder",
       [&] {
         fs::create_directory(dir / "h");
         return dir / "h";
       },
       kWholeFileLimit, 102},
      {"endless_device", [] { return fs::path("/dev/zero"); }, kWholeFileLimit, 102},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = c.make();
    std::string bytes = "old";
    const Status read = ReadWholeFile(path, bytes, c.limit);
    EXPECT_EQ(read.ErrorCode(), c.error);
    EXPECT_EQ(bytes, c.error == 0 ? "abc" : "");
    std::FILE* f = OpenForReading(path);
    EXPECT_EQ(f != nullptr, c.error != 102);
    if (f) std::fclose(f);
  }
  // What could not be read is still there as it was.
  EXPECT_EQ(fs::file_size(dir / "e"), 4ull << 30);
  EXPECT_TRUE(fs::is_fifo(dir / "f"));
}

TEST(HostileFiles, ARewriteThroughALinkReplacesTheFileItLeadsToAndKeepsTheLink) {
  TempFolder dir, elsewhere;
  struct Case {
    const char* name;
    fs::path link;
    fs::path target;  // where the link leads in the end
    std::function<void()> make;
  };
  const Case cases[] = {
      {"absolute_link_to_another_folder", dir / "velm.cfg", elsewhere / "velm.cfg",
       [&] {
         WriteFile(elsewhere / "velm.cfg", "old");
         fs::create_symlink(elsewhere / "velm.cfg", dir / "velm.cfg");
       }},
      {"relative_link", dir / "rel.ini", dir / "sub" / "real.ini",
       [&] {
         fs::create_directory(dir / "sub");
         WriteFile(dir / "sub" / "real.ini", "old");
         fs::create_symlink("sub/real.ini", dir / "rel.ini");
       }},
      {"link_to_a_link", dir / "two.ent", elsewhere / "two.ent",
       [&] {
         WriteFile(elsewhere / "two.ent", "old");
         fs::create_symlink(elsewhere / "two.ent", elsewhere / "middle");
         fs::create_symlink(elsewhere / "middle", dir / "two.ent");
       }},
      {"link_to_a_file_not_yet_there", dir / "new.sav", elsewhere / "new.sav",
       [&] { fs::create_symlink(elsewhere / "new.sav", dir / "new.sav"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    ASSERT_TRUE(RewriteFile(c.link, "new").ok());
    EXPECT_TRUE(fs::is_symlink(c.link));
    EXPECT_EQ(ReadFile(c.target), "new");
    EXPECT_EQ(ReadFile(c.link), "new");
  }
  // No temporary file is left on either side.
  for (const fs::path& folder : {dir.Path(), elsewhere.Path()})
    for (const auto& e : fs::directory_iterator(folder))
      EXPECT_NE(e.path().filename().native().rfind(".", 0), 0u) << e.path();
}

TEST(HostileFiles, TheLockFileIsNeverOpenedThroughALinkAndGoesAtTheEnd) {
  TempFolder dir, elsewhere;
  const fs::path lockFile = dir / "velm.lck";
  {
    DataFolderLock lock;
    ASSERT_EQ(lock.Acquire(dir.Path()), DataFolderLock::Result::Acquired);
    EXPECT_TRUE(fs::exists(lockFile));
    lock.Release();
    EXPECT_FALSE(fs::exists(lockFile));  // a clean end leaves nothing behind
  }
  {
    DataFolderLock lock;
    ASSERT_EQ(lock.Acquire(dir.Path()), DataFolderLock::Result::Acquired);
  }
  EXPECT_FALSE(fs::exists(lockFile));

  struct Case {
    const char* name;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"link_to_a_file",
       [&] {
         WriteFile(elsewhere / "precious", "keep me");
         fs::create_symlink(elsewhere / "precious", lockFile);
       }},
      {"dangling_link", [&] { fs::create_symlink(elsewhere / "nothing", lockFile); }},
      {"named_pipe", [&] { ASSERT_EQ(::mkfifo(lockFile.c_str(), 0600), 0); }},
      {"folder", [&] { fs::create_directory(lockFile); }},
      // A second name of the user's own file: never cut to the process number, never removed.
      {"hard_link_to_a_file",
       [&] {
         WriteFile(dir / "notes.txt", "keep me");
         fs::create_hard_link(dir / "notes.txt", lockFile);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    {
      DataFolderLock lock;
      EXPECT_EQ(lock.Acquire(dir.Path()), DataFolderLock::Result::Failed);
      EXPECT_FALSE(lock.Held());
    }
    EXPECT_FALSE(fs::exists(elsewhere / "nothing"));
    if (fs::exists(dir / "notes.txt")) {
      EXPECT_EQ(ReadFile(dir / "notes.txt"), "keep me");
      EXPECT_EQ(ReadFile(lockFile), "keep me");
    }
    fs::remove(lockFile);
  }
  EXPECT_EQ(ReadFile(elsewhere / "precious"), "keep me");
}

}  // namespace
