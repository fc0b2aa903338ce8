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
  w.FixedText("abcdef", 4);         // 3 bytes and a NUL
  w.FixedText("ab", 4, false);      // padded
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
  EXPECT_EQ(st.ErrorCode(), 105);
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
