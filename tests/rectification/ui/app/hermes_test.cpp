// The trutine of Hermes and the Morav number from the rectification menu of a chart window.
#include <QListWidget>
#include <QMdiArea>
#include <QSpinBox>

#include "document/command_ids.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/page_output.h"
#include "platform/qt/view.h"
#include "rectification/ui/hermes_dialogs.h"
#include "views/ui/app/views_fixture.h"

namespace shell_test {
namespace {

class HermesTest : public views_test::ViewsTest {};

TEST_F(HermesTest, ChosenVariantsOpenBirthAndConceptionCharts) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  // The interval 13 May 1975 08:30..20:30 local; the first attempt ends before it starts (89).
  int attempts = 0;
  platform::ModalDriver::Expect<DTrutin>([&attempts](DTrutin& d) {
    d.OnInitDialog();
    // Half a day about the chart's time, the interval the test wants.
    EXPECT_EQ(std::make_pair(d.Field(0, 3)->value(), d.Field(1, 3)->value()), std::pair(8, 20));
    d.Field(0, 3)->setValue(20);
    d.Field(1, 3)->setValue(8);
    EXPECT_FALSE(d.DoDataExchange(true));
    ++attempts;
    d.Field(0, 3)->setValue(8);
    d.Field(1, 3)->setValue(20);
    return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  int lines = 0;
  platform::ModalDriver::Expect<DHermesResults>([&lines](DHermesResults& d) {
    lines = d.List()->count();
    EXPECT_TRUE(d.List()->item(0)->isSelected());  // the first line starts selected
    platform::Check(d.ChartSet(), HermesTrutine::kBothCharts);
    return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  const std::size_t before = DocumentCount();
  ASSERT_TRUE(RunFrom(document, cmd::kHermesTrutine));
  EXPECT_EQ(attempts, 1);
  EXPECT_TRUE(prompts_.WasShown(kMsgIntervalReversed));
  EXPECT_GT(lines, 0);
  // One birth and one conception chart for the chosen first line, named by their marks.
  ASSERT_EQ(DocumentCount(), before + 2);
  const auto& docs = app_->Documents().Documents();
  const auto* birth = dynamic_cast<const CKovraDoc*>(docs[docs.size() - 2].get());
  const auto* conception = dynamic_cast<const CKovraDoc*>(docs.back().get());
  ASSERT_TRUE(birth && conception);
  EXPECT_NE(
      birth->GetChart()->definition.sources[0].Name().find(GetMessageText(kMsgRectifiedBirth)),
      std::string::npos);
  EXPECT_NE(conception->GetChart()->definition.sources[0].Name().find(
                GetMessageText(kMsgRectifiedConception)),
            std::string::npos);
}

TEST_F(HermesTest, CancelledInputOpensNothingAndTheMoravWindowShowsItsNumber) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<DTrutin>([](DTrutin&) { return platform::kIdCancel; });
  const std::size_t before = DocumentCount();
  ASSERT_TRUE(RunFrom(document, cmd::kHermesTrutine));
  EXPECT_EQ(DocumentCount(), before);

  double shown = -1.0;
  platform::ModalDriver::Expect<D_MORAV>([this, &shown](D_MORAV& d) {
    shown = d.Position();
    d.resize(480, 240);
    Screenshot(d, "morav_number");
    return platform::kIdOk;
  });
  ASSERT_TRUE(RunFrom(document, cmd::kMoravNumber));
  const Chart& c = *document->GetChart();
  const double s = c.GetPointLongitude(0).Get(), m = c.GetPointLongitude(1).Get(),
               t = c.GetPointLongitude(6).Get();
  EXPECT_NEAR(shown, NormalizeDegrees((3 * t + 3 * m + 2 * s) / 8), 1e-9);
}

}  // namespace
}  // namespace shell_test
