// A newcomer's session through the program, in the order of the README's "First steps".
#include <QAbstractButton>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>

#include "archive/browser/archive_search_dialog.h"
#include "archive/browser/archive_view.h"
#include "newcomer_fixture.h"
#include "shell/kovra_view.h"

namespace e2e_test {
namespace {

namespace fs = std::filesystem;

// Types the birth data of Иванов into the natal entry dialog, the town taken from the atlas list.
void EnterIvanov(QWidget& d) {
  TypeInto(d, QStringLiteral("Имя"), QStringLiteral("Иванов"));
  TypeInto(d, QStringLiteral("Дата"), QStringLiteral("13.05.1975"));
  TypeInto(d, QStringLiteral("Местное время"), QStringLiteral("14:30"));
  TypeInto(d, QStringLiteral("Часовой пояс"), QStringLiteral("+03:00"));
  TypeInto(d, QStringLiteral("Город"), QStringLiteral("Моск"));
  auto* towns = d.findChild<QListWidget*>();
  ASSERT_NE(towns, nullptr);
  ASSERT_GT(towns->count(), 0);
  QListWidgetItem* moscow = towns->item(0);
  QTest::mouseClick(towns->viewport(), Qt::LeftButton, Qt::NoModifier,
                    towns->visualItemRect(moscow).center());
  Click(d, QStringLiteral("OK"));
}

CKovraDoc* ActiveChart(CMainFrame& frame) {
  return dynamic_cast<CKovraDoc*>(frame.GetActiveDocument());
}

// First start: the chart typed in, the wheel stepped in time, the house system and the wheel's
// orientation changed, the chart saved into a new archive and found again in the browser.
TEST_F(NewcomerTest, FirstStartEntersAChartStepsItChangesSettingsAndArchivesIt) {
  Start([](QWidget& d) {
    Click(d, QStringLiteral("Новый гороскоп: Натальный"));
    Click(d, QStringLiteral("OK"));
  }, [this] { script_.Then("entry::CD_ENTER_Natal", EnterIvanov); });
  CKovraDoc* natal = ActiveChart(Frame());
  ASSERT_NE(natal, nullptr);
  const Source& born = natal->GetChart()->definition.sources[0];
  EXPECT_EQ(born.Name(), Cp1251("Иванов"));
  EXPECT_EQ(born.place.Town(), Cp1251("Москва"));
  QWidget& wheel = *natal->Views().front()->Frame();
  wheel.showMaximized();
  Settle();
  Shot(wheel, "view_CKovraView");

  // An hour forward by the accelerator, as the menu names it.
  EXPECT_NE(natal->GetTitle().find("14:30"), std::string::npos) << natal->GetTitle();
  Run(cmd::StepForward(1));
  EXPECT_NE(natal->GetTitle().find("15:30"), std::string::npos) << natal->GetTitle();
  Shot(wheel, "view_CKovraView_stepped");

  script_.Then("CConfigCalculations", [](QWidget& d) {
    Click(d, QStringLiteral("КОХ"));
    Click(d, QStringLiteral("OK"));
  });
  Run(cmd::kConfigCalculations);
  script_.Then("DCONFIG_WHEEL", [](QWidget& d) {
    Click(d, QStringLiteral("ASC  СЛЕВА"));
    Click(d, QStringLiteral("OK"));
  });
  Run(cmd::kConfigWheel);
  script_.Verify("settings");
  EXPECT_EQ(GetConfiguration().calculation.houseSystem, 6);
  EXPECT_EQ(GetConfiguration().wheel.orientation, 3);
  Shot(wheel, "view_CKovraView_koch_asc_left");

  // Into a new archive: its name chosen, its creation confirmed.
  const fs::path archive = folder_ / "Клиенты";
  prompts_.ExpectFile(archive.string());
  prompts_.Expect(552, platform::Answer::Yes);
  Allow({552, 8});
  Run(cmd::kSaveToArchive);
  EXPECT_TRUE(fs::exists(folder_ / "Клиенты.arc"));
  EXPECT_TRUE(natal->savedInArchive);

  // The browser lists it; the search finds it, the order sorts it, the wizard builds a query.
  script_.Then("ArchiveView", [this](QWidget& d) {
    auto& browser = static_cast<ArchiveView&>(d);
    Click(d, QStringLiteral("ПОИСК"));
    QWidget* search = browser.SearchDialog();
    ASSERT_NE(search, nullptr);
    TypeInto(*search, QStringLiteral("Имя"), QStringLiteral("Иванов"));
    Click(*search, QStringLiteral("Первая"));
    Settle();
    Shot(*search, "dialog_DArchiveSearch", false);
    Shot(d, "dialog_ArchiveView_found", false);
    Click(*search, QStringLiteral("Отмена"));
    Click(d, QStringLiteral("СОРТИРОВКА"));
    Click(d, QStringLiteral("ЗАПРОС"));
    Click(d, QStringLiteral("Выход"));
  });
  script_.Then("DArcSort", [](QWidget& d) { Click(d, QStringLiteral("OK")); });
  script_.Then("DQuery", [](QWidget& d) {
    Click(d, QStringLiteral("ДОБАВИТЬ"), 1);
    Click(d, QStringLiteral("OK"));
  });
  script_.Then("CQueryWizardMain", [](QWidget& d) {
    Click(d, QStringLiteral("НАХОЖДЕНИЕ В"));
    Click(d, QStringLiteral("Дальше >"));
  });
  script_.Then("DQWIZIN", [](QWidget& d) {
    TypeInto(d, QStringLiteral("в"), QStringLiteral("8 дом"));
    Click(d, QStringLiteral("Закончить"));
  });
  Allow({590});
  Run(cmd::kLoadFromArchive);
  script_.Verify("browser");
  prompts_.VerifyAllUsed();
}

}  // namespace
}  // namespace e2e_test
