// The chart stepped in time from the chart menu: each unit moves the stepped moment as the
// calendar does and recomputes the chart; the title and the views follow. And the chart
// information command.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "document/command_ids.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/kovra_view.h"
#include "shell_fixture.h"

namespace {

using namespace shell_test;
using Unit = CKovraDoc::StepUnit;

// b - a reduced to (-180, 180].
double Arc(double a, double b) {
  double d = std::fmod(b - a, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// "DD.MM.YYYY HH:MM" of a Source's local moment.
std::string MomentText(const Source& source) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", source.moment.date.Day(),
                source.moment.date.Month(), source.moment.date.Year(), source.moment.time.Hours(),
                source.moment.time.Minutes());
  return text;
}

constexpr int kMoon = 1;
constexpr int kSun = 0;
constexpr int kMidheaven = 9;  // cusp index of the tenth house

TEST_F(ShellTest, EachStepMovesTheMomentByItsUnitAndRecomputesTheChart) {
  CKovraApp& app = StartApp();
  CMainFrame& frame = *app.GetMainFrame();
  // 1 January 2000 00:05 at Paris, stepped forward and back by each unit in turn; 2000 is a leap
  // year.
  struct Case {
    int command;
    const char* moment;  // after the step
    bool cusp;           // the body below is the Midheaven, else a chart point
    int body;
    double minArc, maxArc;  // its motion in degrees
  } const cases[] = {
      // A minute of sidereal time turns the Midheaven about a quarter of a degree.
      {cmd::StepForward(0), "01.01.2000 00:06", true, kMidheaven, 0.20, 0.30},
      {cmd::StepBack(0), "01.01.2000 00:05", true, kMidheaven, -0.30, -0.20},
      {cmd::StepForward(1), "01.01.2000 01:05", true, kMidheaven, 12.0, 18.0},
      {cmd::StepBack(1), "01.01.2000 00:05", true, kMidheaven, -18.0, -12.0},
      // The Moon goes 11.8 to 15.2 degrees a day.
      {cmd::StepForward(2), "02.01.2000 00:05", false, kMoon, 11.8, 15.2},
      {cmd::StepBack(2), "01.01.2000 00:05", false, kMoon, -15.2, -11.8},
      // 31 days to 1 February and back: the Sun about 1.02 degrees a day.
      {cmd::StepForward(3), "01.02.2000 00:05", false, kSun, 31.0, 32.0},
      {cmd::StepBack(3), "01.01.2000 00:05", false, kSun, -32.0, -31.0},
      // A calendar year, not 365.2422 days: 366 days put the Sun 0.76 days further on.
      {cmd::StepForward(4), "01.01.2001 00:05", false, kSun, 0.65, 0.9},
      {cmd::StepBack(4), "01.01.2000 00:05", false, kSun, -0.9, -0.65},
  };
  CKovraDoc* document = OpenCopy(NatalChart(kParis, "Проба"));
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(frame.GetActiveDocument(), document);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moment);
    const Chart before = *document->GetChart();
    ASSERT_TRUE(frame.StateOf(c.command).enabled);
    ASSERT_TRUE(frame.ExecuteCommand(c.command));
    const Chart& after = *document->GetChart();
    EXPECT_EQ(MomentText(after.definition.sources[0]), c.moment);
    const double from = c.cusp ? before.cusps[c.body].Get() : before.points[c.body].longitude.Get();
    const double to = c.cusp ? after.cusps[c.body].Get() : after.points[c.body].longitude.Get();
    const double arc = Arc(from, to);
    EXPECT_GE(arc, c.minArc);
    EXPECT_LE(arc, c.maxArc);
    EXPECT_EQ(document->GetTitle(), Cp1251("Дюпон - Проба ") + std::string(c.moment, 10) + ' ' +
                                        std::string(c.moment + 11));
  }
}

