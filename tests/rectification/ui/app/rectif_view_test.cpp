// The rectification by events through the whole program: the sheet, then the view, which computes
// the matrix, shows its three forms in turn on a right click, scrolls through the trials, opens
// the natal chart of a trial on a double click and prints each form.
#include "rectification/ui/rectif_view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QScrollBar>
#include <QSpinBox>

#include "document/chart_document.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "rectification/ui/rect_setup_dialogs.h"
#include "rectification/ui/view_kinds.h"
#include "views/ui/app/views_fixture.h"

namespace views_test {
namespace {

class RectifViewTest : public ViewsTest {
 protected:
  // Moscow, 13 May 1975 14:30, two events in use; the sheet asks for 14:00..15:30.
  RectifView* Open(CKovraDoc*& document) {
    document = OpenOne();
    LifeEventList& events = app_->RectificationEvents();
    EXPECT_TRUE(
        events.Add(Cp1251("Переезд (в другой город)"), 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN")
            .ok());
    EXPECT_TRUE(events.Add(Cp1251("Свадьба"), 2, 9, 2000, "NNNY", "NNNNNNY").ok());
    platform::ModalDriver::Expect<RectificationSheet>([](RectificationSheet& sheet) {
      auto& page = *static_cast<DRectConf*>(sheet.Page(0));
      // The sheet opens on a day around the birth (13 May 1975 14:30); both ends on that day.
      page.IntervalBox(true, 2)->setValue(13);
      page.IntervalBox(false, 3)->setValue(14);
      page.IntervalBox(false, 4)->setValue(0);
      page.IntervalBox(true, 3)->setValue(15);
      page.IntervalBox(true, 4)->setValue(30);
      page.ModeGroup()->button(0)->click();
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
    return OpenView<RectifView>(document, cmd::kRectifyByEvents);
  }
};

TEST_F(RectifViewTest, FormsScrollChartsAndPrints) {
  CKovraDoc* document = nullptr;
  RectifView* view = Open(document);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(view->Calculated());
  EXPECT_TRUE(document->IsViewOpen(kDocViewRectification));
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgRectifCaption));
  const RectGraph& g = view->Graph();
  ASSERT_EQ(g.TrialCount(), 91);
  EXPECT_EQ(g.Form(), kRectByEvents);
  EXPECT_EQ(g.RowCount(), 2);

  view->resize(900, 500);
  QCoreApplication::processEvents();
  QScrollBar* bar = view->horizontalScrollBar();
  EXPECT_EQ(bar->maximum(), 90);
  bar->setValue(200);
  EXPECT_EQ(g.FirstVisible(), 90);
  bar->setValue(0);
  EXPECT_EQ(g.FirstVisible(), 0);

  // A double click on a trial of the table by methods opens the natal chart of that minute.
  view->NextForm();
  EXPECT_EQ(g.Form(), kRectByMethods);
  const RectTableLayout& l = g.Layout(false);
  const std::size_t before = app_->Documents().Documents().size();
  view->OpenChartsAt({10, l.RowsTop() - 1});  // the name column: nothing
  EXPECT_EQ(app_->Documents().Documents().size(), before);
  view->OpenChartsAt({l.TrialsLeft() + l.columnWidth + 1, l.RowsTop() - 1});
  EXPECT_EQ(app_->Documents().Documents().size(), before + 1);

  // Every line of each method's name stands in its row, on the screen and on paper, so that
  // the rows that begin alike ("Прогр.Луна:", "Транзиты к", ...) read apart. The window is
  // narrow enough for the names to wrap.
  view->resize(500, 500);
  QCoreApplication::processEvents();
  for (const bool paper : {false, true}) {
    platform::RecordingDc dc(96, paper);
    dc.SetMapMode(platform::MapMode::LoMetric);
    if (paper) {
      platform::PrintInfo info;
      ASSERT_TRUE(view->OnPreparePrinting(info));
      view->OnPrint(dc, 1);
    } else {
      view->OnDraw(dc);
    }
    const RectTableLayout& t = g.Layout(paper);
    std::vector<std::string> drawn(static_cast<std::size_t>(g.RowCount()));
    for (const platform::RecordedCall& call : dc.Calls())
      for (int r = 0; r < g.RowCount(); ++r)
        if (call.kind == platform::RecordedCall::Text &&
            call.mapMode == platform::MapMode::LoMetric &&
            call.points[0].x < t.area.left + t.nameWidth && call.points[0].y <= t.RowTop(r) &&
            call.points[0].y > t.RowTop(r + 1))
          drawn[static_cast<std::size_t>(r)] += call.text;
    ASSERT_EQ(g.RowCount(), 14);
    for (int r = 0; r < g.RowCount(); ++r) {
      std::string name = g.RowName(r);
      std::erase(name, ' ');
      std::erase(drawn[static_cast<std::size_t>(r)], ' ');
      EXPECT_EQ(drawn[static_cast<std::size_t>(r)], name) << paper << " " << r;
    }
    EXPECT_GE(t.TableBottom(), t.area.bottom);
    ASSERT_GT(t.RowLines(0), 1);
    // A click on the last line of the first name is in the first row.
    if (!paper) {
      EXPECT_EQ(g.HitTest({t.TrialsLeft() + 1, t.RowTop(1) + 1}).row, 0);
    }
  }

  const char* names[] = {"rectif_view_events", "rectif_view_methods", "rectif_view_graph"};
  const int forms[] = {kRectByEvents, kRectByMethods, kRectGraph};
  for (int i = 0; i < 3; ++i) {
    while (g.Form() != forms[i]) view->NextForm();
    Screenshot(*view, std::string(names[i]) + "_screen");
    platform::PrintInfo info;
    ASSERT_TRUE(view->OnPreparePrinting(info));
    if (forms[i] == kRectGraph)
      EXPECT_EQ(info.maxPage, 1);
    else
      EXPECT_EQ(info.maxPage,
                (91 + g.Layout(true).visibleTrials - 1) / g.Layout(true).visibleTrials);
    PagePicture(names[i], info.maxPage, *view);
  }
}

}  // namespace
}  // namespace views_test
