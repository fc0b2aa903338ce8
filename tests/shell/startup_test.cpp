// The start: defaults in an empty data folder, the start-up dialog, the tip of the day, the
// splash window, the command line and printing without the window.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <chrono>
#include <filesystem>
#include <thread>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/chebyshev_tables.h"
#include "astrocarto/ui/ac_lines_conf_dialog.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/title_room.h"
#include "platform/qt/view.h"
#include "shell/command_line.h"
#include "shell/core/session.h"
#include "shell/core/wheel/wheel_aspects.h"
#include "shell/profile.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;

TEST_F(ShellTest, EmptyDataFolderGetsTheDefaultsAndTheStartupDialog) {
  ASSERT_TRUE(fs::is_empty(folder_.Path()));
  bool restoreOffered = true;
  std::string kindName;
  platform::ModalDriver::Expect<DStartup>([&](DStartup& dialog) {
    restoreOffered = dialog.restoreAvailable;
    kindName = dialog.kindName;
    dialog.choice = DStartup::kNewChart;
    return platform::kIdOk;
  });
  AnswerEntry(kMoscow);
  ASSERT_TRUE(Launch());

  EXPECT_EQ(platform::ModalDriver::CountShown<DStartup>(), 1);
  EXPECT_FALSE(restoreOffered);              // no session file
  EXPECT_EQ(kindName, Cp1251("Натальный"));  // the current kind: natal at first
  EXPECT_EQ(app_->DocumentCount(), 1);       // "new chart" opened one through the entry
  // The configuration's defaults are written at once.
  const fs::path config = GetSettings().GetPath("velm.cfg");
  ASSERT_TRUE(fs::exists(config));
  Configuration loaded;
  EXPECT_TRUE(loaded.Load(config).ok());
  EXPECT_EQ(loaded, Configuration());
  // No tip without "advice.txt".
  EXPECT_EQ(platform::ModalDriver::CountShown<DTipOfDay>(), 0);
}

TEST_F(ShellTest, ADataFolderWithoutEphemerisTablesUsesTheShippedOnes) {
  // The fixture's data folder is empty; the tables ship in the source tree's data/.
  ASSERT_FALSE(fs::exists(folder_ / "velm.str"));
  ASSERT_TRUE(fs::exists(testing_support::SourceDir() / "data" / "velm.str"));
  StartApp();
  EXPECT_TRUE(GetEphemeris().HasTables());
}

TEST_F(ShellTest, ADataFolderWithoutAnAtlasUsesTheShippedOneWithoutAnError) {
  ASSERT_FALSE(fs::exists(folder_ / "Town.cor"));
  StartApp();
  EXPECT_GT(GetTowns().Count(), 0);
  for (const auto& shown : prompts_.shown) EXPECT_EQ(shown.text.find("Town."), std::string::npos);
}

TEST_F(ShellTest, ADataFolderWithoutAspectSystemsGetsTheDefaultOne) {
  ASSERT_FALSE(fs::exists(folder_ / "VELM.asp"));
  StartApp();
  EXPECT_TRUE(fs::exists(folder_ / "VELM.asp"));
  EXPECT_EQ(GetAspectarium().Count(), 1);
  EXPECT_EQ(GetAspectarium().GetCurrentSystem()->GetName(), "VELM");
}

TEST_F(ShellTest, ADataFolderThatCannotBeWrittenIsSaidOnceAndChartsStillGetAspects) {
  // Not writable by its owner; the program run by root would write it all the same, so the
  // rewrite layer's read-only fault stands in for the permission there.
  struct Writable {
    fs::path folder;
    ~Writable() {
      DisarmFault();
      fs::permissions(folder, fs::perms::owner_all);
      GetSettings().SetWritable(true);
    }
  } restore{folder_.Path()};
  fs::permissions(folder_.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() == 0) ArmFault({FaultPoint::kReadOnly, 0});
  EXPECT_FALSE(ReadyDataFolder(folder_.Path()));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_NE(prompts_.shown[0].text.find(Cp1251("нельзя писать")), std::string::npos);
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(GetAspectarium().Count(), 1);
  const AspectSystem* system =
      wheel::SystemOfChart(*document->GetChart(), GetConfiguration(), GetAspectarium());
  ASSERT_NE(system, nullptr);
  EXPECT_FALSE(
      wheel::FindWheelAspects(*document->GetChart(), 0, *system, GetConfiguration()).empty());
  // A save of the shipped system would go to the data folder, never over the shipped file.
  EXPECT_EQ(system->File().parent_path(), folder_.Path());
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(fs::is_empty(folder_.Path()));
  EXPECT_EQ(prompts_.shown.size(), 1u);
}

