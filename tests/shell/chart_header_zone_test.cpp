// The chart's header as the atlas gives it: the zone's name is the tz database's for the chart's
// atlas town at the chart's instant (a zone that no town gives is shown as the offset alone), and
// every printed page keeps its title and its first row clear of the longest header of the atlas.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "astro/chart/chart_header.h"
#include "document/command_ids.h"
#include "document/rich_text_view.h"
#include "foundation/atlas/town_search.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_title.h"
#include "foundation/files/data_folder.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_time_zones.h"
#include "rectification/core/life_event_list.h"
#include "shell/main_frame.h"
#include "shell_fixture.h"
#include "support/page_overlap.h"
#include "support/test_support.h"
#include "views/ui/arab_dialogs.h"
#include "views/ui/midpoints_dialogs.h"

namespace shell_test {
namespace {

// The town of that name whose tz zone is `zone`.
int TownIn(const TOWNS& towns, const char* name, std::string_view zone) {
  for (const TownListRow& row : ListTowns(towns, Cp1251(name)))
    if (towns.GetTownName(row.town) == Cp1251(name) && towns.GetTownZoneName(row.town) == zone)
      return row.town;
  return -1;
}

TEST(ChartHeaderZone, TheDatabaseNamesTheZoneOfTheChartsTown) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  platform::QtTimeZoneDatabase database;
  platform::SetTimeZoneDatabase(&database);
  const struct {
    const char* town;  // empty: a place no town of the atlas is
    const char* zoneId;
    int year;            // 15 July, 12:00
    int hours, minutes;  // the chart's zone, east
    const char* shown;
  } rows[] = {
      {"Киев", "Europe/Kyiv", 2020, 3, 0, "+03:00 EEST"},
      {"Киев", "Europe/Kyiv", 1985, 4, 0, "+04:00 MSD"},
      {"Лондон", "Europe/London", 2020, 1, 0, "+01:00 BST"},
      {"Нью-Йорк", "America/New_York", 2020, -4, 0, "-04:00 EDT"},
      {"Окленд", "Pacific/Auckland", 2020, 12, 0, "+12:00 NZST"},
      {"Москва", "Europe/Moscow", 1900, 2, 30, "+02:30:17 MMT"},  // local mean time
      // A zone other than the town's then, one without letters, one typed for no town: none.
      {"Киев", "Europe/Kyiv", 2020, 2, 0, "+02:00"},
      {"Дубай", "Asia/Dubai", 2020, 4, 0, "+04:00"},
      {"", "", 2020, 3, 0, "+03:00"},
  };
  Chart kyiv1985;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.shown);
    Chart chart;
    Source& s = chart.definition.sources[0];
    const int town = *r.town != '\0' ? TownIn(GetTowns(), r.town, r.zoneId) : -1;
    ASSERT_EQ(town >= 0, *r.town != '\0');
    ASSERT_TRUE(town >= 0 ? PlaceOfTown(GetTowns(), town, s.place)
                          : s.place.SetPlace(50, 27, 'N', 30, 31, 'E', Cp1251("Дача"), "").ok());
    ASSERT_TRUE(s.moment.date.SetDate(15, 7, r.year).ok());
    ASSERT_TRUE(s.moment.time.SetTime(12, 0).ok());
    const char sign = r.hours < 0 ? '-' : '+';
    ASSERT_TRUE(s.zone.SetTime(std::abs(r.hours), r.minutes, r.year == 1900 ? 17 : 0, sign).ok());
    const std::string day = "15:07:" + std::to_string(r.year);
    EXPECT_EQ(ChartHeaderLines(chart, true)[1], day + Cp1251(" н.э.  12:00  ") + r.shown);
    if (r.year == 1985) kyiv1985 = chart;
  }
  // For a person to look at: the header of the Kyiv chart of 1985.
  const QImage header = platform::RenderPageImage(1, 150, [&kyiv1985](platform::Dc& dc, int) {
    DrawChartHeader(kyiv1985, dc, 500, -500, 0, false);
  });
  testing_support::TempFolder folder;
  ASSERT_TRUE(
      header.copy(0, 0, 620, 200).save(QString::fromStdString((folder / "kyiv.png").string())));
  testing_support::ShowToPerson(folder / "kyiv.png", "chart_header_zone_name");
  platform::SetTimeZoneDatabase(nullptr);
}

