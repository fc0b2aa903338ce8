// The foreign-file import in the running program: a ".zbs" file chosen as another archive asks
// DZETCONVCOM for the comment page and becomes the current archive with its comments there.
#include <gtest/gtest.h>

#include "archive/browser/import_dialogs.h"
#include "foundation/messages/message_numbers.h"
#include "shell/shell_fixture.h"

namespace {

using shell_test::ShellTest;
using testing_support::WriteFile;

class ForeignImportAppTest : public ShellTest {};

TEST_F(ForeignImportAppTest, ZbsFileBecomesTheCurrentArchiveWithTheChosenCommentPage) {
  CKovraApp& app = StartApp();
  Archive& archive = app.GetArchive();
  const std::string source = (folder_ / "clients.zbs").string();
  WriteFile(source,
            "Orlov;01.02.1990;13:45:30;+03:00;Moskva;55\xB0"
            "45'N;37\xB0"
            "37'E;x;"
            "Met in spring\n");
  struct Case {
    int choice;  // the combo line: 0 "do not convert", 1.. the pages
    bool ok;
    int result;
    int page;  // the page that holds the text, -1 none
  };
  for (const Case& c : {Case{3, false, 0, -1}, Case{3, true, 1, 2}, Case{0, true, 1, -1}}) {
    platform::ModalDriver::Expect<DZETCONVCOM>([&](DZETCONVCOM& dialog) {
      dialog.OnInitDialog();
      EXPECT_EQ(dialog.choice, 0);  // "Не конвертировать." preselected
      EXPECT_EQ(dialog.pageNames[0], GetConfiguration().commentPageNames[0]);
      dialog.choice = c.choice;
      dialog.splitLines = true;
      return c.ok ? platform::kIdOk : platform::kIdCancel;
    });
    prompts_.ExpectFile(source);
    if (std::filesystem::exists(folder_ / "clients.arc"))
      prompts_.Expect(kMsgReplaceConverted, platform::Answer::Yes);
    EXPECT_EQ(archive.Import().OpenOtherArchive(), c.result) << c.choice;
    if (c.result == 0) continue;
    EXPECT_EQ(archive.GetPath(), (folder_ / "clients.arc").string());
    ASSERT_EQ(archive.RecordCount(), 1);
    EXPECT_EQ(archive.Entry(0).name, "Orlov");
    EXPECT_EQ(archive.splitLines, 1);
    EXPECT_EQ(archive.importCommentPage, c.page);
    for (int k = 0; k < kCommentPages; ++k)
      EXPECT_EQ(archive.Entry(0).comments.HasText(k), k == c.page) << k;
  }
  prompts_.VerifyAllUsed();
}

}  // namespace
