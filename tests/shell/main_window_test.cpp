// The main window: the command numbers, texts, accelerators and menus the program's documents
// and frames rely on, routing, help, and a picture of the window with two charts open.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "document/command_ids.h"
#include "platform/qt/page_output.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_text.h"
#include "shell/kovra_view.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;

bool MenuHolds(const QMenu* menu, const QAction* action) {
  return menu != nullptr && menu->actions().contains(const_cast<QAction*>(action));
}

TEST_F(ShellTest, CommandsCarryTheirNumbersTextsAndAccelerators) {
  CKovraApp& app = StartApp();
  const CMainFrame& frame = *app.GetMainFrame();
  struct Case {
    int id;
    const char* menu;  // without the mnemonic mark
    const char* text;
    const char* shortcut;
  };
  const Case cases[] = {
      {32793, "Просмотр", "Таблица аспектов", "Ctrl+B"},
      {32838, "Просмотр", "Мидпойнты", "Ctrl+O"},
      {32861, "Просмотр", "Антисы и контрантисы", "Ctrl+K"},
      {32862, "Просмотр", "Арабские точки", "Ctrl+X"},
      {32836, "Просмотр", "Неподвижные звезды", "Ctrl+I"},
      {32865, "Анализ", "Графические эфемериды", "Alt+G"},
      {32847, "Анализ", "Таблица Биндху", "Alt+H"},
      {32846, "Анализ", "Сабианские символы", "Alt+A"},
      {cmd::kAspectGraph, "Анализ", "Графические аспекты", "Alt+R"},
      {cmd::kPlanetTransits, "Анализ", "Транзиты планет", "Alt+P"},
      {cmd::kMoonTransits, "Анализ", "Транзиты Луны", "Alt+L"},
      {cmd::kLifePoint, "Анализ", "Точка Жизни", "Alt+V"},
      {cmd::kAspectList, "Анализ", "Список аспектов", "Alt+Y"},
      {cmd::kSynastryAnalysis, "Анализ", "Синастрический анализ", "Alt+I"},
      {cmd::kTreminForecast, "Анализ", "", "Alt+J"},
      {32867, "Астрокартография", "Карта", "Alt+C"},
      {32871, "Астрокартография", "Список городов", "Alt+T"},
      {32883, "Астрокартография", "Добавить/Убрать гороскоп", ""},
      {32884, "Астрокартография", "Пересечения линий", "Alt+X"},
      {32855, "Ректификация", "", ""},
      {cmd::kEditTexts, "Интерпретатор", "Редактировать тексты", ""},
      {32773, "Конфигурация", "Планеты", ""},
      {32774, "Конфигурация", "Изображение гороскопа", ""},
      {32775, "Конфигурация", "Система аспектов", ""},
      {32835, "Конфигурация", "Расчеты", ""},
      {32813, "Конфигурация", "Цвета", ""},
      {32825, "Конфигурация", "Фильтр аспектов", "Ctrl+F"},
      {32830, "Конфигурация", "Печать", ""},
      {32834, "Конфигурация", "Таблица аспектов", ""},
      {32866, "Конфигурация", "Арабские точки", ""},
      {32853, "Конфигурация", "Координаты", ""},
      {32851, "Конфигурация", "Таблица Биндху", ""},
      {32849, "Конфигурация", "Сабианские символы", ""},
      {32845, "Конфигурация", "Неподвижные звезды", ""},
      {32870, "Конфигурация", "", ""},
      {32869, "Конфигурация", "Управители", ""},
      {32858, "Конфигурация", "Импорт установок", ""},
      {32890, "Конфигурация", "Форматы экспорта архивов", ""},
      {32878, "Конфигурация", "", ""},
      {32895, "Гороскоп", "", ""},
      {57607, "Гороскоп", "", "Ctrl+F1"},
      {57609, "Гороскоп", "Печать - просмотр", ""},
      {cmd::NewChart(0), "Гороскоп", "Натальный", "Ctrl+N"},
      {cmd::NewChart(9), "Гороскоп", "Фаза Луны", ""},
      {cmd::kHelp, "Справка", "", "F1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const QAction* action = frame.Action(c.id);
    ASSERT_NE(action, nullptr);
    if (*c.text != '\0') {
      EXPECT_EQ(action->text(), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(c.shortcut)));
    const QMenu* menu = nullptr;
    for (QAction* top : frame.menuBar()->actions()) {
      if (top->text().remove(QLatin1Char('&')) == QString::fromUtf8(c.menu)) menu = top->menu();
    }
    EXPECT_TRUE(MenuHolds(menu, action)) << c.menu;
  }
  // No accelerator is given twice.
  std::set<QString> shortcuts;
  for (const platform::CommandDef& def : frame.Table().commands) {
    if (*def.shortcut == '\0') continue;
    EXPECT_TRUE(shortcuts.insert(QString::fromUtf8(def.shortcut)).second) << def.shortcut;
  }
  // The window and help menus.
  const QStringList titles = [&] {
    QStringList list;
    for (QAction* top : frame.menuBar()->actions()) list << top->text().remove(QLatin1Char('&'));
    return list;
  }();
  EXPECT_EQ(titles,
            (QStringList{"Гороскоп", "Просмотр", "Анализ", "Астрокартография", "Ректификация",
                         "Интерпретатор", "Конфигурация", "Окно", "Справка"}));
}

TEST_F(ShellTest, HelpNamesTheContextOfTheActiveWindow) {
  CKovraApp& app = StartApp();
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kHelp));
  ASSERT_FALSE(prompts_.shown.empty());
  EXPECT_EQ(prompts_.shown.back().text, Cp1251("Раздел справки 131200"));
  ASSERT_NE(OpenCopy(NatalChart(kMoscow)), nullptr);
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kHelp));
  EXPECT_EQ(prompts_.shown.back().text, Cp1251("Раздел справки 131201"));
}

