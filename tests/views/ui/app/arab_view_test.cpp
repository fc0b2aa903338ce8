// The Arabic parts: the list loaded at start and saved at the end, the configuration before the
// view, the view of a chart's parts, its printing.
#include "views/ui/arab_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "foundation/config/settings_blocks.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "views/ui/arab_dialogs.h"
#include "views_fixture.h"

namespace views_test {
namespace {

class ArabViewTest : public ViewsTest {
 protected:
  void WriteParts(const std::string& bytes) {
    testing_support::WriteFile(folder_ / "velm.arb", Cp1251(bytes));
  }
};

TEST_F(ArabViewTest, TheViewShowsThePartsSwitchedOnAfterTheConfiguration) {
  WriteParts("Y_BA-.Фортуна\r\nNABC++Выключена\r\nYAEG,+Брак\r\n");
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(ArabicPartsList().Count(), 3);
  // The configuration asks every time: "Не рассчитывать" opens nothing.
  platform::ModalDriver::Expect<DArabConf>([](DArabConf& d) {
    EXPECT_TRUE(d.ComputeButton()->isEnabled());
    EXPECT_EQ(d.List()->count(), 3);
    return platform::kIdOk;  // Compute() stays false
  });
  const std::size_t views = document->Views().size();
  EXPECT_TRUE(RunFrom(document, cmd::kArabicParts));
  EXPECT_EQ(document->Views().size(), views);

  // Enter in the list computes, as "Рассчитать" does: it is the default button, and no list
  // command (the parts' editor) answers Enter.
  platform::ModalDriver::Expect<DArabConf>([](DArabConf& d) {
    d.show();
    d.List()->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(d.List(), &enter);
    EXPECT_TRUE(d.ComputeButton()->isDefault());
    EXPECT_TRUE(d.Compute());
    return d.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
  });
  auto* view = OpenView<ArabView>(document, cmd::kArabicParts);
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->Table().RowCount(), 2);  // the part switched off is not shown
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgArabCaption));
  Screenshot(*view, "arabic_parts_screen");
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  const platform::RecordingDc page = PrintPage(*view);
  int names = 0;
  for (const std::string& text : page.Texts())
    names += text == Cp1251("Фортуна") || text == Cp1251("Брак");
  EXPECT_EQ(names, 2);
  PagePicture("arabic_parts", 1, *view);
}

TEST_F(ArabViewTest, EveryPartOffOpensNothingAndChangesAreSavedAtTheEnd) {
  WriteParts("NABC++Выключена\r\n");
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  GetConfiguration().arabicParts.Set(cfg::ArabicPartsSettings::kAskEveryTime, std::int32_t{0});
  const std::size_t views = document->Views().size();
  EXPECT_TRUE(RunFrom(document, cmd::kArabicParts));
  EXPECT_EQ(document->Views().size(), views);
  EXPECT_TRUE(prompts_.WasShown(kMsgArabAllOff));

  // The configuration from the menu: its toggle switches the part on; saved at the end.
  platform::ModalDriver::Expect<DArabConf>([](DArabConf& d) {
    EXPECT_FALSE(d.ComputeButton()->isEnabled());
    d.OnToggle();
    return platform::kIdOk;
  });
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kConfigArabicParts));
  app_->ExitInstance();
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(folder_ / "velm.arb", stored).ok());
  EXPECT_EQ(stored, Cp1251("YABC++Выключена\r\n"));
}

TEST_F(ArabViewTest, ADamagedFileIsReportedOnceAndAnUntouchedListIsNotWritten) {
  WriteParts("YwMK+,bad\nYAMK+/bad\nYAMK+,good\n");
  StartApp();
  EXPECT_EQ(CountShown(kMsgArabBadLine), 1);
  EXPECT_EQ(ArabicPartsList().Count(), 1);
  app_->ExitInstance();
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(folder_ / "velm.arb", stored).ok());
  EXPECT_EQ(stored, "YwMK+,bad\nYAMK+/bad\nYAMK+,good\n");
}

}  // namespace
}  // namespace views_test
