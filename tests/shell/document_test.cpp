// The chart document: the road of a new chart, the document limit, the creation modes, the
// captions of the frames, the enabling of the view commands and the closing questions.
#include <QImage>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "archive/comments/chart_comments.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_header.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/view_kinds.h"
#include "document/workbench.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "shell/entry/choose_chart_type.h"
#include "shell/kovra_view.h"
#include "shell_fixture.h"
#include "views/ui/view_kinds.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;

std::string Caption(platform::View* view) { return platform::FromQt(view->Frame()->windowTitle()); }

// A further view of the document that counts itself as a Bindhu list and names its frame with
// the Bindhu list's own part.
class CountingView : public platform::View {
 public:
  void OnInitialUpdate() override {
    static_cast<CKovraDoc*>(GetDocument())->ViewOpened(kDocViewBindhu);
    platform::View::OnInitialUpdate();
  }
  ~CountingView() override {
    if (auto* document = static_cast<CKovraDoc*>(GetDocument()))
      document->ViewClosed(kDocViewBindhu);
  }
  void OnDraw(platform::Dc&) override {}
  std::string GetFrameTitle() const override {
    return platform::View::GetFrameTitle() + Cp1251(" -Биндху");
  }
};

TEST_F(ShellTest, NewNatalChartThroughCtrlNIsTitledByTheRule) {
  CKovraApp& app = StartApp();
  QAction* natal = app.GetMainFrame()->Action(cmd::NewChart(0));
  ASSERT_NE(natal, nullptr);
  EXPECT_EQ(natal->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
  AnswerEntry(kMoscow);
  natal->trigger();

  ASSERT_EQ(app.DocumentCount(), 1);
  auto* document = static_cast<CKovraDoc*>(app.Documents().Documents().front().get());
  // "%s - %s %s %s": name, title (the kind's name for a new chart), date, time.
  EXPECT_EQ(document->GetTitle(), Cp1251("Иванов - Натальный 13.05.1975 14:30"));
  ASSERT_EQ(document->Views().size(), 1u);
  EXPECT_NE(dynamic_cast<CKovraView*>(document->Views().front()), nullptr);
  EXPECT_EQ(Caption(document->Views().front()), document->GetTitle());
  // The chart was computed: the Sun has a longitude.
  ASSERT_NE(document->GetChart(), nullptr);
  EXPECT_TRUE(document->GetChart()->GetPointLongitude(0).IsSet());
  EXPECT_EQ(document->GetChart()->definition.Kind(), kChartNatal);
}

TEST_F(ShellTest, CancelledEntryLeavesNoDocumentOrFrame) {
  CKovraApp& app = StartApp();
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>(
      [](entry::CD_ENTER_Natal&) { return platform::kIdCancel; });
  EXPECT_EQ(app.NewChart(kChartHorary), nullptr);
  EXPECT_EQ(app.DocumentCount(), 0);
  EXPECT_TRUE(app.Documents().Documents().empty());
  EXPECT_TRUE(app.GetMainFrame()->MdiArea()->subWindowList().isEmpty());
}

TEST_F(ShellTest, TheHundredAndFirstDocumentIsRefusedWithMessage9) {
  CKovraApp& app = StartApp();
  for (int i = 0; i < CKovraApp::kMaxDocuments; ++i)
    ASSERT_NE(CKovraDoc::Open(app, DocCreation::Results(DocCreationMode::EmptyResults)), nullptr)
        << i;
  EXPECT_FALSE(prompts_.WasShown(9));

  // The 101st: message 9, no entry dialog, no frame left behind.
  EXPECT_EQ(app.NewChart(kChartNatal), nullptr);
  EXPECT_TRUE(prompts_.WasShown(9));
  EXPECT_EQ(platform::ModalDriver::CountShown<entry::CD_ENTER_Natal>(), 0);
  EXPECT_EQ(app.DocumentCount(), 100);
  EXPECT_EQ(app.GetMainFrame()->MdiArea()->subWindowList().size(), 100);

  // Closing one makes room again.
  app.GetMainFrame()->MdiArea()->subWindowList().front()->close();
  DeletePending();
  EXPECT_EQ(app.DocumentCount(), 99);
  AnswerEntry(kMoscow);
  EXPECT_NE(app.NewChart(kChartNatal), nullptr);
}

TEST_F(ShellTest, CreationModesCopyTheirSource) {
  CKovraApp& app = StartApp();
  Chart source = NatalChart(kTokyo, "Проба");
  source.commentSlot = 7;
  testing_support::WriteFile(CommentFileName(7, 0), "page");
  StatResults stats;
  stats.counts = {2, 0, 1};
  stats.records = {{4, 9}, {}, {12}};
  stats.total = 3;
  stats.notFound = 1;

  struct Case {
    const char* name;
    DocCreation creation;
    bool hasChart;
    int kind;
    int commentSlot;  // of the copied chart
  };
  const Case cases[] = {
      {"copy_keeps_comments", DocCreation::Copy(source), true, kChartNatal, 7},
      {"derived_chart_without_comments", DocCreation::DerivedChart(source), true, kChartNatal, 0},
      {"statistics_result", DocCreation::Statistics(stats), false, kResultKindStatistics, 0},
      {"empty_results", DocCreation::Results(DocCreationMode::EmptyResults), false, kResultKindList,
       0},
      {"print_list", DocCreation::Results(DocCreationMode::PrintList), false, kResultKindList, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CKovraDoc* document = CKovraDoc::Open(app, c.creation);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->Kind(), c.kind);
    ASSERT_EQ(document->GetChart() != nullptr, c.hasChart);
    if (c.hasChart) {
      const Chart& chart = *document->GetChart();
      EXPECT_EQ(chart.definition.sources[0], source.definition.sources[0]);
      EXPECT_EQ(chart.definition.Title(), source.definition.Title());
      EXPECT_EQ(chart.commentSlot, c.commentSlot);
      EXPECT_TRUE(chart.GetPointLongitude(1).IsSet());  // recomputed
      EXPECT_EQ(document->GetTitle(), Cp1251("Танака - Проба 29.02.1996 23:59"));
    } else {
      EXPECT_EQ(document->GetTitle(), "");  // UpdateTitle does nothing without a chart
    }
    if (c.creation.mode == DocCreationMode::Statistics) {
      EXPECT_EQ(document->GetStatResults().BucketCount(), 3);
      EXPECT_EQ(document->GetStatResults().records[0], (std::vector<std::int32_t>{4, 9}));
      EXPECT_EQ(document->GetStatResults().notFound, 1);
      document->FreeStatResults();
      EXPECT_EQ(document->GetStatResults().BucketCount(), 0);
    } else {
      EXPECT_EQ(document->GetStatResults().BucketCount(), 0);
    }
  }
  // The copy with comments took the slot in the application's table.
  EXPECT_TRUE(app.CommentSlots().IsTaken(7));
  // The source stays with its owner.
  EXPECT_EQ(source.commentSlot, 7);
}

TEST_F(ShellTest, DerivedChartsAreNamedAfterTheirOrigin) {
  CKovraApp& app = StartApp();
  CKovraDoc* natal = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(natal, nullptr);
  Moment moment;
  ASSERT_TRUE(moment.date.SetDate(1, 6, 1975, 'A').ok());
  ASSERT_TRUE(moment.time.SetTime(6, 0, 0).ok());

  const ChartDocument* birth = natal->DrawRectifiedChart(moment, 'R');
  const ChartDocument* conception = natal->DrawRectifiedChart(moment, 'C');
  const ChartDocument* transit = ChartDocument::OpenTransitChart(app, *natal->GetChart(), moment);
  const ChartDocument* rectified = ChartDocument::OpenRectifiedChart(app, NatalChart(kParis));

  struct Case {
    const char* name;
    const ChartDocument* document;
    std::string chartName;
    bool movedToMoment;
  };
  const Case cases[] = {
      {"birth", birth, Cp1251("Иванов") + GetMessageText(kMsgRectifiedBirth), true},
      {"conception", conception, Cp1251("Иванов") + GetMessageText(kMsgRectifiedConception), true},
      {"transit", transit, GetMessageText(kMsgTransitName), true},
      {"rectified", rectified, GetMessageText(kMsgRectifiedPrefix) + Cp1251("Дюпон"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.document, nullptr);
    const Chart& chart = *c.document->GetChart();
    EXPECT_EQ(chart.definition.sources[0].Name(), c.chartName);
    if (c.movedToMoment) {
      EXPECT_EQ(chart.definition.sources[0].moment.date, moment.date);
      EXPECT_EQ(chart.definition.sources[0].moment.time, moment.time);
    }
  }
  EXPECT_EQ(app.DocumentCount(), 5);
}

TEST_F(ShellTest, GeodeticChartsStopAtTheLatitudeLimit) {
  CKovraApp& app = StartApp();
  CKovraDoc* natal = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(natal, nullptr);
  struct Case {
    const char* name;
    int latDeg, latMin;
    char letter;
    int mode;
    bool opened;
    const char* town;   // UTF-8
    const char* title;  // UTF-8: what the chart is and where
  };
  const Case cases[] = {
      {"geodetic_below_limit", 66, 29, 'N', 1, true, "Салехард", "Геодетический Салехард"},
      {"geodetic_at_limit_north", 66, 30, 'N', 1, false, "", ""},
      {"geodetic_at_limit_south", 66, 30, 'S', 1, false, "", ""},
      {"geodetic_polar", 78, 13, 'N', 1, false, "", ""},
      {"relocation_polar", 78, 13, 'N', 0, true, "Лонгйир", "Релокация Лонгйир"},
      {"relocation_without_town", 50, 0, 'S', 0, true, "", "Релокация 50S00 015E00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompts_.shown.clear();
    Place place;
    ASSERT_TRUE(place.SetPlace(c.latDeg, c.latMin, c.letter, 15, 0, 'E', Cp1251(c.town), "").ok());
    const ChartDocument* relocated = natal->OpenRelocatedChart(c.mode, place);
    EXPECT_EQ(relocated != nullptr, c.opened);
    EXPECT_EQ(prompts_.WasShown(486), !c.opened);
    if (relocated != nullptr) {
      const Chart& chart = *relocated->GetChart();
      EXPECT_EQ(chart.definition.sources[0].place, place);
      EXPECT_EQ(chart.houseSystem >= 100, c.mode == 1);
      // Labelled as what it is, not as the chart it was made from: its header's title line and
      // its window's caption.
      EXPECT_EQ(ChartHeaderLines(chart, false)[1], Cp1251(c.title));
      EXPECT_NE(relocated->GetTitle(), natal->GetTitle());
      EXPECT_NE(relocated->GetTitle().find(Cp1251(c.title)), std::string::npos);
    }
  }
  // A list: two towns flagged 'Y' of three, and the point.
  std::vector<CKovraDoc::RelocationTown> towns(3);
  towns[0].flag = 'Y';
  towns[2].flag = 'Y';
  const int before = app.DocumentCount();
  EXPECT_EQ(natal->OpenRelocatedCharts(towns, true, Place(), 0), 3);
  EXPECT_EQ(app.DocumentCount(), before + 3);
}

TEST_F(ShellTest, EachFrameIsCaptionedByItsView) {
  // A counting view behind the Bindhu command, whatever the subsystems make of it.
  CKovraApp& app = StartBareApp([](UiRegistry& registry) {
    registry.RegisterViewTemplate(kTemplateBindhu, [] { return new CountingView(); });
    registry.AddDocumentCommands([](ChartDocument& document, Workbench&) {
      document.AddViewCommand(cmd::kBindhuTable, kTemplateBindhu, {.exclusive = &kDocViewBindhu});
    });
  });
  CKovraDoc* document = OpenCopy(NatalChart(kParis, "Тест"));
  ASSERT_NE(document, nullptr);
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kBindhuTable));
  ASSERT_EQ(document->Views().size(), 2u);
  const std::string title = Cp1251("Дюпон - Тест 01.01.2000 00:05");
  EXPECT_EQ(Caption(document->Views()[0]), title);
  EXPECT_EQ(Caption(document->Views()[1]), title + Cp1251(" -Биндху"));

  // A new title reaches every frame of the document.
  document->GetChart()->definition.sources[0].SetName(Cp1251("Другой"));
  document->UpdateTitle();
  EXPECT_EQ(Caption(document->Views()[0]), Cp1251("Другой - Тест 01.01.2000 00:05"));
  EXPECT_EQ(Caption(document->Views()[1]), Cp1251("Другой - Тест 01.01.2000 00:05 -Биндху"));
}

// What a subsystem registers reaches the main window (also one made before the registration)
// and every chart document made afterwards; a view command waits for a chart, its template and
// its options.
TEST_F(ShellTest, StartupLoadersRunAfterTheProgramsOwnDataAndExitSaversBeforeTheConfiguration) {
  std::vector<std::string> order;
  CKovraApp& app = StartApp(false, [&order](UiRegistry& registry) {
    registry.AddStartupLoader([&order](Workbench& workbench) {
      // The shell's own lists are there already.
      EXPECT_FALSE(workbench.GetPath("velm.arb").empty());
      order.push_back(GetEphemeris().HasTables() ? "load first, tables" : "load first");
    });
    registry.AddStartupLoader([&order](Workbench&) { order.push_back("load second"); });
    registry.AddExitSaver([&order](Workbench& workbench) {
      // The chart windows are closed by then.
      order.push_back(workbench.Documents().Documents().empty() ? "save, closed" : "save");
    });
  });
  EXPECT_EQ(order, (std::vector<std::string>{"load first, tables", "load second"}));
  ASSERT_NE(OpenCopy(NatalChart(kMoscow)), nullptr);
  app.ExitInstance();
  EXPECT_EQ(order.back(), "save, closed");
}

TEST_F(ShellTest, RegisteredCommandsReachTheWindowAndEveryNewDocument) {
  CKovraApp& app = StartBareApp();
  CMainFrame& frame = *app.GetMainFrame();
  constexpr int kFrameCommand = 39990, kDocumentCommand = 39991, kViewCommand = 39992;
  int frameRuns = 0, documentsGiven = 0;
  UiRegistry& registry = app;
  registry.AddFrameCommands([&frameRuns](platform::CommandTarget& target, Workbench&) {
    target.OnCommand(kFrameCommand, [&frameRuns] { ++frameRuns; });
  });
  registry.AddDocumentCommands([&documentsGiven](ChartDocument& document, Workbench&) {
    ++documentsGiven;
    document.OnCommand(kDocumentCommand, [] {});
    document.AddViewCommand(kViewCommand, kTemplateBindhu,
                            {.exclusive = &kDocViewBindhu, .needsTwoCharts = true});
  });
  EXPECT_TRUE(frame.Execute(kFrameCommand));
  EXPECT_EQ(frameRuns, 1);

  CKovraDoc* first = OpenCopy(NatalChart(kMoscow));
  CKovraDoc* second = OpenCopy(NatalChart(kParis));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(documentsGiven, 2);
  EXPECT_TRUE(first->HasCommand(kDocumentCommand));
  EXPECT_TRUE(second->HasCommand(kDocumentCommand));

  const auto enabled = [](const ChartDocument& document) {
    platform::CommandState state;
    EXPECT_TRUE(document.Update(kViewCommand, state));
    return state.enabled;
  };
  EXPECT_FALSE(enabled(*second));  // no template
  app.RegisterViewTemplate(kTemplateBindhu, [] { return new CountingView(); });
  EXPECT_FALSE(enabled(*second));  // one chart
  second->SetOuterChart(std::make_unique<Chart>(*first->GetChart()));
  EXPECT_TRUE(enabled(*second));
  ASSERT_TRUE(second->Execute(kViewCommand));
  EXPECT_EQ(second->Views().size(), 2u);
  EXPECT_FALSE(enabled(*second));  // one Bindhu list at a time
}

TEST_F(ShellTest, ViewCommandsFollowTheOpenCounters) {
  // Only the Bindhu command, over a template not registered yet.
  CKovraApp& app = StartBareApp([](UiRegistry& registry) {
    registry.AddDocumentCommands([](ChartDocument& document, Workbench&) {
      document.AddViewCommand(cmd::kBindhuTable, kTemplateBindhu, {.exclusive = &kDocViewBindhu});
    });
  });
  CMainFrame& frame = *app.GetMainFrame();
  // Without a document the document commands are disabled; the new-chart commands are not.
  EXPECT_FALSE(frame.StateOf(cmd::kBindhuTable).enabled);
  EXPECT_TRUE(frame.StateOf(cmd::NewChart(0)).enabled);

  CKovraDoc* document = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(document, nullptr);
  // Views whose template is not registered: present and disabled.
  EXPECT_FALSE(frame.StateOf(cmd::kBindhuTable).enabled);
  EXPECT_FALSE(frame.StateOf(cmd::kArabicParts).enabled);
  EXPECT_FALSE(frame.StateOf(cmd::kFixedStars).enabled);
  EXPECT_NE(frame.Action(cmd::kFixedStars), nullptr);

  app.RegisterViewTemplate(kTemplateBindhu, [] { return new CountingView(); });
  EXPECT_TRUE(frame.StateOf(cmd::kBindhuTable).enabled);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kBindhuTable));
  EXPECT_EQ(document->OpenCount(kDocViewBindhu), 1);

  // The Bindhu view is active now; the command is routed to its document and disabled.
  EXPECT_FALSE(frame.StateOf(cmd::kBindhuTable).enabled);
  EXPECT_FALSE(frame.ExecuteCommand(cmd::kBindhuTable));  // an accelerator cannot bypass it
  EXPECT_EQ(document->Views().size(), 2u);

  // Closing the view enables it again.
  document->Views()[1]->Frame()->close();
  DeletePending();
  EXPECT_EQ(document->OpenCount(kDocViewBindhu), 0);
  EXPECT_TRUE(frame.StateOf(cmd::kBindhuTable).enabled);

  // An unpaired close cannot drive the counter below zero and leave the command disabled.
  document->ViewClosed(kDocViewBindhu);
  document->ViewClosed(kDocViewBindhu);
  EXPECT_EQ(document->OpenCount(kDocViewBindhu), 0);
  EXPECT_TRUE(frame.StateOf(cmd::kBindhuTable).enabled);
  document->ViewOpened(kDocViewSabian);
  document->ViewOpened(kDocViewSabian);
  document->ViewClosed(kDocViewSabian);
  EXPECT_TRUE(document->IsViewOpen(kDocViewSabian));
}