TEST_F(ShellTest, MainChartViewDrawsTheChartHeader) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow, "Проба"));
  ASSERT_NE(document, nullptr);
  const std::vector<std::string> lines = CKovraView::HeaderLines(*document->GetChart());
  EXPECT_EQ(lines, (std::vector<std::string>{Cp1251("Иванов"), Cp1251("Проба (Натальный)"),
                                             Cp1251("13:05:1975 н.э.  14:30  +03:00"), "",
                                             "55N45 037E37"}));
}

// The main window opens inside the free area of its screen, with its frame: at 1100 x 800 where
// that fits, else as large as the area holds.
TEST_F(ShellTest, TheMainWindowOpensInsideTheScreen) {
  const struct {
    const char* name;
    QRect available;
    QSize opened;
  } cases[] = {
      {"1024_x_768_panel_below", {0, 0, 1024, 728}, {1008, 688}},
      {"1024_x_768_panel_left", {48, 0, 976, 768}, {960, 728}},
      {"second_screen", {1920, 0, 1280, 984}, {1100, 800}},
      {"just_enough", {0, 0, 1116, 840}, {1100, 800}},
  };
  for (const auto& c : cases) {
    const QRect client = platform::MainFrame::OpeningGeometry({1100, 800}, c.available);
    EXPECT_EQ(client.size(), c.opened) << c.name;
    EXPECT_TRUE(c.available.contains(client.marginsAdded(platform::MainFrame::kWindowFrame)))
        << c.name;
  }
  // The test's own screen (offscreen, 800 x 800) is smaller than 1100 x 800 and its frame.
  CKovraApp& app = StartApp(true);
  const CMainFrame& frame = *app.GetMainFrame();
  const QRect screen = frame.screen()->availableGeometry();
  EXPECT_EQ(frame.size(), platform::MainFrame::OpeningGeometry({1100, 800}, screen).size());
  EXPECT_TRUE(screen.contains(frame.frameGeometry()));
}

TEST_F(ShellTest, ScreenshotOfTheMainWindowWithTwoCharts) {
  CKovraApp& app = StartApp(true);
  ASSERT_NE(OpenCopy(NatalChart(kMoscow, "Первый")), nullptr);
  ASSERT_NE(OpenCopy(NatalChart(kTokyo, "Второй")), nullptr);
  CMainFrame& frame = *app.GetMainFrame();
  frame.resize(1100, 760);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kWindowTileHorz));
  QCoreApplication::processEvents();
  EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 2);
  EXPECT_FALSE(frame.ToolBar()->actions().isEmpty());

  const fs::path picture = folder_ / "main_window.png";
  ASSERT_TRUE(platform::SaveWidgetScreenshot(frame, picture).ok());
  EXPECT_GT(fs::file_size(picture), 10000u);
  if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
    fs::create_directories(demo);
    fs::copy_file(picture, fs::path(demo) / "shell_main_window.png",
                  fs::copy_options::overwrite_existing);
  }
}

}  // namespace
}  // namespace shell_test

