// The aspect graph through the program: the command runs the settings sheet (lists and pairs
// edited and saved at once, the first day checked on OK) and opens the view; the view counts
// itself, names its frame, scrolls rows and half periods, opens the aspects of a clicked sample
// and prints one page (aspect_graph.png / .pdf for a person to look at).
#include "views/ui/asp_graph_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <filesystem>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/lists/list_navigation.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_text.h"
#include "views/core/asp_graph_data.h"
#include "views/ui/asp_graph_dialogs.h"
#include "views/ui/view_kinds.h"
#include "views_fixture.h"

namespace {

using namespace views_test;
using platform::ModalDriver;

class AspGraphViewTest : public ViewsTest {
 protected:
  // The fixture's two lists in the data folder, then the program started on a chart of `birth`.
  CKovraDoc* OpenWithLists(const Birth& birth = kMoscow) {
    std::filesystem::copy_file(testing_support::FixturePath("aspgraph/velm.agr"),
                               folder_ / "velm.agr");
    return OpenOne(birth);
  }
  // The sheet's answer: list `list`, the first day 1.1.`year` AD and the speed setting `speed`;
  // OK as the sheet's OK button takes it.
  static void AnswerSheet(int list, int speed = 0, int year = 2014) {
    ModalDriver::Expect<AspGraphSheet>([list, speed, year](AspGraphSheet& sheet) {
      sheet.calculation->Lists()->setCurrentIndex(list);
      SetFirstDay(sheet, 1, 1, year);
      sheet.display->SpeedGroup()->button(speed)->setChecked(true);
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  static void SetFirstDay(AspGraphSheet& sheet, int day, int month, int year) {
    const auto boxes = sheet.calculation->findChildren<QSpinBox*>();
    ASSERT_EQ(boxes.size(), 3);
    boxes[0]->setValue(day);
    boxes[1]->setValue(month);
    boxes[2]->setValue(year);
  }
  CAspGraphView* OpenGraph(CKovraDoc* document, int list = 0, int speed = 0, int year = 2014) {
    AnswerSheet(list, speed, year);
    return OpenView<CAspGraphView>(document, cmd::kAspectGraph);
  }
  std::string StoredFile() const { return testing_support::ReadFile(folder_ / "velm.agr"); }
};

TEST_F(AspGraphViewTest, TheCommandOpensTheGraphAfterTheSheetAndItPrintsOnePage) {
  CKovraDoc* document = OpenWithLists();
  ASSERT_NE(document, nullptr);
  EXPECT_TRUE(prompts_.shown.empty());
  CAspGraphView* view = OpenGraph(document, 0, 1);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(document->OpenCount(kDocViewAspectGraph), 1);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + Cp1251(" -Графические аспекты"));
  EXPECT_EQ(view->HelpContext(), 131338);
  EXPECT_EQ(view->Calc().PairCount(), 4);
  EXPECT_EQ(view->Calc().FirstDay().Year(), 2014);
  EXPECT_GT(view->Calc().SampleCount(), 100);
  EXPECT_GT(view->MaxOrb(), 0);
  EXPECT_EQ(GetConfiguration().aspectGraph.Get(cfg::AspectGraphSettings::kSpeed), 1);
  EXPECT_EQ(GetConfiguration().aspectGraph.Get(cfg::AspectGraphSettings::kSelectedList), 0);

  // The transiting Sun meets the radix Sun once in the year: the first row has aspects.
  int withAspect = 0;
  for (int i = 0; i < view->Calc().SampleCount(); ++i)
    withAspect += view->Calc().Cell(0, i).HasAspect();
  EXPECT_GT(withAspect, 0);

  Screenshot(*view, "aspect_graph_screen");
  const QImage page = PagePicture("aspect_graph", 1, *view);
  // The plot of the page holds bars and glyphs, the title its letters.
  EXPECT_GT(Ink(page, 4460, -4437, 19900, -26000), 1000);
  EXPECT_GT(Ink(page, 5000, -2100, 16000, -2700), 50);

  delete view->Frame();
  EXPECT_EQ(document->OpenCount(kDocViewAspectGraph), 0);
}

TEST_F(AspGraphViewTest, ScrollingMovesThePeriodInTheViewAndTheRowsWithinThePairs) {
  CKovraDoc* document = OpenWithLists();
  ASSERT_NE(document, nullptr);
  CAspGraphView* view = OpenGraph(document);
  ASSERT_NE(view, nullptr);
  const int span = view->Calc().Span();  // one year: 371 days
  const double first = view->Calc().FirstDay().ToJulianDay();
  view->ScrollHorizontal(kScrollPageDown, 0);
  view->ScrollHorizontal(kScrollLineDown, 0);
  EXPECT_EQ(view->Calc().FirstDay().ToJulianDay() - first, 2 * (span / 2));
  view->ScrollHorizontal(kScrollThumbPosition, 0);
  EXPECT_EQ(view->Calc().FirstDay().ToJulianDay() - first, span / 2);

  view->ScrollVertical(kScrollLineDown, 0);
  EXPECT_EQ(view->FirstRow(), 1);
  view->ScrollVertical(kScrollBottom, 0);
  EXPECT_EQ(view->FirstRow(), 3);

  // The store's first day was not moved: a second graph starts where the sheet said.
  CAspGraphView* second = OpenGraph(document);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Calc().FirstDay().ToJulianDay(), first);
}

TEST_F(AspGraphViewTest, AClickInThePlotShowsTheAspectsOfThatSample) {
  CKovraDoc* document = OpenWithLists();
  ASSERT_NE(document, nullptr);
  CAspGraphView* view = OpenGraph(document, 1);
  ASSERT_NE(view, nullptr);
  const auto click = [view](int px) {
    const QPoint at(px, 20);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(view->mapToGlobal(at)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
  };
  const int px = view->viewport()->width() / 2;
  const int sample = view->SampleAt(view->DeviceToLogical(QPoint(px, 20)).x);
  ASSERT_GT(sample, 0);
  ModalDriver::Expect<DASPGRAPHDATA>([&](DASPGRAPHDATA& dialog) {
    EXPECT_EQ(dialog.model.Sample(), sample);
    EXPECT_EQ(platform::FromQt(dialog.MomentEdit()->text()), dialog.model.MomentText());
    EXPECT_EQ(dialog.List()->count(), 2);
    dialog.ForwardButton()->click();
    EXPECT_EQ(dialog.model.Sample(), sample + 1);
    return platform::kIdOk;
  });
  click(px);
  EXPECT_EQ(ModalDriver::CountShown<DASPGRAPHDATA>(), 1);
  click(2);  // in the label column: nothing
  EXPECT_EQ(ModalDriver::CountShown<DASPGRAPHDATA>(), 1);
}

TEST_F(AspGraphViewTest, TheAspectsOfADateDrawEveryRowAtTheListsRowHeight) {
  CKovraDoc* document = OpenWithLists({"Петров", 21, 11, 1980, 6, 15, 3, 59, 56, 'N', 30, 19, 'E'});
  ASSERT_NE(document, nullptr);
  CAspGraphView* view = OpenGraph(document, 0, 1, 1981);
  ASSERT_NE(view, nullptr);
  FDate day;
  ASSERT_TRUE(day.SetDate(21, 4, 1981).ok());
  int sample = 0;
  while (sample < view->Calc().SampleCount() &&
         view->Calc().MomentOfSample(sample).date.DayNumber() < day.DayNumber())
    ++sample;
  DASPGRAPHDATA dialog(view->Calc(), sample, nullptr, view);
  ASSERT_TRUE(dialog.DoDataExchange(false));
  dialog.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(platform::FromQt(dialog.MomentEdit()->text()).substr(0, 10), "21:04:1981");
  CAspGraphDataListBox& list = *dialog.List();
  ASSERT_EQ(list.count(), 4);
  const int height = list.visualItemRect(list.item(0)).height();
  Screenshot(dialog, "aspect_graph_data");
  const QImage shown = list.viewport()->grab().toImage();

  // Each item as the list draws it, at the height the list gives it: the pair, the aspect's glyph,
  // arc and orb, or "аспекта нет"; and ink in the picture left and right of the aspect column.
  platform::MeasuringDc measure(list.logicalDpiY(), false, platform::MapMode::Text);
  const int aspectX = list.Columns().aspect;
  using Texts = std::vector<std::string>;
  int aspects = 0;
  for (int j = 0; j < list.count(); ++j) {
    const AspGraphDataModel::Row row = dialog.model.RowOf(j);
    platform::RecordingDc dc;
    dc.MeasureWith(&measure.dc());
    DrawAspGraphDataItem(dc, {0, 0, list.viewport()->width(), height}, row, list.Columns(), false,
                         platform::kBlack, platform::kWhite);
    const std::string glyph(1, static_cast<char>('0' + row.aspect));
    const Texts want = row.hasAspect ? Texts{row.pairText, glyph, row.arc, row.deviation}
                                     : Texts{row.pairText, row.noAspect};
    EXPECT_EQ(dc.Texts(), want);
    aspects += row.hasAspect;
    const QRect item = list.visualItemRect(list.item(j));
    int left = 0, right = 0;
    for (int y = item.top(); y <= item.bottom(); ++y)
      for (int x = 0; x < item.width(); ++x)
        (x < aspectX ? left : right) += qGray(shown.pixel(x, y)) < 160;
    EXPECT_GT(std::min(left, right), 20) << j;
  }
  EXPECT_GT(aspects, 0);
  EXPECT_LT(aspects, list.count());
}

TEST_F(AspGraphViewTest, TheSheetSavesEditsAtOnceAndRefusesADayThatNeverWas) {
  CKovraDoc* document = OpenWithLists();
  ASSERT_NE(document, nullptr);
  const std::string before = StoredFile();
  // A new list through the list dialog, a new pair through the pair dialog, a move down; then
  // 31 February, refused, and Cancel on the sheet shown again.
  ModalDriver::Expect<D_ASPGRAPHSET>([](D_ASPGRAPHSET& dialog) {
    dialog.NameEdit()->setText(QStringLiteral("Новый"));
    dialog.PeriodGroup()->button(8)->setChecked(true);
    dialog.HouseOrbBox()->setValue(3);
    return dialog.DoDataExchange(true) && dialog.CheckOk() ? platform::kIdOk : platform::kIdCancel;
  });
  ModalDriver::Expect<DASPGRPH_ASP>([](DASPGRPH_ASP& dialog) {
    dialog.FirstBody()->setCurrentIndex(aspgraph::kLifePoint);
    EXPECT_FALSE(dialog.FirstTechnique()->isEnabled());
    dialog.SecondTechnique()->setCurrentIndex(6);
    EXPECT_EQ(dialog.SecondBody()->count(), 46);  // no rulers besides transits
    dialog.SecondTechnique()->setCurrentIndex(0);
    dialog.SecondBody()->setCurrentIndex(50);
    EXPECT_FALSE(dialog.SecondTechnique()->isEnabled());
    return dialog.DoDataExchange(true) && dialog.CheckOk() ? platform::kIdOk : platform::kIdCancel;
  });
  ModalDriver::Expect<AspGraphSheet>([](AspGraphSheet& sheet) {
    DASPGRAPH_CALC& page = *sheet.calculation;
    page.Button(DASPGRAPH_CALC::kListAdd)->click();
    EXPECT_EQ(page.Lists()->currentIndex(), 2);
    page.Button(DASPGRAPH_CALC::kPairAdd)->click();
    page.Button(DASPGRAPH_CALC::kPairAdd)->click();  // a second pair: cancelled (no answer)
    page.Lists()->setCurrentIndex(0);
    page.Pairs()->setCurrentRow(0);
    page.Button(DASPGRAPH_CALC::kPairDown)->click();
    SetFirstDay(sheet, 31, 2, 2014);
    return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  ModalDriver::Expect<AspGraphSheet>([](AspGraphSheet&) { return platform::kIdCancel; });
  ModalDriver::Expect<DASPGRPH_ASP>([](DASPGRPH_ASP&) { return platform::kIdCancel; });
  EXPECT_TRUE(RunFrom(document, cmd::kAspectGraph));
  EXPECT_EQ(document->OpenCount(kDocViewAspectGraph), 0);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgDaysInMonth);

  CAspGraphData saved;
  ASSERT_TRUE(saved.Load(folder_ / "velm.agr").ok());
  ASSERT_EQ(saved.ListCount(), 3);
  EXPECT_EQ(saved.List(0).pairs[0].fromBody, 6);  // Saturn moved up past the Sun
  EXPECT_EQ(saved.List(0).pairs[1].fromBody, 0);
  EXPECT_EQ(saved.List(0).period, 5);  // the new list's period went to the new list only
  EXPECT_EQ(Utf8(saved.List(2).name), "Новый");
  EXPECT_EQ(saved.List(2).period, 8);
  EXPECT_EQ(saved.List(2).houseOrbClass, 3);
  ASSERT_EQ(saved.List(2).PairCount(), 1);
  EXPECT_EQ(saved.List(2).pairs[0].fromBody, aspgraph::kLifePoint);
  EXPECT_EQ(saved.List(2).pairs[0].toBody, 50);
  EXPECT_NE(StoredFile(), before);
}

TEST_F(AspGraphViewTest, TheSheetShowsEveryPairOfTheListWhole) {
  CKovraDoc* document = OpenWithLists();
  ASSERT_NE(document, nullptr);
  ModalDriver::Expect<AspGraphSheet>([](AspGraphSheet& sheet) {
    sheet.show();
    QCoreApplication::processEvents();
    const QListWidget* pairs = sheet.calculation->Pairs();
    EXPECT_GT(pairs->count(), 0);
    for (int j = 0; j < pairs->count(); ++j)
      EXPECT_LE(pairs->fontMetrics().horizontalAdvance(pairs->item(j)->text()),
                pairs->viewport()->width() - pairs->verticalScrollBar()->sizeHint().width())
          << pairs->item(j)->text().toStdString();
    sheet.hide();
    return platform::kIdCancel;
  });
  ModalDriver::Expect<DASPGRPH_ASP>([](DASPGRPH_ASP&) { return platform::kIdCancel; });
  EXPECT_TRUE(RunFrom(document, cmd::kAspectGraph));
}

}  // namespace