// Registers nothing itself: records the template numbers the parts register and hands everything
// on to the application.
class RecordingRegistry : public UiRegistry {
 public:
  explicit RecordingRegistry(UiRegistry& inner) : inner_(inner) {}
  Workbench& GetWorkbench() override { return inner_.GetWorkbench(); }
  platform::DocTemplate* RegisterViewTemplate(int number,
                                              platform::DocTemplate::ViewFactory view) override {
    numbers.push_back(number);
    return inner_.RegisterViewTemplate(number, std::move(view));
  }
  void AddDocumentCommands(DocumentCommands commands) override {
    inner_.AddDocumentCommands(std::move(commands));
  }
  void AddFrameCommands(FrameCommands commands) override {
    inner_.AddFrameCommands(std::move(commands));
  }
  void AddStartupLoader(DataHook load) override { inner_.AddStartupLoader(std::move(load)); }
  void AddExitSaver(DataHook save) override { inner_.AddExitSaver(std::move(save)); }

  std::vector<int> numbers;

 private:
  UiRegistry& inner_;
};

// Each part declares its template numbers in its own folder; together no two of its kinds share a
// number (the second would quietly lose its view) and every view the program has is there.
TEST_F(ShellTest, ThePartsRegisterEveryTemplateOnceUnderItsOwnNumber) {
  std::vector<int> numbers;
  CKovraApp& app = StartBareApp([&numbers](UiRegistry& registry) {
    RecordingRegistry recording(registry);
    RegisterSubsystems(recording);
    numbers = recording.numbers;
  });
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(std::adjacent_find(numbers.begin(), numbers.end()), numbers.end())
      << "a template number registered by two views";
  for (int number = 0; number <= 34; ++number)
    EXPECT_NE(app.GetTemplate(number), nullptr) << "template " << number;
  EXPECT_EQ(app.RegisterViewTemplate(-1, [] { return new CountingView(); }), nullptr);
}

