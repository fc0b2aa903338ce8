// A commit never follows a link: a file of the commit that is a link is refused with a message
// naming it, and neither the link nor the file it leads to changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/store/file_transaction.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(TransactionThroughLinks, AFileOfTheCommitThatIsALinkIsRefusedAndNothingChanges) {
  // A link to another folder, and one to a file beside it (whose rewrite stays in the folder).
  for (const auto& [linked, inFolder] :
       {std::pair{"charts.arc", false}, {"charts.ar0", false}, {"charts.ar0", true}}) {
    SCOPED_TRACE(std::string(linked) + (inFolder ? " in the folder" : ""));
    testing_support::ScriptedPrompter prompts;
    TempFolder dir, other;
    const fs::path elsewhere = inFolder ? dir.Path() : other.Path();
    WriteFile(elsewhere / "kept", "the user's own");
    WriteFile(dir / "charts.arc", "old archive");
    WriteFile(dir / "charts.ar0", "old comments");
    fs::remove(dir / linked);
    fs::create_symlink(elsewhere / "kept", dir / linked);
    FileTransaction tx;
    ASSERT_TRUE(tx.Rewrite(dir / "charts.arc").Write("new archive"));
    ASSERT_TRUE(tx.Rewrite(dir / "charts.ar0").Write("new comments"));
    EXPECT_FALSE(tx.Commit().ok());
    ASSERT_TRUE(prompts.WasShown(kMsgCommitFileIsLink));
    EXPECT_NE(prompts.shown.back().text.find(linked), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(dir / linked));
    EXPECT_EQ(ReadFile(elsewhere / "kept"), "the user's own");
    EXPECT_EQ(ReadFile(dir / "charts.arc"),
              linked == std::string("charts.arc") ? "the user's own" : "old archive");
  }
}

}  // namespace
