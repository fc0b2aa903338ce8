// The nearest towns of the map's right click, the town list of the lines (Alt-T) and the table of
// the crossings (Alt-X from the map) in the program: their questions answered through the modal
// driver, the charts they open, their captions, help and counters, and their pictures.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QSpinBox>
#include <cmath>

#include "astrocarto/ui/ac_lines_conf_dialog.h"
#include "astrocarto/ui/ac_lines_view.h"
#include "astrocarto/ui/astrocart_view.h"
#include "astrocarto/ui/paran_view.h"
#include "astrocarto/ui/selected_towns_dialog.h"
#include "astrocarto/ui/view_kinds.h"
#include "document/chart_choice_dialog.h"
#include "foundation/atlas/town_search.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/lists/list_navigation.h"
#include "map_views_fixture.h"

namespace {

using namespace views_test;
using A = cfg::AstroCartSettings;

class TownViewsTest : public MapViewsTest {
 protected:
  // The place of the chart of the document opened `back` documents before the last one.
  const Place& PlaceOfDocument(std::size_t back = 0) const {
    const auto& documents = app_->Documents().Documents();
    const auto* document =
        dynamic_cast<const ChartDocument*>(documents[documents.size() - 1 - back].get());
    return document->GetChart()->definition.GetCountSrc().place;
  }
  int HouseSystemOfLast() const {
    const auto* document =
        dynamic_cast<const ChartDocument*>(app_->Documents().Documents().back().get());
    return document->GetChart()->houseSystem;
  }
  // Answers the nearest-towns question by selecting `lines` in its list and the kind `mode`;
  // `check` looks at the page first.
  static void AnswerTowns(std::vector<int> lines, int mode,
                          std::function<void(const SelectedTownsPage&)> check = {}) {
    platform::ModalDriver::Expect<DSELECTED_TOWNS>([=](DSELECTED_TOWNS& dialog) {
      EXPECT_EQ(dialog.windowTitle(), QStringLiteral("АСТРОКАРТОГРАФИЯ - БЛИЖАЙШИЕ ГОРОДА"));
      EXPECT_EQ(dialog.List()->count(), static_cast<int>(dialog.page.lines.size()));
      EXPECT_TRUE(dialog.List()->item(0)->isSelected()) << "the point comes selected";
      if (check) check(dialog.page);
      dialog.List()->clearSelection();
      for (int line : lines) dialog.List()->item(line)->setSelected(true);
      dialog.KindGroup()->button(mode)->click();
      return dialog.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  static void PressEnter(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
  }
};

TEST_F(TownViewsTest, RightClickOpensTheChartsOfTheChosenTownsAndThePointInTheChosenMode) {
  CKovraDoc* document = OpenOne();
  CAstroCartView* map = OpenMap(document);
  ASSERT_NE(map, nullptr);
  const std::size_t before = DocumentCount();
  std::vector<std::int32_t> chosen;
  // The point and the nearest town, as geodetic charts.
  AnswerTowns({0, 1}, SelectedTownsPage::kGeodetic, [&chosen](const SelectedTownsPage& page) {
    ASSERT_GE(page.lines.size(), 3u);
    EXPECT_EQ(page.lines[0].substr(0, 15), "55N45  037E37  ");
    chosen = {page.towns[0]};
  });
  map->NearTownsAt(map->Map()->Geometry().Project(37.0 + 37.0 / 60, 55.75));
  ASSERT_EQ(DocumentCount(), before + 2);
  Place town;
  ASSERT_TRUE(PlaceOfTown(GetTowns(), chosen[0], town));
  EXPECT_EQ(PlaceOfDocument(1), town);  // the towns first, then the point
  EXPECT_EQ(PlaceOfDocument(0).LatitudeDegrees(), 55);
  EXPECT_EQ(PlaceOfDocument(0).LongitudeDegrees(), 37);
  EXPECT_GE(HouseSystemOfLast(), 100) << "geodetic";
  EXPECT_EQ(map->Map()->NearTowns().Count(), 0u) << "the list is emptied afterwards";
  EXPECT_TRUE(prompts_.shown.empty());

  // A town relocated: its chart is labelled as a relocation to that town, apart from the chart
  // it was made from.
  AnswerTowns({1}, SelectedTownsPage::kRelocation);
  map->NearTownsAt(map->Map()->Geometry().Project(37.0 + 37.0 / 60, 55.75));
  auto* relocated = dynamic_cast<CKovraDoc*>(app_->Documents().Documents().back().get());
  ASSERT_NE(relocated, nullptr);
  EXPECT_EQ(PlaceOfDocument(), town);
  EXPECT_NE(relocated->GetTitle(), document->GetTitle());
  EXPECT_NE(relocated->GetTitle().find(town.Town()), std::string::npos);
  relocated->Views().front()->Frame()->resize(900, 700);
  Screenshot(*relocated->Views().front()->Frame(), "relocated_chart_screen");
}

TEST_F(TownViewsTest, NearTheArcticCircleGeodeticIsRefusedAndFarFromTownsOnlyThePointIsListed) {
  CKovraDoc* document = OpenOne();
  CAstroCartView* map = OpenMap(document);
  ASSERT_NE(map, nullptr);
  const std::size_t before = DocumentCount();
  // Murmansk, 68 58 N: no geodetic chart there.
  AnswerTowns({0}, SelectedTownsPage::kGeodetic);
  map->NearTownsAt(map->Map()->Geometry().Project(33.08, 68.97));
  EXPECT_EQ(DocumentCount(), before);
  EXPECT_EQ(CountShown(486), 1);

  // The South Atlantic: the point alone, relocated.
  AnswerTowns({0}, SelectedTownsPage::kRelocation,
              [](const SelectedTownsPage& page) { EXPECT_EQ(page.lines.size(), 1u); });
  map->NearTownsAt(map->Map()->Geometry().Project(-20.0, -40.0));
  ASSERT_EQ(DocumentCount(), before + 1);
  EXPECT_EQ(PlaceOfDocument().LatitudeLetter(), 'S');
  EXPECT_EQ(PlaceOfDocument().LongitudeLetter(), 'W');
  EXPECT_LT(HouseSystemOfLast(), 100);

  // Cancel opens nothing.
  platform::ModalDriver::Expect<DSELECTED_TOWNS>(
      [](DSELECTED_TOWNS&) { return platform::kIdCancel; });
  map->NearTownsAt(map->Map()->Geometry().Project(37.6, 55.75));
  EXPECT_EQ(DocumentCount(), before + 1);
  EXPECT_EQ(map->Map()->NearTowns().Count(), 0u);
}

TEST_F(TownViewsTest, TownListOpensAfterItsSettingsWhichWantALine) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<DACLINES_CONF>([](DACLINES_CONF&) { return platform::kIdCancel; });
  EXPECT_TRUE(RunFrom(document, cmd::kTownList));
  EXPECT_EQ(document->OpenCount(kDocViewTownList), 0);

  platform::ModalDriver::Expect<DACLINES_CONF>([this](DACLINES_CONF& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("СПИСОК ГОРОДОВ - КОНФИГУРАЦИЯ"));
    EXPECT_EQ(dialog.BodyBox()->count(), 30);
    for (int line = 0; line < 4; ++line) dialog.LineBox(line)->setChecked(false);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "no line: the dialog stays open";
    EXPECT_EQ(CountShown(480), 1);
    dialog.BodyBox()->setCurrentIndex(0);
    dialog.LineBox(ACLinesListPage::kMc)->setChecked(true);
    dialog.OrbBeforeBox()->setValue(30);
    dialog.OrbAfterBox()->setValue(45);
    dialog.accept();
    return dialog.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
  });
  auto* list = OpenView<CACLinesView>(document, cmd::kTownList);
  ASSERT_NE(list, nullptr);
  const ACLinesListPage stored = ReadACLinesListPage(GetConfiguration().acLinesList);
  EXPECT_EQ(stored.LineCount(), 1);
  EXPECT_EQ(stored.orbBefore, 30);
  EXPECT_EQ(stored.orbAfter, 45);

  EXPECT_EQ(document->OpenCount(kDocViewTownList), 1);
  EXPECT_EQ(list->GetFrameTitle(), document->GetTitle() + Cp1251(" -Список городов"));
  EXPECT_EQ(list->HelpContext(), 131287);
  const auto& entries = list->Towns().Entries();
  ASSERT_FALSE(entries.empty());
  for (const ACLinesEntry& e : entries) {
    EXPECT_EQ(e.line, 'M');
    EXPECT_EQ(e.body, 0);
    EXPECT_TRUE(e.distance >= -29 && e.distance <= 44) << e.distance;
  }

  // Enter on the selected town opens the chart relocated there.
  const std::size_t before = DocumentCount();
  PressEnter(list);
  ASSERT_EQ(DocumentCount(), before + 1);
  Place town;
  ASSERT_TRUE(PlaceOfTown(GetTowns(), entries[0].town, town));
  EXPECT_EQ(PlaceOfDocument(), town);
  EXPECT_LT(HouseSystemOfLast(), 100);

  list->Frame()->resize(900, 700);
  GetConfiguration().colourPrinting = 1;
  Screenshot(*list->Frame(), "town_list_screen");
  platform::PrintInfo info;
  ASSERT_TRUE(list->OnPreparePrinting(info));
  const QImage page = PagePicture("town_list", info.maxPage, *list);
  EXPECT_GT(Ink(page, 1500, -3500, 19000, -6000), 0);  // the first rows below the head
  list->Frame()->close();
  DeletePending();
  EXPECT_EQ(document->OpenCount(kDocViewTownList), 0);
}

TEST_F(TownViewsTest, ABandHoldingEveryTownListsThemAllWithoutAWord) {
  CKovraDoc* document = OpenOne();
  Crossing everywhere;
  everywhere.upper = 90 * 3600;
  everywhere.lower = -90 * 3600;
  CACLinesView* list = OpenACLinesView(*document, everywhere);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Towns().Count(), GetTowns().Count());
  EXPECT_FALSE(list->Towns().Dropped());
  EXPECT_EQ(CountShown(1116), 0);
}

TEST_F(TownViewsTest, CrossingTableOfOneChartAsksNothingAndEnterOpensTheTownsOfACrossing) {
  CKovraDoc* document = OpenOne();
  CAstroCartView* map = OpenMap(document);
  ASSERT_NE(map, nullptr);
  ASSERT_TRUE(RunFromView(map, cmd::kLineCrossings));  // strict: any question would fail
  auto* paran = dynamic_cast<CParanView*>(document->Views().back());
  ASSERT_NE(paran, nullptr);
  EXPECT_EQ(document->OpenCount(kDocViewParan), 1);
  EXPECT_EQ(paran->GetFrameTitle(), document->GetTitle() + Cp1251(" -Пересечения линий"));
  EXPECT_EQ(paran->HelpContext(), 131311);
  const ParanTable& table = paran->Table();
  ASSERT_GT(table.Count(), 0);
  EXPECT_EQ(table.Choice(), ACLines::kFirstChart);
  for (const Crossing& c : table.Crossings()) {
    EXPECT_LE(std::abs(c.latitude), 70 * 3600);  // the default latitude limit
    EXPECT_LT(c.firstBody, 10);
    EXPECT_LT(c.secondBody, 10);
  }
  // The map's lines stay as they were: the table searched a copy.
  EXPECT_EQ(map->Map()->Lines().CrossingCount(), 0);

  // The crossing whose band holds the most atlas towns, counted here town by town.
  const auto townsInBand = [](const Crossing& c) {
    int n = 0;
    for (int t = 0; t < GetTowns().Count(); ++t) {
      double latitude = 0.0, longitude = 0.0;
      if (!GetTowns().GetTownDegrees(t, latitude, longitude)) continue;
      const long seconds = std::lround(latitude * 3600);
      n += seconds >= c.lower && seconds <= c.upper;
    }
    return n;
  };
  int best = 0, most = 0;
  for (int i = 0; i < table.Count(); ++i)
    if (const int n = townsInBand(table.Crossings()[static_cast<std::size_t>(i)]); n > most) {
      best = i;
      most = n;
    }
  ASSERT_GT(most, 0);
  for (int i = 0; i < best; ++i) paran->Key(kKeyDown);
  EXPECT_EQ(paran->List().Selection(), best);
  const Crossing chosen = table.Crossings()[static_cast<std::size_t>(best)];
  PressEnter(paran);
  auto* towns = dynamic_cast<CACLinesView*>(document->Views().back());
  ASSERT_NE(towns, nullptr);
  ASSERT_TRUE(towns->GetCrossing().has_value());
  EXPECT_EQ(*towns->GetCrossing(), chosen);
  EXPECT_EQ(towns->HelpContext(), 978658);
  EXPECT_EQ(towns->GetFrameTitle(), CrossingCaption(chosen) + " (" + document->GetTitle() + ")");
  EXPECT_EQ(towns->Towns().Count(), most);
  for (const ACLinesEntry& e : towns->Towns().Entries()) EXPECT_EQ(e.line, '0');

  GetConfiguration().colourPrinting = 1;
  paran->Frame()->resize(900, 700);
  Screenshot(*paran->Frame(), "paran_table_screen");
  platform::PrintInfo info;
  ASSERT_TRUE(paran->OnPreparePrinting(info));
  const QImage page = PagePicture("paran_table", info.maxPage, *paran);
  EXPECT_GT(Ink(page, 1500, -4500, 19000, -6000), 0);  // the first rows below the head
  towns->Frame()->resize(900, 700);
  Screenshot(*towns->Frame(), "town_list_crossing_screen");
}

TEST_F(TownViewsTest, CrossingTableOfTwoChartsAsksWhichAndCancelLeavesItEmpty) {
  CKovraDoc* document = OpenOne();
  CAstroCartView* map = OpenMap(document);
  ASSERT_NE(map, nullptr);
  AddParis(map);
  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    EXPECT_EQ(dialog.question, Cp1251("КАКИЕ ПЕРЕСЕЧЕНИЯ ЛИНИЙ РАССЧИТЫВАТЬ?"));
    return platform::kIdCancel;
  });
  ASSERT_TRUE(RunFromView(map, cmd::kLineCrossings));
  auto* empty = dynamic_cast<CParanView*>(document->Views().back());
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Table().Count(), 0);
  EXPECT_EQ(document->OpenCount(kDocViewParan), 1);

  platform::ModalDriver::Expect<D_CHOOSE_AT_FOR_DW>([](D_CHOOSE_AT_FOR_DW& dialog) {
    dialog.choice = ACLines::kBetweenCharts;
    return platform::kIdOk;
  });
  ASSERT_TRUE(RunFromView(map, cmd::kLineCrossings));
  auto* between = dynamic_cast<CParanView*>(document->Views().back());
  ASSERT_NE(between, nullptr);
  EXPECT_EQ(between->Table().Choice(), ACLines::kBetweenCharts);
  EXPECT_GT(between->Table().Count(), 0);
  // Both charts' headers on the printed page.
  platform::PrintInfo info;
  ASSERT_TRUE(between->OnPreparePrinting(info));
  const platform::RecordingDc dc = PrintPage(*between);
  int headers = 0;
  for (const std::string& text : dc.Texts())
    headers += text.find(Cp1251("Иванов")) == 0 || text.find(Cp1251("Дюпон")) == 0;
  EXPECT_EQ(headers, 2);
  EXPECT_EQ(document->OpenCount(kDocViewParan), 2);
}

}  // namespace