// A kind of view declared anywhere is counted apart from every other, and the state a part keeps
// on a document is its own, made with its defaults, and belongs to that document alone.
inline constexpr DocViewKind kDocViewOfThisTest{};
struct StateOfThisTest {
  int value = 7;
};
struct OtherStateOfThisTest {
  int value = 0;
};

TEST_F(ShellTest, PartsCountTheirOwnViewKindsAndKeepTheirOwnState) {
  StartBareApp();
  CKovraDoc* first = OpenCopy(NatalChart(kMoscow));
  CKovraDoc* second = OpenCopy(NatalChart(kParis));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->ViewOpened(kDocViewOfThisTest);
  EXPECT_EQ(first->OpenCount(kDocViewOfThisTest), 1);
  EXPECT_EQ(first->OpenCount(kDocViewBindhu), 0);
  EXPECT_EQ(second->OpenCount(kDocViewOfThisTest), 0);

  EXPECT_EQ(first->PartState<StateOfThisTest>().value, 7);
  first->PartState<StateOfThisTest>().value = 3;
  first->PartState<OtherStateOfThisTest>().value = 5;
  EXPECT_EQ(first->PartState<StateOfThisTest>().value, 3);
  EXPECT_EQ(first->PartState<OtherStateOfThisTest>().value, 5);
  EXPECT_EQ(second->PartState<StateOfThisTest>().value, 7);
}