TEST_F(ShellTest, StartUpComputesTheTableOfAscendants) {
  CKovraApp& app = StartApp();
  ASSERT_FALSE(app.Ascendants().Empty());
  // The obliquity of the present epoch, about 23.44 degrees.
  EXPECT_NEAR(app.Ascendants().ObliquityDeg(), 23.44, 0.01);
}

TEST_F(ShellTest, TheStartupDialogOffersTheLastKindAskedForInThisApplication) {
  CKovraApp& app = StartApp();
  const auto cancel = [](auto&) { return platform::kIdCancel; };
  platform::ModalDriver::Expect<entry::CD_ENTER_Transit>(cancel);
  EXPECT_EQ(app.NewChart(kChartTransit), nullptr);
  EXPECT_EQ(app.CurrentChartKind(), kChartTransit);

  std::string kindName;
  platform::ModalDriver::Expect<DStartup>([&kindName](DStartup& dialog) {
    kindName = dialog.kindName;
    dialog.choice = DStartup::kNewChart;
    return platform::kIdOk;
  });
  platform::ModalDriver::Expect<entry::CD_ENTER_Transit>(cancel);
  app.RunStartupDialog();
  EXPECT_EQ(kindName, Cp1251("Транзитный"));
  EXPECT_EQ(platform::ModalDriver::CountShown<entry::CD_ENTER_Transit>(), 2);

  // A number that is no chart kind counts as natal.
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>(cancel);
  EXPECT_EQ(app.NewChart(42), nullptr);
  EXPECT_EQ(app.CurrentChartKind(), kChartNatal);

  // The kind belongs to the application: a new one starts with natal again.
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>(cancel);
  EXPECT_EQ(app.NewChart(kChartHorary), nullptr);
  app_.reset();
  EXPECT_EQ(StartApp().CurrentChartKind(), kChartNatal);
}

TEST_F(ShellTest, StartupDialogCancelledOpensNothing) {
  platform::ModalDriver::Expect<DStartup>([](DStartup& dialog) {
    dialog.choice = DStartup::kNewChart;
    return platform::kIdCancel;
  });
  ASSERT_TRUE(Launch());
  EXPECT_EQ(app_->DocumentCount(), 0);
  EXPECT_EQ(platform::ModalDriver::CountShown<entry::CD_ENTER_Natal>(), 0);
}

TEST_F(ShellTest, TipsFollowEachOtherUntilSwitchedOff) {
  testing_support::WriteFile(folder_ / "advice.txt",
                             Cp1251("Первый совет\r\n\r\nВторой совет\r\n"));
  std::vector<std::string> shown;
  const auto answer = [&shown](bool keepShowing) {
    platform::ModalDriver::Expect<DTipOfDay>([&shown, keepShowing](DTipOfDay& dialog) {
      shown.push_back(dialog.tip);
      dialog.showAtStart = keepShowing;
      return platform::kIdOk;
    });
  };
  for (bool keepShowing : {true, true, false, true}) {
    answer(keepShowing);
    CKovraApp& app = StartApp();
    app.ExitInstance();
    app_.reset();
  }
  // The fourth start shows nothing: the third switched the tips off.
  EXPECT_EQ(shown, (std::vector<std::string>{Cp1251("Первый совет"), Cp1251("Второй совет"),
                                             Cp1251("Первый совет")}));
  platform::ModalDriver::Clear();  // the unused fourth answer
  platform::ModalDriver::SetStrict(true);
}