TEST_F(ShellTest, CalendarStepsKeepTheDayWithinTheMonthAndFollowTheSteppedMoment) {
  struct Case {
    int kind;
    int day, month, year;
    char era;
    Unit unit;
    int count;
    double days;
  } const cases[] = {
      {kChartNatal, 31, 1, 2000, 'A', Unit::Month, 1, 29},    // to 29 February of a leap year
      {kChartNatal, 31, 1, 1900, 'A', Unit::Month, 1, 28},    // 1900 is common (Gregorian)
      {kChartNatal, 31, 1, 1500, 'A', Unit::Month, 1, 29},    // 1500 is leap (Julian)
      {kChartNatal, 31, 3, 2000, 'A', Unit::Month, -1, -31},  // back to 29 February
      {kChartNatal, 15, 12, 2026, 'A', Unit::Month, 1, 31},   // into the next year
      {kChartNatal, 15, 1, 2027, 'A', Unit::Month, -1, -31},
      {kChartNatal, 15, 12, 1, 'B', Unit::Month, 1, 31},  // 1 BC to AD 1: no year 0
      {kChartNatal, 15, 1, 1, 'A', Unit::Month, -1, -31},
      {kChartNatal, 10, 9, 1582, 'A', Unit::Month, 1, 25},  // 10 October 1582 never was: 15th
      {kChartNatal, 29, 2, 2000, 'A', Unit::Year, 1, 365},  // to 28 February 2001
      {kChartNatal, 29, 2, 2000, 'A', Unit::Year, -4, -1461},
      {kChartNatal, 1, 3, 1999, 'A', Unit::Year, 1, 366},
      {kChartNatal, 15, 6, 9999, 'A', Unit::Year, 1, 0},  // beyond the years held: no step
      {kChartNatal, 15, 6, 2000, 'A', Unit::Day, -3, -3},
      {kChartNatal, 15, 6, 2000, 'A', Unit::Hour, 6, 0.25},
      {kChartNatal, 15, 6, 2000, 'A', Unit::Minute, -90, -0.0625},
      // A transit chart steps its transit moment (the second Source), not the birth.
      {kChartTransit, 31, 1, 2000, 'A', Unit::Month, 1, 29},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.day << '.' << c.month << '.' << c.year << c.era << " by "
                                    << static_cast<int>(c.unit) << " x " << c.count);
    Chart chart;
    chart.definition.SetKind(static_cast<std::uint16_t>(c.kind));
    for (Source& source : chart.definition.sources)
      ASSERT_TRUE(source.moment.date.SetDate(15, 6, 1980, 'A').ok());
    const int stepped = c.kind == kChartTransit ? 1 : 0;
    ASSERT_TRUE(
        chart.definition.sources[stepped].moment.date.SetDate(c.day, c.month, c.year, c.era).ok());
    EXPECT_NEAR(CKovraDoc::StepDays(chart, c.unit, c.count), c.days, 1e-12);
  }
}

TEST_F(ShellTest, StepCommandsHaveDistinctKeysAndWaitForAChart) {
  CKovraApp& app = StartApp();
  CMainFrame& frame = *app.GetMainFrame();
  const char* const keys[] = {"Shift+Right",   "Shift+Left",      "Ctrl+Right", "Ctrl+Left",
                              "Shift+Up",      "Shift+Down",      "Ctrl+Up",    "Ctrl+Down",
                              "Ctrl+Shift+Up", "Ctrl+Shift+Down", "Alt+Return"};
  const int commands[] = {cmd::StepForward(0), cmd::StepBack(0),    cmd::StepForward(1),
                          cmd::StepBack(1),    cmd::StepForward(3), cmd::StepBack(3),
                          cmd::StepForward(2), cmd::StepBack(2),    cmd::StepForward(4),
                          cmd::StepBack(4),    cmd::kChartInfo};
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    SCOPED_TRACE(keys[i]);
    QAction* action = frame.Action(commands[i]);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(keys[i])));
    // In the chart menu, disabled while no chart is open.
    EXPECT_FALSE(frame.StateOf(commands[i]).enabled);
    EXPECT_FALSE(frame.ExecuteCommand(commands[i]));
  }
  // No other command of the table has one of these keys.
  std::set<int> ids;
  for (const platform::CommandDef& def : frame.Table().commands) {
    EXPECT_TRUE(ids.insert(def.id).second) << "command " << def.id << " twice";
    if (*def.shortcut == '\0') continue;
    for (std::size_t i = 0; i < std::size(commands); ++i) {
      if (def.id != commands[i]) {
        EXPECT_STRNE(def.shortcut, keys[i]) << "command " << def.id;
      }
    }
  }
  bool inChartMenu = false;
  for (const platform::MenuDef& menu : frame.Table().menus) {
    if (std::string(menu.title) != "&Гороскоп") continue;
    inChartMenu =
        std::find(menu.entries.begin(), menu.entries.end(), cmd::kChartInfo) !=
            menu.entries.end() &&
        std::find(menu.entries.begin(), menu.entries.end(), cmd::StepBack(4)) != menu.entries.end();
  }
  EXPECT_TRUE(inChartMenu);
}