// Writes the chart window of `document` (and its printed page with `paper`) as `name`.png and
// `name`_page.png into the demo folder, when one is named.
void WriteChartPictures(CKovraDoc& document, const std::string& name) {
  const char* demo = std::getenv("VELM_DEMO_DIR");
  if (demo == nullptr || *demo == '\0') return;
  auto* view = static_cast<CKovraView*>(document.Views().front());
  for (const bool paper : {false, true}) {
    QImage image(827, 1169, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::QtDc page(painter, 100, 100, paper);
    page.SetMapMode(platform::MapMode::HiMetric);
    paper ? view->OnPrint(page, 1) : view->OnDraw(page);
    painter.end();
    fs::create_directories(demo);
    image.save(QString::fromStdString(
        (fs::path(demo) / (name + (paper ? "_page.png" : ".png"))).string()));
  }
}

// How many of the texts drawn by the document's chart view hold `part`.
int DrawnTextsHolding(CKovraDoc& document, const std::string& part) {
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  document.Views().front()->OnDraw(dc);
  const std::vector<std::string> texts = dc.Texts();
  return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const std::string& t) {
    return t.find(part) != std::string::npos;
  }));
}

// The main chart view takes a second chart through the chart-kind list and the entry of that
// kind, and gives it back; either dialog cancelled changes nothing.
TEST_F(ShellTest, TheChartViewAddsASecondChartOfAChosenKindAndTakesItAway) {
  CKovraApp& app = StartApp();
  CMainFrame& frame = *app.GetMainFrame();
  EXPECT_FALSE(frame.StateOf(cmd::kAddRemoveChart).enabled);  // no chart window
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(document, nullptr);
  ASSERT_TRUE(frame.StateOf(cmd::kAddRemoveChart).enabled);
  EXPECT_FALSE(frame.StateOf(cmd::kAddRemoveChart).checked);
  const std::string title = document->GetTitle();
  const auto chooseKind = [](int row, int answer) {
    platform::ModalDriver::Expect<DChooseChartType>([row, answer](DChooseChartType& d) {
      d.KindList()->setCurrentRow(row);
      if (answer == platform::kIdOk) d.accept();
      return answer;
    });
  };

  chooseKind(0, platform::kIdCancel);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kAddRemoveChart));
  EXPECT_FALSE(document->IsTwoChart());
  EXPECT_EQ(platform::ModalDriver::CountShown<entry::CD_ENTER_Natal>(), 0);

  chooseKind(1, platform::kIdOk);  // horary: the natal entry
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>(
      [](entry::CD_ENTER_Natal&) { return platform::kIdCancel; });
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kAddRemoveChart));
  EXPECT_FALSE(document->IsTwoChart());

  chooseKind(1, platform::kIdOk);
  AnswerEntry(kTokyo);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kAddRemoveChart));
  ASSERT_TRUE(document->IsTwoChart());
  const Chart& outer = *document->GetOuterChart();
  EXPECT_EQ(outer.definition.Kind(), kChartHorary);
  EXPECT_EQ(outer.definition.sources[0].Name(), Cp1251("Танака"));
  EXPECT_TRUE(outer.GetPointLongitude(0).IsSet());  // computed
  EXPECT_EQ(document->GetChart()->definition.sources[0].Name(), Cp1251("Иванов"));
  EXPECT_TRUE(frame.StateOf(cmd::kAddRemoveChart).checked);
  EXPECT_EQ(document->GetTitle(), title);  // the inner chart's
  // The wheel's header names both charts: the inner one at the left, the outer one at the right.
  EXPECT_EQ(DrawnTextsHolding(*document, Cp1251("Иванов")), 1);
  EXPECT_EQ(DrawnTextsHolding(*document, Cp1251("Танака")), 1);
  WriteChartPictures(*document, "chart_view_two_charts");
  // The command is the chart's own: it stands in the chart menu too.
  ASSERT_FALSE(frame.menuBar()->actions().isEmpty());
  EXPECT_TRUE(frame.menuBar()->actions().front()->menu()->actions().contains(
      frame.Action(cmd::kAddRemoveChart)));

  // Again: the second chart goes, without a question.
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kAddRemoveChart));
  EXPECT_FALSE(document->IsTwoChart());
  EXPECT_FALSE(frame.StateOf(cmd::kAddRemoveChart).checked);
}

