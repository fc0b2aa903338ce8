// Files of an archive reached through symbolic links: a commit replaces the files the links lead
// to and keeps the links; a commit that fails puts those files back.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/store/file_transaction.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(TransactionThroughLinks, TheLinkedFileIsReplacedOrPutBackAndTheLinkStays) {
  struct Case {
    const char* name;
    int failingRename;   // 0: none
    const char* linked;  // what the linked file holds afterwards
    const char* plain;
  };
  const Case cases[] = {
      {"committed", 0, "new archive", "new comments"},
      {"second_rename_fails", 2, "old archive", "old comments"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir, elsewhere;
    WriteFile(elsewhere / "charts.arc", "old archive");
    fs::create_symlink(elsewhere / "charts.arc", dir / "charts.arc");
    WriteFile(dir / "charts.ar0", "old comments");
    FileTransaction tx;
    ASSERT_TRUE(tx.Rewrite(dir / "charts.arc").Write("new archive"));
    ASSERT_TRUE(tx.Rewrite(dir / "charts.ar0").Write("new comments"));
    EXPECT_TRUE(tx.Rewrites(dir / "charts.arc"));
    // The backups are made first (two renames), then the first file replaced, then the second.
    if (c.failingRename > 0) ArmFault({FaultPoint::kRename, 2 + c.failingRename});
    EXPECT_EQ(tx.Commit().ok(), c.failingRename == 0);
    DisarmFault();
    EXPECT_TRUE(fs::is_symlink(dir / "charts.arc"));
    EXPECT_EQ(ReadFile(elsewhere / "charts.arc"), c.linked);
    EXPECT_EQ(ReadFile(dir / "charts.ar0"), c.plain);
  }
}

}  // namespace
