// The data the program ships: every file loads through its own loader without a message, and a
// data folder seeded from it starts the program and opens every view without one.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <typeinfo>

#include "astro/lifepoint/life_point_all.h"
#include "conditions/core/groups.h"
#include "conditions/ui/tlr_output.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "forecast/core/transit_calculation.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/view.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"
#include "shell/core/tips.h"
#include "shell/startup_dialogs.h"
#include "shell_fixture.h"
#include "views/ui/arab_dialogs.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;

fs::path Shipped(const char* name) { return testing_support::SourceDir() / "data" / name; }

TEST_F(ShellTest, EveryShippedListLoadsThroughItsLoaderWithoutAMessage) {
  Groups groups;
  ASSERT_EQ(groups.LoadGroups(Shipped("groups.lst")), 0);
  std::set<std::string> labels;
  for (const char kind : {'P', 'S', 'H'}) {
    EXPECT_GE(groups.Count(kind), 3) << kind;
    groups.SetCurrentKind(kind);
    for (int i = 0; i < groups.Count(kind); ++i) {
      EXPECT_GT(groups.Group(kind, i).count, 0) << kind << i;
      for (const char quantifier : {'0', 'N', 'A'}) {
        const std::string label = groups.GetGroupLabel('C', i, quantifier);
        EXPECT_TRUE(labels.insert(label).second) << label;
      }
    }
  }

  LifePointAll types;
  ASSERT_TRUE(types.Load(Shipped("velm.lpn")).ok());
  EXPECT_EQ(types.Count(), 4);

  for (const char* file : {"velm.lev", "velm.tev"}) {
    LifeEventList events;
    Status problem;
    events.Load(Shipped(file), problem);
    EXPECT_TRUE(problem.ok()) << file;
    EXPECT_EQ(events.Count(), 0) << file;
  }

  std::string advice;
  ASSERT_TRUE(ReadWholeFile(Shipped("advice.txt"), advice).ok());
  EXPECT_GE(ReadTips(advice).size(), 10u);

  TransitPeriodTable periods{};
  EXPECT_TRUE(LoadTransitPeriods(Shipped("velm.tri"), periods).ok());
  EXPECT_TRUE(prompts_.shown.empty());
}

// A newcomer's first start: the data folder is seeded from the shipped files, and with a natal
// chart open every view command opens its view, every dialog on the way taken as it opens (the
// rectifications' intervals a day around the birth among them). Only what the user must type is
// asked for: the life events of the rectifications and of the Tremin forecast (none are
// shipped).
TEST_F(ShellTest, AFreshDataFolderStartsAndOpensEveryViewWithoutAMessage) {
  ASSERT_TRUE(SeedDataFolder(folder_.Path(), testing_support::SourceDir() / "data").ok());
  GetSettings().SetShippedFolders({});
  platform::ModalDriver::Always<DTipOfDay>([](DTipOfDay&) { return platform::kIdCancel; });
  StartApp();
  // Born on the first day of the year the forecasts look at by default.
  CKovraDoc* natal = OpenCopy(NatalChart(kParis, "Натал"));
  ASSERT_NE(natal, nullptr);
  platform::ModalDriver::SetAcceptAll(true);
  // The Arabic parts' settings close with "Рассчитать", their other OK opening nothing.
  platform::ModalDriver::Always<DArabConf>([](DArabConf& dialog) {
    dialog.ComputeButton()->click();
    return platform::kIdOk;
  });
  CMainFrame& frame = *app_->GetMainFrame();
  const std::map<int, int> userInput = {{cmd::kRectifyByEvents, kMsgNoEventInUse},
                                        {cmd::kTreminRectification, kMsgNoEventInUse},
                                        {cmd::kTreminForecast, 1035}};
  int opened = 0, disabled = 0;
  const std::vector<int> commands = natal->ViewCommands();
  for (const int command : commands) {
    frame.MdiArea()->setActiveSubWindow(natal->Views().front()->Frame());
    if (!frame.StateOf(command).enabled) {
      ++disabled;
      continue;
    }
    const std::size_t views = natal->Views().size();
    EXPECT_TRUE(frame.ExecuteCommand(command)) << command;
    opened += natal->Views().size() > views;
    const auto expected = userInput.find(command);
    for (const auto& shown : prompts_.shown) {
      if (expected == userInput.end() || shown.number != expected->second)
        ADD_FAILURE() << "command " << command << ": message " << shown.number;
    }
    prompts_.shown.clear();
  }
  // The demonstration text base reads the chart: the Sun of 1 January 2000 in Capricorn.
  const CTLRVIEW* texts = nullptr;
  for (platform::View* view : natal->Views())
    if (const auto* found = dynamic_cast<const CTLRVIEW*>(view)) texts = found;
  ASSERT_NE(texts, nullptr);
  EXPECT_NE(texts->Control()->Text().find(Cp1251("Солнце в Козероге")), std::string::npos);
  EXPECT_EQ(texts->Control()->Text().find(Cp1251("Солнце в Овне")), std::string::npos);
  // All but the three rectification views, which wait for the user's interval and events.
  EXPECT_EQ(opened, static_cast<int>(commands.size()) - 3 - disabled) << "of " << commands.size();
}

}  // namespace
}  // namespace shell_test