TEST(SplashWindow, ClosesOnTheFirstTimerTickAfterItsTime) {
  auto* splash = new SplashWindow(300);
  QPointer<SplashWindow> alive(splash);
  splash->show();
  splash->OnTimer();  // too early
  EXPECT_TRUE(splash->isVisible());
  std::this_thread::sleep_for(std::chrono::milliseconds(350));
  splash->OnTimer();
  EXPECT_FALSE(splash->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
}

TEST_F(ShellTest, TheSplashStepsAsideForTheTipOfTheDayAndTheStartupDialog) {
  testing_support::WriteFile(folder_ / "advice.txt", Cp1251("Совет\r\n"));
  std::vector<bool> splashShown;  // at the tip, at the start-up dialog
  const auto splashVisible = [this] {
    return app_->Splash() != nullptr && app_->Splash()->isVisible();
  };
  platform::ModalDriver::Expect<DTipOfDay>([&](DTipOfDay&) {
    splashShown.push_back(splashVisible());
    return platform::kIdOk;
  });
  platform::ModalDriver::Expect<DStartup>([&](DStartup& dialog) {
    splashShown.push_back(splashVisible());
    dialog.choice = DStartup::kNothing;
    return platform::kIdOk;
  });
  StartOptions options;
  options.splash = true;
  options.showWindow = true;
  ASSERT_TRUE(Launch(options));
  EXPECT_EQ(splashShown, (std::vector<bool>{false, false}));
}

// What a dialog shows is not cut: its caption has the room of a title bar, and each label and
// button is as wide as its text needs.
TEST_F(ShellTest, DialogsShowTheirWholeCaptionsAndLines) {
  DACLINES_CONF townList;
  DStartup startup;
  startup.kindName = Cp1251("Натальная карта");
  startup.restoreAvailable = true;
  DTipOfDay tip;
  tip.tip = Cp1251("Совет дня");
  for (platform::Dialog* dialog :
       {static_cast<platform::Dialog*>(&townList), static_cast<platform::Dialog*>(&startup),
        static_cast<platform::Dialog*>(&tip)}) {
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    dialog->OnInitDialog();
    dialog->show();
    QCoreApplication::processEvents();
    EXPECT_GE(dialog->width(), platform::TitleBarWidth(dialog->windowTitle()));
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
      if (button->isVisible()) {
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
      }
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      if (label->isVisible() && !label->wordWrap()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
      }
    }
    dialog->hide();
  }
}

TEST(CommandLine, OptionsAndFiles) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string dataDir, file, out;
    bool splash, print;
    bool refused;
  };
  const Case cases[] = {
      {"nothing", {}, "", "", "", true, false, false},
      {"data_dir_and_file", {"--data-dir", "/d", "a.sav"}, "/d", "a.sav", "", true, false, false},
      {"data_dir_equals", {"--data-dir=/e", "--nosplash"}, "/e", "", "", false, false, false},
      {"print_to_pdf", {"/p", "a.sav", "--out", "x.pdf"}, "", "a.sav", "x.pdf", false, true, false},
      {"print_without_out", {"/p", "a.sav"}, "", "a.sav", "", false, true, false},
      {"print_without_file", {"/p"}, "", "", "", false, true, true},
      {"out_without_print", {"a.sav", "--out", "x.pdf"}, "", "", "", true, false, true},
      {"data_dir_without_value", {"--data-dir"}, "", "", "", true, false, true},
      {"two_files", {"a.sav", "b.sav"}, "", "", "", true, false, true},
      {"unknown_option", {"--fast"}, "", "", "", true, false, true},
      {"dash_file_after_end", {"--", "-odd.sav"}, "", "-odd.sav", "", true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = ParseCommandLine(c.args);
    EXPECT_EQ(!line.error.empty(), c.refused);
    if (c.refused) continue;
    EXPECT_EQ(line.dataDir, c.dataDir);
    EXPECT_EQ(line.file, c.file);
    EXPECT_EQ(line.out, c.out);
    EXPECT_EQ(line.splash, c.splash);
    EXPECT_EQ(line.print, c.print);
  }
}

TEST(RecentFiles, FiveMostRecentWithoutRepeats) {
  RecentFileList list;
  for (const char* path : {"/a", "/b", "/c", "/d", "/e", "/f", "/c"}) list.Add(path);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/c", "/f", "/e", "/d", "/b"}));

  testing_support::TempFolder folder;
  Profile profile;
  list.WriteTo(profile);
  profile.SetInt("NextTip", 4);
  ASSERT_TRUE(profile.Save(folder / "velm.ini").ok());
  Profile read;
  ASSERT_TRUE(read.Load(folder / "velm.ini").ok());
  RecentFileList back;
  back.ReadFrom(read);
  EXPECT_EQ(back.Entries(), list.Entries());
  EXPECT_EQ(read.GetInt("NextTip", 0), 4);
  EXPECT_EQ(read.GetInt("Missing", 7), 7);
}