// A synastry chart of Иванов in Москва and Танака in Токио is the two-chart wheel of both people,
// each named over their own wheel; a composite says what it is and whose, with the moment it is
// cast for (the midpoint in time, 06.10.1985 01:14 UT) at the place between the two towns.
TEST_F(ShellTest, SynastryAndCompositeChartsSayWhatTheyAreAndWhose) {
  StartApp();
  Chart chart = NatalChart(kMoscow, "Синастрический");
  chart.definition.SetKind(kChartSynastry);
  for (const auto& [i, b, town] :
       {std::tuple(0, kMoscow, "Москва"), std::tuple(1, kTokyo, "Токио")}) {
    FillSource(chart.definition.sources[i], b);
    EXPECT_TRUE(chart.definition.sources[i]
                    .place
                    .SetPlace(b.latDeg, b.latMin, b.latLetter, b.lonDeg, b.lonMin, b.lonLetter,
                              Cp1251(town), "")
                    .ok());
  }
  chart.definition.sources[2] = chart.definition.sources[1];
  CKovraDoc* synastry = OpenCopy(chart);
  ASSERT_NE(synastry, nullptr);
  ASSERT_TRUE(synastry->IsTwoChart());
  const Chart& partner = *synastry->GetOuterChart();
  EXPECT_EQ(partner.definition.Kind(), kChartNatal);
  EXPECT_EQ(partner.definition.sources[0].Name(), Cp1251("Иванов"));
  Chart natal = NatalChart(kMoscow);
  ASSERT_TRUE(ChartCalculate(ChartContext::FromCurrentSettings(), natal).ok());
  EXPECT_EQ(partner.points[0].longitude.Get(), natal.points[0].longitude.Get()) << "the own Sun";
  EXPECT_EQ(synastry->GetTitle(), Cp1251("Иванов и Танака - Синастрический 29.02.1996 23:59"));
  EXPECT_EQ(DrawnTextsHolding(*synastry, Cp1251("Иванов")), 1);
  EXPECT_EQ(DrawnTextsHolding(*synastry, Cp1251("Танака")), 1);
  WriteChartPictures(*synastry, "synastry_chart");

  chart.definition.keyKind = 1;
  chart.definition.SetTitle("");
  CKovraDoc* composite = OpenCopy(chart);
  ASSERT_NE(composite, nullptr);
  EXPECT_FALSE(composite->IsTwoChart()) << "one chart, cast for the midpoint";
  EXPECT_EQ(composite->GetTitle().substr(0, composite->GetTitle().size() - 5),
            Cp1251("Иванов и Танака - Синастрический, композит 06.10.1985 "));
  const std::vector<std::string> header = ChartHeaderLines(*composite->GetChart(), false);
  ASSERT_EQ(header.size(), 5u);
  EXPECT_EQ(header[0] + "|" + header[1] + "|" + header[3],
            Cp1251("Иванов и Танака|Синастрический, композит|Середина: Москва — Токио"));
  EXPECT_TRUE(header[2].starts_with("06:10:1985") && header[2].find("+00:00") != std::string::npos)
      << header[2];
  EXPECT_EQ(DrawnTextsHolding(*composite, Cp1251("композит")), 1);
  WriteChartPictures(*composite, "composite_chart");
}

