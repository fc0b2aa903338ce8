#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(BinaryIo, FieldsAreLittleEndianWithExplicitWidths) {
  BinaryWriter w;
  w.U16(0x1234);
  w.I32(-2);
  w.F64(1.5);
  w.FixedText("abcdef", 4);     // 3 bytes and a NUL
  w.FixedText("ab", 4, false);  // padded
  ASSERT_EQ(w.Size(), 2u + 4 + 8 + 4 + 4);
  EXPECT_EQ(w.Data().substr(0, 6), std::string("\x34\x12\xFE\xFF\xFF\xFF", 6));
  EXPECT_EQ(w.Data().substr(14, 8), std::string("abc\0ab\0\0", 8));

  BinaryReader r(w.Data());
  EXPECT_EQ(r.U16(), 0x1234);
  EXPECT_EQ(r.I32(), -2);
  EXPECT_EQ(r.F64(), 1.5);
  EXPECT_EQ(r.FixedText(4), "abc");
  EXPECT_EQ(r.FixedText(4), "ab");
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_EQ(r.U8(), 0);  // past the end
  EXPECT_FALSE(r.Ok());
}

TEST(SafeRewrite, ReplacesTheFileAndLeavesNoTemporaryFile) {
  TempFolder dir;
  const auto target = dir / "velm.cfg";
  WriteFile(target, "old");
  ASSERT_TRUE(RewriteFile(target, "new contents").ok());
  EXPECT_EQ(ReadFile(target), "new contents");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(SafeRewrite, AFailedWriteLeavesTheOldFileIntact) {
  TempFolder dir;
  const auto target = dir / "archive.arc";
  WriteFile(target, "precious");
  {
    SafeRewrite rewrite(target);
    ASSERT_TRUE(rewrite.Ok());
    rewrite.Write("half of the new");
    // The writer gives up before committing (as after a failed step).
  }
  EXPECT_EQ(ReadFile(target), "precious");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(SafeRewrite, AFolderThatCannotTakeFilesGivesError105AndTouchesNothing) {
  TempFolder dir;
  const auto target = dir / "missing-folder" / "x.dat";
  const Status st = RewriteFile(target, "data");
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(st.ErrorCode(), kErrCannotCreate);
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(CopyAside, CopiesUnderTheFirstFreeBadNameAndLeavesTheFile) {
  TempFolder dir;
  const auto file = dir / "groups.lst";
  WriteFile(file, "old lines");
  WriteFile(dir / "groups.lst.bad", "an earlier copy");
  std::filesystem::path kept;
  ASSERT_TRUE(CopyAside(file, kept).ok());
  EXPECT_EQ(kept, dir / "groups.lst.bad2");
  EXPECT_EQ(ReadFile(kept), "old lines");
  EXPECT_EQ(ReadFile(file), "old lines");
  EXPECT_EQ(ReadFile(dir / "groups.lst.bad"), "an earlier copy");
}

// Every file step of a rewrite that keeps the old file failed in turn: the target is the old file
// or the new one, whole, and a copy exists exactly when the new one replaced the old.
TEST(RewriteKeepingOld, EachFailedStepLeavesTheOldFileAndNoCopy) {
  TempFolder dir;
  const auto file = dir / "velm.lev";
  for (int n = 1; n <= 20; ++n) {
    SCOPED_TRACE(n);
    WriteFile(file, "old");
    std::filesystem::path kept;
    ArmFileFault(n);
    const Status st = RewriteKeepingOld(file, "new", kept);
    ArmFileFault(0);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
    if (st.ok()) {
      EXPECT_EQ(ReadFile(file), "new");
      EXPECT_EQ(ReadFile(kept), "old");
      EXPECT_EQ(files, 2);
      break;
    }
    EXPECT_EQ(ReadFile(file), "old");
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(files, 1);
    ASSERT_LT(n, 20) << "the rewrite never succeeded";
  }
}

int FilesIn(const TempFolder& dir) {
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  return files;
}

TEST(RewriteBatch, TheFilesReachTheDiskTogetherWithOneWait) {
  TempFolder dir;
  const auto changed = dir / "velm.sav", same = dir / "velm.cfg", fresh = dir / "velm.ini";
  WriteFile(changed, "old session");
  WriteFile(same, "settings");
  const int waits = DiskWaits();
  {
    RewriteBatch batch;
    EXPECT_TRUE(RewriteFile(changed, "first session").ok());
    EXPECT_TRUE(RewriteFile(same, "settings").ok());
    EXPECT_TRUE(RewriteFile(fresh, "profile").ok());
    EXPECT_TRUE(RewriteFile(changed, "last session").ok());  // the last rewrite stays
    // Nothing is replaced before the batch ends.
    EXPECT_EQ(ReadFile(changed), "old session");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_TRUE(batch.Finish().ok());
    EXPECT_EQ(batch.Written(), 2);
    EXPECT_EQ(batch.Unchanged(), 1);
  }
  EXPECT_EQ(DiskWaits() - waits, 1);
  EXPECT_EQ(ReadFile(changed), "last session");
  EXPECT_EQ(ReadFile(same), "settings");
  EXPECT_EQ(ReadFile(fresh), "profile");
  EXPECT_EQ(FilesIn(dir), 3);  // no temporary file left
  // Alone, a file waits for the disk twice: its data, then its folder.
  ASSERT_TRUE(RewriteFile(changed, "alone").ok());
  EXPECT_EQ(DiskWaits() - waits, 3);
}

TEST(RewriteBatch, AFileThatCannotBeReplacedIsReportedAndKeepsItsOldContents) {
  TempFolder dir;
  testing_support::ScriptedPrompter prompts;
  const auto target = dir / "velm.sav", other = dir / "velm.ini";
  WriteFile(target, "old");
  {
    RewriteBatch batch;
    // Created and written at once: a folder that takes no files fails as before.
    EXPECT_EQ(RewriteFile(dir / "missing" / "x.dat", "x").ErrorCode(), kErrCannotCreate);
    ASSERT_TRUE(RewriteFile(target, "new").ok());
    ASSERT_TRUE(RewriteFile(other, "profile").ok());
    ArmFileFault(1);  // counted from here: the first rename, the first file's
    const Status st = batch.Finish();
    ArmFileFault(0);
    EXPECT_EQ(st.ErrorCode(), kErrWrite);
  }
  EXPECT_TRUE(prompts.WasShown(-104));
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(ReadFile(other), "profile");
  EXPECT_EQ(FilesIn(dir), 2);
}

}  // namespace