TEST_F(ShellTest, PrintRunWritesOnePdfPageOfEveryChartWithoutTheWindow) {
  const fs::path charts = folder_ / "two.sav";
  ASSERT_TRUE(WriteSessionFile(charts, {NatalChart(kMoscow), NatalChart(kParis)}).ok());
  const fs::path pdf = folder_ / "out.pdf";
  ASSERT_TRUE(WriteSessionFile(folder_ / "velm.sav", {NatalChart(kTokyo)}).ok());
  const std::string session = testing_support::ReadFile(folder_ / "velm.sav");
  StartOptions options;
  options.file = charts.string();
  options.printOnly = true;
  options.printOut = pdf;
  EXPECT_FALSE(Launch(options));  // the program ends after printing
  EXPECT_FALSE(app_->GetMainFrame()->isVisible());
  EXPECT_EQ(platform::ModalDriver::CountShown<DStartup>(), 0);
  ASSERT_TRUE(fs::exists(pdf));
  const std::string bytes = testing_support::ReadFile(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_EQ(CountPdfPages(pdf), 2);  // one per chart
  // The file went to the recent-file list.
  ASSERT_FALSE(app_->RecentFiles().Entries().empty());
  EXPECT_EQ(fs::path(app_->RecentFiles().Entries().front()).filename(), "two.sav");
  // The printed charts do not replace the session of the last run.
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_EQ(testing_support::ReadFile(folder_ / "velm.sav"), session);
}

TEST_F(ShellTest, PrintRunWithoutAnAspectSystemPrintsButEndsWithAFailureCode) {
  // Nothing shipped to fall back on: the wheel is printed without aspects, which is told.
  GetSettings().SetShippedFolders({});
  const fs::path charts = folder_ / "one.sav";
  ASSERT_TRUE(WriteSessionFile(charts, {NatalChart(kMoscow)}).ok());
  StartOptions options;
  options.file = charts.string();
  options.printOnly = true;
  options.printOut = folder_ / "one.pdf";
  EXPECT_FALSE(Launch(options));
  EXPECT_EQ(GetAspectarium().Count(), 0);
  EXPECT_EQ(CountPdfPages(options.printOut), 1);
  ASSERT_FALSE(prompts_.shown.empty());
  EXPECT_NE(prompts_.shown.back().text.find(Cp1251("без аспектов")), std::string::npos);
  EXPECT_NE(app_->ExitInstance(), 0);
}

TEST_F(ShellTest, PrintRunRefusesAFileThatIsNotWhatItClaimsWithAMessageAndHarmsNone) {
  const fs::path charts = folder_ / "one.sav";
  ASSERT_TRUE(WriteSessionFile(charts, {NatalChart(kMoscow)}).ok());
  const std::string chartBytes = testing_support::ReadFile(charts);
  testing_support::WriteFile(folder_ / "empty.sav", "");
  ASSERT_EQ(::mkfifo((folder_ / "pipe.sav").c_str(), 0600), 0);
  fs::create_directory(folder_ / "folder.sav");
  // Larger than any chart file, without taking room on the disk.
  testing_support::WriteFile(folder_ / "huge.sav", "");
  fs::resize_file(folder_ / "huge.sav", 3ull << 30);
  fs::create_symlink(charts, folder_ / "link.pdf");
  testing_support::WriteFile(folder_ / "damaged.sav", "not a chart");
  struct Case {
    const char* name;
    fs::path file;
    fs::path out;
    int shown;  // the message or error report the run shows
  };
  const Case cases[] = {
      {"empty_chart_file", folder_ / "empty.sav", folder_ / "a.pdf", kMsgNoChartInFile},
      {"missing_chart_file", folder_ / "none.sav", folder_ / "e.pdf", kMsgCannotOpenChartFile},
      {"named_pipe", folder_ / "pipe.sav", folder_ / "b.pdf", kMsgCannotOpenChartFile},
      {"folder", folder_ / "folder.sav", folder_ / "c.pdf", kMsgCannotOpenChartFile},
      {"file_far_too_large", folder_ / "huge.sav", folder_ / "d.pdf",
       ErrorReportNumber(kErrFormat)},
      {"damaged_chart_file", folder_ / "damaged.sav", folder_ / "f.pdf",
       ErrorReportNumber(kErrFormat)},
      {"pdf_over_the_chart_file", charts, charts, kMsgPrintOverChartFile},
      {"pdf_through_a_link_to_the_chart_file", charts, folder_ / "link.pdf",
       kMsgPrintOverChartFile},
      {"pdf_in_a_missing_folder", charts, folder_ / "no" / "such" / "g.pdf",
       ErrorReportNumber(kErrCannotCreate)},
      {"pdf_onto_a_folder", charts, folder_ / "folder.sav", ErrorReportNumber(kErrCannotCreate)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompts_.shown.clear();
    StartOptions options;
    options.file = c.file.string();
    options.printOnly = true;
    options.printOut = c.out;
    EXPECT_FALSE(Launch(options));
    EXPECT_TRUE(prompts_.WasShown(c.shown));
    // The message names the file it is about (the PDF when the chart file is sound), no code.
    const fs::path& named = c.file == charts ? c.out : c.file;
    ASSERT_EQ(prompts_.shown.size(), 1u);
    EXPECT_NE(prompts_.shown.back().text.find(named.string()), std::string::npos)
        << prompts_.shown.back().text;
    EXPECT_EQ(prompts_.shown.back().text.find("function"), std::string::npos);
    EXPECT_NE(app_->ExitInstance(), 0);
    app_.reset();
    DeletePending();
    EXPECT_EQ(testing_support::ReadFile(charts), chartBytes);
    if (c.out != charts) {
      EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(c.out)));
    }
  }
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.pdf"));
  EXPECT_EQ(fs::file_size(folder_ / "huge.sav"), 3ull << 30);
}

