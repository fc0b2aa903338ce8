// The document/view layer under the shell: command routing and enabling, the modal driver,
// property-sheet page checks, the progress dialog and the statistics marks in the archive.
#include <QProgressBar>
#include <filesystem>

#include "foundation/files/binary_io.h"
#include "platform/qt/command_target.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/property_sheet.h"
#include "shell/view_kinds.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

TEST(CommandRouting, TheFirstTargetWithAHandlerDecides) {
  platform::CommandTarget view, document, frame, application;
  std::string ran;
  document.OnCommand(1, [&] { ran += "document"; });
  frame.OnCommand(1, [&] { ran += "frame"; });
  frame.OnCommand(2, [&] { ran += "frame"; }, [](platform::CommandState& s) { s.enabled = false; });
  application.OnCommand(2, [&] { ran += "application"; });
  application.OnCommand(3, [&] { ran += "application"; },
                        [](platform::CommandState& s) { s.checked = true; });
  const std::vector<platform::CommandTarget*> route{&view, &document, nullptr, &frame, &application};

  struct Case {
    int id;
    bool runs;
    const char* by;
    bool enabled, checked;
  };
  const Case cases[] = {
      {1, true, "document", true, false},  // the document comes before the frame
      {2, false, "", false, false},        // the frame disables it: the application is not asked
      {3, true, "application", true, true},
      {4, false, "", false, false},        // nobody handles it: disabled
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ran.clear();
    EXPECT_EQ(platform::RouteCommand(route, c.id), c.runs);
    EXPECT_EQ(ran, c.by);
    const platform::CommandState state = platform::RouteUpdate(route, c.id);
    EXPECT_EQ(state.enabled, c.enabled);
    EXPECT_EQ(state.checked, c.checked);
  }
}

class NameDialog : public platform::Dialog {
 public:
  std::string name;
};

TEST(ModalDriver, AnswersQueuedThenPersistentThenStrict) {
  platform::ModalDriver::Clear();
  platform::ModalDriver::Expect<NameDialog>([](NameDialog& d) {
    d.name = "first";
    return platform::kIdOk;
  });
  platform::ModalDriver::Always<NameDialog>([](NameDialog& d) {
    d.name = "always";
    return platform::kIdCancel;
  });
  NameDialog dialog;
  EXPECT_EQ(dialog.DoModal(), platform::kIdOk);
  EXPECT_EQ(dialog.name, "first");
  EXPECT_EQ(dialog.DoModal(), platform::kIdCancel);
  EXPECT_EQ(dialog.name, "always");
  EXPECT_EQ(platform::ModalDriver::CountShown<NameDialog>(), 2);

  platform::ModalDriver::Clear();
  platform::ModalDriver::SetStrict(true);
  EXPECT_EQ(dialog.DoModal(), platform::kIdCancel);
  ASSERT_EQ(platform::ModalDriver::Unanswered().size(), 1u);
  EXPECT_EQ(platform::ModalDriver::Unanswered()[0], std::type_index(typeid(NameDialog)));
  platform::ModalDriver::Clear();
}

class CheckedPage : public platform::PropertyPage {
 public:
  bool accept = true;
  int checks = 0;
  bool DoDataExchange(bool save) override {
    if (save) ++checks;
    return !save || accept;
  }
};

TEST(PropertySheet, OkNeedsEveryPageToAccept) {
  platform::PropertySheet sheet(QStringLiteral("Проба"));
  auto* first = new CheckedPage;
  auto* second = new CheckedPage;
  sheet.AddPage(first, QStringLiteral("Один"));
  sheet.AddPage(second, QStringLiteral("Два"));
  second->accept = false;
  sheet.accept();
  EXPECT_EQ(sheet.result(), QDialog::Rejected);  // still open: the second page refused
  EXPECT_EQ(first->checks, 1);
  EXPECT_EQ(second->checks, 1);
  EXPECT_EQ(sheet.ActiveIndex(), 1);  // the refusing page is shown
  second->accept = true;
  sheet.accept();
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST(ProgressDialog, PositionsAreClampedAndTheWindowComesAndGoes) {
  DPROGRESSBAR progress(QStringLiteral("Расчет"));
  platform::ProgressSink& sink = progress;
  sink.Begin();
  EXPECT_TRUE(progress.isVisible());
  const int positions[][2] = {{0, 0}, {45, 45}, {100, 100}, {130, 100}, {-5, 0}};
  for (const auto& [given, shown] : positions) {
    sink.SetPos(given);
    EXPECT_EQ(progress.Pos(), shown) << given;
  }
  sink.End();
  EXPECT_FALSE(progress.isVisible());
}

TEST_F(ShellTest, StatisticsGroupIsMarkedInTheCurrentArchive) {
  CKovraApp& app = StartApp();
  // An archive of three records of version 4000.
  BinaryWriter records;
  for (const Birth& birth : {kMoscow, kParis, kTokyo}) NatalChart(birth).Save(records, 4000);
  const std::filesystem::path archive = folder_ / "stat.arc";
  testing_support::WriteFile(archive, records.Data());
  ASSERT_EQ(app.GetArchive().SetPath(archive.string()), 2);
  ASSERT_EQ(app.GetArchive().CreateIndex(), 0);
  ASSERT_EQ(app.GetArchive().RecordCount(), 3);

  StatResults stats;
  stats.counts = {4, 1};
  stats.records = {{0, 2, 7, -1}, {1}};
  g_pNextStatResults = &stats;
  g_DocCreationMode = kCreateStatistics;
  auto* document =
      static_cast<CKovraDoc*>(app.GetTemplate(kMainChartTemplate)->OpenDocumentFile());
  g_DocCreationMode = kCreateNewChart;
  g_pNextStatResults = nullptr;
  ASSERT_NE(document, nullptr);

  EXPECT_EQ(document->MarkStatGroupInArchive(0), 2);  // 7 and -1 lie outside the archive
  EXPECT_EQ(app.GetArchive().Entry(0).mark, 'Y');
  EXPECT_EQ(app.GetArchive().Entry(1).mark, 'N');
  EXPECT_EQ(app.GetArchive().Entry(2).mark, 'Y');
  EXPECT_EQ(document->MarkStatGroupInArchive(5), 0);  // no such bucket
}

}  // namespace
}  // namespace shell_test