namespace shell_test {

TEST_F(ShellTest, TheMainWindowDoesNotCloseUnderARunningComputation) {
  CKovraApp& app = StartApp(true);
  ASSERT_NE(OpenCopy(NatalChart(kMoscow)), nullptr);
  CMainFrame& frame = *app.GetMainFrame();
  {
    DPROGRESSBAR progress(QStringLiteral("Расчет"));
    progress.Begin();
    EXPECT_FALSE(frame.close());  // the computation still uses the open documents
    EXPECT_EQ(app.DocumentCount(), 1);
    progress.End();
  }
  EXPECT_FALSE(DPROGRESSBAR::AnyRunning());
}

}  // namespace shell_test

namespace shell_test {

// Chart windows and table windows, each sized by its view, open inside the window area.
TEST_F(ShellTest, NewWindowsOpenInsideTheWindowArea) {
  CKovraApp& app = StartApp(true);
  CMainFrame& frame = *app.GetMainFrame();
  frame.resize(900, 640);
  QCoreApplication::processEvents();
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(OpenCopy(NatalChart(i % 2 == 0 ? kMoscow : kTokyo, "Окно")), nullptr);
    if (i == 3) {
      ASSERT_TRUE(frame.ExecuteCommand(cmd::kCoordinates));
    }
    if (i == 5) {
      ASSERT_TRUE(frame.ExecuteCommand(cmd::kAntiscia));
    }
    QCoreApplication::processEvents();
  }
  const QRect area = frame.MdiArea()->viewport()->rect();
  ASSERT_EQ(frame.MdiArea()->subWindowList().size(), 10);
  for (const QMdiSubWindow* window : frame.MdiArea()->subWindowList())
    EXPECT_TRUE(area.contains(window->geometry()))
        << window->windowTitle().toStdString() << " at " << window->x() << ", " << window->y()
        << " " << window->width() << " x " << window->height();
}

}  // namespace shell_test

namespace shell_test {

// Windows arranged or opened by the user stay in the window area at a size that shows them: a
// planetary-hours window opened after many others, then "Каскадом" with one window maximized.
TEST_F(ShellTest, CascadeKeepsUsableSizesAndNewWindowsOpenInsideTheArea) {
  CKovraApp& app = StartApp(true);
  CMainFrame& frame = *app.GetMainFrame();
  frame.resize(1100, 800);
  QCoreApplication::processEvents();
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(OpenCopy(NatalChart(i % 2 == 0 ? kMoscow : kTokyo, "Окно")), nullptr);
    QCoreApplication::processEvents();
  }
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kPlanetaryHours));
  QCoreApplication::processEvents();
  const QRect area = frame.MdiArea()->viewport()->rect();
  const QMdiSubWindow* hours = frame.MdiArea()->activeSubWindow();
  ASSERT_NE(hours, nullptr);
  EXPECT_TRUE(area.contains(hours->geometry()))
      << hours->x() << ", " << hours->y() << " " << hours->width() << " x " << hours->height();

  frame.MdiArea()->subWindowList().front()->showMaximized();
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kWindowCascade));
  QCoreApplication::processEvents();
  std::set<int> lefts;
  for (const QMdiSubWindow* window : frame.MdiArea()->subWindowList()) {
    SCOPED_TRACE(window->windowTitle().toStdString());
    EXPECT_FALSE(window->isMaximized());
    EXPECT_TRUE(area.contains(window->geometry()));
    EXPECT_GE(window->width(), area.width() / 2);
    EXPECT_GE(window->height(), area.height() / 2);
    lefts.insert(window->x());
  }
  EXPECT_GT(lefts.size(), 1u);  // one behind the other, not on one spot
}

}  // namespace shell_test
