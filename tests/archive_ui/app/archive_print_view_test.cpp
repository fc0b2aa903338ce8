// The archive listing from the browser's "Печать": the parameters, the hint, the window and its
// printed pages.
#include "archive/browser/archive_print_view.h"

#include <gtest/gtest.h>

#include "archive/browser/archive_print_dialog.h"
#include "archive/browser/archive_view.h"
#include "archive_app_fixture.h"
#include "document/command_ids.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace shell_test {
namespace {

class ArchivePrintViewTest : public ArchiveAppTest {
 protected:
  void OpenArchive(int count) {
    std::vector<Chart> charts;
    for (int i = 0; i < count; ++i) {
      Chart c =
          archive_test::MakeChart("Name " + std::to_string(i), 1 + i % 28, 1 + i % 12, 1950 + i);
      c.points[0].longitude.Set(i * 7.5);
      charts.push_back(c);
    }
    ArchiveAppTest::OpenArchive(charts);
  }
  // The browser answers "Печать"; the parameters dialog answers with `params` (or Cancel).
  static void AnswerPrint(const ArchivePrintParams& params, bool ok) {
    platform::ModalDriver::Expect<ArchiveView>([](ArchiveView& view) {
      view.Button(ArchiveView::kIdPrint)->click();
      return view.EndResult();
    });
    platform::ModalDriver::Expect<DARCPRINT>([params, ok](DARCPRINT& dialog) {
      EXPECT_FALSE(dialog.Selected()->isEnabled());  // nothing flagged
      EXPECT_TRUE(dialog.Page(0)->isEnabled());      // a 4400 archive
      dialog.params = params;
      return ok ? platform::kIdOk : platform::kIdCancel;
    });
  }
};

TEST_F(ArchivePrintViewTest, HintOnTwentiethLaunchAndCancelTurnsItOff) {
  CKovraApp& app = StartApp();
  OpenArchive(3);
  ArchivePrintParams params;
  params.hint = 0;
  GetConfiguration().launchCounter = 40;
  AnswerPrint(params, true);
  prompts_.Expect(kMsgHint, platform::Answer::Cancel);
  app.GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
  EXPECT_EQ(ArchivePrintParams::FromBlock(GetConfiguration().archivePrint).hint, 0);
  ASSERT_EQ(app.DocumentCount(), 1);

  // Not a twentieth launch, switch off: no question.
  GetConfiguration().launchCounter = 41;
  AnswerPrint(params, true);
  app.GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
  EXPECT_EQ(app.DocumentCount(), 2);
  // Cancel in the dialog: nothing opens.
  AnswerPrint(params, false);
  platform::ModalDriver::Expect<ArchiveView>([](ArchiveView& view) {
    view.Button(ArchiveView::kIdExit)->click();
    return view.EndResult();
  });
  app.GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
  EXPECT_EQ(app.DocumentCount(), 2);
}

TEST_F(ArchivePrintViewTest, ListingPrintsNumberedPagesIntoPdfAndPng) {
  CKovraApp& app = StartApp();
  OpenArchive(60);
  ArchivePrintParams params;
  params.hint = 0;
  params.coordinates = 1;
  params.fontSize = 1200;
  params.lineInterval = 1.5;
  GetConfiguration().launchCounter = 41;
  for (int k = 0; k < 10; ++k)
    GetConfiguration().printCoords.slots[static_cast<std::size_t>(k)] = 1;
  AnswerPrint(params, true);
  app.GetMainFrame()->ExecuteCommand(cmd::kLoadFromArchive);
  auto* view = dynamic_cast<CArchivePrint*>(app.GetMainFrame()->GetActiveView());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->List().Charts().size(), 60u);
  EXPECT_TRUE(view->GetFrameTitle().ends_with(GetMessageText(kMsgArchivePrintCaption)));
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 3) << view->PageCount();
  ShowPrinted(*view, "archive_print");
}

}  // namespace
}  // namespace shell_test