// Page 1 of `view` printed: the title (`title`, UTF-8; none when empty) 1 mm clear of every line
// of the chart's header, of the second chart's when there is one, and of the ornament (under, over
// or beside each) at a size that reads, the lines of the head 1 mm clear of each other (two
// headers side by side never overprint), the first row 1 mm under them all, no text across the
// page frame.
void ExpectHeadClear(platform::View& view, const Chart& chart, const char* title,
                     const Chart* second = nullptr) {
  platform::PrintInfo info;
  ASSERT_TRUE(view.OnPreparePrinting(info));
  platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
  platform::RecordingDc dc(600.0, true);
  dc.MeasureWith(&measure.dc());
  dc.SetMapMode(platform::MapMode::HiMetric);
  view.OnBeginPrinting(dc, info);
  view.OnPrint(dc, 1);
  std::vector<std::string> lines = ChartHeaderLines(chart, true);
  for (const Chart* c : {&chart, second})
    for (const bool compact : {true, false})
      if (c != nullptr)
        for (const std::string& line : ChartHeaderLines(*c, compact)) lines.push_back(line);
  lines.emplace_back(glyphs::kOrnament);
  std::vector<platform::Rect> head;
  std::optional<platform::Rect> titleBox;
  std::optional<testing_support::TextBox> first;
  for (const testing_support::TextBox& t : testing_support::PageTextBoxes(dc, measure.dc())) {
    if (std::find(lines.begin(), lines.end(), t.text) != lines.end())
      head.push_back(t.box);
    else if (!titleBox && t.text == Cp1251(title))
      titleBox = t.box;
    else if (!first || t.box.top > first->box.top)
      first = t;
  }
  for (const std::string& fault : testing_support::PageOverlaps(dc, measure.dc()))
    EXPECT_EQ(fault.find("crosses the page frame"), std::string::npos) << fault;
  ASSERT_GE(head.size(), second != nullptr ? 6u : 4u) << "no header";
  constexpr int kGap = 100;  // 1 mm of paper between inks
  for (std::size_t i = 0; i < head.size(); ++i)
    for (std::size_t j = i + 1; j < head.size(); ++j) {
      const platform::Rect &a = head[i], &b = head[j];
      EXPECT_TRUE(a.top <= b.bottom || b.top <= a.bottom || a.left >= b.right + kGap ||
                  b.left >= a.right + kGap)
          << "two lines of the head over each other at " << a.left << ", " << a.top << " and "
          << b.left << ", " << b.top;
    }
  ASSERT_TRUE(first) << "no row";
  int bottom = 0;
  for (const platform::Rect& h : head) {
    bottom = std::min(bottom, h.bottom);
    // A line made to fit its block's width still reads: its capitals at least 2/5 of the em of
    // the header's size (at that size they are some 7/10 of it).
    EXPECT_GE(h.top - h.bottom, kHeaderFontSize * 96 / 720 * 2 / 5) << "too small a line";
  }
  ASSERT_EQ(titleBox.has_value(), *title != '\0') << "no title";
  if (const platform::Rect* t = titleBox ? &*titleBox : nullptr) {
    for (const platform::Rect& h : head)
      EXPECT_TRUE(t->top <= h.bottom - kGap || t->bottom >= h.top + kGap ||
                  t->left >= h.right + kGap || t->right <= h.left - kGap)
          << "the title over the head at " << h.left << ", " << h.top;
    EXPECT_GE(t->top - t->bottom, kHeadTitleSmallest * 96 / 720 * 3 / 4) << "too small a title";
    bottom = std::min(bottom, t->bottom);
  }
  EXPECT_LE(first->box.top, bottom - kGap) << "\"" << Utf8(first->text) << "\" under the head";
}

