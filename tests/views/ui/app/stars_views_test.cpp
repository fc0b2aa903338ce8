// The fixed stars of a chart window: the settings dialog, the star list (Ctrl-I) and a star's text.
#include "views/ui/stars_views.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSpinBox>

#include "document/chart_document.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "views_fixture.h"

namespace views_test {
namespace {

class StarsViewsTest : public ViewsTest {
 protected:
  // The settings dialog answered with conjunctions and oppositions at a degree and a half.
  static void AnswerFilter(int answer = platform::kIdOk) {
    platform::ModalDriver::Expect<CStarFilter>([answer](CStarFilter& d) {
      d.OnInitDialog();
      for (int i = 0; i < 5; ++i) d.Orb(i)->setValue(90);
      d.Aspect(2)->setChecked(false);
      return answer == platform::kIdOk && d.DoDataExchange(true) ? answer : platform::kIdCancel;
    });
  }
};

TEST_F(StarsViewsTest, ListAfterTheSettingsThenAStarsText) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  app_->GetMainFrame()->resize(1100, 800);  // as on a screen wider than the test's own
  app_->GetMainFrame()->show();             // windows open as they do on a screen
  ASSERT_EQ(FixedStars().Count(), 300);     // the shipped catalogue
  // Cancel abandons the command; OK stores the settings and opens the list.
  AnswerFilter(platform::kIdCancel);
  EXPECT_TRUE(RunFrom(document, cmd::kFixedStars));
  EXPECT_EQ(document->Views().size(), 1u);
  AnswerFilter();
  auto* list = OpenView<CStarsListView>(document, cmd::kFixedStars);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(StarAspectChoice::Read(GetConfiguration()).orbs[4], 90);
  EXPECT_EQ(list->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgStarsListCaption));
  ASSERT_GT(list->List().Count(), 0);
  for (const StarHit& hit : list->List().Hits()) {
    EXPECT_TRUE(hit.aspect == 0 || hit.aspect == 1);
    EXPECT_LT(hit.deviation, 90);
  }
  // The window opens as wide as its table; a narrower one scrolls sideways to the last column.
  Screenshot(*list->Frame(), "stars_list_screen");
  EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
  list->Frame()->resize(list->Frame()->width() / 2, list->Frame()->height());
  ASSERT_GT(list->horizontalScrollBar()->maximum(), 0);
  list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
  QCoreApplication::processEvents();  // the bars laid out
  EXPECT_TRUE(list->horizontalScrollBar()->isVisible());
  Screenshot(*list->Frame(), "stars_list_scrolled");
  list->horizontalScrollBar()->setValue(0);
  // On the screen as on paper the column titles stand over the columns, above the first row.
  {
    platform::RecordingDc dc(96, false);
    list->OnPrepareDC(dc);
    list->OnDraw(dc);
    const platform::RecordedCall* star = nullptr;
    const platform::RecordedCall* label = nullptr;
    for (const platform::RecordedCall& call : dc.Calls()) {
      if (call.kind != platform::RecordedCall::Text) continue;
      if (call.text == GetMessageText(kMsgStarColumnStar)) star = &call;
      if (star != nullptr && label == nullptr && call.text != star->text &&
          !call.font.IsGlyphFace() && call.points[0].x == star->points[0].x)
        label = &call;
    }
    ASSERT_NE(star, nullptr);
    ASSERT_NE(label, nullptr) << "no row under the titles";
    EXPECT_GT(star->points[0].y - label->points[0].y, 0) << "the titles above the first row";
  }
  platform::PrintInfo info;
  ASSERT_TRUE(list->OnPreparePrinting(info));
  const QImage page = PagePicture("stars_list", info.maxPage, *list);
  EXPECT_GT(Ink(page, 1500, -2500, 19000, -4000), 500);  // the first rows

  // Every shipped star has a text: the first hit's opens in the text view.
  const int star = list->List().Hits().front().star;
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(list, &enter);
  auto* text = dynamic_cast<CStarsView*>(document->Views().back());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Star(), star);
  EXPECT_EQ(text->Text(), std::string(FixedStars().Interpretation(star)));
  EXPECT_EQ(text->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgStarTextCaption));
  ASSERT_TRUE(text->OnPreparePrinting(info));
  PagePicture("star_text", info.maxPage, *text);
}

TEST_F(StarsViewsTest, AStarWithoutTextIsReportedAndTheSettingsRunAlone) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(ShowStarInterpretation(*document, FixedStars().Count()), nullptr);
  EXPECT_EQ(CountShown(kMsgNoStarInterpretation), 1);
  // The settings command shows the dialog alone; switched off, the list opens without it.
  platform::ModalDriver::Expect<CStarFilter>([this](CStarFilter& d) {
    d.OnInitDialog();
    Screenshot(d, "star_filter");
    d.ShowBefore()->setChecked(false);
    return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  EXPECT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kConfigFixedStars));
  EXPECT_EQ(StarAspectChoice::Read(GetConfiguration()).showDialog, 0);
  EXPECT_NE(OpenView<CStarsListView>(document, cmd::kFixedStars), nullptr);
}

}  // namespace
}  // namespace views_test