TEST_F(ShellTest, FileOnTheCommandLineOpensItsChartsInsteadOfTheStartupDialog) {
  const fs::path good = folder_ / "good.sav";
  const fs::path damaged = folder_ / "damaged.sav";
  ASSERT_TRUE(
      WriteSessionFile(good, {NatalChart(kMoscow), NatalChart(kTokyo), NatalChart(kParis)}).ok());
  testing_support::WriteFile(damaged, "not a chart");
  struct Case {
    const char* name;
    fs::path file;
    int documents;
    int startupDialogs;
  };
  const Case cases[] = {
      {"charts_open", good, 3, 0},
      {"damaged_file_is_reported_and_the_dialog_follows", damaged, 0, 1},
      {"missing_file_is_reported_and_the_dialog_follows", folder_ / "none.sav", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    platform::ModalDriver::Always<DStartup>([](DStartup& dialog) {
      dialog.choice = DStartup::kNothing;
      return platform::kIdOk;
    });
    prompts_.shown.clear();
    StartOptions options = QuietStart();
    options.file = c.file.string();
    ASSERT_TRUE(Launch(options));
    EXPECT_EQ(app_->DocumentCount(), c.documents);
    EXPECT_EQ(platform::ModalDriver::CountShown<DStartup>(), c.startupDialogs);
    bool reported = false;
    for (const auto& shown : prompts_.shown)
      reported |= shown.text.find(c.file.string()) != std::string::npos;
    EXPECT_EQ(reported, c.documents == 0);
    app_.reset();
    DeletePending();
  }
}

TEST(CommandLine, PrintingWithoutADisplayNeedsNoScreen) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* display;
    const char* wayland;
    bool offscreen;
  };
  const Case cases[] = {
      {"print_without_display", {"/p", "a.sav", "--out", "x.pdf"}, nullptr, nullptr, true},
      {"dash_p_empty_display", {"--data-dir", "/d", "-p", "a.sav"}, "", "", true},
      {"print_with_x_display", {"/p", "a.sav"}, ":0", nullptr, false},
      {"print_with_wayland", {"/p", "a.sav"}, nullptr, "wayland-0", false},
      {"window_without_display", {"a.sav"}, nullptr, nullptr, false},
      {"p_is_a_file_after_the_end", {"--", "/p"}, nullptr, nullptr, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PrintsWithoutScreen(c.args, c.display, c.wayland), c.offscreen) << c.name;
}

// "velm.ini" that cannot be read at start is reported and never written over: the recent-file
// list it holds comes back once it can be read again.
TEST_F(ShellTest, AProfileThatCouldNotBeReadIsNotWrittenOverAtExit) {
  const fs::path ini = GetSettings().GetPath(kProfileName);
  const std::string old = "File1=/charts/a.sav\nFile2=/charts/b.sav\nShowTips=0\n";
  testing_support::WriteFile(ini, old);
  ArmReadFault(ini);
  CKovraApp& app = StartApp();
  ArmReadFault({});
  EXPECT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrRead)));
  const fs::path charts = folder_ / "c.sav";
  ASSERT_TRUE(WriteSessionFile(charts, {NatalChart(kMoscow)}).ok());
  ASSERT_EQ(app.OpenChartFile(charts), 1);
  app.ExitInstance();
  EXPECT_EQ(testing_support::ReadFile(ini), old);
}