// Every printed view kind under the longest header the atlas gives: its page's title clear of the
// header (beside it or under its lowest line) and the first row under both, inside the frame.
TEST_F(ShellTest, EveryPrintedPageKeepsItsTitleAndFirstRowClearOfTheLongestHeader) {
  ASSERT_TRUE(SeedDataFolder(folder_.Path(), testing_support::SourceDir() / "data").ok());
  GetSettings().SetShippedFolders({});
  platform::ModalDriver::Always<DTipOfDay>([](DTipOfDay&) { return platform::kIdCancel; });
  StartApp();
  // The town whose place line (town, region, coordinates) is the widest in the header's face.
  platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
  measure.dc().SelectFont(platform::Font{std::string(platform::kTextFace), kHeaderFontSize});
  int town = -1;
  for (int i = 0, widest = 0; i < GetTowns().Count(); ++i) {
    Place p;
    if (!PlaceOfTown(GetTowns(), i, p)) continue;
    const int width =
        measure.dc().GetTextExtent(p.Town() + ", " + p.Region() + "  " + p.CoordText()).cx;
    if (width > widest) std::tie(town, widest) = std::pair{i, width};
  }
  Chart chart = NatalChart(kMoscow, "Натал");
  Source& source = chart.definition.sources[0];
  ASSERT_TRUE(PlaceOfTown(GetTowns(), town, source.place) &&
              ZoneOfTown(GetTowns(), town, source.zone));
  CKovraDoc* natal = OpenCopy(chart);
  ASSERT_NE(natal, nullptr);
  chart = *natal->GetChart();
  ASSERT_TRUE(
      app_->RectificationEvents().Add(Cp1251("Свадьба"), 2, 9, 2000, "NNNY", "NNNNNNY").ok());
  platform::ModalDriver::SetAcceptAll(true);
  platform::ModalDriver::Always<DArabConf>([](DArabConf& dialog) {
    dialog.ComputeButton()->click();
    return platform::kIdOk;
  });
  // Where the command runs: the chart's window, the window opened last; or the last window
  // printed again, as the midpoint list.
  enum From { kChartWindow, kLastWindow, kMidpointList };
  struct Kind {
    int command;        // 0: the chart's own window
    const char* title;  // "" none
    From from = kChartWindow;
  };
  const Kind kinds[] = {
      {0, ""},
      {cmd::kAspectTable, ""},
      {cmd::kMidpoints, ""},
      {cmd::kMidpoints, "СПИСОК МИДПОЙНТОВ", kMidpointList},
      {cmd::kAntiscia, "АНТИСЫ И КОНТРАНТИСЫ"},
      {cmd::kArabicParts, "АРАБСКИЕ ТОЧКИ"},
      {cmd::kCoordinates, "КООРДИНАТЫ"},
      {cmd::kCoordLatitudes, "ШИРОТЫ"},
      {cmd::kCoordSpeeds, "СКОРОСТИ"},
      {cmd::kCoordEquatorial, "ЭКВ.КООРДИНАТЫ"},
      {cmd::kCoordHorizontal, "ГОР.КООРДИНАТЫ"},
      {cmd::kFixedStars, "НЕПОДВИЖНЫЕ ЗВЕЗДЫ"},
      {cmd::kPlanetaryHours, "ПЛАНЕТНЫЕ ЧАСЫ"},
      {cmd::kGraphicEphemeris, "ГРАФИЧЕСКИЕ ЭФЕМЕРИДЫ"},
      {cmd::kAspectGraph, "ГРАФИЧЕСКИЕ АСПЕКТЫ"},
      {cmd::kBindhuTable, "ТАБЛИЦА БИНДХУ"},
      {cmd::kComment, "КОММЕНТАРИЙ"},
      {cmd::kInterpretationOutput, "ИНТЕРПРЕТАЦИЯ"},
      {cmd::kPlanetTransits, "ТРАНЗИТЫ ПЛАНЕТ"},
      {cmd::kMoonTransits, "ТРАНЗИТЫ ЛУНЫ"},
      {cmd::kLifePoint, "Дома, прямое движение, 7 лет"},
      {cmd::kAstroCartMap, "АСТРОКАРТОГРАФИЯ"},
      {cmd::kLineCrossings, "ПЕРЕСЕЧЕНИЯ ЛИНИЙ", kLastWindow},
      {cmd::kTownList, "АСТРОКАРТОГРАФИЯ"},
      {cmd::kRectifyByEvents, "РЕКТИФИКАЦИЯ (стр. 1)"},
  };
  // Then the pages that show two charts' heads, the second chart in the same town: each head's
  // lines stay within its own half.
  const Kind twoCharts[] = {
      {0, ""},
      {cmd::kAspectTable, ""},
      {cmd::kMidpoints, ""},
      {cmd::kCoordinates, "КООРДИНАТЫ"},
      {cmd::kCoordinates2, "КООРДИНАТЫ (2)"},
      {cmd::kCoordSpeeds, "СКОРОСТИ"},
  };
  platform::View* view = natal->Views().front();
  const auto printEach = [&](const auto& list, const Chart* second) {
    for (const Kind& kind : list) {
      SCOPED_TRACE(std::to_string(kind.command) + " " + kind.title + (second ? " two" : ""));
      if (kind.from == kMidpointList) {
        platform::ModalDriver::Expect<DMIDPOINTS_PRINT>([](DMIDPOINTS_PRINT& dialog) {
          dialog.model.printForm = tables::kPrintAsList;
          return platform::kIdOk;
        });
      } else if (kind.command != 0) {
        CMainFrame& frame = *app_->GetMainFrame();
        frame.MdiArea()->setActiveSubWindow(
            (kind.from == kLastWindow ? view : natal->Views().front())->Frame());
        const std::size_t views = natal->Views().size();
        EXPECT_TRUE(frame.ExecuteCommand(kind.command));
        view = natal->Views().back();
        // A window of that kind that was open already comes forward (the midpoints').
        if (natal->Views().size() == views)
          for (platform::View* open : natal->Views())
            if (open->Frame() == frame.MdiArea()->activeSubWindow()) view = open;
        ASSERT_TRUE(natal->Views().size() > views || second != nullptr);
      } else {
        view = natal->Views().front();
      }
      if (auto* text = dynamic_cast<CRichTextCtrlView*>(view);
          text && text->Control()->Text().empty())
        text->Control()->SetText(Cp1251("Строка текста."));  // a comment to print
      ExpectHeadClear(*view, chart, kind.title, second);
      const std::string name = std::to_string(kind.command) +
                               (kind.from == kMidpointList ? "l" : "") + (second ? "_two" : "");
      WriteViewPictures(folder_.Path(), "printed_head_" + name, *view, 1);
    }
  };
  printEach(kinds, nullptr);
  Chart second = chart;
  second.definition.sources[0].SetName(Cp1251("Второй"));
  natal->SetOuterChart(std::make_unique<Chart>(second));
  printEach(twoCharts, &second);
}

}  // namespace
}  // namespace shell_test