// A horary chart asked while a natal chart is active is titled as a horary chart of now, not
// with the natal chart's title and birth moment.
TEST_F(ShellTest, AHoraryChartFromANatalChartHasItsOwnTitle) {
  CKovraApp& app = StartApp(true);
  CKovraDoc* natal = OpenCopy(NatalChart(kMoscow, "Натальный"));
  ASSERT_NE(natal, nullptr);
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>(
      [](entry::CD_ENTER_Natal&) { return platform::kIdOk; });
  CKovraDoc* horary = app.NewChart(kChartHorary);
  ASSERT_NE(horary, nullptr);
  EXPECT_NE(horary->GetTitle(), natal->GetTitle());
  EXPECT_EQ(horary->GetTitle().rfind(Cp1251("Иванов - Хорарный "), 0), 0u) << horary->GetTitle();
  EXPECT_EQ(horary->GetTitle().find("13.05.1975"), std::string::npos) << "not the birth moment";
  EXPECT_EQ(horary->GetChart()->definition.sources[1].zone.GetCorrectionHours(), 3.0)
      << "the natal chart's clock";
}

// A derived kind asked for while a natal chart is active opens its entry on that chart's birth
// data (EntryPrefill covers every kind).
TEST_F(ShellTest, PrefillTheEntryFromTheActiveChart) {
  CKovraApp& app = StartApp(true);
  ASSERT_NE(OpenCopy(NatalChart(kMoscow)), nullptr);
  ChartEntry seen;
  platform::ModalDriver::Expect<entry::CD_ENTER_Transit>([&seen](entry::CD_ENTER_Transit& d) {
    seen = d.entry;
    return platform::kIdCancel;
  });
  EXPECT_EQ(app.NewChart(kChartTransit), nullptr);  // cancelled
  EXPECT_EQ(seen.person.Name(), Cp1251("Иванов"));
  EXPECT_EQ(seen.person.moment.date.Year(), 1975);
  EXPECT_EQ(seen.target.place.LatitudeDegrees(), 55);
}