// Every step of the profile's rewrite failing in turn keeps the old file and is reported. The exit
// writes its files as one batch: each file is created and written where its saver stands, and
// replaced at the end, so every step of the exit is failed in turn and the profile's own steps
// are those that leave it old.
TEST_F(ShellTest, EveryFailingStepOfTheProfileSaveKeepsTheOldFile) {
  const fs::path ini = GetSettings().GetPath(kProfileName);
  const std::string old = "File1=/charts/a.sav\nShowTips=0\n";
  Profile probe;
  probe.Set("File1", "/charts/a.sav");
  ArmFileFault(0);
  ASSERT_TRUE(probe.Save(folder_ / "probe.ini").ok());
  const int operations = CountedFileOperations();
  ASSERT_GE(operations, 3);
  int exitOperations = 0;
  {
    testing_support::WriteFile(ini, old);
    CKovraApp& app = StartApp();
    app.RecentFiles().Add("/charts/new.sav");
    ArmFileFault(0);
    app.ExitInstance();
    exitOperations = CountedFileOperations();
    ASSERT_GE(exitOperations, operations);
    ASSERT_NE(testing_support::ReadFile(ini), old);
    app_.reset();
    DeletePending();
  }
  int keptOld = 0;
  for (int failing = 1; failing <= exitOperations; ++failing) {
    SCOPED_TRACE(failing);
    testing_support::WriteFile(ini, old);
    CKovraApp& again = StartApp();
    again.RecentFiles().Add("/charts/new.sav");
    prompts_.shown.clear();
    ArmFileFault(failing);
    again.ExitInstance();
    ArmFileFault(0);
    const std::string now = testing_support::ReadFile(ini);
    if (now == old) {
      ++keptOld;
      EXPECT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrWrite)) ||
                  prompts_.WasShown(ErrorReportNumber(kErrCannotCreate)));
    } else {
      EXPECT_NE(now.find("File1=/charts/new.sav"), std::string::npos) << "never a mixture";
    }
    app_.reset();
    DeletePending();
  }
  // The profile's own steps: its creation, its writes and its rename.
  EXPECT_EQ(keptOld, operations);
}

// A damaged "velm.str" of the data folder gives way to the shipped tables, with one message; the
// damaged file stays as it was.
TEST_F(ShellTest, ADamagedEphemerisInTheDataFolderFallsBackToTheShippedOne) {
  // Shipped: one hand-made table over [1000, 1020], recognisable by its range.
  ChebyshevTable table;
  table.id = 0;
  table.firstJd = 1000.0;
  table.segmentDays = 10.0;
  table.lonDegree = 1;
  table.latDegree = 0;
  table.quantum = 1e-7;
  table.coefficients = {350.0, 20.0, 0.0, 10.0, 5.0, 0.0};
  ChebyshevFile shippedTables;
  shippedTables.firstJd = 1000.0;
  shippedTables.lastJd = 1020.0;
  shippedTables.tables.push_back(table);
  testing_support::TempFolder shipped;
  testing_support::WriteFile(shipped / "velm.str", SerializeTables(shippedTables));
  GetSettings().SetShippedFolders({shipped.Path()});

  const std::string damaged = "VSTR damaged tables";
  testing_support::WriteFile(folder_ / "velm.str", damaged);
  const Status loaded = LoadEphemerisFromDataFolder();
  EXPECT_NE(loaded.ErrorCode(), 0);
  EXPECT_EQ(fs::path(loaded.Where()).filename(), "velm.str");
  EXPECT_EQ(fs::path(loaded.Where()).parent_path(), folder_.Path());
  EXPECT_TRUE(GetEphemeris().HasTable(0));
  EXPECT_DOUBLE_EQ(GetEphemeris().FirstJdTt(), 1000.0);
  EXPECT_DOUBLE_EQ(GetEphemeris().LastJdTt(), 1020.0);
  EXPECT_EQ(testing_support::ReadFile(folder_ / "velm.str"), damaged);

  // The real tables back for the tests that follow.
  ASSERT_TRUE(LoadEphemeris(testing_support::SourceDir() / "data" / "velm.str").ok());
}

}  // namespace
}  // namespace shell_test
