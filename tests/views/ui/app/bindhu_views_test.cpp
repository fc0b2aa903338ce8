// The Bindhu table, the Sabian symbols, the thematic chart and the windows without content, from
// the menus of a chart window.
#include "views/ui/bindhu_views.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include "astro/chart/chart.h"
#include "document/workbench.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/doc_template.h"
#include "views/ui/view_kinds.h"
#include "views_fixture.h"

namespace views_test {
namespace {

class BindhuViewsTest : public ViewsTest {};

TEST_F(BindhuViewsTest, BindhuTableAfterItsSettingsOncePerChart) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<C_BINDHU_CONF>([](C_BINDHU_CONF& d) {
    d.OnInitDialog();
    EXPECT_EQ(d.PrintSize()->isEnabled(), !d.OnePage()->isChecked());
    d.Choice().bodies = 2;
    d.Choice().houses = 2;
    d.DoDataExchange(false);
    return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  auto* view = OpenView<CBindhuView>(document, cmd::kBindhuTable);
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(app_->GetMainFrame()->StateOf(cmd::kBindhuTable).enabled);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgBindhuCaption));
  EXPECT_FALSE(view->Table().Events().empty());
  Screenshot(*view, "bindhu_screen");
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  PagePicture("bindhu", info.maxPage, *view);
}

TEST_F(BindhuViewsTest, SabianSymbolsOnlyWithTheUsersFile) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  EXPECT_FALSE(app_->GetMainFrame()->StateOf(cmd::kSabianSymbols).enabled);
  app_.reset();
  DeletePending();
  std::string file;
  for (int k = 0; k < 360; ++k) file += Cp1251("Символ ") + std::to_string(k + 1) + '\0';
  testing_support::WriteFile(folder_ / "velm.sab", file);
  document = OpenOne();
  ASSERT_NE(document, nullptr);
  platform::ModalDriver::Expect<CD_Sabian>([](CD_Sabian& d) {
    d.Choice().bodies = 1;
    d.Choice().houses = 0;
    return platform::kIdOk;
  });
  auto* view = OpenView<CSabiansView>(document, cmd::kSabianSymbols);
  ASSERT_NE(view, nullptr);
  const Chart& chart = *document->GetChart();
  const int sun = static_cast<int>(chart.GetPointLongitude(0).Get()) + 1;
  EXPECT_NE(view->Text().find(Cp1251("Символ ") + std::to_string(sun) + "\n"), std::string::npos);
  EXPECT_FALSE(app_->GetMainFrame()->StateOf(cmd::kSabianSymbols).enabled);
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  PagePicture("sabian_symbols", info.maxPage, *view);
}

TEST_F(BindhuViewsTest, ThematicChartOpensAsANewWindow) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  // The same planet twice is refused (491) and the dialog stays; then a symbolic chart with the
  // Sun on the tenth house.
  platform::ModalDriver::Expect<DTemat>([this](DTemat& d) {
    d.OnInitDialog();
    d.Kind()->button(2)->click();
    d.SecondPlanet()->setCurrentIndex(0);
    d.Page().Choice().planet = 0;
    EXPECT_FALSE(d.DoDataExchange(true));
    EXPECT_TRUE(prompts_.WasShown(kMsgThematicSamePlanets));
    d.Kind()->button(1)->click();
    EXPECT_FALSE(d.SecondPlanet()->isEnabled());
    d.Houses()->setCurrentIndex(9);
    return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  const std::size_t before = app_->Documents().Documents().size();
  ASSERT_TRUE(RunFrom(document, cmd::kThematicChart));
  ASSERT_EQ(app_->Documents().Documents().size(), before + 1);
  const auto* made = dynamic_cast<const ChartDocument*>(app_->Documents().Documents().back().get());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->GetChart()->IsSymbolicThematic());
  EXPECT_NEAR(made->GetChart()->GetCusp(9).Get(), document->GetChart()->GetPointLongitude(0).Get(),
              1e-6);
}

TEST_F(BindhuViewsTest, WindowsWithoutContentOpenAndPrintAnEmptyPage) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  for (const int kind : {kTemplatePlanetEnergy, kTemplatePlanet}) {
    platform::DocTemplate* t = app_->GetTemplate(kind);
    ASSERT_NE(t, nullptr);
    t->OpenView(*document);
    platform::View* view = document->Views().back();
    const std::filesystem::path pdf = folder_ / ("empty" + std::to_string(kind) + ".pdf");
    ASSERT_TRUE(view->PrintToPdf(pdf).ok());
    EXPECT_EQ(CountPdfPages(pdf), 1);
  }
  EXPECT_EQ(document->Views().back()->GetFrameTitle(),
            document->GetTitle() + GetMessageText(kMsgPlanetCaption));
}

}  // namespace
}  // namespace views_test