TEST_F(ShellTest, ClosingAChartWithUnsavedCommentsAsksMessage502) {
  CKovraApp& app = StartApp();
  Chart commented = NatalChart(kMoscow);
  commented.commentSlot = 3;
  const fs::path page = CommentFileName(3, 2);
  testing_support::WriteFile(page, "text");
  CKovraDoc* document = OpenCopy(commented);
  ASSERT_NE(document, nullptr);
  QMdiSubWindow* window = document->Views().front()->Frame();

  prompts_.Expect(kMsgUnsavedComments, platform::Answer::No);
  window->close();
  DeletePending();
  EXPECT_EQ(app.DocumentCount(), 1);
  EXPECT_TRUE(fs::exists(page));

  prompts_.Expect(kMsgUnsavedComments, platform::Answer::Yes);
  window->close();
  DeletePending();
  EXPECT_EQ(app.DocumentCount(), 0);
  EXPECT_FALSE(fs::exists(page));  // the pages go with the chart
  EXPECT_FALSE(app.CommentSlots().IsTaken(3));
  prompts_.VerifyAllUsed();

  // Saved in an archive, or without pages: no question.
  CKovraDoc* saved = OpenCopy(NatalChart(kParis));
  ASSERT_NE(saved, nullptr);
  saved->Views().front()->Frame()->close();
  DeletePending();
  EXPECT_EQ(app.DocumentCount(), 0);
}

}  // namespace
}  // namespace shell_test