TEST_F(ShellTest, AStepRedrawsEveryViewOfTheDocument) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kParis, "Шаг"));
  ASSERT_NE(document, nullptr);
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  platform::RecordingDc before;
  before.SetMapMode(platform::MapMode::HiMetric);
  view->OnDraw(before);

  ASSERT_TRUE(document->StepChart(Unit::Day, 1));
  // The view's frame shows the new title, and the drawing the new date and the moved Moon.
  EXPECT_EQ(view->GetFrameTitle(), Cp1251("Дюпон - Шаг 02.01.2000 00:05"));
  platform::RecordingDc after;
  after.SetMapMode(platform::MapMode::HiMetric);
  view->OnDraw(after);
  const std::vector<std::string> texts = after.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), before.Texts().front());  // the name
  const std::vector<std::string> header = CKovraView::HeaderLines(*document->GetChart());
  EXPECT_NE(std::find(texts.begin(), texts.end(), header[2]), texts.end());
  const platform::RecordedCall* moonBefore = before.FindGlyph('M' + kMoon, 0);
  const platform::RecordedCall* moonAfter = after.FindGlyph('M' + kMoon, 0);
  ASSERT_NE(moonBefore, nullptr);
  ASSERT_NE(moonAfter, nullptr);
  EXPECT_NE(moonBefore->points, moonAfter->points);
}

TEST_F(ShellTest, AChartOfOneMomentKeepsItsSourcesTogetherAndAChartOfTwoItsBirth) {
  StartApp();
  struct Case {
    int kind;
    const char* title;  // after a day forward
    const char* moments[3];
  } const cases[] = {
      // The horary chart is computed for its second Source; all three hold its one moment.
      {kChartHorary,
       "Дюпон - Вопрос 02.01.2000 00:05",
       {"02.01.2000 00:05", "02.01.2000 00:05", "02.01.2000 00:05"}},
      // The transit moment moves (the title names it); the birth stays.
      {kChartTransit,
       "Дюпон - Вопрос 02.01.2000 00:05",
       {"13.05.1975 14:30", "02.01.2000 00:05", "02.01.2000 00:05"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Chart chart = NatalChart(c.kind == kChartTransit ? kMoscow : kParis, "Вопрос");
    chart.definition.SetKind(static_cast<std::uint16_t>(c.kind));
    FillSource(chart.definition.sources[1], kParis);
    FillSource(chart.definition.sources[2], kParis);
    CKovraDoc* document = OpenCopy(chart);
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(document->StepChart(Unit::Day, 1));
    EXPECT_EQ(document->GetTitle(), Cp1251(c.title));
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(MomentText(document->GetChart()->definition.sources[k]), c.moments[k]) << k;
  }
}

TEST_F(ShellTest, ChartInformationCommandOpensTheDialogOfTheActiveChart) {
  CKovraApp& app = StartApp();
  ASSERT_NE(OpenCopy(NatalChart(kMoscow, "Первый")), nullptr);
  CKovraDoc* second = OpenCopy(NatalChart(kTokyo, "Второй"));
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(app.GetMainFrame()->GetActiveDocument(), second);
  QStringList texts;
  int points = 0;
  platform::ModalDriver::Expect<DChartInfo>([&](DChartInfo& dialog) {
    for (int r = 0; r < dialog.InfoTable()->rowCount(); ++r) {
      if (const QTableWidgetItem* item = dialog.InfoTable()->item(r, 1)) texts << item->text();
    }
    points = dialog.PointTable()->rowCount();
    return platform::kIdOk;
  });
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kChartInfo));
  // The active window's chart: its person, not the first window's.
  EXPECT_TRUE(texts.contains(QString::fromUtf8("Танака")));
  EXPECT_FALSE(texts.contains(QString::fromUtf8("Иванов")));
  EXPECT_GT(points, 10);
}

}  // namespace
