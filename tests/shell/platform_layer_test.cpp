// The document/view layer under the shell: command routing and enabling, the modal driver,
// property-sheet page checks, the progress dialog and the statistics marks in the archive.
#include <QApplication>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <filesystem>
#include <new>

#include "document/view_kinds.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/binary_io.h"
#include "platform/qt/command_target.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/document.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/property_sheet.h"
#include "platform/qt/view.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

TEST(CommandRouting, TheFirstTargetWithAHandlerDecides) {
  platform::CommandTarget view, document, frame, application;
  std::string ran;
  document.OnCommand(1, [&] { ran += "document"; });
  frame.OnCommand(1, [&] { ran += "frame"; });
  frame.OnCommand(
      2, [&] { ran += "frame"; }, [](platform::CommandState& s) { s.enabled = false; });
  application.OnCommand(2, [&] { ran += "application"; });
  application.OnCommand(
      3, [&] { ran += "application"; }, [](platform::CommandState& s) { s.checked = true; });
  const std::vector<platform::CommandTarget*> route{&view, &document, nullptr, &frame,
                                                    &application};

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
      {4, false, "", false, false},  // nobody handles it: disabled
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

TEST(CommandRouting, ACommandWhoseMemoryRunsOutIsReportedAndTheProgramGoesOn) {
  testing_support::ScriptedPrompter prompts;
  platform::CommandTarget frame;
  int after = 0;
  frame.OnCommand(1, [] { throw std::bad_alloc(); });
  frame.OnCommand(2, [&] { ++after; });
  EXPECT_TRUE(platform::RouteCommand({&frame}, 1));
  EXPECT_TRUE(prompts.WasShown(ErrorReportNumber(kErrNoMemory)));
  EXPECT_TRUE(platform::RouteCommand({&frame}, 2));
  EXPECT_EQ(after, 1);
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

class ClickView : public platform::View {
 public:
  void OnDraw(platform::Dc&) override {}
  void OnLButtonDown(platform::Point at) override { clicks.push_back(at); }
  std::vector<platform::Point> clicks;
};

TEST(View, MouseArrivesInLogicalUnitsOfTheViewsMapping) {
  ClickView view;
  view.resize(400, 300);
  view.SetScrollSizes(platform::MapMode::HiMetric, {21000, 29700});
  const double dpi = view.logicalDpiX();
  const double unitsPerPixel = 2540.0 / dpi;  // 0.01 mm per pixel
  struct Case {
    const char* name;
    int scroll;  // vertical scroll position in pixels
    QPoint device;
    double x, y;  // expected logical point: y grows upwards, the page lies below zero
  };
  const Case cases[] = {
      {"origin", 0, {0, 0}, 0, 0},
      {"one_inch_in", 0, {static_cast<int>(dpi), static_cast<int>(dpi)}, 2540, -2540},
      {"scrolled_down", 100, {0, 0}, 0, -100 * unitsPerPixel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    view.verticalScrollBar()->setValue(c.scroll);
    ASSERT_EQ(view.verticalScrollBar()->value(), c.scroll);
    const platform::Point at = view.DeviceToLogical(c.device);
    EXPECT_NEAR(at.x, c.x, 1.0);
    EXPECT_NEAR(at.y, c.y, 1.0);
  }
  // A click on the viewport reaches the view in the same units.
  view.verticalScrollBar()->setValue(0);
  const QPointF inch(dpi, dpi);
  QMouseEvent press(QEvent::MouseButtonPress, inch, view.viewport()->mapToGlobal(inch),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.viewport(), &press);
  ASSERT_EQ(view.clicks.size(), 1u);
  EXPECT_NEAR(view.clicks[0].x, 2540, 1.0);
  EXPECT_NEAR(view.clicks[0].y, -2540, 1.0);
}

// A document that takes a name from its creation argument and refuses a name "refuse"; its view
// reads the argument once more when it is first updated.
struct NamedArgument {
  std::string name;
};

class NamedDocument : public platform::Document {
 public:
  bool OnNewDocument() override {
    const NamedArgument* argument = CreationArgument().Get<NamedArgument>();
    seen = argument != nullptr ? argument->name : CreationArgument().IsEmpty() ? "(empty)" : "?";
    SetTitle(seen);
    return seen != "refuse";
  }
  std::string seen;
};

class ArgumentView : public platform::View {
 public:
  void OnInitialUpdate() override {
    const NamedArgument* argument = GetDocument()->CreationArgument().Get<NamedArgument>();
    seenAtInitialUpdate = argument != nullptr ? argument->name : "";
  }
  void OnDraw(platform::Dc&) override {}
  std::string seenAtInitialUpdate;
};

TEST(DocTemplate, TheCreationArgumentReachesTheNewDocumentAndItsFirstViewOnly) {
  platform::DocManager manager;
  platform::DocTemplate& docTemplate = manager.AddTemplate(
      1, [] { return std::make_unique<NamedDocument>(); }, [] { return new ArgumentView(); });

  platform::Document* first =
      docTemplate.OpenDocumentFile(platform::DocumentArgument(NamedArgument{"first"}), false);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(static_cast<NamedDocument*>(first)->seen, "first");
  EXPECT_EQ(static_cast<ArgumentView*>(first->Views().front())->seenAtInitialUpdate, "first");
  // Dropped once the document is open: a later view sees nothing.
  EXPECT_TRUE(first->CreationArgument().IsEmpty());
  auto* later = static_cast<ArgumentView*>(docTemplate.OpenView(*first));
  EXPECT_EQ(later->seenAtInitialUpdate, "");

  // Each document gets its own argument; no argument and one of another type are told apart.
  platform::Document* plain = docTemplate.OpenDocumentFile({}, false);
  platform::Document* other = docTemplate.OpenDocumentFile(platform::DocumentArgument(42), false);
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(static_cast<NamedDocument*>(plain)->seen, "(empty)");
  EXPECT_EQ(static_cast<NamedDocument*>(other)->seen, "?");
  EXPECT_EQ(static_cast<NamedDocument*>(first)->seen, "first");

  // A refused document leaves nothing behind.
  EXPECT_EQ(
      docTemplate.OpenDocumentFile(platform::DocumentArgument(NamedArgument{"refuse"}), false),
      nullptr);
  EXPECT_EQ(manager.Documents().size(), 3u);
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
  CKovraDoc* document = CKovraDoc::Open(app, DocCreation::Statistics(stats));
  ASSERT_NE(document, nullptr);

  EXPECT_EQ(document->MarkStatGroupInArchive(0), 2);  // 7 and -1 lie outside the archive
  EXPECT_EQ(app.GetArchive().Entry(0).mark, 'Y');
  EXPECT_EQ(app.GetArchive().Entry(1).mark, 'N');
  EXPECT_EQ(app.GetArchive().Entry(2).mark, 'Y');
  EXPECT_EQ(document->MarkStatGroupInArchive(5), 0);  // no such bucket
}

}  // namespace
}  // namespace shell_test
